// The instance observer between real processes: instance markers, shutdown requests reaching the
// right observers once, requests that vanish with their process, and the objects' access list.
#include "ObserveApp.h"

#include "RuntimeProbeCodes.h"
#include "ProbeEvents.h"
#include "ShutdownRecorder.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include <atomic>
#include <memory>

using namespace kivotest;

namespace {

const DWORD kDeadlineMs = 15000;

std::wstring observerName()
{
    return uniqueName(L"KivoTest APP");
}

// An observing RuntimeProbe and the events through which it reports.
struct ObservingProbe {
    ObserverProbeEvents events;
    TestProcess process;

    explicit ObservingProbe(const std::wstring& name) : events(uniqueName(L"observe"))
    {
        EXPECT_TRUE(process.start(runtimeProbe(), L"observe \"" + name + L"\" " + events.tag));
    }
    bool waitReady() { return events.ready.waitSet(kDeadlineMs); }
    // Lets the probe end and returns its result code, or 0 when it did not end in time.
    DWORD finish()
    {
        events.finish.set();
        return process.waitExit(kDeadlineMs) ? process.exitCode() : 0;
    }
};

DWORD runHalt(const std::wstring& name, const wchar_t* which)
{
    TestProcess halter;
    if (!halter.start(runtimeProbe(), L"halt \"" + name + L"\" " + which))
        return MAXDWORD;
    return halter.waitExit(kDeadlineMs) ? halter.exitCode() : MAXDWORD;
}

TEST(ObserveAppTest, RunningInstanceIsSeenUntilItsProcessEnds)
{
    std::wstring name = observerName();
    CObserveApp launch(name.c_str());
    EXPECT_FALSE(launch.IsRunningUser());
    EXPECT_FALSE(launch.IsRunningAll());

    ObservingProbe first(name);
    ASSERT_TRUE(first.waitReady());
    EXPECT_TRUE(launch.IsRunningUser());
    EXPECT_TRUE(launch.IsRunningAll());

    // Only this session's instances are asked; the probe reports it once and ends.
    EXPECT_TRUE(launch.ShutdownUser());
    ASSERT_TRUE(first.events.reported.waitSet(kDeadlineMs));
    EXPECT_EQ(DWORD(probeResult(kProbeKindUser, 1)), first.finish());

    EXPECT_FALSE(launch.IsRunningUser()) << "the instance marker outlived its process";
    EXPECT_FALSE(launch.IsRunningAll());
}

TEST(ObserveAppTest, ShutdownAllReachesEveryObserverOfThatNameAndNoOther)
{
    std::wstring name = observerName();
    std::wstring otherName = observerName();
    ObservingProbe first(name), second(name), other(otherName);
    ASSERT_TRUE(first.waitReady());
    ASSERT_TRUE(second.waitReady());
    ASSERT_TRUE(other.waitReady());

    EXPECT_EQ(0u, runHalt(name, L"all"));
    ASSERT_TRUE(first.events.reported.waitSet(kDeadlineMs));
    ASSERT_TRUE(second.events.reported.waitSet(kDeadlineMs));
    EXPECT_EQ(DWORD(probeResult(kProbeKindAll, 1)), first.finish());
    EXPECT_EQ(DWORD(probeResult(kProbeKindAll, 1)), second.finish());

    EXPECT_FALSE(other.events.reported.waitSet(0)) << "an observer of another name took the request";
    EXPECT_EQ(0u, runHalt(otherName, L"user"));
    ASSERT_TRUE(other.events.reported.waitSet(kDeadlineMs));
    EXPECT_EQ(DWORD(probeResult(kProbeKindUser, 1)), other.finish());
}

TEST(ObserveAppTest, ObserverReportsTheFirstRequestOnly)
{
    std::wstring name = observerName();
    ObservingProbe probe(name);
    ASSERT_TRUE(probe.waitReady());
    CObserveApp launch(name.c_str());

    EXPECT_TRUE(launch.ShutdownAll());
    ASSERT_TRUE(probe.events.reported.waitSet(kDeadlineMs));
    EXPECT_TRUE(launch.ShutdownUser());
    EXPECT_TRUE(launch.ShutdownAll());
    EXPECT_EQ(DWORD(probeResult(kProbeKindAll, 1)), probe.finish());
}

TEST(ObserveAppTest, RequestWithoutObserverVanishesWithItsProcess)
{
    std::wstring name = observerName();
    EXPECT_EQ(0u, runHalt(name, L"all"));

    ObservingProbe probe(name);
    ASSERT_TRUE(probe.waitReady());
    CObserveApp launch(name.c_str());
    EXPECT_TRUE(launch.ShutdownUser());
    ASSERT_TRUE(probe.events.reported.waitSet(kDeadlineMs));
    // Had the old machine-wide request survived, it would have been reported first.
    EXPECT_EQ(DWORD(probeResult(kProbeKindUser, 1)), probe.finish());
}

TEST(ObserveAppTest, HaltingLaunchDoesNotTakeItsOwnRequest)
{
    std::wstring name = observerName();
    ShutdownRecorder listener;
    CObserveApp halting(name.c_str());
    halting.m_pEvent = &listener;
    ObservingProbe running(name);
    ASSERT_TRUE(running.waitReady());

    EXPECT_TRUE(halting.ShutdownAll());
    ASSERT_TRUE(running.events.reported.waitSet(kDeadlineMs));
    EXPECT_EQ(DWORD(probeResult(kProbeKindAll, 1)), running.finish());
    EXPECT_EQ(WAIT_TIMEOUT, WaitForSingleObject(listener.m_hCalled, 0));
}

TEST(ObserveAppTest, ListenerIsCalledOnTheObserverThreadAndStopIsPrompt)
{
    std::wstring name = observerName();
    ShutdownRecorder listener;
    {
        CObserveApp app(name.c_str());
        app.m_pEvent = &listener;
        ASSERT_TRUE(app.Observe());
        EXPECT_TRUE(app.Observe()) << "observing again restarts the thread";
        CObserveApp other(name.c_str());
        EXPECT_TRUE(other.ShutdownUser());
        ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(listener.m_hCalled, kDeadlineMs));
        EXPECT_NE(GetCurrentThreadId(), listener.m_threadId.load());
    }
    EXPECT_EQ(1, listener.m_user.load());
    EXPECT_EQ(0, listener.m_all.load());

    // A waiting observer ends at once when its object is destroyed, and its markers go with it.
    std::wstring waitingName = observerName();
    auto waiting = std::make_unique<CObserveApp>(waitingName.c_str());
    ASSERT_TRUE(waiting->Observe());
    ULONGLONG start = GetTickCount64();
    waiting.reset();
    EXPECT_LT(GetTickCount64() - start, 1000u);
    EXPECT_FALSE(CObserveApp(waitingName.c_str()).IsRunningUser());
}

TEST(ObserveAppTest, WithoutNameEverythingFailsQuietly)
{
    CObserveApp app(nullptr);
    EXPECT_FALSE(app.IsRunningUser());
    EXPECT_FALSE(app.IsRunningAll());
    EXPECT_FALSE(app.ShutdownUser());
    EXPECT_FALSE(app.ShutdownAll());
    EXPECT_FALSE(app.Observe());
}

// --- the objects' access list ---

PSID everyoneSid()
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID sid = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &sid);
    return sid;
}

// Deny WRITE_DAC|WRITE_OWNER to Everyone, then allow GENERIC_ALL to Everyone, nothing else.
void expectObserverDacl(HANDLE hObject)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, GetSecurityInfo(hObject, SE_KERNEL_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                                             nullptr, &dacl, nullptr, &descriptor));
    ASSERT_NE(nullptr, dacl);
    PSID everyone = everyoneSid();
    ASSERT_EQ(2, dacl->AceCount);
    void* ace = nullptr;
    ASSERT_TRUE(GetAce(dacl, 0, &ace));
    auto* denied = static_cast<ACCESS_DENIED_ACE*>(ace);
    EXPECT_EQ(ACCESS_DENIED_ACE_TYPE, denied->Header.AceType);
    EXPECT_EQ(DWORD(WRITE_DAC | WRITE_OWNER), denied->Mask);
    EXPECT_TRUE(EqualSid(everyone, &denied->SidStart));
    ASSERT_TRUE(GetAce(dacl, 1, &ace));
    auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    EXPECT_EQ(ACCESS_ALLOWED_ACE_TYPE, allowed->Header.AceType);
    EXPECT_EQ(DWORD(GENERIC_ALL), allowed->Mask);
    EXPECT_TRUE(EqualSid(everyone, &allowed->SidStart));
    FreeSid(everyone);
    LocalFree(descriptor);
}

// The deny entry only binds other accounts: an object's owner keeps READ_CONTROL and WRITE_DAC, and
// Wine's single account holds the take-ownership privilege, so the list itself is what is checked.
TEST(ObserveAppTest, ObjectsLetEveryoneUseThemButNotChangeTheirDacl)
{
    std::wstring name = observerName();
    CObserveApp app(name.c_str());
    ASSERT_TRUE(app.Observe());

    const std::wstring events[] = {name + L"-Shutdown-User", L"Global\\" + name + L"-Shutdown-All"};
    for (const std::wstring& event : events) {
        SCOPED_TRACE(testing::Message() << "event " << std::string(event.begin(), event.end()));
        HANDLE hEvent = OpenEventW(READ_CONTROL | EVENT_MODIFY_STATE | SYNCHRONIZE, FALSE, event.c_str());
        ASSERT_NE(nullptr, hEvent);
        expectObserverDacl(hEvent);
        CloseHandle(hEvent);
    }
    const std::wstring mutexes[] = {name + L"-MutexUser", L"Global\\" + name + L"-MutexAll"};
    for (const std::wstring& mutex : mutexes) {
        SCOPED_TRACE(testing::Message() << "mutex " << std::string(mutex.begin(), mutex.end()));
        HANDLE hMutex = OpenMutexW(READ_CONTROL | SYNCHRONIZE, FALSE, mutex.c_str());
        ASSERT_NE(nullptr, hMutex);
        expectObserverDacl(hMutex);
        CloseHandle(hMutex);
    }
}

} // namespace
