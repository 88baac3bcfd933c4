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

// Counts the accessibility events (EVENT_OBJECT_...) of one kind that a process raises for each
// window, from creation to destruction; delivered while the creating thread dispatches messages
// (kivotest::waitFor does). One recorder per thread at a time.
class WinEventRecorder {
public:
    WinEventRecorder(DWORD event, DWORD processId);
    ~WinEventRecorder();
    WinEventRecorder(const WinEventRecorder&) = delete;
    WinEventRecorder& operator=(const WinEventRecorder&) = delete;

    bool hooked() const { return m_hook != nullptr; }
    size_t count(HWND window) const;

private:
    static void CALLBACK onEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                 DWORD thread, DWORD time);
    HWINEVENTHOOK m_hook = nullptr;
    std::vector<HWND> m_windows;   // one entry per event of a client object
};

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
