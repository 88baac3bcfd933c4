#include "PictureAdjuster.h"

#include "PropertyCatalog.h"

#include <algorithm>
#include <cmath>

namespace vcam {

namespace {

constexpr double kPi = 3.14159265358979323846;

BYTE clampByte(double v)
{
    return BYTE(std::min(255.0, std::max(0.0, v + 0.5)));
}

} // namespace

PictureAdjuster::PictureAdjuster() : m_chromaIdentity(true), m_chroma{{4096, 0}, {0, 4096}}
{
    for (int c = 0; c < 3; ++c)
        for (int v = 0; v < 256; ++v)
            m_table[c][v] = BYTE(v);
}

// The property's distance from its default as a fraction of its range (0 when not offered).
double PictureAdjuster::normalized(const CameraRecord& camera, LONG id) const
{
    const PropertyRange* r = propertyRange(camera.kind, id);
    if (!r || r->max == r->min)
        return 0.0;
    return double(camera.props[id].value - r->def) / double(r->max - r->min);
}

void PictureAdjuster::configure(const CameraRecord& camera)
{
    auto ratioToDefault = [&](LONG id) {
        const PropertyRange* r = propertyRange(camera.kind, id);
        if (!r || r->def == 0)
            return 1.0;
        return double(camera.props[id].value) / double(r->def);
    };
    double brightness = normalized(camera, 0) * 255.0;   // +-128 over the range
    double contrast = ratioToDefault(1);
    double gammaExponent = 1.0 / std::max(0.2, ratioToDefault(5));
    double warmth = normalized(camera, 7);                 // about -0.5 .. 0.5
    double backlight = normalized(camera, 8) * 120.0;
    double gain = 1.0 + normalized(camera, 9) * 2.0;
    double lowLight = camera.custom[kCustomLowLightSlot] ? 60.0 : 0.0;
    const double channelGain[3] = {1.0 - warmth * 0.7, 1.0, 1.0 + warmth * 0.7};   // blue, green, red

    for (int c = 0; c < 3; ++c) {
        for (int v = 0; v < 256; ++v) {
            double x = v * channelGain[c] * gain;
            x = (x - 128.0) * contrast + 128.0 + brightness;
            x = 255.0 * std::pow(std::min(1.0, std::max(0.0, x / 255.0)), gammaExponent);
            double shadow = 1.0 - x / 255.0;
            x += (backlight + lowLight) * shadow * shadow;
            m_table[c][v] = clampByte(x);
        }
    }

    double saturation = ratioToDefault(3);
    const PropertyRange* colorEnable = propertyRange(camera.kind, 6);
    if (colorEnable && camera.props[6].value == 0)
        saturation = 0.0;
    const PropertyRange* hueRange = propertyRange(camera.kind, 2);
    double hue = hueRange ? camera.props[2].value * kPi / 180.0 : 0.0;
    m_chroma[0][0] = int(std::lround(4096.0 * saturation * std::cos(hue)));
    m_chroma[0][1] = int(std::lround(-4096.0 * saturation * std::sin(hue)));
    m_chroma[1][0] = int(std::lround(4096.0 * saturation * std::sin(hue)));
    m_chroma[1][1] = int(std::lround(4096.0 * saturation * std::cos(hue)));
    m_chromaIdentity = m_chroma[0][0] == 4096 && m_chroma[1][1] == 4096 && m_chroma[0][1] == 0 && m_chroma[1][0] == 0;
}

void PictureAdjuster::apply(DWORD* pixels, size_t count) const
{
    for (size_t i = 0; i < count; ++i) {
        DWORD p = pixels[i];
        int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (!m_chromaIdentity) {
            int y = (77 * r + 150 * g + 29 * b) >> 8;
            int cb = b - y, cr = r - y;
            int cb2 = (m_chroma[0][0] * cb + m_chroma[0][1] * cr) >> 12;
            int cr2 = (m_chroma[1][0] * cb + m_chroma[1][1] * cr) >> 12;
            r = std::min(255, std::max(0, y + cr2));
            b = std::min(255, std::max(0, y + cb2));
            g = std::min(255, std::max(0, y - (cr2 * 77 + cb2 * 29) / 150));
        }
        pixels[i] = (DWORD(m_table[2][r]) << 16) | (DWORD(m_table[1][g]) << 8) | m_table[0][b];
    }
}

} // namespace vcam
