// The effect object of KivoLib.dll through its exported factory, with real GDI bitmaps.
#include "BitmapPixels.h"
#include "KivoLib.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

struct Frame {
    KIVO_FRAME_BUFFER descriptor{};
    std::vector<BYTE> bytes;
};

Frame makeFrame(DWORD compression, WORD bitCount, LONG width, LONG height, BYTE fill)
{
    Frame frame;
    const DWORD rows = DWORD(height < 0 ? -height : height);
    const DWORD stride = compression == BI_RGB ? DWORD(kivo::dibStride(width, bitCount))
                                               : DWORD(width * 2);
    frame.bytes.assign(size_t(stride) * rows, fill);
    frame.descriptor.pData = frame.bytes.data();
    frame.descriptor.cbData = DWORD(frame.bytes.size());
    frame.descriptor.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    frame.descriptor.bmiHeader.biWidth = width;
    frame.descriptor.bmiHeader.biHeight = height;
    frame.descriptor.bmiHeader.biPlanes = 1;
    frame.descriptor.bmiHeader.biBitCount = bitCount;
    frame.descriptor.bmiHeader.biCompression = compression;
    return frame;
}

const DWORD kYuy2 = kivo::kCompressionYuy2;

// A top-down 32-bit DIB section filled by the caller; deleted with its owner.
class TestBitmap {
public:
    TestBitmap(int width, int height, COLORREF fill) : m_width(width)
    {
        BITMAPINFO info = kivotest::topDownInfo(width, height);
        m_hBitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                set(x, y, fill);
    }
    ~TestBitmap() { destroy(); }
    TestBitmap(const TestBitmap&) = delete;
    TestBitmap& operator=(const TestBitmap&) = delete;

    void set(int x, int y, COLORREF colour)
    {
        auto* pixel = static_cast<BYTE*>(m_bits) + (size_t(y) * size_t(m_width) + size_t(x)) * 4;
        pixel[0] = GetBValue(colour);
        pixel[1] = GetGValue(colour);
        pixel[2] = GetRValue(colour);
        pixel[3] = 0;
    }
    void destroy()
    {
        if (m_hBitmap)
            DeleteObject(m_hBitmap);
        m_hBitmap = nullptr;
    }
    HBITMAP handle() const { return m_hBitmap; }

private:
    HBITMAP m_hBitmap = nullptr;
    void* m_bits = nullptr;
    int m_width;
};

class KivoLibEffects : public testing::Test {
protected:
    void SetUp() override
    {
        m_lib = CreateKivoLib();
        ASSERT_NE(m_lib, nullptr);
    }
    void TearDown() override
    {
        if (m_lib)
            m_lib->Release();
    }
    IKivoLib* m_lib = nullptr;
};

TEST_F(KivoLibEffects, ZoomTakesTheCentreToTheWholeFrame)
{
    Frame frame = makeFrame(BI_RGB, 32, 32, -32, 0);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const bool centre = x >= 8 && x < 24 && y >= 8 && y < 24;
            frame.bytes[size_t(y * 32 + x) * 4 + (centre ? 1 : 2)] = 200;   // green inside, red out
        }
    ASSERT_NE(m_lib->ApplyFrameEffect(&frame.descriptor, nullptr, nullptr, kivo::kEffectZoom2), 0);
    for (size_t pixel : {size_t(0), size_t(31), size_t(16 * 32 + 16), size_t(32 * 32 - 1)}) {
        const BYTE* bgrx = frame.bytes.data() + pixel * 4;
        EXPECT_GT(bgrx[1], bgrx[2]) << "pixel " << pixel;
    }
}

TEST_F(KivoLibEffects, OverlayShowsTheBitmapExceptItsColourKey)
{
    TestBitmap bitmap(4, 4, KIVO_FRAME_COLOR_KEY);
    for (int x = 0; x < 4; ++x)
        bitmap.set(x, 0, RGB(255, 255, 255));   // the top row shows
    Frame frame = makeFrame(BI_RGB, 24, 8, 8, 0x40);   // bottom-up: the top row is stored last
    ASSERT_NE(m_lib->ApplyFrameEffect(&frame.descriptor, nullptr, bitmap.handle(), 0x00F), 0);
    for (size_t row = 0; row < 8; ++row)
        for (size_t byte = 0; byte < 24; ++byte)
            ASSERT_EQ(frame.bytes[row * 24 + byte], row >= 6 ? 255 : 0x40)
                << "row " << row << " byte " << byte;
}

TEST_F(KivoLibEffects, RendersABitmapInTheFramesFormat)
{
    TestBitmap bitmap(3, 5, RGB(255, 255, 255));
    Frame frame = makeFrame(kYuy2, 16, 8, 8, 0);
    std::vector<BYTE> target(frame.bytes.size(), 0x11);
    ASSERT_NE(m_lib->RenderBitmap(target.data(), &frame.descriptor, nullptr, bitmap.handle()), 0);
    for (size_t i = 0; i < target.size(); i += 4) {
        EXPECT_EQ(target[i], 235);        // white: full video-range luma
        EXPECT_EQ(target[i + 1], 128);    // and no colour
        EXPECT_EQ(target[i + 2], 235);
        EXPECT_EQ(target[i + 3], 128);
    }
}

// A bitmap that gets the handle value of a deleted one, or one drawn anew where it lies, is not
// mistaken for the picture prepared before.
TEST_F(KivoLibEffects, NoticesANewPictureBehindAReusedHandle)
{
    Frame frame = makeFrame(BI_RGB, 32, 4, 4, 0);
    auto first = std::make_unique<TestBitmap>(2, 2, RGB(255, 0, 0));
    ASSERT_NE(m_lib->ApplyFrameEffect(&frame.descriptor, nullptr, first->handle(), 0x00F), 0);
    EXPECT_EQ(frame.bytes[2], 255);
    first->destroy();
    TestBitmap second(3, 2, RGB(0, 0, 255));   // a row of 12 bytes: a whole word and a rest
    ASSERT_NE(m_lib->ApplyFrameEffect(&frame.descriptor, nullptr, second.handle(), 0x00F), 0);
    EXPECT_EQ(frame.bytes[0], 255);
    EXPECT_EQ(frame.bytes[2], 0);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            second.set(x, y, RGB(0, 255, 0));
    GdiFlush();
    ASSERT_NE(m_lib->ApplyFrameEffect(&frame.descriptor, nullptr, second.handle(), 0x00F), 0);
    EXPECT_EQ(frame.bytes[0], 0);
    EXPECT_EQ(frame.bytes[1], 255);
}

// A device-dependent bitmap keeps no bits in this process: it is read through a memory DC.
TEST_F(KivoLibEffects, OverlaysADeviceDependentBitmap)
{
    const DWORD red[4] = {0x00FF0000, 0x00FF0000, 0x00FF0000, 0x00FF0000};
    HBITMAP ddb = CreateBitmap(2, 2, 1, 32, red);
    ASSERT_NE(ddb, nullptr);
    Frame frame = makeFrame(BI_RGB, 32, 4, 4, 0);
    EXPECT_NE(m_lib->ApplyFrameEffect(&frame.descriptor, nullptr, ddb, 0x00F), 0);
    EXPECT_EQ(frame.bytes[2], 255);
    DeleteObject(ddb);
}

TEST_F(KivoLibEffects, AcceptsThePanelsModeBitsWithTheEffects)
{
    Frame frame = makeFrame(BI_RGB, 32, 8, 6, 9);
    EXPECT_NE(m_lib->ApplyFrameEffect(&frame.descriptor, nullptr, nullptr, 0x100 | kivo::kEffectZoom1), 0);
}

TEST_F(KivoLibEffects, RefusesBadRequestsAndLeavesTheFrameAlone)
{
    TestBitmap bitmap(2, 2, RGB(1, 2, 3));
    TestBitmap deleted(2, 2, RGB(1, 2, 3));
    const HBITMAP deletedHandle = deleted.handle();
    deleted.destroy();

    Frame frame = makeFrame(BI_RGB, 24, 10, 6, 0x5A);
    const std::vector<BYTE> before = frame.bytes;
    auto refuses = [&](KIVO_FRAME_BUFFER descriptor, HBITMAP hBitmap, DWORD flags) {
        EXPECT_EQ(m_lib->ApplyFrameEffect(&descriptor, nullptr, hBitmap, flags), 0) << flags;
        EXPECT_EQ(frame.bytes, before);
    };
    KIVO_FRAME_BUFFER shortBuffer = frame.descriptor;
    shortBuffer.cbData -= 1;
    refuses(shortBuffer, bitmap.handle(), kivo::kEffectZoom1);
    KIVO_FRAME_BUFFER oddYuy2 = frame.descriptor;
    oddYuy2.bmiHeader.biCompression = kYuy2;
    oddYuy2.bmiHeader.biBitCount = 16;
    oddYuy2.bmiHeader.biWidth = 15;
    oddYuy2.cbData = 15 * 2 * 6;
    refuses(oddYuy2, nullptr, kivo::kEffectZoom2);
    KIVO_FRAME_BUFFER noPixels = frame.descriptor;
    noPixels.pData = nullptr;
    EXPECT_EQ(m_lib->ApplyFrameEffect(&noPixels, nullptr, nullptr, kivo::kEffectZoom1), 0);
    refuses(frame.descriptor, nullptr, 0x00F);
    refuses(frame.descriptor, deletedHandle, 0x00F);
    refuses(frame.descriptor, bitmap.handle(), 0x040);
    refuses(frame.descriptor, bitmap.handle(), kivo::kEffectZoom1 | kivo::kEffectZoom2);
    EXPECT_EQ(m_lib->ApplyFrameEffect(nullptr, nullptr, bitmap.handle(), 0x00F), 0);

    std::vector<BYTE> target(frame.bytes.size(), 0x77);
    EXPECT_EQ(m_lib->RenderBitmap(target.data(), &shortBuffer, nullptr, bitmap.handle()), 0);
    EXPECT_EQ(m_lib->RenderBitmap(target.data(), &frame.descriptor, nullptr, deletedHandle), 0);
    EXPECT_EQ(target, std::vector<BYTE>(frame.bytes.size(), 0x77));
}

}  // namespace
