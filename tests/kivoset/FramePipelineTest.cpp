// The panel's frame pipeline in-process, with the product library's real effects: the frames are
// records of the test, as the image access task would hand them over.
#include "BitmapPixels.h"
#include "FramePipeline.h"
#include "PixelColour.h"
#include "SnapshotBitmap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <iterator>
#include <memory>
#include <vector>

namespace {

using kivo::PixelFormat;

const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kMagenta = RGB(255, 0, 255);   // where a frame picture lets the camera show through
const LONG kBorder = 16;

// A frame record with pixels of its own; RGB pixels are read and written by picture position.
struct TestFrame {
    KIVO_FRAME_BUFFER record{};
    std::vector<BYTE> pixels;
    kivo::FrameLayout layout{};

    TestFrame(PixelFormat format, LONG width, LONG height, COLORREF fill = kGrey)
    {
        const kivo::FrameHeader header = kivo::frameHeaderFor(format, width, height);
        pixels.assign(size_t(header.byteSize), 0);
        record.pData = pixels.data();
        record.cbData = DWORD(header.byteSize);
        record.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        record.bmiHeader.biWidth = width;
        record.bmiHeader.biHeight = height;
        record.bmiHeader.biPlanes = 1;
        record.bmiHeader.biBitCount = header.bitCount;
        record.bmiHeader.biCompression = header.compression;
        layout = frameLayoutOf(record).value_or(kivo::FrameLayout{});
        if (format != PixelFormat::Yuy2)
            paint([fill](LONG, LONG) { return fill; });
    }

    BYTE* pixel(LONG x, LONG y)
    {
        const size_t row = layout.bottomUp ? size_t(layout.height - 1 - y) : size_t(y);
        return pixels.data() + row * layout.stride + size_t(x) * (layout.rowBytes / size_t(layout.width));
    }
    template <class Colour>
    void paint(Colour colourAt)
    {
        for (LONG y = 0; y < layout.height; ++y)
            for (LONG x = 0; x < layout.width; ++x) {
                const COLORREF c = colourAt(x, y);
                BYTE* p = pixel(x, y);
                p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
            }
    }
    COLORREF at(LONG x, LONG y)
    {
        const BYTE* p = pixel(x, y);
        return RGB(p[2], p[1], p[0]);
    }
};

// A 24-bit picture, drawn by the test and deleted with its owner.
class TestBitmap {
public:
    template <class Colour>
    TestBitmap(LONG width, LONG height, Colour colourAt)
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        m_handle = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (!m_handle)
            return;
        const size_t stride = size_t(kivo::dibStride(width, 24));
        for (LONG y = 0; y < height; ++y)
            for (LONG x = 0; x < width; ++x) {
                BYTE* p = static_cast<BYTE*>(bits) + size_t(y) * stride + size_t(x) * 3;
                const COLORREF c = colourAt(x, y);
                p[0] = GetBValue(c), p[1] = GetGValue(c), p[2] = GetRValue(c);
            }
    }
    ~TestBitmap()
    {
        if (m_handle)
            DeleteObject(m_handle);
    }
    TestBitmap(const TestBitmap&) = delete;
    TestBitmap& operator=(const TestBitmap&) = delete;
    HBITMAP handle() const { return m_handle; }

private:
    HBITMAP m_handle = nullptr;
};

struct ReleaseLibrary {
    void operator()(IKivoLib* library) const { library->Release(); }
};

COLORREF greyOf(int level)
{
    return RGB(level, level, level);
}

// The pipeline's picture of the camera as the frame chooser gets it: a bitmap, read back by
// picture position; CLR_INVALID when there is none.
COLORREF cameraPictureAt(const FramePipeline& pipeline, LONG x, LONG y)
{
    const std::optional<FrameSnapshot> picture = pipeline.cameraPicture();
    HBITMAP bitmap = picture ? bitmapOfSnapshot(*picture) : nullptr;
    LONG width = 0, height = 0;
    const std::vector<DWORD> pixels = kivotest::bitmapPixels(bitmap, width, height);
    if (bitmap)
        DeleteObject(bitmap);
    if (pixels.empty() || x >= width || y >= height)
        return CLR_INVALID;
    const DWORD pixel = pixels[size_t(y) * size_t(width) + size_t(x)];
    return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
}

class FramePipelineTest : public ::testing::Test {
protected:
    FramePipelineTest()
        : m_library(CreateKivoLib()),
          m_borderFrame(320, 240, [](LONG x, LONG y) {
              const bool border = x < kBorder || y < kBorder || x >= 320 - kBorder || y >= 240 - kBorder;
              return border ? kGreen : kMagenta;
          }),
          m_blue(320, 240, [](LONG, LONG) { return kBlue; }),
          m_green(320, 240, [](LONG, LONG) { return kGreen; })
    {
        m_inputs.library = m_library.get();
        m_inputs.frameBitmap = m_borderFrame.handle();
        m_inputs.still1 = m_blue.handle();
        m_inputs.still2 = m_green.handle();
    }

    void SetUp() override
    {
        ASSERT_NE(nullptr, m_library);
        ASSERT_NE(nullptr, m_borderFrame.handle());
    }

    // The picture's centre after a 320x240 RGB24 frame of that grey went through the pipeline.
    COLORREF centreAfter(int level, bool* border = nullptr)
    {
        TestFrame frame(PixelFormat::Rgb24, 320, 240, greyOf(level));
        m_pipeline.process(frame.record, m_inputs);
        if (border)
            *border = frame.at(2, 2) == kGreen && frame.at(317, 237) == kGreen;
        return frame.at(160, 120);
    }

    std::unique_ptr<IKivoLib, ReleaseLibrary> m_library;
    TestBitmap m_borderFrame;
    TestBitmap m_blue;
    TestBitmap m_green;
    FrameEffectInputs m_inputs;
    FramePipeline m_pipeline;
};

// Any change of size or format (the height's sign too) renews the buffers, so the still picture
// comes in the new format at once; frames above 320x240 pass untouched; odd sizes keep their padding.
TEST_F(FramePipelineTest, EachSizeOrFormatChangeRenewsTheStillPictureAndLargeFramesPassUntouched)
{
    m_inputs.flags = kivo::kEffectModeStill1;
    const struct {
        PixelFormat format;
        LONG width, height;
        bool effects;
    } steps[] = {{PixelFormat::Rgb24, 320, 240, true}, {PixelFormat::Rgb32, 320, 240, true},
                 {PixelFormat::Rgb32, 320, -240, true}, {PixelFormat::Rgb24, 321, 240, false},
                 {PixelFormat::Rgb24, 161, 121, true}, {PixelFormat::Rgb24, 320, 241, false},
                 {PixelFormat::Yuy2, 162, 120, true}};
    LONG width = 0, height = 0;
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << step.width << "x" << step.height << " " << int(step.format));
        // Two frames of the size: the second is the repeated one.
        for (int i = 0; i < 2; ++i) {
            TestFrame frame(step.format, step.width, step.height);
            const std::vector<BYTE> before = frame.pixels;
            const FrameOutcome outcome = m_pipeline.process(frame.record, m_inputs);
            EXPECT_FALSE(outcome.refused);
            EXPECT_EQ(i == 0, outcome.formatChanged);
            if (i == 0) {
                EXPECT_EQ(width, outcome.previousWidth);
                EXPECT_EQ(height, outcome.previousHeight);
            }
            EXPECT_EQ(step.effects, m_pipeline.effectsAllowed());
            if (!step.effects) {
                EXPECT_EQ(before, frame.pixels);
                EXPECT_FALSE(m_pipeline.lastPicture());
            } else if (step.format == PixelFormat::Yuy2) {
                const BYTE blue[] = {kivo::lumaOf(0, 0, 255), kivo::blueDifferenceOf(0, 0, 255),
                                     kivo::lumaOf(0, 0, 255), kivo::redDifferenceOf(0, 0, 255)};
                EXPECT_EQ(0, memcmp(frame.pixel(160, 119), blue, sizeof(blue)));
            } else {
                EXPECT_EQ(kBlue, frame.at(0, 0));
                EXPECT_EQ(kBlue, frame.at(step.width - 1, 0));
                if (frame.layout.stride > frame.layout.rowBytes) {
                    EXPECT_EQ(0, frame.pixels[frame.layout.rowBytes]) << "row padding";
                }
            }
        }
        width = step.width, height = step.height;
    }
    EXPECT_EQ(162, m_pipeline.width());
    EXPECT_EQ(120, m_pipeline.height());
}

// A record whose size, format and byte size disagree is not touched and changes nothing: the next
// good frame is no format change.
TEST_F(FramePipelineTest, RecordsWhoseSizeFormatAndByteSizeDisagreeAreLeftAlone)
{
    m_inputs.flags = kivo::kEffectModeStill1;
    TestFrame good(PixelFormat::Rgb24, 320, 240);
    ASSERT_TRUE(m_pipeline.process(good.record, m_inputs).formatChanged);

    auto shorter = [](TestFrame& f) { f.record.cbData -= 1; };
    auto longer = [](TestFrame& f) {
        f.pixels.push_back(0), f.record.pData = f.pixels.data(), ++f.record.cbData;
    };
    auto sixteenBits = [](TestFrame& f) { f.record.bmiHeader.biBitCount = 16; };
    auto oddYuy2 = [](TestFrame& f) {
        f.record.bmiHeader.biCompression = kivo::kCompressionYuy2, f.record.bmiHeader.biBitCount = 16;
        f.record.bmiHeader.biWidth = 161, f.record.cbData = 161 * 2 * 240;
    };
    auto tooWide = [](TestFrame& f) {   // exact for its size, but over 8192 a side
        f.record.bmiHeader.biWidth = 8193, f.record.bmiHeader.biHeight = 1;
        f.pixels.resize(size_t(kivo::dibStride(8193, 24)));
        f.record.pData = f.pixels.data(), f.record.cbData = DWORD(f.pixels.size());
    };
    auto noRows = [](TestFrame& f) { f.record.bmiHeader.biHeight = 0; };
    const std::function<void(TestFrame&)> damages[] = {shorter, longer, sixteenBits, oddYuy2, tooWide, noRows};
    for (size_t i = 0; i < std::size(damages); ++i) {
        SCOPED_TRACE(i);
        TestFrame frame(PixelFormat::Rgb24, 320, 240);
        damages[i](frame);
        const std::vector<BYTE> before = frame.pixels;
        EXPECT_TRUE(m_pipeline.process(frame.record, m_inputs).refused);
        EXPECT_EQ(before, frame.pixels);
    }
    TestFrame noPixels(PixelFormat::Rgb24, 320, 240);
    noPixels.record.pData = nullptr;
    EXPECT_FALSE(m_pipeline.process(noPixels.record, m_inputs).refused);

    TestFrame next(PixelFormat::Rgb24, 320, 240);
    EXPECT_FALSE(m_pipeline.process(next.record, m_inputs).formatChanged);
    EXPECT_EQ(320, m_pipeline.width());
}

// With the frame laid over, frames 1, 3, 5... repeat the output before; flags of 0 pass the frame
// and start the count again. The last picture is the last output.
TEST_F(FramePipelineTest, EverySecondFrameRepeatsTheLastOutputWhileAnyEffectIsOn)
{
    m_inputs.flags = kivo::kEffectFrameMask;
    bool border = false;
    EXPECT_EQ(greyOf(10), centreAfter(10, &border));
    EXPECT_TRUE(border);
    EXPECT_EQ(greyOf(10), centreAfter(20, &border));
    EXPECT_TRUE(border);
    EXPECT_EQ(greyOf(30), centreAfter(30));

    // Three frames counted: without a new count, the next one would be a repeat.
    m_inputs.flags = 0;
    EXPECT_EQ(greyOf(50), centreAfter(50, &border));
    EXPECT_FALSE(border);
    m_inputs.flags = kivo::kEffectFrameMask;
    EXPECT_EQ(greyOf(60), centreAfter(60, &border)) << "the count starts again";
    EXPECT_TRUE(border);

    const std::optional<FrameSnapshot> last = m_pipeline.lastPicture();
    ASSERT_TRUE(last);
    TestFrame shown(PixelFormat::Rgb24, 320, 240);
    shown.pixels = last->pixels;
    EXPECT_EQ(shown.layout, last->layout);
    EXPECT_EQ(greyOf(60), shown.at(160, 120));
    EXPECT_EQ(kGreen, shown.at(2, 2));
}

// The frame chooser's picture is a frame as it came in, without the overlay going out with it: the
// first of a format, then one every kCameraPictureEvery frames, not each one, taken from a repeated
// frame rather than a processed one; with every effect off too. Bottom-up RGB32 and YUY2 frames come
// out upright in their colours.
TEST_F(FramePipelineTest, TheCameraPictureIsAnIncomingFrameBeforeEffectsRenewedEveryFewFrames)
{
    EXPECT_EQ(CLR_INVALID, cameraPictureAt(m_pipeline, 0, 0));
    m_inputs.flags = kivo::kEffectFrameMask;
    bool border = false;
    centreAfter(10, &border);
    ASSERT_TRUE(border) << "the frame went out with its overlay";
    EXPECT_EQ(greyOf(10), cameraPictureAt(m_pipeline, 2, 2));
    for (DWORD i = 1; i < FramePipeline::kCameraPictureEvery; ++i)
        centreAfter(20);
    EXPECT_EQ(greyOf(10), cameraPictureAt(m_pipeline, 2, 2)) << "not copied at every frame";
    centreAfter(25);
    EXPECT_EQ(greyOf(10), cameraPictureAt(m_pipeline, 2, 2)) << "a processed frame carried the copy";
    EXPECT_EQ(greyOf(25), centreAfter(30)) << "not a repeat";
    EXPECT_EQ(greyOf(30), cameraPictureAt(m_pipeline, 2, 2)) << "not the repeat's incoming picture";
    m_inputs.flags = 0;
    for (DWORD i = 1; i < FramePipeline::kCameraPictureEvery; ++i)
        centreAfter(40);
    EXPECT_EQ(greyOf(30), cameraPictureAt(m_pipeline, 2, 2));
    centreAfter(50);
    EXPECT_EQ(greyOf(50), cameraPictureAt(m_pipeline, 2, 2));

    FramePipeline rgb32;
    TestFrame upright(PixelFormat::Rgb32, 320, 240);
    upright.paint([](LONG, LONG y) { return y < 120 ? kBlue : kGrey; });
    rgb32.process(upright.record, m_inputs);
    EXPECT_EQ(kBlue, cameraPictureAt(rgb32, 5, 0));
    EXPECT_EQ(kGrey, cameraPictureAt(rgb32, 5, 239));

    FramePipeline yuy2;
    TestFrame green(PixelFormat::Yuy2, 320, 240);
    const BYTE pair[] = {kivo::lumaOf(0, 255, 0), kivo::blueDifferenceOf(0, 255, 0), kivo::lumaOf(0, 255, 0),
                         kivo::redDifferenceOf(0, 255, 0)};
    for (size_t i = 0; i < green.pixels.size(); i += sizeof(pair))
        memcpy(&green.pixels[i], pair, sizeof(pair));
    yuy2.process(green.record, m_inputs);
    const COLORREF shown = cameraPictureAt(yuy2, 160, 120);
    EXPECT_GE(3, abs(GetRValue(shown) - 0) + abs(GetGValue(shown) - 255) + abs(GetBValue(shown) - 0))
        << std::hex << shown;
}

// The zoom steps reach the library: a band of 80 columns at the left edge is out of the picture at
// 2x, and narrowed to about 40 columns at 1.5x.
TEST_F(FramePipelineTest, ZoomStepsMagnifyTheCentre)
{
    auto zoomed = [this](DWORD flags, LONG x) {
        FramePipeline pipeline;
        m_inputs.flags = flags;
        TestFrame frame(PixelFormat::Rgb24, 320, 240);
        frame.paint([](LONG column, LONG) { return column < 80 ? kGreen : kGrey; });
        pipeline.process(frame.record, m_inputs);
        return frame.at(x, 120);
    };
    EXPECT_EQ(kGreen, zoomed(0, 60));
    EXPECT_EQ(kGreen, zoomed(kivo::kEffectZoom1, 10));
    EXPECT_EQ(kGrey, zoomed(kivo::kEffectZoom1, 60));
    EXPECT_EQ(kGrey, zoomed(kivo::kEffectZoom2, 10));
}

// The frozen picture is the first frame after the freeze began, with its overlay; leaving the mode
// lets it go, and the next freeze takes a new one.
TEST_F(FramePipelineTest, FreezeKeepsTheFirstFrameAfterItBeganUntilTheModeIsLeft)
{
    m_inputs.flags = kivo::kEffectModeFreeze | kivo::kEffectFrameMask;
    bool border = false;
    EXPECT_EQ(greyOf(10), centreAfter(10, &border));
    EXPECT_TRUE(border);
    EXPECT_EQ(greyOf(10), centreAfter(20));
    EXPECT_EQ(greyOf(10), centreAfter(30));

    m_inputs.flags = kivo::kEffectFrameMask;
    EXPECT_EQ(greyOf(10), centreAfter(40));   // a repeated frame
    EXPECT_EQ(greyOf(50), centreAfter(50));

    m_inputs.flags = kivo::kEffectModeFreeze | kivo::kEffectFrameMask;
    EXPECT_EQ(greyOf(50), centreAfter(60));
    EXPECT_EQ(greyOf(70), centreAfter(70));
    EXPECT_EQ(greyOf(70), centreAfter(90));

    // Every effect off, then the freeze again: the repeated frames show the new frozen frame.
    m_inputs.flags = 0;
    EXPECT_EQ(greyOf(100), centreAfter(100));
    m_inputs.flags = kivo::kEffectModeFreeze;
    EXPECT_EQ(greyOf(110), centreAfter(110));
    EXPECT_EQ(greyOf(110), centreAfter(120));
}

// The second still picture; a still picture that could not be drawn leaves the frame as it is; an
// effect the library refuses is reported and leaves the frame too.
TEST_F(FramePipelineTest, StillPicturesMissingPicturesAndRefusedEffects)
{
    m_inputs.flags = kivo::kEffectModeStill2;
    EXPECT_EQ(kGreen, centreAfter(10));

    FramePipeline withoutStill;
    m_inputs.still2 = nullptr;
    TestFrame frame(PixelFormat::Rgb24, 320, 240);
    EXPECT_FALSE(withoutStill.process(frame.record, m_inputs).effectFailed);
    EXPECT_EQ(kGrey, frame.at(160, 120));

    FramePipeline refused;
    m_inputs.flags = kivo::kEffectZoom1 | kivo::kEffectZoom2;
    TestFrame zoomed(PixelFormat::Rgb24, 320, 240);
    EXPECT_TRUE(refused.process(zoomed.record, m_inputs).effectFailed);
    EXPECT_EQ(kGrey, zoomed.at(160, 120));
}

} // namespace
