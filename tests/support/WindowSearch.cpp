#include "WindowSearch.h"

#include "Wait.h"

namespace kivotest {

namespace {

const wchar_t kDialogClass[] = L"#32770";

bool classMatches(HWND hWnd, const wchar_t* pattern)
{
    if (!pattern)
        return true;
    WCHAR name[256] = {};
    GetClassNameW(hWnd, name, ARRAYSIZE(name));
    size_t length = wcslen(pattern);
    if (length > 0 && pattern[length - 1] == L'*')
        return wcsncmp(name, pattern, length - 1) == 0;
    return wcscmp(name, pattern) == 0;
}

struct Search {
    DWORD processId;
    const wchar_t* className;
    const wchar_t* caption;
    bool shownOnly;
    HWND found;
};

BOOL CALLBACK matchWindow(HWND hWnd, LPARAM lParam)
{
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(hWnd, &processId);
    if (search->processId && processId != search->processId)
        return TRUE;
    if (search->shownOnly && !IsWindowVisible(hWnd))
        return TRUE;
    if (!classMatches(hWnd, search->className))
        return TRUE;
    if (search->caption && windowText(hWnd) != search->caption)
        return TRUE;
    search->found = hWnd;
    return FALSE;
}

HWND find(DWORD processId, const wchar_t* className, const wchar_t* caption, bool shownOnly)
{
    Search search = {processId, className, caption, shownOnly, nullptr};
    EnumWindows(matchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace

HWND findTopLevelWindow(DWORD processId, const wchar_t* className, const wchar_t* caption)
{
    return find(processId, className, caption, false);
}

HWND waitForTopLevelWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs)
{
    HWND hWnd = nullptr;
    waitFor([&] { return (hWnd = findTopLevelWindow(processId, className, caption)) != nullptr; }, timeoutMs);
    return hWnd;
}

HWND findDialog(DWORD processId, const std::wstring& caption)
{
    return find(processId, kDialogClass, caption.c_str(), true);
}

HWND waitForDialog(DWORD processId, const std::wstring& caption, DWORD timeoutMs)
{
    HWND hDialog = nullptr;
    waitFor([&] { return (hDialog = findDialog(processId, caption)) != nullptr; }, timeoutMs);
    return hDialog;
}

bool pressDialogButton(HWND hDialog, int buttonId)
{
    HWND hButton = GetDlgItem(hDialog, buttonId);
    if (!hButton || !IsWindowEnabled(hButton))
        return false;
    // Posted, as the button itself would on a click: a dialog that hangs cannot hang the test.
    return PostMessageW(hDialog, WM_COMMAND, MAKEWPARAM(buttonId, BN_CLICKED), reinterpret_cast<LPARAM>(hButton)) != FALSE;
}

bool waitForWindowGone(HWND hWnd, DWORD timeoutMs)
{
    return waitFor([&] { return !IsWindow(hWnd) || !IsWindowVisible(hWnd); }, timeoutMs);
}

std::wstring windowText(HWND hWnd)
{
    // The text the window keeps, read without a message to it: a hung window cannot hang the test.
    WCHAR text[1024];
    int n = InternalGetWindowText(hWnd, text, ARRAYSIZE(text));
    return std::wstring(text, n > 0 ? n : 0);
}

} // namespace kivotest
