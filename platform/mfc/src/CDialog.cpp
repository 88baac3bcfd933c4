// Dialogs from resource templates: modeless Create, modal DoModal on the framework's loop, and the
// dialog keys through IsDialogMessage.
#include "afximpl.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd)
{
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
}

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd)
{
}

namespace {

// The template and the module it was found in (AfxFindResourceHandle: the resource module first).
LPCDLGTEMPLATE findTemplate(LPCWSTR lpszTemplateName, HINSTANCE* phInst)
{
    if (!lpszTemplateName)
        return nullptr;
    HINSTANCE hInst = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    HRSRC hResource = ::FindResourceW(hInst, lpszTemplateName, RT_DIALOG);
    HGLOBAL hTemplate = hResource ? ::LoadResource(hInst, hResource) : nullptr;
    *phInst = hInst;
    return hTemplate ? static_cast<LPCDLGTEMPLATE>(::LockResource(hTemplate)) : nullptr;
}

} // namespace

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd)
{
    return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCWSTR lpszTemplateName, CWnd* pParentWnd)
{
    m_lpszTemplateName = lpszTemplateName;
    if (IS_INTRESOURCE(lpszTemplateName))
        m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
    HINSTANCE hInst = nullptr;
    LPCDLGTEMPLATE lpTemplate = findTemplate(lpszTemplateName, &hInst);
    if (!lpTemplate)
        return FALSE;
    return CreateIndirect(lpTemplate, pParentWnd, nullptr, hInst);
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    return CreateIndirect(lpDialogTemplate, pParentWnd, lpDialogInit, AfxGetResourceHandle());
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit,
                             HINSTANCE hInst)
{
    if (!lpDialogTemplate)
        return FALSE;
    // Without a parent a modeless dialog is owned by the main window (none while the dialog is
    // itself the main window being created).
    if (!pParentWnd)
        pParentWnd = AfxGetMainWnd();
    HWND hWndParent = pParentWnd != this ? pParentWnd->GetSafeHwnd() : nullptr;
    m_lpDialogInit = lpDialogInit;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpDialogTemplate, hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    // A dialog destroyed during its initialisation was not created (the system may still return its
    // handle); its object may be deleted already, so nothing of it is touched here.
    return hWnd != nullptr && ::IsWindow(hWnd);
}

BOOL CDialog::InitModalIndirect(LPCDLGTEMPLATE lpDialogTemplate, CWnd* pParentWnd, void* lpDialogInit)
{
    m_lpDialogTemplate = lpDialogTemplate;
    m_lpDialogInit = lpDialogInit;
    m_pParentWnd = pParentWnd;
    return lpDialogTemplate != nullptr;
}

INT_PTR CDialog::DoModal()
{
    HINSTANCE hInst = AfxGetResourceHandle();
    LPCDLGTEMPLATE lpTemplate = m_lpDialogTemplate ? m_lpDialogTemplate : findTemplate(m_lpszTemplateName, &hInst);
    if (!lpTemplate)
        return -1;

    HWND hWndTop = nullptr;
    HWND hWndParent = GetSafeOwner(m_pParentWnd, &hWndTop)->GetSafeHwnd();
    const bool enableParent = DisableModalOwner(hWndParent);

    m_nModalResult = -1;
    m_nFlags |= WF_CONTINUEMODAL;
    AfxHookWindowCreate(this);
    HWND hWnd = ::CreateDialogIndirectParamW(hInst, lpTemplate, hWndParent, AfxDlgProc, 0);
    AfxUnhookWindowCreate();
    if (hWnd && ContinueModal()) {   // EndDialog in OnInitDialog ends it before the loop
        DWORD dwFlags = MLF_SHOWONIDLE;
        if (GetStyle() & DS_NOIDLEMSG)
            dwFlags |= MLF_NOIDLEMSG;
        RunModalLoop(dwFlags);
    }
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    INT_PTR nResult = m_nModalResult;

    EndModalWindow(hWndParent, enableParent, hWndTop);
    return nResult;
}

void CDialog::EndDialog(int nResult)
{
    if (m_nFlags & (WF_MODALLOOP | WF_CONTINUEMODAL))
        EndModalLoop(nResult);
    ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog()
{
    BOOL filled = m_lpDialogInit ? ExecuteDlgInit(m_lpDialogInit) : ExecuteDlgInit(m_lpszTemplateName);
    if (!filled) {
        AfxTrace(L"CDialog: the template's list data could not be filled in\n");
        EndDialog(-1);
        return FALSE;
    }
    if (!UpdateData(FALSE)) {
        AfxTrace(L"CDialog: UpdateData failed during dialog initialisation\n");
        EndDialog(-1);
        return FALSE;
    }
    return TRUE;   // the system gives the focus to the first control
}

void CDialog::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    EndDialog(IDOK);
}

void CDialog::OnCancel()
{
    EndDialog(IDCANCEL);
}

void CDialog::NextDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 0, 0); }
void CDialog::PrevDlgCtrl() const { ::SendMessageW(m_hWnd, WM_NEXTDLGCTL, 1, 0); }

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl)
{
    if (pWndCtrl)
        SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(pWndCtrl->m_hWnd), 1);
}

void CDialog::SetDefID(UINT nID) { SendMessage(DM_SETDEFID, nID); }

DWORD CDialog::GetDefID() const
{
    return static_cast<DWORD>(::SendMessageW(m_hWnd, DM_GETDEFID, 0, 0));
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    // Escape in a multi-line edit control would be eaten by the control: it cancels the dialog
    // unless its Cancel button is disabled.
    if (pMsg->message == WM_KEYDOWN && (pMsg->wParam == VK_ESCAPE || pMsg->wParam == VK_CANCEL) &&
        (::GetWindowLongW(pMsg->hwnd, GWL_STYLE) & ES_MULTILINE)) {
        WCHAR className[16] = L"";
        ::GetClassNameW(pMsg->hwnd, className, ARRAYSIZE(className));
        HWND hCancel = ::GetDlgItem(m_hWnd, IDCANCEL);
        if (_wcsicmp(className, L"Edit") == 0 && (!hCancel || ::IsWindowEnabled(hCancel))) {
            SendMessage(WM_COMMAND, IDCANCEL, 0);
            return TRUE;
        }
    }
    return PreTranslateInput(pMsg);
}

BOOL CDialog::PreTranslateInput(LPMSG lpMsg)
{
    bool isKey = lpMsg->message >= WM_KEYFIRST && lpMsg->message <= WM_KEYLAST;
    bool isMouse = lpMsg->message >= WM_MOUSEFIRST && lpMsg->message <= WM_MOUSELAST;
    if (!isKey && !isMouse)
        return FALSE;
    return ::IsDialogMessageW(m_hWnd, lpMsg);
}

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    if (message != WM_INITDIALOG)
        return FALSE;
    CDialog* pDialog = DYNAMIC_DOWNCAST(CDialog, CWnd::FromHandlePermanent(hWnd));
    if (!pDialog)
        return TRUE;
    try {
        return pDialog->OnInitDialog();
    } catch (const std::exception& e) {
        AfxTraceHandlerException(e.what());
    } catch (...) {
        AfxTraceHandlerException(nullptr);
    }
    return TRUE;
}
