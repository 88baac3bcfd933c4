#include "KeyedScaler.h"

#include <algorithm>
#include <cmath>

namespace {

// For one target column or row: the two neighbouring source pixels, the weight of the second, and
// the nearest one.
struct Tap {
    int first;
    int second;
    double weight;
    int nearest;
};

int clampIndex(int i, int size)
{
    return std::min(std::max(i, 0), size - 1);
}

// Where each target pixel's centre falls in the source.
std::vector<Tap> taps(int targetSize, int sourceSize)
{
    std::vector<Tap> result(static_cast<size_t>(targetSize));
    for (int t = 0; t < targetSize; ++t) {
        double s = (t + 0.5) * sourceSize / targetSize - 0.5;
        int s0 = int(std::floor(s));
        double f = s - s0;
        result[size_t(t)] = {clampIndex(s0, sourceSize), clampIndex(s0 + 1, sourceSize), f,
                             clampIndex(f < 0.5 ? s0 : s0 + 1, sourceSize)};
    }
    return result;
}

// Bilinear blend of the neighbours that are not the key, their weights renormalised.
DWORD blend(const KeyedPixels& src, const Tap& tx, const Tap& ty, DWORD key)
{
    const DWORD* rows[2] = {&src.pixels[size_t(ty.first) * src.width], &src.pixels[size_t(ty.second) * src.width]};
    const int columns[2] = {tx.first, tx.second};
    double sum[3] = {0, 0, 0};
    double total = 0;
    for (int j = 0; j < 2; ++j) {
        for (int i = 0; i < 2; ++i) {
            DWORD p = rows[j][columns[i]];
            if (p == key)
                continue;
            double w = (i ? tx.weight : 1 - tx.weight) * (j ? ty.weight : 1 - ty.weight);
            sum[0] += w * ((p >> 16) & 0xFF);
            sum[1] += w * ((p >> 8) & 0xFF);
            sum[2] += w * (p & 0xFF);
            total += w;
        }
    }
    if (total <= 0)
        return key;   // not reached: the nearest pixel is one of the four and is not the key
    DWORD r = DWORD(sum[0] / total + 0.5);
    DWORD g = DWORD(sum[1] / total + 0.5);
    DWORD b = DWORD(sum[2] / total + 0.5);
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
    std::vector<Tap> columns = taps(width, source.width);
    std::vector<Tap> rows = taps(height, source.height);
    for (int y = 0; y < height; ++y) {
        const Tap& ty = rows[size_t(y)];
        const DWORD* nearestRow = &source.pixels[size_t(ty.nearest) * source.width];
        DWORD* out = &target.pixels[size_t(y) * width];
        for (int x = 0; x < width; ++x) {
            const Tap& tx = columns[size_t(x)];
            out[x] = nearestRow[tx.nearest] == key ? key : blend(source, tx, ty, key);
        }
    }
    return target;
}
