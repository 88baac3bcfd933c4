// The settings program's camera-direction button: the library's push button with a KivoButtonPainter
// built in and a switch between the bitmap look and the library's.
#pragma once

#include "KivoButtonPainter.h"
#include "TslButtons.h"

class KivoButton : public TesselButton {
public:
    KivoButton();
    ~KivoButton() override;

    // Neither repaints: the caller invalidates the button afterwards. A screen reader is told of
    // the change (the bitmap look reads as pressed).
    void enableSkin() { setSkinEnabled(true); }
    void disableSkin() { setSkinEnabled(false); }
    bool isSkinEnabled() const { return m_painter.isSkinEnabled(); }

    // rect shrunk by 2 pixels on each side, whatever the button's state.
    void GetInnerRect(const RECT& rect, RECT& inner) override;
    // The bitmap look marks the direction the camera faces: to a screen reader, a pressed button.
    long AccessibleState() const override;

protected:
    DECLARE_MESSAGE_MAP()

private:
    void setSkinEnabled(bool enabled);

    KivoButtonPainter m_painter;
};
