// A frame bitmap prepared for one frame layout, and laying it over frames. Preparing costs a scale
// and a conversion; laying over costs a copy of the shown bytes only.
#pragma once

#include "FramePicture.h"

#include <cstdint>
#include <vector>

namespace kivo::effects {

class FrameOverlay {
public:
    explicit FrameOverlay(FramePicture picture);

    // Copies the shown bytes into the frame (of the layout's byte size). Decorative frames show as
    // a few long runs per row, which are copied as such; a picture broken into many short runs is
    // blended through its byte mask instead, so that no bitmap makes this slow.
    void applyTo(uint8_t* frame) const;

    size_t byteSize() const { return m_pixels.size(); }

private:
    struct Run {
        uint32_t offset;
        uint32_t length;
    };

    std::vector<uint8_t> m_pixels;
    std::vector<Run> m_runs;
    std::vector<uint8_t> m_mask;   // only kept when the runs are too many and short
};

}  // namespace kivo::effects
