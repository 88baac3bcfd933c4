// kivocap: a capturing application for the virtual camera. Opens a camera, receives frames (which
// pass a filter window when an image access task with frame access watches the camera), writes
// them to files and reports what the filter did and how long it took.
#include "CaptureOptions.h"
#include "CaptureSession.h"
#include "FrameWriter.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2, kRemoved = 3 };

struct CaptureCounts {
    DWORD frames = 0, processed = 0, passedThrough = 0, unfiltered = 0;
    std::vector<LONGLONG> latencies;   // QPC ticks added by the filter handoff
    ULONGLONG cpuStart = 0, cpuEnd = 0;   // this process's user and kernel time, 100 ns units
    bool counting = false;
};

ULONGLONG processCpuTime()
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    auto value = [](const FILETIME& t) { return (ULONGLONG(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
    return value(kernel) + value(user);
}

LONGLONG qpc()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double percentileMicroseconds(std::vector<LONGLONG> values, double fraction, LONGLONG frequency)
{
    if (values.empty())
        return 0.0;
    std::sort(values.begin(), values.end());
    size_t rank = size_t(fraction * double(values.size()) + 0.999999);   // nearest rank
    rank = std::min(values.size(), std::max<size_t>(1, rank));
    return double(values[rank - 1]) * 1e6 / double(frequency);
}

void printSummary(const CaptureCounts& counts)
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    wprintf(L"frames %lu processed %lu passed-through %lu (no filter %lu)\n", static_cast<unsigned long>(counts.frames),
            static_cast<unsigned long>(counts.processed),
            static_cast<unsigned long>(counts.passedThrough + counts.unfiltered),
            static_cast<unsigned long>(counts.unfiltered));
    wprintf(L"latency-us p50 %.1f p99 %.1f max %.1f\n", percentileMicroseconds(counts.latencies, 0.50, f.QuadPart),
            percentileMicroseconds(counts.latencies, 0.99, f.QuadPart),
            percentileMicroseconds(counts.latencies, 1.0, f.QuadPart));
    double cpuMs = double(counts.cpuEnd - counts.cpuStart) / 10000.0;
    wprintf(L"cpu-ms %.1f per-frame-us %.1f\n", cpuMs, counts.frames ? cpuMs * 1000.0 / counts.frames : 0.0);
}

bool writeFrame(FrameWriter& writer, const CaptureOptions& options, const vcam::CapturedFrame& frame,
                const vcam::FrameFormat& format)
{
    WCHAR name[32];
    _snwprintf(name, ARRAYSIZE(name), L"\\frame%05lu.%ls", static_cast<unsigned long>(frame.frameNumber),
               options.png ? L"png" : L"bmp");
    name[ARRAYSIZE(name) - 1] = L'\0';
    std::wstring error;
    if (!writer.write(options.outDir + name, format, frame.data, error)) {
        fwprintf(stderr, L"kivocap: %ls\n", error.c_str());
        return false;
    }
    return true;
}

int capture(const CaptureOptions& options)
{
    FrameWriter writer;
    std::wstring error;
    if (!options.outDir.empty()) {
        CreateDirectoryW(options.outDir.c_str(), nullptr);
        if (!writer.init(options.png, error)) {
            fwprintf(stderr, L"kivocap: %ls\n", error.c_str());
            return kFailed;
        }
    }
    vcam::CaptureSession session;
    DWORD reserveBytes = options.switchAfter ? options.switchFormat.imageBytes() : 0;
    vcam::CaptureResult rc =
        session.open(options.camera, options.format, options.fps, options.filterWaitMs, reserveBytes);
    if (rc != vcam::CaptureResult::Ok) {
        fwprintf(stderr, L"kivocap: camera %lu: %ls\n", static_cast<unsigned long>(options.camera),
                 session.lastError().c_str());
        return kFailed;
    }
    if (options.printEvents)
        wprintf(L"event open qpc=%lld\n", qpc());
    fflush(stdout);

    CaptureCounts counts;
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    const LONGLONG opened = qpc();
    const LONGLONG end = opened + LONGLONG(options.durationMs) * f.QuadPart / 1000;
    const LONGLONG countFrom = opened + LONGLONG(options.skipMs) * f.QuadPart / 1000;
    DWORD received = 0;
    int exitCode = kOk;
    while (options.durationMs ? qpc() < end : received < options.frames) {
        if (options.switchAfter && received == options.switchAfter &&
            session.switchFormat(options.switchFormat) != vcam::CaptureResult::Ok) {
            fwprintf(stderr, L"kivocap: %ls\n", session.lastError().c_str());
            exitCode = kFailed;
            break;
        }
        vcam::CapturedFrame frame;
        rc = session.nextFrame(frame);
        if (rc != vcam::CaptureResult::Ok) {
            fwprintf(stderr, L"kivocap: camera %lu: %ls\n", static_cast<unsigned long>(options.camera),
                     session.lastError().c_str());
            exitCode = rc == vcam::CaptureResult::Removed ? kRemoved : kFailed;
            break;
        }
        ++received;
        if (!counts.counting && frame.captureTime >= countFrom) {
            counts.counting = true;
            counts.cpuStart = processCpuTime();
            if (options.printEvents) {
                wprintf(L"event count qpc=%lld\n", qpc());
                fflush(stdout);
            }
        }
        if (!options.outDir.empty() && frame.frameNumber % options.every == 0 &&
            !writeFrame(writer, options, frame, session.format())) {
            exitCode = kFailed;
            break;
        }
        if (!counts.counting)
            continue;
        ++counts.frames;
        counts.latencies.push_back(frame.deliverTime - frame.captureTime);
        if (frame.fate == vcam::FrameFate::Processed)
            ++counts.processed;
        else if (frame.fate == vcam::FrameFate::PassedThrough)
            ++counts.passedThrough;
        else
            ++counts.unfiltered;
    }
    counts.cpuEnd = counts.counting ? processCpuTime() : counts.cpuStart;
    if (options.printEvents) {
        // Before the close, so that a watcher can read the filter's CPU time of the same frames.
        wprintf(L"event counted qpc=%lld\n", qpc());
        fflush(stdout);
    }
    session.close();
    if (options.printEvents)
        wprintf(L"event close qpc=%lld\n", qpc());
    printSummary(counts);
    return exitCode;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    CaptureOptions options;
    std::wstring error;
    if (!parseCaptureOptions(argc, argv, options, error)) {
        fwprintf(stderr, L"kivocap: %ls\nTry 'kivocap --help'.\n", error.c_str());
        return kUsage;
    }
    if (options.help) {
        fputws(kCaptureUsage, stdout);
        return kOk;
    }
    return capture(options);
}
