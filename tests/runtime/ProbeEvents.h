// How the runtime tests talk to RuntimeProbe.exe: owned named events, and the probe program itself.
#pragma once

#include "TestSupport.h"

#include <windows.h>

#include <string>

// RuntimeProbe.exe, beside the test program.
std::wstring runtimeProbe();

// A named event owned by the test (manual reset, not set).
class TestEvent {
public:
    explicit TestEvent(const std::wstring& name);
    ~TestEvent();
    HANDLE handle() const { return m_hEvent; }
    bool set() { return SetEvent(m_hEvent) != FALSE; }
    bool waitSet(DWORD timeoutMs) { return WaitForSingleObject(m_hEvent, timeoutMs) == WAIT_OBJECT_0; }

private:
    TestEvent(const TestEvent&) = delete;
    TestEvent& operator=(const TestEvent&) = delete;
    HANDLE m_hEvent;
};

// The events through which an observing probe reports, named after one tag.
struct ObserverProbeEvents {
    std::wstring tag;
    TestEvent ready;      // the probe observes
    TestEvent reported;   // its observer reported once
    TestEvent finish;     // the test lets it end
    explicit ObserverProbeEvents(const std::wstring& t)
        : tag(t), ready(L"KivoProbeReady-" + t), reported(L"KivoProbeReported-" + t),
          finish(L"KivoProbeFinish-" + t)
    {
    }
};
