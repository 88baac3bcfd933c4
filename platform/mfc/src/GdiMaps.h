// The GDI wrappers' handle maps. The permanent map of each kind holds the objects that own their
// handle (Attach), process-wide like the handles themselves; FromHandle answers the owner when there
// is one, else a temporary wrapper from this thread's temporary map, freed at idle time
// (AfxDeleteTempGdiMaps).
#pragma once

#include "afximpl.h"

#include <mutex>

template <class TObject, class THandle>
class CPermanentHandleMap {
public:
    void Add(THandle h, TObject* pObject)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_map[h] = pObject;
    }

    // Forgets h only while it is still bound to pObject.
    void Remove(THandle h, const TObject* pObject)
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_map.find(h);
        if (it != m_map.end() && it->second == pObject)
            m_map.erase(it);
    }

    TObject* Lookup(THandle h) const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_map.find(h);
        return it == m_map.end() ? nullptr : it->second;
    }

private:
    mutable std::mutex m_mutex;
    std::unordered_map<THandle, TObject*> m_map;
};

CPermanentHandleMap<CGdiObject, HGDIOBJ>& AfxGdiObjectPermanentMap();
CPermanentHandleMap<CDC, HDC>& AfxDCPermanentMap();

// This thread's temporary wrappers, one map per class that FromHandle hands out.
CTempHandleMap<CGdiObject, HGDIOBJ>& AfxTempGdiObjectMap();
CTempHandleMap<CBrush, HBRUSH>& AfxTempBrushMap();
CTempHandleMap<CBitmap, HBITMAP>& AfxTempBitmapMap();
CTempHandleMap<CDC, HDC>& AfxTempDCMap();

// The owner of h when it is of class TObject, else a temporary TObject wrapper of h.
template <class TObject, class THandle>
TObject* AfxGdiObjectFromHandle(THandle h, CTempHandleMap<TObject, THandle>& tempMap)
{
    if (!h)
        return nullptr;
    CGdiObject* pOwner = AfxGdiObjectPermanentMap().Lookup(h);
    if (pOwner && pOwner->IsKindOf(RUNTIME_CLASS(TObject)))
        return static_cast<TObject*>(pOwner);
    if (TObject* pTemp = tempMap.Lookup(h))
        return pTemp;
    TObject* pTemp = new TObject;
    pTemp->m_hObject = h;
    return tempMap.Add(h, pTemp);
}
