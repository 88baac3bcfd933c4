// Where the effects get a bitmap's pixels from: the library reads a GDI bitmap, tests and the fuzzer
// supply memory. A bitmap is read only when nothing prepared from it is cached.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kivo::effects {

// Bitmaps larger than this are refused; the library's frames and pictures are far smaller.
constexpr int kMaxBitmapDimension = 4096;

// A bitmap's pixels: top-down rows of blue, green, red and an unused byte.
struct SourceImage {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgrx;   // width * height * 4 bytes

    bool isValid() const;
};

// Identity of a bitmap for the cache: its handle value, plus a fingerprint of what it holds, so that
// another bitmap which reuses a freed handle value is not mistaken for the old one.
struct BitmapKey {
    uint64_t handle = 0;
    uint64_t fingerprint = 0;

    bool operator==(const BitmapKey& other) const
    {
        return handle == other.handle && fingerprint == other.fingerprint;
    }
};

class BitmapSource {
public:
    virtual ~BitmapSource() = default;
    // False when the bitmap cannot be identified (a null or deleted handle).
    virtual bool key(BitmapKey& key) const = 0;
    // False when the pixels cannot be read or the bitmap is too large.
    virtual bool read(SourceImage& image) const = 0;
};

}  // namespace kivo::effects
