// Property sheets: the system's control created modeless, bound from its first message, and run by
// the framework's modal loop until no page is current (OK or Cancel pressed) or the window is gone.
#include "afximpl.h"

#include "afxdlgs.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CPropertySheet, CWnd)

BEGIN_MESSAGE_MAP(CPropertySheet, CWnd)
    ON_MESSAGE(WM_INITDIALOG, HandleInitDialog)
END_MESSAGE_MAP()

LRESULT CPropertySheet::HandleInitDialog(WPARAM, LPARAM)
{
    return OnInitDialog();
}

BOOL CPropertySheet::OnInitDialog()
{
    return static_cast<BOOL>(Default());
}

CPropertySheet::CPropertySheet()
{
    Construct(static_cast<LPCWSTR>(nullptr));
}

CPropertySheet::CPropertySheet(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(nIDCaption, pParentWnd, iSelectPage);
}

CPropertySheet::CPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    Construct(pszCaption, pParentWnd, iSelectPage);
}

CPropertySheet::~CPropertySheet() = default;

void CPropertySheet::Construct(UINT nIDCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    CString caption;
    caption.LoadString(nIDCaption);
    Construct(caption.GetString(), pParentWnd, iSelectPage);
}

void CPropertySheet::Construct(LPCWSTR pszCaption, CWnd* pParentWnd, UINT iSelectPage)
{
    m_strCaption = pszCaption;
    m_pParentWnd = pParentWnd;
    m_psh = {};
    m_psh.dwSize = sizeof(m_psh);
    m_psh.dwFlags = PSH_PROPSHEETPAGE;
    m_psh.pszCaption = m_strCaption;
    m_psh.nStartPage = iSelectPage;
}

void CPropertySheet::AddPage(CPropertyPage* pPage)
{
    if (!pPage)
        return;
    m_pages.push_back(pPage);
    if (m_hWnd) {
        HPROPSHEETPAGE hPage = ::CreatePropertySheetPageW(&pPage->m_psp);
        if (hPage && !SendMessage(PSM_ADDPAGE, 0, reinterpret_cast<LPARAM>(hPage)))
            ::DestroyPropertySheetPage(hPage);
    }
}

void CPropertySheet::RemovePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    if (nPage >= 0)
        RemovePage(nPage);
}

void CPropertySheet::RemovePage(int nPage)
{
    if (nPage < 0 || nPage >= GetPageCount())
        return;
    if (m_hWnd)
        SendMessage(PSM_REMOVEPAGE, static_cast<WPARAM>(nPage), 0);
    m_pages.erase(m_pages.begin() + nPage);
}

int CPropertySheet::GetPageCount() const
{
    return static_cast<int>(m_pages.size());
}

CPropertyPage* CPropertySheet::GetPage(int nPage) const
{
    return nPage >= 0 && nPage < GetPageCount() ? m_pages[static_cast<size_t>(nPage)] : nullptr;
}

int CPropertySheet::GetPageIndex(CPropertyPage* pPage)
{
    auto it = std::find(m_pages.begin(), m_pages.end(), pPage);
    return it == m_pages.end() ? -1 : static_cast<int>(it - m_pages.begin());
}

CPropertyPage* CPropertySheet::GetActivePage() const
{
    if (!m_hWnd)
        return GetPage(static_cast<int>(m_psh.nStartPage));
    HWND hPage = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    return DYNAMIC_DOWNCAST(CPropertyPage, CWnd::FromHandlePermanent(hPage));
}

int CPropertySheet::GetActiveIndex() const
{
    if (!m_hWnd)
        return static_cast<int>(m_psh.nStartPage);
    HWND hPage = reinterpret_cast<HWND>(::SendMessageW(m_hWnd, PSM_GETCURRENTPAGEHWND, 0, 0));
    return static_cast<int>(::SendMessageW(m_hWnd, PSM_HWNDTOINDEX, reinterpret_cast<WPARAM>(hPage), 0));
}

BOOL CPropertySheet::SetActivePage(int nPage)
{
    if (!m_hWnd) {
        m_psh.nStartPage = static_cast<UINT>(nPage);
        return TRUE;
    }
    return static_cast<BOOL>(SendMessage(PSM_SETCURSEL, static_cast<WPARAM>(nPage), 0));
}

BOOL CPropertySheet::SetActivePage(CPropertyPage* pPage)
{
    int nPage = GetPageIndex(pPage);
    return nPage >= 0 && SetActivePage(nPage);
}

void CPropertySheet::SetTitle(LPCWSTR lpszText, UINT nStyle)
{
    m_strCaption = lpszText;
    m_psh.pszCaption = m_strCaption;
    m_psh.dwFlags = (m_psh.dwFlags & ~PSH_PROPTITLE) | (nStyle & PSH_PROPTITLE);
    if (m_hWnd)
        SendMessage(PSM_SETTITLEW, nStyle, reinterpret_cast<LPARAM>(m_strCaption.GetString()));
}

BOOL CPropertySheet::PressButton(int nButton)
{
    return static_cast<BOOL>(SendMessage(PSM_PRESSBUTTON, static_cast<WPARAM>(nButton), 0));
}

void CPropertySheet::EndDialog(int nEndID)
{
    EndModalLoop(nEndID);
    PostMessage(PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
}

INT_PTR CPropertySheet::DoModal()
{
    std::vector<PROPSHEETPAGEW> pages;
    for (CPropertyPage* pPage : m_pages) {
        PROPSHEETPAGEW psp = pPage->m_psp;
        psp.hInstance = AfxFindResourceHandle(psp.pszTemplate, RT_DIALOG);
        pages.push_back(psp);
    }
    m_psh.ppsp = pages.data();
    m_psh.nPages = static_cast<UINT>(pages.size());
    m_psh.dwFlags |= PSH_PROPSHEETPAGE | PSH_MODELESS;
    if (!m_psh.hInstance)
        m_psh.hInstance = AfxGetResourceHandle();

    HWND hWndTop = nullptr;
    HWND hWndParent = GetSafeOwner(m_pParentWnd, &hWndTop)->GetSafeHwnd();
    m_psh.hwndParent = hWndParent;
    const bool enableParent = DisableModalOwner(hWndParent);

    // IDCANCEL until a page is told that OK was pressed (PSN_APPLY).
    m_nModalResult = IDCANCEL;
    m_nFlags |= WF_CONTINUEMODAL;
    AfxHookWindowCreate(this);
    INT_PTR created = ::PropertySheetW(&m_psh);
    AfxUnhookWindowCreate();
    m_psh.dwFlags &= ~PSH_MODELESS;
    m_psh.ppsp = nullptr;
    bool bound = created != 0 && created != -1 && m_hWnd == reinterpret_cast<HWND>(created);
    if (bound && ContinueModal())
        RunModalLoop(MLF_SHOWONIDLE);
    m_nFlags &= ~(WF_MODALLOOP | WF_CONTINUEMODAL);
    INT_PTR nResult = bound ? m_nModalResult : -1;

    EndModalWindow(hWndParent, enableParent, hWndTop);
    return nResult;
}

// The loop ends when the sheet has no current page: OK or Cancel closed it.
BOOL CPropertySheet::ContinueModal()
{
    if (!CWnd::ContinueModal())
        return FALSE;
    return SendMessage(PSM_GETCURRENTPAGEHWND) != 0;
}

BOOL CPropertySheet::PreTranslateMessage(MSG* pMsg)
{
    if (CWnd::PreTranslateMessage(pMsg))
        return TRUE;
    bool isKey = pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST;
    bool isMouse = pMsg->message >= WM_MOUSEFIRST && pMsg->message <= WM_MOUSELAST;
    if (!isKey && !isMouse)
        return FALSE;
    return static_cast<BOOL>(SendMessage(PSM_ISDIALOGMESSAGE, 0, reinterpret_cast<LPARAM>(pMsg)));
}
