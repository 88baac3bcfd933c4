// The zoom against an exact bilinear reference, per format, and its treatment of orientation and
// row padding.
#include "EffectFlags.h"
#include "FrameEffects.h"
#include "TestFrames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <tuple>

namespace kivo::effects::test {
namespace {

struct ZoomCase {
    PixelFormat format;
    int width;
    int height;
    uint32_t flags;
};

std::ostream& operator<<(std::ostream& out, const ZoomCase& c)
{
    return out << "format " << int(c.format) << ' ' << c.width << 'x' << c.height << " flags "
               << c.flags;
}

// A plane of the frame: samples at byte `offset + x * step` of each memory row.
struct Plane {
    int width;
    size_t offset;
    size_t step;
};

std::vector<Plane> planesOf(PixelFormat format, int width)
{
    switch (format) {
    case PixelFormat::Rgb24: return {{width, 0, 3}, {width, 1, 3}, {width, 2, 3}};
    case PixelFormat::Rgb32: return {{width, 0, 4}, {width, 1, 4}, {width, 2, 4}, {width, 3, 4}};
    case PixelFormat::Yuy2: return {{width, 0, 2}, {width / 2, 1, 4}, {width / 2, 3, 4}};
    }
    return {};
}

class ZoomAgainstReference : public testing::TestWithParam<ZoomCase> {};

TEST_P(ZoomAgainstReference, EverySampleWithinOneOfExactBilinear)
{
    const ZoomCase c = GetParam();
    TestFrame frame = randomFrame(c.format, c.width, c.height, 7);
    const std::vector<uint8_t> source = frame.bytes;
    const FrameLayout layout = *describeFrame(frame.header);

    FrameEffects effects;
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), c.flags, nullptr));

    const double factor = zoomFactor(c.flags == kEffectZoom1 ? 1 : 2);
    int worst = 0;
    for (const Plane& plane : planesOf(c.format, c.width)) {
        auto at = [&](int x, int y) {
            return double(source[size_t(y) * layout.stride + plane.offset + size_t(x) * plane.step]);
        };
        for (int y = 0; y < layout.height; ++y)
            for (int x = 0; x < plane.width; ++x) {
                const double expected = zoomReference(at, plane.width, layout.height, factor, x, y);
                const int actual =
                    frame.bytes[size_t(y) * layout.stride + plane.offset + size_t(x) * plane.step];
                worst = std::max(worst, int(std::lround(std::fabs(actual - expected) + 0.49)));
                ASSERT_LE(std::fabs(actual - expected), 1.5)
                    << "plane at " << plane.offset << " x " << x << " row " << y;
            }
    }
    EXPECT_LE(worst, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, ZoomAgainstReference,
    testing::Values(ZoomCase{PixelFormat::Rgb32, 16, 12, kEffectZoom1},
                    ZoomCase{PixelFormat::Rgb32, 16, 12, kEffectZoom2},
                    ZoomCase{PixelFormat::Rgb32, 7, 5, kEffectZoom1},
                    ZoomCase{PixelFormat::Rgb24, 10, -6, kEffectZoom1},
                    ZoomCase{PixelFormat::Rgb24, 5, 9, kEffectZoom2},
                    ZoomCase{PixelFormat::Rgb24, 33, 17, kEffectZoom2},
                    ZoomCase{PixelFormat::Yuy2, 16, 12, kEffectZoom1},
                    ZoomCase{PixelFormat::Yuy2, 22, 7, kEffectZoom2},
                    // Wide enough for the rows to be read in place, the middle row among them.
                    ZoomCase{PixelFormat::Rgb24, 320, 240, kEffectZoom1},
                    ZoomCase{PixelFormat::Rgb32, 64, -31, kEffectZoom1},
                    ZoomCase{PixelFormat::Yuy2, 96, 45, kEffectZoom2},
                    ZoomCase{PixelFormat::Rgb32, 1, 1, kEffectZoom2},
                    ZoomCase{PixelFormat::Yuy2, 2, 1, kEffectZoom1}));

TEST(Zoom, SameAtEveryRepeatAndAcrossSizeChanges)
{
    FrameEffects effects;
    TestFrame small = randomFrame(PixelFormat::Rgb32, 8, 6, 3);
    TestFrame large = randomFrame(PixelFormat::Rgb32, 12, 10, 4);
    TestFrame smallAgain = small;
    ASSERT_TRUE(effects.apply(small.header, small.bytes.data(), kEffectZoom2, nullptr));
    ASSERT_TRUE(effects.apply(large.header, large.bytes.data(), kEffectZoom1, nullptr));
    ASSERT_TRUE(effects.apply(smallAgain.header, smallAgain.bytes.data(), kEffectZoom2, nullptr));
    EXPECT_EQ(small.bytes, smallAgain.bytes);
}

// The same picture stored bottom-up and top-down comes out as the same picture.
TEST(Zoom, KeepsOrientation)
{
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Rgb32}) {
        TestFrame topDown = randomFrame(format, 9, -7, 11);
        TestFrame bottomUp{headerFor(format, 9, 7), topDown.bytes};
        const size_t stride = size_t(topDown.header.byteSize / 7);
        for (size_t row = 0; row < 7; ++row)
            std::copy_n(topDown.bytes.begin() + std::ptrdiff_t(row * stride), stride,
                        bottomUp.bytes.begin() + std::ptrdiff_t((6 - row) * stride));
        FrameEffects effects;
        for (uint32_t flags : {kEffectZoom1, kEffectZoom2}) {
            TestFrame a = topDown, b = bottomUp;
            ASSERT_TRUE(effects.apply(a.header, a.bytes.data(), flags, nullptr));
            ASSERT_TRUE(effects.apply(b.header, b.bytes.data(), flags, nullptr));
            for (size_t row = 0; row < 7; ++row)
                EXPECT_TRUE(std::equal(a.bytes.begin() + std::ptrdiff_t(row * stride),
                                       a.bytes.begin() + std::ptrdiff_t((row + 1) * stride),
                                       b.bytes.begin() + std::ptrdiff_t((6 - row) * stride)))
                    << "row " << row << " flags " << flags;
        }
    }
}

// The padding at the end of RGB24 rows is not picture: it is neither read nor written.
TEST(Zoom, LeavesRowPaddingAlone)
{
    TestFrame frame = randomFrame(PixelFormat::Rgb24, 5, 4, 5);   // 15 bytes of pixels, stride 16
    const std::vector<uint8_t> before = frame.bytes;
    FrameEffects effects;
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), kEffectZoom2, nullptr));
    for (size_t row = 0; row < 4; ++row)
        EXPECT_EQ(frame.bytes[row * 16 + 15], before[row * 16 + 15]);
}

TEST(Zoom, UniformFrameStaysUniform)
{
    TestFrame frame{headerFor(PixelFormat::Yuy2, 20, 10), {}};
    frame.bytes.resize(size_t(frame.header.byteSize));
    for (size_t i = 0; i < frame.bytes.size(); i += 4) {
        frame.bytes[i] = frame.bytes[i + 2] = 201;
        frame.bytes[i + 1] = 37;
        frame.bytes[i + 3] = 250;
    }
    const std::vector<uint8_t> before = frame.bytes;
    FrameEffects effects;
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), kEffectZoom1, nullptr));
    EXPECT_EQ(frame.bytes, before);
}

}  // namespace
}  // namespace kivo::effects::test
