// Combo boxes: the list's items, the selection and the drop-down.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

CComboBox::CComboBox() = default;

CComboBox::~CComboBox() = default;

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    return CWnd::Create(L"COMBOBOX", nullptr, dwStyle, rect, pParentWnd, nID);
}

namespace {

int sendInt(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return static_cast<int>(::SendMessageW(hWnd, message, wParam, lParam));
}

} // namespace

int CComboBox::GetCount() const { return sendInt(m_hWnd, CB_GETCOUNT); }
int CComboBox::GetCurSel() const { return sendInt(m_hWnd, CB_GETCURSEL); }

// CB_ERR when nSelect is out of range; -1 clears the selection (and answers CB_ERR too).
int CComboBox::SetCurSel(int nSelect) { return sendInt(m_hWnd, CB_SETCURSEL, static_cast<WPARAM>(nSelect)); }

int CComboBox::GetLBTextLen(int nIndex) const { return sendInt(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)); }

// lpszText must hold GetLBTextLen(nIndex) + 1 characters.
int CComboBox::GetLBText(int nIndex, LPWSTR lpszText) const
{
    return sendInt(m_hWnd, CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText));
}

// Empty for an index out of range.
void CComboBox::GetLBText(int nIndex, CString& rString) const
{
    int nLength = GetLBTextLen(nIndex);
    if (nLength == CB_ERR) {
        rString.Empty();
        return;
    }
    int nCopied = GetLBText(nIndex, rString.GetBuffer(nLength + 1));
    rString.ReleaseBuffer(nCopied == CB_ERR ? 0 : nCopied);
}

int CComboBox::AddString(LPCWSTR lpszString)
{
    return sendInt(m_hWnd, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString));
}

int CComboBox::InsertString(int nIndex, LPCWSTR lpszString)
{
    return sendInt(m_hWnd, CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszString));
}

int CComboBox::DeleteString(UINT nIndex) { return sendInt(m_hWnd, CB_DELETESTRING, nIndex); }
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }

int CComboBox::FindStringExact(int nIndexStart, LPCWSTR lpszFind) const
{
    return sendInt(m_hWnd, CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart), reinterpret_cast<LPARAM>(lpszFind));
}

int CComboBox::SelectString(int nStartAfter, LPCWSTR lpszString)
{
    return sendInt(m_hWnd, CB_SELECTSTRING, static_cast<WPARAM>(nStartAfter), reinterpret_cast<LPARAM>(lpszString));
}

DWORD_PTR CComboBox::GetItemData(int nIndex) const
{
    return static_cast<DWORD_PTR>(::SendMessageW(m_hWnd, CB_GETITEMDATA, static_cast<WPARAM>(nIndex), 0));
}

int CComboBox::SetItemData(int nIndex, DWORD_PTR dwItemData)
{
    return sendInt(m_hWnd, CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData));
}

void CComboBox::ShowDropDown(BOOL bShowIt) { SendMessage(CB_SHOWDROPDOWN, bShowIt); }
BOOL CComboBox::GetDroppedState() const { return sendInt(m_hWnd, CB_GETDROPPEDSTATE) != 0; }
