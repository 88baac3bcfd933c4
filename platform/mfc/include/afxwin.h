// Windows, dialogs, controls, GDI wrappers, frames, menus, the application object and message maps.
//
// Each control class, CWaitCursor and each GDI class is in the source named after it (the device
// context's drawing members in src/CDCDrawing.cpp), the CWnd members that hand out device contexts
// in src/CWndDC.cpp. The window side (binding, temporary wrappers, the other CWnd members, dialogs,
// data exchange, modal loops) is in src/CWnd*.cpp and src/CDialog.cpp.
#pragma once

#include "afx.h"
#include "atltypes.h"

#include <map>
#include <memory>

class CCmdTarget;
class CWnd;
class CWinApp;
class CWinThread;
class CMenu;
class CDC;
class CScrollBar;
class CDataExchange;

// The GetSafe... members answer null when called through a null pointer, as the framework documents.
// The compiler may assume `this` is never null, so the pointer is passed through an empty asm that
// hides its origin.
template <typename T>
inline T* AfxOpaque(T* p) noexcept
{
    __asm__("" : "+r"(p));
    return p;
}

// --- message maps ---

// Marks an entry whose message number is read at dispatch time from a registered-message variable.
#define AFX_REGISTERED_MESSAGE 0xC002

// The thunk of an entry: calls the handler with typed arguments, in the handler's own module.
typedef LRESULT (*AFX_PMSG)(CCmdTarget* pTarget, UINT nMessage, WPARAM wParam, LPARAM lParam);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;              // window message, AFX_REGISTERED_MESSAGE, or 0 at the end
    UINT nCode;                 // WM_COMMAND and WM_NOTIFY: notification code
    UINT nID;                   // WM_COMMAND and WM_NOTIFY: first control id
    UINT nLastID;               // WM_COMMAND and WM_NOTIFY: last id; other messages: last message
                                // of a range starting at nMessage (0: nMessage alone)
    const UINT* pnRegistered;   // registered messages: the variable holding the number
    AFX_PMSG pfn;               // typed thunk calling the handler
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (PASCAL* pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

#define DECLARE_MESSAGE_MAP()                               \
protected:                                                  \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();    \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                      \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                          \
    {                                                                               \
        using ThisClass [[maybe_unused]] = theClass;                                \
        typedef baseClass TheBaseClass;                                             \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                           \
            {0, 0, 0, 0, nullptr, nullptr}};                                        \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,     \
                                              &_messageEntries[0]};                 \
        return &messageMap;                                                         \
    }

// Runs a handler so that no exception leaves the module it was thrown in: the thunks that call it are
// instantiated in the handler's module, and so is this function.
template <typename Handler>
inline LRESULT AfxCallHandler(Handler&& handler) noexcept
{
    try {
        return handler();
    } catch (const std::exception& e) {
        AfxTraceHandlerException(e.what());
    } catch (...) {
        AfxTraceHandlerException(nullptr);
    }
    return 0;
}

#include "afxmsg_.h"

// Anything that receives messages through a message map.
class KIVOAFX_API CCmdTarget : public CObject {
    DECLARE_DYNAMIC(CCmdTarget)
public:
    // Looks the message up in this class's map, then in each base class's map.
    // True when an entry handled it; its result is in *pResult.
    BOOL DispatchThroughMaps(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // WM_COMMAND: the entries for this notification code and id.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, LPARAM lParam, LRESULT* pResult);
    // WM_NOTIFY: the entries for this notification code and id; the handler sets *pResult.
    BOOL OnNotifyMsg(UINT nID, UINT nCode, NMHDR* pNMHDR, LRESULT* pResult);

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};

// --- windows ---

extern KIVOAFX_API const RECT rectDefault;   // framework's default position and size (CW_USEDEFAULT)

// CWnd::m_nFlags
#define WF_TOOLTIPS         0x0001
#define WF_TEMPHIDE         0x0002
#define WF_STAYDISABLED     0x0004
#define WF_MODALLOOP        0x0008   // a modal loop of this window runs
#define WF_CONTINUEMODAL    0x0010   // the modal loop goes on until EndModalLoop clears it

// CWnd::RunModalLoop flags
#define MLF_NOIDLEMSG       0x0001   // no WM_ENTERIDLE to the owner
#define MLF_NOKICKIDLE      0x0002   // no idle processing
#define MLF_SHOWONIDLE      0x0004   // show the window when the queue first goes idle

class KIVOAFX_API CWnd : public CCmdTarget {
    DECLARE_DYNCREATE(CWnd)
public:
    HWND m_hWnd = nullptr;

    CWnd() = default;
    ~CWnd() override;

    // Places in the z-order for SetWindowPos: HWND_TOP, HWND_BOTTOM, HWND_TOPMOST, HWND_NOTOPMOST.
    static const CWnd wndTop;
    static const CWnd wndBottom;
    static const CWnd wndTopMost;
    static const CWnd wndNoTopMost;

    operator HWND() const { return m_hWnd; }
    HWND GetSafeHwnd() const { const CWnd* p = AfxOpaque(this); return p ? p->m_hWnd : nullptr; }

    // The object bound to a window handle by this thread, or null.
    static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
    // The bound object, or a temporary wrapper freed at idle time; null for a null handle.
    static CWnd* PASCAL FromHandle(HWND hWnd);
    // Frees the temporary wrappers made since the current message loop began.
    static void PASCAL DeleteTempMap();
    BOOL Attach(HWND hWndNew);
    HWND Detach();
    // Replaces a window's procedure with the framework's and binds this object to it.
    BOOL SubclassWindow(HWND hWnd);
    // Binds this object to the dialog control nID of pParent.
    BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
    HWND UnsubclassWindow();

    virtual BOOL PreCreateWindow(CREATESTRUCT& cs);
    virtual BOOL CreateEx(DWORD dwExStyle, LPCWSTR lpszClassName, LPCWSTR lpszWindowName,
                          DWORD dwStyle, int x, int y, int nWidth, int nHeight, HWND hWndParent,
                          HMENU nIDorHMenu, LPVOID lpParam = nullptr);
    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName, DWORD dwStyle,
                        const RECT& rect, CWnd* pParentWnd, UINT nID,
                        LPVOID lpParam = nullptr);
    virtual BOOL DestroyWindow();

    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);
    // Called after the window's last message; frames delete themselves here.
    virtual void PostNcDestroy();
    // Called by SubclassWindow before the window is subclassed.
    virtual void PreSubclassWindow();

    // Child notifications (WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLOR..., WM_HSCROLL...) sent to the
    // parent are offered to the child's object first; TRUE when it handled them.
    virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pLResult);
    // Offers the message being handled to the object of hWndChild (OnChildNotify).
    static BOOL PASCAL ReflectLastMsg(HWND hWndChild, LRESULT* pResult = nullptr);
    BOOL SendChildNotifyLastMsg(LRESULT* pResult = nullptr);

    // Dialog data exchange: binds controls to members (DDX_Control) and moves values.
    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    virtual void DoDataExchange(CDataExchange* pDX);
    // Fills the controls from the template's list data (resource type 240), as dialogs do at start.
    BOOL ExecuteDlgInit(LPCWSTR lpszResourceName);
    BOOL ExecuteDlgInit(LPVOID lpResource);

    // Modal loops: the framework's own message loop for this window.
    virtual int RunModalLoop(DWORD dwFlags = 0);
    virtual BOOL ContinueModal();
    virtual void EndModalLoop(int nResult);
    // The window a modal window of pParent is owned by: pParent's top-level window, or with no
    // pParent the last active popup of the main window. *pWndTop gets the top-level window disabled here.
    static CWnd* PASCAL GetSafeOwner(CWnd* pParent = nullptr, HWND* pWndTop = nullptr);
    // Disables the owner of a modal window; true when it was enabled, so EndModalWindow enables it.
    static bool PASCAL DisableModalOwner(HWND hWndOwner);
    // After the modal loop: hides this window (so that activation goes back to the owner once it is
    // enabled again), enables and activates the owner, destroys this window and enables hWndTop.
    void EndModalWindow(HWND hWndOwner, bool enableOwner, HWND hWndTop);

    // The message being handled by this thread.
    static const MSG* PASCAL GetCurrentMessage();
    // Sends the message being handled on to the default window procedure.
    LRESULT Default();

    // --- window state ---
    BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL IsIconic() const;
    BOOL IsZoomed() const;
    BOOL EnableWindow(BOOL bEnable = TRUE);
    BOOL IsWindowEnabled() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
    HICON SetIcon(HICON hIcon, BOOL bBigIcon);
    HICON GetIcon(BOOL bBigIcon) const;
    int GetDlgCtrlID() const;
    int SetDlgCtrlID(int nID);

    // --- relatives ---
    CWnd* GetParent() const;
    CWnd* GetOwner() const;
    CWnd* GetTopLevelParent() const;
    CWnd* GetDlgItem(int nID) const;
    void GetDlgItem(int nID, HWND* phWnd) const;
    BOOL IsChild(const CWnd* pWnd) const;
    static CWnd* PASCAL GetFocus();
    CWnd* SetFocus();
    static CWnd* PASCAL GetActiveWindow();
    CWnd* SetActiveWindow();
    static CWnd* PASCAL GetCapture();
    CWnd* SetCapture();

    // --- size and position ---
    BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags);
    void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE);
    void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE);
    void GetWindowRect(LPRECT lpRect) const;
    void GetClientRect(LPRECT lpRect) const;
    void ClientToScreen(LPPOINT lpPoint) const;
    void ClientToScreen(LPRECT lpRect) const;
    void ScreenToClient(LPPOINT lpPoint) const;
    void ScreenToClient(LPRECT lpRect) const;
    // Centres the window over its owner (a child: over its parent), or over the work area when the
    // owner is hidden or minimised.
    void CenterWindow(CWnd* pAlternateOwner = nullptr);

    // --- painting ---
    void Invalidate(BOOL bErase = TRUE);
    void InvalidateRect(LPCRECT lpRect, BOOL bErase = TRUE);
    void ValidateRect(LPCRECT lpRect);
    void UpdateWindow();
    BOOL RedrawWindow(LPCRECT lpRectUpdate = nullptr, HRGN hrgnUpdate = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    CDC* GetDC();
    CDC* GetWindowDC();
    int ReleaseDC(CDC* pDC);
    CDC* BeginPaint(LPPAINTSTRUCT lpPaint);
    void EndPaint(LPPAINTSTRUCT lpPaint);

    // --- menus ---
    // The window menu as a temporary wrapper; bRevert restores the default menu and returns null.
    CMenu* GetSystemMenu(BOOL bRevert) const;

    // --- text, messages and timers ---
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendDlgItemMessage(int nID, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr)
    {
        return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
    }
    BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }
    void SetWindowText(LPCWSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
    void GetWindowText(CString& rString) const;
    int GetWindowTextLength() const;
    void SetDlgItemText(int nID, LPCWSTR lpszString);
    int GetDlgItemText(int nID, CString& rString) const;
    void SetDlgItemInt(int nID, UINT nValue, BOOL bSigned = TRUE);
    void CheckDlgButton(int nIDButton, UINT nCheck);
    UINT IsDlgButtonChecked(int nIDButton) const;
    BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }

    int m_nFlags = 0;          // WF_ flags
    int m_nModalResult = 0;    // the result EndModalLoop was given

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnNcDestroy();
    afx_msg void OnClose();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CScrollBar* pScrollBar);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    afx_msg void OnEnable(BOOL bEnable);
    afx_msg BOOL OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnRButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnRButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnMouseLeave();
    afx_msg void OnCaptureChanged(CWnd* pWnd);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);
    afx_msg void OnDrawItem(int nIDCtl, LPDRAWITEMSTRUCT lpDrawItemStruct);
    afx_msg void OnNcPaint();
    afx_msg BOOL OnNcActivate(BOOL bActive);
    afx_msg LRESULT OnNcHitTest(CPoint point);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcLButtonDown(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonUp(UINT nHitTest, CPoint point);
    afx_msg void OnNcLButtonDblClk(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseMove(UINT nHitTest, CPoint point);
    afx_msg void OnNcMouseLeave();

    WNDPROC m_pfnSuper = nullptr;   // the procedure replaced by SubclassWindow

    explicit CWnd(HWND hWnd) : m_hWnd(hWnd) {}

    DECLARE_MESSAGE_MAP()

private:
    friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
};

KIVOAFX_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
// The dialog procedure of the framework's dialogs and pages: WM_INITDIALOG runs OnInitDialog.
KIVOAFX_API INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

// Binds pWnd to the next window this thread creates, from its first message (a CBT hook), and
// takes the hook away again; AfxUnhookWindowCreate is TRUE when the binding happened.
KIVOAFX_API void AFXAPI AfxHookWindowCreate(CWnd* pWnd);
KIVOAFX_API BOOL AFXAPI AfxUnhookWindowCreate();

// Frees this thread's temporary wrappers of windows, menus and GDI objects (idle time).
KIVOAFX_API void AFXAPI AfxDeleteTempMaps();

// Registers (once) a window class served by the framework and returns its name.
KIVOAFX_API LPCWSTR AFXAPI AfxRegisterWndClass(UINT nClassStyle, HCURSOR hCursor = nullptr,
                                               HBRUSH hbrBackground = nullptr, HICON hIcon = nullptr);

class CCreateContext;

class KIVOAFX_API CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd() = default;

    virtual BOOL Create(LPCWSTR lpszClassName, LPCWSTR lpszWindowName,
                        DWORD dwStyle = WS_OVERLAPPEDWINDOW, const RECT& rect = rectDefault,
                        CWnd* pParentWnd = nullptr, LPCWSTR lpszMenuName = nullptr,
                        DWORD dwExStyle = 0, CCreateContext* pContext = nullptr);
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

protected:
    void PostNcDestroy() override;   // frames are allocated with new and delete themselves

    DECLARE_MESSAGE_MAP()
};

// --- dialogs ---

class KIVOAFX_API CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)
public:
    CDialog();
    explicit CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);

    // Modeless: the template from AfxFindResourceHandle(RT_DIALOG), parent or owner pParentWnd.
    virtual BOOL Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
    virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    // Modeless from a template in memory (list data, resource type 240's layout, in lpDialogInit);
    // without a parent the main window owns it.
    virtual BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                                void* lpDialogInit = nullptr);
    // Makes DoModal use a template in memory (for an object built with the default constructor).
    BOOL InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd = nullptr,
                           void* lpDialogInit = nullptr);
    // Modal: the framework's own loop with the owner disabled; the result given to EndDialog,
    // or -1 when the dialog could not be created or its window was destroyed.
    virtual INT_PTR DoModal();
    void EndDialog(int nResult);

    virtual BOOL OnInitDialog();
    virtual void OnOK();       // UpdateData(TRUE), then EndDialog(IDOK)
    virtual void OnCancel();   // EndDialog(IDCANCEL)

    void NextDlgCtrl() const;
    void PrevDlgCtrl() const;
    void GotoDlgCtrl(CWnd* pWndCtrl);
    void SetDefID(UINT nID);
    DWORD GetDefID() const;

    // Dialog keys (Tab, Enter, Escape, mnemonics) through IsDialogMessage.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    LPCWSTR m_lpszTemplateName = nullptr;
    UINT m_nIDHelp = 0;
    CWnd* m_pParentWnd = nullptr;

    LPCDLGTEMPLATE m_lpDialogTemplate = nullptr;   // InitModalIndirect's template
    void* m_lpDialogInit = nullptr;                 // list data of a template in memory

    // Creates the dialog from a template in memory, bound from its first message; hInst is the
    // module the template's controls and icons are looked up in.
    BOOL CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit, HINSTANCE hInst);
    // Input messages through IsDialogMessage.
    BOOL PreTranslateInput(LPMSG lpMsg);

    DECLARE_MESSAGE_MAP()
};

// Transfers between a dialog's controls and its members.
class KIVOAFX_API CDataExchange {
public:
    BOOL m_bSaveAndValidate;   // TRUE: controls to members; FALSE: members to controls
    CWnd* m_pDlgWnd;
    UINT m_idLastControl = 0;
    BOOL m_bEditLastControl = FALSE;

    CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate);
    // The control's window; fails the exchange when the dialog has no such control.
    HWND PrepareCtrl(int nIDC);
    HWND PrepareEditCtrl(int nIDC);
    // Marks the exchange failed: UpdateData returns FALSE. (The framework throws here; these
    // programs report failures by return values.)
    void Fail();
    BOOL m_bFailed = FALSE;
};

// Binds control nIDC to rControl the first time; later exchanges leave the binding alone.
KIVOAFX_API void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);

// --- controls ---

class KIVOAFX_API CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)
public:
    CButton();
    ~CButton() override;

    virtual BOOL Create(LPCWSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    UINT GetState() const;
    void SetState(BOOL bHighlight);
    int GetCheck() const;
    void SetCheck(int nCheck);
    UINT GetButtonStyle() const;
    void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE);
    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;

    // Owner-drawn buttons draw here; WM_DRAWITEM reaches it through the parent's reflection.
    virtual void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct);

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pLResult) override;
};

class KIVOAFX_API CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)
public:
    CStatic();
    ~CStatic() override;

    virtual BOOL Create(LPCWSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd,
                        UINT nID = 0xffff);

    HICON SetIcon(HICON hIcon);
    HICON GetIcon() const;
    HBITMAP SetBitmap(HBITMAP hBitmap);
    HBITMAP GetBitmap() const;
};

class KIVOAFX_API CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)
public:
    CComboBox();
    ~CComboBox() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int nSelect);
    int GetLBText(int nIndex, LPWSTR lpszText) const;
    void GetLBText(int nIndex, CString& rString) const;
    int GetLBTextLen(int nIndex) const;
    int AddString(LPCWSTR lpszString);
    int InsertString(int nIndex, LPCWSTR lpszString);
    int DeleteString(UINT nIndex);
    void ResetContent();
    int FindStringExact(int nIndexStart, LPCWSTR lpszFind) const;
    int SelectString(int nStartAfter, LPCWSTR lpszString);
    DWORD_PTR GetItemData(int nIndex) const;
    int SetItemData(int nIndex, DWORD_PTR dwItemData);
    void ShowDropDown(BOOL bShowIt = TRUE);
    BOOL GetDroppedState() const;
};

class KIVOAFX_API CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)
public:
    CEdit();
    ~CEdit() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    void GetSel(int& nStartChar, int& nEndChar) const;
    void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
    void ReplaceSel(LPCWSTR lpszNewText, BOOL bCanUndo = FALSE);
    void SetLimitText(UINT nMax);
    UINT GetLimitText() const;
    BOOL SetReadOnly(BOOL bReadOnly = TRUE);
    BOOL GetModify() const;
    void SetModify(BOOL bModified = TRUE);
};

// The lParam of WM_HSCROLL and WM_VSCROLL from a scroll bar control.
class KIVOAFX_API CScrollBar : public CWnd {
    DECLARE_DYNAMIC(CScrollBar)
public:
    CScrollBar() = default;
};

// --- GDI objects ---

class CBitmap;

class KIVOAFX_API CGdiObject : public CObject {
    DECLARE_DYNCREATE(CGdiObject)
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject();
    ~CGdiObject() override;   // deletes the object it owns

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { const CGdiObject* p = AfxOpaque(this); return p ? p->m_hObject : nullptr; }

    // A temporary wrapper of a handle this object does not own, freed at idle time.
    static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();

    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;
    UINT GetObjectType() const;
    BOOL CreateStockObject(int nIndex);
    BOOL UnrealizeObject();
    BOOL operator==(const CGdiObject& obj) const { return obj.m_hObject == m_hObject; }
    BOOL operator!=(const CGdiObject& obj) const { return obj.m_hObject != m_hObject; }
};

class KIVOAFX_API CBrush : public CGdiObject {
    DECLARE_DYNAMIC(CBrush)
public:
    static CBrush* PASCAL FromHandle(HBRUSH hBrush);

    CBrush();
    explicit CBrush(COLORREF crColor);
    CBrush(int nIndex, COLORREF crColor);
    explicit CBrush(CBitmap* pBitmap);
    ~CBrush() override;

    BOOL CreateSolidBrush(COLORREF crColor);
    BOOL CreateHatchBrush(int nIndex, COLORREF crColor);
    BOOL CreatePatternBrush(CBitmap* pBitmap);
    BOOL CreateSysColorBrush(int nIndex);

    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }
    int GetLogBrush(LOGBRUSH* pLogBrush);
};

class KIVOAFX_API CBitmap : public CGdiObject {
    DECLARE_DYNAMIC(CBitmap)
public:
    static CBitmap* PASCAL FromHandle(HBITMAP hBitmap);

    CBitmap();
    ~CBitmap() override;

    // From the module that holds the bitmap (AfxFindResourceHandle with RT_BITMAP).
    BOOL LoadBitmap(LPCWSTR lpszResourceName);
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadOEMBitmap(UINT nIDBitmap);
    BOOL CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits);
    BOOL CreateBitmapIndirect(LPBITMAP lpBitmap);
    BOOL CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight);

    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }
    int GetBitmap(BITMAP* pBitMap);
};

// --- device contexts ---

class KIVOAFX_API CDC : public CObject {
    DECLARE_DYNCREATE(CDC)
public:
    HDC m_hDC = nullptr;         // the output context
    HDC m_hAttribDC = nullptr;   // the attribute context (the same handle here)

    CDC();
    ~CDC() override;   // deletes a context it owns (CreateCompatibleDC, CreateDC)

    operator HDC() const { return m_hDC; }
    HDC GetSafeHdc() const { const CDC* p = AfxOpaque(this); return p ? p->m_hDC : nullptr; }

    // A temporary wrapper of a context this object does not own, freed at idle time.
    static CDC* PASCAL FromHandle(HDC hDC);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HDC hDC);
    HDC Detach();

    BOOL CreateCompatibleDC(CDC* pDC);
    BOOL DeleteDC();
    int SaveDC();
    BOOL RestoreDC(int nSavedDC);
    int GetDeviceCaps(int nIndex) const;

    CGdiObject* SelectStockObject(int nIndex);
    CGdiObject* SelectObject(CGdiObject* pObject);
    CBrush* SelectObject(CBrush* pBrush);
    CBitmap* SelectObject(CBitmap* pBitmap);
    HGDIOBJ SelectObject(HGDIOBJ hObject);

    COLORREF GetBkColor() const;
    COLORREF SetBkColor(COLORREF crColor);
    int GetBkMode() const;
    int SetBkMode(int nBkMode);
    COLORREF GetTextColor() const;
    COLORREF SetTextColor(COLORREF crColor);
    int SetStretchBltMode(int nStretchMode);

    BOOL BitBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc, DWORD dwRop);
    BOOL StretchBlt(int x, int y, int nWidth, int nHeight, CDC* pSrcDC, int xSrc, int ySrc,
                    int nSrcWidth, int nSrcHeight, DWORD dwRop);
    BOOL PatBlt(int x, int y, int nWidth, int nHeight, DWORD dwRop);
    void FillRect(LPCRECT lpRect, CBrush* pBrush);
    void FrameRect(LPCRECT lpRect, CBrush* pBrush);
    void FillSolidRect(LPCRECT lpRect, COLORREF clr);
    void FillSolidRect(int x, int y, int cx, int cy, COLORREF clr);
    void Draw3dRect(LPCRECT lpRect, COLORREF clrTopLeft, COLORREF clrBottomRight);
    void Draw3dRect(int x, int y, int cx, int cy, COLORREF clrTopLeft, COLORREF clrBottomRight);
    BOOL DrawEdge(LPRECT lpRect, UINT nEdge, UINT nFlags);
    void DrawFocusRect(LPCRECT lpRect);
    BOOL Rectangle(int x1, int y1, int x2, int y2);
    BOOL Rectangle(LPCRECT lpRect);
    BOOL DrawIcon(int x, int y, HICON hIcon);
    BOOL DrawIcon(POINT point, HICON hIcon);
    CPoint MoveTo(int x, int y);
    CPoint MoveTo(POINT point);
    BOOL LineTo(int x, int y);
    BOOL LineTo(POINT point);

    int DrawText(LPCWSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat);
    int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
    BOOL TextOut(int x, int y, LPCWSTR lpszString, int nCount);
    BOOL TextOut(int x, int y, const CString& str);
    CSize GetTextExtent(LPCWSTR lpszString, int nCount) const;
    CSize GetTextExtent(const CString& str) const;

    int IntersectClipRect(int x1, int y1, int x2, int y2);
    int IntersectClipRect(LPCRECT lpRect);
    int ExcludeClipRect(int x1, int y1, int x2, int y2);
    int ExcludeClipRect(LPCRECT lpRect);
    int GetClipBox(LPRECT lpRect) const;
};

// BeginPaint in the constructor, EndPaint in the destructor.
class KIVOAFX_API CPaintDC : public CDC {
    DECLARE_DYNAMIC(CPaintDC)
public:
    explicit CPaintDC(CWnd* pWnd);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps = {};

protected:
    HWND m_hWnd = nullptr;
};

// GetDC of the window's client area in the constructor, ReleaseDC in the destructor.
class KIVOAFX_API CClientDC : public CDC {
    DECLARE_DYNAMIC(CClientDC)
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd = nullptr;
};

// GetWindowDC of the whole window (caption and frame included), ReleaseDC in the destructor.
class KIVOAFX_API CWindowDC : public CDC {
    DECLARE_DYNAMIC(CWindowDC)
public:
    explicit CWindowDC(CWnd* pWnd);
    ~CWindowDC() override;

protected:
    HWND m_hWnd = nullptr;
};

// --- menus ---

class KIVOAFX_API CMenu : public CObject {
    DECLARE_DYNCREATE(CMenu)
public:
    HMENU m_hMenu = nullptr;

    CMenu() = default;
    ~CMenu() override;

    operator HMENU() const { return m_hMenu; }
    HMENU GetSafeHmenu() const { const CMenu* p = AfxOpaque(this); return p ? p->m_hMenu : nullptr; }
    // A temporary wrapper of a menu this object does not own, freed at idle time.
    static CMenu* PASCAL FromHandle(HMENU hMenu);
    static void PASCAL DeleteTempMap();
    BOOL Attach(HMENU hMenu);
    HMENU Detach();
    // Loads from the module that holds the menu (AfxFindResourceHandle).
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();

    // The returned wrapper is owned by this menu and lives until this menu is destroyed or detached.
    CMenu* GetSubMenu(int nPos) const;
    BOOL AppendMenu(UINT nFlags, UINT_PTR nIDNewItem = 0, LPCWSTR lpszNewItem = nullptr);
    UINT CheckMenuItem(UINT nIDCheckItem, UINT nCheck);
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
    UINT GetMenuState(UINT nID, UINT nFlags) const;
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, LPCRECT lpRect = nullptr);

private:
    mutable std::map<HMENU, std::unique_ptr<CMenu>> m_subMenus;
};

// --- the application ---

class KIVOAFX_API CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWnd* m_pMainWnd = nullptr;
    MSG m_msgCur = {};

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    virtual int Run();
    // Climbs from the message's window to its top-level window, offering the message to each bound
    // object; never to an owner.
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    // One message: FALSE on WM_QUIT (left in m_msgCur).
    virtual BOOL PumpMessage();
    // Idle work while the queue is empty; lCount counts the calls since the last message. Frees the
    // temporary wrappers. TRUE asks for more idle calls.
    virtual BOOL OnIdle(LONG lCount);
    // FALSE for messages that do not end an idle period (repeated mouse moves, WM_PAINT, caret blink).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // Run's look into the queue after pumping pMsg (m_msgCur): TRUE when another message waits, so
    // that it is pumped before any idle work. Not in the original framework, where Run calls
    // PeekMessage here itself; a program whose message needs no such look overrides this, not Run.
    virtual BOOL MoreMessagesAfter(const MSG* pMsg);

private:
    POINT m_ptCursorLast = {-1, -1};
    UINT m_nMsgLast = 0;
};

class KIVOAFX_API CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCWSTR lpszAppName = nullptr);
    ~CWinApp() override;

    LPCWSTR m_pszAppName = nullptr;
    HINSTANCE m_hInstance = nullptr;
    LPWSTR m_lpCmdLine = nullptr;   // command line after the program name and the blanks after it
    int m_nCmdShow = SW_SHOWNORMAL;
    LPCWSTR m_pszHelpFilePath = nullptr;

    BOOL InitInstance() override;
    int ExitInstance() override;
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

private:
    CString m_strAppName;
    CString m_strHelpFilePath;
};

// Shows the wait cursor from construction to destruction (or Restore after a message box).
class KIVOAFX_API CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    void Restore();

private:
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    HCURSOR m_hPrevious = nullptr;
};

KIVOAFX_API CWinApp* AFXAPI AfxGetApp();
KIVOAFX_API CWinThread* AFXAPI AfxGetThread();
KIVOAFX_API CWnd* AFXAPI AfxGetMainWnd();
KIVOAFX_API void AFXAPI AfxPostQuitMessage(int nExitCode);
// One message of the current thread through its PreTranslateMessage; FALSE on WM_QUIT.
KIVOAFX_API BOOL AFXAPI AfxPumpMessage();

// The text after the program name and the blanks that follow it, as the C runtime hands it to WinMain.
KIVOAFX_API LPWSTR AFXAPI AfxGetCommandTail(LPWSTR lpszCommandLine);

// The framework's program entry: InitInstance, then the message loop or, after FALSE, ExitInstance.
KIVOAFX_API int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPWSTR lpCmdLine,
                                  int nCmdShow);
