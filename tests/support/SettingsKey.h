// The programs' settings key as a test reads and writes it: the user's values under
// HKEY_CURRENT_USER (or the key a test overrode it with), and the machine-wide values under the
// same path in HKEY_LOCAL_MACHINE.
#pragma once

#include <windows.h>

#include <string>

namespace kivotest {

// The user's settings key removed with every value in it.
void resetSettings();

// A value of the user's settings key; false (the value untouched) when it is missing or of
// another type.
bool readSetting(const wchar_t* name, DWORD& value);
bool readSetting(const wchar_t* name, std::wstring& value);
bool settingExists(const wchar_t* name);

// Writes a value of the user's settings key, creating the key when it is missing.
void writeSetting(const wchar_t* name, DWORD value);
void writeSetting(const wchar_t* name, const std::wstring& value);

// A machine-wide switch: the value 1 written, or the value removed; false when that failed.
bool setMachineSetting(const wchar_t* name, bool on);

} // namespace kivotest
