// Drawing a bitmap into a buffer of the frame's format and orientation.
#include "FrameEffects.h"
#include "FramePicture.h"
#include "PixelColour.h"
#include "TestFrames.h"

#include <gtest/gtest.h>

namespace kivo::effects::test {
namespace {

MemoryBitmap gradient(int width, int height)
{
    MemoryBitmap bitmap(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            bitmap.setPixel(x, y, uint8_t(x * 20), uint8_t(y * 30), uint8_t(255 - x * 10));
    return bitmap;
}

TEST(Render, RgbIsTheBitmapInTheFramesOrientationWithZeroPadding)
{
    const MemoryBitmap bitmap = gradient(5, 4);
    for (PixelFormat format : {PixelFormat::Rgb24, PixelFormat::Rgb32})
        for (int height : {4, -4}) {
            const FrameHeader header = headerFor(format, 5, height);
            const FrameLayout layout = *describeFrame(header);
            std::vector<uint8_t> target(size_t(header.byteSize), 0xEE);
            FrameEffects effects;
            ASSERT_TRUE(effects.render(header, target.data(), &bitmap));
            const size_t bytesPerPixel = format == PixelFormat::Rgb24 ? 3 : 4;
            for (int y = 0; y < 4; ++y) {
                const size_t row = layout.bottomUp ? size_t(3 - y) : size_t(y);
                for (int x = 0; x < 5; ++x) {
                    const uint8_t* pixel = target.data() + row * layout.stride + size_t(x) * bytesPerPixel;
                    EXPECT_EQ(pixel[0], bitmap.pixel(x, y)[0]);
                    EXPECT_EQ(pixel[1], bitmap.pixel(x, y)[1]);
                    EXPECT_EQ(pixel[2], bitmap.pixel(x, y)[2]);
                    if (bytesPerPixel == 4) {
                        EXPECT_EQ(pixel[3], 255);
                    }
                }
                for (size_t pad = layout.rowBytes; pad < layout.stride; ++pad)
                    EXPECT_EQ(target[row * layout.stride + pad], 0);
            }
        }
}

TEST(Render, Yuy2UsesVideoRangeColours)
{
    const MemoryBitmap bitmap = gradient(4, 2);
    const FrameHeader header = headerFor(PixelFormat::Yuy2, 4, 2);
    std::vector<uint8_t> target(size_t(header.byteSize));
    FrameEffects effects;
    ASSERT_TRUE(effects.render(header, target.data(), &bitmap));
    for (int y = 0; y < 2; ++y)
        for (int pair = 0; pair < 2; ++pair) {
            const uint8_t* left = bitmap.pixel(pair * 2, y);
            const uint8_t* right = bitmap.pixel(pair * 2 + 1, y);
            const uint8_t* out = target.data() + size_t(y) * 8 + size_t(pair) * 4;
            EXPECT_EQ(out[0], lumaOf(left[2], left[1], left[0]));
            EXPECT_EQ(out[2], lumaOf(right[2], right[1], right[0]));
            const int r = (left[2] + right[2] + 1) / 2, g = (left[1] + right[1] + 1) / 2,
                      b = (left[0] + right[0] + 1) / 2;
            EXPECT_EQ(out[1], blueDifferenceOf(r, g, b));
            EXPECT_EQ(out[3], redDifferenceOf(r, g, b));
        }
    EXPECT_EQ(lumaOf(0, 0, 0), 16);
    EXPECT_EQ(lumaOf(255, 255, 255), 235);
    EXPECT_EQ(blueDifferenceOf(0, 0, 255), 240);
    EXPECT_EQ(redDifferenceOf(255, 0, 0), 240);
}

// Shrinking averages what each target pixel covers rather than picking one source pixel.
TEST(Render, ShrinkingAveragesCoveredPixels)
{
    MemoryBitmap stripes(64, 2);
    for (int x = 0; x < 64; ++x) {
        stripes.setPixel(x, 0, x % 2 ? 255 : 0, 0, 0);
        stripes.setPixel(x, 1, x % 2 ? 255 : 0, 0, 0);
    }
    const FrameHeader header = headerFor(PixelFormat::Rgb32, 8, 1);
    std::vector<uint8_t> target(size_t(header.byteSize));
    FrameEffects effects;
    ASSERT_TRUE(effects.render(header, target.data(), &stripes));
    for (size_t x = 0; x < 8; ++x)
        EXPECT_NEAR(target[x * 4 + 2], 128, 8) << x;
}

}  // namespace
}  // namespace kivo::effects::test
