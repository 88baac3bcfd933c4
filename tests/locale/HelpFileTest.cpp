// KivoSet.chm and its German edition de\KivoSet.chm: valid compiled help files that hold the
// product's pages and open at its overview, with the same pages, contents and index; the programs
// get the edition of the user's display language.
#include "ChmDirectory.h"
#include "ItsStorage.h"
#include "KivoLib.h"
#include "TestPaths.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <cstring>
#include <vector>

namespace {

// The topics the help must have: the overview, each part of the product, troubleshooting.
const char* const kPages[] = {
    "index.htm",          "settings_panel.htm", "camera_direction.htm", "picture_properties.htm",
    "camera_settings.htm", "effects.htm",       "tray_icon.htm",        "installing.htm",
    "messages.htm",        "troubleshooting.htm",
};

struct Edition {
    const wchar_t* file;
    const char* title;
};
const Edition kEnglish = {L"KivoSet.chm", "Kivo Camera Help"};
const Edition kGerman = {L"de\\KivoSet.chm", "Kivo Camera-Hilfe"};

class HelpFileTest : public ::testing::TestWithParam<Edition> {
protected:
    void SetUp() override
    {
        m_path = kivotest::stageFile(GetParam().file);
        std::ifstream in(m_path.c_str(), std::ios::binary);
        ASSERT_TRUE(in.good()) << "no help file in the stage folder";
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_TRUE(m_directory.parse(m_bytes)) << m_directory.error();
    }
    std::wstring m_path;
    std::vector<unsigned char> m_bytes;
    ChmDirectory m_directory;
};

TEST_P(HelpFileTest, HoldsEveryPageWithContentsIndexAndSearch)
{
    for (const char* page : kPages) {
        SCOPED_TRACE(page);
        std::string name = std::string("/") + page;
        ASSERT_TRUE(m_directory.has(name));
        EXPECT_GT(m_directory.entries().at(name).length, 1000u) << "a page a user can read";
    }
    for (const char* name : {"/KivoSet.hhc", "/KivoSet.hhk", "/kivo.css", "/kivoserve-32.png",
                             "/#SYSTEM", "/#TOPICS", "/$FIftiMain",
                             "::DataSpace/Storage/MSCompressed/Content"})
        EXPECT_TRUE(m_directory.has(name)) << name;
}

// The #SYSTEM file: a version, then records of {code, length, data}.
std::string systemRecord(const std::string& system, unsigned code)
{
    size_t at = 4;
    while (at + 4 <= system.size()) {
        unsigned c = static_cast<unsigned char>(system[at]) | static_cast<unsigned char>(system[at + 1]) << 8;
        size_t n = static_cast<unsigned char>(system[at + 2]) | static_cast<unsigned char>(system[at + 3]) << 8;
        at += 4;
        if (at + n > system.size())
            break;
        if (c == code)
            return std::string(system.c_str() + at);    // the data is a terminated string
        at += n;
    }
    return std::string();
}

TEST_P(HelpFileTest, OpensAtTheOverviewUnderTheProductTitle)
{
    std::string system;
    ASSERT_TRUE(m_directory.readUncompressed("/#SYSTEM", system));
    const unsigned kDefaultTopic = 2, kTitle = 3;
    std::string topic = systemRecord(system, kDefaultTopic);
    EXPECT_EQ("index.htm", topic);
    EXPECT_TRUE(m_directory.has("/" + topic)) << "the default topic is in the file";
    EXPECT_EQ(GetParam().title, systemRecord(system, kTitle));
}

// Releases a COM interface at the end of a scope.
template <class T> struct ComPtr {
    T* p = nullptr;
    ~ComPtr()
    {
        if (p)
            p->Release();
    }
    T** operator&() { return &p; }
    T* operator->() const { return p; }
};

struct ComApartment {
    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    ~ComApartment()
    {
        if (SUCCEEDED(hr))
            CoUninitialize();
    }
};

// One file of a help file, read back through Windows' help storage; empty when it cannot be read.
std::string readThroughHelpStorage(const std::wstring& chm, const char* file)
{
    ComPtr<IITStorage> its;
    ComPtr<IStorage> storage;
    ComPtr<IStream> stream;
    std::wstring name(file, file + strlen(file));
    std::string text;
    if (FAILED(CoCreateInstance(CLSID_ITStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IITStorage,
                                reinterpret_cast<void**>(&its))) ||
        FAILED(its->StgOpenStorage(chm.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0, &storage)) ||
        FAILED(storage->OpenStream(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream)))
        return text;
    char buffer[4096];
    ULONG got = 0;
    while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0)
        text.append(buffer, got);
    return text;
}

TEST_P(HelpFileTest, WindowsReadsEveryPageBackThroughItsHelpStorage)
{
    ComApartment com;
    ASSERT_TRUE(SUCCEEDED(com.hr));
    for (const char* page : kPages) {
        SCOPED_TRACE(page);
        std::string text = readThroughHelpStorage(m_path, page);
        ASSERT_FALSE(text.empty());
        // The whole page comes back out of the compressed section, intact to its last tag.
        EXPECT_EQ(m_directory.entries().at(std::string("/") + page).length, text.size());
        EXPECT_NE(std::string::npos, text.find("<title>"));
        EXPECT_NE(std::string::npos, text.find("</html>", text.size() > 16 ? text.size() - 16 : 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Editions, HelpFileTest, ::testing::Values(kEnglish, kGerman),
                         [](const ::testing::TestParamInfo<Edition>& info) {
                             return info.param.file == kEnglish.file ? "English" : "German";
                         });

// Every page and anchor the contents and the index of a help file lead to, once per entry.
std::multiset<std::string> targetsOf(const std::string& sitemap)
{
    std::multiset<std::string> targets;
    static const std::regex local("<param name=\"Local\" value=\"([^\"]*)\">");
    for (std::sregex_iterator it(sitemap.begin(), sitemap.end(), local), end; it != end; ++it)
        targets.insert((*it)[1]);
    return targets;
}

TEST(HelpEditions, TheGermanEditionHasTheSamePagesContentsAndIndexInGerman)
{
    ComApartment com;
    ASSERT_TRUE(SUCCEEDED(com.hr));
    const std::wstring english = kivotest::stageFile(kEnglish.file), german = kivotest::stageFile(kGerman.file);
    for (const char* sitemap : {"KivoSet.hhc", "KivoSet.hhk"}) {
        SCOPED_TRACE(sitemap);
        std::multiset<std::string> targets = targetsOf(readThroughHelpStorage(english, sitemap));
        EXPECT_GT(targets.size(), 9u);
        EXPECT_EQ(targets, targetsOf(readThroughHelpStorage(german, sitemap)));
    }
    // Translated, not copied: the German overview speaks of the panel in German.
    std::string overview = readThroughHelpStorage(german, "index.htm");
    EXPECT_NE(std::string::npos, overview.find("Einstellungsfenster"));
    EXPECT_NE(std::string::npos, overview.find("lang=\"de\""));
}

// The service opens the edition of the user's display language; English for any other.
TEST(HelpEditions, TheProgramsGetTheEditionOfTheUserLanguage)
{
    std::wstring path;
    ASSERT_TRUE(GetKivoSetChmPath(path));
    const bool german = PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_GERMAN;
    EXPECT_EQ(0, _wcsicmp(kivotest::stageFile(german ? kGerman.file : kEnglish.file).c_str(), path.c_str()));
}

} // namespace
