// The service frame driven in-process: the tray menu in the user's language with room for each
// item's text, and its AutoStartup check; the settings program's announcement after its camera
// closed and the clicks that bring it forward; and the application's exit order.
#include "KivoServeApp.h"
#include "KivoServeFrame.h"
#include "ServeMessages.h"
#include "ServeSystem.h"

#include "KivoNames.h"
#include "resource.h"

#include "LocaleTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace serve;

namespace {

struct MenuSeen {
    bool shown = false;
    bool autoStartupChecked = false;
    UINT defaultItem = 0;
    int itemCount = 0;
    std::vector<std::wstring> texts;   // of the items that are not separators
    std::string misfits;               // items narrower than their text; empty when all fit
};
MenuSeen g_menu;

// The width of a menu item's text in the menu's font (bold for the default item, as it is drawn).
int menuTextWidth(const std::wstring& text, bool isDefault)
{
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    if (isDefault)
        metrics.lfMenuFont.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectW(&metrics.lfMenuFont);
    HDC hdc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(hdc, font);
    RECT rect = {};
    DrawTextW(hdc, text.c_str(), -1, &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
    DeleteObject(font);
    return rect.right;
}

// Reads each item's text and checks that the shown item holds it beside the room for a check mark.
void readMenuItems(HMENU hMenu, UINT defaultItem)
{
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i) {
        wchar_t text[128] = L"";
        if ((GetMenuState(hMenu, i, MF_BYPOSITION) & MF_SEPARATOR) ||
            !GetMenuStringW(hMenu, i, text, ARRAYSIZE(text), MF_BYPOSITION))
            continue;
        g_menu.texts.push_back(text);
        RECT item = {};
        GetMenuItemRect(nullptr, hMenu, i, &item);
        int needed = menuTextWidth(text, GetMenuItemID(hMenu, i) == defaultItem) + GetSystemMetrics(SM_CXMENUCHECK);
        if (item.right - item.left < needed)
            g_menu.misfits += " item " + std::to_string(i) + " is " + std::to_string(item.right - item.left) +
                              " wide, its text needs " + std::to_string(needed) + ";";
    }
}

// Runs inside the menu's modal loop: reads the popup the frame shows, then closes it.
void CALLBACK inspectMenu(HWND, UINT, UINT_PTR timerId, DWORD)
{
    HWND hMenuWnd = FindWindowW(L"#32768", nullptr);
    if (!hMenuWnd)
        return;
    KillTimer(nullptr, timerId);
    HMENU hMenu = reinterpret_cast<HMENU>(SendMessageW(hMenuWnd, MN_GETHMENU, 0, 0));
    g_menu.shown = hMenu != nullptr;
    g_menu.autoStartupChecked = (GetMenuState(hMenu, ID_TRAY_AUTOSTARTUP, MF_BYCOMMAND) & MF_CHECKED) != 0;
    g_menu.defaultItem = GetMenuDefaultItem(hMenu, FALSE, 0);
    g_menu.itemCount = GetMenuItemCount(hMenu);
    readMenuItems(hMenu, g_menu.defaultItem);
    EndMenu();
}

class ServeFrameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSettings();
        setExternalCameraInstalled(true);
        m_hLocale = LoadLibraryW(m_inst.file(KIVO_LOCALE_DLL).c_str());
        ASSERT_NE(nullptr, m_hLocale);
        m_hPreviousResources = AfxGetResourceHandle();
        AfxSetResourceHandle(m_hLocale);
        m_frame = new KivoServeFrame;
        m_hFrame = m_frame->GetSafeHwnd();
        ASSERT_NE(nullptr, m_hFrame);
    }
    void TearDown() override
    {
        if (IsWindow(m_hFrame))
            DestroyWindow(m_hFrame);   // the frame deletes itself
        AfxSetResourceHandle(m_hPreviousResources);
        if (m_hLocale)
            FreeLibrary(m_hLocale);
        setExternalCameraInstalled(false);
    }

    MenuSeen openTrayMenu()
    {
        g_menu = MenuSeen();
        SetTimer(nullptr, 0, 20, inspectMenu);
        // No icon is shown, so its id is 0.
        SendMessageW(m_hFrame, WM_KIVO_TRAY_NOTIFY, 0, WM_RBUTTONUP);
        return g_menu;
    }

    Installation m_inst;
    KivoServeApp m_app;
    HINSTANCE m_hLocale = nullptr;
    HINSTANCE m_hPreviousResources = nullptr;
    KivoServeFrame* m_frame = nullptr;
    HWND m_hFrame = nullptr;
};

TEST_F(ServeFrameTest, MenuChecksAutoStartupExactlyWhenItIsOn)
{
    MenuSeen menu = openTrayMenu();
    ASSERT_TRUE(menu.shown);
    EXPECT_FALSE(menu.autoStartupChecked);
    EXPECT_EQ(static_cast<UINT>(ID_TRAY_OPEN), menu.defaultItem);
    EXPECT_GE(menu.itemCount, 3);

    SendMessageW(m_hFrame, WM_COMMAND, ID_TRAY_AUTOSTARTUP, 0);
    EXPECT_TRUE(openTrayMenu().autoStartupChecked);
    SendMessageW(m_hFrame, WM_COMMAND, ID_TRAY_AUTOSTARTUP, 0);
    EXPECT_FALSE(openTrayMenu().autoStartupChecked);
}

// The menu comes in the user's language from the locale library, and each item is as wide as its
// text needs.
TEST_F(ServeFrameTest, MenuSpeaksTheUserLanguageAndEachItemHoldsItsText)
{
    const std::vector<std::wstring> english = {L"&Open camera settings", L"Show settings &automatically", L"&Help"};
    const std::vector<std::wstring> german = {L"Kameraeinstellungen \u00f6&ffnen", L"Einstellungen &automatisch anzeigen",
                                              L"&Hilfe"};
    for (LANGID language : {kivotest::kEnglish, kivotest::kGerman}) {
        SCOPED_TRACE(language);
        kivotest::ThreadLanguage userLanguage(language);
        MenuSeen menu = openTrayMenu();
        ASSERT_TRUE(menu.shown);
        EXPECT_EQ(language == kivotest::kGerman ? german : english, menu.texts);
        EXPECT_EQ("", menu.misfits);
    }
}

TEST_F(ServeFrameTest, TrayCallbackForAnotherIconAndOtherMouseMessagesDoNothing)
{
    // A menu opened by mistake is read and closed by the timer, so the test fails instead of hanging.
    g_menu = MenuSeen();
    UINT_PTR guard = SetTimer(nullptr, 0, 20, inspectMenu);
    EXPECT_EQ(0, SendMessageW(m_hFrame, WM_KIVO_TRAY_NOTIFY, 5, WM_RBUTTONUP));
    EXPECT_EQ(0, SendMessageW(m_hFrame, WM_KIVO_TRAY_NOTIFY, 0, WM_MOUSEMOVE));
    KillTimer(nullptr, guard);
    EXPECT_FALSE(g_menu.shown);
}

// The camera closed between the launch and the announcement: the dialog is told to close (also one
// that would stay idle for the screen saver), and is recorded all the same. A click on the icon or on its balloon hands the dialog's process the right
// to the foreground and asks the dialog to come forward; the service neither shows the dialog itself
// nor touches the session's foreground lock time-out.
TEST_F(ServeFrameTest, ADialogAnnouncedAfterItsCameraClosedIsToldToCloseAndAClickHandsItTheForeground)
{
    HWND hDialog = CreateWindowExW(0, L"STATIC", L"dialog", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    MSG msg = {};
    for (LPARAM screenSaverRunning : {0, 1}) {
        EXPECT_EQ(0, SendMessageW(m_hFrame, WM_KIVOSET_OPEN, reinterpret_cast<WPARAM>(hDialog), screenSaverRunning));
        EXPECT_FALSE(IsWindowVisible(hDialog));
        EXPECT_FALSE(trayIconShown(m_hFrame));
        EXPECT_TRUE(PeekMessageW(&msg, hDialog, WM_TASK_DEVICE_CLOSE, WM_TASK_DEVICE_CLOSE, PM_REMOVE))
            << "told to close, with the screen saver " << screenSaverRunning;
    }

    DWORD lockTimeout = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &lockTimeout, 0);
    const DWORD probe = 123456;
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<PVOID>(UINT_PTR(probe)), 0);
    // No icon is shown, so its id is 0.
    for (LPARAM click : {LPARAM(WM_LBUTTONDOWN), LPARAM(NIN_BALLOONUSERCLICK)}) {
        SCOPED_TRACE(click);
        EXPECT_EQ(1, SendMessageW(m_hFrame, WM_KIVO_TRAY_NOTIFY, 0, click));
        EXPECT_TRUE(PeekMessageW(&msg, hDialog, WM_KIVOSET_FOREGROUND, WM_KIVOSET_FOREGROUND, PM_REMOVE));
        EXPECT_FALSE(IsWindowVisible(hDialog));
    }
    DWORD after = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &after, 0);
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<PVOID>(UINT_PTR(lockTimeout)), 0);
    EXPECT_EQ(probe, after);
    DestroyWindow(hDialog);
}

// While the frame handles WM_DESTROY: whether the locale library, whose resources it uses, is loaded.
HWND g_hWatchedFrame = nullptr;
bool g_localeLoadedAtDestroy = false;

LRESULT CALLBACK watchFrameDestroy(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && call->hwnd == g_hWatchedFrame && call->message == WM_DESTROY)
        g_localeLoadedAtDestroy = GetModuleHandleW(KIVO_LOCALE_DLL) != nullptr;
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(ServeAppExit, TheFrameGoesBeforeTheLocaleLibrary)
{
    resetSettings();
    setExternalCameraInstalled(true);
    Installation inst;
    ASSERT_EQ(nullptr, GetModuleHandleW(KIVO_LOCALE_DLL));
    WCHAR previousDir[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, previousDir);
    SetCurrentDirectoryW(inst.dir().c_str());   // where the application finds its locale library
    {
        KivoServeApp app;
        app.m_lpCmdLine = const_cast<LPWSTR>(L"");
        BOOL started = app.InitInstance();
        SetCurrentDirectoryW(previousDir);
        ASSERT_TRUE(started);
        ASSERT_NE(nullptr, app.m_pMainWnd);
        g_hWatchedFrame = app.m_pMainWnd->GetSafeHwnd();
        g_localeLoadedAtDestroy = false;
        HHOOK hHook = SetWindowsHookExW(WH_CALLWNDPROC, watchFrameDestroy, nullptr, GetCurrentThreadId());
        ASSERT_NE(nullptr, hHook);
        app.ExitInstance();
        UnhookWindowsHookEx(hHook);
        EXPECT_FALSE(IsWindow(g_hWatchedFrame));
        EXPECT_TRUE(g_localeLoadedAtDestroy);
        EXPECT_EQ(nullptr, GetModuleHandleW(KIVO_LOCALE_DLL)) << "freed at exit";
    }
    kivotest::pumpMessagesFor(20);   // the quit message the main window's end posted
    setExternalCameraInstalled(false);
}

} // namespace
