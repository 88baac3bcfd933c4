#include "VcamNames.h"

namespace vcam {

namespace {

std::wstring objectName(const wchar_t* scope, const std::wstring& what)
{
    std::wstring suffix;
    if (!deviceNamespace(suffix))
        return std::wstring();
    return std::wstring(scope) + L"\\KivoVcam" + suffix + L"." + what;
}

std::wstring globalName(const std::wstring& what)
{
    return objectName(L"Global", what);
}

std::wstring sessionName(const std::wstring& what)
{
    return objectName(L"Local", what);
}

} // namespace

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

std::wstring deviceMutexName()
{
    return globalName(L"Mutex");
}

std::wstring listenerName(DWORD processId)
{
    return globalName(L"Listener" + std::to_wstring(processId));
}

std::wstring taskWakeName(DWORD taskSerial)
{
    return globalName(L"Task" + std::to_wstring(taskSerial) + L".Wake");
}

std::wstring taskFrameName(DWORD taskSerial)
{
    return sessionName(L"Task" + std::to_wstring(taskSerial) + L".Frame");
}

std::wstring captureFramesName(DWORD captureSerial)
{
    return sessionName(L"Capture" + std::to_wstring(captureSerial) + L".Frames");
}

std::wstring captureDoneName(DWORD captureSerial)
{
    return sessionName(L"Capture" + std::to_wstring(captureSerial) + L".Done");
}

} // namespace vcam
