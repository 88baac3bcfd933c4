// Plays another process for the runtime tests:
//   RuntimeProbe observe NAME TAG   an observing instance: Observe, then report what its observer saw
//   RuntimeProbe halt NAME all|user a halting launch: set one shutdown event and end
//   RuntimeProbe log COUNT TAG      write COUNT log lines as soon as the test says go
// TAG names the events the test created: KivoProbeReady-TAG, KivoProbeReported-TAG,
// KivoProbeFinish-TAG, KivoProbeGo-TAG. Exit codes are in RuntimeProbeCodes.h.
#include "ObserveApp.h"
#include "KivoLib.h"
#include "RuntimeProbeCodes.h"
#include "ShutdownRecorder.h"

#include <atomic>
#include <cstdio>
#include <cwchar>
#include <string>

namespace {

const DWORD kDeadlineMs = 20000;
// A second report, if the observer re-armed, would follow the second request within this time.
const DWORD kSecondReportWindowMs = 250;

HANDLE openTagEvent(LPCWSTR stem, LPCWSTR tag)
{
    std::wstring name = std::wstring(stem) + tag;
    return OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name.c_str());
}

int observe(LPCWSTR name, LPCWSTR tag)
{
    HANDLE hReady = openTagEvent(L"KivoProbeReady-", tag);
    HANDLE hReported = openTagEvent(L"KivoProbeReported-", tag);
    HANDLE hFinish = openTagEvent(L"KivoProbeFinish-", tag);
    int rc = kProbeBadUse;
    if (hReady && hReported && hFinish) {
        ShutdownRecorder recorder;
        {
            CObserveApp app(name);
            app.m_pEvent = &recorder;
            if (!app.Observe()) {
                rc = kProbeObserveFailed;
            } else {
                SetEvent(hReady);
                if (WaitForSingleObject(recorder.m_hCalled, kDeadlineMs) == WAIT_OBJECT_0) {
                    SetEvent(hReported);
                    WaitForSingleObject(hFinish, kDeadlineMs);
                    WaitForSingleObject(recorder.m_hCalled, kSecondReportWindowMs);
                }
            }
        }
        if (rc == kProbeBadUse)
            rc = probeResult(recorder.m_firstKind, recorder.m_all + recorder.m_user);
    }
    for (HANDLE h : {hReady, hReported, hFinish}) {
        if (h)
            CloseHandle(h);
    }
    return rc;
}

int halt(LPCWSTR name, LPCWSTR which)
{
    CObserveApp app(name);
    if (_wcsicmp(which, L"all") == 0)
        return app.ShutdownAll() ? 0 : 1;
    if (_wcsicmp(which, L"user") == 0)
        return app.ShutdownUser() ? 0 : 1;
    return kProbeBadUse;
}

int writeLog(LPCWSTR countText, LPCWSTR tag)
{
    int count = _wtoi(countText);
    HANDLE hGo = openTagEvent(L"KivoProbeGo-", tag);
    if (count <= 0 || !hGo)
        return kProbeBadUse;
    DWORD wait = WaitForSingleObject(hGo, kDeadlineMs);
    CloseHandle(hGo);
    if (wait != WAIT_OBJECT_0)
        return kProbeBadUse;
    for (int i = 0; i < count; ++i)
        WriteLog(L"probe %lu line %d of %d %s", GetCurrentProcessId(), i, count,
                 L"padding-padding-padding-padding-padding-padding");
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc == 4 && wcscmp(argv[1], L"observe") == 0)
        return observe(argv[2], argv[3]);
    if (argc == 4 && wcscmp(argv[1], L"halt") == 0)
        return halt(argv[2], argv[3]);
    if (argc == 4 && wcscmp(argv[1], L"log") == 0)
        return writeLog(argv[2], argv[3]);
    fputws(L"usage: RuntimeProbe observe NAME TAG | halt NAME all|user | log COUNT TAG\n", stderr);
    return kProbeBadUse;
}
