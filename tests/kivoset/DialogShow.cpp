// Shows one of the settings program's dialogs for a while, for screenshots:
//   DialogShow [--high-contrast] panel|sheet|custom|chooser[:N]|effect|resolution|about [milliseconds]
// chooser:N steps the chooser N frames on (with the Right key, as a user would); panel is the settings
// panel as its code lays it out, without a service; --high-contrast shows it as the skin draws in
// Windows' high-contrast mode (switched for real where the system allows it, else for this process).
// The dialog runs against a virtual camera of its own and closes itself after the time (default
// 5000 ms). Exit code 0 when the dialog ran, 2 on a bad command line, 1 when it could not be shown.
#include "AboutDlg.h"
#include "AlertEffectDisableDlg.h"
#include "AlertOverResolutionDlg.h"
#include "CameraPropertySheet.h"
#include "DialogTestSupport.h"
#include "FrameList.h"
#include "FrameSelectDlg.h"
#include "HighContrastSwitch.h"
#include "KivoSetDlg.h"
#include "resource.h"

#include <prsht.h>

#include <cstdio>
#include <cwchar>
#include <optional>

namespace {

void CALLBACK closeActive(HWND, UINT, UINT_PTR, DWORD)
{
    PostMessageW(GetActiveWindow(), WM_CLOSE, 0, 0);
}

void CALLBACK showSecondPage(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    PostMessageW(GetActiveWindow(), PSM_SETCURSEL, 1, 0);
}

UINT g_framesToStep = 0;

void CALLBACK stepFrames(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    for (UINT i = 0; i < g_framesToStep; ++i)
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_RIGHT, 0);
}

HWND g_panel = nullptr;

void CALLBACK destroyPanel(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
    DestroyWindow(g_panel);
}

// The panel, modeless as the program shows it, for ms milliseconds.
INT_PTR runPanel(UINT ms)
{
    auto* panel = new CKivoSetDlg(nullptr);   // deletes itself when its window is gone
    if (!panel->Create(IDD_SETTINGS_PANEL, nullptr))
        return -1;
    g_panel = panel->GetSafeHwnd();
    // No camera opens here: the panel must not close itself for want of one meanwhile.
    KillTimer(g_panel, CKivoSetDlg::kOpenTimerId);
    ShowWindow(g_panel, SW_SHOW);
    SetForegroundWindow(g_panel);
    SetTimer(nullptr, 0, ms, destroyPanel);
    MSG msg;
    while (IsWindow(g_panel) && GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (!IsDialogMessageW(g_panel, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return IDOK;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    const bool highContrast = argc > 1 && wcscmp(argv[1], L"--high-contrast") == 0;
    if (highContrast) {
        --argc;
        ++argv;
    }
    if (argc < 2) {
        fwprintf(stderr, L"Usage: DialogShow [--high-contrast] panel|sheet|custom|chooser[:N]|effect|resolution|about "
                         L"[milliseconds]\n");
        return 2;
    }
    std::wstring which = argv[1];
    if (which.rfind(L"chooser:", 0) == 0) {
        g_framesToStep = UINT(wcstoul(which.c_str() + 8, nullptr, 10));
        which = L"chooser";
    }
    const UINT ms = argc > 2 ? UINT(wcstoul(argv[2], nullptr, 10)) : 5000;
    dialogtest::LocaleResources locale;
    dialogtest::TestCamera camera;
    if (!locale.loaded() || !camera.ready()) {
        fwprintf(stderr, L"DialogShow: no locale library or no virtual camera\n");
        return 1;
    }
    loadFrameList();
    // The switch's colours are a scheme like Windows' dark contrast themes.
    std::optional<HighContrastSwitch> contrast;
    if (highContrast)
        contrast.emplace().setOn(true);
    if (which == L"panel")
        return runPanel(ms) == -1 ? 1 : 0;
    SetTimer(nullptr, 0, ms, closeActive);
    INT_PTR result = -1;
    if (which == L"sheet" || which == L"custom") {
        if (which == L"custom")
            SetTimer(nullptr, 0, 200, showSecondPage);
        result = runCameraPropertySheet(camera.settings, 0);
    } else if (which == L"chooser") {
        if (g_framesToStep)
            SetTimer(nullptr, 0, 200, stepFrames);
        result = CFrameSelectDlg().DoModal();
    } else if (which == L"effect") {
        result = AlertEffectDisableDlg().DoModal();
    } else if (which == L"resolution") {
        result = AlertOverResolutionDlg().DoModal();
    } else if (which == L"about") {
        result = CAboutDlg().DoModal();
    } else {
        fwprintf(stderr, L"DialogShow: unknown dialog '%ls'\n", which.c_str());
        return 2;
    }
    return result == -1 ? 1 : 0;
}
