// A program of the framework, started by the tests with exact command lines. It writes what it
// sees to the file named by KIVO_PROBE_OUT.
#include "afxwin.h"

#include "ProbeIds.h"
#include "ProbeRecord.h"

#include <cstdio>

namespace {

using probe::record;

class ProbeFrame : public CFrameWnd {
protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        record("OnCreate");
        return CFrameWnd::OnCreate(cs);
    }
    afx_msg void OnDestroy()
    {
        record("OnDestroy");
        CFrameWnd::OnDestroy();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(ProbeFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

class ProbeApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        char line[512];
        _snprintf(line, sizeof(line) - 1, "InitInstance [%ls]", m_lpCmdLine);
        line[sizeof(line) - 1] = '\0';
        record(line);
        if (CString(m_lpCmdLine).CompareNoCase(L"/run") != 0)
            return FALSE;
        auto* frame = new ProbeFrame;
        if (!frame->Create(nullptr, L"probe"))
            return FALSE;
        m_pMainWnd = frame;
        frame->PostMessage(WM_CLOSE);
        return TRUE;
    }
    int ExitInstance() override
    {
        record("ExitInstance");
        return CWinApp::ExitInstance() + kProbeExitBase;
    }
};

ProbeApp theApp;

} // namespace
