// The virtual camera's shared state: one block, mapped by every process that uses the device and
// kept in a file so that it outlives the processes. Plain data only; every field is checked by
// DeviceStore::validate before it is trusted, because any process may have written it.
#pragma once

#include <windows.h>

namespace vcam {

constexpr DWORD kStateMagic = 0x4D43564B;     // "KVCM"
constexpr DWORD kStateVersion = 1;
constexpr DWORD kMaxCameras = 8;
constexpr DWORD kMaxTasks = 32;
constexpr DWORD kPropertyCount = 10;          // the VideoProcAmp ids 0..9
constexpr DWORD kCustomSettingCount = 4;      // write ids 43, 46, 49, 52

enum CameraKind : DWORD { kExternalCamera = 0, kBuiltInCamera = 1 };

// Identifies a process beyond its id, which the system reuses.
struct ProcessTag {
    DWORD pid;
    DWORD reserved;
    ULONGLONG createTime;   // FILETIME of the process start
};

struct PropertyValue {
    LONG value;
    LONG flags;             // KIVO_PROP_FLAGS_AUTO or KIVO_PROP_FLAGS_MANUAL
};

// An application capturing from the camera; serial 0 means nobody has it open.
struct CaptureRecord {
    DWORD serial;
    DWORD pixelFormat;      // PixelFormat
    LONG width;
    LONG height;            // negative: top-down rows
    DWORD fps;
    DWORD reserved;
    ProcessTag owner;
};

struct CameraRecord {
    DWORD id;               // stable across index changes; never 0 for a present camera
    DWORD kind;             // CameraKind
    LONG direction;         // 0 front, 1 rear
    DWORD failingGets;      // failingGetBit(id) of each property whose get fails (kivocam fail-get)
    PropertyValue props[kPropertyCount];
    LONG custom[kCustomSettingCount];
    CaptureRecord capture;
};

// An image access task watching a camera; serial 0 means the slot is free.
struct TaskRecord {
    DWORD serial;
    DWORD cameraId;
    DWORD cameraIndex;      // the index the task was opened with, posted as wParam
    DWORD frameAccess;      // 0 or 1
    ULONGLONG hwnd;         // the notify window
    ProcessTag owner;
    volatile LONG processed;       // frames the task's window completed in time
    volatile LONG passedThrough;   // frames handed on unprocessed while this task was the filter
};

struct SharedState {
    DWORD magic;
    DWORD version;
    DWORD cbSize;
    DWORD cameraCount;      // cameras[0 .. cameraCount-1] are present, in index order
    DWORD nextCameraId;
    DWORD nextSerial;       // for capture sessions and tasks
    volatile LONG generation;   // bumped on every change, read without the lock
    DWORD reserved;
    CameraRecord cameras[kMaxCameras];
    TaskRecord tasks[kMaxTasks];
};

} // namespace vcam
