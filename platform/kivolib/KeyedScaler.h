// Scales a picture whose colour key marks transparent pixels, so that the key survives exactly:
// each target pixel is the key where its nearest source pixel is, and otherwise a bilinear blend of
// the neighbouring source pixels that are not the key. No blended colour ever equals the key, and no
// colour bleeds between the picture and its transparent part.
#pragma once

#include <windows.h>

#include <vector>

// Pixels are 0x00RRGGBB, rows top-down, no padding.
struct KeyedPixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> pixels;
};

KeyedPixels scaleKeyed(const KeyedPixels& source, int width, int height, DWORD key);
