// System-test rig of the settings panel: an installation folder of the real programs with its own
// log and virtual camera, a window of the test posing as the service (it records the panel's
// notifications and shows the panel as the service does), kivocap as the capturing application,
// and the real KivoSet.exe.
#pragma once

#include "TestSupport.h"

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kivoset {

// The four notifications as the posing service window received them, in order.
struct ServeRecord {
    std::vector<std::wstring> names;   // "open", "hide", "close", "help"
    HWND openedPanel = nullptr;        // wParam of the last "open"
    LPARAM openFlag = -1;
    // How the posing service answers "open": it shows the panel when the flag is 0, as the service
    // does with "AutoStartup" on; with closeOnOpen it tells the panel at once that the camera closed.
    // onOpen, when set, runs first, inside the handler, while the panel waits for the answer.
    bool closeOnOpen = false;
    std::function<void()> onOpen;
};

using kivotest::Picture;
using kivotest::readBmp;
using kivotest::writeBmp;

class PanelRig {
public:
    // leaveOut: staged files this installation does without.
    explicit PanelRig(const std::vector<std::wstring>& leaveOut = {});
    ~PanelRig();
    PanelRig(const PanelRig&) = delete;
    PanelRig& operator=(const PanelRig&) = delete;

    std::wstring file(const wchar_t* name) const { return m_folder.file(name); }
    const kivotest::LogFile& log() const { return m_log; }
    HWND serveWindow() const { return m_hServe; }
    const ServeRecord& serve() const { return m_record; }
    ServeRecord& serve() { return m_record; }
    bool serveHeard(const wchar_t* name) const { return serveCount(name) > 0; }
    size_t serveCount(const wchar_t* name) const;

    // Runs a tool of the installation to its end; its exit code.
    DWORD runTool(const wchar_t* exe, const std::wstring& arguments, std::string* output = nullptr);
    // kivocap on the camera writing BMP frames to the folder "frames" (cleared first).
    bool startCapture(const std::wstring& arguments, int camera = 0);
    void stopCapture() { m_capture.kill(); }
    kivotest::TestProcess& capture() { return m_capture; }
    // The frames written so far, in order.
    std::vector<std::wstring> frameFiles() const;

    // Starts KivoSet.exe with the arguments; the panel's window once the service heard "open". Its
    // heap fills freed blocks, so that a use of a deleted object crashes the panel instead of passing.
    bool startKivoSet(const std::wstring& arguments = L"");
    HWND waitForPanel(DWORD timeoutMs = 10000);
    kivotest::TestProcess& kivoSet() { return m_kivoSet; }
    HWND panel() const { return m_hPanel; }
    HWND control(int id) const { return GetDlgItem(m_hPanel, id); }
    // A shown message box or dialog of the panel's process other than the panel, whose caption is
    // the product's name as the panel's is; null at the deadline.
    HWND waitForBox(DWORD timeoutMs = 10000) const { return waitForDialog(L"Kivo Camera", timeoutMs); }
    // The same for a dialog of the panel's process with the given caption.
    HWND waitForDialog(const wchar_t* caption, DWORD timeoutMs = 10000) const;
    // Chooses a list entry as a user would: the selection, then CBN_SELCHANGE to the panel.
    void chooseEntry(int listId, int entry);
    // Waits until a frame written after now satisfies the test; its path, or "" at the deadline.
    std::wstring waitForFrame(bool (*test)(const Picture&), DWORD timeoutMs = 15000);
    // The next count frames written after now (fewer at the deadline).
    std::vector<Picture> nextFrames(size_t count, DWORD timeoutMs = 15000);
    // With KIVO_SHOT_DIR set, the panel (or another window) as the screen shows it, to that folder
    // as NAME.bmp.
    void shot(const wchar_t* name, HWND window = nullptr) const;

private:
    static LRESULT CALLBACK serveProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam);

    kivotest::ScratchFolder m_folder;
    std::unique_ptr<kivotest::ScopedVariable> m_logVariable;
    std::unique_ptr<kivotest::ScopedVariable> m_cameraVariable;
    kivotest::LogFile m_log;
    HWND m_hServe = nullptr;
    ServeRecord m_record;
    kivotest::TestProcess m_capture;
    kivotest::TestProcess m_kivoSet;
    HWND m_hPanel = nullptr;
    size_t m_opensBefore = 0;
};

using kivotest::readSetting;
using kivotest::resetSettings;
using kivotest::writeSetting;

} // namespace kivoset
