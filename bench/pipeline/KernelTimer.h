// The effect kernels' own time for one frame, measured in this process through the installation's
// KivoLib.dll with the frame picture the panel uses: what the panel cannot avoid spending per frame.
#pragma once

#include <windows.h>

#include <string>

class IKivoLib;

class KernelTimer {
public:
    explicit KernelTimer(const std::wstring& kivoLibPath);
    ~KernelTimer();
    KernelTimer(const KernelTimer&) = delete;
    KernelTimer& operator=(const KernelTimer&) = delete;

    bool ready() const { return m_effects && m_frameBitmap; }
    // Median microseconds of one ApplyFrameEffect on a frame of this format and size with the flags
    // (0 when the flags ask for no kernel), and of one copy of the frame; false on failure.
    bool measure(const std::wstring& format, int width, int height, DWORD flags, double& kernelUs, double& copyUs);
    // The panel's own work on frames that come at fps, a frame time apart, each freshly written by the
    // camera: median microseconds of a processed frame (the effect, then the copy into the last
    // output) and of a repeated one (the copy of the last output over it). Both 0 without effects.
    // On a machine whose caches other work shares, these exceed the back-to-back figures of measure().
    bool measureAtFrameRate(const std::wstring& format, int width, int height, DWORD flags, int fps,
                            double& processedUs, double& repeatedUs);
    // Median microseconds of copying bytes into another buffer and back, once a frame at fps: what a
    // frame above 320x240 may add over the relay (a handoff through a shared buffer with a copy each
    // way). Frames come after idle time, when the buffers have left the caches, so these copies take
    // longer than back-to-back ones.
    static double twoCopiesAtFrameRate(DWORD bytes, int fps);

private:
    HMODULE m_hLib = nullptr;
    IKivoLib* m_effects = nullptr;
    HBITMAP m_frameBitmap = nullptr;
};
