// Names a control for screen readers with a text of the locale library, where neither its own text
// nor a label before it says what it is (a picture, an arrow drawn from images).
#pragma once

#include "Tsl.h"

#include <afxwin.h>

inline void nameForScreenReaders(HWND control, UINT textId)
{
    CString text;
    if (control && text.LoadString(textId))
        TslSetAccessibleName(control, text);
}
