// What the effect flag word a caller passes with a frame asks of the effects.
#pragma once

#include "EffectBits.h"

#include <cstdint>
#include <optional>

namespace kivo::effects {

struct EffectRequest {
    int zoomStep;     // 0 none, 1 or 2
    bool overlay;
};

// What the flags ask for, or nothing for a flag word the effects do not know (an unknown bit, or
// both zoom steps at once). The panel's mode bits travel along and ask nothing of the effects.
std::optional<EffectRequest> parseEffectFlags(uint32_t flags);

// The magnification of a zoom step: 1, 1.5 or 2.
double zoomFactor(int zoomStep);

}  // namespace kivo::effects
