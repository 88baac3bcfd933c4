// When the panel is topmost, tried against every sequence of its open timer's ticks with a dialog
// of the panel opening, staying open or having come and gone before each tick. Wine never shows
// WS_EX_TOPMOST on a window that owns popups, so the decisions are checked here, on a window
// state that follows them.
#include "TopmostPeriod.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// What a dialog of the panel does before a tick: nothing, opens and closes again before the tick,
// or is open at the tick.
enum class Dialog { none, cameAndWent, open };
const int kTicks = 5;   // one tick past the end of the period

bool apply(TopmostPeriod::Change change, bool topmost)
{
    return change == TopmostPeriod::Change::raise ? true : change == TopmostPeriod::Change::lower ? false : topmost;
}

std::string describe(bool deviceOpened, const Dialog (&dialogs)[kTicks])
{
    std::string text = deviceOpened ? "camera opened;" : "camera not opened;";
    for (Dialog dialog : dialogs)
        text += dialog == Dialog::none ? " -" : dialog == Dialog::cameAndWent ? " came+went" : " open";
    return text;
}

} // namespace

TEST(TopmostPeriod, EverySequenceEndsNotTopmostAndNoDialogIsEverUnderATopmostPanel)
{
    int sequences = 0;
    for (bool deviceOpened : {true, false}) {
        for (int code = 0; code < 243; ++code) {   // 3^kTicks
            Dialog dialogs[kTicks];
            for (int i = 0, c = code; i < kTicks; ++i, c /= 3)
                dialogs[i] = Dialog(c % 3);
            SCOPED_TRACE(describe(deviceOpened, dialogs));
            ++sequences;

            TopmostPeriod period;
            bool topmost = apply(period.start(), false);
            EXPECT_TRUE(topmost);
            bool dialogWasOpen = false, anyDialog = false, stopped = false;
            for (int i = 0; i < kTicks && !stopped; ++i) {
                bool dialogOpen = dialogs[i] == Dialog::open;
                if (dialogs[i] == Dialog::cameAndWent || (dialogOpen && !dialogWasOpen)) {
                    topmost = apply(period.dialogOpens(), topmost);
                    EXPECT_FALSE(topmost) << "a dialog opened under the topmost panel before tick " << i;
                }
                anyDialog = anyDialog || dialogs[i] != Dialog::none;
                TopmostPeriod::Tick tick = period.tick(deviceOpened, dialogOpen);
                topmost = apply(tick.change, topmost);
                EXPECT_EQ(topmost, period.topmost());
                EXPECT_EQ(i == 0 && !deviceOpened, tick.closePanel) << "tick " << i;
                if (dialogOpen) {
                    EXPECT_FALSE(topmost) << "topmost over its open dialog at tick " << i;
                }
                // Without any dialog the panel keeps above the application until the last tick.
                if (deviceOpened && !anyDialog) {
                    EXPECT_EQ(i < int(TopmostPeriod::kLastTick), topmost) << "tick " << i;
                }
                stopped = tick.stopTimer;
                dialogWasOpen = dialogOpen;
            }
            EXPECT_TRUE(stopped) << "the open timer still runs past its period";
            EXPECT_FALSE(topmost) << "the panel stays topmost";
        }
    }
    EXPECT_EQ(486, sequences);
}
