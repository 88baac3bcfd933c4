#include "SettingsKey.h"

#include "KivoNames.h"

namespace kivotest {

namespace {

// The raw bytes of a value of the user's settings key, of the type the flags restrict it to.
bool readValue(const wchar_t* name, DWORD typeFlags, void* data, DWORD size)
{
    return RegGetValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, typeFlags, nullptr, data, &size) ==
           ERROR_SUCCESS;
}

bool writeValue(HKEY root, const wchar_t* name, DWORD type, const void* data, DWORD size)
{
    return RegSetKeyValueW(root, KIVO_SETTINGS_KEY, name, type, data, size) == ERROR_SUCCESS;
}

} // namespace

void resetSettings()
{
    RegDeleteTreeW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY);
}

bool readSetting(const wchar_t* name, DWORD& value)
{
    DWORD data = 0;
    if (!readValue(name, RRF_RT_REG_DWORD, &data, sizeof(data)))
        return false;
    value = data;
    return true;
}

bool readSetting(const wchar_t* name, std::wstring& value)
{
    WCHAR text[256] = {};
    if (!readValue(name, RRF_RT_REG_SZ, text, sizeof(text)))
        return false;
    value = text;
    return true;
}

bool settingExists(const wchar_t* name)
{
    return RegGetValueW(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY, name, RRF_RT_ANY, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}

void writeSetting(const wchar_t* name, DWORD value)
{
    writeValue(HKEY_CURRENT_USER, name, REG_DWORD, &value, sizeof(value));
}

void writeSetting(const wchar_t* name, const std::wstring& value)
{
    writeValue(HKEY_CURRENT_USER, name, REG_SZ, value.c_str(), DWORD((value.size() + 1) * sizeof(WCHAR)));
}

bool setMachineSetting(const wchar_t* name, bool on)
{
    const DWORD one = 1;
    if (on)
        return writeValue(HKEY_LOCAL_MACHINE, name, REG_DWORD, &one, sizeof(one));
    LONG rc = RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, KIVO_SETTINGS_KEY, name);
    return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

} // namespace kivotest
