#include "FrameList.h"

#include "KivoLib.h"

#include <vector>

namespace {
std::vector<UINT>& frameIds()
{
    static std::vector<UINT> ids;
    return ids;
}
} // namespace

void loadFrameList()
{
    std::vector<UINT>& ids = frameIds();
    std::vector<UINT>().swap(ids);
    // Each probe only tests that the frame exists; a library that answers every id must not keep
    // the program here for ever.
    for (UINT id = kFirstFrameId; id < kFirstFrameId + kMaxFrameCount; ++id) {
        HBITMAP bitmap = ImageFactory::CreateBitmap(id, 0, 0);
        if (!bitmap)
            break;
        DeleteObject(bitmap);
        ids.push_back(id);
    }
}

UINT frameIdAt(UINT index)
{
    const std::vector<UINT>& ids = frameIds();
    return index < ids.size() ? ids[index] : 0;
}

UINT frameCount()
{
    return static_cast<UINT>(frameIds().size());
}
