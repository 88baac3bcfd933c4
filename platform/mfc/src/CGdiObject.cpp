// GDI objects that own their handle (Attach) or borrow it (FromHandle).
#include "GdiMaps.h"

IMPLEMENT_DYNCREATE(CGdiObject, CObject)

CGdiObject::CGdiObject() = default;

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return AfxGdiObjectFromHandle(hObject, AfxTempGdiObjectMap());
}

void PASCAL CGdiObject::DeleteTempMap()
{
    int keepDepth = AfxGetTempMapKeepDepth();
    AfxTempGdiObjectMap().DeleteTemp(keepDepth);
    AfxTempBrushMap().DeleteTemp(keepDepth);
    AfxTempBitmapMap().DeleteTemp(keepDepth);
}

// Takes ownership of hObject; FALSE for a null handle or when this object already owns one.
BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    if (!hObject || m_hObject)
        return FALSE;
    m_hObject = hObject;
    AfxGdiObjectPermanentMap().Add(hObject, this);
    return TRUE;
}

HGDIOBJ CGdiObject::Detach()
{
    HGDIOBJ hObject = m_hObject;
    if (hObject)
        AfxGdiObjectPermanentMap().Remove(hObject, this);
    m_hObject = nullptr;
    return hObject;
}

BOOL CGdiObject::DeleteObject()
{
    HGDIOBJ hObject = Detach();
    return hObject ? ::DeleteObject(hObject) : FALSE;
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return m_hObject ? ::GetObjectW(m_hObject, nCount, lpObject) : 0;
}

UINT CGdiObject::GetObjectType() const
{
    return m_hObject ? static_cast<UINT>(::GetObjectType(m_hObject)) : 0;
}

BOOL CGdiObject::CreateStockObject(int nIndex)
{
    return !m_hObject && Attach(::GetStockObject(nIndex));
}

BOOL CGdiObject::UnrealizeObject()
{
    return m_hObject && ::UnrealizeObject(m_hObject);
}
