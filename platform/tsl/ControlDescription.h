// How the library completes the system's description of a control for screen readers.
// Internal to Tsl.dll; the rules are told in TslAccessible.h.
#pragma once

#include <afxwin.h>

namespace tsl {

// The name read for the control; systemName is what the standard object said.
CString describedName(HWND control, const CString& systemName);
// The system's role, unless that says no more than "a window's client area".
long describedRole(HWND control, long systemRole);
// The system's state with the checks and the control's own bits added.
long describedState(HWND control, long systemState);

} // namespace tsl
