// The frame formats the camera delivers: the pixel formats and sizes it makes, and their names on
// the command line. How their pixels lie is the shared frame layout's (FrameLayout.h).
#pragma once

#include "FrameLayout.h"

#include <windows.h>

#include <string>

namespace vcam {

using kivo::PixelFormat;

constexpr LONG kMinWidth = 160, kMaxWidth = 1920;
constexpr LONG kMinHeight = 120, kMaxHeight = 1080;
constexpr DWORD kMaxFps = 60;

struct FrameFormat {
    PixelFormat pixel = PixelFormat::Rgb24;
    LONG width = 0;
    LONG height = 0;   // negative: top-down rows (RGB only)

    LONG rows() const { return height < 0 ? -height : height; }
    bool topDown() const { return height < 0 || pixel == PixelFormat::Yuy2; }
    DWORD stride() const;
    DWORD imageBytes() const;
    void toHeader(BITMAPINFOHEADER& header) const;

    // The format a record or a header describes, false when it is not one the camera makes.
    static bool fromRecord(DWORD pixel, LONG width, LONG height, FrameFormat& format);
    static bool fromHeader(const BITMAPINFOHEADER& header, FrameFormat& format);
    // "rgb24", "rgb24-topdown", "rgb32", "rgb32-topdown", "yuy2" with a size.
    static bool parse(const std::wstring& name, LONG width, LONG height, FrameFormat& format);
    std::wstring name() const;
};

} // namespace vcam
