// The names through which the service and the settings program meet: registry key and values,
// named kernel objects, registered and private window messages, switches, libraries and files.
// Both programs build from this one header; neither links against the other.
#pragma once

#include <windows.h>

// --- registry ---

// Per-user settings under HKEY_CURRENT_USER; the two machine-wide values under the same path in
// HKEY_LOCAL_MACHINE. The trailing backslash is part of the name.
#define KIVO_SETTINGS_KEY L"Software\\Orvane Corporation\\Zelta Cam Suite\\Settings\\"

#define KIVO_VALUE_SERVE_HANDLE              L"ServeHandle"
#define KIVO_VALUE_CAMERA_IDX                L"CameraIdx"
#define KIVO_VALUE_CAMERA_DIR                L"CameraDir"
#define KIVO_VALUE_AUTO_STARTUP              L"AutoStartup"
#define KIVO_VALUE_FRAME_IDX                 L"FrameIdx"
#define KIVO_VALUE_ZOOM_IDX                  L"ZoomIdx"
#define KIVO_VALUE_HORIZONTAL_OFFSET         L"HorizontalOffset"
#define KIVO_VALUE_VERTICAL_OFFSET           L"VerticalOffset"
#define KIVO_VALUE_NO_DISP_ALERT_EFFECT      L"NoDispAlertEffectDisable"
#define KIVO_VALUE_PROPERTY_FORMAT           L"%d_%d"          // direction, property id
#define KIVO_VALUE_CUSTOM_PROPERTY_FORMAT    L"%d_CUSTOM_%d"   // direction, write id
#define KIVO_VALUE_EXTERNAL_CAMERA_INSTALLED L"ExternalCameraInstalled"   // HKLM
#define KIVO_VALUE_DISABLE_RENDO_SIGNAL      L"DisableRendoSignal"        // HKLM

// Camera direction as stored in "CameraDir" and reported by the driver.
enum : int { KIVO_DIR_UNKNOWN = -1, KIVO_DIR_FRONT = 0, KIVO_DIR_REAR = 1 };

// --- named kernel objects ---

// Held while a service process runs. The name has no closing brace: that is the object's name.
#define KIVO_SERVE_MUTEX   L"KIVOSERVEMU{073C8599-679F-4a34-A3DA-BA54B920DCFB"
// Held by the service while an application has the camera open.
#define KIVO_CAMERA_MUTEX  L"Global\\KIVOMU{073C8599-679F-4a34-A3DA-BA54B920DCFB}"
// Instance observer names of the two programs.
#define KIVO_SERVE_OBSERVER_NAME L"KivoServe APP"
#define KIVO_SET_OBSERVER_NAME   L"KivoSet APP"
// Exists while a settings program observes anywhere on the machine.
#define KIVO_SET_MUTEX_ALL L"Global\\KivoSet APP-MutexAll"
// Sibling products, probed by creating their mutexes.
#define KIVO_FLICKMIX_MUTEX L"Zelta Flickmix Screen Saver"
#define KIVO_RENDO_MUTEX    L"RENDO_KIVO"
// Set to tell the capture product that the direction changed; only ever opened.
#define KIVO_CHANGE_CAMERA_DIR_EVENT L"WM_KIVO_CHANGE_CAMERA_DIR{94B20758-D2EC-4fee-9FB7-261ACD80247B}"

// --- window messages ---

// Registered (RegisterWindowMessageW) by these names.
#define KIVO_MSG_KIVOSET_OPEN  L"WM_KIVOSET_OPEN"
#define KIVO_MSG_KIVOSET_HIDE  L"WM_KIVOSET_HIDE"
#define KIVO_MSG_KIVOSET_CLOSE L"WM_KIVOSET_CLOSE"
#define KIVO_MSG_KIVOSET_HELP  L"WM_KIVOSET_HELP"
#define KIVO_MSG_TRAY_CALLBACK L"{58F6492C-702A-4f1c-A209-FC5386D7111E}"
// Posted by the service to the settings dialog after the user clicked the tray icon: the service has
// allowed the dialog's process to take the foreground, and the dialog brings itself forward.
#define KIVO_MSG_KIVOSET_FOREGROUND L"WM_KIVOSET_FOREGROUND"

// Posted by the product library's image access tasks; wParam is the camera index.
const UINT WM_TASK_FRAME_READY   = WM_USER + 1;
const UINT WM_TASK_DEVICE_OPEN   = WM_USER + 2;
const UINT WM_TASK_DEVICE_CLOSE  = WM_USER + 3;
const UINT WM_TASK_DEVICE_REMOVE = WM_USER + 4;

// --- command-line switches, compared with the whole command tail ignoring case ---

#define KIVO_SWITCH_HALT_ALL L"/HaltAll"
#define KIVO_SWITCH_HALT     L"/Halt"
#define KIVO_SWITCH_FRONT    L"/Front"
#define KIVO_SWITCH_REAR     L"/Rear"

// --- libraries and files loaded by name ---

#define KIVO_LOCALE_DLL   L"KivoLocale.dll"
#define KIVO_DATA_DLL     L"KivoData.dll"
#define KIVO_FRAME_FILE   L".\\data\\frame%02d.bmp"
#define KIVO_STILL1_FILE  L".\\data\\stil01.bmp"
#define KIVO_STILL2_FILE  L".\\data\\stil02.bmp"

// Device-interface class of the cameras, for arrival notifications.
// {F4AD4086-77B7-47C0-A9E6-FF6DBCB56F0A}
const GUID KIVO_CAMERA_INTERFACE_CLASS = {
    0xF4AD4086, 0x77B7, 0x47C0, {0xA9, 0xE6, 0xFF, 0x6D, 0xBC, 0xB5, 0x6F, 0x0A}};
