#include "TestSupport.h"

#include <fstream>
#include <sstream>

namespace {
const DWORD kKillWaitMs = 5000;
}

std::wstring uniqueName(const wchar_t* stem)
{
    static LONG counter = 0;
    return std::wstring(stem) + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(InterlockedIncrement(&counter));
}

std::wstring testFolder()
{
    WCHAR exe[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, exe, ARRAYSIZE(exe));
    std::wstring folder(exe, n);
    folder.resize(folder.find_last_of(L'\\') + 1);
    return folder;
}

std::string readFile(const std::wstring& path)
{
    // Shared with writers that may still have the file open.
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(hFile);
    return text;
}

std::vector<std::string> readLines(const std::wstring& path)
{
    std::vector<std::string> lines;
    std::istringstream in(readFile(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TestEvent::TestEvent(const std::wstring& name) : m_hEvent(CreateEventW(nullptr, TRUE, FALSE, name.c_str()))
{
}

TestEvent::~TestEvent()
{
    if (m_hEvent)
        CloseHandle(m_hEvent);
}

ProbeProcess::~ProbeProcess()
{
    if (!m_hProcess)
        return;
    if (WaitForSingleObject(m_hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_hProcess, 1);
        WaitForSingleObject(m_hProcess, kKillWaitMs);
    }
    CloseHandle(m_hProcess);
}

bool ProbeProcess::start(const std::wstring& arguments)
{
    std::wstring exe = testFolder() + L"RuntimeProbe.exe";
    std::wstring commandLine = L"\"" + exe + L"\" " + arguments;   // CreateProcessW may write into it
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
        return false;
    CloseHandle(pi.hThread);
    m_hProcess = pi.hProcess;
    return true;
}

bool ProbeProcess::waitExit(DWORD timeoutMs, DWORD* exitCode)
{
    if (!m_hProcess || WaitForSingleObject(m_hProcess, timeoutMs) != WAIT_OBJECT_0)
        return false;
    return GetExitCodeProcess(m_hProcess, exitCode) != FALSE;
}
