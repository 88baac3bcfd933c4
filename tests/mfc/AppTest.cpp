// The application object: the message loop, its end, and what InitInstance sees of the command line.
#include "afxwin.h"

#include "ProbeIds.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const UINT WM_SWALLOWED = WM_USER + 5;
const UINT WM_DELIVERED = WM_USER + 6;
const UINT kLoopDeadlineMs = 5000;
const int kWatchdogExitCode = 99;

class LoopApp : public CWinApp {
public:
    int m_exits = 0;
    int ExitInstance() override
    {
        ++m_exits;
        return CWinApp::ExitInstance();
    }
};

// Counters outlive the frame, which deletes itself.
int g_delivered = 0;
int g_swallowedReached = 0;

class FilteringFrame : public CFrameWnd {
public:
    BOOL PreTranslateMessage(MSG* pMsg) override { return pMsg->message == WM_SWALLOWED; }

protected:
    afx_msg LRESULT OnSwallowed(WPARAM, LPARAM) { ++g_swallowedReached; return 0; }
    afx_msg LRESULT OnDelivered(WPARAM, LPARAM)
    {
        ++g_delivered;
        DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(FilteringFrame, CFrameWnd)
    ON_MESSAGE(WM_SWALLOWED, OnSwallowed)
    ON_MESSAGE(WM_DELIVERED, OnDelivered)
END_MESSAGE_MAP()

// Ends a loop that failed to end by itself, so that a broken loop fails the test instead of hanging it.
struct Watchdog {
    HANDLE hThread;
    HANDLE hStop;
    DWORD targetThread;
    explicit Watchdog(DWORD thread) : targetThread(thread)
    {
        hStop = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        hThread = CreateThread(nullptr, 0, &Watchdog::run, this, 0, nullptr);
    }
    ~Watchdog()
    {
        SetEvent(hStop);
        WaitForSingleObject(hThread, kLoopDeadlineMs);
        CloseHandle(hThread);
        CloseHandle(hStop);
    }
    static DWORD WINAPI run(LPVOID p)
    {
        auto* self = static_cast<Watchdog*>(p);
        if (WaitForSingleObject(self->hStop, kLoopDeadlineMs) == WAIT_TIMEOUT)
            PostThreadMessageW(self->targetThread, WM_QUIT, kWatchdogExitCode, 0);
        return 0;
    }
};

TEST(AppLoopTest, DestroyingTheMainWindowEndsTheLoopAndCallsExitInstance)
{
    LoopApp app;
    auto* frame = new FilteringFrame;
    ASSERT_TRUE(frame->Create(nullptr, L"main window"));
    app.m_pMainWnd = frame;
    EXPECT_EQ(frame, AfxGetMainWnd());

    PostMessageW(frame->m_hWnd, WM_SWALLOWED, 0, 0);
    PostMessageW(frame->m_hWnd, WM_DELIVERED, 0, 0);
    {
        Watchdog watchdog(GetCurrentThreadId());
        int rc = app.Run();
        EXPECT_NE(kWatchdogExitCode, rc) << "the loop did not end when the main window was destroyed";
        EXPECT_EQ(0, rc);
    }
    EXPECT_EQ(0, g_swallowedReached) << "PreTranslateMessage took the message before dispatch";
    EXPECT_EQ(1, g_delivered);
    EXPECT_EQ(1, app.m_exits);
    EXPECT_EQ(nullptr, app.m_pMainWnd);
}

// --- a real program started with exact command lines ---

struct ProbeRun {
    DWORD exitCode = 0;
    std::string output;
};

// Starts AppProbe.exe with this exact command line and waits for it.
ProbeRun runProbe(const std::wstring& commandLine)
{
    // Tests run in parallel processes: each run has an output file of its own.
    kivotest::ScratchFolder folder(L"AppProbe");
    kivotest::LaunchOptions options;
    options.environment = {{L"KIVO_PROBE_OUT", folder.file(L"probe.out")}};
    kivotest::TestProcess probe;
    ProbeRun run;
    if (!probe.startExact(kivotest::testsFile(L"AppProbe.exe"), commandLine, options)) {
        ADD_FAILURE() << "cannot start AppProbe.exe: " << probe.startError();
        return run;
    }
    EXPECT_TRUE(probe.waitExit(20000));
    run.exitCode = probe.exitCode();
    run.output = kivotest::readTextFile(folder.file(L"probe.out"));
    return run;
}

TEST(AppProbeTest, CommandTailIsWhatFollowsTheProgramNameAndItsBlanks)
{
    EXPECT_EQ("InitInstance []\nExitInstance\n", runProbe(L"prog.exe").output);
    EXPECT_EQ("InitInstance [/Halt]\nExitInstance\n", runProbe(L"prog.exe /Halt").output);
    EXPECT_EQ("InitInstance [/HaltAll ]\nExitInstance\n", runProbe(L"prog.exe  /HaltAll ").output);
    EXPECT_EQ("InitInstance [/Halt]\nExitInstance\n", runProbe(L"\"C:\\a b\\prog.exe\" /Halt").output);
    // The settings program is started with an empty program token before the switch.
    EXPECT_EQ("InitInstance [/Halt]\nExitInstance\n", runProbe(L" /Halt").output);
    EXPECT_EQ("InitInstance []\nExitInstance\n", runProbe(L"prog.exe   ").output);
}

TEST(AppProbeTest, ExitInstanceRunsAfterAFailedInitInstance)
{
    ProbeRun run = runProbe(L"prog.exe /fail");
    EXPECT_EQ("InitInstance [/fail]\nExitInstance\n", run.output);
    EXPECT_EQ(static_cast<DWORD>(kProbeExitBase), run.exitCode);
}

TEST(AppProbeTest, ResidentRunEndsWhenItsMainWindowCloses)
{
    ProbeRun run = runProbe(L"prog.exe /run");
    EXPECT_EQ("InitInstance [/run]\nOnCreate\nOnDestroy\nExitInstance\n", run.output);
    EXPECT_EQ(static_cast<DWORD>(kProbeExitBase), run.exitCode);
}

} // namespace
