// The frame chooser as a real window owned by a window of the test: stepping, the page label,
// Apply while it is open, Enter on an arrow, a user's frame file, and the list's edge cases.
#include "DataFolder.h"
#include "FrameLayout.h"
#include "DialogTestSupport.h"
#include "FrameList.h"
#include "FrameSelectDlg.h"

#include "DialogDriver.h"
#include "Wait.h"
#include "WindowSearch.h"

#include <gtest/gtest.h>

#include <climits>
#include <vector>

using namespace dialogtest;

namespace {

const wchar_t kCaption[] = L"Kivo Camera";
const DWORD kTimeoutMs = 10000;
const int kNext = 5, kPrev = 4, kApply = 3, kPage = 1013, kPreview = 1012, kMessage = 1001;

std::wstring pageLabel(HWND dialog)
{
    return controlText(dialog, kPage);
}

void click(HWND dialog, int id)
{
    SendMessageW(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
}

// The colour at the middle of the preview's picture.
COLORREF previewCentre(HWND dialog)
{
    HBITMAP bitmap = reinterpret_cast<HBITMAP>(SendDlgItemMessageW(dialog, kPreview, STM_GETIMAGE, IMAGE_BITMAP, 0));
    BITMAP bm = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(bm), &bm))
        return CLR_INVALID;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = bm.bmWidth;
    info.bmiHeader.biHeight = bm.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<DWORD> pixels(size_t(bm.bmWidth) * bm.bmHeight);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, bm.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != bm.bmHeight)
        return CLR_INVALID;
    DWORD p = pixels[size_t(bm.bmHeight / 2) * bm.bmWidth + bm.bmWidth / 2];
    return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
}

// A 24-bit BMP file of one colour.
bool writeSolidBmp(const std::wstring& path, int width, int height, COLORREF colour)
{
    const int stride = int(kivo::dibStride(width, 24));
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = DWORD(stride * height);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::vector<BYTE> pixels(info.biSizeImage);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            BYTE* p = &pixels[size_t(y) * stride + size_t(x) * 3];
            p[0] = GetBValue(colour);
            p[1] = GetGValue(colour);
            p[2] = GetRValue(colour);
        }
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    bool ok = WriteFile(h, &file, sizeof(file), &written, nullptr) && WriteFile(h, &info, sizeof(info), &written, nullptr) &&
              WriteFile(h, pixels.data(), DWORD(pixels.size()), &written, nullptr);
    CloseHandle(h);
    return ok;
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

TEST_F(FrameSelectDlgTest, ArrowsRunThroughTheListWithWrapBothWays)
{
    loadFrameList();
    ASSERT_EQ(6u, frameCount());
    EXPECT_EQ(10005u, frameIdAt(5));
    EXPECT_EQ(0u, frameIdAt(6));
    EXPECT_EQ(0u, frameIdAt(UINT(-1)));
    std::vector<std::wstring> forward, backward;
    bool messageAtZero = false, messageAtOne = true, pictureAtZero = false;

    kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
        forward.push_back(pageLabel(dialog));
        messageAtZero = IsWindowVisible(GetDlgItem(dialog, kMessage)) != FALSE;
        pictureAtZero = previewCentre(dialog) != CLR_INVALID;
        for (int i = 0; i < 6; ++i) {
            click(dialog, kNext);
            forward.push_back(pageLabel(dialog));
            if (i == 0)
                messageAtOne = IsWindowVisible(GetDlgItem(dialog, kMessage)) != FALSE;
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
    ASSERT_TRUE(writeSolidBmp(file, 64, 48, RGB(0, 200, 0)));
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
