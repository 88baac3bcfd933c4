// ICameraPropertySettings from KivoLib.dll against the device's own ranges, and the library's
// property dialog driven as a user would.
#include "VcamTestSupport.h"

#include "Device.h"
#include "KivoNames.h"

#include <commctrl.h>
#include <gtest/gtest.h>


using namespace vcamtest;

namespace {

const GUID kOtherSet = {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}};

class VcamPropertySettings : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib.loaded());
        ASSERT_TRUE(admin.open());
    }

    ScopedDevice device;
    KivoLibModule lib;
    vcam::Device admin;
};

struct Range {
    long min, max, step, def, caps;
};

TEST_F(VcamPropertySettings, RangesValuesAndDefaultsAreTheDevicesOwn)
{
    ICameraPropertySettings* settings = lib.createSettings(0);
    ASSERT_NE(nullptr, settings);
    EXPECT_EQ(nullptr, lib.createSettings(1));
    EXPECT_TRUE(settings->IsInternalCamera());

    for (long id = 0; id < 10; ++id) {
        Range r = {};
        vcam::PropertyRange expected = {};
        bool offered = admin.propertyRange(0, id, expected) == vcam::DeviceResult::Ok;
        EXPECT_EQ(offered, settings->GetPropertyRange(id, &r.min, &r.max, &r.step, &r.def, &r.caps)) << id;
        if (!offered)
            continue;
        EXPECT_EQ(expected.min, r.min);
        EXPECT_EQ(expected.max, r.max);
        EXPECT_EQ(expected.def, r.def);
        EXPECT_LT(r.min, r.max);
        EXPECT_TRUE(r.def >= r.min && r.def <= r.max);
        EXPECT_TRUE(r.caps & KIVO_PROP_FLAGS_MANUAL);
        // Out of range is refused and changes nothing.
        long value = 0, flags = 0;
        EXPECT_FALSE(settings->SetProperty(id, r.max + r.step, KIVO_PROP_FLAGS_MANUAL));
        EXPECT_FALSE(settings->SetProperty(id, r.min - r.step, KIVO_PROP_FLAGS_MANUAL));
        ASSERT_TRUE(settings->GetProperty(id, &value, &flags));
        EXPECT_EQ(r.def, value);
        EXPECT_TRUE(settings->SetProperty(id, r.min, KIVO_PROP_FLAGS_MANUAL));
        ASSERT_TRUE(settings->GetProperty(id, &value, &flags));
        EXPECT_EQ(r.min, value);
        EXPECT_EQ(KIVO_PROP_FLAGS_MANUAL, flags);
    }
    long v = 0, f = 0;
    EXPECT_FALSE(settings->GetPropertyRange(6, &v, &v, &v, &v, &v));
    EXPECT_FALSE(settings->GetPropertyRange(9, &v, &v, &v, &v, &v));
    EXPECT_FALSE(settings->GetProperty(9, &v, &f));

    EXPECT_TRUE(settings->MaximizeProperty(0));
    ASSERT_TRUE(settings->GetProperty(0, &v, &f));
    EXPECT_EQ(64, v);
    EXPECT_FALSE(settings->MaximizeProperty(9));
    EXPECT_TRUE(settings->ResetDefaults());
    for (long id : {0L, 1L, 8L}) {
        Range r = {};
        ASSERT_TRUE(settings->GetPropertyRange(id, &r.min, &r.max, &r.step, &r.def, &r.caps));
        ASSERT_TRUE(settings->GetProperty(id, &v, &f));
        EXPECT_EQ(r.def, v) << id;
    }
    settings->Release();
}

TEST_F(VcamPropertySettings, CustomSetWritesThroughWriteIdsAndReadsThroughReadIds)
{
    ICameraPropertySettings* settings = lib.createSettings(0);
    ASSERT_NE(nullptr, settings);
    long value = -1;
    ASSERT_TRUE(settings->GetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 45, &value));
    EXPECT_EQ(1, value);
    ASSERT_TRUE(settings->GetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 48, &value));
    EXPECT_EQ(0, value);   // the model lacks the setting at 46..48
    EXPECT_FALSE(settings->SetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 46, 1));

    EXPECT_TRUE(settings->SetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 43, 2));
    EXPECT_TRUE(settings->SetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 52, 1));
    ASSERT_TRUE(settings->GetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 44, &value));
    EXPECT_EQ(2, value);
    ASSERT_TRUE(settings->GetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 53, &value));
    EXPECT_EQ(1, value);
    EXPECT_FALSE(settings->SetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 43, 3));
    EXPECT_FALSE(settings->GetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 43, &value));
    EXPECT_FALSE(settings->SetCustomProperty(kOtherSet, 43, 1));
    EXPECT_FALSE(settings->GetCustomProperty(kOtherSet, 44, &value));
    EXPECT_FALSE(settings->GetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 55, &value));
    settings->Release();
}

TEST_F(VcamPropertySettings, SettingsStayWithTheirCameraWhenIndexesMove)
{
    DWORD index = 0;
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.addCamera(false, 0, index));
    ICameraPropertySettings* external = lib.createSettings(1);
    ASSERT_NE(nullptr, external);
    EXPECT_FALSE(external->IsInternalCamera());
    long value = 0;
    EXPECT_FALSE(external->GetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, 44, &value));   // no custom set

    ASSERT_EQ(vcam::DeviceResult::Ok, admin.removeCamera(0));
    EXPECT_TRUE(external->SetProperty(9, 77, KIVO_PROP_FLAGS_MANUAL));   // gain: the external camera's
    LONG gain = 0, flags = 0;
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.getProperty(0, 9, gain, flags));
    EXPECT_EQ(77, gain);

    ASSERT_EQ(vcam::DeviceResult::Ok, admin.removeCamera(0));
    EXPECT_FALSE(external->SetProperty(9, 10, KIVO_PROP_FLAGS_MANUAL));   // it has gone
    external->Release();
}

const wchar_t kDialogCaption[] = L"Camera 1 Properties";

void moveSlider(HWND hDialog, int id, long position)
{
    HWND hSlider = GetDlgItem(hDialog, 3110 + id);
    SendMessageW(hSlider, TBM_SETPOS, TRUE, position);
    SendMessageW(hDialog, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, position), reinterpret_cast<LPARAM>(hSlider));
}

TEST_F(VcamPropertySettings, DialogShowsOfferedPropertiesAppliesSlidersAndCancelRestores)
{
    DWORD index = 0;
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.addCamera(false, 0, index));
    ICameraPropertySettings* settings = lib.createSettings(1);
    ASSERT_NE(nullptr, settings);

    int visibleSliders = 0;
    long brightnessWhileOpen = 0, sliderMax = 0;
    {
        kivotest::DialogDriver driver(kDialogCaption, [&](HWND hDialog) {
            for (int id = 0; id < 10; ++id)
                visibleSliders += IsWindowVisible(GetDlgItem(hDialog, 3110 + id)) ? 1 : 0;
            sliderMax = long(SendMessageW(GetDlgItem(hDialog, 3110), TBM_GETRANGEMAX, 0, 0));
            moveSlider(hDialog, 0, 200);
            LONG flags = 0;
            vcam::Device reader;
            reader.open();
            reader.getProperty(1, 0, brightnessWhileOpen, flags);
            SendMessageW(GetDlgItem(hDialog, IDCANCEL), BM_CLICK, 0, 0);
        });
        EXPECT_TRUE(settings->ShowPropertyDialog(nullptr));
        EXPECT_TRUE(driver.found());
    }
    EXPECT_EQ(7, visibleSliders);   // the external camera lacks hue, gamma and backlight compensation
    EXPECT_EQ(255, sliderMax);
    EXPECT_EQ(200, brightnessWhileOpen);   // the camera follows the slider at once
    long value = 0, flags = 0;
    ASSERT_TRUE(settings->GetProperty(0, &value, &flags));
    EXPECT_EQ(128, value);   // Cancel put the opening value back

    {
        kivotest::DialogDriver driver(kDialogCaption, [&](HWND hDialog) {
            moveSlider(hDialog, 9, 60);
            SendMessageW(GetDlgItem(hDialog, IDOK), BM_CLICK, 0, 0);
        });
        EXPECT_TRUE(settings->ShowPropertyDialog(nullptr));
    }
    ASSERT_TRUE(settings->GetProperty(9, &value, &flags));
    EXPECT_EQ(60, value);   // OK keeps it
    settings->Release();
}

} // namespace
