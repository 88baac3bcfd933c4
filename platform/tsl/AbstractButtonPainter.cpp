#include "TslPainters.h"
#include "TslLook.h"

AbstractButtonPainter::AbstractButtonPainter() = default;
AbstractButtonPainter::~AbstractButtonPainter() = default;

void AbstractButtonPainter::drawText(CDC& dc, const RECT& rect, COLORREF color, const CString& caption)
{
    HDC hdc = dc.GetSafeHdc();
    tsl::DcStateGuard state(hdc);
    ::SetBkMode(hdc, TRANSPARENT);
    ::SetTextColor(hdc, color);
    RECT r = rect;
    ::DrawTextW(hdc, caption, caption.GetLength(), &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void AbstractButtonPainter::drawDownText(CDC& dc, const RECT& rect, COLORREF color, const CString& caption)
{
    RECT shifted = rect;
    ::OffsetRect(&shifted, 1, 1);
    drawText(dc, shifted, color, caption);
}
