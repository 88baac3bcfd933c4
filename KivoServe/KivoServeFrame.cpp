#include "KivoServeFrame.h"

#include "KivoNames.h"
#include "ServeMessages.h"
#include "resource.h"

#include <dbt.h>
#include <wtsapi32.h>

IMPLEMENT_DYNCREATE(KivoServeFrame, CFrameWnd)

BEGIN_MESSAGE_MAP(KivoServeFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_TIMER()
    ON_WM_DEVICECHANGE()
    ON_MESSAGE(WM_POWERBROADCAST, OnPowerBroadcast)
    ON_MESSAGE(WM_WTSSESSION_CHANGE, OnWTSSessionChange)
    ON_MESSAGE(WM_TASK_DEVICE_OPEN, OnOpenDevice)
    ON_MESSAGE(WM_TASK_DEVICE_CLOSE, OnCloseDevice)
    ON_MESSAGE(WM_TASK_DEVICE_REMOVE, OnRemoveDevice)
    ON_REGISTERED_MESSAGE(WM_KIVOSET_HELP, OnKivoSetHelp)
    ON_REGISTERED_MESSAGE(WM_KIVOSET_OPEN, OnKivoSetOpen)
    ON_REGISTERED_MESSAGE(WM_KIVOSET_HIDE, OnKivoSetHide)
    ON_REGISTERED_MESSAGE(WM_KIVOSET_CLOSE, OnKivoSetClose)
    ON_REGISTERED_MESSAGE(WM_KIVO_TRAY_NOTIFY, OnTrayNotify)
    ON_REGISTERED_MESSAGE(WM_TASKBAR_CREATED, OnTaskbarCreated)
    ON_COMMAND(ID_TRAY_OPEN, activateKivoSet)
    ON_COMMAND(ID_TRAY_HELP, OnTrayHelp)
    ON_COMMAND(ID_TRAY_AUTOSTARTUP, OnTrayAutoStartup)
END_MESSAGE_MAP()

KivoServeFrame::KivoServeFrame()
    : m_hIcon(nullptr),
      m_hTrayIcon(nullptr),
      m_nOpenTicks(0),
      m_nid(),
      m_hKivoSetWnd(nullptr),
      m_hDevNotify(nullptr),
      m_nCameraIdx(0),
      m_bDeviceOpen(false),
      m_bAutoStartup(false),
      m_bSessionLocked(false),
      m_bConsoleDisconnected(false),
      m_bConstructed(false)
{
    m_hIcon = static_cast<HICON>(LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_KIVOSERVE),
                                            IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR | LR_DEFAULTSIZE));
    // The icon holds each size drawn on its own, so that the tray's small one stays sharp at any DPI.
    m_hTrayIcon = static_cast<HICON>(LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_KIVOSERVE), IMAGE_ICON,
                                                GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                                LR_DEFAULTCOLOR));
    m_nid.uID = 0;
    LPCWSTR className = AfxRegisterWndClass(0, nullptr, nullptr, m_hIcon);
    if (!className || !Create(className, L"", WS_POPUP | WS_CLIPSIBLINGS | WS_SYSMENU))
        WriteLog(L"KivoServeFrame::KivoServeFrame() - CFrameWnd::Create() Failed.");
    m_bConstructed = true;
}

KivoServeFrame::~KivoServeFrame()
{
    if (m_hIcon)
        DestroyIcon(m_hIcon);
    if (m_hTrayIcon)
        DestroyIcon(m_hTrayIcon);
}

void KivoServeFrame::PostNcDestroy()
{
    // A window that fails during creation is destroyed inside the constructor; the object then stays
    // for its creator to delete.
    if (m_bConstructed)
        CFrameWnd::PostNcDestroy();
}

int KivoServeFrame::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) {
        WriteLog(L"KivoServeFrame::OnCreate() - CFrameWnd::OnCreate() Failed.");
        return -1;
    }

    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = KIVO_CAMERA_INTERFACE_CLASS;
    m_hDevNotify = RegisterDeviceNotificationW(m_hWnd, &filter, DEVICE_NOTIFY_WINDOW_HANDLE);

    if (!WTSRegisterSessionNotification(m_hWnd, NOTIFY_FOR_THIS_SESSION)) {
        WriteLog(L"KivoServeFrame::OnCreate() - WTSRegisterSessionNotification(). error = %d", GetLastError());
        SetTimer(TIMER_SESSION_REGISTER, 1000);
    }

    if (!openDriver() && !cameraInstalledAnyway()) {
        WriteLog(L"KivoServeFrame::OnCreate() - KivoServ is closed for camera is not exist.");
        PostMessage(WM_CLOSE);
    }

    prepareModules();

    DWORD value = 0;
    KivoRegKey key;
    if (key.Open(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        key.Read(KIVO_VALUE_AUTO_STARTUP, value);
        key.Close();
    }
    m_bAutoStartup = value != 0;
    return 0;
}

void KivoServeFrame::OnDestroy()
{
    WriteLog(L"KivoServeFrame::OnDestroy()");
    removeTrayIcon();
    clearAccessTaskList();
    m_pUtilsApi.reset();   // its destructor frees the driver library
    if (m_hDevNotify) {
        UnregisterDeviceNotification(m_hDevNotify);
        m_hDevNotify = nullptr;
    }
    WTSUnRegisterSessionNotification(m_hWnd);
    CFrameWnd::OnDestroy();
}

namespace {

// Only an arrival of our cameras' interface class is worth a rescan; other arrivals (volumes, for
// instance) reach every top-level window.
bool isCameraArrival(DWORD_PTR dwData)
{
    auto* header = reinterpret_cast<const DEV_BROADCAST_HDR*>(dwData);
    if (!header || header->dbch_size < sizeof(DEV_BROADCAST_DEVICEINTERFACE_W) ||
        header->dbch_devicetype != DBT_DEVTYP_DEVICEINTERFACE)
        return false;
    auto* iface = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(dwData);
    return IsEqualGUID(iface->dbcc_classguid, KIVO_CAMERA_INTERFACE_CLASS) != FALSE;
}

} // namespace

BOOL KivoServeFrame::OnDeviceChange(UINT nEventType, DWORD_PTR dwData)
{
    if (nEventType == DBT_DEVICEARRIVAL && isCameraArrival(dwData)) {
        WriteLog(L"KivoServeFrame::OnDeviceChange() openDriver call.");
        openDriver();
    }
    return CFrameWnd::OnDeviceChange(nEventType, dwData);
}

// Windows sends PBT_APMRESUMEAUTOMATIC on every resume, and PBT_APMRESUMESUSPEND after it when a
// user is there: the camera turns once, at the first.
LRESULT KivoServeFrame::OnPowerBroadcast(WPARAM event, LPARAM)
{
    if (event == PBT_APMRESUMEAUTOMATIC && !m_bConsoleDisconnected)
        applyCameraDir();
    return TRUE;
}

LRESULT KivoServeFrame::OnWTSSessionChange(WPARAM event, LPARAM sessionId)
{
    WriteLog(L"KivoServeFrame::OnWTSSessionChange( 0x%02x )", static_cast<unsigned>(event));
    DWORD ownSession = 0;
    if (!ProcessIdToSessionId(GetCurrentProcessId(), &ownSession) ||
        ownSession != static_cast<DWORD>(sessionId))
        return 0;

    // A session connects and disconnects at the console or remotely; the cameras are the
    // session's either way.
    switch (event) {
    case WTS_CONSOLE_CONNECT:
    case WTS_REMOTE_CONNECT:
        m_bConsoleDisconnected = false;
        m_bSessionLocked = false;
        WriteLog(L"KivoServeFrame::OnWTSSessionChange() openDriver call!");
        openDriver();
        applyCameraDir();
        break;
    case WTS_CONSOLE_DISCONNECT:
    case WTS_REMOTE_DISCONNECT:
        m_bConsoleDisconnected = true;
        WriteLog(L"KivoServeFrame::OnWTSSessionChange() clearAccessTaskList call!");
        clearAccessTaskList();
        break;
    case WTS_SESSION_LOCK:
        m_bSessionLocked = true;
        WriteLog(L"KivoServeFrame::OnWTSSessionChange() clearAccessTaskList call!");
        clearAccessTaskList();
        break;
    case WTS_SESSION_UNLOCK:
        if (!m_bConsoleDisconnected && m_bSessionLocked) {
            m_bSessionLocked = false;
            WriteLog(L"KivoServeFrame::OnWTSSessionChange() openDriver call!");
            openDriver();
        }
        break;
    default:
        break;
    }
    return 0;
}

LRESULT KivoServeFrame::OnKivoSetHelp(WPARAM, LPARAM)
{
    WriteLog(L"KivoServeFrame::OnKivoSetHelp() called.");
    AfxGetApp()->WinHelp(0, HELP_FINDER);
    return 0;
}

void KivoServeFrame::OnTrayHelp()
{
    AfxGetApp()->WinHelp(0, HELP_FINDER);
}
