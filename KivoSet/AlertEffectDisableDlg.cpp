#include "AlertEffectDisableDlg.h"

#include "AccessibleName.h"
#include "KivoLib.h"
#include "KivoNames.h"
#include "resource.h"

IMPLEMENT_DYNAMIC(AlertEffectDisableDlg, TesselDialog)

BEGIN_MESSAGE_MAP(AlertEffectDisableDlg, WholeRepaint<TesselDialog>)
    ON_WM_DESTROY()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

AlertEffectDisableDlg::AlertEffectDisableDlg(CWnd* pParent) : WholeRepaint(IDD_ALERT_EFFECT_DISABLE, pParent)
{
}

AlertEffectDisableDlg::~AlertEffectDisableDlg() = default;

void AlertEffectDisableDlg::DoDataExchange(CDataExchange* pDX)
{
    TesselDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_okButton);
    DDX_Control(pDX, IDC_EFFECT_DISABLE_TEXT, m_text);
    DDX_Control(pDX, IDC_EFFECT_DISABLE_NO_MORE, m_noMoreCheck);
}

BOOL AlertEffectDisableDlg::OnInitDialog()
{
    AbstractDialog::OnInitDialog();
    m_icon.setOn(m_hWnd);
    nameForScreenReaders(::GetDlgItem(m_hWnd, -1), IDS_PRODUCT_NAME);   // the product's icon
    CenterWindow(nullptr);
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    CString caption;
    caption.LoadString(IDS_PRODUCT_NAME);
    SetWindowText(caption);
    UpdateData(FALSE);
    return TRUE;
}

void AlertEffectDisableDlg::OnOK()
{
    if (m_noMoreCheck.GetCheck() != BST_UNCHECKED) {
        KivoRegKey key;
        if (key.Create(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
            key.Write(KIVO_VALUE_NO_DISP_ALERT_EFFECT, DWORD(1));
            key.Close();
        }
    }
    TesselDialog::OnOK();
}

void AlertEffectDisableDlg::OnDestroy()
{
    TesselDialog::OnDestroy();
}
