// Tasks, property settings and capture sessions give back every kernel handle they took.
#include "VcamTestSupport.h"

#include "CaptureSession.h"

#include <gtest/gtest.h>

using namespace vcamtest;

namespace {

long handlesOfThisProcess()
{
    return kivotest::kernelHandleCount(GetCurrentProcessId());
}

TEST(VcamHandles, TasksSettingsAndCapturesGiveBackTheirHandles)
{
    ScopedDevice device;
    KivoLibModule lib;
    ASSERT_TRUE(lib.loaded());
    RecordingWindow window;
    vcam::FrameFormat format;
    ASSERT_TRUE(vcam::FrameFormat::parse(L"rgb24", 320, 240, format));

    auto cycle = [&] {
        IImgFAccessTask* task = lib.createTask();
        ASSERT_NE(nullptr, task);
        ASSERT_EQ(DWORD(KIVO_TASK_OK), task->Open(window.hwnd(), 0));
        task->EnableFrameAccess(1);
        {
            vcam::CaptureSession session;
            ASSERT_EQ(vcam::CaptureResult::Ok, session.open(0, format, 60, 20));
            vcam::CapturedFrame frame;
            ASSERT_EQ(vcam::CaptureResult::Ok, session.nextFrame(frame));   // the filter is late: unprocessed
        }
        task->Release();
        ICameraPropertySettings* settings = lib.createSettings(0);
        ASSERT_NE(nullptr, settings);
        long value = 0, flags = 0;
        settings->GetProperty(0, &value, &flags);
        settings->Release();
        kivotest::pumpMessagesFor(20);
    };
    cycle();   // first use loads and caches what stays for the process's life
    long before = handlesOfThisProcess();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 10; ++i)
        cycle();
    EXPECT_EQ(before, handlesOfThisProcess());
}

} // namespace
