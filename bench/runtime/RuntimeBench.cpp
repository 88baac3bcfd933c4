// Costs of the shared runtime, each against a baseline measured in the same run (medians of
// repeats): a WriteLog line against a bare append of the same bytes, and scaling a frame with its
// key kept exact against the platform's halftone stretch of a still picture of the same size.
//
//   RuntimeBench [REPEATS]      (default 7; run under Wine from the build tree)
#include "KivoLib.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <functional>
#include <string>
#include <vector>

namespace {

double nowMicroseconds()
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) * 1e6 / double(frequency.QuadPart);
}

// Median time of one call of each job, over `repeats` rounds of `calls` calls; the jobs take turns
// round by round, so that a change in the machine's load touches all of them alike.
std::vector<double> medianMicroseconds(int repeats, int calls, const std::vector<std::function<void()>>& jobs)
{
    std::vector<std::vector<double>> rounds(jobs.size());
    for (int r = 0; r < repeats; ++r) {
        for (size_t j = 0; j < jobs.size(); ++j) {
            double start = nowMicroseconds();
            for (int i = 0; i < calls; ++i)
                jobs[j]();
            rounds[j].push_back((nowMicroseconds() - start) / calls);
        }
    }
    std::vector<double> medians;
    for (std::vector<double>& times : rounds) {
        std::sort(times.begin(), times.end());
        medians.push_back(times[times.size() / 2]);
    }
    return medians;
}

void bareAppend(const std::wstring& path, const char* line, DWORD cb)
{
    HANDLE hFile = CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return;
    DWORD written = 0;
    WriteFile(hFile, line, cb, &written, nullptr);
    CloseHandle(hFile);
}

void row(const char* job, double us, double baselineUs)
{
    printf("| %-46s | %10.1f | %6.2f |\n", job, us, us / baselineUs);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const char kUsage[] = "usage: RuntimeBench [REPEATS]   (1..1000 rounds per job, default 7)\n";
    if (argc == 2 && (wcscmp(argv[1], L"--help") == 0 || wcscmp(argv[1], L"-h") == 0)) {
        fputs(kUsage, stdout);
        return 0;
    }
    int repeats = argc > 1 ? _wtoi(argv[1]) : 7;
    if (argc > 2 || repeats < 1 || repeats > 1000) {
        fputs(kUsage, stderr);
        return 2;
    }
    WCHAR temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    std::wstring logPath = std::wstring(temp) + L"RuntimeBench-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
    std::wstring barePath = logPath + L".bare";
    SetEnvironmentVariableW(L"KIVO_LOG_FILE", logPath.c_str());
    SetEnvironmentVariableW(L"KIVO_LOG_MAX_BYTES", L"1073741824");   // no rotation inside the measurement

    const char kLine[] = "2026-01-01 00:00:00.000 [1234] RuntimeBench.exe: KivoServeFrame::OnOpenDevice() called.\r\n";
    std::vector<double> logTimes = medianMicroseconds(repeats, 200, {
        [&] { bareAppend(barePath, kLine, DWORD(sizeof(kLine) - 1)); },
        [] { WriteLog(L"KivoServeFrame::OnOpenDevice() called."); },
    });
    DeleteFileW(logPath.c_str());
    DeleteFileW(barePath.c_str());
    std::vector<double> imageTimes = medianMicroseconds(repeats, 10, {
        [] { DeleteObject(ImageFactory::CreateBitmap(102, 640, 480)); },
        [] { DeleteObject(ImageFactory::CreateBitmap(10001, 640, 480)); },
        [] { DeleteObject(ImageFactory::CreateBitmap(10001, 0, 0)); },
    });
    double bare = logTimes[0], log = logTimes[1];
    double halftone = imageTimes[0], keyed = imageTimes[1], natural = imageTimes[2];

    printf("| job (median of %d rounds)%*s | us / call  | ratio  |\n", repeats, 22 - (repeats > 9) - (repeats > 99), "");
    printf("|------------------------------------------------|------------|--------|\n");
    row("bare append of one line (baseline)", bare, bare);
    row("WriteLog of the same line", log, bare);
    row("still 320x240 -> 640x480, halftone (baseline)", halftone, halftone);
    row("frame 320x240 -> 640x480, key kept exact", keyed, halftone);
    row("frame at natural size (load only)", natural, halftone);
    return 0;
}
