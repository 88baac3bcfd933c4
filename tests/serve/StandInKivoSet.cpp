// Plays the settings program towards the service in system tests: reads "ServeHandle", announces a
// hidden window with "WM_KIVOSET_OPEN", watches the camera named by "CameraIdx" with an image access
// task of its own and closes when the camera closes (slow to announce when KIVO_STANDIN_ANNOUNCE_DELAY_MS
// says so), and on request from the test posts
// "WM_KIVOSET_HIDE" or sends "WM_KIVOSET_HELP". It writes what happens, one line each,
// to the file named by KIVO_STANDIN_OUT.
#include "KivoLib.h"
#include "KivoNames.h"
#include "StandInProtocol.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>

namespace {

HWND g_hServe = nullptr;
IImgFAccessTask* g_task = nullptr;

// Like the real program, the stand-in ends when its camera does not report open soon after start,
// so that a test which ended meanwhile leaves no process behind.
const UINT_PTR kOpenTimer = 1;
const UINT kOpenDeadlineMs = 3000;

void record(const wchar_t* format, ...)
{
    WCHAR path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KIVO_STANDIN_OUT", path, MAX_PATH))
        return;
    WCHAR line[256];
    va_list args;
    va_start(args, format);
    _vsnwprintf(line, ARRAYSIZE(line) - 1, format, args);
    va_end(args);
    line[ARRAYSIZE(line) - 1] = L'\0';
    // Several stand-ins may write at once (a halt launch beside a running one): whole lines, appended.
    HANDLE hFile = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                               OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    char utf8[512];
    int n = WideCharToMultiByte(CP_UTF8, 0, line, -1, utf8, sizeof(utf8) - 2, nullptr, nullptr);
    if (n > 0) {
        utf8[n - 1] = '\n';
        DWORD written = 0;
        WriteFile(hFile, utf8, static_cast<DWORD>(n), &written, nullptr);
    }
    CloseHandle(hFile);
}

DWORD readSetting(const wchar_t* name)
{
    DWORD value = 0;
    DWORD size = sizeof(value);
    RegGetValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, RRF_RT_REG_DWORD, nullptr, &value, &size);
    return value;
}

HWND readServeHandle()
{
    DWORD value = readSetting(KIVO_VALUE_SERVE_HANDLE);
    HWND hWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
    return IsWindow(hWnd) ? hWnd : nullptr;
}

LRESULT CALLBACK standInProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_USER + 2:
        KillTimer(hWnd, kOpenTimer);
        record(L"device-open %u", static_cast<unsigned>(wParam));
        return 0;
    case WM_TIMER:
        if (wParam == kOpenTimer) {
            record(L"no-open");
            DestroyWindow(hWnd);
        }
        return 0;
    case WM_USER + 3:
    case WM_USER + 4:
        record(L"%s %u %ld", msg == WM_USER + 3 ? L"device-close" : L"device-remove",
               static_cast<unsigned>(wParam), static_cast<long>(lParam));
        DestroyWindow(hWnd);
        return 0;
    case WM_SHOWWINDOW:
        record(wParam ? L"shown" : L"hidden");
        break;
    case WM_STANDIN_HELP:
        SendMessageW(g_hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_HELP), 0, 0);
        return 0;
    case WM_STANDIN_CLOSE:
        DestroyWindow(hWnd);
        return 0;
    case WM_DESTROY:
        if (g_task) {
            g_task->Release();
            g_task = nullptr;
        }
        if (IsWindow(g_hServe))
            PostMessageW(g_hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_CLOSE), 0, 0);
        record(L"closed");
        PostQuitMessage(0);
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

bool screenSaverMutexExists()
{
    HANDLE hMutex = OpenMutexW(SYNCHRONIZE, FALSE, KIVO_FLICKMIX_MUTEX);
    if (!hMutex)
        return false;
    CloseHandle(hMutex);
    return true;
}

int runDialog(HINSTANCE hInstance, int nCmdShow)
{
    LARGE_INTEGER started;
    QueryPerformanceCounter(&started);
    record(L"qpc %lld", started.QuadPart);
    g_hServe = readServeHandle();
    if (!g_hServe) {
        record(L"no-serve-handle");
        return 1;
    }
    WNDCLASSW wc = {};
    wc.lpfnWndProc = standInProc;
    wc.hInstance = hInstance;
    wc.lpszClassName = kStandInClassName;
    RegisterClassW(&wc);
    HWND hWnd = CreateWindowExW(0, kStandInClassName, L"KivoSet stand-in", WS_POPUP | WS_CAPTION, 100, 100,
                                200, 100, nullptr, nullptr, hInstance, nullptr);
    if (!hWnd)
        return 2;
    record(L"started show=%d", nCmdShow);
    // A program slow to start, when the test asks for one (at most 10 s).
    WCHAR delay[16] = L"";
    if (GetEnvironmentVariableW(L"KIVO_STANDIN_ANNOUNCE_DELAY_MS", delay, ARRAYSIZE(delay)) < ARRAYSIZE(delay))
        Sleep(std::min<DWORD>(wcstoul(delay, nullptr, 10), 10000));
    DWORD_PTR result = 0;
    LPARAM saver = screenSaverMutexExists() ? 1 : 0;
    SendMessageTimeoutW(g_hServe, RegisterWindowMessageW(KIVO_MSG_KIVOSET_OPEN), reinterpret_cast<WPARAM>(hWnd),
                        saver, SMTO_NORMAL, 5000, &result);
    record(L"announced %ld", static_cast<long>(saver));

    SetTimer(hWnd, kOpenTimer, kOpenDeadlineMs, nullptr);
    g_task = CreateImgFAccessTask();
    if (g_task)
        record(L"task %lu", static_cast<unsigned long>(g_task->Open(hWnd, readSetting(KIVO_VALUE_CAMERA_IDX))));

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

} // namespace

int WINAPI wWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    // Skip the program-name token and the blanks after it, as the real program does.
    LPCWSTR tail = GetCommandLineW();
    if (*tail == L'"') {
        tail = wcschr(tail + 1, L'"');
        tail = tail ? tail + 1 : L"";
    } else {
        while (*tail > L' ')
            ++tail;
    }
    while (*tail && *tail <= L' ')
        ++tail;
    if (_wcsicmp(tail, L"/Halt") == 0 || _wcsicmp(tail, L"/HaltAll") == 0) {
        record(L"halt [%s]", tail);
        return 0;
    }
    return runDialog(hInstance, nCmdShow);
}
