// The frame and caption of a skinned top-level window: drawn through its dialog painter, with the
// caption buttons hit-tested, tracked and pressed by the library, so that no part of the system's
// own frame is ever drawn over it. Moving by the caption, the system menu and the keyboard are left
// to the system. Internal to Tsl.dll.
#pragma once

#include "TslPainters.h"

class TesselCaption {
public:
    TesselCaption() = default;

    // Messages the caption answers itself: true with *result set when it handled the message.
    bool handleBefore(HWND hWnd, AbstractDialogPainter& painter, UINT message, WPARAM wParam,
                      LPARAM lParam, LRESULT* result);
    // After the default processing of a message that makes the system redraw its caption; after
    // a change of the system's colours or of high contrast, the whole window is drawn again.
    void handleAfter(HWND hWnd, AbstractDialogPainter& painter, UINT message, WPARAM wParam);

    // Draws frame, caption and caption buttons now.
    void paint(HWND hWnd, AbstractDialogPainter& painter);

    TesselCaption(const TesselCaption&) = delete;
    TesselCaption& operator=(const TesselCaption&) = delete;

private:
    struct Layout;
    Layout layout(HWND hWnd) const;
    int buttonAt(HWND hWnd, POINT screen) const;
    void pressButton(HWND hWnd, int hit);
    void releaseButton(HWND hWnd, AbstractDialogPainter& painter, POINT screen);

    bool m_active = true;
    int m_hot = HTNOWHERE;       // the caption button under the mouse
    int m_pressed = HTNOWHERE;   // the caption button held down
    bool m_pressedOver = false;  // the mouse is over the held button
};
