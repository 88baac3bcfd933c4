#include "KivoServeApp.h"

#include "DetachedLaunch.h"
#include "DirectionSettle.h"
#include "HtmlHelpLoader.h"
#include "KivoLib.h"
#include "KivoNames.h"
#include "KivoServeFrame.h"
#include "ReleasePtr.h"

#include <htmlhelp.h>

#include <string>

KivoServeApp::KivoServeApp() : m_hLocale(nullptr), m_observer(KIVO_SERVE_OBSERVER_NAME)
{
}

BOOL KivoServeApp::InitInstance()
{
    m_serveMutex.reset(CreateMutexW(nullptr, FALSE, KIVO_SERVE_MUTEX));

    HaltSwitch haltScope = parseHaltSwitch(m_lpCmdLine);
    if (haltScope != HaltSwitch::none) {
        halt(haltScope);
        return FALSE;
    }
    CString commandLine(m_lpCmdLine);
    if (commandLine.CompareNoCase(KIVO_SWITCH_FRONT) == 0) {
        setCameraDirection(KIVO_DIR_FRONT);
        return FALSE;
    }
    if (commandLine.CompareNoCase(KIVO_SWITCH_REAR) == 0) {
        setCameraDirection(KIVO_DIR_REAR);
        return FALSE;
    }
    return startResident();
}

// One service per session: the observer's session mutex tells whether one runs already.
BOOL KivoServeApp::startResident()
{
    if (m_observer.IsRunningUser())
        return FALSE;
    m_observer.m_pEvent = this;
    m_observer.Observe();

    CWinApp::InitInstance();
    m_hLocale = LoadLibraryW(KIVO_LOCALE_DLL);
    if (!m_hLocale)
        return FALSE;
    AfxSetResourceHandle(m_hLocale);

    KivoServeFrame* frame = new KivoServeFrame;
    m_pMainWnd = frame;
    if (!frame->GetSafeHwnd()) {
        // The frame logged why; a service without its window could never be reached.
        m_pMainWnd = nullptr;
        delete frame;
        return FALSE;
    }
    m_hFrameWnd = frame->GetSafeHwnd();
    // A request that came before the window existed ends this instance now. Either this check or
    // the observer's own post sees both the request and the window.
    if (m_bHaltRequested)
        ::PostMessageW(m_hFrameWnd, WM_CLOSE, 0, 0);
    return TRUE;
}

// The halt launches also end the settings programs of the same scope, through the settings program
// started with the same switch; it is not waited for.
void KivoServeApp::halt(HaltSwitch scope)
{
    bool all = scope == HaltSwitch::all;
    std::wstring kivoSetPath;
    GetKivoSetExePath(kivoSetPath);
    if (!kivoSetPath.empty())
        launchDetached(kivoSetPath.c_str(), all ? L" " KIVO_SWITCH_HALT_ALL : L" " KIVO_SWITCH_HALT);
    if (all)
        m_observer.ShutdownAll();
    else
        m_observer.ShutdownUser();
}

void KivoServeApp::setCameraDirection(DWORD direction)
{
    COrvUtilsApi utils;
    if (utils.Init() == 1) {
        utils.ChangeCameraDir(static_cast<int>(direction));
        utils.Release();
        Sleep(KIVO_DIRECTION_SETTLE_MS);
        if (ReleasePtr<ICameraPropertySettings> settings{CreateCameraPropertySettings(0)})
            settings->ResetDefaults();
    } else {
        WriteLog(L"KivoServeFrame::InitInstance() OrvUtils.dll Init failed.");
    }
}

int KivoServeApp::ExitInstance()
{
    WriteLog(L"KivoServeApp::ExitInstance()");
    // The frame uses the locale library's resources until it is gone.
    closeMainWindow();
    m_pMainWnd = nullptr;
    m_hFrameWnd = nullptr;
    if (m_hLocale) {
        AfxSetResourceHandle(AfxGetInstanceHandle());
        FreeLibrary(m_hLocale);
        m_hLocale = nullptr;
    }
    m_serveMutex.reset();
    return CWinApp::ExitInstance();
}

void KivoServeApp::closeMainWindow()
{
    if (m_pMainWnd && IsWindow(m_pMainWnd->GetSafeHwnd()))
        m_pMainWnd->DestroyWindow();
}

// Help always opens the whole help file, whatever the request asked for.
void KivoServeApp::WinHelp(DWORD_PTR, UINT)
{
    std::wstring chmPath;
    if (GetKivoSetChmPath(chmPath))
        HtmlHelpLoader::HtmlHelpW(nullptr, chmPath.c_str(), HH_DISPLAY_TOPIC, 0);
}

void KivoServeApp::OnShutdownAll()
{
    m_bHaltRequested = true;
    HWND hFrame = m_hFrameWnd;
    if (hFrame && IsWindow(hFrame))
        ::PostMessageW(hFrame, WM_CLOSE, 0, 0);
}

void KivoServeApp::OnShutdownUser()
{
    OnShutdownAll();
}
