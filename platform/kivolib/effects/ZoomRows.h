// The inner loops of the zoom: one row scaled horizontally into 16-bit intermediates (value * 256,
// unrounded), and two such rows blended vertically into output bytes, rounded once.
#pragma once

#include "FrameZoom.h"

#include <cstddef>
#include <cstdint>

namespace kivo::effects {

void scaleRgb24Row(const uint8_t* source, const FrameZoom::Tap* columns, size_t width,
                   uint16_t* out);
void scaleRgb32Row(const uint8_t* source, const FrameZoom::Tap* columns, size_t width,
                   uint16_t* out);
void scaleYuy2Row(const uint8_t* source, const FrameZoom::Tap* luma, const FrameZoom::Tap* chroma,
                  size_t width, uint16_t* out);

// out[i] = (upper[i] * (256 - weight) + lower[i] * weight) / 65536, rounded.
void blendRows(const uint16_t* upper, const uint16_t* lower, uint32_t weight, uint8_t* out,
               size_t count);

}  // namespace kivo::effects
