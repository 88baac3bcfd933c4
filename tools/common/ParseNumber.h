// Numbers from the tools' command lines: the whole text a decimal number within its range, or refused.
#pragma once

#include <cerrno>
#include <climits>
#include <cwchar>

inline bool parseNumber(const wchar_t* text, long low, long high, long& value)
{
    if (!text || !*text)
        return false;
    wchar_t* end = nullptr;
    errno = 0;
    long v = wcstol(text, &end, 10);
    if (errno != 0 || *end != L'\0' || v < low || v > high)
        return false;
    value = v;
    return true;
}
