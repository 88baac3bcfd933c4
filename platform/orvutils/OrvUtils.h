// OrvUtils.dll, the driver access library: turns the notebook's built-in camera and answers
// driver calls. KivoLib.dll loads it by name and finds these exports with GetProcAddress.
#pragma once

#include <windows.h>

// Non-zero when the built-in camera exists (the device is there).
typedef BOOL(__cdecl* OuIsDevicePresentFn)();
// Direction 0 front, 1 rear; non-zero on success.
typedef BOOL(__cdecl* OuChangeCameraDirFn)(int direction);
// Driver call; code 63 yields the signal word (bit 0: built-in camera present, bit 3: rear).
typedef BOOL(__cdecl* OuCallDriverFn)(DWORD code, DWORD* pOut);

#define OU_EXPORT_IS_DEVICE_PRESENT "OuIsDevicePresent"
#define OU_EXPORT_CHANGE_CAMERA_DIR "OuChangeCameraDir"
#define OU_EXPORT_CALL_DRIVER       "OuCallDriver"

#define OU_SIGNAL_PRESENT 0x1
