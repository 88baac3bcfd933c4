// An extended dialog template (DIALOGEX) of the locale library, in one exact language, read into
// its parts.
#pragma once

#include "LocaleTexts.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kivotest {

struct TemplateControl {
    DWORD style = 0;
    RECT units = {};            // in dialog units: left, top, right, bottom
    DWORD id = 0;
    std::wstring className;     // predefined classes by their name ("Button", "Static"...)
    std::wstring text;          // empty for a resource ordinal
};

struct DialogTemplate {
    DWORD style = 0;
    std::wstring caption;
    std::vector<TemplateControl> controls;
};

// False when the template is missing in that language, is not an extended one or is cut short.
bool readDialogTemplate(HMODULE hModule, WORD id, LANGID language, DialogTemplate& dialog);

} // namespace kivotest
