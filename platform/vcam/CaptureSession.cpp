#include "CaptureSession.h"

#include "ObjectSecurity.h"
#include "ProcessTag.h"
#include "TaskSignals.h"
#include "VcamNames.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace vcam {

namespace {

constexpr DWORD kMaxFilterWaitMs = 5000;

LONGLONG now()
{
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

CameraRecord* findCamera(SharedState& state, DWORD id, DWORD* index = nullptr)
{
    for (DWORD i = 0; i < state.cameraCount; ++i) {
        if (state.cameras[i].id == id) {
            if (index)
                *index = i;
            return &state.cameras[i];
        }
    }
    return nullptr;
}

TaskRecord* findTask(SharedState& state, DWORD serial)
{
    if (serial == 0)
        return nullptr;
    for (TaskRecord& task : state.tasks)
        if (task.serial == serial)
            return &task;
    return nullptr;
}

} // namespace

const wchar_t* captureResultText(CaptureResult result)
{
    switch (result) {
    case CaptureResult::Ok: return L"ok";
    case CaptureResult::NoDevice: return L"the virtual camera device cannot be reached";
    case CaptureResult::NoCamera: return L"no camera has that index";
    case CaptureResult::Busy: return L"another application has the camera open";
    case CaptureResult::BadFormat: return L"the camera cannot deliver that format, size or rate";
    case CaptureResult::Removed: return L"the camera was removed";
    case CaptureResult::Failed: return L"capture failed";
    }
    return L"unknown error";
}

CaptureSession::CaptureSession()
{
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    m_frequency = f.QuadPart;
}

CaptureSession::~CaptureSession()
{
    close();
}

CaptureResult CaptureSession::fail(CaptureResult result, const std::wstring& message)
{
    m_error = message.empty() ? captureResultText(result) : message;
    return result;
}

CaptureResult CaptureSession::open(DWORD cameraIndex, const FrameFormat& format, DWORD fps, DWORD filterWaitMs,
                                   DWORD reserveBytes)
{
    close();
    FrameFormat checked;
    if (!FrameFormat::fromRecord(DWORD(format.pixel), format.width, format.height, checked) || fps == 0 ||
        fps > kMaxFps || filterWaitMs == 0 || filterWaitMs > kMaxFilterWaitMs)
        return fail(CaptureResult::BadFormat, L"");
    if (!m_store.open(m_error))
        return CaptureResult::NoDevice;

    std::vector<DWORD> tasks;
    {
        DeviceStore::Lock lock(m_store);
        std::wstring why;
        if (!lock.held())
            return fail(CaptureResult::NoDevice, L"the device is busy");
        if (!m_store.validate(why))
            return fail(CaptureResult::Failed, why + L"; run kivocam reset");
        SharedState& s = *m_store.state();
        if (cameraIndex >= s.cameraCount)
            return fail(CaptureResult::NoCamera, L"");
        CameraRecord& camera = s.cameras[cameraIndex];
        if (camera.capture.serial != 0 && isProcessAlive(camera.capture.owner))
            return fail(CaptureResult::Busy, L"");
        m_format = checked;
        m_serial = s.nextSerial++;
        if (!createExchange(reserveBytes)) {
            m_serial = 0;
            return fail(CaptureResult::Failed, L"cannot create the frame exchange (error " +
                                                   std::to_wstring(GetLastError()) + L")");
        }
        CaptureRecord& record = camera.capture;
        record.serial = m_serial;
        record.pixelFormat = DWORD(m_format.pixel);
        record.width = m_format.width;
        record.height = m_format.height;
        record.fps = fps;
        record.owner = currentProcessTag();
        m_cameraId = camera.id;
        m_cameraIndex = cameraIndex;
        m_generator.configure(camera);
        tasks = tasksOfCamera(s, camera.id);
        m_store.bumpGeneration();
    }
    wakeTasks(tasks);
    m_fps = fps;
    m_filterWaitMs = filterWaitMs;
    m_seenGeneration = m_store.state()->generation - 1;   // choose the filter at the first frame
    m_removed = false;
    m_frame.assign(m_format.imageBytes(), 0);
    m_frameNumber = 0;
    m_start = now();
    return CaptureResult::Ok;
}

bool CaptureSession::createExchange(DWORD reserveBytes)
{
    DWORD slotBytes = exchangeSlotBytes(std::max(m_format.imageBytes(), reserveBytes));
    SIZE_T bytes = exchangeMappingBytes(slotBytes);
    ObjectSecurity sectionSecurity(SecuredObject::Section);
    m_exchangeMapping.reset(CreateFileMappingW(INVALID_HANDLE_VALUE, sectionSecurity.attributes(), PAGE_READWRITE,
                                               DWORD(ULONGLONG(bytes) >> 32), DWORD(bytes),
                                               captureFramesName(m_serial).c_str()));
    ObjectSecurity eventSecurity(SecuredObject::Event);
    m_done.reset(CreateEventExW(eventSecurity.attributes(), captureDoneName(m_serial).c_str(), 0,
                                openAccess(SecuredObject::Event)));
    if (m_exchangeMapping)
        m_exchange = mapView<ExchangeHeader>(m_exchangeMapping.get(), bytes);
    if (!m_exchange || !m_done) {
        releaseExchange();
        return false;
    }
    ZeroMemory(m_exchange.get(), sizeof(ExchangeHeader));
    m_exchange->captureSerial = m_serial;
    m_exchange->slotBytes = slotBytes;
    m_exchange->currentSlot = -1;
    MemoryBarrier();
    m_exchange->magic = kExchangeMagic;
    return true;
}

void CaptureSession::releaseExchange()
{
    m_exchange.reset();
    m_exchangeMapping.reset();
    m_done.reset();
}

CaptureResult CaptureSession::switchFormat(const FrameFormat& format)
{
    if (m_serial == 0 || !m_exchange)
        return fail(CaptureResult::Failed, L"the camera is not open");
    FrameFormat checked;
    if (!FrameFormat::fromRecord(DWORD(format.pixel), format.width, format.height, checked) ||
        checked.imageBytes() > m_exchange->slotBytes)
        return fail(CaptureResult::BadFormat, L"the format does not fit the frame exchange");
    {
        DeviceStore::Lock lock(m_store);
        if (!lock.held())
            return fail(CaptureResult::NoDevice, L"the device is busy");
        SharedState& s = *m_store.state();
        if (m_cameraIndex < s.cameraCount && s.cameras[m_cameraIndex].capture.serial == m_serial) {
            CaptureRecord& record = s.cameras[m_cameraIndex].capture;
            record.pixelFormat = DWORD(checked.pixel);
            record.width = checked.width;
            record.height = checked.height;
        }
    }
    m_format = checked;
    m_frame.assign(m_format.imageBytes(), 0);
    return CaptureResult::Ok;
}

void CaptureSession::close()
{
    if (m_serial == 0)
        return;
    std::vector<DWORD> tasks;
    {
        DeviceStore::Lock lock(m_store);
        std::wstring why;
        if (lock.held() && m_store.validate(why)) {
            SharedState& s = *m_store.state();
            CameraRecord* camera = findCamera(s, m_cameraId);
            if (camera && camera->capture.serial == m_serial) {
                ZeroMemory(&camera->capture, sizeof(camera->capture));
                tasks = tasksOfCamera(s, m_cameraId);
                m_store.bumpGeneration();
            }
        }
    }
    wakeTasks(tasks);
    dropFilter();
    releaseExchange();
    m_serial = 0;
    m_cameraId = 0;
}

void CaptureSession::waitForFrameTime()
{
    LONGLONG due = m_start + LONGLONG(m_frameNumber) * m_frequency / LONGLONG(m_fps);
    for (;;) {
        LONGLONG remaining = due - now();
        if (remaining <= 0)
            return;
        DWORD ms = DWORD(remaining * 1000 / m_frequency);
        Sleep(ms > 1 ? ms - 1 : 0);
    }
}

bool CaptureSession::refreshFromDevice()
{
    LONG generation = m_store.state()->generation;
    if (generation == m_seenGeneration)
        return !m_removed;
    DeviceStore::Lock lock(m_store);
    std::wstring why;
    if (!lock.held())
        return !m_removed;   // try again at the next frame
    m_seenGeneration = m_store.state()->generation;
    SharedState& s = *m_store.state();
    CameraRecord* camera = m_store.validate(why) ? findCamera(s, m_cameraId, &m_cameraIndex) : nullptr;
    if (!camera || camera->capture.serial != m_serial) {
        m_removed = true;
        return false;
    }
    m_generator.configure(*camera);
    chooseFilter(s);
    return true;
}

void CaptureSession::chooseFilter(const SharedState& state)
{
    // The first live task with frame access; records of processes that died are passed over.
    for (const TaskRecord& task : state.tasks) {
        if (task.serial == 0 || task.cameraId != m_cameraId || !task.frameAccess)
            continue;
        if (task.serial == m_filterSerial)
            return;
        UniqueHandle process = openTaggedProcess(task.owner);
        UniqueHandle frame(process ? OpenEventW(EVENT_MODIFY_STATE, FALSE, taskFrameName(task.serial).c_str())
                                   : nullptr);
        if (!frame)
            continue;
        dropFilter();
        m_filterProcess = std::move(process);
        m_filterFrame = std::move(frame);
        m_filterSerial = task.serial;
        return;
    }
    dropFilter();
}

void CaptureSession::dropFilter()
{
    m_filterFrame.reset();
    m_filterProcess.reset();
    m_filterSerial = 0;
    m_pendingSeq = 0;
}

void CaptureSession::countFate(FrameFate fate)
{
    if (fate == FrameFate::Unfiltered)
        return;
    // Counted without the lock: the record is checked to still be the filter's.
    TaskRecord* task = findTask(*m_store.state(), m_filterSerial);
    if (!task)
        return;
    InterlockedIncrement(fate == FrameFate::Processed ? &task->processed : &task->passedThrough);
}

bool CaptureSession::filterIsFree() const
{
    return m_filterSerial != 0 &&
           (m_pendingSeq == 0 || m_exchange->slots[m_pendingSlot].completedSeq == m_pendingSeq);
}

FrameFate CaptureSession::passBusyFilter()
{
    // Still busy with an earlier frame: this one goes on without it.
    countFate(FrameFate::PassedThrough);
    if (WaitForSingleObject(m_filterProcess.get(), 0) != WAIT_TIMEOUT)
        forgetDeadFilter();
    return FrameFate::PassedThrough;
}

FrameFate CaptureSession::handToFilter(const CapturedFrame& frame, DWORD slot)
{
    LONG seq = ++m_seq;
    ExchangeSlot& record = m_exchange->slots[slot];
    record.seq = seq;
    record.cbData = frame.cbData;
    record.frameNumber = frame.frameNumber;
    record.timestamp = frame.captureTime;
    record.cameraIndex = m_cameraIndex;
    m_format.toHeader(record.header);
    MemoryBarrier();
    m_exchange->currentSlot = LONG(slot);
    m_exchange->currentSeq = seq;
    MemoryBarrier();
    m_pendingSeq = seq;
    m_pendingSlot = slot;
    SetEvent(m_filterFrame.get());

    LONGLONG deadline = now() + LONGLONG(m_filterWaitMs) * m_frequency / 1000;
    HANDLE waits[2] = {m_done.get(), m_filterProcess.get()};
    bool filterDied = false;
    for (;;) {
        if (record.completedSeq == seq) {
            m_pendingSeq = 0;
            countFate(FrameFate::Processed);
            return FrameFate::Processed;
        }
        LONGLONG left = deadline - now();
        if (left <= 0)
            break;
        DWORD rc = WaitForMultipleObjects(2, waits, FALSE, DWORD(left * 1000 / m_frequency) + 1);
        if (rc == WAIT_OBJECT_0 + 1) {
            filterDied = record.completedSeq != seq;
            if (!filterDied)
                continue;
            break;
        }
        if (rc != WAIT_OBJECT_0 && rc != WAIT_TIMEOUT)
            break;
    }
    countFate(FrameFate::PassedThrough);
    if (filterDied)
        forgetDeadFilter();
    return FrameFate::PassedThrough;
}

void CaptureSession::forgetDeadFilter()
{
    // Nobody will complete frames for it: forget its record so that no capture waits on it.
    {
        DeviceStore::Lock lock(m_store);
        TaskRecord* task = lock.held() ? findTask(*m_store.state(), m_filterSerial) : nullptr;
        if (task && !isProcessAlive(task->owner)) {
            ZeroMemory(task, sizeof(*task));
            m_store.bumpGeneration();
        }
    }
    dropFilter();
}

CaptureResult CaptureSession::nextFrame(CapturedFrame& frame)
{
    if (m_serial == 0)
        return fail(CaptureResult::Failed, L"the camera is not open");
    waitForFrameTime();
    if (!refreshFromDevice())
        return fail(CaptureResult::Removed, L"");
    // A frame for the filter is drawn straight into the free slot of the exchange and, once the
    // filter completed it, handed to the application from there: no copy on either side.
    bool handOff = filterIsFree();
    DWORD slot = m_pendingSlot ^ 1;   // alternate, so a late write by the filter hits the other slot
    BYTE* canvas = handOff ? exchangeSlotData(m_exchange.get(), slot) : m_frame.data();
    if (!m_generator.render(m_format, m_frameNumber, canvas))
        return fail(CaptureResult::Failed, L"cannot draw the picture");
    frame = CapturedFrame();
    frame.cbData = m_format.imageBytes();
    frame.frameNumber = m_frameNumber++;
    frame.captureTime = now();
    frame.data = canvas;
    if (handOff)
        frame.fate = handToFilter(frame, slot);
    else
        frame.fate = m_filterSerial != 0 ? passBusyFilter() : FrameFate::Unfiltered;
    if (frame.fate == FrameFate::PassedThrough && canvas != m_frame.data()) {
        // The late filter may still write the slot: the application gets the camera's picture,
        // drawn again into its own buffer.
        if (!m_generator.render(m_format, frame.frameNumber, m_frame.data()))
            return fail(CaptureResult::Failed, L"cannot draw the picture");
        frame.data = m_frame.data();
    }
    frame.deliverTime = now();
    return CaptureResult::Ok;
}

} // namespace vcam
