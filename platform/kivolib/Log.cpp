// WriteLog: the product's log, one UTF-8 line per call, shared by every process of the user.
//
// The file is %LOCALAPPDATA%\Kivo\KivoLog.txt unless the environment variable KIVO_LOG_FILE names
// another file (tests give each run its own). When a line would take the file past its limit
// (1 MiB, or KIVO_LOG_MAX_BYTES bytes), the file becomes "<file>.1", replacing the previous one,
// and a new file starts. Writers of all processes take a named mutex derived from the file's path,
// so rotation and appending never interleave; a writer that cannot get it within the deadline
// still appends its whole line in one write, but does not rotate.
#include "KivoLib.h"

#include <shlobj.h>

#include <cstdarg>
#include <cwchar>
#include <string>

namespace {

const DWORD kDefaultMaxBytes = 1024 * 1024;
const DWORD kMinMaxBytes = 1024;
const DWORD kMaxMaxBytes = 1024 * 1024 * 1024;
const DWORD kLockTimeoutMs = 2000;
const size_t kMaxMessageChars = 2048;

std::wstring environmentValue(LPCWSTR name)
{
    WCHAR buffer[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(name, buffer, ARRAYSIZE(buffer));
    if (n == 0 || n >= ARRAYSIZE(buffer))
        return std::wstring();
    return buffer;
}

std::wstring logFilePath()
{
    std::wstring path = environmentValue(L"KIVO_LOG_FILE");
    if (!path.empty())
        return path;
    WCHAR folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        return std::wstring();
    path = folder;
    path += L"\\Kivo";
    CreateDirectoryW(path.c_str(), nullptr);
    return path + L"\\KivoLog.txt";
}

DWORD logLimitBytes()
{
    std::wstring text = environmentValue(L"KIVO_LOG_MAX_BYTES");
    if (text.empty())
        return kDefaultMaxBytes;
    WCHAR* end = nullptr;
    unsigned long long value = wcstoull(text.c_str(), &end, 10);
    if (!end || *end != L'\0' || value < kMinMaxBytes || value > kMaxMaxBytes)
        return kDefaultMaxBytes;
    return static_cast<DWORD>(value);
}

// A mutex name for this file: the same for every spelling of the path that GetFullPathNameW and
// case folding make equal. Backslashes are not allowed in the name, so the path is hashed.
std::wstring lockName(const std::wstring& path)
{
    WCHAR full[MAX_PATH * 2];
    DWORD n = GetFullPathNameW(path.c_str(), ARRAYSIZE(full), full, nullptr);
    std::wstring key = (n > 0 && n < ARRAYSIZE(full)) ? std::wstring(full) : path;
    CharLowerBuffW(&key[0], static_cast<DWORD>(key.size()));
    unsigned long long hash = 1469598103934665603ULL;   // FNV-1a
    for (WCHAR c : key) {
        hash ^= static_cast<unsigned short>(c);
        hash *= 1099511628211ULL;
    }
    WCHAR name[64];
    _snwprintf(name, ARRAYSIZE(name), L"Global\\KivoLog-%016llx", hash);
    name[ARRAYSIZE(name) - 1] = L'\0';
    return name;
}

std::wstring programName()
{
    WCHAR module[MAX_PATH * 2];
    DWORD n = GetModuleFileNameW(nullptr, module, ARRAYSIZE(module));
    if (n == 0 || n >= ARRAYSIZE(module))
        return L"?";
    const WCHAR* slash = wcsrchr(module, L'\\');
    return slash ? slash + 1 : module;
}

// The message on one line: line breaks and other control characters become blanks.
std::wstring formatMessage(LPCWSTR format, va_list args)
{
    WCHAR buffer[kMaxMessageChars];
    int n = _vsnwprintf(buffer, kMaxMessageChars - 1, format, args);
    buffer[kMaxMessageChars - 1] = L'\0';
    std::wstring message(buffer);
    if (n < 0)
        message += L"...";
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r'))
        message.pop_back();
    for (WCHAR& c : message) {
        if (c < L' ' && c != L'\t')
            c = L' ';
    }
    return message;
}

std::string composeLine(const std::wstring& message)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    WCHAR prefix[96];
    _snwprintf(prefix, ARRAYSIZE(prefix), L"%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", now.wYear, now.wMonth,
               now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds, GetCurrentProcessId());
    prefix[ARRAYSIZE(prefix) - 1] = L'\0';
    std::wstring line = prefix + programName() + L": " + message + L"\r\n";
    int cb = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), nullptr, 0,
                                 nullptr, nullptr);
    if (cb <= 0)
        return std::string();
    std::string utf8(static_cast<size_t>(cb), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), &utf8[0], cb, nullptr,
                        nullptr);
    return utf8;
}

HANDLE openForAppend(const std::wstring& path)
{
    return CreateFileW(path.c_str(), FILE_APPEND_DATA | SYNCHRONIZE,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Starts a new file when this line would take the current one past the limit. Only called while
// the log's mutex is held.
HANDLE rotateIfFull(HANDLE hFile, const std::wstring& path, size_t cbLine)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(hFile, &size) || size.QuadPart == 0
        || static_cast<unsigned long long>(size.QuadPart) + cbLine <= logLimitBytes())
        return hFile;
    CloseHandle(hFile);
    // A reader that holds the file without delete sharing keeps it from moving: then the file
    // simply grows until the next attempt succeeds.
    MoveFileExW(path.c_str(), (path + L".1").c_str(), MOVEFILE_REPLACE_EXISTING);
    return openForAppend(path);
}

void appendLine(const std::wstring& path, const std::string& line)
{
    HANDLE hLock = CreateMutexW(nullptr, FALSE, lockName(path).c_str());
    bool locked = false;
    if (hLock) {
        DWORD wait = WaitForSingleObject(hLock, kLockTimeoutMs);
        locked = wait == WAIT_OBJECT_0 || wait == WAIT_ABANDONED;
    }
    HANDLE hFile = openForAppend(path);
    if (hFile != INVALID_HANDLE_VALUE && locked)
        hFile = rotateIfFull(hFile, path, line.size());
    if (hFile != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(hFile, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
        CloseHandle(hFile);
    }
    if (locked)
        ReleaseMutex(hLock);
    if (hLock)
        CloseHandle(hLock);
}

} // namespace

extern "C" KIVOLIB_API void __cdecl WriteLog(LPCWSTR format, ...)
{
    if (!format)
        return;
    DWORD lastError = GetLastError();   // callers often log, then read their own error
    va_list args;
    va_start(args, format);
    std::wstring message = formatMessage(format, args);
    va_end(args);
    std::wstring path = logFilePath();
    std::string line = composeLine(message);
    if (!path.empty() && !line.empty())
        appendLine(path, line);
    SetLastError(lastError);
}
