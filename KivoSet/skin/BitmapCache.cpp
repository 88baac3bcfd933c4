#include "BitmapCache.h"

const wchar_t kSkinDataLibrary[] = L"KivoData.dll";

BitmapCache::BitmapCache(const wchar_t* dataLibrary) : m_dataLibrary(dataLibrary ? dataLibrary : L"") {}

BitmapCache::~BitmapCache() = default;   // each CBitmap deletes its GDI bitmap

CBitmap* BitmapCache::getBitmap(uint32_t id)
{
    auto found = m_bitmaps.find(id);
    if (found != m_bitmaps.end())
        return found->second.get();

    HINSTANCE saved = AfxGetResourceHandle();
    HMODULE data = ::LoadLibraryW(m_dataLibrary.c_str());
    if (!data)
        return nullptr;   // nothing kept: the next call tries again
    AfxSetResourceHandle(data);
    auto bitmap = std::make_unique<CBitmap>();
    LPCWSTR name = MAKEINTRESOURCEW(static_cast<WORD>(id));
    if (HBITMAP loaded = ::LoadBitmapW(AfxFindResourceHandle(name, RT_BITMAP), name))
        bitmap->Attach(loaded);
    CBitmap* result = bitmap.get();
    m_bitmaps.emplace(id, std::move(bitmap));   // kept even without a GDI bitmap
    AfxSetResourceHandle(saved);
    return result;
}
