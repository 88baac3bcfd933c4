// A copy of the locale library in the pseudo-language, for trying the programs' own layouts with
// texts longer than any real language's: every dialog template in the German geometry (the widest
// the library has) with the English texts made pseudo, every string and list entry likewise, all
// under the English language id, and the German resources gone, so that the resource loader gives
// the pseudo-language to every thread. Captions of owner-drawn buttons name their images and stay.
// Templates whose window lays itself out from its texts can keep the English geometry instead, so
// that their own layout code has to make the room.
#pragma once

#include "ScratchFolder.h"

#include <windows.h>

#include <string>
#include <vector>

namespace kivotest {

class PseudoLocale {
public:
    // Writes the copy of the library at locale (a path) into a folder of its own and loads it.
    explicit PseudoLocale(const std::wstring& locale, const std::vector<WORD>& englishLayouts = {});
    ~PseudoLocale();
    PseudoLocale(const PseudoLocale&) = delete;
    PseudoLocale& operator=(const PseudoLocale&) = delete;

    // The loaded copy; null when it could not be written or loaded.
    HMODULE module() const { return m_module; }
    // What went wrong, empty when nothing did.
    const std::string& error() const { return m_error; }

private:
    bool write(HMODULE original, const std::wstring& copy, const std::vector<WORD>& englishLayouts);

    ScratchFolder m_folder;
    HMODULE m_module = nullptr;
    std::string m_error;
};

} // namespace kivotest
