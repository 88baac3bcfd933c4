// pingpong: the bare cost of a round trip between two processes through two named auto-reset
// events (SetEvent, WaitForSingleObject), the baseline for the camera's per-frame filter handoff.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitMs = 2000;

const wchar_t kUsage[] =
    L"Usage: pingpong [--rounds N] [--via-window] [--interval-ms MS] [--delay-ms MS]\n"
    L"Measures N (300) round trips between this process and a child it starts, through two named\n"
    L"auto-reset events, and prints p50, p99 and max in microseconds. With --via-window the child\n"
    L"answers as a filter window does: a thread waits for the ping and posts a message to a window\n"
    L"of the main thread, which sets the pong. With --interval-ms each round starts MS (0..1000) after\n"
    L"the last ended, as frames come at a frame rate. With --delay-ms the measured rounds begin MS\n"
    L"(0..60000) after the child started, a round every half second keeping it warm until then, so that\n"
    L"a run started beside other work measures a chosen stretch of it. Also prints the child's CPU\n"
    L"time per round trip.\n"
    L"Exit codes: 0 success, 1 a round trip failed, 2 bad command line.\n";

LONGLONG qpc()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

std::wstring eventName(const std::wstring& tag, const wchar_t* which)
{
    return L"Local\\KivoPingPong." + tag + L"." + which;
}

// The child with --via-window: a waiting thread turns each ping into a posted message.
struct Relay {
    HANDLE ping;
    HWND hwnd;
};

DWORD WINAPI relayPings(LPVOID param)
{
    Relay* relay = static_cast<Relay*>(param);
    while (WaitForSingleObject(relay->ping, kWaitMs) == WAIT_OBJECT_0)
        PostMessageW(relay->hwnd, WM_APP, 0, 0);
    PostMessageW(relay->hwnd, WM_QUIT, 0, 0);
    return 0;
}

int answerViaWindow(const std::wstring& tag)
{
    HANDLE ping = OpenEventW(SYNCHRONIZE, FALSE, eventName(tag, L"Ping").c_str());
    HANDLE pong = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName(tag, L"Pong").c_str());
    HWND hwnd = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    if (!ping || !pong || !hwnd)
        return 1;
    Relay relay = {ping, hwnd};
    HANDLE thread = CreateThread(nullptr, 0, relayPings, &relay, 0, nullptr);
    MSG msg;
    while (thread && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_APP)
            SetEvent(pong);
    }
    if (thread) {
        WaitForSingleObject(thread, kWaitMs * 2);
        CloseHandle(thread);
    }
    DestroyWindow(hwnd);
    CloseHandle(ping);
    CloseHandle(pong);
    return 0;
}

// The child: answers every ping until the parent stops or stops pinging.
int answer(const std::wstring& tag)
{
    HANDLE ping = OpenEventW(SYNCHRONIZE, FALSE, eventName(tag, L"Ping").c_str());
    HANDLE pong = OpenEventW(EVENT_MODIFY_STATE, FALSE, eventName(tag, L"Pong").c_str());
    int rc = ping && pong ? 0 : 1;
    while (rc == 0 && WaitForSingleObject(ping, kWaitMs) == WAIT_OBJECT_0)
        SetEvent(pong);
    if (ping)
        CloseHandle(ping);
    if (pong)
        CloseHandle(pong);
    return rc;
}

// User and kernel time of a process, 100 ns units; 0 when it cannot be read.
ULONGLONG cpuTime(HANDLE hProcess)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(hProcess, &created, &exited, &kernel, &user))
        return 0;
    auto value = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

double microseconds(LONGLONG ticks)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return double(ticks) * 1e6 / double(f.QuadPart);
}

bool roundTrip(HANDLE ping, HANDLE pong)
{
    SetEvent(ping);
    return WaitForSingleObject(pong, kWaitMs) == WAIT_OBJECT_0;
}

// Unmeasured rounds every half second until delayMs have passed; the child gives up on a ping after
// kWaitMs.
bool keepWarm(HANDLE ping, HANDLE pong, DWORD delayMs)
{
    ULONGLONG end = GetTickCount64() + delayMs;
    for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
        Sleep(DWORD(std::min<ULONGLONG>(500, end - now)));
        if (!roundTrip(ping, pong))
            return false;
    }
    return true;
}

int measure(DWORD rounds, bool viaWindow, DWORD intervalMs, DWORD delayMs)
{
    std::wstring tag = std::to_wstring(GetCurrentProcessId());
    HANDLE ping = CreateEventW(nullptr, FALSE, FALSE, eventName(tag, L"Ping").c_str());
    HANDLE pong = CreateEventW(nullptr, FALSE, FALSE, eventName(tag, L"Pong").c_str());
    WCHAR self[MAX_PATH];
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring command = L"\"" + std::wstring(self) + (viaWindow ? L"\" --answer-via-window " : L"\" --answer ") + tag;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!ping || !pong || !CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        fwprintf(stderr, L"pingpong: cannot start the child (error %lu)\n", GetLastError());
        return 1;
    }
    std::vector<LONGLONG> times;
    int rc = keepWarm(ping, pong, delayMs) ? 0 : 1;
    ULONGLONG childCpuStart = 0, childCpuEnd = 0;
    for (DWORD i = 0; i < rounds + 10 && rc == 0; ++i) {   // the first 10 warm up
        if (i == 10)
            childCpuStart = cpuTime(pi.hProcess);
        if (intervalMs)
            Sleep(intervalMs);
        LONGLONG start = qpc();
        if (!roundTrip(ping, pong))
            rc = 1;
        else if (i >= 10)
            times.push_back(qpc() - start);
    }
    childCpuEnd = cpuTime(pi.hProcess);
    WaitForSingleObject(pi.hProcess, kWaitMs * 2);   // the child ends once pings stop
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    CloseHandle(ping);
    CloseHandle(pong);
    if (rc != 0 || times.empty()) {
        fwprintf(stderr, L"pingpong: a round trip timed out\n");
        return 1;
    }
    std::sort(times.begin(), times.end());
    auto at = [&](double q) { return microseconds(times[std::min(times.size() - 1, size_t(q * times.size()))]); };
    double childCpuUs = childCpuEnd > childCpuStart ? double(childCpuEnd - childCpuStart) / 10.0 / times.size() : 0.0;
    wprintf(L"rounds %lu p50-us %.1f p99-us %.1f max-us %.1f child-cpu-us %.1f\n",
            static_cast<unsigned long>(times.size()), at(0.50), at(0.99), microseconds(times.back()), childCpuUs);
    return 0;
}

// "NAME N" at argv[i] with N a whole number from low to high: the value taken and i moved past it.
bool numberOption(int argc, wchar_t** argv, int& i, const wchar_t* name, unsigned long low, unsigned long high,
                  DWORD& value)
{
    if (wcscmp(argv[i], name) != 0 || i + 1 >= argc)
        return false;
    wchar_t* end = nullptr;
    unsigned long v = wcstoul(argv[i + 1], &end, 10);
    if (end == argv[i + 1] || *end != L'\0' || v < low || v > high)
        return false;
    value = DWORD(v);
    ++i;
    return true;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 3 && wcscmp(argv[1], L"--answer") == 0)
        return answer(argv[2]);
    if (argc == 3 && wcscmp(argv[1], L"--answer-via-window") == 0)
        return answerViaWindow(argv[2]);
    DWORD rounds = 300;
    bool viaWindow = false;
    DWORD intervalMs = 0, delayMs = 0;
    for (int i = 1; i < argc; ++i) {
        if (wcscmp(argv[i], L"--help") == 0) {
            fputws(kUsage, stdout);
            return 0;
        }
        if (wcscmp(argv[i], L"--via-window") == 0) {
            viaWindow = true;
            continue;
        }
        if (numberOption(argc, argv, i, L"--interval-ms", 0, 1000, intervalMs) ||
            numberOption(argc, argv, i, L"--delay-ms", 0, 60000, delayMs) ||
            numberOption(argc, argv, i, L"--rounds", 1, 1000000, rounds))
            continue;
        fwprintf(stderr, L"pingpong: bad argument %ls\n%ls", argv[i], kUsage);
        return 2;
    }
    return measure(rounds, viaWindow, intervalMs, delayMs);
}
