// Widths from the texts a control shows, in the control's own font: the panel's layout widens its
// columns to them where a language's template left a control too narrow for its text.
#pragma once

#include <windows.h>

#include <initializer_list>

// The width the control needs to show its text whole: a label's text, a push button's caption
// within its edges, a drop-down list's longest entry beside its arrow; 0 when it shows no text.
int textWidthOf(HWND control);

// Gives each control of a column one width: the widest of their own widths and their texts' needs.
// Nothing shrinks; heights and positions stay.
void widenColumnToTexts(std::initializer_list<HWND> column);
