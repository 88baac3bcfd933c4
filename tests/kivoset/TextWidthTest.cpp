// A column of the panel widens to the texts of its controls in their own font, and never shrinks:
// a caption, a label and a list entry too long for the template's width come out whole.
#include "TextWidth.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Column {
    Column()
    {
        parent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 600, 300, nullptr, nullptr, nullptr, nullptr);
        font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Tahoma");
    }
    ~Column()
    {
        DestroyWindow(parent);
        DeleteObject(font);
    }
    HWND add(const wchar_t* className, const wchar_t* text, DWORD style, int width, int height)
    {
        HWND control = CreateWindowExW(0, className, text, WS_CHILD | WS_VISIBLE | style, 10, 10, width, height,
                                       parent, nullptr, nullptr, nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        return control;
    }
    HWND parent;
    HFONT font;
};

LONG widthOf(HWND control)
{
    RECT rect = {};
    GetWindowRect(control, &rect);
    return rect.right - rect.left;
}

// The text's extent in the control's font, measured here on its own.
LONG extentOf(HWND control, const std::wstring& text)
{
    HDC hdc = GetDC(control);
    HGDIOBJ old = SelectObject(hdc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    SIZE size = {};
    GetTextExtentPoint32W(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(hdc, old);
    ReleaseDC(control, hdc);
    return size.cx;
}

} // namespace

TEST(TextWidth, AColumnTakesTheWidthItsLongestTextNeedsAndNeverShrinks)
{
    Column c;
    ASSERT_NE(nullptr, c.parent);
    HWND label = c.add(L"Static", L"Kamerarichtung", SS_LEFT, 40, 14);
    HWND button = c.add(L"Button", L"&Eigenschaften der Kamera...", BS_PUSHBUTTON, 60, 24);
    HWND list = c.add(L"ComboBox", L"", CBS_DROPDOWNLIST | WS_VSCROLL, 60, 120);
    const std::wstring entry = L"Eingefrorenes Standbild der Kamera";
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"Livebild"));
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));

    RECT droppedBefore = {};
    SendMessageW(list, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&droppedBefore));
    widenColumnToTexts({label, button, list});
    const LONG width = widthOf(button);
    EXPECT_EQ(width, widthOf(label));
    EXPECT_EQ(width, widthOf(list));
    EXPECT_GT(width, extentOf(label, L"Kamerarichtung"));
    EXPECT_GT(width, extentOf(button, L"Eigenschaften der Kamera...") + 2 * GetSystemMetrics(SM_CXEDGE));
    EXPECT_GT(width, extentOf(list, entry) + GetSystemMetrics(SM_CXVSCROLL));
    // The list keeps the height of its open list.
    RECT dropped = {};
    SendMessageW(list, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
    EXPECT_EQ(droppedBefore.bottom - droppedBefore.top, dropped.bottom - dropped.top);

    // Short texts leave a wide column as it is.
    SetWindowTextW(button, L"OK");
    SetWindowPos(label, nullptr, 0, 0, 400, 14, SWP_NOMOVE | SWP_NOZORDER);
    widenColumnToTexts({label, button});
    EXPECT_EQ(400, widthOf(label));
    EXPECT_EQ(400, widthOf(button));
}
