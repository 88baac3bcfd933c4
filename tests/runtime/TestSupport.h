// What the runtime tests share: names unique to this test process, owned events, the probe process
// and reading files the code under test wrote.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// A name no other test process uses: stem, process id and a counter.
std::wstring uniqueName(const wchar_t* stem);
// The folder of this test program, with a trailing backslash.
std::wstring testFolder();
// The whole file, or an empty string when it cannot be read.
std::string readFile(const std::wstring& path);
// The file's lines without their line ends; a last line without an end is kept as it is.
std::vector<std::string> readLines(const std::wstring& path);

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

// RuntimeProbe.exe started with arguments; killed when the test leaves it running.
class ProbeProcess {
public:
    ProbeProcess() = default;
    ~ProbeProcess();
    bool start(const std::wstring& arguments);
    // True with the exit code when the process ended within the time-out.
    bool waitExit(DWORD timeoutMs, DWORD* exitCode);
    HANDLE handle() const { return m_hProcess; }

private:
    ProbeProcess(const ProbeProcess&) = delete;
    ProbeProcess& operator=(const ProbeProcess&) = delete;
    HANDLE m_hProcess = nullptr;
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
