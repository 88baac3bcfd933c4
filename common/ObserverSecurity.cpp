#include "ObserverSecurity.h"

#include "KivoLib.h"

ObserverSecurity::ObserverSecurity() : m_descriptor(), m_attributes(), m_built(false)
{
    m_built = build();
}

ObserverSecurity::~ObserverSecurity()
{
    releaseAcl();
}

bool ObserverSecurity::build()
{
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone)) {
        // Without the SID there is no descriptor to speak of: the objects get default security.
        WriteLog(L"ObserverSecurity::build() AllocateAndInitializeSid failed (%lu); default security used.",
                 GetLastError());
        return false;
    }
    bool built = buildWithSid(everyone);
    FreeSid(everyone);
    if (!built)
        WriteLog(L"ObserverSecurity::build() the access list could not be built; default security used.");
    return built;
}

// Deny WRITE_DAC and WRITE_OWNER to Everyone, then allow GENERIC_ALL: the deny entry comes first,
// so it wins.
bool ObserverSecurity::buildWithSid(PSID everyone)
{
    DWORD cbAcl = 2 * GetLengthSid(everyone) + 32;
    PACL acl = static_cast<PACL>(LocalAlloc(LPTR, cbAcl));
    if (!acl)
        return false;
    bool ok = InitializeAcl(acl, cbAcl, ACL_REVISION)
              && AddAccessDeniedAce(acl, ACL_REVISION, WRITE_DAC | WRITE_OWNER, everyone)
              && AddAccessAllowedAce(acl, ACL_REVISION, GENERIC_ALL, everyone)
              && InitializeSecurityDescriptor(&m_descriptor, SECURITY_DESCRIPTOR_REVISION)
              && SetSecurityDescriptorDacl(&m_descriptor, TRUE, acl, FALSE);
    if (!ok) {
        LocalFree(acl);
        m_descriptor = SECURITY_DESCRIPTOR();
        return false;
    }
    m_attributes.nLength = sizeof(m_attributes);
    m_attributes.lpSecurityDescriptor = &m_descriptor;
    m_attributes.bInheritHandle = FALSE;
    return true;
}

void ObserverSecurity::releaseAcl()
{
    if (!m_built)
        return;
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    if (GetSecurityDescriptorDacl(&m_descriptor, &present, &acl, &defaulted) && present && !defaulted && acl)
        LocalFree(acl);
    m_built = false;
}
