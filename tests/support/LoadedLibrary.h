// A library loaded while the object lives, freed when it goes: a full load, so that its entry point
// runs as it does for the programs.
#pragma once

#include <windows.h>

#include <string>

namespace kivotest {

class LoadedLibrary {
public:
    explicit LoadedLibrary(const std::wstring& path);
    ~LoadedLibrary();
    LoadedLibrary(const LoadedLibrary&) = delete;
    LoadedLibrary& operator=(const LoadedLibrary&) = delete;

    HMODULE get() const { return m_hModule; }
    DWORD loadError() const { return m_loadError; }   // why the load failed

private:
    HMODULE m_hModule;
    DWORD m_loadError;
};

} // namespace kivotest
