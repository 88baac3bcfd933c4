// What screen readers learn of the library's controls. Each control of a library dialog, page or
// sheet answers oleacc (WM_GETOBJECT) with the system's own description of it, completed where the
// system leaves a gap: a role from its class and style, a state that includes checks and what the
// control itself reports, and a name from, in turn, one given here, its own text (not for lists and
// number boxes, whose text is their value, nor for pictures, whose text names a resource), its
// tooltip, or the label before it in the z-order (a text label, or an icon with a tooltip).
#pragma once

#include "TslApi.h"

#include <windows.h>

// The library's dialogs, pages and sheets describe their controls themselves; a program calls this
// for the children of a window of its own. Each child stays described until it is destroyed.
TSL_API void TslDescribeControls(HWND parent);
// The name read for the control from now on, whatever else would name it.
TSL_API void TslSetAccessibleName(HWND control, LPCWSTR name);
