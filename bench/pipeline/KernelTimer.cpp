#include "KernelTimer.h"

#include "FrameFormat.h"
#include "KivoLib.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const UINT kFirstFrameBitmapId = 10000;   // the library's first frame picture
const int kRepeats = 51;
const int kPacedRepeats = 31;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

double microsecondsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now, f;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&f);
    return double(now.QuadPart - start.QuadPart) * 1e6 / double(f.QuadPart);
}

} // namespace

KernelTimer::KernelTimer(const std::wstring& kivoLibPath)
{
    m_hLib = LoadLibraryExW(kivoLibPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    using Create = IKivoLib*(__cdecl*)();
    auto create = m_hLib ? reinterpret_cast<Create>(reinterpret_cast<void*>(GetProcAddress(m_hLib, "CreateKivoLib")))
                         : nullptr;
    m_effects = create ? create() : nullptr;
    if (m_hLib)
        m_frameBitmap = static_cast<HBITMAP>(LoadImageW(m_hLib, MAKEINTRESOURCEW(kFirstFrameBitmapId), IMAGE_BITMAP,
                                                        0, 0, LR_CREATEDIBSECTION));
}

KernelTimer::~KernelTimer()
{
    if (m_frameBitmap)
        DeleteObject(m_frameBitmap);
    if (m_effects)
        m_effects->Release();
    if (m_hLib)
        FreeLibrary(m_hLib);
}

namespace {

// A frame of the format ("rgb24", "rgb32", "yuy2") and size as the camera hands it over, its header
// the camera's own and its pixels a fixed pattern; no pixels when the camera makes no such frame.
struct TestFrame {
    KIVO_FRAME_BUFFER record = {};
    std::vector<BYTE> pixels;

    TestFrame(const std::wstring& format, int width, int height)
    {
        vcam::FrameFormat camera;
        if (!vcam::FrameFormat::parse(format, width, height, camera))
            return;
        camera.toHeader(record.bmiHeader);
        pixels.resize(camera.imageBytes());
        for (size_t i = 0; i < pixels.size(); ++i)
            pixels[i] = BYTE(i * 7 + i / 977);
        record.cbData = DWORD(pixels.size());
        record.pData = pixels.data();
    }
    bool made() const { return !pixels.empty(); }
};

} // namespace

bool KernelTimer::measure(const std::wstring& format, int width, int height, DWORD flags, double& kernelUs,
                          double& copyUs)
{
    TestFrame frame(format, width, height);
    if (!ready() || !frame.made())
        return false;
    std::vector<BYTE> copy(frame.pixels.size());
    std::vector<double> kernel, copies;
    for (int i = 0; i < kRepeats; ++i) {
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        memcpy(copy.data(), frame.pixels.data(), frame.pixels.size());
        copies.push_back(microsecondsSince(start));
        if (flags == 0)
            continue;
        QueryPerformanceCounter(&start);
        // The first call prepares the picture for this layout, as the panel's first frame does.
        if (!m_effects->ApplyFrameEffect(&frame.record, nullptr, m_frameBitmap, flags))
            return false;
        if (i > 0)
            kernel.push_back(microsecondsSince(start));
    }
    kernelUs = flags ? median(kernel) : 0;
    copyUs = median(copies);
    return true;
}

bool KernelTimer::measureAtFrameRate(const std::wstring& format, int width, int height, DWORD flags, int fps,
                                     double& processedUs, double& repeatedUs)
{
    processedUs = repeatedUs = 0;
    TestFrame frame(format, width, height);
    if (!ready() || !frame.made())
        return false;
    if (flags == 0)
        return true;
    const std::vector<BYTE> camera = frame.pixels;
    std::vector<BYTE> lastOutput(frame.pixels.size());
    std::vector<double> processed, repeated;
    // The first frame prepares the picture for this layout and is not counted.
    for (int i = 0; i <= 2 * kPacedRepeats; ++i) {
        Sleep(DWORD(1000 / std::max(fps, 1)));
        memcpy(frame.pixels.data(), camera.data(), camera.size());   // the camera wrote the frame
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        if (i % 2 == 0) {
            if (!m_effects->ApplyFrameEffect(&frame.record, nullptr, m_frameBitmap, flags))
                return false;
            memcpy(lastOutput.data(), frame.pixels.data(), lastOutput.size());
            if (i > 0)
                processed.push_back(microsecondsSince(start));
        } else {
            memcpy(frame.pixels.data(), lastOutput.data(), lastOutput.size());
            repeated.push_back(microsecondsSince(start));
        }
    }
    processedUs = median(processed);
    repeatedUs = median(repeated);
    return true;
}

double KernelTimer::twoCopiesAtFrameRate(DWORD bytes, int fps)
{
    std::vector<BYTE> frame(bytes, 0x5A), exchange(bytes, 0);
    std::vector<double> pairs;
    for (int i = 0; i < kPacedRepeats; ++i) {
        Sleep(DWORD(1000 / std::max(fps, 1)));
        LARGE_INTEGER start;
        QueryPerformanceCounter(&start);
        memcpy(exchange.data(), frame.data(), bytes);
        memcpy(frame.data(), exchange.data(), bytes);
        pairs.push_back(microsecondsSince(start));
    }
    return median(pairs);
}
