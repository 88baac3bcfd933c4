// kivofx: rewrites every frame that a capturing application receives from a camera with the product
// library's effects, the way the settings panel does: an image access task with frame access on a
// hidden window, each frame rewritten in place through IKivoLib and handed on.
#include "KivoLib.h"
#include "KivoNames.h"
#include "ParseNumber.h"
#include "ToolExit.h"

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const UINT kFirstFrameId = 10000;

const wchar_t kUsageText[] =
    L"Usage: kivofx [--camera N] [--frame K] [--zoom 0|1|2] [--seconds S]\n"
    L"Applies the product library's effects to every frame a capturing application receives from\n"
    L"camera N, until the application closes the camera or S seconds have passed.\n"
    L"\n"
    L"  --camera N    camera index (0)\n"
    L"  --frame K     decorative frame K of the library, numbered as the settings panel's frame\n"
    L"                chooser numbers them: K is bitmap 10000+K, 1..5 here (0: none)\n"
    L"  --zoom Z      0 none, 1 the first zoom step, 2 the second (0)\n"
    L"  --seconds S   give up after S seconds without the camera closing (60)\n"
    L"  --help        this text\n"
    L"\n"
    L"Exit codes: 0 the camera closed, 1 the library or camera failed, 2 bad command line.\n";

struct Options {
    DWORD camera = 0;
    int frame = 0;
    int zoom = 0;
    DWORD seconds = 60;
};

struct Filter {
    IImgFAccessTask* task = nullptr;
    IKivoLib* effects = nullptr;
    HBITMAP frameBitmap = nullptr;
    DWORD flags = 0;
    DWORD processed = 0;
    DWORD failed = 0;
    bool opened = false;
    bool closed = false;
};

Filter g_filter;


int parseOptions(int argc, wchar_t** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        std::wstring option = argv[i];
        if (option == L"--help" || option == L"-h") {
            fputws(kUsageText, stdout);
            return -1;
        }
        const wchar_t* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long v = 0;
        bool ok = false;
        if (option == L"--camera" && (ok = parseNumber(value, 0, 63, v)))
            options.camera = DWORD(v);
        else if (option == L"--frame" && (ok = parseNumber(value, 0, 999, v)))
            options.frame = int(v);
        else if (option == L"--zoom" && (ok = parseNumber(value, 0, 2, v)))
            options.zoom = int(v);
        else if (option == L"--seconds" && (ok = parseNumber(value, 1, 3600, v)))
            options.seconds = DWORD(v);
        if (!ok)
            return usageError(L"kivofx", L"bad option or value: " + option + L" " + (value ? value : L""));
        ++i;
    }
    return kOk;
}

void processFrame()
{
    KIVO_FRAME_BUFFER* frame = nullptr;
    if (g_filter.task->CmdAcquireFrameBuffer(&frame) && frame && frame->pData) {
        if (g_filter.effects->ApplyFrameEffect(frame, nullptr, g_filter.frameBitmap, g_filter.flags))
            ++g_filter.processed;
        else
            ++g_filter.failed;
    }
    g_filter.task->CompleteFrame();
}

LRESULT CALLBACK filterProc(HWND hWnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_TASK_FRAME_READY:
        processFrame();
        return 0;
    case WM_TASK_DEVICE_OPEN:
        g_filter.opened = true;
        wprintf(L"kivofx: camera %lu opened\n", static_cast<unsigned long>(wParam));
        return 0;
    case WM_TASK_DEVICE_CLOSE:
    case WM_TASK_DEVICE_REMOVE:
        g_filter.closed = true;
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcW(hWnd, msg, wParam, lParam);
    }
}

HWND createFilterWindow()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = filterProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KivoFxFilter";
    if (!RegisterClassW(&wc))
        return nullptr;
    return CreateWindowExW(0, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
}

// Runs the window's messages until the camera closes or the time is up.
void pumpUntilClosed(DWORD seconds)
{
    UINT_PTR timer = SetTimer(nullptr, 0, seconds * 1000, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER && msg.hwnd == nullptr && msg.wParam == timer)
            break;
        DispatchMessageW(&msg);
    }
    KillTimer(nullptr, timer);
}

int run(const Options& options)
{
    HWND hWnd = createFilterWindow();
    g_filter.effects = CreateKivoLib();
    g_filter.task = CreateImgFAccessTask();
    if (!hWnd || !g_filter.effects || !g_filter.task) {
        fwprintf(stderr, L"kivofx: the product library is not available\n");
        return kFailed;
    }
    if (options.frame > 0) {
        // Index 0 of the panel's frame list is bitmap 10000, its "no frame" entry; index K is 10000+K.
        g_filter.frameBitmap = ImageFactory::CreateBitmap(kFirstFrameId + UINT(options.frame), 0, 0);
        if (!g_filter.frameBitmap) {
            fwprintf(stderr, L"kivofx: the library has no frame %d\n", options.frame);
            return kFailed;
        }
        g_filter.flags |= kivo::kEffectFrameMask;   // the overlay is on with all four bits, as the panel sets it
    }
    if (options.zoom == 1)
        g_filter.flags |= kivo::kEffectZoom1;
    else if (options.zoom == 2)
        g_filter.flags |= kivo::kEffectZoom2;

    DWORD result = g_filter.task->Open(hWnd, options.camera);
    if (result != KIVO_TASK_OK) {
        fwprintf(stderr, L"kivofx: cannot watch camera %lu (result %lu)\n", static_cast<unsigned long>(options.camera),
                 static_cast<unsigned long>(result));
        return kFailed;
    }
    g_filter.task->EnableFrameAccess(1);
    wprintf(L"kivofx: watching camera %lu with effect flags 0x%03lx\n", static_cast<unsigned long>(options.camera),
            static_cast<unsigned long>(g_filter.flags));
    fflush(stdout);
    pumpUntilClosed(options.seconds);

    wprintf(L"kivofx: %lu frames rewritten, %lu refused by the library\n",
            static_cast<unsigned long>(g_filter.processed), static_cast<unsigned long>(g_filter.failed));
    g_filter.task->Release();
    g_filter.effects->Release();
    if (g_filter.frameBitmap)
        DeleteObject(g_filter.frameBitmap);
    DestroyWindow(hWnd);
    return g_filter.closed ? kOk : kFailed;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    Options options;
    int rc = parseOptions(argc, argv, options);
    if (rc == -1)
        return kOk;
    if (rc != kOk)
        return rc;
    return run(options);
}
