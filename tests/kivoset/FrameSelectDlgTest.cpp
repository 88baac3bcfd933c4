// The frame chooser as a real window owned by a window of the test: stepping by clicks and keys,
// the page label, Apply while it is open, Enter on an arrow, the preview composed over a picture, a
// user's frame file, the list's edge cases, and what a screen reader reads of it.
#include "DataFolder.h"
#include "DialogTestSupport.h"
#include "FrameList.h"
#include "FrameSelectDlg.h"

#include "AccessibleControls.h"
#include "BitmapPixels.h"
#include "BmpFile.h"
#include "DialogDriver.h"
#include "Wait.h"
#include "WindowSearch.h"

#include <gtest/gtest.h>

#include <oleacc.h>

#include <climits>
#include <vector>

using namespace dialogtest;

namespace {

const wchar_t kCaption[] = L"Kivo Camera";
const DWORD kTimeoutMs = 10000;
const int kNext = 5, kPrev = 4, kApply = 3, kPage = 1013, kPreview = 1012, kMessage = 1001, kPreviewBorder = 1014;

std::wstring pageLabel(HWND dialog)
{
    return controlText(dialog, kPage);
}

void click(HWND dialog, int id)
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The colour of the preview's picture at (x, y), or at its middle.
COLORREF previewPixel(HWND dialog, int x = -1, int y = -1)
{
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendDlgItemMessageW(dialog, kPreview, STM_GETIMAGE, IMAGE_BITMAP, 0));
    LONG width = 0, height = 0;
    std::vector<DWORD> pixels = kivotest::bitmapPixels(bitmap, width, height);
    if (pixels.empty())
        return CLR_INVALID;
    if (x < 0 || y < 0)
        x = width / 2, y = height / 2;
    DWORD p = pixels[size_t(y) * width + x];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

COLORREF previewCentre(HWND dialog)
{
    return previewPixel(dialog);
}

// A bitmap of one colour, as the panel's camera picture.
HBITMAP solidBitmap(int width, int height, COLORREF colour)
{
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, height);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    HBRUSH brush = CreateSolidBrush(colour);
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, brush);
    DeleteObject(brush);
    SelectObject(dc, old);
    DeleteDC(dc);
    ReleaseDC(nullptr, screen);
    return bitmap;
}

// Clicks at a screen point with real mouse input, as a user's hand would.
void clickAt(POINT at)
{
    INPUT input[3] = {};
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    input[0].type = INPUT_MOUSE;
    input[0].mi.dx = MulDiv(at.x, 65535, width);
    input[0].mi.dy = MulDiv(at.y, 65535, height);
    input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    input[1].type = INPUT_MOUSE;
    input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    input[2].type = INPUT_MOUSE;
    input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(3, input, sizeof(INPUT));
}

class FrameSelectDlgTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(locale.loaded());
        ASSERT_TRUE(owner.hwnd());
    }

    IsolatedCurrentUser user;
    LocaleResources locale;
    OwnerWindow owner;
};

// Read by a screen reader as well: the arrows by what they do, not by the images they are drawn from.
TEST_F(FrameSelectDlgTest, ArrowsRunThroughTheListWithWrapBothWays)
{
    loadFrameList();
    ASSERT_EQ(6u, frameCount());
    EXPECT_EQ(10005u, frameIdAt(5));
    EXPECT_EQ(0u, frameIdAt(6));
    EXPECT_EQ(0u, frameIdAt(UINT(-1)));
    std::vector<std::wstring> forward, backward;
    bool messageAtZero = false, messageAtOne = true, pictureAtZero = false;
    std::wstring accessibleFaults, previewAtOne;
    long okState = 0;
    bool previewRenamed = false;

    kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
        accessibleFaults = kivotest::describeFaults(dialog,
                                                    {{IDOK, ROLE_SYSTEM_PUSHBUTTON, L"OK"},
                                                     {IDCANCEL, ROLE_SYSTEM_PUSHBUTTON, L"Cancel"},
                                                     {kApply, ROLE_SYSTEM_PUSHBUTTON, L"Apply"},
                                                     {kPrev, ROLE_SYSTEM_PUSHBUTTON, L"Previous frame"},
                                                     {kNext, ROLE_SYSTEM_PUSHBUTTON, L"Next frame"},
                                                     {kPage, ROLE_SYSTEM_STATICTEXT, L"0/5"},
                                                     {kPreview, ROLE_SYSTEM_GRAPHIC, L"No frame"},
                                                     {kMessage, ROLE_SYSTEM_STATICTEXT, L"No frame"}},
                                                    {kPreviewBorder});
        okState = kivotest::accessibleControl(GetDlgItem(dialog, IDOK)).state;
        kivotest::WinEventRecorder nameChanges(EVENT_OBJECT_NAMECHANGE, GetCurrentProcessId());
        forward.push_back(pageLabel(dialog));
        messageAtZero = IsWindowVisible(GetDlgItem(dialog, kMessage)) != FALSE;
        pictureAtZero = previewCentre(dialog) != CLR_INVALID;
        for (int i = 0; i < 6; ++i) {
            click(dialog, kNext);
            forward.push_back(pageLabel(dialog));
            if (i == 0) {
                messageAtOne = IsWindowVisible(GetDlgItem(dialog, kMessage)) != FALSE;
                previewAtOne = kivotest::accessibleControl(GetDlgItem(dialog, kPreview)).name;
                previewRenamed =
                    kivotest::waitFor([&] { return nameChanges.count(GetDlgItem(dialog, kPreview)) > 0; }, 3000);
            }
        }
        for (int i = 0; i < 2; ++i) {
            click(dialog, kPrev);
            backward.push_back(pageLabel(dialog));
        }
        click(dialog, IDCANCEL);
    });
    CFrameSelectDlg dialog(owner.wnd());
    EXPECT_EQ(IDCANCEL, dialog.DoModal());

    ASSERT_TRUE(driver.found());
    EXPECT_EQ((std::vector<std::wstring>{L"0/5", L"1/5", L"2/5", L"3/5", L"4/5", L"5/5", L"0/5"}), forward);
    EXPECT_EQ((std::vector<std::wstring>{L"5/5", L"4/5"}), backward);
    EXPECT_TRUE(messageAtZero);
    EXPECT_TRUE(pictureAtZero);
    EXPECT_FALSE(messageAtOne);
    EXPECT_EQ(4, dialog.m_frameIdx);
    EXPECT_TRUE(owner.appliedFrames().empty());
    EXPECT_EQ(L"", accessibleFaults);
    EXPECT_EQ(L"Frame laid over the picture", previewAtOne);
    EXPECT_TRUE(previewRenamed);
    EXPECT_TRUE(okState & STATE_SYSTEM_DEFAULT);
}

// A user clicking an arrow three times in quick succession (the second click of a pair arrives as a
// double click) sees three steps; Left and Right step the frames from the first focus, OK.
TEST_F(FrameSelectDlgTest, EveryQuickClickAndArrowKeyStepsOneFrame)
{
    loadFrameList();
    int firstFocus = 0, focusAfterKeys = 0;
    std::vector<std::wstring> byKeys;
    std::wstring afterClicks;

    kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
        HWND ok = GetDlgItem(dialog, IDOK);
        firstFocus = focusedControl(dialog);
        for (WPARAM key : {VK_RIGHT, VK_RIGHT, VK_LEFT}) {
            std::wstring before = pageLabel(dialog);
            PostMessageW(ok, WM_KEYDOWN, key, 0);
            kivotest::waitFor([&] { return pageLabel(dialog) != before; }, kTimeoutMs);
            byKeys.push_back(pageLabel(dialog));
        }
        focusAfterKeys = focusedControl(dialog);
        // Above every other window, so that the clicks reach it.
        SetWindowPos(dialog, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        RECT next = {};
        GetWindowRect(GetDlgItem(dialog, kNext), &next);
        POINT centre = {(next.left + next.right) / 2, (next.top + next.bottom) / 2};
        for (int i = 0; i < 3; ++i) {
            if (i)
                Sleep(150);
            clickAt(centre);
        }
        kivotest::waitFor([&] { return pageLabel(dialog) == L"4/5"; }, 2000);
        kivotest::pumpMessagesFor(300);
        afterClicks = pageLabel(dialog);
        click(dialog, IDCANCEL);
    });
    CFrameSelectDlg dialog(owner.wnd());
    dialog.DoModal();

    ASSERT_TRUE(driver.found());
    EXPECT_EQ(IDOK, firstFocus);
    EXPECT_EQ((std::vector<std::wstring>{L"1/5", L"2/5", L"1/5"}), byKeys);
    EXPECT_EQ(IDOK, focusAfterKeys);
    EXPECT_EQ(L"4/5", afterClicks);
}

// The frames' see-through middle shows the camera's picture when the panel hands one over, and a
// sample picture otherwise: never the colour key.
TEST_F(FrameSelectDlgTest, PreviewLaysEachFrameOverTheCameraPictureOrTheSample)
{
    loadFrameList();
    const COLORREF camera = RGB(20, 120, 200), key = RGB(255, 0, 255);
    HBITMAP picture = solidBitmap(320, 240, camera);
    std::vector<COLORREF> centres, corners, sampleCentres;

    auto visitFrames = [&](std::vector<COLORREF>& middle, std::vector<COLORREF>* corner) {
        return [&, corner](HWND dialog) {
            for (int i = 1; i <= 5; ++i) {
                click(dialog, kNext);
                middle.push_back(previewCentre(dialog));
                if (corner)
                    corner->push_back(previewPixel(dialog, 2, 2));
            }
            click(dialog, IDCANCEL);
        };
    };
    {
        kivotest::DialogDriver driver(kCaption, visitFrames(centres, &corners));
        CFrameSelectDlg dialog(owner.wnd());
        dialog.setCameraPicture(picture);
        dialog.DoModal();
        EXPECT_TRUE(driver.found());
    }
    {
        kivotest::DialogDriver driver(kCaption, visitFrames(sampleCentres, nullptr));
        CFrameSelectDlg dialog(owner.wnd());
        dialog.DoModal();
        EXPECT_TRUE(driver.found());
    }
    DeleteObject(picture);

    EXPECT_EQ(std::vector<COLORREF>(5, camera), centres);
    ASSERT_EQ(5u, corners.size());
    for (COLORREF c : corners)
        EXPECT_NE(camera, c) << "the frame's border";
    ASSERT_EQ(5u, sampleCentres.size());
    for (COLORREF c : sampleCentres) {
        EXPECT_NE(key, c);
        EXPECT_NE(CLR_INVALID, c);
        EXPECT_NE(RGB(160, 168, 176), c) << "no sample picture";
    }
}

TEST_F(FrameSelectDlgTest, ApplyReportsToTheOwnerWhileOpenAndEnterOnAnArrowSteps)
{
    loadFrameList();
    writeDword(L"FrameIdx", 2);
    std::vector<int> appliedWhileOpen;
    bool applyEnabledBefore = false, applyDisabledAfter = false, applyEnabledAfterStep = false;
    std::wstring afterEnter;
    bool openAfterEnter = false;

    kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
        applyEnabledBefore = IsWindowEnabled(GetDlgItem(dialog, kApply)) != FALSE;
        click(dialog, kApply);
        kivotest::waitFor([&] { return !owner.appliedFrames().empty(); }, kTimeoutMs);
        appliedWhileOpen = owner.appliedFrames();
        applyDisabledAfter = !IsWindowEnabled(GetDlgItem(dialog, kApply));
        // Enter reaches the focused arrow through the dialog's message loop.
        PostMessageW(GetDlgItem(dialog, kNext), WM_KEYDOWN, VK_RETURN, 0);
        kivotest::waitFor([&] { return pageLabel(dialog) == L"3/5"; }, kTimeoutMs);
        afterEnter = pageLabel(dialog);
        openAfterEnter = IsWindowVisible(dialog) != FALSE;
        applyEnabledAfterStep = IsWindowEnabled(GetDlgItem(dialog, kApply)) != FALSE;
        click(dialog, IDOK);
    });
    CFrameSelectDlg dialog(owner.wnd());
    EXPECT_EQ(IDOK, dialog.DoModal());

    ASSERT_TRUE(driver.found());
    EXPECT_TRUE(applyEnabledBefore);
    EXPECT_EQ(std::vector<int>{2}, appliedWhileOpen);
    EXPECT_TRUE(applyDisabledAfter);
    EXPECT_EQ(L"3/5", afterEnter);
    EXPECT_TRUE(openAfterEnter);
    EXPECT_TRUE(applyEnabledAfterStep);
    EXPECT_EQ(3, dialog.m_frameIdx);
}

TEST_F(FrameSelectDlgTest, AFrameFileInTheDataFolderWinsOverTheLibrarysPicture)
{
    loadFrameList();
    std::wstring folder = programRelativePath(L".\\data");
    CreateDirectoryW(folder.c_str(), nullptr);
    std::wstring file = programRelativePath(L".\\data\\frame02.bmp");
    ASSERT_TRUE(kivotest::writeBmp(file, 64, 48, [](LONG, LONG) { return RGB(0, 200, 0); }));
    writeDword(L"FrameIdx", 1);
    COLORREF atOne = CLR_INVALID, atTwo = CLR_INVALID;
    SIZE previewSize = {};

    kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
        atOne = previewCentre(dialog);
        click(dialog, kNext);
        atTwo = previewCentre(dialog);
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendDlgItemMessageW(dialog, kPreview, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bm = {};
        if (bitmap && GetObjectW(bitmap, sizeof(bm), &bm))
            previewSize = {bm.bmWidth, bm.bmHeight};
        click(dialog, IDCANCEL);
    });
    CFrameSelectDlg dialog(owner.wnd());
    dialog.DoModal();
    DeleteFileW(file.c_str());
    RemoveDirectoryW(folder.c_str());

    ASSERT_TRUE(driver.found());
    EXPECT_NE(CLR_INVALID, atOne);
    EXPECT_NE(RGB(0, 200, 0), atOne);
    EXPECT_EQ(RGB(0, 200, 0), atTwo);
    EXPECT_EQ(320, previewSize.cx);
    EXPECT_EQ(240, previewSize.cy);
}

TEST_F(FrameSelectDlgTest, StoredIndexesAtTheEndsOfTheIntRangeStepWithoutOverflow)
{
    loadFrameList();
    std::wstring atTop, afterNext, atBottom, afterPrev;
    bool pictureAtTop = true;

    writeDword(L"FrameIdx", DWORD(INT_MAX));
    {
        kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
            atTop = pageLabel(dialog);
            pictureAtTop = previewCentre(dialog) != CLR_INVALID;
            click(dialog, kNext);
            afterNext = pageLabel(dialog);
            click(dialog, IDCANCEL);
        });
        CFrameSelectDlg dialog(owner.wnd());
        dialog.DoModal();
        EXPECT_TRUE(driver.found());
    }
    writeDword(L"FrameIdx", 0x80000000u);
    {
        kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
            atBottom = pageLabel(dialog);
            click(dialog, kPrev);
            afterPrev = pageLabel(dialog);
            click(dialog, IDCANCEL);
        });
        CFrameSelectDlg dialog(owner.wnd());
        dialog.DoModal();
        EXPECT_TRUE(driver.found());
    }
    EXPECT_EQ(L"2147483647/5", atTop);
    EXPECT_FALSE(pictureAtTop);
    EXPECT_EQ(L"0/5", afterNext);
    EXPECT_EQ(L"-2147483648/5", atBottom);
    EXPECT_EQ(L"5/5", afterPrev);
}

// The list stays empty here, as when the library yields no frame at all.
TEST_F(FrameSelectDlgTest, WithNoFramesNothingCanBeSteppedOrApplied)
{
    ASSERT_EQ(0u, frameCount());
    writeDword(L"FrameIdx", 3);
    std::wstring label;
    bool nextEnabled = true, prevEnabled = true, applyEnabled = true;

    kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
        label = pageLabel(dialog);
        nextEnabled = IsWindowEnabled(GetDlgItem(dialog, kNext)) != FALSE;
        prevEnabled = IsWindowEnabled(GetDlgItem(dialog, kPrev)) != FALSE;
        applyEnabled = IsWindowEnabled(GetDlgItem(dialog, kApply)) != FALSE;
        // Even a click that reaches a disabled button's handler reports nothing.
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kApply, BN_CLICKED), 0);
        SendMessageW(dialog, WM_COMMAND, MAKEWPARAM(kPrev, BN_CLICKED), 0);
        label += L" " + pageLabel(dialog);
        click(dialog, IDCANCEL);
    });
    CFrameSelectDlg dialog(owner.wnd());
    dialog.DoModal();
    kivotest::pumpMessagesFor(50);

    ASSERT_TRUE(driver.found());
    EXPECT_EQ(L"0/0 0/0", label);
    EXPECT_FALSE(nextEnabled);
    EXPECT_FALSE(prevEnabled);
    EXPECT_FALSE(applyEnabled);
    EXPECT_TRUE(owner.appliedFrames().empty());
}

} // namespace
