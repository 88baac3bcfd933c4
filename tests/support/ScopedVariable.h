// An environment variable of this test process (and so of the processes it starts afterwards), set
// for a scope: the previous value, or its absence, comes back at the end.
#pragma once

#include <string>

namespace kivotest {

class ScopedVariable {
public:
    // Sets the variable; a null value removes it for the scope.
    ScopedVariable(const std::wstring& name, const wchar_t* value);
    ScopedVariable(const std::wstring& name, const std::wstring& value) : ScopedVariable(name, value.c_str()) {}
    ~ScopedVariable();
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

    void set(const wchar_t* value);

private:
    std::wstring m_name;
    std::wstring m_previous;
    bool m_hadPrevious = false;
};

// The variable's value, or an empty string when it is not set.
std::wstring environmentVariable(const std::wstring& name);

} // namespace kivotest
