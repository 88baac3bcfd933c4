// The whole system when one of its processes is killed, over many camera sessions, and with every
// stored setting damaged: the real KivoServe and KivoSet with kivocap as the capturing application.
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
const DWORD kWatchMs = 5000;     // the service looks for its panel once a second
const DWORD kFilterWaitMs = 200;   // how long the application waits for the panel per frame
const DWORD kPatientWaitMs = 1000;   // long enough that only a frame the panel never completes passes

bool killProcess(DWORD processId)
{
    HANDLE hProcess = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, processId);
    if (!hProcess)
        return false;
    bool killed = TerminateProcess(hProcess, 9) && WaitForSingleObject(hProcess, kExitMs) == WAIT_OBJECT_0;
    CloseHandle(hProcess);
    return killed;
}

// Values of the settings key written as they come, whatever their type.
void writeRaw(const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, type, data, size);
}

void writeText(const wchar_t* name, const std::wstring& text)
{
    writeRaw(name, REG_SZ, text.c_str(), DWORD((text.size() + 1) * sizeof(wchar_t)));
}

// One way of damaging every value: what the numbers kept as DWORDs become, and what the numbers kept
// as text (the camera properties of each direction) become.
struct Damage {
    const char* name;
    bool numbersAsText;       // DWORD values stored as REG_SZ "7" instead
    DWORD number;
    bool textAsNumbers;       // text values stored as REG_DWORD instead
    std::wstring text;
};

void damageEverySetting(const Damage& damage)
{
    const wchar_t* numbers[] = {KIVO_VALUE_SERVE_HANDLE, KIVO_VALUE_CAMERA_IDX,      KIVO_VALUE_CAMERA_DIR,
                                KIVO_VALUE_AUTO_STARTUP, KIVO_VALUE_FRAME_IDX,       KIVO_VALUE_ZOOM_IDX,
                                KIVO_VALUE_HORIZONTAL_OFFSET, KIVO_VALUE_VERTICAL_OFFSET,
                                KIVO_VALUE_NO_DISP_ALERT_EFFECT};
    for (const wchar_t* name : numbers) {
        if (damage.numbersAsText)
            writeText(name, L"7");
        else
            writeRaw(name, REG_DWORD, &damage.number, sizeof(damage.number));
    }
    for (int direction = -1; direction <= 1; ++direction) {
        for (int id = 0; id <= 54; ++id) {
            wchar_t name[32];
            swprintf(name, ARRAYSIZE(name), id < 10 ? KIVO_VALUE_PROPERTY_FORMAT : KIVO_VALUE_CUSTOM_PROPERTY_FORMAT,
                     direction, id);
            if (id >= 10 && id < 43)
                continue;
            if (damage.textAsNumbers)
                writeRaw(name, REG_DWORD, &damage.number, sizeof(damage.number));
            else
                writeText(name, damage.text);
        }
    }
}

bool cameraMutexExists()
{
    HANDLE hMutex = OpenMutexW(SYNCHRONIZE, FALSE, KIVO_CAMERA_MUTEX);
    if (hMutex)
        CloseHandle(hMutex);
    return hMutex != nullptr;
}

class ServeSurvivalTest : public PairFixture {
protected:
    // kivocap holding camera 0 open, 320x240 RGB24 at 15 fps, with its summary captured.
    std::unique_ptr<TestProcess> capture(DWORD seconds, DWORD filterWaitMs = kFilterWaitMs)
    {
        kivotest::LaunchOptions options;
        options.folder = m_inst.dir();
        options.captureOutput = true;
        return std::make_unique<TestProcess>(m_inst.file(L"kivocap.exe"),
                                             L"--camera 0 --size 320x240 --format rgb24 --fps 15 --filter-wait " +
                                                 std::to_wstring(filterWaitMs) + L" --duration " +
                                                 std::to_wstring(seconds),
                                             options);
    }

    // A camera session up to the panel having its camera; the panel's window.
    HWND panelOfNewSession(std::unique_ptr<TestProcess>& app, DWORD seconds, DWORD filterWaitMs = kFilterWaitMs)
    {
        int opened = m_inst.logCount("CKivoSetDlg::OnOpenDevice() called.");
        app = capture(seconds, filterWaitMs);
        HWND hPanel = waitForPanelWindow(m_inst, kLaunchMs);
        if (hPanel && !m_inst.waitForLog("CKivoSetDlg::OnOpenDevice() called.", 5000, opened + 1))
            return nullptr;
        return hPanel;
    }
};

// The application waits for a dead panel no longer than its deadline and loses no frame; the
// service notices, watches again and shows the panel at the next open.
TEST_F(ServeSurvivalTest, AKilledPanelCostsTheApplicationNoFrameAndTheNextOpenBringsItBack)
{
    ASSERT_NE(nullptr, startService());
    std::unique_ptr<TestProcess> app;
    const DWORD seconds = 8;
    HWND hPanel = panelOfNewSession(app, seconds);
    ASSERT_NE(nullptr, hPanel);
    kivotest::pumpMessagesFor(1000);   // frames through the panel
    DWORD panelProcess = processOfWindow(hPanel);
    ASSERT_TRUE(killProcess(panelProcess));
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnTimer() - KivoSet has gone.", kWatchMs));

    ASSERT_TRUE(app->waitExit(20000));
    std::string summary = app->output();
    EXPECT_GT(numberAfter(summary, "processed"), 0) << summary;
    EXPECT_GE(numberAfter(summary, "frames"), 15.0 * seconds - 2) << "frames lost:\n" << summary;
    // The one frame the panel held when it died waited at most the deadline; scheduling on a loaded
    // machine adds to it.
    EXPECT_LT(numberAfter(summary, "max"), (kFilterWaitMs + 400) * 1000.0) << summary;
    EXPECT_TRUE(waitFor([] { return !cameraMutexExists(); }, 5000)) << "the camera mutex outlived the camera";

    HWND hNext = panelOfNewSession(app, 30);
    ASSERT_NE(nullptr, hNext) << "no panel at the next open";
    EXPECT_NE(panelProcess, processOfWindow(hNext));
}

// The application dies with the panel up: its camera counts as closed, the panel ends and tells the
// service, which watches again and shows the panel at the next open.
TEST_F(ServeSurvivalTest, AKilledApplicationEndsThePanelAndTheServiceWatchesAgain)
{
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    std::unique_ptr<TestProcess> app;
    HWND hPanel = panelOfNewSession(app, 60);
    ASSERT_NE(nullptr, hPanel);
    DWORD panelProcess = processOfWindow(hPanel);
    EXPECT_TRUE(waitFor([&] { return trayIconShown(hServe); }, 2000));

    app->kill();
    EXPECT_TRUE(waitForProcessEnd(panelProcess, kExitMs)) << "the panel outlived its application";
    EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnKivoSetClose() called.", 5000));
    EXPECT_FALSE(m_inst.logHas("KivoServeFrame::OnTimer() - KivoSet has gone.")) << "the panel ended without a word";
    EXPECT_TRUE(waitFor([&] { return !trayIconShown(hServe); }, 2000));
    EXPECT_TRUE(waitFor([] { return !cameraMutexExists(); }, 5000));

    HWND hNext = panelOfNewSession(app, 30);
    ASSERT_NE(nullptr, hNext) << "no panel at the next open";
    EXPECT_NE(panelProcess, processOfWindow(hNext));
}

// With the service gone the panel still answers its user and processes every frame; when the
// application closes the camera it ends as usual.
TEST_F(ServeSurvivalTest, AKilledServiceLeavesThePanelWorkingUntilTheCameraCloses)
{
    writeSetting(KIVO_VALUE_AUTO_STARTUP, 1);
    ASSERT_NE(nullptr, startService());
    std::unique_ptr<TestProcess> app;
    HWND hPanel = panelOfNewSession(app, 8, kPatientWaitMs);
    ASSERT_NE(nullptr, hPanel);
    ASSERT_TRUE(waitFor([&] { return IsWindowVisible(hPanel) != FALSE; }, kLaunchMs));   // shown after the service answers
    DWORD panelProcess = processOfWindow(hPanel);
    m_serve->kill();

    // The user freezes the picture, then closes the panel, which only hides it.
    EXPECT_TRUE(choosePanelEntry(hPanel, IDC_MODE_LIST, 1));
    kivotest::pumpMessagesFor(1000);
    PostMessageW(hPanel, WM_CLOSE, 0, 0);
    EXPECT_TRUE(waitFor([&] { return !IsWindowVisible(hPanel); }, 5000));
    EXPECT_FALSE(waitForProcessEnd(panelProcess, 0)) << "the panel ended with the service";

    ASSERT_TRUE(app->waitExit(20000));
    EXPECT_TRUE(waitForProcessEnd(panelProcess, kExitMs)) << "the panel outlived the camera";
    std::string summary = app->output();
    double processed = numberAfter(summary, "processed");
    double passed = numberAfter(summary, "passed-through");
    double unfiltered = numberAfter(summary, "filter");   // "(no filter N)": before the panel was there
    EXPECT_GT(processed, 30) << summary;
    EXPECT_EQ(0, passed - unfiltered) << "frames the panel did not process:\n" << summary;
    EXPECT_TRUE(m_inst.waitForLog("CKivoSetApp::ExitInstance()", 5000));
}

// Camera sessions with the real panel one after another: the service's kernel handles and GDI
// objects stay where the first session left them (./kivo bench sessions runs 200 of them).
TEST_F(ServeSurvivalTest, SessionAfterSessionTheServiceKeepsNoHandleOrGdiObject)
{
    ASSERT_NE(nullptr, startService());
    const DWORD serve = m_serve->id();
    long handlesAfterFirst = 0, gdiAfterFirst = 0;
    for (int session = 1; session <= 5; ++session) {
        SCOPED_TRACE(session);
        int closes = m_inst.logCount("KivoServeFrame::OnKivoSetClose() called.");
        std::unique_ptr<TestProcess> app;
        HWND hPanel = panelOfNewSession(app, 6);
        ASSERT_NE(nullptr, hPanel);
        ASSERT_TRUE(app->waitExit(20000));
        ASSERT_TRUE(waitForProcessEnd(processOfWindow(hPanel), kExitMs));
        ASSERT_TRUE(m_inst.waitForLog("KivoServeFrame::OnKivoSetClose() called.", 5000, closes + 1));
        kivotest::pumpMessagesFor(300);
        long handles = kivotest::kernelHandleCount(serve), gdi = kivotest::gdiObjectCount(serve);
        ASSERT_GT(handles, 0);
        ASSERT_GT(gdi, 0);
        if (session == 1) {
            handlesAfterFirst = handles;
            gdiAfterFirst = gdi;
        }
        EXPECT_LE(handles, handlesAfterFirst + 2) << "kernel handles of the service";
        EXPECT_LE(gdi, gdiAfterFirst + 2) << "GDI objects of the service";
    }
}

// Every value of the settings key damaged: of the wrong type, huge, negative, text without digits
// or far too long. Each time the service starts, a camera session brings up the panel, the frames are
// processed, and both programs carry on with values that make sense.
TEST_F(ServeSurvivalTest, DamagedSettingsGiveAWorkingSessionWithSoundValues)
{
    const Damage damages[] = {
        {"wrong type", true, 0, true, L""},
        {"huge", false, 0x7FFFFFFF, false, L"99999999999999999999999"},
        {"negative", false, DWORD(-10), false, L"-99999999999"},
        {"no digits", false, 0x80000000, false, L" -x7"},
        {"too long", false, 0xFFFFFFFF, false, std::wstring(100000, L'9')},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.name);
        resetSettings();
        damageEverySetting(damage);
        int sessions = m_inst.logCount("KivoServeFrame::OnKivoSetClose() called.");
        HWND hServe = startService();
        ASSERT_NE(nullptr, hServe);
        std::unique_ptr<TestProcess> app;
        HWND hPanel = panelOfNewSession(app, 6, kPatientWaitMs);
        ASSERT_NE(nullptr, hPanel);
        DWORD panelProcess = processOfWindow(hPanel);
        // The effect lists are restored with the first frame.
        EXPECT_TRUE(waitFor([&] { return IsWindowEnabled(GetDlgItem(hPanel, IDC_MODE_LIST)) != FALSE; }, 5000));
        kivotest::pumpMessagesFor(500);

        EXPECT_EQ("front", cameraDirection(m_inst, 0)) << "a stored direction that is none counts as front";
        DWORD value = ~0u;
        EXPECT_TRUE(readSetting(KIVO_VALUE_CAMERA_DIR, value));
        EXPECT_EQ(DWORD(KIVO_DIR_FRONT), value);
        EXPECT_EQ(0, SendMessageW(GetDlgItem(hPanel, IDC_ZOOM_LIST), CB_GETCURSEL, 0, 0));
        EXPECT_EQ(0, SendMessageW(GetDlgItem(hPanel, IDC_MODE_LIST), CB_GETCURSEL, 0, 0));
        EXPECT_TRUE(readSetting(KIVO_VALUE_FRAME_IDX, value));
        EXPECT_EQ(0u, value) << "a stored frame beyond the list is no frame";
        RECT panel = {};
        GetWindowRect(hPanel, &panel);
        EXPECT_NE(nullptr, MonitorFromRect(&panel, MONITOR_DEFAULTTONULL)) << "the panel is off every screen";

        ASSERT_TRUE(app->waitExit(20000));
        std::string summary = app->output();
        EXPECT_GT(numberAfter(summary, "processed"), 0) << summary;
        EXPECT_EQ(0, numberAfter(summary, "passed-through") - numberAfter(summary, "filter")) << summary;
        EXPECT_TRUE(waitForProcessEnd(panelProcess, kExitMs)) << "the panel outlived the camera";
        EXPECT_TRUE(m_inst.waitForLog("KivoServeFrame::OnKivoSetClose() called.", 5000, sessions + 1));
        EXPECT_TRUE(m_serve->running());

        ASSERT_TRUE(haltService(m_inst, *m_serve, kExitMs));
        EXPECT_EQ(0u, m_serve->exitCode());
    }
}

} // namespace
