// The frame chooser and the over-resolution alert on denser screens: each is shown by DialogShow in
// a process of its own, started while the user's DPI setting is 120, 144 or 192 (the system reads
// it when a process starts), and measured from outside; the panel's row icons, in the real
// program; and the fit of every text of the program's windows. The test runs alone: any program started meanwhile would take the setting too.
#include "PanelRig.h"
#include "TestPaths.h"
#include "TestProcess.h"
#include "WindowSearch.h"

#include "resource.h"

#include <gtest/gtest.h>

namespace {

const wchar_t kDesktopKey[] = L"Control Panel\\Desktop";
const wchar_t kLogPixels[] = L"LogPixels";
const DWORD kTimeoutMs = 10000;

// The user's DPI setting for the object's life; the earlier setting (or none) comes back after.
class UserDpi {
public:
    explicit UserDpi(DWORD dpi)
    {
        if (RegCreateKeyExW(HKEY_CURRENT_USER, kDesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                            &m_key, nullptr) != ERROR_SUCCESS)
            return;
        DWORD size = sizeof(m_saved);
        m_hadValue = RegQueryValueExW(m_key, kLogPixels, nullptr, nullptr, reinterpret_cast<BYTE*>(&m_saved), &size) ==
                     ERROR_SUCCESS;
        m_set = RegSetValueExW(m_key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof(dpi)) ==
                ERROR_SUCCESS;
    }
    ~UserDpi()
    {
        if (!m_key)
            return;
        if (m_hadValue)
            RegSetValueExW(m_key, kLogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&m_saved), sizeof(m_saved));
        else
            RegDeleteValueW(m_key, kLogPixels);
        RegCloseKey(m_key);
    }
    UserDpi(const UserDpi&) = delete;
    UserDpi& operator=(const UserDpi&) = delete;
    bool set() const { return m_set; }

private:
    HKEY m_key = nullptr;
    DWORD m_saved = 0;
    bool m_hadValue = false;
    bool m_set = false;
};

// How a dialog's layout measures its controls: y from the window's outer top edge, x from the
// window's outer left edge or from the client area's.
enum class Across { fromWindow, fromClient };

// Where a control lies in the dialog's layout.
RECT placeOf(HWND dialog, int id, Across across)
{
    RECT window = {}, control = {};
    GetWindowRect(dialog, &window);
    POINT client = {0, 0};
    ClientToScreen(dialog, &client);
    GetWindowRect(GetDlgItem(dialog, id), &control);
    OffsetRect(&control, across == Across::fromWindow ? -window.left : -client.x, -window.top);
    return control;
}

void expectPlace(HWND dialog, int id, int dpi, Across across, POINT at96, SIZE size = {-1, -1})
{
    auto px = [dpi](int at) { return MulDiv(at, dpi, 96); };
    RECT r = placeOf(dialog, id, across);
    EXPECT_EQ(px(at96.x), r.left) << "control " << id;
    EXPECT_EQ(px(at96.y), r.top) << "control " << id;
    if (size.cx >= 0) {
        EXPECT_EQ(size.cx, r.right - r.left) << "control " << id;
        EXPECT_EQ(size.cy, r.bottom - r.top) << "control " << id;
    }
}

class DialogDpi : public ::testing::TestWithParam<int> {
protected:
    // DialogShow's dialog, shown at the parameter's DPI; null when it did not appear.
    HWND show(const wchar_t* which)
    {
        UserDpi dpi(GetParam());
        if (!dpi.set())
            return nullptr;
        if (!m_process.start(kivotest::testsFolder() + L"\\DialogShow.exe", std::wstring(which) + L" 30000"))
            return nullptr;
        return kivotest::waitForDialog(m_process.id(), L"Kivo Camera", kTimeoutMs);
    }
    void close(HWND dialog)
    {
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        EXPECT_TRUE(m_process.waitExit(kTimeoutMs));
    }
    int px(int at96) const { return MulDiv(at96, GetParam(), 96); }

    kivotest::TestProcess m_process;
};

TEST_P(DialogDpi, ChooserGrowsInProportionWithArrowsDrawnForTheSize)
{
    HWND dialog = show(L"chooser");
    ASSERT_NE(nullptr, dialog);
    RECT window = {};
    GetWindowRect(dialog, &window);
    EXPECT_EQ(px(370), window.right - window.left);
    EXPECT_EQ(px(400), window.bottom - window.top);
    const int dpi = GetParam();
    const Across client = Across::fromClient;
    expectPlace(dialog, 1012, dpi, client, {23, 51}, {px(320), px(240)});
    const int arrow = dpi >= 192 ? 36 : dpi >= 144 ? 27 : 23;
    expectPlace(dialog, 4, dpi, client, {125, 303}, {arrow, arrow});
    expectPlace(dialog, 5, dpi, client, {223, 303}, {arrow, arrow});
    expectPlace(dialog, IDOK, dpi, client, {51, 360}, {px(96), px(24)});
    expectPlace(dialog, 3, dpi, client, {259, 360}, {px(96), px(24)});
    close(dialog);
}

TEST_P(DialogDpi, OverResolutionAlertKeepsItsPictureAndTextInProportion)
{
    HWND dialog = show(L"resolution");
    ASSERT_NE(nullptr, dialog);
    // The product library's picture is 144 x 108 at 96 DPI.
    expectPlace(dialog, 1019, GetParam(), Across::fromWindow, {17, 52}, {px(144), px(108)});
    expectPlace(dialog, 1018, GetParam(), Across::fromWindow, {165, 56});
    close(dialog);
}

// The panel's row icons are as large as the panel grows: 48 pixels at 144 DPI, not 32.
TEST_P(DialogDpi, PanelRowIconsGrowWithTheScreen)
{
    kivoset::PanelRig rig;
    {
        UserDpi dpi(GetParam());
        ASSERT_TRUE(dpi.set());
        ASSERT_TRUE(rig.startCapture(L"--size 320x240 --fps 10 --duration 60"));
        ASSERT_TRUE(rig.startKivoSet());
        ASSERT_NE(nullptr, rig.waitForPanel());
    }
    for (int id : {IDC_FRAME_ICON, IDC_ZOOM_ICON, IDC_MODE_ICON}) {
        RECT icon = {};
        GetWindowRect(rig.control(id), &icon);
        EXPECT_EQ(px(32), icon.right - icon.left) << "icon " << id;
        EXPECT_EQ(px(32), icon.bottom - icon.top) << "icon " << id;
    }
    rig.stopCapture();
    EXPECT_TRUE(rig.kivoSet().waitExit(kTimeoutMs));
}

// Every text of the settings program's windows fits at this DPI too, in every language: the fit
// test, run in a process of its own that starts with the screen at this density.
TEST_P(DialogDpi, EveryTextFitsInEveryLanguage)
{
    UserDpi dpi(GetParam());
    ASSERT_TRUE(dpi.set());
    kivotest::RunResult fit = kivotest::runToEnd(kivotest::testsFolder() + L"\\kivoset_dialogs_test.exe",
                                                 L"--gtest_filter=ProgramWindowsFit.*", 90000);
    ASSERT_TRUE(fit.finished);
    EXPECT_EQ(0u, fit.exitCode) << fit.output;
}

INSTANTIATE_TEST_SUITE_P(DenserScreens, DialogDpi, ::testing::Values(120, 144, 192));

} // namespace
