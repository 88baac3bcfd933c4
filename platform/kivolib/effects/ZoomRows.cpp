#include "ZoomRows.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace kivo::effects {

namespace {

inline uint16_t mix(uint32_t a, uint32_t b, uint32_t weight)
{
    return uint16_t(a * (256 - weight) + b * weight);
}

inline uint8_t blend(uint32_t upper, uint32_t lower, uint32_t upperWeight, uint32_t lowerWeight)
{
    return uint8_t((((upper * upperWeight) >> 16) + ((lower * lowerWeight) >> 16) + 128) >> 8);
}

}  // namespace

namespace portable {

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
        const uint16_t lanes[4] = {uint16_t(even), uint16_t(odd), uint16_t(even >> 16),
                                   uint16_t(odd >> 16)};
        std::memcpy(out, lanes, sizeof lanes);
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
    const uint32_t upperWeight = (256 - weight) << 8, lowerWeight = weight << 8;
    for (size_t i = 0; i < count; ++i)
        out[i] = weight ? blend(upper[i], lower[i], upperWeight, lowerWeight)
                        : uint8_t((upper[i] + 128u) >> 8);
}

}  // namespace portable

#if defined(__SSE2__)

#if defined(__GNUC__) && defined(__x86_64__)
#include <immintrin.h>
#define KIVO_HAVE_AVX2 1

namespace {

// 16 lanes of the blend, rounded to 8 bits but not yet packed.
__attribute__((target("avx2"))) inline __m256i blend16(const uint16_t* upper, const uint16_t* lower,
                                                       __m256i upperWeight, __m256i lowerWeight)
{
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(upper));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lower));
    const __m256i sum = _mm256_add_epi16(_mm256_mulhi_epu16(a, upperWeight), _mm256_mulhi_epu16(b, lowerWeight));
    return _mm256_srli_epi16(_mm256_add_epi16(sum, _mm256_set1_epi16(128)), 8);
}

// The blend 32 bytes at a time for a weight of 1..255, on processors with AVX2 (chosen at run
// time). The packs work within 128-bit halves, so the quarters are put back in order.
__attribute__((target("avx2"))) size_t blendRowsAvx2(const uint16_t* upper, const uint16_t* lower,
                                                     uint32_t weight, uint8_t* out, size_t count)
{
    const __m256i upperWeight = _mm256_set1_epi16(short((256 - weight) << 8));
    const __m256i lowerWeight = _mm256_set1_epi16(short(weight << 8));
    size_t i = 0;
    for (; i + 32 <= count; i += 32) {
        const __m256i low = blend16(upper + i, lower + i, upperWeight, lowerWeight);
        const __m256i high = blend16(upper + i + 16, lower + i + 16, upperWeight, lowerWeight);
        const __m256i packed = _mm256_permute4x64_epi64(_mm256_packus_epi16(low, high), 0xD8);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), packed);
    }
    return i;
}

// Output pixels x and x + 1 of a scaled row, one per 128-bit half: each half holds the 8 bytes at
// the pixel's first tap (its channels and its right neighbour's), times the pixel's lanes.
__attribute__((target("avx2"))) inline __m256i weightedTapPair(const uint8_t* source,
                                                               const FrameZoom::Tap* columns,
                                                               const uint16_t* lanes, size_t x)
{
    const __m128i low = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + columns[x].first));
    const __m128i both = _mm_castpd_si128(_mm_loadh_pd(
        _mm_castsi128_pd(low), reinterpret_cast<const double*>(source + columns[x + 1].first)));
    return _mm256_mullo_epi16(_mm256_cvtepu8_epi16(both),
                              _mm256_loadu_si256(reinterpret_cast<const __m256i*>(lanes + 8 * x)));
}

// Four output pixels per step: each 128-bit half holds two pixels with their right neighbours.
// The halves' sums come out as pixels 0, 2 | 1, 3 and are put back in order before the store.
__attribute__((target("avx2"))) size_t scaleRgb32RowAvx2(const uint8_t* source,
                                                         const FrameZoom::Tap* columns,
                                                         const uint16_t* lanes, size_t width,
                                                         uint16_t* out)
{
    size_t x = 0;
    for (; x + 4 <= width; x += 4) {
        const __m256i p0 = weightedTapPair(source, columns, lanes, x);
        const __m256i p1 = weightedTapPair(source, columns, lanes, x + 2);
        const __m256i sum = _mm256_add_epi16(_mm256_unpacklo_epi64(p0, p1), _mm256_unpackhi_epi64(p0, p1));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 4 * x), _mm256_permute4x64_epi64(sum, 0xD8));
    }
    return x;
}

// Four output pixels per step, as for RGB32: each 128-bit half holds a pixel's 8-byte load (its three
// channels and its neighbour's), weighted; the neighbour's lanes shifted onto the pixel's give its
// three channels, stored 8 bytes at a time so that the next store overwrites the fourth lane.
__attribute__((target("avx2"))) size_t scaleRgb24RowAvx2(const uint8_t* source,
                                                         const FrameZoom::Tap* columns,
                                                         const uint16_t* lanes, size_t width,
                                                         uint16_t* out)
{
    size_t x = 0;
    for (; x + 4 <= width; x += 4, out += 12) {
        __m256i p0 = weightedTapPair(source, columns, lanes, x);
        __m256i p1 = weightedTapPair(source, columns, lanes, x + 2);
        p0 = _mm256_add_epi16(p0, _mm256_srli_si256(p0, 6));
        p1 = _mm256_add_epi16(p1, _mm256_srli_si256(p1, 6));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(p0));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 3), _mm256_extracti128_si256(p0, 1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 6), _mm256_castsi256_si128(p1));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 9), _mm256_extracti128_si256(p1, 1));
    }
    return x;
}

// Asked once, on first use; the processor's features are read before that by __builtin_cpu_init,
// which a static initialiser could otherwise run ahead of.
bool hasAvx2()
{
    static const bool has = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") != 0;
    }();
    return has;
}

// Runs an AVX2 row kernel over the start of the row where the processor has AVX2: the pixels it
// did (none without), with lanes and out moved past them (channels output lanes a pixel).
template <typename Kernel>
size_t avx2RowHead(Kernel kernel, size_t channels, const uint8_t* source, const FrameZoom::Tap* columns,
                   size_t width, const uint16_t*& lanes, uint16_t*& out)
{
    if (!hasAvx2())
        return 0;
    const size_t done = kernel(source, columns, lanes, width, out);
    out += channels * done;
    lanes += 8 * done;
    return done;
}

}  // namespace
#endif

namespace {

// One output pixel's 8 lanes: the 8 bytes at its first tap (its channels and its right
// neighbour's), widened to 16 bits and times its lanes.
inline __m128i weightedTap(const uint8_t* source, const FrameZoom::Tap& tap, const uint16_t* lanes)
{
    const __m128i bytes = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + tap.first));
    return _mm_mullo_epi16(_mm_unpacklo_epi8(bytes, _mm_setzero_si128()),
                           _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes)));
}

}  // namespace

// Two output pixels per step: each 8-byte load holds a pixel and its right neighbour, widened to
// 16 bits and weighted; the two halves of each product summed give the pixel's four channels.
void scaleRgb32Row(const uint8_t* source, const FrameZoom::Tap* columns, ZoomRowWeights weights,
                   size_t width, uint16_t* out)
{
    const uint16_t* lanes = weights.lanes;
    size_t x = 0;
#if defined(KIVO_HAVE_AVX2)
    x = avx2RowHead(scaleRgb32RowAvx2, 4, source, columns, width, lanes, out);
#endif
    for (; x + 2 <= width; x += 2, out += 8, lanes += 16) {
        const __m128i p0 = weightedTap(source, columns[x], lanes);
        const __m128i p1 = weightedTap(source, columns[x + 1], lanes + 8);
        const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(p0, p1), _mm_unpackhi_epi64(p0, p1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), sum);
    }
    portable::scaleRgb32Row(source, columns + x, width - x, out);
}

// One pixel per step: the 8-byte load holds the pixel's and its neighbour's three channels; the
// store writes a fourth lane that the next pixel overwrites.
void scaleRgb24Row(const uint8_t* source, const FrameZoom::Tap* columns, ZoomRowWeights weights,
                   size_t width, uint16_t* out)
{
    const uint16_t* lanes = weights.lanes;
    size_t x = 0;
#if defined(KIVO_HAVE_AVX2)
    x = avx2RowHead(scaleRgb24RowAvx2, 3, source, columns, width, lanes, out);
#endif
    for (; x < width; ++x, out += 3, lanes += 8) {
        const __m128i p = weightedTap(source, columns[x], lanes);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out), _mm_add_epi16(p, _mm_srli_si128(p, 6)));
    }
}

namespace {

// The 8 lanes [y0a ua y1a va y0b ub y1b vb] of one pixel pair: each luma load holds a sample and
// its neighbour two bytes on, the chroma load both chroma samples and their neighbours.
inline __m128i yuy2PairLanes(const uint8_t* source, const FrameZoom::Tap* luma,
                             const FrameZoom::Tap& chroma, __m128i lowBytes)
{
    int32_t y0, y1;
    std::memcpy(&y0, source + luma[0].first, 4);
    std::memcpy(&y1, source + luma[1].first, 4);
    const __m128i first = _mm_and_si128(_mm_cvtsi32_si128(y0), lowBytes);    // y0a y0b
    const __m128i second = _mm_and_si128(_mm_cvtsi32_si128(y1), lowBytes);   // y1a y1b
    const __m128i uv = _mm_and_si128(
        _mm_loadl_epi64(reinterpret_cast<const __m128i*>(source + chroma.first)), lowBytes);
    return _mm_unpacklo_epi16(_mm_unpacklo_epi16(first, second), uv);
}

}  // namespace

void scaleYuy2Row(const uint8_t* source, const FrameZoom::Tap* luma, const FrameZoom::Tap* chroma,
                  ZoomRowWeights weights, size_t width, uint16_t* out)
{
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const uint16_t* lanes = weights.lanes;
    const size_t pairs = width / 2;
    size_t pair = 0;
    for (; pair + 2 <= pairs; pair += 2, out += 8, lanes += 16) {
        __m128i p0 = yuy2PairLanes(source, luma + 2 * pair, chroma[pair], lowBytes);
        __m128i p1 = yuy2PairLanes(source, luma + 2 * pair + 2, chroma[pair + 1], lowBytes);
        p0 = _mm_mullo_epi16(p0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes)));
        p1 = _mm_mullo_epi16(p1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(lanes + 8)));
        const __m128i sum = _mm_add_epi16(_mm_unpacklo_epi64(p0, p1), _mm_unpackhi_epi64(p0, p1));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), sum);
    }
    portable::scaleYuy2Row(source, luma + 2 * pair, chroma + pair, width - 2 * pair, out);
}


void blendRows(const uint16_t* upper, const uint16_t* lower, uint32_t weight, uint8_t* out,
               size_t count)
{
    const __m128i half = _mm_set1_epi16(128);
    size_t i = 0;
#if defined(KIVO_HAVE_AVX2)
    // Weight 0 (256 << 8 does not fit a lane) stays with the loop below.
    if (weight != 0 && hasAvx2()) {
        i = blendRowsAvx2(upper, lower, weight, out, count);
        upper += i;
        lower += i;
        out += i;
        count -= i;
        i = 0;
    }
#endif
    if (weight == 0) {
        for (; i + 16 <= count; i += 16) {
            const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i));
            const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + i + 8));
            const __m128i r0 = _mm_srli_epi16(_mm_add_epi16(a0, half), 8);
            const __m128i r1 = _mm_srli_epi16(_mm_add_epi16(a1, half), 8);
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(r0, r1));
        }
    } else {
        const __m128i upperWeight = _mm_set1_epi16(short((256 - weight) << 8));
        const __m128i lowerWeight = _mm_set1_epi16(short(weight << 8));
        auto blend8 = [&](size_t at) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper + at));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(lower + at));
            const __m128i sum = _mm_add_epi16(_mm_mulhi_epu16(a, upperWeight), _mm_mulhi_epu16(b, lowerWeight));
            return _mm_srli_epi16(_mm_add_epi16(sum, half), 8);
        };
        for (; i + 16 <= count; i += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_packus_epi16(blend8(i), blend8(i + 8)));
    }
    portable::blendRows(upper + i, lower + i, weight, out + i, count - i);
}

#else

void scaleRgb24Row(const uint8_t* source, const FrameZoom::Tap* columns, ZoomRowWeights,
                   size_t width, uint16_t* out)
{
    portable::scaleRgb24Row(source, columns, width, out);
}
void scaleRgb32Row(const uint8_t* source, const FrameZoom::Tap* columns, ZoomRowWeights,
                   size_t width, uint16_t* out)
{
    portable::scaleRgb32Row(source, columns, width, out);
}
void scaleYuy2Row(const uint8_t* source, const FrameZoom::Tap* luma, const FrameZoom::Tap* chroma,
                  ZoomRowWeights, size_t width, uint16_t* out)
{
    portable::scaleYuy2Row(source, luma, chroma, width, out);
}
void blendRows(const uint16_t* upper, const uint16_t* lower, uint32_t weight, uint8_t* out,
               size_t count)
{
    portable::blendRows(upper, lower, weight, out, count);
}

#endif

}  // namespace kivo::effects
