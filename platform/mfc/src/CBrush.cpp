// Brushes. The constructors that take a colour, hatch or pattern create the brush; the object is
// left without one when that fails (GetSafeHandle() is null).
#include "GdiMaps.h"

IMPLEMENT_DYNAMIC(CBrush, CGdiObject)

CBrush* PASCAL CBrush::FromHandle(HBRUSH hBrush)
{
    return AfxGdiObjectFromHandle(hBrush, AfxTempBrushMap());
}

CBrush::CBrush() = default;

CBrush::CBrush(COLORREF crColor)
{
    CreateSolidBrush(crColor);
}

CBrush::CBrush(int nIndex, COLORREF crColor)
{
    CreateHatchBrush(nIndex, crColor);
}

CBrush::CBrush(CBitmap* pBitmap)
{
    CreatePatternBrush(pBitmap);
}

CBrush::~CBrush() = default;

// Each Create... fails, creating nothing, while the object still owns a brush.
BOOL CBrush::CreateSolidBrush(COLORREF crColor)
{
    return !m_hObject && Attach(::CreateSolidBrush(crColor));
}

BOOL CBrush::CreateHatchBrush(int nIndex, COLORREF crColor)
{
    return !m_hObject && Attach(::CreateHatchBrush(nIndex, crColor));
}

BOOL CBrush::CreatePatternBrush(CBitmap* pBitmap)
{
    return !m_hObject && pBitmap && pBitmap->m_hObject &&
           Attach(::CreatePatternBrush(static_cast<HBITMAP>(pBitmap->m_hObject)));
}

// The system's colour brushes belong to the system; deleting one later does nothing.
BOOL CBrush::CreateSysColorBrush(int nIndex)
{
    return !m_hObject && Attach(::GetSysColorBrush(nIndex));
}

int CBrush::GetLogBrush(LOGBRUSH* pLogBrush)
{
    return GetObject(sizeof(LOGBRUSH), pLogBrush);
}
