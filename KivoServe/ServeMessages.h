// Registered window messages of the service, each registered once during static initialisation,
// before the application starts, so that the frame's message map can match them.
#pragma once

#include <windows.h>

extern const UINT WM_KIVOSET_HELP;
extern const UINT WM_KIVOSET_OPEN;
extern const UINT WM_KIVOSET_HIDE;
extern const UINT WM_KIVOSET_CLOSE;
extern const UINT WM_KIVOSET_FOREGROUND;   // posted to the settings dialog
extern const UINT WM_KIVO_TRAY_NOTIFY;   // the tray icon's callback message
extern const UINT WM_TASKBAR_CREATED;    // broadcast by the shell when its taskbar (re)appears
