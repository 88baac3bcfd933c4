// What screen readers learn of the library's controls. Each control of a library dialog, page or
// sheet answers oleacc (WM_GETOBJECT) with the system's own description of it, completed where the
// system leaves a gap: a role from its class and style, a state that includes checks and what the
// control itself reports, and a name from, in turn, one given here, its own text, its tooltip, or
// the label before it in the z-order (a text label, or an icon with a tooltip).
#pragma once

#include "TslApi.h"

#include <windows.h>

// Describes every child of parent (not parent itself) from now until each is destroyed.
TSL_API void TslDescribeControls(HWND parent);
// Describes one window from now on, as TslDescribeControls does each child.
TSL_API void TslDescribeControl(HWND control);
// The name read for the control from now on, whatever else would name it.
TSL_API void TslSetAccessibleName(HWND control, LPCWSTR name);
// A registered message that a control answers with the STATE_SYSTEM_ bits it holds beyond what the
// system can see in its window (a latched look, the default button of a skinned dialog); the
// default window procedure answers 0.
TSL_API UINT TslAccessibleStateMessage();
