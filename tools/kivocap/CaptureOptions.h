// kivocap's command line.
#pragma once

#include "FrameFormat.h"

#include <string>

struct CaptureOptions {
    DWORD camera = 0;
    vcam::FrameFormat format;
    DWORD fps = 30;
    DWORD frames = 30;           // used when durationMs is 0
    DWORD durationMs = 0;
    std::wstring outDir;         // empty: frames are not written
    bool png = true;
    DWORD every = 1;             // write every n-th frame
    DWORD filterWaitMs = 100;
    DWORD skipMs = 0;            // frames of the first skipMs after the open are not counted
    bool printEvents = false;
    vcam::FrameFormat switchFormat;   // after switchAfter frames (0: never), at the same size
    DWORD switchAfter = 0;
    bool help = false;
};

// False with a message on a bad command line.
bool parseCaptureOptions(int argc, wchar_t** argv, CaptureOptions& options, std::wstring& error);

extern const wchar_t kCaptureUsage[];
