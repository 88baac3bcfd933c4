// An instance observer's listener that records what it is told: how many shutdowns of each scope,
// the scope told first, and the thread the calls came on. Its event is set at every call.
#pragma once

#include "ObserveApp.h"
#include "RuntimeProbeCodes.h"

#include <windows.h>

#include <atomic>

class ShutdownRecorder : public CObserveApp::IObserveEvent {
public:
    ShutdownRecorder() = default;
    ~ShutdownRecorder() { CloseHandle(m_hCalled); }
    ShutdownRecorder(const ShutdownRecorder&) = delete;
    ShutdownRecorder& operator=(const ShutdownRecorder&) = delete;

    void OnShutdownAll() override { called(kProbeKindAll, m_all); }
    void OnShutdownUser() override { called(kProbeKindUser, m_user); }

    std::atomic<int> m_all{0};
    std::atomic<int> m_user{0};
    std::atomic<int> m_firstKind{kProbeKindNone};
    std::atomic<DWORD> m_threadId{0};
    HANDLE m_hCalled = CreateEventW(nullptr, FALSE, FALSE, nullptr);   // auto-reset: one wait a call

private:
    void called(int kind, std::atomic<int>& counter)
    {
        int none = kProbeKindNone;
        m_firstKind.compare_exchange_strong(none, kind);
        ++counter;
        m_threadId = GetCurrentThreadId();
        SetEvent(m_hCalled);
    }
};
