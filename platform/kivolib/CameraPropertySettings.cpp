#include "CameraPropertySettings.h"

#include "CameraPropertyDialog.h"
#include "KivoNames.h"

#include <new>

using vcam::DeviceResult;

CameraPropertySettings* CameraPropertySettings::create(DWORD cameraIndex)
{
    CameraPropertySettings* settings = new (std::nothrow) CameraPropertySettings();
    if (!settings)
        return nullptr;
    if (!settings->m_device.open() ||
        settings->m_device.cameraIdAt(cameraIndex, settings->m_cameraId) != DeviceResult::Ok) {
        WriteLog(L"CreateCameraPropertySettings() camera %u: %s", unsigned(cameraIndex),
                 settings->m_device.lastError().c_str());
        delete settings;
        return nullptr;
    }
    return settings;
}

bool CameraPropertySettings::Release()
{
    delete this;
    return true;
}

bool CameraPropertySettings::index(DWORD& cameraIndex)
{
    return m_device.indexOfCamera(m_cameraId, cameraIndex) == DeviceResult::Ok;
}

bool CameraPropertySettings::SetProperty(long id, long value, long flags)
{
    DWORD i = 0;
    return index(i) && m_device.setProperty(i, id, value, flags) == DeviceResult::Ok;
}

bool CameraPropertySettings::GetProperty(long id, long* pValue, long* pFlags)
{
    DWORD i = 0;
    LONG value = 0, flags = 0;
    if (!pValue || !pFlags || !index(i) || m_device.getProperty(i, id, value, flags) != DeviceResult::Ok)
        return false;
    *pValue = value;
    *pFlags = flags;
    return true;
}

bool CameraPropertySettings::GetPropertyRange(long id, long* pMin, long* pMax, long* pStep, long* pDefault,
                                              long* pCapsFlags)
{
    DWORD i = 0;
    vcam::PropertyRange range = {};
    if (!pMin || !pMax || !pStep || !pDefault || !pCapsFlags || !index(i) ||
        m_device.propertyRange(i, id, range) != DeviceResult::Ok)
        return false;
    *pMin = range.min;
    *pMax = range.max;
    *pStep = range.step;
    *pDefault = range.def;
    *pCapsFlags = range.caps;
    return true;
}

bool CameraPropertySettings::ResetDefaults()
{
    DWORD i = 0;
    return index(i) && m_device.resetProperties(i) == DeviceResult::Ok;
}

bool CameraPropertySettings::MaximizeProperty(long id)
{
    DWORD i = 0;
    vcam::PropertyRange range = {};
    return index(i) && m_device.propertyRange(i, id, range) == DeviceResult::Ok &&
           m_device.setProperty(i, id, range.max, KIVO_PROP_FLAGS_MANUAL) == DeviceResult::Ok;
}

bool CameraPropertySettings::SetCustomProperty(GUID set, ULONG id, long value)
{
    DWORD i = 0;
    return IsEqualGUID(set, KIVO_CUSTOM_PROPERTY_SET) && id <= ULONG(vcam::kCustomLastId) && index(i) &&
           m_device.setCustom(i, LONG(id), value) == DeviceResult::Ok;
}

bool CameraPropertySettings::GetCustomProperty(const GUID& set, ULONG id, long* pValue)
{
    DWORD i = 0;
    LONG value = 0;
    if (!pValue || !IsEqualGUID(set, KIVO_CUSTOM_PROPERTY_SET) || id > ULONG(vcam::kCustomLastId) || !index(i) ||
        m_device.getCustom(i, LONG(id), value) != DeviceResult::Ok)
        return false;
    *pValue = value;
    return true;
}

bool CameraPropertySettings::ShowPropertyDialog(HWND hOwner)
{
    DWORD i = 0;
    if (!index(i))
        return false;
    CameraPropertyDialog dialog(*this, i);
    return dialog.run(hOwner);
}

bool CameraPropertySettings::IsInternalCamera()
{
    DWORD i = 0;
    bool builtIn = false;
    return index(i) && m_device.cameraKind(i, builtIn) == DeviceResult::Ok && builtIn;
}

extern "C" KIVOLIB_API ICameraPropertySettings* __cdecl CreateCameraPropertySettings(DWORD cameraIndex)
{
    return CameraPropertySettings::create(cameraIndex);
}
