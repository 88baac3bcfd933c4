#include "DeviceBroadcast.h"

#include "KivoNames.h"
#include "ObjectSecurity.h"
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

// The process's listener object, closed when the module goes with the process.
class ListenerMark {
public:
    ~ListenerMark()
    {
        if (m_hMark)
            CloseHandle(m_hMark);
    }
    void set()
    {
        if (m_hMark)
            return;
        std::wstring name = listenerName(GetCurrentProcessId());
        ObjectSecurity security(SecuredObject::Mark);
        HANDLE hMark = name.empty() ? nullptr
                                    : CreateEventExW(security.attributes(), name.c_str(), CREATE_EVENT_MANUAL_RESET,
                                                     openAccess(SecuredObject::Mark));
        if (hMark && InterlockedCompareExchangePointer(&m_hMark, hMark, nullptr) != nullptr)
            CloseHandle(hMark);   // another thread marked it first
    }

private:
    HANDLE volatile m_hMark = nullptr;
};

ListenerMark g_listenerMark;

bool hearsCameraChanges(HWND hwnd)
{
    DWORD processId = 0;
    if (!GetWindowThreadProcessId(hwnd, &processId))
        return false;
    std::wstring name = listenerName(processId);
    HANDLE hMark = name.empty() ? nullptr : OpenEventW(SYNCHRONIZE, FALSE, name.c_str());
    if (!hMark)
        return false;
    CloseHandle(hMark);
    return true;
}

} // namespace

void hearCameraChanges()
{
    g_listenerMark.set();
}

// Windows delivers these notices to the windows registered with RegisterDeviceNotificationW for
// the class. Wine offers no way to list those registrations, so the notice goes to every
// top-level window (hidden ones included: EnumWindows lists them) of the processes that opened
// this device; windows that did not register ignore WM_DEVICECHANGE. A process of another device
// (a test beside this one) hears nothing: for it, no camera came or went. Message-only windows
// are not reached. Wine marshals the DEV_BROADCAST_DEVICEINTERFACE_W record to other processes.
// SendMessageTimeout keeps a hung window from stalling the caller.
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
        if (!hearsCameraChanges(hwnd))
            continue;
        DWORD_PTR result = 0;
        SendMessageTimeoutW(hwnd, WM_DEVICECHANGE, event, reinterpret_cast<LPARAM>(notice),
                            SMTO_ABORTIFHUNG | SMTO_NORMAL, kPerWindowTimeoutMs, &result);
    }
}

} // namespace vcam
