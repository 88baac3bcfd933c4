// When the panel is topmost: from its layout until the fourth tick of its open timer, so that it
// comes up above the application that opened the camera. A dialog of the panel ends that period at
// once (under the topmost panel it would come up out of sight, the panel disabled behind it), and
// nothing starts it again. The decisions only, free of any window: the panel applies each change
// to its window.
#pragma once

class TopmostPeriod {
public:
    enum class Change { none, raise, lower };
    struct Tick {
        Change change;
        bool stopTimer;
        bool closePanel;   // the camera never reported opening
    };

    // The panel has been laid out: it comes up topmost.
    Change start();
    // One tick of the open timer. deviceOpened: the camera reported opening; dialogOpen: a dialog
    // of the panel is open at this tick.
    Tick tick(bool deviceOpened, bool dialogOpen);
    // A dialog of the panel opens.
    Change dialogOpens();
    bool topmost() const { return m_topmost; }

    // The period ends at this tick (0 is the first) of the open timer.
    static const unsigned kLastTick = 3;

private:
    Change lower();

    unsigned m_ticks = 0;
    bool m_topmost = false;
    bool m_over = false;
};
