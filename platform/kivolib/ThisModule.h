// The library's own module handle, for its resources and the files installed beside it.
#pragma once

#include <windows.h>

// KivoLib.dll's handle, found from an address inside it (whatever the process loaded it as).
HMODULE thisModule();
