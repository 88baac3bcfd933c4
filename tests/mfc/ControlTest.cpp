// Controls on real windows: a bitmap button drawing the images named after its caption, sliders
// with ranges beyond 16 bits, and a tool tip shown through relayed mouse messages.
#include "afxcmn.h"
#include "afxext.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

const UINT IDC_PROBE_BUTTON = 1001;
const UINT IDC_PROBE_TOOL = 1002;
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kGreen = RGB(0, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const DWORD kDeadlineMs = 3000;

// A shown top-level window bound to the framework, so that its children's notifications are
// reflected to their objects.
class ParentWindow {
public:
    ParentWindow()
    {
        m_wnd.CreateEx(WS_EX_TOPMOST, AfxRegisterWndClass(0, LoadCursorW(nullptr, IDC_ARROW),
                                                          GetSysColorBrush(COLOR_BTNFACE)),
                       L"controls", WS_POPUP | WS_VISIBLE, 100, 100, 200, 120, nullptr, nullptr);
    }
    ~ParentWindow() { m_wnd.DestroyWindow(); }
    CWnd* get() { return &m_wnd; }

private:
    CWnd m_wnd;
};

// The colour the window shows at a client point, once it has painted.
COLORREF pixelAt(HWND hWnd, int x, int y)
{
    CClientDC dc(CWnd::FromHandle(hWnd));
    return GetPixel(dc, x, y);
}

bool showsColour(HWND hWnd, int x, int y, COLORREF colour)
{
    return kivotest::waitFor([&] { return pixelAt(hWnd, x, y) == colour; }, kDeadlineMs);
}

class BitmapButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_NE(nullptr, m_hLibrary);
        AfxSetResourceHandle(m_hLibrary);
        ASSERT_NE(nullptr, m_parent.get()->m_hWnd);
    }
    void TearDown() override
    {
        m_button.DestroyWindow();
        AfxSetResourceHandle(m_hPrevious);
    }
    HWND createButton(LPCWSTR caption)
    {
        return CreateWindowW(L"BUTTON", caption, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, 10, 10, 80, 60,
                             m_parent.get()->m_hWnd, reinterpret_cast<HMENU>(UINT_PTR(IDC_PROBE_BUTTON)),
                             nullptr, nullptr);
    }
    kivotest::LoadedLibrary m_library{L"ProbeResources.dll"};
    HINSTANCE m_hLibrary = m_library.get();
    HINSTANCE m_hPrevious = AfxGetResourceHandle();
    ParentWindow m_parent;
    CBitmapButton m_button;
};

TEST_F(BitmapButtonTest, AutoLoadSizesToTheNormalImageAndDrawsEachStatesImage)
{
    HWND hButton = createButton(L"ProbeBtn");
    ASSERT_NE(nullptr, hButton);
    ASSERT_TRUE(m_button.AutoLoad(IDC_PROBE_BUTTON, m_parent.get())) << "no focused image is needed";
    EXPECT_EQ(hButton, m_button.m_hWnd);

    CRect rect;
    m_button.GetWindowRect(&rect);
    EXPECT_EQ(24, rect.Width());
    EXPECT_EQ(16, rect.Height());

    m_button.Invalidate();
    EXPECT_TRUE(showsColour(hButton, 0, 0, kRed)) << "the normal image, from its first pixel";
    EXPECT_EQ(kRed, pixelAt(hButton, 11, 15));
    EXPECT_EQ(kYellow, pixelAt(hButton, 12, 0)) << "copied, not stretched or shifted";
    EXPECT_EQ(kYellow, pixelAt(hButton, 23, 15));

    m_button.SetState(TRUE);
    EXPECT_TRUE(showsColour(hButton, 5, 5, kGreen)) << "pressed";
    m_button.SetState(FALSE);
    EXPECT_TRUE(showsColour(hButton, 5, 5, kRed));

    m_button.EnableWindow(FALSE);
    EXPECT_TRUE(showsColour(hButton, 5, 5, kBlue)) << "disabled";
    EXPECT_EQ(kBlue, pixelAt(hButton, 23, 15));
}

TEST_F(BitmapButtonTest, AutoLoadFailsWithoutTheNormalImage)
{
    ASSERT_NE(nullptr, createButton(L"NoSuchImages"));
    EXPECT_FALSE(m_button.AutoLoad(IDC_PROBE_BUTTON, m_parent.get()));
    CRect rect;
    m_button.GetWindowRect(&rect);
    EXPECT_EQ(80, rect.Width()) << "a button without images keeps its size";
    EXPECT_FALSE(m_button.LoadBitmaps(L"ProbeBtnU", L"ProbeBtnD", L"ProbeBtnF"))
        << "an image asked for and missing is reported";
    EXPECT_TRUE(m_button.LoadBitmaps(L"ProbeBtnU", L"ProbeBtnD", nullptr, L"ProbeBtnX"));
}

TEST(SliderTest, RangesAndPositionsBeyondSixteenBitsKeepTheirValues)
{
    ParentWindow parent;
    CSliderCtrl slider;
    ASSERT_TRUE(slider.Create(WS_VISIBLE | TBS_HORZ, CRect(0, 0, 180, 30), parent.get(), 1003));

    const int ranges[][2] = {{-180, 180}, {2800, 6500}, {-180, 180}, {0, 100000}};
    for (const auto& range : ranges) {
        const int low = range[0];
        const int high = range[1];
        slider.SetRange(low, high, TRUE);
        int gotLow = 0;
        int gotHigh = 0;
        slider.GetRange(gotLow, gotHigh);
        EXPECT_EQ(low, gotLow);
        EXPECT_EQ(high, gotHigh);
        slider.SetPos(low);
        EXPECT_EQ(low, slider.GetPos());
        slider.SetPos(high);
        EXPECT_EQ(high, slider.GetPos());
        slider.SetPos(high + 1000);
        EXPECT_EQ(high, slider.GetPos()) << "positions stay inside the range";
        slider.SetPos(low - 1000);
        EXPECT_EQ(low, slider.GetPos());
    }
}

TEST(ToolTipTest, RelayedMouseMoveOverAToolShowsItsTip)
{
    ParentWindow parent;
    CButton tool;
    ASSERT_TRUE(tool.Create(L"tool", WS_VISIBLE | BS_PUSHBUTTON, CRect(20, 20, 120, 60), parent.get(),
                            IDC_PROBE_TOOL));
    CToolTipCtrl tip;
    ASSERT_TRUE(tip.Create(parent.get(), TTS_ALWAYSTIP));
    ASSERT_TRUE(tip.AddTool(&tool, L"the tool's tip"));
    tip.SetDelayTime(50);
    tip.Activate(TRUE);

    CRect rect;
    tool.GetWindowRect(&rect);
    CPoint centre = rect.CenterPoint();
    ASSERT_TRUE(SetCursorPos(centre.x, centre.y));
    CPoint client = centre;
    tool.ScreenToClient(&client);
    MSG msg = {tool.m_hWnd, WM_MOUSEMOVE, 0, MAKELPARAM(client.x, client.y), GetTickCount(), centre};
    tip.RelayEvent(&msg);

    EXPECT_TRUE(kivotest::waitFor([&] { return tip.IsWindowVisible() != FALSE; }, kDeadlineMs));
    WCHAR text[64] = {};
    TOOLINFOW ti = {};
    ti.cbSize = TTTOOLINFOW_V2_SIZE;
    ti.lpszText = text;
    ASSERT_TRUE(tip.SendMessage(TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
    EXPECT_EQ(reinterpret_cast<UINT_PTR>(tool.m_hWnd), ti.uId);
    EXPECT_STREQ(L"the tool's tip", text);

    tip.Activate(FALSE);
    EXPECT_TRUE(kivotest::waitFor([&] { return !tip.IsWindowVisible(); }, kDeadlineMs)) << "deactivated";
}

} // namespace
