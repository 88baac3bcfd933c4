// Telling whether another product runs by its named mutex: absent, held, and held under an access
// list that lets this process not even open it.
#include "NamedMutexProbe.h"

#include "UniqueHandle.h"
#include "UniqueName.h"

#include <gtest/gtest.h>

using namespace kivotest;

namespace {

// A mutex whose access list is empty: nobody, its creator included, may open it by name.
UniqueHandle createUnopenableMutex(const std::wstring& name)
{
    ACL emptyAcl;
    SECURITY_DESCRIPTOR descriptor;
    if (!InitializeAcl(&emptyAcl, sizeof(emptyAcl), ACL_REVISION) ||
        !InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, &emptyAcl, FALSE))
        return UniqueHandle();
    SECURITY_ATTRIBUTES attributes = {sizeof(attributes), &descriptor, FALSE};
    return UniqueHandle(CreateMutexW(&attributes, FALSE, name.c_str()));
}

} // namespace

TEST(NamedMutexProbe, AbsentHeldAndUnopenableMutexes)
{
    std::wstring absent = uniqueName(L"KivoTest probe absent");
    EXPECT_FALSE(isNamedMutexPresent(absent.c_str()));
    // The probe's own mutex is gone with the probe.
    EXPECT_FALSE(UniqueHandle(OpenMutexW(SYNCHRONIZE, FALSE, absent.c_str())));

    std::wstring held = uniqueName(L"KivoTest probe held");
    UniqueHandle heldMutex(CreateMutexW(nullptr, TRUE, held.c_str()));
    ASSERT_TRUE(heldMutex);
    EXPECT_TRUE(isNamedMutexPresent(held.c_str()));

    // As a product of another account holds its mutex on Windows.
    std::wstring unopenable = uniqueName(L"KivoTest probe unopenable");
    UniqueHandle unopenableMutex = createUnopenableMutex(unopenable);
    ASSERT_TRUE(unopenableMutex);
    SetLastError(0xdeadbeef);
    ASSERT_FALSE(UniqueHandle(CreateMutexW(nullptr, FALSE, unopenable.c_str())));
    ASSERT_EQ(static_cast<DWORD>(ERROR_ACCESS_DENIED), GetLastError());
    EXPECT_TRUE(isNamedMutexPresent(unopenable.c_str()));
}
