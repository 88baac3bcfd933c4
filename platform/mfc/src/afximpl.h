// The framework's internals shared by its sources: the temporary-wrapper maps and the dispatch depth.
#pragma once

#include "afxwin.h"

#include <unordered_map>

// How many window procedures of the framework are running on this thread, one inside the other.
int AfxGetDispatchDepth();

// A thread's temporary wrappers of handles the framework does not own (FromHandle). Each wrapper
// remembers the dispatch depth it was made at: the message loop frees them all when the queue is
// empty; a modal loop, running inside some handler, frees only those made inside it, so a wrapper an
// outer handler still holds stays valid until that handler has returned.
template <class TObject, class THandle>
class CTempHandleMap {
public:
    // Lets go of the handle without destroying it, before the wrapper is deleted.
    typedef void (*ReleaseFn)(TObject* pObject);

    explicit CTempHandleMap(ReleaseFn release) : m_release(release) {}
    ~CTempHandleMap() { DeleteTemp(-1); }

    TObject* Lookup(THandle h) const
    {
        auto it = m_map.find(h);
        return it == m_map.end() ? nullptr : it->second.pObject;
    }

    // Takes ownership of a new wrapper of h.
    TObject* Add(THandle h, TObject* pObject)
    {
        m_map[h] = Entry{pObject, AfxGetDispatchDepth()};
        return pObject;
    }

    // Frees the wrappers made deeper than depth (all of them for depth -1).
    void DeleteTemp(int depth)
    {
        for (auto it = m_map.begin(); it != m_map.end();) {
            if (depth >= 0 && it->second.depth <= depth) {
                ++it;
                continue;
            }
            TObject* pObject = it->second.pObject;
            it = m_map.erase(it);
            m_release(pObject);
            delete pObject;
        }
    }

    size_t GetCount() const { return m_map.size(); }

private:
    struct Entry {
        TObject* pObject;
        int depth;
    };
    std::unordered_map<THandle, Entry> m_map;
    ReleaseFn m_release;
};

// The depth below which AfxDeleteTempMaps keeps wrappers: 0 in the message loop, the depth of the
// handler running a modal loop inside it.
int AfxGetTempMapKeepDepth();

// Frees the GDI wrappers' temporary maps (CGdiObject::FromHandle, CDC::FromHandle) down to
// AfxGetTempMapKeepDepth(); defined by the GDI sources. Called by AfxDeleteTempMaps.
void AfxDeleteTempGdiMaps();

// The window whose control notifications are ignored while its UpdateData runs (null: none).
HWND& AfxLockoutNotifyWindow();

// Offers a child notification to the object bound to hWndChild (its OnChildNotify).
BOOL AfxReflectToChild(HWND hWndChild, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
