// The benchmark's long modes: the long run that fails on any frame passed through once the panel was
// up, and the handle and GDI object counts over many camera sessions.
#include "BenchSession.h"

#include "ResourceCounts.h"
#include "resource.h"

#include <cstdio>

namespace pipebench {

using namespace serve;
using kivotest::gdiObjectCount;
using kivotest::kernelHandleCount;

namespace {

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

} // namespace

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
        HWND hPanel = waitForPanelWindow(inst, kLaunchMs);
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

} // namespace pipebench
