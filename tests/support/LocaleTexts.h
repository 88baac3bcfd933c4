// The locale library's resources in one exact language, and a pseudo-language for trying layouts:
// the tests of languages and of fitting texts read them the same way.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kivotest {

const LANGID kEnglish = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const LANGID kGerman = MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN);

// The resource's bytes in exactly that language, or null and 0.
const void* findResourceIn(HMODULE hModule, LPCWSTR type, LPCWSTR name, LANGID language, DWORD* size);

// A dialog made from the template in exactly that language (a page as a child of parent), its
// controls as the template has them; null when the language has no such template. The caller
// destroys it.
HWND createDialogIn(HMODULE hModule, WORD id, LANGID language, HWND parent);

// The controls of a dialog in their order of creation, which is the template's.
std::vector<HWND> controlsOf(HWND dialog);

// One string in exactly that language; empty when the language has none.
std::wstring stringIn(HMODULE hModule, UINT id, LANGID language);

// While it lives, the resource loader of this thread picks the language's resources, as it does
// for a user whose display language that is. Windows picks by the thread's UI language, Wine by its
// locale: both are set, and restored at the end.
class ThreadLanguage {
public:
    explicit ThreadLanguage(LANGID language);
    ~ThreadLanguage();
    ThreadLanguage(const ThreadLanguage&) = delete;
    ThreadLanguage& operator=(const ThreadLanguage&) = delete;

private:
    LANGID m_savedUi;
    LCID m_savedLocale;
};

// The text 40 % longer, vowels accented, access-key prefixes and line breaks kept: what a language
// with longer words and other letters would need.
std::wstring pseudoText(const std::wstring& english);

} // namespace kivotest
