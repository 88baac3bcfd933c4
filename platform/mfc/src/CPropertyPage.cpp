// Property pages: dialogs created by the system's property sheet, bound from their first message
// through the page callback, and told of OK, Cancel and page changes by the sheet's notifications.
#include "afximpl.h"

#include "afxdlgs.h"

IMPLEMENT_DYNAMIC(CPropertyPage, CDialog)

BEGIN_MESSAGE_MAP(CPropertyPage, CDialog)
END_MESSAGE_MAP()

namespace {

// The system calls this just before it creates the page's window: the next window is the page.
UINT CALLBACK pageCallback(HWND, UINT message, LPPROPSHEETPAGEW ppsp)
{
    if (message == PSPCB_CREATE && ppsp)
        AfxHookWindowCreate(reinterpret_cast<CPropertyPage*>(ppsp->lParam));
    return TRUE;
}

} // namespace

CPropertyPage::CPropertyPage()
{
    m_psp = {};
    m_psp.dwSize = sizeof(m_psp);
}

CPropertyPage::CPropertyPage(UINT nIDTemplate, UINT nIDCaption, DWORD)
{
    Construct(nIDTemplate, nIDCaption);
}

CPropertyPage::CPropertyPage(LPCWSTR lpszTemplateName, UINT nIDCaption, DWORD)
{
    Construct(lpszTemplateName, nIDCaption);
}

CPropertyPage::~CPropertyPage() = default;

void CPropertyPage::Construct(UINT nIDTemplate, UINT nIDCaption)
{
    Construct(MAKEINTRESOURCEW(nIDTemplate), nIDCaption);
}

void CPropertyPage::Construct(LPCWSTR lpszTemplateName, UINT nIDCaption)
{
    m_lpszTemplateName = lpszTemplateName;
    m_nIDHelp = IS_INTRESOURCE(lpszTemplateName) ? LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName)) : 0;
    m_psp = {};
    m_psp.dwSize = sizeof(m_psp);
    m_psp.dwFlags = PSP_USECALLBACK;
    m_psp.hInstance = AfxFindResourceHandle(lpszTemplateName, RT_DIALOG);
    m_psp.pszTemplate = lpszTemplateName;
    m_psp.pfnDlgProc = AfxDlgProc;
    m_psp.lParam = reinterpret_cast<LPARAM>(this);
    m_psp.pfnCallback = pageCallback;
    if (nIDCaption != 0 && m_strCaption.LoadString(nIDCaption)) {
        m_psp.pszTitle = m_strCaption;
        m_psp.dwFlags |= PSP_USETITLE;
    }
}

void CPropertyPage::CancelToClose()
{
    ::SendMessageW(::GetParent(m_hWnd), PSM_CANCELTOCLOSE, 0, 0);
}

void CPropertyPage::SetModified(BOOL bChanged)
{
    ::SendMessageW(::GetParent(m_hWnd), bChanged ? PSM_CHANGED : PSM_UNCHANGED,
                   reinterpret_cast<WPARAM>(m_hWnd), 0);
}

BOOL CPropertyPage::OnSetActive()
{
    if (m_bFirstSetActive)
        m_bFirstSetActive = FALSE;   // OnInitDialog has just filled the controls
    else
        UpdateData(FALSE);
    return TRUE;
}

BOOL CPropertyPage::OnKillActive()
{
    return UpdateData(TRUE);
}

BOOL CPropertyPage::OnApply()
{
    OnOK();
    return TRUE;
}

void CPropertyPage::OnReset()
{
    OnCancel();
}

BOOL CPropertyPage::OnQueryCancel()
{
    return TRUE;
}

// A page does not end anything itself: the sheet closes.
void CPropertyPage::OnOK()
{
}

void CPropertyPage::OnCancel()
{
}

BOOL CPropertyPage::PreTranslateMessage(MSG* pMsg)
{
    return CWnd::PreTranslateMessage(pMsg);   // the sheet runs the dialog keys
}

BOOL CPropertyPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const NMHDR* pNMHDR = reinterpret_cast<const NMHDR*>(lParam);
    if (pNMHDR->hwndFrom == ::GetParent(m_hWnd)) {
        switch (pNMHDR->code) {
        case PSN_SETACTIVE:
            *pResult = OnSetActive() ? 0 : -1;
            return TRUE;
        case PSN_KILLACTIVE:
            *pResult = !OnKillActive();
            return TRUE;
        case PSN_APPLY:
            *pResult = OnApply() ? PSNRET_NOERROR : PSNRET_INVALID_NOCHANGEPAGE;
            // lParam is TRUE when OK (not Apply) was pressed: the sheet ends with IDOK.
            if (*pResult == PSNRET_NOERROR && reinterpret_cast<const PSHNOTIFY*>(lParam)->lParam) {
                if (CWnd* pSheet = CWnd::FromHandlePermanent(pNMHDR->hwndFrom))
                    pSheet->m_nModalResult = IDOK;
            }
            return TRUE;
        case PSN_RESET:
            OnReset();
            *pResult = 0;
            return TRUE;
        case PSN_QUERYCANCEL:
            *pResult = !OnQueryCancel();
            return TRUE;
        default:
            break;
        }
    }
    return CDialog::OnNotify(wParam, lParam, pResult);
}
