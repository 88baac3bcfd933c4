// WriteLog: the line it writes, several processes writing at once, and rotation at the size limit.
#include "KivoLib.h"

#include "ProbeEvents.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <map>
#include <regex>

using namespace kivotest;

namespace {

const DWORD kDeadlineMs = 30000;

// Points the log of this process (and of the probes it starts) at a file of its own.
class WriteLogTest : public testing::Test {
protected:
    std::wstring m_path = programFolder() + L"\\" + uniqueName(L"KivoLog") + L".txt";

    WriteLogTest() { SetEnvironmentVariableW(L"KIVO_LOG_FILE", m_path.c_str()); }
    ~WriteLogTest() override
    {
        SetEnvironmentVariableW(L"KIVO_LOG_FILE", nullptr);
        SetEnvironmentVariableW(L"KIVO_LOG_MAX_BYTES", nullptr);
        DeleteFileW(m_path.c_str());
        DeleteFileW((m_path + L".1").c_str());
    }
};

// "YYYY-MM-DD hh:mm:ss.mmm [pid] program: text"
const std::regex kLinePattern(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} \[(\d+)\] ([^:]+): (.*)$)");

TEST_F(WriteLogTest, OneLineWithTimeProcessProgramAndFormattedText)
{
    WriteLog(L"KivoTest::step() %s %d 0x%08lX", L"wide", -3, 0xBEEFUL);
    WriteLog(L"two\r\nlines and a trailing break\n");
    WriteLog(L"non-ASCII \u00e9\u4e2d\U0001F600");

    std::vector<std::string> lines = readTextLines(m_path);
    ASSERT_EQ(3u, lines.size());
    std::smatch match;
    ASSERT_TRUE(std::regex_match(lines[0], match, kLinePattern)) << lines[0];
    EXPECT_EQ(std::to_string(GetCurrentProcessId()), match[1].str());
    EXPECT_EQ("runtime_test.exe", match[2].str());
    EXPECT_EQ("KivoTest::step() wide -3 0x0000BEEF", match[3].str());
    ASSERT_TRUE(std::regex_match(lines[1], match, kLinePattern)) << lines[1];
    EXPECT_EQ("two  lines and a trailing break", match[3].str());
    ASSERT_TRUE(std::regex_match(lines[2], match, kLinePattern)) << lines[2];
    EXPECT_EQ("non-ASCII \xc3\xa9\xe4\xb8\xad\xf0\x9f\x98\x80", match[3].str());
    EXPECT_NE(std::string::npos, readTextFile(m_path).find("\r\n")) << "lines end with CR LF";
}

TEST_F(WriteLogTest, OverlongMessageIsCutNotOverrun)
{
    std::wstring huge(10000, L'x');
    DWORD before = 0x1234;
    SetLastError(before);
    WriteLog(L"%s", huge.c_str());
    EXPECT_EQ(before, GetLastError()) << "logging changed the caller's last error";
    std::vector<std::string> lines = readTextLines(m_path);
    ASSERT_EQ(1u, lines.size());
    EXPECT_LT(lines[0].size(), 2200u);
    EXPECT_EQ("...", lines[0].substr(lines[0].size() - 3));
}

TEST_F(WriteLogTest, ProcessesWritingAtOnceLoseAndTearNothing)
{
    const int kProbes = 4;
    const int kLinesEach = 250;
    std::wstring tag = uniqueName(L"log");
    TestEvent go(L"KivoProbeGo-" + tag);
    TestProcess probes[kProbes];
    for (TestProcess& probe : probes)
        ASSERT_TRUE(probe.start(runtimeProbe(), L"log " + std::to_wstring(kLinesEach) + L" " + tag));
    go.set();
    for (TestProcess& probe : probes) {
        ASSERT_TRUE(probe.waitExit(kDeadlineMs));
        EXPECT_EQ(0u, probe.exitCode());
    }

    // Every probe's lines complete and in its own order.
    std::map<std::string, int> nextLine;
    const std::regex probeText(R"(^probe (\d+) line (\d+) of 250 padding(-padding){5}$)");
    std::vector<std::string> lines = readTextLines(m_path);
    EXPECT_EQ(size_t(kProbes * kLinesEach), lines.size());
    for (const std::string& line : lines) {
        std::smatch match, text;
        ASSERT_TRUE(std::regex_match(line, match, kLinePattern)) << "torn line: " << line;
        std::string message = match[3].str();
        ASSERT_TRUE(std::regex_match(message, text, probeText)) << "torn line: " << line;
        EXPECT_EQ(match[1].str(), text[1].str());
        EXPECT_EQ("RuntimeProbe.exe", match[2].str());
        int& expected = nextLine[text[1].str()];
        EXPECT_EQ(expected, std::stoi(text[2].str()));
        expected = std::stoi(text[2].str()) + 1;
    }
    EXPECT_EQ(size_t(kProbes), nextLine.size());
    for (const auto& probe : nextLine)
        EXPECT_EQ(kLinesEach, probe.second) << "probe " << probe.first;
}

TEST_F(WriteLogTest, FullFileBecomesThePreviousOneAndANewOneStarts)
{
    const DWORD kLimit = 4096;
    SetEnvironmentVariableW(L"KIVO_LOG_MAX_BYTES", std::to_wstring(kLimit).c_str());
    const int kLines = 200;   // ~80 bytes each: several rotations
    for (int i = 0; i < kLines; ++i)
        WriteLog(L"rotation line %03d", i);

    std::string current = readTextFile(m_path);
    std::string previous = readTextFile(m_path + L".1");
    EXPECT_LE(current.size(), kLimit);
    EXPECT_LE(previous.size(), kLimit);
    EXPECT_GT(previous.size(), kLimit / 2) << "the previous file was not full when it was replaced";

    // The two files hold the latest lines, unbroken and in order, the newest last.
    std::vector<std::string> lines = readTextLines(m_path + L".1");
    std::vector<std::string> newer = readTextLines(m_path);
    lines.insert(lines.end(), newer.begin(), newer.end());
    ASSERT_FALSE(lines.empty());
    int first = kLines - static_cast<int>(lines.size());
    for (size_t i = 0; i < lines.size(); ++i) {
        char expected[32];
        snprintf(expected, sizeof(expected), "rotation line %03d", first + static_cast<int>(i));
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, kLinePattern)) << lines[i];
        EXPECT_EQ(expected, match[3].str());
    }
}

TEST_F(WriteLogTest, WithoutOverrideTheLogIsInTheUsersLocalApplicationData)
{
    SetEnvironmentVariableW(L"KIVO_LOG_FILE", nullptr);
    WCHAR folder[MAX_PATH];
    ASSERT_EQ(S_OK, SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, 0, folder));
    std::wstring marker = uniqueName(L"default-location-marker");
    WriteLog(L"%s", marker.c_str());
    std::string text = readTextFile(std::wstring(folder) + L"\\Kivo\\KivoLog.txt");
    EXPECT_NE(std::string::npos, text.find(std::string(marker.begin(), marker.end())));
}

} // namespace
