// The two camera property pages without a window, as the panel uses them around a change of camera
// direction and for its reset and maximum commands, against a virtual camera and the registry.
#include "CameraCustomPropertyPage.h"
#include "CameraPropertyPage.h"
#include "DialogTestSupport.h"
#include "PropertyStore.h"

#include "LogFile.h"
#include "ScopedVariable.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <string>

using namespace dialogtest;

namespace {

const long kBrightness = KIVO_PROP_BRIGHTNESS;   // -64..64, default 0 on the built-in camera
const long kSaturation = KIVO_PROP_SATURATION;   // 0..128, default 64
const long kWhiteBalance = KIVO_PROP_WHITE_BALANCE;
const long kBacklight = KIVO_PROP_BACKLIGHT_COMPENSATION;

std::wstring name(int direction, long id)
{
    return PropertyStore::propertyName(direction, id);
}

std::wstring customName(int direction, long writeId)
{
    return PropertyStore::customName(direction, writeId);
}

class PropertyPagesTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(camera.ready()); }

    IsolatedCurrentUser user;
    TestCamera camera;
};

TEST_F(PropertyPagesTest, SavingStoresOnlyWhatDiffersAndDirectionsNeverMix)
{
    // Brightness is stored for direction 0 as it is on the camera; saturation differs from both
    // the stored value and the default; hue was never stored and is at its default.
    camera.set(kBrightness, 20);
    camera.set(kSaturation, 90);
    writeString(name(0, kBrightness), L"20");
    writeString(name(0, kSaturation), L"10");
    writeString(name(1, kSaturation), L"100");

    CameraPropertyPage(camera.settings, 0).saveCurrentValues();

    EXPECT_EQ(L"20", storedString(name(0, kBrightness)));
    EXPECT_EQ(L"90", storedString(name(0, kSaturation)));
    EXPECT_FALSE(valueExists(name(0, KIVO_PROP_HUE)));
    EXPECT_EQ(L"100", storedString(name(1, kSaturation)));
    EXPECT_FALSE(valueExists(name(1, kBrightness)));

    // Turning to direction 1 brings its own values, or the defaults where it has none.
    CameraPropertyPage(camera.settings, 1).restoreStoredValues();
    EXPECT_EQ(100, camera.value(kSaturation));
    EXPECT_EQ(camera.defaultOf(kBrightness), camera.value(kBrightness));
    EXPECT_FALSE(valueExists(name(1, kBrightness)));   // restoring never writes

    CameraPropertyPage(camera.settings, 0).restoreStoredValues();
    EXPECT_EQ(90, camera.value(kSaturation));
    EXPECT_EQ(20, camera.value(kBrightness));
}

TEST_F(PropertyPagesTest, StoredTextIsReadAsADecimalNumberBroughtIntoTheRange)
{
    const int direction = -1;   // the panel's direction before its first read
    writeString(name(direction, kBrightness), L"  -12abc");
    writeString(name(direction, KIVO_PROP_CONTRAST), L"no digits");
    writeString(name(direction, kSaturation), L"99999999999999");   // beyond the int range
    writeString(name(direction, KIVO_PROP_HUE), L"-999");            // below -180
    writeString(name(direction, KIVO_PROP_SHARPNESS), std::wstring(5000, L'7'));   // overlong text
    writeDword(name(direction, KIVO_PROP_GAMMA), 300);               // wrong type
    camera.set(KIVO_PROP_SHARPNESS, 6);
    camera.set(KIVO_PROP_GAMMA, 250);

    CameraPropertyPage(camera.settings, direction).restoreStoredValues();

    EXPECT_EQ(-12, camera.value(kBrightness));
    EXPECT_EQ(0, camera.value(KIVO_PROP_CONTRAST));
    EXPECT_EQ(camera.maximumOf(kSaturation), camera.value(kSaturation));
    EXPECT_EQ(-180, camera.value(KIVO_PROP_HUE));
    EXPECT_EQ(camera.defaultOf(KIVO_PROP_SHARPNESS), camera.value(KIVO_PROP_SHARPNESS));
    EXPECT_EQ(camera.defaultOf(KIVO_PROP_GAMMA), camera.value(KIVO_PROP_GAMMA));
}

TEST_F(PropertyPagesTest, APropertyWhoseValueCannotBeReadIsLeftAlone)
{
    camera.set(kBrightness, 30);
    camera.set(kWhiteBalance, 5000);
    writeString(name(0, kBrightness), L"25");
    RefusingCameraSettings refusing(camera.settings);
    refusing.refuseGet = {kBrightness};

    CameraPropertyPage(&refusing, 0).saveCurrentValues();

    EXPECT_EQ(L"25", storedString(name(0, kBrightness)));
    EXPECT_EQ(30, camera.value(kBrightness));
    for (long id : refusing.setCalls)
        EXPECT_NE(kBrightness, id);
    // The other properties are still handled.
    EXPECT_EQ(L"5000", storedString(name(0, kWhiteBalance)));
}

TEST_F(PropertyPagesTest, ResetStopsAtTheFirstRefusalAndMaximumStoresWhatItSet)
{
    camera.set(kBrightness, 40);
    camera.set(KIVO_PROP_CONTRAST, 80);
    camera.set(KIVO_PROP_HUE, 90);
    camera.set(kSaturation, 100);
    RefusingCameraSettings refusing(camera.settings);
    refusing.refuseSet = {KIVO_PROP_HUE};

    EXPECT_FALSE(CameraPropertyPage(&refusing, 1).resetAllToDefaults());
    EXPECT_EQ(camera.defaultOf(kBrightness), camera.value(kBrightness));
    EXPECT_EQ(camera.defaultOf(KIVO_PROP_CONTRAST), camera.value(KIVO_PROP_CONTRAST));
    EXPECT_EQ(std::to_wstring(camera.defaultOf(kBrightness)), storedString(name(1, kBrightness)));
    EXPECT_EQ(std::to_wstring(camera.defaultOf(KIVO_PROP_CONTRAST)), storedString(name(1, KIVO_PROP_CONTRAST)));
    EXPECT_EQ(90, camera.value(KIVO_PROP_HUE));
    EXPECT_EQ(100, camera.value(kSaturation));
    EXPECT_FALSE(valueExists(name(1, KIVO_PROP_HUE)));
    EXPECT_FALSE(valueExists(name(1, kSaturation)));

    EXPECT_TRUE(CameraPropertyPage(camera.settings, 1).maximizeBrightnessAndBacklight());
    EXPECT_EQ(camera.maximumOf(kBrightness), camera.value(kBrightness));
    EXPECT_EQ(camera.maximumOf(kBacklight), camera.value(kBacklight));
    EXPECT_EQ(std::to_wstring(camera.maximumOf(kBacklight)), storedString(name(1, kBacklight)));
    EXPECT_FALSE(valueExists(name(0, kBacklight)));
}

// --- the camera settings page: write ids 43, 49, 52; read ids 44, 50, 53 ---

TEST_F(PropertyPagesTest, CustomSettingsAreSavedAndRestoredPerDirectionWithinTheirValues)
{
    camera.setCustom(43, 2);
    camera.setCustom(49, 1);
    camera.setCustom(52, 0);
    CameraCustomPropertyPage(camera.settings, 0, KIVO_CUSTOM_PROPERTY_SET).saveCurrentValues();
    EXPECT_EQ(L"2", storedString(customName(0, 43)));
    EXPECT_EQ(L"1", storedString(customName(0, 49)));
    EXPECT_EQ(L"0", storedString(customName(0, 52)));

    // Direction 1: a three-way value out of its range, an on/off value that is neither 0 nor 1,
    // and nothing stored for the second on/off setting (the camera's value is kept).
    writeString(customName(1, 43), L"7");
    writeString(customName(1, 49), L"-5");
    camera.setCustom(52, 1);
    CameraCustomPropertyPage(camera.settings, 1, KIVO_CUSTOM_PROPERTY_SET).restoreStoredValues();
    EXPECT_EQ(2, camera.custom(44));
    EXPECT_EQ(1, camera.custom(50));
    EXPECT_EQ(1, camera.custom(53));

    CameraCustomPropertyPage(camera.settings, 0, KIVO_CUSTOM_PROPERTY_SET).restoreStoredValues();
    EXPECT_EQ(2, camera.custom(44));
    EXPECT_EQ(1, camera.custom(50));
    EXPECT_EQ(0, camera.custom(53));

    // A setting the camera cannot report is not set, whatever is stored.
    writeString(customName(0, 43), L"0");
    RefusingCameraSettings refusing(camera.settings);
    refusing.refuseCustomGet = {44};
    CameraCustomPropertyPage(&refusing, 0, KIVO_CUSTOM_PROPERTY_SET).restoreStoredValues();
    EXPECT_EQ(2, camera.custom(44));
}

TEST_F(PropertyPagesTest, CustomInitialisationStopsAtAFailedReadAndLogsIt)
{
    kivotest::ScratchFolder folder(L"customlog");
    kivotest::ScopedVariable logFile(L"KIVO_LOG_FILE", folder.file(L"kivo.log"));
    kivotest::LogFile log(folder.file(L"kivo.log"));
    camera.setCustom(43, 1);
    camera.setCustom(52, 1);
    RefusingCameraSettings refusing(camera.settings);
    refusing.refuseCustomGet = {50};

    EXPECT_FALSE(CameraCustomPropertyPage(&refusing, 0, KIVO_CUSTOM_PROPERTY_SET).initAllProperties());
    EXPECT_TRUE(log.has("CameraCustomPropertyPage::initProperty() get failed."));
    EXPECT_EQ(L"1", storedString(customName(0, 43)));
    EXPECT_FALSE(valueExists(customName(0, 49)));
    EXPECT_FALSE(valueExists(customName(0, 52)));

    EXPECT_TRUE(CameraCustomPropertyPage(camera.settings, 0, KIVO_CUSTOM_PROPERTY_SET).initAllProperties());
    EXPECT_EQ(L"1", storedString(customName(0, 52)));
}

} // namespace
