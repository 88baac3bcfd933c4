// A data file with words comes in the user's display language where the installation has that
// language's edition (data\de\ for German), and as the file itself otherwise. ctest runs this under
// the harness's C locale and again under de_DE.
#include "DataFolder.h"
#include "UniqueName.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

bool writeFile(const std::wstring& path)
{
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(hFile);
    return true;
}

} // namespace

TEST(LanguageDataPath, TheLanguagesEditionWhereItIsThereTheFileItselfOtherwise)
{
    const std::wstring name = L".\\data\\" + kivotest::uniqueName(L"still") + L".bmp";
    const std::wstring plain = programRelativePath(name);
    const std::wstring dataFolder = programRelativePath(L".\\data");
    const std::wstring germanFolder = dataFolder + L"\\de";
    const std::wstring german = germanFolder + plain.substr(plain.find_last_of(L'\\'));
    const bool dataCreated = CreateDirectoryW(dataFolder.c_str(), nullptr) != FALSE;
    const bool germanCreated = CreateDirectoryW(germanFolder.c_str(), nullptr) != FALSE;
    ASSERT_TRUE(writeFile(plain));

    EXPECT_EQ(plain, languageDataPath(name)) << "no edition in any language";
    ASSERT_TRUE(writeFile(german));
    const bool germanUser = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    EXPECT_EQ(germanUser ? german : plain, languageDataPath(name));
    // A folder of the language's name is not a picture.
    DeleteFileW(german.c_str());
    ASSERT_TRUE(CreateDirectoryW(german.c_str(), nullptr));
    EXPECT_EQ(plain, languageDataPath(name));

    RemoveDirectoryW(german.c_str());
    DeleteFileW(plain.c_str());
    if (germanCreated)
        RemoveDirectoryW(germanFolder.c_str());
    if (dataCreated)
        RemoveDirectoryW(dataFolder.c_str());
}
