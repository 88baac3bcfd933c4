// The test support itself, where a fault would make other tests lie: counters that miss what a
// child holds, waits that overrun their deadline, dialogs not found or left open, a child that
// outlives its test.
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace kivotest;

const DWORD kDeadlineMs = 10000;

std::wstring probe()
{
    return testsFile(L"SupportProbe.exe");
}

// A named manual-reset event of the test.
struct NamedEvent {
    std::wstring name = uniqueName(L"KivoSupportTest");
    HANDLE handle = CreateEventW(nullptr, TRUE, FALSE, name.c_str());
    ~NamedEvent() { CloseHandle(handle); }
    bool waitSet() const { return WaitForSingleObject(handle, kDeadlineMs) == WAIT_OBJECT_0; }
};

TEST(ResourceCounts, CountExactlyTheBitmapsAndHandlesAChildCreates)
{
    const int kObjects = 25;
    NamedEvent ready, go, done;
    TestProcess child(probe(), L"hold " + std::to_wstring(kObjects) + L" " + ready.name + L" " + go.name + L" " +
                                   done.name);
    ASSERT_TRUE(ready.waitSet());
    long handlesBefore = kernelHandleCount(child.id());
    long gdiBefore = gdiObjectCount(child.id());
    ASSERT_GT(handlesBefore, 0);
    ASSERT_GT(gdiBefore, 0) << "a process with a window station has stock objects";

    SetEvent(go.handle);
    ASSERT_TRUE(done.waitSet());
    EXPECT_EQ(handlesBefore + kObjects, kernelHandleCount(child.id()));
    EXPECT_EQ(gdiBefore + kObjects, gdiObjectCount(child.id()));
    EXPECT_EQ(-1, gdiObjectCount(0)) << "no process, no count";
}

TEST(Waiting, ConditionsAndDialogsThatNeverComeFailByTheirDeadline)
{
    const DWORD kShortMs = 300;
    const DWORD kLoadSlackMs = 1500;   // for a loaded machine; overrunning the deadline by seconds still fails
    ULONGLONG start = GetTickCount64();
    EXPECT_FALSE(waitFor([] { return false; }, kShortMs));
    ULONGLONG waited = GetTickCount64() - start;
    EXPECT_GE(waited, kShortMs);
    EXPECT_LT(waited, kShortMs + kLoadSlackMs);

    int polls = 0;
    start = GetTickCount64();
    EXPECT_TRUE(waitFor([&] { return ++polls == 3; }, kDeadlineMs));
    EXPECT_LT(GetTickCount64() - start, 1000u) << "a condition that holds ends the wait at once";

    start = GetTickCount64();
    EXPECT_EQ(nullptr, waitForDialog(GetCurrentProcessId(), L"No such dialog", kShortMs));
    EXPECT_LT(GetTickCount64() - start, kShortMs + kLoadSlackMs);
}

TEST(Dialogs, AChildsMessageBoxIsFoundReadAndAnswered)
{
    std::wstring caption = uniqueName(L"Kivo question");
    TestProcess child(probe(), L"ask \"" + caption + L"\" \"Turn the camera?\"");
    EXPECT_EQ(nullptr, waitForDialog(child.id() + 4, caption, 200)) << "another process's dialog was taken";
    HWND hBox = waitForDialog(child.id(), caption, kDeadlineMs);
    ASSERT_NE(nullptr, hBox);
    EXPECT_EQ(L"Turn the camera?", windowText(GetDlgItem(hBox, 0xFFFF)));
    EXPECT_FALSE(pressDialogButton(hBox, IDCANCEL)) << "a Yes/No box has no Cancel button";
    EXPECT_TRUE(pressDialogButton(hBox, IDNO));
    EXPECT_TRUE(waitForWindowGone(hBox, kDeadlineMs));
    ASSERT_TRUE(child.waitExit(kDeadlineMs));
    EXPECT_EQ(DWORD(IDNO), child.exitCode());
}

// A dialog with no controls whose procedure swallows Close and Cancel, as a faulty one might.
INT_PTR runStubbornDialog(const wchar_t* caption)
{
    std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 2);   // no menu, default class
    auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
    dialog->style = WS_POPUP | WS_CAPTION | WS_VISIBLE | DS_MODALFRAME;
    dialog->cx = 100;
    dialog->cy = 40;
    words.insert(words.end(), caption, caption + wcslen(caption) + 1);
    return DialogBoxIndirectParamW(nullptr, reinterpret_cast<DLGTEMPLATE*>(words.data()), nullptr,
                                   [](HWND, UINT message, WPARAM, LPARAM) -> INT_PTR {
                                       return message == WM_INITDIALOG || message == WM_CLOSE || message == WM_COMMAND;
                                   },
                                   0);
}

TEST(Dialogs, DriverAnswersTheExpectedDialogAndClosesAnyOtherByItsDeadline)
{
    {
        DialogDriver driver(L"Expected", [](HWND hBox) { pressDialogButton(hBox, IDYES); });
        EXPECT_EQ(IDYES, MessageBoxW(nullptr, L"text", L"Expected", MB_YESNO));
        EXPECT_TRUE(driver.found());
        EXPECT_FALSE(driver.closedByDeadline());
    }
    // A dialog under another caption that refuses to close would otherwise block this thread for good.
    ULONGLONG start = GetTickCount64();
    {
        DialogDriver driver(L"Expected", [](HWND) {}, 500);
        EXPECT_EQ(IDCANCEL, runStubbornDialog(L"Unexpected"));
        EXPECT_FALSE(driver.found());
        EXPECT_TRUE(driver.closedByDeadline());
    }
    // Steps that leave the dialog open.
    {
        DialogDriver driver(L"Expected", [](HWND) {}, 500);
        MessageBoxW(nullptr, L"text", L"Expected", MB_OK);
        EXPECT_TRUE(driver.found());
        EXPECT_TRUE(driver.closedByDeadline());
    }
    EXPECT_LT(GetTickCount64() - start, 8000u);
}

TEST(TestProcessTest, ChildGetsItsFolderEnvironmentAndSearchPathAndDiesWithItsOwner)
{
    ScratchFolder folder(L"support");
    ASSERT_TRUE(folder.created());
    LaunchOptions options;
    options.folder = folder.path();
    options.environment = {{L"KIVO_SUPPORT_VALUE", L"forty two"}, {L"KIVO_LOG_FILE", L""}};
    options.searchPath = L"C:\\windows\\system32";
    ScopedVariable logFile(L"KIVO_LOG_FILE", L"C:\\inherited.log");
    RunResult run = runToEnd(probe(), L"show KIVO_SUPPORT_VALUE", kDeadlineMs, options);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_NE(std::string::npos, run.output.find("KIVO_SUPPORT_VALUE=forty two\r\n")) << run.output;
    EXPECT_NE(std::string::npos, run.output.find("PATH=C:\\windows\\system32\r\n")) << run.output;
    std::string expectedFolder(folder.path().begin(), folder.path().end());
    EXPECT_NE(std::string::npos, run.output.find("folder=" + expectedFolder + "\r\n")) << run.output;
    RunResult removed = runToEnd(probe(), L"show KIVO_LOG_FILE", kDeadlineMs, options);
    EXPECT_NE(std::string::npos, removed.output.find("KIVO_LOG_FILE=\r\n")) << removed.output;

    HANDLE hChild = nullptr;
    {
        TestProcess sleeper(probe(), L"sleep");
        ASSERT_TRUE(sleeper.started());
        hChild = OpenProcess(SYNCHRONIZE, FALSE, sleeper.id());
        ASSERT_NE(nullptr, hChild);
        EXPECT_TRUE(sleeper.running());
        EXPECT_EQ(~0u, sleeper.exitCode());
    }
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(hChild, 0)) << "the child outlived its owner";
    CloseHandle(hChild);
}

} // namespace
