// Waking the image access tasks of a camera after a change they must report.
#pragma once

#include "VcamLayout.h"

#include <vector>

namespace vcam {

// Under the device lock: the serials of the tasks watching the camera (all tasks for id 0).
std::vector<DWORD> tasksOfCamera(const SharedState& state, DWORD cameraId);

// Without the lock: sets each task's wake event.
void wakeTasks(const std::vector<DWORD>& taskSerials);

} // namespace vcam
