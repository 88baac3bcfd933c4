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
static UniqueHandle openTagged(const ProcessTag& tag, bool& foreign)
{
    foreign = false;
    if (tag.pid == 0)
        return UniqueHandle();
    UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, tag.pid));
    if (!process) {
        foreign = GetLastError() == ERROR_ACCESS_DENIED;
        return UniqueHandle();
    }
    if (creationTime(process.get()) != tag.createTime || WaitForSingleObject(process.get(), 0) != WAIT_TIMEOUT)
        return UniqueHandle();
    return process;
}

UniqueHandle openTaggedProcess(const ProcessTag& tag)
{
    bool foreign = false;
    return openTagged(tag, foreign);
}

bool isProcessAlive(const ProcessTag& tag)
{
    bool foreign = false;
    bool running = static_cast<bool>(openTagged(tag, foreign));
    // Another user's running process: its records are not ours to clear. (Its start time cannot be
    // read, so should its id be reused, a dead record stays until the new process ends.)
    return running || foreign;
}

} // namespace vcam
