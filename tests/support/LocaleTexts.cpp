#include "LocaleTexts.h"

namespace kivotest {

const void* findResourceIn(HMODULE hModule, LPCWSTR type, LPCWSTR name, LANGID language, DWORD* size)
{
    *size = 0;
    HRSRC hRes = FindResourceExW(hModule, type, name, language);
    if (!hRes)
        return nullptr;
    *size = SizeofResource(hModule, hRes);
    return LockResource(LoadResource(hModule, hRes));
}

namespace {

INT_PTR CALLBACK acceptDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

} // namespace

HWND createDialogIn(HMODULE hModule, WORD id, LANGID language, HWND parent)
{
    DWORD size = 0;
    const auto* dialog = static_cast<const DLGTEMPLATE*>(
        findResourceIn(hModule, RT_DIALOG, MAKEINTRESOURCEW(id), language, &size));
    return dialog ? CreateDialogIndirectParamW(hModule, dialog, parent, acceptDialog, 0) : nullptr;
}

std::vector<HWND> controlsOf(HWND dialog)
{
    std::vector<HWND> controls;
    for (HWND h = GetWindow(dialog, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        controls.push_back(h);
    return controls;
}

// A string table block holds sixteen counted strings; string n is in block n / 16 + 1.
std::wstring stringIn(HMODULE hModule, UINT id, LANGID language)
{
    DWORD size = 0;
    const auto* p = static_cast<const WORD*>(findResourceIn(
        hModule, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language, &size));
    const WORD* end = p + size / sizeof(WORD);
    for (UINT i = 0; p && p < end; ++i) {
        WORD length = *p++;
        if (length > end - p)
            break;
        if (i == id % 16)
            return std::wstring(reinterpret_cast<const wchar_t*>(p), length);
        p += length;
    }
    return L"";
}

ThreadLanguage::ThreadLanguage(LANGID language)
    : m_savedUi(GetThreadUILanguage()), m_savedLocale(GetThreadLocale())
{
    SetThreadUILanguage(language);
    SetThreadLocale(MAKELCID(language, SORT_DEFAULT));
}

ThreadLanguage::~ThreadLanguage()
{
    SetThreadUILanguage(m_savedUi);
    SetThreadLocale(m_savedLocale);
}

std::wstring pseudoText(const std::wstring& english)
{
    static const std::wstring plain = L"aeiouAEIOUcnsyz";
    static const std::wstring accented = L"áéíöüÅÉÎÖÜçñšýž";
    static const std::wstring filler = L" ŵíţĥ ĺöñğéŕ ŧéķšţ ĥéŕé éñöüğĥ ŕöööɱ";
    std::wstring text;
    for (wchar_t c : english) {
        size_t i = plain.find(c);
        text += i == std::wstring::npos ? c : accented[i];
    }
    size_t extra = (english.size() * 4 + 9) / 10;
    for (size_t i = 0; i < extra; ++i)
        text += filler[i % filler.size()];
    return text;
}

} // namespace kivotest
