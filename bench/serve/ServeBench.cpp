// Measures the service as installed: how long after an application opens the camera the settings
// program starts, and whether the service's kernel handles and GDI objects stay level over many
// camera open/close cycles.
//
//   ServeBench launch [N]    N launches (10): open-to-start delay, median, min and max
//   ServeBench cycles [N]    N open/close cycles (100): the service's handle and GDI counts before/after
#include "ServeSystem.h"

#include "KivoNames.h"
#include "ResourceCounts.h"

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

using namespace serve;
using kivotest::gdiObjectCount;
using kivotest::kernelHandleCount;

namespace {

long ownGdiCheck()
{
    long before = gdiObjectCount(GetCurrentProcessId());
    std::vector<HBITMAP> bitmaps;
    for (int i = 0; i < 10; ++i)
        bitmaps.push_back(CreateBitmap(8, 8, 1, 32, nullptr));
    long after = gdiObjectCount(GetCurrentProcessId());
    for (HBITMAP b : bitmaps)
        DeleteObject(b);
    return after - before;
}

struct Service {
    Installation& inst;
    TestProcess process;
    HWND hFrame;
    explicit Service(Installation& i)
        : inst(i), process(i.start(L"KivoServe.exe")), hFrame(waitForFrameWindow(process.id(), 10000))
    {
    }
    ~Service() { haltService(inst, process, 10000); }
};

LONGLONG qpcFrom(const std::string& text, const std::string& prefix)
{
    std::istringstream lines(text);
    std::string line;
    LONGLONG value = -1;
    while (std::getline(lines, line))
        if (line.compare(0, prefix.size(), prefix) == 0)
            value = std::stoll(line.substr(prefix.size()));
    return value;
}

int measureLaunch(int runs)
{
    Installation inst;
    resetSettings();
    runTool(inst, L"kivocam.exe", L"reset");
    Service service(inst);
    if (!service.hFrame) {
        fprintf(stderr, "ServeBench: the service did not start\n");
        return 1;
    }
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> delays;
    for (int i = 0; i < runs; ++i) {
        DeleteFileW(inst.file(L"standin.txt").c_str());
        std::string output;
        runTool(inst, L"kivocap.exe", L"--camera 0 --fps 15 --duration 4 --print-events", output, 20000);
        if (!inst.waitForStandIn("closed", 5000)) {
            fprintf(stderr, "ServeBench: run %d: the settings program did not start and close\n", i + 1);
            for (const std::string& line : inst.standInLines())
                fprintf(stderr, "  settings program: %s\n", line.c_str());
            for (const std::string& line : inst.logLines())
                fprintf(stderr, "  log: %s\n", line.c_str());
            return 1;
        }
        std::string standIn;
        for (const std::string& line : inst.standInLines())
            standIn += line + "\n";
        LONGLONG opened = qpcFrom(output, "event open qpc=");
        LONGLONG started = qpcFrom(standIn, "qpc ");
        double ms = double(started - opened) * 1000.0 / double(frequency.QuadPart);
        delays.push_back(ms);
        printf("run %2d: %.1f ms\n", i + 1, ms);
    }
    std::sort(delays.begin(), delays.end());
    double median = delays.size() % 2 ? delays[delays.size() / 2]
                                       : (delays[delays.size() / 2 - 1] + delays[delays.size() / 2]) / 2;
    printf("camera open -> settings program start: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)\n", median,
           delays.front(), delays.back(), runs);
    return 0;
}

int measureCycles(int cycles)
{
    Installation inst;
    resetSettings();
    runTool(inst, L"kivocam.exe", L"reset");
    // No settings program: every cycle is the service's own open, close and task bookkeeping.
    DeleteFileW(inst.file(L"KivoSet.exe").c_str());
    Service service(inst);
    if (!service.hFrame) {
        fprintf(stderr, "ServeBench: the service did not start\n");
        return 1;
    }
    Sleep(500);
    long handlesBefore = kernelHandleCount(service.process.id());
    long gdiBefore = gdiObjectCount(service.process.id());
    for (int i = 0; i < cycles; ++i) {
        runTool(inst, L"kivocap.exe", L"--camera 0 --fps 30 --frames 2", 20000);
        if (!inst.waitForLog("KivoServeFrame::OnCloseDevice() called.", 5000, i + 1)) {
            fprintf(stderr, "ServeBench: cycle %d: the service did not see the camera close\n", i + 1);
            return 1;
        }
    }
    Sleep(500);
    long handlesAfter = kernelHandleCount(service.process.id());
    long gdiAfter = gdiObjectCount(service.process.id());
    printf("service kernel handles: %ld before, %ld after %d camera open/close cycles\n", handlesBefore,
           handlesAfter, cycles);
    printf("service GDI objects:    %ld before, %ld after (counter check: 10 bitmaps read as %+ld)\n", gdiBefore,
           gdiAfter, ownGdiCheck());
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring mode = argc > 1 ? argv[1] : L"";
    int count = argc > 2 ? _wtoi(argv[2]) : 0;
    if (mode == L"launch")
        return measureLaunch(count > 0 ? count : 10);
    if (mode == L"cycles")
        return measureCycles(count > 0 ? count : 100);
    fprintf(stderr, "Usage: ServeBench launch [N] | cycles [N]\n");
    return 2;
}
