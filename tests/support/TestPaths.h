// Where the tests find things: the build's stage folder (the programs and libraries as installed),
// its tests folder (test programs, probes, stand-ins) and the folder of the running program.
#pragma once

#include <windows.h>

#include <string>

namespace kivotest {

std::wstring stageFolder();
std::wstring stageFile(const std::wstring& name);
std::wstring testsFolder();
std::wstring testsFile(const std::wstring& name);
// The folder of the running program (without a trailing backslash).
std::wstring programFolder();
// The search path of an installed program's libraries beside its own folder: system32 and the
// Windows folder, never the stage.
std::wstring windowsSearchPath();
// The path in double quotes, as one token of a command line.
std::wstring quoted(const std::wstring& path);

} // namespace kivotest
