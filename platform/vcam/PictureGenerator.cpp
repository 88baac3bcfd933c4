#include "PictureGenerator.h"

#include "PropertyCatalog.h"

#include "KivoProtocol.h"
#include "PixelColour.h"

#include <algorithm>
#include <cstring>

namespace vcam {

namespace {

BYTE clip(int v)
{
    return BYTE(v < 0 ? 0 : v > 255 ? 255 : v);
}

// The colour of one pixel as packed YUV carries it.
void toYuv(DWORD p, int& y, int& u, int& v)
{
    int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    y = kivo::lumaOf(r, g, b);
    u = kivo::blueDifferenceOf(r, g, b);
    v = kivo::redDifferenceOf(r, g, b);
}

void drawMovingBar(std::vector<DWORD>& pixels, LONG width, LONG height, DWORD frameNumber)
{
    LONG barWidth = std::max<LONG>(2, width / 80);
    LONG x0 = LONG((frameNumber * DWORD(barWidth)) % DWORD(width - barWidth));
    LONG bottom = height - height / 8;
    for (LONG y = height / 4; y < bottom; ++y) {
        DWORD* row = pixels.data() + size_t(y) * size_t(width);
        std::fill(row + x0, row + x0 + barWidth, 0x00F0F0F0);
    }
}

// Sharpness below the default softens the picture with a horizontal box blur of that many pixels;
// above it, edges are lifted by the difference from a 3-pixel blur (an unsharp mask).
void applySharpness(std::vector<DWORD>& pixels, LONG width, LONG height, int level, std::vector<DWORD>& row)
{
    if (level == 0)
        return;
    const int radius = level < 0 ? -level : 1;
    const int span = 2 * radius + 1;
    row.resize(size_t(width));
    for (LONG y = 0; y < height; ++y) {
        DWORD* line = pixels.data() + size_t(y) * size_t(width);
        std::copy(line, line + width, row.begin());
        int sum[3] = {0, 0, 0};
        auto channel = [](DWORD p, int c) { return int((p >> (8 * c)) & 0xFF); };
        auto at = [&](LONG x) { return row[size_t(std::min<LONG>(width - 1, std::max<LONG>(0, x)))]; };
        for (LONG x = -radius; x <= radius; ++x)
            for (int c = 0; c < 3; ++c)
                sum[c] += channel(at(x), c);
        for (LONG x = 0; x < width; ++x) {
            DWORD out = 0;
            for (int c = 0; c < 3; ++c) {
                int blurred = sum[c] / span;
                int v = level < 0 ? blurred : channel(row[size_t(x)], c) + (channel(row[size_t(x)], c) - blurred) * level / 2;
                out |= DWORD(clip(v)) << (8 * c);
                sum[c] += channel(at(x + radius + 1), c) - channel(at(x - radius), c);
            }
            line[x] = out;
        }
    }
}

} // namespace

void convertPixels(const DWORD* pixels, const FrameFormat& format, BYTE* out)
{
    const LONG w = format.width, rows = format.rows();
    const DWORD stride = format.stride();
    for (LONG y = 0; y < rows; ++y) {
        const DWORD* src = pixels + size_t(y) * size_t(w);
        LONG outRow = format.topDown() ? y : rows - 1 - y;
        BYTE* dst = out + size_t(outRow) * stride;
        switch (format.pixel) {
        case PixelFormat::Rgb32:
            memcpy(dst, src, size_t(w) * 4);
            break;
        case PixelFormat::Rgb24:
            for (LONG x = 0; x < w; ++x) {
                dst[3 * x] = BYTE(src[x]);
                dst[3 * x + 1] = BYTE(src[x] >> 8);
                dst[3 * x + 2] = BYTE(src[x] >> 16);
            }
            memset(dst + 3 * size_t(w), 0, stride - 3 * size_t(w));
            break;
        case PixelFormat::Yuy2:
            for (LONG x = 0; x + 1 < w; x += 2) {
                int y0, u0, v0, y1, u1, v1;
                toYuv(src[x], y0, u0, v0);
                toYuv(src[x + 1], y1, u1, v1);
                BYTE* q = dst + 2 * size_t(x);
                q[0] = clip(y0);
                q[1] = clip((u0 + u1) / 2);
                q[2] = clip(y1);
                q[3] = clip((v0 + v1) / 2);
            }
            break;
        }
    }
}

void PictureGenerator::configure(const CameraRecord& camera)
{
    m_adjuster.configure(camera);
    m_direction = camera.direction;
    m_mirrored = camera.kind == kBuiltInCamera && camera.custom[kCustomMirrorSlot] != 0;
    const PropertyRange* sharpness = propertyRange(camera.kind, KIVO_PROP_SHARPNESS);
    m_sharpness = sharpness ? int(camera.props[KIVO_PROP_SHARPNESS].value - sharpness->def) : 0;
}

bool PictureGenerator::render(const FrameFormat& format, DWORD frameNumber, BYTE* out)
{
    const std::vector<DWORD>& scene = m_scene.scene(format.width, format.rows(), m_direction, m_mirrored);
    if (scene.empty())
        return false;
    m_work = scene;
    drawMovingBar(m_work, format.width, format.rows(), frameNumber);
    applySharpness(m_work, format.width, format.rows(), m_sharpness, m_row);
    m_adjuster.apply(m_work.data(), m_work.size());
    convertPixels(m_work.data(), format, out);
    return true;
}

} // namespace vcam
