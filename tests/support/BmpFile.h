// BMP files as tests read and write them: the frames kivocap keeps, the pictures a test gives the
// panel, pictures of the screen.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace kivotest {

// A BMP file as stored: its info header and the pixel bytes after the headers.
struct BmpFile {
    BITMAPINFOHEADER header = {};
    std::vector<BYTE> pixels;
};
bool readBmp(const std::wstring& path, BmpFile& bmp);
// Writes the two headers (the file header made to fit) and the pixel bytes.
bool writeBmp(const std::wstring& path, const BITMAPINFOHEADER& header, const void* pixels, size_t bytes);

// A picture read from a 24- or 32-bit BMP file, three bytes a pixel, rows top-down.
struct Picture {
    LONG width = 0;
    LONG height = 0;
    std::vector<BYTE> bgr;   // width * 3 bytes a row
    COLORREF at(LONG x, LONG y) const;
    bool operator==(const Picture& other) const { return width == other.width && bgr == other.bgr; }
};
bool readBmp(const std::wstring& path, Picture& picture);
// Writes a 24-bit BMP of the given size, every pixel from colourAt(x, y), y counted from the top.
bool writeBmp(const std::wstring& path, LONG width, LONG height, const std::function<COLORREF(LONG x, LONG y)>& colourAt);

} // namespace kivotest
