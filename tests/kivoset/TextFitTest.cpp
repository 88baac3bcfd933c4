// Every text fits its control and no two controls overlap: first in every window template of the
// locale library, then in the settings program's own windows as its code lays them out (the panel
// in each of its states, both pages of the property sheet for either direction, the chooser, both
// alerts, the About box and the message box). In English, in German, and in a pseudo-language (each
// English text 40 % longer, with accented letters, in the German templates), so that the next
// language finds room too. Texts are measured with the control's own font, as the control draws
// them; texts the programs put into a control at run time are measured where they are put.
#include "CameraPropertySheet.h"
#include "DialogTestSupport.h"
#include "FrameList.h"
#include "FrameSelectDlg.h"
#include "KivoSetDlg.h"
#include "KivoSetMessages.h"

#include "DialogDriver.h"
#include "LocaleTexts.h"
#include "PseudoLocale.h"
#include "TestPaths.h"
#include "TextFit.h"
#include "WindowSearch.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>
#include <prsht.h>

#include <functional>
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

// The chooser's arrows are bitmap buttons: their captions name their images.
const std::vector<int> kImageButtons = {IDC_FRAME_PREV, IDC_FRAME_NEXT};

const RuntimeText kRuntimeTexts[] = {
    {IDD_PICTURE_PAGE, IDC_PICTURE_TITLE, {IDS_PICTURE_TITLE_FRONT, IDS_PICTURE_TITLE_REAR}},
    {IDD_CAMERA_SETTINGS_PAGE, IDC_CAMERA_SETTINGS_TITLE, {IDS_CAMERA_SETTINGS_FRONT, IDS_CAMERA_SETTINGS_REAR}},
    {IDD_FRAME_SELECT, IDC_FRAME_MESSAGE, {IDS_NO_FRAME}},
};

// The locale library in one language: the real one with the language's id, or its pseudo copy.
struct Texts {
    HMODULE module;
    LANGID language;
};

class TextFitTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&icc);
        m_hLocale = LoadLibraryW(kivotest::stageFile(L"KivoLocale.dll").c_str());
        ASSERT_NE(nullptr, m_hLocale);
        ASSERT_NE(nullptr, m_pseudo.module()) << m_pseudo.error();
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

    Texts textsOf(Language language) const
    {
        return language == Language::Pseudo ? Texts{m_pseudo.module(), kivotest::kEnglish}
                                            : Texts{m_hLocale, language == Language::German ? kivotest::kGerman
                                                                                            : kivotest::kEnglish};
    }
    void fillLists(HWND hDlg, WORD id, Texts texts) const;

    HMODULE m_hLocale = nullptr;
    kivotest::PseudoLocale m_pseudo{kivotest::stageFile(L"KivoLocale.dll")};
    HWND m_hParent = nullptr;
};

// A combo box's entries from its template's list data (a byte of the code page is a character).
std::vector<std::wstring> listEntries(Texts texts, WORD dialog, int control)
{
    std::vector<std::wstring> entries;
    DWORD size = 0;
    const BYTE* p = static_cast<const BYTE*>(
        kivotest::findResourceIn(texts.module, MAKEINTRESOURCEW(240), MAKEINTRESOURCEW(dialog), texts.language, &size));
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

// The list entries as the framework adds them when it makes the dialog.
void TextFitTest::fillLists(HWND hDlg, WORD id, Texts texts) const
{
    for (HWND hCtl = GetWindow(hDlg, GW_CHILD); hCtl; hCtl = GetWindow(hCtl, GW_HWNDNEXT)) {
        wchar_t className[32] = L"";
        GetClassNameW(hCtl, className, ARRAYSIZE(className));
        if (_wcsicmp(className, L"ComboBox") != 0)
            continue;
        for (const std::wstring& entry : listEntries(texts, id, GetDlgCtrlID(hCtl)))
            SendMessageW(hCtl, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

TEST_F(TextFitTest, EveryTextFitsItsControlAndNoControlsOverlapInEveryLanguage)
{
    const WORD templates[] = {IDD_SETTINGS_PANEL, IDD_FRAME_SELECT, IDD_PICTURE_PAGE, IDD_CAMERA_SETTINGS_PAGE,
                              IDD_ALERT_OVER_RESOLUTION, IDD_ALERT_EFFECT_DISABLE, IDD_ABOUTBOX};
    for (Language language : {Language::English, Language::German, Language::Pseudo}) {
        SCOPED_TRACE(nameOf(language));
        const Texts texts = textsOf(language);
        for (WORD id : templates) {
            SCOPED_TRACE(id);
            HWND hDlg = kivotest::createDialogIn(texts.module, id, texts.language, m_hParent);
            ASSERT_NE(nullptr, hDlg) << "error " << GetLastError();
            fillLists(hDlg, id, texts);
            EXPECT_EQ("", kivotest::misfitsIn(hDlg, kImageButtons));
            for (const RuntimeText& runtime : kRuntimeTexts) {
                if (runtime.dialog != id)
                    continue;
                for (UINT string : runtime.strings) {
                    std::wstring text = kivotest::stringIn(texts.module, string, texts.language);
                    ASSERT_FALSE(text.empty()) << "string " << string;
                    HWND hCtl = GetDlgItem(hDlg, runtime.control);
                    SetWindowTextW(hCtl, text.c_str());
                    EXPECT_EQ("", kivotest::textMisfit(hCtl)) << "string " << string;
                }
            }
            DestroyWindow(hDlg);
        }
    }
}

// --- the program's own windows ---

class ProgramWindowsFit : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(locale.loaded());
        ASSERT_TRUE(camera.ready());
        loadFrameList();
    }

    void expectEveryWindowFits();
    void expectPanelFits();
    // Starts a modal window with start; once it shows, measures it and runs more on it (which
    // returns what it found misfit), then ends it with button.
    void expectModalFits(const char* name, const std::wstring& caption, const std::function<void()>& start,
                         const std::function<std::string(HWND)>& more = {}, int button = IDCANCEL);
    static std::wstring loaded(UINT id);

    dialogtest::IsolatedCurrentUser user;
    dialogtest::LocaleResources locale;
    dialogtest::TestCamera camera;
};

const UINT kAboutEntry = 0x0010;   // the About entry of the panel's system menu

INT_PTR CALLBACK acceptDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The caption of the template as the resource loader picks it for this thread.
std::wstring templateCaption(WORD id)
{
    HWND hDlg = CreateDialogParamW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), nullptr, acceptDialog, 0);
    std::wstring caption = kivotest::windowText(hDlg);
    if (hDlg)
        DestroyWindow(hDlg);
    return caption;
}

std::wstring ProgramWindowsFit::loaded(UINT id)
{
    CString text;
    text.LoadString(id);
    return static_cast<LPCWSTR>(text);
}

void ProgramWindowsFit::expectModalFits(const char* name, const std::wstring& caption,
                                        const std::function<void()>& start,
                                        const std::function<std::string(HWND)>& more, int button)
{
    SCOPED_TRACE(name);
    std::string misfits = "not shown";
    kivotest::DialogDriver driver(caption, [&](HWND window) {
        misfits = kivotest::misfitsIn(window, kImageButtons);
        if (more)
            misfits += more(window);
        kivotest::pressDialogButton(window, button);
    });
    start();
    EXPECT_TRUE(driver.found());
    EXPECT_FALSE(driver.closedByDeadline());
    EXPECT_EQ("", misfits);
}

// The panel as its code lays it out, in each state that changes what it shows, and the windows it
// opens itself: both alerts, the effect failure's message box and the About box.
void ProgramWindowsFit::expectPanelFits()
{
    auto* panel = new CKivoSetDlg(nullptr);
    ASSERT_TRUE(panel->Create(IDD_SETTINGS_PANEL, nullptr));
    const HWND hPanel = panel->GetSafeHwnd();
    // No camera opens here: the panel must not close itself for want of one meanwhile.
    KillTimer(hPanel, CKivoSetDlg::kOpenTimerId);
    const std::wstring product = loaded(IDS_PRODUCT_NAME);
    EXPECT_EQ("", kivotest::misfitsIn(hPanel)) << "at start";
    expectModalFits("effects-off alert", product, [&] { SendMessageW(hPanel, WM_EFFECT_DISABLE, 0, 0); }, {}, IDOK);
    EXPECT_EQ("", kivotest::misfitsIn(hPanel)) << "effects off";
    SendMessageW(hPanel, WM_EFFECT_ENABLE, 0, 0);
    HWND hMode = GetDlgItem(hPanel, IDC_MODE_LIST);
    SendMessageW(hMode, CB_SETCURSEL, 2, 0);
    SendMessageW(hPanel, WM_COMMAND, MAKEWPARAM(IDC_MODE_LIST, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hMode));
    EXPECT_EQ("", kivotest::misfitsIn(hPanel)) << "a still picture";
    SendMessageW(GetDlgItem(hPanel, IDC_DIRECTION_REAR), BM_CLICK, 0, 0);
    EXPECT_EQ("", kivotest::misfitsIn(hPanel)) << "facing rear";
    expectModalFits("effect failure", product, [&] { SendMessageW(hPanel, WM_EFFECT_FAILED, 0, 0); }, {}, IDOK);
    expectModalFits("over-resolution alert", product,
                    [&] { SendMessageW(hPanel, WM_ALERT_OVER_RESOLUTION, 0, 0); }, {}, IDOK);
    expectModalFits("About box", templateCaption(IDD_ABOUTBOX),
                    [&] { SendMessageW(hPanel, WM_SYSCOMMAND, kAboutEntry, 0); }, {}, IDOK);
    DestroyWindow(hPanel);
}

void ProgramWindowsFit::expectEveryWindowFits()
{
    expectPanelFits();
    for (int direction : {0, 1}) {
        expectModalFits(direction ? "sheet, facing rear" : "sheet, facing front", loaded(IDS_PROPERTY_SHEET_CAPTION),
                        [&] { runCameraPropertySheet(camera.settings, direction); },
                        [](HWND sheet) {
                            std::string found = kivotest::misfitsIn(PropSheet_GetCurrentPageHwnd(sheet));
                            SendMessageW(sheet, PSM_SETCURSEL, 1, 0);
                            return found + kivotest::misfitsIn(PropSheet_GetCurrentPageHwnd(sheet));
                        });
    }
    // At "no frame", with its message over the preview, then at the first frame.
    expectModalFits("chooser", loaded(IDS_PRODUCT_NAME), [] { CFrameSelectDlg().DoModal(); }, [](HWND chooser) {
        SendMessageW(GetDlgItem(chooser, IDC_FRAME_NEXT), BM_CLICK, 0, 0);
        return kivotest::misfitsIn(chooser, kImageButtons);
    });
}

TEST_F(ProgramWindowsFit, EveryWindowOfTheSettingsProgramFitsInEveryLanguage)
{
    for (LANGID language : {kivotest::kEnglish, kivotest::kGerman}) {
        SCOPED_TRACE(language);
        kivotest::ThreadLanguage userLanguage(language);
        expectEveryWindowFits();
    }
    // The panel places and sizes its controls itself: it keeps its narrower English template, so that
    // its layout has to make room for the longer texts.
    SCOPED_TRACE("pseudo");
    kivotest::PseudoLocale pseudo(kivotest::stageFile(L"KivoLocale.dll"), {IDD_SETTINGS_PANEL});
    ASSERT_NE(nullptr, pseudo.module()) << pseudo.error();
    const HINSTANCE realLocale = AfxGetResourceHandle();
    AfxSetResourceHandle(pseudo.module());
    expectEveryWindowFits();
    AfxSetResourceHandle(realLocale);
}

} // namespace
