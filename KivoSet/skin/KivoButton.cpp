#include "KivoButton.h"

BEGIN_MESSAGE_MAP(KivoButton, TesselButton)
    ON_WM_MOUSEMOVE()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeave)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_PAINT()
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_SETFOCUS()
    ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

KivoButton::KivoButton()
{
    SetPainter(&m_painter);
}

KivoButton::~KivoButton() = default;

void KivoButton::GetInnerRect(const RECT& rect, RECT& inner)
{
    inner = rect;
    ::InflateRect(&inner, -2, -2);
}
