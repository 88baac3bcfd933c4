#include "DetachedLaunch.h"

#include <string>

UniqueHandle launchDetached(LPCWSTR programPath, LPCWSTR commandTail)
{
    // CreateProcessW may write into the command line, so it gets a copy.
    std::wstring commandLine(commandTail ? commandTail : L"");
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(programPath, commandTail ? &commandLine[0] : nullptr, nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi))
        return UniqueHandle();
    CloseHandle(pi.hThread);
    return UniqueHandle(pi.hProcess);
}
