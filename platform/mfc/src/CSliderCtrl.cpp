// Trackbars with full 32-bit ranges: TBM_SETRANGEMIN and TBM_SETRANGEMAX each carry a whole LPARAM,
// where TBM_SETRANGE packs both ends into 16 bits each.
#include "afxcmn.h"

IMPLEMENT_DYNAMIC(CSliderCtrl, CWnd)

CSliderCtrl::CSliderCtrl() = default;

CSliderCtrl::~CSliderCtrl() = default;

BOOL CSliderCtrl::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    return CWnd::Create(TRACKBAR_CLASSW, nullptr, dwStyle, rect, pParentWnd, nID);
}

namespace {

int sendInt(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
{
    return static_cast<int>(::SendMessageW(hWnd, message, wParam, lParam));
}

} // namespace

int CSliderCtrl::GetLineSize() const { return sendInt(m_hWnd, TBM_GETLINESIZE); }
int CSliderCtrl::SetLineSize(int nSize) { return sendInt(m_hWnd, TBM_SETLINESIZE, 0, nSize); }
int CSliderCtrl::GetPageSize() const { return sendInt(m_hWnd, TBM_GETPAGESIZE); }
int CSliderCtrl::SetPageSize(int nSize) { return sendInt(m_hWnd, TBM_SETPAGESIZE, 0, nSize); }
int CSliderCtrl::GetRangeMax() const { return sendInt(m_hWnd, TBM_GETRANGEMAX); }
int CSliderCtrl::GetRangeMin() const { return sendInt(m_hWnd, TBM_GETRANGEMIN); }

void CSliderCtrl::GetRange(int& nMin, int& nMax) const
{
    nMin = GetRangeMin();
    nMax = GetRangeMax();
}

void CSliderCtrl::SetRangeMin(int nMin, BOOL bRedraw) { SendMessage(TBM_SETRANGEMIN, bRedraw, nMin); }
void CSliderCtrl::SetRangeMax(int nMax, BOOL bRedraw) { SendMessage(TBM_SETRANGEMAX, bRedraw, nMax); }

// The end that moves away from the current range goes first, so the range is never inverted on the
// way (2800..6500 after 0..100: the maximum first; -180..180 after 2800..6500: the minimum first).
void CSliderCtrl::SetRange(int nMin, int nMax, BOOL bRedraw)
{
    if (nMin > GetRangeMax()) {
        SetRangeMax(nMax, FALSE);
        SetRangeMin(nMin, bRedraw);
    } else {
        SetRangeMin(nMin, FALSE);
        SetRangeMax(nMax, bRedraw);
    }
}

int CSliderCtrl::GetPos() const { return sendInt(m_hWnd, TBM_GETPOS); }
void CSliderCtrl::SetPos(int nPos) { SendMessage(TBM_SETPOS, TRUE, nPos); }
void CSliderCtrl::SetTicFreq(int nFreq) { SendMessage(TBM_SETTICFREQ, static_cast<WPARAM>(nFreq)); }
void CSliderCtrl::ClearTics(BOOL bRedraw) { SendMessage(TBM_CLEARTICS, bRedraw); }
BOOL CSliderCtrl::SetTic(int nTic) { return SendMessage(TBM_SETTIC, 0, nTic) != 0; }
