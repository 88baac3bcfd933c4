// The camera property sheet as the panel opens it: the picture properties page and the camera
// settings page for one camera direction, caption string 104, no Apply button, run modally.
#pragma once

#include "KivoLib.h"

#include <afxwin.h>

// IDOK or IDCANCEL, -1 when the sheet could not be shown or its owner went away while it ran. With
// no parent the sheet is owned by the application's main window.
INT_PTR runCameraPropertySheet(ICameraPropertySettings* settings, int direction, CWnd* pParent = nullptr);
