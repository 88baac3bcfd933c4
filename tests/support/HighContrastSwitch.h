// Windows' high-contrast mode switched by the test for the object's life (off at first), with a scheme of system colours in
// which every colour the skin uses differs from every other and from the skin's own; all of it as
// it was afterwards, also when a test fails.
//
// Where the system honours SPI_SETHIGHCONTRAST (Windows), the mode is switched for real. Wine 8
// refuses it (ERROR_INVALID_SPI_VALUE) and always reports the mode off, and its system colours do
// not follow the mode: there the skin library's import of SystemParametersInfoW is pointed, for the
// object's life, at one that reports the mode as the test sets it, and the colours are set with SetSysColors (which
// Wine keeps to this process).
#pragma once

#include <windows.h>

class HighContrastSwitch {
public:
    // The scheme in force, the mode still off.
    HighContrastSwitch();
    ~HighContrastSwitch();
    HighContrastSwitch(const HighContrastSwitch&) = delete;
    HighContrastSwitch& operator=(const HighContrastSwitch&) = delete;

    // Whether the mode is on, as the skin library sees it.
    bool on() const;
    void setOn(bool on);
    // Sends hWnd what the system broadcasts after the mode changed.
    static void announce(HWND hWnd);

private:
    bool m_bySystem = false;   // the system switches the mode
    bool m_colorsSet = false;
    void** m_importSlot = nullptr;
    void* m_original = nullptr;
};

// The scheme's colours, by COLOR_ index.
COLORREF contrastSchemeColor(int index);
