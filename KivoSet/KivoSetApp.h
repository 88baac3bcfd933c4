// The settings program's application object: decides from the command line whether this launch only
// asks running panels to end, keeps one panel on the machine, loads the locale library, finds the
// service's window and creates the panel as the modeless main window. It also sends the service the
// panel's four notifications.
#pragma once

#include "afxwin.h"

#include "KivoNames.h"
#include "ObserveApp.h"

#include <atomic>

class CKivoSetDlg;

class CKivoSetApp : public CWinApp, public CObserveApp::IObserveEvent {
public:
    // observerName names the instance markers and shutdown events; a process that is not the settings
    // program (a test) gives its own, so that holding them does not keep a halt meant for the
    // program's launches alive for the next one (the events are manual-reset, alive while held).
    explicit CKivoSetApp(LPCWSTR observerName = KIVO_SET_OBSERVER_NAME);

    BOOL InitInstance() override;
    int ExitInstance() override;
    BOOL IsIdleMessage(MSG* pMsg) override;
    BOOL MoreMessagesAfter(const MSG* pMsg) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Called on the observer's thread: only post, WM_USER+3 to the panel through the window handle
    // kept for that thread (the panel object may be deleted on the user-interface thread meanwhile),
    // or WM_QUIT to the user-interface thread while there is no panel.
    void OnShutdownAll() override;
    void OnShutdownUser() override;

    // Notifications to the service's window; each does nothing when that window is gone. The two
    // sent ones wait a bounded time, so a hung service cannot stop the panel.
    void notifyServeHelp();
    void notifyServeOpen(HWND hPanel, BYTE flag);
    void notifyServeHide();
    void notifyServeClose();

    // The panel's window exists (from the start of its initialisation): a halt is posted to it, and
    // one that came before is posted now; its frames go to it from the message loop.
    void panelCreated(CKivoSetDlg* panel);
    // The panel's window is gone: nothing is posted to its handle any more.
    void panelDestroyed()
    {
        m_hPanelWnd = nullptr;
        m_pPanel = nullptr;
    }

    // How long a sent notification may wait for the service.
    static const UINT kServeSendTimeoutMs = 3000;

private:
    bool runHaltSwitch();
    void readServeHandle();
    void reportServeMissing();
    bool sendToServe(LPCWSTR messageName, WPARAM wParam, LPARAM lParam);
    void postToServe(LPCWSTR messageName);
    BOOL createPanel();

    HINSTANCE m_hLocale;
    CObserveApp m_observer;
    HWND m_serveHWnd;
    bool m_lunaWasOn;
    bool m_comInitialized = false;   // the panel hands screen readers its controls' objects through COM
    std::atomic<HWND> m_hPanelWnd{nullptr};
    CKivoSetDlg* m_pPanel = nullptr;   // the panel while its window exists; user-interface thread only
    std::atomic<bool> m_haltRequested{false};
    DWORD m_uiThreadId = 0;
};

// The program's one application object.
CKivoSetApp* kivoSetApp();
