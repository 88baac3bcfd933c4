// Image access tasks in this process watching captures by kivocap in another: open, close, a
// capturing process that dies, removal, and device arrival notices.
#include "VcamTestSupport.h"

#include "Device.h"
#include "KivoNames.h"

#include <dbt.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace vcamtest;

namespace {

// The watcher also looks at the device once a second on its own; a notice must come from the
// wake-up, not from that look. Notices from other processes are judged by the median of several, so
// that a loaded machine delaying a process now and then does not fail the test, while notices that
// only the look delivered would rarely all come early enough.
constexpr double kNotifyMedianLimitMs = 150.0;
constexpr double kNotifyLimitMs = 250.0;   // one notice from a thread of this process

const RecordedMessage* nth(const RecordingWindow& window, UINT message, int n)
{
    for (const RecordedMessage& m : window.messages())
        if (m.message == message && n-- == 0)
            return &m;
    return nullptr;
}

double medianOf(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    size_t half = values.size() / 2;
    return values.size() % 2 ? values[half] : (values[half - 1] + values[half]) / 2;
}

long long eventQpc(const std::string& output, const char* event)
{
    std::string key = std::string("event ") + event + " qpc=";
    size_t at = output.find(key);
    return at == std::string::npos ? -1 : strtoll(output.c_str() + at + key.size(), nullptr, 10);
}

bool captureOpenOn(DWORD index)
{
    vcam::Device device;
    std::vector<vcam::CameraInfo> cameras;
    return device.open() && device.listCameras(cameras) == vcam::DeviceResult::Ok && index < cameras.size() &&
           cameras[index].captureOpen;
}

class VcamTaskEvents : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib.loaded());
        ASSERT_NE(nullptr, window.hwnd());
        task = lib.createTask();
        ASSERT_NE(nullptr, task);
    }
    void TearDown() override
    {
        if (task)
            task->Release();
    }

    ScopedDevice device;
    KivoLibModule lib;
    RecordingWindow window;
    IImgFAccessTask* task = nullptr;
};

TEST_F(VcamTaskEvents, OpenTellsAMissingCameraFromAPresentOne)
{
    EXPECT_EQ(DWORD(KIVO_TASK_NO_CAMERA), task->Open(window.hwnd(), 1));
    EXPECT_EQ(DWORD(KIVO_TASK_FAILED), task->Open(nullptr, 0));
    EXPECT_EQ(DWORD(KIVO_TASK_OK), task->Open(window.hwnd(), 0));
    // Nothing captures, so nothing is reported.
    kivotest::pumpMessagesFor(100);
    EXPECT_TRUE(window.messages().empty());
}

TEST_F(VcamTaskEvents, CaptureOpenAndCloseInAnotherProcessArriveAtOnce)
{
    ASSERT_EQ(DWORD(KIVO_TASK_OK), task->Open(window.hwnd(), 0));
    const int kRuns = 5;
    std::vector<double> openLatenciesMs, closeLatenciesMs;
    for (int run = 0; run < kRuns; ++run) {
        SCOPED_TRACE(testing::Message() << "capture " << run);
        TestProcess cap;
        ASSERT_TRUE(startStaged(cap, L"kivocap.exe", L"--frames 10 --print-events"));
        ASSERT_TRUE(waitFor([&] { return window.count(WM_TASK_DEVICE_CLOSE) > size_t(run) && cap.waitExit(0); }, 15000));
        std::string output = cap.output();
        ASSERT_EQ(0u, cap.exitCode()) << output;

        const RecordedMessage* opened = nth(window, WM_TASK_DEVICE_OPEN, run);
        const RecordedMessage* closed = nth(window, WM_TASK_DEVICE_CLOSE, run);
        ASSERT_NE(nullptr, opened);
        ASSERT_NE(nullptr, closed);
        EXPECT_EQ(0u, opened->wParam);
        EXPECT_EQ(0u, closed->wParam);
        EXPECT_LT(opened->time, closed->time);

        long long openAt = eventQpc(output, "open");
        long long closeAt = eventQpc(output, "close");
        ASSERT_GT(openAt, 0) << output;
        ASSERT_GT(closeAt, 0) << output;
        openLatenciesMs.push_back(qpcMs(opened->time - openAt));
        closeLatenciesMs.push_back(qpcMs(closed->time - closeAt));
    }
    EXPECT_EQ(size_t(kRuns), window.count(WM_TASK_DEVICE_OPEN));
    EXPECT_EQ(size_t(kRuns), window.count(WM_TASK_DEVICE_CLOSE));
    EXPECT_EQ(0u, window.count(WM_TASK_FRAME_READY));   // frame access was not asked for
    EXPECT_LT(medianOf(openLatenciesMs), kNotifyMedianLimitMs);
    EXPECT_LT(medianOf(closeLatenciesMs), kNotifyMedianLimitMs);
}

TEST_F(VcamTaskEvents, TaskOpenedOnAnOpenCameraHearsAtOnceAndSeesTheCapturerDie)
{
    TestProcess cap;
    ASSERT_TRUE(startStaged(cap, L"kivocap.exe", L"--duration 20"));
    ASSERT_TRUE(waitFor([] { return captureOpenOn(0); }, 10000));

    ASSERT_EQ(DWORD(KIVO_TASK_OK), task->Open(window.hwnd(), 0));
    MSG msg;
    EXPECT_TRUE(PeekMessageW(&msg, window.hwnd(), WM_TASK_DEVICE_OPEN, WM_TASK_DEVICE_OPEN, PM_NOREMOVE))
        << "the open camera is reported by the time Open returns";
    ASSERT_TRUE(waitFor([&] { return window.count(WM_TASK_DEVICE_OPEN) > 0; }, 2000));

    // An application that ends without closing the camera has closed it.
    LONGLONG killedAt = qpc();
    cap.kill();
    ASSERT_TRUE(waitFor([&] { return window.count(WM_TASK_DEVICE_CLOSE) > 0; }, 3000));
    EXPECT_LT(qpcMs(window.first(WM_TASK_DEVICE_CLOSE)->time - killedAt), 1000.0);
    EXPECT_FALSE(captureOpenOn(0));
}

TEST_F(VcamTaskEvents, RemovalReachesTheTaskAndEndsTheCapture)
{
    vcam::Device admin;
    ASSERT_TRUE(admin.open());
    DWORD external = 0;
    ASSERT_EQ(vcam::DeviceResult::Ok, admin.addCamera(false, 0, external));
    ASSERT_EQ(1u, external);
    ASSERT_EQ(DWORD(KIVO_TASK_OK), task->Open(window.hwnd(), 1));

    TestProcess cap;
    ASSERT_TRUE(startStaged(cap, L"kivocap.exe", L"--camera 1 --duration 20"));
    ASSERT_TRUE(waitFor([&] { return window.count(WM_TASK_DEVICE_OPEN) > 0; }, 10000));

    // Removed from another thread, so that this one keeps dispatching (the removal notice is also
    // sent to this window).
    LONGLONG removedAt = qpc();
    vcam::DeviceResult removal = vcam::DeviceResult::NoDevice;
    std::atomic<bool> removerDone{false};
    std::thread remover([&] {
        removal = admin.removeCamera(1);
        removerDone = true;
    });
    bool heard = waitFor([&] { return window.count(WM_TASK_DEVICE_REMOVE) > 0; }, 2000);
    waitFor([&] { return removerDone.load(); }, 10000);
    remover.join();
    ASSERT_EQ(vcam::DeviceResult::Ok, removal);
    ASSERT_TRUE(heard);
    const RecordedMessage* removed = window.first(WM_TASK_DEVICE_REMOVE);
    EXPECT_EQ(1u, removed->wParam);
    EXPECT_LT(qpcMs(removed->time - removedAt), kNotifyLimitMs);

    ASSERT_TRUE(cap.waitExit(5000));
    EXPECT_EQ(3u, cap.exitCode()) << cap.output();
    EXPECT_NE(std::string::npos, cap.output().find("removed")) << cap.output();
    kivotest::pumpMessagesFor(100);
    EXPECT_EQ(0u, window.count(WM_TASK_DEVICE_CLOSE));   // the removal says it all
}

// The arrival reaches the processes that use the device, and only them: a camera added on another
// device (another test's) is no arrival here.
TEST_F(VcamTaskEvents, AddingACameraSendsAnArrivalForTheCameraClassToTheDevicesUsersOnly)
{
    vcam::Device own;
    ASSERT_TRUE(own.open());   // this process uses its device, as the service does
    DEV_BROADCAST_DEVICEINTERFACE_W filter = {};
    filter.dbcc_size = sizeof(filter);
    filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    filter.dbcc_classguid = KIVO_CAMERA_INTERFACE_CLASS;
    HDEVNOTIFY hNotify = RegisterDeviceNotificationW(window.hwnd(), &filter, DEVICE_NOTIFY_WINDOW_HANDLE);

    int arrivalsOfOurs = 0, otherArrivals = 0;
    std::wstring marker = L"KIVOVCAM" + device.name() + L"_";
    window.onMessage = [&](const RecordedMessage& m) {
        if (m.message != WM_DEVICECHANGE || m.wParam != DBT_DEVICEARRIVAL || !m.lParam)
            return;
        auto* notice = reinterpret_cast<const DEV_BROADCAST_DEVICEINTERFACE_W*>(m.lParam);
        if (notice->dbcc_devicetype != DBT_DEVTYP_DEVICEINTERFACE ||
            !IsEqualGUID(notice->dbcc_classguid, KIVO_CAMERA_INTERFACE_CLASS))
            return;
        ++(wcsstr(notice->dbcc_name, marker.c_str()) ? arrivalsOfOurs : otherArrivals);
    };
    {
        ScopedDevice another;
        TestProcess kivocam;
        ASSERT_TRUE(startStaged(kivocam, L"kivocam.exe", L"add --external"));
        EXPECT_TRUE(waitFor([&] { return kivocam.waitExit(0); }, 10000));
        EXPECT_EQ(0u, kivocam.exitCode()) << kivocam.output();
    }
    TestProcess kivocam;
    ASSERT_TRUE(startStaged(kivocam, L"kivocam.exe", L"add --external"));
    EXPECT_TRUE(waitFor([&] { return arrivalsOfOurs > 0 && kivocam.waitExit(0); }, 10000));
    EXPECT_EQ(0u, kivocam.exitCode());
    EXPECT_EQ(0, otherArrivals) << "another device's camera arrived here";
    if (hNotify)
        UnregisterDeviceNotification(hNotify);
}

} // namespace
