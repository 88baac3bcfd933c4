// Frames and bitmaps in memory for the effects' native tests, and simple reference computations.
#pragma once

#include "BitmapSource.h"
#include "FrameLayout.h"

#include <cstdint>
#include <random>
#include <vector>

namespace kivo::effects::test {

// The header of a frame as a camera would fill it in.
inline FrameHeader headerFor(PixelFormat format, int width, int height)
{
    return frameHeaderFor(format, width, height);
}

inline std::vector<uint8_t> randomBytes(size_t count, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(count);
    for (uint8_t& byte : bytes)
        byte = uint8_t(random());
    return bytes;
}

struct TestFrame {
    FrameHeader header;
    std::vector<uint8_t> bytes;
};

inline TestFrame randomFrame(PixelFormat format, int width, int height, uint32_t seed)
{
    TestFrame frame{headerFor(format, width, height), {}};
    frame.bytes = randomBytes(size_t(frame.header.byteSize), seed);
    return frame;
}

// A bitmap in memory that counts how often its pixels are read.
class MemoryBitmap : public BitmapSource {
public:
    MemoryBitmap(int width, int height, uint64_t handle = 1) : m_handle(handle)
    {
        m_image.width = width;
        m_image.height = height;
        m_image.bgrx.assign(size_t(width) * size_t(height) * 4, 0);
    }

    void setPixel(int x, int y, uint8_t red, uint8_t green, uint8_t blue)
    {
        uint8_t* pixel = m_image.bgrx.data() + (size_t(y) * size_t(m_image.width) + size_t(x)) * 4;
        pixel[0] = blue;
        pixel[1] = green;
        pixel[2] = red;
    }
    void fill(uint8_t red, uint8_t green, uint8_t blue)
    {
        for (int y = 0; y < m_image.height; ++y)
            for (int x = 0; x < m_image.width; ++x)
                setPixel(x, y, red, green, blue);
    }
    const uint8_t* pixel(int x, int y) const
    {
        return m_image.bgrx.data() + (size_t(y) * size_t(m_image.width) + size_t(x)) * 4;
    }
    void setFingerprint(uint64_t fingerprint) { m_fingerprint = fingerprint; }
    void setReadable(bool readable) { m_readable = readable; }

    bool key(BitmapKey& key) const override
    {
        key = BitmapKey{m_handle, m_fingerprint};
        return true;
    }
    bool read(SourceImage& image) const override
    {
        ++m_reads;
        if (!m_readable)
            return false;
        image = m_image;
        return true;
    }
    int reads() const { return m_reads; }

private:
    SourceImage m_image;
    uint64_t m_handle;
    uint64_t m_fingerprint = 0;
    bool m_readable = true;
    mutable int m_reads = 0;
};

// Bilinear sample of a plane magnified about its centre, in exact arithmetic.
template <typename At>
double zoomReference(At at, int width, int height, double factor, int x, int y)
{
    auto position = [factor](int i, int size) {
        const double centre = (size - 1) / 2.0;
        double u = centre + (i - centre) / factor;
        return u < 0 ? 0.0 : (u > size - 1 ? double(size - 1) : u);
    };
    const double u = position(x, width), v = position(y, height);
    const int x0 = int(u), y0 = int(v);
    const int x1 = x0 + 1 < width ? x0 + 1 : x0, y1 = y0 + 1 < height ? y0 + 1 : y0;
    const double fx = u - x0, fy = v - y0;
    const double top = at(x0, y0) * (1 - fx) + at(x1, y0) * fx;
    const double bottom = at(x0, y1) * (1 - fx) + at(x1, y1) * fx;
    return top * (1 - fy) + bottom * fy;
}

}  // namespace kivo::effects::test
