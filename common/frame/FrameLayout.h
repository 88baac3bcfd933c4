// How a camera frame's pixels lie in memory: the formats a frame may have, the largest frame a
// record may describe, and the check that a frame header describes one layout exactly. The camera,
// the effects, the panel, the tools and the tests all read frames through this one description.
// Portable: no Windows header, so the effects' native build uses it too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kivo {

// The values are those the virtual camera keeps in its shared records.
enum class PixelFormat : uint32_t { Rgb24 = 1, Rgb32 = 2, Yuy2 = 3 };

// Compression values of a bitmap header: uncompressed RGB, and the packed 4:2:2 FOURCC.
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionYuy2 = 0x32595559;   // 'Y' 'U' 'Y' '2'

// Larger frames are refused rather than trusted; no camera delivers them.
constexpr int32_t kMaxFrameSide = 8192;

// Bytes of one row of a device-independent bitmap: its bits padded to a multiple of 4 bytes.
constexpr uint64_t dibStride(uint64_t width, uint32_t bitCount)
{
    return (width * bitCount + 31) / 32 * 4;
}

// The fields of a frame header that say how its pixels lie, as the frame's owner filled them in.
struct FrameHeader {
    uint32_t compression;
    uint16_t bitCount;
    int32_t width;
    int32_t height;      // negative for top-down RGB
    uint64_t byteSize;   // the size of the pixel buffer
};

// How a frame's pixels lie in memory. Memory row 0 is the picture's bottom row when bottomUp.
struct FrameLayout {
    PixelFormat format;
    int width;
    int height;          // rows, always positive
    bool bottomUp;
    size_t stride;       // bytes from one memory row to the next
    size_t rowBytes;     // bytes of pixels in a row (stride minus padding)
    size_t byteSize;     // stride * height

    bool operator==(const FrameLayout& other) const;
    bool operator!=(const FrameLayout& other) const { return !(*this == other); }
};

uint16_t bitCountOf(PixelFormat format);
uint32_t compressionOf(PixelFormat format);
// Bytes from one memory row to the next: RGB rows padded to 4 bytes, YUY2 rows of width * 2 bytes.
size_t strideOf(PixelFormat format, int width);

// The header of a well-formed frame of that format and size (height negative: top-down RGB).
FrameHeader frameHeaderFor(PixelFormat format, int width, int height);

// The layout a header describes, or nothing when it describes no frame: an unknown format, a zero
// or oversized dimension, an odd YUY2 width, or a byte size other than the dimensions need.
std::optional<FrameLayout> describeFrame(const FrameHeader& header);

}  // namespace kivo
