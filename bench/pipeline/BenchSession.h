// The pieces the pipeline benchmark's modes share: the installed pair's service, one camera session
// through the filter (the panel or kivofx) with its counts and latencies, and the baselines.
#pragma once

#include "ServeSystem.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pipebench {

using serve::Installation;
using kivotest::TestProcess;

constexpr DWORD kStartMs = 10000;
constexpr UINT kApplyFrame = WM_USER + 10;   // the panel's message: wParam the frame list index
// How long the application waits for the panel per frame before the frame goes on unprocessed. A
// healthy panel answers within a millisecond, but a loaded machine stalls it now and then for tens
// and, rarely, a few hundred milliseconds; a frame let through then breaks the effect the user chose
// (the still picture would show the room it hides). A hung panel costs the application this wait
// once: until it completes the frame it holds, the next frames go on without waiting.
constexpr DWORD kFilterWaitMs = 500;
constexpr DWORD kLaunchMs = 15000;

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

inline const Effect kNoEffect = {"none", 0, 0, 0};
inline const Effect kEffects[] = {
    {"none", 0, 0, 0},         {"frame", 1, 0, 0},        {"zoom 1.5x", 0, 1, 0},         {"zoom 2x", 0, 2, 0},
    {"frame + zoom 1.5x", 1, 1, 0}, {"freeze", 0, 0, 1}, {"still picture", 0, 0, 2},
};
inline const Effect kAllEffects = {"frame + zoom 2x", 1, 2, 0};

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

// The median of the values; 0 for none.
double median(std::vector<double> values);
// User and kernel time of a process, 100 ns units; 0 when it cannot be read.
ULONGLONG cpuTime(HANDLE hProcess);
// Fresh settings for a run: AutoStartup as given, the over-resolution alert off.
void prepareSettings(bool autoStartup);

// The resident service of an installation, started on fresh settings (AutoStartup on) and a reset
// camera, halted at the end.
class Service {
public:
    explicit Service(Installation& inst) : m_inst(inst), m_process(startOnFreshSettings(inst))
    {
        m_hFrame = serve::waitForFrameWindow(m_process.id(), kStartMs);
        if (!m_hFrame)
            fprintf(stderr, "PipelineBench: the service did not start\n");
    }
    ~Service() { haltService(m_inst, m_process, 10000); }
    HWND frame() const { return m_hFrame; }
    DWORD id() const { return m_process.id(); }

private:
    static TestProcess startOnFreshSettings(Installation& inst)
    {
        prepareSettings(true);
        serve::runTool(inst, L"kivocam.exe", L"reset");
        return inst.start(L"KivoServe.exe");
    }

    Installation& m_inst;
    TestProcess m_process;
    HWND m_hFrame = nullptr;
};

// kivocap of the installation with its output captured.
std::unique_ptr<TestProcess> startCapture(const Installation& inst, const std::wstring& arguments);

// kivofx in the panel's place while a build has no settings program: the same library calls on every
// frame, without the panel's modes and without its skipping of every second frame.
extern bool g_kivofxFilter;
const char* filterName();

// One camera session through the filter: the effect set, frames counted after the filter settled.
// whileCounting, when given, runs once the counting began (the panel's handle as argument).
CaseResult runCase(Installation& inst, const Case& c, double seconds, double skip,
                   const std::function<void(HWND)>& whileCounting = nullptr);

struct PingPong {
    double p50 = -1, p99 = -1, childCpuUs = -1;
};

// Round trips between two processes, bare or relayed through a window post; with an interval they
// come at a frame rate, each after the system had time to run something else.
PingPong pingPong(bool viaWindow, int intervalMs = 0);
// The same started in the background, its measured rounds beginning delayMs after the start; the
// result waits for its end (a minute at most).
std::unique_ptr<TestProcess> startPingPong(bool viaWindow, int intervalMs, int delayMs);
PingPong pingPongResult(TestProcess& run);

struct Baselines {
    PingPong ping, relay;
    bool ok() const { return ping.p50 > 0 && relay.p50 > 0; }
};

// The bare ping-pong back to back; the relay, the floor of a frame, at the frame rate.
Baselines measureBaselines(int fps);

// The camera open (kivocap's own clock) to the panel visible on the screen, AutoStartup on; one delay
// in milliseconds per run.
int measureOpenToVisible(Installation& inst, int runs, std::vector<double>& delays);

// The modes of the benchmark.
int measureHandoff(int runs);
int measurePipeline(const std::wstring& tablePath, const std::string& only);
int measureLongRun(double minutes);
int measureSessions(int sessions);

} // namespace pipebench
