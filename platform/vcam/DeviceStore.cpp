#include "DeviceStore.h"

#include "DeviceBroadcast.h"
#include "ObjectSecurity.h"
#include "PropertyCatalog.h"
#include "VcamNames.h"
#include "FrameFormat.h"

#include <shlobj.h>

#include <set>

namespace vcam {

namespace {

constexpr DWORD kLockTimeoutMs = 3000;

bool validCamera(const CameraRecord& camera, std::wstring& why)
{
    if (camera.id == 0 || camera.kind > kBuiltInCamera || (camera.direction != 0 && camera.direction != 1) ||
        (camera.failingGets & ~kFailingGetMask)) {
        why = L"camera record has an invalid id, kind, direction or failing property";
        return false;
    }
    for (LONG id = 0; id < LONG(kPropertyCount); ++id) {
        const PropertyRange* range = propertyRange(camera.kind, id);
        if (!range)
            continue;
        const PropertyValue& p = camera.props[id];
        if (p.value < range->min || p.value > range->max || p.flags == 0 || (p.flags & ~range->caps)) {
            why = L"camera property value out of range";
            return false;
        }
    }
    for (DWORD slot = 0; slot < kCustomSettingCount; ++slot) {
        if (camera.custom[slot] < 0 || camera.custom[slot] > customSettingAt(slot).maxValue) {
            why = L"custom property value out of range";
            return false;
        }
    }
    const CaptureRecord& capture = camera.capture;
    if (capture.serial != 0) {
        FrameFormat format;
        if (!FrameFormat::fromRecord(capture.pixelFormat, capture.width, capture.height, format) ||
            capture.fps == 0 || capture.fps > kMaxFps) {
            why = L"capture record has an invalid format";
            return false;
        }
    }
    return true;
}

} // namespace

void DeviceStore::close()
{
    m_state.reset();
    m_mapping.reset();
    m_file.reset();
    m_mutex.reset();
}

bool DeviceStore::stateFolder(std::wstring& path)
{
    WCHAR folder[MAX_PATH];
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA | CSIDL_FLAG_CREATE, nullptr, 0, folder)))
        return false;
    const std::wstring state = KIVO_VCAM_STATE_FOLDER;
    path = folder;
    path += L"\\" + state.substr(0, state.find(L'\\'));
    CreateDirectoryW(path.c_str(), nullptr);
    path = folder;
    path += L"\\" + state;
    // The installer makes it with the same access; without one (the tools alone), whoever comes
    // first makes it so that every user may change the state files in it.
    ObjectSecurity security(SecuredObject::StateFolder);
    CreateDirectoryW(path.c_str(), security.attributes());
    return true;
}

bool DeviceStore::backingFilePath(std::wstring& path)
{
    std::wstring suffix;
    if (!deviceNamespace(suffix) || !stateFolder(path))
        return false;
    path += L"\\device" + (suffix.empty() ? std::wstring() : L"-" + suffix) + L".bin";
    return true;
}

bool DeviceStore::open(std::wstring& error, bool discardDamaged)
{
    if (m_state)
        return true;
    std::wstring mutexName = deviceMutexName();
    if (mutexName.empty()) {
        error = L"KIVO_VCAM_NAMESPACE must be up to 40 letters, digits, '-' or '_'";
        return false;
    }
    // Created or opened with only the access its DACL gives every user: CreateMutexW would ask for
    // all access, which another user's mutex refuses.
    ObjectSecurity security(SecuredObject::Mutex);
    m_mutex.reset(CreateMutexExW(security.attributes(), mutexName.c_str(), 0, openAccess(SecuredObject::Mutex)));
    if (!m_mutex) {
        error = L"cannot create the device mutex (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    bool ok = false;
    {
        Lock lock(*this);
        if (!lock.held())
            error = L"the device is busy (its mutex was not released in time)";
        else
            ok = mapState(error, discardDamaged);
        if (ok && m_state->magic == 0) {   // a new, zero-filled file
            m_state->magic = kStateMagic;
            m_state->version = kStateVersion;
            m_state->cbSize = sizeof(SharedState);
            m_state->nextCameraId = 1;
            m_state->nextSerial = 1;
            factoryReset();
        }
    }
    // Closed only once the lock is given back: a mutex owned through a closed handle stays owned.
    if (!ok)
        close();
    else
        hearCameraChanges();
    return ok;
}

bool DeviceStore::mapState(std::wstring& error, bool discardDamaged)
{
    std::wstring path;
    if (!backingFilePath(path)) {
        error = L"cannot find the folder for the device state";
        return false;
    }
    ObjectSecurity security(SecuredObject::StateFile);
    HANDLE file = CreateFileW(path.c_str(), openAccess(SecuredObject::StateFile), FILE_SHARE_READ | FILE_SHARE_WRITE,
                              security.attributes(), OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        error = L"cannot open " + path + L" (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    m_file.reset(file);
    LARGE_INTEGER size = {};
    bool sizeOk = GetFileSizeEx(file, &size) && (size.QuadPart == 0 || size.QuadPart == LONGLONG(sizeof(SharedState)));
    if (!sizeOk && discardDamaged && SetFilePointer(file, 0, nullptr, FILE_BEGIN) == 0 && SetEndOfFile(file))
        sizeOk = true;
    if (!sizeOk) {
        error = L"the device state in " + path + L" has an unknown size; run kivocam reset";
        return false;
    }
    // Each process maps the file itself, without a name: views of one file are coherent, and no
    // section in Global\ (which needs a privilege standard users lack) is involved.
    m_mapping.reset(CreateFileMappingW(file, nullptr, PAGE_READWRITE, 0, sizeof(SharedState), nullptr));
    if (!m_mapping) {
        error = L"cannot map the device state (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    m_state = mapView<SharedState>(m_mapping.get(), sizeof(SharedState));
    if (!m_state) {
        error = L"cannot map the device state (error " + std::to_wstring(GetLastError()) + L")";
        return false;
    }
    return true;
}

bool DeviceStore::validate(std::wstring& why) const
{
    const SharedState& s = *m_state;
    if (s.magic != kStateMagic || s.version != kStateVersion || s.cbSize != sizeof(SharedState)) {
        why = L"the device state has an unknown layout";
        return false;
    }
    if (s.cameraCount > kMaxCameras || s.nextCameraId == 0 || s.nextSerial == 0) {
        why = L"the device state has an invalid camera count";
        return false;
    }
    std::set<DWORD> ids;
    for (DWORD i = 0; i < s.cameraCount; ++i) {
        if (!validCamera(s.cameras[i], why))
            return false;
        if (!ids.insert(s.cameras[i].id).second || s.cameras[i].id >= s.nextCameraId) {
            why = L"the device state has duplicate camera ids";
            return false;
        }
    }
    for (const TaskRecord& task : s.tasks) {
        if (task.serial != 0 && (task.frameAccess > 1 || task.serial >= s.nextSerial)) {
            why = L"the device state has an invalid task record";
            return false;
        }
    }
    return true;
}

void DeviceStore::factoryReset()
{
    SharedState& s = *m_state;
    DWORD nextCameraId = s.nextCameraId ? s.nextCameraId : 1;
    DWORD nextSerial = s.nextSerial ? s.nextSerial : 1;
    LONG generation = s.generation;
    ZeroMemory(&s, sizeof(s));
    s.magic = kStateMagic;
    s.version = kStateVersion;
    s.cbSize = sizeof(SharedState);
    s.nextSerial = nextSerial;
    s.generation = generation + 1;
    CameraRecord& camera = s.cameras[0];
    camera.id = nextCameraId++;
    camera.kind = kBuiltInCamera;
    camera.direction = 0;
    setFactoryValues(camera);
    s.cameraCount = 1;
    s.nextCameraId = nextCameraId;
}

void DeviceStore::bumpGeneration()
{
    InterlockedIncrement(&m_state->generation);
}

DeviceStore::Lock::Lock(DeviceStore& store) : m_hMutex(store.m_mutex.get()), m_held(false)
{
    if (!m_hMutex)
        return;
    // An abandoned mutex is ours too: whoever died mid-change left state that validate() checks.
    DWORD rc = WaitForSingleObject(m_hMutex, kLockTimeoutMs);
    m_held = rc == WAIT_OBJECT_0 || rc == WAIT_ABANDONED;
}

DeviceStore::Lock::~Lock()
{
    if (m_held)
        ReleaseMutex(m_hMutex);
}

} // namespace vcam
