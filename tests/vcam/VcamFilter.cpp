// vcam_filter: a filter window in a process of its own, for the tests and the latency benchmark.
// Opens an image access task on a camera with frame access and handles every WM_USER+1:
//   complete  hands the frame back untouched
//   fill      sets every byte of the frame to 0x5A, then hands it back
//   stall     never hands a frame back (to be killed); sets the event named with --held once it
//             holds one
//   late      holds each of the first three frames for 250 ms, then hands it back
// It signals the named event given with --ready once the task is open, and ends when the camera
// is closed or removed, or after --lifetime seconds.
#include "KivoLib.h"
#include "KivoNames.h"

#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

namespace {

struct FilterState {
    IImgFAccessTask* task = nullptr;
    std::wstring mode = L"complete";
    DWORD frames = 0;
    HANDLE hHeld = nullptr;
};

FilterState g_state;

LRESULT CALLBACK filterProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TASK_FRAME_READY: {
        ++g_state.frames;
        KIVO_FRAME_BUFFER* frame = nullptr;
        if (g_state.mode == L"stall") {
            if (g_state.hHeld)
                SetEvent(g_state.hHeld);
            return 0;
        }
        if (!g_state.task->CmdAcquireFrameBuffer(&frame) || !frame)
            return 0;
        if (g_state.mode == L"late" && g_state.frames <= 3)
            Sleep(250);
        if (g_state.mode == L"fill" && frame->pData)
            memset(frame->pData, 0x5A, frame->cbData);
        g_state.task->CompleteFrame();
        return 0;
    }
    case WM_TASK_DEVICE_CLOSE:
    case WM_TASK_DEVICE_REMOVE:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

int fail(const wchar_t* what)
{
    fwprintf(stderr, L"vcam_filter: %ls\n", what);
    return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    std::wstring stage, ready, held;
    DWORD camera = 0, lifetimeMs = 60000;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::wstring option = argv[i];
        if (option == L"--stage")
            stage = argv[i + 1];
        else if (option == L"--mode")
            g_state.mode = argv[i + 1];
        else if (option == L"--camera")
            camera = wcstoul(argv[i + 1], nullptr, 10);
        else if (option == L"--ready")
            ready = argv[i + 1];
        else if (option == L"--held")
            held = argv[i + 1];
        else if (option == L"--lifetime")
            lifetimeMs = wcstoul(argv[i + 1], nullptr, 10) * 1000;
        else
            return fail(L"usage: vcam_filter --stage DIR [--mode complete|fill|stall] [--camera N] [--ready EVENT] [--held EVENT] [--lifetime SEC]");
    }
    HMODULE hLib = LoadLibraryW((stage + L"\\KivoLib.dll").c_str());
    typedef IImgFAccessTask*(__cdecl * CreateFn)();
    auto create = hLib ? reinterpret_cast<CreateFn>(reinterpret_cast<void*>(GetProcAddress(hLib, "CreateImgFAccessTask")))
                       : nullptr;
    g_state.task = create ? create() : nullptr;
    if (!g_state.task)
        return fail(L"cannot load KivoLib.dll or create a task");

    WNDCLASSW wc = {};
    wc.lpfnWndProc = filterProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KivoVcamTestFilter";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"vcam filter", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                wc.hInstance, nullptr);
    if (!hwnd || g_state.task->Open(hwnd, camera) != KIVO_TASK_OK)
        return fail(L"cannot open the task");
    g_state.task->EnableFrameAccess(1);
    if (!ready.empty()) {
        HANDLE hReady = OpenEventW(EVENT_MODIFY_STATE, FALSE, ready.c_str());
        if (hReady) {
            SetEvent(hReady);
            CloseHandle(hReady);
        }
    }
    if (!held.empty())
        g_state.hHeld = OpenEventW(EVENT_MODIFY_STATE, FALSE, held.c_str());
    SetTimer(hwnd, 1, lifetimeMs, nullptr);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_TIMER)
            break;
        DispatchMessageW(&msg);
    }
    KIVO_FRAME_STATS stats = {sizeof(stats), 0, 0};
    g_state.task->GetFrameStats(&stats);
    wprintf(L"filter frames %lu processed %lu passed-through %lu\n", static_cast<unsigned long>(g_state.frames),
            static_cast<unsigned long>(stats.dwProcessed), static_cast<unsigned long>(stats.dwPassedThrough));
    g_state.task->Release();
    if (g_state.hHeld)
        CloseHandle(g_state.hHeld);
    DestroyWindow(hwnd);
    FreeLibrary(hLib);
    return 0;
}
