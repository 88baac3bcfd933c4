#include "Wait.h"

namespace kivotest {

namespace {

const DWORD kPollMs = 10;

void dispatchPending()
{
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

} // namespace

bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs)
{
    const ULONGLONG start = GetTickCount64();
    for (;;) {
        dispatchPending();
        if (condition())
            return true;
        ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= timeoutMs)
            return false;
        DWORD left = DWORD(timeoutMs - elapsed);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left < kPollMs ? left : kPollMs, QS_ALLINPUT);
    }
}

void pumpMessagesFor(DWORD ms)
{
    waitFor([] { return false; }, ms);
}

} // namespace kivotest
