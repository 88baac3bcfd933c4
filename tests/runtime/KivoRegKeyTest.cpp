// KivoRegKey over the real registry: what opens, what is created, and that a failed read never
// touches the caller's variable.
#include "KivoLib.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

using kivotest::uniqueName;

namespace {

const DWORD kSentinel = 0xC0FFEE;
const wchar_t kSentinelText[] = L"untouched";

// A key of this test process under HKCU\Software\KivoTest, removed again at the end.
class KivoRegKeyTest : public testing::Test {
protected:
    std::wstring m_path = L"Software\\KivoTest\\" + uniqueName(L"RegKey");

    ~KivoRegKeyTest() override { RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str()); RegDeleteKeyW(HKEY_CURRENT_USER, m_path.c_str()); }

    // Stores raw data the way another program might have.
    void storeRaw(const wchar_t* name, DWORD type, const void* data, DWORD cb)
    {
        HKEY hKey = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_WRITE,
                                                 nullptr, &hKey, nullptr));
        EXPECT_EQ(ERROR_SUCCESS, RegSetValueExW(hKey, name, 0, type, static_cast<const BYTE*>(data), cb));
        RegCloseKey(hKey);
    }
};

TEST_F(KivoRegKeyTest, OpenNeedsAnExistingKeyAndCreateMakesIt)
{
    KivoRegKey key;
    EXPECT_EQ(ERROR_FILE_NOT_FOUND, key.Open(HKEY_CURRENT_USER, m_path.c_str()));
    DWORD value = kSentinel;
    EXPECT_NE(ERROR_SUCCESS, key.Read(L"Any", value)) << "a failed Open left a key behind";
    EXPECT_EQ(kSentinel, value);

    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_EQ(ERROR_SUCCESS, key.Write(L"Number", 42));
    EXPECT_EQ(ERROR_SUCCESS, key.Write(L"Text", L"-17"));
    key.Close();
    key.Close();

    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, m_path.c_str()));
    EXPECT_EQ(ERROR_SUCCESS, key.Read(L"Number", value));
    EXPECT_EQ(42u, value);
    std::wstring text;
    EXPECT_EQ(ERROR_SUCCESS, key.Read(L"Text", text));
    EXPECT_EQ(L"-17", text);
    EXPECT_NE(ERROR_SUCCESS, key.Write(L"Number", 7)) << "a key opened for reading took a write";
    EXPECT_EQ(ERROR_SUCCESS, key.Read(L"Number", value));
    EXPECT_EQ(42u, value);
}

TEST_F(KivoRegKeyTest, StringsAreStoredAsTerminatedRegSz)
{
    KivoRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CURRENT_USER, m_path.c_str()));
    ASSERT_EQ(ERROR_SUCCESS, key.Write(L"Text", L"12"));
    DWORD type = 0;
    WCHAR data[8] = {};
    DWORD cb = sizeof(data);
    ASSERT_EQ(ERROR_SUCCESS, RegGetValueW(HKEY_CURRENT_USER, m_path.c_str(), L"Text", RRF_RT_ANY | RRF_NOEXPAND,
                                          &type, data, &cb));
    EXPECT_EQ(DWORD(REG_SZ), type);
    EXPECT_EQ(3 * sizeof(WCHAR), cb);
    EXPECT_STREQ(L"12", data);
}

TEST_F(KivoRegKeyTest, NumberReadsOfWrongTypeOrSizeLeaveTheVariable)
{
    const WORD shortValue = 5;
    const ULONGLONG longValue = 5;
    storeRaw(L"Text", REG_SZ, L"5", 2 * sizeof(WCHAR));
    storeRaw(L"Short", REG_DWORD, &shortValue, sizeof(shortValue));
    storeRaw(L"Long", REG_DWORD, &longValue, sizeof(longValue));
    storeRaw(L"Binary", REG_BINARY, &longValue, sizeof(DWORD));
    storeRaw(L"Empty", REG_DWORD, nullptr, 0);

    KivoRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, m_path.c_str()));
    for (const wchar_t* name : {L"Text", L"Short", L"Long", L"Binary", L"Empty", L"Missing"}) {
        DWORD value = kSentinel;
        EXPECT_NE(ERROR_SUCCESS, key.Read(name, value)) << "value " << std::string(name, name + wcslen(name));
        EXPECT_EQ(kSentinel, value);
    }
}

TEST_F(KivoRegKeyTest, StringReadsOfWrongTypeOrSizeLeaveTheBuffer)
{
    const DWORD number = 5;
    const WCHAR odd[] = L"abc";
    storeRaw(L"Number", REG_DWORD, &number, sizeof(number));
    storeRaw(L"Expand", REG_EXPAND_SZ, L"%TEMP%", 7 * sizeof(WCHAR));
    storeRaw(L"Odd", REG_SZ, odd, 3);                         // half a character at the end
    storeRaw(L"Long", REG_SZ, L"0123456789", 11 * sizeof(WCHAR));

    KivoRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, m_path.c_str()));
    for (const wchar_t* name : {L"Number", L"Expand", L"Odd", L"Long", L"Missing"}) {
        WCHAR buffer[10];
        wcscpy(buffer, kSentinelText);
        EXPECT_NE(ERROR_SUCCESS, key.ReadString(name, buffer, ARRAYSIZE(buffer)))
            << "value " << std::string(name, name + wcslen(name));
        EXPECT_STREQ(kSentinelText, buffer);
        std::wstring text = kSentinelText;
        if (wcscmp(name, L"Long") != 0) {
            EXPECT_NE(ERROR_SUCCESS, key.Read(name, text));
            EXPECT_EQ(kSentinelText, text);
        }
    }
}

TEST_F(KivoRegKeyTest, StringWithoutTerminatorIsReadWhole)
{
    storeRaw(L"Bare", REG_SZ, L"1234", 4 * sizeof(WCHAR));
    KivoRegKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.Open(HKEY_CURRENT_USER, m_path.c_str()));
    WCHAR exact[5];
    EXPECT_EQ(ERROR_SUCCESS, key.ReadString(L"Bare", exact, ARRAYSIZE(exact)));
    EXPECT_STREQ(L"1234", exact);
    WCHAR tooSmall[4] = L"xyz";
    EXPECT_EQ(ERROR_MORE_DATA, key.ReadString(L"Bare", tooSmall, ARRAYSIZE(tooSmall)));
    EXPECT_STREQ(L"xyz", tooSmall);
}

TEST_F(KivoRegKeyTest, OperationsOnAClosedKeyFail)
{
    KivoRegKey key;
    DWORD value = kSentinel;
    EXPECT_EQ(ERROR_INVALID_HANDLE, key.Read(L"Number", value));
    EXPECT_EQ(kSentinel, value);
    EXPECT_EQ(ERROR_INVALID_HANDLE, key.Write(L"Number", 1));
    EXPECT_EQ(ERROR_INVALID_HANDLE, key.Write(L"Text", L"1"));
    EXPECT_EQ(ERROR_INVALID_PARAMETER, key.Open(HKEY_CURRENT_USER, nullptr));
}

} // namespace
