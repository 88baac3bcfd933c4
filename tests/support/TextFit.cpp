#include "TextFit.h"

#include <commctrl.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace kivotest {
namespace {

std::string utf8(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

std::wstring textOf(HWND hWnd)
{
    int length = GetWindowTextLengthW(hWnd);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(hWnd, &text[0], length + 1));
    return text;
}

// The size a text takes in a control's font: one line, or broken into lines of at most width.
SIZE textSize(HWND hCtl, const std::wstring& text, UINT format, int width)
{
    HDC hdc = GetDC(hCtl);
    HGDIOBJ old = SelectObject(hdc, reinterpret_cast<HFONT>(SendMessageW(hCtl, WM_GETFONT, 0, 0)));
    RECT rect = {0, 0, width, 0};
    DrawTextW(hdc, text.c_str(), -1, &rect, format | DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(hdc, old);
    ReleaseDC(hCtl, hdc);
    return {rect.right, rect.bottom};
}

// What the control needs around its text: a push button's edges, a check box's box, a list's arrow.
std::string misfitOfControl(HWND hCtl)
{
    wchar_t className[32] = L"";
    GetClassNameW(hCtl, className, ARRAYSIZE(className));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hCtl, GWL_STYLE));
    RECT client = {};
    GetClientRect(hCtl, &client);
    const int width = client.right, height = client.bottom;
    std::vector<std::wstring> texts;
    int reserved = 0;
    UINT format = DT_SINGLELINE;
    if (_wcsicmp(className, L"Static") == 0) {
        DWORD kind = style & SS_TYPEMASK;
        if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP)
            return "";
        if (kind != SS_LEFTNOWORDWRAP && !(style & SS_CENTERIMAGE))
            format = DT_WORDBREAK;
        if (style & SS_NOPREFIX)
            format |= DT_NOPREFIX;
        texts.push_back(textOf(hCtl));
    } else if (_wcsicmp(className, L"Button") == 0) {
        DWORD kind = style & BS_TYPEMASK;
        if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON)
            reserved = GetSystemMetrics(SM_CXMENUCHECK) + 4;
        else if (kind == BS_GROUPBOX)
            reserved = 16;
        else
            reserved = 2 * (GetSystemMetrics(SM_CXEDGE) + 3);
        texts.push_back(textOf(hCtl));
    } else if (_wcsicmp(className, L"ComboBox") == 0) {
        reserved = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 4;
        LRESULT count = SendMessageW(hCtl, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring entry(SendMessageW(hCtl, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
            entry.resize(SendMessageW(hCtl, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0])));
            texts.push_back(entry);
        }
    }
    std::ostringstream out;
    for (const std::wstring& text : texts) {
        if (text.empty())
            continue;
        SIZE size = textSize(hCtl, text, format, width - reserved);
        if (size.cx + reserved > width || size.cy > height)
            out << " control " << GetDlgCtrlID(hCtl) << " needs " << size.cx + reserved << "x" << size.cy
                << " in " << width << "x" << height << " for \"" << utf8(text) << "\";";
    }
    return out.str();
}

// A control that only frames or backs others: a group box, a property sheet's tabs (the page lies
// on them), or one without a text of its own.
bool isContainer(HWND hCtl)
{
    wchar_t className[32] = L"";
    GetClassNameW(hCtl, className, ARRAYSIZE(className));
    DWORD style = static_cast<DWORD>(GetWindowLongW(hCtl, GWL_STYLE));
    if (_wcsicmp(className, WC_TABCONTROLW) == 0)
        return true;
    if (_wcsicmp(className, L"Button") == 0)
        return (style & BS_TYPEMASK) == BS_GROUPBOX;
    return _wcsicmp(className, L"Static") == 0 && GetWindowTextLengthW(hCtl) == 0;
}

// Visible once the window is shown: the dialog itself is not, so IsWindowVisible would say no.
bool isShown(HWND hCtl)
{
    return (GetWindowLongW(hCtl, GWL_STYLE) & WS_VISIBLE) != 0;
}

// A control reaching past its window's client area is cut off there.
std::string outside(HWND hDlg)
{
    RECT client = {};
    GetClientRect(hDlg, &client);
    MapWindowPoints(hDlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
    std::ostringstream out;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) {
        RECT control = {}, joined = {};
        GetWindowRect(h, &control);
        UnionRect(&joined, &client, &control);
        if (isShown(h) && !EqualRect(&joined, &client))
            out << " control " << GetDlgCtrlID(h) << " reaches past the window;";
    }
    return out.str();
}

std::string overlaps(HWND hDlg)
{
    std::vector<HWND> controls;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (isShown(h))
            controls.push_back(h);
    std::ostringstream out;
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT a, b, both;
            GetWindowRect(controls[i], &a);
            GetWindowRect(controls[j], &b);
            if (!IntersectRect(&both, &a, &b))
                continue;
            RECT joined;
            UnionRect(&joined, &a, &b);
            bool aHoldsB = EqualRect(&joined, &a) && isContainer(controls[i]);
            bool bHoldsA = EqualRect(&joined, &b) && isContainer(controls[j]);
            if (!aHoldsB && !bHoldsA)
                out << " controls " << GetDlgCtrlID(controls[i]) << " and " << GetDlgCtrlID(controls[j]) << " overlap;";
        }
    }
    return out.str();
}

} // namespace

std::string textMisfit(HWND control)
{
    return misfitOfControl(control);
}

std::string misfitsIn(HWND window, const std::vector<int>& imageButtons)
{
    std::string found;
    for (HWND h = GetWindow(window, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (isShown(h) && std::find(imageButtons.begin(), imageButtons.end(), GetDlgCtrlID(h)) == imageButtons.end())
            found += misfitOfControl(h);
    return found + overlaps(window) + outside(window);
}

} // namespace kivotest
