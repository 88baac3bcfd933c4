// The panel's geometry: controls at fixed pixels from the window's corner, the window's size, the
// default place at the bottom-right of the work area, a stored place, a stored place on no monitor,
// a minimised panel's stored place, and stored effect values beyond their lists.
#include "PanelRig.h"

#include "KivoNames.h"
#include "resource.h"

#include <gtest/gtest.h>

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
