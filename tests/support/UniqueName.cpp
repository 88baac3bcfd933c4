#include "UniqueName.h"

#include <windows.h>

namespace kivotest {

std::wstring uniqueName(const std::wstring& stem)
{
    static LONG counter = 0;
    return stem + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(InterlockedIncrement(&counter));
}

} // namespace kivotest
