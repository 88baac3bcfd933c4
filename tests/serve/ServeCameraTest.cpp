// The service and the camera, end to end: an application opening the camera, the settings program
// started about two seconds later and announcing itself, the tray icon, closing, removal, arrival,
// session and power events, a settings program that is killed, and a device that keeps failing. The camera is the virtual one; kivocap plays the capturing application.
#include "ServeSystem.h"

#include "KivoNames.h"
#include "StandInProtocol.h"
#include "resource.h"

#include "Device.h"
#include "DeviceStore.h"

#include <dbt.h>
#include <wtsapi32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace serve;

namespace {

const DWORD kStartMs = 10000;
const DWORD kExitMs = 10000;
const DWORD kLaunchMs = 8000;   // the launch delay is about 2 s; this is its deadline

bool cameraMutexExists()
{
    HANDLE hMutex = OpenMutexW(SYNCHRONIZE, FALSE, KIVO_CAMERA_MUTEX);
    if (hMutex)
        CloseHandle(hMutex);
    return hMutex != nullptr;
}

class ServeCameraTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSettings();
        setExternalCameraInstalled(false);
        ASSERT_EQ(0u, kivocam(L"reset"));
    }
    void TearDown() override
    {
        if (m_serve && m_serve->running())
            haltService(m_inst, *m_serve, kExitMs);
        m_serve.reset();
        setExternalCameraInstalled(false);
        if (HWND hStandIn = findStandInWindow())
            PostMessageW(hStandIn, WM_STANDIN_CLOSE, 0, 0);
    }

    DWORD kivocam(const std::wstring& args) { return runTool(m_inst, L"kivocam.exe", args); }

    // kivocap holding camera 0 open for the given time.
    std::unique_ptr<TestProcess> capture(DWORD seconds, const wchar_t* camera = L"0")
    {
        return m_inst.startOwned(L"kivocap.exe", std::wstring(L"--camera ") + camera +
                                                     L" --size 320x240 --format rgb24 --fps 15 --duration " +
                                                     std::to_wstring(seconds));
    }

    HWND startService()
    {
        m_serve = m_inst.startOwned(L"KivoServe.exe");
        return waitForFrameWindow(m_serve->id(), kStartMs);
    }

    void sessionChange(HWND hServe, WPARAM event)
    {
        DWORD session = 0;
        ProcessIdToSessionId(GetCurrentProcessId(), &session);
        SendMessageW(hServe, WM_WTSSESSION_CHANGE, event, session);
    }

    Installation m_inst;
    std::unique_ptr<TestProcess> m_serve;
};

TEST_F(ServeCameraTest, OpeningTheCameraStartsTheSettingsProgramAboutTwoSecondsLater)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    auto app = capture(6);
    ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnOpenDevice() called.", 5000));
    EXPECT_TRUE(m_inst.waitForLog("create mutex", 1000));
    DWORD opened = GetTickCount();
    // Started as the shell would (SW_SHOWDEFAULT), not forced hidden.
    ASSERT_TRUE(m_inst.waitForStandIn("started show=10", kLaunchMs));
    DWORD delay = GetTickCount() - opened;
    EXPECT_GE(delay, 1500u);
    EXPECT_TRUE(m_inst.logHas("no exist Flickmix"));

    DWORD handle = 0, index = 7;
    ASSERT_TRUE(readSetting(KIVO_VALUE_SERVE_HANDLE, handle));
    EXPECT_EQ(hServe, reinterpret_cast<HWND>(static_cast<UINT_PTR>(handle)));
    ASSERT_TRUE(readSetting(KIVO_VALUE_CAMERA_IDX, index));
    EXPECT_EQ(0u, index);

    // AutoStartup is off: the announcement brings the tray icon, not the dialog.
    ASSERT_TRUE(m_inst.waitForStandIn("announced 0", 5000));
    EXPECT_TRUE(waitFor([&] { return trayIconShown(hServe); }, 2000));
    HWND hDialog = findStandInWindow();
    ASSERT_NE(nullptr, hDialog);
    EXPECT_FALSE(IsWindowVisible(hDialog));

    // The application ends: the settings program's own task sees the camera close, the program
    // closes, and the service watches again.
    EXPECT_TRUE(m_inst.waitForStandIn("device-open 0", 2000));
    ASSERT_TRUE(app->waitExit(20000));
    EXPECT_TRUE(m_inst.waitForStandIn("device-close 0 0", 5000));
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnKivoSetClose() called.", 5000));
    EXPECT_TRUE(waitFor([&] { return !trayIconShown(hServe); }, 2000));
    EXPECT_FALSE(cameraMutexExists()) << "the camera mutex goes with the camera";

    // The next open starts the cycle again.
    auto again = capture(30);
    EXPECT_TRUE(m_inst.waitForLog("no exist Flickmix", kLaunchMs, 2));
}

// A shell that has just started, as Explorer after a restart: its tray window records every icon
// request it gets, read in the layout Wine's shell32 sends to its tray window (window, id, flags,
// callback message, tip). It is topmost, so Shell_NotifyIcon finds it before the running shell's.
class RestartedShell {
public:
    struct Request {
        DWORD message;
        HWND hWnd;
        UINT id;
        UINT flags;
        std::wstring tip;
        UINT iconWidth;
    };

    RestartedShell()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = windowProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"Shell_TrayWnd";
        RegisterClassW(&wc);
        m_hWnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"Shell_TrayWnd", L"", WS_POPUP, 0, 0, 1, 1,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~RestartedShell()
    {
        DestroyWindow(m_hWnd);
        UnregisterClassW(L"Shell_TrayWnd", GetModuleHandleW(nullptr));
    }
    bool found() const { return m_hWnd && FindWindowW(L"Shell_TrayWnd", nullptr) == m_hWnd; }
    // Announces itself to every top-level window, as a starting shell does.
    void announce() const { SendNotifyMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0); }

    std::vector<Request> requests;

private:
    static LRESULT CALLBACK windowProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        auto* self = reinterpret_cast<RestartedShell*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (msg != WM_COPYDATA || !self)
            return DefWindowProcW(hWnd, msg, wParam, lParam);
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        // The icon's bitmap size follows the text fields and the item GUID.
        const size_t tipOffset = 4 * sizeof(DWORD), tipChars = 128, iconOffset = 944;
        if (data->cbData < iconOffset + 2 * sizeof(UINT))
            return FALSE;
        const auto* fields = static_cast<const DWORD*>(data->lpData);
        const auto* tip = reinterpret_cast<const WCHAR*>(static_cast<const BYTE*>(data->lpData) + tipOffset);
        const auto* iconWidth = reinterpret_cast<const UINT*>(static_cast<const BYTE*>(data->lpData) + iconOffset);
        self->requests.push_back({static_cast<DWORD>(data->dwData), reinterpret_cast<HWND>(static_cast<ULONG_PTR>(fields[0])),
                                  fields[1], fields[2], std::wstring(tip, wcsnlen(tip, tipChars)), *iconWidth});
        return TRUE;
    }

    HWND m_hWnd = nullptr;
};

// A settings program slow to start: its camera closes and opens again before it announces itself,
// and the second open's launch delay runs out meanwhile. No second program is launched; the first
// takes the session when it announces.
TEST_F(ServeCameraTest, ASettingsProgramStillStartingTakesTheNextSessionAndNoSecondIsLaunched)
{
    kivotest::ScopedVariable slowStart(L"KIVO_STANDIN_ANNOUNCE_DELAY_MS", L"3500");
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    auto first = capture(30);
    ASSERT_TRUE(m_inst.waitForStandIn("started show=10", kLaunchMs));
    first->kill();
    ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnCloseDevice() called.", 5000));
    auto second = capture(30);
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnTimer() - KivoSet is starting.", kLaunchMs));
    ASSERT_TRUE(m_inst.waitForStandIn("announced 0", 5000));
    EXPECT_TRUE(waitFor([&] { return trayIconShown(hServe); }, 2000));
    std::vector<std::string> lines = m_inst.standInLines();
    EXPECT_EQ(1, std::count_if(lines.begin(), lines.end(), [](const std::string& line) { return line.rfind("started", 0) == 0; }));
}

TEST_F(ServeCameraTest, AfterAShellRestartTheTrayIconComesBackWithItsTipAndWithoutTheBalloon)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

    // No icon is shown before a camera session: a restarted shell gets nothing.
    {
        RestartedShell shell;
        ASSERT_TRUE(shell.found());
        SendMessageW(hServe, taskbarCreated, 0, 0);
        EXPECT_TRUE(shell.requests.empty());
    }

    auto app = capture(30);
    ASSERT_TRUE(m_inst.waitForStandIn("announced 0", kLaunchMs + 5000));
    ASSERT_TRUE(waitFor([&] { return trayIconShown(hServe); }, 2000));

    // The running shell loses the icon (it restarts); the announcement brings it back there.
    NOTIFYICONDATAW lost = {};
    lost.cbSize = NOTIFYICONDATAW_V3_SIZE;
    lost.hWnd = hServe;
    lost.uID = 1;
    ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &lost));
    ASSERT_FALSE(trayIconShown(hServe));
    SendMessageW(hServe, taskbarCreated, 0, 0);
    EXPECT_TRUE(trayIconShown(hServe));
    EXPECT_TRUE(m_inst.logHas("KivoServeFrame::OnTaskbarCreated() - the tray icon is shown again."));

    // What a new shell is asked: one icon with the service's callback and tip, and no balloon.
    std::wstring title;
    {
        HMODULE hLocale = LoadLibraryExW(m_inst.file(KIVO_LOCALE_DLL).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
        ASSERT_NE(nullptr, hLocale);
        WCHAR text[128] = {};
        LoadStringW(hLocale, IDS_TRAY_TITLE, text, ARRAYSIZE(text));
        title = text;
        FreeLibrary(hLocale);
    }
    RestartedShell shell;
    ASSERT_TRUE(shell.found());
    shell.announce();
    ASSERT_TRUE(waitFor([&] { return !shell.requests.empty(); }, 2000));
    kivotest::pumpMessagesFor(200);
    ASSERT_EQ(1u, shell.requests.size());
    const RestartedShell::Request& added = shell.requests[0];
    EXPECT_EQ(static_cast<DWORD>(NIM_ADD), added.message);
    EXPECT_EQ(hServe, added.hWnd);
    EXPECT_EQ(1u, added.id);
    EXPECT_EQ(static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP), added.flags & (NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
    EXPECT_FALSE(title.empty());
    EXPECT_EQ(title, added.tip);
    EXPECT_EQ(UINT(GetSystemMetrics(SM_CXSMICON)), added.iconWidth) << "the icon at the size the tray shows";
}

// The user's choice is stored when it is made: at the end of a Windows session, as after a crash, the
// service ends without destroying its window.
TEST_F(ServeCameraTest, TheAutoStartupChoiceOutlivesAServiceEndedWithoutItsWindowsEnd)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    SendMessageW(hServe, WM_COMMAND, ID_TRAY_AUTOSTARTUP, 0);
    m_serve->kill();
    DWORD stored = 0;
    ASSERT_TRUE(readSetting(KIVO_VALUE_AUTO_STARTUP, stored));
    EXPECT_EQ(1u, stored);
}

TEST_F(ServeCameraTest, OpenAndCloseWithinTwoSecondsStartsNothing)
{
    ASSERT_NE(nullptr, startService());
    {
        auto app = capture(30);
        ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnOpenDevice() called.", 5000));
        app->kill();
    }
    ASSERT_TRUE(m_inst.waitForLog("close mutex", 5000));
    Sleep(2500);   // past the moment the settings program would have started
    EXPECT_TRUE(m_inst.standInLines().empty());
    EXPECT_FALSE(m_inst.logHas("no exist Flickmix"));
}

TEST_F(ServeCameraTest, ScreenSaverRunningAtTheThirdTickStartsNothing)
{
    HANDLE hSaver = CreateMutexW(nullptr, FALSE, KIVO_FLICKMIX_MUTEX);
    ASSERT_NE(nullptr, startService());
    auto app = capture(30);
    EXPECT_TRUE(m_inst.waitForLog("exist Flickmix", kLaunchMs));
    EXPECT_FALSE(m_inst.logHas("no exist Flickmix"));
    EXPECT_TRUE(m_inst.standInLines().empty());
    CloseHandle(hSaver);
}

TEST_F(ServeCameraTest, AnnouncementWhileTheScreenSaverRunsShowsNothingAndKeepsWatching)
{
    // The screen saver runs throughout, so the service itself starts no settings program.
    HANDLE hSaver = CreateMutexW(nullptr, FALSE, KIVO_FLICKMIX_MUTEX);
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    auto app = capture(30);
    ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnOpenDevice() called.", 5000));

    // A settings program announcing with the screen saver running is recorded, nothing is shown...
    HWND hOther = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    SendMessageW(hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_OPEN), reinterpret_cast<WPARAM>(hOther), 1);
    EXPECT_FALSE(IsWindowVisible(hOther));
    EXPECT_FALSE(trayIconShown(hServe));

    // ...and the service keeps its own tasks: it still sees the camera close.
    app->kill();
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnCloseDevice() called.", 5000));
    EXPECT_TRUE(waitFor([] { return !cameraMutexExists(); }, 5000));
    DestroyWindow(hOther);
    CloseHandle(hSaver);
}

TEST_F(ServeCameraTest, AKilledSettingsProgramIsNoticedAndTheNextCameraSessionBringsItBack)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    auto app = capture(30);
    ASSERT_TRUE(m_inst.waitForStandIn("announced 0", kLaunchMs + 5000));
    HWND hStandIn = findStandInWindow();
    ASSERT_NE(nullptr, hStandIn);
    DWORD standInId = 0;
    GetWindowThreadProcessId(hStandIn, &standInId);
    HANDLE hStandInProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, standInId);
    ASSERT_NE(nullptr, hStandInProcess);
    EXPECT_TRUE(TerminateProcess(hStandInProcess, 9));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hStandInProcess, kExitMs));
    CloseHandle(hStandInProcess);

    // The service notices without a word from the settings program and watches the camera again.
    ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnTimer() - KivoSet has gone.", 5000));
    EXPECT_TRUE(waitFor([&] { return !trayIconShown(hServe); }, 2000));
    app->kill();
    EXPECT_TRUE(waitFor([] { return !cameraMutexExists(); }, 5000)) << "the camera mutex goes with the camera";

    int launches = m_inst.logCount("no exist Flickmix");
    auto again = capture(30);
    EXPECT_TRUE(m_inst.waitForLog("no exist Flickmix", kLaunchMs, launches + 1));
    EXPECT_TRUE(waitFor(
        [&] {
            std::vector<std::string> lines = m_inst.standInLines();
            return std::count(lines.begin(), lines.end(), "announced 0") == 2;
        },
        5000));
}

TEST_F(ServeCameraTest, NoCameraEndsTheServiceUnlessOneIsDeclaredAndArrivalRebuildsTasks)
{
    ASSERT_EQ(0u, kivocam(L"remove 0"));
    {
        TestProcess serve = m_inst.start(L"KivoServe.exe");
        ASSERT_TRUE(serve.waitExit(kExitMs));
    }
    EXPECT_TRUE(m_inst.logHas("KivoServeFrame::OnCreate() - KivoServ is closed for camera is not exist."));

    setExternalCameraInstalled(true);
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    EXPECT_FALSE(m_serve->waitExit(500));
    ASSERT_EQ(0u, kivocam(L"add"));
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnDeviceChange() openDriver call.", 5000));
    auto app = capture(30);
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnOpenDevice() called.", 5000));
}

// Removals also move the later cameras down: the settings program is told the index the camera has
// now, and its own task opens on it.
TEST_F(ServeCameraTest, EachRemovalReleasesTheTaskOfTheRemovedCameraOnlyAndThePanelGetsTheCurrentIndex)
{
    ASSERT_EQ(0u, kivocam(L"add --external"));
    ASSERT_EQ(0u, kivocam(L"add --external"));
    ASSERT_NE(nullptr, startService());   // watching cameras 0, 1 and 2
    ASSERT_EQ(0u, kivocam(L"remove 0"));
    ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnRemoveDevice() called.", 5000));
    ASSERT_EQ(0u, kivocam(L"remove 0"));   // the camera first watched as 1
    ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnRemoveDevice() called.", 5000, 2));
    // The camera first watched as 2, now the only one, is still watched.
    auto app = capture(30, L"0");
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnOpenDevice() called.", 5000));
    ASSERT_TRUE(m_inst.waitForStandIn("announced 0", kLaunchMs + 5000));
    DWORD cameraIdx = ~0u;
    EXPECT_TRUE(readSetting(KIVO_VALUE_CAMERA_IDX, cameraIdx));
    EXPECT_EQ(0u, cameraIdx);
    EXPECT_TRUE(m_inst.waitForStandIn("task 0", 5000)) << "the settings program could not open its camera";
}

TEST_F(ServeCameraTest, ADeviceThatKeepsFailingEndsTheCameraScanAndTheServiceStaysReachable)
{
    vcam::Device admin;
    ASSERT_TRUE(admin.open());
    {
        vcam::DeviceStore::Lock lock(admin.store());
        ASSERT_TRUE(lock.held());
        admin.store().state()->cameraCount = 99;   // damaged: every open fails
    }
    setExternalCameraInstalled(true);
    const std::string failed = "KivoServeFrame::openDriver() - IImgFAccessTask::Open(0) failed(5).";
    ASSERT_NE(nullptr, startService());
    ASSERT_TRUE(m_inst.waitForLog(failed, 5000)) << "the service never finished scanning for cameras";
    ASSERT_TRUE(haltService(m_inst, *m_serve, kExitMs));
    EXPECT_EQ(1, m_inst.logCount(failed));
}

TEST_F(ServeCameraTest, LockAndUnlockReleaseAndRebuildTheTasks)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    sessionChange(hServe, WTS_SESSION_LOCK);
    EXPECT_TRUE(m_inst.logHas("KivoServeFrame::OnWTSSessionChange( 0x07 )"));
    EXPECT_TRUE(m_inst.logHas("KivoServeFrame::OnWTSSessionChange() clearAccessTaskList call!"));
    // While locked, nothing watches the camera, and an arrival changes nothing.
    {
        auto app = capture(2);
        ASSERT_TRUE(app->waitExit(10000));
    }
    EXPECT_FALSE(m_inst.logHas("KivoServeFrame::OnOpenDevice() called."));

    sessionChange(hServe, WTS_SESSION_UNLOCK);
    EXPECT_TRUE(m_inst.logHas("KivoServeFrame::OnWTSSessionChange() openDriver call!"));
    auto app = capture(30);
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnOpenDevice() called.", 5000));
}

TEST_F(ServeCameraTest, ConsoleDisconnectHoldsUntilConnectAndOtherSessionsAreIgnored)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    DWORD session = 0;
    ProcessIdToSessionId(GetCurrentProcessId(), &session);
    SendMessageW(hServe, WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, session + 1);
    EXPECT_FALSE(m_inst.logHas("KivoServeFrame::OnWTSSessionChange() clearAccessTaskList call!"));

    sessionChange(hServe, WTS_CONSOLE_DISCONNECT);
    sessionChange(hServe, WTS_SESSION_LOCK);
    sessionChange(hServe, WTS_SESSION_UNLOCK);   // still disconnected: nothing reopens
    EXPECT_FALSE(m_inst.logHas("KivoServeFrame::OnWTSSessionChange() openDriver call!"));

    ASSERT_EQ(0u, kivocam(L"turn 0 rear"));
    sessionChange(hServe, WTS_CONSOLE_CONNECT);
    EXPECT_TRUE(m_inst.logHas("KivoServeFrame::OnWTSSessionChange() openDriver call!"));
    // Connecting re-applies the stored direction (front, the default).
    EXPECT_EQ("front", cameraDirection(m_inst, 0));

    // The locked session taken over remotely, in Windows' order: the remote connect ends the
    // disconnected state as the console's does, so that a later unlock opens the cameras again.
    const std::string reopened = "KivoServeFrame::OnWTSSessionChange() openDriver call!";
    for (WPARAM event : {WTS_SESSION_LOCK, WTS_CONSOLE_DISCONNECT, WTS_REMOTE_CONNECT, WTS_SESSION_UNLOCK,
                         WTS_SESSION_LOCK, WTS_SESSION_UNLOCK})
        sessionChange(hServe, event);
    EXPECT_EQ(3, m_inst.logCount(reopened));
    auto app = capture(30);
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnOpenDevice() called.", 5000));
    // A remote disconnect holds as the console's does.
    for (WPARAM event : {WTS_REMOTE_DISCONNECT, WTS_SESSION_LOCK, WTS_SESSION_UNLOCK})
        sessionChange(hServe, event);
    EXPECT_EQ(3, m_inst.logCount(reopened));
}

TEST_F(ServeCameraTest, ResumeReappliesTheStoredDirectionAndStoresAMissingOrUnknownValueAsFront)
{
    writeSetting(KIVO_VALUE_CAMERA_DIR, 1);
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    EXPECT_TRUE(waitFor([&] { return cameraDirection(m_inst, 0) == "rear"; }, 5000))
        << "the stored direction is applied at start";

    // A resume as Windows reports it when a user is there: the automatic resume, then the one for
    // the user. The camera turns once, at the first.
    resetSettings();
    ASSERT_EQ(0u, kivocam(L"turn 0 rear"));
    SendMessageW(hServe, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ("front", cameraDirection(m_inst, 0));
    DWORD stored = 7;
    ASSERT_TRUE(readSetting(KIVO_VALUE_CAMERA_DIR, stored));
    EXPECT_EQ(0u, stored);
    ASSERT_EQ(0u, kivocam(L"turn 0 rear"));
    SendMessageW(hServe, WM_POWERBROADCAST, PBT_APMRESUMESUSPEND, 0);
    EXPECT_EQ("rear", cameraDirection(m_inst, 0));

    // A stored value that is no direction counts as missing.
    writeSetting(KIVO_VALUE_CAMERA_DIR, 7);
    ASSERT_EQ(0u, kivocam(L"turn 0 rear"));
    SendMessageW(hServe, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    EXPECT_EQ("front", cameraDirection(m_inst, 0));
    ASSERT_TRUE(readSetting(KIVO_VALUE_CAMERA_DIR, stored));
    EXPECT_EQ(0u, stored);

    // Other power events do nothing.
    ASSERT_EQ(0u, kivocam(L"turn 0 rear"));
    EXPECT_EQ(TRUE, SendMessageW(hServe, WM_POWERBROADCAST, PBT_APMSUSPEND, 0));
    EXPECT_EQ("rear", cameraDirection(m_inst, 0));
}

TEST_F(ServeCameraTest, FrontAndRearTurnTheCameraOnceWithoutTouchingTheStoredDirection)
{
    TestProcess rear = m_inst.start(L"KivoServe.exe", L"/rear");
    ASSERT_TRUE(rear.waitExit(kExitMs));
    EXPECT_EQ("rear", cameraDirection(m_inst, 0));
    TestProcess front = m_inst.start(L"KivoServe.exe", L"/Front");
    ASSERT_TRUE(front.waitExit(kExitMs));
    EXPECT_EQ("front", cameraDirection(m_inst, 0));
    DWORD stored = 7;
    EXPECT_FALSE(readSetting(KIVO_VALUE_CAMERA_DIR, stored));
}

} // namespace
