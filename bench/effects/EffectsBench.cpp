// Times each effect per format and frame size against the floor (memcpy of the frame) and against
// libyuv doing the same zoom. `--table FILE` also writes the medians as a markdown table.
#include "BenchTable.h"
#include "EffectFlags.h"
#include "FrameEffects.h"

#include <benchmark/benchmark.h>
#include <libyuv/planar_functions.h>
#include <libyuv/scale.h>
#include <libyuv/scale_argb.h>
#include <libyuv/scale_rgb.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <random>
#include <string>
#include <thread>
#include <vector>

using namespace kivo;
using namespace kivo::effects;

namespace {

struct Size {
    int width;
    int height;
};

const Size kSizes[] = {{320, 240}, {640, 480}, {1280, 720}, {1920, 1080}};

struct Format {
    const char* name;
    PixelFormat pixel;
    uint32_t compression;
    uint16_t bitCount;
    int bytesPerPixel;
};

const Format kFormats[] = {{"RGB24", PixelFormat::Rgb24, kCompressionRgb, 24, 3},
                           {"RGB32", PixelFormat::Rgb32, kCompressionRgb, 32, 4},
                           {"YUY2", PixelFormat::Yuy2, kCompressionYuy2, 16, 2}};

FrameHeader headerFor(const Format& format, Size size)
{
    return frameHeaderFor(format.pixel, size.width, size.height);
}

std::vector<uint8_t> randomFrame(size_t bytes)
{
    std::mt19937 random(1);
    std::vector<uint8_t> frame(bytes);
    for (uint8_t& byte : frame)
        byte = uint8_t(random());
    return frame;
}

// A 320x240 frame picture whose every pixel Paint sets (blue, green, red), keyed by Id.
template <unsigned Id, void (*Paint)(int x, int y, uint8_t* pixel)>
class PaintedFrame : public BitmapSource {
public:
    bool key(BitmapKey& key) const override
    {
        key = BitmapKey{Id, 0};
        return true;
    }
    bool read(SourceImage& image) const override
    {
        image.width = 320;
        image.height = 240;
        image.bgrx.assign(320 * 240 * 4, 0);
        for (int y = 0; y < 240; ++y)
            for (int x = 0; x < 320; ++x)
                Paint(x, y, image.bgrx.data() + (size_t(y) * 320 + size_t(x)) * 4);
        return true;
    }
};

// A decorative frame as the library ships them: a patterned border about a tenth of the picture
// wide with rounded inner corners, the colour key everywhere inside.
void paintDecorative(int x, int y, uint8_t* pixel)
{
    const int dx = std::max(0, std::max(40 - x, x - 279));
    const int dy = std::max(0, std::max(40 - y, y - 199));
    const bool inside = x >= 24 && x < 296 && y >= 24 && y < 216 && dx * dx + dy * dy < 16 * 16;
    pixel[0] = inside ? 255 : uint8_t(60 + (x * 7 + y * 3) % 120);
    pixel[1] = inside ? 0 : uint8_t(90 + (x ^ y) % 100);
    pixel[2] = inside ? 255 : uint8_t(140 + (x + y) % 90);
}
using DecorativeFrame = PaintedFrame<1, paintDecorative>;

// The worst case for an overlay: the colour key on every other pixel, so that nothing shows in
// runs and the whole frame goes through the byte mask.
void paintChecker(int x, int, uint8_t* pixel)
{
    pixel[0] = pixel[2] = x % 2 == 0 ? 255 : 0;
}
using CheckerFrame = PaintedFrame<2, paintChecker>;

void benchMemcpy(benchmark::State& state, FrameHeader header)
{
    std::vector<uint8_t> source = randomFrame(size_t(header.byteSize));
    std::vector<uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
}

// Frames back to back, each the last one's output again; or, with a gap, as the settings panel meets
// them: a frame time (33 ms) after the last, when the machine's other work has taken the effect's
// buffers and tables out of the caches, and the camera has just written the frame.
template <typename Bitmap>
void benchEffectWithGap(benchmark::State& state, FrameHeader header, uint32_t flags,
                        std::chrono::milliseconds gap)
{
    std::vector<uint8_t> frame = randomFrame(size_t(header.byteSize));
    const std::vector<uint8_t> camera = gap.count() ? frame : std::vector<uint8_t>();
    FrameEffects effects;
    Bitmap bitmap;
    // The first call prepares the bitmap for this frame layout; frames after it are what counts.
    effects.apply(header, frame.data(), flags, &bitmap);
    for (auto _ : state) {
        if (gap.count()) {
            state.PauseTiming();
            std::this_thread::sleep_for(gap);
            std::memcpy(frame.data(), camera.data(), frame.size());
            state.ResumeTiming();
        }
        if (!effects.apply(header, frame.data(), flags, &bitmap)) {
            state.SkipWithError("the effect failed");
            break;
        }
        benchmark::ClobberMemory();
    }
}

template <typename Bitmap>
void benchEffect(benchmark::State& state, FrameHeader header, uint32_t flags)
{
    benchEffectWithGap<Bitmap>(state, header, flags, std::chrono::milliseconds(0));
}

void benchRender(benchmark::State& state, FrameHeader header)
{
    std::vector<uint8_t> target(size_t(header.byteSize));
    FrameEffects effects;
    DecorativeFrame bitmap;
    effects.render(header, target.data(), &bitmap);
    for (auto _ : state) {
        if (!effects.render(header, target.data(), &bitmap)) {
            state.SkipWithError("rendering failed");
            break;
        }
        benchmark::ClobberMemory();
    }
}

// The centre 1/factor of the frame, as libyuv is given it: the crop's size and first byte.
struct Crop {
    int width;
    int height;
    size_t offset;
};

Crop centreCrop(Size size, double factor, int bytesPerPixel, size_t stride, int alignX)
{
    Crop crop;
    crop.width = int(size.width / factor) / alignX * alignX;
    crop.height = int(size.height / factor);
    const int x = (size.width - crop.width) / 2 / alignX * alignX;
    const int y = (size.height - crop.height) / 2;
    crop.offset = size_t(y) * stride + size_t(x) * size_t(bytesPerPixel);
    return crop;
}

// libyuv's nearest equivalent of our zoom: ARGBScale for RGB32, RGBScale (which goes through ARGB a
// row at a time) for RGB24, and for YUY2 a split into planes, I422Scale and a repack.
void benchLibyuvZoom(benchmark::State& state, Format format, Size size, double factor)
{
    const FrameHeader header = headerFor(format, size);
    const size_t stride = size_t(header.byteSize) / size_t(size.height);
    std::vector<uint8_t> source = randomFrame(size_t(header.byteSize));
    std::vector<uint8_t> target(source.size());
    const Crop crop = centreCrop(size, factor, format.bytesPerPixel, stride,
                                 format.compression == kCompressionYuy2 ? 2 : 1);
    const int w = size.width, h = size.height, cw = crop.width, ch = crop.height;
    std::vector<uint8_t> planes(size_t(cw * ch) * 2 + size_t(w * h) * 2);
    uint8_t* cy = planes.data();
    uint8_t* cu = cy + cw * ch;
    uint8_t* cv = cu + cw * ch / 2;
    uint8_t* sy = cv + cw * ch / 2;
    uint8_t* su = sy + w * h;
    uint8_t* sv = su + w * h / 2;
    const uint8_t* from = source.data() + crop.offset;
    for (auto _ : state) {
        int rc = 0;
        if (format.compression == kCompressionYuy2) {
            rc |= libyuv::YUY2ToI422(from, int(stride), cy, cw, cu, cw / 2, cv, cw / 2, cw, ch);
            rc |= libyuv::I422Scale(cy, cw, cu, cw / 2, cv, cw / 2, cw, ch, sy, w, su, w / 2, sv,
                                    w / 2, w, h, libyuv::kFilterBilinear);
            rc |= libyuv::I422ToYUY2(sy, w, su, w / 2, sv, w / 2, target.data(), int(stride), w, h);
        } else if (format.bitCount == 32) {
            rc = libyuv::ARGBScale(from, int(stride), cw, ch, target.data(), int(stride), w, h,
                                   libyuv::kFilterBilinear);
        } else {
            rc = libyuv::RGBScale(from, int(stride), cw, ch, target.data(), int(stride), w, h,
                                  libyuv::kFilterBilinear);
        }
        if (rc != 0) {
            state.SkipWithError("libyuv failed");
            break;
        }
        benchmark::ClobberMemory();
    }
}

std::string nameOf(const Format& format, Size size, const char* job)
{
    return std::string(format.name) + "/" + std::to_string(size.width) + "x" +
           std::to_string(size.height) + "/" + job;
}

void registerBenchmarks()
{
    for (const Format& format : kFormats)
        for (const Size size : kSizes) {
            const FrameHeader header = headerFor(format, size);
            auto add = [&](const char* job, auto&&... args) {
                benchmark::RegisterBenchmark(nameOf(format, size, job).c_str(), args...)
                    ->Unit(benchmark::kMicrosecond)
                    ->UseRealTime();
            };
            add("memcpy", benchMemcpy, header);
            add("libyuv-zoom1", benchLibyuvZoom, format, size, 1.5);
            add("libyuv-zoom2", benchLibyuvZoom, format, size, 2.0);
            add("zoom1", benchEffect<DecorativeFrame>, header, kEffectZoom1);
            add("zoom2", benchEffect<DecorativeFrame>, header, kEffectZoom2);
            add("overlay", benchEffect<DecorativeFrame>, header, kEffectFrameMask);
            add("overlay-checker", benchEffect<CheckerFrame>, header, kEffectFrameMask);
            add("zoom2+overlay", benchEffect<DecorativeFrame>, header, kEffectZoom2 | kEffectFrameMask);
            add("render", benchRender, header);
            if (size.width == 320 && size.height == 240) {
                // A frame time apart, so a fixed count: 100 frames take 3.3 s.
                auto addAfterIdle = [&](const char* job, uint32_t flags) {
                    benchmark::RegisterBenchmark(nameOf(format, size, job).c_str(),
                                                 benchEffectWithGap<DecorativeFrame>, header, flags,
                                                 std::chrono::milliseconds(33))
                        ->Unit(benchmark::kMicrosecond)
                        ->UseRealTime()
                        ->Iterations(100);
                };
                addAfterIdle("zoom1-after-idle", kEffectZoom1);
                addAfterIdle("zoom2+overlay-after-idle", kEffectZoom2 | kEffectFrameMask);
                addAfterIdle("overlay-after-idle", kEffectFrameMask);
            }
        }
}

}  // namespace

int main(int argc, char** argv)
{
    std::string tablePath;
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--table=", 8) == 0)
            tablePath = argv[i] + 8;
        else
            args.push_back(argv[i]);
    }
    int count = int(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data()))
        return 2;
    registerBenchmarks();
    BenchTable table;
    benchmark::RunSpecifiedBenchmarks(&table);
    benchmark::Shutdown();
    if (!tablePath.empty()) {
        std::ofstream out(tablePath);
        table.write(out);
        if (!out) {
            std::cerr << "effects_bench: cannot write " << tablePath << '\n';
            return 1;
        }
    }
    return 0;
}
