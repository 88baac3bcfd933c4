// The layout of a BMP picture file, checked before anything of it is used: the pictures a user puts
// into the installation's data folder are outside data. Portable: the native build fuzzes it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kivo::effects {

// Where the parts of a sound BMP file are. Every offset and size lies inside the file.
struct BmpLayout {
    int32_t width = 0;
    int32_t height = 0;          // as stored: negative for rows top-down
    uint16_t bitCount = 0;       // 1, 4, 8, 16, 24 or 32
    uint32_t compression = 0;    // kBmpRgb, or kBmpBitfields with 16 and 32 bits
    uint32_t headerSize = 0;     // of the info header: 40 or one of the later versions' sizes
    size_t masksOffset = 0;      // the three colour masks of kBmpBitfields; 0 without
    size_t paletteOffset = 0;    // the colour table; 0 without
    uint32_t paletteColors = 0;  // entries of 4 bytes, only with 1, 4 and 8 bits
    size_t pixelsOffset = 0;
    size_t pixelBytes = 0;       // padded rows times the row count
};

constexpr uint32_t kBmpRgb = 0;
constexpr uint32_t kBmpBitfields = 3;
constexpr size_t kBmpFileHeaderSize = 14;

// True when the bytes are a whole uncompressed BMP file of at most kMaxBitmapDimension on each side
// with a colour depth a picture can have; the layout then says where its parts are. Compressed
// (run-length) files, files cut short, and headers that contradict the file's size are refused.
bool parseBmpFile(const uint8_t* data, size_t size, BmpLayout& layout);

} // namespace kivo::effects
