// The panel's dialogs as a user reaches them: the property sheet from its button, the frame chooser
// from its button, the two alerts the pictures and the direction bring, and the About box from the
// system menu, all in the real KivoSet.exe over kivocap capturing from the virtual camera.
#include "PanelRig.h"

#include "KivoNames.h"
#include "resource.h"

#include <commctrl.h>
#include <prsht.h>

#include <gtest/gtest.h>

using namespace kivoset;

namespace {

const wchar_t kSheetCaption[] = L"Camera Properties";
const wchar_t kAboutCaption[] = L"About Kivo Camera";
const UINT kAboutCommand = 0x0010;
const COLORREF kBorder = RGB(0, 255, 0);

// The camera's value as kivocam reads it: a property by name from "props", a custom setting by id.
long cameraProperty(PanelRig& rig, const char* name)
{
    std::string output;
    rig.runTool(L"kivocam.exe", L"props 0", &output);
    size_t at = output.find(name);
    return at == std::string::npos ? -1000 : strtol(output.c_str() + at + strlen(name), nullptr, 10);
}

long cameraCustom(PanelRig& rig, int id)
{
    std::string output;
    if (rig.runTool(L"kivocam.exe", L"custom 0 " + std::to_wstring(id), &output) != 0)
        return -1000;
    return strtol(output.c_str(), nullptr, 10);
}

// The pages keep their values as text under the settings key.
void storeText(const wchar_t* name, const wchar_t* text)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, REG_SZ, text,
                    DWORD((wcslen(text) + 1) * sizeof(wchar_t)));
}

std::wstring storedText(const wchar_t* name)
{
    WCHAR text[64] = {};
    DWORD size = sizeof(text);
    if (RegGetValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS)
        return L"<none>";
    return text;
}

bool closes(HWND window, DWORD timeoutMs = 5000)
{
    return kivotest::waitFor([&] { return !IsWindow(window); }, timeoutMs);
}

// All of the window, its buttons included, within the screen's work area.
bool withinWorkArea(HWND window)
{
    RECT rect, area;
    if (!GetWindowRect(window, &rect) || !SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0))
        return false;
    return rect.left >= area.left && rect.top >= area.top && rect.right <= area.right && rect.bottom <= area.bottom;
}

// The dialog lies above the panel that opened it (the panel is topmost for its first seconds).
bool above(HWND upper, HWND lower)
{
    for (HWND h = GetWindow(lower, GW_HWNDPREV); h; h = GetWindow(h, GW_HWNDPREV))
        if (h == upper)
            return true;
    return false;
}

// A slider dragged as the user drags it: the position, then the notification to its page.
void dragSlider(HWND page, int sliderId, int position)
{
    HWND slider = GetDlgItem(page, sliderId);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
}

HWND currentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// The panel's buttons run their dialogs modally: clicks are posted, so that this thread goes on.
void clickLater(HWND button)
{
    PostMessageW(button, BM_CLICK, 0, 0);
}

double meanLevel(const Picture& p)
{
    double sum = 0;
    for (BYTE b : p.bgr)
        sum += b;
    return p.bgr.empty() ? 0 : sum / double(p.bgr.size());
}

double meanLevelOfNextFrames(PanelRig& rig)
{
    rig.nextFrames(2);   // frames made before the change may still be on their way
    std::vector<Picture> frames = rig.nextFrames(3);
    double sum = 0;
    for (const Picture& p : frames)
        sum += meanLevel(p);
    return frames.empty() ? -1 : sum / double(frames.size());
}

COLORREF borderFrame(LONG x, LONG y)
{
    return x < 16 || y < 16 || x >= 304 || y >= 224 ? kBorder : RGB(255, 0, 255);
}

bool hasBorder(const Picture& p)
{
    return p.at(2, 2) == kBorder && p.at(p.width - 3, p.height - 3) == kBorder && p.at(p.width / 2, p.height / 2) != kBorder;
}

// A panel up with its camera: the direction buttons live once it has read the camera's direction,
// and frames through it, so that it has restored the stored effects for their size.
HWND startPanel(PanelRig& rig)
{
    if (!rig.startKivoSet() || !rig.waitForPanel())
        return nullptr;
    if (!kivotest::waitFor([&] { return IsWindowEnabled(rig.control(IDC_DIRECTION_FRONT)) != FALSE; }, 10000))
        return nullptr;
    return rig.nextFrames(2).size() == 2 ? rig.panel() : nullptr;
}

} // namespace

// Gamma and low light are stored, then the camera stops reporting them: the pages cannot fill
// those rows, so neither Defaults nor OK nor Cancel may write them or set them on the camera.
TEST(KivoSetDialogs, SheetFromThePanelDrivesTheCameraOkStoresAndCancelPutsTheCameraBack)
{
    PanelRig rig;
    ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 15 --duration 90"));
    ASSERT_NE(nullptr, startPanel(rig));
    double levelBefore = meanLevelOfNextFrames(rig);
    ASSERT_EQ(0u, rig.runTool(L"kivocam.exe", L"set 0 gamma 300"));
    ASSERT_EQ(0u, rig.runTool(L"kivocam.exe", L"set 0 contrast 80"));
    storeText(L"0_5", L"250");
    storeText(L"0_CUSTOM_52", L"1");
    ASSERT_EQ(0u, rig.runTool(L"kivocam.exe", L"fail-get 0 gamma"));
    ASSERT_EQ(0u, rig.runTool(L"kivocam.exe", L"fail-get 0 53"));

    clickLater(rig.control(IDC_PROPERTY_SHEET));
    HWND sheet = rig.waitForDialog(kSheetCaption);
    ASSERT_NE(nullptr, sheet);
    EXPECT_TRUE(withinWorkArea(sheet));
    SendMessageW(GetDlgItem(currentPage(sheet), IDC_PICTURE_DEFAULTS), BM_CLICK, 0, 0);
    EXPECT_EQ(50, cameraProperty(rig, "contrast"));
    dragSlider(currentPage(sheet), IDC_BRIGHTNESS_SLIDER, 50);
    EXPECT_EQ(50, cameraProperty(rig, "brightness"));
    EXPECT_GT(meanLevelOfNextFrames(rig), levelBefore + 20) << "the captured frames did not brighten";
    // Past the panel's first tick, when it would have become topmost.
    EXPECT_TRUE(above(sheet, rig.panel()));
    rig.shot(L"sys-sheet-picture", sheet);

    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    HWND customPage = currentPage(sheet);
    SendMessageW(GetDlgItem(customPage, IDC_FLICKER_60HZ), BM_CLICK, 0, 0);
    SendMessageW(GetDlgItem(customPage, IDC_MIRROR), BM_CLICK, 0, 0);
    EXPECT_EQ(2, cameraCustom(rig, 44));
    EXPECT_EQ(1, cameraCustom(rig, 50));
    rig.shot(L"sys-sheet-camera-settings", sheet);
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(closes(sheet));
    EXPECT_EQ(L"50", storedText(L"0_0"));
    EXPECT_EQ(L"50", storedText(L"0_1"));
    EXPECT_EQ(L"2", storedText(L"0_CUSTOM_43"));
    EXPECT_EQ(L"1", storedText(L"0_CUSTOM_49"));
    EXPECT_EQ(L"250", storedText(L"0_5"));
    EXPECT_EQ(L"1", storedText(L"0_CUSTOM_52"));

    // A second opening: the user moves the slider and a check box, then thinks better of it.
    clickLater(rig.control(IDC_PROPERTY_SHEET));
    sheet = rig.waitForDialog(kSheetCaption);
    ASSERT_NE(nullptr, sheet);
    dragSlider(currentPage(sheet), IDC_BRIGHTNESS_SLIDER, -30);
    EXPECT_EQ(-30, cameraProperty(rig, "brightness"));
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    ASSERT_TRUE(closes(sheet));
    EXPECT_EQ(50, cameraProperty(rig, "brightness"));
    EXPECT_EQ(L"50", storedText(L"0_0"));
    EXPECT_EQ(L"250", storedText(L"0_5"));

    // A third: the user sets low light although the camera could not report it; OK stores that.
    clickLater(rig.control(IDC_PROPERTY_SHEET));
    sheet = rig.waitForDialog(kSheetCaption);
    ASSERT_NE(nullptr, sheet);
    SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
    SendMessageW(GetDlgItem(currentPage(sheet), IDC_LOW_LIGHT), BM_CLICK, 0, 0);   // on
    SendMessageW(GetDlgItem(currentPage(sheet), IDC_LOW_LIGHT), BM_CLICK, 0, 0);   // off again
    PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    ASSERT_TRUE(closes(sheet));
    EXPECT_EQ(L"0", storedText(L"0_CUSTOM_52"));
    ASSERT_EQ(0u, rig.runTool(L"kivocam.exe", L"fail-get 0 gamma off"));
    ASSERT_EQ(0u, rig.runTool(L"kivocam.exe", L"fail-get 0 53 off"));
    EXPECT_EQ(300, cameraProperty(rig, "gamma"));
    EXPECT_EQ(0, cameraCustom(rig, 53));
    EXPECT_TRUE(rig.kivoSet().running());
}

TEST(KivoSetDialogs, ChooserAppliesItsFrameWhileOpenAndCancelAfterApplyKeepsIt)
{
    PanelRig rig;
    ASSERT_TRUE(writeBmp(rig.file(L"data\\frame01.bmp"), 320, 240, borderFrame));
    ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 15 --duration 90 --filter-wait 1000"));
    ASSERT_NE(nullptr, startPanel(rig));

    clickLater(rig.control(IDC_FRAME_BUTTON));
    HWND chooser = rig.waitForBox();
    ASSERT_NE(nullptr, chooser);
    ASSERT_NE(nullptr, GetDlgItem(chooser, IDC_FRAME_PAGE)) << "not the chooser";
    EXPECT_TRUE(withinWorkArea(chooser));
    SendMessageW(GetDlgItem(chooser, IDC_FRAME_NEXT), BM_CLICK, 0, 0);
    EXPECT_EQ(0u, kivotest::windowText(GetDlgItem(chooser, IDC_FRAME_PAGE)).find(L"1/"));
    SendMessageW(GetDlgItem(chooser, IDC_FRAME_APPLY), BM_CLICK, 0, 0);
    EXPECT_NE(L"", rig.waitForFrame(hasBorder, 10000)) << "Apply did not reach the frames";
    EXPECT_TRUE(IsWindowVisible(chooser));
    rig.shot(L"sys-chooser", chooser);

    clickLater(GetDlgItem(chooser, IDCANCEL));
    ASSERT_TRUE(closes(chooser));
    std::vector<Picture> frames = rig.nextFrames(4);
    ASSERT_EQ(4u, frames.size());
    for (const Picture& frame : frames)
        EXPECT_TRUE(hasBorder(frame)) << "Cancel took the applied frame away";
    DWORD frameIdx = 0;
    EXPECT_TRUE(readSetting(KIVO_VALUE_FRAME_IDX, frameIdx));
    EXPECT_EQ(1u, frameIdx);
}

// Three sessions of the panel over one 640x480 capture: Escape on a ticked box stores nothing, so
// the alert comes again; ticked and OK stores the choice, and the third session shows none.
TEST(KivoSetDialogs, EffectDisabledAlertIsStoppedOnlyByTickedOk)
{
    PanelRig rig;
    writeSetting(KIVO_VALUE_NO_DISP_ALERT_EFFECT, 0);
    ASSERT_TRUE(rig.startCapture(L"--size 640x480 --fps 10 --duration 90"));
    DWORD noAlert = ~0u;
    for (int session = 1; session <= 3; ++session) {
        SCOPED_TRACE(session);
        ASSERT_TRUE(rig.startKivoSet());
        HWND panel = rig.waitForPanel();
        ASSERT_NE(nullptr, panel);
        if (session == 3) {
            // Its first frame came and switched the effects off.
            ASSERT_TRUE(rig.log().waitFor("change Reso (X) 0 -> 640, (Y) 0 -> 480", 10000, 3));
            EXPECT_TRUE(kivotest::waitFor([&] { return !IsWindowEnabled(rig.control(IDC_EFFECT_RESET)); }, 5000));
            EXPECT_EQ(nullptr, rig.waitForBox(1500)) << "the alert came although the user asked for none";
            break;
        }
        HWND alert = rig.waitForBox();
        ASSERT_NE(nullptr, alert);
        HWND tick = GetDlgItem(alert, IDC_EFFECT_DISABLE_NO_MORE);
        ASSERT_NE(nullptr, tick) << "not the effect alert";
        EXPECT_TRUE(withinWorkArea(alert));
        if (session == 1)
            rig.shot(L"sys-alert-effect-disabled", alert);
        SendMessageW(tick, BM_CLICK, 0, 0);
        EXPECT_EQ(BST_CHECKED, SendMessageW(tick, BM_GETCHECK, 0, 0));
        if (session == 1)
            PostMessageW(tick, WM_KEYDOWN, VK_ESCAPE, 0);
        else
            clickLater(GetDlgItem(alert, IDOK));
        ASSERT_TRUE(closes(alert));
        ASSERT_TRUE(readSetting(KIVO_VALUE_NO_DISP_ALERT_EFFECT, noAlert));
        EXPECT_EQ(session == 1 ? 0u : 1u, noAlert);
        // The panel goes as the service closes it when the user is done.
        PostMessageW(panel, WM_TASK_DEVICE_CLOSE, 0, 0);
        ASSERT_TRUE(rig.kivoSet().waitExit(10000));
        EXPECT_EQ(0u, rig.kivoSet().exitCode());
    }
}

// Facing rear, the camera delivers 800x600; turned front, that is over its limit and the alert says
// so, its picture where the dialog places it. The About box comes from the panel's system menu.
TEST(KivoSetDialogs, OverResolutionAlertAfterTurningFrontAndAboutFromTheSystemMenu)
{
    PanelRig rig;
    ASSERT_EQ(0u, rig.runTool(L"kivocam.exe", L"turn 0 rear"));
    writeSetting(KIVO_VALUE_CAMERA_DIR, 1);
    ASSERT_TRUE(rig.startCapture(L"--size 800x600 --fps 10 --duration 90"));
    HWND panel = startPanel(rig);
    ASSERT_NE(nullptr, panel);
    ASSERT_TRUE(rig.log().waitFor("change Reso (X) 0 -> 800, (Y) 0 -> 600", 10000));
    EXPECT_EQ(nullptr, rig.waitForBox(500)) << "an alert before the turn";

    clickLater(rig.control(IDC_DIRECTION_FRONT));
    HWND alert = rig.waitForBox();
    ASSERT_NE(nullptr, alert);
    HWND picture = GetDlgItem(alert, IDC_OVER_RESOLUTION_PICTURE);
    ASSERT_NE(nullptr, picture) << "not the over-resolution alert";
    EXPECT_TRUE(withinWorkArea(alert));
    EXPECT_TRUE(above(alert, panel));
    RECT window, placed;
    GetWindowRect(alert, &window);
    GetWindowRect(picture, &placed);
    EXPECT_EQ(17, placed.left - window.left);
    EXPECT_EQ(52, placed.top - window.top);
    EXPECT_EQ(144, placed.right - placed.left);
    EXPECT_EQ(108, placed.bottom - placed.top);
    rig.shot(L"sys-alert-over-resolution", alert);
    clickLater(GetDlgItem(alert, IDOK));
    ASSERT_TRUE(closes(alert));
    DWORD dir = ~0u;
    EXPECT_TRUE(readSetting(KIVO_VALUE_CAMERA_DIR, dir));
    EXPECT_EQ(0u, dir);

    PostMessageW(panel, WM_SYSCOMMAND, kAboutCommand, 0);
    HWND about = rig.waitForDialog(kAboutCaption);
    ASSERT_NE(nullptr, about);
    EXPECT_TRUE(withinWorkArea(about));
    EXPECT_NE(nullptr, FindWindowExW(about, nullptr, L"Static", L"Kivo Camera settings, version 1.0"));
    rig.shot(L"sys-about", about);
    clickLater(GetDlgItem(about, IDOK));
    ASSERT_TRUE(closes(about));
    EXPECT_TRUE(rig.kivoSet().running());
}
