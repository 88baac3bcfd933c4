#include "VcamNames.h"

namespace vcam {

bool deviceNamespace(std::wstring& suffix)
{
    WCHAR buffer[64];
    DWORD n = GetEnvironmentVariableW(L"KIVO_VCAM_NAMESPACE", buffer, ARRAYSIZE(buffer));
    if (n == 0) {   // unset or empty: the machine's own device
        suffix.clear();
        return true;
    }
    if (n > 40)
        return false;
    for (DWORD i = 0; i < n; ++i) {
        WCHAR c = buffer[i];
        bool ok = (c >= L'a' && c <= L'z') || (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') ||
                  c == L'-' || c == L'_';
        if (!ok)
            return false;
    }
    suffix.assign(buffer, n);
    return true;
}

std::wstring objectName(const std::wstring& what)
{
    std::wstring suffix;
    if (!deviceNamespace(suffix))
        return std::wstring();
    return L"Global\\KivoVcam" + suffix + L"." + what;
}

std::wstring taskObjectName(DWORD taskSerial, const wchar_t* what)
{
    return objectName(L"Task" + std::to_wstring(taskSerial) + L"." + what);
}

std::wstring captureObjectName(DWORD captureSerial, const wchar_t* what)
{
    return objectName(L"Capture" + std::to_wstring(captureSerial) + L"." + what);
}

} // namespace vcam
