#include "PanelRig.h"
#include "FrameLayout.h"

#include "KivoNames.h"

#include <shlobj.h>

#include <algorithm>
#include <fstream>

namespace kivoset {

namespace {

const wchar_t kServeClass[] = L"KivoSetTestServe";

// Processes of the installation find libraries only where an installed program would.
std::wstring systemSearchPath()
{
    WCHAR windows[MAX_PATH];
    UINT n = GetWindowsDirectoryW(windows, MAX_PATH);
    std::wstring folder(windows, n);
    return folder + L"\\system32;" + folder;
}

kivotest::LaunchOptions launchOptions(const std::wstring& folder, bool captureOutput = false)
{
    kivotest::LaunchOptions options;
    options.folder = folder;
    options.searchPath = systemSearchPath();
    options.captureOutput = captureOutput;
    return options;
}

} // namespace

COLORREF Picture::at(LONG x, LONG y) const
{
    const BYTE* p = &bgr[(size_t(y) * width + x) * 3];
    return RGB(p[2], p[1], p[0]);
}

bool readBmp(const std::wstring& path, Picture& picture)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    BITMAPFILEHEADER file = {};
    BITMAPINFOHEADER info = {};
    if (!in.read(reinterpret_cast<char*>(&file), sizeof(file)) || !in.read(reinterpret_cast<char*>(&info), sizeof(info)))
        return false;
    if (file.bfType != 0x4D42 || (info.biBitCount != 24 && info.biBitCount != 32) || info.biWidth <= 0 ||
        info.biHeight == 0)
        return false;
    LONG rows = info.biHeight < 0 ? -info.biHeight : info.biHeight;
    size_t pixelBytes = info.biBitCount / 8;
    size_t stride = size_t(kivo::dibStride(info.biWidth, info.biBitCount));
    std::vector<BYTE> pixels(stride * rows);
    in.seekg(file.bfOffBits);
    if (!in.read(reinterpret_cast<char*>(pixels.data()), std::streamsize(pixels.size())))
        return false;
    picture.width = info.biWidth;
    picture.height = rows;
    picture.bgr.resize(size_t(info.biWidth) * 3 * rows);
    for (LONG y = 0; y < rows; ++y) {
        LONG source = info.biHeight > 0 ? rows - 1 - y : y;
        for (LONG x = 0; x < info.biWidth; ++x)
            std::copy_n(&pixels[stride * source + x * pixelBytes], 3, &picture.bgr[(size_t(y) * info.biWidth + x) * 3]);
    }
    return true;
}

bool writeBmp(const std::wstring& path, LONG width, LONG height, COLORREF (*colourAt)(LONG x, LONG y))
{
    size_t stride = size_t(kivo::dibStride(width, 24));
    std::vector<BYTE> pixels(stride * height);
    for (LONG y = 0; y < height; ++y) {
        for (LONG x = 0; x < width; ++x) {
            COLORREF c = colourAt(x, height - 1 - y);
            BYTE* p = &pixels[stride * y + size_t(x) * 3];
            p[0] = GetBValue(c);
            p[1] = GetGValue(c);
            p[2] = GetRValue(c);
        }
    }
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height;
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biSizeImage = DWORD(pixels.size());
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + info.biSizeImage;
    std::ofstream out(path.c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info), sizeof(info));
    out.write(reinterpret_cast<const char*>(pixels.data()), std::streamsize(pixels.size()));
    return bool(out);
}

void resetSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY);
}

bool readSetting(const wchar_t* name, DWORD& value)
{
    DWORD size = sizeof(value);
    return RegGetValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, RRF_RT_REG_DWORD, nullptr, &value, &size) ==
           ERROR_SUCCESS;
}

void writeSetting(const wchar_t* name, DWORD value)
{
    RegSetKeyValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, REG_DWORD, &value, sizeof(value));
}

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
    size_t stride = size_t(kivo::dibStride(width, 24));
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info.bmiHeader);
    file.bfSize = DWORD(file.bfOffBits + stride * height);
    std::ofstream out((folder + L"\\" + name + L".bmp").c_str(), std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof(file));
    out.write(reinterpret_cast<const char*>(&info.bmiHeader), sizeof(info.bmiHeader));
    out.write(static_cast<const char*>(bits), std::streamsize(stride * height));
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
}

} // namespace kivoset
