// The camera properties kept for each camera direction: one string value per property under the
// settings key, holding the value as signed decimal text. Every access opens the key (creating it
// when missing), reads or writes one value and closes the key again.
#pragma once

#include <windows.h>

#include <string>

class PropertyStore {
public:
    // Names of the stored values: "%d_%d" (direction, property id) and "%d_CUSTOM_%d" (direction,
    // the custom setting's write id).
    static std::wstring propertyName(int direction, long propertyId);
    static std::wstring customName(int direction, long writeId);

    // The text as a signed decimal number (parseStoredNumber).
    static long parseNumber(const std::wstring& text);

    // True with the number when the value exists as a string that fits the reader; false when the
    // key cannot be opened or nothing usable is stored.
    static bool read(const std::wstring& name, long& value);
    // Writes "%d" of the value; false when the key cannot be opened.
    static bool write(const std::wstring& name, long value);
};
