// Windows bound to objects: the handle maps, binding at creation, dispatch and destruction.
#include "afximpl.h"

#include <set>

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)
IMPLEMENT_DYNAMIC(CScrollBar, CWnd)

const RECT rectDefault = {static_cast<LONG>(CW_USEDEFAULT), static_cast<LONG>(CW_USEDEFAULT), 0, 0};

namespace {

// Permanent handle map: the objects bound to this thread's windows.
std::unordered_map<HWND, CWnd*>& handleMap()
{
    thread_local std::unordered_map<HWND, CWnd*> map;
    return map;
}

void releaseTempWnd(CWnd* pWnd)
{
    pWnd->m_hWnd = nullptr;   // a temporary wrapper never destroys the window
}

CTempHandleMap<CWnd, HWND>& tempMap()
{
    thread_local CTempHandleMap<CWnd, HWND> map(releaseTempWnd);
    return map;
}

// The message being handled, for Default() and GetCurrentMessage().
thread_local MSG t_current = {};
thread_local int t_dispatchDepth = 0;
thread_local HWND t_hLockoutNotifyWindow = nullptr;

// The creation hook: the object to bind to the next window this thread creates.
thread_local HHOOK t_hHookCbt = nullptr;
thread_local CWnd* t_pWndInit = nullptr;

void removeCbtHook()
{
    if (t_hHookCbt) {
        ::UnhookWindowsHookEx(t_hHookCbt);
        t_hHookCbt = nullptr;
    }
}

// The system and an input method's text services may create windows of their own while the thread
// creates a window (the default "IME" window, a text service's UI windows); none of them is the one
// being bound. Their classes have the CS_IME style (the default one is also known by its name).
bool isInputMethodWindow(HWND hWnd)
{
    if ((::GetClassLongPtrW(hWnd, GCL_STYLE) & CS_IME) != 0)
        return true;
    WCHAR className[8] = L"";
    ::GetClassNameW(hWnd, className, ARRAYSIZE(className));
    return _wcsicmp(className, L"IME") == 0;
}

LRESULT CALLBACK cbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    HHOOK hHook = t_hHookCbt;
    LRESULT result = ::CallNextHookEx(hHook, code, wParam, lParam);
    if (code == HCBT_CREATEWND && t_pWndInit && !isInputMethodWindow(reinterpret_cast<HWND>(wParam))) {
        CWnd* pWnd = t_pWndInit;
        t_pWndInit = nullptr;
        removeCbtHook();
        // Bound before the window's first message; windows of other classes get the framework's
        // procedure, their own kept as the super procedure.
        pWnd->SubclassWindow(reinterpret_cast<HWND>(wParam));
    }
    return result;
}

} // namespace

int AfxGetDispatchDepth()
{
    return t_dispatchDepth;
}

int AfxGetTempMapKeepDepth()
{
    return t_dispatchDepth == 0 ? -1 : t_dispatchDepth;
}

HWND& AfxLockoutNotifyWindow()
{
    return t_hLockoutNotifyWindow;
}

void AFXAPI AfxHookWindowCreate(CWnd* pWnd)
{
    if (!t_hHookCbt)
        t_hHookCbt = ::SetWindowsHookExW(WH_CBT, cbtFilterHook, nullptr, ::GetCurrentThreadId());
    t_pWndInit = pWnd;
}

BOOL AFXAPI AfxUnhookWindowCreate()
{
    BOOL bound = t_pWndInit == nullptr;
    t_pWndInit = nullptr;
    removeCbtHook();
    return bound;
}

CWnd::~CWnd()
{
    // A window still alive when its object goes away loses its object first, so that no later
    // message reaches freed memory. (The z-order markers wndTop... hold no window.)
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        HWND hWnd = m_hWnd;
        Detach();
        if (m_pfnSuper)
            ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        ::DestroyWindow(hWnd);
    }
}

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd)
{
    auto it = handleMap().find(hWnd);
    return it == handleMap().end() ? nullptr : it->second;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd)
{
    if (!hWnd)
        return nullptr;
    if (CWnd* pWnd = FromHandlePermanent(hWnd))
        return pWnd;
    if (CWnd* pTemp = tempMap().Lookup(hWnd))
        return pTemp;
    CWnd* pTemp = new CWnd;
    pTemp->m_hWnd = hWnd;
    return tempMap().Add(hWnd, pTemp);
}

void PASCAL CWnd::DeleteTempMap()
{
    tempMap().DeleteTemp(AfxGetTempMapKeepDepth());
}

void AFXAPI AfxDeleteTempMaps()
{
    CWnd::DeleteTempMap();
    CMenu::DeleteTempMap();
    AfxDeleteTempGdiMaps();
}

BOOL CWnd::Attach(HWND hWndNew)
{
    if (!hWndNew || m_hWnd || FromHandlePermanent(hWndNew))
        return FALSE;
    handleMap()[hWndNew] = this;
    m_hWnd = hWndNew;
    return TRUE;
}

HWND CWnd::Detach()
{
    HWND hWnd = m_hWnd;
    if (hWnd) {
        auto it = handleMap().find(hWnd);
        if (it != handleMap().end() && it->second == this)
            handleMap().erase(it);
    }
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::PreSubclassWindow()
{
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (!Attach(hWnd))
        return FALSE;
    PreSubclassWindow();
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(AfxWndProc)));
    if (!pfnOld) {
        Detach();
        return FALSE;
    }
    if (pfnOld != AfxWndProc)
        m_pfnSuper = pfnOld;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent)
{
    HWND hWndControl = pParent ? ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID)) : nullptr;
    return hWndControl && SubclassWindow(hWndControl);
}

HWND CWnd::UnsubclassWindow()
{
    if (m_pfnSuper)
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    return Detach();
}

BOOL CWnd::PreCreateWindow(CREATESTRUCT&)
{
    return TRUE;
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                    int x, int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                    LPVOID lpParam)
{
    CREATESTRUCTW cs = {};
    cs.dwExStyle = dwExStyle;
    cs.lpszClass = lpszClassName;
    cs.lpszName = lpszWindowName;
    cs.style = static_cast<LONG>(dwStyle);
    cs.x = x;
    cs.y = y;
    cs.cx = nWidth;
    cs.cy = nHeight;
    cs.hwndParent = hWndParent;
    cs.hMenu = nIDorHMenu;
    cs.hInstance = AfxGetInstanceHandle();
    cs.lpCreateParams = lpParam;
    if (!PreCreateWindow(cs)) {
        PostNcDestroy();
        return FALSE;
    }

    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName, static_cast<DWORD>(cs.style),
                                  cs.x, cs.y, cs.cx, cs.cy, cs.hwndParent, cs.hMenu, cs.hInstance,
                                  cs.lpCreateParams);
    AfxUnhookWindowCreate();
    // A window whose creation failed after its first message has been through PostNcDestroy, which
    // may have deleted this object: nothing of it is touched here.
    return hWnd != nullptr;
}

BOOL CWnd::Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, LPVOID lpParam)
{
    return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top,
                    pParentWnd ? pParentWnd->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)), lpParam);
}

BOOL CWnd::DestroyWindow()
{
    if (!m_hWnd)
        return FALSE;
    return ::DestroyWindow(m_hWnd);
}

// --- dispatch ---

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT lResult = 0;
    if (!OnWndMsg(message, wParam, lParam, &lResult))
        lResult = DefWindowProc(message, wParam, lParam);
    return lResult;
}

namespace {

// The control a child notification without a map entry of its own comes from.
HWND reflectedChild(UINT message, LPARAM lParam)
{
    if ((message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_HSCROLL ||
        message == WM_VSCROLL)
        return reinterpret_cast<HWND>(lParam);
    return nullptr;
}

} // namespace

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam))
            return FALSE;
        *pResult = 0;
        return TRUE;
    }
    if (message == WM_NOTIFY) {
        const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
        return pNMHDR && pNMHDR->hwndFrom && OnNotify(wParam, lParam, pResult);
    }
    if (DispatchThroughMaps(message, wParam, lParam, pResult))
        return TRUE;
    HWND hWndChild = reflectedChild(message, lParam);
    return hWndChild && hWndChild != m_hWnd &&
           AfxReflectToChild(hWndChild, message, wParam, lParam, pResult);
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nID = LOWORD(wParam);
    HWND hWndCtrl = reinterpret_cast<HWND>(lParam);
    if (hWndCtrl) {
        if (t_hLockoutNotifyWindow == m_hWnd)
            return TRUE;   // UpdateData is running: the control's notification is ignored
        if (AfxReflectToChild(hWndCtrl, WM_COMMAND, wParam, lParam, nullptr))
            return TRUE;
        if (nID == 0)
            return FALSE;
    }
    return OnCmdMsg(nID, HIWORD(wParam), lParam, nullptr);
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult)
{
    NMHDR* pNMHDR = reinterpret_cast<NMHDR*>(lParam);
    HWND hWndCtrl = pNMHDR->hwndFrom;
    if (t_hLockoutNotifyWindow == m_hWnd)
        return TRUE;
    if (AfxReflectToChild(hWndCtrl, WM_NOTIFY, pNMHDR->idFrom, lParam, pResult))
        return TRUE;
    UINT nID = static_cast<UINT>(::GetDlgCtrlID(hWndCtrl));
    if (nID == 0)
        nID = static_cast<UINT>(pNMHDR->idFrom);
    return OnNotifyMsg(nID, pNMHDR->code, pNMHDR, pResult);
}

BOOL AfxReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    CWnd* pChild = CWnd::FromHandlePermanent(hWndChild);
    return pChild && pChild->OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

BOOL PASCAL CWnd::ReflectLastMsg(HWND hWndChild, LRESULT* pResult)
{
    CWnd* pChild = FromHandlePermanent(hWndChild);
    return pChild && pChild->SendChildNotifyLastMsg(pResult);
}

BOOL CWnd::SendChildNotifyLastMsg(LRESULT* pResult)
{
    return OnChildNotify(t_current.message, t_current.wParam, t_current.lParam, pResult);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

const MSG* PASCAL CWnd::GetCurrentMessage()
{
    return &t_current;
}

LRESULT CWnd::Default()
{
    return DefWindowProc(t_current.message, t_current.wParam, t_current.lParam);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->WinHelp(dwData, nCmd);
}

void CWnd::PostNcDestroy()
{
}

// The last message: the application's main window ends the message loop, a modal loop of this
// window ends, the object lets go of the handle and may delete itself.
void CWnd::OnNcDestroy()
{
    if (CWinApp* pApp = AfxGetApp()) {
        if (pApp->m_pMainWnd == this) {
            AfxPostQuitMessage(0);
            pApp->m_pMainWnd = nullptr;
        }
    }
    if (m_nFlags & WF_CONTINUEMODAL) {
        m_nModalResult = -1;
        m_nFlags &= ~WF_CONTINUEMODAL;
    }
    Default();
    if (m_pfnSuper) {
        ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    Detach();
    PostNcDestroy();
}

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam)
{
    CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
    if (!pWnd)
        return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);

    MSG previous = t_current;
    t_current = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
    ++t_dispatchDepth;
    LRESULT lResult = 0;
    // Nothing may unwind through the system's window procedure caller.
    try {
        lResult = pWnd->WindowProc(nMsg, wParam, lParam);
    } catch (const std::exception& e) {
        AfxTrace(L"AfxWndProc: message 0x%04x: exception: %S\n", nMsg, e.what());
    } catch (...) {
        AfxTrace(L"AfxWndProc: message 0x%04x: unknown exception\n", nMsg);
    }
    --t_dispatchDepth;
    t_current = previous;
    // A window whose last message did not reach CWnd::OnNcDestroy loses its object here; the object
    // is still bound, so it was not deleted.
    if (nMsg == WM_NCDESTROY) {
        if (CWnd* pStill = CWnd::FromHandlePermanent(hWnd))
            pStill->Detach();
    }
    return lResult;
}

LPCWSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor, HBRUSH hbrBackground, HICON hIcon)
{
    static std::set<std::wstring> registered;   // the names handed out stay valid for the process

    HINSTANCE hInst = AfxGetInstanceHandle();
    WCHAR name[96];
    _snwprintf(name, ARRAYSIZE(name) - 1, L"Afx:%p:%x:%p:%p:%p", static_cast<void*>(hInst), nClassStyle,
               static_cast<void*>(hCursor), static_cast<void*>(hbrBackground), static_cast<void*>(hIcon));
    name[ARRAYSIZE(name) - 1] = L'\0';

    auto it = registered.find(name);
    if (it != registered.end())
        return it->c_str();

    WNDCLASSW wc = {};
    if (!::GetClassInfoW(hInst, name, &wc)) {
        wc.style = nClassStyle;
        wc.lpfnWndProc = AfxWndProc;
        wc.hInstance = hInst;
        wc.hIcon = hIcon;
        wc.hCursor = hCursor;
        wc.hbrBackground = hbrBackground;
        wc.lpszClassName = name;
        if (!::RegisterClassW(&wc))
            return nullptr;
    }
    return registered.insert(name).first->c_str();
}
