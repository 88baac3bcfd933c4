// The installer and uninstaller in the test prefix, as an administrator and a user meet them: a
// silent install of an older version, the service started as the Run entry starts it at log-on, a
// camera session with the real panel, a silent upgrade over the running programs, and uninstalls
// that keep or (when asked) remove each user's settings; an interactive install clicked through to
// its end starts the service. Each test begins and ends with no installation in the prefix.
#include "TestSupport.h"

#include "KivoNames.h"
#include "resource.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using kivotest::TestProcess;
using kivotest::waitFor;

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kivo";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t kRunValue[] = L"KivoServe";
const wchar_t kMakerKey[] = L"Software\\Orvane Corporation";
const DWORD kInstallMs = 60000;
const DWORD kStartMs = 10000;

std::wstring knownFolder(int csidl)
{
    WCHAR path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)) ? path : L"";
}

std::wstring installFolder() { return knownFolder(CSIDL_PROGRAM_FILES) + L"\\Kivo"; }
std::wstring startMenuFolder() { return knownFolder(CSIDL_COMMON_PROGRAMS) + L"\\Kivo Camera"; }

// The installer speaks the user's display language: German for German, English for any other.
bool germanUser() { return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN; }
std::wstring userLogFile() { return knownFolder(CSIDL_LOCAL_APPDATA) + L"\\Kivo\\KivoLog.txt"; }

bool exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

bool keyExists(HKEY root, const std::wstring& key)
{
    HKEY hKey = nullptr;
    if (RegOpenKeyExW(root, key.c_str(), 0, KEY_READ, &hKey) != ERROR_SUCCESS)
        return false;
    RegCloseKey(hKey);
    return true;
}

// A string value, or "" when it is missing or not a string.
std::wstring readString(HKEY root, const wchar_t* key, const wchar_t* name)
{
    WCHAR value[1024] = {};
    DWORD size = sizeof(value);
    if (RegGetValueW(root, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
        return L"";
    return value;
}

bool readDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD& value)
{
    DWORD size = sizeof(value);
    return RegGetValueW(root, key, name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

bool settingsKeyExists() { return keyExists(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY); }

using kivotest::readSetting;
using kivotest::resetSettings;
using kivotest::writeSetting;

// While any service or settings program runs on the machine, its observer's machine-wide mutex exists.
bool programRunning(const wchar_t* observerName)
{
    std::wstring name = std::wstring(L"Global\\") + observerName + L"-MutexAll";
    HANDLE hMutex = OpenMutexW(SYNCHRONIZE, FALSE, name.c_str());
    if (hMutex)
        CloseHandle(hMutex);
    return hMutex != nullptr;
}

bool anyProgramRunning() { return programRunning(KIVO_SERVE_OBSERVER_NAME) || programRunning(KIVO_SET_OBSERVER_NAME); }

// The settings panel: the dialog with the direction buttons and the effect lists, of any process.
HWND findPanel()
{
    HWND hWnd = nullptr;
    while ((hWnd = FindWindowExW(nullptr, hWnd, L"#32770", nullptr)) != nullptr) {
        if (IsWindowVisible(hWnd) && GetDlgItem(hWnd, IDC_DIRECTION_FRONT) && GetDlgItem(hWnd, IDC_ZOOM_LIST))
            return hWnd;
    }
    return nullptr;
}

class InstallTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(exists(kivotest::testsFile(L"KivoSetupPrevious.exe")));
        ASSERT_TRUE(exists(setupFile()));
        ASSERT_FALSE(anyProgramRunning()) << "another Kivo program runs on this machine";
        // An earlier run that died half-way left its installation: it goes first, settings and all.
        if (exists(installFolder() + L"\\Uninstall.exe"))
            uninstall(L"/REMOVESETTINGS");
        kivotest::removeFolderTree(installFolder());
        resetSettings();
        DeleteFileW(userLogFile().c_str());
        ASSERT_FALSE(exists(installFolder()));
        ASSERT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    }

    void TearDown() override
    {
        m_capture.reset();
        m_serve.reset();
        if (exists(installFolder() + L"\\Uninstall.exe"))
            uninstall(L"/REMOVESETTINGS");
    }

    static std::wstring setupFile()
    {
        std::wstring tests = kivotest::testsFolder();
        return tests.substr(0, tests.find_last_of(L'\\')) + L"\\KivoSetup.exe";
    }

    // Runs an installer to its end; its exit code, ~0u when it did not end in time.
    DWORD install(const std::wstring& setup, const std::wstring& arguments = L"/S")
    {
        kivotest::RunResult run = kivotest::runToEnd(setup, arguments, kInstallMs, launchOptions());
        return run.finished ? run.exitCode : ~0u;
    }

    // The uninstaller copies itself away and returns at once; its work is done when its own file is
    // gone. False when it is not gone in time.
    bool uninstall(const std::wstring& arguments = L"")
    {
        std::wstring uninstaller = installFolder() + L"\\Uninstall.exe";
        kivotest::RunResult run =
            kivotest::runToEnd(uninstaller, L"/S " + arguments, kInstallMs, launchOptions());
        // The uninstaller runs on from a copy of itself; the install folder goes last, after each
        // user's settings and log when they are removed too.
        return run.finished && waitFor([&] { return !exists(uninstaller); }, kInstallMs) &&
               waitFor([&] { return !keyExists(HKEY_LOCAL_MACHINE, kUninstallKey); }, 5000) &&
               waitFor([&] { return !exists(installFolder()); }, 5000);
    }

    // The shell would write menu entries of the host for every Start-menu shortcut: not in tests.
    kivotest::LaunchOptions launchOptions() const
    {
        kivotest::LaunchOptions options;
        options.environment.push_back({L"WINEDLLOVERRIDES", L"mscoree,mshtml=;winemenubuilder.exe=d"});
        return options;
    }

    DWORD kivocam(const std::wstring& arguments)
    {
        return kivotest::runToEnd(kivotest::stageFile(L"kivocam.exe"), arguments, 20000).exitCode;
    }

    // Starts the service as the shell does at log-on: the Run entry's command line, run from the
    // system folder.
    bool startFromRunEntry()
    {
        std::wstring command = readString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue);
        if (command.size() < 2 || command.front() != L'"')
            return false;
        std::wstring exe = command.substr(1, command.find(L'"', 1) - 1);
        kivotest::LaunchOptions options;
        options.folder = knownFolder(CSIDL_SYSTEM);
        m_serve = std::make_unique<TestProcess>();
        return m_serve->startExact(exe, command, options) && waitFor([] { return programRunning(KIVO_SERVE_OBSERVER_NAME); }, kStartMs);
    }

    void expectInstalled(const std::wstring& version)
    {
        const std::wstring folder = installFolder();
        for (const wchar_t* name : {L"KivoServe.exe", L"KivoSet.exe", L"KivoAfx.dll", L"KivoLib.dll", L"OrvUtils.dll",
                                    L"Tsl.dll", L"KivoLocale.dll", L"KivoData.dll", L"KivoSet.chm", L"de\\KivoSet.chm",
                                    L"data\\stil01.bmp", L"data\\stil02.bmp", L"data\\de\\stil01.bmp",
                                    L"data\\de\\stil02.bmp", L"Uninstall.exe"})
            EXPECT_TRUE(exists(folder + L"\\" + name)) << "missing: " << std::string(name, name + wcslen(name));
        EXPECT_FALSE(exists(folder + L"\\kivocam.exe")) << "the tools are not the product";

        EXPECT_EQ(L"\"" + folder + L"\\KivoServe.exe\"", readString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue));
        const bool german = germanUser();
        EXPECT_TRUE(exists(startMenuFolder() + (german ? L"\\Kivo Camera-Hilfe.lnk" : L"\\Kivo Camera Help.lnk")));
        EXPECT_TRUE(exists(startMenuFolder() + (german ? L"\\Kivo Camera deinstallieren.lnk"
                                                       : L"\\Uninstall Kivo Camera.lnk")));

        EXPECT_EQ(L"Kivo Camera", readString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"));
        EXPECT_EQ(version, readString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"));
        EXPECT_EQ(L"Orvane Corporation", readString(HKEY_LOCAL_MACHINE, kUninstallKey, L"Publisher"));
        EXPECT_EQ(L"\"" + folder + L"\\Uninstall.exe\"", readString(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString"));
        EXPECT_EQ(folder, readString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation"));
        DWORD sizeKb = 0;
        EXPECT_TRUE(readDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize", sizeKb));
        EXPECT_GT(sizeKb, 500u);
        EXPECT_LT(sizeKb, 100000u);
    }

    // What the product put on the machine is gone; each user's settings only when they were asked for.
    void expectUninstalled(bool settingsRemoved)
    {
        EXPECT_FALSE(exists(installFolder()));
        EXPECT_FALSE(exists(startMenuFolder()));
        EXPECT_EQ(L"", readString(HKEY_LOCAL_MACHINE, kRunKey, kRunValue));
        EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
        EXPECT_FALSE(anyProgramRunning());
        EXPECT_EQ(!settingsRemoved, settingsKeyExists());
        if (settingsRemoved) {
            EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, kMakerKey)) << "the maker's emptied keys go too";
            EXPECT_FALSE(exists(userLogFile()));
        }
    }

    kivotest::ScopedVariable m_camera{L"KIVO_VCAM_NAMESPACE", kivotest::uniqueName(L"install")};
    // The installed programs log where they do for a user: in the user's local application data.
    kivotest::ScopedVariable m_log{L"KIVO_LOG_FILE", nullptr};
    std::unique_ptr<TestProcess> m_serve;
    std::unique_ptr<TestProcess> m_capture;
};

TEST_F(InstallTest, SilentInstallRunsAtLogOnServesACameraSessionUpgradesInPlaceAndUninstallsKeepingSettings)
{
    ASSERT_EQ(0u, install(kivotest::testsFile(L"KivoSetupPrevious.exe")));
    expectInstalled(L"0.9.0.0");
    EXPECT_FALSE(anyProgramRunning()) << "a silent install starts nothing";

    // Log-on: the Run entry starts the service; an application opens the camera, the panel appears.
    ASSERT_EQ(0u, kivocam(L"reset"));
    writeSetting(KIVO_VALUE_AUTO_STARTUP, 1);
    ASSERT_TRUE(startFromRunEntry());
    m_capture = std::make_unique<TestProcess>(kivotest::stageFile(L"kivocap.exe"),
                                              L"--camera 0 --size 320x240 --format rgb24 --fps 15 --duration 40");
    HWND hPanel = nullptr;
    ASSERT_TRUE(waitFor([&] { return (hPanel = findPanel()) != nullptr; }, 15000));
    DWORD panelProcess = 0;
    GetWindowThreadProcessId(hPanel, &panelProcess);
    EXPECT_EQ(0, _wcsicmp((installFolder() + L"\\KivoSet.exe").c_str(),
                          kivotest::imageOfProcess(panelProcess).c_str()));
    // The user turns the camera to the rear: the installed panel drives the camera.
    PostMessageW(GetDlgItem(hPanel, IDC_DIRECTION_REAR), BM_CLICK, 0, 0);
    DWORD direction = 0;
    EXPECT_TRUE(waitFor([&] { return readSetting(KIVO_VALUE_CAMERA_DIR, direction) && direction == KIVO_DIR_REAR; }, 5000));

    // The upgrade halts the service and the panel, replaces them, and keeps the user's settings.
    ASSERT_EQ(0u, install(setupFile()));
    EXPECT_TRUE(m_serve->waitExit(1000));
    EXPECT_FALSE(anyProgramRunning());
    EXPECT_TRUE(m_capture->running()) << "the capturing application goes on without the panel";
    expectInstalled(L"1.0.0.0");
    DWORD autoStartup = 0;
    EXPECT_TRUE(readSetting(KIVO_VALUE_AUTO_STARTUP, autoStartup) && autoStartup == 1);
    EXPECT_TRUE(readSetting(KIVO_VALUE_CAMERA_DIR, direction) && direction == KIVO_DIR_REAR);

    // A silent uninstall keeps the settings. Nothing runs but what the halt request starts itself
    // (the settings program, briefly), which must be waited for before its files can go.
    ASSERT_TRUE(uninstall());
    expectUninstalled(false);
    EXPECT_TRUE(exists(userLogFile()));
    resetSettings();
    DeleteFileW(userLogFile().c_str());
}

TEST_F(InstallTest, InteractiveInstallStartsTheServiceAndUninstallAskedToRemoveSettingsLeavesNothing)
{
    ASSERT_EQ(0u, kivocam(L"reset"));
    TestProcess setup(setupFile(), L"", launchOptions());
    ASSERT_TRUE(setup.started());
    // Welcome, folder, progress, finish: Next, Install, then Finish with "Start Kivo Camera now" ticked;
    // in German under a German user.
    const bool german = germanUser();
    HWND hWizard = kivotest::waitForDialog(setup.id(), german ? L"Installation von Kivo Camera" : L"Kivo Camera Setup",
                                           15000);
    ASSERT_NE(nullptr, hWizard);
    const std::vector<const wchar_t*> buttons = german ? std::vector<const wchar_t*>{L"&Weiter >", L"&Installieren", L"&Fertigstellen"}
                                                       : std::vector<const wchar_t*>{L"&Next >", L"&Install", L"&Finish"};
    for (const wchar_t* button : buttons) {
        ASSERT_TRUE(waitFor([&] { return kivotest::windowText(GetDlgItem(hWizard, IDOK)) == button &&
                                         IsWindowEnabled(GetDlgItem(hWizard, IDOK)); },
                            kInstallMs))
            << "no button " << std::string(button, button + wcslen(button));
        ASSERT_TRUE(kivotest::pressDialogButton(hWizard, IDOK));
    }
    ASSERT_TRUE(setup.waitExit(kStartMs));
    EXPECT_EQ(0u, setup.exitCode());
    expectInstalled(L"1.0.0.0");
    EXPECT_TRUE(waitFor([] { return programRunning(KIVO_SERVE_OBSERVER_NAME); }, kStartMs))
        << "the finish page starts the service";
    EXPECT_TRUE(waitFor([] { return exists(userLogFile()); }, kStartMs));

    ASSERT_TRUE(uninstall(L"/REMOVESETTINGS"));
    expectUninstalled(true);
}

} // namespace
