// The pixels of GDI bitmaps as tests look at them: 32 bits a pixel (0xAARRGGBB), rows top-down.
#pragma once

#include <windows.h>

#include <vector>

namespace kivotest {

// The description of a 32-bit top-down DIB of this size.
BITMAPINFO topDownInfo(LONG width, LONG height);

// The bitmap's pixels and size; empty (the size untouched) when it cannot be read.
std::vector<DWORD> bitmapPixels(HBITMAP bitmap, LONG& width, LONG& height);

} // namespace kivotest
