// The frame pipeline as the capturing application sees it: the installation's own frame and still
// pictures (data\ beside the program, whatever the working directory), the panel's controls reaching
// the frames (zoom, freeze, still pictures, reset), and the size limit of the effects. What the
// pipeline does with each frame is FramePipelineTest's, in-process.
#include "PanelRig.h"

#include "KivoNames.h"
#include "resource.h"

#include <gtest/gtest.h>

using namespace kivoset;

namespace {

const COLORREF kMagenta = RGB(255, 0, 255);   // where a frame picture lets the camera show through
const COLORREF kBorder = RGB(0, 255, 0);
const COLORREF kStill = RGB(0, 0, 255);
const LONG kBorderWidth = 16;

COLORREF borderFrame(LONG x, LONG y)
{
    bool border = x < kBorderWidth || y < kBorderWidth || x >= 320 - kBorderWidth || y >= 240 - kBorderWidth;
    return border ? kBorder : kMagenta;
}

COLORREF stillPicture(LONG, LONG)
{
    return kStill;
}

bool hasBorder(const Picture& p)
{
    return p.at(2, 2) == kBorder && p.at(p.width / 2, 5) == kBorder && p.at(p.width - 3, p.height - 3) == kBorder &&
           p.at(p.width / 2, p.height / 2) != kBorder;
}

bool isStill(const Picture& p)
{
    return p.at(0, 0) == kStill && p.at(p.width / 2, p.height / 2) == kStill && p.at(p.width - 1, p.height - 1) == kStill;
}

bool isPlain(const Picture& p)
{
    return !hasBorder(p) && p.at(p.width / 2, p.height / 2) != kStill;
}

COLORREF grey(LONG, LONG)
{
    return RGB(128, 128, 128);
}

bool isBlack(const Picture& p)
{
    return p.at(0, 0) == 0 && p.at(p.width / 2, p.height / 2) == 0 && p.at(p.width - 1, p.height - 1) == 0;
}

// Keeps the first half of the file, as a copy that was interrupted would.
bool cutInHalf(const std::wstring& path)
{
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size = {};
    bool cut = GetFileSizeEx(hFile, &size);
    size.QuadPart /= 2;
    cut = cut && SetFilePointerEx(hFile, size, nullptr, FILE_BEGIN) && SetEndOfFile(hFile);
    CloseHandle(hFile);
    return cut;
}

void writePictures(PanelRig& rig)
{
    ASSERT_TRUE(writeBmp(rig.file(L"data\\frame01.bmp"), 320, 240, borderFrame));
    ASSERT_TRUE(writeBmp(rig.file(L"data\\stil01.bmp"), 320, 240, stillPicture));
}

} // namespace

TEST(KivoSetPipeline, EffectsChosenOnThePanelReachTheCapturedFrames)
{
    PanelRig rig;
    writePictures(rig);
    writeSetting(KIVO_VALUE_FRAME_IDX, 1);
    ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 15 --duration 90 --filter-wait 1000"));
    ASSERT_TRUE(rig.startKivoSet());
    ASSERT_NE(nullptr, rig.waitForPanel());

    // The stored frame comes back when the first frame allows effects.
    ASSERT_NE(L"", rig.waitForFrame(hasBorder));
    std::vector<Picture> frames = rig.nextFrames(6);
    ASSERT_EQ(6u, frames.size());
    for (const Picture& frame : frames)
        EXPECT_TRUE(hasBorder(frame));
    rig.shot(L"panel-frame");

    rig.chooseEntry(IDC_ZOOM_LIST, 2);
    rig.shot(L"panel-zoom-2x");
    DWORD zoom = 0;
    EXPECT_TRUE(readSetting(KIVO_VALUE_ZOOM_IDX, zoom));
    EXPECT_EQ(2u, zoom);

    rig.chooseEntry(IDC_MODE_LIST, 1);
    EXPECT_FALSE(IsWindowEnabled(rig.control(IDC_ZOOM_LIST)));
    EXPECT_FALSE(IsWindowEnabled(rig.control(IDC_FRAME_BUTTON)));
    rig.nextFrames(2);
    frames = rig.nextFrames(6);
    ASSERT_EQ(6u, frames.size());
    for (const Picture& frame : frames)
        EXPECT_TRUE(frame == frames[0]) << "the frozen picture moved";
    EXPECT_TRUE(hasBorder(frames[0]));
    rig.shot(L"panel-freeze");

    rig.chooseEntry(IDC_MODE_LIST, 2);
    EXPECT_NE(L"", rig.waitForFrame(isStill));
    rig.shot(L"panel-still-picture");

    SendMessageW(rig.control(IDC_EFFECT_RESET), BM_CLICK, 0, 0);
    EXPECT_NE(L"", rig.waitForFrame(isPlain));
    EXPECT_TRUE(IsWindowEnabled(rig.control(IDC_ZOOM_LIST)));
    EXPECT_EQ(0, SendMessageW(rig.control(IDC_MODE_LIST), CB_GETCURSEL, 0, 0));
    DWORD frameIdx = ~0u;
    EXPECT_TRUE(readSetting(KIVO_VALUE_FRAME_IDX, frameIdx));
    EXPECT_TRUE(readSetting(KIVO_VALUE_ZOOM_IDX, zoom));
    EXPECT_EQ(0u, frameIdx);
    EXPECT_EQ(0u, zoom);
}

TEST(KivoSetPipeline, FramesWiderThanTheEffectLimitPassUntouched)
{
    PanelRig rig;
    writePictures(rig);
    writeSetting(KIVO_VALUE_FRAME_IDX, 1);
    ASSERT_TRUE(rig.startCapture(L"--size 321x240 --fps 15 --duration 60"));
    ASSERT_TRUE(rig.startKivoSet());
    ASSERT_NE(nullptr, rig.waitForPanel());
    ASSERT_TRUE(rig.log().waitFor("change Reso (X) 0 -> 321, (Y) 0 -> 240", 10000));
    // The reset button is the last control the panel disables.
    EXPECT_TRUE(kivotest::waitFor([&] { return !IsWindowEnabled(rig.control(IDC_EFFECT_RESET)); }, 5000));
    EXPECT_FALSE(IsWindowEnabled(rig.control(IDC_FRAME_BUTTON)));
    EXPECT_FALSE(IsWindowEnabled(rig.control(IDC_MODE_LIST)));
    std::vector<Picture> frames = rig.nextFrames(8);
    ASSERT_EQ(8u, frames.size());
    for (const Picture& frame : frames)
        EXPECT_FALSE(hasBorder(frame));
    rig.shot(L"panel-effects-off");
}

// The capturing application moves from 24 to 32 bits a pixel at the same size while a still picture
// is shown. The change counts as a size change: the mode goes back to the live picture with the
// list, which then says what is sent, and the stored frame comes back.
TEST(KivoSetPipeline, AFormatChangeAtTheSameSizeResetsTheModeWithItsListAndKeepsTheFrame)
{
    PanelRig rig;
    writePictures(rig);
    writeSetting(KIVO_VALUE_FRAME_IDX, 1);
    ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 15 --duration 90 --filter-wait 1000 "
                                 L"--switch-to rgb32 --switch-after 120"));
    ASSERT_TRUE(rig.startKivoSet());
    ASSERT_NE(nullptr, rig.waitForPanel());
    ASSERT_NE(L"", rig.waitForFrame(hasBorder));
    rig.chooseEntry(IDC_MODE_LIST, 2);
    ASSERT_NE(L"", rig.waitForFrame(isStill));
    ASSERT_FALSE(rig.log().has("change Reso (X) 320 -> 320, (Y) 240 -> 240")) << "the switch came too early";

    ASSERT_TRUE(rig.log().waitFor("change Reso (X) 320 -> 320, (Y) 240 -> 240", 20000));
    EXPECT_TRUE(kivotest::waitFor(
        [&] { return SendMessageW(rig.control(IDC_MODE_LIST), CB_GETCURSEL, 0, 0) == 0; }, 5000));
    rig.nextFrames(2);
    std::vector<Picture> frames = rig.nextFrames(6);
    ASSERT_EQ(6u, frames.size());
    for (size_t i = 0; i < frames.size(); ++i)
        EXPECT_TRUE(hasBorder(frames[i])) << "frame " << i;
    EXPECT_TRUE(rig.kivoSet().running());
}

// Pictures of the data folder wider than the effect library takes, and one cut short: each gives way
// to the library's own picture, so both still pictures are shown and no failure box comes; the
// camera closing ends the panel cleanly.
TEST(KivoSetPipeline, PicturesTheLibraryCannotUseGiveWayToItsOwn)
{
    PanelRig rig;
    ASSERT_TRUE(writeBmp(rig.file(L"data\\frame01.bmp"), 4097, 2, grey));
    ASSERT_TRUE(writeBmp(rig.file(L"data\\stil01.bmp"), 4097, 2, grey));
    ASSERT_TRUE(writeBmp(rig.file(L"data\\stil02.bmp"), 320, 240, grey));
    ASSERT_TRUE(cutInHalf(rig.file(L"data\\stil02.bmp")));
    writeSetting(KIVO_VALUE_FRAME_IDX, 1);
    // The application waits up to five seconds for each frame it hands the panel.
    ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 15 --duration 90 --filter-wait 5000"));
    ASSERT_TRUE(rig.startKivoSet());
    HWND panel = rig.waitForPanel();
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(4u, rig.nextFrames(4, 3000).size());
    EXPECT_EQ(nullptr, rig.waitForBox(2000)) << "the library's frame could not be laid over the picture";

    Picture stills[2];
    for (int mode : {2, 3}) {
        SCOPED_TRACE(mode);
        rig.chooseEntry(IDC_MODE_LIST, mode);
        rig.nextFrames(2);
        std::vector<Picture> frames = rig.nextFrames(4);
        ASSERT_EQ(4u, frames.size());
        for (const Picture& frame : frames)
            EXPECT_TRUE(frame == frames[0]) << "the camera's picture went through";
        EXPECT_FALSE(isBlack(frames[0])) << "an empty still picture was sent";
        EXPECT_NE(RGB(128, 128, 128), frames[0].at(frames[0].width / 2, frames[0].height / 2)) << "the file was used";
        stills[mode - 2] = frames[0];
    }
    EXPECT_FALSE(stills[0] == stills[1]) << "the library's two still pictures are different";

    PostMessageW(panel, WM_TASK_DEVICE_CLOSE, 0, 0);
    EXPECT_TRUE(kivotest::waitFor([&] { return !rig.kivoSet().running(); }, 10000));
    EXPECT_EQ(0u, rig.kivoSet().exitCode());
    EXPECT_TRUE(rig.serveHeard(L"close"));
    EXPECT_TRUE(rig.log().has("CKivoSetApp::ExitInstance()"));
    EXPECT_EQ(1u, rig.serveCount(L"open"));
}
