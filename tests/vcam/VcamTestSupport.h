// What the virtual camera's tests share: a device of their own, child processes with their output,
// KivoLib.dll loaded from the installation folder, and a window that records what it receives.
#pragma once

#include "KivoLib.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vcamtest {

std::wstring stageDir();                  // the installation folder (KivoLib.dll, kivocap.exe, ...)
std::wstring testsDir();                  // the folder of the test programs
std::wstring stageProgram(const wchar_t* name);   // quoted full path
LONGLONG qpc();
double qpcMs(LONGLONG ticks);
// A fresh folder under the temp folder, removed with its files by the caller's RemoveFolder.
std::wstring makeTempFolder(const wchar_t* prefix);
void removeFolder(const std::wstring& folder);

// Gives this process, and the children it starts, a virtual camera device of their own (factory
// state: one built-in camera), and deletes its state file at the end.
class ScopedDevice {
public:
    ScopedDevice();
    ~ScopedDevice();
    const std::wstring& name() const { return m_name; }

private:
    std::wstring m_name;
};

struct ProcessResult {
    bool finished = false;
    DWORD exitCode = 0;
    std::string output;   // stdout and stderr
};

// A child process whose output goes to a file; killed at the end if still running.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    bool start(const std::wstring& commandLine);
    HANDLE process() const { return m_pi.hProcess; }
    DWORD pid() const { return m_pi.dwProcessId; }
    bool wait(DWORD timeoutMs);
    void kill();
    ProcessResult result();

private:
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;
    PROCESS_INFORMATION m_pi = {};
    std::wstring m_outputPath;
};

ProcessResult runProgram(const std::wstring& commandLine, DWORD timeoutMs);

// Dispatches this thread's messages until done() holds or the time is up; true when it held.
bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs);

// KivoLib.dll from the installation folder, by its exported factories.
class KivoLibModule {
public:
    KivoLibModule();
    ~KivoLibModule();
    bool loaded() const { return m_hLib != nullptr; }
    IImgFAccessTask* createTask();
    ICameraPropertySettings* createSettings(DWORD cameraIndex);

private:
    HMODULE m_hLib = nullptr;
};

struct RecordedMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    LONGLONG time;
};

// A hidden top-level window that records the task's messages and device changes. With a frame
// handler set, it acts as a filter for WM_USER+1.
class RecordingWindow {
public:
    RecordingWindow();
    ~RecordingWindow();
    HWND hwnd() const { return m_hwnd; }
    const std::vector<RecordedMessage>& messages() const { return m_messages; }
    size_t count(UINT message) const;
    const RecordedMessage* first(UINT message) const;
    std::function<void(const RecordedMessage&)> onMessage;

private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    HWND m_hwnd = nullptr;
    std::vector<RecordedMessage> m_messages;
};

// Parses "key value" pairs from kivocap's summary lines, e.g. number(output, "processed").
long long numberAfter(const std::string& output, const std::string& key);

// A BMP file's header and pixel bytes.
struct BmpFile {
    BITMAPINFOHEADER header = {};
    std::vector<BYTE> pixels;
};
bool readBmp(const std::wstring& path, BmpFile& bmp);

} // namespace vcamtest
