// The skin library's colours, for a program that draws parts of its windows itself: the library's
// own, or the system's while Windows' high-contrast mode is on.
#pragma once

#include "TslApi.h"

#include <afxwin.h>

enum TslColor {
    TSL_COLOR_BODY,            // a dialog's body, behind labels
    TSL_COLOR_PANEL,           // a panel on the body
    TSL_COLOR_TEXT,            // text on the body or a panel
    TSL_COLOR_FIELD,           // edit fields, lists
    TSL_COLOR_FIELD_TEXT,
    TSL_COLOR_TEXT_DISABLED,
};

// True while Windows' high-contrast mode is on: the library then draws with the system's colours,
// and a program's painters leave their skin bitmaps aside.
TSL_API bool TslHighContrast();
// The colour of the part now.
TSL_API COLORREF TslGetColor(TslColor part);
// brush, made again in color when it holds another colour or none; its handle. A brush kept this
// way follows a change of colours at the next WM_CTLCOLOR*.
TSL_API HBRUSH TslSolidBrush(CBrush& brush, COLORREF color);
