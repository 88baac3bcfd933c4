// The security of the device's named objects and of its state folder and file. Any user of any
// session opens them, so each carries an explicit DACL: the creator's default DACL would grant only
// the creator (and, for an elevated creator, only administrators). Every signed-in user
// (Authenticated Users) gets just the rights the device's code asks for when it opens the object,
// never WRITE_DAC or WRITE_OWNER; SYSTEM and administrators get full access.
#pragma once

#include <windows.h>

namespace vcam {

enum class SecuredObject {
    Mutex,         // the device's lock: wait and release
    Event,         // wake, frame and done events: wait and set
    Mark,          // a process's listener mark: wait only (its existence is the message)
    Section,       // a capture's frame exchange: map for reading and writing
    StateFile,     // the device state: read and write
    StateFolder,   // the folder of the state files: modify, inherited by the files made in it
};

// The access a process of any user asks for when it opens (or creates) an object of this kind.
DWORD openAccess(SecuredObject kind);

// The descriptor for one create call, released with the object.
class ObjectSecurity {
public:
    explicit ObjectSecurity(SecuredObject kind);
    ~ObjectSecurity();

    // Null (default security) when the descriptor could not be built.
    SECURITY_ATTRIBUTES* attributes() { return m_attributes.lpSecurityDescriptor ? &m_attributes : nullptr; }

private:
    ObjectSecurity(const ObjectSecurity&) = delete;
    ObjectSecurity& operator=(const ObjectSecurity&) = delete;

    SECURITY_ATTRIBUTES m_attributes;
};

} // namespace vcam
