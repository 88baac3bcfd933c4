// The security of the instance observer's named objects: every user may open and use them, nobody
// may change their DACL or owner, so that a process of another account can still set a shutdown
// event. Built for one create call and released after it.
#pragma once

#include <windows.h>

class ObserverSecurity {
public:
    ObserverSecurity();
    ~ObserverSecurity();

    // The attributes to create the object with; null (default security) when the descriptor
    // could not be built.
    SECURITY_ATTRIBUTES* attributes() { return m_built ? &m_attributes : nullptr; }

private:
    ObserverSecurity(const ObserverSecurity&) = delete;
    ObserverSecurity& operator=(const ObserverSecurity&) = delete;

    bool build();
    bool buildWithSid(PSID everyone);
    void releaseAcl();

    SECURITY_DESCRIPTOR m_descriptor;
    SECURITY_ATTRIBUTES m_attributes;
    bool m_built;
};
