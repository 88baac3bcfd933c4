#include "ScopedVariable.h"

#include <windows.h>

#include <vector>

namespace kivotest {

namespace {

bool readVariable(const std::wstring& name, std::wstring& value)
{
    std::vector<WCHAR> buffer(256);
    for (;;) {
        SetLastError(ERROR_SUCCESS);
        DWORD n = GetEnvironmentVariableW(name.c_str(), buffer.data(), DWORD(buffer.size()));
        if (n == 0 && GetLastError() == ERROR_ENVVAR_NOT_FOUND)
            return false;
        if (n < buffer.size()) {
            value.assign(buffer.data(), n);
            return true;
        }
        buffer.resize(n);
    }
}

} // namespace

ScopedVariable::ScopedVariable(const std::wstring& name, const wchar_t* value) : m_name(name)
{
    m_hadPrevious = readVariable(name, m_previous);
    set(value);
}

ScopedVariable::~ScopedVariable()
{
    SetEnvironmentVariableW(m_name.c_str(), m_hadPrevious ? m_previous.c_str() : nullptr);
}

void ScopedVariable::set(const wchar_t* value)
{
    SetEnvironmentVariableW(m_name.c_str(), value);
}

std::wstring environmentVariable(const std::wstring& name)
{
    std::wstring value;
    readVariable(name, value);
    return value;
}

} // namespace kivotest
