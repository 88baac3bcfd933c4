// An extended dialog template (DIALOGEX) read into its parts, and the language ids of the library.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kivotest {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);

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

// The resource's bytes in exactly that language, or null and 0.
const void* findResourceIn(HMODULE hModule, LPCWSTR type, LPCWSTR name, LANGID language, DWORD* size);

// False when the template is missing in that language, is not an extended one or is cut short.
bool readDialogTemplate(HMODULE hModule, WORD id, LANGID language, DialogTemplate& dialog);

} // namespace kivotest
