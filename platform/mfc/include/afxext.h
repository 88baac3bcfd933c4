// Extended controls: the bitmap button (src/CBitmapButton.cpp).
#pragma once

#include "afxwin.h"

// An owner-drawn push button that shows one of up to four bitmaps: normal, selected (pressed),
// focused and disabled.
class KIVOAFX_API CBitmapButton : public CButton {
    DECLARE_DYNAMIC(CBitmapButton)
public:
    CBitmapButton();
    ~CBitmapButton() override;

    // Bitmaps from the module that holds them (AfxFindResourceHandle with RT_BITMAP); the first is
    // required.
    BOOL LoadBitmaps(LPCWSTR lpszBitmapResource, LPCWSTR lpszBitmapResourceSel = nullptr,
                     LPCWSTR lpszBitmapResourceFocus = nullptr,
                     LPCWSTR lpszBitmapResourceDisabled = nullptr);
    BOOL LoadBitmaps(UINT nIDBitmapResource, UINT nIDBitmapResourceSel = 0,
                     UINT nIDBitmapResourceFocus = 0, UINT nIDBitmapResourceDisabled = 0);
    // Binds button nID of pParent, loads the bitmaps named after its caption with "U", "D", "F" and
    // "X" appended (normal, pressed, focused, disabled) and sizes the button to the first.
    BOOL AutoLoad(UINT nID, CWnd* pParent);
    // Sizes the button to its normal bitmap.
    void SizeToContent();

    void DrawItem(LPDRAWITEMSTRUCT lpDIS) override;

protected:
    CBitmap m_bitmap;
    CBitmap m_bitmapSel;
    CBitmap m_bitmapFocus;
    CBitmap m_bitmapDisabled;
};
