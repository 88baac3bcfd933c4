#include "FrameZoom.h"

#include "ZoomRows.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kivo::effects {

namespace {

// Position x of `size` samples magnified about the centre reads the source at
// centre + (x - centre) / factor, between two neighbours.
std::vector<FrameZoom::Tap> centreTaps(size_t size, double factor)
{
    std::vector<FrameZoom::Tap> taps(size);
    const double centre = (double(size) - 1) / 2;
    for (size_t x = 0; x < size; ++x) {
        const double u = std::clamp(centre + (double(x) - centre) / factor, 0.0, double(size) - 1);
        uint32_t first = uint32_t(u);
        uint32_t weight = uint32_t(std::lround((u - first) * 256));
        if (weight == 256) {
            ++first;
            weight = 0;
        }
        const uint32_t second = std::min<uint32_t>(first + 1, uint32_t(size) - 1);
        taps[x] = FrameZoom::Tap{first, second, second == first ? 0 : weight};
    }
    return taps;
}

// Turns sample indices into byte offsets: sample i at base + i * step.
void toByteOffsets(std::vector<FrameZoom::Tap>& taps, uint32_t base, uint32_t step)
{
    for (FrameZoom::Tap& tap : taps) {
        tap.first = base + tap.first * step;
        tap.second = base + tap.second * step;
    }
}

void rebase(std::vector<FrameZoom::Tap>& taps, uint32_t origin)
{
    for (FrameZoom::Tap& tap : taps) {
        tap.first -= origin;
        tap.second -= origin;
    }
}

// The bytes [first, last] of a row that the taps read, each sample being `bytes` long.
void widenRange(const std::vector<FrameZoom::Tap>& taps, uint32_t bytes, size_t& first,
                size_t& last)
{
    for (const FrameZoom::Tap& tap : taps) {
        first = std::min<size_t>(first, std::min(tap.first, tap.second));
        last = std::max<size_t>(last, std::max(tap.first, tap.second) + bytes - 1);
    }
}

// Lane weights of the vector loops, 8 per RGB pixel or YUY2 pixel pair.
std::vector<uint16_t> laneWeights(PixelFormat format, const std::vector<FrameZoom::Tap>& columns,
                                  const std::vector<FrameZoom::Tap>& chroma)
{
    std::vector<uint16_t> lanes;
    auto a = [](const FrameZoom::Tap& tap) { return uint16_t(256 - tap.weight); };
    auto b = [](const FrameZoom::Tap& tap) { return uint16_t(tap.weight); };
    if (format == PixelFormat::Yuy2) {
        for (size_t pair = 0; pair < chroma.size(); ++pair) {
            const FrameZoom::Tap &y0 = columns[2 * pair], &y1 = columns[2 * pair + 1];
            const FrameZoom::Tap& c = chroma[pair];
            lanes.insert(lanes.end(), {a(y0), a(c), a(y1), a(c), b(y0), b(c), b(y1), b(c)});
        }
        return lanes;
    }
    for (const FrameZoom::Tap& tap : columns) {
        if (format == PixelFormat::Rgb32)
            lanes.insert(lanes.end(), {a(tap), a(tap), a(tap), a(tap), b(tap), b(tap), b(tap), b(tap)});
        else
            lanes.insert(lanes.end(), {a(tap), a(tap), a(tap), b(tap), b(tap), b(tap), 0, 0});
    }
    return lanes;
}

}  // namespace

void FrameZoom::preparePlan(const FrameLayout& layout, double factor)
{
    if (m_hasPlan && m_plan.layout == layout && m_plan.factor == factor)
        return;
    m_hasPlan = false;
    Plan plan;
    plan.layout = layout;
    plan.factor = factor;
    size_t first = layout.rowBytes, last = 0;
    if (layout.format == PixelFormat::Yuy2) {
        plan.columns = centreTaps(size_t(layout.width), factor);
        plan.chroma = centreTaps(size_t(layout.width) / 2, factor);
        toByteOffsets(plan.columns, 0, 2);
        toByteOffsets(plan.chroma, 1, 4);
        widenRange(plan.columns, 1, first, last);
        widenRange(plan.chroma, 3, first, last);   // the red difference two bytes on
        rebase(plan.chroma, uint32_t(first));
    } else {
        const uint32_t bytesPerPixel = layout.format == PixelFormat::Rgb24 ? 3 : 4;
        plan.columns = centreTaps(size_t(layout.width), factor);
        toByteOffsets(plan.columns, 0, bytesPerPixel);
        widenRange(plan.columns, bytesPerPixel, first, last);
    }
    rebase(plan.columns, uint32_t(first));
    plan.cropFirstByte = first;
    plan.cropBytes = last - first + 1;

    plan.rows = centreTaps(size_t(layout.height), factor);
    plan.cropFirstRow = plan.rows.front().first;
    plan.cropRows = size_t(plan.rows.back().second) - plan.cropFirstRow + 1;
    rebase(plan.rows, uint32_t(plan.cropFirstRow));

    plan.lanes = laneWeights(layout.format, plan.columns, plan.chroma);
    // Rows are read where they lie when the vector loops' reach past the crop stays in the row.
    plan.inPlace = plan.cropFirstByte + plan.cropBytes + kZoomRowSlack <= layout.stride;
    plan.middleRow = (size_t(layout.height) - 1) / 2;
    m_centre.resize(plan.inPlace ? plan.cropBytes + kZoomRowSlack
                                 : plan.cropRows * plan.cropBytes + kZoomRowSlack);
    for (std::vector<uint16_t>& row : m_scaled)
        row.resize(layout.rowBytes + kZoomRowSlack);
    m_plan = std::move(plan);
    m_hasPlan = true;
}

void FrameZoom::copyCentre(const uint8_t* frame)
{
    const uint8_t* source = frame + m_plan.cropFirstRow * m_plan.layout.stride + m_plan.cropFirstByte;
    for (size_t row = 0; row < m_plan.cropRows; ++row)
        std::memcpy(m_centre.data() + row * m_plan.cropBytes,
                    source + row * m_plan.layout.stride, m_plan.cropBytes);
}

// Source row `row` of the crop: in the frame itself, or in the copy when rows are not read in place
// or the row is the middle one, which the upper half overwrites before the lower half reads it.
const uint8_t* FrameZoom::sourceRow(const uint8_t* frame, uint32_t row) const
{
    const size_t frameRow = m_plan.cropFirstRow + row;
    if (!m_plan.inPlace)
        return m_centre.data() + size_t(row) * m_plan.cropBytes;
    if (frameRow == m_plan.middleRow)
        return m_centre.data();
    return frame + frameRow * m_plan.layout.stride + m_plan.cropFirstByte;
}

void FrameZoom::scaleRow(const uint8_t* source, uint16_t* out) const
{
    const size_t width = size_t(m_plan.layout.width);
    const ZoomRowWeights weights{m_plan.lanes.data()};
    switch (m_plan.layout.format) {
    case PixelFormat::Rgb24: scaleRgb24Row(source, m_plan.columns.data(), weights, width, out); break;
    case PixelFormat::Rgb32: scaleRgb32Row(source, m_plan.columns.data(), weights, width, out); break;
    case PixelFormat::Yuy2:
        scaleYuy2Row(source, m_plan.columns.data(), m_plan.chroma.data(), weights, width, out);
        break;
    }
}

// The centre row scaled horizontally; of the two kept rows, the one that is not `keep` is reused.
const uint16_t* FrameZoom::scaledRow(const uint8_t* frame, uint32_t row, uint32_t keep)
{
    for (int slot = 0; slot < 2; ++slot)
        if (m_scaledRow[slot] == int64_t(row))
            return m_scaled[slot].data();
    const int slot = m_scaledRow[0] == int64_t(keep) ? 1 : 0;
    scaleRow(sourceRow(frame, row), m_scaled[slot].data());
    m_scaledRow[slot] = row;
    return m_scaled[slot].data();
}

void FrameZoom::zoomRow(uint8_t* frame, size_t y)
{
    const Tap& tap = m_plan.rows[y];
    const uint16_t* upper = scaledRow(frame, tap.first, tap.second);
    const uint16_t* lower = scaledRow(frame, tap.second, tap.first);
    blendRows(upper, lower, tap.weight, frame + y * m_plan.layout.stride, m_plan.layout.rowBytes);
}

// Output row y reads source rows at or below it in the upper half and at or above it in the lower
// half (a row beyond it only with weight 0), so the upper half is written top-down and the lower
// half bottom-up without reading a row already written, but for the middle row: the upper half's
// last, which the lower half's first rows may read. It alone is copied, instead of the whole centre.
void FrameZoom::apply(const FrameLayout& layout, uint8_t* frame, double factor)
{
    preparePlan(layout, factor);
    m_scaledRow[0] = m_scaledRow[1] = -1;
    if (!m_plan.inPlace) {
        copyCentre(frame);
        for (size_t y = 0; y < size_t(layout.height); ++y)
            zoomRow(frame, y);
        return;
    }
    const size_t middle = m_plan.middleRow;
    if (middle >= m_plan.cropFirstRow && middle < m_plan.cropFirstRow + m_plan.cropRows)
        std::memcpy(m_centre.data(), frame + middle * layout.stride + m_plan.cropFirstByte,
                    m_plan.cropBytes);
    for (size_t y = 0; y <= middle; ++y)
        zoomRow(frame, y);
    for (size_t y = size_t(layout.height) - 1; y > middle; --y)
        zoomRow(frame, y);
}

}  // namespace kivo::effects
