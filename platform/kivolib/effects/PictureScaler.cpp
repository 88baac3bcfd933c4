#include "PictureScaler.h"

#include <algorithm>
#include <cmath>

namespace kivo::effects {

namespace {

// For each destination position, the run of source positions it reads and their weights.
struct FilterTable {
    std::vector<int> first;
    std::vector<int> count;
    std::vector<size_t> offset;
    std::vector<float> weights;
    int maxTaps = 0;
};

FilterTable buildFilterTable(int sourceSize, int targetSize)
{
    FilterTable table;
    const double scale = double(sourceSize) / targetSize;
    const double radius = std::max(1.0, scale);
    std::vector<double> taps;
    for (int i = 0; i < targetSize; ++i) {
        const double centre = (i + 0.5) * scale - 0.5;
        // Positions beyond the edges are left out rather than repeated, so that an edge pixel
        // weighs no more than its neighbours; the nearest source pixel always has weight.
        const int first = std::clamp(int(std::ceil(centre - radius)), 0, sourceSize - 1);
        const int last = std::clamp(int(std::floor(centre + radius)), 0, sourceSize - 1);
        taps.assign(size_t(last - first + 1), 0.0);
        double sum = 0;
        for (int j = first; j <= last; ++j) {
            const double weight = std::max(0.0, 1.0 - std::fabs(j - centre) / radius);
            taps[size_t(j - first)] = weight;
            sum += weight;
        }
        if (sum <= 0) {
            taps.assign(1, 1.0);
            sum = 1.0;
        }
        table.first.push_back(first);
        table.count.push_back(int(taps.size()));
        table.offset.push_back(table.weights.size());
        for (double weight : taps)
            table.weights.push_back(float(weight / sum));
        table.maxTaps = std::max(table.maxTaps, int(taps.size()));
    }
    return table;
}

bool isKey(const uint8_t* pixel)
{
    return pixel[0] == kKeyBlue && pixel[1] == kKeyGreen && pixel[2] == kKeyRed;
}

// One source row scaled horizontally, colours multiplied by opacity: blue, green, red, opacity.
void scaleRow(const SourceImage& image, int row, const FilterTable& columns, bool keyed,
              float* out)
{
    const uint8_t* source = image.bgrx.data() + size_t(row) * size_t(image.width) * 4;
    for (size_t x = 0; x < columns.first.size(); ++x) {
        float sum[4] = {0, 0, 0, 0};
        const float* weights = columns.weights.data() + columns.offset[x];
        for (int t = 0; t < columns.count[x]; ++t) {
            const uint8_t* pixel = source + size_t(columns.first[x] + t) * 4;
            if (keyed && isKey(pixel))
                continue;
            sum[0] += weights[t] * pixel[0];
            sum[1] += weights[t] * pixel[1];
            sum[2] += weights[t] * pixel[2];
            sum[3] += weights[t];
        }
        std::copy(sum, sum + 4, out + x * 4);
    }
}

uint8_t toByte(float value)
{
    return uint8_t(std::clamp(std::lround(value), 0L, 255L));
}

void writePixel(const float* sum, bool keyed, uint8_t* out)
{
    if (keyed && sum[3] < 0.5f) {
        std::fill(out, out + 4, uint8_t(0));
        return;
    }
    const float coverage = keyed ? sum[3] : 1.0f;
    for (int c = 0; c < 3; ++c)
        out[c] = toByte(sum[c] / coverage);
    out[3] = 255;
}

}  // namespace

ScaledPicture scalePicture(const SourceImage& image, int width, int height, bool keyed)
{
    const FilterTable columns = buildFilterTable(image.width, width);
    const FilterTable rows = buildFilterTable(image.height, height);

    // Horizontally scaled source rows, kept in a ring as the output moves down the picture.
    const size_t ringSize = size_t(rows.maxTaps);
    const size_t rowFloats = size_t(width) * 4;
    std::vector<float> ring(ringSize * rowFloats);
    std::vector<int> ringRow(ringSize, -1);

    ScaledPicture picture;
    picture.width = width;
    picture.height = height;
    picture.bgra.resize(size_t(width) * size_t(height) * 4);
    std::vector<float> sum(rowFloats);
    for (int y = 0; y < height; ++y) {
        std::fill(sum.begin(), sum.end(), 0.0f);
        const float* weights = rows.weights.data() + rows.offset[size_t(y)];
        for (int t = 0; t < rows.count[size_t(y)]; ++t) {
            const int sourceRow = rows.first[size_t(y)] + t;
            const size_t slot = size_t(sourceRow) % ringSize;
            float* scaled = ring.data() + slot * rowFloats;
            if (ringRow[slot] != sourceRow) {
                scaleRow(image, sourceRow, columns, keyed, scaled);
                ringRow[slot] = sourceRow;
            }
            for (size_t i = 0; i < rowFloats; ++i)
                sum[i] += weights[t] * scaled[i];
        }
        uint8_t* out = picture.bgra.data() + size_t(y) * rowFloats;
        for (int x = 0; x < width; ++x)
            writePixel(sum.data() + size_t(x) * 4, keyed, out + size_t(x) * 4);
    }
    return picture;
}

}  // namespace kivo::effects
