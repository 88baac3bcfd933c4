#include "FramePicture.h"

#include "PixelColour.h"

namespace kivo::effects {

namespace {

const uint8_t* pictureRow(const ScaledPicture& picture, const FrameLayout& layout, size_t memoryRow)
{
    const size_t row = layout.bottomUp ? size_t(layout.height) - 1 - memoryRow : memoryRow;
    return picture.bgra.data() + row * size_t(picture.width) * 4;
}

void convertRgbRow(const uint8_t* source, int width, int bytesPerPixel, uint8_t* pixels,
                   uint8_t* shown)
{
    for (int x = 0; x < width; ++x, source += 4, pixels += bytesPerPixel, shown += bytesPerPixel) {
        pixels[0] = source[0];
        pixels[1] = source[1];
        pixels[2] = source[2];
        if (bytesPerPixel == 4)
            pixels[3] = 255;
        const uint8_t mask = source[3] ? 0xFF : 0;
        for (int c = 0; c < bytesPerPixel; ++c)
            shown[c] = mask;
    }
}

void convertYuy2Row(const uint8_t* source, int width, uint8_t* pixels, uint8_t* shown)
{
    for (int x = 0; x < width; x += 2, source += 8, pixels += 4, shown += 4) {
        const uint8_t* left = source;
        const uint8_t* right = source + 4;
        pixels[0] = lumaOf(left[2], left[1], left[0]);
        pixels[2] = lumaOf(right[2], right[1], right[0]);
        // The pair's colour comes from its shown pixels only (both when neither shows).
        const bool useLeft = left[3] || !right[3];
        const bool useRight = right[3] || !left[3];
        const int n = int(useLeft) + int(useRight);
        int rgb[3];
        for (int c = 0; c < 3; ++c)
            rgb[c] = ((useLeft ? left[c] : 0) + (useRight ? right[c] : 0) + n / 2) / n;
        pixels[1] = blueDifferenceOf(rgb[2], rgb[1], rgb[0]);
        pixels[3] = redDifferenceOf(rgb[2], rgb[1], rgb[0]);
        shown[0] = left[3] ? 0xFF : 0;
        shown[2] = right[3] ? 0xFF : 0;
        shown[1] = shown[3] = (left[3] || right[3]) ? 0xFF : 0;
    }
}

}  // namespace

FramePicture toFramePicture(const ScaledPicture& picture, const FrameLayout& layout)
{
    FramePicture result;
    result.pixels.assign(layout.byteSize, 0);
    result.shown.assign(layout.byteSize, 0);
    for (size_t row = 0; row < size_t(layout.height); ++row) {
        const uint8_t* source = pictureRow(picture, layout, row);
        uint8_t* pixels = result.pixels.data() + row * layout.stride;
        uint8_t* shown = result.shown.data() + row * layout.stride;
        switch (layout.format) {
        case PixelFormat::Rgb24: convertRgbRow(source, layout.width, 3, pixels, shown); break;
        case PixelFormat::Rgb32: convertRgbRow(source, layout.width, 4, pixels, shown); break;
        case PixelFormat::Yuy2: convertYuy2Row(source, layout.width, pixels, shown); break;
        }
    }
    return result;
}

}  // namespace kivo::effects
