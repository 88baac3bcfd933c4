// What a probe program of the framework's tests saw: one line at a time, appended to the file that
// KIVO_PROBE_OUT names (nothing when it names none).
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>

namespace probe {

inline void record(const std::string& text)
{
    WCHAR path[MAX_PATH];
    if (!GetEnvironmentVariableW(L"KIVO_PROBE_OUT", path, MAX_PATH))
        return;
    FILE* f = _wfopen(path, L"ab");
    if (!f)
        return;
    fprintf(f, "%s\n", text.c_str());
    fclose(f);
}

} // namespace probe
