// Waiting with a deadline. A test polls what it can observe (a file, a window, a registry value)
// and gives up when the deadline passes, so a behaviour that never comes fails the test instead of
// hanging it. This thread's messages are dispatched while it waits, keeping its windows responsive.
#pragma once

#include <windows.h>

#include <functional>

namespace kivotest {

// True as soon as the condition holds; false once timeoutMs passed without it.
bool waitFor(const std::function<bool()>& condition, DWORD timeoutMs);
// Dispatches this thread's messages for the given time.
void pumpMessagesFor(DWORD ms);

} // namespace kivotest
