// Owner-drawn buttons showing one of four bitmaps by state.
#include "afxext.h"

IMPLEMENT_DYNAMIC(CBitmapButton, CButton)

CBitmapButton::CBitmapButton() = default;

CBitmapButton::~CBitmapButton() = default;

namespace {

// Loads an optional image: TRUE when none was asked for or it loaded.
BOOL loadOptional(CBitmap& bitmap, LPCWSTR lpszResource)
{
    if (!lpszResource)
        return TRUE;
    if (bitmap.LoadBitmap(lpszResource))
        return TRUE;
    if (IS_INTRESOURCE(lpszResource))
        AfxTrace(L"CBitmapButton: no bitmap %u\n", static_cast<UINT>(reinterpret_cast<UINT_PTR>(lpszResource)));
    else
        AfxTrace(L"CBitmapButton: no bitmap %s\n", lpszResource);
    return FALSE;
}

LPCWSTR resourceOrNull(UINT nID)
{
    return nID ? MAKEINTRESOURCEW(nID) : nullptr;
}

} // namespace

// Replaces the images. FALSE when the normal image is missing (the button then has none) or when
// any other image asked for is missing (the button has the others).
BOOL CBitmapButton::LoadBitmaps(LPCWSTR lpszBitmapResource, LPCWSTR lpszBitmapResourceSel,
                                LPCWSTR lpszBitmapResourceFocus, LPCWSTR lpszBitmapResourceDisabled)
{
    m_bitmap.DeleteObject();
    m_bitmapSel.DeleteObject();
    m_bitmapFocus.DeleteObject();
    m_bitmapDisabled.DeleteObject();
    if (!loadOptional(m_bitmap, lpszBitmapResource) || !m_bitmap.m_hObject)
        return FALSE;
    BOOL allLoaded = loadOptional(m_bitmapSel, lpszBitmapResourceSel);
    allLoaded = loadOptional(m_bitmapFocus, lpszBitmapResourceFocus) && allLoaded;
    allLoaded = loadOptional(m_bitmapDisabled, lpszBitmapResourceDisabled) && allLoaded;
    return allLoaded;
}

BOOL CBitmapButton::LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel,
                                UINT nIDBitmapResourceFocus, UINT nIDBitmapResourceDisabled)
{
    return LoadBitmaps(resourceOrNull(nIDBitmapResource), resourceOrNull(nIDBitmapResourceSel),
                       resourceOrNull(nIDBitmapResourceFocus), resourceOrNull(nIDBitmapResourceDisabled));
}

// Only the normal image ("...U") is required; a button may well have no pressed, focused or
// disabled look of its own.
BOOL CBitmapButton::AutoLoad(UINT nID, CWnd* pParent)
{
    if (!SubclassDlgItem(nID, pParent))
        return FALSE;
    CString name;
    GetWindowText(name);
    if (name.IsEmpty()) {
        AfxTrace(L"CBitmapButton: button %u has no caption to name its bitmaps\n", nID);
        return FALSE;
    }
    LoadBitmaps(name + L"U", name + L"D", name + L"F", name + L"X");
    if (!m_bitmap.m_hObject)
        return FALSE;
    SizeToContent();
    return TRUE;
}

void CBitmapButton::SizeToContent()
{
    BITMAP bm = {};
    if (!m_bitmap.GetBitmap(&bm))
        return;
    SetWindowPos(nullptr, 0, 0, bm.bmWidth, bm.bmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Pressed before focused before disabled; a state without an image of its own shows the normal one.
void CBitmapButton::DrawItem(LPDRAWITEMSTRUCT lpDIS)
{
    if (!lpDIS || !m_bitmap.m_hObject)
        return;
    CBitmap* pBitmap = &m_bitmap;
    UINT state = lpDIS->itemState;
    if ((state & ODS_SELECTED) && m_bitmapSel.m_hObject)
        pBitmap = &m_bitmapSel;
    else if ((state & ODS_FOCUS) && m_bitmapFocus.m_hObject)
        pBitmap = &m_bitmapFocus;
    else if ((state & ODS_DISABLED) && m_bitmapDisabled.m_hObject)
        pBitmap = &m_bitmapDisabled;

    CDC* pDC = CDC::FromHandle(lpDIS->hDC);
    CDC memDC;
    if (!pDC || !memDC.CreateCompatibleDC(pDC))
        return;
    CBitmap* pOld = memDC.SelectObject(pBitmap);
    if (!pOld)
        return;
    const RECT& rc = lpDIS->rcItem;
    pDC->BitBlt(rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, &memDC, 0, 0, SRCCOPY);
    memDC.SelectObject(pOld);
}
