// The service's launches as a user or the system makes them: halting, a second instance, turning the
// camera once, and a missing driver or locale library.
#include "ServeSystem.h"

#include "KivoNames.h"
#include "ObserveApp.h"

#include <gtest/gtest.h>

using namespace serve;

namespace {

const DWORD kStartMs = 10000;
const DWORD kExitMs = 10000;

class ServeLaunchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSettings();
        // Keeps a resident service without a camera, so that these tests do not depend on one.
        setExternalCameraInstalled(true);
    }
    void TearDown() override { setExternalCameraInstalled(false); }

    Installation m_inst;
};

// With the stand-in: it records the switch each settings-program launch got, which the real program
// leaves no trace of. The real panel ending on a halt is in ServePairTest.cpp.
TEST_F(ServeLaunchTest, HaltEndsTheResidentServiceAndHaltsTheSettingsProgram)
{
    for (const wchar_t* haltSwitch : {L"/Halt", L"/hALTaLL"}) {
        TestProcess resident = m_inst.start(L"KivoServe.exe");
        ASSERT_NE(nullptr, waitForFrameWindow(resident.id(), kStartMs));

        TestProcess halt = m_inst.start(L"KivoServe.exe", haltSwitch);
        ASSERT_TRUE(halt.waitExit(kExitMs));
        EXPECT_TRUE(resident.waitExit(kExitMs)) << "resident service still runs after " << haltSwitch;
    }
    EXPECT_TRUE(m_inst.waitForStandIn("halt [/HaltAll]", 5000));
    EXPECT_EQ((std::vector<std::string>{"halt [/Halt]", "halt [/HaltAll]"}), m_inst.standInLines());
    // Every launch, one-shot or resident, ends through ExitInstance.
    EXPECT_EQ(4, m_inst.logCount("KivoServeApp::ExitInstance()"));
}

TEST_F(ServeLaunchTest, OneServicePerSessionAndOnlyExactSwitchesAreCommands)
{
    // A switch with a trailing blank is no switch: this is a normal resident start.
    TestProcess resident = m_inst.start(L"KivoServe.exe", L"/Halt ");
    HWND hFrame = waitForFrameWindow(resident.id(), kStartMs);
    ASSERT_NE(nullptr, hFrame);
    EXPECT_FALSE(IsWindowVisible(hFrame));
    WCHAR title[8] = L"x";
    GetWindowTextW(hFrame, title, ARRAYSIZE(title));
    EXPECT_STREQ(L"", title);

    TestProcess second = m_inst.start(L"KivoServe.exe");
    ASSERT_TRUE(second.waitExit(kExitMs)) << "a second service in the session must exit at once";
    EXPECT_EQ(nullptr, findFrameWindow(second.id()));
    EXPECT_TRUE(resident.running());

    TestProcess halt = m_inst.start(L"KivoServe.exe", L"/halt");
    ASSERT_TRUE(halt.waitExit(kExitMs));
    EXPECT_TRUE(resident.waitExit(kExitMs));
}

TEST_F(ServeLaunchTest, HaltWithNothingRunningLeavesNoPendingRequest)
{
    {
        TestProcess halt = m_inst.start(L"KivoServe.exe", L"/Halt");
        ASSERT_TRUE(halt.waitExit(kExitMs));
    }
    // The request vanished with the halting process: a later service keeps running.
    TestProcess resident = m_inst.start(L"KivoServe.exe");
    ASSERT_NE(nullptr, waitForFrameWindow(resident.id(), kStartMs));
    EXPECT_FALSE(resident.waitExit(500));
    EXPECT_TRUE(haltService(m_inst, resident, kExitMs));
}

TEST_F(ServeLaunchTest, AServiceStartedWhileAHaltIsStillSetEnds)
{
    // As when a halting launch, or an older instance on its way out, still holds the set event: the
    // new instance's observer reports at once, before the frame exists.
    {
        CObserveApp halting(KIVO_SERVE_OBSERVER_NAME);
        ASSERT_TRUE(halting.ShutdownUser());
        TestProcess resident = m_inst.start(L"KivoServe.exe");
        EXPECT_TRUE(resident.waitExit(kExitMs)) << "the halt request was lost";
    }
    // Once nobody holds the set event, a new service stays.
    TestProcess resident = m_inst.start(L"KivoServe.exe");
    ASSERT_NE(nullptr, waitForFrameWindow(resident.id(), kStartMs));
    EXPECT_FALSE(resident.waitExit(500));
}

TEST_F(ServeLaunchTest, WithoutTheLocaleLibraryTheServiceDoesNotStart)
{
    Installation noLocale({L"KivoLocale.dll"});
    TestProcess resident = noLocale.start(L"KivoServe.exe");
    ASSERT_TRUE(resident.waitExit(kExitMs));
    EXPECT_TRUE(noLocale.logHas("KivoServeApp::ExitInstance()"));
}

TEST_F(ServeLaunchTest, DirectionSwitchesWithoutTheDriverLibraryLogAndExit)
{
    Installation noDriver({L"OrvUtils.dll"});
    for (const wchar_t* sw : {L"/Front", L"/REAR"}) {
        TestProcess turn = noDriver.start(L"KivoServe.exe", sw);
        ASSERT_TRUE(turn.waitExit(kExitMs));
    }
    EXPECT_EQ(2, noDriver.logCount("KivoServeFrame::InitInstance() OrvUtils.dll Init failed."));
    EXPECT_EQ(2, noDriver.logCount("KivoServeApp::ExitInstance()"));
    DWORD dir = 7;
    EXPECT_FALSE(readSetting(KIVO_VALUE_CAMERA_DIR, dir)) << "the one-shot turn never touches CameraDir";
}

} // namespace
