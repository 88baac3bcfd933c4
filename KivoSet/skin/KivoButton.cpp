#include "KivoButton.h"

#include <oleacc.h>

BEGIN_MESSAGE_MAP(KivoButton, TesselButton)
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

long KivoButton::AccessibleState() const
{
    return TesselButton::AccessibleState() | (isSkinEnabled() ? STATE_SYSTEM_PRESSED : 0);
}
