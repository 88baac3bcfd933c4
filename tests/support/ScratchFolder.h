// A folder of the test's own, with a unique name, removed with everything in it at the end.
#pragma once

#include <string>

namespace kivotest {

class ScratchFolder {
public:
    // Under the temporary folder, or under parent when one is given.
    explicit ScratchFolder(const std::wstring& stem, const std::wstring& parent = std::wstring());
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    bool created() const { return m_created; }
    const std::wstring& path() const { return m_path; }
    std::wstring file(const std::wstring& name) const { return m_path + L"\\" + name; }

private:
    std::wstring m_path;
    bool m_created = false;
};

// Removes the folder and everything under it.
void removeFolderTree(const std::wstring& folder);

} // namespace kivotest
