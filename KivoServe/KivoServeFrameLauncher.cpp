// Starting the settings program about two seconds after a camera opened, and the settings program's
// announcements: open, hide and close.
#include "KivoServeFrame.h"

#include "KivoNames.h"

#include <wtsapi32.h>

#include <string>

namespace {
const UINT kSessionRetryMs = 1000;
const UINT kOpenDelayNextMs = 500;
const int kOpenDelayLastTick = 2;   // ticks at about 1000, 1500 and 2000 ms
const UINT kPanelWatchMs = 1000;

// The sibling screen saver runs when its mutex exists already (or cannot be created).
bool screenSaverRunning()
{
    HANDLE hMutex = CreateMutexW(nullptr, FALSE, KIVO_FLICKMIX_MUTEX);
    bool running = !hMutex || GetLastError() == ERROR_ALREADY_EXISTS;
    if (hMutex)
        CloseHandle(hMutex);
    return running;
}
} // namespace

void KivoServeFrame::OnTimer(UINT_PTR nIDEvent)
{
    KillTimer(nIDEvent);
    CFrameWnd::OnTimer(nIDEvent);
    if (nIDEvent == TIMER_SESSION_REGISTER) {
        if (!WTSRegisterSessionNotification(m_hWnd, NOTIFY_FOR_ALL_SESSIONS)) {
            WriteLog(L"KivoServeFrame::OnTimer() - WTSRegisterSessionNotification(). error = %d", GetLastError());
            SetTimer(TIMER_SESSION_REGISTER, kSessionRetryMs);
        }
    } else if (nIDEvent == TIMER_OPEN_DELAY) {
        onOpenDelayTick();
    } else if (nIDEvent == TIMER_PANEL_WATCH) {
        onPanelWatchTick();
    }
}

void KivoServeFrame::onOpenDelayTick()
{
    int tick = m_nOpenTicks++;
    if (tick < kOpenDelayLastTick) {
        if (m_bDeviceOpen)
            SetTimer(TIMER_OPEN_DELAY, kOpenDelayNextMs);
        return;
    }
    m_nOpenTicks = 0;
    if (!m_bDeviceOpen)
        return;
    if (screenSaverRunning()) {
        WriteLog(L"exist Flickmix");
        return;
    }
    WriteLog(L"no exist Flickmix");
    startupKivoSet();
}

// A settings program that was killed or crashed never says goodbye: without this watch the service
// would hold the camera state with no tasks, and no later camera session would bring up the panel.
void KivoServeFrame::onPanelWatchTick()
{
    if (IsWindow(m_hKivoSetWnd)) {
        SetTimer(TIMER_PANEL_WATCH, kPanelWatchMs);
        return;
    }
    WriteLog(L"KivoServeFrame::OnTimer() - KivoSet has gone.");
    resumeWatching();
}

// Publishes this window and the camera index, then starts the settings program hidden.
void KivoServeFrame::startupKivoSet()
{
    KivoRegKey key;
    if (key.Create(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        key.Write(KIVO_VALUE_SERVE_HANDLE, static_cast<DWORD>(reinterpret_cast<UINT_PTR>(m_hWnd)));
        key.Write(KIVO_VALUE_CAMERA_IDX, static_cast<DWORD>(m_nCameraIdx));
        key.Close();
    }
    std::wstring path;
    GetKivoSetExePath(path);

    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = SW_HIDE;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(path.c_str(), nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        WriteLog(L"KivoServeFrame::startupKivoSet() - CreateProcess failed(%d).", GetLastError());
        return;
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

LRESULT KivoServeFrame::OnKivoSetOpen(WPARAM dialogWnd, LPARAM screenSaverRunning)
{
    WriteLog(L"KivoServeFrame::OnKivoSetOpen() called.");
    if (!m_bDeviceOpen)
        return 0;
    m_hKivoSetWnd = reinterpret_cast<HWND>(dialogWnd);
    SetTimer(TIMER_PANEL_WATCH, kPanelWatchMs);
    if (screenSaverRunning)
        return 0;
    clearAccessTaskList();
    if (m_bAutoStartup)
        ::ShowWindow(m_hKivoSetWnd, SW_SHOW);
    else
        showTrayIcon();
    return 0;
}

LRESULT KivoServeFrame::OnKivoSetHide(WPARAM, LPARAM)
{
    WriteLog(L"KivoServeFrame::OnKivoSetHide() called.");
    showTrayIcon();
    return 0;
}

LRESULT KivoServeFrame::OnKivoSetClose(WPARAM, LPARAM)
{
    WriteLog(L"KivoServeFrame::OnKivoSetClose() called.");
    resumeWatching();
    return 0;
}

// The settings program has ended: camera state cleared, icon removed, tasks rebuilt.
void KivoServeFrame::resumeWatching()
{
    KillTimer(TIMER_PANEL_WATCH);
    m_bDeviceOpen = false;
    releaseCameraMutex();
    removeTrayIcon();
    openDriver();
}
