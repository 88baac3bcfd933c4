// The settings panel's private window messages.
#pragma once

#include <windows.h>

// wParam: the frame index to apply; lParam 0. Posted to the panel by the frame chooser's Apply and
// by the panel itself after the chooser ended with OK.
const UINT WM_APPLY_FRAME = WM_USER + 10;
