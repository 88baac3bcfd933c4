// The skin library's message box and its library-wide switches.
#pragma once

#include "TslApi.h"

#include <afxwin.h>

// A modal message box drawn in the library's look: the style's icon (MB_ICONHAND, MB_ICONQUESTION,
// MB_ICONEXCLAMATION, MB_ICONASTERISK), the text, and the style's buttons with the standard ids
// (IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE) and default
// button (MB_DEFBUTTON1-3). A top-level dialog of class "#32770" with the given caption, so that the
// keyboard (Enter, Escape, Tab, mnemonics) and other programs treat it as a message box. Returns
// the id of the button chosen, IDCANCEL for Escape and the close box when the box has a Cancel
// (IDOK for a lone OK box), 0 when the box cannot be created. With no parent it is owned by the
// application's main window, as the framework's dialogs are.
TSL_API int TesselMessageBox(LPCWSTR lpszText, LPCWSTR lpszCaption, UINT nType, CWnd* pParentWnd = nullptr);

class TSL_API TesselAPI {
public:
    // Switches the library's use of the system's visual style ("Luna" and its successors) for the
    // windows it skins from then on, and returns the setting in force before the call (on at load).
    // Off: each dialog, page, sheet and push button the library skins from then on is taken out of
    // the visual style (SetWindowTheme with empty names), so the parts the system still draws
    // there (tabs, scroll bars, drop-down lists) take the classic look in the library's colours.
    // On: those windows keep the visual style. Captions and frames are the library's either way.
    static bool EnableLuna(bool enable);
    static bool IsLunaEnabled();
};
