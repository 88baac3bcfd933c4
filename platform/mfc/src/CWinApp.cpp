// The application object, its message loop and the framework's program entry.
#include "afxwin.h"

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AFXAPI AfxGetApp()
{
    return g_pApp;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    return g_pApp ? g_pApp->m_pMainWnd : nullptr;
}

void AFXAPI AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

BOOL CWinThread::InitInstance()
{
    return FALSE;
}

int CWinThread::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

// Walks from the message's window up through its parents, letting each bound object take it.
BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    for (HWND hWnd = pMsg->hwnd; hWnd; hWnd = ::GetParent(hWnd)) {
        CWnd* pWnd = CWnd::FromHandlePermanent(hWnd);
        if (pWnd && pWnd->PreTranslateMessage(pMsg))
            return TRUE;
        if (m_pMainWnd && hWnd == m_pMainWnd->m_hWnd)
            return FALSE;
    }
    return m_pMainWnd && pMsg->hwnd != m_pMainWnd->m_hWnd ? m_pMainWnd->PreTranslateMessage(pMsg) : FALSE;
}

int CWinThread::Run()
{
    for (;;) {
        BOOL got = ::GetMessageW(&m_msgCur, nullptr, 0, 0);
        if (got == 0 || got == -1)
            return ExitInstance();
        if (!PreTranslateMessage(&m_msgCur)) {
            ::TranslateMessage(&m_msgCur);
            ::DispatchMessageW(&m_msgCur);
        }
    }
}

CWinApp::CWinApp(LPCWSTR lpszAppName)
{
    g_pApp = this;
    if (lpszAppName)
        m_strAppName = lpszAppName;
}

CWinApp::~CWinApp()
{
    if (g_pApp == this)
        g_pApp = nullptr;
}

BOOL CWinApp::InitInstance()
{
    return TRUE;
}

int CWinApp::ExitInstance()
{
    return CWinThread::ExitInstance();
}

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    ::WinHelpW(m_pMainWnd ? m_pMainWnd->m_hWnd : nullptr, m_pszHelpFilePath, nCmd, dwData);
}

LPWSTR AFXAPI AfxGetCommandTail(LPWSTR p)
{
    if (!p)
        return nullptr;
    if (*p == L'"') {
        // A quoted program name ends at the next quote.
        ++p;
        while (*p && *p != L'"')
            ++p;
        if (*p == L'"')
            ++p;
    } else {
        while (*p > L' ')
            ++p;
    }
    while (*p && *p <= L' ')
        ++p;
    return p;
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE, LPWSTR, int nCmdShow)
{
    CWinApp* pApp = AfxGetApp();
    if (!pApp)
        return -1;
    pApp->m_hInstance = hInstance;
    pApp->m_lpCmdLine = AfxGetCommandTail(::GetCommandLineW());
    pApp->m_nCmdShow = nCmdShow;

    if (!pApp->InitInstance()) {
        if (pApp->m_pMainWnd)
            pApp->m_pMainWnd->DestroyWindow();
        return pApp->ExitInstance();
    }
    return pApp->Run();
}
