// Device-interface arrival and removal notices for the camera interface class.
#pragma once

#include <windows.h>

namespace vcam {

// Sends WM_DEVICECHANGE (DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE) with a
// DEV_BROADCAST_DEVICEINTERFACE_W of the camera interface class to the desktop's top-level windows.
void broadcastCameraChange(WPARAM event, DWORD cameraId);

} // namespace vcam
