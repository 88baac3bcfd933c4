// The skin painters' bitmap cache: bitmaps of the data library by resource id, each loaded once
// and owned until the cache goes. Used on the user-interface thread only: a miss switches the
// module's resource handle for the duration of the load.
#pragma once

#include <afxwin.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>

// The data library that holds the skin's bitmaps.
extern const wchar_t kSkinDataLibrary[];   // L"KivoData.dll"

class BitmapCache {
public:
    explicit BitmapCache(const wchar_t* dataLibrary = kSkinDataLibrary);
    ~BitmapCache();

    // The bitmap with this id: from the cache, or loaded from the data library and kept. Null (and
    // nothing kept, so the next call tries again) when the data library cannot be loaded; an object
    // without a GDI bitmap (kept) when the library has no bitmap of that id. The library stays loaded
    // for the rest of the process.
    CBitmap* getBitmap(uint32_t id);
    size_t size() const { return m_bitmaps.size(); }

    BitmapCache(const BitmapCache&) = delete;
    BitmapCache& operator=(const BitmapCache&) = delete;

private:
    std::map<uint32_t, std::unique_ptr<CBitmap>> m_bitmaps;
    std::wstring m_dataLibrary;
};
