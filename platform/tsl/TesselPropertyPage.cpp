#include "TslDialogs.h"
#include "ControlDescription.h"
#include "TslAccessible.h"
#include "TslLook.h"

IMPLEMENT_DYNAMIC(AbstractPropertyPage, CPropertyPage)
IMPLEMENT_DYNAMIC(TesselPropertyPage, AbstractPropertyPage)

BEGIN_MESSAGE_MAP(AbstractPropertyPage, CPropertyPage)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(TesselPropertyPage, AbstractPropertyPage)
END_MESSAGE_MAP()

AbstractPropertyPage::AbstractPropertyPage(UINT nIDTemplate) : CPropertyPage(nIDTemplate) {}

AbstractPropertyPage::~AbstractPropertyPage() = default;

BOOL AbstractPropertyPage::OnInitDialog()
{
    BOOL result = CPropertyPage::OnInitDialog();
    tsl::applyVisualStyleSwitch(m_hWnd);
    tsl::describeControl(m_hWnd);
    TslDescribeControls(m_hWnd);
    return result;
}

void AbstractPropertyPage::OnPaint()
{
    CPaintDC dc(this);
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    tsl::DcStateGuard state(dc.GetSafeHdc());
    m_painter.DrawClient(dc, client);
}

BOOL AbstractPropertyPage::OnEraseBkgnd(CDC* pDC)
{
    (void)pDC;
    return TRUE;   // OnPaint draws the whole page
}

HBRUSH AbstractPropertyPage::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    (void)pWnd;
    return tsl::controlColors(pDC->GetSafeHdc(), nCtlColor, m_bodyBrush, m_fieldBrush);
}

TesselPropertyPage::TesselPropertyPage(UINT nIDTemplate) : AbstractPropertyPage(nIDTemplate) {}

TesselPropertyPage::~TesselPropertyPage() = default;

void TesselPropertyPage::DoDataExchange(CDataExchange* pDX)
{
    AbstractPropertyPage::DoDataExchange(pDX);
}
