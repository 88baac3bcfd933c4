// The notification icon with its balloon and menu, and bringing the settings dialog forward.
#include "KivoServeFrame.h"

#include "KivoNames.h"
#include "ServeMessages.h"
#include "resource.h"

namespace {
const UINT kTrayIconId = 1;
const UINT kBalloonTimeoutMs = 10000;

void copyTruncated(WCHAR* dest, size_t capacity, const CString& text)
{
    lstrcpynW(dest, text, static_cast<int>(capacity));
}
} // namespace

// The icon counts as shown from here on, also when the shell refused it because it was already there.
void KivoServeFrame::showTrayIcon()
{
    m_nid.cbSize = NOTIFYICONDATAW_V3_SIZE;
    m_nid.hWnd = m_hWnd;
    m_nid.uID = kTrayIconId;
    m_nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO;
    CString title;
    CString info;
    title.LoadString(IDS_TRAY_TITLE);
    info.LoadString(IDS_TRAY_BALLOON);
    copyTruncated(m_nid.szInfoTitle, ARRAYSIZE(m_nid.szInfoTitle), title);
    copyTruncated(m_nid.szInfo, ARRAYSIZE(m_nid.szInfo), info);
    m_nid.uTimeout = kBalloonTimeoutMs;
    m_nid.dwInfoFlags = NIIF_INFO;
    m_nid.hIcon = m_hTrayIcon;
    copyTruncated(m_nid.szTip, ARRAYSIZE(m_nid.szTip), title);
    m_nid.uCallbackMessage = WM_KIVO_TRAY_NOTIFY;
    Shell_NotifyIconW(NIM_ADD, &m_nid);
}

void KivoServeFrame::removeTrayIcon()
{
    if (m_nid.uID == 0)
        return;
    Shell_NotifyIconW(NIM_DELETE, &m_nid);
    m_nid.uID = 0;
}

// The shell started again (Explorer restarted) and knows no icon any more. An icon that was shown
// comes back as it was, with its tip and callback; the balloon belonged to the moment the icon first
// appeared and is not shown again.
LRESULT KivoServeFrame::OnTaskbarCreated(WPARAM, LPARAM)
{
    if (m_nid.uID == 0)
        return 0;
    NOTIFYICONDATAW nid = m_nid;
    nid.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    nid.szInfo[0] = L'\0';
    nid.szInfoTitle[0] = L'\0';
    if (Shell_NotifyIconW(NIM_ADD, &nid))
        WriteLog(L"KivoServeFrame::OnTaskbarCreated() - the tray icon is shown again.");
    else
        WriteLog(L"KivoServeFrame::OnTaskbarCreated() - Shell_NotifyIcon failed.");
    return 0;
}

LRESULT KivoServeFrame::OnTrayNotify(WPARAM iconId, LPARAM mouseMsg)
{
    if (iconId != m_nid.uID)
        return 0;
    switch (static_cast<UINT>(mouseMsg)) {
    case WM_LBUTTONDOWN:
    case NIN_BALLOONUSERCLICK:
        activateKivoSet();
        return 1;
    case WM_RBUTTONUP:
        return showTrayMenu() ? 1 : 0;
    default:
        return 0;
    }
}

// False when the locale library lacks the menu.
bool KivoServeFrame::showTrayMenu()
{
    CMenu menu;
    if (!menu.LoadMenu(IDM_TRAY))
        return false;
    CMenu* popup = menu.GetSubMenu(0);
    if (!popup)
        return false;
    popup->SetDefaultItem(ID_TRAY_OPEN);
    popup->CheckMenuItem(ID_TRAY_AUTOSTARTUP, m_bAutoStartup ? MF_CHECKED : MF_UNCHECKED);
    // Our window must be foreground, or the menu will not close when the user clicks elsewhere.
    SetForegroundWindow();
    POINT pt = {};
    GetCursorPos(&pt);
    popup->TrackPopupMenu(TPM_RIGHTBUTTON, pt.x, pt.y, this);
    PostMessage(WM_NULL);
    return true;
}

void KivoServeFrame::activateKivoSet()
{
    removeTrayIcon();
    if (IsWindow(m_hKivoSetWnd))
        handForegroundTo(m_hKivoSetWnd);
    else
        startupKivoSet();
}

// The dialog belongs to another process. The user's click on the icon gave this process the right
// to set the foreground; it hands that right to the dialog's process, which brings itself forward.
void KivoServeFrame::handForegroundTo(HWND hDialog)
{
    DWORD dialogProcess = 0;
    GetWindowThreadProcessId(hDialog, &dialogProcess);
    if (!AllowSetForegroundWindow(dialogProcess))
        WriteLog(L"KivoServeFrame::handForegroundTo() - AllowSetForegroundWindow failed(%d).", GetLastError());
    ::PostMessageW(hDialog, WM_KIVOSET_FOREGROUND, 0, 0);
}

// Stored at once: at the end of a Windows session the process ends after WM_ENDSESSION without its
// window being destroyed, and a crash ends it without either.
void KivoServeFrame::OnTrayAutoStartup()
{
    m_bAutoStartup = !m_bAutoStartup;
    KivoRegKey key;
    if (key.Create(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        key.Write(KIVO_VALUE_AUTO_STARTUP, m_bAutoStartup ? 1u : 0u);
        key.Close();
    }
}
