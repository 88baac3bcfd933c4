// The vectorised row loops compute exactly the bytes of the portable ones, tails included.
#include "ZoomRows.h"

#include "TestFrames.h"

#include <gtest/gtest.h>

namespace kivo::effects::test {
namespace {

// Taps of a random magnification: sample i at `base + i * step`, its neighbour one step on, or the
// sample itself with weight 0 at the edge.
std::vector<FrameZoom::Tap> randomTaps(size_t count, size_t samples, uint32_t base, uint32_t step,
                                       std::mt19937& random)
{
    std::vector<FrameZoom::Tap> taps(count);
    for (FrameZoom::Tap& tap : taps) {
        const uint32_t sample = uint32_t(random() % samples);
        const bool edge = sample + 1 == samples;
        tap.first = base + sample * step;
        tap.second = edge ? tap.first : tap.first + step;
        tap.weight = edge ? 0 : uint32_t(random() % 256);
    }
    return taps;
}

std::vector<uint16_t> lanesOf(const std::vector<FrameZoom::Tap>& taps, int channels)
{
    std::vector<uint16_t> lanes;
    for (const FrameZoom::Tap& tap : taps)
        for (int lane = 0; lane < 8; ++lane) {
            const bool second = lane >= (channels == 3 ? 3 : 4);
            lanes.push_back(lane >= 2 * channels ? 0 : uint16_t(second ? tap.weight : 256 - tap.weight));
        }
    return lanes;
}

TEST(ZoomRows, VectorLoopsMatchPortableLoops)
{
    std::mt19937 random(99);
    for (size_t width : {1, 2, 3, 7, 16, 33}) {
        const size_t sourceWidth = width / 2 + 1;
        std::vector<uint8_t> source = randomBytes(sourceWidth * 4 + kZoomRowSlack, uint32_t(width));
        for (int channels : {3, 4}) {
            const auto taps = randomTaps(width, sourceWidth, 0, uint32_t(channels), random);
            const auto lanes = lanesOf(taps, channels);
            std::vector<uint16_t> fast(width * 4 + kZoomRowSlack), plain(fast.size());
            if (channels == 3) {
                scaleRgb24Row(source.data(), taps.data(), {lanes.data()}, width, fast.data());
                portable::scaleRgb24Row(source.data(), taps.data(), width, plain.data());
            } else {
                scaleRgb32Row(source.data(), taps.data(), {lanes.data()}, width, fast.data());
                portable::scaleRgb32Row(source.data(), taps.data(), width, plain.data());
            }
            EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + std::ptrdiff_t(width * size_t(channels)),
                                   fast.begin()))
                << "channels " << channels << " width " << width;
        }
        if (width % 2 == 0) {
            const auto luma = randomTaps(width, sourceWidth, 0, 2, random);
            const auto chroma = randomTaps(width / 2, sourceWidth / 2 + 1, 1, 4, random);
            std::vector<uint16_t> lanes;
            for (size_t pair = 0; pair < width / 2; ++pair) {
                const auto a = [](const FrameZoom::Tap& t) { return uint16_t(256 - t.weight); };
                const auto b = [](const FrameZoom::Tap& t) { return uint16_t(t.weight); };
                const auto &y0 = luma[2 * pair], &y1 = luma[2 * pair + 1], &c = chroma[pair];
                lanes.insert(lanes.end(), {a(y0), a(c), a(y1), a(c), b(y0), b(c), b(y1), b(c)});
            }
            std::vector<uint16_t> fast(width * 2 + kZoomRowSlack), plain(fast.size());
            scaleYuy2Row(source.data(), luma.data(), chroma.data(), {lanes.data()}, width, fast.data());
            portable::scaleYuy2Row(source.data(), luma.data(), chroma.data(), width, plain.data());
            EXPECT_TRUE(std::equal(plain.begin(), plain.begin() + std::ptrdiff_t(width * 2), fast.begin()))
                << "YUY2 width " << width;
        }
    }
}

TEST(ZoomRows, VectorBlendMatchesPortableBlend)
{
    std::mt19937 random(5);
    for (size_t count : {1, 15, 16, 17, 100}) {
        std::vector<uint16_t> upper(count), lower(count);
        for (size_t i = 0; i < count; ++i) {
            upper[i] = uint16_t(random() % 65281);
            lower[i] = uint16_t(random() % 65281);
        }
        for (uint32_t weight : {0u, 1u, 43u, 128u, 255u}) {
            std::vector<uint8_t> fast(count), plain(count);
            blendRows(upper.data(), lower.data(), weight, fast.data(), count);
            portable::blendRows(upper.data(), lower.data(), weight, plain.data(), count);
            EXPECT_EQ(fast, plain) << "count " << count << " weight " << weight;
        }
    }
}

}  // namespace
}  // namespace kivo::effects::test
