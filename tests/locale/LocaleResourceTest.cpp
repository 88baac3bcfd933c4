// KivoLocale.dll: every id the service uses resolves, with what the service expects of it.
#include "StagePath.h"
#include "resource.h"

#include <gtest/gtest.h>

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
        m_hLocale = LoadLibraryW(stagePath(L"KivoLocale.dll").c_str());
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

} // namespace
