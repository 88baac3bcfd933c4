#include "AboutDlg.h"

#include "resource.h"

IMPLEMENT_DYNAMIC(CAboutDlg, TesselDialog)

BEGIN_MESSAGE_MAP(CAboutDlg, TesselDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent) : TesselDialog(IDD_ABOUTBOX, pParent)
{
}

CAboutDlg::~CAboutDlg() = default;

// Centred over the panel that opened it (or the screen when the panel is hidden), not at the
// panel's corner where a dialog without a place of its own would open.
BOOL CAboutDlg::OnInitDialog()
{
    BOOL result = AbstractDialog::OnInitDialog();
    CenterWindow(nullptr);
    return result;
}

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    TesselDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_okButton);
}
