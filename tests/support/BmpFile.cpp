#include "BmpFile.h"

#include "FrameLayout.h"

#include <algorithm>
#include <fstream>

namespace kivotest {

namespace {

const WORD kBmpSignature = 0x4D42;   // "BM"
const DWORD kLargestPixelBytes = 64u << 20;

size_t rowBytes(LONG width, WORD bitCount)
{
    return size_t(kivo::dibStride(uint64_t(width), bitCount));
}

} // namespace

bool readBmp(const std::wstring& path, BmpFile& bmp)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    BITMAPFILEHEADER file = {};
    if (!in.read(reinterpret_cast<char*>(&file), sizeof(file)) ||
        !in.read(reinterpret_cast<char*>(&bmp.header), sizeof(bmp.header)))
        return false;
    if (file.bfType != kBmpSignature || file.bfSize <= file.bfOffBits ||
        file.bfSize - file.bfOffBits > kLargestPixelBytes)
        return false;
    bmp.pixels.resize(file.bfSize - file.bfOffBits);
    in.seekg(file.bfOffBits);
    return bool(in.read(reinterpret_cast<char*>(bmp.pixels.data()), std::streamsize(bmp.pixels.size())));
}

bool writeBmp(const std::wstring& path, const BITMAPINFOHEADER& header, const void* pixels, size_t bytes)
{
    BITMAPFILEHEADER file = {};
    file.bfType = kBmpSignature;
    file.bfOffBits = sizeof(file) + sizeof(header);
    file.bfSize = DWORD(file.bfOffBits + bytes);
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(static_cast<const char*>(pixels), std::streamsize(bytes));
    return bool(out);
}

COLORREF Picture::at(LONG x, LONG y) const
{
    const BYTE* p = &bgr[(size_t(y) * width + x) * 3];
    return RGB(p[2], p[1], p[0]);
}

bool readBmp(const std::wstring& path, Picture& picture)
{
    BmpFile bmp;
    if (!readBmp(path, bmp))
        return false;
    const BITMAPINFOHEADER& info = bmp.header;
    if ((info.biBitCount != 24 && info.biBitCount != 32) || info.biWidth <= 0 || info.biHeight == 0)
        return false;
    LONG rows = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    size_t pixelBytes = info.biBitCount / 8;
    size_t stride = rowBytes(info.biWidth, info.biBitCount);
    if (bmp.pixels.size() < stride * rows)
        return false;
    picture.width = info.biWidth;
    picture.height = rows;
    picture.bgr.resize(size_t(info.biWidth) * 3 * rows);
    for (LONG y = 0; y < rows; ++y) {
        LONG source = info.biHeight > 0 ? rows - 1 - y : y;
        for (LONG x = 0; x < info.biWidth; ++x)
            std::copy_n(&bmp.pixels[stride * source + x * pixelBytes], 3,
                        &picture.bgr[(size_t(y) * info.biWidth + x) * 3]);
    }
    return true;
}

bool writeBmp(const std::wstring& path, LONG width, LONG height, const std::function<COLORREF(LONG x, LONG y)>& colourAt)
{
    size_t stride = rowBytes(width, 24);
    std::vector<BYTE> pixels(stride * height);
    for (LONG y = 0; y < height; ++y) {
        for (LONG x = 0; x < width; ++x) {
            COLORREF c = colourAt(x, height - 1 - y);
            BYTE* p = &pixels[stride * y + size_t(x) * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = DWORD(pixels.size());
    return writeBmp(path, info, pixels.data(), pixels.size());
}

} // namespace kivotest
