// The device as kivocam and kivocap see it: configuration shared between processes, damaged state
// refused, property rules, the tools' command lines, and a picture that follows the camera.
#include "VcamTestSupport.h"
#include "FrameLayout.h"

#include "Device.h"
#include "DeviceStore.h"

#include <gtest/gtest.h>

#include <cstdlib>

using namespace vcamtest;

namespace {

RunResult kivocam(const std::wstring& arguments)
{
    return runStaged(L"kivocam.exe", arguments, 15000);
}

RunResult kivocap(const std::wstring& arguments)
{
    return runStaged(L"kivocap.exe", arguments, 20000);
}

// Mean of the bytes of one colour channel (0 blue, 1 green, 2 red) of a 24-bit BMP.
double channelMean(const BmpFile& bmp, int channel)
{
    const LONG w = bmp.header.biWidth, h = bmp.header.biHeight < 0 ? -bmp.header.biHeight : bmp.header.biHeight;
    const size_t stride = size_t(kivo::dibStride(w, 24));
    double sum = 0;
    for (LONG y = 0; y < h; ++y)
        for (LONG x = 0; x < w; ++x)
            sum += bmp.pixels[size_t(y) * stride + size_t(x) * 3 + size_t(channel)];
    return sum / (double(w) * double(h));
}

// Sum of absolute differences between horizontal neighbours of the green channel: edge strength.
double edgeEnergy(const BmpFile& bmp)
{
    const LONG w = bmp.header.biWidth, h = bmp.header.biHeight < 0 ? -bmp.header.biHeight : bmp.header.biHeight;
    const size_t stride = size_t(kivo::dibStride(w, 24));
    double sum = 0;
    for (LONG y = 0; y < h; ++y)
        for (LONG x = 1; x < w; ++x)
            sum += std::abs(int(bmp.pixels[size_t(y) * stride + size_t(x) * 3 + 1]) -
                            int(bmp.pixels[size_t(y) * stride + size_t(x - 1) * 3 + 1]));
    return sum;
}

class VcamDevice : public ::testing::Test {
protected:
    ScopedDevice device;
};

TEST_F(VcamDevice, ConfigurationIsSharedAndOutlivesTheProcessesThatMadeIt)
{
    RunResult list = kivocam(L"list");
    ASSERT_EQ(0u, list.exitCode) << list.output;
    EXPECT_EQ("0 built-in front\r\n", list.output);

    ASSERT_EQ(0u, kivocam(L"add --external").exitCode);
    ASSERT_EQ(0u, kivocam(L"add --rear").exitCode);
    ASSERT_EQ(0u, kivocam(L"turn 0 rear").exitCode);
    ASSERT_EQ(0u, kivocam(L"set 1 gain 40 manual").exitCode);
    list = kivocam(L"list");
    EXPECT_EQ("0 built-in rear\r\n1 external front\r\n2 built-in rear\r\n", list.output) << "exit code " << list.exitCode;

    // Removing a camera moves the later ones down, with their settings.
    ASSERT_EQ(0u, kivocam(L"remove 0").exitCode);
    vcam::Device admin;
    ASSERT_TRUE(admin.open());
    LONG gain = 0, flags = 0;
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.getProperty(0, 9, gain, flags));
    EXPECT_EQ(40, gain);
    EXPECT_EQ(vcam::DeviceResult::NotBuiltIn, admin.turnCamera(0, 1));
    EXPECT_EQ(vcam::DeviceResult::NoCamera, admin.removeCamera(2));

    ASSERT_EQ(0u, kivocam(L"reset").exitCode);
    list = kivocam(L"list");
    EXPECT_EQ("0 built-in front\r\n", list.output) << "exit code " << list.exitCode;
}

TEST_F(VcamDevice, DamagedStateIsRefusedUntilReset)
{
    vcam::Device admin;
    ASSERT_TRUE(admin.open());
    {
        vcam::DeviceStore::Lock lock(admin.store());
        admin.store().state()->cameraCount = 99;
    }
    RunResult list = kivocam(L"list");
    EXPECT_EQ(1u, list.exitCode);
    EXPECT_NE(std::string::npos, list.output.find("reset")) << list.output;
    RunResult cap = kivocap(L"--frames 1");
    EXPECT_EQ(1u, cap.exitCode) << cap.output;

    {
        vcam::DeviceStore::Lock lock(admin.store());
        admin.store().state()->cameraCount = 1;
        admin.store().state()->cameras[0].props[0].value = 5000;   // brightness beyond its range
    }
    EXPECT_EQ(1u, kivocam(L"props 0").exitCode);

    ASSERT_EQ(0u, kivocam(L"reset").exitCode);
    EXPECT_EQ(0u, kivocam(L"props 0").exitCode);
}

TEST_F(VcamDevice, PropertiesKeepToTheirRangesStepsAndCaps)
{
    vcam::Device admin;
    ASSERT_TRUE(admin.open());
    LONG value = 0, flags = 0;
    EXPECT_EQ(vcam::DeviceResult::OutOfRange, admin.setProperty(0, 0, 65, KIVO_PROP_FLAGS_MANUAL));
    EXPECT_EQ(vcam::DeviceResult::OutOfRange, admin.setProperty(0, 1, 50, KIVO_PROP_FLAGS_AUTO));   // manual only
    EXPECT_EQ(vcam::DeviceResult::OutOfRange, admin.setProperty(0, 1, 50, 0));
    EXPECT_EQ(vcam::DeviceResult::NotOffered, admin.setProperty(0, 9, 1, KIVO_PROP_FLAGS_MANUAL));
    EXPECT_EQ(vcam::DeviceResult::NotOffered, admin.setProperty(0, 10, 1, KIVO_PROP_FLAGS_MANUAL));
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.getProperty(0, 0, value, flags));
    EXPECT_EQ(0, value);

    ASSERT_EQ(vcam::DeviceResult::Ok, admin.setProperty(0, 7, 3004, KIVO_PROP_FLAGS_MANUAL));
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.getProperty(0, 7, value, flags));
    EXPECT_EQ(3000, value);   // white balance moves in steps of 10
    EXPECT_EQ(KIVO_PROP_FLAGS_MANUAL, flags);
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.setProperty(0, 7, 6500, KIVO_PROP_FLAGS_AUTO));

    EXPECT_EQ(vcam::DeviceResult::OutOfRange, admin.setCustom(0, 43, 3));
    EXPECT_EQ(vcam::DeviceResult::NotOffered, admin.setCustom(0, 44, 1));   // read id
    EXPECT_EQ(vcam::DeviceResult::NotOffered, admin.getCustom(0, 43, value));   // write id
    EXPECT_EQ(vcam::DeviceResult::NotOffered, admin.setCustom(0, 46, 1));   // not offered by the model
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.getCustom(0, 48, value));
    EXPECT_EQ(0, value);
}

TEST_F(VcamDevice, ToolsExplainBadCommandLines)
{
    RunResult help = kivocam(L"--help");
    EXPECT_EQ(0u, help.exitCode);
    EXPECT_NE(std::string::npos, help.output.find("Usage: kivocam"));
    EXPECT_EQ(2u, kivocam(L"turn 0 sideways").exitCode);
    EXPECT_EQ(2u, kivocam(L"remove x").exitCode);
    EXPECT_EQ(1u, kivocam(L"remove 7").exitCode);
    EXPECT_EQ(1u, kivocam(L"set 0 brightness 900").exitCode);

    EXPECT_EQ(0u, kivocap(L"--help").exitCode);
    EXPECT_EQ(2u, kivocap(L"--size 100x100").exitCode);
    EXPECT_EQ(2u, kivocap(L"--format yuy2 --size 321x240").exitCode);
    EXPECT_EQ(2u, kivocap(L"--fps 0").exitCode);
    RunResult noCamera = kivocap(L"--camera 5 --frames 1");
    EXPECT_EQ(1u, noCamera.exitCode);
    EXPECT_NE(std::string::npos, noCamera.output.find("no camera")) << noCamera.output;
}

TEST_F(VcamDevice, PictureFollowsDirectionAndProperties)
{
    kivotest::ScratchFolder folder(L"vcampic");
    auto grab = [&](const wchar_t* name, BmpFile& bmp) {
        std::wstring out = folder.file(name);
        RunResult r = kivocap(L"--frames 1 --image bmp --out \"" + out + L"\"");
        return r.exitCode == 0 && readBmp(out + L"\\frame00000.bmp", bmp);
    };
    BmpFile front, rear, bright, dark, warm, cool, soft, sharp;
    ASSERT_TRUE(grab(L"front", front));
    ASSERT_EQ(0u, kivocam(L"turn 0 rear").exitCode);
    ASSERT_TRUE(grab(L"rear", rear));
    ASSERT_EQ(0u, kivocam(L"set 0 brightness 64").exitCode);
    ASSERT_TRUE(grab(L"bright", bright));
    ASSERT_EQ(0u, kivocam(L"set 0 brightness -64").exitCode);
    ASSERT_TRUE(grab(L"dark", dark));
    ASSERT_EQ(0u, kivocam(L"defaults 0").exitCode);
    ASSERT_EQ(0u, kivocam(L"set 0 whitebalance 6500").exitCode);
    ASSERT_TRUE(grab(L"warm", warm));
    ASSERT_EQ(0u, kivocam(L"set 0 whitebalance 2800").exitCode);
    ASSERT_TRUE(grab(L"cool", cool));
    ASSERT_EQ(0u, kivocam(L"set 0 sharpness 0").exitCode);
    ASSERT_TRUE(grab(L"soft", soft));
    ASSERT_EQ(0u, kivocam(L"set 0 sharpness 7").exitCode);
    ASSERT_TRUE(grab(L"sharp", sharp));

    // The rear view (sky and grass) is far greener than the front one (a face on blue).
    EXPECT_GT(channelMean(rear, 1) - channelMean(front, 1), 30.0);
    double brightMean = (channelMean(bright, 0) + channelMean(bright, 1) + channelMean(bright, 2)) / 3;
    double darkMean = (channelMean(dark, 0) + channelMean(dark, 1) + channelMean(dark, 2)) / 3;
    EXPECT_GT(brightMean - darkMean, 60.0);
    EXPECT_GT(channelMean(warm, 2) - channelMean(warm, 0), channelMean(cool, 2) - channelMean(cool, 0) + 40.0);
    EXPECT_GT(edgeEnergy(sharp), edgeEnergy(soft) * 1.5);
}

} // namespace
