// The GDI wrappers' handle maps and their idle cleanup.
#include "GdiMaps.h"

namespace {

template <class TObject>
void releaseTempGdiObject(TObject* pObject)
{
    pObject->m_hObject = nullptr;   // a temporary wrapper never deletes the object it was lent
}

void releaseTempDC(CDC* pDC)
{
    pDC->m_hDC = nullptr;           // nor the context
    pDC->m_hAttribDC = nullptr;
}

} // namespace

CPermanentHandleMap<CGdiObject, HGDIOBJ>& AfxGdiObjectPermanentMap()
{
    static CPermanentHandleMap<CGdiObject, HGDIOBJ> map;
    return map;
}

CPermanentHandleMap<CDC, HDC>& AfxDCPermanentMap()
{
    static CPermanentHandleMap<CDC, HDC> map;
    return map;
}

CTempHandleMap<CGdiObject, HGDIOBJ>& AfxTempGdiObjectMap()
{
    thread_local CTempHandleMap<CGdiObject, HGDIOBJ> map(releaseTempGdiObject<CGdiObject>);
    return map;
}

CTempHandleMap<CBrush, HBRUSH>& AfxTempBrushMap()
{
    thread_local CTempHandleMap<CBrush, HBRUSH> map(releaseTempGdiObject<CBrush>);
    return map;
}

CTempHandleMap<CBitmap, HBITMAP>& AfxTempBitmapMap()
{
    thread_local CTempHandleMap<CBitmap, HBITMAP> map(releaseTempGdiObject<CBitmap>);
    return map;
}

CTempHandleMap<CDC, HDC>& AfxTempDCMap()
{
    thread_local CTempHandleMap<CDC, HDC> map(releaseTempDC);
    return map;
}

void AfxDeleteTempGdiMaps()
{
    CGdiObject::DeleteTempMap();
    CDC::DeleteTempMap();
}
