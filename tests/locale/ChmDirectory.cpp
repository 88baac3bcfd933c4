#include "ChmDirectory.h"

#include <cstring>
#include <set>

namespace {

uint32_t le32(const std::vector<unsigned char>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 |
           uint32_t(b[at + 3]) << 24;
}

uint64_t le64(const std::vector<unsigned char>& b, size_t at)
{
    return uint64_t(le32(b, at)) | uint64_t(le32(b, at + 4)) << 32;
}

// The directory's variable-length numbers: 7 bits a byte, most significant first, high bit = more.
bool encint(const std::vector<unsigned char>& b, size_t& at, size_t end, uint64_t& value)
{
    value = 0;
    for (int n = 0; n < 10 && at < end; ++n) {
        unsigned char c = b[at++];
        value = (value << 7) | (c & 0x7F);
        if (!(c & 0x80))
            return true;
    }
    return false;
}

const size_t kItsfHeaderV3 = 0x60;
const size_t kPmglHeader = 0x14;

} // namespace

bool ChmDirectory::fail(const std::string& reason)
{
    m_error = reason;
    return false;
}

bool ChmDirectory::parse(const std::vector<unsigned char>& file)
{
    m_file = &file;
    m_entries.clear();
    if (file.size() < kItsfHeaderV3 || std::memcmp(file.data(), "ITSF", 4) != 0)
        return fail("no ITSF signature");
    if (le32(file, 4) != 3 || le32(file, 8) != kItsfHeaderV3)
        return fail("not a version 3 header");
    uint64_t dirOffset = le64(file, 0x48);
    uint64_t dirLength = le64(file, 0x50);
    m_contentOffset = le64(file, 0x58);
    if (dirOffset + dirLength > file.size() || m_contentOffset > file.size())
        return fail("directory or content beyond the end of the file");
    if (dirLength < 0x54 || std::memcmp(&file[dirOffset], "ITSP", 4) != 0)
        return fail("no ITSP directory header");

    size_t headerLength = le32(file, dirOffset + 8);
    size_t chunkSize = le32(file, dirOffset + 0x10);
    int32_t firstListing = static_cast<int32_t>(le32(file, dirOffset + 0x20));
    uint32_t chunkCount = le32(file, dirOffset + 0x2C);
    if (chunkSize < kPmglHeader || headerLength + uint64_t(chunkCount) * chunkSize > dirLength)
        return fail("directory chunks do not fit the directory");

    // Follow the listing chunks from the first; each names the next, -1 ends the chain.
    std::set<int32_t> seen;
    for (int32_t chunk = firstListing; chunk != -1;) {
        if (chunk < 0 || uint32_t(chunk) >= chunkCount || !seen.insert(chunk).second)
            return fail("broken chain of listing chunks");
        size_t at = dirOffset + headerLength + size_t(chunk) * chunkSize;
        if (!parseChunk(at, chunkSize))
            return false;
        chunk = static_cast<int32_t>(le32(file, at + 0x10));
    }
    return !m_entries.empty() || fail("empty directory");
}

bool ChmDirectory::parseChunk(size_t at, size_t chunkSize)
{
    const std::vector<unsigned char>& b = *m_file;
    if (std::memcmp(&b[at], "PMGL", 4) != 0)
        return fail("listing chunk without PMGL signature");
    size_t freeSpace = le32(b, at + 4);
    if (freeSpace > chunkSize - kPmglHeader)
        return fail("listing chunk with impossible free space");
    size_t p = at + kPmglHeader;
    size_t end = at + chunkSize - freeSpace;
    while (p < end) {
        uint64_t nameLength = 0;
        if (!encint(b, p, end, nameLength) || nameLength == 0 || p + nameLength > end)
            return fail("bad name in listing chunk");
        std::string name(reinterpret_cast<const char*>(&b[p]), size_t(nameLength));
        p += size_t(nameLength);
        Entry e;
        if (!encint(b, p, end, e.section) || !encint(b, p, end, e.offset) ||
            !encint(b, p, end, e.length))
            return fail("bad entry for " + name);
        m_entries[name] = e;
    }
    return true;
}

bool ChmDirectory::readUncompressed(const std::string& name, std::string& data) const
{
    auto it = m_entries.find(name);
    if (it == m_entries.end() || it->second.section != 0 || !m_file)
        return false;
    uint64_t from = m_contentOffset + it->second.offset;
    if (from + it->second.length > m_file->size())
        return false;
    data.assign(reinterpret_cast<const char*>(m_file->data() + from), size_t(it->second.length));
    return true;
}
