// Every text fits its control and no two controls overlap, in every window template of the locale
// library: in English, in German, and in a pseudo-language (each English text 40 % longer, with
// accented letters, in the German templates), so that the next language finds room too.
// Texts are measured with the control's own font, as the control draws them; texts the programs put
// into a control at run time (page titles, the chooser's message) are tried in it as well.
#include "LocaleTexts.h"
#include "TestPaths.h"
#include "TextFit.h"
#include "WindowSearch.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

enum class Language { English, German, Pseudo };

const char* nameOf(Language language)
{
    return language == Language::English ? "English" : language == Language::German ? "German" : "pseudo";
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

    std::vector<std::wstring> listEntries(WORD dialog, int control, LANGID language) const;
    HWND createDialog(WORD id, Language language) const;
    void fillInLanguage(HWND hDlg, WORD id, Language language) const;

    HMODULE m_hLocale = nullptr;
    HWND m_hParent = nullptr;
};

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

// An owner-drawn button's caption names its images: not a text.
bool isOwnerDrawnButton(HWND control)
{
    wchar_t className[32] = L"";
    GetClassNameW(control, className, ARRAYSIZE(className));
    return _wcsicmp(className, L"Button") == 0 && (GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK) == BS_OWNERDRAW;
}

// The German template serves the pseudo-language, as the widest layout the library has.
HWND TextFitTest::createDialog(WORD id, Language language) const
{
    LANGID templateLanguage = language == Language::English ? kivotest::kEnglish : kivotest::kGerman;
    return kivotest::createDialogIn(m_hLocale, id, templateLanguage, m_hParent);
}

// The list entries, and for the pseudo-language every text, as the language has them.
void TextFitTest::fillInLanguage(HWND hDlg, WORD id, Language language) const
{
    const LANGID texts = language == Language::German ? kivotest::kGerman : kivotest::kEnglish;
    auto inLanguage = [language](const std::wstring& text) {
        return language == Language::Pseudo ? kivotest::pseudoText(text) : text;
    };
    if (language == Language::Pseudo) {
        HWND hEnglish = kivotest::createDialogIn(m_hLocale, id, kivotest::kEnglish, m_hParent);
        ASSERT_NE(nullptr, hEnglish);
        std::vector<HWND> english = kivotest::controlsOf(hEnglish), controls = kivotest::controlsOf(hDlg);
        ASSERT_EQ(english.size(), controls.size());
        for (size_t i = 0; i < english.size(); ++i) {
            std::wstring text = kivotest::windowText(english[i]);
            if (!text.empty() && !isOwnerDrawnButton(english[i]))
                SetWindowTextW(controls[i], inLanguage(text).c_str());
        }
        DestroyWindow(hEnglish);
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
            EXPECT_EQ("", kivotest::misfitsIn(hDlg));
            for (const RuntimeText& runtime : kRuntimeTexts) {
                if (runtime.dialog != id)
                    continue;
                for (UINT string : runtime.strings) {
                    std::wstring text = kivotest::stringIn(m_hLocale, string, texts);
                    ASSERT_FALSE(text.empty()) << "string " << string;
                    if (language == Language::Pseudo)
                        text = kivotest::pseudoText(text);
                    HWND hCtl = GetDlgItem(hDlg, runtime.control);
                    SetWindowTextW(hCtl, text.c_str());
                    EXPECT_EQ("", kivotest::textMisfit(hCtl)) << "string " << string;
                }
            }
            DestroyWindow(hDlg);
        }
    }
}

} // namespace
