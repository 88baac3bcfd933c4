// The framework's dialogs in a program of their own: its end when the main window or WM_QUIT comes
// in the middle of a modal loop, a property sheet pressed from another process, and the program's
// GDI objects and kernel handles over many dialogs.
#include "ProbeIds.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <prsht.h>

#include <cstdio>
#include <string>

namespace {

const DWORD kProbeDeadlineMs = 20000;
const UINT WM_PROBE_BATCH = WM_APP + 3;

class DialogProbe {
public:
    explicit DialogProbe(const std::wstring& mode) : m_folder(L"DialogProbe")
    {
        kivotest::LaunchOptions options;
        options.environment = {{L"KIVO_PROBE_OUT", m_folder.file(L"probe.out")}};
        if (!m_process.start(kivotest::testsFile(L"DialogProbe.exe"), mode, options))
            ADD_FAILURE() << "cannot start DialogProbe.exe: " << m_process.startError();
    }

    std::string output() const { return kivotest::readTextFile(m_folder.file(L"probe.out")); }
    bool printed(const std::string& line) const { return output().find(line + "\n") != std::string::npos; }
    bool waitPrinted(const std::string& line) const
    {
        return kivotest::waitFor([&] { return printed(line); }, kProbeDeadlineMs);
    }
    kivotest::TestProcess& process() { return m_process; }

private:
    kivotest::ScratchFolder m_folder;
    kivotest::TestProcess m_process;
};

TEST(DialogProbeTest, ProgramEndsNormallyWhenItsMainWindowGoesDuringAModalDialogOrSheet)
{
    const std::string end = "main window closes\nDoModal -1\nExitInstance 0\n";
    // The last: a dialog opened from a page, so two modal loops end, the inner one first.
    const std::pair<const wchar_t*, std::string> runs[] = {
        {L"/owner-destroyed", end},
        {L"/sheet-owner-destroyed", end},
        {L"/nested-owner-destroyed", "main window closes\ninner DoModal -1\nDoModal -1\nExitInstance 0\n"}};
    for (const auto& run : runs) {
        DialogProbe probe(run.first);
        ASSERT_TRUE(probe.process().waitExit(kProbeDeadlineMs)) << "the modal loop did not end";
        EXPECT_EQ(static_cast<DWORD>(kProbeExitBase), probe.process().exitCode());
        std::string out = probe.output();
        EXPECT_NE(std::string::npos, out.find(run.second)) << out;
    }
}

TEST(DialogProbeTest, WmQuitInsideAModalLoopEndsItAndThenTheProgramWithItsCode)
{
    DialogProbe probe(L"/quit");
    ASSERT_TRUE(probe.process().waitExit(kProbeDeadlineMs));
    EXPECT_EQ(static_cast<DWORD>(kProbeExitBase + 3), probe.process().exitCode());
    EXPECT_EQ("started\nDoModal -1\nExitInstance 3\n", probe.output());
}

TEST(DialogProbeTest, SheetPressedFromAnotherProcessEndsWithOkForTheShownPageOnly)
{
    DialogProbe probe(L"/sheet");
    HWND hSheet = kivotest::waitForDialog(probe.process().id(), L"Probe sheet", kProbeDeadlineMs);
    ASSERT_NE(nullptr, hSheet);
    ASSERT_TRUE(PostMessageW(hSheet, PSM_PRESSBUTTON, PSBTN_OK, 0));
    ASSERT_TRUE(probe.process().waitExit(kProbeDeadlineMs));
    EXPECT_EQ("started\nfirst OnInitDialog\nfirst OnOK\nDoModal 1\nmain window closes\nExitInstance 0\n",
              probe.output());
}

// Each batch runs a hundred cycles of a modeless panel, a modal dialog and a property sheet. After the
// first batch (which loads what stays loaded) the counts must stay where they are.
TEST(DialogProbeTest, GdiObjectsAndHandlesStayFlatOverTwoHundredDialogCycles)
{
    DialogProbe probe(L"/cycles");
    HWND hMain = kivotest::waitForTopLevelWindow(probe.process().id(), L"Afx:*", L"Dialog probe", kProbeDeadlineMs);
    ASSERT_NE(nullptr, hMain);

    long gdi[3];
    long handles[3];
    for (int batch = 0; batch < 3; ++batch) {
        ASSERT_TRUE(PostMessageW(hMain, WM_PROBE_BATCH, static_cast<WPARAM>(batch), 0));
        ASSERT_TRUE(probe.waitPrinted("batch " + std::to_string(batch))) << probe.output();
        gdi[batch] = kivotest::gdiObjectCount(probe.process().id());
        handles[batch] = kivotest::kernelHandleCount(probe.process().id());
        ASSERT_GT(gdi[batch], 0);
        ASSERT_GT(handles[batch], 0);
    }
    std::printf("GDI objects after 100, 200, 300 cycles: %ld %ld %ld; kernel handles: %ld %ld %ld\n", gdi[0],
                gdi[1], gdi[2], handles[0], handles[1], handles[2]);
    EXPECT_EQ(std::string::npos, probe.output().find("cycle failed"));
    EXPECT_LE(gdi[2], gdi[0] + 2) << "GDI objects after 100 and 300 cycles: " << gdi[0] << ", " << gdi[2];
    EXPECT_LE(handles[2], handles[0] + 2) << "handles after 100 and 300 cycles: " << handles[0] << ", "
                                          << handles[2];
    PostMessageW(hMain, WM_CLOSE, 0, 0);
    EXPECT_TRUE(probe.process().waitExit(kProbeDeadlineMs));
}

} // namespace
