#include "NamedMutexProbe.h"

#include "UniqueHandle.h"

bool isNamedMutexPresent(LPCWSTR name)
{
    UniqueHandle mutex(CreateMutexW(nullptr, FALSE, name));
    // On Windows a product of another account (another user's session, a service) may hold a mutex
    // whose access list does not let this account open it: the create then fails with
    // ERROR_ACCESS_DENIED, and the mutex exists all the same. Any other refusal (the name taken by
    // another kind of object) leaves the name in use as well, so every failure counts as present.
    if (!mutex)
        return true;
    return GetLastError() == ERROR_ALREADY_EXISTS;
}
