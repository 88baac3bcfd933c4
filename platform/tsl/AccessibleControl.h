// The accessible object of one control: the system's standard object for the window, with the
// name, role and state of the control itself (CHILDID_SELF) completed by ControlDescription.
// Internal to Tsl.dll.
#pragma once

#include <windows.h>
#include <oleacc.h>

namespace tsl {

// The answer to WM_GETOBJECT(OBJID_CLIENT) for control; 0 (let the default procedure answer) when
// the standard object cannot be had.
LRESULT answerClientObject(HWND control, WPARAM wParam);

} // namespace tsl
