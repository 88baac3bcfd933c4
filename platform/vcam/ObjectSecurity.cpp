#include "ObjectSecurity.h"

#include <sddl.h>

#include <cstdio>
#include <string>

namespace vcam {

namespace {

constexpr DWORD kFolderModify = FILE_GENERIC_READ | FILE_GENERIC_WRITE | FILE_GENERIC_EXECUTE | DELETE;

// SYSTEM and administrators get full access, every signed-in user (AU) openAccess(kind). The
// folder's entries are inherited by the files made in it, and the folder takes none from
// ProgramData (whose entries make each file its creator's alone).
std::wstring sddlOf(SecuredObject kind)
{
    bool folder = kind == SecuredObject::StateFolder;
    bool file = folder || kind == SecuredObject::StateFile;
    const wchar_t* inherit = folder ? L"OICI" : L"";
    const wchar_t* full = file ? L"FA" : L"GA";
    WCHAR sddl[128];
    _snwprintf(sddl, ARRAYSIZE(sddl), L"D:%ls(A;%ls;%ls;;;SY)(A;%ls;%ls;;;BA)(A;%ls;0x%08lx;;;AU)", folder ? L"P" : L"",
               inherit, full, inherit, full, inherit, static_cast<unsigned long>(openAccess(kind)));
    sddl[ARRAYSIZE(sddl) - 1] = L'\0';
    return sddl;
}

} // namespace

DWORD openAccess(SecuredObject kind)
{
    switch (kind) {
    case SecuredObject::Mutex:
        return SYNCHRONIZE | MUTEX_MODIFY_STATE;
    case SecuredObject::Event:
        return SYNCHRONIZE | EVENT_MODIFY_STATE;
    case SecuredObject::Mark:
        return SYNCHRONIZE;
    case SecuredObject::Section:
        return SECTION_MAP_READ | SECTION_MAP_WRITE;   // OpenFileMappingW(FILE_MAP_READ | FILE_MAP_WRITE)
    case SecuredObject::StateFile:
        return FILE_GENERIC_READ | FILE_GENERIC_WRITE;
    case SecuredObject::StateFolder:
        return kFolderModify;
    }
    return 0;
}

ObjectSecurity::ObjectSecurity(SecuredObject kind) : m_attributes()
{
    m_attributes.nLength = sizeof(m_attributes);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (ConvertStringSecurityDescriptorToSecurityDescriptorW(sddlOf(kind).c_str(), SDDL_REVISION_1, &descriptor, nullptr))
        m_attributes.lpSecurityDescriptor = descriptor;
}

ObjectSecurity::~ObjectSecurity()
{
    if (m_attributes.lpSecurityDescriptor)
        LocalFree(m_attributes.lpSecurityDescriptor);
}

} // namespace vcam
