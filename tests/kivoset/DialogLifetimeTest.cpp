// What the dialogs leave behind: nothing when their owner (the panel) is destroyed while they are
// open, and no GDI objects after many openings.
#include "AlertEffectDisableDlg.h"
#include "AlertOverResolutionDlg.h"
#include "CameraPropertySheet.h"
#include "DialogTestSupport.h"
#include "FrameList.h"
#include "FrameSelectDlg.h"
#include "ShowCameraProperties.h"

#include "DialogDriver.h"
#include "ResourceCounts.h"
#include "WindowSearch.h"

#include <prsht.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using namespace dialogtest;

namespace {

const DWORD kTimeoutMs = 10000;

// An external camera's settings object that counts its releases. Its dialog begins by dropping the
// reference the caller had (the panel destroyed while the dialog runs) and notes whether the object
// was released before the dialog returned.
class ExternalCameraSettings : public RefusingCameraSettings {
public:
    using RefusingCameraSettings::RefusingCameraSettings;
    bool Release() override { return ++releases > 0; }
    bool IsInternalCamera() override { return false; }
    bool ShowPropertyDialog(HWND hOwner) override
    {
        callerReference->reset();
        bool shown = RefusingCameraSettings::ShowPropertyDialog(hOwner);
        releasedWhileShown = releases > 0;
        return shown;
    }

    int releases = 0;
    bool releasedWhileShown = false;
    std::shared_ptr<ICameraPropertySettings>* callerReference = nullptr;
};

class DialogLifetimeTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(locale.loaded());
        ASSERT_TRUE(camera.ready());
        loadFrameList();
    }

    // Opens one dialog through `run` and, once it shows, has the owner destroyed the way the panel
    // goes when the camera is closed; true when the dialog ended and its window is gone.
    bool endsWithItsOwner(const wchar_t* caption, const std::function<void(CWnd*)>& run)
    {
        OwnerWindow owner;
        HWND shown = nullptr;
        kivotest::DialogDriver driver(caption, [&](HWND dialog) {
            shown = dialog;
            PostMessageW(owner.hwnd(), WM_CLOSE, 0, 0);
        });
        run(owner.wnd());
        return driver.found() && !driver.closedByDeadline() && !IsWindow(owner.hwnd()) && shown && !IsWindow(shown);
    }

    // Wine lends the contexts of BeginPaint and GetDC from a cache of display contexts that belongs to
    // the process and is counted among its GDI objects. The cache grows while every context in it is
    // busy or still tied to a live window, up to a fixed size, and is never shrunk; a dialog of many
    // painting controls grows it in steps over its first few dozen openings. Borrowing more contexts
    // at once than the cache ever holds, for windows that then go, fills it before anything is counted.
    // The windows are children of the owner, so that no top-level window comes and goes for it.
    void fillDisplayContextCache()
    {
        const int kContexts = 96;
        std::vector<HWND> windows;
        std::vector<HDC> contexts;
        for (int i = 0; i < kContexts; ++i) {
            HWND window = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 8, 8, owner.hwnd(), nullptr, nullptr,
                                          nullptr);
            if (!window)
                break;
            windows.push_back(window);
            contexts.push_back(GetDC(window));
        }
        for (size_t i = 0; i < windows.size(); ++i) {
            ReleaseDC(windows[i], contexts[i]);
            DestroyWindow(windows[i]);
        }
    }

    // Opens and closes a dialog `times` times; the GDI objects of this process before and after.
    void openRepeatedly(int times, const wchar_t* caption, int closeId, const std::function<void(CWnd*)>& run,
                        long& before, long& after, bool fillContextCache = false)
    {
        auto once = [&] {
            kivotest::DialogDriver driver(caption, [&](HWND dialog) {
                PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(closeId, BN_CLICKED), 0);
            });
            run(owner.wnd());
        };
        once();   // the first opening loads what stays for the process (classes, fonts)
        if (fillContextCache)
            fillDisplayContextCache();
        before = kivotest::gdiObjectCount(GetCurrentProcessId());
        for (int i = 0; i < times; ++i)
            once();
        after = kivotest::gdiObjectCount(GetCurrentProcessId());
    }

    IsolatedCurrentUser user;
    LocaleResources locale;
    TestCamera camera;
    OwnerWindow owner;
};

TEST_F(DialogLifetimeTest, EachDialogEndsWhenItsOwnerIsDestroyed)
{
    EXPECT_TRUE(endsWithItsOwner(L"Camera Properties", [&](CWnd* parent) {
        runCameraPropertySheet(camera.settings, 0, parent);
    }));
    EXPECT_TRUE(endsWithItsOwner(L"Kivo Camera", [](CWnd* parent) { CFrameSelectDlg(parent).DoModal(); }));
    EXPECT_TRUE(endsWithItsOwner(L"Kivo Camera", [](CWnd* parent) { AlertEffectDisableDlg(parent).DoModal(); }));
    EXPECT_TRUE(endsWithItsOwner(L"Kivo Camera", [](CWnd* parent) { AlertOverResolutionDlg(parent).DoModal(); }));
    // The camera was left as it was and nothing was stored on the way out.
    EXPECT_FALSE(valueExists(L"NoDispAlertEffectDisable"));

    // An external camera's own dialog: its settings object outlives the panel's reference until the
    // dialog has returned, and is released once.
    ExternalCameraSettings external(camera.settings);
    std::shared_ptr<ICameraPropertySettings> panelReference(&external, [](ICameraPropertySettings* settings) {
        settings->Release();
    });
    external.callerReference = &panelReference;
    EXPECT_TRUE(endsWithItsOwner(L"Camera 0 Properties", [&](CWnd* parent) {
        showCameraProperties(panelReference, 0, parent->GetSafeHwnd());
    }));
    EXPECT_FALSE(external.releasedWhileShown);
    EXPECT_EQ(1, external.releases);
}

const int kTimes = 100;
const long kSlack = 4;   // objects a system control may cache on its own

TEST_F(DialogLifetimeTest, HundredOpeningsOfTheChooserAndAlertsLeaveNoGdiObjects)
{
    long before = 0, after = 0;
    openRepeatedly(kTimes, L"Kivo Camera", IDCANCEL, [](CWnd* parent) { CFrameSelectDlg(parent).DoModal(); },
                   before, after);
    ASSERT_GE(before, 0);
    EXPECT_LE(after - before, kSlack) << "frame chooser";

    openRepeatedly(kTimes, L"Kivo Camera", IDOK, [](CWnd* parent) { AlertEffectDisableDlg(parent).DoModal(); },
                   before, after);
    EXPECT_LE(after - before, kSlack) << "effect alert";

    openRepeatedly(kTimes, L"Kivo Camera", IDOK, [](CWnd* parent) { AlertOverResolutionDlg(parent).DoModal(); },
                   before, after);
    EXPECT_LE(after - before, kSlack) << "over-resolution alert";
}

TEST_F(DialogLifetimeTest, HundredOpeningsOfThePropertySheetLeaveNoGdiObjects)
{
    long before = 0, after = 0;
    openRepeatedly(kTimes, L"Camera Properties", IDCANCEL,
                   [&](CWnd* parent) { runCameraPropertySheet(camera.settings, 0, parent); }, before, after,
                   true);
    ASSERT_GE(before, 0);
    EXPECT_LE(after - before, kSlack);
}

} // namespace
