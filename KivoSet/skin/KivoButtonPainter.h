// The settings program's button painter: while its skin is enabled each state is drawn from nine
// bitmaps of the data library with the caption over them; otherwise, in high contrast, and for a
// state whose nine bitmaps are not all there, the library's look.
#pragma once

#include "BitmapCache.h"
#include "TslPainters.h"

#include <cstdint>

class KivoButtonPainter : public TesselButtonPainter {
public:
    explicit KivoButtonPainter(const wchar_t* dataLibrary = kSkinDataLibrary);
    ~KivoButtonPainter() override;

    void DrawNormal(CDC& dc, const RECT& rect, const CString& caption) override;
    void DrawDown(CDC& dc, const RECT& rect, const CString& caption) override;
    void DrawHot(CDC& dc, const RECT& rect, const CString& caption) override;
    void DrawDisable(CDC& dc, const RECT& rect, const CString& caption) override;

    // The look changes at the next paint; the caller invalidates the button.
    void enableSkin() { m_skinEnabled = true; }
    void disableSkin() { m_skinEnabled = false; }
    bool isSkinEnabled() const { return m_skinEnabled; }

    CBitmap* getBitmap(uint32_t id) { return m_bitmaps.getBitmap(id); }
    size_t cachedBitmapCount() const { return m_bitmaps.size(); }

private:
    // Draws one state from its nine bitmaps (top-left to bottom-right) and its caption; false, with
    // nothing drawn, when any of the bitmaps is missing.
    bool drawSkinned(CDC& dc, const RECT& rect, const CString& caption, const uint32_t (&ids)[9],
                     bool downText, COLORREF captionColor);

    BitmapCache m_bitmaps;
    bool m_skinEnabled = false;
};
