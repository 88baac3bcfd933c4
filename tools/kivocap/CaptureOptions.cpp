#include "CaptureOptions.h"

#include <cerrno>
#include <cwchar>

const wchar_t kCaptureUsage[] =
    L"Usage: kivocap [OPTIONS]\n"
    L"Captures frames from a camera of the virtual camera device, as an application would.\n"
    L"\n"
    L"  --camera N          camera index (0)\n"
    L"  --size WxH          160x120 .. 1920x1080 (320x240)\n"
    L"  --format F          rgb24, rgb24-topdown, rgb32, rgb32-topdown or yuy2 (rgb24)\n"
    L"  --fps F             1..60 frames per second (30)\n"
    L"  --frames N          stop after N frames (30)\n"
    L"  --duration SEC      stop after SEC seconds instead (fractions allowed)\n"
    L"  --out DIR           write the frames to DIR as frame00000.png ...\n"
    L"  --image png|bmp     file type of written frames (png, through WIC)\n"
    L"  --every K           write only every K-th frame (1)\n"
    L"  --filter-wait MS    how long a filter window may take per frame (100)\n"
    L"  --print-events      print 'event open|count|counted|close qpc=...' lines (count: the first\n"
    L"                      counted frame; counted: the last, before the camera closes)\n"
    L"  --skip SEC          leave the frames of the first SEC seconds out of the counts, the\n"
    L"                      latencies and the CPU time (a filter starting up)\n"
    L"  --switch-to F       after --switch-after N frames go on in format F at the same size\n"
    L"  --help              this text\n"
    L"\n"
    L"Prints the counts of frames processed by a filter and passed through unprocessed, and the\n"
    L"per-frame latency that the filter added (p50, p99, max in microseconds), and the CPU time this\n"
    L"process spent per counted frame.\n"
    L"Exit codes: 0 success, 1 capture failed, 2 bad command line, 3 the camera was removed.\n";

namespace {

bool parseUnsigned(const wchar_t* text, DWORD min, DWORD max, DWORD& value)
{
    if (!text || !*text || *text == L'-')
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    unsigned long v = wcstoul(text, &end, 10);
    if (errno != 0 || *end != L'\0' || v < min || v > max)
        return false;
    value = DWORD(v);
    return true;
}

bool parseSize(const wchar_t* text, LONG& width, LONG& height)
{
    if (!text)
        return false;
    const wchar_t* x = wcschr(text, L'x');
    if (!x)
        return false;
    std::wstring w(text, x);
    DWORD wv = 0, hv = 0;
    if (!parseUnsigned(w.c_str(), 1, 100000, wv) || !parseUnsigned(x + 1, 1, 100000, hv))
        return false;
    width = LONG(wv);
    height = LONG(hv);
    return true;
}

} // namespace

bool parseCaptureOptions(int argc, wchar_t** argv, CaptureOptions& options, std::wstring& error)
{
    LONG width = 320, height = 240;
    std::wstring formatName = L"rgb24";
    std::wstring switchName;
    for (int i = 1; i < argc; ++i) {
        std::wstring option = argv[i];
        const wchar_t* value = i + 1 < argc ? argv[i + 1] : nullptr;
        bool takesValue = true;
        bool ok = true;
        if (option == L"--help" || option == L"-h") {
            options.help = true;
            return true;
        } else if (option == L"--print-events") {
            options.printEvents = true;
            takesValue = false;
        } else if (!value) {
            error = option + L" needs a value";
            return false;
        } else if (option == L"--camera") {
            ok = parseUnsigned(value, 0, 1000, options.camera);
        } else if (option == L"--size") {
            ok = parseSize(value, width, height);
        } else if (option == L"--format") {
            formatName = value;
        } else if (option == L"--fps") {
            ok = parseUnsigned(value, 1, vcam::kMaxFps, options.fps);
        } else if (option == L"--frames") {
            ok = parseUnsigned(value, 1, 10000000, options.frames);
        } else if (option == L"--duration") {
            wchar_t* end = nullptr;
            double seconds = wcstod(value, &end);
            ok = *end == L'\0' && seconds > 0 && seconds <= 86400;
            options.durationMs = ok ? DWORD(seconds * 1000.0 + 0.5) : 0;
        } else if (option == L"--skip") {
            wchar_t* end = nullptr;
            double seconds = wcstod(value, &end);
            ok = *end == L'\0' && seconds >= 0 && seconds <= 86400;
            options.skipMs = ok ? DWORD(seconds * 1000.0 + 0.5) : 0;
        } else if (option == L"--out") {
            options.outDir = value;
        } else if (option == L"--image") {
            ok = _wcsicmp(value, L"png") == 0 || _wcsicmp(value, L"bmp") == 0;
            options.png = _wcsicmp(value, L"png") == 0;
        } else if (option == L"--every") {
            ok = parseUnsigned(value, 1, 1000000, options.every);
        } else if (option == L"--switch-to") {
            switchName = value;
        } else if (option == L"--switch-after") {
            ok = parseUnsigned(value, 1, 10000000, options.switchAfter);
        } else if (option == L"--filter-wait") {
            ok = parseUnsigned(value, 1, 5000, options.filterWaitMs);
        } else {
            error = L"unknown option " + option;
            return false;
        }
        if (!ok) {
            error = L"bad value for " + option + L": " + value;
            return false;
        }
        if (takesValue)
            ++i;
    }
    if (!vcam::FrameFormat::parse(formatName, width, height, options.format)) {
        error = L"the camera cannot deliver " + formatName + L" at " + std::to_wstring(width) + L"x" +
                std::to_wstring(height) + L" (160x120 .. 1920x1080; yuy2 needs an even width)";
        return false;
    }
    if (switchName.empty() != (options.switchAfter == 0)) {
        error = L"--switch-to and --switch-after go together";
        return false;
    }
    if (!switchName.empty() && !vcam::FrameFormat::parse(switchName, width, height, options.switchFormat)) {
        error = L"the camera cannot deliver " + switchName + L" at this size";
        return false;
    }
    return true;
}
