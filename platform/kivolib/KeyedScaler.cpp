#include "KeyedScaler.h"

#include <algorithm>
#include <cmath>

namespace {

// Where a target pixel's centre falls in the source, in source pixel units.
double sourceCoordinate(int target, int targetSize, int sourceSize)
{
    return (target + 0.5) * sourceSize / targetSize - 0.5;
}

int clampIndex(int i, int size)
{
    return std::min(std::max(i, 0), size - 1);
}

DWORD blend(const KeyedPixels& src, double sx, double sy, DWORD key)
{
    int x0 = static_cast<int>(std::floor(sx));
    int y0 = static_cast<int>(std::floor(sy));
    double fx = sx - x0;
    double fy = sy - y0;
    double sum[3] = {0, 0, 0};
    double total = 0;
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            DWORD p = src.pixels[size_t(clampIndex(y0 + j, src.height)) * src.width + clampIndex(x0 + i, src.width)];
            if (p == key)
                continue;
            double w = (i ? fx : 1 - fx) * (j ? fy : 1 - fy);
            sum[0] += w * ((p >> 16) & 0xFF);
            sum[1] += w * ((p >> 8) & 0xFF);
            sum[2] += w * (p & 0xFF);
            total += w;
        }
    }
    if (total <= 0)
        return key;   // not reached: the nearest pixel is one of the four and is not the key
    DWORD r = DWORD(std::lround(sum[0] / total));
    DWORD g = DWORD(std::lround(sum[1] / total));
    DWORD b = DWORD(std::lround(sum[2] / total));
    DWORD result = (r << 16) | (g << 8) | b;
    return result == key ? (result ^ 1) : result;
}

} // namespace

KeyedPixels scaleKeyed(const KeyedPixels& source, int width, int height, DWORD key)
{
    KeyedPixels target;
    if (width <= 0 || height <= 0 || source.width <= 0 || source.height <= 0
        || source.pixels.size() != size_t(source.width) * source.height)
        return target;
    target.width = width;
    target.height = height;
    target.pixels.resize(size_t(width) * height);
    for (int y = 0; y < height; ++y) {
        double sy = sourceCoordinate(y, height, source.height);
        int ny = clampIndex(int(std::lround(sy)), source.height);
        for (int x = 0; x < width; ++x) {
            double sx = sourceCoordinate(x, width, source.width);
            int nx = clampIndex(int(std::lround(sx)), source.width);
            DWORD nearest = source.pixels[size_t(ny) * source.width + nx];
            target.pixels[size_t(y) * width + x] = nearest == key ? key : blend(source, sx, sy, key);
        }
    }
    return target;
}
