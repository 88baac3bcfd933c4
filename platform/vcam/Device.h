// The virtual camera device as administrators and drivers see it: the list of cameras, their
// facing direction, picture properties and custom settings. Every call takes the device's lock
// for one step and checks the shared state before using it.
#pragma once

#include "DeviceStore.h"
#include "PropertyCatalog.h"

#include <string>
#include <vector>

namespace vcam {

enum class DeviceResult { Ok, NoDevice, NoCamera, NotOffered, OutOfRange, NotBuiltIn, Full, Damaged, GetFails };

struct CameraInfo {
    DWORD index;
    DWORD id;
    bool builtIn;
    LONG direction;
    bool captureOpen;
    DWORD capturePid;
    std::wstring captureFormat;   // "rgb24 320x240 30 fps" while open
};

class Device {
public:
    Device();

    // Reaches the device; every other call fails with NoDevice until this succeeded.
    bool open();
    const std::wstring& lastError() const { return m_error; }

    DeviceResult listCameras(std::vector<CameraInfo>& cameras);
    DeviceResult addCamera(bool builtIn, LONG direction, DWORD& index);
    DeviceResult removeCamera(DWORD index);
    DeviceResult turnCamera(DWORD index, LONG direction);
    // The first built-in camera, the one the driver access library turns.
    DeviceResult findBuiltInCamera(DWORD& index);
    DeviceResult cameraKind(DWORD index, bool& builtIn);
    // Where the camera with this stable id now sits; NoCamera once it was removed.
    DeviceResult indexOfCamera(DWORD id, DWORD& index);
    DeviceResult cameraIdAt(DWORD index, DWORD& id);
    DeviceResult direction(DWORD index, LONG& direction);

    DeviceResult propertyRange(DWORD index, LONG id, PropertyRange& range);
    DeviceResult getProperty(DWORD index, LONG id, LONG& value, LONG& flags);
    DeviceResult setProperty(DWORD index, LONG id, LONG value, LONG flags);
    DeviceResult resetProperties(DWORD index);
    DeviceResult getCustom(DWORD index, LONG id, LONG& value);
    DeviceResult setCustom(DWORD index, LONG id, LONG value);
    // Makes every get of a property (0..9) or custom id (43..54) fail with GetFails, or work again:
    // how a camera that cannot report a value is played. Sets keep working.
    DeviceResult setGetFails(DWORD index, LONG id, bool fails);

    // Back to one built-in camera with factory values; cameras that go away count as removed.
    DeviceResult factoryReset();

    DeviceStore& store() { return m_store; }

private:
    // Runs fn(state) under the lock after validation; collects the tasks to wake.
    template <typename Fn> DeviceResult locked(Fn fn);
    // Runs fn(camera) under the lock; NoCamera when no camera has that index.
    template <typename Fn> DeviceResult lockedCamera(DWORD index, Fn fn);
    // The index of the first camera that matches; NoCamera when none does.
    template <typename Pred> DeviceResult findCamera(Pred matches, DWORD& index);
    DeviceResult fail(DeviceResult result, const std::wstring& message);
    CameraRecord* camera(DWORD index);

    DeviceStore m_store;
    std::wstring m_error;
};

const wchar_t* deviceResultText(DeviceResult result);

} // namespace vcam
