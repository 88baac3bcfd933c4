// Device-interface arrival and removal notices for the camera interface class.
#pragma once

#include <windows.h>

namespace vcam {

// Sends WM_DEVICECHANGE (DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE) with a
// DEV_BROADCAST_DEVICEINTERFACE_W of the camera interface class to the top-level windows of the
// processes that use this device.
void broadcastCameraChange(WPARAM event, DWORD cameraId);

// Marks this process, for its life, as one that uses this device and hears its notices.
void hearCameraChanges();

} // namespace vcam
