// What a screen reader learns of a window's controls through oleacc: for each control the name,
// role and state of its client object (CHILDID_SELF), as AccessibleObjectFromWindow gives them to
// any client, in this process or another.
#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <vector>

namespace kivotest {

struct AccessibleControl {
    int id = 0;
    std::wstring name;
    long role = 0;
    long state = 0;
    bool read = false;   // oleacc answered for the control
};

AccessibleControl accessibleControl(HWND control);
// Every visible child of parent, in z-order, except the ids listed (pure decoration).
std::vector<AccessibleControl> accessibleControls(HWND parent, const std::set<int>& decoration = {});

// What a test expects of one control; an empty name only asks for a name that is not a resource's.
struct ExpectedControl {
    int id;
    long role;
    std::wstring name;
};

// "" when every visible control of parent other than the decoration is read with its expected role
// and a name (the expected one, or at least one that is neither empty nor a resource's: "#130",
// "FRAMEPREV"), and every expected control was found; otherwise one line per fault.
std::wstring describeFaults(HWND parent, const std::vector<ExpectedControl>& expected,
                            const std::set<int>& decoration = {});

} // namespace kivotest
