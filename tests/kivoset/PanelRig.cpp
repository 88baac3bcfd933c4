#include "PanelRig.h"

#include "KivoNames.h"

#include <shlobj.h>

#include <algorithm>

namespace kivoset {

namespace {

const wchar_t kServeClass[] = L"KivoSetTestServe";

kivotest::LaunchOptions launchOptions(const std::wstring& folder, bool captureOutput = false)
{
    kivotest::LaunchOptions options;
    options.folder = folder;
    options.searchPath = kivotest::windowsSearchPath();   // libraries only where an installed program finds them
    options.captureOutput = captureOutput;
    return options;
}

} // namespace

PanelRig::PanelRig(const std::vector<std::wstring>& leaveOut)
    : m_folder(L"kivoset"), m_log(m_folder.file(L"kivo.log"))
{
    kivotest::stageEverything(m_folder.path(), leaveOut);
    CreateDirectoryW(file(L"data").c_str(), nullptr);
    m_logVariable = std::make_unique<kivotest::ScopedVariable>(L"KIVO_LOG_FILE", m_log.path());
    m_cameraVariable =
        std::make_unique<kivotest::ScopedVariable>(L"KIVO_VCAM_NAMESPACE", kivotest::uniqueName(L"kivoset"));

    WNDCLASSW wc = {};
    wc.lpfnWndProc = serveProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kServeClass;
    RegisterClassW(&wc);
    m_hServe = CreateWindowExW(0, kServeClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
    SetWindowLongPtrW(m_hServe, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));

    resetSettings();
    writeSetting(KIVO_VALUE_SERVE_HANDLE, DWORD(reinterpret_cast<UINT_PTR>(m_hServe)));
    writeSetting(KIVO_VALUE_CAMERA_IDX, 0);
    // The alert would stop the panel's thread in a modal loop; tests that want it clear this.
    writeSetting(KIVO_VALUE_NO_DISP_ALERT_EFFECT, 1);
}

PanelRig::~PanelRig()
{
    m_kivoSet.kill();
    m_capture.kill();
    DestroyWindow(m_hServe);
    resetSettings();
    WCHAR programData[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, 0, programData)))
        DeleteFileW((std::wstring(programData) + L"\\Kivo\\VirtualCamera\\device-" +
                     kivotest::environmentVariable(L"KIVO_VCAM_NAMESPACE") + L".bin")
                        .c_str());
}

LRESULT CALLBACK PanelRig::serveProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* rig = reinterpret_cast<PanelRig*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (rig && msg >= 0xC000) {
        ServeRecord& record = rig->m_record;
        if (msg == RegisterWindowMessageW(KIVO_MSG_KIVOSET_OPEN)) {
            record.names.push_back(L"open");
            record.openedPanel = reinterpret_cast<HWND>(wParam);
            record.openFlag = lParam;
            if (record.onOpen)
                record.onOpen();
            if (record.closeOnOpen)
                SendMessageW(record.openedPanel, WM_TASK_DEVICE_CLOSE, 0, 0);
            else if (lParam == 0)
                ShowWindow(record.openedPanel, SW_SHOWNOACTIVATE);
        } else if (msg == RegisterWindowMessageW(KIVO_MSG_KIVOSET_HIDE)) {
            record.names.push_back(L"hide");
        } else if (msg == RegisterWindowMessageW(KIVO_MSG_KIVOSET_CLOSE)) {
            record.names.push_back(L"close");
        } else if (msg == RegisterWindowMessageW(KIVO_MSG_KIVOSET_HELP)) {
            record.names.push_back(L"help");
        }
        return 0;
    }
    return DefWindowProcW(hWnd, msg, wParam, lParam);
}

size_t PanelRig::serveCount(const wchar_t* name) const
{
    return size_t(std::count(m_record.names.begin(), m_record.names.end(), name));
}

DWORD PanelRig::runTool(const wchar_t* exe, const std::wstring& arguments, std::string* output)
{
    kivotest::RunResult result =
        kivotest::runToEnd(file(exe), arguments, 20000, launchOptions(m_folder.path(), true));
    if (output)
        *output = result.output;
    return result.exitCode;
}

bool PanelRig::startCapture(const std::wstring& arguments, int camera)
{
    std::wstring frames = file(L"frames");
    kivotest::removeFolderTree(frames);
    CreateDirectoryW(frames.c_str(), nullptr);
    return m_capture.start(file(L"kivocap.exe"),
                           L"--camera " + std::to_wstring(camera) + L" --image bmp --out " + kivotest::quoted(frames) + L" " + arguments,
                           launchOptions(m_folder.path()));
}

std::vector<std::wstring> PanelRig::frameFiles() const
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW data;
    HANDLE hFind = FindFirstFileW(file(L"frames\\frame*.bmp").c_str(), &data);
    if (hFind == INVALID_HANDLE_VALUE)
        return files;
    do
        files.push_back(file(L"frames\\") + data.cFileName);
    while (FindNextFileW(hFind, &data));
    FindClose(hFind);
    std::sort(files.begin(), files.end());
    return files;
}

bool PanelRig::startKivoSet(const std::wstring& arguments)
{
    m_hPanel = nullptr;
    m_opensBefore = m_record.names.size();
    // Started from another folder: the panel finds its data beside itself.
    kivotest::LaunchOptions options = launchOptions(kivotest::programFolder());
    options.environment.push_back({L"WINEDEBUG", L"-all,warn+heap"});
    return m_kivoSet.start(file(L"KivoSet.exe"), arguments, options);
}

HWND PanelRig::waitForPanel(DWORD timeoutMs)
{
    auto opened = [&] {
        return std::find(m_record.names.begin() + m_opensBefore, m_record.names.end(), L"open") !=
               m_record.names.end();
    };
    if (kivotest::waitFor(opened, timeoutMs))
        m_hPanel = m_record.openedPanel;
    return m_hPanel;
}

HWND PanelRig::waitForDialog(const wchar_t* caption, DWORD timeoutMs) const
{
    struct Search {
        DWORD processId;
        HWND panel;
        const wchar_t* caption;
        HWND found;
    } search = {m_kivoSet.id(), m_hPanel, caption, nullptr};
    kivotest::waitFor(
        [&] {
            EnumWindows(
                [](HWND hWnd, LPARAM lParam) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(lParam);
                    DWORD processId = 0;
                    GetWindowThreadProcessId(hWnd, &processId);
                    WCHAR className[16] = {};
                    GetClassNameW(hWnd, className, ARRAYSIZE(className));
                    if (processId == s->processId && hWnd != s->panel && IsWindowVisible(hWnd) &&
                        wcscmp(className, L"#32770") == 0 && kivotest::windowText(hWnd) == s->caption) {
                        s->found = hWnd;
                        return FALSE;
                    }
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&search));
            return search.found != nullptr;
        },
        timeoutMs);
    return search.found;
}

void PanelRig::chooseEntry(int listId, int entry)
{
    HWND list = control(listId);
    SendMessageW(list, CB_SETCURSEL, entry, 0);
    SendMessageW(m_hPanel, WM_COMMAND, MAKEWPARAM(listId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

std::wstring PanelRig::waitForFrame(bool (*test)(const Picture&), DWORD timeoutMs)
{
    size_t next = frameFiles().size();
    std::wstring found;
    kivotest::waitFor(
        [&] {
            std::vector<std::wstring> files = frameFiles();
            // The newest file may still be being written: look at those before it.
            for (; next + 1 < files.size(); ++next) {
                size_t i = next;
                Picture picture;
                if (readBmp(files[i], picture) && test(picture)) {
                    found = files[i];
                    return true;
                }
            }
            return false;
        },
        timeoutMs);
    return found;
}

} // namespace kivoset

namespace kivoset {

std::vector<Picture> PanelRig::nextFrames(size_t count, DWORD timeoutMs)
{
    size_t next = frameFiles().size();
    std::vector<Picture> pictures;
    kivotest::waitFor(
        [&] {
            std::vector<std::wstring> files = frameFiles();
            for (; next + 1 < files.size() && pictures.size() < count; ++next) {
                Picture picture;
                if (readBmp(files[next], picture))
                    pictures.push_back(picture);
            }
            return pictures.size() >= count;
        },
        timeoutMs);
    return pictures;
}

void PanelRig::shot(const wchar_t* name, HWND window) const
{
    std::wstring folder = kivotest::environmentVariable(L"KIVO_SHOT_DIR");
    if (!window)
        window = m_hPanel;
    if (folder.empty() || !IsWindow(window))
        return;
    kivotest::pumpMessagesFor(300);
    RECT rect;
    GetWindowRect(window, &rect);
    LONG width = rect.right - rect.left, height = rect.bottom - rect.top;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    SelectObject(memory, old);
    size_t stride = ((size_t(width) * 3 + 3) / 4) * 4;
    kivotest::writeBmp(folder + L"\\" + name + L".bmp", info.bmiHeader, bits, stride * height);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

} // namespace kivoset
