#include "LoadedLibrary.h"

namespace kivotest {

LoadedLibrary::LoadedLibrary(const std::wstring& path)
    : m_hModule(LoadLibraryW(path.c_str())), m_loadError(m_hModule ? ERROR_SUCCESS : GetLastError())
{
}

LoadedLibrary::~LoadedLibrary()
{
    if (m_hModule)
        FreeLibrary(m_hModule);
}

} // namespace kivotest
