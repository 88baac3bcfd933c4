// The settings program's dialog painter: the library's look, except the caption's help button,
// drawn from the data library's glyph bitmaps on a fill colour per state (the library's own in high
// contrast).
#pragma once

#include "BitmapCache.h"
#include "TslPainters.h"

#include <cstdint>

class KivoDialogPainter : public TesselDialogPainter {
public:
    explicit KivoDialogPainter(const wchar_t* dataLibrary = kSkinDataLibrary);
    ~KivoDialogPainter() override;

    // hot, pressed and disabled as the library passes them; the first that is set decides.
    void DrawHelpButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) override;

    CBitmap* getBitmap(uint32_t id) { return m_bitmaps.getBitmap(id); }
    size_t cachedBitmapCount() const { return m_bitmaps.size(); }

private:
    BitmapCache m_bitmaps;
};
