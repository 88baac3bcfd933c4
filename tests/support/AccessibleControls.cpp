#include "AccessibleControls.h"

#include <oleacc.h>

#include <algorithm>
#include <cwctype>

namespace kivotest {
namespace {

// A resource's name rather than a user's text: "#130", or a word of capitals and digits longer than
// an "OK" ("FRAMEPREV").
bool looksLikeResourceName(const std::wstring& name)
{
    if (!name.empty() && name[0] == L'#')
        return true;
    return name.size() > 3 && std::all_of(name.begin(), name.end(), [](wchar_t c) {
        return (c >= L'A' && c <= L'Z') || (c >= L'0' && c <= L'9') || c == L'_';
    });
}

std::wstring hex(long value)
{
    wchar_t text[16];
    swprintf(text, 16, L"0x%lx", value);
    return text;
}

// COM on the reading thread while it reads, in whatever apartment the thread already has.
class ComApartment {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_result;
};

} // namespace

namespace {
thread_local WinEventRecorder* t_recorder = nullptr;
}

WinEventRecorder::WinEventRecorder(DWORD event, DWORD processId)
{
    t_recorder = this;
    m_hook = SetWinEventHook(event, event, nullptr, onEvent, processId, 0, WINEVENT_OUTOFCONTEXT);
}

WinEventRecorder::~WinEventRecorder()
{
    if (m_hook)
        UnhookWinEvent(m_hook);
    t_recorder = nullptr;
}

size_t WinEventRecorder::count(HWND window) const
{
    return std::count(m_windows.begin(), m_windows.end(), window);
}

void CALLBACK WinEventRecorder::onEvent(HWINEVENTHOOK, DWORD, HWND window, LONG object, LONG child, DWORD, DWORD)
{
    if (t_recorder && object == OBJID_CLIENT && child == CHILDID_SELF)
        t_recorder->m_windows.push_back(window);
}

AccessibleControl accessibleControl(HWND control)
{
    ComApartment com;
    AccessibleControl result;
    result.id = GetDlgCtrlID(control);
    IAccessible* object = nullptr;
    if (FAILED(AccessibleObjectFromWindow(control, OBJID_CLIENT, IID_IAccessible, reinterpret_cast<void**>(&object))) ||
        !object)
        return result;
    VARIANT self;
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    VARIANT role, state;
    VariantInit(&role);
    VariantInit(&state);
    result.read = SUCCEEDED(object->get_accName(self, &name)) && SUCCEEDED(object->get_accRole(self, &role)) &&
                  SUCCEEDED(object->get_accState(self, &state)) && role.vt == VT_I4 && state.vt == VT_I4;
    if (name)
        result.name = name;
    result.role = role.vt == VT_I4 ? role.lVal : 0;
    result.state = state.vt == VT_I4 ? state.lVal : 0;
    SysFreeString(name);
    VariantClear(&role);
    VariantClear(&state);
    object->Release();
    return result;
}

std::vector<AccessibleControl> accessibleControls(HWND parent, const std::set<int>& decoration)
{
    std::vector<AccessibleControl> controls;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (IsWindowVisible(child) && !decoration.count(GetDlgCtrlID(child)))
            controls.push_back(accessibleControl(child));
    }
    return controls;
}

std::wstring describeFaults(HWND parent, const std::vector<ExpectedControl>& expected, const std::set<int>& decoration)
{
    std::wstring faults;
    std::set<int> seen;
    for (const AccessibleControl& control : accessibleControls(parent, decoration)) {
        std::wstring which = L"control " + std::to_wstring(control.id) + L" \"" + control.name + L"\" role " +
                             std::to_wstring(control.role) + L" state " + hex(control.state) + L": ";
        seen.insert(control.id);
        auto it = std::find_if(expected.begin(), expected.end(), [&](const ExpectedControl& e) { return e.id == control.id; });
        if (!control.read)
            faults += which + L"oleacc gave no answer\n";
        else if (it == expected.end())
            faults += which + L"not expected\n";
        else if (control.role != it->role)
            faults += which + L"expected role " + std::to_wstring(it->role) + L"\n";
        else if (!it->name.empty() && control.name != it->name)
            faults += which + L"expected name \"" + it->name + L"\"\n";
        else if (control.name.empty() || looksLikeResourceName(control.name))
            faults += which + L"no name a user would understand\n";
    }
    for (const ExpectedControl& e : expected) {
        if (!seen.count(e.id))
            faults += L"control " + std::to_wstring(e.id) + L" not found among the visible controls\n";
    }
    return faults;
}

} // namespace kivotest
