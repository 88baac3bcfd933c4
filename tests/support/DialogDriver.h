// Drives a modal dialog that a call on this thread is about to run (DialogBox, MessageBox, a
// property dialog): a thread of its own waits for the dialog, by caption, among this process's
// windows and runs the user's steps on it. A dialog that does not appear in time, or that the steps
// leave open, is closed by the driver, so the modal call returns and the test fails instead of
// hanging.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>
#include <thread>

namespace kivotest {

class DialogDriver {
public:
    DialogDriver(const std::wstring& caption, std::function<void(HWND)> steps, DWORD timeoutMs = 10000);
    // Waits for the driver's thread, which ends by its deadlines.
    ~DialogDriver();
    DialogDriver(const DialogDriver&) = delete;
    DialogDriver& operator=(const DialogDriver&) = delete;

    // The dialog appeared and the steps ran on it.
    bool found() const { return m_found; }
    // The driver had to close a dialog: the expected one never came, or the steps left it open.
    bool closedByDeadline() const { return m_closedByDeadline; }

private:
    void run();
    void closeDialogsOf(DWORD threadId);
    bool closeShownDialogs(DWORD threadId, bool endDialog);

    std::wstring m_caption;
    std::function<void(HWND)> m_steps;
    DWORD m_timeoutMs;
    DWORD m_threadId;
    std::atomic<bool> m_found{false};
    std::atomic<bool> m_closedByDeadline{false};
    std::thread m_thread;
};

} // namespace kivotest
