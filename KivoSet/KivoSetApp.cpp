#include "KivoSetApp.h"

#include "HaltSwitch.h"
#include "KivoLib.h"
#include "KivoNames.h"
#include "KivoSetDlg.h"
#include "Tsl.h"
#include "resource.h"

#include <commctrl.h>

CKivoSetApp* kivoSetApp()
{
    return static_cast<CKivoSetApp*>(AfxGetApp());
}

CKivoSetApp::CKivoSetApp(LPCWSTR observerName)
    : m_hLocale(nullptr), m_observer(observerName), m_serveHWnd(nullptr), m_lunaWasOn(false)
{
}

BOOL CKivoSetApp::InitInstance()
{
    if (runHaltSwitch())
        return FALSE;
    // One panel on the whole machine; a second launch ends silently.
    if (m_observer.IsRunningAll())
        return FALSE;
    m_uiThreadId = GetCurrentThreadId();
    m_observer.m_pEvent = this;

    // Without the locale library there is no text to show, so it ends silently too.
    m_hLocale = LoadLibraryW(KIVO_LOCALE_DLL);
    if (!m_hLocale)
        return FALSE;
    AfxSetResourceHandle(m_hLocale);
    m_lunaWasOn = TesselAPI::EnableLuna(false);
    // A screen reader in another process receives the controls' accessible objects marshalled
    // from this thread's apartment (Wine marshals them without one; Windows' COM asks for it).
    m_comInitialized = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));

    readServeHandle();
    if (!IsWindow(m_serveHWnd)) {
        reportServeMissing();
        return FALSE;
    }
    m_observer.Observe();

    InitCommonControls();
    CWinApp::InitInstance();
    return createPanel();
}

// The box waits for the user for as long as it takes. Meanwhile this launch does not count as the
// machine's panel, so that the next camera session gets its own, and it hears halts, which end
// the box.
void CKivoSetApp::reportServeMissing()
{
    m_observer.ObserveShutdown();
    if (!m_haltRequested) {
        CString text, caption;
        text.LoadString(IDS_SERVICE_NOT_FOUND);
        caption.LoadString(IDS_PRODUCT_NAME);
        TesselMessageBox(text, caption, MB_ICONHAND);
    }
    WriteLog(L"CKivoSetDlg::OnInitDialog() m_serveHWnd is not available.");
}

// "/HaltAll" and "/Halt", as the whole command tail in any letter case, only set the shutdown event
// of the machine or of the session and end this launch.
bool CKivoSetApp::runHaltSwitch()
{
    switch (parseHaltSwitch(m_lpCmdLine)) {
    case HaltSwitch::all:
        m_observer.ShutdownAll();
        return true;
    case HaltSwitch::session:
        m_observer.ShutdownUser();
        return true;
    case HaltSwitch::none:
        break;
    }
    return false;
}

void CKivoSetApp::readServeHandle()
{
    KivoRegKey key;
    if (key.Open(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) != ERROR_SUCCESS)
        return;
    DWORD value = 0;
    if (key.Read(KIVO_VALUE_SERVE_HANDLE, value) == ERROR_SUCCESS)
        m_serveHWnd = reinterpret_cast<HWND>(static_cast<UINT_PTR>(value));
    key.Close();
}

// A panel whose window cannot be created would leave a process without a window that holds the
// machine-wide instance mutex for ever: end the program instead.
BOOL CKivoSetApp::createPanel()
{
    CKivoSetDlg* panel = new CKivoSetDlg(nullptr);
    std::shared_ptr<bool> panelAlive = panel->aliveToken();
    if (!panel->Create(IDD_SETTINGS_PANEL, nullptr)) {
        WriteLog(L"CKivoSetApp::InitInstance() the settings panel cannot be created.");
        // A window destroyed while it was being created has already deleted its object.
        if (*panelAlive)
            delete panel;
        return FALSE;
    }
    m_pMainWnd = panel;
    return TRUE;
}

// After a frame the loop goes straight back to GetMessage instead of looking into the queue first.
// The frame has just been handed back and the capturing application is waking up: looking into an
// empty queue then costs requests to the window system (under Wine two round trips to its server
// and a look at the display connection) while the application waits for a processor. A message
// that came meanwhile is taken by GetMessage alike.
BOOL CKivoSetApp::MoreMessagesAfter(const MSG* pMsg)
{
    return pMsg->message != WM_TASK_FRAME_READY && CWinApp::MoreMessagesAfter(pMsg);
}

// Frames arrive 15 to 60 times a second and leave no temporary wrappers behind: a frame message
// starts no idle period, which would look into the queue twice more and sweep the wrappers each time.
BOOL CKivoSetApp::IsIdleMessage(MSG* pMsg)
{
    return pMsg->message != WM_TASK_FRAME_READY && CWinApp::IsIdleMessage(pMsg);
}

// The application waits for each frame until the panel hands it back, so the frame message goes
// from the queue straight to the panel's frame work, past the walk for dialog keys, DispatchMessage
// and the message maps: their code, cold after a frame time of idleness, cost about 20 us a frame.
// The framework's modal loops come through here too; a loop of the system (a message box) dispatches
// the frame to the message map.
BOOL CKivoSetApp::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_TASK_FRAME_READY && m_pPanel && pMsg->hwnd == m_pPanel->m_hWnd) {
        m_pPanel->processFrame();
        return TRUE;
    }
    return CWinApp::PreTranslateMessage(pMsg);
}

int CKivoSetApp::ExitInstance()
{
    // A halt that came while the panel was being created may end the message loop before the
    // panel's own close: it still ends the ordinary way, its place stored and the service told.
    if (HWND hPanel = m_hPanelWnd)
        ::DestroyWindow(hPanel);
    WriteLog(L"CKivoSetApp::ExitInstance()");
    if (m_hLocale) {
        FreeLibrary(m_hLocale);
        m_hLocale = nullptr;
    }
    if (m_lunaWasOn)
        TesselAPI::EnableLuna(true);
    if (m_comInitialized) {
        CoUninitialize();
        m_comInitialized = false;
    }
    return CWinApp::ExitInstance();
}

// A halt ends the program whatever it is doing: the panel closes as on a camera close; before
// there is a panel (the "not running" box up, the panel being created) the user-interface thread is
// told to quit, which also ends any modal loop it is in.
void CKivoSetApp::OnShutdownAll()
{
    m_haltRequested = true;
    HWND hPanel = m_hPanelWnd;
    if (hPanel && IsWindow(hPanel) && ::PostMessageW(hPanel, WM_TASK_DEVICE_CLOSE, 0, 0))
        return;
    ::PostThreadMessageW(m_uiThreadId, WM_QUIT, 0, 0);
}

void CKivoSetApp::OnShutdownUser()
{
    OnShutdownAll();
}

// The handle is published before the halt flag is read, and the observer sets the flag before it
// reads the handle: a halt at any moment is seen by one side or both.
void CKivoSetApp::panelCreated(CKivoSetDlg* panel)
{
    const HWND hPanel = panel->GetSafeHwnd();
    m_pPanel = panel;
    m_hPanelWnd = hPanel;
    if (m_haltRequested)
        ::PostMessageW(hPanel, WM_TASK_DEVICE_CLOSE, 0, 0);
}

// A service that does not answer within the time-out is treated as gone.
bool CKivoSetApp::sendToServe(LPCWSTR messageName, WPARAM wParam, LPARAM lParam)
{
    if (!IsWindow(m_serveHWnd))
        return false;
    DWORD_PTR result = 0;
    UINT message = RegisterWindowMessageW(messageName);
    if (SendMessageTimeoutW(m_serveHWnd, message, wParam, lParam, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                            kServeSendTimeoutMs, &result))
        return true;
    WriteLog(L"CKivoSetApp::sendToServe() %s not answered.", messageName);
    return false;
}

void CKivoSetApp::postToServe(LPCWSTR messageName)
{
    if (IsWindow(m_serveHWnd))
        ::PostMessageW(m_serveHWnd, RegisterWindowMessageW(messageName), 0, 0);
}

void CKivoSetApp::notifyServeHelp()
{
    sendToServe(KIVO_MSG_KIVOSET_HELP, 0, 0);
}

void CKivoSetApp::notifyServeOpen(HWND hPanel, BYTE flag)
{
    sendToServe(KIVO_MSG_KIVOSET_OPEN, reinterpret_cast<WPARAM>(hPanel), flag);
}

void CKivoSetApp::notifyServeHide()
{
    postToServe(KIVO_MSG_KIVOSET_HIDE);
}

void CKivoSetApp::notifyServeClose()
{
    postToServe(KIVO_MSG_KIVOSET_CLOSE);
}
