// The one owner of a view of a file mapping: unmaps it once, when the owner goes or is reset.
// Declared after the mapping's UniqueHandle, so that the view is unmapped before the mapping closes.
#pragma once

#include <windows.h>

#include <memory>

namespace vcam {

struct ViewUnmapper {
    void operator()(const void* view) const { UnmapViewOfFile(view); }
};

template <class Layout>
using MappedView = std::unique_ptr<Layout, ViewUnmapper>;

// Maps the first bytes of the mapping (0: all of it) for reading and writing; null when it fails.
template <class Layout>
MappedView<Layout> mapView(HANDLE mapping, SIZE_T bytes)
{
    void* view = MapViewOfFile(mapping, FILE_MAP_READ | FILE_MAP_WRITE, 0, 0, bytes);
    return MappedView<Layout>(static_cast<Layout*>(view));
}

} // namespace vcam
