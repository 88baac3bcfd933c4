// Bitmaps: loaded from the module that holds them, or created.
#include "GdiMaps.h"

IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)

CBitmap* PASCAL CBitmap::FromHandle(HBITMAP hBitmap)
{
    return AfxGdiObjectFromHandle(hBitmap, AfxTempBitmapMap());
}

CBitmap::CBitmap() = default;

CBitmap::~CBitmap() = default;

// Each Load... and Create... fails, creating nothing, while the object still owns a bitmap.
BOOL CBitmap::LoadBitmap(LPCWSTR lpszResourceName)
{
    if (m_hObject || !lpszResourceName)
        return FALSE;
    HINSTANCE hInst = AfxFindResourceHandle(lpszResourceName, RT_BITMAP);
    return Attach(::LoadBitmapW(hInst, lpszResourceName));
}

BOOL CBitmap::LoadBitmap(UINT nIDResource)
{
    return LoadBitmap(MAKEINTRESOURCEW(nIDResource));
}

BOOL CBitmap::LoadOEMBitmap(UINT nIDBitmap)
{
    return !m_hObject && Attach(::LoadBitmapW(nullptr, MAKEINTRESOURCEW(nIDBitmap)));
}

BOOL CBitmap::CreateBitmap(int nWidth, int nHeight, UINT nPlanes, UINT nBitcount, const void* lpBits)
{
    return !m_hObject && Attach(::CreateBitmap(nWidth, nHeight, nPlanes, nBitcount, lpBits));
}

BOOL CBitmap::CreateBitmapIndirect(LPBITMAP lpBitmap)
{
    return !m_hObject && lpBitmap && Attach(::CreateBitmapIndirect(lpBitmap));
}

// Compatible with the context's device (a screen context: the screen's colour format).
BOOL CBitmap::CreateCompatibleBitmap(CDC* pDC, int nWidth, int nHeight)
{
    return !m_hObject && pDC && pDC->m_hDC &&
           Attach(::CreateCompatibleBitmap(pDC->m_hDC, nWidth, nHeight));
}

int CBitmap::GetBitmap(BITMAP* pBitMap)
{
    return GetObject(sizeof(BITMAP), pBitMap);
}
