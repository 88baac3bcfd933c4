// Measures the installed pair, the real KivoServe and KivoSet, with kivocap as the capturing
// application, against baselines measured in the same run.
//
//   PipelineBench handoff [RUNS]      320x240 RGB24 at 30 fps through the panel with frame and zoom 2x
//                                     on: frames processed and passed through, the handoff's added
//                                     latency beside the bare event ping-pong (RUNS repeats, 3), then
//                                     the camera open to the panel visible, median of 10
//   PipelineBench pipeline [FILE]     every format and effect at 320x240, larger sizes at 30 and 60 fps,
//                                     each case beside the baselines measured just before it; then the
//                                     camera open to the panel visible, median of 10; the table also
//                                     goes to FILE (pipeline.md)
//   PipelineBench longrun [MINUTES]   MINUTES (10) at 320x240 RGB24 30 fps while the panel steps through
//                                     every effect, then MINUTES at 1920x1080 60 fps with effects off:
//                                     fails when a frame passed through unprocessed once the panel was up
//   PipelineBench sessions [N]        N camera sessions (100): kernel handles and GDI objects of
//                                     KivoServe and of each session's KivoSet
//
// With --only TEXT the pipeline runs only the cases whose name ("rgb24 320x240 30 fps zoom 2x")
// contains TEXT, e.g. --only "320x240 30 fps frame".
//
// With --kivofx last, kivofx filters in the panel's place (handoff and pipeline; no modes), for builds
// without the settings program.
#include "ServeSystem.h"

#include "KernelTimer.h"

#include "KivoNames.h"
#include "ResourceCounts.h"
#include "resource.h"

#include <algorithm>
#include <functional>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

using namespace serve;
using kivotest::gdiObjectCount;
using kivotest::kernelHandleCount;

namespace {

const DWORD kStartMs = 10000;
const UINT kApplyFrame = WM_USER + 10;   // the panel's message: wParam the frame list index
// How long the application waits for the panel per frame before the frame goes on unprocessed. A
// healthy panel answers within a millisecond, but a loaded machine stalls it now and then for tens
// and, rarely, a few hundred milliseconds; a frame let through then breaks the effect the user chose
// (the still picture would show the room it hides). A hung panel costs the application this wait
// once: until it completes the frame it holds, the next frames go on without waiting.
const DWORD kFilterWaitMs = 500;
const DWORD kLaunchMs = 15000;

// One effect setting as a user makes it: the stored frame and zoom (restored by the panel with the
// first frame), and the mode chosen in the panel's list.
struct Effect {
    const char* name;
    DWORD frameIdx;
    DWORD zoomIdx;
    int mode;
    // The panel's effect word for this setting (frame bits, zoom step, mode).
    DWORD flags() const
    {
        return (frameIdx ? 0x00Fu : 0u) | (zoomIdx == 1 ? 0x010u : zoomIdx == 2 ? 0x020u : 0u) | (DWORD(mode) << 8);
    }
};

const Effect kNoEffect = {"none", 0, 0, 0};
const Effect kEffects[] = {
    {"none", 0, 0, 0},         {"frame", 1, 0, 0},        {"zoom 1.5x", 0, 1, 0},         {"zoom 2x", 0, 2, 0},
    {"frame + zoom 1.5x", 1, 1, 0}, {"freeze", 0, 0, 1}, {"still picture", 0, 0, 2},
};
const Effect kAllEffects = {"frame + zoom 2x", 1, 2, 0};

struct Case {
    std::wstring format;   // kivocap's name
    int width, height, fps;
    Effect effect;
};

struct CaseResult {
    bool ok = false;
    long frames = 0, processed = 0, passed = 0, unfiltered = 0;
    double p50 = 0, p99 = 0, max = 0;
    double panelCpuUs = 0, appCpuUs = 0;   // CPU time per counted frame
    std::string error;
};

double median(std::vector<double> values)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

LONGLONG qpcAfter(const std::string& text, const std::string& prefix)
{
    size_t at = text.find(prefix);
    return at == std::string::npos ? -1 : _atoi64(text.c_str() + at + prefix.size());
}

ULONGLONG cpuTime(HANDLE hProcess)
{
    FILETIME created, exited, kernel, user;
    if (!hProcess || !GetProcessTimes(hProcess, &created, &exited, &kernel, &user))
        return 0;
    auto value = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

void prepareSettings(bool autoStartup);

// The resident service of an installation, started on fresh settings (AutoStartup on) and a reset
// camera, halted at the end.
class Service {
public:
    explicit Service(Installation& inst) : m_inst(inst), m_process(startOnFreshSettings(inst))
    {
        m_hFrame = waitForFrameWindow(m_process.id(), kStartMs);
        if (!m_hFrame)
            fprintf(stderr, "PipelineBench: the service did not start\n");
    }
    ~Service()
    {
        TestProcess halt = m_inst.start(L"KivoServe.exe", L"/Halt");
        halt.waitExit(10000);
        m_process.waitExit(10000);
    }
    HWND frame() const { return m_hFrame; }
    DWORD id() const { return m_process.id(); }

private:
    static TestProcess startOnFreshSettings(Installation& inst)
    {
        prepareSettings(true);
        runTool(inst, L"kivocam.exe", L"reset");
        return inst.start(L"KivoServe.exe");
    }

    Installation& m_inst;
    TestProcess m_process;
    HWND m_hFrame = nullptr;
};

std::unique_ptr<TestProcess> startCapture(const Installation& inst, const std::wstring& arguments)
{
    kivotest::LaunchOptions options;
    options.folder = inst.dir();
    options.captureOutput = true;
    return std::make_unique<TestProcess>(inst.file(L"kivocap.exe"), arguments, options);
}

// kivofx in the panel's place while a build has no settings program: the same library calls on every
// frame, without the panel's modes and without its skipping of every second frame.
bool g_kivofxFilter = false;

const char* filterName()
{
    return g_kivofxFilter ? "kivofx" : "KivoSet";
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
bool attachFilter(SessionFilter& filter, const Effect& effect)
{
    if (g_kivofxFilter) {
        filter.hProcess = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, filter.kivofx->id());
        return filter.kivofx->running();
    }
    filter.hPanel = waitForPanelWindow(kLaunchMs);
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

// One camera session through the filter: the effect set, frames counted after the filter settled.
// whileCounting, when given, runs once the counting began (the panel's handle as argument).
CaseResult runCase(Installation& inst, const Case& c, double seconds, double skip,
                   const std::function<void(HWND)>& whileCounting = nullptr)
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
    if (!attachFilter(filter, c.effect)) {
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

struct PingPong {
    double p50 = -1, p99 = -1, childCpuUs = -1;
};

// Round trips between two processes, bare or relayed through a window post; with an interval they
// come at a frame rate, each after the system had time to run something else.
PingPong pingPong(bool viaWindow, int intervalMs = 0)
{
    kivotest::LaunchOptions options;
    options.folder = kivotest::testsFolder();
    std::wstring arguments = intervalMs ? L"--rounds 100 --interval-ms " + std::to_wstring(intervalMs) : L"--rounds 300";
    if (viaWindow)
        arguments += L" --via-window";
    kivotest::RunResult run =
        kivotest::runToEnd(kivotest::testsFolder() + L"\\..\\bench\\pingpong.exe", arguments, 60000, options);
    PingPong result;
    if (run.finished && run.exitCode == 0) {
        result.p50 = numberAfter(run.output, "p50-us");
        result.p99 = numberAfter(run.output, "p99-us");
        result.childCpuUs = numberAfter(run.output, "child-cpu-us");
    }
    return result;
}

void prepareSettings(bool autoStartup)
{
    resetSettings();
    writeSetting(KIVO_VALUE_AUTO_STARTUP, autoStartup ? 1 : 0);
    // Frames above 320x240 switch the effects off; the alert would wait for a user.
    writeSetting(KIVO_VALUE_NO_DISP_ALERT_EFFECT, 1);
}

// The camera open (kivocap's own clock) to the panel visible on the screen, AutoStartup on.
int measureOpenToVisible(Installation& inst, int runs, std::vector<double>& delays)
{
    for (int i = 0; i < runs; ++i) {
        auto app = startCapture(inst, L"--camera 0 --size 320x240 --format rgb24 --fps 30 --duration 4 --print-events");
        HWND hPanel = waitForPanelWindow(kLaunchMs);
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

int measureHandoff(int runs)
{
    Installation inst(SettingsProgram::Real);
    Service service(inst);
    if (!service.frame())
        return 1;
    std::vector<double> p50, p99, pingP50, pingP99, relayP50, relayP99;
    const Case c = {L"rgb24", 320, 240, 30, kAllEffects};
    for (int i = 0; i < runs; ++i) {
        CaseResult r = runCase(inst, c, 12, 5);
        PingPong ping = pingPong(false), relay = pingPong(true);
        if (!r.ok || ping.p50 < 0 || relay.p50 < 0) {
            fprintf(stderr, "PipelineBench: run %d failed: %s\n", i + 1, r.error.c_str());
            return 1;
        }
        printf("run %d: frames %ld processed %ld passed-through %ld; handoff p50 %.1f p99 %.1f max %.1f us; "
               "ping-pong p50 %.1f p99 %.1f us; via a window p50 %.1f p99 %.1f us; CPU per frame %s %.1f "
               "kivocap %.1f us\n",
               i + 1, r.frames, r.processed, r.passed, r.p50, r.p99, r.max, ping.p50, ping.p99, relay.p50, relay.p99,
               filterName(), r.panelCpuUs, r.appCpuUs);
        fflush(stdout);
        p50.push_back(r.p50);
        p99.push_back(r.p99);
        pingP50.push_back(ping.p50);
        pingP99.push_back(ping.p99);
        relayP50.push_back(relay.p50);
        relayP99.push_back(relay.p99);
    }
    printf("medians of %d runs: handoff p50 %.1f us, p99 %.1f us; ping-pong p50 %.1f us, p99 %.1f us; "
           "via a window p50 %.1f us, p99 %.1f us\n",
           runs, median(p50), median(p99), median(pingP50), median(pingP99), median(relayP50), median(relayP99));
    printf("handoff / ping-pong: p50 %.1fx, p99 %.1fx; handoff / via a window: p50 %.1fx, p99 %.1fx\n",
           median(p50) / median(pingP50), median(p99) / median(pingP99), median(p50) / median(relayP50),
           median(p99) / median(relayP99));
    if (g_kivofxFilter)
        return 0;   // no panel to show
    std::vector<double> delays;
    if (measureOpenToVisible(inst, 10, delays) != 0)
        return 1;
    std::sort(delays.begin(), delays.end());
    printf("camera open -> panel visible: median %.1f ms, min %.1f ms, max %.1f ms (%zu runs)\n", median(delays),
           delays.front(), delays.back(), delays.size());
    return 0;
}

std::string narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The bytes of one frame of the case: rows padded to four bytes.
DWORD frameBytes(const Case& c)
{
    int bits = c.format == L"rgb32" ? 32 : c.format == L"yuy2" ? 16 : 24;
    return ((DWORD(c.width) * DWORD(bits) / 8 + 3) & ~3u) * DWORD(c.height);
}

std::string caseName(const Case& c)
{
    char name[128];
    snprintf(name, sizeof(name), "%s %dx%d %d fps %s", narrow(c.format).c_str(), c.width, c.height, c.fps,
             c.effect.name);
    return name;
}

// Every case, or those whose name contains only.
std::vector<Case> pipelineCases(const std::string& only)
{
    std::vector<Case> cases;
    for (const wchar_t* format : {L"rgb24", L"rgb32", L"yuy2"})
        for (const Effect& effect : kEffects)
            cases.push_back({format, 320, 240, 30, effect});
    const int sizes[][2] = {{640, 480}, {1280, 720}, {1920, 1080}};
    for (int fps : {30, 60})
        for (const auto& size : sizes)
            cases.push_back({L"rgb24", size[0], size[1], fps, kNoEffect});
    cases.erase(std::remove_if(cases.begin(), cases.end(),
                               [&](const Case& c) { return caseName(c).find(only) == std::string::npos; }),
                cases.end());
    return cases;
}

struct Baselines {
    PingPong ping, relay;
    bool ok() const { return ping.p50 > 0 && relay.p50 > 0; }
};

// The bare ping-pong back to back; the relay, the floor of a frame, at the frame rate.
Baselines measureBaselines(int fps)
{
    return Baselines{pingPong(false), pingPong(true, 1000 / fps)};
}

// What the panel's own work on a frame costs at least: on every second frame the effect kernel and
// the copy into the last output, on the others the copy of the last output; freeze and the still
// pictures copy once more on the processed frames.
double kernelShareUs(const Effect& effect, double kernelUs, double copyUs)
{
    if (effect.flags() == 0)
        return 0;
    return kernelUs / 2 + copyUs + (effect.mode != 0 ? copyUs / 2 : 0);
}

std::string ratio(double value, double base)
{
    char text[32];
    snprintf(text, sizeof(text), "%.2f", value / base);
    return value > 0 && base > 0 ? text : "";
}

// One row of the table: the case, its counts and latencies, and its ratios to the baselines measured
// just before it.
struct Row {
    Case c;
    CaseResult r;
    Baselines base;
    double copyUs = 0, kernelUs = 0, handoffCpuUs = 0;
    double pacedCopiesUs = 0;   // the two copies at the case's frame rate; 0 at 320x240
};

std::string rowText(const Row& row)
{
    const Case& c = row.c;
    const CaseResult& r = row.r;
    bool small = c.width <= 320;
    // The floor: the posted-message relay; larger frames add their copy into the exchange and back,
    // both timed at the frame rate as the relay is.
    double floorP50 = row.base.relay.p50 + row.pacedCopiesUs;
    double floorP99 = row.base.relay.p99 + row.pacedCopiesUs;
    double kernels = kernelShareUs(c.effect, row.kernelUs, row.copyUs);
    std::string cpuRatio = small ? ratio(r.panelCpuUs, row.handoffCpuUs + kernels) : "";
    char pacedCopies[32] = "";
    if (!small)
        snprintf(pacedCopies, sizeof(pacedCopies), "%.0f", row.pacedCopiesUs);
    char line[640];
    snprintf(line, sizeof(line),
             "| %s | %dx%d | %d | %s | %ld | %ld | %ld | %.0f / %.0f / %.0f | %.0f / %.0f | %s | %s | %.0f | %s | "
             "%.0f | %.0f | %s | %.0f |\n",
             narrow(c.format).c_str(), c.width, c.height, c.fps, c.effect.name, r.frames, r.processed,
             r.passed, r.p50, r.p99, r.max, floorP50, floorP99, ratio(r.p50, floorP50).c_str(),
             ratio(r.p99, floorP99).c_str(), row.copyUs, pacedCopies, r.panelCpuUs, kernels, cpuRatio.c_str(), r.appCpuUs);
    return line;
}

const char kTableHead[] =
    "| format | size | fps | effect | frames | processed | passed through | added latency p50 / p99 / max (us) | "
    "floor p50 / p99 (us) | p50 / floor | p99 / floor | copy of a frame (us) | two copies at the frame rate (us) | "
    "%s CPU per frame (us) | kernels per frame (us) | CPU / (handoff + kernels) | kivocap CPU per frame (us) |\n"
    "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";

// The camera open to the panel visible, median of runs, against the service's 2000 ms delay.
std::string openToVisibleText(Installation& inst, int runs)
{
    writeSetting(KIVO_VALUE_AUTO_STARTUP, 1);
    std::vector<double> delays;
    if (measureOpenToVisible(inst, runs, delays) != 0)
        return "camera open -> panel visible: the panel was not shown\n";
    std::sort(delays.begin(), delays.end());
    char line[256];
    snprintf(line, sizeof(line),
             "camera open -> panel visible: median %.0f ms of %zu runs (min %.0f, max %.0f): %.0f ms after the "
             "service's 2000 ms delay\n",
             median(delays), delays.size(), delays.front(), delays.back(), median(delays) - 2000);
    return line;
}

int measurePipeline(const std::wstring& tablePath, const std::string& only)
{
    std::vector<Case> cases = pipelineCases(only);
    if (cases.empty()) {
        fprintf(stderr, "PipelineBench: no case is named like \"%s\"\n", only.c_str());
        return 2;
    }
    Installation inst(SettingsProgram::Real);
    Service service(inst);
    KernelTimer kernels(inst.file(L"KivoLib.dll"));
    if (!service.frame())
        return 1;
    if (!kernels.ready()) {
        fprintf(stderr, "PipelineBench: KivoLib.dll cannot time the effects\n");
        return 1;
    }
    char head[512];
    snprintf(head, sizeof(head), kTableHead, filterName());
    printf("%s", head);
    fflush(stdout);
    std::vector<Row> rows;
    std::vector<double> pingP50, relayP50, relayP99, relayCpu;
    int failures = 0;
    for (const Case& c : cases) {
        if (g_kivofxFilter && c.effect.mode != 0)
            continue;
        Row row;
        row.c = c;
        row.base = measureBaselines(c.fps);
        if (c.width > 320)
            row.pacedCopiesUs = KernelTimer::twoCopiesAtFrameRate(frameBytes(c), c.fps);
        row.r = runCase(inst, c, 10, 4);
        if (!kernels.measure(c.format, c.width, c.height, c.effect.flags(), row.kernelUs, row.copyUs) ||
            !row.base.ok() || !row.r.ok) {
            ++failures;
            fprintf(stderr, "PipelineBench: %s failed: %s\n", caseName(c).c_str(), row.r.error.c_str());
        }
        // The handoff's own CPU: the case without effects of the same format and size.
        for (const Row& other : rows)
            if (other.c.format == c.format && other.c.width == c.width && other.c.effect.flags() == 0)
                row.handoffCpuUs = other.r.panelCpuUs;
        if (c.effect.flags() == 0)
            row.handoffCpuUs = row.r.panelCpuUs;
        pingP50.push_back(row.base.ping.p50);
        relayP50.push_back(row.base.relay.p50);
        relayP99.push_back(row.base.relay.p99);
        relayCpu.push_back(row.base.relay.childCpuUs);
        rows.push_back(row);
        printf("%s", rowText(row).c_str());
        fflush(stdout);
    }
    std::ostringstream table;
    char line[768];
    snprintf(line, sizeof(line),
             "Baselines, measured before each case (medians of the run): event ping-pong between two processes p50 "
             "%.0f us; relayed through a window post at the case's frame rate (the floor) p50 %.0f us, p99 %.0f us, "
             "the relaying process's CPU %.0f us per round trip. Larger frames' floor adds two copies of the frame (into the exchange and "
             "back), timed at the case's frame rate as frames come after idle time (the copy column times one copy "
             "back to back). The application waits up to %lu ms for the panel per frame.\n\n",
             median(pingP50), median(relayP50), median(relayP99), median(relayCpu), kFilterWaitMs);
    table << line << head;
    for (const Row& row : rows)
        table << rowText(row);
    table << "\n";
    if (!g_kivofxFilter) {
        std::string visible = openToVisibleText(inst, 10);
        printf("%s", visible.c_str());
        table << visible;
    }
    FILE* file = _wfopen(tablePath.c_str(), L"w");
    if (!file) {
        fwprintf(stderr, L"PipelineBench: cannot write %ls\n", tablePath.c_str());
        return 1;
    }
    fputs(table.str().c_str(), file);
    fclose(file);
    wprintf(L"table written to %ls\n", tablePath.c_str());
    return failures ? 1 : 0;
}

// Steps the panel through every effect, each for an equal share of the time, one user action a
// step: a list choice, or (control 0) a frame chosen in the frame chooser.
void stepThroughEffects(HWND hPanel, DWORD totalMs)
{
    const struct {
        int control, value;
    } steps[] = {{0, 1},           {IDC_ZOOM_LIST, 1}, {0, 0}, {IDC_ZOOM_LIST, 2}, {0, 1},
                 {IDC_ZOOM_LIST, 1}, {IDC_MODE_LIST, 1}, {IDC_MODE_LIST, 2}, {IDC_MODE_LIST, 3},
                 {IDC_MODE_LIST, 0}};
    DWORD stepMs = totalMs / ARRAYSIZE(steps);
    for (const auto& step : steps) {
        if (step.control)
            choosePanelEntry(hPanel, step.control, step.value);
        else
            PostMessageW(hPanel, kApplyFrame, WPARAM(step.value), 0);
        kivotest::pumpMessagesFor(stepMs);
    }
}

// A long run of each kind: frames the panel passed through unprocessed once it was up fail it.
int measureLongRun(double minutes)
{
    Installation inst(SettingsProgram::Real);
    Service service(inst);
    if (!service.frame())
        return 1;
    const double seconds = minutes * 60, skip = 5;
    Baselines before = measureBaselines(30);
    printf("baselines: relayed through a window post p50 %.0f us, p99 %.0f us\n", before.relay.p50, before.relay.p99);
    printf("| case | minutes | frames | processed | passed through | added latency p50 / p99 / max (us) |\n");
    printf("|---|---|---|---|---|---|\n");
    fflush(stdout);
    const Case cases[] = {{L"rgb24", 320, 240, 30, kAllEffects}, {L"rgb24", 1920, 1080, 60, kNoEffect}};
    int failures = 0;
    for (const Case& c : cases) {
        bool effects = c.effect.flags() != 0;
        CaseResult r = runCase(inst, c, seconds + skip, skip, [&](HWND hPanel) {
            if (effects && hPanel)
                stepThroughEffects(hPanel, DWORD(seconds * 1000) - 2000);
        });
        long passed = r.passed - r.unfiltered;
        bool good = r.ok && passed == 0 && r.unfiltered == 0;
        failures += good ? 0 : 1;
        printf("| %dx%d %d fps, %s | %.1f | %ld | %ld | %ld | %.0f / %.0f / %.0f |%s\n", c.width, c.height, c.fps,
               effects ? "every effect in turn" : "effects off", minutes, r.frames, r.processed, passed, r.p50, r.p99,
               r.max, good ? "" : " FAILED");
        fflush(stdout);
        if (!r.ok)
            fprintf(stderr, "PipelineBench: %s\n", r.error.c_str());
    }
    return failures ? 1 : 0;
}

int measureSessions(int sessions)
{
    Installation inst(SettingsProgram::Real);
    Service service(inst);
    if (!service.frame())
        return 1;
    long serveHandles = kernelHandleCount(service.id()), serveGdi = gdiObjectCount(service.id());
    printf("| session | KivoServe handles | KivoServe GDI objects | KivoSet handles | KivoSet GDI objects |\n");
    printf("|---|---|---|---|---|\n");
    printf("| before | %ld | %ld | | |\n", serveHandles, serveGdi);
    fflush(stdout);
    for (int i = 1; i <= sessions; ++i) {
        int closesBefore = inst.logCount("KivoServeFrame::OnKivoSetClose() called.");
        auto app = startCapture(inst, L"--camera 0 --size 320x240 --format rgb24 --fps 30 --duration 4");
        HWND hPanel = waitForPanelWindow(kLaunchMs);
        DWORD panelProcess = processOfWindow(hPanel);
        // Counted once the panel is shown and has processed frames for a while.
        bool shown = hPanel && kivotest::waitFor([&] { return IsWindowVisible(hPanel) != FALSE; }, 5000);
        kivotest::pumpMessagesFor(800);
        long setHandles = kernelHandleCount(panelProcess), setGdi = gdiObjectCount(panelProcess);
        app->waitExit(20000);
        bool ended = waitForProcessEnd(panelProcess, 10000) &&
                     inst.waitForLog("KivoServeFrame::OnKivoSetClose() called.", 10000, closesBefore + 1);
        if (!shown || !ended) {
            fprintf(stderr, "PipelineBench: session %d: the panel was %s\n", i, shown ? "not closed" : "not shown");
            return 1;
        }
        kivotest::pumpMessagesFor(200);
        if (i == 1 || i % 10 == 0 || i == sessions) {
            printf("| %d | %ld | %ld | %ld | %ld |\n", i, kernelHandleCount(service.id()), gdiObjectCount(service.id()),
                   setHandles, setGdi);
            fflush(stdout);
        }
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[argc - 1], L"--kivofx") == 0) {
        g_kivofxFilter = true;
        --argc;
    }
    std::string only;
    if (argc > 3 && wcscmp(argv[argc - 2], L"--only") == 0) {
        only = narrow(argv[argc - 1]);
        argc -= 2;
    }
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"handoff")
        return measureHandoff(argc > 2 && _wtoi(argv[2]) > 0 ? _wtoi(argv[2]) : 3);
    if (mode == L"pipeline")
        return measurePipeline(argc > 2 ? argv[2] : L"pipeline.md", only);
    if (mode == L"longrun")
        return measureLongRun(argc > 2 && _wtof(argv[2]) > 0 ? _wtof(argv[2]) : 10);
    if (mode == L"sessions")
        return measureSessions(argc > 2 && _wtoi(argv[2]) > 0 ? _wtoi(argv[2]) : 100);
    fprintf(stderr, "Usage: PipelineBench handoff [RUNS] | pipeline [FILE] [--only TEXT] | longrun [MINUTES] | sessions [N]  "
                    "[--kivofx]\n");
    return 2;
}
