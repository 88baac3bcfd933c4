// Kernel handles and GDI objects of the panel: flat while a user keeps changing frames, zoom and
// mode in one camera session; kernel handles the same from one session to the next. (./kivo bench
// sessions counts both over a hundred sessions with the real service.)
#include "PanelRig.h"

#include "KivoNames.h"
#include "KivoSetMessages.h"
#include "resource.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace kivoset;

namespace {

struct Counts {
    long handles = -1;
    long gdi = -1;
};

Counts countsOf(DWORD processId)
{
    return {kivotest::kernelHandleCount(processId), kivotest::gdiObjectCount(processId)};
}

// One round of a user's changes: another frame from the chooser, a zoom step, each mode in turn.
void changeEffects(PanelRig& rig, int round)
{
    PostMessageW(rig.panel(), WM_APPLY_FRAME, WPARAM(1 + round % 5), 0);
    rig.chooseEntry(IDC_ZOOM_LIST, round % 3);
    for (int mode : {1, 2, 3, 0})
        rig.chooseEntry(IDC_MODE_LIST, mode);
    kivotest::pumpMessagesFor(150);
}

} // namespace

TEST(KivoSetResources, HandlesAndGdiObjectsStayFlatWithinAndAcrossCameraSessions)
{
    const int kSessions = 3, kWarmRounds = 3, kRounds = 12;
    PanelRig rig;
    std::vector<Counts> warm;
    for (int session = 0; session < kSessions; ++session) {
        SCOPED_TRACE(session);
        int opens = rig.log().count("CKivoSetDlg::OnOpenDevice() called.");
        ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 15 --duration 60 --filter-wait 1000"));
        ASSERT_TRUE(rig.startKivoSet());
        ASSERT_NE(nullptr, rig.waitForPanel());
        ASSERT_TRUE(rig.log().waitFor("CKivoSetDlg::OnOpenDevice() called.", 10000, opens + 1));
        DWORD panelProcess = rig.kivoSet().id();

        for (int round = 0; round < kWarmRounds; ++round)
            changeEffects(rig, round);
        Counts before = countsOf(panelProcess);
        ASSERT_GT(before.handles, 0);
        ASSERT_GT(before.gdi, 0);
        for (int round = kWarmRounds; round < kRounds; ++round)
            changeEffects(rig, round);
        Counts after = countsOf(panelProcess);
        EXPECT_LE(after.handles, before.handles + 2) << "kernel handles within the session";
        EXPECT_LE(after.gdi, before.gdi + 2) << "GDI objects within the session";
        warm.push_back(before);

        rig.stopCapture();
        ASSERT_TRUE(rig.kivoSet().waitExit(10000));
    }
    // GDI objects at one moment differ by a few from process to process (what a paint in progress
    // holds), so only the kernel handles are compared across sessions.
    auto [fewest, most] = std::minmax_element(
        warm.begin(), warm.end(), [](const Counts& a, const Counts& b) { return a.handles < b.handles; });
    EXPECT_LE(most->handles - fewest->handles, 2) << "kernel handles from session to session";
}
