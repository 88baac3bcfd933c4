// The panel's frame pipeline: checks each frame's record, renews its buffers when the size or the
// format changes, and rewrites the frame in place with the chosen effects: frame overlay and zoom
// through the effect library, freeze, still pictures, and every second frame a repeat of the last
// output. It owns no window and sends no message: what follows from a frame (a log line, switching
// the effect panel on or off, the failure box) is the panel's, told by the outcome of process().
#pragma once

#include "KivoLib.h"

#include <windows.h>

#include <optional>
#include <vector>

// What the panel hands over with each frame. The pictures and the library stay the panel's.
struct FrameEffectInputs {
    IKivoLib* library = nullptr;
    HWND caller = nullptr;           // passed on to the library as the calling window, nothing else
    DWORD flags = 0;                 // the effect flag word (EffectBits.h)
    HBITMAP frameBitmap = nullptr;   // the frame laid over the picture
    HBITMAP still1 = nullptr;        // the still pictures, drawn once for each frame format
    HBITMAP still2 = nullptr;
};

// What one frame did to the pipeline.
struct FrameOutcome {
    bool refused = false;         // the record's size, format and byte size disagree: not touched
    bool formatChanged = false;   // a size or format other than the frame before's
    LONG previousWidth = 0;       // the size before the change
    LONG previousHeight = 0;
    bool effectFailed = false;    // the effect library reported a failure
};

// A copy of a picture as the pipeline handed it back, with how its pixels lie.
struct FrameSnapshot {
    kivo::FrameLayout layout;
    std::vector<BYTE> pixels;
};

class FramePipeline {
public:
    // Frames up to this size allow effects (absolute height); larger ones pass untouched.
    static const LONG kMaxEffectWidth = 320;
    static const LONG kMaxEffectHeight = 240;

    FramePipeline() = default;
    FramePipeline(const FramePipeline&) = delete;
    FramePipeline& operator=(const FramePipeline&) = delete;

    FrameOutcome process(KIVO_FRAME_BUFFER& frame, const FrameEffectInputs& inputs);
    // Drops every buffer; the next frame's buffers are made anew only at a format change.
    void freeEffectBuffers();

    // The size of the last frame seen (0x0 before the first); the height as the record gave it.
    LONG width() const { return m_width; }
    LONG height() const { return m_height; }
    bool effectsAllowed() const;
    // The last frame handed back with effects on, or the first frame of the current format; nothing
    // when the frames are too large for effects or none came yet.
    std::optional<FrameSnapshot> lastPicture() const;
    // The camera's own picture, as a frame came in before any effect: renewed at the first frame of
    // a format and then every kCameraPictureEvery frames (with effects on, at the first repeated
    // frame from then), so that it costs one copy a few times a second. Nothing when the frames are
    // too large for effects or none came yet.
    std::optional<FrameSnapshot> cameraPicture() const;
    static const DWORD kCameraPictureEvery = 8;

private:
    bool isNewFormat(const KIVO_FRAME_BUFFER& frame, const kivo::FrameLayout& layout) const;
    void onFormatChange(KIVO_FRAME_BUFFER& frame, const kivo::FrameLayout& layout,
                        const FrameEffectInputs& inputs);
    std::vector<BYTE> renderStill(KIVO_FRAME_BUFFER& frame, const FrameEffectInputs& inputs,
                                  HBITMAP bitmap) const;
    bool applyEffects(KIVO_FRAME_BUFFER& frame, const FrameEffectInputs& inputs, bool repeat);
    const std::vector<BYTE>* applyFreeze(KIVO_FRAME_BUFFER& frame);
    const std::vector<BYTE>* showStored(KIVO_FRAME_BUFFER& frame, const std::vector<BYTE>& picture) const;
    void keepLastOutput(const KIVO_FRAME_BUFFER& frame, const std::vector<BYTE>* shown);
    void dropFreeze();
    void keepCameraPicture(const KIVO_FRAME_BUFFER& frame, bool goesOutUnprocessed);
    bool repeatsLastOutput(const KIVO_FRAME_BUFFER& frame) const;

    std::optional<kivo::FrameLayout> m_layout;   // of the frames the buffers were made for
    LONG m_width = 0;
    LONG m_height = 0;
    DWORD m_frameCounter = 0;   // frames since the effect flags became non-zero
    // Each holds the frame's byte size, or nothing when it was not made.
    std::vector<BYTE> m_still1;
    std::vector<BYTE> m_still2;
    std::vector<BYTE> m_lastOutput;
    std::vector<BYTE> m_freeze;   // the frozen frame, made at the first frame of the freeze
    // The stored picture (a still, the frozen frame) the last output is a copy of; null when it is a
    // frame's own output. While a mode shows the same picture it is not copied again.
    const std::vector<BYTE>* m_lastOutputHolds = nullptr;
    std::vector<BYTE> m_cameraPicture;   // an incoming frame before effects
    DWORD m_framesSinceCameraPicture = 0;
};
