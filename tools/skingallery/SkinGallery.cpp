// A window of every skinned control in every state, the caption's buttons, and (with --message)
// a message box over it: what the skin looks like, for screenshots.
//
//   SkinGallery.exe [--message | --sheet] [--seconds N]   ends by itself after N seconds (default 30)
#include "GalleryIds.h"
#include "KivoButton.h"
#include "KivoDialogPainter.h"
#include "Tsl.h"

#include <commctrl.h>

#include <cwchar>

namespace {

const UINT WM_SHOW_MESSAGE = WM_APP + 1;
const UINT WM_SHOW_SHEET = WM_APP + 2;
const UINT_PTR kEndTimer = 1;

// Buttons that stay hot although the mouse is elsewhere, to show that state.
class PinnedHotButton : public TesselButton {
protected:
    afx_msg LRESULT OnMouseLeaveIgnored(WPARAM, LPARAM) { return 0; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PinnedHotButton, TesselButton)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveIgnored)
END_MESSAGE_MAP()

class PinnedHotKivoButton : public KivoButton {
protected:
    afx_msg LRESULT OnMouseLeaveIgnored(WPARAM, LPARAM) { return 0; }
    DECLARE_MESSAGE_MAP()
};
BEGIN_MESSAGE_MAP(PinnedHotKivoButton, KivoButton)
    ON_MESSAGE(WM_MOUSELEAVE, OnMouseLeaveIgnored)
END_MESSAGE_MAP()

// A property page like the settings program's: slider, number box, check box, push button.
class GalleryPage : public TesselPropertyPage {
public:
    GalleryPage() : TesselPropertyPage(IDD_GALLERY_PAGE) {}

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        TesselPropertyPage::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_PAGE_SLIDER, m_slider);
        DDX_Control(pDX, IDC_PAGE_NUMBER, m_number);
        DDX_Control(pDX, IDC_PAGE_CHECK, m_check);
        DDX_Control(pDX, IDC_PAGE_DEFAULTS, m_defaults);
    }
    BOOL OnInitDialog() override
    {
        TesselPropertyPage::OnInitDialog();
        m_slider.SendMessage(TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        m_slider.SendMessage(TBM_SETTICFREQ, 10);
        m_slider.SendMessage(TBM_SETPOS, TRUE, 64);
        m_number.SetWindowText(L"64");
        m_check.SetCheck(BST_CHECKED);
        return TRUE;
    }

private:
    TesselSliderCtrl m_slider;
    TesselEdit2 m_number;
    TesselCheckBox m_check;
    TesselButton m_defaults;
};

enum class Extra { None, Message, Sheet };

class GalleryDialog : public TesselDialog {
public:
    GalleryDialog(Extra extra, UINT seconds)
        : TesselDialog(IDD_GALLERY), m_extra(extra), m_seconds(seconds)
    {
        SetPainter(&m_painter);
        m_panelBrush.CreateSolidBrush(RGB(199, 206, 211));
    }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void PostNcDestroy() override
    {
        ::PostQuitMessage(0);
        delete this;
    }
    void OnOK() override { DestroyWindow(); }
    void OnCancel() override { DestroyWindow(); }

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg LRESULT OnShowMessage(WPARAM, LPARAM);
    afx_msg LRESULT OnShowSheet(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

private:
    void showStates();

    KivoDialogPainter m_painter;
    TesselButton m_normal, m_pressed, m_disabled, m_focused;
    PinnedHotButton m_hot;
    KivoButton m_dirNormal, m_dirPressed, m_dirDisabled, m_dirPlain;
    PinnedHotKivoButton m_dirHot;
    TesselCheckBox m_checkOff, m_checkOn, m_checkDisabled;
    TesselGroupBox2 m_group;
    TesselRadioButton m_radioFront, m_radioRear, m_radioDisabled;
    TesselSliderCtrl m_slider, m_sliderDisabled;
    TesselEdit2 m_number, m_numberDisabled;
    TesselComboBox m_zoom, m_zoomDisabled;
    TesselStatic m_panelLabel;
    TesselButton2 m_ok, m_cancel;
    CBrush m_panelBrush;
    Extra m_extra;
    UINT m_seconds;
};

BEGIN_MESSAGE_MAP(GalleryDialog, TesselDialog)
    ON_WM_CTLCOLOR()
    ON_WM_TIMER()
    ON_MESSAGE(WM_SHOW_MESSAGE, OnShowMessage)
    ON_MESSAGE(WM_SHOW_SHEET, OnShowSheet)
END_MESSAGE_MAP()

void GalleryDialog::DoDataExchange(CDataExchange* pDX)
{
    TesselDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_BTN_NORMAL, m_normal);
    DDX_Control(pDX, IDC_BTN_HOT, m_hot);
    DDX_Control(pDX, IDC_BTN_PRESSED, m_pressed);
    DDX_Control(pDX, IDC_BTN_DISABLED, m_disabled);
    DDX_Control(pDX, IDC_BTN_FOCUSED, m_focused);
    DDX_Control(pDX, IDC_DIR_NORMAL, m_dirNormal);
    DDX_Control(pDX, IDC_DIR_HOT, m_dirHot);
    DDX_Control(pDX, IDC_DIR_PRESSED, m_dirPressed);
    DDX_Control(pDX, IDC_DIR_DISABLED, m_dirDisabled);
    DDX_Control(pDX, IDC_DIR_PLAIN, m_dirPlain);
    DDX_Control(pDX, IDC_CHECK_OFF, m_checkOff);
    DDX_Control(pDX, IDC_CHECK_ON, m_checkOn);
    DDX_Control(pDX, IDC_CHECK_DISABLED, m_checkDisabled);
    DDX_Control(pDX, IDC_GROUP, m_group);
    DDX_Control(pDX, IDC_RADIO_FRONT, m_radioFront);
    DDX_Control(pDX, IDC_RADIO_REAR, m_radioRear);
    DDX_Control(pDX, IDC_RADIO_DISABLED, m_radioDisabled);
    DDX_Control(pDX, IDC_SLIDER, m_slider);
    DDX_Control(pDX, IDC_SLIDER_DISABLED, m_sliderDisabled);
    DDX_Control(pDX, IDC_NUMBER, m_number);
    DDX_Control(pDX, IDC_NUMBER_DISABLED, m_numberDisabled);
    DDX_Control(pDX, IDC_ZOOM, m_zoom);
    DDX_Control(pDX, IDC_ZOOM_DISABLED, m_zoomDisabled);
    DDX_Control(pDX, IDC_PANEL_LABEL, m_panelLabel);
    DDX_Control(pDX, IDOK, m_ok);
    DDX_Control(pDX, IDCANCEL, m_cancel);
}

BOOL GalleryDialog::OnInitDialog()
{
    TesselDialog::OnInitDialog();
    showStates();
    SetTimer(kEndTimer, m_seconds * 1000);
    if (m_extra == Extra::Message)
        PostMessage(WM_SHOW_MESSAGE);
    else if (m_extra == Extra::Sheet)
        PostMessage(WM_SHOW_SHEET);
    return FALSE;   // the focus is set
}

void GalleryDialog::showStates()
{
    for (KivoButton* b : {static_cast<KivoButton*>(&m_dirNormal), static_cast<KivoButton*>(&m_dirHot),
                          &m_dirPressed, &m_dirDisabled})
        b->enableSkin();
    m_hot.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    m_dirHot.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(4, 4));
    m_pressed.SetState(TRUE);
    m_dirPressed.SetState(TRUE);
    m_disabled.EnableWindow(FALSE);
    m_dirDisabled.EnableWindow(FALSE);
    m_checkOn.SetCheck(BST_CHECKED);
    m_checkDisabled.SetCheck(BST_CHECKED);
    m_checkDisabled.EnableWindow(FALSE);
    m_radioFront.SetCheck(BST_CHECKED);
    m_radioDisabled.EnableWindow(FALSE);
    for (TesselSliderCtrl* s : {&m_slider, &m_sliderDisabled}) {
        s->SendMessage(TBM_SETRANGE, TRUE, MAKELPARAM(0, 100));
        s->SendMessage(TBM_SETTICFREQ, 10);
        s->SendMessage(TBM_SETPOS, TRUE, 50);
    }
    m_sliderDisabled.SendMessage(TBM_SETPOS, TRUE, 30);
    m_number.SetWindowText(L"50");
    m_numberDisabled.SetWindowText(L"30");
    for (TesselComboBox* c : {&m_zoom, &m_zoomDisabled}) {
        c->AddString(L"Off");
        c->AddString(L"Zoom 1.5x");
        c->AddString(L"Zoom 2x");
        c->SetCurSel(1);
    }
    GotoDlgCtrl(&m_focused);
    SendMessage(WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS | UISF_HIDEACCEL));
}

HBRUSH GalleryDialog::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = TesselDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    int id = pWnd ? pWnd->GetDlgCtrlID() : 0;
    if (nCtlColor == CTLCOLOR_STATIC && (id == IDC_PANEL || id == IDC_PANEL_LABEL)) {
        pDC->SetBkColor(RGB(199, 206, 211));
        return m_panelBrush;
    }
    return brush;
}

void GalleryDialog::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == kEndTimer)
        ::PostQuitMessage(0);   // also ends the message box's loop when it is up
}

LRESULT GalleryDialog::OnShowMessage(WPARAM, LPARAM)
{
    TesselMessageBox(L"The camera settings could not be changed.\nTry again after the camera is closed.",
                     L"Kivo", MB_YESNOCANCEL | MB_ICONEXCLAMATION, this);
    return 0;
}

LRESULT GalleryDialog::OnShowSheet(WPARAM, LPARAM)
{
    TesselPropertySheet sheet(IDS_GALLERY_SHEET, this, 0);
    GalleryPage page;
    sheet.AddPage(&page);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    sheet.DoModal();
    return 0;
}

class GalleryApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        Extra extra = Extra::None;
        UINT seconds = 30;
        int argc = 0;
        LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
        for (int i = 1; argv && i < argc; ++i) {
            if (std::wcscmp(argv[i], L"--message") == 0)
                extra = Extra::Message;
            else if (std::wcscmp(argv[i], L"--sheet") == 0)
                extra = Extra::Sheet;
            else if (std::wcscmp(argv[i], L"--seconds") == 0 && i + 1 < argc)
                seconds = static_cast<UINT>(std::wcstoul(argv[++i], nullptr, 10));
        }
        ::LocalFree(argv);
        if (seconds == 0 || seconds > 3600)
            seconds = 30;
        TesselAPI::EnableLuna(false);
        auto* dialog = new GalleryDialog(extra, seconds);
        if (!dialog->Create(IDD_GALLERY, nullptr)) {
            delete dialog;
            return FALSE;
        }
        m_pMainWnd = dialog;
        dialog->SetWindowPos(nullptr, 60, 60, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        return TRUE;
    }
};

GalleryApp theApp;

} // namespace
