#include "FrameFormat.h"

namespace vcam {

DWORD FrameFormat::stride() const
{
    return DWORD(kivo::strideOf(pixel, width));
}

DWORD FrameFormat::imageBytes() const
{
    return stride() * DWORD(rows());
}

void FrameFormat::toHeader(BITMAPINFOHEADER& header) const
{
    ZeroMemory(&header, sizeof(header));
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = kivo::bitCountOf(pixel);
    header.biCompression = kivo::compressionOf(pixel);
    header.biSizeImage = imageBytes();
}

bool FrameFormat::fromRecord(DWORD pixelValue, LONG width, LONG height, FrameFormat& format)
{
    if (pixelValue < DWORD(PixelFormat::Rgb24) || pixelValue > DWORD(PixelFormat::Yuy2))
        return false;
    FrameFormat f;
    f.pixel = static_cast<PixelFormat>(pixelValue);
    f.width = width;
    f.height = height;
    LONG rows = f.rows();
    if (width < kMinWidth || width > kMaxWidth || rows < kMinHeight || rows > kMaxHeight)
        return false;
    if (f.pixel == PixelFormat::Yuy2 && (width % 2 != 0 || height < 0))
        return false;
    format = f;
    return true;
}

bool FrameFormat::fromHeader(const BITMAPINFOHEADER& header, FrameFormat& format)
{
    if (header.biSize != sizeof(BITMAPINFOHEADER) || header.biPlanes != 1)
        return false;
    const std::optional<kivo::FrameLayout> layout = kivo::describeFrame(kivo::FrameHeader{
        header.biCompression, header.biBitCount, header.biWidth, header.biHeight, header.biSizeImage});
    return layout && fromRecord(DWORD(layout->format), header.biWidth, header.biHeight, format);
}

bool FrameFormat::parse(const std::wstring& name, LONG width, LONG height, FrameFormat& format)
{
    struct Named { const wchar_t* name; PixelFormat pixel; bool topDown; };
    static const Named kNames[] = {
        {L"rgb24", PixelFormat::Rgb24, false}, {L"rgb24-topdown", PixelFormat::Rgb24, true},
        {L"rgb32", PixelFormat::Rgb32, false}, {L"rgb32-topdown", PixelFormat::Rgb32, true},
        {L"yuy2", PixelFormat::Yuy2, false},
    };
    for (const Named& n : kNames) {
        if (_wcsicmp(name.c_str(), n.name) == 0)
            return fromRecord(DWORD(n.pixel), width, n.topDown ? -height : height, format);
    }
    return false;
}

std::wstring FrameFormat::name() const
{
    switch (pixel) {
    case PixelFormat::Rgb24: return height < 0 ? L"rgb24-topdown" : L"rgb24";
    case PixelFormat::Rgb32: return height < 0 ? L"rgb32-topdown" : L"rgb32";
    case PixelFormat::Yuy2: return L"yuy2";
    }
    return L"?";
}

} // namespace vcam
