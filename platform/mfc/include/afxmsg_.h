// Message-map entries. Each macro expands to one entry whose thunk calls the handler with typed
// arguments, the framework's handler signature written above each. The thunk is written inside the
// class's own map, so it reaches protected handlers and is compiled into the handler's module, where
// AfxCallHandler catches whatever the handler throws.
//
// Being filled in: nothing; every entry the programs use is here.
#pragma once

// The entry's thunk: t is the object, m the message, w and l its parameters.
#define AFX_MSG_THUNK(body)                                                                    \
    [](CCmdTarget* target_, UINT m, WPARAM w, LPARAM l) -> LRESULT {                           \
        (void)m;                                                                               \
        (void)w;                                                                               \
        (void)l;                                                                               \
        ThisClass* t = static_cast<ThisClass*>(target_);                                       \
        return AfxCallHandler([&]() -> LRESULT { body });                                      \
    }

#define AFX_MSG_ENTRY(message, body) {(UINT)(message), 0, 0, 0, nullptr, AFX_MSG_THUNK(body)},

// --- commands and control notifications (WM_COMMAND) ---

// void memberFxn()
#define ON_COMMAND(id, memberFxn) \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(id), nullptr, AFX_MSG_THUNK(t->memberFxn(); return 0;)},

// void memberFxn(UINT nID)
#define ON_COMMAND_RANGE(id, idLast, memberFxn)                                                 \
    {WM_COMMAND, 0, (UINT)(id), (UINT)(idLast), nullptr,                                        \
     AFX_MSG_THUNK(t->memberFxn((UINT)LOWORD(w)); return 0;)},

// void memberFxn()
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                                  \
    {WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,                          \
     AFX_MSG_THUNK(t->memberFxn(); return 0;)},

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_BN_DOUBLECLICKED(id, memberFxn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)

// --- WM_NOTIFY ---

// void memberFxn(NMHDR* pNotifyStruct, LRESULT* pResult)
#define ON_NOTIFY(wNotifyCode, id, memberFxn)                                                   \
    {WM_NOTIFY, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id), nullptr,                           \
     AFX_MSG_THUNK(LRESULT result = 0;                                                          \
                   t->memberFxn(reinterpret_cast<NMHDR*>(l), &result); return result;)},

// --- user-defined and registered messages ---

// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_MESSAGE(message, memberFxn) AFX_MSG_ENTRY(message, return t->memberFxn(w, l);)

// The number is read from the variable when a message arrives, after RegisterWindowMessage filled it.
// LRESULT memberFxn(WPARAM wParam, LPARAM lParam)
#define ON_REGISTERED_MESSAGE(nMessageVariable, memberFxn)                                      \
    {AFX_REGISTERED_MESSAGE, 0, 0, 0, &(nMessageVariable), AFX_MSG_THUNK(return t->memberFxn(w, l);)},

// --- window messages ---

// int OnCreate(LPCREATESTRUCT lpCreateStruct)
#define ON_WM_CREATE() \
    AFX_MSG_ENTRY(WM_CREATE, return t->OnCreate(reinterpret_cast<LPCREATESTRUCT>(l));)
// void OnDestroy()
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, t->OnDestroy(); return 0;)
// void OnNcDestroy()
#define ON_WM_NCDESTROY() AFX_MSG_ENTRY(WM_NCDESTROY, t->OnNcDestroy(); return 0;)
// void OnClose()
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, t->OnClose(); return 0;)
// void OnTimer(UINT_PTR nIDEvent)
#define ON_WM_TIMER() AFX_MSG_ENTRY(WM_TIMER, t->OnTimer(static_cast<UINT_PTR>(w)); return 0;)
// BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData)
#define ON_WM_DEVICECHANGE() \
    AFX_MSG_ENTRY(WM_DEVICECHANGE, return t->OnDeviceChange(static_cast<UINT>(w), static_cast<DWORD_PTR>(l));)
// void OnPaint()
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, t->OnPaint(); return 0;)
// BOOL OnEraseBkgnd(CDC* pDC)
#define ON_WM_ERASEBKGND() \
    AFX_MSG_ENTRY(WM_ERASEBKGND, return t->OnEraseBkgnd(CDC::FromHandle(reinterpret_cast<HDC>(w)));)
// Every control-colour message, WM_CTLCOLORMSGBOX to WM_CTLCOLORSTATIC; nCtlColor is CTLCOLOR_MSGBOX
// to CTLCOLOR_STATIC.
// HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
#define ON_WM_CTLCOLOR()                                                                        \
    {WM_CTLCOLORMSGBOX, 0, 0, WM_CTLCOLORSTATIC, nullptr,                                       \
     AFX_MSG_THUNK(return reinterpret_cast<LRESULT>(t->OnCtlColor(                              \
         CDC::FromHandle(reinterpret_cast<HDC>(w)), CWnd::FromHandle(reinterpret_cast<HWND>(l)), \
         m - WM_CTLCOLORMSGBOX));)},
// void OnSysCommand(UINT nID, LPARAM lParam)
#define ON_WM_SYSCOMMAND() AFX_MSG_ENTRY(WM_SYSCOMMAND, t->OnSysCommand(static_cast<UINT>(w), l); return 0;)
// HCURSOR OnQueryDragIcon()
#define ON_WM_QUERYDRAGICON() \
    AFX_MSG_ENTRY(WM_QUERYDRAGICON, return reinterpret_cast<LRESULT>(t->OnQueryDragIcon());)
// BOOL OnHelpInfo(HELPINFO* pHelpInfo)
#define ON_WM_HELPINFO() AFX_MSG_ENTRY(WM_HELP, return t->OnHelpInfo(reinterpret_cast<HELPINFO*>(l));)
// void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
#define ON_WM_ACTIVATE()                                                                        \
    AFX_MSG_ENTRY(WM_ACTIVATE, t->OnActivate(LOWORD(w), CWnd::FromHandle(reinterpret_cast<HWND>(l)), \
                                             static_cast<BOOL>(HIWORD(w))); return 0;)
// void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
#define ON_WM_HSCROLL()                                                                         \
    AFX_MSG_ENTRY(WM_HSCROLL, t->OnHScroll(LOWORD(w), HIWORD(w),                                \
        static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(l)))); return 0;)
// void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar)
#define ON_WM_VSCROLL()                                                                         \
    AFX_MSG_ENTRY(WM_VSCROLL, t->OnVScroll(LOWORD(w), HIWORD(w),                                \
        static_cast<CScrollBar*>(CWnd::FromHandle(reinterpret_cast<HWND>(l)))); return 0;)
// void OnSize(UINT nType, int cx, int cy)
#define ON_WM_SIZE() \
    AFX_MSG_ENTRY(WM_SIZE, t->OnSize(static_cast<UINT>(w), (short)LOWORD(l), (short)HIWORD(l)); return 0;)
// void OnShowWindow(BOOL bShow, UINT nStatus)
#define ON_WM_SHOWWINDOW() \
    AFX_MSG_ENTRY(WM_SHOWWINDOW, t->OnShowWindow(static_cast<BOOL>(w), static_cast<UINT>(l)); return 0;)
// void OnEnable(BOOL bEnable)
#define ON_WM_ENABLE() AFX_MSG_ENTRY(WM_ENABLE, t->OnEnable(static_cast<BOOL>(w)); return 0;)
// BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
#define ON_WM_SETCURSOR()                                                                       \
    AFX_MSG_ENTRY(WM_SETCURSOR, return t->OnSetCursor(CWnd::FromHandle(reinterpret_cast<HWND>(w)), \
                                                      LOWORD(l), HIWORD(l));)
// void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct)
#define ON_WM_DRAWITEM() \
    AFX_MSG_ENTRY(WM_DRAWITEM, t->OnDrawItem(static_cast<int>(w), reinterpret_cast<LPDRAWITEMSTRUCT>(l)); return TRUE;)

// --- mouse ---

#define AFX_MOUSE_ENTRY(message, memberFxn) \
    AFX_MSG_ENTRY(message, t->memberFxn(static_cast<UINT>(w), CPoint(l)); return 0;)
// void OnMouseMove(UINT nFlags, CPoint point), and the same for the buttons
#define ON_WM_MOUSEMOVE() AFX_MOUSE_ENTRY(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MOUSE_ENTRY(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MOUSE_ENTRY(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MOUSE_ENTRY(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MOUSE_ENTRY(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MOUSE_ENTRY(WM_RBUTTONUP, OnRButtonUp)
// void OnMouseLeave()
#define ON_WM_MOUSELEAVE() AFX_MSG_ENTRY(WM_MOUSELEAVE, t->OnMouseLeave(); return 0;)
// void OnCaptureChanged(CWnd* pWnd)
#define ON_WM_CAPTURECHANGED() \
    AFX_MSG_ENTRY(WM_CAPTURECHANGED, t->OnCaptureChanged(CWnd::FromHandle(reinterpret_cast<HWND>(l))); return 0;)

// --- keyboard and focus ---

#define AFX_KEY_ENTRY(message, memberFxn) \
    AFX_MSG_ENTRY(message, t->memberFxn(static_cast<UINT>(w), LOWORD(l), HIWORD(l)); return 0;)
// void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags), and the same for WM_KEYUP and WM_CHAR
#define ON_WM_KEYDOWN() AFX_KEY_ENTRY(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() AFX_KEY_ENTRY(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() AFX_KEY_ENTRY(WM_CHAR, OnChar)
// void OnSetFocus(CWnd* pOldWnd)
#define ON_WM_SETFOCUS() \
    AFX_MSG_ENTRY(WM_SETFOCUS, t->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(w))); return 0;)
// void OnKillFocus(CWnd* pNewWnd)
#define ON_WM_KILLFOCUS() \
    AFX_MSG_ENTRY(WM_KILLFOCUS, t->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(w))); return 0;)

// --- non-client area (a caption painted by the program) ---

// void OnNcPaint()
#define ON_WM_NCPAINT() AFX_MSG_ENTRY(WM_NCPAINT, t->OnNcPaint(); return 0;)
// BOOL OnNcActivate(BOOL bActive)
#define ON_WM_NCACTIVATE() AFX_MSG_ENTRY(WM_NCACTIVATE, return t->OnNcActivate(static_cast<BOOL>(w));)
// LRESULT OnNcHitTest(CPoint point), screen coordinates
#define ON_WM_NCHITTEST() AFX_MSG_ENTRY(WM_NCHITTEST, return t->OnNcHitTest(CPoint(l));)
// void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
#define ON_WM_NCCALCSIZE()                                                                      \
    AFX_MSG_ENTRY(WM_NCCALCSIZE, t->OnNcCalcSize(static_cast<BOOL>(w),                         \
                                                 reinterpret_cast<NCCALCSIZE_PARAMS*>(l)); return 0;)
#define AFX_NCMOUSE_ENTRY(message, memberFxn) \
    AFX_MSG_ENTRY(message, t->memberFxn(static_cast<UINT>(w), CPoint(l)); return 0;)
// void OnNcLButtonDown(UINT nHitTest, CPoint point), and the same for the others, screen coordinates
#define ON_WM_NCLBUTTONDOWN() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDOWN, OnNcLButtonDown)
#define ON_WM_NCLBUTTONUP() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONUP, OnNcLButtonUp)
#define ON_WM_NCLBUTTONDBLCLK() AFX_NCMOUSE_ENTRY(WM_NCLBUTTONDBLCLK, OnNcLButtonDblClk)
#define ON_WM_NCMOUSEMOVE() AFX_NCMOUSE_ENTRY(WM_NCMOUSEMOVE, OnNcMouseMove)
// void OnNcMouseLeave()
#define ON_WM_NCMOUSELEAVE() AFX_MSG_ENTRY(WM_NCMOUSELEAVE, t->OnNcMouseLeave(); return 0;)
