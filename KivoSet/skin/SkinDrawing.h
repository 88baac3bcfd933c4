// Bitmap drawing routines of the skin. Each blits with SRCCOPY through its own memory DC (deleted
// before it returns), leaves the destination DC as it found it, and returns true when every blit it
// made succeeded. A null bitmap, or one without a GDI bitmap, is a failure: nothing is drawn for it
// and its size is never read.
#pragma once

#include "NineSliceBitmaps.h"

#include <afxwin.h>

// The whole bitmap scaled to the whole rectangle.
bool drawStretched(CDC* dc, const RECT& r, CBitmap* bmp);

// Left and right at their own widths, the middle stretched between them; each over r's full height.
bool drawThreeSlice(CDC* dc, const RECT& r, CBitmap* left, CBitmap* middle, CBitmap* right);

// Three bands: the top as high as topLeft, the bottom as high as bottomRight, the middle between;
// each band drawn with drawThreeSlice.
bool drawNineSlice(CDC* dc, const RECT& r, CBitmap* topLeft, CBitmap* top, CBitmap* topRight,
                   CBitmap* left, CBitmap* centre, CBitmap* right, CBitmap* bottomLeft,
                   CBitmap* bottom, CBitmap* bottomRight);
bool drawNineSlice(CDC* dc, const RECT& r, const NineSliceBitmaps& pieces);

// The bitmap at its own size, centred, in each direction where r is larger; squeezed to r in a
// direction where it is not.
bool drawCentered(CDC* dc, const RECT& r, CBitmap* bmp);

// True when bmp holds a GDI bitmap (the routines draw nothing for one that does not).
bool hasBitmap(const CBitmap* bmp);
