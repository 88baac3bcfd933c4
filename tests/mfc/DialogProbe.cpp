// A program of the framework with dialogs and a property sheet, started by the tests with one mode
// on its command line. It writes what happens to the file named by KIVO_PROBE_OUT.
#include "afxdlgs.h"
#include "afxwin.h"

#include "ProbeIds.h"
#include "ProbeRecord.h"

#include <cstdio>
#include <string>

namespace {

const UINT WM_PROBE_RUN = WM_APP + 1;     // run the mode's dialogs
const UINT WM_PROBE_CLOSE = WM_APP + 2;   // the main window destroys itself (the camera went away)
const UINT WM_PROBE_BATCH = WM_APP + 3;   // one batch of dialog cycles; wParam: the batch's number
const UINT WM_PROBE_NESTED = WM_APP + 4;  // a page opens a modal dialog over the sheet
const int kCyclesPerBatch = 100;

using probe::record;

std::wstring g_mode;

// Ends itself through its own loop: a click on OK posted at start.
class SelfClosingDialog : public CDialog {
public:
    SelfClosingDialog() : CDialog(IDD_PROBE_MODAL) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }
};

class ProbeModal : public CDialog {
public:
    ProbeModal() : CDialog(IDD_PROBE_MODAL) {}
    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        if (g_mode == L"/quit")
            PostQuitMessage(3);
        else if (g_mode == L"/owner-destroyed" || g_mode == L"/nested-owner-destroyed")
            AfxGetMainWnd()->PostMessage(WM_PROBE_CLOSE);
        else if (g_mode == L"/show")
            CenterWindow();
        return TRUE;
    }
};

class ProbePage : public CPropertyPage {
public:
    ProbePage(UINT nIDTemplate, const char* name) : CPropertyPage(nIDTemplate), m_name(name) {}
    BOOL OnInitDialog() override
    {
        record(m_name + " OnInitDialog");
        BOOL result = CPropertyPage::OnInitDialog();
        if (g_mode == L"/sheet-owner-destroyed")
            AfxGetMainWnd()->PostMessage(WM_PROBE_CLOSE);
        else if (g_mode == L"/nested-owner-destroyed")
            PostMessage(WM_PROBE_NESTED);
        else if (g_mode == L"/cycles")
            ::PostMessageW(::GetParent(m_hWnd), PSM_PRESSBUTTON, PSBTN_OK, 0);
        return result;
    }
    void OnOK() override { record(m_name + " OnOK"); }
    void OnCancel() override { record(m_name + " OnCancel"); }

protected:
    // A modal dialog over the sheet, from a page's handler: two modal loops, one inside the other.
    afx_msg LRESULT OnNested(WPARAM, LPARAM)
    {
        ProbeModal modal;
        record("inner DoModal " + std::to_string(modal.DoModal()));
        return 0;
    }
    DECLARE_MESSAGE_MAP()

private:
    std::string m_name;
};

BEGIN_MESSAGE_MAP(ProbePage, CPropertyPage)
    ON_MESSAGE(WM_PROBE_NESTED, OnNested)
END_MESSAGE_MAP()

class ProbePanel : public CDialog {
public:
    ProbePanel() : CDialog(IDD_PROBE_PANEL) {}
    CWnd m_zoom;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_PROBE_ZOOM, m_zoom);
    }
};

INT_PTR runSheet()
{
    ProbePage first(IDD_PROBE_PAGE1, "first");
    ProbePage second(IDD_PROBE_PAGE2, "second");
    CPropertySheet sheet(IDS_PROBE_SHEET);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    return sheet.DoModal();
}

// One cycle of everything the dialog side creates: a modeless panel with list data, a modal dialog
// and a property sheet, each ending by itself.
bool runCycle()
{
    ProbePanel panel;
    if (!panel.Create(IDD_PROBE_PANEL) || !panel.DestroyWindow())
        return false;
    SelfClosingDialog modal;
    if (modal.DoModal() != IDOK)
        return false;
    ProbePage first(IDD_PROBE_PAGE1, "cycle");
    CPropertySheet sheet(IDS_PROBE_SHEET);
    sheet.AddPage(&first);
    return sheet.DoModal() == IDOK;
}

class ProbeMain : public CFrameWnd {
public:
    // Like the settings panel, the main window swallows Escape; a modal dialog's Escape must never
    // come here.
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE) {
            record("main window took Escape");
            return TRUE;
        }
        return CFrameWnd::PreTranslateMessage(pMsg);
    }

protected:
    afx_msg LRESULT OnRun(WPARAM, LPARAM)
    {
        INT_PTR result;
        if (g_mode == L"/show") {
            m_panel.Create(IDD_PROBE_PANEL, this);
            m_panel.ShowWindow(SW_SHOWNORMAL);
            ProbeModal modal;
            result = modal.DoModal();
        } else if (g_mode == L"/sheet" || g_mode == L"/sheet-owner-destroyed" ||
                   g_mode == L"/nested-owner-destroyed") {
            result = runSheet();
        } else {
            ProbeModal modal;
            result = modal.DoModal();
        }
        // This object may be gone by now (the main window was destroyed inside the loop): only
        // locals and globals from here on.
        record("DoModal " + std::to_string(result));
        // A modal loop ended by WM_QUIT leaves the program's end to the WM_QUIT it posted again.
        if (result != -1 && AfxGetMainWnd())
            AfxGetMainWnd()->PostMessage(WM_PROBE_CLOSE);
        return 0;
    }
    afx_msg LRESULT OnProbeClose(WPARAM, LPARAM)
    {
        record("main window closes");
        DestroyWindow();
        return 0;
    }
    afx_msg LRESULT OnBatch(WPARAM wParam, LPARAM)
    {
        for (int i = 0; i < kCyclesPerBatch; ++i) {
            if (!runCycle()) {
                record("cycle failed");
                return 0;
            }
        }
        AfxDeleteTempMaps();
        record("batch " + std::to_string(wParam));
        return 0;
    }

    ProbePanel m_panel;

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeMain, CFrameWnd)
    ON_MESSAGE(WM_PROBE_RUN, OnRun)
    ON_MESSAGE(WM_PROBE_CLOSE, OnProbeClose)
    ON_MESSAGE(WM_PROBE_BATCH, OnBatch)
END_MESSAGE_MAP()

class DialogProbeApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        g_mode = m_lpCmdLine;
        InitCommonControls();
        auto* frame = new ProbeMain;
        DWORD style = WS_OVERLAPPEDWINDOW;
        if (g_mode == L"/show" || g_mode == L"/cycles")
            style |= WS_VISIBLE;
        if (!frame->Create(nullptr, L"Dialog probe", style, CRect(40, 40, 640, 440)))
            return FALSE;
        m_pMainWnd = frame;
        if (g_mode != L"/cycles")
            frame->PostMessage(WM_PROBE_RUN);
        record("started");
        return TRUE;
    }
    int ExitInstance() override
    {
        record("ExitInstance " + std::to_string(m_msgCur.wParam));
        return CWinApp::ExitInstance() + kProbeExitBase;
    }
};

DialogProbeApp theApp;

} // namespace
