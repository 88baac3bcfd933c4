// Tasks, property settings and capture sessions give back every kernel handle they took.
// GetProcessHandleCount returns 0 under Wine, so handles are counted from the system's table.
#include "VcamTestSupport.h"

#include "CaptureSession.h"

#include <gtest/gtest.h>

using namespace vcamtest;

namespace {

constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kInfoLengthMismatch = LONG(0xC0000004);

struct HandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT handle;
    PVOID object;
    ACCESS_MASK access;
};

struct HandleTable {
    ULONG count;
    HandleEntry entries[1];
};

long handlesOfThisProcess()
{
    typedef LONG(NTAPI * QueryFn)(ULONG, PVOID, ULONG, PULONG);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return -1;
    std::vector<BYTE> buffer(1 << 20);
    ULONG needed = 0;
    LONG status;
    while ((status = query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()), &needed)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (status != 0)
        return -1;
    const HandleTable* table = reinterpret_cast<const HandleTable*>(buffer.data());
    long n = 0;
    for (ULONG i = 0; i < table->count; ++i)
        n += table->entries[i].ownerPid == GetCurrentProcessId();
    return n;
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
        pumpUntil([] { return false; }, 20);
    };
    cycle();   // first use loads and caches what stays for the process's life
    long before = handlesOfThisProcess();
    ASSERT_GT(before, 0);
    for (int i = 0; i < 10; ++i)
        cycle();
    EXPECT_EQ(before, handlesOfThisProcess());
}

} // namespace
