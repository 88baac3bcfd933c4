// Names of the virtual camera's kernel objects. A suffix from the environment variable
// KIVO_VCAM_NAMESPACE gives a separate device (used by tests running side by side); child
// processes inherit it.
//
// Objects that processes of every session share (the device's lock, the tasks' wake events, the
// listener marks) are mutexes and events in Global\, which any user may create. Sections are
// never named in Global\ (that needs SeCreateGlobalPrivilege, which standard users lack): a
// capture's frame exchange and the frame event of the task filtering it live in the capturing
// application's session (Local\), so only a task of that session becomes its filter. Every
// name is empty when the namespace is invalid.
#pragma once

#include <windows.h>

#include <string>

// The folder of the device state files under %ProgramData%; the installer reads it from here.
#define KIVO_VCAM_STATE_FOLDER L"Kivo\\VirtualCamera"

namespace vcam {

// The suffix, or false when the variable holds anything but up to 40 letters, digits, '-' or '_'.
bool deviceNamespace(std::wstring& suffix);

// "Global\KivoVcam<suffix>.Mutex"
std::wstring deviceMutexName();
// "Global\KivoVcam<suffix>.Listener<pid>": held by every process that opened the device.
std::wstring listenerName(DWORD processId);
// "Global\KivoVcam<suffix>.Task<serial>.Wake": set by whoever changes the task's camera.
std::wstring taskWakeName(DWORD taskSerial);
// "Local\KivoVcam<suffix>.Task<serial>.Frame": set by the capturing application it filters.
std::wstring taskFrameName(DWORD taskSerial);
// "Local\KivoVcam<suffix>.Capture<serial>.Frames" (the exchange section) and ".Done".
std::wstring captureFramesName(DWORD captureSerial);
std::wstring captureDoneName(DWORD captureSerial);

} // namespace vcam
