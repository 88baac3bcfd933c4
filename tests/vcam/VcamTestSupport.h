// What the virtual camera's tests share: a device of their own, the installation's tools with their
// output, KivoLib.dll loaded from the installation folder, and a window that records what it receives.
#pragma once

#include "KivoLib.h"
#include "TestSupport.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace vcamtest {

using kivotest::RunResult;
using kivotest::TestProcess;
using kivotest::waitFor;

LONGLONG qpc();
double qpcMs(LONGLONG ticks);

// Gives this process, and the children it starts, a virtual camera device of their own (factory
// state: one built-in camera), and deletes its state file at the end.
class ScopedDevice {
public:
    ScopedDevice();
    ~ScopedDevice();
    const std::wstring& name() const { return m_name; }

private:
    std::wstring m_name;
    kivotest::ScopedVariable m_namespace;
};

// A program of the installation folder (kivocap.exe, kivocam.exe) with its output captured; with a
// token, run as that user.
bool startStaged(TestProcess& process, const wchar_t* program, const std::wstring& arguments,
                 HANDLE token = nullptr);
RunResult runStaged(const wchar_t* program, const std::wstring& arguments, DWORD timeoutMs, HANDLE token = nullptr);

// This user's token made into another, standard user's: the user's own SID and the administrators
// group for deny only, no privileges. What it may open, any signed-in user may.
class RestrictedToken {
public:
    RestrictedToken();
    ~RestrictedToken();
    HANDLE handle() const { return m_hToken; }

private:
    RestrictedToken(const RestrictedToken&) = delete;
    RestrictedToken& operator=(const RestrictedToken&) = delete;
    HANDLE m_hToken = nullptr;
};

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

using kivotest::BmpFile;
using kivotest::readBmp;

} // namespace vcamtest
