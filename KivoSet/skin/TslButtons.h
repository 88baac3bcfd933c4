// Skinned push buttons of the skin library. A push button hands each state to its painter: normal,
// hot (mouse over, ended by mouse-leave tracking), pressed, disabled, and the focus cue over it.
// The control stays a push button for the dialog manager (Tab, Space, Enter, the default button,
// mnemonics); only its drawing is the library's.
#pragma once

#include "TslApi.h"
#include "TslPainters.h"

#include <afxwin.h>

class TSL_API AbstractButton : public CButton {
    DECLARE_DYNAMIC(AbstractButton)
public:
    AbstractButton();
    ~AbstractButton() override;

    // Installs the painter that draws this button from now on; it must outlive the window.
    void SetPainter(AbstractButtonPainter* painter);
    AbstractButtonPainter* GetPainter() const { return m_painter; }
    // True while the mouse is over the button.
    bool IsHot() const { return m_hot; }

    // Draws the current state through the painter, then the focus cue into GetInnerRect's answer.
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    // The rectangle inside the button's edge, where the focus cue goes.
    virtual void GetInnerRect(const RECT& rect, RECT& inner);
    // The STATE_SYSTEM_ bits screen readers cannot see in the window: the default button of a
    // dialog, which the library draws owner-drawn and so no longer marks in its style.
    virtual long AccessibleState() const;

protected:
    void PreSubclassWindow() override;
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg LRESULT OnMouseLeave(WPARAM wParam, LPARAM lParam);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnPaint();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnKillFocus(CWnd* pNewWnd);

    DECLARE_MESSAGE_MAP()

private:
    AbstractButtonPainter* m_painter = nullptr;
    bool m_hot = false;
    bool m_ownerDrawn = false;      // a push button whose drawing the library took over
    bool m_defaultButton = false;   // the dialog manager's default push button (BS_DEFPUSHBUTTON)
};

// The library's push button, drawn by a TesselButtonPainter until a program installs its own painter.
class TSL_API TesselButton : public AbstractButton {
    DECLARE_DYNAMIC(TesselButton)
public:
    TesselButton();
    ~TesselButton() override;

    void GetInnerRect(const RECT& rect, RECT& inner) override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    TesselButtonPainter m_libraryPainter;
};

// The push button of the library's command rows (OK, Cancel, Apply): the same look.
class TSL_API TesselButton2 : public TesselButton {
    DECLARE_DYNAMIC(TesselButton2)
public:
    TesselButton2();
    ~TesselButton2() override;

protected:
    DECLARE_MESSAGE_MAP()
};
