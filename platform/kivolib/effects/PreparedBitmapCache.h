// What was derived from a bitmap for one frame layout (scaled, converted, masked), kept for reuse
// until the bitmap, the frame's size or its format changes. The few most recent are kept.
#pragma once

#include "BitmapSource.h"
#include "FrameLayout.h"

#include <cstddef>
#include <memory>
#include <vector>

namespace kivo::effects {

template <typename Prepared>
class PreparedBitmapCache {
public:
    explicit PreparedBitmapCache(size_t capacity) : m_capacity(capacity) {}

    // The entry for this bitmap and layout, made the most recent; null when there is none.
    std::shared_ptr<const Prepared> find(const BitmapKey& bitmap, const FrameLayout& layout)
    {
        for (size_t i = 0; i < m_entries.size(); ++i) {
            if (m_entries[i].bitmap == bitmap && m_entries[i].layout == layout) {
                Entry entry = std::move(m_entries[i]);
                m_entries.erase(m_entries.begin() + std::ptrdiff_t(i));
                m_entries.insert(m_entries.begin(), std::move(entry));
                return m_entries.front().value;
            }
        }
        return nullptr;
    }

    // Adds an entry as the most recent, dropping the least recent beyond the capacity.
    void insert(const BitmapKey& bitmap, const FrameLayout& layout,
                std::shared_ptr<const Prepared> value)
    {
        m_entries.insert(m_entries.begin(), Entry{bitmap, layout, std::move(value)});
        if (m_entries.size() > m_capacity)
            m_entries.resize(m_capacity);
    }

    size_t size() const { return m_entries.size(); }

private:
    struct Entry {
        BitmapKey bitmap;
        FrameLayout layout;
        std::shared_ptr<const Prepared> value;
    };

    size_t m_capacity;
    std::vector<Entry> m_entries;   // most recent first
};

}  // namespace kivo::effects
