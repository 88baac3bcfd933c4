// Loads the HTML Help control on first use, preferably from the location registered for its class,
// and calls its HtmlHelpW. One failure to load it stops every later attempt in this process.
#pragma once

#include <windows.h>

namespace HtmlHelpLoader {

// Same arguments and result as the control's own HtmlHelpW; null when the control is unavailable.
HWND HtmlHelpW(HWND hwndCaller, LPCWSTR pszFile, UINT uCommand, DWORD_PTR dwData);

} // namespace HtmlHelpLoader
