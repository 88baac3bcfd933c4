// Resources: the module's resource handle switched to a resource library, strings and menus.
#include "afxwin.h"

#include "LoadedLibrary.h"
#include "ProbeIds.h"

#include <gtest/gtest.h>

namespace {

class ResourceHandleTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, m_hLibrary); }
    void TearDown() override { AfxSetResourceHandle(m_hPrevious); }
    kivotest::LoadedLibrary m_library{L"ProbeResources.dll"};
    HINSTANCE m_hLibrary = m_library.get();
    HINSTANCE m_hPrevious = AfxGetResourceHandle();
};

TEST_F(ResourceHandleTest, StringsComeFromTheCurrentResourceModule)
{
    CString s;
    ASSERT_TRUE(s.LoadString(IDS_PROBE_BOTH));
    EXPECT_STREQ(L"from the program", s);

    AfxSetResourceHandle(m_hLibrary);
    EXPECT_EQ(m_hLibrary, AfxGetResourceHandle());
    ASSERT_TRUE(s.LoadString(IDS_PROBE_BOTH));
    EXPECT_STREQ(L"from the resource library", s);
    EXPECT_EQ(m_hLibrary, AfxFindResourceHandle(MAKEINTRESOURCEW(IDM_PROBE_MENU), RT_MENU));
    // A resource that only the program has is still found there.
    ASSERT_TRUE(s.LoadString(IDS_PROBE_PROGRAM));
    EXPECT_STREQ(L"only in the program", s);
    EXPECT_FALSE(s.LoadString(999));
}

TEST_F(ResourceHandleTest, MenuLoadsFromTheResourceModuleAndChecksItems)
{
    AfxSetResourceHandle(m_hLibrary);
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDM_PROBE_MENU));
    CMenu* popup = menu.GetSubMenu(0);
    ASSERT_NE(nullptr, popup);
    EXPECT_EQ(popup, menu.GetSubMenu(0)) << "one wrapper per submenu";
    EXPECT_EQ(static_cast<UINT>(MF_UNCHECKED), popup->CheckMenuItem(ID_PROBE_SECOND, MF_CHECKED));
    EXPECT_TRUE(popup->GetMenuState(ID_PROBE_SECOND, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_TRUE(popup->SetDefaultItem(ID_PROBE_FIRST));
    EXPECT_EQ(static_cast<UINT>(ID_PROBE_FIRST), GetMenuDefaultItem(popup->m_hMenu, FALSE, 0));
    EXPECT_EQ(nullptr, menu.GetSubMenu(5));
    EXPECT_TRUE(menu.DestroyMenu());
    EXPECT_EQ(nullptr, menu.m_hMenu);
}

TEST_F(ResourceHandleTest, DialogTemplateAndListDataComeFromTheResourceModule)
{
    AfxSetResourceHandle(m_hLibrary);
    CDialog dialog;
    ASSERT_TRUE(dialog.Create(IDD_PROBE_PANEL));
    CString caption;
    dialog.GetWindowText(caption);
    EXPECT_STREQ(L"Panel of the library", caption);
    HWND hZoom = GetDlgItem(dialog.m_hWnd, IDC_PROBE_ZOOM);
    ASSERT_EQ(1, SendMessageW(hZoom, CB_GETCOUNT, 0, 0));
    WCHAR text[32] = L"";
    SendMessageW(hZoom, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(L"Library", text);
    dialog.DestroyWindow();
}

TEST(CStringTest, FormatKeepsWideStringsAndComparesIgnoringCase)
{
    CString s;
    s.Format(L"KivoServeFrame::OnWTSSessionChange( 0x%02x ) %s %d", 7, L"wide", -3);
    EXPECT_STREQ(L"KivoServeFrame::OnWTSSessionChange( 0x07 ) wide -3", s);
    CString longer;
    longer.Format(L"%s%s", std::wstring(300, L'a').c_str(), std::wstring(300, L'b').c_str());
    EXPECT_EQ(600, longer.GetLength());

    EXPECT_EQ(0, CString(L"/HALTALL").CompareNoCase(L"/haltall"));
    EXPECT_NE(0, CString(L"/Halt ").CompareNoCase(L"/Halt"));
    EXPECT_NE(0, CString(L"/Halt").Compare(L"/HALT"));
    EXPECT_STREQ(L"Halt", CString(L"/Halt").Mid(1));
    EXPECT_STREQ(L"", CString(L"ab").Mid(5));
}

} // namespace
