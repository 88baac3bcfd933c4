// Device contexts: ownership, saved states, selected objects and text attributes.
#include "GdiMaps.h"

IMPLEMENT_DYNCREATE(CDC, CObject)

CDC::CDC() = default;

CDC::~CDC()
{
    DeleteDC();
}

CDC* PASCAL CDC::FromHandle(HDC hDC)
{
    if (!hDC)
        return nullptr;
    if (CDC* pOwner = AfxDCPermanentMap().Lookup(hDC))
        return pOwner;
    CTempHandleMap<CDC, HDC>& tempMap = AfxTempDCMap();
    if (CDC* pTemp = tempMap.Lookup(hDC))
        return pTemp;
    CDC* pTemp = new CDC;
    pTemp->m_hDC = hDC;
    pTemp->m_hAttribDC = hDC;
    return tempMap.Add(hDC, pTemp);
}

void PASCAL CDC::DeleteTempMap()
{
    AfxTempDCMap().DeleteTemp(AfxGetTempMapKeepDepth());
}

// Takes ownership of hDC; FALSE for a null handle or when this object already owns one.
BOOL CDC::Attach(HDC hDC)
{
    if (!hDC || m_hDC)
        return FALSE;
    m_hDC = hDC;
    m_hAttribDC = hDC;
    AfxDCPermanentMap().Add(hDC, this);
    return TRUE;
}

HDC CDC::Detach()
{
    HDC hDC = m_hDC;
    if (hDC)
        AfxDCPermanentMap().Remove(hDC, this);
    m_hDC = nullptr;
    m_hAttribDC = nullptr;
    return hDC;
}

// A memory context compatible with pDC's device (the screen for null).
BOOL CDC::CreateCompatibleDC(CDC* pDC)
{
    return !m_hDC && Attach(::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr));
}

BOOL CDC::DeleteDC()
{
    HDC hDC = Detach();
    return hDC ? ::DeleteDC(hDC) : FALSE;
}

int CDC::SaveDC() { return ::SaveDC(m_hDC); }
BOOL CDC::RestoreDC(int nSavedDC) { return ::RestoreDC(m_hDC, nSavedDC); }
int CDC::GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hAttribDC, nIndex); }

// Each selection answers the object it replaced (the owner of that handle, or a temporary wrapper),
// so that selecting the answer back restores the context; null when the selection failed.
CGdiObject* CDC::SelectStockObject(int nIndex)
{
    return CGdiObject::FromHandle(SelectObject(::GetStockObject(nIndex)));
}

CGdiObject* CDC::SelectObject(CGdiObject* pObject)
{
    return pObject ? CGdiObject::FromHandle(SelectObject(pObject->m_hObject)) : nullptr;
}

CBrush* CDC::SelectObject(CBrush* pBrush)
{
    return pBrush ? CBrush::FromHandle(static_cast<HBRUSH>(SelectObject(pBrush->m_hObject))) : nullptr;
}

CBitmap* CDC::SelectObject(CBitmap* pBitmap)
{
    return pBitmap ? CBitmap::FromHandle(static_cast<HBITMAP>(SelectObject(pBitmap->m_hObject))) : nullptr;
}

// A region is not selected but made the clipping region: there is no previous object to answer.
HGDIOBJ CDC::SelectObject(HGDIOBJ hObject)
{
    if (!m_hDC || !hObject)
        return nullptr;
    if (::GetObjectType(hObject) == OBJ_REGION) {
        ::SelectClipRgn(m_hDC, static_cast<HRGN>(hObject));
        return nullptr;
    }
    HGDIOBJ hPrevious = ::SelectObject(m_hDC, hObject);
    return hPrevious == HGDI_ERROR ? nullptr : hPrevious;
}

COLORREF CDC::GetBkColor() const { return ::GetBkColor(m_hAttribDC); }
COLORREF CDC::SetBkColor(COLORREF crColor) { return ::SetBkColor(m_hDC, crColor); }
int CDC::GetBkMode() const { return ::GetBkMode(m_hAttribDC); }
int CDC::SetBkMode(int nBkMode) { return ::SetBkMode(m_hDC, nBkMode); }
COLORREF CDC::GetTextColor() const { return ::GetTextColor(m_hAttribDC); }
COLORREF CDC::SetTextColor(COLORREF crColor) { return ::SetTextColor(m_hDC, crColor); }
int CDC::SetStretchBltMode(int nStretchMode) { return ::SetStretchBltMode(m_hDC, nStretchMode); }
