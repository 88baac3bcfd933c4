// Names of the virtual camera's kernel objects. A suffix from the environment variable
// KIVO_VCAM_NAMESPACE gives a separate device (used by tests running side by side); child
// processes inherit it.
#pragma once

#include <windows.h>

#include <string>

namespace vcam {

// The suffix, or false when the variable holds anything but up to 40 letters, digits, '-' or '_'.
bool deviceNamespace(std::wstring& suffix);

// "Global\KivoVcam<suffix>.<what>"; empty when the namespace is invalid.
std::wstring objectName(const std::wstring& what);
std::wstring taskObjectName(DWORD taskSerial, const wchar_t* what);
std::wstring captureObjectName(DWORD captureSerial, const wchar_t* what);

} // namespace vcam
