// How the command-line tools end: their exit codes, and the message for a bad command line.
#pragma once

#include <cstdio>
#include <string>

enum ExitCode { kOk = 0, kFailed = 1, kUsage = 2 };

// Reports a bad command line as "TOOL: WHAT" with a pointer to TOOL's help; the usage exit code.
inline int usageError(const wchar_t* tool, const std::wstring& what)
{
    fwprintf(stderr, L"%ls: %ls\nTry '%ls --help'.\n", tool, what.c_str(), tool);
    return kUsage;
}
