// libFuzzer target: registry text, as the settings key could hold it after any damage, through the
// reader of the numbers kept as text. Faults it finds: undefined arithmetic or reads outside the
// text (the sanitizers), a number that differs from the C library's reading of the same text brought
// into the 32-bit range, and a number written as the program writes it that does not read back.
#include "StoredNumber.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <string>

namespace {

// The registry stores text as UTF-16 code units; the input's byte pairs are those units.
std::wstring unitsOf(const uint8_t* data, size_t size)
{
    std::wstring text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text.push_back(wchar_t(data[i] | (data[i + 1] << 8)));
    return text;
}

long referenceReading(const std::wstring& text)
{
    long long value = std::wcstoll(text.c_str(), nullptr, 10);   // stops at an embedded NUL as well
    if (value > INT_MAX)
        return INT_MAX;
    if (value < INT_MIN)
        return INT_MIN;
    return long(value);
}

void fail(const char* what, const std::wstring& text, long got, long expected)
{
    fprintf(stderr, "%s: read %ld, expected %ld, for %zu units:", what, got, expected, text.size());
    for (wchar_t unit : text)
        fprintf(stderr, " %04x", unsigned(unit));
    fprintf(stderr, "\n");
    abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::wstring text = unitsOf(data, size);
    const long read = parseStoredNumber(text);
    const long expected = referenceReading(text);
    if (read != expected)
        fail("damaged text", text, read, expected);

    // What the program itself writes, "%d" of a 32-bit value, reads back as that value.
    if (size >= 4) {
        const int32_t value = int32_t(uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 |
                                      uint32_t(data[3]) << 24);
        wchar_t written[16];
        swprintf(written, 16, L"%d", int(value));
        const long back = parseStoredNumber(written);
        if (back != value)
            fail("written value", written, back, value);
    }
    return 0;
}
