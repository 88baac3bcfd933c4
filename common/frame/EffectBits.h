// The effect flag word the settings panel keeps and passes with each frame to the effects. Portable:
// the effects' native build uses it too.
#pragma once

#include <cstdint>

namespace kivo {

constexpr uint32_t kEffectFrameMask = 0x00F;   // any of these bits: lay the frame bitmap over
constexpr uint32_t kEffectZoomMask = 0x0F0;
constexpr uint32_t kEffectZoom1 = 0x010;       // 1.5x into the centre
constexpr uint32_t kEffectZoom2 = 0x020;       // 2x into the centre
// The panel's display mode; the effects leave the frame's picture to the panel in any mode but 0.
constexpr uint32_t kEffectModeMask = 0xF00;
constexpr uint32_t kEffectModeFreeze = 0x100;
constexpr uint32_t kEffectModeStill1 = 0x200;
constexpr uint32_t kEffectModeStill2 = 0x300;

}  // namespace kivo
