// Dialogs and property sheets of the framework on real windows: binding from the first message,
// the template's list data, data exchange, modal loops with their owner, keys and their end.
#include "afxdlgs.h"
#include "afxwin.h"

#include "ProbeIds.h"
#include "ProbeModule.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

using kivotest::DialogDriver;

const DWORD kDialogDeadlineMs = 5000;
const DWORD kWatchdogMs = 2000;   // for dialogs that end before they are shown
const UINT WM_PROBE_FOREIGN = WM_APP + 1;   // posted to a modal dialog; its owner must never see it
const UINT WM_PROBE_CLOSE = WM_APP + 2;     // makes the main window destroy itself

std::wstring comboText(HWND hCombo, int index)
{
    WCHAR text[64] = L"";
    SendMessageW(hCombo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

class PanelDialog : public CDialog {
public:
    PanelDialog() : CDialog(IDD_PROBE_PANEL) {}

    std::vector<UINT> m_beforeInit;   // messages the object saw before OnInitDialog
    int m_zoomEntriesAtInit = -1;
    int m_exchanges = 0;
    CWnd m_zoom;
    CWnd m_mode;

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        CDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_PROBE_ZOOM, m_zoom);
        DDX_Control(pDX, IDC_PROBE_MODE, m_mode);
        ++m_exchanges;
    }
    BOOL OnInitDialog() override
    {
        m_initialised = true;
        BOOL result = CDialog::OnInitDialog();
        m_zoomEntriesAtInit = static_cast<int>(m_zoom.SendMessage(CB_GETCOUNT));
        return result;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (!m_initialised)
            m_beforeInit.push_back(message);
        return CDialog::WindowProc(message, wParam, lParam);
    }

private:
    bool m_initialised = false;
};

TEST(DialogTest, ModelessDialogIsBoundFromItsFirstMessageAndFillsItsListsFromTheTemplate)
{
    PanelDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_PROBE_PANEL));
    EXPECT_FALSE(dialog.IsWindowVisible()) << "the template has no WS_VISIBLE";
    ASSERT_FALSE(dialog.m_beforeInit.empty());
    EXPECT_EQ(static_cast<UINT>(WM_NCCREATE), dialog.m_beforeInit.front())
        << "the object must see the window's first message";
    EXPECT_NE(dialog.m_beforeInit.end(),
              std::find(dialog.m_beforeInit.begin(), dialog.m_beforeInit.end(), static_cast<UINT>(WM_SETFONT)));

    // The list data is in the lists by the time the derived OnInitDialog goes on after the base.
    EXPECT_EQ(3, dialog.m_zoomEntriesAtInit);
    HWND hZoom = GetDlgItem(dialog.m_hWnd, IDC_PROBE_ZOOM);
    HWND hMode = GetDlgItem(dialog.m_hWnd, IDC_PROBE_MODE);
    EXPECT_EQ(L"No zoom", comboText(hZoom, 0));
    EXPECT_EQ(L"Zoom 1.5x", comboText(hZoom, 1));
    EXPECT_EQ(L"Zoom 2x", comboText(hZoom, 2));
    EXPECT_EQ(2, SendMessageW(hMode, CB_GETCOUNT, 0, 0));
    EXPECT_EQ(L"Freeze", comboText(hMode, 1));

    // DDX_Control bound each control once; a second exchange keeps the binding and succeeds.
    EXPECT_EQ(&dialog.m_zoom, CWnd::FromHandlePermanent(hZoom));
    EXPECT_EQ(&dialog.m_mode, CWnd::FromHandlePermanent(hMode));
    EXPECT_TRUE(dialog.UpdateData(FALSE));
    EXPECT_TRUE(dialog.UpdateData(TRUE));
    EXPECT_EQ(3, dialog.m_exchanges);
    EXPECT_EQ(&dialog.m_zoom, CWnd::FromHandlePermanent(hZoom));
    EXPECT_EQ(3, SendMessageW(hZoom, CB_GETCOUNT, 0, 0)) << "the list data is filled in once";

    HWND hWnd = dialog.m_hWnd;
    EXPECT_TRUE(dialog.DestroyWindow());
    EXPECT_EQ(nullptr, dialog.m_hWnd);
    EXPECT_EQ(nullptr, dialog.m_zoom.m_hWnd) << "the control's object lets go with its window";
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(hWnd));
}

const COLORREF kLabelColour = RGB(20, 180, 60);

// Every control-colour message reaches one handler with its control kind; the brush it returns is
// what the control paints with.
class ColouredPanel : public CDialog {
public:
    ColouredPanel() : CDialog(IDD_PROBE_MODAL) {}
    ~ColouredPanel() override { ::DeleteObject(m_hLabelBrush); }

    std::vector<std::pair<UINT, UINT>> m_seen;   // message, control kind
    bool m_labelWrapped = false;                 // pWnd wrapped the label's handle
    HBRUSH m_hLabelBrush = ::CreateSolidBrush(kLabelColour);

protected:
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
    {
        m_seen.emplace_back(GetCurrentMessage()->message, nCtlColor);
        HBRUSH hBrush = CDialog::OnCtlColor(pDC, pWnd, nCtlColor);
        if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->GetDlgCtrlID() == IDC_PROBE_LABEL) {
            m_labelWrapped = pWnd->m_hWnd == ::GetDlgItem(m_hWnd, IDC_PROBE_LABEL);
            pDC->SetBkColor(kLabelColour);
            return m_hLabelBrush;
        }
        return hBrush;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ColouredPanel, CDialog)
    ON_WM_CTLCOLOR()
END_MESSAGE_MAP()

TEST(DialogTest, ControlColourMessagesReachOneHandlerWithTheirKindAndItsBrushIsUsed)
{
    ColouredPanel dialog;
    ASSERT_TRUE(dialog.Create(IDD_PROBE_MODAL));
    dialog.SetWindowPos(&CWnd::wndTopMost, 50, 50, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    dialog.UpdateWindow();
    kivotest::pumpMessagesFor(50);

    std::set<UINT> kinds;
    for (const auto& seen : dialog.m_seen) {
        EXPECT_EQ(seen.first - WM_CTLCOLORMSGBOX, seen.second) << "message 0x" << std::hex << seen.first;
        kinds.insert(seen.second);
    }
    EXPECT_TRUE(kinds.count(CTLCOLOR_DLG));
    EXPECT_TRUE(kinds.count(CTLCOLOR_STATIC));
    EXPECT_TRUE(kinds.count(CTLCOLOR_EDIT));
    EXPECT_TRUE(dialog.m_labelWrapped);

    HWND hLabel = GetDlgItem(dialog.m_hWnd, IDC_PROBE_LABEL);
    HDC hdc = GetDC(hLabel);
    EXPECT_EQ(kLabelColour, GetPixel(hdc, 0, 0)) << "the label paints with the handler's brush";
    ReleaseDC(hLabel, hdc);
    dialog.DestroyWindow();
}

// The application's main window: records any message of another window offered to it.
class MainFrame : public CFrameWnd {
public:
    std::vector<UINT>* m_pForeign = nullptr;
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->hwnd != m_hWnd && m_pForeign)
            m_pForeign->push_back(pMsg->message);
        return pMsg->message == WM_KEYDOWN;   // swallows every key it is given
    }

protected:
    afx_msg LRESULT OnProbeClose(WPARAM, LPARAM)
    {
        DestroyWindow();
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(MainFrame, CFrameWnd)
    ON_MESSAGE(WM_PROBE_CLOSE, OnProbeClose)
END_MESSAGE_MAP()

class ModalDialog : public CDialog {
public:
    explicit ModalDialog(std::function<void(ModalDialog&)> onInit = nullptr, CWnd* pParent = nullptr)
        : CDialog(IDD_PROBE_MODAL, pParent), m_onInit(std::move(onInit))
    {
    }

    HWND m_owner = nullptr;
    BOOL m_ownerEnabledWhileRunning = TRUE;
    int m_keysSeen = 0;   // keys offered to this dialog's PreTranslateMessage
    std::vector<std::string> m_events;

    BOOL OnInitDialog() override
    {
        CDialog::OnInitDialog();
        m_owner = ::GetWindow(m_hWnd, GW_OWNER);
        m_ownerEnabledWhileRunning = ::IsWindowEnabled(m_owner);
        if (m_onInit)
            m_onInit(*this);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* pMsg) override
    {
        if (pMsg->message == WM_KEYDOWN)
            ++m_keysSeen;
        return CDialog::PreTranslateMessage(pMsg);
    }
    void OnOK() override
    {
        m_events.push_back("OnOK");
        CDialog::OnOK();
    }
    void OnCancel() override
    {
        m_events.push_back("OnCancel");
        CDialog::OnCancel();
    }

private:
    std::function<void(ModalDialog&)> m_onInit;
};

class ModalTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_pFrame = new MainFrame;
        m_pFrame->m_pForeign = &m_foreign;
        ASSERT_TRUE(m_pFrame->Create(nullptr, L"probe main", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
        m_hMain = m_pFrame->m_hWnd;
        m_app.m_pMainWnd = m_pFrame;
    }
    void TearDown() override
    {
        if (IsWindow(m_hMain))
            DestroyWindow(m_hMain);
        // The main window's end posts WM_QUIT for the application's loop, which this test does not run.
        MSG msg;
        while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    // Presses a key in the shown dialog as a user would: a key-down message to its focused edit box.
    static void pressKey(HWND hDialog, WPARAM key)
    {
        PostMessageW(GetDlgItem(hDialog, IDC_PROBE_EDIT), WM_KEYDOWN, key, 1);
    }

    // Runs the dialog modally while a user's steps work it once it shows; its result. A dialog the
    // driver had to close at the deadline fails the test.
    static INT_PTR runModal(CDialog& dialog, const std::function<void(HWND)>& steps,
                            DWORD deadlineMs = kDialogDeadlineMs)
    {
        DialogDriver driver(L"Probe modal", steps, deadlineMs);
        INT_PTR result = dialog.DoModal();
        EXPECT_FALSE(driver.closedByDeadline());
        return result;
    }
    // The same with no user: the dialog must end by itself before the watchdog's deadline.
    static INT_PTR runWatched(CDialog& dialog) { return runModal(dialog, [](HWND) {}, kWatchdogMs); }

    CWinApp m_app;
    MainFrame* m_pFrame = nullptr;
    HWND m_hMain = nullptr;
    std::vector<UINT> m_foreign;
};

TEST_F(ModalTest, EnterEndsWithOkAndEscapeWithCancelWhileTheMainWindowOwnsTheDialogAndIsDisabled)
{
    ModalDialog okDialog;
    EXPECT_EQ(IDOK, runModal(okDialog, [](HWND hDialog) { pressKey(hDialog, VK_RETURN); }));
    EXPECT_EQ(std::vector<std::string>{"OnOK"}, okDialog.m_events);
    EXPECT_EQ(m_hMain, okDialog.m_owner) << "with no parent the main window owns the dialog";
    EXPECT_FALSE(okDialog.m_ownerEnabledWhileRunning);
    EXPECT_TRUE(IsWindowEnabled(m_hMain)) << "the owner is enabled again after the dialog";
    EXPECT_GE(okDialog.m_keysSeen, 1) << "the framework's loop runs PreTranslateMessage";
    EXPECT_EQ(nullptr, okDialog.m_hWnd);

    ModalDialog cancelDialog;
    EXPECT_EQ(IDCANCEL, runModal(cancelDialog, [](HWND hDialog) {
                  PostMessageW(GetDlgItem(hDialog, IDC_PROBE_EDIT), WM_PROBE_FOREIGN, 0, 0);
                  pressKey(hDialog, VK_ESCAPE);
              }));
    EXPECT_EQ(std::vector<std::string>{"OnCancel"}, cancelDialog.m_events);
    EXPECT_TRUE(m_foreign.empty()) << "the owner's PreTranslateMessage saw the dialog's messages";
}

TEST_F(ModalTest, DialogFromATemplateInMemoryRunsModal)
{
    HRSRC hResource = FindResourceW(nullptr, MAKEINTRESOURCEW(IDD_PROBE_MODAL), RT_DIALOG);
    ASSERT_NE(nullptr, hResource);
    auto lpTemplate = static_cast<LPCDLGTEMPLATE>(LockResource(LoadResource(nullptr, hResource)));
    CDialog dialog;
    ASSERT_TRUE(dialog.InitModalIndirect(lpTemplate));
    EXPECT_EQ(IDOK, runModal(dialog, [](HWND hDialog) { pressKey(hDialog, VK_RETURN); }));
}

TEST_F(ModalTest, DestroyingTheOwnerEndsTheModalLoopAndWmQuitIsPostedAgain)
{
    // The main window goes while the dialog runs: its owned dialog goes with it and the loop ends.
    ModalDialog orphan([this](ModalDialog&) { PostMessageW(m_hMain, WM_PROBE_CLOSE, 0, 0); });
    EXPECT_EQ(-1, runWatched(orphan));
    EXPECT_FALSE(IsWindow(m_hMain));
    EXPECT_EQ(nullptr, m_app.m_pMainWnd);
    EXPECT_EQ(nullptr, orphan.m_hWnd);
    MSG quit;
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the main window's end asks the application's loop to end";

    // An owner that is not the main window: no WM_QUIT comes, the dialog's destruction ends the loop.
    auto* pOwner = new MainFrame;
    ASSERT_TRUE(pOwner->Create(nullptr, L"probe owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE));
    HWND hOwner = pOwner->m_hWnd;
    ModalDialog owned([hOwner](ModalDialog&) { PostMessageW(hOwner, WM_PROBE_CLOSE, 0, 0); }, pOwner);
    EXPECT_EQ(-1, runWatched(owned));
    EXPECT_FALSE(IsWindow(hOwner));
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));

    // WM_QUIT inside the modal loop ends it and is there again for the loop outside it.
    ModalDialog quitter([](ModalDialog&) { PostQuitMessage(5); });
    EXPECT_EQ(-1, runWatched(quitter));
    EXPECT_EQ(nullptr, quitter.m_hWnd);
    ASSERT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(5u, quit.wParam) << "the exit code survives the modal loop";
}

// Where CenterWindow puts a dialog: the centre of its rectangle.
POINT centreOfDialogPlacedBy(CWinApp&)
{
    RECT placed = {};
    ModalDialog dialog([&](ModalDialog& d) {
        d.CenterWindow();
        d.GetWindowRect(&placed);
        d.EndDialog(IDOK);
    });
    DialogDriver watchdog(L"Probe modal", [](HWND) {}, 1000);   // closes it should EndDialog fail
    EXPECT_EQ(IDOK, dialog.DoModal());
    return POINT{(placed.left + placed.right) / 2, (placed.top + placed.bottom) / 2};
}

TEST_F(ModalTest, CenterWindowCentresOverTheOwnerOrOnTheWorkAreaWhenTheOwnerIsHidden)
{
    m_pFrame->SetWindowPos(nullptr, 100, 120, 600, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    POINT overOwner = centreOfDialogPlacedBy(m_app);
    EXPECT_NEAR(100 + 300, overOwner.x, 1);
    EXPECT_NEAR(120 + 200, overOwner.y, 1);

    m_pFrame->ShowWindow(SW_HIDE);
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    POINT onWorkArea = centreOfDialogPlacedBy(m_app);
    EXPECT_NEAR((work.left + work.right) / 2, onWorkArea.x, 1);
    EXPECT_NEAR((work.top + work.bottom) / 2, onWorkArea.y, 1);
}

// A page that records what the sheet tells it.
class RecordingPage : public CPropertyPage {
public:
    RecordingPage(UINT nIDTemplate, std::vector<std::string>* pEvents, const char* name)
        : CPropertyPage(nIDTemplate), m_pEvents(pEvents), m_name(name)
    {
    }
    BOOL OnInitDialog() override
    {
        m_pEvents->push_back(m_name + " OnInitDialog");
        return CPropertyPage::OnInitDialog();
    }
    void OnOK() override { m_pEvents->push_back(m_name + " OnOK"); }
    void OnCancel() override { m_pEvents->push_back(m_name + " OnCancel"); }

private:
    std::vector<std::string>* m_pEvents;
    std::string m_name;
};

// A sheet whose own initialisation runs after the system's, which has created the first page.
class RecordingSheet : public CPropertySheet {
public:
    RecordingSheet(std::vector<std::string>* pEvents) : CPropertySheet(IDS_PROBE_SHEET), m_pEvents(pEvents) {}
    BOOL OnInitDialog() override
    {
        BOOL result = CPropertySheet::OnInitDialog();
        CPropertyPage* pActive = GetActivePage();
        m_pEvents->push_back(pActive && pActive->m_hWnd ? "sheet OnInitDialog, page shown"
                                                        : "sheet OnInitDialog, no page");
        return result;
    }

private:
    std::vector<std::string>* m_pEvents;
};

TEST_F(ModalTest, PropertySheetOkAndCancelReachOnlyThePagesThatWereShown)
{
    std::vector<std::string> events;
    RecordingPage first(IDD_PROBE_PAGE1, &events, "first");
    RecordingPage second(IDD_PROBE_PAGE2, &events, "second");
    RecordingSheet sheet(&events);
    sheet.AddPage(&first);
    sheet.AddPage(&second);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    HWND hSheetOwner = nullptr;
    INT_PTR okResult;
    {
        DialogDriver driver(L"Probe sheet",
                            [&](HWND hSheet) {
                                hSheetOwner = GetWindow(hSheet, GW_OWNER);
                                PostMessageW(hSheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
                            },
                            kDialogDeadlineMs);
        okResult = sheet.DoModal();
    }
    EXPECT_EQ(IDOK, okResult);
    EXPECT_EQ(m_hMain, hSheetOwner);
    EXPECT_TRUE(IsWindowEnabled(m_hMain));
    EXPECT_EQ((std::vector<std::string>{"first OnInitDialog", "sheet OnInitDialog, page shown", "first OnOK"}),
              events);
    EXPECT_EQ(nullptr, first.m_hWnd);

    events.clear();
    INT_PTR cancelResult;
    {
        DialogDriver driver(L"Probe sheet",
                            [](HWND hSheet) {
                                SendMessageW(hSheet, PSM_SETCURSEL, 1, 0);
                                PostMessageW(hSheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
                            },
                            kDialogDeadlineMs);
        cancelResult = sheet.DoModal();
    }
    EXPECT_EQ(IDCANCEL, cancelResult);
    EXPECT_EQ((std::vector<std::string>{"first OnInitDialog", "sheet OnInitDialog, page shown",
                                        "second OnInitDialog", "first OnCancel", "second OnCancel"}),
              events);
}

// An owner-drawn control's object draws when its parent gets WM_DRAWITEM (reflection).
class DrawnControl : public CWnd {
public:
    int m_drawn = 0;
    UINT m_drawnId = 0;

protected:
    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pLResult) override
    {
        if (message != WM_DRAWITEM)
            return CWnd::OnChildNotify(message, wParam, lParam, pLResult);
        ++m_drawn;
        m_drawnId = reinterpret_cast<LPDRAWITEMSTRUCT>(lParam)->CtlID;
        return TRUE;
    }
};

TEST(DialogTest, OwnerDrawnControlDrawsThroughItsParentsReflection)
{
    PanelDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_PROBE_PANEL));
    DrawnControl drawn;
    ASSERT_TRUE(drawn.SubclassDlgItem(IDC_PROBE_DRAWN, &dialog));
    dialog.ShowWindow(SW_SHOWNOACTIVATE);
    dialog.UpdateWindow();
    kivotest::pumpMessagesFor(50);
    EXPECT_GE(drawn.m_drawn, 1);
    EXPECT_EQ(static_cast<UINT>(IDC_PROBE_DRAWN), drawn.m_drawnId);
    dialog.DestroyWindow();
}

TEST_F(ModalTest, AnotherModuleOfTheProcessSeesTheSameApplicationWindowsAndResources)
{
    kivotest::LoadedLibrary module(L"ProbeModule.dll");
    ASSERT_NE(nullptr, module.get());
    auto view = reinterpret_cast<ProbeModuleViewFn>(
        reinterpret_cast<void*>(GetProcAddress(module.get(), "probeModuleView")));
    ASSERT_NE(nullptr, view);
    HINSTANCE hPrevious = AfxGetResourceHandle();
    kivotest::LoadedLibrary resources(L"ProbeResources.dll");
    HMODULE hResources = resources.get();
    ASSERT_NE(nullptr, hResources);
    AfxSetResourceHandle(hResources);

    ProbeModuleView seen = {};
    view(m_hMain, &seen);
    EXPECT_EQ(&m_app, seen.pApp);
    EXPECT_EQ(m_pFrame, seen.pMainWnd);
    EXPECT_EQ(hResources, seen.hResource);
    EXPECT_EQ(m_pFrame, seen.pBound);

    AfxSetResourceHandle(hPrevious);
}

} // namespace
