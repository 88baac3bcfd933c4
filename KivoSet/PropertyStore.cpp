#include "PropertyStore.h"

#include "KivoLib.h"
#include "KivoNames.h"
#include "StoredNumber.h"

#include <cwchar>

std::wstring PropertyStore::propertyName(int direction, long propertyId)
{
    wchar_t name[64];
    swprintf(name, ARRAYSIZE(name), KIVO_VALUE_PROPERTY_FORMAT, direction, int(propertyId));
    return name;
}

std::wstring PropertyStore::customName(int direction, long writeId)
{
    wchar_t name[64];
    swprintf(name, ARRAYSIZE(name), KIVO_VALUE_CUSTOM_PROPERTY_FORMAT, direction, int(writeId));
    return name;
}

long PropertyStore::parseNumber(const std::wstring& text)
{
    return parseStoredNumber(text);
}

bool PropertyStore::read(const std::wstring& name, long& value)
{
    KivoRegKey key;
    if (key.Create(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) != ERROR_SUCCESS)
        return false;
    std::wstring text;
    bool stored = key.Read(name.c_str(), text) == ERROR_SUCCESS;
    key.Close();
    if (stored)
        value = parseNumber(text);
    return stored;
}

bool PropertyStore::write(const std::wstring& name, long value)
{
    KivoRegKey key;
    if (key.Create(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) != ERROR_SUCCESS)
        return false;
    wchar_t text[16];
    swprintf(text, ARRAYSIZE(text), L"%d", int(value));
    key.Write(name.c_str(), text);
    key.Close();
    return true;
}
