#include "ObserveApp.h"

#include "ObserverSecurity.h"

#include <cwchar>
#include <memory>
#include <new>

namespace {

const WCHAR kMutexUserPattern[] = L"%s-MutexUser";
const WCHAR kMutexAllPattern[] = L"Global\\%s-MutexAll";
const WCHAR kShutdownUserPattern[] = L"%s-Shutdown-User";
const WCHAR kShutdownAllPattern[] = L"Global\\%s-Shutdown-All";

// A thread that does not end this long after its stop request is terminated.
const DWORD kStopThreadTimeoutMs = 2000;

struct NameDeleter {
    void operator()(LPWSTR p) const { delete[] p; }
};
using NameBuffer = std::unique_ptr<WCHAR[], NameDeleter>;

} // namespace

CObserveApp::CObserveApp(LPCWSTR name)
    : m_pszName(nullptr), m_pEvent(nullptr)
{
    if (!name)
        return;
    size_t length = wcslen(name);
    m_pszName = new (std::nothrow) WCHAR[length + 1];
    if (!m_pszName)
        return;
    wcscpy(m_pszName, name);
    m_hShutdownUser = createOrOpenEvent(kShutdownUserPattern);
    m_hShutdownAll = createOrOpenEvent(kShutdownAllPattern);
}

CObserveApp::~CObserveApp()
{
    if (m_hStopEvent) {
        SetEvent(m_hStopEvent.get());
        Sleep(0);
        if (m_hStopEvent)
            SetEvent(m_hStopEvent.get());
    }
    StopThread();
    // The instance markers go before the shutdown events.
    m_hMutexUser.reset();
    m_hMutexAll.reset();
    m_hShutdownUser.reset();
    m_hShutdownAll.reset();
    delete[] m_pszName;
    m_pszName = nullptr;
}

bool CObserveApp::IsRunningUser()
{
    return isRunning(kMutexUserPattern);
}

bool CObserveApp::IsRunningAll()
{
    return isRunning(kMutexAllPattern);
}

bool CObserveApp::ShutdownUser()
{
    return m_hShutdownUser && SetEvent(m_hShutdownUser.get());
}

bool CObserveApp::ShutdownAll()
{
    return m_hShutdownAll && SetEvent(m_hShutdownAll.get());
}

bool CObserveApp::Observe()
{
    if (!m_hMutexUser)
        m_hMutexUser = createOrOpenMutex(kMutexUserPattern);
    bool holdsUser = false;
    if (m_hMutexUser) {
        // Takes ownership when nobody holds it; the marker is the object's existence either way.
        WaitForSingleObject(m_hMutexUser.get(), 0);
        holdsUser = true;
    }
    if (!m_hMutexAll)
        m_hMutexAll = createOrOpenMutex(kMutexAllPattern);
    if (m_hMutexAll)
        WaitForSingleObject(m_hMutexAll.get(), 0);

    ObserveShutdown();
    return holdsUser;
}

bool CObserveApp::ObserveShutdown()
{
    StopThread();
    m_hStopEvent.reset(CreateEventW(nullptr, FALSE, FALSE, nullptr));
    m_hThread.reset(CreateThread(nullptr, 0, &CObserveApp::observerThread, this, 0, nullptr));
    return static_cast<bool>(m_hThread);
}

DWORD WINAPI CObserveApp::observerThread(LPVOID param)
{
    static_cast<CObserveApp*>(param)->runObserver();
    return 0;
}

// One pass: the first of stop, machine-wide or session shutdown ends it. The wait needs no time-out
// of its own: StopThread sets the stop event and bounds the wait for this thread.
void CObserveApp::runObserver()
{
    HANDLE handles[3] = {m_hStopEvent.get(), m_hShutdownAll.get(), m_hShutdownUser.get()};
    DWORD result = WaitForMultipleObjects(3, handles, FALSE, INFINITE);
    if (result == WAIT_OBJECT_0 + 1) {
        if (m_pEvent)
            m_pEvent->OnShutdownAll();
    } else if (result == WAIT_OBJECT_0 + 2) {
        if (m_pEvent)
            m_pEvent->OnShutdownUser();
    }
}

bool CObserveApp::StopThread()
{
    bool stopped = true;
    if (m_hThread) {
        SetEvent(m_hStopEvent.get());
        if (WaitForSingleObject(m_hThread.get(), kStopThreadTimeoutMs) == WAIT_TIMEOUT) {
            TerminateThread(m_hThread.get(), 0);
            stopped = false;
        }
        m_hThread.reset();
    }
    m_hStopEvent.reset();
    return stopped;
}

// The object name for a pattern with one %s, in a new buffer; null when there is no base name or
// no memory.
LPWSTR CObserveApp::formatName(LPCWSTR pattern) const
{
    if (!m_pszName)
        return nullptr;
    // The pattern's own "%s" leaves room for the terminator.
    size_t cch = wcslen(m_pszName) + wcslen(pattern) + 1;
    LPWSTR buffer = new (std::nothrow) WCHAR[cch];
    if (!buffer)
        return nullptr;
    _snwprintf(buffer, cch, pattern, m_pszName);
    buffer[cch - 1] = L'\0';
    return buffer;
}

bool CObserveApp::isRunning(LPCWSTR pattern) const
{
    NameBuffer name(formatName(pattern));
    if (!name)
        return false;
    return static_cast<bool>(UniqueHandle(OpenMutexW(SYNCHRONIZE, FALSE, name.get())));
}

UniqueHandle CObserveApp::createOrOpenMutex(LPCWSTR pattern) const
{
    NameBuffer name(formatName(pattern));
    if (!name)
        return UniqueHandle();
    ObserverSecurity security;
    UniqueHandle mutex(CreateMutexW(security.attributes(), FALSE, name.get()));
    if (!mutex)
        mutex.reset(OpenMutexW(SYNCHRONIZE, FALSE, name.get()));
    return mutex;
}

UniqueHandle CObserveApp::createOrOpenEvent(LPCWSTR pattern) const
{
    NameBuffer name(formatName(pattern));
    if (!name)
        return UniqueHandle();
    ObserverSecurity security;
    UniqueHandle event(CreateEventW(security.attributes(), TRUE, FALSE, name.get()));
    if (!event)
        event.reset(OpenEventW(EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, name.get()));
    return event;
}
