// The service with the real settings program: a camera session from the open to the panel and back,
// the panel shown at once or through the tray icon, a halt that ends both programs, and the frame
// pipeline keeping every frame with every effect on. kivocap plays the capturing application.
#include "PairFixture.h"
#include "ServeSystem.h"

#include "KivoNames.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace serve;

namespace {

const DWORD kExitMs = 10000;
const DWORD kLaunchMs = 10000;   // the launch delay is about 2 s; this is its deadline

class ServePairTest : public PairFixture {
protected:
    // kivocap holding camera 0 open for the given seconds, 320x240 RGB24 at 15 frames a second.
    std::unique_ptr<TestProcess> capture(double seconds, const std::wstring& more = L"")
    {
        kivotest::LaunchOptions options;
        options.folder = m_inst.dir();
        options.captureOutput = true;
        WCHAR duration[32];
        swprintf(duration, ARRAYSIZE(duration), L"%.2f", seconds);
        return std::make_unique<TestProcess>(
            m_inst.file(L"kivocap.exe"),
            L"--camera 0 --size 320x240 --format rgb24 --fps 15 --duration " + std::wstring(duration) + more,
            options);
    }
};

TEST_F(ServePairTest, CameraSessionStartsThePanelHiddenAndTheCameraCloseEndsItAndTheCycleRepeats)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    for (int session = 1; session <= 2; ++session) {
        SCOPED_TRACE(session);
        auto app = capture(6);
        ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnOpenDevice() called.", 5000, session));
        DWORD opened = GetTickCount();
        HWND hPanel = waitForPanelWindow(m_inst, kLaunchMs);
        ASSERT_NE(nullptr, hPanel);
        EXPECT_GE(GetTickCount() - opened, 1500u) << "the panel comes about two seconds after the open";
        DWORD panelProcess = processOfWindow(hPanel);

        // AutoStartup is off: the service answers the panel's announcement with the tray icon and
        // leaves the panel hidden; the panel has the camera and its task.
        ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnKivoSetOpen() called.", 5000, session));
        EXPECT_TRUE(waitFor([&] { return trayIconShown(hServe); }, 2000));
        EXPECT_TRUE(m_inst.waitForLog("CKivoSetDlg::OnOpenDevice() called.", 5000, session));
        EXPECT_FALSE(IsWindowVisible(hPanel));

        // The application ends: the panel's task sees the close, the panel and its program end,
        // and the service drops the icon and the camera mutex and watches again.
        ASSERT_TRUE(app->waitExit(20000));
        EXPECT_TRUE(waitForProcessEnd(panelProcess, kExitMs)) << "KivoSet outlived the camera";
        EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnKivoSetClose() called.", 5000, session));
        EXPECT_TRUE(waitFor([&] { return !trayIconShown(hServe); }, 2000));
        HANDLE hCameraMutex = OpenMutexW(SYNCHRONIZE, FALSE, KIVO_CAMERA_MUTEX);
        EXPECT_EQ(nullptr, hCameraMutex) << "the camera mutex goes with the camera";
        if (hCameraMutex)
            CloseHandle(hCameraMutex);
    }
    EXPECT_EQ(2, m_inst.logCount("CKivoSetApp::ExitInstance()"));
}

// Applications that close and reopen the camera while they start: the first capture ends around
// the panel's launch (about 2 s after the open), before or after the panel announces itself, and the
// second follows at once. The second session gets a panel the service knows: its icon is in the tray
// while the panel processes the frames, and it ends with the camera.
TEST_F(ServePairTest, BackToBackCapturesAroundTheLaunchGiveTheNextSessionATrackedPanel)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    for (double first : {2.0, 2.05, 2.1, 2.15, 2.2, 2.5}) {
        SCOPED_TRACE(first);
        auto app = capture(first);
        ASSERT_TRUE(app->waitExit(kExitMs));
        auto next = capture(4, L" --filter-wait 1000");
        EXPECT_TRUE(waitFor([&] { return findPanelWindow(m_inst) && trayIconShown(hServe); }, kLaunchMs))
            << "the panel of the second session is hidden and unknown to the service";
        ASSERT_TRUE(next->waitExit(20000));
        EXPECT_GT(numberAfter(next->output(), "processed"), 0) << next->output();
        EXPECT_TRUE(waitFor([&] { return !findPanelWindow(m_inst) && !trayIconShown(hServe); }, kExitMs));
    }
}

TEST_F(ServePairTest, WithAutoStartupThePanelIsShownClosingItBringsTheIconAndAClickShowsItAgain)
{
    writeSetting(KIVO_VALUE_AUTO_STARTUP, 1);
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    auto app = capture(30);
    HWND hPanel = waitForPanelWindow(m_inst, kLaunchMs);
    ASSERT_NE(nullptr, hPanel);
    ASSERT_TRUE(waitFor([&] { return IsWindowVisible(hPanel) != FALSE; }, 5000));
    EXPECT_FALSE(trayIconShown(hServe));

    // The caption's close button only hides the panel; the service shows its icon instead.
    PostMessageW(hPanel, WM_CLOSE, 0, 0);
    ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnKivoSetHide() called.", 5000));
    EXPECT_FALSE(IsWindowVisible(hPanel));
    EXPECT_TRUE(waitFor([&] { return trayIconShown(hServe); }, 2000));

    // A left click on the icon removes it and brings the same panel back to the front; the user's
    // foreground lock time-out is left as it was.
    DWORD lockTimeout = 123456;
    SystemParametersInfoW(SPI_SETFOREGROUNDLOCKTIMEOUT, 0, reinterpret_cast<PVOID>(static_cast<UINT_PTR>(lockTimeout)), 0);
    SendMessageW(hServe, RegisterWindowMessageW(KIVO_MSG_TRAY_CALLBACK), 1, WM_LBUTTONDOWN);
    EXPECT_TRUE(waitFor([&] { return IsWindowVisible(hPanel) && GetForegroundWindow() == hPanel; }, 2000));
    EXPECT_FALSE(trayIconShown(hServe));
    EXPECT_EQ(hPanel, findPanelWindow(m_inst)) << "the click shows the running panel, no second one";
    DWORD after = 0;
    SystemParametersInfoW(SPI_GETFOREGROUNDLOCKTIMEOUT, 0, &after, 0);
    EXPECT_EQ(lockTimeout, after);
}

TEST_F(ServePairTest, HaltEndsTheServiceAndThePanelWhileTheCameraStaysOpen)
{
    ASSERT_NE(nullptr, startService());
    auto app = capture(30);
    HWND hPanel = waitForPanelWindow(m_inst, kLaunchMs);
    ASSERT_NE(nullptr, hPanel);
    ASSERT_TRUE(m_inst.waitForLog("CKivoSetDlg::OnOpenDevice() called.", 5000));
    DWORD panelProcess = processOfWindow(hPanel);

    EXPECT_TRUE(haltService(m_inst, *m_serve, kExitMs)) << "the resident service still runs";
    EXPECT_TRUE(waitForProcessEnd(panelProcess, kExitMs)) << "the panel still runs";
    EXPECT_TRUE(app->running()) << "the application keeps its camera";
    // The service's halt launch, its resident instance, KivoSet's halt launch and the panel's program.
    EXPECT_TRUE(m_inst.waitForLog("CKivoSetApp::ExitInstance()", 5000, 2));
}

// Every frame that reaches the panel comes back processed while the user goes through the effects:
// frame and zoom restored from the settings, then both zoom steps with and without the frame (each
// change makes the panel prepare the picture anew), freeze and both still pictures. The application
// waits up to a second per frame, so only a frame the panel never completes counts as passed through.
TEST_F(ServePairTest, PipelineKeepsEveryFrameWithEveryEffectOn)
{
    writeSetting(KIVO_VALUE_FRAME_IDX, 1);
    writeSetting(KIVO_VALUE_ZOOM_IDX, 2);
    ASSERT_NE(nullptr, startService());
    auto app = capture(10, L" --filter-wait 1000");
    HWND hPanel = waitForPanelWindow(m_inst, kLaunchMs);
    ASSERT_NE(nullptr, hPanel);
    HWND hZoom = GetDlgItem(hPanel, IDC_ZOOM_LIST);
    ASSERT_TRUE(waitFor([&] { return SendMessageW(hZoom, CB_GETCURSEL, 0, 0) == 2; }, 5000))
        << "the stored zoom is restored with the first frame";
    // One user action a step: a list choice, or (control 0) a frame chosen in the frame chooser.
    const UINT applyFrame = WM_USER + 10;   // the panel's message: wParam the frame list index
    const struct {
        int control, value;
    } steps[] = {{IDC_ZOOM_LIST, 1}, {0, 0}, {IDC_ZOOM_LIST, 2}, {0, 1}, {IDC_ZOOM_LIST, 1},
                 {IDC_MODE_LIST, 1}, {IDC_MODE_LIST, 2}, {IDC_MODE_LIST, 3}, {IDC_MODE_LIST, 0}};
    for (const auto& step : steps) {
        if (step.control)
            ASSERT_TRUE(choosePanelEntry(hPanel, step.control, step.value))
                << "list " << step.control << ", the panel " << (IsWindow(hPanel) ? "is there" : "has gone");
        else
            PostMessageW(hPanel, applyFrame, WPARAM(step.value), 0);
        kivotest::pumpMessagesFor(500);
    }
    ASSERT_TRUE(app->waitExit(20000));
    std::string summary = app->output();
    long frames = long(numberAfter(summary, "frames"));
    long processed = long(numberAfter(summary, "processed"));
    long passed = long(numberAfter(summary, "passed-through"));
    long unfiltered = long(numberAfter(summary, "filter"));   // "(no filter N)": before the panel was there
    EXPECT_GT(processed, 30) << summary;
    EXPECT_EQ(0, passed - unfiltered) << "frames dropped by the pipeline:\n" << summary;
    EXPECT_EQ(frames, processed + passed) << summary;
}

} // namespace
