#include "LogFile.h"

#include "Wait.h"

#include <algorithm>
#include <sstream>

namespace kivotest {

std::string readTextFile(const std::wstring& path)
{
    HANDLE hFile = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                               nullptr, OPEN_EXISTING, 0, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return std::string();
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(hFile, buffer, sizeof(buffer), &got, nullptr) && got > 0)
        text.append(buffer, got);
    CloseHandle(hFile);
    return text;
}

std::vector<std::string> readTextLines(const std::wstring& path)
{
    std::vector<std::string> lines;
    std::istringstream in(readTextFile(path));
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::string logMessage(const std::string& line)
{
    size_t pid = line.find("] ");
    if (pid == std::string::npos || line.find(" [") > pid)
        return std::string();
    size_t program = line.find(": ", pid + 2);
    return program == std::string::npos ? std::string() : line.substr(program + 2);
}

int LogFile::count(const std::string& message) const
{
    std::vector<std::string> all = lines();
    return int(std::count_if(all.begin(), all.end(), [&](const std::string& l) { return logMessage(l) == message; }));
}

bool LogFile::waitFor(const std::string& message, DWORD timeoutMs, int times) const
{
    return kivotest::waitFor([&] { return count(message) >= times; }, timeoutMs);
}

} // namespace kivotest
