// COrvUtilsApi in an installation folder with and without VcamOrvUtils.dll, and with and without a
// built-in camera on the device.
#include "VcamTestSupport.h"

#include "Device.h"

#include <gtest/gtest.h>

using namespace vcamtest;

namespace {

class VcamOrvUtils : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CopyFileW(kivotest::testsFile(L"vcam_orvprobe.exe").c_str(), folder.file(L"vcam_orvprobe.exe").c_str(), FALSE));
        ASSERT_TRUE(kivotest::stageFiles(folder.path(), {L"KivoLib.dll"}));
    }

    std::string probe() { return kivotest::runToEnd(folder.file(L"vcam_orvprobe.exe"), L"", 15000).output; }

    ScopedDevice device;
    kivotest::ScratchFolder folder{L"vcamorv"};
};

TEST_F(VcamOrvUtils, InitNeedsTheLibraryAndTheBuiltInCamera)
{
    EXPECT_EQ("init 0\r\n", probe());   // no VcamOrvUtils.dll beside KivoLib.dll

    ASSERT_TRUE(kivotest::stageFiles(folder.path(), {L"OrvUtils.dll"}));
    EXPECT_EQ("init 1\r\nsignal 1 0x1\r\nunknown call 0\r\nturn bad 0\r\nturn rear 1\r\nsignal 1 0x9\r\n"
              "after release 0\r\n",
              probe());
    vcam::Device admin;
    ASSERT_TRUE(admin.open());
    LONG direction = 0;
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.direction(0, direction));
    EXPECT_EQ(1, direction);

    // Only an external camera: the driver has nothing to turn.
    DWORD index = 0;
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.addCamera(false, 0, index));
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.removeCamera(0));
    EXPECT_EQ("init 0\r\n", probe());
}

} // namespace
