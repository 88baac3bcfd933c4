#include "TslButtons.h"

IMPLEMENT_DYNAMIC(TesselButton, AbstractButton)
IMPLEMENT_DYNAMIC(TesselButton2, TesselButton)

BEGIN_MESSAGE_MAP(TesselButton, AbstractButton)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(TesselButton2, TesselButton)
END_MESSAGE_MAP()

TesselButton::TesselButton()
{
    SetPainter(&m_libraryPainter);
}

TesselButton::~TesselButton() = default;

void TesselButton::GetInnerRect(const RECT& rect, RECT& inner)
{
    inner = rect;
    ::InflateRect(&inner, -3, -3);
}

TesselButton2::TesselButton2() = default;
TesselButton2::~TesselButton2() = default;
