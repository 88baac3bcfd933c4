#include "ResourceCounts.h"

#include <winternl.h>

#include <algorithm>
#include <vector>

namespace kivotest {

namespace {

const ULONG kSystemHandleInformation = 16;
const NTSTATUS kInfoLengthMismatch = NTSTATUS(0xC0000004);
const size_t kPebGdiSharedHandleTable = 0xF8;   // in a 64-bit process
const size_t kGdiHandleCount = 0x10000;

typedef NTSTATUS(NTAPI* QuerySystemInformationFn)(ULONG, PVOID, ULONG, PULONG);

// One entry of the GDI handle table: 24 bytes, type 0 while the entry is free.
struct GdiEntry {
    UINT64 object;
    ULONG owner;
    USHORT unique;
    UCHAR type;
    UCHAR flags;
    UINT64 userPointer;
};
static_assert(sizeof(GdiEntry) == 24, "the table's entries are 24 bytes");

// The process handle, closed at the end of the scope.
class ProcessForReading {
public:
    explicit ProcessForReading(DWORD processId)
        : m_hProcess(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId))
    {
    }
    ~ProcessForReading()
    {
        if (m_hProcess)
            CloseHandle(m_hProcess);
    }
    ProcessForReading(const ProcessForReading&) = delete;
    ProcessForReading& operator=(const ProcessForReading&) = delete;
    HANDLE get() const { return m_hProcess; }

private:
    HANDLE m_hProcess;
};

bool readMemory(HANDLE hProcess, ULONG_PTR address, void* to, SIZE_T bytes)
{
    SIZE_T read = 0;
    return ReadProcessMemory(hProcess, reinterpret_cast<LPCVOID>(address), to, bytes, &read) && read == bytes;
}

} // namespace

long kernelHandleCount(DWORD processId)
{
    auto query = reinterpret_cast<QuerySystemInformationFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQuerySystemInformation")));
    if (!query)
        return -1;
    std::vector<BYTE> buffer(1 << 20);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        NTSTATUS status = query(kSystemHandleInformation, buffer.data(), ULONG(buffer.size()), &needed);
        if (status == kInfoLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, size_t(needed) + 4096));
            continue;
        }
        if (status < 0)
            return -1;
        auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
        size_t fit = (buffer.size() - offsetof(SYSTEM_HANDLE_INFORMATION, Handle)) / sizeof(SYSTEM_HANDLE_ENTRY);
        long count = 0;
        for (size_t i = 0; i < table->Count && i < fit; ++i)
            count += table->Handle[i].OwnerPid == processId;
        return count;
    }
    return -1;
}

long gdiObjectCount(DWORD processId)
{
    ProcessForReading process(processId);
    if (!process.get())
        return -1;
    PROCESS_BASIC_INFORMATION info = {};
    ULONG got = 0;
    if (NtQueryInformationProcess(process.get(), ProcessBasicInformation, &info, sizeof(info), &got) < 0)
        return -1;
    ULONG_PTR table = 0;
    if (!readMemory(process.get(), reinterpret_cast<ULONG_PTR>(info.PebBaseAddress) + kPebGdiSharedHandleTable,
                    &table, sizeof(table)) || !table)
        return -1;
    std::vector<GdiEntry> entries(kGdiHandleCount);
    if (!readMemory(process.get(), table, entries.data(), entries.size() * sizeof(GdiEntry)))
        return -1;
    return long(std::count_if(entries.begin(), entries.end(), [](const GdiEntry& e) { return e.type != 0; }));
}

} // namespace kivotest
