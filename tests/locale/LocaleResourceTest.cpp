// KivoLocale.dll: every id the service and the settings program use resolves, with what the
// programs expect of it, in English and in German.
#include "LocaleTexts.h"
#include "TestPaths.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>

#include <set>
#include <string>
#include <vector>

namespace {

// The ids are the programs' contract with the library: they must not move.
static_assert(IDI_KIVOSERVE == 140, "tray icon id");
static_assert(IDS_PRODUCT_NAME == 130 && IDS_TRAY_TITLE == 130, "product name string id");
static_assert(IDS_TRAY_BALLOON == 131, "balloon text string id");
static_assert(IDM_TRAY == 129, "tray menu id");
static_assert(ID_TRAY_OPEN == 32771 && ID_TRAY_AUTOSTARTUP == 32775 && ID_TRAY_HELP == 32776,
              "tray command ids");

class LocaleLibraryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Loaded as the programs load it: a full load, so that its entry point runs too.
        m_hLocale = LoadLibraryW(kivotest::stageFile(L"KivoLocale.dll").c_str());
        ASSERT_NE(nullptr, m_hLocale) << "error " << GetLastError();
    }
    void TearDown() override
    {
        if (m_hLocale)
            FreeLibrary(m_hLocale);
    }
    HMODULE m_hLocale = nullptr;
};

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colorCount, reserved;
    WORD planes, bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconDir {
    WORD reserved, type, count;
    GroupIconEntry entries[1];
};
#pragma pack(pop)

// The 32-bit pixels of an icon's colour image, top-down; empty when the icon has none.
std::vector<DWORD> iconPixels(HICON hIcon, int& width, int& height)
{
    std::vector<DWORD> pixels;
    ICONINFO info = {};
    if (!GetIconInfo(hIcon, &info))
        return pixels;
    BITMAP bm = {};
    if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
        width = bm.bmWidth;
        height = bm.bmHeight;
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        pixels.resize(static_cast<size_t>(width) * height);
        HDC hdc = GetDC(nullptr);
        if (GetDIBits(hdc, info.hbmColor, 0, height, pixels.data(), &bi, DIB_RGB_COLORS) != height)
            pixels.clear();
        ReleaseDC(nullptr, hdc);
    }
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    if (info.hbmMask)
        DeleteObject(info.hbmMask);
    return pixels;
}

TEST_F(LocaleLibraryTest, TrayIconHasEverySizeInFullColourWithAlpha)
{
    HRSRC hGroup = FindResourceW(m_hLocale, MAKEINTRESOURCEW(IDI_KIVOSERVE), RT_GROUP_ICON);
    ASSERT_NE(nullptr, hGroup);
    const auto* dir = static_cast<const GroupIconDir*>(LockResource(LoadResource(m_hLocale, hGroup)));
    ASSERT_NE(nullptr, dir);
    ASSERT_EQ(1, dir->type);
    std::set<int> sizes;
    for (WORD i = 0; i < dir->count; ++i) {
        const GroupIconEntry& e = dir->entries[i];
        EXPECT_EQ(e.width, e.height) << "entry " << i;
        EXPECT_EQ(32, e.bitCount) << "entry " << i << " is not 32-bit";
        EXPECT_NE(nullptr, FindResourceW(m_hLocale, MAKEINTRESOURCEW(e.id), RT_ICON)) << "image " << e.id;
        sizes.insert(e.width);
    }
    EXPECT_EQ((std::set<int>{16, 24, 32, 48}), sizes);

    // The sizes the shell asks for are drawn for that size, not scaled from another.
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        int id = LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(const_cast<GroupIconDir*>(dir)),
                                             TRUE, size, size, LR_DEFAULTCOLOR);
        bool found = false;
        for (WORD i = 0; i < dir->count; ++i)
            found = found || (dir->entries[i].id == id && dir->entries[i].width == size);
        EXPECT_TRUE(found);
    }
}

TEST_F(LocaleLibraryTest, TrayIconLoadsAt16And32WithATransparentOutline)
{
    for (int size : {16, 32}) {
        SCOPED_TRACE(size);
        HICON hIcon = static_cast<HICON>(LoadImageW(m_hLocale, MAKEINTRESOURCEW(IDI_KIVOSERVE),
                                                    IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
        ASSERT_NE(nullptr, hIcon);
        int width = 0, height = 0;
        std::vector<DWORD> pixels = iconPixels(hIcon, width, height);
        DestroyIcon(hIcon);
        ASSERT_EQ(size, width);
        ASSERT_EQ(size, height);
        ASSERT_FALSE(pixels.empty());

        int clear = 0, opaque = 0, partial = 0;
        for (DWORD p : pixels) {
            BYTE alpha = static_cast<BYTE>(p >> 24);
            clear += alpha == 0;
            opaque += alpha == 255;
            partial += alpha != 0 && alpha != 255;
        }
        // A camera fills most of the square; the corners above its body show the taskbar through.
        EXPECT_GT(opaque, size * size / 2);
        EXPECT_GT(clear, 0);
        EXPECT_EQ(0u, pixels.front() >> 24) << "top-left corner";
        EXPECT_EQ(0u, pixels[size - 1] >> 24) << "top-right corner";
        // Smooth edges come from the alpha channel; a lost alpha channel leaves only 0 and 255.
        EXPECT_GT(partial, 0);
    }
    // The service asks for the default size.
    HICON hDefault = static_cast<HICON>(LoadImageW(m_hLocale, MAKEINTRESOURCEW(IDI_KIVOSERVE),
                                                   IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    EXPECT_NE(nullptr, hDefault);
    if (hDefault)
        DestroyIcon(hDefault);
}

// The length of a string resource, without copying it; -1 when it is missing.
int stringLength(HMODULE hModule, UINT id, std::wstring& text)
{
    const wchar_t* p = nullptr;
    int n = LoadStringW(hModule, id, reinterpret_cast<LPWSTR>(&p), 0);
    if (n <= 0 || !p)
        return -1;
    text.assign(p, n);
    return n;
}

TEST_F(LocaleLibraryTest, TrayStringsFitTheNotificationFields)
{
    std::wstring name, balloon;
    // Title and tip: szInfoTitle holds 64 characters with the terminator, szTip 128.
    int nameLength = stringLength(m_hLocale, IDS_PRODUCT_NAME, name);
    EXPECT_GT(nameLength, 0);
    EXPECT_LE(nameLength, 63) << "product name is cut in the balloon title";
    // Balloon text: szInfo holds 256 with the terminator.
    int balloonLength = stringLength(m_hLocale, IDS_TRAY_BALLOON, balloon);
    EXPECT_GT(balloonLength, 0);
    EXPECT_LE(balloonLength, 255) << "balloon text is cut";
    // The texts are what a user reads: no stray whitespace at their ends, no line breaks.
    for (const std::wstring* s : {&name, &balloon}) {
        ASSERT_FALSE(s->empty());
        EXPECT_FALSE(iswspace(s->front()) || iswspace(s->back())) << *s;
        EXPECT_EQ(std::wstring::npos, s->find_first_of(L"\r\n\t")) << *s;
    }
}

struct MenuItem {
    UINT id = 0;
    UINT type = 0;
    UINT state = 0;
    std::wstring text;
};

std::vector<MenuItem> menuItems(HMENU hMenu)
{
    std::vector<MenuItem> items;
    int count = GetMenuItemCount(hMenu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = L"";
        MENUITEMINFOW mii = {};
        mii.cbSize = sizeof mii;
        mii.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
        mii.dwTypeData = text;
        mii.cch = ARRAYSIZE(text);
        if (!GetMenuItemInfoW(hMenu, i, TRUE, &mii))
            continue;
        items.push_back({mii.wID, mii.fType, mii.fState, text});
    }
    return items;
}

TEST_F(LocaleLibraryTest, TrayMenuOffersTheThreeCommandsInItsFirstPopup)
{
    HMENU hMenu = LoadMenuW(m_hLocale, MAKEINTRESOURCEW(IDM_TRAY));
    ASSERT_NE(nullptr, hMenu);
    HMENU hPopup = GetSubMenu(hMenu, 0);
    ASSERT_NE(nullptr, hPopup);

    std::vector<MenuItem> items = menuItems(hPopup);
    std::multiset<UINT> commands;
    std::set<wchar_t> accessKeys;
    for (const MenuItem& item : items) {
        if (item.type & MFT_SEPARATOR)
            continue;
        SCOPED_TRACE(item.text);
        commands.insert(item.id);
        // Every command can be chosen: none starts out greyed, checked or without text.
        EXPECT_EQ(0u, item.state & (MFS_GRAYED | MFS_CHECKED));
        size_t amp = item.text.find(L'&');
        ASSERT_NE(std::wstring::npos, amp) << "no access key";
        ASSERT_LT(amp + 1, item.text.size());
        EXPECT_TRUE(accessKeys.insert(towlower(item.text[amp + 1])).second) << "access key used twice";
    }
    EXPECT_EQ((std::multiset<UINT>{ID_TRAY_OPEN, ID_TRAY_AUTOSTARTUP, ID_TRAY_HELP}), commands);
    // Separators only between commands.
    ASSERT_FALSE(items.empty());
    EXPECT_FALSE(items.front().type & MFT_SEPARATOR);
    EXPECT_FALSE(items.back().type & MFT_SEPARATOR);

    // What the service does before it shows the menu.
    EXPECT_TRUE(SetMenuDefaultItem(hPopup, ID_TRAY_OPEN, FALSE));
    EXPECT_EQ(static_cast<UINT>(ID_TRAY_OPEN), GetMenuDefaultItem(hPopup, FALSE, 0));
    EXPECT_EQ(static_cast<DWORD>(MF_UNCHECKED), CheckMenuItem(hPopup, ID_TRAY_AUTOSTARTUP, MF_CHECKED));
    EXPECT_TRUE(GetMenuState(hPopup, ID_TRAY_AUTOSTARTUP, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(DestroyMenu(hMenu));
}

// --- the settings program ---

// What a program relies on in a control of a template: its window class, the kind its style
// selects (the style masked with kindMask), and whether it starts disabled.
struct ControlContract {
    int id;
    const wchar_t* className;
    DWORD kindMask;
    DWORD kind;
    bool disabled;
};

struct TemplateContract {
    int id;
    bool page;      // a property page: a child window inside the sheet
    std::vector<ControlContract> controls;
};

const DWORD kPush = BS_TYPEMASK, kStatic = SS_TYPEMASK, kCombo = 3, kAny = 0;

std::vector<TemplateContract> settingsTemplates()
{
    std::vector<TemplateContract> t = {
        {IDD_SETTINGS_PANEL, false, {
            {IDC_DIRECTION_LABEL, L"Static", kAny, 0, true},
            {IDC_DIRECTION_FRONT, L"Button", kPush, BS_PUSHBUTTON, true},
            {IDC_DIRECTION_REAR, L"Button", kPush, BS_PUSHBUTTON, true},
            {IDC_PICTURE_LABEL, L"Static", kAny, 0, false},
            {IDC_PROPERTY_DEFAULTS, L"Button", kPush, BS_PUSHBUTTON, false},
            {IDC_PROPERTY_MAXIMUM, L"Button", kPush, BS_PUSHBUTTON, false},
            {IDC_PROPERTY_SHEET, L"Button", kPush, BS_PUSHBUTTON, false},
            {IDC_FRAME_BUTTON, L"Button", kPush, BS_PUSHBUTTON, false},
            {IDC_ZOOM_LIST, L"ComboBox", kCombo, CBS_DROPDOWNLIST, false},
            {IDC_MODE_LIST, L"ComboBox", kCombo, CBS_DROPDOWNLIST, false},
            {IDC_EFFECT_RESET, L"Button", kPush, BS_PUSHBUTTON, false},
            {IDC_FRAME_ICON, L"Static", kStatic, SS_ICON, false},
            {IDC_ZOOM_ICON, L"Static", kStatic, SS_ICON, false},
            {IDC_MODE_ICON, L"Static", kStatic, SS_ICON, false},
            {IDC_EFFECT_PANEL, L"Static", kStatic, SS_LEFT, false},
            {IDC_EFFECT_PANEL_FRAME, L"Static", kStatic, SS_GRAYFRAME, false}}},
        {IDD_FRAME_SELECT, false, {
            {IDOK, L"Button", kAny, 0, false},
            {IDCANCEL, L"Button", kAny, 0, false},
            {IDC_FRAME_APPLY, L"Button", kPush, BS_PUSHBUTTON, false},
            {IDC_FRAME_PREV, L"Button", kPush, BS_OWNERDRAW, false},
            {IDC_FRAME_NEXT, L"Button", kPush, BS_OWNERDRAW, false},
            {IDC_FRAME_MESSAGE, L"Static", kAny, 0, false},
            {IDC_FRAME_PREVIEW, L"Static", kStatic, SS_BITMAP, false},
            {IDC_FRAME_PAGE, L"Static", kAny, 0, false},
            {IDC_FRAME_PREVIEW_BORDER, L"Static", kAny, 0, false}}},
        {IDD_PICTURE_PAGE, true, {
            {IDC_PICTURE_TITLE, L"Static", kAny, 0, false},
            {IDC_PICTURE_DEFAULTS, L"Button", kPush, BS_PUSHBUTTON, false}}},
        {IDD_CAMERA_SETTINGS_PAGE, true, {
            {IDC_CAMERA_SETTINGS_TITLE, L"Static", kAny, 0, false},
            {IDC_CAMERA_SETTINGS_READ, L"Button", kPush, BS_PUSHBUTTON, false},
            {IDC_FLICKER_GROUP, L"Button", kPush, BS_GROUPBOX, true},
            {IDC_FLICKER_OFF, L"Button", kPush, BS_AUTORADIOBUTTON, true},
            {IDC_FLICKER_50HZ, L"Button", kPush, BS_AUTORADIOBUTTON, true},
            {IDC_FLICKER_60HZ, L"Button", kPush, BS_AUTORADIOBUTTON, true},
            {IDC_MIRROR, L"Button", kPush, BS_AUTOCHECKBOX, true},
            {IDC_LOW_LIGHT, L"Button", kPush, BS_AUTOCHECKBOX, true}}},
        {IDD_ALERT_OVER_RESOLUTION, false, {
            {IDOK, L"Button", kAny, 0, false},
            {IDC_OVER_RESOLUTION_TEXT, L"Static", kAny, 0, false},
            {IDC_OVER_RESOLUTION_PICTURE, L"Static", kStatic, SS_BITMAP, false}}},
        {IDD_ALERT_EFFECT_DISABLE, false, {
            {IDOK, L"Button", kAny, 0, false},
            {IDC_EFFECT_DISABLE_TEXT, L"Static", kAny, 0, false},
            {IDC_EFFECT_DISABLE_NO_MORE, L"Button", kPush, BS_AUTOCHECKBOX, false}}},
        {IDD_ABOUTBOX, false, {{IDOK, L"Button", kAny, 0, false}}},
    };
    // The picture page's eight rows, each created disabled: slider, read-only number box, label.
    // The number boxes of white balance and backlight compensation are crossed against the ids.
    const int sliders[] = {IDC_BRIGHTNESS_SLIDER, IDC_CONTRAST_SLIDER, IDC_HUE_SLIDER,
                           IDC_SATURATION_SLIDER, IDC_SHARPNESS_SLIDER, IDC_GAMMA_SLIDER,
                           IDC_WHITE_BALANCE_SLIDER, IDC_BACKLIGHT_SLIDER};
    const int boxes[] = {IDC_BRIGHTNESS_VALUE, IDC_CONTRAST_VALUE, IDC_HUE_VALUE,
                         IDC_SATURATION_VALUE, IDC_SHARPNESS_VALUE, IDC_GAMMA_VALUE,
                         IDC_WHITE_BALANCE_VALUE, IDC_BACKLIGHT_VALUE};
    const int labels[] = {IDC_BRIGHTNESS_LABEL, IDC_CONTRAST_LABEL, IDC_HUE_LABEL,
                          IDC_SATURATION_LABEL, IDC_SHARPNESS_LABEL, IDC_GAMMA_LABEL,
                          IDC_WHITE_BALANCE_LABEL, IDC_BACKLIGHT_LABEL};
    for (int row = 0; row < 8; ++row) {
        t[2].controls.push_back({sliders[row], TRACKBAR_CLASSW, TBS_VERT | TBS_NOTICKS, TBS_NOTICKS, true});
        t[2].controls.push_back({boxes[row], L"Edit", ES_READONLY | ES_NUMBER, ES_READONLY, true});
        t[2].controls.push_back({labels[row], L"Static", kAny, 0, true});
    }
    return t;
}

INT_PTR CALLBACK acceptDialog(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

// The style word of a template, which the window made from it no longer shows unchanged.
DWORD templateStyle(HMODULE hModule, int id)
{
    HRSRC hRes = FindResourceW(hModule, MAKEINTRESOURCEW(id), RT_DIALOG);
    const WORD* words = hRes ? static_cast<const WORD*>(LockResource(LoadResource(hModule, hRes))) : nullptr;
    if (!words)
        return 0;
    // DLGTEMPLATEEX: version 1, signature 0xFFFF, help id, extended style, then the style.
    if (words[0] == 1 && words[1] == 0xFFFF)
        return *reinterpret_cast<const DWORD*>(words + 6);
    return *reinterpret_cast<const DWORD*>(words);
}

std::wstring windowText(HWND hWnd)
{
    wchar_t text[128] = L"";
    GetWindowTextW(hWnd, text, ARRAYSIZE(text));
    return text;
}

TEST_F(LocaleLibraryTest, SettingsTemplatesMakeEveryControlTheProgramBinds)
{
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    // Property pages are child windows: they need a parent, as the sheet gives them.
    HWND hParent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr,
                                   nullptr, nullptr);
    ASSERT_NE(nullptr, hParent);
    for (const TemplateContract& t : settingsTemplates()) {
        SCOPED_TRACE(t.id);
        DWORD style = templateStyle(m_hLocale, t.id);
        ASSERT_NE(0u, style) << "no template";
        if (t.page) {
            EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_CAPTION), style & (WS_CHILD | WS_CAPTION | WS_POPUP));
        } else {
            // Every window is shown by its program when it is ready, never by its creation.
            EXPECT_EQ(0u, style & WS_VISIBLE);
            EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU),
                      style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CHILD));
        }
        HWND hDlg = CreateDialogParamW(m_hLocale, MAKEINTRESOURCEW(t.id), t.page ? hParent : nullptr,
                                       acceptDialog, 0);
        ASSERT_NE(nullptr, hDlg) << "error " << GetLastError();
        for (const ControlContract& c : t.controls) {
            SCOPED_TRACE(c.id);
            HWND hCtl = GetDlgItem(hDlg, c.id);
            ASSERT_NE(nullptr, hCtl) << "control missing";
            wchar_t className[64] = L"";
            GetClassNameW(hCtl, className, ARRAYSIZE(className));
            EXPECT_EQ(0, _wcsicmp(c.className, className)) << className;
            DWORD controlStyle = static_cast<DWORD>(GetWindowLongW(hCtl, GWL_STYLE));
            EXPECT_EQ(c.kind, controlStyle & c.kindMask);
            EXPECT_EQ(c.disabled, !IsWindowEnabled(hCtl));
        }
        DestroyWindow(hDlg);
    }
    DestroyWindow(hParent);
}

TEST_F(LocaleLibraryTest, FrameArrowsAreNamedForTheirImagesAndTheNoFrameMessageLiesAbove)
{
    HWND hDlg = CreateDialogParamW(m_hLocale, MAKEINTRESOURCEW(IDD_FRAME_SELECT), nullptr,
                                   acceptDialog, 0);
    ASSERT_NE(nullptr, hDlg);
    // The bitmap buttons load FRAMEPREVU, FRAMEPREVD... by these captions.
    EXPECT_EQ(L"FRAMEPREV", windowText(GetDlgItem(hDlg, IDC_FRAME_PREV)));
    EXPECT_EQ(L"FRAMENEXT", windowText(GetDlgItem(hDlg, IDC_FRAME_NEXT)));
    // The message is drawn over the preview: it must be higher in the z-order, and the preview
    // must not paint over its siblings.
    HWND hMessage = GetDlgItem(hDlg, IDC_FRAME_MESSAGE);
    HWND hPreview = GetDlgItem(hDlg, IDC_FRAME_PREVIEW);
    bool messageFirst = false;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h && h != hPreview; h = GetWindow(h, GW_HWNDNEXT))
        messageFirst = messageFirst || h == hMessage;
    EXPECT_TRUE(messageFirst);
    EXPECT_TRUE(GetWindowLongW(hPreview, GWL_STYLE) & WS_CLIPSIBLINGS);
    DestroyWindow(hDlg);
}

// The combo box entries of a template's list data, by control, as the framework adds them.
std::map<int, std::vector<std::string>> dialogListData(HMODULE hModule, int templateId, LANGID language)
{
    std::map<int, std::vector<std::string>> lists;
    DWORD size = 0;
    const BYTE* p = static_cast<const BYTE*>(kivotest::findResourceIn(
        hModule, MAKEINTRESOURCEW(240), MAKEINTRESOURCEW(templateId), language, &size));
    if (!p)
        return lists;
    const BYTE* end = p + size;
    // Each entry: control id, message, length of the data, the data; a control id 0 ends the list.
    while (p && p + 2 <= end) {
        WORD control;
        std::memcpy(&control, p, 2);
        if (control == 0)
            return lists;
        WORD message;
        DWORD length;
        if (p + 8 > end)
            break;
        std::memcpy(&message, p + 2, 2);
        std::memcpy(&length, p + 4, 4);
        const char* text = reinterpret_cast<const char*>(p + 8);
        if (message != 0x0403 || length == 0 || p + 8 + length > end || text[length - 1] != '\0'
            || std::strlen(text) + 1 != length)
            break;   // not a combo box string of exactly its stated length
        lists[control].push_back(text);
        p += 8 + length;
    }
    lists.clear();
    lists[-1].push_back("malformed list data");
    return lists;
}

TEST_F(LocaleLibraryTest, PanelListsHoldZoomStepsAndModesInFlagOrder)
{
    for (LANGID language : {kivotest::kEnglish, kivotest::kGerman}) {
        SCOPED_TRACE(language);
        std::map<int, std::vector<std::string>> lists = dialogListData(m_hLocale, IDD_SETTINGS_PANEL, language);
        ASSERT_EQ(2u, lists.size()) << (lists.count(-1) ? "malformed list data" : "lists missing");
        const std::vector<std::string>& zoom = lists[IDC_ZOOM_LIST];
        const std::vector<std::string>& mode = lists[IDC_MODE_LIST];
        // Entry n of each list selects flag value n: no zoom, 1.5x, 2x; live, freeze, stills 1 and 2.
        ASSERT_EQ(3u, zoom.size());
        EXPECT_NE(std::string::npos, zoom[1].find(language == kivotest::kGerman ? "1,5" : "1.5"));
        EXPECT_NE(std::string::npos, zoom[2].find('2'));
        ASSERT_EQ(4u, mode.size());
        EXPECT_NE(std::string::npos, mode[2].find('1'));
        EXPECT_NE(std::string::npos, mode[3].find('2'));
        for (const auto& list : lists)
            for (const std::string& entry : list.second)
                EXPECT_TRUE(!entry.empty() && entry.front() != ' ' && entry.back() != ' ') << entry;
    }
}

TEST_F(LocaleLibraryTest, SettingsStringsAreThereAndReadable)
{
    const UINT ids[] = {IDS_ABOUTBOX, IDS_PICTURE_TITLE_FRONT, IDS_PICTURE_TITLE_REAR,
                        IDS_PROPERTY_SHEET_CAPTION, IDS_CAMERA_SETTINGS_FRONT,
                        IDS_CAMERA_SETTINGS_REAR, IDS_PRODUCT_NAME, IDS_SERVICE_NOT_FOUND,
                        IDS_PROPERTY_ERROR, IDS_EFFECT_FAILED, IDS_FRAME_TIP, IDS_ZOOM_TIP,
                        IDS_MODE_TIP, IDS_NO_FRAME};
    std::set<std::wstring> seen;
    for (UINT id : ids) {
        SCOPED_TRACE(id);
        std::wstring text;
        ASSERT_GT(stringLength(m_hLocale, id, text), 0);
        EXPECT_FALSE(iswspace(text.front()) || iswspace(text.back())) << text;
        EXPECT_TRUE(seen.insert(text).second) << "the same text twice: " << text;
    }
    // The About entry goes into a menu: it needs an access key.
    std::wstring about;
    stringLength(m_hLocale, IDS_ABOUTBOX, about);
    EXPECT_NE(std::wstring::npos, about.find(L'&'));
}

// --- the languages ---

BOOL CALLBACK collectName(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR names)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<WORD>*>(names)->push_back(static_cast<WORD>(reinterpret_cast<UINT_PTR>(name)));
    return TRUE;
}

std::vector<WORD> resourceNames(HMODULE hModule, LPCWSTR type)
{
    std::vector<WORD> names;
    EnumResourceNamesW(hModule, type, collectName, reinterpret_cast<LONG_PTR>(&names));
    return names;
}

// The sixteen strings of a string table block, empty where the block has none.
std::vector<std::wstring> stringBlock(HMODULE hModule, WORD block, LANGID language)
{
    std::vector<std::wstring> strings(16);
    DWORD size = 0;
    const auto* p = static_cast<const WORD*>(
        kivotest::findResourceIn(hModule, RT_STRING, MAKEINTRESOURCEW(block), language, &size));
    const WORD* end = p + size / sizeof(WORD);
    for (int i = 0; p && i < 16 && p < end; ++i) {
        WORD length = *p++;
        if (length > end - p)
            break;
        strings[i].assign(reinterpret_cast<const wchar_t*>(p), length);
        p += length;
    }
    return strings;
}

// Command ids and separators of a menu template, through its popups.
std::vector<UINT> menuCommands(HMODULE hModule, WORD id, LANGID language)
{
    DWORD size = 0;
    const void* data = kivotest::findResourceIn(hModule, RT_MENU, MAKEINTRESOURCEW(id), language, &size);
    std::vector<UINT> commands;
    HMENU hMenu = data ? LoadMenuIndirectW(data) : nullptr;
    if (!hMenu)
        return commands;
    for (int i = 0; i < GetMenuItemCount(hMenu); ++i)
        for (const MenuItem& item : menuItems(GetSubMenu(hMenu, i)))
            commands.push_back(item.type & MFT_SEPARATOR ? 0 : item.id);
    DestroyMenu(hMenu);
    return commands;
}

// Every template, string, menu and list of the English resources has a German counterpart under
// the same id, with the same controls, entries and commands; the icons serve both languages.
TEST_F(LocaleLibraryTest, EveryEnglishResourceHasAGermanTwin)
{
    using kivotest::kEnglish;
    using kivotest::kGerman;
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    HWND hParent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, nullptr, nullptr);
    std::vector<WORD> dialogs = resourceNames(m_hLocale, RT_DIALOG);
    EXPECT_EQ(7u, dialogs.size());
    for (WORD id : dialogs) {
        SCOPED_TRACE(id);
        HWND english = kivotest::createDialogIn(m_hLocale, id, kEnglish, hParent);
        HWND german = kivotest::createDialogIn(m_hLocale, id, kGerman, hParent);
        ASSERT_TRUE(english && german) << "no German template";
        EXPECT_EQ(GetWindowLongW(english, GWL_STYLE), GetWindowLongW(german, GWL_STYLE));
        EXPECT_FALSE(windowText(german).empty());
        std::vector<HWND> englishControls = kivotest::controlsOf(english), germanControls = kivotest::controlsOf(german);
        ASSERT_EQ(englishControls.size(), germanControls.size());
        for (size_t i = 0; i < englishControls.size(); ++i) {
            HWND e = englishControls[i], g = germanControls[i];
            SCOPED_TRACE(GetDlgCtrlID(e));
            wchar_t englishClass[64] = L"", germanClass[64] = L"";
            GetClassNameW(e, englishClass, ARRAYSIZE(englishClass));
            GetClassNameW(g, germanClass, ARRAYSIZE(germanClass));
            EXPECT_EQ(GetDlgCtrlID(e), GetDlgCtrlID(g));
            EXPECT_STREQ(englishClass, germanClass);
            EXPECT_EQ(GetWindowLongW(e, GWL_STYLE), GetWindowLongW(g, GWL_STYLE));
            EXPECT_EQ(windowText(e).empty(), windowText(g).empty());
        }
        DestroyWindow(english);
        DestroyWindow(german);
    }
    DestroyWindow(hParent);
    for (WORD block : resourceNames(m_hLocale, RT_STRING)) {
        std::vector<std::wstring> english = stringBlock(m_hLocale, block, kEnglish);
        std::vector<std::wstring> german = stringBlock(m_hLocale, block, kGerman);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(english[i].empty(), german[i].empty()) << "string " << (block - 1) * 16 + i;
    }
    for (WORD id : resourceNames(m_hLocale, RT_MENU)) {
        std::vector<UINT> english = menuCommands(m_hLocale, id, kEnglish);
        EXPECT_FALSE(english.empty());
        EXPECT_EQ(english, menuCommands(m_hLocale, id, kGerman)) << "menu " << id;
    }
    for (WORD id : resourceNames(m_hLocale, MAKEINTRESOURCEW(240))) {
        std::map<int, std::vector<std::string>> english = dialogListData(m_hLocale, id, kEnglish);
        std::map<int, std::vector<std::string>> german = dialogListData(m_hLocale, id, kGerman);
        ASSERT_EQ(english.size(), german.size()) << "list data of " << id;
        for (const auto& list : english)
            EXPECT_EQ(list.second.size(), german[list.first].size()) << "list " << list.first;
    }
}

// The loader takes the user's interface language, and English for any language the library lacks:
// what this process loads is exactly the resources of that language. Wine derives the language
// from the locale the process was started under (LANG, which it also copies into the process's
// environment); ctest runs this test under the harness's C locale, de_DE and fr_FR.
TEST_F(LocaleLibraryTest, TheLoaderPicksTheUserInterfaceLanguage)
{
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    wchar_t lang[64] = L"";
    if (GetEnvironmentVariableW(L"LANG", lang, ARRAYSIZE(lang)))
        EXPECT_EQ(wcsncmp(lang, L"de_", 3) == 0, german) << "LANG=" << lang;
    const LANGID expected = german ? kivotest::kGerman : kivotest::kEnglish;
    std::wstring text;
    stringLength(m_hLocale, IDS_NO_FRAME, text);
    EXPECT_EQ(stringBlock(m_hLocale, IDS_NO_FRAME / 16 + 1, expected)[IDS_NO_FRAME % 16], text);

    HWND hExpected = kivotest::createDialogIn(m_hLocale, IDD_SETTINGS_PANEL, expected, nullptr);
    HWND hDlg = CreateDialogParamW(m_hLocale, MAKEINTRESOURCEW(IDD_SETTINGS_PANEL), nullptr, acceptDialog, 0);
    ASSERT_TRUE(hExpected && hDlg);
    for (HWND control : kivotest::controlsOf(hExpected))
        EXPECT_EQ(windowText(control), windowText(GetDlgItem(hDlg, GetDlgCtrlID(control))));
    DestroyWindow(hExpected);
    DestroyWindow(hDlg);

    HMENU hMenu = LoadMenuW(m_hLocale, MAKEINTRESOURCEW(IDM_TRAY));
    ASSERT_NE(nullptr, hMenu);
    wchar_t help[64] = L"";
    GetMenuStringW(hMenu, ID_TRAY_HELP, help, ARRAYSIZE(help), MF_BYCOMMAND);
    EXPECT_STREQ(german ? L"&Hilfe" : L"&Help", help);
    DestroyMenu(hMenu);
}

// How colourful an icon is: the largest difference between the colour channels of any pixel that
// is more than faintly visible.
int largestChannelSpread(const std::vector<DWORD>& pixels)
{
    int spread = 0;
    for (DWORD p : pixels) {
        if ((p >> 24) < 32)
            continue;
        int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        spread = std::max(spread, std::max({r, g, b}) - std::min({r, g, b}));
    }
    return spread;
}

TEST_F(LocaleLibraryTest, SettingsIconsLoadAtEverySizeTheRowsShowGreyedWhenOff)
{
    struct Icon {
        int id;
        bool greyed;
    };
    const Icon icons[] = {{IDI_KIVOSET, false}, {IDI_FRAME_ON, false}, {IDI_ZOOM_ON, false},
                          {IDI_MODE_ON, false}, {IDI_FRAME_OFF, true},  {IDI_ZOOM_OFF, true},
                          {IDI_MODE_OFF, true}};
    for (const Icon& icon : icons) {
        SCOPED_TRACE(icon.id);
        HRSRC hGroup = FindResourceW(m_hLocale, MAKEINTRESOURCEW(icon.id), RT_GROUP_ICON);
        ASSERT_NE(nullptr, hGroup);
        const auto* dir = static_cast<const GroupIconDir*>(LockResource(LoadResource(m_hLocale, hGroup)));
        ASSERT_NE(nullptr, dir);
        std::set<int> sizes;
        for (WORD i = 0; i < dir->count; ++i)
            sizes.insert(dir->entries[i].width);
        EXPECT_EQ((std::set<int>{16, 24, 32, 48}), sizes);
        for (int size : {16, 32}) {
            SCOPED_TRACE(size);
            HICON hIcon = static_cast<HICON>(LoadImageW(m_hLocale, MAKEINTRESOURCEW(icon.id),
                                                        IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ASSERT_NE(nullptr, hIcon);
            int width = 0, height = 0;
            std::vector<DWORD> pixels = iconPixels(hIcon, width, height);
            DestroyIcon(hIcon);
            ASSERT_EQ(size, width);
            ASSERT_FALSE(pixels.empty());
            int visible = 0;
            for (DWORD p : pixels)
                visible += (p >> 24) >= 128;
            EXPECT_GT(visible, size * size / 4) << "hardly anything to see";
            if (icon.greyed)
                EXPECT_LE(largestChannelSpread(pixels), 2) << "a greyed icon shows colour";
            else
                EXPECT_GE(largestChannelSpread(pixels), 96) << "an icon without colour";
        }
    }
}

} // namespace
