#include "DialogTestSupport.h"

#include "KivoNames.h"
#include "KivoSetApp.h"
#include "KivoSetMessages.h"

#include "UniqueName.h"
#include "Wait.h"

#include <commctrl.h>

#include <climits>
#include <mutex>

// The application object of the test process, the settings program's own (not started): the
// framework's modal loops hand each message to the windows' PreTranslateMessage through it, and a
// panel made by a test tells it of its life, as in the settings program. Its shutdown events are its
// own: held by the tests running beside the real programs, the program's would keep a halt set after
// its launch ended, and the next panel would take it for a halt of its own and quit at once.
CKivoSetApp g_testApplication(L"KivoSetDialogTests");

namespace dialogtest {

// --- the user's registry ---

IsolatedCurrentUser::IsolatedCurrentUser()
{
    m_path = L"Software\\KivoDialogTests\\" + kivotest::uniqueName(L"user");
    if (RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_root,
                        nullptr) == ERROR_SUCCESS)
        RegOverridePredefKey(HKEY_CURRENT_USER, m_root);
}

IsolatedCurrentUser::~IsolatedCurrentUser()
{
    RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
    if (m_root) {
        RegCloseKey(m_root);
        RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str());
    }
}

// --- resources ---

LocaleResources::LocaleResources()
{
    INITCOMMONCONTROLSEX controls = {sizeof(controls), ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    m_saved = AfxGetResourceHandle();
    m_locale = LoadLibraryW(KIVO_LOCALE_DLL);
    if (m_locale)
        AfxSetResourceHandle(m_locale);
}

LocaleResources::~LocaleResources()
{
    if (m_locale) {
        AfxSetResourceHandle(m_saved);
        FreeLibrary(m_locale);
    }
}

// --- the camera ---

bool RefusingCameraSettings::SetProperty(long id, long value, long flags)
{
    if (refuseSet.count(id))
        return false;
    setCalls.push_back(id);
    return m_real->SetProperty(id, value, flags);
}

bool RefusingCameraSettings::GetProperty(long id, long* pValue, long* pFlags)
{
    return !refuseGet.count(id) && m_real->GetProperty(id, pValue, pFlags);
}

bool RefusingCameraSettings::GetPropertyRange(long id, long* pMin, long* pMax, long* pStep, long* pDefault,
                                              long* pCaps)
{
    return m_real->GetPropertyRange(id, pMin, pMax, pStep, pDefault, pCaps);
}

bool RefusingCameraSettings::SetCustomProperty(GUID set, ULONG id, long value)
{
    return m_real->SetCustomProperty(set, id, value);
}

bool RefusingCameraSettings::GetCustomProperty(const GUID& set, ULONG id, long* pValue)
{
    return !refuseCustomGet.count(id) && m_real->GetCustomProperty(set, id, pValue);
}

TestCamera::TestCamera()
{
    settings = CreateCameraPropertySettings(0);
    probe = CreateCameraPropertySettings(0);
}

TestCamera::~TestCamera()
{
    if (settings)
        settings->Release();
    if (probe)
        probe->Release();
}

long TestCamera::value(long id)
{
    long value = 0, flags = 0;
    return probe->GetProperty(id, &value, &flags) ? value : LONG_MIN;
}

long TestCamera::custom(ULONG readId)
{
    long value = 0;
    return probe->GetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, readId, &value) ? value : LONG_MIN;
}

void TestCamera::set(long id, long value)
{
    probe->SetProperty(id, value, KIVO_PROP_FLAGS_MANUAL);
}

void TestCamera::setCustom(ULONG writeId, long value)
{
    probe->SetCustomProperty(KIVO_CUSTOM_PROPERTY_SET, writeId, value);
}

long TestCamera::defaultOf(long id)
{
    long min = 0, max = 0, step = 0, def = 0, caps = 0;
    return probe->GetPropertyRange(id, &min, &max, &step, &def, &caps) ? def : LONG_MIN;
}

long TestCamera::maximumOf(long id)
{
    long min = 0, max = 0, step = 0, def = 0, caps = 0;
    return probe->GetPropertyRange(id, &min, &max, &step, &def, &caps) ? max : LONG_MIN;
}

// --- the owner window ---

namespace {
std::mutex g_framesLock;
std::vector<int> g_frames;
const wchar_t kOwnerClass[] = L"KivoDialogTestOwner";
} // namespace

OwnerWindow::OwnerWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kOwnerClass;
    RegisterClassW(&wc);
    {
        std::lock_guard<std::mutex> lock(g_framesLock);
        g_frames.clear();
    }
    m_hwnd = CreateWindowExW(0, kOwnerClass, L"Dialog test owner", WS_OVERLAPPEDWINDOW, 40, 40, 300, 200,
                             nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (m_hwnd) {
        ShowWindow(m_hwnd, SW_SHOWNOACTIVATE);
        m_wnd.Attach(m_hwnd);
    }
}

OwnerWindow::~OwnerWindow()
{
    m_wnd.Detach();
    if (IsWindow(m_hwnd))
        DestroyWindow(m_hwnd);
}

std::vector<int> OwnerWindow::appliedFrames() const
{
    std::lock_guard<std::mutex> lock(g_framesLock);
    return g_frames;
}

LRESULT CALLBACK OwnerWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_APPLY_FRAME) {
        std::lock_guard<std::mutex> lock(g_framesLock);
        g_frames.push_back(static_cast<int>(wParam));
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

std::wstring controlText(HWND hDialog, int id)
{
    WCHAR text[256] = {};
    GetDlgItemTextW(hDialog, id, text, ARRAYSIZE(text));
    return text;
}

int focusedControl(HWND hDialog)
{
    // While it shows itself the dialog holds the focus itself, for a moment.
    HWND focus = nullptr;
    kivotest::waitFor(
        [&] {
            GUITHREADINFO info = {};
            info.cbSize = sizeof(info);
            if (GetGUIThreadInfo(GetWindowThreadProcessId(hDialog, nullptr), &info))
                focus = info.hwndFocus;
            return focus && IsChild(hDialog, focus);
        },
        5000);
    return focus && IsChild(hDialog, focus) ? GetDlgCtrlID(focus) : 0;
}

// --- painting ---

namespace {

// The probe's state: one probe at a time, its window procedure runs on the dialog's thread.
struct RepaintProbe {
    WNDPROC original = nullptr;
    UINT message = 0;
    bool leftNothingToPaint = false;
};
RepaintProbe g_repaintProbe;

LRESULT CALLBACK repaintProbeProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message != g_repaintProbe.message)
        return CallWindowProcW(g_repaintProbe.original, hwnd, message, wParam, lParam);
    InvalidateRect(hwnd, nullptr, TRUE);
    LRESULT result = CallWindowProcW(g_repaintProbe.original, hwnd, message, wParam, lParam);
    g_repaintProbe.leftNothingToPaint = !GetUpdateRect(hwnd, nullptr, FALSE);
    return result;
}

} // namespace

bool repaintsAtOnceOn(HWND hDialog, UINT message, WPARAM wParam)
{
    g_repaintProbe = RepaintProbe();
    g_repaintProbe.message = message;
    g_repaintProbe.original = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(hDialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(repaintProbeProc)));
    if (!g_repaintProbe.original)
        return false;
    DWORD_PTR ignored = 0;
    bool answered = SendMessageTimeoutW(hDialog, message, wParam, 0, SMTO_NORMAL, 5000, &ignored) != 0;
    SetWindowLongPtrW(hDialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(g_repaintProbe.original));
    return answered && g_repaintProbe.leftNothingToPaint;
}

} // namespace dialogtest
