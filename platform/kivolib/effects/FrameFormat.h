// Frame layouts the effects understand, and the check that a frame header describes one of them
// exactly. Portable: no Windows header is needed, so the kernels also build natively.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

namespace kivo::effects {

enum class PixelFormat : uint8_t { Rgb24, Rgb32, Yuy2 };

// Compression values of a bitmap header: uncompressed RGB, and the packed 4:2:2 FOURCC.
constexpr uint32_t kCompressionRgb = 0;
constexpr uint32_t kCompressionYuy2 = 0x32595559;   // 'Y' 'U' 'Y' '2'

// Larger frames are refused rather than trusted; no camera delivers them.
constexpr int32_t kMaxFrameDimension = 8192;

// The fields of a frame header the effects read, as the frame's owner filled them in.
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

// The layout a header describes, or nothing when it describes no frame the effects process: an
// unknown format, a zero or oversized dimension, an odd YUY2 width, or a byte size other than the
// dimensions need (RGB rows padded to 4 bytes, YUY2 rows of width * 2 bytes).
std::optional<FrameLayout> describeFrame(const FrameHeader& header);

}  // namespace kivo::effects
