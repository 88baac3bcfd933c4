#include "BenchSession.h"

#include "KivoNames.h"
#include "resource.h"

#include <algorithm>
#include <cstdio>

namespace pipebench {

using namespace serve;

namespace {

LONGLONG qpcAfter(const std::string& text, const std::string& prefix)
{
    size_t at = text.find(prefix);
    return at == std::string::npos ? -1 : _atoi64(text.c_str() + at + prefix.size());
}

// The filter of one session: the panel the service started, or kivofx started here.
struct SessionFilter {
    std::unique_ptr<TestProcess> kivofx;
    HWND hPanel = nullptr;
    HANDLE hProcess = nullptr;
    ~SessionFilter()
    {
        if (hProcess)
            CloseHandle(hProcess);
    }
};

std::unique_ptr<TestProcess> startKivofx(const Installation& inst, const Effect& effect)
{
    kivotest::LaunchOptions options;
    options.folder = inst.dir();
    options.captureOutput = true;
    auto fx = std::make_unique<TestProcess>(inst.file(L"kivofx.exe"),
                                            L"--camera 0 --frame " + std::to_wstring(effect.frameIdx) + L" --zoom " +
                                                std::to_wstring(effect.zoomIdx) + L" --seconds 120",
                                            options);
    kivotest::waitFor([&] { return fx->output().find("watching camera") != std::string::npos || !fx->running(); },
                      10000);
    return fx;
}

// Starts the filter's side of a session whose capture has started; false when no filter came.
bool attachFilter(const Installation& inst, SessionFilter& filter, const Effect& effect)
{
    if (g_kivofxFilter) {
        filter.hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, filter.kivofx->id());
        return filter.kivofx->running();
    }
    filter.hPanel = waitForPanelWindow(inst, kLaunchMs);
    if (!filter.hPanel)
        return false;
    if (effect.mode != 0) {
        HWND hMode = GetDlgItem(filter.hPanel, IDC_MODE_LIST);
        // The panel enables its effect controls with the first frame.
        kivotest::waitFor([&] { return IsWindowEnabled(hMode) != FALSE; }, 5000);
        choosePanelEntry(filter.hPanel, IDC_MODE_LIST, effect.mode);
    }
    filter.hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE,
                                  processOfWindow(filter.hPanel));
    return true;
}

} // namespace

bool g_kivofxFilter = false;

const char* filterName()
{
    return g_kivofxFilter ? "kivofx" : "KivoSet";
}

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

ULONGLONG cpuTime(HANDLE hProcess)
{
    FILETIME created, exited, kernel, user;
    if (!hProcess || !GetProcessTimes(hProcess, &created, &exited, &kernel, &user))
        return 0;
    auto value = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

std::unique_ptr<TestProcess> startPingPong(bool viaWindow, int intervalMs, int delayMs)
{
    kivotest::LaunchOptions options;
    options.folder = kivotest::testsFolder();
    options.captureOutput = true;
    std::wstring arguments = intervalMs ? L"--rounds 100 --interval-ms " + std::to_wstring(intervalMs) : L"--rounds 300";
    if (viaWindow)
        arguments += L" --via-window";
    if (delayMs)
        arguments += L" --delay-ms " + std::to_wstring(delayMs);
    return std::make_unique<TestProcess>(kivotest::testsFolder() + L"\\..\\bench\\pingpong.exe", arguments,
                                         options);
}

PingPong pingPongResult(TestProcess& run)
{
    PingPong result;
    if (!run.waitExit(60000)) {
        run.kill();
        return result;
    }
    if (run.exitCode() == 0) {
        std::string output = run.output();
        result.p50 = numberAfter(output, "p50-us");
        result.p99 = numberAfter(output, "p99-us");
        result.childCpuUs = numberAfter(output, "child-cpu-us");
    }
    return result;
}

PingPong pingPong(bool viaWindow, int intervalMs)
{
    return pingPongResult(*startPingPong(viaWindow, intervalMs, 0));
}

void prepareSettings(bool autoStartup)
{
    resetSettings();
    writeSetting(KIVO_VALUE_AUTO_STARTUP, autoStartup ? 1 : 0);
    // Frames above 320x240 switch the effects off; the alert would wait for a user.
    writeSetting(KIVO_VALUE_NO_DISP_ALERT_EFFECT, 1);
}

std::unique_ptr<TestProcess> startCapture(const Installation& inst, const std::wstring& arguments)
{
    kivotest::LaunchOptions options;
    options.folder = inst.dir();
    options.captureOutput = true;
    return std::make_unique<TestProcess>(inst.file(L"kivocap.exe"), arguments, options);
}

CaseResult runCase(Installation& inst, const Case& c, double seconds, double skip,
                   const std::function<void(HWND)>& whileCounting)
{
    CaseResult result;
    if (g_kivofxFilter && c.effect.mode != 0) {
        result.error = "kivofx has no modes";
        return result;
    }
    writeSetting(KIVO_VALUE_FRAME_IDX, c.effect.frameIdx);
    writeSetting(KIVO_VALUE_ZOOM_IDX, c.effect.zoomIdx);
    const char* sessionEnd =
        g_kivofxFilter ? "KivoServeFrame::OnCloseDevice() called." : "KivoServeFrame::OnKivoSetClose() called.";
    int sessionsBefore = inst.logCount(sessionEnd);
    SessionFilter filter;
    if (g_kivofxFilter)
        filter.kivofx = startKivofx(inst, c.effect);
    wchar_t args[256];
    _snwprintf(args, ARRAYSIZE(args),
               L"--camera 0 --size %dx%d --format %ls --fps %d --duration %.1f --skip %.1f --filter-wait %lu "
               L"--print-events",
               c.width, c.height, c.format.c_str(), c.fps, seconds, skip, kFilterWaitMs);
    args[ARRAYSIZE(args) - 1] = L'\0';
    auto app = startCapture(inst, args);
    if (!attachFilter(inst, filter, c.effect)) {
        result.error = std::string("no ") + filterName();
        app->kill();
        return result;
    }
    kivotest::waitFor([&] { return app->output().find("event count ") != std::string::npos || !app->running(); },
                      DWORD((seconds + 5) * 1000));
    ULONGLONG filterStart = cpuTime(filter.hProcess);
    if (whileCounting)
        whileCounting(filter.hPanel);
    kivotest::waitFor([&] { return app->output().find("event counted ") != std::string::npos || !app->running(); },
                      DWORD((seconds + 5) * 1000));
    ULONGLONG filterEnd = cpuTime(filter.hProcess);
    app->waitExit(20000);
    std::string out = app->output();
    // The next case starts only once this filter has gone and the service watches again.
    if (filter.hProcess)
        WaitForSingleObject(filter.hProcess, 10000);
    inst.waitForLog(sessionEnd, 10000, sessionsBefore + 1);

    result.frames = long(numberAfter(out, "frames"));
    result.processed = long(numberAfter(out, "processed"));
    result.passed = long(numberAfter(out, "passed-through"));
    result.unfiltered = long(numberAfter(out, "filter"));
    result.p50 = numberAfter(out, "p50");
    result.p99 = numberAfter(out, "p99");
    result.max = numberAfter(out, "max");
    result.appCpuUs = numberAfter(out, "per-frame-us");
    if (result.frames > 0 && filterEnd >= filterStart)
        result.panelCpuUs = double(filterEnd - filterStart) / 10.0 / double(result.frames);
    result.ok = result.frames > 0 && app->exitCode() == 0;
    if (!result.ok)
        result.error = out;
    return result;
}

int measureOpenToVisible(Installation& inst, int runs, std::vector<double>& delays)
{
    for (int i = 0; i < runs; ++i) {
        auto app = startCapture(inst, L"--camera 0 --size 320x240 --format rgb24 --fps 30 --duration 4 --print-events");
        HWND hPanel = waitForPanelWindow(inst, kLaunchMs);
        LARGE_INTEGER visibleAt = {};
        bool visible = hPanel && kivotest::waitFor(
                                     [&] {
                                         QueryPerformanceCounter(&visibleAt);
                                         return IsWindowVisible(hPanel) != FALSE;
                                     },
                                     5000);
        DWORD panelProcess = processOfWindow(hPanel);
        app->waitExit(20000);
        waitForProcessEnd(panelProcess, 10000);
        LONGLONG opened = qpcAfter(app->output(), "event open qpc=");
        if (!visible || opened < 0) {
            fprintf(stderr, "PipelineBench: run %d: the panel was not shown\n", i + 1);
            return 1;
        }
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        delays.push_back(double(visibleAt.QuadPart - opened) * 1000.0 / double(f.QuadPart));
        printf("  open -> panel visible, run %2d: %.1f ms\n", i + 1, delays.back());
        fflush(stdout);
    }
    return 0;
}

Baselines measureBaselines(int fps)
{
    return Baselines{pingPong(false), pingPong(true, 1000 / fps)};
}

} // namespace pipebench
