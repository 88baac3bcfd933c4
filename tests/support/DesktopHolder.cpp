// Keeps Wine's desktop process running for a whole test run.
//
// Wine starts the desktop process (explorer.exe /desktop) for the first program that needs a
// desktop and ends it about two seconds after the last such program has gone. The desktop process
// inherits the standard error of the program that started it, as every Wine process does, so a
// test program that happened to start it would leave its output pipe open for as long as other
// programs keep the desktop alive, and the test runner would wait for that pipe until its time-out.
// The harness starts this program first, with no pipe of its own, so the desktop is started once,
// by it, and stays.
//
//   DesktopHolder [SECONDS]   holds the desktop for SECONDS (14400), or until the wineserver ends
#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv)
{
    DWORD seconds = 4 * 60 * 60;
    if (argc > 1) {
        wchar_t* end = nullptr;
        unsigned long value = wcstoul(argv[1], &end, 10);
        if (!end || *end != L'\0' || value == 0 || value > 24ul * 60 * 60) {
            fwprintf(stderr, L"Usage: DesktopHolder [SECONDS]   (1 to 86400)\n");
            return 2;
        }
        seconds = DWORD(value);
    }
    // Asking for the desktop window makes this process one of the desktop's users.
    if (!GetDesktopWindow())
        return 1;
    Sleep(seconds * 1000);
    return 0;
}
