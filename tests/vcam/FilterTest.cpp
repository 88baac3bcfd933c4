// Frames passing a filter window before kivocap gets them: the descriptor of each format, pixels
// rewritten in place, a late filter, and a filter process that is killed.
#include "VcamTestSupport.h"

#include "DeviceStore.h"
#include "KivoNames.h"
#include "VcamNames.h"

#include <aclapi.h>
#include <dbt.h>

#include <gtest/gtest.h>

#include <cstring>

using namespace vcamtest;

namespace {

constexpr BYTE kFill = 0x5A;

struct SeenFrame {
    BITMAPINFOHEADER header;
    DWORD cbData;
    bool hadPixels;
    DWORD frameNumber;
    DWORD cameraIndex;
};

size_t countByte(const std::vector<BYTE>& bytes, BYTE value)
{
    size_t n = 0;
    for (BYTE b : bytes)
        n += b == value;
    return n;
}

std::wstring frameFile(const std::wstring& folder, DWORD number)
{
    WCHAR name[32];
    _snwprintf(name, ARRAYSIZE(name), L"\\frame%05lu.bmp", static_cast<unsigned long>(number));
    return folder + name;
}

// What the object's DACL grants every signed-in user (Authenticated Users); ~0u when the object
// cannot be opened, when the DACL grants Everyone or Users anything, or grants any of them the
// right to change the DACL or the owner.
DWORD everyUsersAccess(HANDLE object)
{
    if (!object)
        return ~0u;
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    DWORD rc = GetSecurityInfo(object, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                               &descriptor);
    CloseHandle(object);
    if (rc != ERROR_SUCCESS)
        return ~0u;
    DWORD granted = 0;
    for (DWORD i = 0; dacl && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        PSID sid = &ace->SidStart;
        bool everyone = IsWellKnownSid(sid, WinWorldSid) || IsWellKnownSid(sid, WinBuiltinUsersSid);
        bool signedIn = IsWellKnownSid(sid, WinAuthenticatedUserSid);
        if (everyone || (signedIn && (ace->Mask & (WRITE_DAC | WRITE_OWNER | GENERIC_ALL)))) {
            granted = ~0u;
            break;
        }
        if (signedIn)
            granted |= ace->Mask;
    }
    LocalFree(descriptor);
    return dacl ? granted : ~0u;   // a null DACL lets anyone do anything
}

class VcamFilter : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(lib.loaded());
        ASSERT_TRUE(scratch.created());
    }
    void TearDown() override
    {
        if (task)
            task->Release();
    }

    // This process's window becomes the filter: each frame is recorded and filled with kFill, a
    // held frame half before the hold of delayMs and half after it, then completed.
    void becomeFilter(std::function<DWORD(DWORD)> delayForFrame)
    {
        task = lib.createTask();
        ASSERT_NE(nullptr, task);
        ASSERT_EQ(DWORD(KIVO_TASK_OK), task->Open(window.hwnd(), 0));
        ASSERT_EQ(DWORD(KIVO_TASK_OK), task->EnableFrameAccess(1));
        window.onMessage = [this, delayForFrame](const RecordedMessage& m) {
            if (m.message != WM_TASK_FRAME_READY)
                return;
            KIVO_FRAME_BUFFER* frame = nullptr;
            ASSERT_TRUE(task->CmdAcquireFrameBuffer(&frame));
            ASSERT_NE(nullptr, frame);
            seen.push_back({frame->bmiHeader, frame->cbData, frame->pData != nullptr, frame->dwFrameNumber,
                            frame->dwCameraIndex});
            DWORD delay = delayForFrame ? delayForFrame(DWORD(seen.size() - 1)) : 0;
            BYTE* pixels = static_cast<BYTE*>(frame->pData);
            DWORD half = frame->cbData / 2;
            if (pixels)
                memset(pixels, kFill, half);
            if (delay)
                Sleep(delay);
            if (pixels)
                memset(pixels + half, kFill, frame->cbData - half);
            EXPECT_EQ(DWORD(KIVO_TASK_OK), task->CompleteFrame());
            // The frame is the application's again: the descriptor no longer offers it. It is empty,
            // or already refilled with the next frame, which is drawn in the other slot.
            if (pixels) {
                EXPECT_NE(static_cast<void*>(pixels), frame->pData);
            }
        };
    }

    RunResult capture(const std::wstring& arguments, DWORD timeoutMs = 20000)
    {
        TestProcess cap;
        RunResult result;
        if (!startStaged(cap, L"kivocap.exe", L"--image bmp --out \"" + folder + L"\" " + arguments))
            return result;
        result.finished = waitFor([&] { return cap.waitExit(0); }, timeoutMs);
        result.exitCode = cap.exitCode();
        result.output = cap.output();
        return result;
    }

    ScopedDevice device;
    KivoLibModule lib;
    RecordingWindow window;
    IImgFAccessTask* task = nullptr;
    kivotest::ScratchFolder scratch{L"vcamfilter"};
    const std::wstring folder = scratch.path();
    std::vector<SeenFrame> seen;
};

struct FormatCase {
    const wchar_t* name;
    LONG width, height;       // as the descriptor must show them
    WORD bits;
    DWORD compression;
    DWORD cbData;
};

TEST_F(VcamFilter, DescriptorDescribesEachFormatAndRewritesReachTheApplication)
{
    becomeFilter(nullptr);
    const FormatCase cases[] = {
        {L"rgb24", 322, 240, 24, BI_RGB, 968 * 240},   // rows padded to 4 bytes
        {L"rgb24-topdown", 320, -240, 24, BI_RGB, 960 * 240},
        {L"rgb32", 160, 120, 32, BI_RGB, 640 * 120},
        {L"rgb32-topdown", 160, -120, 32, BI_RGB, 640 * 120},
        {L"yuy2", 640, 480, 16, MAKEFOURCC('Y', 'U', 'Y', '2'), 1280 * 480},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "format " << std::string(c.name, c.name + wcslen(c.name)));
        seen.clear();
        std::wstring size = std::to_wstring(c.width) + L"x" + std::to_wstring(c.height < 0 ? -c.height : c.height);
        RunResult result = capture(L"--frames 3 --format " + std::wstring(c.name) + L" --size " + size);
        ASSERT_EQ(0u, result.exitCode) << result.output;
        EXPECT_EQ(3, numberAfter(result.output, "processed")) << result.output;
        ASSERT_EQ(3u, seen.size());
        for (size_t i = 0; i < seen.size(); ++i) {
            const SeenFrame& f = seen[i];
            EXPECT_EQ(DWORD(i), f.frameNumber);   // the one descriptor is refilled for every frame
            EXPECT_EQ(0u, f.cameraIndex);
            EXPECT_TRUE(f.hadPixels);
            EXPECT_EQ(c.width, f.header.biWidth);
            EXPECT_EQ(c.height, f.header.biHeight);
            EXPECT_EQ(c.bits, f.header.biBitCount);
            EXPECT_EQ(c.compression, f.header.biCompression);
            EXPECT_EQ(c.cbData, f.cbData);
            EXPECT_EQ(c.cbData, f.header.biSizeImage);
        }
        BmpFile bmp;
        ASSERT_TRUE(readBmp(frameFile(folder, 2), bmp));
        if (c.compression == BI_RGB) {
            ASSERT_EQ(c.cbData, bmp.pixels.size());
            EXPECT_EQ(bmp.pixels.size(), countByte(bmp.pixels, kFill));   // every byte is the filter's
        } else {
            // YUY2 is written converted to RGB: a filled frame is one flat colour.
            ASSERT_GE(bmp.pixels.size(), 3u);
            for (size_t i = 0; i + 2 < size_t(c.width) * 3; i += 3)
                ASSERT_EQ(0, memcmp(&bmp.pixels[0], &bmp.pixels[i], 3));
        }
    }
}

TEST_F(VcamFilter, LateFilterNeverStallsTheCaptureNorTearsAFrame)
{
    // The first two frames are held for 250 ms, far past the 100 ms the application waits.
    becomeFilter([](DWORD n) { return n < 2 ? 250u : 0u; });
    LONGLONG start = qpc();
    RunResult result = capture(L"--frames 60 --fps 30");
    double elapsedMs = qpcMs(qpc() - start);
    ASSERT_EQ(0u, result.exitCode) << result.output;
    long long processed = numberAfter(result.output, "processed");
    long long passed = numberAfter(result.output, "passed-through");
    EXPECT_EQ(60, processed + passed) << result.output;
    EXPECT_GE(passed, 2) << result.output;
    EXPECT_GE(processed, 10) << result.output;
    EXPECT_LT(elapsedMs, 8000.0);

    // Each frame the application got is either wholly the filter's or wholly the camera's, also
    // when the late filter was still writing it as the application went on.
    for (DWORD n = 0; n < 60; ++n) {
        BmpFile bmp;
        ASSERT_TRUE(readBmp(frameFile(folder, n), bmp)) << n;
        size_t filled = countByte(bmp.pixels, kFill);
        EXPECT_TRUE(filled == bmp.pixels.size() || filled < bmp.pixels.size() / 10) << "frame " << n << " is torn";
    }
    KIVO_FRAME_STATS stats = {sizeof(stats), 0, 0};
    ASSERT_TRUE(task->GetFrameStats(&stats));
    EXPECT_EQ(DWORD(processed), stats.dwProcessed);
    EXPECT_EQ(DWORD(passed), stats.dwPassedThrough);
}

// Another, standard user (this user's token restricted) administers the camera and captures from it
// while this process filters: every object either side opens carries a DACL that lets any signed-in
// user do just that, and no section is named in Global\ (only SeCreateGlobalPrivilege may make one).
TEST_F(VcamFilter, AnotherUsersApplicationCapturesThroughThisUsersFilter)
{
    becomeFilter(nullptr);
    RestrictedToken otherUser;
    ASSERT_NE(nullptr, otherUser.handle());
    TestProcess admin;
    ASSERT_TRUE(startStaged(admin, L"kivocam.exe", L"add --external", otherUser.handle()));
    ASSERT_TRUE(waitFor([&] { return admin.waitExit(0); }, 15000));
    ASSERT_EQ(0u, admin.exitCode()) << admin.output();
    EXPECT_EQ(1u, window.count(WM_DEVICECHANGE)) << "the arrival did not reach this process";

    TestProcess cap;
    ASSERT_TRUE(startStaged(cap, L"kivocap.exe", L"--frames 60 --fps 30", otherUser.handle()));
    vcam::DeviceStore store;
    std::wstring error;
    ASSERT_TRUE(store.open(error)) << std::string(error.begin(), error.end());
    DWORD captureSerial = 0, taskSerial = 0;
    ASSERT_TRUE(waitFor([&] {
        vcam::DeviceStore::Lock lock(store);
        captureSerial = store.state()->cameras[0].capture.serial;
        for (const vcam::TaskRecord& t : store.state()->tasks)
            if (t.hwnd == reinterpret_cast<ULONGLONG>(window.hwnd()))
                taskSerial = t.serial;
        return captureSerial != 0 && !seen.empty();
    }, 10000));

    const DWORD waitAndSet = SYNCHRONIZE | EVENT_MODIFY_STATE;
    EXPECT_EQ(SYNCHRONIZE | MUTEX_MODIFY_STATE, everyUsersAccess(OpenMutexW(READ_CONTROL, FALSE, vcam::deviceMutexName().c_str())));
    EXPECT_EQ(DWORD(SYNCHRONIZE), everyUsersAccess(OpenEventW(READ_CONTROL, FALSE, vcam::listenerName(GetCurrentProcessId()).c_str())));
    EXPECT_EQ(waitAndSet, everyUsersAccess(OpenEventW(READ_CONTROL, FALSE, vcam::taskWakeName(taskSerial).c_str())));
    EXPECT_EQ(waitAndSet, everyUsersAccess(OpenEventW(READ_CONTROL, FALSE, vcam::taskFrameName(taskSerial).c_str())));
    EXPECT_EQ(waitAndSet, everyUsersAccess(OpenEventW(READ_CONTROL, FALSE, vcam::captureDoneName(captureSerial).c_str())));
    EXPECT_EQ(DWORD(SECTION_MAP_READ | SECTION_MAP_WRITE),
              everyUsersAccess(OpenFileMappingW(READ_CONTROL, FALSE, vcam::captureFramesName(captureSerial).c_str())));
    const std::wstring prefix = L"KivoVcam" + device.name() + L".";
    const std::wstring frames = prefix + L"Capture" + std::to_wstring(captureSerial) + L".Frames";
    for (const std::wstring& name : {L"Global\\" + prefix + L"State", L"Global\\" + frames}) {
        HANDLE h = OpenFileMappingW(FILE_MAP_READ, FALSE, name.c_str());
        EXPECT_EQ(nullptr, h) << "a section in Global\\";
        if (h)
            CloseHandle(h);
    }
    HANDLE local = OpenFileMappingW(FILE_MAP_READ, FALSE, (L"Local\\" + frames).c_str());
    EXPECT_NE(nullptr, local);
    if (local)
        CloseHandle(local);

    ASSERT_TRUE(waitFor([&] { return cap.waitExit(0); }, 20000));
    std::string output = cap.output();
    ASSERT_EQ(0u, cap.exitCode()) << output;
    EXPECT_EQ(60, numberAfter(output, "processed")) << output;
}

TEST_F(VcamFilter, FilterInAnotherProcessRewritesFramesAndAKilledOneStallsNothing)
{
    std::wstring readyName = L"Local\\KivoVcamFilterReady" + device.name();
    HANDLE hReady = CreateEventW(nullptr, TRUE, FALSE, readyName.c_str());
    ASSERT_NE(nullptr, hReady);
    const std::wstring filterProgram = kivotest::testsFile(L"vcam_filter.exe");
    const std::wstring filterArguments =
        L"--stage \"" + kivotest::stageFolder() + L"\" --ready " + readyName + L" --mode ";
    kivotest::LaunchOptions captured;
    captured.captureOutput = true;
    {
        TestProcess filter;
        ASSERT_TRUE(filter.start(filterProgram, filterArguments + L"fill", captured));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hReady, 10000));
        RunResult result = capture(L"--frames 10");
        ASSERT_EQ(0u, result.exitCode) << result.output;
        EXPECT_EQ(10, numberAfter(result.output, "processed")) << result.output;
        BmpFile bmp;
        ASSERT_TRUE(readBmp(frameFile(folder, 9), bmp));
        EXPECT_EQ(bmp.pixels.size(), countByte(bmp.pixels, kFill));
        ASSERT_TRUE(filter.waitExit(5000));   // it ends when the camera closes
        EXPECT_EQ(10, numberAfter(filter.output(), "processed")) << filter.output();
    }
    ResetEvent(hReady);
    {
        // The filter holds the first frame and dies with it. The application would wait 5 s for it;
        // the death must end that wait and drop the filter, so the other frames go on unfiltered.
        std::wstring heldName = L"Local\\KivoVcamFilterHeld" + device.name();
        HANDLE hHeld = CreateEventW(nullptr, TRUE, FALSE, heldName.c_str());
        ASSERT_NE(nullptr, hHeld);
        TestProcess filter;
        ASSERT_TRUE(filter.start(filterProgram, filterArguments + L"stall --held " + heldName, captured));
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hReady, 10000));
        TestProcess cap;
        ASSERT_TRUE(startStaged(cap, L"kivocap.exe", L"--frames 45 --fps 30 --filter-wait 5000"));
        EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hHeld, 10000));
        CloseHandle(hHeld);
        filter.kill();
        ASSERT_TRUE(cap.waitExit(20000));
        std::string output = cap.output();
        ASSERT_EQ(0u, cap.exitCode()) << output;
        EXPECT_EQ(0, numberAfter(output, "processed")) << output;
        EXPECT_EQ(45, numberAfter(output, "passed-through")) << output;
        EXPECT_EQ(44, numberAfter(output, "no filter")) << output;
        long long maxLatencyUs = numberAfter(output, "max");
        EXPECT_GE(maxLatencyUs, 0) << output;
        EXPECT_LT(maxLatencyUs, 5000 * 1000LL) << "a frame waited out the dead filter: " << output;
    }
    CloseHandle(hReady);
}

} // namespace
