#include "FrameLayout.h"

namespace kivo {

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

uint16_t bitCountOf(PixelFormat format)
{
    switch (format) {
    case PixelFormat::Rgb24: return 24;
    case PixelFormat::Rgb32: return 32;
    case PixelFormat::Yuy2: return 16;
    }
    return 0;
}

uint32_t compressionOf(PixelFormat format)
{
    return format == PixelFormat::Yuy2 ? kCompressionYuy2 : kCompressionRgb;
}

size_t strideOf(PixelFormat format, int width)
{
    return size_t(dibStride(uint64_t(width < 0 ? 0 : width), bitCountOf(format)));
}

FrameHeader frameHeaderFor(PixelFormat format, int width, int height)
{
    const uint64_t rows = uint64_t(height < 0 ? -int64_t(height) : int64_t(height));
    return FrameHeader{compressionOf(format), bitCountOf(format), width, height,
                       strideOf(format, width) * rows};
}

std::optional<FrameLayout> describeFrame(const FrameHeader& header)
{
    const std::optional<PixelFormat> format = formatOf(header.compression, header.bitCount);
    if (!format)
        return std::nullopt;
    const int64_t width = header.width;
    const int64_t height = header.height < 0 ? -int64_t(header.height) : int64_t(header.height);
    if (width <= 0 || width > kMaxFrameSide || height == 0 || height > kMaxFrameSide)
        return std::nullopt;
    // Packed YUV holds two pixels in four bytes.
    if (*format == PixelFormat::Yuy2 && width % 2 != 0)
        return std::nullopt;

    FrameLayout layout{};
    layout.format = *format;
    layout.width = int(width);
    layout.height = int(height);
    layout.rowBytes = size_t(width) * bitCountOf(*format) / 8;
    layout.stride = strideOf(*format, int(width));
    // Packed YUV is top-down whatever the sign of the height.
    layout.bottomUp = *format != PixelFormat::Yuy2 && header.height > 0;
    layout.byteSize = layout.stride * layout.height;
    if (header.byteSize != layout.byteSize)
        return std::nullopt;
    return layout;
}

}  // namespace kivo
