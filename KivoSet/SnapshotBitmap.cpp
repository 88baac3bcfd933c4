#include "SnapshotBitmap.h"

#include "PixelColour.h"

#include <cstring>

namespace {

// One picture row of the frame into a row of blue, green, red bytes.
void copyRowAsBgr(const kivo::FrameLayout& layout, const BYTE* source, BYTE* target)
{
    switch (layout.format) {
    case kivo::PixelFormat::Rgb24:
        memcpy(target, source, size_t(layout.width) * 3);
        break;
    case kivo::PixelFormat::Rgb32:
        for (int x = 0; x < layout.width; ++x)
            memcpy(target + 3 * x, source + 4 * x, 3);
        break;
    case kivo::PixelFormat::Yuy2:
        // Y0 U Y1 V: two pixels share their colour differences.
        for (int x = 0; x + 1 < layout.width; x += 2) {
            const BYTE* pair = source + 2 * x;
            kivo::bgrOfYuv(pair[0], pair[1], pair[3], target + 3 * x);
            kivo::bgrOfYuv(pair[2], pair[1], pair[3], target + 3 * x + 3);
        }
        break;
    }
}

} // namespace

HBITMAP bitmapOfSnapshot(const FrameSnapshot& snapshot)
{
    const kivo::FrameLayout& layout = snapshot.layout;
    if (snapshot.pixels.size() != layout.byteSize)
        return nullptr;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = layout.width;
    info.bmiHeader.biHeight = -layout.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    const size_t stride = size_t(kivo::dibStride(layout.width, 24));
    for (int y = 0; y < layout.height; ++y) {
        const size_t memoryRow = layout.bottomUp ? size_t(layout.height - 1 - y) : size_t(y);
        copyRowAsBgr(layout, snapshot.pixels.data() + memoryRow * layout.stride,
                     static_cast<BYTE*>(bits) + size_t(y) * stride);
    }
    return bitmap;
}
