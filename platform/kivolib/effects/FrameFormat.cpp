#include "FrameFormat.h"

namespace kivo::effects {

bool FrameLayout::operator==(const FrameLayout& other) const
{
    return format == other.format && width == other.width && height == other.height &&
           bottomUp == other.bottomUp && stride == other.stride && byteSize == other.byteSize;
}

namespace {

std::optional<PixelFormat> formatOf(uint32_t compression, uint16_t bitCount)
{
    if (compression == kCompressionRgb && bitCount == 24)
        return PixelFormat::Rgb24;
    if (compression == kCompressionRgb && bitCount == 32)
        return PixelFormat::Rgb32;
    if (compression == kCompressionYuy2 && bitCount == 16)
        return PixelFormat::Yuy2;
    return std::nullopt;
}

}  // namespace

std::optional<FrameLayout> describeFrame(const FrameHeader& header)
{
    const std::optional<PixelFormat> format = formatOf(header.compression, header.bitCount);
    if (!format)
        return std::nullopt;
    const int64_t width = header.width;
    const int64_t height = header.height < 0 ? -int64_t(header.height) : int64_t(header.height);
    if (width <= 0 || width > kMaxFrameDimension || height == 0 || height > kMaxFrameDimension)
        return std::nullopt;

    FrameLayout layout{};
    layout.format = *format;
    layout.width = int(width);
    layout.height = int(height);
    switch (*format) {
    case PixelFormat::Rgb24:
        layout.rowBytes = size_t(width) * 3;
        layout.stride = (layout.rowBytes + 3) & ~size_t(3);
        layout.bottomUp = header.height > 0;
        break;
    case PixelFormat::Rgb32:
        layout.rowBytes = size_t(width) * 4;
        layout.stride = layout.rowBytes;
        layout.bottomUp = header.height > 0;
        break;
    case PixelFormat::Yuy2:
        // Packed YUV is top-down whatever the sign of the height.
        if (width % 2 != 0)
            return std::nullopt;
        layout.rowBytes = size_t(width) * 2;
        layout.stride = layout.rowBytes;
        layout.bottomUp = false;
        break;
    }
    layout.byteSize = layout.stride * layout.height;
    if (header.byteSize != layout.byteSize)
        return std::nullopt;
    return layout;
}

}  // namespace kivo::effects
