// A process a test starts: its command line, working folder, environment additions, search path and
// (optionally) what it prints. The object owns the process: one still running when the object goes
// is killed, so that no test leaves a process behind. Every wait has a deadline.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace kivotest {

struct LaunchOptions {
    std::wstring folder;   // working folder; empty: this process's
    // Variables set for the child on top of this process's environment (an empty value removes one).
    std::vector<std::pair<std::wstring, std::wstring>> environment;
    std::wstring searchPath;      // the child's PATH; empty: this process's
    bool captureOutput = false;   // standard output and error to a file, read by output()
    HANDLE token = nullptr;       // borrowed: the child runs as this primary token (a restricted user)
};

class TestProcess {
public:
    TestProcess() = default;
    // Starts exe with the arguments after its quoted path; see started().
    TestProcess(const std::wstring& exe, const std::wstring& arguments, const LaunchOptions& options = {});
    ~TestProcess();
    TestProcess(const TestProcess&) = delete;
    TestProcess& operator=(const TestProcess&) = delete;

    bool start(const std::wstring& exe, const std::wstring& arguments, const LaunchOptions& options = {});
    // Starts exe with exactly this command line, its first token included (programs that parse their
    // own command line are tested with lines a shell would never make).
    bool startExact(const std::wstring& exe, const std::wstring& commandLine, const LaunchOptions& options = {});

    bool started() const { return m_hProcess != nullptr; }
    DWORD startError() const { return m_startError; }
    DWORD id() const { return m_processId; }
    HANDLE handle() const { return m_hProcess; }
    bool running() const;
    // True when the process ended within the time-out.
    bool waitExit(DWORD timeoutMs);
    // The exit code, or ~0u while the process runs or when it never started.
    DWORD exitCode() const;
    // Ends the process now and waits for its end.
    void kill();
    // What it printed so far (captureOutput only).
    std::string output() const;

private:
    void release();

    HANDLE m_hProcess = nullptr;
    DWORD m_processId = 0;
    DWORD m_startError = ERROR_SUCCESS;
    std::wstring m_outputPath;
};

// Runs exe to its end, with its output captured; killed when it has not ended within the time-out.
struct RunResult {
    bool finished = false;
    DWORD exitCode = ~0u;
    std::string output;
};
RunResult runToEnd(const std::wstring& exe, const std::wstring& arguments, DWORD timeoutMs,
                   LaunchOptions options = {});

// The full path of the program a process runs, or "" when it cannot be read (or the process is gone).
std::wstring imageOfProcess(DWORD processId);

} // namespace kivotest
