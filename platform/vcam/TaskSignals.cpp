#include "TaskSignals.h"

#include "VcamNames.h"

#include "UniqueHandle.h"

namespace vcam {

std::vector<DWORD> tasksOfCamera(const SharedState& state, DWORD cameraId)
{
    std::vector<DWORD> serials;
    for (const TaskRecord& task : state.tasks) {
        if (task.serial != 0 && (cameraId == 0 || task.cameraId == cameraId))
            serials.push_back(task.serial);
    }
    return serials;
}

void wakeTasks(const std::vector<DWORD>& taskSerials)
{
    for (DWORD serial : taskSerials) {
        UniqueHandle wake(OpenEventW(EVENT_MODIFY_STATE, FALSE, taskWakeName(serial).c_str()));
        if (wake)   // else the task has gone since the lock was released
            SetEvent(wake.get());
    }
}

} // namespace vcam
