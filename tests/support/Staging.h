// Installation folders made from the build's stage: the programs and libraries a test chooses, or
// the whole stage less the files a test leaves out. The libraries every program of the product
// needs come along whenever the stage has them.
#pragma once

#include <string>
#include <vector>

namespace kivotest {

// Libraries that every staged program loads at start (the framework's DLL once it is one). A
// program that gains such a dependency is staged right everywhere by adding it here.
const std::vector<std::wstring>& librariesEveryProgramNeeds();

// Files are named by their path below the stage ("KivoLib.dll", "data\\stil01.bmp"); names compare
// ignoring case.

// Copies the named files of the stage, with the libraries every program needs, into folder; files
// in leaveOut are not copied. False when a named file did not copy.
bool stageFiles(const std::wstring& folder, const std::vector<std::wstring>& names,
                const std::vector<std::wstring>& leaveOut = {});
// Copies every file of the stage, subfolders included, into folder except those in leaveOut. False
// when one did not copy.
bool stageEverything(const std::wstring& folder, const std::vector<std::wstring>& leaveOut = {});

} // namespace kivotest
