#include "VcamTestSupport.h"

#include "DeviceStore.h"

#include <cstdio>
#include <cstdlib>

namespace vcamtest {

std::wstring stageDir()
{
    return KIVO_TEST_STAGE_DIR;
}

std::wstring testsDir()
{
    WCHAR path[MAX_PATH];
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    *wcsrchr(path, L'\\') = L'\0';
    return path;
}

std::wstring stageProgram(const wchar_t* name)
{
    return L"\"" + stageDir() + L"\\" + name + L"\"";
}

LONGLONG qpc()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double qpcMs(LONGLONG ticks)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(ticks) * 1000.0 / double(f.QuadPart);
}

std::wstring makeTempFolder(const wchar_t* prefix)
{
    static LONG counter = 0;
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + prefix + std::to_wstring(GetCurrentProcessId()) + L"_" +
                          std::to_wstring(InterlockedIncrement(&counter));
    CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

void removeFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW((folder + L"\\*").c_str(), &data);
    if (hFind != INVALID_HANDLE_VALUE) {
        do {
            if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileW((folder + L"\\" + data.cFileName).c_str());
        } while (FindNextFileW(hFind, &data));
        FindClose(hFind);
    }
    RemoveDirectoryW(folder.c_str());
}

ScopedDevice::ScopedDevice()
{
    static LONG counter = 0;
    m_name = L"t" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(InterlockedIncrement(&counter));
    SetEnvironmentVariableW(L"KIVO_VCAM_NAMESPACE", m_name.c_str());
}

ScopedDevice::~ScopedDevice()
{
    std::wstring path;
    if (vcam::DeviceStore::backingFilePath(path))
        DeleteFileW(path.c_str());
    SetEnvironmentVariableW(L"KIVO_VCAM_NAMESPACE", nullptr);
}

ChildProcess::~ChildProcess()
{
    kill();
    if (m_pi.hProcess)
        CloseHandle(m_pi.hProcess);
    if (!m_outputPath.empty())
        DeleteFileW(m_outputPath.c_str());
}

bool ChildProcess::start(const std::wstring& commandLine)
{
    WCHAR temp[MAX_PATH], file[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    if (!GetTempFileNameW(temp, L"vco", 0, file))
        return false;
    m_outputPath = file;
    SECURITY_ATTRIBUTES sa = {sizeof(sa), nullptr, TRUE};
    HANDLE hOut = CreateFileW(file, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hOut == INVALID_HANDLE_VALUE)
        return false;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = nullptr;
    si.hStdOutput = hOut;
    si.hStdError = hOut;
    std::wstring command = commandLine;
    BOOL ok = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &m_pi);
    CloseHandle(hOut);
    if (!ok)
        return false;
    CloseHandle(m_pi.hThread);
    m_pi.hThread = nullptr;
    return true;
}

bool ChildProcess::wait(DWORD timeoutMs)
{
    return m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void ChildProcess::kill()
{
    if (m_pi.hProcess && WaitForSingleObject(m_pi.hProcess, 0) == WAIT_TIMEOUT) {
        TerminateProcess(m_pi.hProcess, 99);
        WaitForSingleObject(m_pi.hProcess, 5000);
    }
}

ProcessResult ChildProcess::result()
{
    ProcessResult r;
    r.finished = wait(0);
    if (r.finished)
        GetExitCodeProcess(m_pi.hProcess, &r.exitCode);
    HANDLE hFile = CreateFileW(m_outputPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_EXISTING, 0, nullptr);
    if (hFile != INVALID_HANDLE_VALUE) {
        char buffer[4096];
        DWORD read = 0;
        while (ReadFile(hFile, buffer, sizeof(buffer), &read, nullptr) && read > 0)
            r.output.append(buffer, read);
        CloseHandle(hFile);
    }
    return r;
}

ProcessResult runProgram(const std::wstring& commandLine, DWORD timeoutMs)
{
    ChildProcess child;
    if (!child.start(commandLine))
        return ProcessResult();
    child.wait(timeoutMs);
    return child.result();
}

bool pumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done())
            return true;
        DWORD elapsed = GetTickCount() - start;
        if (elapsed >= timeoutMs)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(10, timeoutMs - elapsed), QS_ALLINPUT);
    }
}

KivoLibModule::KivoLibModule()
{
    m_hLib = LoadLibraryW((stageDir() + L"\\KivoLib.dll").c_str());
}

KivoLibModule::~KivoLibModule()
{
    if (m_hLib)
        FreeLibrary(m_hLib);
}

IImgFAccessTask* KivoLibModule::createTask()
{
    typedef IImgFAccessTask*(__cdecl * Fn)();
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m_hLib, "CreateImgFAccessTask")));
    return fn ? fn() : nullptr;
}

ICameraPropertySettings* KivoLibModule::createSettings(DWORD cameraIndex)
{
    typedef ICameraPropertySettings*(__cdecl * Fn)(DWORD);
    auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(m_hLib, "CreateCameraPropertySettings")));
    return fn ? fn(cameraIndex) : nullptr;
}

RecordingWindow::RecordingWindow()
{
    static const wchar_t kClass[] = L"KivoVcamTestRecorder";
    WNDCLASSW wc = {};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterClassW(&wc);   // fails harmlessly when already registered
    m_hwnd = CreateWindowExW(0, kClass, L"vcam test recorder", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                             GetModuleHandleW(nullptr), this);
}

RecordingWindow::~RecordingWindow()
{
    if (m_hwnd)
        DestroyWindow(m_hwnd);
}

size_t RecordingWindow::count(UINT message) const
{
    size_t n = 0;
    for (const RecordedMessage& m : m_messages)
        n += m.message == message;
    return n;
}

const RecordedMessage* RecordingWindow::first(UINT message) const
{
    for (const RecordedMessage& m : m_messages)
        if (m.message == message)
            return &m;
    return nullptr;
}

LRESULT CALLBACK RecordingWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    auto* self = reinterpret_cast<RecordingWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    bool recorded = (message >= WM_USER + 1 && message <= WM_USER + 4) || message == WM_DEVICECHANGE;
    if (self && recorded) {
        RecordedMessage m = {message, wParam, lParam, qpc()};
        self->m_messages.push_back(m);
        if (self->onMessage)
            self->onMessage(m);
        return message == WM_DEVICECHANGE ? TRUE : 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

long long numberAfter(const std::string& output, const std::string& key)
{
    size_t at = output.find(key + " ");
    if (at == std::string::npos)
        return -1;
    return strtoll(output.c_str() + at + key.size() + 1, nullptr, 10);
}

bool readBmp(const std::wstring& path, BmpFile& bmp)
{
    FILE* f = _wfopen(path.c_str(), L"rb");
    if (!f)
        return false;
    BITMAPFILEHEADER file;
    bool ok = fread(&file, sizeof(file), 1, f) == 1 && fread(&bmp.header, sizeof(bmp.header), 1, f) == 1 &&
              file.bfType == 0x4D42 && file.bfSize > file.bfOffBits;
    if (ok) {
        bmp.pixels.resize(file.bfSize - file.bfOffBits);
        ok = fseek(f, long(file.bfOffBits), SEEK_SET) == 0 &&
             fread(bmp.pixels.data(), 1, bmp.pixels.size(), f) == bmp.pixels.size();
    }
    fclose(f);
    return ok;
}

} // namespace vcamtest
