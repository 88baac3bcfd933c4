#include "BmpFile.h"
#include "FrameLayout.h"

#include "BitmapSource.h"

namespace kivo::effects {

namespace {

uint16_t read16(const uint8_t* p)
{
    return uint16_t(p[0] | (p[1] << 8));
}

uint32_t read32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

bool isInfoHeaderSize(uint32_t size)
{
    // BITMAPINFOHEADER, the two extended ones with masks, BITMAPV4HEADER and BITMAPV5HEADER.
    return size == 40 || size == 52 || size == 56 || size == 108 || size == 124;
}

bool isDepthOf(uint16_t bitCount, uint32_t compression)
{
    if (compression == kBmpRgb)
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24 ||
               bitCount == 32;
    return compression == kBmpBitfields && (bitCount == 16 || bitCount == 32);
}

bool isSide(int64_t side)
{
    return side > 0 && side <= kMaxBitmapDimension;
}

} // namespace

bool parseBmpFile(const uint8_t* data, size_t size, BmpLayout& layout)
{
    if (!data || size < kBmpFileHeaderSize + 40 || data[0] != 'B' || data[1] != 'M')
        return false;
    const uint8_t* info = data + kBmpFileHeaderSize;
    BmpLayout l;
    l.headerSize = read32(info);
    if (!isInfoHeaderSize(l.headerSize) || kBmpFileHeaderSize + l.headerSize > size)
        return false;
    l.width = int32_t(read32(info + 4));
    l.height = int32_t(read32(info + 8));
    l.bitCount = read16(info + 14);
    l.compression = read32(info + 16);
    const int64_t rows = l.height < 0 ? -int64_t(l.height) : int64_t(l.height);
    if (read16(info + 12) != 1 || !isSide(l.width) || !isSide(rows) || !isDepthOf(l.bitCount, l.compression))
        return false;

    // Masks follow a 40-byte header; the later headers hold them.
    size_t tableOffset = kBmpFileHeaderSize + l.headerSize;
    if (l.compression == kBmpBitfields) {
        l.masksOffset = l.headerSize >= 52 ? kBmpFileHeaderSize + 40 : tableOffset;
        if (l.headerSize == 40)
            tableOffset += 12;
    }
    if (l.bitCount <= 8) {
        const uint32_t most = 1u << l.bitCount;
        const uint32_t used = read32(info + 32);
        if (used > most)
            return false;
        l.paletteColors = used ? used : most;
        l.paletteOffset = tableOffset;
        tableOffset += size_t(l.paletteColors) * 4;
    }
    const uint64_t stride = dibStride(uint64_t(l.width), l.bitCount);
    l.pixelBytes = size_t(stride * uint64_t(rows));
    l.pixelsOffset = read32(data + 10);
    if (l.pixelsOffset < tableOffset || l.pixelsOffset > size || size - l.pixelsOffset < l.pixelBytes)
        return false;
    layout = l;
    return true;
}

} // namespace kivo::effects
