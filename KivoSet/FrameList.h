// The process-wide list of decorative frames: the bitmap ids of the product library, from 10000 up
// without gaps, so that index k holds id 10000 + k. Index 0 means no frame.
#pragma once

#include <windows.h>

// The first frame id, and the most frames the list probes for.
const UINT kFirstFrameId = 10000;
const UINT kMaxFrameCount = 1000;

// Rebuilds the list: one id for each bitmap the library yields, up to the first missing one (or
// kMaxFrameCount ids).
void loadFrameList();
// The frame id at the index; 0 when the list is empty or the index is not below the count.
UINT frameIdAt(UINT index);
UINT frameCount();
