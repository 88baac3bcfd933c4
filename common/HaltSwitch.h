// The halt switches both programs accept: "/HaltAll" asks every instance on the machine to end,
// "/Halt" those of this session.
#pragma once

#include <windows.h>

enum class HaltSwitch { none, all, session };

// The switch that is the whole command tail, in any letter case; none for anything else (a null
// tail, other switches, a switch with a blank after it).
HaltSwitch parseHaltSwitch(LPCWSTR commandTail);
