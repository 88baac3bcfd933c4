#include "StoredNumber.h"

#include <climits>
#include <cwctype>

long parseStoredNumber(const std::wstring& text)
{
    size_t i = 0;
    while (i < text.size() && std::iswspace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    // Accumulate towards the sign's end of the range so that INT_MIN itself reads exactly.
    long long magnitude = 0;
    const long long limit = negative ? -static_cast<long long>(INT_MIN) : INT_MAX;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        magnitude = magnitude * 10 + (text[i] - L'0');
        if (magnitude >= limit) {
            magnitude = limit;
            break;
        }
    }
    return static_cast<long>(negative ? -magnitude : magnitude);
}
