// Reads the directory of a compiled help file (.chm): the names, sections and sizes of the files
// it holds, and the bytes of those stored uncompressed. Enough to check a built help file.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class ChmDirectory {
public:
    struct Entry {
        uint64_t section = 0;   // 0 uncompressed, 1 compressed
        uint64_t offset = 0;    // within the section
        uint64_t length = 0;    // uncompressed length
    };

    // Parses the file's bytes; false with a reason in error() when they are not a help file.
    bool parse(const std::vector<unsigned char>& file);
    const std::string& error() const { return m_error; }

    const std::map<std::string, Entry>& entries() const { return m_entries; }
    bool has(const std::string& name) const { return m_entries.count(name) != 0; }
    // The bytes of a file of section 0; false when it is missing or stored compressed.
    bool readUncompressed(const std::string& name, std::string& data) const;

private:
    bool fail(const std::string& reason);
    bool parseChunk(size_t at, size_t chunkSize);

    const std::vector<unsigned char>* m_file = nullptr;
    uint64_t m_contentOffset = 0;
    std::map<std::string, Entry> m_entries;
    std::string m_error;
};
