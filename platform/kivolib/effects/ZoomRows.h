// The inner loops of the zoom: one row scaled horizontally into 16-bit intermediates (value * 256,
// unrounded), and two such rows blended vertically into output bytes, rounded once. With SSE2 (the
// x86-64 baseline) they run vectorised; the portable loops compute the same bytes.
#pragma once

#include "FrameZoom.h"

#include <cstddef>
#include <cstdint>

namespace kivo::effects {

// Per output pixel (RGB) or pixel pair (YUY2), the 8 lane weights the vector loops multiply by:
// RGB32 [a a a a b b b b], RGB24 [a a a b b b 0 0], YUY2 [y0a ua y1a ua y0b ub y1b ub], where a is
// 256 minus the tap's weight and b the weight.
struct ZoomRowWeights {
    const uint16_t* lanes;
};

// Source rows must be readable 16 bytes beyond their last sample and output rows writable 8 bytes
// beyond their end: the vector loops load and store whole words.
constexpr size_t kZoomRowSlack = 16;

void scaleRgb24Row(const uint8_t* source, const FrameZoom::Tap* columns, ZoomRowWeights weights,
                   size_t width, uint16_t* out);
void scaleRgb32Row(const uint8_t* source, const FrameZoom::Tap* columns, ZoomRowWeights weights,
                   size_t width, uint16_t* out);
void scaleYuy2Row(const uint8_t* source, const FrameZoom::Tap* luma, const FrameZoom::Tap* chroma,
                  ZoomRowWeights weights, size_t width, uint16_t* out);

// out[i] = upper[i] * (256 - weight) / 65536 + lower[i] * weight / 65536, each product truncated
// and the sum rounded.
void blendRows(const uint16_t* upper, const uint16_t* lower, uint32_t weight, uint8_t* out,
               size_t count);

// The scalar loops, for platforms without SSE2 and to check the vector loops against.
namespace portable {
void scaleRgb24Row(const uint8_t* source, const FrameZoom::Tap* columns, size_t width,
                   uint16_t* out);
void scaleRgb32Row(const uint8_t* source, const FrameZoom::Tap* columns, size_t width,
                   uint16_t* out);
void scaleYuy2Row(const uint8_t* source, const FrameZoom::Tap* luma, const FrameZoom::Tap* chroma,
                  size_t width, uint16_t* out);
void blendRows(const uint16_t* upper, const uint16_t* lower, uint32_t weight, uint8_t* out,
               size_t count);
}  // namespace portable

}  // namespace kivo::effects
