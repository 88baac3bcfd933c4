// Starting another program of the product without waiting for it.
#pragma once

#include "UniqueHandle.h"

#include <windows.h>

// Starts the program as the shell would (default start-up information, so the program's own show
// state applies), with the command tail given (or none). The thread's handle is closed at once; the
// process's goes to the caller, which may drop it. Empty when the start failed, GetLastError saying
// why.
UniqueHandle launchDetached(LPCWSTR programPath, LPCWSTR commandTail);
