// The settings program's windows are laid out in pixels of a 96-DPI screen; on a denser screen
// (the programs are system-DPI aware) every length grows with the system DPI, as the templates'
// controls grow with their font, so that a window keeps its proportions.
#pragma once

#include <windows.h>

// The screen's pixels per logical inch (96 at 100%, 144 at 150%); 96 when it cannot be read.
int screenDpi();

// A length of the 96-DPI layout at the given DPI.
inline int scaledToDpi(int pixelsAt96, int dpi)
{
    return MulDiv(pixelsAt96, dpi, 96);
}
