// Start-up of the settings program: the halt switches, one panel per machine, a service that is gone,
// a missing locale library, and a service that does not answer.
#include "PanelRig.h"

#include "KivoNames.h"

#include <gtest/gtest.h>

#include <thread>

using namespace kivoset;

namespace {
const wchar_t kCaption[] = L"Kivo Camera";
const char kNoServeLine[] = "CKivoSetDlg::OnInitDialog() m_serveHWnd is not available.";
}

TEST(KivoSetStart, HaltSwitchesInAnyCaseEndTheRunningPanelAndASecondLaunchShowsNothing)
{
    PanelRig rig;
    ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 10 --duration 60"));
    size_t closes = 0;
    for (const wchar_t* haltSwitch : {L"/hALTaLL", L"/halt"}) {
        SCOPED_TRACE(haltSwitch);
        ASSERT_TRUE(rig.startKivoSet());
        ASSERT_TRUE(rig.waitForPanel());

        kivotest::TestProcess second(rig.file(L"KivoSet.exe"), L"");
        ASSERT_TRUE(second.waitExit(10000));
        EXPECT_EQ(nullptr, kivotest::findTopLevelWindow(second.id(), L"#32770"));
        EXPECT_TRUE(rig.kivoSet().running());

        kivotest::TestProcess halt(rig.file(L"KivoSet.exe"), haltSwitch);
        ASSERT_TRUE(halt.waitExit(10000));
        EXPECT_TRUE(kivotest::waitFor([&] { return !rig.kivoSet().running(); }, 10000));
        ++closes;
        EXPECT_TRUE(kivotest::waitFor([&] { return rig.serveCount(L"close") == closes; }, 5000));
        EXPECT_EQ(0u, rig.kivoSet().exitCode());
    }
    EXPECT_EQ(2, rig.log().count("CKivoSetDlg::OnDestroy()"));
}

// The box that says the service is not running waits for the user, but neither keeps the next
// camera session from its panel nor outlives a halt.
TEST(KivoSetStart, AServiceWindowThatIsGoneGetsTheErrorBoxAndNoLocaleLibraryEndsSilently)
{
    {
        PanelRig rig;
        HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        DestroyWindow(gone);
        writeSetting(KIVO_VALUE_SERVE_HANDLE, DWORD(reinterpret_cast<UINT_PTR>(gone)));
        kivotest::TestProcess lost(rig.file(L"KivoSet.exe"), L"");
        HWND box = kivotest::waitForDialog(lost.id(), kCaption, 10000);
        ASSERT_NE(nullptr, box);
        EXPECT_NE(std::wstring::npos, kivotest::windowText(GetDlgItem(box, 0xFFFF)).find(L"not running"));

        writeSetting(KIVO_VALUE_SERVE_HANDLE, DWORD(reinterpret_cast<UINT_PTR>(rig.serveWindow())));
        ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 10 --duration 60"));
        ASSERT_TRUE(rig.startKivoSet());
        EXPECT_NE(nullptr, rig.waitForPanel());
        EXPECT_TRUE(rig.log().waitFor("CKivoSetDlg::OnOpenDevice() called.", 10000));

        kivotest::TestProcess halt(rig.file(L"KivoSet.exe"), L"/HaltAll");
        ASSERT_TRUE(halt.waitExit(10000));
        EXPECT_TRUE(lost.waitExit(1000));
        EXPECT_TRUE(rig.kivoSet().waitExit(5000));
        EXPECT_EQ(0u, lost.exitCode());
        EXPECT_TRUE(rig.log().has(kNoServeLine));
        EXPECT_TRUE(kivotest::waitFor([&] { return rig.serveHeard(L"close"); }, 3000));
        EXPECT_EQ(1u, rig.serveCount(L"open"));
    }
    {
        PanelRig rig({L"KivoLocale.dll"});
        ASSERT_TRUE(rig.startKivoSet());
        EXPECT_TRUE(rig.kivoSet().waitExit(10000));
        EXPECT_EQ(nullptr, kivotest::findTopLevelWindow(rig.kivoSet().id(), L"#32770"));
        EXPECT_FALSE(rig.log().has(kNoServeLine));
        EXPECT_TRUE(rig.serve().names.empty());
    }
}

// A service whose thread does not take messages: the panel waits a bounded time and goes on.
TEST(KivoSetStart, AServiceThatDoesNotAnswerDoesNotStopThePanel)
{
    PanelRig rig;
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HWND hung = nullptr;
    std::thread hungService([&] {
        HWND hWnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
        hung = hWnd;
        WaitForSingleObject(release, 60000);
        DestroyWindow(hWnd);
    });
    ASSERT_TRUE(kivotest::waitFor([&] { return hung != nullptr; }, 5000));
    writeSetting(KIVO_VALUE_SERVE_HANDLE, DWORD(reinterpret_cast<UINT_PTR>(hung)));
    ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 10 --duration 60"));
    ASSERT_TRUE(rig.startKivoSet());

    EXPECT_TRUE(rig.log().waitFor("CKivoSetDlg::OnOpenDevice() called.", 15000));
    // Past the first tick of the open timer the panel still runs: it got its camera.
    kivotest::pumpMessagesFor(2000);
    EXPECT_TRUE(rig.kivoSet().running());
    SetEvent(release);
    hungService.join();
    CloseHandle(release);
}

// The service answers "open" by telling the panel that the camera closed: the panel's window is
// destroyed before its creation ends. The program ends instead of keeping the machine's instance
// mutex without a window, and nothing of the deleted panel runs on. A halt issued while the service
// is asked ends the panel too, though its camera stays open; the next launch gets a panel.
TEST(KivoSetStart, APanelClosedOrHaltedWhileBeingCreatedEndsTheProgram)
{
    PanelRig rig;
    ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 10 --duration 60"));
    rig.serve().closeOnOpen = true;
    ASSERT_TRUE(rig.startKivoSet());
    EXPECT_TRUE(kivotest::waitFor([&] { return !rig.kivoSet().running(); }, 10000));
    EXPECT_TRUE(rig.serveHeard(L"close"));
    std::vector<std::string> afterPanel;
    bool panelGone = false;
    for (const std::string& line : rig.log().lines()) {
        if (panelGone)
            afterPanel.push_back(kivotest::logMessage(line));
        panelGone = panelGone || kivotest::logMessage(line) == "CKivoSetDlg::PostNcDestroy()";
    }
    EXPECT_EQ((std::vector<std::string>{"CKivoSetApp::InitInstance() the settings panel cannot be created.",
                                        "CKivoSetApp::ExitInstance()"}),
              afterPanel);
    rig.serve().closeOnOpen = false;

    rig.serve().onOpen = [&] {
        kivotest::TestProcess halt(rig.file(L"KivoSet.exe"), L"/HaltAll");
        EXPECT_TRUE(halt.waitExit(10000));
    };
    ASSERT_TRUE(rig.startKivoSet());
    EXPECT_TRUE(kivotest::waitFor([&] { return !rig.kivoSet().running(); }, 10000));
    EXPECT_EQ(0u, rig.kivoSet().exitCode());
    EXPECT_EQ(2, rig.log().count("CKivoSetDlg::OnDestroy()"));
    EXPECT_TRUE(kivotest::waitFor([&] { return rig.serveCount(L"close") == 2; }, 3000));
    rig.serve().onOpen = nullptr;

    ASSERT_TRUE(rig.startKivoSet());
    EXPECT_NE(nullptr, rig.waitForPanel());
    EXPECT_TRUE(rig.log().waitFor("CKivoSetDlg::OnOpenDevice() called.", 10000));
}
