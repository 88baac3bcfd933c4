#include "ZoomRows.h"

#include <cstring>

namespace kivo::effects {

namespace {

inline uint16_t mix(uint32_t a, uint32_t b, uint32_t weight)
{
    return uint16_t(a * (256 - weight) + b * weight);
}

}  // namespace

void scaleRgb24Row(const uint8_t* source, const FrameZoom::Tap* columns, size_t width,
                   uint16_t* out)
{
    for (size_t x = 0; x < width; ++x, out += 3) {
        const FrameZoom::Tap& tap = columns[x];
        const uint8_t* a = source + tap.first;
        const uint8_t* b = source + tap.second;
        out[0] = mix(a[0], b[0], tap.weight);
        out[1] = mix(a[1], b[1], tap.weight);
        out[2] = mix(a[2], b[2], tap.weight);
    }
}

// Four channels at once in two 32-bit words, two 16-bit lanes each: a channel times a weight of
// at most 256 fits its lane, and so does the sum of the two weighted channels (255 * 256).
void scaleRgb32Row(const uint8_t* source, const FrameZoom::Tap* columns, size_t width,
                   uint16_t* out)
{
    for (size_t x = 0; x < width; ++x, out += 4) {
        const FrameZoom::Tap& tap = columns[x];
        uint32_t a, b;
        std::memcpy(&a, source + tap.first, 4);
        std::memcpy(&b, source + tap.second, 4);
        const uint32_t wb = tap.weight, wa = 256 - wb;
        const uint32_t even = (a & 0x00FF00FF) * wa + (b & 0x00FF00FF) * wb;
        const uint32_t odd = ((a >> 8) & 0x00FF00FF) * wa + ((b >> 8) & 0x00FF00FF) * wb;
        const uint32_t low = (even & 0xFFFF) | (odd << 16);
        const uint32_t high = (even >> 16) | (odd & 0xFFFF0000);
        std::memcpy(out, &low, 4);
        std::memcpy(out + 2, &high, 4);
    }
}

void scaleYuy2Row(const uint8_t* source, const FrameZoom::Tap* luma, const FrameZoom::Tap* chroma,
                  size_t width, uint16_t* out)
{
    for (size_t pair = 0; pair < width / 2; ++pair, out += 4, luma += 2) {
        const FrameZoom::Tap& c = chroma[pair];
        out[0] = mix(source[luma[0].first], source[luma[0].second], luma[0].weight);
        out[1] = mix(source[c.first], source[c.second], c.weight);
        out[2] = mix(source[luma[1].first], source[luma[1].second], luma[1].weight);
        out[3] = mix(source[c.first + 2], source[c.second + 2], c.weight);
    }
}

void blendRows(const uint16_t* upper, const uint16_t* lower, uint32_t weight, uint8_t* out,
               size_t count)
{
    if (weight == 0) {
        for (size_t i = 0; i < count; ++i)
            out[i] = uint8_t((upper[i] + 128u) >> 8);
        return;
    }
    const uint32_t upperWeight = 256 - weight;
    for (size_t i = 0; i < count; ++i)
        out[i] = uint8_t((upper[i] * upperWeight + lower[i] * weight + 32768u) >> 16);
}

}  // namespace kivo::effects
