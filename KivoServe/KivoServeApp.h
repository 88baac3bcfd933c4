// The service's application object: decides from the command line whether this launch halts the
// running instances, turns the camera once, or becomes the resident service of the session.
#pragma once

#include "afxwin.h"

#include "HaltSwitch.h"
#include "ObserveApp.h"
#include "UniqueHandle.h"

#include <atomic>

class KivoServeApp : public CWinApp, public CObserveApp::IObserveEvent {
public:
    KivoServeApp();

    BOOL InitInstance() override;
    int ExitInstance() override;
    void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT) override;

    // Called on the observer's thread: only posts WM_CLOSE to the frame, or, before the frame
    // exists, leaves the request for the start-up to act on.
    void OnShutdownAll() override;
    void OnShutdownUser() override;

    // The one-shot direction change of "/Front" (0) and "/Rear" (1).
    void setCameraDirection(DWORD direction);

private:
    void halt(HaltSwitch scope);
    BOOL startResident();
    void closeMainWindow();

    // Held from the first step of every launch until ExitInstance; nothing opens it.
    UniqueHandle m_serveMutex;
    HINSTANCE m_hLocale;
    CObserveApp m_observer;
    // The frame's handle, for the observer's thread, which must not touch the frame object.
    std::atomic<HWND> m_hFrameWnd{nullptr};
    // A shutdown request came; the observer reports only once, so it is never dropped.
    std::atomic<bool> m_bHaltRequested{false};
};
