// Whether a window's texts fit: each visible control's text measured with the control's own font as
// the control lays it out (a static's lines, a button's caption within its edges or beside its box,
// a list's entries beside its arrow); visible controls that overlap unless one only frames or backs
// the other; and visible controls that reach past the window's client area. Each returns a
// description of what is wrong, empty when nothing is.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kivotest {

std::string textMisfit(HWND control);
// imageButtons: owner-drawn buttons whose caption names their images (bitmap buttons) rather than
// being drawn; they are not measured. Every other owner-drawn button draws its caption as a push
// button does and is measured as one.
std::string misfitsIn(HWND window, const std::vector<int>& imageButtons = {});

} // namespace kivotest
