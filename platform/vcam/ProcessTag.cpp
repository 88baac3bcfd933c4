#include "ProcessTag.h"

namespace vcam {

namespace {

ULONGLONG creationTime(HANDLE hProcess)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(hProcess, &created, &exited, &kernel, &user))
        return 0;
    return (ULONGLONG(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

} // namespace

ProcessTag currentProcessTag()
{
    ProcessTag tag = {};
    tag.pid = GetCurrentProcessId();
    tag.createTime = creationTime(GetCurrentProcess());
    return tag;
}

// The tagged process's handle, or null; foreign tells a running process of another user (which
// refuses to be opened) from one that has ended.
static HANDLE openTagged(const ProcessTag& tag, bool& foreign)
{
    foreign = false;
    if (tag.pid == 0)
        return nullptr;
    HANDLE hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, tag.pid);
    if (!hProcess) {
        foreign = GetLastError() == ERROR_ACCESS_DENIED;
        return nullptr;
    }
    if (creationTime(hProcess) != tag.createTime || WaitForSingleObject(hProcess, 0) != WAIT_TIMEOUT) {
        CloseHandle(hProcess);
        return nullptr;
    }
    return hProcess;
}

HANDLE openTaggedProcess(const ProcessTag& tag)
{
    bool foreign = false;
    return openTagged(tag, foreign);
}

bool isProcessAlive(const ProcessTag& tag)
{
    bool foreign = false;
    HANDLE hProcess = openTagged(tag, foreign);
    if (hProcess)
        CloseHandle(hProcess);
    // Another user's running process: its records are not ours to clear. (Its start time cannot be
    // read, so should its id be reused, a dead record stays until the new process ends.)
    return hProcess != nullptr || foreign;
}

} // namespace vcam
