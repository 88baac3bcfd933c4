// Requests the effects must refuse, leaving the frame byte for byte as it was.
#include "EffectFlags.h"
#include "FrameEffects.h"
#include "TestFrames.h"

#include <gtest/gtest.h>

namespace kivo::effects::test {
namespace {

TEST(FrameHeaderCheck, ExactByteSizesAreAcceptedAndAnyOtherRefused)
{
    struct Case { PixelFormat format; int width; int height; uint64_t size; };
    for (const Case& c : {Case{PixelFormat::Rgb24, 5, 3, 16 * 3}, Case{PixelFormat::Rgb24, 4, -2, 12 * 2},
                          Case{PixelFormat::Rgb32, 3, 3, 36}, Case{PixelFormat::Yuy2, 6, -2, 24}}) {
        FrameHeader header = headerFor(c.format, c.width, c.height);
        ASSERT_EQ(header.byteSize, c.size);
        EXPECT_TRUE(describeFrame(header));
        header.byteSize = c.size + 1;
        EXPECT_FALSE(describeFrame(header));
        header.byteSize = c.size - 1;
        EXPECT_FALSE(describeFrame(header));
    }
}

TEST(FrameHeaderCheck, RefusesWhatIsNoFrame)
{
    const FrameHeader good = headerFor(PixelFormat::Rgb32, 8, 8);
    auto refused = [&](auto change) {
        FrameHeader header = good;
        change(header);
        return !describeFrame(header);
    };
    EXPECT_TRUE(refused([](FrameHeader& h) { h.width = 0; h.byteSize = 0; }));
    EXPECT_TRUE(refused([](FrameHeader& h) { h.height = 0; h.byteSize = 0; }));
    EXPECT_TRUE(refused([](FrameHeader& h) { h.width = -8; }));
    EXPECT_TRUE(refused([](FrameHeader& h) { h.bitCount = 16; }));
    EXPECT_TRUE(refused([](FrameHeader& h) { h.compression = 3; }));   // bit fields
    EXPECT_TRUE(refused([](FrameHeader& h) { h.compression = kCompressionYuy2; }));   // 32 bits
    EXPECT_TRUE(refused([](FrameHeader& h) { h.height = INT32_MIN; }));
    EXPECT_TRUE(refused([](FrameHeader& h) {
        h.width = h.height = 65536;   // 2^32 * 4 would wrap a 32-bit size to 0
        h.byteSize = 0;
    }));
    FrameHeader odd = headerFor(PixelFormat::Yuy2, 7, 2);
    odd.byteSize = 7 * 2 * 2;
    EXPECT_FALSE(describeFrame(odd));
}

TEST(EffectFlagWord, KnownBitsOnly)
{
    EXPECT_TRUE(parseEffectFlags(0));
    EXPECT_TRUE(parseEffectFlags(0x001));
    EXPECT_TRUE(parseEffectFlags(0x00F | kEffectZoom2));
    EXPECT_TRUE(parseEffectFlags(0x300 | kEffectZoom1));   // the panel's mode bits ride along
    EXPECT_FALSE(parseEffectFlags(kEffectZoom1 | kEffectZoom2));
    EXPECT_FALSE(parseEffectFlags(0x040));
    EXPECT_TRUE(parseEffectFlags(0xF00 | kEffectFrameMask));
    EXPECT_FALSE(parseEffectFlags(0x1000));
    EXPECT_FALSE(parseEffectFlags(0x80000000u));
}

TEST(FailedRequest, LeavesTheFrameAndTargetUntouched)
{
    MemoryBitmap bitmap(4, 4);
    bitmap.fill(9, 9, 9);
    MemoryBitmap unreadable(4, 4);
    unreadable.setReadable(false);
    MemoryBitmap empty(0, 0);
    MemoryBitmap huge(kMaxBitmapDimension + 1, 1);

    TestFrame frame = randomFrame(PixelFormat::Rgb24, 6, 4, 1);
    const std::vector<uint8_t> before = frame.bytes;
    FrameEffects effects;
    FrameHeader tooLong = frame.header;
    tooLong.byteSize += 4;
    EXPECT_FALSE(effects.apply(tooLong, frame.bytes.data(), kEffectZoom2, &bitmap));
    EXPECT_FALSE(effects.apply(frame.header, nullptr, kEffectZoom2, &bitmap));
    EXPECT_FALSE(effects.apply(frame.header, frame.bytes.data(), 0x040, &bitmap));
    EXPECT_FALSE(effects.apply(frame.header, frame.bytes.data(), 0x030, &bitmap));
    EXPECT_FALSE(effects.apply(frame.header, frame.bytes.data(), kEffectZoom1 | 0x001, nullptr));
    EXPECT_FALSE(effects.apply(frame.header, frame.bytes.data(), kEffectZoom1 | 0x001, &unreadable));
    EXPECT_FALSE(effects.apply(frame.header, frame.bytes.data(), 0x00F, &empty));
    EXPECT_FALSE(effects.apply(frame.header, frame.bytes.data(), 0x00F, &huge));
    EXPECT_EQ(frame.bytes, before);

    std::vector<uint8_t> target(before.size(), 0x3C);
    EXPECT_FALSE(effects.render(tooLong, target.data(), &bitmap));
    EXPECT_FALSE(effects.render(frame.header, target.data(), nullptr));
    EXPECT_FALSE(effects.render(frame.header, target.data(), &unreadable));
    EXPECT_FALSE(effects.render(frame.header, nullptr, &bitmap));
    EXPECT_EQ(target, std::vector<uint8_t>(before.size(), 0x3C));

    // Zoom alone needs no bitmap; no flags at all is a valid request that changes nothing.
    EXPECT_TRUE(effects.apply(frame.header, frame.bytes.data(), 0, nullptr));
    EXPECT_EQ(frame.bytes, before);
    EXPECT_TRUE(effects.apply(frame.header, frame.bytes.data(), kEffectZoom1, nullptr));
}

}  // namespace
}  // namespace kivo::effects::test
