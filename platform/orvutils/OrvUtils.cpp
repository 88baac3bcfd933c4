// The driver access library: each call reaches the virtual camera device's built-in camera.
#include "OrvUtils.h"

#include "Device.h"

#include "KivoLib.h"

namespace {

// The first built-in camera's index, with the device open; false when there is none.
bool builtInCamera(vcam::Device& device, DWORD& index)
{
    return device.open() && device.findBuiltInCamera(index) == vcam::DeviceResult::Ok;
}

} // namespace

extern "C" __declspec(dllexport) BOOL __cdecl OuIsDevicePresent()
{
    vcam::Device device;
    DWORD index = 0;
    return builtInCamera(device, index);
}

extern "C" __declspec(dllexport) BOOL __cdecl OuChangeCameraDir(int direction)
{
    if (direction != 0 && direction != 1) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    vcam::Device device;
    DWORD index = 0;
    if (!builtInCamera(device, index)) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return FALSE;
    }
    return device.turnCamera(index, direction) == vcam::DeviceResult::Ok;
}

extern "C" __declspec(dllexport) BOOL __cdecl OuCallDriver(DWORD code, DWORD* pOut)
{
    if (!pOut) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (code != OUCD_TYPE_GET_SPECIAL_SIGNAL) {
        SetLastError(ERROR_INVALID_FUNCTION);
        return FALSE;
    }
    vcam::Device device;
    DWORD index = 0;
    LONG direction = 0;
    if (!builtInCamera(device, index) || device.direction(index, direction) != vcam::DeviceResult::Ok) {
        SetLastError(ERROR_DEVICE_NOT_CONNECTED);
        return FALSE;
    }
    *pOut = OU_SIGNAL_PRESENT | (direction == 1 ? OU_SIGNAL_REAR : 0);
    return TRUE;
}
