// Numbers kept as text under the settings key (the camera properties of each direction). Portable:
// the native build fuzzes it.
#pragma once

#include <string>

// The text as a signed decimal number: leading white space and one sign are accepted, the digits
// run to the first other character, text without digits reads as 0. Numbers beyond the 32-bit range
// stop at its ends.
long parseStoredNumber(const std::wstring& text);
