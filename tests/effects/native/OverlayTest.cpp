// Laying a frame bitmap over frames: what shows, what stays transparent, in every format and
// orientation, and after a zoom.
#include "EffectFlags.h"
#include "FrameEffects.h"
#include "FramePicture.h"
#include "PixelColour.h"
#include "TestFrames.h"

#include <gtest/gtest.h>

namespace kivo::effects::test {
namespace {

constexpr uint8_t kMagenta[3] = {255, 0, 255};

// A bitmap of the frame's own size: key everywhere except a coloured left column and top row.
MemoryBitmap borderBitmap(int width, int height)
{
    MemoryBitmap bitmap(width, height);
    bitmap.fill(kMagenta[0], kMagenta[1], kMagenta[2]);
    for (int y = 0; y < height; ++y)
        bitmap.setPixel(0, y, 10, 200, 30);
    for (int x = 0; x < width; ++x)
        bitmap.setPixel(x, 0, 250, 240, 5);
    return bitmap;
}

TEST(Overlay, RgbShowsBitmapPixelsExactlyAndKeepsTheRestInBothOrientations)
{
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Rgb32})
        for (int height : {6, -6}) {
            const MemoryBitmap bitmap = borderBitmap(7, 6);
            TestFrame frame = randomFrame(format, 7, height, 21);
            const std::vector<uint8_t> before = frame.bytes;
            const FrameLayout layout = *describeFrame(frame.header);
            FrameEffects effects;
            ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), kEffectFrameMask, &bitmap));
            const size_t bytesPerPixel = format == PixelFormat::Rgb24 ? 3 : 4;
            for (int y = 0; y < 6; ++y) {
                const size_t row = layout.bottomUp ? size_t(5 - y) : size_t(y);
                for (int x = 0; x < 7; ++x) {
                    const size_t at = row * layout.stride + size_t(x) * bytesPerPixel;
                    if (x == 0 || y == 0) {
                        const uint8_t* expected = bitmap.pixel(x, y);
                        EXPECT_EQ(frame.bytes[at], expected[0]) << x << ',' << y;
                        EXPECT_EQ(frame.bytes[at + 1], expected[1]) << x << ',' << y;
                        EXPECT_EQ(frame.bytes[at + 2], expected[2]) << x << ',' << y;
                    } else {
                        EXPECT_TRUE(std::equal(frame.bytes.begin() + std::ptrdiff_t(at),
                                               frame.bytes.begin() + std::ptrdiff_t(at + bytesPerPixel),
                                               before.begin() + std::ptrdiff_t(at)))
                            << x << ',' << y;
                    }
                }
            }
        }
}

TEST(Overlay, Yuy2PairTakesItsColourOnlyFromShownPixels)
{
    MemoryBitmap bitmap(4, 1);
    bitmap.setPixel(0, 0, 200, 30, 40);                           // pair 0: shown | key
    bitmap.setPixel(1, 0, kMagenta[0], kMagenta[1], kMagenta[2]);
    bitmap.setPixel(2, 0, kMagenta[0], kMagenta[1], kMagenta[2]);  // pair 1: all key
    bitmap.setPixel(3, 0, kMagenta[0], kMagenta[1], kMagenta[2]);
    TestFrame frame = randomFrame(PixelFormat::Yuy2, 4, 1, 5);
    const std::vector<uint8_t> before = frame.bytes;
    FrameEffects effects;
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), kEffectFrameMask, &bitmap));
    EXPECT_EQ(frame.bytes[0], lumaOf(200, 30, 40));
    EXPECT_EQ(frame.bytes[1], blueDifferenceOf(200, 30, 40));
    EXPECT_EQ(frame.bytes[2], before[2]);   // the key pixel's luma stays the picture's
    EXPECT_EQ(frame.bytes[3], redDifferenceOf(200, 30, 40));
    EXPECT_TRUE(std::equal(frame.bytes.begin() + 4, frame.bytes.end(), before.begin() + 4));
}

// Scaled up, the key must not bleed: every shown pixel has exactly the bitmap's colour.
TEST(Overlay, ScaledBitmapHasNoKeyFringe)
{
    MemoryBitmap bitmap(4, 4);
    bitmap.fill(kMagenta[0], kMagenta[1], kMagenta[2]);
    bitmap.setPixel(0, 0, 0, 0, 255);
    bitmap.setPixel(1, 0, 0, 0, 255);
    bitmap.setPixel(0, 1, 0, 0, 255);
    TestFrame frame{headerFor(PixelFormat::Rgb32, 32, -24), {}};
    frame.bytes.assign(size_t(frame.header.byteSize), 0);
    FrameEffects effects;
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), kEffectFrameMask, &bitmap));
    int shown = 0;
    for (size_t i = 0; i < frame.bytes.size(); i += 4) {
        const bool untouched = frame.bytes[i] == 0 && frame.bytes[i + 1] == 0 && frame.bytes[i + 2] == 0;
        const bool blue = frame.bytes[i] == 255 && frame.bytes[i + 1] == 0 && frame.bytes[i + 2] == 0;
        EXPECT_TRUE(untouched || blue) << "pixel " << i / 4;
        shown += blue;
    }
    EXPECT_GT(shown, 32 * 24 / 16);   // the top-left corner shows
    EXPECT_EQ(frame.bytes[0], 255);
    EXPECT_EQ(frame.bytes[frame.bytes.size() - 4], 0);
}

// Overlay after the zoom: the bitmap is not magnified, the picture under it is.
TEST(Overlay, ComesAfterTheZoom)
{
    const MemoryBitmap bitmap = borderBitmap(9, 8);
    TestFrame frame = randomFrame(PixelFormat::Rgb32, 9, -8, 8);
    TestFrame zoomedOnly = frame;
    FrameEffects effects;
    ASSERT_TRUE(effects.apply(zoomedOnly.header, zoomedOnly.bytes.data(), kEffectZoom2, nullptr));
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), kEffectZoom2 | 0x001, &bitmap));
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 9; ++x) {
            const size_t at = (size_t(y) * 9 + size_t(x)) * 4;
            const uint8_t* expected = (x == 0 || y == 0) ? bitmap.pixel(x, y) : &zoomedOnly.bytes[at];
            EXPECT_EQ(frame.bytes[at], expected[0]) << x << ',' << y;
            EXPECT_EQ(frame.bytes[at + 2], expected[2]) << x << ',' << y;
        }
}

// A bitmap broken into single pixels takes the masked path; the result is the same rule.
TEST(Overlay, CheckerboardBitmapShowsEveryOtherPixel)
{
    MemoryBitmap bitmap(16, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if ((x + y) % 2)
                bitmap.setPixel(x, y, kMagenta[0], kMagenta[1], kMagenta[2]);
            else
                bitmap.setPixel(x, y, 1, 2, 3);
        }
    TestFrame frame = randomFrame(PixelFormat::Rgb24, 16, -16, 2);
    const std::vector<uint8_t> before = frame.bytes;
    FrameEffects effects;
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), kEffectFrameMask, &bitmap));
    for (size_t y = 0; y < 16; ++y)
        for (size_t x = 0; x < 16; ++x) {
            const size_t at = y * 48 + x * 3;
            if ((x + y) % 2)
                EXPECT_EQ(frame.bytes[at], before[at]);
            else
                EXPECT_EQ(frame.bytes[at], 3);
        }
}

}  // namespace
}  // namespace kivo::effects::test
