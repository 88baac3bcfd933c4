// The settings program's window icon (icon 128 of the locale library), loaded for one dialog and
// destroyed with it: dialogs that come back all day must not leave an icon behind each time.
#pragma once

#include <windows.h>

class DialogIcon {
public:
    // Loads the icon at its own size from the module's current resource handle; null when absent.
    DialogIcon();
    ~DialogIcon();
    DialogIcon(const DialogIcon&) = delete;
    DialogIcon& operator=(const DialogIcon&) = delete;

    HICON handle() const { return m_hIcon; }
    // Sets it as the window's big and small icon.
    void setOn(HWND hWnd) const;

private:
    HICON m_hIcon;
};
