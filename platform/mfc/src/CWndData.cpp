// Dialog data exchange and the dialog templates' list data (resource type 240).
#include "afximpl.h"

#include <commctrl.h>

#include <cstring>
#include <vector>

BOOL CWnd::UpdateData(BOOL bSaveAndValidate)
{
    CDataExchange dx(this, bSaveAndValidate);
    // The controls' notifications caused by the exchange are not handled meanwhile.
    HWND& hLockout = AfxLockoutNotifyWindow();
    HWND hOldLockout = hLockout;
    hLockout = m_hWnd;
    DoDataExchange(&dx);
    hLockout = hOldLockout;
    return !dx.m_bFailed;
}

void CWnd::DoDataExchange(CDataExchange*)
{
}

CDataExchange::CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
    : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd)
{
}

HWND CDataExchange::PrepareCtrl(int nIDC)
{
    HWND hWndCtrl = m_pDlgWnd ? ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC) : nullptr;
    if (!hWndCtrl) {
        AfxTrace(L"CDataExchange: no control with id %d\n", nIDC);
        Fail();
        return nullptr;
    }
    m_idLastControl = static_cast<UINT>(nIDC);
    m_bEditLastControl = FALSE;
    return hWndCtrl;
}

HWND CDataExchange::PrepareEditCtrl(int nIDC)
{
    HWND hWndCtrl = PrepareCtrl(nIDC);
    if (hWndCtrl)
        m_bEditLastControl = TRUE;
    return hWndCtrl;
}

void CDataExchange::Fail()
{
    m_bFailed = TRUE;
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl)
{
    if (rControl.m_hWnd)
        return;   // bound by an earlier exchange
    HWND hWndCtrl = pDX->PrepareCtrl(nIDC);
    if (hWndCtrl && !rControl.SubclassWindow(hWndCtrl)) {
        AfxTrace(L"DDX_Control: control %d cannot be bound\n", nIDC);
        pDX->Fail();
    }
}

namespace {

const LPCWSTR RT_DLGINIT_TYPE = MAKEINTRESOURCEW(240);

// Message numbers as resource compilers write them (their 16-bit values), and ours.
const WORD kWin16LbAddString = 0x0401;
const WORD kWin16CbAddString = 0x0403;
const WORD kAfxCbAddString = 0x1234;   // an extended combo box's item

UINT translateInitMessage(WORD nMsg)
{
    switch (nMsg) {
    case kWin16LbAddString: return LB_ADDSTRING;
    case kWin16CbAddString: return CB_ADDSTRING;
    case kAfxCbAddString: return CBEM_INSERTITEMW;
    default: return nMsg;
    }
}

// Sends one record's string (ANSI, at most dwLen bytes, NUL-terminated within them or not) to the
// control. FALSE when the control refused it.
bool addInitString(HWND hDlg, WORD nIDC, UINT nMsg, const BYTE* pData, DWORD dwLen)
{
    int nChars = static_cast<int>(strnlen(reinterpret_cast<const char*>(pData), dwLen));
    std::vector<WCHAR> text(static_cast<size_t>(nChars) + 1, L'\0');
    if (nChars > 0)
        ::MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<const char*>(pData), nChars, text.data(), nChars);
    if (nMsg == CBEM_INSERTITEMW) {
        COMBOBOXEXITEMW item = {};
        item.mask = CBEIF_TEXT;
        item.iItem = -1;
        item.pszText = text.data();
        return ::SendDlgItemMessageW(hDlg, nIDC, nMsg, 0, reinterpret_cast<LPARAM>(&item)) != -1;
    }
    LRESULT r = ::SendDlgItemMessageW(hDlg, nIDC, nMsg, 0, reinterpret_cast<LPARAM>(text.data()));
    return r != CB_ERR && r != CB_ERRSPACE;   // the list box's LB_ERR and LB_ERRSPACE are the same values
}

// Records: control id (WORD, 0 ends), message (WORD), length (DWORD), data. cbLeft bounds the
// walk; a record running past it makes the data invalid.
BOOL executeDlgInit(HWND hDlg, const BYTE* p, size_t cbLeft)
{
    const size_t header = 2 * sizeof(WORD) + sizeof(DWORD);
    while (cbLeft >= sizeof(WORD)) {
        WORD nIDC;
        memcpy(&nIDC, p, sizeof(WORD));
        if (nIDC == 0)
            return TRUE;
        if (cbLeft < header)
            return FALSE;
        WORD nMsg;
        DWORD dwLen;
        memcpy(&nMsg, p + 2, sizeof(WORD));
        memcpy(&dwLen, p + 4, sizeof(DWORD));
        p += header;
        cbLeft -= header;
        if (dwLen > cbLeft)
            return FALSE;
        UINT msg = translateInitMessage(nMsg);
        if ((msg == LB_ADDSTRING || msg == CB_ADDSTRING || msg == CBEM_INSERTITEMW) &&
            !addInitString(hDlg, nIDC, msg, p, dwLen))
            return FALSE;
        p += dwLen;
        cbLeft -= dwLen;
    }
    return TRUE;   // the size ran out before the terminator
}

} // namespace

// A template without list data is fine: TRUE. FALSE when the data is malformed or a control refused
// an entry.
BOOL CWnd::ExecuteDlgInit(LPCWSTR lpszResourceName)
{
    if (!lpszResourceName)
        return TRUE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_DLGINIT_TYPE);
    HRSRC hResource = ::FindResourceW(hInst, lpszResourceName, RT_DLGINIT_TYPE);
    if (!hResource)
        return TRUE;
    HGLOBAL hData = ::LoadResource(hInst, hResource);
    const BYTE* pData = hData ? static_cast<const BYTE*>(::LockResource(hData)) : nullptr;
    if (!pData)
        return FALSE;
    return executeDlgInit(m_hWnd, pData, ::SizeofResource(hInst, hResource));
}

// Data in memory has no known size: the walk ends at the terminating record only.
BOOL CWnd::ExecuteDlgInit(LPVOID lpResource)
{
    if (!lpResource)
        return TRUE;
    return executeDlgInit(m_hWnd, static_cast<const BYTE*>(lpResource), static_cast<size_t>(-1));
}
