#include "TaskChannel.h"

#include "KivoNames.h"
#include "ObjectSecurity.h"
#include "ProcessTag.h"
#include "TaskSignals.h"
#include "VcamNames.h"

namespace vcam {

namespace {

constexpr DWORD kRecheckMs = 1000;          // the watcher looks at the device at least this often
constexpr DWORD kThreadStopTimeoutMs = 10000;

} // namespace

TaskChannel::TaskChannel()
{
    ZeroMemory(&m_descriptor, sizeof(m_descriptor));
}

TaskChannel::~TaskChannel()
{
    close();
}

DWORD TaskChannel::open(HWND hNotifyWnd, DWORD cameraIndex)
{
    if (m_serial != 0 || !IsWindow(hNotifyWnd))
        return KIVO_TASK_FAILED;
    std::wstring error;
    if (!m_store.open(error))
        return KIVO_TASK_FAILED;
    {
        DeviceStore::Lock lock(m_store);
        std::wstring why;
        if (!lock.held() || !m_store.validate(why))
            return KIVO_TASK_FAILED;
        SharedState& s = *m_store.state();
        if (cameraIndex >= s.cameraCount)
            return KIVO_TASK_NO_CAMERA;
        TaskRecord* record = nullptr;
        for (TaskRecord& task : s.tasks) {
            if (task.serial == 0 || !isProcessAlive(task.owner)) {
                record = &task;
                break;
            }
        }
        if (!record)
            return KIVO_TASK_FAILED;
        DWORD serial = s.nextSerial++;
        ObjectSecurity security(SecuredObject::Event);
        const DWORD access = openAccess(SecuredObject::Event);
        m_wake.reset(CreateEventExW(security.attributes(), taskWakeName(serial).c_str(), 0, access));
        m_frame.reset(CreateEventExW(security.attributes(), taskFrameName(serial).c_str(), 0, access));
        m_quit.reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
        if (!m_wake || !m_frame || !m_quit) {
            close();
            return KIVO_TASK_FAILED;
        }
        ZeroMemory(record, sizeof(*record));
        record->serial = serial;
        record->cameraId = s.cameras[cameraIndex].id;
        record->cameraIndex = cameraIndex;
        record->hwnd = reinterpret_cast<ULONGLONG>(hNotifyWnd);
        record->owner = currentProcessTag();
        m_store.bumpGeneration();
        m_serial = serial;
        m_cameraId = record->cameraId;
    }
    m_hwnd = hNotifyWnd;
    m_cameraIndex = cameraIndex;
    m_captureSerial = 0;
    m_removed = false;
    // A camera that is already open is reported before Open returns; the watcher takes over after.
    refresh();
    m_thread.reset(CreateThread(nullptr, 0, threadMain, this, 0, nullptr));
    if (!m_thread) {
        close();
        return KIVO_TASK_FAILED;
    }
    return KIVO_TASK_OK;
}

void TaskChannel::close()
{
    if (m_thread) {
        SetEvent(m_quit.get());
        // The watcher's waits are bounded (its own recheck, the device lock), so it ends in time.
        WaitForSingleObject(m_thread.get(), kThreadStopTimeoutMs);
        m_thread.reset();
    }
    if (m_serial != 0)
        unregister();
    m_captureProcess.reset();
    m_wake.reset();
    m_frame.reset();
    m_quit.reset();
    {
        std::lock_guard<std::mutex> lock(m_frameLock);
        m_current.reset();
        m_held.reset();
        m_frameHeld = false;
        m_frameSignalled = false;
        ZeroMemory(&m_descriptor, sizeof(m_descriptor));
    }
    m_serial = 0;
    m_captureSerial = 0;
}

bool TaskChannel::unregister()
{
    DeviceStore::Lock lock(m_store);
    if (!lock.held())
        return false;
    for (TaskRecord& task : m_store.state()->tasks) {
        if (task.serial == m_serial) {
            ZeroMemory(&task, sizeof(task));
            m_store.bumpGeneration();
            return true;
        }
    }
    return false;
}

bool TaskChannel::enableFrameAccess(bool enable)
{
    if (m_serial == 0)
        return false;
    DeviceStore::Lock lock(m_store);
    if (!lock.held())
        return false;
    for (TaskRecord& task : m_store.state()->tasks) {
        if (task.serial == m_serial) {
            task.frameAccess = enable ? 1 : 0;
            m_store.bumpGeneration();
            return true;
        }
    }
    return false;
}

bool TaskChannel::frameStats(DWORD& processed, DWORD& passedThrough)
{
    if (m_serial == 0)
        return false;
    DeviceStore::Lock lock(m_store);
    if (!lock.held())
        return false;
    for (const TaskRecord& task : m_store.state()->tasks) {
        if (task.serial == m_serial) {
            processed = DWORD(task.processed);
            passedThrough = DWORD(task.passedThrough);
            return true;
        }
    }
    return false;
}

DWORD WINAPI TaskChannel::threadMain(LPVOID param)
{
    static_cast<TaskChannel*>(param)->watch();
    return 0;
}

void TaskChannel::watch()
{
    for (;;) {
        HANDLE waits[4] = {m_quit.get(), m_wake.get(), m_frame.get(), m_captureProcess.get()};
        DWORD count = m_captureProcess ? 4 : 3;
        DWORD rc = WaitForMultipleObjects(count, waits, FALSE, kRecheckMs);
        if (rc == WAIT_OBJECT_0 || rc == WAIT_FAILED)
            return;
        if (rc == WAIT_OBJECT_0 + 2)
            onFrameSignal();
        else
            refresh();   // woken, the capturing process ended, or the periodic look
    }
}

bool TaskChannel::refresh()
{
    if (m_removed)
        return false;
    bool present = false;
    DWORD captureSerial = 0;
    ProcessTag owner = {};
    std::vector<DWORD> others;
    {
        DeviceStore::Lock lock(m_store);
        std::wstring why;
        if (!lock.held() || !m_store.validate(why))
            return false;   // look again later
        SharedState& s = *m_store.state();
        for (DWORD i = 0; i < s.cameraCount; ++i) {
            CameraRecord& camera = s.cameras[i];
            if (camera.id != m_cameraId)
                continue;
            present = true;
            if (camera.capture.serial != 0) {
                if (isProcessAlive(camera.capture.owner)) {
                    captureSerial = camera.capture.serial;
                    owner = camera.capture.owner;
                } else {
                    // The capturing application ended without closing: the camera is closed.
                    ZeroMemory(&camera.capture, sizeof(camera.capture));
                    others = tasksOfCamera(s, m_cameraId);
                    m_store.bumpGeneration();
                }
            }
        }
    }
    wakeTasks(others);
    if (!present) {
        m_removed = true;
        onCaptureChanged(0, owner);   // no close notice: the removal says it all
        post(WM_TASK_DEVICE_REMOVE);
        return true;
    }
    if (captureSerial != m_captureSerial) {
        if (m_captureSerial != 0)
            post(WM_TASK_DEVICE_CLOSE);
        onCaptureChanged(captureSerial, owner);
        if (captureSerial != 0)
            post(WM_TASK_DEVICE_OPEN);
    }
    return true;
}

void TaskChannel::onCaptureChanged(DWORD captureSerial, const ProcessTag& owner)
{
    m_captureProcess.reset();
    {
        std::lock_guard<std::mutex> lock(m_frameLock);
        retireExchangeLocked();
        if (captureSerial != 0) {
            auto view = std::make_shared<ExchangeView>();
            if (view->open(captureSerial))
                m_current = view;
        }
    }
    m_captureSerial = captureSerial;
    if (captureSerial != 0)
        m_captureProcess = openTaggedProcess(owner);
}

void TaskChannel::retireExchangeLocked()
{
    m_current.reset();
    m_frameSignalled = false;
    if (!m_frameHeld) {
        m_descriptor.pData = nullptr;
        m_descriptor.cbData = 0;
    }
}

void TaskChannel::onFrameSignal()
{
    bool taken = false;
    {
        std::lock_guard<std::mutex> lock(m_frameLock);
        m_frameSignalled = true;
        taken = !m_frameHeld && takeFrameLocked();
    }
    // Posted outside the lock, so that the window's CompleteFrame never waits for this thread.
    if (taken)
        post(WM_TASK_FRAME_READY);
}

bool TaskChannel::takeFrameLocked()
{
    m_frameSignalled = false;
    DWORD slot = 0;
    LONG seq = 0;
    FrameFormat format;
    if (!m_current || !m_current->announcedFrame(slot, seq, format))
        return false;
    if (m_current->captureSerial() == m_lastTakenSerial && seq == m_lastTakenSeq)
        return false;   // already handed to the window
    const ExchangeSlot& record = m_current->header()->slots[slot];
    m_descriptor.pData = m_current->slotData(slot);
    m_descriptor.cbData = format.imageBytes();
    m_descriptor.dwCameraIndex = m_cameraIndex;
    m_descriptor.dwFrameNumber = record.frameNumber;
    m_descriptor.llTimestamp = record.timestamp;
    format.toHeader(m_descriptor.bmiHeader);
    m_held = m_current;
    m_heldSlot = slot;
    m_heldSeq = seq;
    m_lastTakenSerial = m_current->captureSerial();
    m_lastTakenSeq = seq;
    m_frameHeld = true;
    return true;
}

bool TaskChannel::completeFrame()
{
    bool held = false;
    bool taken = false;
    {
        std::lock_guard<std::mutex> lock(m_frameLock);
        held = m_frameHeld && m_held;
        if (held) {
            // Once completed, the slot is the capturing application's again (it hands it on as it
            // stands): the descriptor stops pointing at it first.
            m_descriptor.pData = nullptr;
            m_descriptor.cbData = 0;
            InterlockedExchange(&m_held->header()->slots[m_heldSlot].completedSeq, m_heldSeq);
            SetEvent(m_held->doneEvent());
            m_frameHeld = false;
            m_held.reset();
            taken = m_frameSignalled && takeFrameLocked();
        }
    }
    if (taken)
        post(WM_TASK_FRAME_READY);
    return held;
}

void TaskChannel::post(UINT message)
{
    PostMessageW(m_hwnd, message, m_cameraIndex, 0);
}

} // namespace vcam
