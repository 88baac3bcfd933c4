// The two alerts and the About box as real windows, answered by the test as a user would; what a
// screen reader reads of the alerts.
#include "AboutDlg.h"
#include "AlertEffectDisableDlg.h"
#include "AlertOverResolutionDlg.h"
#include "DialogTestSupport.h"

#include "AccessibleControls.h"
#include "DialogDriver.h"
#include "WindowSearch.h"

#include <gtest/gtest.h>

#include <oleacc.h>

using namespace dialogtest;

namespace {

const wchar_t kCaption[] = L"Kivo Camera";
const wchar_t kNoMoreValue[] = L"NoDispAlertEffectDisable";
const int kNoMoreCheck = 1033;

class AlertDialogsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(locale.loaded());
        ASSERT_TRUE(owner.hwnd());
    }

    // Runs the effect alert, ticks its box or not, and ends it with OK or Escape; notes whether it
    // opened with the focus on OK.
    bool answerEffectAlert(bool tick, bool escape, int* firstFocus = nullptr)
    {
        kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
            if (firstFocus)
                *firstFocus = focusedControl(dialog);
            if (tick)
                SendMessageW(GetDlgItem(dialog, kNoMoreCheck), BM_CLICK, 0, 0);
            if (escape)
                PostMessageW(GetDlgItem(dialog, kNoMoreCheck), WM_KEYDOWN, VK_ESCAPE, 0);
            else
                SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
        });
        AlertEffectDisableDlg alert(owner.wnd());
        INT_PTR result = alert.DoModal();
        return driver.found() && !driver.closedByDeadline() && result == (escape ? IDCANCEL : IDOK);
    }

    IsolatedCurrentUser user;
    LocaleResources locale;
    OwnerWindow owner;
};

TEST_F(AlertDialogsTest, OnlyOkWithTheBoxTickedStopsTheEffectAlert)
{
    int firstFocus = 0;
    ASSERT_TRUE(answerEffectAlert(false, false, &firstFocus));
    EXPECT_EQ(IDOK, firstFocus);
    EXPECT_FALSE(valueExists(kNoMoreValue));
    ASSERT_TRUE(answerEffectAlert(true, true));
    EXPECT_FALSE(valueExists(kNoMoreValue));
    ASSERT_TRUE(answerEffectAlert(true, false));
    DWORD value = 0;
    ASSERT_TRUE(readDword(kNoMoreValue, value));
    EXPECT_EQ(1u, value);
}

TEST_F(AlertDialogsTest, OverResolutionPictureAndTextSitAtFixedDistancesFromTheWindowCorner)
{
    POINT picture = {}, text = {};
    bool hasPicture = false, hasIcon = false;
    kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
        RECT window = {}, pictureRect = {}, textRect = {};
        GetWindowRect(dialog, &window);
        GetWindowRect(GetDlgItem(dialog, 1019), &pictureRect);
        GetWindowRect(GetDlgItem(dialog, 1018), &textRect);
        picture = {pictureRect.left - window.left, pictureRect.top - window.top};
        text = {textRect.left - window.left, textRect.top - window.top};
        hasPicture = SendDlgItemMessageW(dialog, 1019, STM_GETIMAGE, IMAGE_BITMAP, 0) != 0;
        hasIcon = SendMessageW(dialog, WM_GETICON, ICON_BIG, 0) != 0;
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    AlertOverResolutionDlg alert(owner.wnd());
    EXPECT_EQ(IDOK, alert.DoModal());

    ASSERT_TRUE(driver.found());
    EXPECT_EQ(17, picture.x);
    EXPECT_EQ(52, picture.y);
    EXPECT_EQ(165, text.x);
    EXPECT_EQ(56, text.y);
    EXPECT_TRUE(hasPicture);
    EXPECT_TRUE(hasIcon);
}

// Painted by the skin: a half-drawn alert behind another window must not stay so. Read by a screen
// reader control by control, the pictures by what they show.
TEST_F(AlertDialogsTest, AlertsRepaintWholeAtOnceWhenActivatedOrAskedToSyncPaintAndAreReadControlByControl)
{
    // [0] after WM_SYNCPAINT, [1] after WM_ACTIVATE
    auto probe = [](HWND dialog, bool repaints[2]) {
        repaints[0] = repaintsAtOnceOn(dialog, WM_SYNCPAINT);
        repaints[1] = repaintsAtOnceOn(dialog, WM_ACTIVATE, WA_ACTIVE);
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    };
    bool effectAlert[2] = {}, resolutionAlert[2] = {};
    std::wstring effectFaults, resolutionFaults;
    {
        kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
            effectFaults = kivotest::describeFaults(dialog, {{-1, ROLE_SYSTEM_GRAPHIC, kCaption},
                                                             {1034, ROLE_SYSTEM_STATICTEXT, L""},
                                                             {IDOK, ROLE_SYSTEM_PUSHBUTTON, L"OK"},
                                                             {kNoMoreCheck, ROLE_SYSTEM_CHECKBUTTON,
                                                              L"Do not show this message again"}});
            probe(dialog, effectAlert);
        });
        AlertEffectDisableDlg alert(owner.wnd());
        EXPECT_EQ(IDOK, alert.DoModal());
        ASSERT_TRUE(driver.found());
    }
    {
        kivotest::DialogDriver driver(kCaption, [&](HWND dialog) {
            resolutionFaults = kivotest::describeFaults(dialog, {{1019, ROLE_SYSTEM_GRAPHIC, L"Picture too large for the camera"},
                                                                 {1018, ROLE_SYSTEM_STATICTEXT, L""},
                                                                 {IDOK, ROLE_SYSTEM_PUSHBUTTON, L"OK"}});
            probe(dialog, resolutionAlert);
        });
        AlertOverResolutionDlg alert(owner.wnd());
        EXPECT_EQ(IDOK, alert.DoModal());
        ASSERT_TRUE(driver.found());
    }
    EXPECT_TRUE(effectAlert[0]);
    EXPECT_TRUE(effectAlert[1]);
    EXPECT_TRUE(resolutionAlert[0]);
    EXPECT_TRUE(resolutionAlert[1]);
    EXPECT_EQ(L"", effectFaults);
    EXPECT_EQ(L"", resolutionFaults);
}

TEST_F(AlertDialogsTest, AboutBoxSaysWhatTheProgramIsAndItsVersionCentredOnItsOwner)
{
    bool saysVersion = false;
    RECT aboutRect = {}, panel = {};
    // The owner stands in for the panel, away from the screen's middle.
    SetWindowPos(owner.hwnd(), nullptr, 60, 80, 520, 360, SWP_NOZORDER | SWP_NOACTIVATE);
    GetWindowRect(owner.hwnd(), &panel);
    kivotest::DialogDriver driver(L"About Kivo Camera", [&](HWND dialog) {
        GetWindowRect(dialog, &aboutRect);
        EnumChildWindows(
            dialog,
            [](HWND child, LPARAM found) -> BOOL {
                if (kivotest::windowText(child).find(L"version") != std::wstring::npos)
                    *reinterpret_cast<bool*>(found) = true;
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&saysVersion));
        SendMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);
    });
    CAboutDlg about(owner.wnd());
    EXPECT_EQ(IDOK, about.DoModal());
    ASSERT_TRUE(driver.found());
    EXPECT_TRUE(saysVersion);
    EXPECT_NEAR((panel.left + panel.right) / 2, (aboutRect.left + aboutRect.right) / 2, 1);
    EXPECT_NEAR((panel.top + panel.bottom) / 2, (aboutRect.top + aboutRect.bottom) / 2, 1);
}

} // namespace
