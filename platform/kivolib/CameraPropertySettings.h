// ICameraPropertySettings for one camera of the virtual camera device, bound to the camera itself
// (not its index, which moves when an earlier camera is removed).
#pragma once

#include "KivoLib.h"

#include "Device.h"

class CameraPropertySettings : public ICameraPropertySettings {
public:
    // Null when the device or the camera is missing.
    static CameraPropertySettings* create(DWORD cameraIndex);
    virtual ~CameraPropertySettings() = default;

    bool Release() override;
    bool SetProperty(long id, long value, long flags) override;
    bool GetProperty(long id, long* pValue, long* pFlags) override;
    bool GetPropertyRange(long id, long* pMin, long* pMax, long* pStep, long* pDefault, long* pCapsFlags) override;
    bool ResetDefaults() override;
    bool MaximizeProperty(long id) override;
    bool SetCustomProperty(GUID set, ULONG id, long value) override;
    bool GetCustomProperty(const GUID& set, ULONG id, long* pValue) override;
    bool ShowPropertyDialog(HWND hOwner) override;
    bool IsInternalCamera() override;

private:
    CameraPropertySettings() = default;
    CameraPropertySettings(const CameraPropertySettings&) = delete;
    CameraPropertySettings& operator=(const CameraPropertySettings&) = delete;

    // The camera's current index; false once it was removed.
    bool index(DWORD& cameraIndex);

    vcam::Device m_device;
    DWORD m_cameraId = 0;
};
