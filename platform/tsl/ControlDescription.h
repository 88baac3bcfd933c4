// How the library completes the system's description of a control for screen readers.
// Internal to Tsl.dll; the rules are told in TslAccessible.h.
#pragma once

#include <afxwin.h>

namespace tsl {

// Describes one window from now on, as TslDescribeControls does each child.
void describeControl(HWND control);
// A registered message that a control answers with the STATE_SYSTEM_ bits it holds beyond what the
// system can see in its window (the library's buttons: AbstractButton::AccessibleState); the
// default window procedure answers 0.
UINT accessibleStateMessage();

// The name read for the control; systemName is what the standard object said.
CString describedName(HWND control, const CString& systemName);
// The system's role, unless that says no more than "a window's client area".
long describedRole(HWND control, long systemRole);
// The system's state with the checks and the control's own bits added.
long describedState(HWND control, long systemState);

} // namespace tsl
