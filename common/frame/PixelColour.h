// RGB to YUV as every frame of the packed 4:2:2 format carries it, and back: BT.601, studio range.
// Portable: the effects' native build uses it too.
#pragma once

#include <cstdint>

namespace kivo {

constexpr uint8_t lumaOf(int red, int green, int blue)
{
    return uint8_t(((66 * red + 129 * green + 25 * blue + 128) >> 8) + 16);
}

// The bias of 128 << 8 keeps the sums positive, so the shift rounds the same way for every colour.
constexpr uint8_t blueDifferenceOf(int red, int green, int blue)
{
    return uint8_t((-38 * red - 74 * green + 112 * blue + 128 + (128 << 8)) >> 8);
}

constexpr uint8_t redDifferenceOf(int red, int green, int blue)
{
    return uint8_t((112 * red - 94 * green - 18 * blue + 128 + (128 << 8)) >> 8);
}

constexpr uint8_t clampedByte(int value)
{
    return uint8_t(value < 0 ? 0 : value > 255 ? 255 : value);
}

// One pixel of a YUV frame as blue, green, red bytes (a DIB's order).
inline void bgrOfYuv(int luma, int blueDifference, int redDifference, uint8_t* bgr)
{
    const int c = luma - 16, d = blueDifference - 128, e = redDifference - 128;
    bgr[0] = clampedByte((298 * c + 516 * d + 128) >> 8);
    bgr[1] = clampedByte((298 * c - 100 * d - 208 * e + 128) >> 8);
    bgr[2] = clampedByte((298 * c + 409 * e + 128) >> 8);
}

}  // namespace kivo
