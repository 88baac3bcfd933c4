// Whether a window's texts fit: each visible control's text measured with the control's own font as
// the control lays it out (a static's lines, a button's caption within its edges or beside its box,
// a list's entries beside its arrow), and visible controls that overlap unless one only frames or
// backs the other. Each returns a description of what is wrong, empty when nothing is.
#pragma once

#include <windows.h>

#include <string>

namespace kivotest {

std::string textMisfit(HWND control);
std::string misfitsIn(HWND window);

} // namespace kivotest
