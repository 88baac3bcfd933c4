#include "DialogDriver.h"

#include "Wait.h"
#include "WindowSearch.h"

namespace kivotest {

DialogDriver::DialogDriver(const std::wstring& caption, std::function<void(HWND)> steps, DWORD timeoutMs)
    : m_caption(caption), m_steps(std::move(steps)), m_timeoutMs(timeoutMs), m_threadId(GetCurrentThreadId())
{
    m_thread = std::thread([this] { run(); });
}

DialogDriver::~DialogDriver()
{
    m_thread.join();
}

void DialogDriver::run()
{
    HWND hDialog = waitForDialog(GetCurrentProcessId(), m_caption, m_timeoutMs);
    if (!hDialog || GetWindowThreadProcessId(hDialog, nullptr) != m_threadId) {
        // Whatever modal window the thread runs instead would keep the test waiting for ever.
        closeDialogsOf(m_threadId);
        return;
    }
    m_found = true;
    m_steps(hDialog);
    if (!waitForWindowGone(hDialog, m_timeoutMs))
        closeDialogsOf(m_threadId);
}

void DialogDriver::closeDialogsOf(DWORD threadId)
{
    // As a user would first (WM_CLOSE, Cancel), then through the dialog manager for boxes without a
    // Cancel button; until the thread shows no dialog or the deadline passes, since closing one
    // message box can make room for the next.
    const DWORD kPoliteMs = 1000;
    if (waitFor([&] { return !closeShownDialogs(threadId, false); }, kPoliteMs))
        return;
    waitFor([&] { return !closeShownDialogs(threadId, true); }, m_timeoutMs);
}

bool DialogDriver::closeShownDialogs(DWORD threadId, bool endDialog)
{
    struct Closing {
        bool endDialog;
        bool any;
    } closing = {endDialog, false};
    EnumThreadWindows(
        threadId,
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* c = reinterpret_cast<Closing*>(lParam);
            WCHAR name[16] = {};
            GetClassNameW(hWnd, name, ARRAYSIZE(name));
            if (!IsWindowVisible(hWnd) || wcscmp(name, L"#32770") != 0)
                return TRUE;
            c->any = true;
            PostMessageW(hWnd, WM_CLOSE, 0, 0);
            if (c->endDialog)
                EndDialog(hWnd, IDCANCEL);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&closing));
    if (closing.any)
        m_closedByDeadline = true;
    return closing.any;
}

} // namespace kivotest
