// How long the driver needs after turning the camera before it reports the new direction and
// before the new direction's picture properties can be set.
#pragma once

#include <windows.h>

const DWORD KIVO_DIRECTION_SETTLE_MS = 1300;
