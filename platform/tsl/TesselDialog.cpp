#include "TslDialogs.h"
#include "TslLook.h"

IMPLEMENT_DYNAMIC(TesselDialog, AbstractDialog)
IMPLEMENT_DYNAMIC(TesselDialog2, TesselDialog)

BEGIN_MESSAGE_MAP(TesselDialog, AbstractDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(TesselDialog2, TesselDialog)
END_MESSAGE_MAP()

TesselDialog::TesselDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : AbstractDialog(nIDTemplate, pParentWnd)
{
    SetPainter(&m_libraryPainter);
}

TesselDialog::~TesselDialog() = default;

void TesselDialog::DoDataExchange(CDataExchange* pDX)
{
    AbstractDialog::DoDataExchange(pDX);
}

HBRUSH TesselDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    (void)pWnd;
    return tsl::controlColors(pDC->GetSafeHdc(), nCtlColor, m_bodyBrush, m_fieldBrush);
}

TesselDialog2::TesselDialog2(UINT nIDTemplate, CWnd* pParentWnd)
    : TesselDialog(nIDTemplate, pParentWnd)
{
}

TesselDialog2::~TesselDialog2() = default;

void TesselDialog2::DoDataExchange(CDataExchange* pDX)
{
    TesselDialog::DoDataExchange(pDX);
}
