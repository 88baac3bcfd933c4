#include "TslPainters.h"
#include "TslLook.h"

AbstractButtonPainter::AbstractButtonPainter() = default;
AbstractButtonPainter::~AbstractButtonPainter() = default;

void AbstractButtonPainter::drawText(CDC& dc, const RECT& rect, COLORREF color, const CString& caption)
{
    tsl::drawText(dc.GetSafeHdc(), rect, caption, color, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void AbstractButtonPainter::drawDownText(CDC& dc, const RECT& rect, COLORREF color, const CString& caption)
{
    RECT shifted = rect;
    ::OffsetRect(&shifted, 1, 1);
    drawText(dc, shifted, color, caption);
}
