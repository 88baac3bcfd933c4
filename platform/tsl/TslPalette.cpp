// The one place where the library chooses its colours: its own palette, or the system's colours
// while Windows' high-contrast mode is on. Painters and controls ask at each paint, so a change of
// mode or scheme shows at the next paint.
#include "TslColors.h"
#include "TslLook.h"

namespace tsl {

namespace {

const Palette kOwnPalette = {
    RGB(215, 221, 224),   // body
    RGB(199, 206, 211),   // panel
    RGB(255, 255, 255),   // field
    RGB(24, 32, 40),      // fieldText
    RGB(142, 150, 158),   // line
    RGB(190, 196, 200),   // lineDisabled
    RGB(24, 32, 40),      // text
    RGB(172, 177, 179),   // textDisabled
    RGB(60, 78, 98),      // slate
    RGB(255, 255, 255),   // slateText
    RGB(30, 42, 54),      // slateLine
    RGB(226, 238, 245),   // hotFace
    RGB(60, 120, 170),    // accent
    RGB(223, 228, 230),   // faceDisabled
    RGB(116, 122, 128),   // captionActive
    RGB(172, 177, 179),   // captionInactive
    RGB(255, 255, 255),   // captionText
    RGB(236, 239, 240),   // captionTextInactive
    RGB(150, 156, 162),   // captionGlyphDisabled
    RGB(84, 92, 100),     // frameLine
    RGB(142, 223, 255),   // captionHot
    RGB(60, 78, 98),      // captionHotGlyph
};

// High contrast: windows, fields and lists in the window colours, dialogs and buttons in the
// button colours, what is selected, pressed or checked in the highlight colours, outlines in the
// text colour, the focus and what is under the mouse in the hot-tracking colour.
Palette systemPalette()
{
    Palette p;
    p.body = ::GetSysColor(COLOR_BTNFACE);
    p.panel = ::GetSysColor(COLOR_BTNFACE);
    p.field = ::GetSysColor(COLOR_WINDOW);
    p.fieldText = ::GetSysColor(COLOR_WINDOWTEXT);
    p.line = ::GetSysColor(COLOR_BTNTEXT);
    p.lineDisabled = ::GetSysColor(COLOR_GRAYTEXT);
    p.text = ::GetSysColor(COLOR_BTNTEXT);
    p.textDisabled = ::GetSysColor(COLOR_GRAYTEXT);
    p.slate = ::GetSysColor(COLOR_HIGHLIGHT);
    p.slateText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    p.slateLine = ::GetSysColor(COLOR_BTNTEXT);
    p.hotFace = ::GetSysColor(COLOR_BTNFACE);
    p.accent = ::GetSysColor(COLOR_HOTLIGHT);
    p.faceDisabled = ::GetSysColor(COLOR_BTNFACE);
    p.captionActive = ::GetSysColor(COLOR_ACTIVECAPTION);
    p.captionInactive = ::GetSysColor(COLOR_INACTIVECAPTION);
    p.captionText = ::GetSysColor(COLOR_CAPTIONTEXT);
    p.captionTextInactive = ::GetSysColor(COLOR_INACTIVECAPTIONTEXT);
    p.captionGlyphDisabled = ::GetSysColor(COLOR_GRAYTEXT);
    p.frameLine = ::GetSysColor(COLOR_WINDOWFRAME);
    p.captionHot = ::GetSysColor(COLOR_HIGHLIGHT);
    p.captionHotGlyph = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
    return p;
}

} // namespace

bool highContrastOn()
{
    HIGHCONTRASTW contrast = {};
    contrast.cbSize = sizeof contrast;
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON);
}

Palette palette()
{
    return highContrastOn() ? systemPalette() : kOwnPalette;
}

HBRUSH solidBrush(CBrush& brush, COLORREF color)
{
    LOGBRUSH held = {};
    HBRUSH handle = static_cast<HBRUSH>(brush.GetSafeHandle());
    if (handle && ::GetObjectW(handle, sizeof held, &held) && held.lbStyle == BS_SOLID && held.lbColor == color)
        return handle;
    brush.DeleteObject();
    brush.CreateSolidBrush(color);
    return static_cast<HBRUSH>(brush.GetSafeHandle());
}

void redrawForNewColors(HWND hWnd)
{
    if (::IsWindow(hWnd))
        ::RedrawWindow(hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_ALLCHILDREN);
}

bool announcesNewColors(UINT message, WPARAM wParam)
{
    switch (message) {
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        return true;
    case WM_SETTINGCHANGE:
        return wParam == SPI_SETHIGHCONTRAST || wParam == SPI_SETNONCLIENTMETRICS || wParam == 0;
    default:
        return false;
    }
}

} // namespace tsl

bool TslHighContrast()
{
    return tsl::highContrastOn();
}

COLORREF TslGetColor(TslColor part)
{
    const tsl::Palette p = tsl::palette();
    switch (part) {
    case TSL_COLOR_BODY: return p.body;
    case TSL_COLOR_PANEL: return p.panel;
    case TSL_COLOR_TEXT: return p.text;
    case TSL_COLOR_FIELD: return p.field;
    case TSL_COLOR_FIELD_TEXT: return p.fieldText;
    case TSL_COLOR_TEXT_DISABLED: return p.textDisabled;
    }
    return p.body;
}

HBRUSH TslSolidBrush(CBrush& brush, COLORREF color)
{
    return tsl::solidBrush(brush, color);
}
