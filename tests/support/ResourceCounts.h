// Kernel handles and GDI objects of any process, for leak checks. Wine's GetProcessHandleCount and
// GetGuiResources return 0, so the handles are counted in the system's handle table
// (NtQuerySystemInformation) and the GDI objects in the process's own GDI handle table, which its
// PEB points at. Both return -1 when the count cannot be read.
#pragma once

#include <windows.h>

namespace kivotest {

long kernelHandleCount(DWORD processId);
long gdiObjectCount(DWORD processId);

} // namespace kivotest
