// The panel's geometry: controls at fixed pixels from the window's corner, the window's size, the
// default place at the bottom-right of the work area, a stored place, a stored place on no monitor,
// a minimised panel's stored place, and stored effect values beyond their lists. The row icons as
// the screen shows them: on the panel's colour, greyed with their controls, with their tooltips.
#include "BitmapPixels.h"
#include "PanelRig.h"

#include "KivoNames.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <commctrl.h>

using namespace kivoset;

namespace {

RECT windowRect(HWND hWnd)
{
    RECT rect = {};
    GetWindowRect(hWnd, &rect);
    return rect;
}

LONG widthOf(HWND hWnd)
{
    RECT rect = windowRect(hWnd);
    return rect.right - rect.left;
}

RECT workArea()
{
    RECT work = {};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

void expectAt(PanelRig& rig, int id, LONG x, LONG y)
{
    RECT panel = windowRect(rig.panel());
    RECT control = windowRect(rig.control(id));
    EXPECT_EQ(x, control.left - panel.left) << "control " << id;
    EXPECT_EQ(y, control.top - panel.top) << "control " << id;
}

// The screen's pixels inside the rectangle (0xRRGGBB), rows top-down.
std::vector<DWORD> screenPixels(const RECT& rect)
{
    LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    BITMAPINFO info = kivotest::topDownInfo(width, height);
    HDC screen = GetDC(nullptr);
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HDC memory = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    std::vector<DWORD> pixels(static_cast<DWORD*>(bits), static_cast<DWORD*>(bits) + width * height);
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(bitmap);
    ReleaseDC(nullptr, screen);
    for (DWORD& pixel : pixels)
        pixel &= 0xFFFFFF;
    return pixels;
}

// The largest difference between two colour channels of any pixel: 0 for pure greys.
int largestTint(const std::vector<DWORD>& pixels)
{
    int tint = 0;
    for (DWORD pixel : pixels) {
        int r = (pixel >> 16) & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel & 0xFF;
        tint = std::max(tint, std::max({r, g, b}) - std::min({r, g, b}));
    }
    return tint;
}

// Real pointer movement, as a user's hand: away first, then onto the point and a pixel further.
void movePointerTo(POINT at)
{
    const int width = GetSystemMetrics(SM_CXSCREEN) - 1, height = GetSystemMetrics(SM_CYSCREEN) - 1;
    const POINT path[] = {{0, 0}, at, {at.x + 1, at.y + 1}};
    for (POINT point : path) {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dx = MulDiv(point.x, 65535, width);
        input.mi.dy = MulDiv(point.y, 65535, height);
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
        SendInput(1, &input, sizeof(INPUT));
        kivotest::pumpMessagesFor(100);
    }
}

struct VisibleTip {
    DWORD processId;
    HWND found;
};

// The text of the process's tooltip window shown now, or "" when none is shown. A tooltip answers
// WM_GETTEXT with the tip it shows; GetWindowText would read only the window's own caption.
std::wstring shownTipText(DWORD processId)
{
    VisibleTip search = {processId, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL {
            auto* tip = reinterpret_cast<VisibleTip*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hWnd, &owner);
            WCHAR className[64] = {};
            GetClassNameW(hWnd, className, ARRAYSIZE(className));
            if (owner == tip->processId && IsWindowVisible(hWnd) && lstrcmpiW(className, TOOLTIPS_CLASSW) == 0)
                tip->found = hWnd;
            return tip->found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    WCHAR text[128] = {};
    DWORD_PTR copied = 0;
    if (search.found)
        SendMessageTimeoutW(search.found, WM_GETTEXT, ARRAYSIZE(text), reinterpret_cast<LPARAM>(text),
                            SMTO_ABORTIFHUNG, 1000, &copied);
    return text;
}

const char kOpenLine[] = "CKivoSetDlg::OnOpenDevice() called.";

// One panel session on a capturing camera; ends with the capture.
struct Session {
    explicit Session(PanelRig& rig) : rig(rig)
    {
        int opens = rig.log().count(kOpenLine);
        EXPECT_TRUE(rig.startCapture(L"--size 320x240 --fps 10 --duration 60"));
        EXPECT_TRUE(rig.startKivoSet());
        panel = rig.waitForPanel();
        EXPECT_TRUE(rig.log().waitFor(kOpenLine, 10000, opens + 1));
    }
    void end()
    {
        rig.stopCapture();
        EXPECT_TRUE(rig.kivoSet().waitExit(10000));
    }
    PanelRig& rig;
    HWND panel = nullptr;
};

} // namespace

TEST(KivoSetLayout, ControlsAndWindowAtTheirComputedPixels)
{
    PanelRig rig;
    Session session(rig);
    ASSERT_NE(nullptr, session.panel);
    expectAt(rig, IDC_DIRECTION_LABEL, 18, 38);
    expectAt(rig, IDC_DIRECTION_FRONT, 18, 58);
    expectAt(rig, IDC_DIRECTION_REAR, 18, 86);
    expectAt(rig, IDC_PICTURE_LABEL, 18, 116);
    expectAt(rig, IDC_PROPERTY_DEFAULTS, 18, 136);
    expectAt(rig, IDC_PROPERTY_MAXIMUM, 18, 164);
    expectAt(rig, IDC_PROPERTY_SHEET, 18, 192);
    LONG a = widthOf(rig.control(IDC_PROPERTY_DEFAULTS)) + 49;
    LONG b = a + widthOf(rig.control(IDC_FRAME_BUTTON)) + 51;
    LONG p = widthOf(rig.control(IDC_EFFECT_RESET)) + (b - a) + 72;
    expectAt(rig, IDC_FRAME_ICON, a, 89);
    expectAt(rig, IDC_ZOOM_ICON, a, 151);
    expectAt(rig, IDC_FRAME_BUTTON, a + 36, 94);
    expectAt(rig, IDC_ZOOM_LIST, a + 36, 156);
    expectAt(rig, IDC_MODE_ICON, b, 89);
    expectAt(rig, IDC_MODE_LIST, b + 36, 94);
    expectAt(rig, IDC_EFFECT_RESET, b + 36, 156);
    expectAt(rig, IDC_EFFECT_PANEL, a - 15, 58);
    expectAt(rig, IDC_EFFECT_PANEL_FRAME, a - 16, 57);
    RECT effectPanel = windowRect(rig.control(IDC_EFFECT_PANEL));
    EXPECT_EQ(p, effectPanel.right - effectPanel.left);
    EXPECT_EQ(156, effectPanel.bottom - effectPanel.top);
    RECT panel = windowRect(session.panel);
    EXPECT_EQ(a + p + 5, panel.right - panel.left);
    EXPECT_EQ(236, panel.bottom - panel.top);
    session.end();
}

TEST(KivoSetLayout, RowIconsSitOnThePanelGreyWithTheirControlsAndShowTheirTipsUnderThePointer)
{
    PanelRig rig;
    Session session(rig);
    ASSERT_NE(nullptr, session.panel);
    SetForegroundWindow(session.panel);
    kivotest::pumpMessagesFor(300);
    const DWORD kPanel = 0xC7CED3, kDialog = 0xD7DDE0;   // RGB(199,206,211), RGB(215,221,224)
    for (int id : {IDC_FRAME_ICON, IDC_ZOOM_ICON, IDC_MODE_ICON}) {
        std::vector<DWORD> pixels = screenPixels(windowRect(rig.control(id)));
        EXPECT_EQ(0, std::count(pixels.begin(), pixels.end(), kDialog)) << "icon " << id;
        EXPECT_LT(0, std::count(pixels.begin(), pixels.end(), kPanel)) << "icon " << id;
        EXPECT_LT(60, largestTint(pixels)) << "icon " << id << " is in colour while its control is on";
    }
    // A still picture disables frame and zoom: their icons grey, the mode's stays.
    rig.chooseEntry(IDC_MODE_LIST, 2);
    ASSERT_TRUE(kivotest::waitFor([&] { return !IsWindowEnabled(rig.control(IDC_FRAME_BUTTON)); }, 5000));
    kivotest::pumpMessagesFor(300);
    EXPECT_GT(30, largestTint(screenPixels(windowRect(rig.control(IDC_FRAME_ICON)))));
    EXPECT_GT(30, largestTint(screenPixels(windowRect(rig.control(IDC_ZOOM_ICON)))));
    EXPECT_LT(60, largestTint(screenPixels(windowRect(rig.control(IDC_MODE_ICON)))));
    rig.chooseEntry(IDC_MODE_LIST, 0);
    ASSERT_TRUE(kivotest::waitFor([&] { return IsWindowEnabled(rig.control(IDC_FRAME_BUTTON)); }, 5000));
    kivotest::pumpMessagesFor(300);
    EXPECT_LT(60, largestTint(screenPixels(windowRect(rig.control(IDC_FRAME_ICON)))));

    const std::pair<int, const wchar_t*> tips[] = {{IDC_FRAME_ICON, L"Frame laid over the picture"},
                                                   {IDC_ZOOM_ICON, L"Zoom into the middle of the picture"},
                                                   {IDC_MODE_ICON, L"Live picture, frozen picture or still picture"}};
    // Tooltips show for the active window under the pointer only; a test beside this one may take the
    // activation or the pointer meanwhile, so the panel is brought forward and the pointer moved again
    // (three tries), as a user would move the mouse once more.
    for (const auto& tip : tips) {
        RECT icon = windowRect(rig.control(tip.first));
        std::wstring shown;
        bool seen = false;
        for (int attempt = 0; attempt < 3 && !seen; ++attempt) {
            SetForegroundWindow(session.panel);
            movePointerTo({(icon.left + icon.right) / 2, (icon.top + icon.bottom) / 2});
            seen = kivotest::waitFor([&] { return (shown = shownTipText(rig.kivoSet().id())) == tip.second; }, 2500);
        }
        EXPECT_TRUE(seen) << "icon " << tip.first << " shows \"" << std::string(shown.begin(), shown.end()) << "\"";
    }
    movePointerTo({0, 0});
    session.end();
}

TEST(KivoSetLayout, PlacedFromStoredOffsetsOnlyWhereAMonitorIsAndStoredValuesOutOfRangeAreIgnored)
{
    PanelRig rig;
    RECT work = workArea();
    writeSetting(KIVO_VALUE_FRAME_IDX, 0xFFFFFFFF);
    writeSetting(KIVO_VALUE_ZOOM_IDX, 9);
    {
        Session session(rig);
        ASSERT_NE(nullptr, session.panel);
        RECT panel = windowRect(session.panel);
        EXPECT_EQ(work.right, panel.right);
        EXPECT_EQ(work.bottom, panel.bottom);
        ASSERT_TRUE(kivotest::waitFor([&] { DWORD zoom = 9; return readSetting(KIVO_VALUE_ZOOM_IDX, zoom) && zoom == 0; }, 5000));
        EXPECT_EQ(0, SendMessageW(rig.control(IDC_ZOOM_LIST), CB_GETCURSEL, 0, 0));
        DWORD frameIdx = ~0u;
        EXPECT_TRUE(kivotest::waitFor([&] { return readSetting(KIVO_VALUE_FRAME_IDX, frameIdx) && frameIdx == 0; }, 5000));
        session.end();
    }
    writeSetting(KIVO_VALUE_HORIZONTAL_OFFSET, 40);
    writeSetting(KIVO_VALUE_VERTICAL_OFFSET, 50);
    {
        Session session(rig);
        RECT panel = windowRect(session.panel);
        EXPECT_EQ(40, panel.left);
        EXPECT_EQ(50, panel.top);
        // A minimised panel stores where it comes back to.
        ShowWindow(session.panel, SW_MINIMIZE);
        session.end();
        DWORD left = 0, top = 0;
        EXPECT_TRUE(readSetting(KIVO_VALUE_HORIZONTAL_OFFSET, left));
        EXPECT_TRUE(readSetting(KIVO_VALUE_VERTICAL_OFFSET, top));
        EXPECT_EQ(40u, left);
        EXPECT_EQ(50u, top);
    }
    writeSetting(KIVO_VALUE_HORIZONTAL_OFFSET, DWORD(-30000));
    writeSetting(KIVO_VALUE_VERTICAL_OFFSET, DWORD(-30000));
    {
        Session session(rig);
        RECT panel = windowRect(session.panel);
        EXPECT_EQ(work.right, panel.right);
        EXPECT_EQ(work.bottom, panel.bottom);
        DWORD left = 0;
        EXPECT_TRUE(readSetting(KIVO_VALUE_HORIZONTAL_OFFSET, left));
        EXPECT_EQ(DWORD(-30000), left);
        session.end();
    }
}
