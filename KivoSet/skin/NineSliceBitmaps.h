// The nine pieces of a bitmap drawn stretched to any size: corners at their own size, edges
// stretched along one direction, the centre along both.
#pragma once

#include <afxwin.h>

struct NineSliceBitmaps {
    CBitmap* topLeft;
    CBitmap* top;
    CBitmap* topRight;
    CBitmap* left;
    CBitmap* centre;
    CBitmap* right;
    CBitmap* bottomLeft;
    CBitmap* bottom;
    CBitmap* bottomRight;
};
