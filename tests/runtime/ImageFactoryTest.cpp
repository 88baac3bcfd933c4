// ImageFactory: which ids exist, their sizes, and that scaling keeps both the picture and the
// frames' colour key.
#include "KivoLib.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace {

const UINT kFrameIds[] = {10000, 10001, 10002, 10003, 10004, 10005};
const UINT kStillIds[] = {102, 103, 150};
const DWORD kKey = 0xFF00FF;   // KIVO_FRAME_COLOR_KEY as 0x00RRGGBB

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<DWORD> data;   // 0x00RRGGBB, top-down
    DWORD at(int x, int y) const { return data[size_t(y) * width + x]; }
};

// Reads a bitmap and deletes it.
Pixels takePixels(HBITMAP hBitmap)
{
    Pixels p;
    BITMAP bm = {};
    if (!hBitmap || !GetObjectW(hBitmap, sizeof(bm), &bm))
        return p;
    p.width = bm.bmWidth;
    p.height = bm.bmHeight;
    p.data.resize(size_t(p.width) * p.height);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = p.width;
    info.bmiHeader.biHeight = -p.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    HDC hdc = GetDC(nullptr);
    EXPECT_EQ(p.height, GetDIBits(hdc, hBitmap, 0, p.height, p.data.data(), &info, DIB_RGB_COLORS));
    ReleaseDC(nullptr, hdc);
    for (DWORD& v : p.data)
        v &= 0xFFFFFF;
    DeleteObject(hBitmap);
    return p;
}

int distance(DWORD a, DWORD b)
{
    return std::abs(int((a >> 16) & 0xFF) - int((b >> 16) & 0xFF)) + std::abs(int((a >> 8) & 0xFF) - int((b >> 8) & 0xFF)) +
           std::abs(int(a & 0xFF) - int(b & 0xFF));
}

// Average colour of the pixels that are not the key, per channel.
void averageColour(const Pixels& p, double out[3])
{
    double sum[3] = {0, 0, 0};
    size_t n = 0;
    for (DWORD v : p.data) {
        if (v == kKey)
            continue;
        sum[0] += (v >> 16) & 0xFF;
        sum[1] += (v >> 8) & 0xFF;
        sum[2] += v & 0xFF;
        ++n;
    }
    for (int i = 0; i < 3; ++i)
        out[i] = n ? sum[i] / n : -1;
}

void expectSamePicture(const Pixels& natural, const Pixels& scaled)
{
    double a[3], b[3];
    averageColour(natural, a);
    averageColour(scaled, b);
    for (int i = 0; i < 3; ++i)
        EXPECT_NEAR(a[i], b[i], 8.0) << "channel " << i;
}

TEST(ImageFactoryTest, KnownIdsHaveTheirNaturalSizes)
{
    for (UINT id : kFrameIds) {
        Pixels p = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        EXPECT_EQ(320, p.width) << "frame " << id;
        EXPECT_EQ(240, p.height) << "frame " << id;
    }
    for (UINT id : {102u, 103u}) {
        Pixels p = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        EXPECT_EQ(320, p.width) << "still " << id;
        EXPECT_EQ(240, p.height) << "still " << id;
    }
    Pixels alert = takePixels(ImageFactory::CreateBitmap(150, 0, 0));
    EXPECT_EQ(144, alert.width) << "the alert's picture control";
    EXPECT_EQ(108, alert.height) << "the alert's picture control";
}

TEST(ImageFactoryTest, UnknownIdsAndBadSizesGiveNothing)
{
    for (UINT id : {0u, 1u, 101u, 104u, 149u, 151u, 9999u, 10006u, 65535u})
        EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(id, 0, 0)) << "id " << id;
    EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(10001, 640, 0));
    EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(10001, 0, 480));
    EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(102, -320, 240));
    EXPECT_EQ(nullptr, ImageFactory::CreateBitmap(102, 100000, 100));

    // Probing upward from 10000 until the first gap, as the frame chooser does, finds six frames.
    UINT count = 0;
    for (UINT id = 10000; id < 10100; ++id) {
        HBITMAP h = ImageFactory::CreateBitmap(id, 0, 0);
        if (!h)
            break;
        DeleteObject(h);
        ++count;
    }
    EXPECT_EQ(6u, count);
}

TEST(ImageFactoryTest, EachCallGivesTheCallerItsOwnBitmap)
{
    HBITMAP first = ImageFactory::CreateBitmap(10002, 0, 0);
    HBITMAP second = ImageFactory::CreateBitmap(10002, 0, 0);
    ASSERT_NE(nullptr, first);
    ASSERT_NE(nullptr, second);
    EXPECT_NE(first, second);
    EXPECT_TRUE(DeleteObject(first));
    Pixels p = takePixels(second);
    EXPECT_EQ(320, p.width);
}

TEST(ImageFactoryTest, FramesAreTransparentInTheMiddleAndOpaqueAtTheEdge)
{
    for (UINT id : kFrameIds) {
        if (id == 10000)
            continue;   // the "no frame" entry is a picture of its own, without an opening
        Pixels p = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        ASSERT_EQ(320, p.width);
        EXPECT_EQ(kKey, p.at(160, 120)) << "frame " << id;
        EXPECT_NE(kKey, p.at(2, 2)) << "frame " << id;
        EXPECT_NE(kKey, p.at(317, 237)) << "frame " << id;
        size_t keyed = 0;
        for (DWORD v : p.data)
            keyed += v == kKey;
        EXPECT_GT(keyed, p.data.size() / 2) << "frame " << id << ": the picture should mostly show through";
    }
}

// The opening scales with the frame and stays exactly the key; no near-key fringe is left around it.
TEST(ImageFactoryTest, ScaledFramesKeepTheKeyExact)
{
    const SIZE sizes[] = {{640, 480}, {160, 120}, {333, 251}, {1280, 720}};
    for (UINT id : kFrameIds) {
        Pixels natural = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        ASSERT_EQ(320, natural.width);
        for (const SIZE& size : sizes) {
            SCOPED_TRACE(testing::Message() << "frame " << id << " at " << size.cx << "x" << size.cy);
            Pixels scaled = takePixels(ImageFactory::CreateBitmap(id, size.cx, size.cy));
            ASSERT_EQ(size.cx, scaled.width);
            ASSERT_EQ(size.cy, scaled.height);
            size_t wrongKey = 0, fringe = 0;
            for (int y = 0; y < scaled.height; ++y) {
                int sy = std::min(natural.height - 1, (2 * y + 1) * natural.height / (2 * scaled.height));
                for (int x = 0; x < scaled.width; ++x) {
                    int sx = std::min(natural.width - 1, (2 * x + 1) * natural.width / (2 * scaled.width));
                    DWORD v = scaled.at(x, y);
                    bool sourceKey = natural.at(sx, sy) == kKey;
                    // Exactly on a pixel border the nearest source pixel may be either neighbour.
                    bool borderline = (2 * x + 1) * natural.width % (2 * scaled.width) == 0 ||
                                      (2 * y + 1) * natural.height % (2 * scaled.height) == 0;
                    if ((v == kKey) != sourceKey && !borderline)
                        ++wrongKey;
                    if (v != kKey && distance(v, kKey) < 90)
                        ++fringe;
                }
            }
            EXPECT_EQ(0u, wrongKey) << "the opening did not scale with the frame";
            EXPECT_EQ(0u, fringe) << "pixels blended with the key";
            expectSamePicture(natural, scaled);
        }
    }
}

TEST(ImageFactoryTest, ScaledStillsAreTheSamePicture)
{
    for (UINT id : kStillIds) {
        Pixels natural = takePixels(ImageFactory::CreateBitmap(id, 0, 0));
        for (const SIZE& size : {SIZE{640, 480}, SIZE{176, 144}, SIZE{1920, 1080}}) {
            SCOPED_TRACE(testing::Message() << "still " << id << " at " << size.cx << "x" << size.cy);
            Pixels scaled = takePixels(ImageFactory::CreateBitmap(id, size.cx, size.cy));
            ASSERT_EQ(size.cx, scaled.width);
            ASSERT_EQ(size.cy, scaled.height);
            expectSamePicture(natural, scaled);
            // Corners stay where they were: the top-left of the picture is still top-left.
            EXPECT_LT(distance(natural.at(1, 1), scaled.at(1, 1)), 40);
            EXPECT_LT(distance(natural.at(natural.width - 2, natural.height - 2),
                               scaled.at(scaled.width - 2, scaled.height - 2)), 40);
        }
    }
}

} // namespace
