// Whether another product runs, told by the named mutex it holds while it runs.
#pragma once

#include <windows.h>

// True when a mutex of this name exists (or the name cannot be probed). The probe creates the mutex
// and closes it at once: for that moment the name exists for others' probes too.
bool isNamedMutexPresent(LPCWSTR name);
