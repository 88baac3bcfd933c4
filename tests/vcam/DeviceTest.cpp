// The device as kivocam and kivocap see it: configuration shared between processes, damaged state
// refused, property rules, the tools' command lines, and a picture that follows the camera.
#include "VcamTestSupport.h"

#include "Device.h"
#include "DeviceStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <utility>
#include <vector>

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

// Mean of one colour channel (0 blue, 1 green, 2 red) of a picture.
double channelMean(const kivotest::Picture& picture, int channel)
{
    double sum = 0;
    for (size_t i = size_t(channel); i < picture.bgr.size(); i += 3)
        sum += picture.bgr[i];
    return sum / (double(picture.bgr.size()) / 3);
}

// Sum of absolute differences between horizontal neighbours of the green channel: edge strength.
double edgeEnergy(const kivotest::Picture& picture)
{
    double sum = 0;
    for (LONG y = 0; y < picture.height; ++y)
        for (LONG x = 1; x < picture.width; ++x)
            sum += std::abs(int(GetGValue(picture.at(x, y))) - int(GetGValue(picture.at(x - 1, y))));
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
    {
        vcam::DeviceStore::Lock lock(admin.store());
        admin.store().state()->cameras[0].props[0].value = 0;
        admin.store().state()->cameras[0].failingGets = 1u << 12;   // no property has this bit
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

    // A failing read fails only that property's reads, never its sets, until it is turned off.
    ASSERT_EQ(0u, kivocam(L"fail-get 0 gamma").exitCode);
    ASSERT_EQ(0u, kivocam(L"fail-get 0 53").exitCode);
    EXPECT_EQ(vcam::DeviceResult::GetFails, admin.getProperty(0, 5, value, flags));
    EXPECT_EQ(vcam::DeviceResult::GetFails, admin.getCustom(0, 53, value));
    EXPECT_EQ(vcam::DeviceResult::Ok, admin.setProperty(0, 5, 200, KIVO_PROP_FLAGS_MANUAL));
    EXPECT_EQ(vcam::DeviceResult::Ok, admin.getProperty(0, 4, value, flags));
    EXPECT_EQ(vcam::DeviceResult::Ok, admin.getCustom(0, 50, value));
    RunResult props = kivocam(L"props 0");
    EXPECT_EQ(0u, props.exitCode);
    EXPECT_NE(std::string::npos, props.output.find("gamma         fails to read")) << props.output;
    ASSERT_EQ(0u, kivocam(L"fail-get 0 gamma off").exitCode);
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.getProperty(0, 5, value, flags));
    EXPECT_EQ(200, value);
    EXPECT_EQ(vcam::DeviceResult::GetFails, admin.getCustom(0, 53, value));
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
    EXPECT_EQ(2u, kivocam(L"fail-get 0 42").exitCode);
    EXPECT_EQ(2u, kivocam(L"fail-get 0 gamma of").exitCode);
    EXPECT_EQ(1u, kivocam(L"fail-get 3 gamma").exitCode);

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
    // Each picture is taken after its kivocam commands, in this order.
    const std::pair<const wchar_t*, std::vector<const wchar_t*>> steps[] = {
        {L"front", {}}, {L"rear", {L"turn 0 rear"}}, {L"bright", {L"set 0 brightness 64"}},
        {L"dark", {L"set 0 brightness -64"}}, {L"warm", {L"defaults 0", L"set 0 whitebalance 6500"}},
        {L"cool", {L"set 0 whitebalance 2800"}}, {L"soft", {L"set 0 sharpness 0"}},
        {L"sharp", {L"set 0 sharpness 7"}}};
    std::map<std::wstring, kivotest::Picture> shot;
    for (const auto& step : steps) {
        for (const wchar_t* command : step.second)
            ASSERT_EQ(0u, kivocam(command).exitCode) << command;
        std::wstring out = folder.file(step.first);
        ASSERT_EQ(0u, kivocap(L"--frames 1 --image bmp --out \"" + out + L"\"").exitCode);
        ASSERT_TRUE(readBmp(out + L"\\frame00000.bmp", shot[step.first]));
    }
    const kivotest::Picture &front = shot[L"front"], &rear = shot[L"rear"], &bright = shot[L"bright"],
                            &dark = shot[L"dark"], &warm = shot[L"warm"], &cool = shot[L"cool"],
                            &soft = shot[L"soft"], &sharp = shot[L"sharp"];

    // The rear view (sky and grass) is far greener than the front one (a face on blue).
    EXPECT_GT(channelMean(rear, 1) - channelMean(front, 1), 30.0);
    double brightMean = (channelMean(bright, 0) + channelMean(bright, 1) + channelMean(bright, 2)) / 3;
    double darkMean = (channelMean(dark, 0) + channelMean(dark, 1) + channelMean(dark, 2)) / 3;
    EXPECT_GT(brightMean - darkMean, 60.0);
    EXPECT_GT(channelMean(warm, 2) - channelMean(warm, 0), channelMean(cool, 2) - channelMean(cool, 0) + 40.0);
    EXPECT_GT(edgeEnergy(sharp), edgeEnergy(soft) * 1.5);
}

} // namespace
