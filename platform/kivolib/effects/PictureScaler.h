// Scales a bitmap to a frame's size, once per bitmap and size; quality matters more than speed here.
#pragma once

#include "BitmapSource.h"

#include <cstdint>
#include <vector>

namespace kivo::effects {

// A picture at its final size: top-down rows of blue, green, red and opacity (255 shown, 0 not).
struct ScaledPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgra;
};

// The colour key of frame bitmaps (magenta) as blue, green, red.
constexpr uint8_t kKeyBlue = 255, kKeyGreen = 0, kKeyRed = 255;

// The image scaled to width x height with a tent filter: bilinear when enlarging, an average over
// the covered pixels when shrinking. With keyed, pixels of the colour key are transparent: their
// colour never bleeds into shown neighbours, and a scaled pixel is shown when at least half of its
// weight comes from shown pixels. Without keyed every pixel is shown.
ScaledPicture scalePicture(const SourceImage& image, int width, int height, bool keyed);

}  // namespace kivo::effects
