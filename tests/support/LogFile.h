// Reading what programs wrote: whole text files, their lines, and the product log (KIVO_LOG_FILE),
// whose lines read "YYYY-MM-DD hh:mm:ss.mmm [pid] program: message".
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace kivotest {

// The whole file, or an empty string when it cannot be read. Writers may keep it open meanwhile.
std::string readTextFile(const std::wstring& path);
// The file's lines without their line ends; a last line without an end is kept as it is.
std::vector<std::string> readTextLines(const std::wstring& path);

// The message of one log line (what follows "program: "), or an empty string for another line.
std::string logMessage(const std::string& line);

class LogFile {
public:
    explicit LogFile(const std::wstring& path) : m_path(path) {}
    const std::wstring& path() const { return m_path; }

    std::vector<std::string> lines() const { return readTextLines(m_path); }
    // Lines whose message is exactly this text.
    int count(const std::string& message) const;
    bool has(const std::string& message) const { return count(message) > 0; }
    // Waits until `times` lines have this message; false when the deadline passed first.
    bool waitFor(const std::string& message, DWORD timeoutMs, int times = 1) const;

private:
    std::wstring m_path;
};

} // namespace kivotest
