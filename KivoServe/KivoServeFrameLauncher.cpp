// Starting the settings program about two seconds after a camera opened, and the settings program's
// announcements: open, hide and close.
#include "KivoServeFrame.h"

#include "DetachedLaunch.h"
#include "KivoNames.h"
#include "NamedMutexProbe.h"

#include <wtsapi32.h>

#include <string>
#include <utility>

namespace {
const UINT kSessionRetryMs = 1000;
const UINT kOpenDelayNextMs = 500;
const int kOpenDelayLastTick = 2;   // ticks at about 1000, 1500 and 2000 ms
const UINT kPanelWatchMs = 1000;
} // namespace

void KivoServeFrame::OnTimer(UINT_PTR nIDEvent)
{
    KillTimer(nIDEvent);
    CFrameWnd::OnTimer(nIDEvent);
    if (nIDEvent == TIMER_SESSION_REGISTER) {
        if (!WTSRegisterSessionNotification(m_hWnd, NOTIFY_FOR_THIS_SESSION)) {
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
    if (!m_bDeviceOpen) {
        m_nOpenTicks = 0;
        return;
    }
    // The settings program launched for an earlier open takes this session when it announces
    // itself; a second one would end at once, as only one runs on the machine.
    if (kivoSetStarting()) {
        if (tick == kOpenDelayLastTick)
            WriteLog(L"KivoServeFrame::OnTimer() - KivoSet is starting.");
        SetTimer(TIMER_OPEN_DELAY, kOpenDelayNextMs);
        return;
    }
    m_nOpenTicks = 0;
    // The sibling screen saver holds its mutex while it runs.
    if (isNamedMutexPresent(KIVO_FLICKMIX_MUTEX)) {
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

// Publishes this window and the camera index, then starts the settings program.
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

    // Started as the shell would start it: its panel is created hidden anyway, and a forced SW_HIDE
    // would apply to the first window it shows, which may be its "service not found" message box.
    UniqueHandle process = launchDetached(path.c_str(), nullptr);
    if (!process) {
        WriteLog(L"KivoServeFrame::startupKivoSet() - CreateProcess failed(%d).", GetLastError());
        return;
    }
    m_launchedKivoSet = std::move(process);
}

// A settings program this service started runs and has not announced itself yet.
bool KivoServeFrame::kivoSetStarting() const
{
    return m_launchedKivoSet && WaitForSingleObject(m_launchedKivoSet.get(), 0) == WAIT_TIMEOUT;
}

LRESULT KivoServeFrame::OnKivoSetOpen(WPARAM dialogWnd, LPARAM screenSaverRunning)
{
    WriteLog(L"KivoServeFrame::OnKivoSetOpen() called.");
    HWND hDialog = reinterpret_cast<HWND>(dialogWnd);
    if (!IsWindow(hDialog))
        return 0;
    // Whatever the camera did since the launch, this dialog is the settings program of the session:
    // recorded and watched, so that no second one is launched while it lives.
    m_hKivoSetWnd = hDialog;
    m_launchedKivoSet.reset();
    KillTimer(TIMER_OPEN_DELAY);
    m_nOpenTicks = 0;
    SetTimer(TIMER_PANEL_WATCH, kPanelWatchMs);
    if (!m_bDeviceOpen) {
        // The camera closed before the announcement and no application has opened it since (our
        // tasks would have said so): the dialog has no session, and one idle for the screen saver
        // would wait for a close that never comes. Its close notice makes us watch again, and the
        // rebuilt tasks report a camera that an application opens meanwhile.
        WriteLog(L"KivoServeFrame::OnKivoSetOpen() - the camera has closed, KivoSet is told to close.");
        ::PostMessageW(hDialog, WM_TASK_DEVICE_CLOSE, 0, 0);
        return 0;
    }
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
