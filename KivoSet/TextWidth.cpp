#include "TextWidth.h"

#include <algorithm>
#include <string>

namespace {

// The extent of one line of text in the control's font; the access-key prefix takes no room.
int lineWidth(HWND control, const std::wstring& text)
{
    if (text.empty())
        return 0;
    HDC hdc = GetDC(control);
    if (!hdc)
        return 0;
    HGDIOBJ old = SelectObject(hdc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    RECT rect = {0, 0, 0, 0};
    DrawTextW(hdc, text.c_str(), static_cast<int>(text.size()), &rect, DT_CALCRECT | DT_SINGLELINE);
    SelectObject(hdc, old);
    ReleaseDC(control, hdc);
    return rect.right;
}

std::wstring windowText(HWND control)
{
    int length = GetWindowTextLengthW(control);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(control, &text[0], length + 1)));
    return text;
}

int longestEntryWidth(HWND list)
{
    int widest = 0;
    LRESULT count = SendMessageW(list, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, i, 0);
        if (length <= 0)
            continue;
        std::wstring entry(static_cast<size_t>(length) + 1, L'\0');
        LRESULT copied = SendMessageW(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0]));
        entry.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
        widest = std::max(widest, lineWidth(list, entry));
    }
    return widest;
}

bool isClass(HWND control, const wchar_t* name)
{
    wchar_t className[32] = L"";
    GetClassNameW(control, className, ARRAYSIZE(className));
    return _wcsicmp(className, name) == 0;
}

} // namespace

int textWidthOf(HWND control)
{
    if (isClass(control, L"ComboBox")) {
        int widest = longestEntryWidth(control);
        return widest ? widest + GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 4 : 0;
    }
    int text = lineWidth(control, windowText(control));
    if (!text)
        return 0;
    // A push button's caption keeps clear of its edges and focus rectangle.
    return isClass(control, L"Button") ? text + 2 * (GetSystemMetrics(SM_CXEDGE) + 3) : text;
}

void widenColumnToTexts(std::initializer_list<HWND> column)
{
    int width = 0;
    for (HWND control : column) {
        RECT rect = {};
        GetWindowRect(control, &rect);
        width = std::max({width, static_cast<int>(rect.right - rect.left), textWidthOf(control)});
    }
    for (HWND control : column) {
        RECT rect = {};
        GetWindowRect(control, &rect);
        if (rect.right - rect.left == width)
            continue;
        // A drop-down list's height is that of its open list.
        int height = rect.bottom - rect.top;
        if (isClass(control, L"ComboBox")) {
            RECT dropped = {};
            if (SendMessageW(control, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped)))
                height = dropped.bottom - dropped.top;
        }
        SetWindowPos(control, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}
