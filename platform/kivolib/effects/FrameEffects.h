// The effects a frame can be given: zoom into the centre, a frame bitmap laid over the picture, and
// a bitmap drawn in a frame's format. Everything is checked before a byte of the frame is written;
// on failure the frame is left as it was.
#pragma once

#include "BitmapSource.h"
#include "FrameLayout.h"
#include "FrameOverlay.h"
#include "FrameZoom.h"
#include "PreparedBitmapCache.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace kivo::effects {

class FrameEffects {
public:
    FrameEffects();

    // Zooms (flag 0x010 or 0x020) and then lays the frame bitmap over (any of 0x00F), in place.
    // False, the frame untouched, for a header that does not describe its buffer, a null buffer,
    // unknown flags, or an overlay without a readable bitmap.
    bool apply(const FrameHeader& header, uint8_t* frame, uint32_t flags,
               const BitmapSource* frameBitmap);

    // Draws the bitmap scaled to the frame's size into target (the header's byte size) in the
    // frame's format and orientation. False, the target untouched, on the same faults.
    bool render(const FrameHeader& header, uint8_t* target, const BitmapSource* bitmap);

    // How many times a bitmap's pixels were read: once per bitmap, frame size and format.
    size_t bitmapReads() const { return m_bitmapReads; }

private:
    std::shared_ptr<const FrameOverlay> overlayFor(const BitmapSource& bitmap,
                                                   const FrameLayout& layout);
    std::shared_ptr<const std::vector<uint8_t>> renderingFor(const BitmapSource& bitmap,
                                                             const FrameLayout& layout);
    bool readBitmap(const BitmapSource& bitmap, SourceImage& image);

    FrameZoom m_zoom;
    PreparedBitmapCache<FrameOverlay> m_overlays;
    PreparedBitmapCache<std::vector<uint8_t>> m_renderings;
    size_t m_bitmapReads = 0;
};

}  // namespace kivo::effects
