// A camera frame kept by the pipeline, as a picture GDI can draw: what the frame chooser previews
// its frames over.
#pragma once

#include "FramePipeline.h"

#include <windows.h>

// A new 24-bit top-down DIB section of the frame's size showing the frame (RGB24, RGB32 or YUY2,
// either row order), owned by the caller; null when none could be made.
HBITMAP bitmapOfSnapshot(const FrameSnapshot& snapshot);
