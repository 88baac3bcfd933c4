// A capturing application's side of the camera: opens camera i in a format and rate, delivers
// paced frames, and passes each through the filter window of an image access task with frame
// access, when one watches the camera. A filter that is late, busy or dead never holds a frame
// beyond the wait: the frame goes on unprocessed and is counted as passed through.
#pragma once

#include "DeviceStore.h"
#include "FrameExchange.h"
#include "PictureGenerator.h"

#include "UniqueHandle.h"

#include <string>
#include <vector>

namespace vcam {

enum class CaptureResult { Ok, NoDevice, NoCamera, Busy, BadFormat, Removed, Failed };

enum class FrameFate { Processed, PassedThrough, Unfiltered };

struct CapturedFrame {
    const BYTE* data = nullptr;   // valid until the next call on the session
    DWORD cbData = 0;
    DWORD frameNumber = 0;
    LONGLONG captureTime = 0;     // QueryPerformanceCounter when the picture was made
    LONGLONG deliverTime = 0;     // ... and when it was handed to the application
    FrameFate fate = FrameFate::Unfiltered;
};

class CaptureSession {
public:
    CaptureSession();
    ~CaptureSession();

    // reserveBytes: the frame exchange holds frames of at least this many bytes, so that a later
    // switchFormat may move to a larger format.
    CaptureResult open(DWORD cameraIndex, const FrameFormat& format, DWORD fps, DWORD filterWaitMs,
                       DWORD reserveBytes = 0);
    // Renegotiates the format within the open session, as an application may: the next frames come
    // in the new format. BadFormat when it is not one the camera makes or does not fit the exchange.
    CaptureResult switchFormat(const FrameFormat& format);
    void close();
    // Waits for the next frame's time, makes it and passes it through the filter.
    CaptureResult nextFrame(CapturedFrame& frame);

    const std::wstring& lastError() const { return m_error; }
    const FrameFormat& format() const { return m_format; }

private:
    CaptureSession(const CaptureSession&) = delete;
    CaptureSession& operator=(const CaptureSession&) = delete;

    CaptureResult fail(CaptureResult result, const std::wstring& message);
    bool createExchange(DWORD reserveBytes);
    void releaseExchange();
    void waitForFrameTime();
    // Re-reads camera and filter when the device changed; false when the camera has gone.
    bool refreshFromDevice();
    void chooseFilter(const SharedState& state);
    void dropFilter();
    // True when the filter can take the next frame: attached and done with the last one.
    bool filterIsFree() const;
    FrameFate passBusyFilter();
    // Announces the frame drawn in the slot and waits for the filter to complete it.
    FrameFate handToFilter(const CapturedFrame& frame, DWORD slot);
    void forgetDeadFilter();
    void countFate(FrameFate fate);

    DeviceStore m_store;
    std::wstring m_error;
    FrameFormat m_format;
    DWORD m_fps = 0;
    DWORD m_filterWaitMs = 0;
    DWORD m_cameraId = 0;
    DWORD m_cameraIndex = 0;
    DWORD m_serial = 0;
    LONG m_seenGeneration = 0;
    bool m_removed = false;

    UniqueHandle m_done;
    UniqueHandle m_exchangeMapping;
    MappedView<ExchangeHeader> m_exchange;   // unmapped before its mapping closes

    // The filter: the first task with frame access on this camera.
    DWORD m_filterSerial = 0;
    UniqueHandle m_filterFrame;
    UniqueHandle m_filterProcess;
    LONG m_seq = 0;
    LONG m_pendingSeq = 0;        // handed to the filter and not completed yet
    DWORD m_pendingSlot = 1;

    PictureGenerator m_generator;
    std::vector<BYTE> m_frame;    // frames that do not pass the filter
    DWORD m_frameNumber = 0;
    LONGLONG m_frequency = 0;
    LONGLONG m_start = 0;
};

const wchar_t* captureResultText(CaptureResult result);

} // namespace vcam
