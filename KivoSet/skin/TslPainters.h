// Painters of the skin library: objects that draw a button's states or a dialog's client area,
// frame and caption. A window hands all its drawing to its painter; a program replaces the library's
// painters with its own to change the look. Every painter call leaves the device context as it
// found it (objects, colours, modes, clipping).
#pragma once

#include "TslApi.h"

#include <afxwin.h>

// --- buttons ---

class TSL_API AbstractButtonPainter {
public:
    AbstractButtonPainter();
    virtual ~AbstractButtonPainter();

    // One call per state of a push button: rect is the button's client rectangle, caption its text.
    virtual void DrawNormal(CDC& dc, const RECT& rect, const CString& caption) = 0;
    virtual void DrawDown(CDC& dc, const RECT& rect, const CString& caption) = 0;
    virtual void DrawHot(CDC& dc, const RECT& rect, const CString& caption) = 0;
    virtual void DrawDisable(CDC& dc, const RECT& rect, const CString& caption) = 0;
    // The keyboard focus cue, drawn over the state into the button's inner rectangle.
    virtual void DrawFocus(CDC& dc, const RECT& rect) = 0;

    // The caption centred in rect in the given colour, with the DC's current font; "&x" underlines x.
    void drawText(CDC& dc, const RECT& rect, COLORREF color, const CString& caption);
    // The same, one pixel down and right, as a pressed button shows it.
    void drawDownText(CDC& dc, const RECT& rect, COLORREF color, const CString& caption);

    AbstractButtonPainter(const AbstractButtonPainter&) = delete;
    AbstractButtonPainter& operator=(const AbstractButtonPainter&) = delete;
};

// The library's own look: flat, one colour per state, a one-pixel outline.
class TSL_API TesselButtonPainter : public AbstractButtonPainter {
public:
    TesselButtonPainter();
    ~TesselButtonPainter() override;

    void DrawNormal(CDC& dc, const RECT& rect, const CString& caption) override;
    void DrawDown(CDC& dc, const RECT& rect, const CString& caption) override;
    void DrawHot(CDC& dc, const RECT& rect, const CString& caption) override;
    void DrawDisable(CDC& dc, const RECT& rect, const CString& caption) override;
    void DrawFocus(CDC& dc, const RECT& rect) override;
};

// --- dialogs ---

// Rectangles are in the coordinates of the DC handed over: client coordinates for DrawClient, window
// coordinates (0, 0 at the window's top-left corner) for the frame, caption and menu bar.
//
// Caption buttons take three flags:
//   hot      the mouse is over the button and no button is held (never true together with pressed);
//   pressed  the button is held down with the mouse over it;
//   disabled the command is not available (the system menu greys it, e.g. SC_CLOSE).
// A painter draws the first state whose flag is set, and the normal look when none is.
class TSL_API AbstractDialogPainter {
public:
    AbstractDialogPainter();
    virtual ~AbstractDialogPainter();

    // The client area's background.
    virtual void DrawClient(CDC& dc, const RECT& client) = 0;
    // The frame: window is the whole window rectangle; everything outside the client area.
    virtual void DrawNonClient(CDC& dc, const RECT& window, bool active) = 0;
    // The caption band's background (caption buttons and text are drawn over it).
    virtual void DrawTitleBar(CDC& dc, const RECT& caption, bool active) = 0;
    virtual void DrawCloseButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) = 0;
    virtual void DrawHelpButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) = 0;
    virtual void DrawMaxButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) = 0;
    virtual void DrawMinButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) = 0;
    virtual void DrawRestoreButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) = 0;
    // The caption text in the part of the caption that the icon and the buttons leave free.
    virtual void DrawTitleText(CDC& dc, const RECT& rect, const CString& text, bool active) = 0;
    // The window's menu bar, below the caption: its background, then each top-level item.
    virtual void DrawTopMenuBarBkgnd(CDC& dc, const RECT& rect, bool active) = 0;
    virtual void DrawTopMenuBarText(CDC& dc, const RECT& rect, const CString& text, bool disabled) = 0;
    // A drop-down menu opened from the menu bar: its background, an item, a separator line.
    virtual void DrawMenuBarBkgnd(CDC& dc, const RECT& rect) = 0;
    virtual void DrawMenuBarText(CDC& dc, const RECT& rect, const CString& text, bool selected,
                                 bool disabled) = 0;
    virtual void DrawMenuBarSeparator(CDC& dc, const RECT& rect) = 0;

    AbstractDialogPainter(const AbstractDialogPainter&) = delete;
    AbstractDialogPainter& operator=(const AbstractDialogPainter&) = delete;
};

// The library's own look: a flat grey caption with white text, a one-pixel slate frame, a light body.
class TSL_API TesselDialogPainter : public AbstractDialogPainter {
public:
    TesselDialogPainter();
    ~TesselDialogPainter() override;

    void DrawClient(CDC& dc, const RECT& client) override;
    void DrawNonClient(CDC& dc, const RECT& window, bool active) override;
    void DrawTitleBar(CDC& dc, const RECT& caption, bool active) override;
    void DrawCloseButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) override;
    void DrawHelpButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) override;
    void DrawMaxButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) override;
    void DrawMinButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) override;
    void DrawRestoreButton(CDC& dc, const RECT& rect, bool hot, bool pressed, bool disabled) override;
    void DrawTitleText(CDC& dc, const RECT& rect, const CString& text, bool active) override;
    void DrawTopMenuBarBkgnd(CDC& dc, const RECT& rect, bool active) override;
    void DrawTopMenuBarText(CDC& dc, const RECT& rect, const CString& text, bool disabled) override;
    void DrawMenuBarBkgnd(CDC& dc, const RECT& rect) override;
    void DrawMenuBarText(CDC& dc, const RECT& rect, const CString& text, bool selected,
                         bool disabled) override;
    void DrawMenuBarSeparator(CDC& dc, const RECT& rect) override;
};
