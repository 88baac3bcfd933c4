#include "EffectFlags.h"

namespace kivo::effects {

std::optional<EffectRequest> parseEffectFlags(uint32_t flags)
{
    if (flags & ~(kEffectFrameMask | kEffectZoomMask | kEffectModeMask))
        return std::nullopt;
    EffectRequest request{};
    switch (flags & kEffectZoomMask) {
    case 0: request.zoomStep = 0; break;
    case kEffectZoom1: request.zoomStep = 1; break;
    case kEffectZoom2: request.zoomStep = 2; break;
    default: return std::nullopt;
    }
    request.overlay = (flags & kEffectFrameMask) != 0;
    return request;
}

double zoomFactor(int zoomStep)
{
    switch (zoomStep) {
    case 1: return 1.5;
    case 2: return 2.0;
    default: return 1.0;
    }
}

}  // namespace kivo::effects
