// The other process of the test support's own tests:
//   SupportProbe hold N READY GO DONE   signals READY, waits for GO, creates N bitmaps and N events,
//                                       signals DONE and waits to be ended
//   SupportProbe ask CAPTION TEXT       a Yes/No message box; the answer is the exit code
//   SupportProbe show NAME              prints the variable NAME, PATH and the working folder
//   SupportProbe sleep                  waits to be ended
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <vector>

namespace {

const DWORD kLifetimeMs = 30000;

int hold(int count, const wchar_t* ready, const wchar_t* go, const wchar_t* done)
{
    // All three open from the start, so that the test counts the same handles of them each time.
    HANDLE hReady = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready);
    HANDLE hGo = OpenEventW(SYNCHRONIZE, FALSE, go);
    HANDLE hDone = OpenEventW(EVENT_MODIFY_STATE, FALSE, done);
    if (!hReady || !hGo || !hDone || !SetEvent(hReady) || WaitForSingleObject(hGo, kLifetimeMs) != WAIT_OBJECT_0)
        return 1;
    std::vector<HGDIOBJ> bitmaps;
    std::vector<HANDLE> events;
    for (int i = 0; i < count; ++i) {
        bitmaps.push_back(CreateBitmap(4, 4, 1, 32, nullptr));
        events.push_back(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    }
    if (!SetEvent(hDone))
        return 1;
    Sleep(kLifetimeMs);
    return 0;   // the system frees what the process holds
}

void show(const wchar_t* name)
{
    WCHAR value[1024] = L"", path[4096] = L"", folder[MAX_PATH] = L"";
    GetEnvironmentVariableW(name, value, ARRAYSIZE(value));
    GetEnvironmentVariableW(L"PATH", path, ARRAYSIZE(path));
    GetCurrentDirectoryW(MAX_PATH, folder);
    wprintf(L"%ls=%ls\nPATH=%ls\nfolder=%ls\n", name, value, path, folder);
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 6 && wcscmp(argv[1], L"hold") == 0)
        return hold(_wtoi(argv[2]), argv[3], argv[4], argv[5]);
    if (argc == 4 && wcscmp(argv[1], L"ask") == 0)
        return MessageBoxW(nullptr, argv[3], argv[2], MB_YESNO);
    if (argc == 3 && wcscmp(argv[1], L"show") == 0) {
        show(argv[2]);
        return 0;
    }
    if (argc == 2 && wcscmp(argv[1], L"sleep") == 0) {
        Sleep(kLifetimeMs);
        return 0;
    }
    fputws(L"usage: SupportProbe hold N READY GO DONE | ask CAPTION TEXT | show NAME | sleep\n", stderr);
    return 2;
}
