#include "DialogIcon.h"

#include "resource.h"

#include <afxwin.h>

DialogIcon::DialogIcon()
    : m_hIcon(static_cast<HICON>(
          LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(IDI_KIVOSET), IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR)))
{
}

DialogIcon::~DialogIcon()
{
    if (m_hIcon)
        DestroyIcon(m_hIcon);
}

void DialogIcon::setOn(HWND hWnd) const
{
    SendMessageW(hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    SendMessageW(hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(m_hIcon));
}
