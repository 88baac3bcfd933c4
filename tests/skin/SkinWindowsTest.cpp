// The skin on real windows: the direction buttons' skin switch and states, the push buttons'
// keyboard behaviour, the caption's buttons through the program's dialog painter, the message box,
// the visual-style switch, high contrast and GDI objects over many paints.
#include "DibCanvas.h"
#include "HighContrastSwitch.h"
#include "KivoButton.h"
#include "KivoDialogPainter.h"
#include "SkinTestIds.h"
#include "TestSupport.h"
#include "Tsl.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>
#include <vector>

// Modal loops hand keys to their dialog through the application's thread, as in the program.
CWinApp g_testApp(L"skin_test");

namespace {

class SkinTestDialog : public TesselDialog {
public:
    SkinTestDialog() : TesselDialog(IDD_SKIN_TEST) { SetPainter(&m_painter); }
    ~SkinTestDialog() override
    {
        if (m_hWnd)
            DestroyWindow();
    }

    KivoDialogPainter m_painter;
    KivoButton m_front;
    KivoButton m_rear;
    TesselButton m_ok;
    TesselCheckBox m_check;
    TesselGroupBox2 m_group;
    TesselRadioButton m_radio1;
    TesselRadioButton m_radio2;
    TesselEdit2 m_number;
    TesselSliderCtrl m_slider;
    TesselComboBox m_list;
    std::vector<UINT> m_clicks;           // ids of BN_CLICKED notifications, in order
    std::vector<WPARAM> m_sysCommands;    // WM_SYSCOMMAND codes, not carried out

protected:
    void DoDataExchange(CDataExchange* pDX) override
    {
        TesselDialog::DoDataExchange(pDX);
        DDX_Control(pDX, IDC_FRONT, m_front);
        DDX_Control(pDX, IDC_REAR, m_rear);
        DDX_Control(pDX, IDOK, m_ok);
        DDX_Control(pDX, IDC_CHECK, m_check);
        DDX_Control(pDX, IDC_GROUP, m_group);
        DDX_Control(pDX, IDC_RADIO1, m_radio1);
        DDX_Control(pDX, IDC_RADIO2, m_radio2);
        DDX_Control(pDX, IDC_NUMBER, m_number);
        DDX_Control(pDX, IDC_SLIDER, m_slider);
        DDX_Control(pDX, IDC_LIST, m_list);
    }
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override
    {
        if (HIWORD(wParam) == BN_CLICKED)
            m_clicks.push_back(LOWORD(wParam));
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            return TRUE;   // stays open for the test
        return TesselDialog::OnCommand(wParam, lParam);
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SYSCOMMAND && (wParam & 0xFFF0) != SC_KEYMENU) {
            m_sysCommands.push_back(wParam & 0xFFF0);
            return 0;
        }
        return TesselDialog::WindowProc(message, wParam, lParam);
    }
};

class SkinWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
        ::InitCommonControlsEx(&controls);
        ASSERT_TRUE(m_dialog.Create(IDD_SKIN_TEST, nullptr));
        m_dialog.m_list.AddString(L"Off");
        m_dialog.m_list.AddString(L"Zoom 2x");
        m_dialog.m_list.SetCurSel(1);
        m_dialog.SetWindowPos(nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_SHOWWINDOW);
        m_dialog.UpdateWindow();
        kivotest::pumpMessagesFor(50);
    }

    // What the button shows, drawn by its own DrawItem into a canvas of its size.
    void drawButton(AbstractButton& button, DibCanvas& canvas)
    {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_BUTTON;
        dis.hwndItem = button.m_hWnd;
        dis.hDC = canvas.hdc();
        dis.rcItem = {0, 0, canvas.width(), canvas.height()};
        canvas.fill(RGB(0x11, 0x22, 0x33));
        button.DrawItem(&dis);
    }
    SIZE sizeOf(HWND hWnd)
    {
        RECT r;
        ::GetClientRect(hWnd, &r);
        return {r.right, r.bottom};
    }
    // The screen point at the vertical middle of the caption, x pixels left of the window's right edge.
    POINT captionPoint(int fromRight)
    {
        RECT window, client;
        ::GetWindowRect(m_dialog.m_hWnd, &window);
        ::GetClientRect(m_dialog.m_hWnd, &client);
        POINT top = {0, 0};
        ::ClientToScreen(m_dialog.m_hWnd, &top);
        int border = top.x - window.left;
        return {window.right - fromRight, (window.top + border + top.y) / 2};
    }
    int hitTest(POINT screen)
    {
        return static_cast<int>(m_dialog.SendMessage(WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
    }
    // The first point of the caption, from the right, where the hit test gives this code.
    bool findCaptionButton(int hit, POINT& found)
    {
        for (int x = 1; x < 200; ++x) {
            found = captionPoint(x);
            if (hitTest(found) == hit)
                return true;
        }
        return false;
    }

    SkinTestDialog m_dialog;
};

TEST_F(SkinWindowsTest, SkinSwitchSwapsWhichDirectionButtonShowsTheBitmapLookAtTheNextPaint)
{
    SIZE size = sizeOf(m_dialog.m_front.m_hWnd);
    ASSERT_EQ(size.cx, sizeOf(m_dialog.m_rear.m_hWnd).cx);
    DibCanvas skinLook(size.cx, size.cy), libraryLook(size.cx, size.cy), shown(size.cx, size.cy);
    KivoButtonPainter skinned;
    skinned.enableSkin();
    skinned.DrawNormal(skinLook.dc(), {0, 0, size.cx, size.cy}, L"");
    TesselButtonPainter().DrawNormal(libraryLook.dc(), {0, 0, size.cx, size.cy}, L"");
    ::SetWindowTextW(m_dialog.m_front.m_hWnd, L"");
    ::SetWindowTextW(m_dialog.m_rear.m_hWnd, L"");
    ::SetFocus(m_dialog.m_ok.m_hWnd);

    for (int round = 0; round < 2; ++round) {
        KivoButton& on = round == 0 ? m_dialog.m_front : m_dialog.m_rear;
        KivoButton& off = round == 0 ? m_dialog.m_rear : m_dialog.m_front;
        on.enableSkin();
        off.disableSkin();
        on.Invalidate();
        off.Invalidate();
        drawButton(on, shown);
        EXPECT_TRUE(shown.sameAs(skinLook)) << "round " << round;
        drawButton(off, shown);
        EXPECT_TRUE(shown.sameAs(libraryLook)) << "round " << round;
        // And on the screen: the painted button's middle is the bitmap's centre colour.
        on.UpdateWindow();
        off.UpdateWindow();
        HDC screen = ::GetDC(on.m_hWnd);
        EXPECT_EQ(skinLook.pixel(size.cx / 2, size.cy / 2), ::GetPixel(screen, size.cx / 2, size.cy / 2));
        ::ReleaseDC(on.m_hWnd, screen);
        screen = ::GetDC(off.m_hWnd);
        EXPECT_EQ(libraryLook.pixel(size.cx / 2, size.cy / 2), ::GetPixel(screen, size.cx / 2, size.cy / 2));
        ::ReleaseDC(off.m_hWnd, screen);
    }
}

TEST_F(SkinWindowsTest, ButtonDrawsTheStateItIsInWithTheFocusCueInsideItsInnerRectangle)
{
    KivoButton& button = m_dialog.m_front;
    button.enableSkin();
    SIZE size = sizeOf(button.m_hWnd);
    const RECT all = {0, 0, size.cx, size.cy};
    KivoButtonPainter painter;
    painter.enableSkin();
    DibCanvas expected(size.cx, size.cy), shown(size.cx, size.cy);
    auto expect = [&](void (AbstractButtonPainter::*state)(CDC&, const RECT&, const CString&), bool focus,
                      const char* what) {
        expected.fill(RGB(0x11, 0x22, 0x33));
        (painter.*state)(expected.dc(), all, L"&Front");
        if (focus)
            painter.DrawFocus(expected.dc(), {2, 2, size.cx - 2, size.cy - 2});
        drawButton(button, shown);
        EXPECT_TRUE(shown.sameAs(expected)) << what;
    };
    ::SetFocus(m_dialog.m_ok.m_hWnd);
    expect(&AbstractButtonPainter::DrawNormal, false, "normal");
    button.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_TRUE(button.IsHot());
    expect(&AbstractButtonPainter::DrawHot, false, "hot");
    button.SendMessage(WM_MOUSELEAVE);
    expect(&AbstractButtonPainter::DrawNormal, false, "after the mouse left");
    button.SendMessage(BM_SETSTATE, TRUE);
    expect(&AbstractButtonPainter::DrawDown, false, "pressed");
    button.SendMessage(BM_SETSTATE, FALSE);
    ::SetFocus(button.m_hWnd);
    button.SendMessage(WM_UPDATEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS));
    expect(&AbstractButtonPainter::DrawNormal, true, "focused");
    ::SetFocus(m_dialog.m_ok.m_hWnd);
    button.EnableWindow(FALSE);
    expect(&AbstractButtonPainter::DrawDisable, false, "disabled");
}

TEST_F(SkinWindowsTest, PushButtonsAnswerTheKeyboardAsPushButtons)
{
    HWND dialog = m_dialog.m_hWnd;
    HWND rear = m_dialog.m_rear.m_hWnd;
    auto dialogKey = [&](HWND target, UINT message, WPARAM key) {
        MSG msg = {target, message, key, 0, 0, {0, 0}};
        return ::IsDialogMessageW(dialog, &msg);
    };
    EXPECT_EQ(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, ::SendMessageW(rear, WM_GETDLGCODE, 0, 0));
    // Tabbing onto it makes it the default button, still drawn by the library.
    m_dialog.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(rear), TRUE);
    EXPECT_EQ(DLGC_BUTTON | DLGC_DEFPUSHBUTTON, ::SendMessageW(rear, WM_GETDLGCODE, 0, 0));
    EXPECT_EQ(BS_OWNERDRAW, ::GetWindowLongW(rear, GWL_STYLE) & BS_TYPEMASK);
    m_dialog.m_clicks.clear();
    EXPECT_TRUE(dialogKey(rear, WM_KEYDOWN, VK_RETURN));                  // Enter clicks it
    ::SendMessageW(rear, WM_KEYDOWN, VK_SPACE, 0);                       // and so does Space
    ::SendMessageW(rear, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(dialogKey(m_dialog.m_ok.m_hWnd, WM_SYSCHAR, L'f'));      // Alt+F clicks Front
    kivotest::pumpMessagesFor(20);
    EXPECT_EQ((std::vector<UINT>{IDC_REAR, IDC_REAR, IDC_FRONT}), m_dialog.m_clicks);
    // Leaving it for another push button gives the default back to it.
    m_dialog.SendMessage(WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(m_dialog.m_ok.m_hWnd), TRUE);
    EXPECT_EQ(DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON, ::SendMessageW(rear, WM_GETDLGCODE, 0, 0));
}

TEST_F(SkinWindowsTest, CaptionButtonsAreTheLibrarysWithTheProgramsHelpButton)
{
    POINT close, help;
    ASSERT_TRUE(findCaptionButton(HTCLOSE, close));
    ASSERT_TRUE(findCaptionButton(HTHELP, help));
    EXPECT_LT(help.x, close.x);
    EXPECT_EQ(HTCAPTION, hitTest(captionPoint(120)));   // the rest of the caption moves the window

    // KivoDialogPainter draws the help button: its normal fill, then the hot one under the mouse.
    RECT window;
    m_dialog.GetWindowRect(&window);
    auto helpPixel = [&] {
        m_dialog.RedrawWindow(nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        HDC hdc = ::GetWindowDC(m_dialog.m_hWnd);
        COLORREF c = ::GetPixel(hdc, help.x - window.left, help.y - window.top - 5);
        ::ReleaseDC(m_dialog.m_hWnd, hdc);
        return c;
    };
    EXPECT_EQ(RGB(116, 122, 128), helpPixel());
    m_dialog.SendMessage(WM_NCMOUSEMOVE, HTHELP, MAKELPARAM(help.x, help.y));
    HDC hdc = ::GetWindowDC(m_dialog.m_hWnd);
    EXPECT_EQ(RGB(142, 223, 255), ::GetPixel(hdc, help.x - window.left, help.y - window.top - 5));
    ::ReleaseDC(m_dialog.m_hWnd, hdc);

    // Pressing and releasing a caption button gives its system command.
    auto click = [&](int hit, POINT at) {
        m_dialog.SendMessage(WM_NCLBUTTONDOWN, hit, MAKELPARAM(at.x, at.y));
        POINT client = at;
        ::ScreenToClient(m_dialog.m_hWnd, &client);
        m_dialog.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(client.x, client.y));
    };
    click(HTHELP, help);
    click(HTCLOSE, close);
    // Released elsewhere: nothing.
    m_dialog.SendMessage(WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(close.x, close.y));
    m_dialog.SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    kivotest::pumpMessagesFor(30);
    EXPECT_EQ((std::vector<WPARAM>{SC_CONTEXTHELP, SC_CLOSE}), m_dialog.m_sysCommands);
    EXPECT_EQ(nullptr, ::GetCapture());
}

// What a control shows on the screen, copied into a canvas of its client area's size.
void copyShown(HWND hWnd, DibCanvas& canvas)
{
    HDC screen = ::GetDC(hWnd);
    ::BitBlt(canvas.hdc(), 0, 0, canvas.width(), canvas.height(), screen, 0, 0, SRCCOPY);
    ::ReleaseDC(hWnd, screen);
}

TEST_F(SkinWindowsTest, HighContrastDrawsEveryPartInTheSystemsColoursWithoutSkinBitmapsAndFollowsTheSwitch)
{
    KivoButton& front = m_dialog.m_front;
    front.enableSkin();
    ::SetFocus(m_dialog.m_ok.m_hWnd);
    m_dialog.SendMessage(WM_NCACTIVATE, TRUE);
    POINT help;
    ASSERT_TRUE(findCaptionButton(HTHELP, help));
    const POINT caption = captionPoint(120);
    RECT window;
    m_dialog.GetWindowRect(&window);
    auto framePixel = [&](POINT screen) {
        HDC hdc = ::GetWindowDC(m_dialog.m_hWnd);
        COLORREF c = ::GetPixel(hdc, screen.x - window.left, screen.y - window.top);
        ::ReleaseDC(m_dialog.m_hWnd, hdc);
        return c;
    };
    auto shown = [&](CWnd& control) {
        auto canvas = std::make_unique<DibCanvas>(sizeOf(control.m_hWnd).cx, sizeOf(control.m_hWnd).cy);
        copyShown(control.m_hWnd, *canvas);
        return canvas;
    };
    auto settle = [&] {
        m_dialog.UpdateWindow();
        kivotest::pumpMessagesFor(50);
    };
    const SIZE frontSize = sizeOf(front.m_hWnd);
    const POINT frontMiddle = {frontSize.cx / 2, frontSize.cy / 2};
    const COLORREF skinnedMiddle = shown(front)->pixel(frontMiddle.x, frontMiddle.y);
    // The caption, active or not (the system may take the activation meanwhile), in the skin's
    // own colours or the system's.
    auto captionOf = [](bool system, COLORREF c) {
        return system ? c == ::GetSysColor(COLOR_ACTIVECAPTION) || c == ::GetSysColor(COLOR_INACTIVECAPTION)
                      : c == RGB(116, 122, 128) || c == RGB(172, 177, 179);
    };
    EXPECT_TRUE(captionOf(false, framePixel(caption)));
    {
        HighContrastSwitch contrast;
        // The scheme's colours change nothing while the mode is off.
        settle();
        EXPECT_TRUE(captionOf(false, framePixel(caption)));
        EXPECT_EQ(skinnedMiddle, shown(front)->pixel(frontMiddle.x, frontMiddle.y));
        contrast.setOn(true);
        ASSERT_TRUE(contrast.on());
        HighContrastSwitch::announce(m_dialog.m_hWnd);
        settle();

        EXPECT_TRUE(captionOf(true, framePixel(caption)));
        EXPECT_TRUE(captionOf(true, framePixel({help.x, help.y - 5})));   // no glyph bitmap
        HDC client = ::GetDC(m_dialog.m_hWnd);
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), ::GetPixel(client, 2, 2));
        ::ReleaseDC(m_dialog.m_hWnd, client);

        // The skinned button is the library's look in the system's colours, not its bitmaps.
        DibCanvas libraryLook(frontSize.cx, frontSize.cy), drawn(frontSize.cx, frontSize.cy);
        HFONT font = reinterpret_cast<HFONT>(front.SendMessage(WM_GETFONT));
        HGDIOBJ oldFont = ::SelectObject(libraryLook.hdc(), font);
        TesselButtonPainter().DrawNormal(libraryLook.dc(), {0, 0, frontSize.cx, frontSize.cy}, L"&Front");
        ::SelectObject(libraryLook.hdc(), oldFont);
        copyShown(front.m_hWnd, drawn);
        EXPECT_TRUE(drawn.sameAs(libraryLook));
        EXPECT_EQ(::GetSysColor(COLOR_BTNFACE), drawn.pixel(frontMiddle.x, 2));
        EXPECT_GT(drawn.countOf(::GetSysColor(COLOR_BTNTEXT)), 2 * (frontSize.cx + frontSize.cy));   // outline, text

        // Labels in the button text colour on the button face, fields in the window colours,
        // outlines in the text colour, the slider's thumb in the highlight colour.
        auto check = shown(m_dialog.m_check);
        EXPECT_GT(check->countOf(::GetSysColor(COLOR_BTNTEXT)), 10);
        EXPECT_GT(check->countOf(::GetSysColor(COLOR_WINDOW)), 50);   // the box
        auto group = shown(m_dialog.m_group);
        EXPECT_GT(group->countOf(::GetSysColor(COLOR_BTNTEXT)), 60);   // frame and title
        auto number = shown(m_dialog.m_number);
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), number->pixel(2, 2));
        auto list = shown(m_dialog.m_list);
        EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), list->pixel(0, 0));
        EXPECT_EQ(::GetSysColor(COLOR_WINDOW), list->pixel(4, 3));
        EXPECT_GT(list->countOf(::GetSysColor(COLOR_WINDOWTEXT)), 10);   // "Zoom 2x"
        EXPECT_GT(shown(m_dialog.m_slider)->countOf(::GetSysColor(COLOR_HIGHLIGHT)), 10);

        // Switched off while the dialog is open: the skin's own look again, bitmaps included.
        contrast.setOn(false);
        HighContrastSwitch::announce(m_dialog.m_hWnd);
        settle();
        EXPECT_TRUE(captionOf(false, framePixel(caption)));
        EXPECT_EQ(skinnedMiddle, shown(front)->pixel(frontMiddle.x, frontMiddle.y));
    }
    EXPECT_FALSE(TslHighContrast());
}

TEST_F(SkinWindowsTest, GdiObjectsStayFlatOverAThousandPaintsOfEveryState)
{
    DWORD self = ::GetCurrentProcessId();
    KivoButton& front = m_dialog.m_front;
    front.enableSkin();
    SIZE size = sizeOf(front.m_hWnd);
    DibCanvas canvas(size.cx, size.cy);
    // Puts the button in state 0-4 (normal, hot, pressed, focused, disabled).
    auto setState = [&](int state) {
        front.SendMessage(WM_MOUSELEAVE);
        front.SendMessage(BM_SETSTATE, FALSE);
        front.EnableWindow(state != 4);
        if (state == 1)
            front.SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        if (state == 2)
            front.SendMessage(BM_SETSTATE, TRUE);
        ::SetFocus(state == 3 ? front.m_hWnd : m_dialog.m_ok.m_hWnd);
    };
    // Each state drawn a thousand times, every tenth time on the screen too; now and then the whole
    // dialog with its caption and every other control.
    auto paint = [&](int times) {
        for (int state = 0; state < 5; ++state) {
            setState(state);
            for (int i = 0; i < times; ++i) {
                drawButton(front, canvas);
                if (i % 10 == 0)
                    front.RedrawWindow();
            }
        }
        for (int i = 0; i < times / 20; ++i) {
            m_dialog.m_check.SetCheck(i % 2 ? BST_CHECKED : BST_UNCHECKED);
            m_dialog.RedrawWindow(nullptr, nullptr,
                                  RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        }
    };
    paint(20);
    long before = kivotest::gdiObjectCount(self);
    ASSERT_GT(before, 0);
    paint(1000);
    long after = kivotest::gdiObjectCount(self);
    // Every path above runs at least fifty times: a leak in any of them shows as fifty objects or
    // more; the system keeps a few of its own caches meanwhile.
    EXPECT_LE(after, before + 20) << "before " << before << ", after " << after;
}

TEST(TesselMessageBoxTest, IsAMessageBoxThatTheKeyboardAndOtherProgramsAnswer)
{
    struct Case {
        UINT style;
        int button;      // pressed by the test, 0: a key instead
        WPARAM key;
        int expected;
    } cases[] = {
        {MB_YESNO | MB_ICONQUESTION, IDNO, 0, IDNO},
        {MB_OK | MB_ICONHAND, 0, VK_ESCAPE, IDOK},                     // a lone OK ends with IDOK
        {MB_OKCANCEL | MB_ICONEXCLAMATION, 0, VK_ESCAPE, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON2 | MB_ICONASTERISK, 0, VK_RETURN, IDNO},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.style);
        std::wstring text;
        kivotest::DialogDriver driver(L"Kivo test box", [&](HWND box) {
            text = kivotest::windowText(::GetDlgItem(box, 0xFFFF));
            if (c.button) {
                kivotest::pressDialogButton(box, c.button);
            } else {
                HWND focus = ::GetDlgItem(box, c.key == VK_RETURN ? IDNO : IDOK);
                if (!focus)
                    focus = ::GetDlgItem(box, IDCANCEL);
                ::PostMessageW(focus, WM_KEYDOWN, c.key, 0);
                ::PostMessageW(focus, WM_KEYUP, c.key, 0);
            }
        });
        int result = TesselMessageBox(L"The camera settings could not be changed.", L"Kivo test box", c.style);
        EXPECT_TRUE(driver.found());
        EXPECT_FALSE(driver.closedByDeadline());
        EXPECT_EQ(c.expected, result);
        EXPECT_EQ(L"The camera settings could not be changed.", text);
    }
}

// The programs' messages fit their box in every language: the box sizes itself to the text, as
// measured with its own font, in English, German and the longer pseudo-language. Its buttons speak
// the user's language, from the locale library where the system gives no captions of its own.
TEST(TesselMessageBoxTest, EveryMessageOfThePanelFitsItsBoxInEveryLanguage)
{
    HMODULE hLocale = LoadLibraryW(kivotest::stageFile(L"KivoLocale.dll").c_str());
    ASSERT_NE(nullptr, hLocale);
    const HINSTANCE savedResources = AfxGetResourceHandle();
    AfxSetResourceHandle(hLocale);
    const UINT messages[] = {132, 134, 135};   // service not found, property refused, effect failed
    const int buttons[] = {IDYES, IDNO, IDCANCEL};
    for (LANGID language : {kivotest::kEnglish, kivotest::kGerman, LANGID(0)}) {
        kivotest::ThreadLanguage userLanguage(language ? language : kivotest::kEnglish);
        const std::vector<std::wstring> expectedButtons =
            language == kivotest::kGerman ? std::vector<std::wstring>{L"&Ja", L"&Nein", L"Abbrechen"}
                                          : std::vector<std::wstring>{L"&Yes", L"&No", L"Cancel"};
        for (UINT id : messages) {
            SCOPED_TRACE(id);
            std::wstring text = language ? kivotest::stringIn(hLocale, id, language)
                                         : kivotest::pseudoText(kivotest::stringIn(hLocale, id, kivotest::kEnglish));
            ASSERT_FALSE(text.empty()) << "language " << language;
            std::string misfits = "not measured";
            std::vector<std::wstring> captions;
            kivotest::DialogDriver driver(L"Kivo fit box", [&](HWND box) {
                misfits = kivotest::misfitsIn(box);
                for (int button : buttons)
                    captions.push_back(kivotest::windowText(::GetDlgItem(box, button)));
                kivotest::pressDialogButton(box, IDCANCEL);
            });
            TesselMessageBox(text.c_str(), L"Kivo fit box", MB_YESNOCANCEL | MB_ICONEXCLAMATION);
            EXPECT_TRUE(driver.found());
            EXPECT_EQ("", misfits) << "language " << language;
            EXPECT_EQ(expectedButtons, captions) << "language " << language;
        }
    }
    AfxSetResourceHandle(savedResources);
    FreeLibrary(hLocale);
}

TEST(TesselApiTest, EnableLunaReturnsTheSettingInForceBeforeTheCall)
{
    bool original = TesselAPI::IsLunaEnabled();
    EXPECT_EQ(original, TesselAPI::EnableLuna(false));
    EXPECT_FALSE(TesselAPI::IsLunaEnabled());
    EXPECT_FALSE(TesselAPI::EnableLuna(true));
    EXPECT_TRUE(TesselAPI::EnableLuna(true));
    TesselAPI::EnableLuna(original);
}

} // namespace
