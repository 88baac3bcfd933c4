// kivopanel: drives the running settings panel as a user would, for demonstrations and benchmarks.
// Clicks are BM_CLICK to the panel's own controls, list choices are the selection followed by the
// list's CBN_SELCHANGE to the panel, and a frame is chosen in the panel's frame chooser with its
// arrow buttons and OK. Every wait has a deadline.
#include "ParseNumber.h"
#include "ToolExit.h"
#include "resource.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

const wchar_t kUsageText[] =
    L"Usage: kivopanel [--timeout S] STEP...\n"
    L"Drives the settings panel of the running KivoSet.exe, one step after the other:\n"
    L"\n"
    L"  shown                  wait until the panel is visible; prints 'panel X Y WIDTH HEIGHT'\n"
    L"  click ID               press the panel's button ID (1015 front, 1016 rear, 1010 reset ...)\n"
    L"  choose ID N            choose entry N of the panel's list ID (1003 zoom, 1008 mode)\n"
    L"  frame K                choose frame K in the frame chooser (its arrows, then OK)\n"
    L"  snap FOLDER FILE       wait for three new frame files in FOLDER (a capturing application's\n"
    L"                         output), then copy the newest to FILE\n"
    L"\n"
    L"  --timeout S            deadline of each wait in seconds (20)\n"
    L"Exit codes: 0 every step done, 1 a step failed or timed out, 2 bad command line.\n";

const wchar_t kDialogClass[] = L"#32770";
const DWORD kPollMs = 50;
const int kMaxArrowPresses = 1000;

DWORD g_timeoutMs = 20000;

bool hasChild(HWND hWnd, int id)
{
    return GetDlgItem(hWnd, id) != nullptr;
}

struct Search {
    DWORD processId;          // 0: any process
    bool (*matches)(HWND);
    HWND found;
};

BOOL CALLBACK searchWindow(HWND hWnd, LPARAM param)
{
    Search* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    WCHAR className[16] = {};
    GetClassNameW(hWnd, className, ARRAYSIZE(className));
    if ((search->processId == 0 || pid == search->processId) && wcscmp(className, kDialogClass) == 0 &&
        search->matches(hWnd)) {
        search->found = hWnd;
        return FALSE;
    }
    return TRUE;
}

HWND findDialog(DWORD processId, bool (*matches)(HWND))
{
    Search search = {processId, matches, nullptr};
    EnumWindows(searchWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The panel is the dialog with the direction buttons and both effect lists.
bool isPanel(HWND hWnd)
{
    return hasChild(hWnd, IDC_DIRECTION_FRONT) && hasChild(hWnd, IDC_ZOOM_LIST) && hasChild(hWnd, IDC_MODE_LIST);
}

bool isShownChooser(HWND hWnd)
{
    return IsWindowVisible(hWnd) && hasChild(hWnd, IDC_FRAME_NEXT) && hasChild(hWnd, IDC_FRAME_PAGE);
}

// Polls until the condition holds or the deadline passes.
template <class Condition>
bool waitUntil(Condition condition)
{
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition())
            return true;
        if (GetTickCount() - start >= g_timeoutMs)
            return false;
        Sleep(kPollMs);
    }
}

HWND panelWindow()
{
    HWND hPanel = nullptr;
    waitUntil([&] { return (hPanel = findDialog(0, isPanel)) != nullptr; });
    return hPanel;
}

DWORD processOf(HWND hWnd)
{
    DWORD pid = 0;
    GetWindowThreadProcessId(hWnd, &pid);
    return pid;
}

bool fail(const std::wstring& message)
{
    fwprintf(stderr, L"kivopanel: %ls\n", message.c_str());
    return false;
}

bool stepShown()
{
    HWND hPanel = panelWindow();
    if (!hPanel || !waitUntil([&] { return IsWindowVisible(hPanel) != FALSE; }))
        return fail(L"the settings panel did not appear");
    RECT rc = {};
    GetWindowRect(hPanel, &rc);
    wprintf(L"panel %ld %ld %ld %ld\n", rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top);
    return true;
}

// The panel's control ID (a "control", a "list") once it is enabled, and the panel in *panel;
// null, with the failure reported, when the panel has no such control or it stays disabled.
HWND enabledPanelControl(int id, const std::wstring& kind, HWND* panel = nullptr)
{
    HWND hPanel = panelWindow();
    HWND hControl = hPanel ? GetDlgItem(hPanel, id) : nullptr;
    if (!hControl) {
        fail(L"the panel has no " + kind + L" " + std::to_wstring(id));
        return nullptr;
    }
    if (!waitUntil([&] { return IsWindowEnabled(hControl) != FALSE; })) {
        fail(kind + L" " + std::to_wstring(id) + L" stays disabled");
        return nullptr;
    }
    if (panel)
        *panel = hPanel;
    return hControl;
}

// Posted: a button may run a modal dialog, and the panel answers other messages meanwhile.
bool stepClick(int id)
{
    HWND hButton = enabledPanelControl(id, L"control");
    if (!hButton)
        return false;
    return PostMessageW(hButton, BM_CLICK, 0, 0) || fail(L"the click could not be posted");
}

bool stepChoose(int id, int entry)
{
    HWND hPanel = nullptr;
    HWND hList = enabledPanelControl(id, L"list", &hPanel);
    if (!hList)
        return false;
    if (SendMessageW(hList, CB_SETCURSEL, WPARAM(entry), 0) != entry)
        return fail(L"list " + std::to_wstring(id) + L" has no entry " + std::to_wstring(entry));
    SendMessageW(hPanel, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(hList));
    return true;
}

// The index the chooser shows, from its page label "index/last"; -1 when it cannot be read.
int chooserIndex(HWND hChooser)
{
    WCHAR text[32] = {};
    GetDlgItemTextW(hChooser, IDC_FRAME_PAGE, text, ARRAYSIZE(text));
    wchar_t* end = nullptr;
    long index = wcstol(text, &end, 10);
    return end != text && *end == L'/' ? int(index) : -1;
}

bool stepFrame(int wanted)
{
    if (!stepClick(IDC_FRAME_BUTTON))
        return false;
    DWORD pid = processOf(panelWindow());
    HWND hChooser = nullptr;
    if (!waitUntil([&] { return (hChooser = findDialog(pid, isShownChooser)) != nullptr; }))
        return fail(L"the frame chooser did not appear");
    HWND hNext = GetDlgItem(hChooser, IDC_FRAME_NEXT);
    for (int presses = 0; chooserIndex(hChooser) != wanted; ++presses) {
        int before = chooserIndex(hChooser);
        if (before < 0 || presses > kMaxArrowPresses || !IsWindowEnabled(hNext))
            break;
        SendMessageW(hNext, BM_CLICK, 0, 0);
        if (!waitUntil([&] { return chooserIndex(hChooser) != before; }))
            break;
    }
    if (chooserIndex(hChooser) != wanted) {
        PostMessageW(GetDlgItem(hChooser, IDCANCEL), BM_CLICK, 0, 0);
        return fail(L"the frame chooser has no frame " + std::to_wstring(wanted));
    }
    PostMessageW(GetDlgItem(hChooser, IDOK), BM_CLICK, 0, 0);
    if (!waitUntil([&] { return !IsWindow(hChooser) || !IsWindowVisible(hChooser); }))
        return fail(L"the frame chooser did not close");
    return true;
}

std::vector<std::wstring> frameFiles(const std::wstring& folder)
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW((folder + L"\\frame*").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return names;
    do
        names.push_back(data.cFileName);
    while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    std::sort(names.begin(), names.end());   // numbered with leading zeros
    return names;
}

// Three new files: the first may have been made before the step took effect.
bool stepSnap(const std::wstring& folder, const std::wstring& file)
{
    const size_t before = frameFiles(folder).size();
    std::vector<std::wstring> names;
    if (!waitUntil([&] { return (names = frameFiles(folder)).size() >= before + 3; }))
        return fail(L"no new frames in " + folder);
    // The newest file may still be being written: take the one before it.
    const std::wstring source = folder + L"\\" + names[names.size() - 2];
    if (!CopyFileW(source.c_str(), file.c_str(), FALSE))
        return fail(L"cannot copy " + source + L" to " + file);
    wprintf(L"snap %ls\n", file.c_str());
    return true;
}

bool parseInt(const wchar_t* text, int low, int high, int& value)
{
    long v = 0;
    if (!parseNumber(text, low, high, v))
        return false;
    value = int(v);
    return true;
}

// Checks the whole command line before the first step runs; the steps then run in order.
int run(int argc, wchar_t** argv, bool execute)
{
    for (int i = 1; i < argc; ++i) {
        std::wstring step = argv[i];
        const wchar_t* a = i + 1 < argc ? argv[i + 1] : nullptr;
        const wchar_t* b = i + 2 < argc ? argv[i + 2] : nullptr;
        int x = 0, y = 0;
        bool ok = false;
        bool done = true;
        if (step == L"--timeout" && (ok = parseInt(a, 1, 3600, x))) {
            g_timeoutMs = DWORD(x) * 1000;
            ++i;
        } else if (step == L"shown") {
            ok = true;
            done = !execute || stepShown();
        } else if (step == L"click" && (ok = parseInt(a, 0, 0xFFFF, x))) {
            done = !execute || stepClick(x);
            ++i;
        } else if (step == L"choose" && (ok = parseInt(a, 0, 0xFFFF, x) && parseInt(b, 0, 100, y))) {
            done = !execute || stepChoose(x, y);
            i += 2;
        } else if (step == L"frame" && (ok = parseInt(a, 0, 999, x))) {
            done = !execute || stepFrame(x);
            ++i;
        } else if (step == L"snap" && (ok = a && b && *a && *b)) {
            done = !execute || stepSnap(a, b);
            i += 2;
        }
        if (!ok)
            return usageError(L"kivopanel", L"bad step or value: " + step);
        fflush(stdout);
        if (!done)
            return kFailed;
    }
    return kOk;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 2 || wcscmp(argv[1], L"--help") == 0 || wcscmp(argv[1], L"-h") == 0) {
        fputws(kUsageText, argc < 2 ? stderr : stdout);
        return argc < 2 ? kUsage : kOk;
    }
    int rc = run(argc, argv, false);
    return rc == kOk ? run(argc, argv, true) : rc;
}
