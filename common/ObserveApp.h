// The instance observer both programs embed in their application object: named mutexes mark a
// running instance (per session and machine-wide), two named manual-reset events carry shutdown
// requests (per session and machine-wide), and one observer thread reports the first request it
// sees to a listener. Every handle may be NULL after a failed create and open; nothing is reported
// then, and the operations that need the handle fail quietly.
#pragma once

#include "UniqueHandle.h"

#include <windows.h>

class CObserveApp {
public:
    // Told on the observer thread, once, which shutdown event was set. Implementations only post a
    // message to their main window; everything else happens on the user-interface thread.
    class IObserveEvent {
    public:
        virtual void OnShutdownAll() = 0;    // "Global\<name>-Shutdown-All" was set
        virtual void OnShutdownUser() = 0;   // "<name>-Shutdown-User" was set

    protected:
        ~IObserveEvent() = default;
    };

    // Creates or opens the two shutdown events of this base name.
    explicit CObserveApp(LPCWSTR name);
    virtual ~CObserveApp();

    // True when some process holds "<name>-MutexUser" (this session) or "Global\<name>-MutexAll".
    bool IsRunningUser();
    bool IsRunningAll();
    // Sets the session or machine-wide shutdown event; true when the event was set.
    bool ShutdownUser();
    bool ShutdownAll();
    // Takes both instance mutexes and starts the observer thread; true when the session mutex is
    // held. Set m_pEvent before calling it.
    bool Observe();
    // Starts the observer thread only: the process hears shutdown requests without marking a
    // running instance. A request set before the call is still reported (the events stay set while
    // this object holds them). True when the thread runs. Set m_pEvent before calling it.
    bool ObserveShutdown();

private:
    CObserveApp(const CObserveApp&) = delete;
    CObserveApp& operator=(const CObserveApp&) = delete;

    static DWORD WINAPI observerThread(LPVOID param);
    void runObserver();
    bool StopThread();
    LPWSTR formatName(LPCWSTR pattern) const;
    bool isRunning(LPCWSTR pattern) const;
    UniqueHandle createOrOpenMutex(LPCWSTR pattern) const;
    UniqueHandle createOrOpenEvent(LPCWSTR pattern) const;

    UniqueHandle m_hMutexUser;
    UniqueHandle m_hMutexAll;
    UniqueHandle m_hShutdownUser;
    UniqueHandle m_hShutdownAll;
    UniqueHandle m_hStopEvent;
    UniqueHandle m_hThread;
    LPWSTR m_pszName;

public:
    // The listener, not owned; read by the observer thread, so set it before Observe.
    IObserveEvent* m_pEvent;
};
