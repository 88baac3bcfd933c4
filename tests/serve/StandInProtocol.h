// What a test can ask of the stand-in settings program.
#pragma once

#include <windows.h>

const wchar_t kStandInClassName[] = L"KivoSetStandIn";
const UINT WM_STANDIN_HELP = WM_APP + 2;    // ask the service for help
const UINT WM_STANDIN_CLOSE = WM_APP + 3;   // end, as when the camera closes
