// What the camera driver, the product library and the programs share: the frame record an image
// access task hands over, its counters and results, the driver call that reads the direction, the
// picture property ids and the camera's custom property set. Below both the virtual camera and
// KivoLib.dll's interface, so that the camera needs no part of the library's DLL interface.
#pragma once

#include "EffectBits.h"
#include "FrameLayout.h"

#include <windows.h>

#include <cstddef>
#include <optional>

// --- the driver's signal word ---

#define OUCD_TYPE_GET_SPECIAL_SIGNAL 63   // driver call: the signal word
#define OU_SIGNAL_REAR 0x8                // signal word bit: the camera faces rear

// --- frames ---

// The frame buffer record that an image access task owns and refills for every frame. The pixel
// format is in the bitmap header: BI_RGB with 24 or 32 bits (height > 0 bottom-up, < 0 top-down),
// or the YUY2 FOURCC with 16 bits. In a 32-bit build width and height sit at bytes 44 and 48.
struct KIVO_FRAME_BUFFER {
    BYTE* pData;                  // the frame's pixels; null means no frame
    DWORD cbData;                 // size of the pixel data in bytes
    DWORD dwCameraIndex;
    DWORD dwFrameNumber;
    LONGLONG llTimestamp;         // capture time, 100 ns units
    LONGLONG llReserved[2];
    BITMAPINFOHEADER bmiHeader;
};

#ifndef _WIN64
static_assert(offsetof(KIVO_FRAME_BUFFER, bmiHeader) + offsetof(BITMAPINFOHEADER, biWidth) == 44,
              "frame width at byte 44");
static_assert(offsetof(KIVO_FRAME_BUFFER, bmiHeader) + offsetof(BITMAPINFOHEADER, biHeight) == 48,
              "frame height at byte 48");
#endif

// The fields of the record that say how its pixels lie.
inline kivo::FrameHeader frameHeaderOf(const KIVO_FRAME_BUFFER& frame)
{
    return kivo::FrameHeader{frame.bmiHeader.biCompression, frame.bmiHeader.biBitCount,
                             frame.bmiHeader.biWidth, frame.bmiHeader.biHeight, frame.cbData};
}

// The layout of the record's pixels, or nothing when its size, format and byte size disagree.
inline std::optional<kivo::FrameLayout> frameLayoutOf(const KIVO_FRAME_BUFFER& frame)
{
    return kivo::describeFrame(frameHeaderOf(frame));
}

// Counters of one task's frames; slot 2 of the task.
struct KIVO_FRAME_STATS {
    DWORD cbSize;                 // sizeof(KIVO_FRAME_STATS)
    DWORD dwProcessed;            // frames the filter window completed in time
    DWORD dwPassedThrough;        // frames handed on unprocessed (filter late, dead or busy)
};

// Results of IImgFAccessTask::Open.
enum : DWORD {
    KIVO_TASK_OK = 0,
    KIVO_TASK_NO_CAMERA = 4,      // no camera has that index
    KIVO_TASK_FAILED = 5,         // the camera exists but cannot be watched
};

// --- picture properties ---

// The VideoProcAmp ids and their flags.
enum : long {
    KIVO_PROP_BRIGHTNESS = 0,
    KIVO_PROP_CONTRAST = 1,
    KIVO_PROP_HUE = 2,
    KIVO_PROP_SATURATION = 3,
    KIVO_PROP_SHARPNESS = 4,
    KIVO_PROP_GAMMA = 5,
    KIVO_PROP_COLOR_ENABLE = 6,
    KIVO_PROP_WHITE_BALANCE = 7,
    KIVO_PROP_BACKLIGHT_COMPENSATION = 8,
    KIVO_PROP_GAIN = 9,
};
enum : long { KIVO_PROP_FLAGS_AUTO = 1, KIVO_PROP_FLAGS_MANUAL = 2 };

// The camera's custom property set. {C6EFE5EB-855A-4F1B-B7AA-87B5E1DC4113}
const GUID KIVO_CUSTOM_PROPERTY_SET = {
    0xC6EFE5EB, 0x855A, 0x4F1B, {0xB7, 0xAA, 0x87, 0xB5, 0xE1, 0xDC, 0x41, 0x13}};
