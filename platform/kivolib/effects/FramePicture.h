// A scaled picture turned into a frame's own pixel format and memory order, so that laying it into
// a frame is a plain copy of bytes.
#pragma once

#include "FrameLayout.h"
#include "PictureScaler.h"

#include <cstdint>
#include <vector>

namespace kivo::effects {

struct FramePicture {
    std::vector<uint8_t> pixels;   // layout.byteSize bytes; row padding is zero
    std::vector<uint8_t> shown;    // per byte: 0xFF where the picture shows, 0 where it does not
};

// The picture (of the layout's width and height) in the layout's format: RGB rows flipped for a
// bottom-up frame, RGB32's fourth byte 255, YUY2 with BT.601 video-range luma and chroma. A YUY2
// chroma pair takes its colour from the shown pixels of the two it covers, and shows when either of
// them does, so that a key colour never tints the picture's edge.
FramePicture toFramePicture(const ScaledPicture& picture, const FrameLayout& layout);

}  // namespace kivo::effects
