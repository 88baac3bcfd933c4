#include "FrameOverlay.h"

#include <cstring>

namespace kivo::effects {

namespace {

// Runs shorter than this on average cost more as copies than a blend of the whole frame.
constexpr size_t kShortestAverageRun = 64;

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
    const uint8_t* pixels = m_pixels.data();
    const uint8_t* mask = m_mask.data();
    for (size_t i = 0; i < m_pixels.size(); ++i)
        frame[i] = uint8_t((frame[i] & ~mask[i]) | (pixels[i] & mask[i]));
}

}  // namespace kivo::effects
