// KivoSet.chm: a valid compiled help file that holds the product's pages and opens at its overview.
#include "ChmDirectory.h"
#include "ItsStorage.h"
#include "TestPaths.h"

#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
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

class HelpFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = kivotest::stageFile(L"KivoSet.chm");
        std::ifstream in(m_path.c_str(), std::ios::binary);
        ASSERT_TRUE(in.good()) << "no KivoSet.chm in the stage folder";
        m_bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        ASSERT_TRUE(m_directory.parse(m_bytes)) << m_directory.error();
    }
    std::wstring m_path;
    std::vector<unsigned char> m_bytes;
    ChmDirectory m_directory;
};

TEST_F(HelpFileTest, HoldsEveryPageWithContentsIndexAndSearch)
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

TEST_F(HelpFileTest, OpensAtTheOverviewUnderTheProductTitle)
{
    std::string system;
    ASSERT_TRUE(m_directory.readUncompressed("/#SYSTEM", system));
    const unsigned kDefaultTopic = 2, kTitle = 3;
    std::string topic = systemRecord(system, kDefaultTopic);
    EXPECT_EQ("index.htm", topic);
    EXPECT_TRUE(m_directory.has("/" + topic)) << "the default topic is in the file";
    EXPECT_EQ("Kivo Camera Help", systemRecord(system, kTitle));
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

TEST_F(HelpFileTest, WindowsReadsEveryPageBackThroughItsHelpStorage)
{
    ComApartment com;
    ASSERT_TRUE(SUCCEEDED(com.hr));
    ComPtr<IITStorage> its;
    HRESULT hr = CoCreateInstance(CLSID_ITStorage, nullptr, CLSCTX_INPROC_SERVER, IID_IITStorage,
                                  reinterpret_cast<void**>(&its));
    ASSERT_TRUE(SUCCEEDED(hr) && its.p) << std::hex << hr;
    ComPtr<IStorage> storage;
    hr = its->StgOpenStorage(m_path.c_str(), nullptr, STGM_READ | STGM_SHARE_DENY_WRITE, nullptr, 0,
                             &storage);
    ASSERT_TRUE(SUCCEEDED(hr) && storage.p) << std::hex << hr;

    for (const char* page : kPages) {
        SCOPED_TRACE(page);
        ComPtr<IStream> stream;
        std::wstring name(page, page + strlen(page));
        hr = storage->OpenStream(name.c_str(), nullptr, STGM_READ | STGM_SHARE_EXCLUSIVE, 0, &stream);
        ASSERT_TRUE(SUCCEEDED(hr) && stream.p) << std::hex << hr;
        std::string text;
        char buffer[4096];
        ULONG got = 0;
        while (SUCCEEDED(stream->Read(buffer, sizeof buffer, &got)) && got > 0)
            text.append(buffer, got);
        // The whole page comes back out of the compressed section, intact to its last tag.
        EXPECT_EQ(m_directory.entries().at(std::string("/") + page).length, text.size());
        EXPECT_NE(std::string::npos, text.find("<title>"));
        EXPECT_NE(std::string::npos, text.find("</html>", text.size() > 16 ? text.size() - 16 : 0));
    }
}

} // namespace
