#include "TestProcess.h"

#include "LogFile.h"
#include "TestPaths.h"

#include <algorithm>

namespace kivotest {

namespace {

const DWORD kKillWaitMs = 5000;
const DWORD kKilledExitCode = 255;

std::wstring variableName(const std::wstring& entry)
{
    // Entries such as "=C:=C:\dir" keep their leading '=' as part of the name.
    size_t equals = entry.find(L'=', 1);
    return entry.substr(0, equals);
}

// This process's environment with the additions, sorted by name as the system keeps it.
std::vector<WCHAR> childEnvironment(const LaunchOptions& options)
{
    std::vector<std::wstring> entries;
    if (LPWCH block = GetEnvironmentStringsW()) {
        for (LPCWSTR entry = block; *entry; entry += wcslen(entry) + 1)
            entries.push_back(entry);
        FreeEnvironmentStringsW(block);
    }
    auto setVariable = [&](const std::wstring& name, const std::wstring& value) {
        entries.erase(std::remove_if(entries.begin(), entries.end(),
                                     [&](const std::wstring& e) { return _wcsicmp(variableName(e).c_str(), name.c_str()) == 0; }),
                      entries.end());
        if (!value.empty())
            entries.push_back(name + L"=" + value);
    };
    for (const auto& variable : options.environment)
        setVariable(variable.first, variable.second);
    if (!options.searchPath.empty())
        setVariable(L"PATH", options.searchPath);
    std::sort(entries.begin(), entries.end(), [](const std::wstring& a, const std::wstring& b) {
        return _wcsicmp(variableName(a).c_str(), variableName(b).c_str()) < 0;
    });
    std::vector<WCHAR> block;
    for (const std::wstring& entry : entries)
        block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
    block.push_back(L'\0');
    return block;
}

HANDLE createOutputFile(std::wstring& path)
{
    WCHAR temp[MAX_PATH], file[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, temp) || !GetTempFileNameW(temp, L"kto", 0, file))
        return INVALID_HANDLE_VALUE;
    path = file;
    SECURITY_ATTRIBUTES inheritable = {sizeof(inheritable), nullptr, TRUE};
    return CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inheritable,
                       CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

} // namespace

TestProcess::TestProcess(const std::wstring& exe, const std::wstring& arguments, const LaunchOptions& options)
{
    start(exe, arguments, options);
}

TestProcess::~TestProcess()
{
    release();
}

bool TestProcess::start(const std::wstring& exe, const std::wstring& arguments, const LaunchOptions& options)
{
    return startExact(exe, arguments.empty() ? quoted(exe) : quoted(exe) + L" " + arguments, options);
}

bool TestProcess::startExact(const std::wstring& exe, const std::wstring& commandLine, const LaunchOptions& options)
{
    release();
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    HANDLE hOutput = INVALID_HANDLE_VALUE;
    if (options.captureOutput) {
        hOutput = createOutputFile(m_outputPath);
        if (hOutput == INVALID_HANDLE_VALUE) {
            m_startError = GetLastError();
            return false;
        }
        si.dwFlags = STARTF_USESTDHANDLES;
        si.hStdOutput = hOutput;
        si.hStdError = hOutput;
    }
    std::vector<WCHAR> environment = childEnvironment(options);
    std::wstring line = commandLine;   // CreateProcessW may write into it
    PROCESS_INFORMATION pi = {};
    const DWORD flags = CREATE_UNICODE_ENVIRONMENT | (options.captureOutput ? CREATE_NO_WINDOW : 0);
    const wchar_t* folder = options.folder.empty() ? nullptr : options.folder.c_str();
    BOOL ok = options.token ? CreateProcessAsUserW(options.token, exe.c_str(), &line[0], nullptr, nullptr,
                                                   options.captureOutput, flags, environment.data(), folder, &si, &pi)
                            : CreateProcessW(exe.c_str(), &line[0], nullptr, nullptr, options.captureOutput, flags,
                                             environment.data(), folder, &si, &pi);
    m_startError = ok ? ERROR_SUCCESS : GetLastError();
    if (hOutput != INVALID_HANDLE_VALUE)
        CloseHandle(hOutput);
    if (!ok)
        return false;
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    m_processId = pi.dwProcessId;
    return true;
}

bool TestProcess::running() const
{
    return m_hProcess && WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT;
}

bool TestProcess::waitExit(DWORD timeoutMs)
{
    return m_hProcess && WaitForSingleObject(m_hProcess, timeoutMs) == WAIT_OBJECT_0;
}

DWORD TestProcess::exitCode() const
{
    DWORD code = ~0u;
    if (!m_hProcess || running() || !GetExitCodeProcess(m_hProcess, &code))
        return ~0u;
    return code;
}

void TestProcess::kill()
{
    if (!running())
        return;
    TerminateProcess(m_hProcess, kKilledExitCode);
    WaitForSingleObject(m_hProcess, kKillWaitMs);
}

std::string TestProcess::output() const
{
    return m_outputPath.empty() ? std::string() : readTextFile(m_outputPath);
}

void TestProcess::release()
{
    kill();
    if (m_hProcess)
        CloseHandle(m_hProcess);
    m_hProcess = nullptr;
    m_processId = 0;
    if (!m_outputPath.empty())
        DeleteFileW(m_outputPath.c_str());
    m_outputPath.clear();
}

RunResult runToEnd(const std::wstring& exe, const std::wstring& arguments, DWORD timeoutMs, LaunchOptions options)
{
    options.captureOutput = true;
    TestProcess process(exe, arguments, options);
    RunResult result;
    result.finished = process.waitExit(timeoutMs);
    result.exitCode = process.exitCode();
    result.output = process.output();
    return result;
}

std::wstring imageOfProcess(DWORD processId)
{
    HANDLE hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!hProcess)
        return std::wstring();
    WCHAR image[MAX_PATH] = L"";
    DWORD length = ARRAYSIZE(image);
    bool ok = QueryFullProcessImageNameW(hProcess, 0, image, &length) != FALSE;
    CloseHandle(hProcess);
    return ok ? image : std::wstring();
}

} // namespace kivotest
