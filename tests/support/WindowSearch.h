// Finding the windows of other processes (and of this one) with deadlines, and answering dialogs and
// message boxes as a user would. A class name ending in '*' matches every class that begins with
// the rest ("Afx:*"); a null class or caption matches any; process id 0 means any process.
#pragma once

#include <windows.h>

#include <string>

namespace kivotest {

// A top-level window, shown or hidden, or null.
HWND findTopLevelWindow(DWORD processId, const wchar_t* className, const wchar_t* caption = nullptr);
HWND waitForTopLevelWindow(DWORD processId, const wchar_t* className, const wchar_t* caption, DWORD timeoutMs);

// A shown dialog or message box (class "#32770") of the process with exactly this caption, or null
// once the deadline passed without one: the caller fails the test on null.
HWND findDialog(DWORD processId, const std::wstring& caption);
HWND waitForDialog(DWORD processId, const std::wstring& caption, DWORD timeoutMs);

// Clicks a button of a dialog or message box (IDOK, IDYES, a control id) without waiting on the
// dialog's thread; false when the dialog has no such enabled button.
bool pressDialogButton(HWND hDialog, int buttonId);
// True once the window is gone (destroyed, or hidden when a dialog ended) before the deadline.
bool waitForWindowGone(HWND hWnd, DWORD timeoutMs);

// The window's text (a caption, a control's label), as the window keeps it; a message box's text
// is the text of its control 0xFFFF.
std::wstring windowText(HWND hWnd);

} // namespace kivotest
