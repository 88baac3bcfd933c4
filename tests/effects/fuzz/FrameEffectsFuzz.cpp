// libFuzzer target: random frame headers, buffers, flags and bitmaps through the effects. Faults it
// finds: reads or writes outside a buffer (AddressSanitizer), undefined arithmetic (UBSan), a
// request accepted although the header does not describe its buffer, and a refused request that
// changed the frame anyway.
#include "FrameEffects.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace kivo;
using namespace kivo::effects;

namespace {

// Larger declared sizes are only checked, not backed by memory.
constexpr uint64_t kLargestBuffer = 4u << 20;

class FuzzedBitmap : public BitmapSource {
public:
    explicit FuzzedBitmap(FuzzedDataProvider& data)
    {
        m_handle = data.ConsumeIntegralInRange<uint64_t>(0, 3);
        m_readable = data.ConsumeIntegralInRange<int>(0, 15) != 0;
        m_image.width = data.ConsumeIntegralInRange<int>(-1, 48);
        m_image.height = data.ConsumeIntegralInRange<int>(-1, 48);
        const size_t pixels = m_image.width > 0 && m_image.height > 0
                                  ? size_t(m_image.width) * size_t(m_image.height) : 0;
        // Mostly the colour key and a few colours, so that masks have edges; sometimes a wrong size.
        static const uint8_t kPalette[4][3] = {{255, 0, 255}, {0, 0, 0}, {255, 255, 255}, {40, 90, 200}};
        for (size_t i = 0; i < pixels; ++i) {
            const uint8_t choice = data.ConsumeIntegral<uint8_t>();
            const uint8_t* colour = kPalette[choice & 3];
            m_image.bgrx.insert(m_image.bgrx.end(), {colour[0], colour[1], colour[2], choice});
        }
        if (data.ConsumeIntegralInRange<int>(0, 31) == 0)
            m_image.bgrx.resize(m_image.bgrx.size() / 2);
        m_fingerprint = m_image.bgrx.size();
        for (uint8_t byte : m_image.bgrx)
            m_fingerprint = (m_fingerprint ^ byte) * 0x100000001B3ull;
    }
    bool key(BitmapKey& key) const override
    {
        key = BitmapKey{m_handle, m_fingerprint};
        return m_handle != 0;
    }
    bool read(SourceImage& image) const override
    {
        image = m_image;
        return m_readable;
    }

private:
    SourceImage m_image;
    uint64_t m_handle = 0;
    uint64_t m_fingerprint = 0;
    bool m_readable = true;
};

FrameHeader fuzzedHeader(FuzzedDataProvider& data)
{
    static const uint32_t kCompressions[] = {kCompressionRgb, kCompressionYuy2, 3, 0x56595559};
    static const uint16_t kBitCounts[] = {24, 32, 16, 8};
    FrameHeader header{};
    header.compression = kCompressions[data.ConsumeIntegralInRange<int>(0, 3)];
    header.bitCount = kBitCounts[data.ConsumeIntegralInRange<int>(0, 3)];
    if (data.ConsumeIntegralInRange<int>(0, 15) == 0) {
        header.width = data.ConsumeIntegral<int32_t>();
        header.height = data.ConsumeIntegral<int32_t>();
    } else {
        header.width = data.ConsumeIntegralInRange<int32_t>(-2, 96);
        header.height = data.ConsumeIntegralInRange<int32_t>(-96, 96);
    }
    return header;
}

// The buffer size a header needs, computed here independently of the code under test; 0 for a
// header that describes no frame.
uint64_t expectedSize(const FrameHeader& header)
{
    const int64_t width = header.width, height = std::llabs(int64_t(header.height));
    if (width <= 0 || width > kMaxFrameSide || height == 0 || height > kMaxFrameSide)
        return 0;
    if (header.compression == kCompressionRgb && (header.bitCount == 24 || header.bitCount == 32))
        return uint64_t((width * header.bitCount + 31) / 32 * 4 * height);
    if (header.compression == kCompressionYuy2 && header.bitCount == 16 && width % 2 == 0)
        return uint64_t(width * 2 * height);
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* bytes, size_t size)
{
    static FrameEffects effects;   // shared across inputs, so that its caches meet many layouts
    FuzzedDataProvider data(bytes, size);
    FrameHeader header = fuzzedHeader(data);
    const uint64_t needed = expectedSize(header);
    const int sizeError = data.ConsumeIntegralInRange<int>(0, 7) == 0
                              ? data.ConsumeIntegralInRange<int>(-5, 5) : 0;
    header.byteSize = uint64_t(int64_t(needed) + sizeError);
    if (int64_t(needed) + sizeError < 0)
        header.byteSize = 0;
    const uint32_t flags = data.ConsumeBool() ? data.ConsumeIntegral<uint32_t>()
                                              : data.ConsumeIntegralInRange<uint32_t>(0, 0x33F);
    const bool render = data.ConsumeIntegralInRange<int>(0, 3) == 0;
    const bool withBitmap = data.ConsumeIntegralInRange<int>(0, 7) != 0;
    const FuzzedBitmap bitmap(data);

    if (header.byteSize > kLargestBuffer) {
        if (describeFrame(header) && header.byteSize != needed)
            std::abort();
        return 0;
    }
    std::vector<uint8_t> frame(size_t(header.byteSize));
    for (size_t i = 0; i < frame.size(); ++i)
        frame[i] = uint8_t(i * 131 + 7);
    const std::vector<uint8_t> before = frame;
    // An empty vector's data() may be null; a one-byte allocation keeps the pointer real.
    std::vector<uint8_t> spare(1);
    uint8_t* pixels = frame.empty() ? spare.data() : frame.data();

    const bool accepted = render
        ? effects.render(header, pixels, withBitmap ? &bitmap : nullptr)
        : effects.apply(header, pixels, flags, withBitmap ? &bitmap : nullptr);
    if (accepted && (needed == 0 || header.byteSize != needed))
        std::abort();   // accepted a header that does not describe its buffer
    if (!accepted && frame != before)
        std::abort();   // refused, yet changed the frame
    return 0;
}
