#include "HaltSwitch.h"

#include "KivoNames.h"

#include <cwchar>

HaltSwitch parseHaltSwitch(LPCWSTR commandTail)
{
    LPCWSTR tail = commandTail ? commandTail : L"";
    if (_wcsicmp(tail, KIVO_SWITCH_HALT_ALL) == 0)
        return HaltSwitch::all;
    if (_wcsicmp(tail, KIVO_SWITCH_HALT) == 0)
        return HaltSwitch::session;
    return HaltSwitch::none;
}
