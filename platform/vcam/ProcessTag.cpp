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

HANDLE openTaggedProcess(const ProcessTag& tag)
{
    if (tag.pid == 0)
        return nullptr;
    HANDLE hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, tag.pid);
    if (!hProcess)
        return nullptr;
    if (creationTime(hProcess) != tag.createTime || WaitForSingleObject(hProcess, 0) != WAIT_TIMEOUT) {
        CloseHandle(hProcess);
        return nullptr;
    }
    return hProcess;
}

bool isProcessAlive(const ProcessTag& tag)
{
    HANDLE hProcess = openTaggedProcess(tag);
    if (!hProcess)
        return false;
    CloseHandle(hProcess);
    return true;
}

} // namespace vcam
