// A bitmap is read and prepared once per frame layout, and again only when something changes.
#include "EffectFlags.h"
#include "FrameEffects.h"
#include "TestFrames.h"

#include <gtest/gtest.h>

namespace kivo::effects::test {
namespace {

TEST(PreparedBitmaps, ReadOncePerBitmapSizeAndFormat)
{
    MemoryBitmap frameBitmap(8, 8, 1);
    MemoryBitmap still(8, 8, 2);
    frameBitmap.fill(255, 0, 255);
    FrameEffects effects;
    TestFrame small = randomFrame(PixelFormat::Rgb32, 8, 6, 1);
    std::vector<uint8_t> target(small.bytes.size());
    for (int i = 0; i < 5; ++i) {
        ASSERT_TRUE(effects.apply(small.header, small.bytes.data(), 0x00F | kEffectZoom1, &frameBitmap));
        ASSERT_TRUE(effects.render(small.header, target.data(), &still));
    }
    EXPECT_EQ(frameBitmap.reads(), 1);
    EXPECT_EQ(still.reads(), 1);

    TestFrame larger = randomFrame(PixelFormat::Rgb32, 10, 6, 1);
    TestFrame otherFormat = randomFrame(PixelFormat::Rgb24, 8, 6, 1);
    TestFrame otherOrientation = randomFrame(PixelFormat::Rgb32, 8, -6, 1);
    ASSERT_TRUE(effects.apply(larger.header, larger.bytes.data(), 0x00F, &frameBitmap));
    ASSERT_TRUE(effects.apply(otherFormat.header, otherFormat.bytes.data(), 0x00F, &frameBitmap));
    ASSERT_TRUE(effects.apply(otherOrientation.header, otherOrientation.bytes.data(), 0x00F, &frameBitmap));
    EXPECT_EQ(frameBitmap.reads(), 4);
}

// A new bitmap behind the same handle value has another fingerprint and is read afresh.
TEST(PreparedBitmaps, NewBitmapBehindAReusedHandleIsNotMistaken)
{
    MemoryBitmap red(2, 2, 7), blue(2, 2, 7);
    red.fill(255, 0, 0);
    blue.fill(0, 0, 255);
    blue.setFingerprint(1);
    FrameEffects effects;
    TestFrame frame = randomFrame(PixelFormat::Rgb32, 4, 4, 3);
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), 0x00F, &red));
    EXPECT_EQ(frame.bytes[2], 255);
    ASSERT_TRUE(effects.apply(frame.header, frame.bytes.data(), 0x00F, &blue));
    EXPECT_EQ(frame.bytes[0], 255);
    EXPECT_EQ(frame.bytes[2], 0);
}

}  // namespace
}  // namespace kivo::effects::test
