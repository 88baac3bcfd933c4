#include "GdiBitmapSource.h"

#include <cstdint>
#include <cstring>
#include <vector>

using kivo::effects::BitmapKey;
using kivo::effects::SourceImage;

namespace {

// A memory DC compatible with the screen, for GetDIBits; deleted with its owner.
class MemoryDc {
public:
    MemoryDc() : m_hDc(CreateCompatibleDC(nullptr)) {}
    ~MemoryDc()
    {
        if (m_hDc)
            DeleteDC(m_hDc);
    }
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    HDC get() const { return m_hDc; }

private:
    HDC m_hDc;
};

BITMAPINFO rgb32Info(LONG width, LONG height)
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

// FNV-1a, 64 bits, taking eight bytes a step and the rest one by one: the key is made on every
// frame with an overlay, and a row a byte at a time is a long chain of multiplications.
uint64_t mix(uint64_t hash, const void* data, size_t size)
{
    const auto* bytes = static_cast<const uint8_t*>(data);
    size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        uint64_t word;
        memcpy(&word, bytes + i, sizeof(word));
        hash = (hash ^ word) * 0x100000001B3ull;
    }
    for (; i < size; ++i)
        hash = (hash ^ bytes[i]) * 0x100000001B3ull;
    return hash;
}

}  // namespace

bool GdiBitmapSource::describe(BITMAP& info) const
{
    if (!m_hBitmap || GetObjectW(m_hBitmap, sizeof(info), &info) == 0)
        return false;
    return info.bmWidth > 0 && info.bmHeight > 0 &&
           info.bmWidth <= kivo::effects::kMaxBitmapDimension &&
           info.bmHeight <= kivo::effects::kMaxBitmapDimension;
}

bool GdiBitmapSource::key(BitmapKey& key) const
{
    BITMAP info{};
    if (!describe(info))
        return false;
    uint64_t hash = 0xCBF29CE484222325ull;
    hash = mix(hash, &info.bmWidth, sizeof(info.bmWidth));
    hash = mix(hash, &info.bmHeight, sizeof(info.bmHeight));
    hash = mix(hash, &info.bmBitsPixel, sizeof(info.bmBitsPixel));
    hash = mix(hash, &info.bmBits, sizeof(info.bmBits));
    if (!mixMiddleRow(hash, info))
        return false;
    key = BitmapKey{uint64_t(reinterpret_cast<uintptr_t>(m_hBitmap)), hash};
    return true;
}

// The row is read where the bitmap keeps it: a DIB section's bits are in this process, so no GDI call
// is made for them on every frame; a device-dependent bitmap is read through a memory DC.
bool GdiBitmapSource::mixMiddleRow(uint64_t& hash, const BITMAP& info) const
{
    LONG middle = info.bmHeight / 2;
    if (info.bmBits) {
        const auto* row = static_cast<const uint8_t*>(info.bmBits) + size_t(info.bmWidthBytes) * size_t(middle);
        hash = mix(hash, row, size_t(info.bmWidthBytes));
        return true;
    }
    MemoryDc dc;
    std::vector<uint8_t> row(size_t(info.bmWidth) * 4);
    BITMAPINFO rowInfo = rgb32Info(info.bmWidth, info.bmHeight);
    if (!dc.get() || GetDIBits(dc.get(), m_hBitmap, UINT(middle), 1, row.data(), &rowInfo, DIB_RGB_COLORS) != 1)
        return false;
    hash = mix(hash, row.data(), row.size());
    return true;
}

bool GdiBitmapSource::read(SourceImage& image) const
{
    BITMAP info{};
    MemoryDc dc;
    if (!describe(info) || !dc.get())
        return false;
    image.width = info.bmWidth;
    image.height = info.bmHeight;
    image.bgrx.assign(size_t(info.bmWidth) * size_t(info.bmHeight) * 4, 0);
    BITMAPINFO topDown = rgb32Info(info.bmWidth, -info.bmHeight);
    return GetDIBits(dc.get(), m_hBitmap, 0, UINT(info.bmHeight), image.bgrx.data(), &topDown,
                     DIB_RGB_COLORS) == info.bmHeight;
}
