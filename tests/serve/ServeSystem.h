// System-test harness for the service: an installation folder of the real programs, processes with
// deadlines, the log, the registry key, and the service's window.
#pragma once

#include <windows.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace serve {

// A file beside the test program (the stand-ins, the recording help control).
std::wstring testsFile(const wchar_t* name);

// Polls the condition every few milliseconds until it holds or the deadline passes.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs);

// A folder laid out as an installation: the staged programs, libraries and help file, with the
// stand-in settings program as KivoSet.exe. Files named in leaveOut are not copied. The folder, the
// log file, the stand-in's record and the camera namespace are this installation's own; the
// environment of processes started afterwards points at them.
class Installation {
public:
    explicit Installation(std::initializer_list<const wchar_t*> leaveOut = {});
    ~Installation();
    Installation(const Installation&) = delete;
    Installation& operator=(const Installation&) = delete;

    std::wstring file(const wchar_t* name) const { return m_dir + L"\\" + name; }
    const std::wstring& dir() const { return m_dir; }

    std::vector<std::string> logLines() const;                  // the product log, line by line
    bool logHas(const std::string& text) const;                 // a line ending with text
    int logCount(const std::string& text) const;
    bool waitForLog(const std::string& text, DWORD timeoutMs, int count = 1) const;
    std::vector<std::string> standInLines() const;              // what the stand-in recorded
    bool waitForStandIn(const std::string& text, DWORD timeoutMs) const;

private:
    std::wstring m_dir;
    std::wstring m_savedPath;
    std::wstring m_cameraNamespace;
};

// A started process, ended by its destructor if it still runs.
class Process {
public:
    Process(const std::wstring& exe, const std::wstring& commandLine);
    ~Process();
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return m_pi.hProcess != nullptr; }
    DWORD id() const { return m_pi.dwProcessId; }
    bool waitForExit(DWORD timeoutMs);
    bool running() const;
    DWORD exitCode() const;
    void terminate();

private:
    PROCESS_INFORMATION m_pi;
};

// Runs a tool of the installation to its end; its exit code, or ~0u when it did not end in time.
DWORD runTool(const Installation& inst, const wchar_t* exe, const std::wstring& arguments,
              DWORD timeoutMs = 20000);

// The same, with what the tool printed on its standard output.
DWORD runTool(const Installation& inst, const wchar_t* exe, const std::wstring& arguments, std::string& output,
              DWORD timeoutMs = 20000);

// "front" or "rear" as the virtual camera reports camera N, or "" when it cannot be read.
std::string cameraDirection(const Installation& inst, int camera);

// The hidden top-level window of the framework that the process created, or null.
HWND findFrameWindow(DWORD processId);
HWND waitForFrameWindow(DWORD processId, DWORD timeoutMs);
HWND findStandInWindow();

// The per-user settings key: removed entirely, values read and written.
void resetSettings();
bool readSetting(const wchar_t* name, DWORD& value);
void writeSetting(const wchar_t* name, DWORD value);
void setExternalCameraInstalled(bool installed);

// Whether the service's tray icon is there: the shell modifies only an icon it has.
bool trayIconShown(HWND hServe);

} // namespace serve
