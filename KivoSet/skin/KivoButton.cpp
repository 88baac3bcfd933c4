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

void KivoButton::setSkinEnabled(bool enabled)
{
    if (m_painter.isSkinEnabled() == enabled)
        return;
    if (enabled)
        m_painter.enableSkin();
    else
        m_painter.disableSkin();
    if (m_hWnd)
        NotifyWinEvent(EVENT_OBJECT_STATECHANGE, m_hWnd, OBJID_CLIENT, CHILDID_SELF);
}

long KivoButton::AccessibleState() const
{
    return TesselButton::AccessibleState() | (isSkinEnabled() ? STATE_SYSTEM_PRESSED : 0);
}
