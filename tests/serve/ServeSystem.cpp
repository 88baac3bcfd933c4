#include "ServeSystem.h"

#include "KivoNames.h"
#include "StandInProtocol.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace serve {

namespace {

std::wstring testsDir()
{
    WCHAR exe[MAX_PATH];
    GetModuleFileNameW(nullptr, exe, MAX_PATH);
    std::wstring dir(exe);
    return dir.substr(0, dir.find_last_of(L'\\'));
}

std::wstring stageDir()
{
    return testsDir() + L"\\..\\stage";
}

std::vector<std::string> readLines(const std::wstring& path)
{
    std::vector<std::string> lines;
    std::ifstream in(path.c_str(), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

bool endsWith(const std::string& s, const std::string& tail)
{
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

void copyStage(const std::wstring& to, std::initializer_list<const wchar_t*> leaveOut)
{
    WIN32_FIND_DATAW fd;
    HANDLE hFind = FindFirstFileW((stageDir() + L"\\*").c_str(), &fd);
    if (hFind == INVALID_HANDLE_VALUE)
        return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        std::wstring name = fd.cFileName;
        bool skip = name == L"KivoSet.exe" ||
                    std::any_of(leaveOut.begin(), leaveOut.end(),
                                [&](const wchar_t* n) { return _wcsicmp(n, name.c_str()) == 0; });
        if (!skip)
            CopyFileW((stageDir() + L"\\" + name).c_str(), (to + L"\\" + name).c_str(), FALSE);
    } while (FindNextFileW(hFind, &fd));
    FindClose(hFind);
    bool leaveOutKivoSet = std::any_of(leaveOut.begin(), leaveOut.end(),
                                       [](const wchar_t* n) { return _wcsicmp(n, L"KivoSet.exe") == 0; });
    if (!leaveOutKivoSet)
        CopyFileW(testsFile(L"StandInKivoSet.exe").c_str(), (to + L"\\KivoSet.exe").c_str(), FALSE);
}

void removeTree(const std::wstring& dir)
{
    WIN32_FIND_DATAW fd;
    HANDLE hFind = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = fd.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = dir + L"\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                removeTree(path);
            else
                DeleteFileW(path.c_str());
        } while (FindNextFileW(hFind, &fd));
        FindClose(hFind);
    }
    RemoveDirectoryW(dir.c_str());
}

} // namespace

std::wstring testsFile(const wchar_t* name)
{
    return testsDir() + L"\\" + name;
}

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= timeoutMs)
            return false;
        // Keep this thread's own windows responsive while waiting.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

Installation::Installation(std::initializer_list<const wchar_t*> leaveOut)
{
    static int count = 0;
    m_dir = testsDir() + L"\\install-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(++count);
    removeTree(m_dir);
    CreateDirectoryW(m_dir.c_str(), nullptr);
    copyStage(m_dir, leaveOut);
    SetEnvironmentVariableW(L"KIVO_LOG_FILE", file(L"kivo.log").c_str());
    SetEnvironmentVariableW(L"KIVO_STANDIN_OUT", file(L"standin.txt").c_str());
    // Programs started from here find libraries only where an installed program would: the test's
    // own search path leads to the staged libraries, which would hide a library left out.
    WCHAR path[4096];
    DWORD n = GetEnvironmentVariableW(L"PATH", path, ARRAYSIZE(path));
    if (n > 0 && n < ARRAYSIZE(path))
        m_savedPath = path;
    WCHAR windows[MAX_PATH];
    UINT w = GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring windowsDir(windows, w);
    SetEnvironmentVariableW(L"PATH", (windowsDir + L"\\system32;" + windowsDir).c_str());
    m_cameraNamespace = L"servetest-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(count);
    SetEnvironmentVariableW(L"KIVO_VCAM_NAMESPACE", m_cameraNamespace.c_str());
}

Installation::~Installation()
{
    if (!m_savedPath.empty())
        SetEnvironmentVariableW(L"PATH", m_savedPath.c_str());
    removeTree(m_dir);
    // The virtual camera keeps each device's state in a file; this one was the installation's own.
    WCHAR programData[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, programData)))
        DeleteFileW((std::wstring(programData) + L"\\Kivo\\VirtualCamera\\device-" + m_cameraNamespace + L".bin").c_str());
}

std::vector<std::string> Installation::logLines() const
{
    return readLines(file(L"kivo.log"));
}

bool Installation::logHas(const std::string& text) const
{
    return logCount(text) > 0;
}

int Installation::logCount(const std::string& text) const
{
    std::vector<std::string> lines = logLines();
    return static_cast<int>(std::count_if(lines.begin(), lines.end(),
                                          [&](const std::string& l) { return endsWith(l, text); }));
}

bool Installation::waitForLog(const std::string& text, DWORD timeoutMs, int count) const
{
    return waitFor([&] { return logCount(text) >= count; }, timeoutMs);
}

std::vector<std::string> Installation::standInLines() const
{
    return readLines(file(L"standin.txt"));
}

bool Installation::waitForStandIn(const std::string& text, DWORD timeoutMs) const
{
    return waitFor(
        [&] {
            std::vector<std::string> lines = standInLines();
            return std::find(lines.begin(), lines.end(), text) != lines.end();
        },
        timeoutMs);
}

Process::Process(const std::wstring& exe, const std::wstring& commandLine) : m_pi()
{
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    std::wstring buffer = commandLine;
    std::wstring dir = exe.substr(0, exe.find_last_of(L'\\'));
    if (!CreateProcessW(exe.c_str(), &buffer[0], nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(), &si, &m_pi))
        m_pi = PROCESS_INFORMATION();
}

Process::~Process()
{
    if (running())
        terminate();
    if (m_pi.hThread)
        CloseHandle(m_pi.hThread);
    if (m_pi.hProcess)
        CloseHandle(m_pi.hProcess);
}

bool Process::waitForExit(DWORD timeoutMs)
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool Process::running() const
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD Process::exitCode() const
{
    DWORD code = ~0u;
    if (m_pi.hProcess)
        GetExitCodeProcess(m_pi.hProcess, &code);
    return code;
}

void Process::terminate()
{
    TerminateProcess(m_pi.hProcess, 255);
    WaitForSingleObject(m_pi.hProcess, 5000);
}

DWORD runTool(const Installation& inst, const wchar_t* exe, const std::wstring& arguments, DWORD timeoutMs)
{
    Process tool(inst.file(exe), std::wstring(exe) + L" " + arguments);
    if (!tool.started() || !tool.waitForExit(timeoutMs))
        return ~0u;
    return tool.exitCode();
}

DWORD runTool(const Installation& inst, const wchar_t* exe, const std::wstring& arguments, std::string& output,
              DWORD timeoutMs)
{
    output.clear();
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE hRead = nullptr, hWrite = nullptr;
    if (!CreatePipe(&hRead, &hWrite, &sa, 0))
        return ~0u;
    SetHandleInformation(hRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = hWrite;
    si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    std::wstring path = inst.file(exe);
    std::wstring commandLine = std::wstring(exe) + L" " + arguments;
    PROCESS_INFORMATION pi = {};
    BOOL started = CreateProcessW(path.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  inst.dir().c_str(), &si, &pi);
    CloseHandle(hWrite);
    DWORD code = ~0u;
    if (started) {
        // The tools print little; read until the tool closes its end.
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(hRead, buffer, sizeof(buffer), &got, nullptr) && got > 0)
            output.append(buffer, got);
        if (WaitForSingleObject(pi.hProcess, timeoutMs) == WAIT_OBJECT_0)
            GetExitCodeProcess(pi.hProcess, &code);
        else
            TerminateProcess(pi.hProcess, 255);
        CloseHandle(pi.hThread);
        CloseHandle(pi.hProcess);
    }
    CloseHandle(hRead);
    return code;
}

std::string cameraDirection(const Installation& inst, int camera)
{
    std::string listing;
    if (runTool(inst, L"kivocam.exe", L"list", listing) != 0)
        return "";
    std::istringstream lines(listing);
    std::string line;
    std::string prefix = std::to_string(camera) + " ";
    while (std::getline(lines, line)) {
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        if (line.find(" rear") != std::string::npos)
            return "rear";
        if (line.find(" front") != std::string::npos)
            return "front";
    }
    return "";
}

HWND findFrameWindow(DWORD processId)
{
    struct Search {
        DWORD pid;
        HWND found;
    } search = {processId, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD pid = 0;
            GetWindowThreadProcessId(hWnd, &pid);
            WCHAR cls[64] = {};
            GetClassNameW(hWnd, cls, ARRAYSIZE(cls));
            if (pid == s->pid && wcsncmp(cls, L"Afx:", 4) == 0) {
                s->found = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND waitForFrameWindow(DWORD processId, DWORD timeoutMs)
{
    HWND hWnd = nullptr;
    waitFor([&] { return (hWnd = findFrameWindow(processId)) != nullptr; }, timeoutMs);
    return hWnd;
}

HWND findStandInWindow()
{
    return FindWindowW(kStandInClassName, nullptr);
}

void resetSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY);
}

bool readSetting(const wchar_t* name, DWORD& value)
{
    DWORD size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

void writeSetting(const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, REG_DWORD, &value, sizeof(value));
}

void setExternalCameraInstalled(bool installed)
{
    if (installed) {
        DWORD one = 1;
        RegSetKeyValueW(HKEY_LOCAL_MACHINE, KIVO_SETTINGS_KEY, KIVO_VALUE_EXTERNAL_CAMERA_INSTALLED, REG_DWORD, &one,
                        sizeof(one));
    } else {
        HKEY hKey = nullptr;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, KIVO_SETTINGS_KEY, 0, KEY_SET_VALUE, &hKey) == ERROR_SUCCESS) {
            RegDeleteValueW(hKey, KIVO_VALUE_EXTERNAL_CAMERA_INSTALLED);
            RegCloseKey(hKey);
        }
    }
}

bool trayIconShown(HWND hServe)
{
    NOTIFYICONDATAW nid = {};
    nid.cbSize = NOTIFYICONDATAW_V3_SIZE;
    nid.hWnd = hServe;
    nid.uID = 1;
    return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

} // namespace serve
