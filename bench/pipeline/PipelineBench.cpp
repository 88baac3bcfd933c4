// Measures the installed pair, the real KivoServe and KivoSet, with kivocap as the capturing
// application, against baselines measured in the same run.
//
//   PipelineBench handoff [RUNS]      320x240 RGB24 at 30 fps through the panel with frame and zoom 2x
//                                     on: frames processed and passed through, the handoff's added
//                                     latency beside the bare event ping-pong and the relay measured
//                                     between its frames (RUNS repeats, 3), then the camera open to
//                                     the panel visible, median of 10
//   PipelineBench pipeline [FILE]     every format and effect at 320x240, larger sizes at 30 and 60 fps,
//                                     each case with its floor measured between its frames, medians
//                                     of repeats; then the camera open to the panel visible, median of
//                                     10; the table also goes to FILE (pipeline.md)
//   PipelineBench longrun [MINUTES]   MINUTES (10) at 320x240 RGB24 30 fps while the panel steps through
//                                     every effect, then MINUTES at 1920x1080 60 fps with effects off:
//                                     fails when a frame passed through unprocessed once the panel was up
//   PipelineBench sessions [N]        N camera sessions (100): kernel handles and GDI objects of
//                                     KivoServe and of each session's KivoSet
//
// With --only TEXT the pipeline runs only the cases whose name ("rgb24 320x240 30 fps zoom 2x")
// contains TEXT, e.g. --only "320x240 30 fps frame". With --repeats N (3) each case is measured N
// times, each time with its own floor, and the table shows the medians.
//
// With --kivofx last, kivofx filters in the panel's place (handoff and pipeline; no modes), for builds
// without the settings program.
#include "BenchSession.h"

#include "FrameFormat.h"
#include "KernelTimer.h"

#include "KivoNames.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace pipebench {

using namespace serve;

namespace {

std::string narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

// The bytes of one frame of the case as the camera makes it; 0 for a format it does not make.
DWORD frameBytes(const Case& c)
{
    vcam::FrameFormat format;
    return vcam::FrameFormat::parse(c.format, c.width, c.height, format) ? format.imageBytes() : 0;
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

// What the panel's own work on a frame costs at least: on every second frame the effect kernel and
// the copy into the last output, on the others the copy of the last output. Freeze and the still
// pictures copy their picture over the processed frames instead, once the last output holds it.
double kernelShareUs(const Effect& effect, double kernelUs, double copyUs)
{
    if (effect.flags() == 0)
        return 0;
    return kernelUs / 2 + copyUs;
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
    // The panel's work on a processed and on a repeated frame at the case's frame rate; 0 without effects.
    double pacedProcessedUs = 0, pacedRepeatedUs = 0;
};

// Each case runs this long; its frames are counted from the skip on, once the panel is up.
const double kCaseSeconds = 10;
const double kCaseSkipSeconds = 4;
// The floor is measured beside the case, between its frames, so that the load of this shared
// machine at the moment weighs on both alike: the relay's measured rounds (about 3.5 s at 30 fps,
// 1.8 s at 60) begin a second after the case starts counting frames and end before it stops. A round
// trip takes under a millisecond of the frame time, so few rounds meet a frame.
const int kFloorDelayMs = int(kCaseSkipSeconds * 1000) + 1000;

// The case measured repeats times: counts add up; latencies, CPU times and baselines are the medians
// of the repeats (the max is the largest).
Row measureCase(Installation& inst, const Case& c, int repeats)
{
    Row row;
    row.c = c;
    std::vector<double> p50, p99, panelCpu, appCpu, pingP50, relayP50, relayP99, relayCpu;
    for (int i = 0; i < repeats; ++i) {
        Baselines base;
        base.ping = pingPong(false);
        auto relay = startPingPong(true, 1000 / c.fps, kFloorDelayMs);
        CaseResult r = runCase(inst, c, kCaseSeconds, kCaseSkipSeconds);
        base.relay = pingPongResult(*relay);
        if (!r.ok || !base.ok()) {
            row.r = r;
            row.r.ok = false;
            if (row.r.error.empty())
                row.r.error = "the baselines could not be measured";
            return row;
        }
        row.r.frames += r.frames;
        row.r.processed += r.processed;
        row.r.passed += r.passed;
        row.r.unfiltered += r.unfiltered;
        row.r.max = std::max(row.r.max, r.max);
        p50.push_back(r.p50);
        p99.push_back(r.p99);
        panelCpu.push_back(r.panelCpuUs);
        appCpu.push_back(r.appCpuUs);
        pingP50.push_back(base.ping.p50);
        relayP50.push_back(base.relay.p50);
        relayP99.push_back(base.relay.p99);
        relayCpu.push_back(base.relay.childCpuUs);
    }
    row.r.ok = true;
    row.r.p50 = median(p50);
    row.r.p99 = median(p99);
    row.r.panelCpuUs = median(panelCpu);
    row.r.appCpuUs = median(appCpu);
    row.base.ping.p50 = median(pingP50);
    row.base.relay.p50 = median(relayP50);
    row.base.relay.p99 = median(relayP99);
    row.base.relay.childCpuUs = median(relayCpu);
    return row;
}

// The floor: the posted-message relay; larger frames may add a copy into a shared buffer and back,
// timed at the frame rate as the relay is.
double floorP50Of(const Row& row)
{
    return row.base.relay.p50 + row.pacedCopiesUs;
}

// What the programs add beyond the floor and the effects' own work: the added latency's p50 less the
// floor's p50 and the kernels' share of a frame.
double excessUs(const Row& row)
{
    return row.r.p50 - floorP50Of(row) - kernelShareUs(row.c.effect, row.kernelUs, row.copyUs);
}

// The same with the panel's work timed as it meets it, a frame time after the last frame (half the
// frames processed, half repeated): what is left is the programs' own, beyond the effects' and the
// copies' cost on this machine at the frame rate.
double excessAtFrameRateUs(const Row& row)
{
    return row.r.p50 - floorP50Of(row) - (row.pacedProcessedUs + row.pacedRepeatedUs) / 2;
}

std::string rowText(const Row& row)
{
    const Case& c = row.c;
    const CaseResult& r = row.r;
    bool small = c.width <= 320;
    double floorP50 = floorP50Of(row);
    double floorP99 = row.base.relay.p99 + row.pacedCopiesUs;
    double kernels = kernelShareUs(c.effect, row.kernelUs, row.copyUs);
    std::string cpuRatio = small ? ratio(r.panelCpuUs, row.handoffCpuUs + kernels) : "";
    char pacedCopies[32] = "";
    if (!small)
        snprintf(pacedCopies, sizeof(pacedCopies), "%.0f", row.pacedCopiesUs);
    char line[768];
    snprintf(line, sizeof(line),
             "| %s | %dx%d | %d | %s | %ld | %ld | %ld | %.0f / %.0f / %.0f | %.0f / %.0f | %s | %s | %.0f | %s | "
             "%.0f | %.0f | %s | %.0f | %.0f | %.0f / %.0f | %.0f |\n",
             narrow(c.format).c_str(), c.width, c.height, c.fps, c.effect.name, r.frames, r.processed,
             r.passed, r.p50, r.p99, r.max, floorP50, floorP99, ratio(r.p50, floorP50).c_str(),
             ratio(r.p99, floorP99).c_str(), row.copyUs, pacedCopies, r.panelCpuUs, kernels, cpuRatio.c_str(), r.appCpuUs,
             excessUs(row), row.pacedProcessedUs, row.pacedRepeatedUs, excessAtFrameRateUs(row));
    return line;
}

const char kTableHead[] =
    "| format | size | fps | effect | frames | processed | passed through | added latency p50 / p99 / max (us) | "
    "floor p50 / p99 (us) | p50 / floor | p99 / floor | copy of a frame (us) | two copies at the frame rate (us) | "
    "%s CPU per frame (us) | kernels per frame (us) | CPU / (handoff + kernels) | kivocap CPU per frame (us) | "
    "excess (us) | processed / repeated frame at the frame rate (us) | excess at the frame rate (us) |\n"
    "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";

// An excess column summed up: its median over the cases measured, and over those at 320x240 (the
// sizes that allow effects) when the run has others too.
std::string excessSummary(const std::vector<Row>& rows, double (*excessOf)(const Row&), const char* title)
{
    std::vector<double> all, small;
    for (const Row& row : rows) {
        if (!row.r.ok)
            continue;
        all.push_back(excessOf(row));
        if (row.c.width <= 320)
            small.push_back(excessOf(row));
    }
    if (all.empty())
        return "";
    auto span = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        char text[160];
        snprintf(text, sizeof(text), "median %.0f us of %zu cases (%.0f to %.0f)", median(values), values.size(),
                 values.front(), values.back());
        return std::string(text);
    };
    std::string line = std::string(title) + ": " + span(all);
    if (!small.empty() && small.size() != all.size())
        line += "; at 320x240: " + span(small);
    return line + "\n";
}

std::string excessSummaries(const std::vector<Row>& rows)
{
    return excessSummary(rows, excessUs, "excess (added latency p50 - floor p50 - kernels per frame)") +
           excessSummary(rows, excessAtFrameRateUs,
                         "excess at the frame rate (added latency p50 - floor p50 - the mean of a processed and "
                         "a repeated frame's work at the frame rate)");
}

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

} // namespace

int measureHandoff(int runs)
{
    Installation inst(SettingsProgram::Real);
    Service service(inst);
    if (!service.frame())
        return 1;
    std::vector<double> p50, p99, pingP50, relayP50, relayP99;
    const Case c = {L"rgb24", 320, 240, 30, kAllEffects};
    for (int i = 0; i < runs; ++i) {
        Row row = measureCase(inst, c, 1);
        const CaseResult& r = row.r;
        const PingPong &ping = row.base.ping, &relay = row.base.relay;
        if (!r.ok || !row.base.ok()) {
            fprintf(stderr, "PipelineBench: run %d failed: %s\n", i + 1, r.error.c_str());
            return 1;
        }
        printf("run %d: frames %ld processed %ld passed-through %ld; handoff p50 %.1f p99 %.1f max %.1f us; "
               "ping-pong p50 %.1f us; via a window between the frames p50 %.1f p99 %.1f us; "
               "CPU per frame %s %.1f kivocap %.1f us\n",
               i + 1, r.frames, r.processed, r.passed, r.p50, r.p99, r.max, ping.p50, relay.p50, relay.p99,
               filterName(), r.panelCpuUs, r.appCpuUs);
        fflush(stdout);
        p50.push_back(r.p50);
        p99.push_back(r.p99);
        pingP50.push_back(ping.p50);
        relayP50.push_back(relay.p50);
        relayP99.push_back(relay.p99);
    }
    printf("medians of %d runs: handoff p50 %.1f us, p99 %.1f us; ping-pong p50 %.1f us; "
           "via a window between the frames p50 %.1f us, p99 %.1f us\n",
           runs, median(p50), median(p99), median(pingP50), median(relayP50), median(relayP99));
    printf("handoff / ping-pong: p50 %.2fx; handoff / via a window: p50 %.2fx, p99 %.2fx\n",
           median(p50) / median(pingP50), median(p50) / median(relayP50), median(p99) / median(relayP99));
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

int measurePipeline(const std::wstring& tablePath, const std::string& only, int repeats)
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
        Row row = measureCase(inst, c, repeats);
        if (c.width > 320)
            row.pacedCopiesUs = KernelTimer::twoCopiesAtFrameRate(frameBytes(c), c.fps);
        if (!kernels.measure(c.format, c.width, c.height, c.effect.flags(), row.kernelUs, row.copyUs) ||
            !kernels.measureAtFrameRate(c.format, c.width, c.height, c.effect.flags(), c.fps, row.pacedProcessedUs,
                                        row.pacedRepeatedUs) ||
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
             "Baselines (medians of the run): event ping-pong between two processes, before each case, p50 %.0f "
             "us; relayed through a window post at the case's frame rate, between the case's frames (the floor), "
             "p50 %.0f us, p99 %.0f us, the relaying process's CPU %.0f us per round trip. Larger frames' floor "
             "adds two copies of the frame (into a shared buffer and back; the camera makes none), timed at the "
             "case's frame rate as frames come after idle time (the copy column times one copy back to back). The application waits up to "
             "%lu ms for the panel per frame.\n\n",
             median(pingP50), median(relayP50), median(relayP99), median(relayCpu), kFilterWaitMs);
    table << line << head;
    for (const Row& row : rows)
        table << rowText(row);
    const std::string excess = excessSummaries(rows);
    printf("%s", excess.c_str());
    table << "\n" << excess << "\n";
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

} // namespace pipebench

int wmain(int argc, wchar_t** argv)
{
    if (argc > 1 && wcscmp(argv[argc - 1], L"--kivofx") == 0) {
        pipebench::g_kivofxFilter = true;
        --argc;
    }
    std::string only;
    int repeats = 3;
    for (bool more = true; more && argc > 3;) {
        more = false;
        if (wcscmp(argv[argc - 2], L"--only") == 0) {
            std::wstring text = argv[argc - 1];
            only.assign(text.begin(), text.end());
            argc -= 2;
            more = true;
        } else if (wcscmp(argv[argc - 2], L"--repeats") == 0) {
            repeats = _wtoi(argv[argc - 1]);
            if (repeats < 1 || repeats > 20) {
                fprintf(stderr, "PipelineBench: --repeats takes 1 to 20\n");
                return 2;
            }
            argc -= 2;
            more = true;
        }
    }
    std::wstring mode = argc > 1 ? argv[1] : L"";
    if (mode == L"handoff")
        return pipebench::measureHandoff(argc > 2 && _wtoi(argv[2]) > 0 ? _wtoi(argv[2]) : 3);
    if (mode == L"pipeline")
        return pipebench::measurePipeline(argc > 2 ? argv[2] : L"pipeline.md", only, repeats);
    if (mode == L"longrun")
        return pipebench::measureLongRun(argc > 2 && _wtof(argv[2]) > 0 ? _wtof(argv[2]) : 10);
    if (mode == L"sessions")
        return pipebench::measureSessions(argc > 2 && _wtoi(argv[2]) > 0 ? _wtoi(argv[2]) : 100);
    fprintf(stderr, "Usage: PipelineBench handoff [RUNS] | pipeline [FILE] [--only TEXT] [--repeats N] | "
                    "longrun [MINUTES] | sessions [N]  [--kivofx]\n");
    return 2;
}
