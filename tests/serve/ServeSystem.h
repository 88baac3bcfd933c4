// System-test harness for the service: an installation folder of the real programs with the
// stand-in settings program, its log, the registry key, and the service's window. Processes, waits
// and windows come from the shared test support.
#pragma once

#include "TestSupport.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

namespace serve {

using kivotest::TestProcess;
using kivotest::waitFor;

// Which settings program an installation holds as KivoSet.exe: the stand-in, which records what the
// service asks of it (its command line, how it was shown), or the real program.
enum class SettingsProgram { StandIn, Real };

// A folder laid out as an installation: the staged programs, libraries, help file and data folder,
// with the chosen settings program as KivoSet.exe (the stand-in unless told). Files named in leaveOut
// are not copied. The folder, the log file, the stand-in's record and the camera namespace are this
// installation's own; the environment of processes started afterwards points at them, until the
// installation goes.
class Installation {
public:
    explicit Installation(const std::vector<std::wstring>& leaveOut = {})
        : Installation(SettingsProgram::StandIn, leaveOut)
    {
    }
    explicit Installation(SettingsProgram program, const std::vector<std::wstring>& leaveOut = {});
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    std::wstring file(const wchar_t* name) const { return m_folder.file(name); }
    const std::wstring& dir() const { return m_folder.path(); }

    // A program of the installation started in its folder, as the shell would.
    TestProcess start(const wchar_t* exe, const std::wstring& arguments = std::wstring()) const;
    std::unique_ptr<TestProcess> startOwned(const wchar_t* exe, const std::wstring& arguments = std::wstring()) const;

    std::vector<std::string> logLines() const { return m_log.lines(); }   // the product log
    bool logHas(const std::string& message) const { return m_log.has(message); }
    int logCount(const std::string& message) const { return m_log.count(message); }
    bool waitForLog(const std::string& message, DWORD timeoutMs, int count = 1) const
    {
        return m_log.waitFor(message, timeoutMs, count);
    }
    std::vector<std::string> standInLines() const;   // what the stand-in recorded
    bool waitForStandIn(const std::string& text, DWORD timeoutMs) const;

private:
    kivotest::LaunchOptions options() const;

    kivotest::ScratchFolder m_folder;
    kivotest::LogFile m_log;
    std::wstring m_cameraNamespace;
    kivotest::ScopedVariable m_logFile;
    kivotest::ScopedVariable m_standInOut;
    kivotest::ScopedVariable m_searchPath;
    kivotest::ScopedVariable m_camera;
};

// Runs a tool of the installation to its end; its exit code, or ~0u when it did not end in time.
DWORD runTool(const Installation& inst, const wchar_t* exe, const std::wstring& arguments,
              DWORD timeoutMs = 20000);

// The same, with what the tool printed on its standard output.
DWORD runTool(const Installation& inst, const wchar_t* exe, const std::wstring& arguments, std::string& output,
              DWORD timeoutMs = 20000);

// Halts the installation's resident service as the user's command does (KivoServe.exe /Halt): true
// when the halting launch and then the service ended, each within the time-out.
bool haltService(const Installation& inst, TestProcess& service, DWORD timeoutMs);

// "front" or "rear" as the virtual camera reports camera N, or "" when it cannot be read.
std::string cameraDirection(const Installation& inst, int camera);

// The hidden top-level window of the framework that the process created, or null.
HWND findFrameWindow(DWORD processId);
HWND waitForFrameWindow(DWORD processId, DWORD timeoutMs);
HWND findStandInWindow();

// The per-user settings key: removed entirely, values read and written; the machine-wide
// "ExternalCameraInstalled".
using kivotest::readSetting;
using kivotest::resetSettings;
using kivotest::writeSetting;
void setExternalCameraInstalled(bool installed);

// Whether the service's tray icon is there: the shell modifies only an icon it has.
bool trayIconShown(HWND hServe);

// The real settings program's panel, hidden or shown, of any process or of the installation's
// KivoSet.exe (not a panel another test left ending), or null.
HWND findPanelWindow();
HWND findPanelWindow(const Installation& inst);
HWND waitForPanelWindow(const Installation& inst, DWORD timeoutMs);
// The process of a window, 0 for none.
DWORD processOfWindow(HWND hWnd);
// Chooses entry N of a list of the panel as a user would: the selection, then CBN_SELCHANGE to the
// panel. False when the list has no such entry.
bool choosePanelEntry(HWND hPanel, int listId, int entry);
// True when no process runs the installation's service or settings program within the time-out.
bool waitForProgramsToEnd(const Installation& inst, DWORD timeoutMs);
// True when the process has ended (or never was) within the time-out.
bool waitForProcessEnd(DWORD processId, DWORD timeoutMs);
// The number after the word in a tool's output ("processed 12", "p50 12.5"), or -1.
double numberAfter(const std::string& text, const std::string& word);

} // namespace serve
