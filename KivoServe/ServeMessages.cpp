#include "ServeMessages.h"

#include "KivoNames.h"

extern const UINT WM_KIVOSET_HELP = ::RegisterWindowMessageW(KIVO_MSG_KIVOSET_HELP);
extern const UINT WM_KIVOSET_OPEN = ::RegisterWindowMessageW(KIVO_MSG_KIVOSET_OPEN);
extern const UINT WM_KIVOSET_HIDE = ::RegisterWindowMessageW(KIVO_MSG_KIVOSET_HIDE);
extern const UINT WM_KIVOSET_CLOSE = ::RegisterWindowMessageW(KIVO_MSG_KIVOSET_CLOSE);
extern const UINT WM_KIVOSET_FOREGROUND = ::RegisterWindowMessageW(KIVO_MSG_KIVOSET_FOREGROUND);
extern const UINT WM_KIVO_TRAY_NOTIFY = ::RegisterWindowMessageW(KIVO_MSG_TRAY_CALLBACK);
extern const UINT WM_TASKBAR_CREATED = ::RegisterWindowMessageW(L"TaskbarCreated");
