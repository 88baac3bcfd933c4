#include "VcamTestSupport.h"

#include "DeviceStore.h"

#include <cstdio>
#include <cstdlib>

namespace vcamtest {

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

ScopedDevice::ScopedDevice() : m_name(kivotest::uniqueName(L"t")), m_namespace(L"KIVO_VCAM_NAMESPACE", m_name)
{
}

ScopedDevice::~ScopedDevice()
{
    std::wstring path;
    if (vcam::DeviceStore::backingFilePath(path))
        DeleteFileW(path.c_str());
}

bool startStaged(TestProcess& process, const wchar_t* program, const std::wstring& arguments, HANDLE token)
{
    kivotest::LaunchOptions options;
    options.captureOutput = true;
    options.token = token;
    return process.start(kivotest::stageFile(program), arguments, options);
}

RunResult runStaged(const wchar_t* program, const std::wstring& arguments, DWORD timeoutMs, HANDLE token)
{
    kivotest::LaunchOptions options;
    options.token = token;
    return kivotest::runToEnd(kivotest::stageFile(program), arguments, timeoutMs, options);
}

RestrictedToken::RestrictedToken()
{
    HANDLE hOwn = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_ALL_ACCESS, &hOwn))
        return;
    BYTE user[SECURITY_MAX_SID_SIZE + sizeof(TOKEN_USER)];
    DWORD size = 0;
    BYTE admins[SECURITY_MAX_SID_SIZE];
    DWORD adminsSize = sizeof(admins);
    if (GetTokenInformation(hOwn, TokenUser, user, sizeof(user), &size) &&
        CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, admins, &adminsSize)) {
        SID_AND_ATTRIBUTES denyOnly[2] = {{reinterpret_cast<TOKEN_USER*>(user)->User.Sid, 0}, {admins, 0}};
        if (!CreateRestrictedToken(hOwn, DISABLE_MAX_PRIVILEGE, 2, denyOnly, 0, nullptr, 0, nullptr, &m_hToken))
            m_hToken = nullptr;
    }
    CloseHandle(hOwn);
}

RestrictedToken::~RestrictedToken()
{
    if (m_hToken)
        CloseHandle(m_hToken);
}

KivoLibModule::KivoLibModule()
{
    m_hLib = LoadLibraryW(kivotest::stageFile(L"KivoLib.dll").c_str());
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

} // namespace vcamtest
