// The settings panel's private window messages. The image access task's messages (WM_USER+1 to +4)
// are in KivoNames.h; these are the panel's own. A parameter, where one is used, is in wParam.
#pragma once

#include <windows.h>

// wParam: index into the frame list to lay over the picture; 0 means no frame.
const UINT WM_APPLY_FRAME = WM_USER + 10;
// Show the alert that the picture is too large for the camera facing front.
const UINT WM_ALERT_OVER_RESOLUTION = WM_USER + 20;
// The frame size does not allow effects: switch them off.
const UINT WM_EFFECT_DISABLE = WM_USER + 21;
// Effects are possible again (wParam 1): switch them on and restore the stored ones.
const UINT WM_EFFECT_ENABLE = WM_USER + 22;
// The effect library refused a frame: show the failure box, after the frame was handed back.
const UINT WM_EFFECT_FAILED = WM_USER + 23;
