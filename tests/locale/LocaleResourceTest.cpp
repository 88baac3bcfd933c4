// KivoLocale.dll: every id of its header resolves to a resource of its kind, the templates make
// every control the settings program binds, and the icons, strings, menu and lists are what the
// programs expect of them, in English and in German.
#include "BitmapPixels.h"
#include "LoadedLibrary.h"
#include "LocaleTexts.h"
#include "TestPaths.h"
#include "resource.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <fstream>
#include <map>
#include <regex>
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
    void SetUp() override { ASSERT_NE(nullptr, m_hLocale) << "error " << m_locale.loadError(); }
    kivotest::LoadedLibrary m_locale{kivotest::stageFile(L"KivoLocale.dll")};
    HMODULE m_hLocale = m_locale.get();
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

// The icon at this size as the programs load it: the 32-bit pixels of its colour image, top-down;
// empty when it did not load at that size.
std::vector<DWORD> loadIconPixels(HMODULE hModule, int id, int size)
{
    HICON hIcon = static_cast<HICON>(LoadImageW(hModule, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size,
                                                LR_DEFAULTCOLOR));
    ICONINFO info = {};
    if (!hIcon || !GetIconInfo(hIcon, &info)) {
        if (hIcon)
            DestroyIcon(hIcon);
        return {};
    }
    LONG width = 0, height = 0;
    std::vector<DWORD> pixels = kivotest::bitmapPixels(info.hbmColor, width, height);
    for (HBITMAP bitmap : {info.hbmColor, info.hbmMask})
        if (bitmap)
            DeleteObject(bitmap);
    DestroyIcon(hIcon);
    return width == size && height == size ? pixels : std::vector<DWORD>();
}

// Every size the shell asks for drawn for that size (not scaled from another), square, in full
// colour with alpha.
void expectEveryIconSize(HMODULE hModule, int id)
{
    HRSRC hGroup = FindResourceW(hModule, MAKEINTRESOURCEW(id), RT_GROUP_ICON);
    ASSERT_NE(nullptr, hGroup);
    const auto* dir = static_cast<const GroupIconDir*>(LockResource(LoadResource(hModule, hGroup)));
    ASSERT_NE(nullptr, dir);
    ASSERT_EQ(1, dir->type);
    std::set<int> sizes;
    for (WORD i = 0; i < dir->count; ++i) {
        const GroupIconEntry& e = dir->entries[i];
        EXPECT_EQ(e.width, e.height) << "entry " << i;
        EXPECT_EQ(32, e.bitCount) << "entry " << i << " is not 32-bit";
        EXPECT_NE(nullptr, FindResourceW(hModule, MAKEINTRESOURCEW(e.id), RT_ICON)) << "image " << e.id;
        sizes.insert(e.width);
    }
    // The tray's icon also comes at the 20 px the tray asks for at 125%.
    std::set<int> expected{16, 24, 32, 48};
    if (id == IDI_KIVOSERVE)
        expected.insert(20);
    EXPECT_EQ(expected, sizes);

    // Each size the shell asks for is found as itself, not scaled from another.
    for (int size : expected) {
        SCOPED_TRACE(size);
        int found = LookupIconIdFromDirectoryEx(reinterpret_cast<BYTE*>(const_cast<GroupIconDir*>(dir)),
                                                TRUE, size, size, LR_DEFAULTCOLOR);
        bool exact = false;
        for (WORD i = 0; i < dir->count; ++i)
            exact = exact || (dir->entries[i].id == found && dir->entries[i].width == size);
        EXPECT_TRUE(exact);
    }
}

// Straight 8-bit colour over a background, and the contrast ratio of two colours (as the web's
// accessibility guidelines define it: 3 or more is legible for a shape).
COLORREF over(DWORD bgra, COLORREF background)
{
    const int a = int(bgra >> 24);
    auto channel = [a](int pixel, int back) { return (pixel * a + back * (255 - a) + 127) / 255; };
    return RGB(channel(int((bgra >> 16) & 0xFF), GetRValue(background)),
               channel(int((bgra >> 8) & 0xFF), GetGValue(background)),
               channel(int(bgra & 0xFF), GetBValue(background)));
}

double contrast(COLORREF a, COLORREF b)
{
    auto luminance = [](COLORREF c) {
        auto linear = [](int v) {
            double x = v / 255.0;
            return x <= 0.03928 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(GetRValue(c)) + 0.7152 * linear(GetGValue(c)) + 0.0722 * linear(GetBValue(c));
    };
    double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The share of the icon's outline that stands out from the taskbar: an outline pixel counts when it,
// or the icon's pixel just inside it, has a contrast of 3 or more with the background.
double legibleOutline(const std::vector<DWORD>& pixels, int size, COLORREF taskbar)
{
    auto alpha = [&](int x, int y) {
        return x < 0 || y < 0 || x >= size || y >= size ? 0u : pixels[y * size + x] >> 24;
    };
    int outline = 0, seen = 0;
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            if (!alpha(x, y))
                continue;
            bool edge = false, stands = contrast(over(pixels[y * size + x], taskbar), taskbar) >= 3.0;
            for (const auto& s : steps) {
                if (!alpha(x + s[0], y + s[1]))
                    edge = true;
                else if (contrast(over(pixels[(y + s[1]) * size + x + s[0]], taskbar), taskbar) >= 3.0)
                    stands = true;
            }
            outline += edge;
            seen += edge && stands;
        }
    return outline ? double(seen) / outline : 0.0;
}

TEST_F(LocaleLibraryTest, TrayIconLoadsAtTheTraysSizesWithATransparentOutlineLegibleOnAnyTaskbar)
{
    for (int size : {16, 20, 24, 32}) {
        SCOPED_TRACE(size);
        std::vector<DWORD> pixels = loadIconPixels(m_hLocale, IDI_KIVOSERVE, size);
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
        // Dark and light taskbars of Windows 10 and 11.
        EXPECT_GE(legibleOutline(pixels, size, RGB(32, 32, 32)), 0.85) << "on a dark taskbar";
        EXPECT_GE(legibleOutline(pixels, size, RGB(243, 243, 243)), 0.85) << "on a light taskbar";
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

TEST_F(LocaleLibraryTest, StringsFitWhereTheProgramsPutThem)
{
    std::wstring name, balloon, about;
    // Title and tip: szInfoTitle holds 64 characters with the terminator, szTip 128.
    int nameLength = stringLength(m_hLocale, IDS_PRODUCT_NAME, name);
    EXPECT_GT(nameLength, 0);
    EXPECT_LE(nameLength, 63) << "product name is cut in the balloon title";
    // Balloon text: szInfo holds 256 with the terminator.
    int balloonLength = stringLength(m_hLocale, IDS_TRAY_BALLOON, balloon);
    EXPECT_GT(balloonLength, 0);
    EXPECT_LE(balloonLength, 255) << "balloon text is cut";
    for (const std::wstring* s : {&name, &balloon})
        EXPECT_EQ(std::wstring::npos, s->find_first_of(L"\r\n\t")) << *s;
    // The About entry goes into a menu: it needs an access key.
    ASSERT_GT(stringLength(m_hLocale, IDS_ABOUTBOX, about), 0);
    EXPECT_NE(std::wstring::npos, about.find(L'&'));
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
    EXPECT_TRUE(DestroyMenu(hMenu));
}

// --- the settings program ---

// What a program relies on in a control of a template: its window class and the kind its style
// selects (the style masked with mask).
struct ControlKind {
    const wchar_t* className;
    DWORD mask;
    DWORD kind;
};
const ControlKind kButton{L"Button", 0, 0}, kPushButton{L"Button", BS_TYPEMASK, BS_PUSHBUTTON},
    kOwnerDrawn{L"Button", BS_TYPEMASK, BS_OWNERDRAW}, kRadio{L"Button", BS_TYPEMASK, BS_AUTORADIOBUTTON},
    kCheckBox{L"Button", BS_TYPEMASK, BS_AUTOCHECKBOX}, kGroupBox{L"Button", BS_TYPEMASK, BS_GROUPBOX},
    kText{L"Static", 0, 0}, kLeftText{L"Static", SS_TYPEMASK, SS_LEFT}, kIcon{L"Static", SS_TYPEMASK, SS_ICON},
    kPicture{L"Static", SS_TYPEMASK, SS_BITMAP}, kFrameLine{L"Static", SS_TYPEMASK, SS_GRAYFRAME},
    kDropList{L"ComboBox", 3, CBS_DROPDOWNLIST}, kSlider{TRACKBAR_CLASSW, TBS_VERT | TBS_NOTICKS, TBS_NOTICKS},
    kNumberBox{L"Edit", ES_READONLY | ES_NUMBER, ES_READONLY};

// Controls of one kind, all created enabled or all disabled.
struct Controls {
    ControlKind kind;
    bool disabled;
    std::vector<int> ids;
};

struct TemplateContract {
    int id;
    bool page;   // a property page: a child window inside the sheet
    std::vector<Controls> controls;
};

// Every control the settings program binds or sends to, by template.
const std::vector<TemplateContract>& settingsTemplates()
{
    static const std::vector<TemplateContract> templates = {
        {IDD_SETTINGS_PANEL, false, {
            {kText, true, {IDC_DIRECTION_LABEL}},
            {kPushButton, true, {IDC_DIRECTION_FRONT, IDC_DIRECTION_REAR}},
            {kText, false, {IDC_PICTURE_LABEL}},
            {kPushButton, false, {IDC_PROPERTY_DEFAULTS, IDC_PROPERTY_MAXIMUM, IDC_PROPERTY_SHEET,
                                  IDC_FRAME_BUTTON, IDC_EFFECT_RESET}},
            {kDropList, false, {IDC_ZOOM_LIST, IDC_MODE_LIST}},
            {kIcon, false, {IDC_FRAME_ICON, IDC_ZOOM_ICON, IDC_MODE_ICON}},
            {kLeftText, false, {IDC_EFFECT_PANEL}},
            {kFrameLine, false, {IDC_EFFECT_PANEL_FRAME}}}},
        {IDD_FRAME_SELECT, false, {
            {kButton, false, {IDOK, IDCANCEL}},
            {kPushButton, false, {IDC_FRAME_APPLY}},
            {kOwnerDrawn, false, {IDC_FRAME_PREV, IDC_FRAME_NEXT}},
            {kText, false, {IDC_FRAME_MESSAGE, IDC_FRAME_PAGE, IDC_FRAME_PREVIEW_BORDER}},
            {kPicture, false, {IDC_FRAME_PREVIEW}}}},
        // The picture page's eight rows, each created disabled: slider, read-only number box, label.
        {IDD_PICTURE_PAGE, true, {
            {kText, false, {IDC_PICTURE_TITLE}},
            {kPushButton, false, {IDC_PICTURE_DEFAULTS}},
            {kSlider, true, {IDC_BRIGHTNESS_SLIDER, IDC_CONTRAST_SLIDER, IDC_HUE_SLIDER, IDC_SATURATION_SLIDER,
                             IDC_SHARPNESS_SLIDER, IDC_GAMMA_SLIDER, IDC_WHITE_BALANCE_SLIDER, IDC_BACKLIGHT_SLIDER}},
            {kNumberBox, true, {IDC_BRIGHTNESS_VALUE, IDC_CONTRAST_VALUE, IDC_HUE_VALUE, IDC_SATURATION_VALUE,
                                IDC_SHARPNESS_VALUE, IDC_GAMMA_VALUE, IDC_WHITE_BALANCE_VALUE, IDC_BACKLIGHT_VALUE}},
            {kText, true, {IDC_BRIGHTNESS_LABEL, IDC_CONTRAST_LABEL, IDC_HUE_LABEL, IDC_SATURATION_LABEL,
                           IDC_SHARPNESS_LABEL, IDC_GAMMA_LABEL, IDC_WHITE_BALANCE_LABEL, IDC_BACKLIGHT_LABEL}}}},
        {IDD_CAMERA_SETTINGS_PAGE, true, {
            {kText, false, {IDC_CAMERA_SETTINGS_TITLE}},
            {kPushButton, false, {IDC_CAMERA_SETTINGS_READ}},
            {kGroupBox, true, {IDC_FLICKER_GROUP}},
            {kRadio, true, {IDC_FLICKER_OFF, IDC_FLICKER_50HZ, IDC_FLICKER_60HZ}},
            {kCheckBox, true, {IDC_MIRROR, IDC_LOW_LIGHT}}}},
        {IDD_ALERT_OVER_RESOLUTION, false, {
            {kButton, false, {IDOK}},
            {kText, false, {IDC_OVER_RESOLUTION_TEXT}},
            {kPicture, false, {IDC_OVER_RESOLUTION_PICTURE}}}},
        {IDD_ALERT_EFFECT_DISABLE, false, {
            {kButton, false, {IDOK}},
            {kText, false, {IDC_EFFECT_DISABLE_TEXT}},
            {kCheckBox, false, {IDC_EFFECT_DISABLE_NO_MORE}}}},
        {IDD_ABOUTBOX, false, {{kButton, false, {IDOK}}}},
    };
    return templates;
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

// The template as the settings program shows it: its style, and every control it binds with the
// class, kind and state it relies on.
void expectTemplateContract(HMODULE hModule, HWND hParent, int templateId)
{
    const std::vector<TemplateContract>& templates = settingsTemplates();
    auto t = std::find_if(templates.begin(), templates.end(), [&](const TemplateContract& c) { return c.id == templateId; });
    ASSERT_NE(templates.end(), t) << "a template no program shows";
    DWORD style = templateStyle(hModule, t->id);
    ASSERT_NE(0u, style) << "no template";
    if (t->page) {
        EXPECT_EQ(static_cast<DWORD>(WS_CHILD | WS_CAPTION), style & (WS_CHILD | WS_CAPTION | WS_POPUP));
    } else {
        // Every window is shown by its program when it is ready, never by its creation.
        EXPECT_EQ(0u, style & WS_VISIBLE);
        EXPECT_EQ(static_cast<DWORD>(WS_POPUP | WS_CAPTION | WS_SYSMENU),
                  style & (WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CHILD));
    }
    HWND hDlg = CreateDialogParamW(hModule, MAKEINTRESOURCEW(t->id), t->page ? hParent : nullptr, acceptDialog, 0);
    ASSERT_NE(nullptr, hDlg) << "error " << GetLastError();
    for (const Controls& group : t->controls) {
        for (int id : group.ids) {
            SCOPED_TRACE(id);
            HWND hCtl = GetDlgItem(hDlg, id);
            EXPECT_NE(nullptr, hCtl) << "control missing";
            wchar_t className[64] = L"";
            GetClassNameW(hCtl, className, ARRAYSIZE(className));
            EXPECT_EQ(0, _wcsicmp(group.kind.className, className)) << className;
            DWORD controlStyle = static_cast<DWORD>(GetWindowLongW(hCtl, GWL_STYLE));
            EXPECT_EQ(group.kind.kind, controlStyle & group.kind.mask);
            EXPECT_EQ(group.disabled, !IsWindowEnabled(hCtl));
        }
    }
    DestroyWindow(hDlg);
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

// The About entry goes into the system menu: it needs an access key.
TEST_F(LocaleLibraryTest, TheAboutEntryHasAnAccessKey)
{
    std::wstring about;
    ASSERT_GT(stringLength(m_hLocale, IDS_ABOUTBOX, about), 0);
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
    if (GetEnvironmentVariableW(L"LANG", lang, ARRAYSIZE(lang))) {
        EXPECT_EQ(wcsncmp(lang, L"de_", 3) == 0, german) << "LANG=" << lang;
    }
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

TEST_F(LocaleLibraryTest, SettingsIconsShowAtBothSizesTheRowsGreyedWhenOff)
{
    struct Icon {
        int id;
        bool greyed;
    };
    const Icon icons[] = {{IDI_KIVOSET, false}, {IDI_FRAME_ON, false}, {IDI_ZOOM_ON, false},
                          {IDI_MODE_ON, false}, {IDI_FRAME_OFF, true},  {IDI_ZOOM_OFF, true},
                          {IDI_MODE_OFF, true}};
    for (const Icon& icon : icons) {
        for (int size : {16, 32}) {
            SCOPED_TRACE(testing::Message() << "icon " << icon.id << " at " << size);
            std::vector<DWORD> pixels = loadIconPixels(m_hLocale, icon.id, size);
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

// An id the library's header defines with a number of its own (an alias of another id is left out).
struct HeaderId {
    std::string name;
    int value;
    std::string kind() const { return name.substr(0, name.find('_')); }   // IDD, IDS, IDI, IDM, ID...
};

std::vector<HeaderId> headerIds()
{
    std::vector<HeaderId> ids;
    std::ifstream in(KIVO_LOCALE_IDS_HEADER);
    const std::regex define(R"(^#define\s+(ID[A-Z]*_\w+)\s+(\d+)\b)");
    std::smatch match;
    for (std::string line; std::getline(in, line);)
        if (std::regex_search(line, match, define))
            ids.push_back({match[1], std::stoi(match[2])});
    return ids;
}

// Every dialog, string, icon, menu and menu command the header names is in the library and loads:
// templates make their window with every control the program binds, strings are readable and each
// says something of its own, icons have every size, commands are in the tray menu.
TEST_F(LocaleLibraryTest, EveryIdOfTheHeaderResolvesToItsKind)
{
    const std::vector<HeaderId> ids = headerIds();
    ASSERT_GT(ids.size(), 50u) << "the header was not read";
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    ASSERT_TRUE(InitCommonControlsEx(&icc));
    // Property pages are child windows: they need a parent, as the sheet gives them.
    HWND hParent = CreateWindowExW(0, L"Static", L"", WS_POPUP, 0, 0, 600, 500, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hParent);
    std::set<std::wstring> texts;
    HMENU hTray = LoadMenuW(m_hLocale, MAKEINTRESOURCEW(IDM_TRAY));
    for (const HeaderId& id : ids) {
        SCOPED_TRACE(id.name);
        const std::string kind = id.kind();
        if (kind == "IDD") {
            expectTemplateContract(m_hLocale, hParent, id.value);
        } else if (kind == "IDS") {
            std::wstring text;
            ASSERT_GT(stringLength(m_hLocale, id.value, text), 0);
            // What a user reads: no stray whitespace at its ends, never the text of another id.
            EXPECT_FALSE(iswspace(text.front()) || iswspace(text.back())) << text;
            EXPECT_TRUE(texts.insert(text).second) << "the same text twice: " << text;
        } else if (kind == "IDI") {
            expectEveryIconSize(m_hLocale, id.value);
        } else if (kind == "IDM") {
            HMENU hMenu = LoadMenuW(m_hLocale, MAKEINTRESOURCEW(id.value));
            EXPECT_NE(nullptr, hMenu);
            if (hMenu)
                DestroyMenu(hMenu);
        } else if (kind == "ID") {
            EXPECT_NE(UINT(-1), GetMenuState(hTray, id.value, MF_BYCOMMAND)) << "not in the tray menu";
        }
    }
    if (hTray)
        DestroyMenu(hTray);
    DestroyWindow(hParent);
}

} // namespace
