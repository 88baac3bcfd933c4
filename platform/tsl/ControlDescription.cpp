#include "ControlDescription.h"

#include "AccessibleControl.h"
#include "TslAccessible.h"

#include <commctrl.h>
#include <oleacc.h>

namespace tsl {
namespace {

const UINT_PTR kSubclassId = 0x54534C41;   // "TSLA"

// What a described control carries: the name given to it, if any. Owned by the control's subclass
// and deleted with the window.
struct Description {
    CString name;
};

CString className(HWND control)
{
    WCHAR name[64] = {};
    ::GetClassNameW(control, name, ARRAYSIZE(name));
    return name;
}

bool isClass(HWND control, LPCWSTR name)
{
    return className(control).CompareNoCase(name) == 0;
}

LONG style(HWND control)
{
    return ::GetWindowLongW(control, GWL_STYLE);
}

bool isStatic(HWND control)
{
    return isClass(control, L"Static");
}

// A static that shows a picture: its window text names a resource, never what a user sees.
bool isImageStatic(HWND control)
{
    LONG type = style(control) & SS_TYPEMASK;
    return isStatic(control) && (type == SS_ICON || type == SS_BITMAP || type == SS_ENHMETAFILE);
}

bool isTextStatic(HWND control)
{
    LONG type = style(control) & SS_TYPEMASK;
    return isStatic(control) && (type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT ||
                                 type == SS_SIMPLE || type == SS_LEFTNOWORDWRAP);
}

// Controls whose window text is their value (the chosen entry, the number typed): a standard
// object that reads the window text as the name names them by their value.
bool textIsValue(HWND control)
{
    return isClass(control, WC_COMBOBOXW) || isClass(control, WC_EDITW);
}

// The text a user sees: "&Brightness" reads "Brightness", "&&" is one "&".
CString withoutMnemonic(const CString& text)
{
    CString plain;
    for (int i = 0; i < text.GetLength(); ++i) {
        if (text[i] == L'&' && i + 1 < text.GetLength())
            ++i;
        plain += text[i];
    }
    return plain;
}

CString ownText(HWND control)
{
    int length = ::GetWindowTextLengthW(control);
    CString text;
    if (length > 0) {
        ::GetWindowTextW(control, text.GetBuffer(length + 1), length + 1);
        text.ReleaseBuffer();
    }
    return isTextStatic(control) && (style(control) & SS_NOPREFIX) ? text : withoutMnemonic(text);
}

// The subclass's data, found again through a window property (the system exports no lookup of a
// subclass by name).
const wchar_t kDescriptionProperty[] = L"TslAccessibleDescription";

Description* descriptionOf(HWND control)
{
    return static_cast<Description*>(::GetPropW(control, kDescriptionProperty));
}

// The text of the tool that a tooltip of the control's thread keeps for the control's window.
struct ToolSearch {
    HWND control;
    CString text;
};

BOOL CALLBACK findToolText(HWND window, LPARAM lParam)
{
    ToolSearch& search = *reinterpret_cast<ToolSearch*>(lParam);
    if (!isClass(window, TOOLTIPS_CLASSW))
        return TRUE;
    int count = static_cast<int>(::SendMessageW(window, TTM_GETTOOLCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        TTTOOLINFOW tool = {};
        tool.cbSize = sizeof(tool);
        if (!::SendMessageW(window, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(&tool)))
            continue;
        if (!(tool.uFlags & TTF_IDISHWND) || reinterpret_cast<HWND>(tool.uId) != search.control)
            continue;
        WCHAR text[INFOTIPSIZE] = {};
        tool.lpszText = text;
        ::SendMessageW(window, TTM_GETTEXTW, ARRAYSIZE(text), reinterpret_cast<LPARAM>(&tool));
        text[ARRAYSIZE(text) - 1] = L'\0';
        search.text = text;
        return FALSE;
    }
    return TRUE;
}

CString tooltipText(HWND control)
{
    ToolSearch search = {control, CString()};
    ::EnumThreadWindows(::GetWindowThreadProcessId(control, nullptr), findToolText,
                        reinterpret_cast<LPARAM>(&search));
    return search.text;
}

// The first static before the control in the z-order labels it, as the system's own rule has it for
// the static just before; other controls between them (a slider before its number box) are passed.
CString labelBefore(HWND control)
{
    for (HWND before = ::GetWindow(control, GW_HWNDPREV); before; before = ::GetWindow(before, GW_HWNDPREV)) {
        if (!isStatic(before))
            continue;
        return isImageStatic(before) ? tooltipText(before) : ownText(before);
    }
    return CString();
}

LRESULT CALLBACK describedControlProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                      DWORD_PTR data)
{
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        if (LRESULT object = answerClientObject(control, wParam))
            return object;
    }
    if (message == WM_NCDESTROY) {
        ::RemoveWindowSubclass(control, describedControlProc, kSubclassId);
        ::RemovePropW(control, kDescriptionProperty);
        delete reinterpret_cast<Description*>(data);
    }
    return ::DefSubclassProc(control, message, wParam, lParam);
}

Description* describe(HWND control)
{
    if (!control || !::IsWindow(control))
        return nullptr;
    if (Description* known = descriptionOf(control))
        return known;
    Description* description = new Description;
    if (!::SetPropW(control, kDescriptionProperty, description)) {
        delete description;
        return nullptr;
    }
    if (!::SetWindowSubclass(control, describedControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(description))) {
        ::RemovePropW(control, kDescriptionProperty);
        delete description;
        return nullptr;
    }
    return description;
}

long roleOfButton(HWND control)
{
    switch (style(control) & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_3STATE:
    case BS_AUTO3STATE:
        return ROLE_SYSTEM_CHECKBUTTON;
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
        return ROLE_SYSTEM_RADIOBUTTON;
    case BS_GROUPBOX:
        return ROLE_SYSTEM_GROUPING;
    default:
        return ROLE_SYSTEM_PUSHBUTTON;   // push buttons, owner-drawn ones (the skinned) included
    }
}

// The role of the control's kind; 0 when the library knows nothing better than the system.
long roleOfKind(HWND control)
{
    if (isClass(control, WC_BUTTONW))
        return roleOfButton(control);
    if (isImageStatic(control))
        return ROLE_SYSTEM_GRAPHIC;
    if (isTextStatic(control))
        return ROLE_SYSTEM_STATICTEXT;
    if (isClass(control, WC_COMBOBOXW))
        return ROLE_SYSTEM_COMBOBOX;
    if (isClass(control, WC_EDITW))
        return ROLE_SYSTEM_TEXT;
    if (isClass(control, TRACKBAR_CLASSW))
        return ROLE_SYSTEM_SLIDER;
    if (isClass(control, WC_TABCONTROLW))
        return ROLE_SYSTEM_PAGETABLIST;
    if (isClass(control, WC_LISTBOXW))
        return ROLE_SYSTEM_LIST;
    if (isClass(control, L"#32770") && (style(control) & WS_CHILD))
        return ROLE_SYSTEM_PROPERTYPAGE;
    return 0;
}

long checkState(HWND control)
{
    long role = isClass(control, WC_BUTTONW) ? roleOfButton(control) : 0;
    if (role != ROLE_SYSTEM_CHECKBUTTON && role != ROLE_SYSTEM_RADIOBUTTON)
        return 0;
    LRESULT check = ::SendMessageW(control, BM_GETCHECK, 0, 0);
    return check == BST_CHECKED ? STATE_SYSTEM_CHECKED : check == BST_INDETERMINATE ? STATE_SYSTEM_MIXED : 0;
}

} // namespace

CString describedName(HWND control, const CString& systemName)
{
    if (!::IsWindow(control))
        return systemName;
    if (Description* description = descriptionOf(control)) {
        if (!description->name.IsEmpty())
            return description->name;
    }
    if (!isImageStatic(control) && !textIsValue(control)) {
        if (!systemName.IsEmpty())
            return systemName;
        CString text = ownText(control);
        if (!text.IsEmpty())
            return text;
    }
    CString tip = tooltipText(control);
    if (!tip.IsEmpty() || isStatic(control))
        return tip;
    return labelBefore(control);
}

long describedRole(HWND control, long systemRole)
{
    if (systemRole != ROLE_SYSTEM_CLIENT || !::IsWindow(control))
        return systemRole;
    long role = roleOfKind(control);
    return role != 0 ? role : systemRole;
}

long describedState(HWND control, long systemState)
{
    if (!::IsWindow(control))
        return systemState;
    long state = systemState | checkState(control);
    return state | static_cast<long>(::SendMessageW(control, accessibleStateMessage(), 0, 0));
}

UINT accessibleStateMessage()
{
    static const UINT message = ::RegisterWindowMessageW(L"TslAccessibleState");
    return message;
}

void describeControl(HWND control)
{
    describe(control);
}

} // namespace tsl

void TslDescribeControls(HWND parent)
{
    for (HWND child = ::GetWindow(parent, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        tsl::describe(child);
}

void TslSetAccessibleName(HWND control, LPCWSTR name)
{
    tsl::Description* description = tsl::describe(control);
    CString newName(name ? name : L"");
    if (!description || description->name == newName)
        return;
    description->name = newName;
    // A screen reader reading the control hears of its new name.
    NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF);
}
