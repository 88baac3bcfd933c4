// Help through the HTML Help control: the registered control first, the control on the library
// search path second, and no second attempt after a failure. A recording control stands in for the
// real one, which cannot render pages here.
#include "ServeSystem.h"

#include "KivoNames.h"

#include <gtest/gtest.h>

using namespace serve;

namespace {

const wchar_t kControlKey[] = L"CLSID\\{ADB880A6-D8FF-11CF-9377-00AA003B7A11}\\InprocServer32";
const UINT kTrayHelpCommand = 32776;

// Replaces the control's registered location for the test and puts the original back afterwards.
class ControlRegistration {
public:
    ControlRegistration()
    {
        WCHAR value[MAX_PATH] = {};
        DWORD size = sizeof(value);
        m_hadValue = RegGetValueW(HKEY_CLASSES_ROOT, kControlKey, nullptr, RRF_RT_REG_SZ, nullptr, value, &size) ==
                     ERROR_SUCCESS;
        m_original = value;
    }
    ~ControlRegistration()
    {
        if (m_hadValue)
            set(m_original);
        else
            remove();
    }
    void set(const std::wstring& path)
    {
        RegSetKeyValueW(HKEY_CLASSES_ROOT, kControlKey, nullptr, REG_SZ, path.c_str(),
                        static_cast<DWORD>((path.size() + 1) * sizeof(WCHAR)));
    }
    void remove() { RegDeleteKeyValueW(HKEY_CLASSES_ROOT, kControlKey, nullptr); }

private:
    bool m_hadValue = false;
    std::wstring m_original;
};

class ServeHelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetSettings();
        setExternalCameraInstalled(true);
        m_record = m_inst.file(L"help-calls.txt");
        SetEnvironmentVariableW(L"KIVO_HELP_RECORD", m_record.c_str());
    }
    void TearDown() override
    {
        if (m_serve && m_serve->running())
            haltService(m_inst, *m_serve, 10000);
        setExternalCameraInstalled(false);
    }

    HWND startService()
    {
        m_serve = m_inst.startOwned(L"KivoServe.exe");
        return waitForFrameWindow(m_serve->id(), 10000);
    }

    std::vector<std::string> calls() const { return kivotest::readTextLines(m_record); }

    std::string expectedCall() const
    {
        char path[MAX_PATH * 2];
        WideCharToMultiByte(CP_ACP, 0, m_inst.file(L"KivoSet.chm").c_str(), -1, path, sizeof(path), nullptr, nullptr);
        return std::string("file=") + path + " command=0 data=0";
    }

    Installation m_inst;
    ControlRegistration m_registration;
    std::wstring m_record;
    std::unique_ptr<TestProcess> m_serve;
};

TEST_F(ServeHelpTest, RegisteredControlShowsTheWholeHelpFileForEveryRequest)
{
    m_registration.set(kivotest::testsFile(L"RecordingHelp.dll"));
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    SendMessageW(hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_HELP), 5, 6);
    SendMessageW(hServe, WM_COMMAND, kTrayHelpCommand, 0);
    EXPECT_EQ((std::vector<std::string>{expectedCall(), expectedCall()}), calls());
    EXPECT_TRUE(m_inst.logHas("KivoServeFrame::OnKivoSetHelp() called."));
}

// Without a registered location the control is loaded by name from the library search path: here
// Wine's own, whose viewer window appears in the service's process.
TEST_F(ServeHelpTest, WithoutARegisteredLocationTheControlIsFoundOnTheSearchPath)
{
    m_registration.remove();
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    SendMessageW(hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_HELP), 0, 0);
    HWND hViewer = kivotest::waitForTopLevelWindow(m_serve->id(), L"HH Parent", nullptr, 10000);
    EXPECT_NE(nullptr, hViewer);
    if (hViewer)
        PostMessageW(hViewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(calls().empty());
}

TEST_F(ServeHelpTest, AfterOneFailureHelpIsNotTriedAgain)
{
    m_registration.set(kivotest::testsFile(L"NoEntryHelp.dll"));
    HWND hServe = startService();
    ASSERT_NE(nullptr, hServe);
    SendMessageW(hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_HELP), 0, 0);
    // A working control now registered is not looked at again by this process.
    m_registration.set(kivotest::testsFile(L"RecordingHelp.dll"));
    SendMessageW(hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_HELP), 0, 0);
    EXPECT_TRUE(calls().empty());
    EXPECT_EQ(2, m_inst.logCount("KivoServeFrame::OnKivoSetHelp() called."));
}

TEST_F(ServeHelpTest, NoHelpFileMeansNoHelp)
{
    Installation noHelp({L"KivoSet.chm", L"de\\KivoSet.chm"});
    m_registration.set(kivotest::testsFile(L"RecordingHelp.dll"));
    TestProcess serve = noHelp.start(L"KivoServe.exe");
    HWND hServe = waitForFrameWindow(serve.id(), 10000);
    ASSERT_NE(nullptr, hServe);
    SendMessageW(hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_HELP), 0, 0);
    EXPECT_TRUE(calls().empty());
    EXPECT_TRUE(haltService(noHelp, serve, 10000));
}

} // namespace
