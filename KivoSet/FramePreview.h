// The frame chooser's preview as the capturing application would see the frame: the frame laid
// over a picture, the picture showing through where the frame is the colour key (magenta).
#pragma once

#include <windows.h>

// A new bitmap of width x height owned by the caller: the picture stretched to the whole size
// (neutral grey without one), and the frame over it, which must already be width x height. Null
// when no bitmap could be made.
HBITMAP composeFramePreview(HBITMAP frame, HBITMAP picture, int width, int height);
