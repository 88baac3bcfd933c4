#include "DeviceBroadcast.h"

#include "KivoNames.h"
#include "VcamNames.h"

#include <dbt.h>

#include <cstddef>
#include <cstdio>
#include <vector>

namespace vcam {

namespace {

constexpr UINT kPerWindowTimeoutMs = 500;

BOOL CALLBACK collectWindow(HWND hwnd, LPARAM lParam)
{
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

} // namespace

// Windows delivers these notices to the windows registered with RegisterDeviceNotificationW for
// the class. Wine offers no way to list those registrations, so the notice goes to every
// top-level window of the desktop, hidden ones included (EnumWindows lists them); windows that did
// not register ignore WM_DEVICECHANGE. Message-only windows are not reached. Wine marshals the
// DEV_BROADCAST_DEVICEINTERFACE_W record to other processes. SendMessageTimeout keeps a hung
// window from stalling the caller.
void broadcastCameraChange(WPARAM event, DWORD cameraId)
{
    // The device namespace is part of the instance name, so that separate devices can be told apart.
    std::wstring suffix;
    deviceNamespace(suffix);
    WCHAR name[160];
    _snwprintf(name, ARRAYSIZE(name),
               L"\\\\?\\ROOT#IMAGE#KIVOVCAM%ls_%04lu#{f4ad4086-77b7-47c0-a9e6-ff6dbcb56f0a}", suffix.c_str(),
               static_cast<unsigned long>(cameraId));
    name[ARRAYSIZE(name) - 1] = L'\0';
    size_t nameBytes = (wcslen(name) + 1) * sizeof(WCHAR);
    std::vector<BYTE> record(offsetof(DEV_BROADCAST_DEVICEINTERFACE_W, dbcc_name) + nameBytes);
    auto* notice = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_W*>(record.data());
    notice->dbcc_size = DWORD(record.size());
    notice->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    notice->dbcc_classguid = KIVO_CAMERA_INTERFACE_CLASS;
    memcpy(notice->dbcc_name, name, nameBytes);

    std::vector<HWND> windows;
    EnumWindows(collectWindow, reinterpret_cast<LPARAM>(&windows));
    for (HWND hwnd : windows) {
        DWORD_PTR result = 0;
        SendMessageTimeoutW(hwnd, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(notice),
                            SMTO_ABORTIFHUNG | SMTO_NORMAL, kPerWindowTimeoutMs, &result);
    }
}

} // namespace vcam
