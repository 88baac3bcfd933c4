// The skin library's other controls. Each is bound to a control of a dialog template by id (DDX_Control)
// and used like the framework control it derives from; the library only changes how it is drawn:
// flat, in the dialog's body colour, with the library's accent for checks, thumbs and focus.
// Keyboard and mouse behaviour stay the system's.
#pragma once

#include "TslApi.h"

#include <afxwin.h>
#include <afxcmn.h>

// Check boxes and radio buttons: a flat box or ring, the check in the accent colour, the label to
// its right; the system keeps the check state, auto-check behaviour and arrow-key groups.
class TSL_API TesselCheckControl : public CButton {
public:
    ~TesselCheckControl() override;

protected:
    explicit TesselCheckControl(bool radio);
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_radio;
    bool m_hot = false;
};

class TSL_API TesselCheckBox : public TesselCheckControl {
    DECLARE_DYNAMIC(TesselCheckBox)
public:
    TesselCheckBox();
    ~TesselCheckBox() override;
};

class TSL_API TesselRadioButton : public TesselCheckControl {
    DECLARE_DYNAMIC(TesselRadioButton)
public:
    TesselRadioButton();
    ~TesselRadioButton() override;
};

// A group box drawn as a one-pixel line with its title on the body colour.
class TSL_API TesselGroupBox2 : public CButton {
    DECLARE_DYNAMIC(TesselGroupBox2)
public:
    TesselGroupBox2();
    ~TesselGroupBox2() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A number box: a flat one-pixel border instead of the sunken edge.
class TSL_API TesselEdit2 : public CEdit {
    DECLARE_DYNAMIC(TesselEdit2)
public:
    TesselEdit2();
    ~TesselEdit2() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A slider with a flat channel and a flat thumb; tick marks as the style asks.
class TSL_API TesselSliderCtrl : public CSliderCtrl {
    DECLARE_DYNAMIC(TesselSliderCtrl)
public:
    TesselSliderCtrl();
    ~TesselSliderCtrl() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
};

// A static control in the dialog's colours (text, icon or picture alike).
class TSL_API TesselStatic : public CStatic {
    DECLARE_DYNAMIC(TesselStatic)
public:
    TesselStatic();
    ~TesselStatic() override;
};

// A drop-down list drawn as a flat field with a flat arrow; the list itself is the system's, coloured
// by the dialog.
class TSL_API TesselComboBox : public CComboBox {
    DECLARE_DYNAMIC(TesselComboBox)
public:
    TesselComboBox();
    ~TesselComboBox() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    bool m_hot = false;
};
