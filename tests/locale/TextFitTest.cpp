// Every text fits its control and no two controls overlap, in every window template of the locale
// library: in English, in German, and in a pseudo-language made here (each English text 40 % longer,
// with accented letters, in the German templates), so that the next language finds room too.
// Texts are measured with the control's own font, as the control draws them; texts the programs put
// into a control at run time (page titles, the chooser's message) are tried in it as well.
#include "DialogTemplate.h"
#include "TestPaths.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

using kivotest::DialogTemplate;

enum class Language { English, German, Pseudo };

const char* nameOf(Language language)
{
    return language == Language::English ? "English" : language == Language::German ? "German" : "pseudo";
}

// The English text 40 % longer, vowels accented, prefixes and line breaks kept.
std::wstring pseudo(const std::wstring& english)
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

// Texts a program sets into a control of a template at run time, by string id.
struct RuntimeText {
    WORD dialog;
    int control;
    std::vector<UINT> strings;
};

const RuntimeText kRuntimeTexts[] = {
    {IDD_PICTURE_PAGE, IDC_PICTURE_TITLE, {IDS_PICTURE_TITLE_FRONT, IDS_PICTURE_TITLE_REAR}},
    {IDD_CAMERA_SETTINGS_PAGE, IDC_CAMERA_SETTINGS_TITLE, {IDS_CAMERA_SETTINGS_FRONT, IDS_CAMERA_SETTINGS_REAR}},
    {IDD_FRAME_SELECT, IDC_FRAME_MESSAGE, {IDS_NO_FRAME}},
};

class TextFitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        m_hLocale = LoadLibraryW(kivotest::stageFile(L"KivoLocale.dll").c_str());
        ASSERT_NE(nullptr, m_hLocale);
        m_hParent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(nullptr, m_hParent);
    }
    void TearDown() override
    {
        if (m_hParent)
            DestroyWindow(m_hParent);
        if (m_hLocale)
            FreeLibrary(m_hLocale);
    }

    std::wstring stringIn(UINT id, LANGID language) const;
    std::vector<std::wstring> listEntries(WORD dialog, int control, LANGID language) const;
    HWND createDialog(WORD id, Language language) const;
    void fillInLanguage(HWND hDlg, WORD id, Language language) const;
    std::string misfits(HWND hDlg) const;

    HMODULE m_hLocale = nullptr;
    HWND m_hParent = nullptr;
};

// One string of the library in exactly that language.
std::wstring TextFitTest::stringIn(UINT id, LANGID language) const
{
    DWORD size = 0;
    const auto* p = static_cast<const WORD*>(kivotest::findResourceIn(
        m_hLocale, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language, &size));
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

// A combo box's entries from its template's list data (plain letters, so a byte is a character).
std::vector<std::wstring> TextFitTest::listEntries(WORD dialog, int control, LANGID language) const
{
    std::vector<std::wstring> entries;
    DWORD size = 0;
    const BYTE* p = static_cast<const BYTE*>(
        kivotest::findResourceIn(m_hLocale, MAKEINTRESOURCEW(240), MAKEINTRESOURCEW(dialog), language, &size));
    const BYTE* end = p + size;
    while (p && p + 8 <= end) {
        WORD id, message;
        DWORD length;
        memcpy(&id, p, 2);
        memcpy(&message, p + 2, 2);
        memcpy(&length, p + 4, 4);
        if (id == 0 || length > size_t(end - p - 8))
            break;
        if (id == control)
            entries.emplace_back(p + 8, p + 8 + strnlen(reinterpret_cast<const char*>(p + 8), length));
        p += 8 + length;
    }
    return entries;
}

INT_PTR CALLBACK acceptDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The German template serves the pseudo-language, as the widest layout the library has.
HWND TextFitTest::createDialog(WORD id, Language language) const
{
    DWORD size = 0;
    LANGID templateLanguage = language == Language::English ? kivotest::kEnglish : kivotest::kGerman;
    const void* data = kivotest::findResourceIn(m_hLocale, RT_DIALOG, MAKEINTRESOURCEW(id), templateLanguage, &size);
    if (!data)
        return nullptr;
    DialogTemplate dialog;
    kivotest::readDialogTemplate(m_hLocale, id, templateLanguage, dialog);
    return CreateDialogIndirectParamW(m_hLocale, static_cast<const DLGTEMPLATE*>(data),
                                      (dialog.style & WS_CHILD) ? m_hParent : nullptr, acceptDialog, 0);
}

// The list entries, and for the pseudo-language every text, as the language has them.
void TextFitTest::fillInLanguage(HWND hDlg, WORD id, Language language) const
{
    const LANGID texts = language == Language::German ? kivotest::kGerman : kivotest::kEnglish;
    auto inLanguage = [language](const std::wstring& text) {
        return language == Language::Pseudo ? pseudo(text) : text;
    };
    if (language == Language::Pseudo) {
        DialogTemplate english;
        ASSERT_TRUE(kivotest::readDialogTemplate(m_hLocale, id, kivotest::kEnglish, english));
        HWND hCtl = GetWindow(hDlg, GW_CHILD);
        for (const kivotest::TemplateControl& c : english.controls) {
            ASSERT_NE(nullptr, hCtl);
            // An owner-drawn button's caption names its images: not a text.
            bool ownerDrawn = c.className == L"Button" && (c.style & BS_TYPEMASK) == BS_OWNERDRAW;
            if (!c.text.empty() && !ownerDrawn)
                SetWindowTextW(hCtl, inLanguage(c.text).c_str());
            hCtl = GetWindow(hCtl, GW_HWNDNEXT);
        }
    }
    for (HWND hCtl = GetWindow(hDlg, GW_CHILD); hCtl; hCtl = GetWindow(hCtl, GW_HWNDNEXT)) {
        wchar_t className[32] = L"";
        GetClassNameW(hCtl, className, ARRAYSIZE(className));
        if (_wcsicmp(className, L"ComboBox") != 0)
            continue;
        for (const std::wstring& entry : listEntries(id, GetDlgCtrlID(hCtl), texts))
            SendMessageW(hCtl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(inLanguage(entry).c_str()));
    }
}

std::string utf8(const std::wstring& text)
{
    std::string out(text.size() * 3 + 1, '\0');
    out.resize(WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0],
                                   static_cast<int>(out.size()), nullptr, nullptr));
    return out;
}

std::wstring textOf(HWND hWnd)
{
    int length = GetWindowTextLengthW(hWnd);
    std::wstring text(length + 1, L'\0');
    text.resize(GetWindowTextW(hWnd, &text[0], length + 1));
    return text;
}

// The size a text takes in a control's font: one line, or broken into lines of at most width.
SIZE textSize(HWND hCtl, const std::wstring& text, UINT format, int width)
{
    HDC hdc = GetDC(hCtl);
    HGDIOBJ old = SelectObject(hdc, reinterpret_cast<HFONT>(SendMessageW(hCtl, WM_GETFONT, 0, 0)));
    RECT rect = {0, 0, width, 0};
    DrawTextW(hdc, text.c_str(), -1, &rect, format | DT_CALCRECT | DT_EXPANDTABS);
    SelectObject(hdc, old);
    ReleaseDC(hCtl, hdc);
    return {rect.right, rect.bottom};
}

// What the control needs around its text: a push button's edges, a check box's box, a list's arrow.
std::string controlMisfit(HWND hCtl)
{
    wchar_t className[32] = L"";
    GetClassNameW(hCtl, className, ARRAYSIZE(className));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hCtl, GWL_STYLE));
    RECT client = {};
    GetClientRect(hCtl, &client);
    const int width = client.right, height = client.bottom;
    std::vector<std::wstring> texts;
    int reserved = 0;
    UINT format = DT_SINGLELINE;
    if (_wcsicmp(className, L"Static") == 0) {
        DWORD kind = style & SS_TYPEMASK;
        if (kind != SS_LEFT && kind != SS_CENTER && kind != SS_RIGHT && kind != SS_LEFTNOWORDWRAP)
            return "";
        if (kind != SS_LEFTNOWORDWRAP && !(style & SS_CENTERIMAGE))
            format = DT_WORDBREAK;
        if (style & SS_NOPREFIX)
            format |= DT_NOPREFIX;
        texts.push_back(textOf(hCtl));
    } else if (_wcsicmp(className, L"Button") == 0) {
        DWORD kind = style & BS_TYPEMASK;
        if (kind == BS_OWNERDRAW)
            return "";
        if (kind == BS_CHECKBOX || kind == BS_AUTOCHECKBOX || kind == BS_RADIOBUTTON || kind == BS_AUTORADIOBUTTON)
            reserved = GetSystemMetrics(SM_CXMENUCHECK) + 4;
        else if (kind == BS_GROUPBOX)
            reserved = 16;
        else
            reserved = 2 * (GetSystemMetrics(SM_CXEDGE) + 3);
        texts.push_back(textOf(hCtl));
    } else if (_wcsicmp(className, L"ComboBox") == 0) {
        reserved = GetSystemMetrics(SM_CXVSCROLL) + 2 * GetSystemMetrics(SM_CXEDGE) + 4;
        LRESULT count = SendMessageW(hCtl, CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring entry(SendMessageW(hCtl, CB_GETLBTEXTLEN, i, 0) + 1, L'\0');
            entry.resize(SendMessageW(hCtl, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(&entry[0])));
            texts.push_back(entry);
        }
    }
    std::ostringstream out;
    for (const std::wstring& text : texts) {
        if (text.empty())
            continue;
        SIZE size = textSize(hCtl, text, format, width - reserved);
        if (size.cx + reserved > width || size.cy > height)
            out << " control " << GetDlgCtrlID(hCtl) << " needs " << size.cx + reserved << "x" << size.cy
                << " in " << width << "x" << height << " for \"" << utf8(text) << "\";";
    }
    return out.str();
}

// A control that only frames or backs others: a group box, or one without a text of its own.
bool isContainer(HWND hCtl)
{
    wchar_t className[32] = L"";
    GetClassNameW(hCtl, className, ARRAYSIZE(className));
    DWORD style = static_cast<DWORD>(GetWindowLongW(hCtl, GWL_STYLE));
    if (_wcsicmp(className, L"Button") == 0)
        return (style & BS_TYPEMASK) == BS_GROUPBOX;
    return _wcsicmp(className, L"Static") == 0 && GetWindowTextLengthW(hCtl) == 0;
}

// Visible once the window is shown: the dialog itself is not, so IsWindowVisible would say no.
bool isShown(HWND hCtl)
{
    return (GetWindowLongW(hCtl, GWL_STYLE) & WS_VISIBLE) != 0;
}

std::string overlaps(HWND hDlg)
{
    std::vector<HWND> controls;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (isShown(h))
            controls.push_back(h);
    std::ostringstream out;
    for (size_t i = 0; i < controls.size(); ++i) {
        for (size_t j = i + 1; j < controls.size(); ++j) {
            RECT a, b, both;
            GetWindowRect(controls[i], &a);
            GetWindowRect(controls[j], &b);
            if (!IntersectRect(&both, &a, &b))
                continue;
            RECT joined;
            UnionRect(&joined, &a, &b);
            bool aHoldsB = EqualRect(&joined, &a) && isContainer(controls[i]);
            bool bHoldsA = EqualRect(&joined, &b) && isContainer(controls[j]);
            if (!aHoldsB && !bHoldsA)
                out << " controls " << GetDlgCtrlID(controls[i]) << " and " << GetDlgCtrlID(controls[j]) << " overlap;";
        }
    }
    return out.str();
}

std::string TextFitTest::misfits(HWND hDlg) const
{
    std::string found;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
        if (isShown(h))
            found += controlMisfit(h);
    return found + overlaps(hDlg);
}

TEST_F(TextFitTest, EveryTextFitsItsControlAndNoControlsOverlapInEveryLanguage)
{
    const WORD templates[] = {IDD_SETTINGS_PANEL, IDD_FRAME_SELECT, IDD_PICTURE_PAGE, IDD_CAMERA_SETTINGS_PAGE,
                              IDD_ALERT_OVER_RESOLUTION, IDD_ALERT_EFFECT_DISABLE, IDD_ABOUTBOX};
    for (Language language : {Language::English, Language::German, Language::Pseudo}) {
        SCOPED_TRACE(nameOf(language));
        const LANGID texts = language == Language::German ? kivotest::kGerman : kivotest::kEnglish;
        for (WORD id : templates) {
            SCOPED_TRACE(id);
            HWND hDlg = createDialog(id, language);
            ASSERT_NE(nullptr, hDlg) << "error " << GetLastError();
            fillInLanguage(hDlg, id, language);
            EXPECT_EQ("", misfits(hDlg));
            for (const RuntimeText& runtime : kRuntimeTexts) {
                if (runtime.dialog != id)
                    continue;
                for (UINT string : runtime.strings) {
                    std::wstring text = stringIn(string, texts);
                    ASSERT_FALSE(text.empty()) << "string " << string;
                    if (language == Language::Pseudo)
                        text = pseudo(text);
                    HWND hCtl = GetDlgItem(hDlg, runtime.control);
                    SetWindowTextW(hCtl, text.c_str());
                    EXPECT_EQ("", controlMisfit(hCtl)) << "string " << string;
                }
            }
            DestroyWindow(hDlg);
        }
    }
}

} // namespace
