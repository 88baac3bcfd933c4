// The camera property sheet as a real window: the test drives it from a second thread as a user
// would (sliders, buttons, PSM_PRESSBUTTON) and reads the camera and the registry back, and what a
// screen reader reads of it.
#include "CameraPropertySheet.h"
#include "DialogTestSupport.h"
#include "PropertyStore.h"

#include "AccessibleControls.h"
#include "DialogDriver.h"
#include "Wait.h"

#include <commctrl.h>
#include <oleacc.h>
#include <prsht.h>

#include <gtest/gtest.h>

using namespace dialogtest;

namespace {

const wchar_t kSheetCaption[] = L"Camera Properties";
const DWORD kTimeoutMs = 10000;

// Buttons are pressed by posted messages (a click on the sheet's button, or PSM_PRESSBUTTON): the
// sheet's modal loop looks at its state after each posted message, as after a user's click.
HWND currentPage(HWND sheet)
{
    return reinterpret_cast<HWND>(SendMessageW(sheet, PSM_GETCURRENTPAGEHWND, 0, 0));
}

// Moves a slider of the page as a drag does: the position, then the notification to the page.
void dragSlider(HWND page, int sliderId, int position)
{
    HWND slider = GetDlgItem(page, sliderId);
    SendMessageW(slider, TBM_SETPOS, TRUE, position);
    SendMessageW(page, WM_HSCROLL, MAKEWPARAM(SB_THUMBTRACK, position), reinterpret_cast<LPARAM>(slider));
}

// Each row of the picture page: its label, its slider and its number box, read by the label's words.
std::vector<kivotest::ExpectedControl> pictureRows()
{
    struct Row {
        int label, slider, value;
        const wchar_t* name;
    };
    const Row rows[] = {{1055, 1024, 1032, L"Brightness"}, {1056, 1025, 1033, L"Contrast"},
                        {1057, 1026, 1034, L"Hue"},        {1058, 1027, 1035, L"Saturation"},
                        {1059, 1028, 1036, L"Sharpness"},  {1060, 1029, 1037, L"Gamma"},
                        {1061, 1030, 1039, L"White balance"}, {1062, 1031, 1038, L"Backlight compensation"}};
    std::vector<kivotest::ExpectedControl> expected = {{1023, ROLE_SYSTEM_STATICTEXT, L""},
                                                       {1021, ROLE_SYSTEM_PUSHBUTTON, L"Defaults"}};
    for (const Row& row : rows) {
        expected.push_back({row.label, ROLE_SYSTEM_STATICTEXT, row.name});
        expected.push_back({row.slider, ROLE_SYSTEM_SLIDER, row.name});
        expected.push_back({row.value, ROLE_SYSTEM_TEXT, row.name});
    }
    return expected;
}

const std::vector<kivotest::ExpectedControl> kSettingsPage = {
    {1053, ROLE_SYSTEM_STATICTEXT, L""},           {1052, ROLE_SYSTEM_GROUPING, L"Light flicker"},
    {1047, ROLE_SYSTEM_RADIOBUTTON, L"Off"},       {1048, ROLE_SYSTEM_RADIOBUTTON, L"50 Hz"},
    {1049, ROLE_SYSTEM_RADIOBUTTON, L"60 Hz"},     {1050, ROLE_SYSTEM_CHECKBUTTON, L"Mirror picture"},
    {1051, ROLE_SYSTEM_CHECKBUTTON, L"Low-light boost"}, {1054, ROLE_SYSTEM_PUSHBUTTON, L"Read from camera"}};

bool readChecked(HWND page, int id)
{
    return (kivotest::accessibleControl(GetDlgItem(page, id)).state & STATE_SYSTEM_CHECKED) != 0;
}

class PropertySheetTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(locale.loaded());
        ASSERT_TRUE(camera.ready());
    }

    IsolatedCurrentUser user;
    LocaleResources locale;
    TestCamera camera;
};

TEST_F(PropertySheetTest, SlidersDriveTheCameraAndOkStoresTheirPositions)
{
    camera.set(KIVO_PROP_BRIGHTNESS, 10);
    writeString(L"0_0", L"-5");   // differs from the camera: replaced when the page opens
    std::wstring openedWith, brightnessBox, whiteBalanceBox, backlightBox, titleText;
    long brightnessWhileOpen = 0, whiteBalanceWhileOpen = 0, backlightWhileOpen = 0;
    bool sliderEnabled = false;

    kivotest::DialogDriver driver(kSheetCaption, [&](HWND sheet) {
        HWND page = currentPage(sheet);
        openedWith = storedString(L"0_0");
        titleText = controlText(page, 1023);
        sliderEnabled = IsWindowEnabled(GetDlgItem(page, 1024)) != FALSE;
        dragSlider(page, 1024, 33);
        brightnessBox = controlText(page, 1032);
        brightnessWhileOpen = camera.value(KIVO_PROP_BRIGHTNESS);
        // The last two rows' number boxes are crossed against the id order.
        dragSlider(page, 1030, 5000);
        whiteBalanceBox = controlText(page, 1039);
        whiteBalanceWhileOpen = camera.value(KIVO_PROP_WHITE_BALANCE);
        dragSlider(page, 1031, 2);
        backlightBox = controlText(page, 1038);
        backlightWhileOpen = camera.value(KIVO_PROP_BACKLIGHT_COMPENSATION);
        PostMessageW(GetDlgItem(sheet, IDOK), BM_CLICK, 0, 0);
    });
    INT_PTR result = runCameraPropertySheet(camera.settings, 0);

    ASSERT_TRUE(driver.found());
    EXPECT_FALSE(driver.closedByDeadline());
    EXPECT_EQ(IDOK, result);
    EXPECT_EQ(L"10", openedWith);
    EXPECT_EQ(L"Picture properties of the camera facing front (towards you)", titleText);
    EXPECT_TRUE(sliderEnabled);
    EXPECT_EQ(L"33", brightnessBox);
    EXPECT_EQ(33, brightnessWhileOpen);
    EXPECT_EQ(L"5000", whiteBalanceBox);
    EXPECT_EQ(5000, whiteBalanceWhileOpen);
    EXPECT_EQ(L"2", backlightBox);
    EXPECT_EQ(2, backlightWhileOpen);
    EXPECT_EQ(L"33", storedString(L"0_0"));
    EXPECT_EQ(L"5000", storedString(L"0_7"));
    EXPECT_EQ(L"2", storedString(L"0_8"));
    EXPECT_FALSE(valueExists(L"1_0"));
}

TEST_F(PropertySheetTest, CancelPutsBackTheValuesTheCameraHadAfterDefaultsAndSliders)
{
    camera.set(KIVO_PROP_CONTRAST, 70);
    camera.set(KIVO_PROP_SATURATION, 20);
    long contrastAfterDefaults = 0;

    kivotest::DialogDriver driver(kSheetCaption, [&](HWND sheet) {
        HWND page = currentPage(sheet);
        dragSlider(page, 1027, 120);
        SendMessageW(GetDlgItem(page, 1021), BM_CLICK, 0, 0);   // defaults
        contrastAfterDefaults = camera.value(KIVO_PROP_CONTRAST);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    INT_PTR result = runCameraPropertySheet(camera.settings, 1);

    ASSERT_TRUE(driver.found());
    EXPECT_EQ(IDCANCEL, result);
    EXPECT_EQ(camera.defaultOf(KIVO_PROP_CONTRAST), contrastAfterDefaults);
    EXPECT_EQ(70, camera.value(KIVO_PROP_CONTRAST));
    EXPECT_EQ(20, camera.value(KIVO_PROP_SATURATION));
    EXPECT_EQ(L"70", storedString(L"1_1"));   // stored when the page opened, not on Cancel
}

TEST_F(PropertySheetTest, CameraSettingsPageClicksSetTheCameraAndOkStoresTheControls)
{
    camera.setCustom(43, 0);
    camera.setCustom(49, 0);
    camera.setCustom(52, 1);
    long threeWayAfterClick = -1, mirrorAfterClick = -1;
    bool radioEnabled = false, lowLightChecked = false;
    bool readBefore[3] = {}, readAfter[3] = {};   // off, 60 Hz, mirror as a screen reader has them

    kivotest::DialogDriver driver(kSheetCaption, [&](HWND sheet) {
        SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        HWND page = currentPage(sheet);
        radioEnabled = IsWindowEnabled(GetDlgItem(page, 1049)) != FALSE;
        lowLightChecked = SendMessageW(GetDlgItem(page, 1051), BM_GETCHECK, 0, 0) == BST_CHECKED;
        readBefore[0] = readChecked(page, 1047), readBefore[1] = readChecked(page, 1049), readBefore[2] = readChecked(page, 1050);
        SendMessageW(GetDlgItem(page, 1049), BM_CLICK, 0, 0);
        threeWayAfterClick = camera.custom(44);
        SendMessageW(GetDlgItem(page, 1050), BM_CLICK, 0, 0);
        mirrorAfterClick = camera.custom(50);
        readAfter[0] = readChecked(page, 1047), readAfter[1] = readChecked(page, 1049), readAfter[2] = readChecked(page, 1050);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    });
    runCameraPropertySheet(camera.settings, 0);

    ASSERT_TRUE(driver.found());
    EXPECT_TRUE(radioEnabled);
    EXPECT_TRUE(lowLightChecked);
    EXPECT_EQ(2, threeWayAfterClick);
    EXPECT_EQ(1, mirrorAfterClick);
    EXPECT_TRUE(readBefore[0]);
    EXPECT_FALSE(readBefore[1]);
    EXPECT_FALSE(readBefore[2]);
    EXPECT_FALSE(readAfter[0]);
    EXPECT_TRUE(readAfter[1]);
    EXPECT_TRUE(readAfter[2]);
    EXPECT_EQ(L"2", storedString(L"0_CUSTOM_43"));
    EXPECT_EQ(L"1", storedString(L"0_CUSTOM_49"));
    EXPECT_EQ(L"1", storedString(L"0_CUSTOM_52"));
}

// Painted by the skin: a half-drawn page behind another window must not stay so. Read by a screen
// reader control by control, the sheet's own included.
TEST_F(PropertySheetTest, BothPagesRepaintWholeAtOnceWhenAskedToSyncPaintAndAreReadControlByControl)
{
    bool pictureRepaints = false, settingsRepaints = false;
    std::wstring sheetFaults, pictureFaults, settingsFaults;
    kivotest::DialogDriver driver(kSheetCaption, [&](HWND sheet) {
        HWND page = currentPage(sheet);
        pictureRepaints = repaintsAtOnceOn(page, WM_SYNCPAINT);
        pictureFaults = kivotest::describeFaults(page, pictureRows());
        sheetFaults = kivotest::describeFaults(sheet, {{GetDlgCtrlID(page), ROLE_SYSTEM_PROPERTYPAGE, L"Picture"},
                                                       {0x3020, ROLE_SYSTEM_PAGETABLIST, kSheetCaption},
                                                       {IDOK, ROLE_SYSTEM_PUSHBUTTON, L"OK"},
                                                       {IDCANCEL, ROLE_SYSTEM_PUSHBUTTON, L"Cancel"}});
        SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
        settingsRepaints = repaintsAtOnceOn(currentPage(sheet), WM_SYNCPAINT);
        settingsFaults = kivotest::describeFaults(currentPage(sheet), kSettingsPage);
        PostMessageW(sheet, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
    });
    runCameraPropertySheet(camera.settings, 0);

    ASSERT_TRUE(driver.found());
    EXPECT_TRUE(pictureRepaints);
    EXPECT_TRUE(settingsRepaints);
    EXPECT_EQ(L"", sheetFaults);
    EXPECT_EQ(L"", pictureFaults);
    EXPECT_EQ(L"", settingsFaults);
}

} // namespace
