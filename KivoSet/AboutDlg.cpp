#include "AboutDlg.h"

#include "resource.h"

IMPLEMENT_DYNAMIC(CAboutDlg, TesselDialog)

BEGIN_MESSAGE_MAP(CAboutDlg, TesselDialog)
END_MESSAGE_MAP()

CAboutDlg::CAboutDlg(CWnd* pParent) : TesselDialog(IDD_ABOUTBOX, pParent)
{
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::DoDataExchange(CDataExchange* pDX)
{
    TesselDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_okButton);
}
