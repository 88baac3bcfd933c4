#include "Device.h"

#include "DeviceBroadcast.h"
#include "FrameFormat.h"
#include "ProcessTag.h"
#include "TaskSignals.h"

#include "KivoProtocol.h"

#include <dbt.h>

namespace vcam {

const wchar_t* deviceResultText(DeviceResult result)
{
    switch (result) {
    case DeviceResult::Ok: return L"ok";
    case DeviceResult::NoDevice: return L"the virtual camera device cannot be reached";
    case DeviceResult::NoCamera: return L"no camera has that index";
    case DeviceResult::NotOffered: return L"the camera does not offer that property";
    case DeviceResult::OutOfRange: return L"the value is outside the property's range";
    case DeviceResult::NotBuiltIn: return L"the camera is not built in and cannot turn";
    case DeviceResult::Full: return L"the device has no room for another camera";
    case DeviceResult::Damaged: return L"the device state is damaged; run kivocam reset";
    case DeviceResult::GetFails: return L"the camera fails to report that property (kivocam fail-get)";
    }
    return L"unknown error";
}

Device::Device() = default;

bool Device::open()
{
    return m_store.open(m_error);
}

DeviceResult Device::fail(DeviceResult result, const std::wstring& message)
{
    m_error = message.empty() ? deviceResultText(result) : message;
    return result;
}

template <typename Fn> DeviceResult Device::locked(Fn fn)
{
    if (!m_store.isOpen())
        return fail(DeviceResult::NoDevice, m_error.empty() ? L"" : m_error);
    DeviceStore::Lock lock(m_store);
    if (!lock.held())
        return fail(DeviceResult::NoDevice, L"the device is busy (its mutex was not released in time)");
    std::wstring why;
    if (!m_store.validate(why))
        return fail(DeviceResult::Damaged, why + L"; run kivocam reset");
    DeviceResult result = fn(*m_store.state());
    if (result != DeviceResult::Ok)
        return fail(result, L"");
    return result;
}

CameraRecord* Device::camera(DWORD index)
{
    SharedState* s = m_store.state();
    return index < s->cameraCount ? &s->cameras[index] : nullptr;
}

template <typename Fn> DeviceResult Device::lockedCamera(DWORD index, Fn fn)
{
    return locked([&](SharedState&) {
        CameraRecord* c = camera(index);
        return c ? fn(c) : DeviceResult::NoCamera;
    });
}

template <typename Pred> DeviceResult Device::findCamera(Pred matches, DWORD& index)
{
    return locked([&](SharedState& s) {
        for (DWORD i = 0; i < s.cameraCount; ++i) {
            if (matches(s.cameras[i])) {
                index = i;
                return DeviceResult::Ok;
            }
        }
        return DeviceResult::NoCamera;
    });
}

DeviceResult Device::listCameras(std::vector<CameraInfo>& cameras)
{
    cameras.clear();
    return locked([&](SharedState& s) {
        for (DWORD i = 0; i < s.cameraCount; ++i) {
            const CameraRecord& c = s.cameras[i];
            CameraInfo info = {i, c.id, c.kind == kBuiltInCamera, c.direction, false, 0, L""};
            if (c.capture.serial != 0 && isProcessAlive(c.capture.owner)) {
                FrameFormat format;
                FrameFormat::fromRecord(c.capture.pixelFormat, c.capture.width, c.capture.height, format);
                info.captureOpen = true;
                info.capturePid = c.capture.owner.pid;
                info.captureFormat = format.name() + L" " + std::to_wstring(format.width) + L"x" +
                                     std::to_wstring(format.rows()) + L" " + std::to_wstring(c.capture.fps) + L" fps";
            }
            cameras.push_back(info);
        }
        return DeviceResult::Ok;
    });
}

DeviceResult Device::addCamera(bool builtIn, LONG direction, DWORD& index)
{
    if (direction != 0 && direction != 1)
        return fail(DeviceResult::OutOfRange, L"the direction must be front (0) or rear (1)");
    DWORD id = 0;
    DeviceResult result = locked([&](SharedState& s) {
        if (s.cameraCount >= kMaxCameras)
            return DeviceResult::Full;
        CameraRecord& c = s.cameras[s.cameraCount];
        ZeroMemory(&c, sizeof(c));
        c.id = id = s.nextCameraId++;
        c.kind = builtIn ? kBuiltInCamera : kExternalCamera;
        c.direction = builtIn ? direction : 0;
        setFactoryValues(c);
        index = s.cameraCount++;
        m_store.bumpGeneration();
        return DeviceResult::Ok;
    });
    if (result == DeviceResult::Ok)
        broadcastCameraChange(DBT_DEVICEARRIVAL, id);
    return result;
}

DeviceResult Device::removeCamera(DWORD index)
{
    DWORD id = 0;
    std::vector<DWORD> tasks;
    DeviceResult result = locked([&](SharedState& s) {
        if (index >= s.cameraCount)
            return DeviceResult::NoCamera;
        id = s.cameras[index].id;
        tasks = tasksOfCamera(s, id);
        for (DWORD i = index; i + 1 < s.cameraCount; ++i)
            s.cameras[i] = s.cameras[i + 1];
        --s.cameraCount;
        ZeroMemory(&s.cameras[s.cameraCount], sizeof(CameraRecord));
        m_store.bumpGeneration();
        return DeviceResult::Ok;
    });
    if (result == DeviceResult::Ok) {
        wakeTasks(tasks);
        broadcastCameraChange(DBT_DEVICEREMOVECOMPLETE, id);
    }
    return result;
}

DeviceResult Device::turnCamera(DWORD index, LONG dir)
{
    if (dir != 0 && dir != 1)
        return fail(DeviceResult::OutOfRange, L"the direction must be front (0) or rear (1)");
    return lockedCamera(index, [&](CameraRecord* c) {
        if (c->kind != kBuiltInCamera)
            return DeviceResult::NotBuiltIn;
        c->direction = dir;
        m_store.bumpGeneration();
        return DeviceResult::Ok;
    });
}

DeviceResult Device::findBuiltInCamera(DWORD& index)
{
    return findCamera([](const CameraRecord& c) { return c.kind == kBuiltInCamera; }, index);
}

DeviceResult Device::cameraKind(DWORD index, bool& builtIn)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        builtIn = c->kind == kBuiltInCamera;
        return DeviceResult::Ok;
    });
}

DeviceResult Device::indexOfCamera(DWORD id, DWORD& index)
{
    return findCamera([id](const CameraRecord& c) { return c.id == id; }, index);
}

DeviceResult Device::cameraIdAt(DWORD index, DWORD& id)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        id = c->id;
        return DeviceResult::Ok;
    });
}

DeviceResult Device::direction(DWORD index, LONG& dir)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        dir = c->direction;
        return DeviceResult::Ok;
    });
}

DeviceResult Device::propertyRange(DWORD index, LONG id, PropertyRange& range)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        const PropertyRange* r = vcam::propertyRange(c->kind, id);
        if (!r)
            return DeviceResult::NotOffered;
        range = *r;
        return DeviceResult::Ok;
    });
}

DeviceResult Device::getProperty(DWORD index, LONG id, LONG& value, LONG& flags)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        if (!vcam::propertyRange(c->kind, id))
            return DeviceResult::NotOffered;
        if (c->failingGets & failingGetBit(id))
            return DeviceResult::GetFails;
        value = c->props[id].value;
        flags = c->props[id].flags;
        return DeviceResult::Ok;
    });
}

DeviceResult Device::setProperty(DWORD index, LONG id, LONG value, LONG flags)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        const PropertyRange* r = vcam::propertyRange(c->kind, id);
        if (!r)
            return DeviceResult::NotOffered;
        LONG accepted = 0;
        if (!acceptPropertyValue(*r, value, flags, accepted))
            return DeviceResult::OutOfRange;
        c->props[id].value = accepted;
        c->props[id].flags = flags;
        m_store.bumpGeneration();
        return DeviceResult::Ok;
    });
}

DeviceResult Device::resetProperties(DWORD index)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        setFactoryValues(*c);
        m_store.bumpGeneration();
        return DeviceResult::Ok;
    });
}

DeviceResult Device::getCustom(DWORD index, LONG id, LONG& value)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        CustomRole role;
        DWORD slot = 0;
        const CustomSetting* setting = customSetting(id, role, slot);
        // External cameras have no custom property set at all.
        if (!setting || c->kind != kBuiltInCamera || role == CustomRole::Write)
            return DeviceResult::NotOffered;
        if (c->failingGets & failingGetBit(id))
            return DeviceResult::GetFails;
        if (role == CustomRole::Availability) {
            value = setting->offeredBuiltIn ? 1 : 0;
            return DeviceResult::Ok;
        }
        if (!setting->offeredBuiltIn)
            return DeviceResult::NotOffered;
        value = c->custom[slot];
        return DeviceResult::Ok;
    });
}

DeviceResult Device::setCustom(DWORD index, LONG id, LONG value)
{
    return lockedCamera(index, [&](CameraRecord* c) {
        CustomRole role;
        DWORD slot = 0;
        const CustomSetting* setting = customSetting(id, role, slot);
        if (!setting || c->kind != kBuiltInCamera || role != CustomRole::Write || !setting->offeredBuiltIn)
            return DeviceResult::NotOffered;
        if (value < 0 || value > setting->maxValue)
            return DeviceResult::OutOfRange;
        c->custom[slot] = value;
        m_store.bumpGeneration();
        return DeviceResult::Ok;
    });
}

DeviceResult Device::setGetFails(DWORD index, LONG id, bool fails)
{
    const DWORD bit = failingGetBit(id);
    if (bit == 0)
        return fail(DeviceResult::NotOffered, L"only the properties 0..9 and the custom ids 43..54 can fail");
    return lockedCamera(index, [&](CameraRecord* c) {
        c->failingGets = fails ? (c->failingGets | bit) : (c->failingGets & ~bit);
        m_store.bumpGeneration();
        return DeviceResult::Ok;
    });
}

DeviceResult Device::factoryReset()
{
    if (!m_store.isOpen() && !m_store.open(m_error, true))
        return DeviceResult::NoDevice;
    std::vector<DWORD> tasks;
    std::vector<DWORD> removedIds;
    DWORD newId = 0;
    {
        DeviceStore::Lock lock(m_store);
        if (!lock.held())
            return fail(DeviceResult::NoDevice, L"the device is busy (its mutex was not released in time)");
        SharedState& s = *m_store.state();
        // The old state may be damaged: bounds are checked while collecting whom to tell.
        tasks = tasksOfCamera(s, 0);
        for (DWORD i = 0; i < s.cameraCount && i < kMaxCameras; ++i)
            removedIds.push_back(s.cameras[i].id);
        // Task records go too; their tasks find their camera gone and report the removal.
        m_store.factoryReset();
        newId = s.cameras[0].id;
    }
    wakeTasks(tasks);
    for (DWORD id : removedIds)
        broadcastCameraChange(DBT_DEVICEREMOVECOMPLETE, id);
    broadcastCameraChange(DBT_DEVICEARRIVAL, newId);
    return DeviceResult::Ok;
}

} // namespace vcam
