// Magnifies the centre of a frame in place, bilinear, in the frame's own pixel format.
#pragma once

#include "FrameLayout.h"

#include <cstdint>
#include <vector>

namespace kivo::effects {

class FrameZoom {
public:
    // Enlarges the centre 1/factor of the frame to the whole frame. The sampling is symmetric about
    // the centre, so bottom-up and top-down frames are both handled in memory order. The plan
    // (which source samples and weights each output sample uses) is made once per layout and
    // factor; a frame is then a horizontal pass per source row, read in the frame itself (a copy of
    // the centre only for frames too narrow for the vector loops' reach), and a vertical blend per
    // output row. Throws std::bad_alloc before touching the frame when memory runs out.
    void apply(const FrameLayout& layout, uint8_t* frame, double factor);

    // One output sample: two source samples (byte offsets in a row, or rows) and the weight of the
    // second in 1/256.
    struct Tap {
        uint32_t first;
        uint32_t second;
        uint32_t weight;
    };

private:
    struct Plan {
        FrameLayout layout{};
        double factor = 0;
        std::vector<Tap> columns;    // RGB: per pixel; YUY2: per luma sample
        std::vector<Tap> chroma;     // YUY2: per chroma pair (blue difference; red is 2 bytes on)
        std::vector<Tap> rows;
        std::vector<uint16_t> lanes;  // the vector loops' weights (ZoomRowWeights)
        size_t cropFirstByte = 0;
        size_t cropBytes = 0;
        size_t cropFirstRow = 0;
        size_t cropRows = 0;
        bool inPlace = false;     // source rows read in the frame, not from a copy of the centre
        size_t middleRow = 0;     // the last row of the upper half
    };

    void preparePlan(const FrameLayout& layout, double factor);
    void copyCentre(const uint8_t* frame);
    const uint8_t* sourceRow(const uint8_t* frame, uint32_t row) const;
    const uint16_t* scaledRow(const uint8_t* frame, uint32_t row, uint32_t keep);
    void zoomRow(uint8_t* frame, size_t y);
    void scaleRow(const uint8_t* source, uint16_t* out) const;

    Plan m_plan;
    bool m_hasPlan = false;
    std::vector<uint8_t> m_centre;   // the centre's rows, or only the middle row when read in place
    std::vector<uint16_t> m_scaled[2];
    int64_t m_scaledRow[2] = {-1, -1};
};

}  // namespace kivo::effects
