// The effect flag word a caller passes with a frame, and what it asks for.
#pragma once

#include <cstdint>
#include <optional>

namespace kivo::effects {

constexpr uint32_t kEffectFrameMask = 0x00F;   // any of these bits: lay the frame bitmap over
constexpr uint32_t kEffectZoomMask = 0x0F0;
constexpr uint32_t kEffectZoom1 = 0x010;       // 1.5x into the centre
constexpr uint32_t kEffectZoom2 = 0x020;       // 2x into the centre
// The settings panel keeps its display mode in these bits (freeze 0x100, still pictures 0x200 and
// 0x300) and passes them along with the frame and zoom bits; the mode is the panel's own business.
constexpr uint32_t kEffectModeMask = 0x300;

struct EffectRequest {
    int zoomStep;     // 0 none, 1 or 2
    bool overlay;
};

// What the flags ask for, or nothing for a flag word the effects do not know (an unknown bit, or
// both zoom steps at once).
std::optional<EffectRequest> parseEffectFlags(uint32_t flags);

// The magnification of a zoom step: 1, 1.5 or 2.
double zoomFactor(int zoomStep);

}  // namespace kivo::effects
