// The installation's data folder. Pictures named ".\data\..." are looked up in the folder of the
// running program, whatever the working directory of the process that started it.
#pragma once

#include <string>

// The full path of a name relative to the program's folder (a leading ".\" is dropped); the name
// itself when the program's folder cannot be found.
std::wstring programRelativePath(const std::wstring& relativeName);

// The data file in the user's display language: the language's edition in a folder named for it
// (".\data\de\stil01.bmp" for German) when that file is there, otherwise the file itself; as a
// full path, like programRelativePath.
std::wstring languageDataPath(const std::wstring& relativeName);
