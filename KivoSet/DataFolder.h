// The installation's data folder. Pictures named ".\data\..." are looked up in the folder of the
// running program, whatever the working directory of the process that started it.
#pragma once

#include <string>

// The full path of a name relative to the program's folder (a leading ".\" is dropped); the name
// itself when the program's folder cannot be found.
std::wstring programRelativePath(const std::wstring& relativeName);
