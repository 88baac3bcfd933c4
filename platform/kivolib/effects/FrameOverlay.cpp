#include "FrameOverlay.h"

#include <cstring>

namespace kivo::effects {

namespace {

// Runs shorter than this on average cost more as copies than a blend of the whole frame.
constexpr size_t kShortestAverageRun = 64;

// frame = frame where the mask is 0, pixels where it is 0xFF; eight bytes at a time.
void blendThroughMask(uint8_t* frame, const uint8_t* pixels, const uint8_t* mask, size_t count)
{
    size_t i = 0;
    for (; i + 8 <= count; i += 8) {
        uint64_t f, p, m;
        std::memcpy(&f, frame + i, 8);
        std::memcpy(&p, pixels + i, 8);
        std::memcpy(&m, mask + i, 8);
        f = (f & ~m) | (p & m);
        std::memcpy(frame + i, &f, 8);
    }
    for (; i < count; ++i)
        frame[i] = uint8_t((frame[i] & ~mask[i]) | (pixels[i] & mask[i]));
}

}  // namespace

FrameOverlay::FrameOverlay(FramePicture picture) : m_pixels(std::move(picture.pixels))
{
    const std::vector<uint8_t>& shown = picture.shown;
    size_t shownBytes = 0;
    for (size_t i = 0; i < shown.size();) {
        if (!shown[i]) {
            ++i;
            continue;
        }
        size_t end = i;
        while (end < shown.size() && shown[end])
            ++end;
        m_runs.push_back(Run{uint32_t(i), uint32_t(end - i)});
        shownBytes += end - i;
        i = end;
    }
    if (!m_runs.empty() && shownBytes / m_runs.size() < kShortestAverageRun) {
        m_runs.clear();
        m_mask = std::move(picture.shown);
    }
}

void FrameOverlay::applyTo(uint8_t* frame) const
{
    if (m_mask.empty()) {
        for (const Run& run : m_runs)
            std::memcpy(frame + run.offset, m_pixels.data() + run.offset, run.length);
        return;
    }
    blendThroughMask(frame, m_pixels.data(), m_mask.data(), m_pixels.size());
}

}  // namespace kivo::effects
