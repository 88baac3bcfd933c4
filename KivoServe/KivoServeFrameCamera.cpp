// The frame's watch over the cameras: one image access task per camera, the camera-open mutex, and
// the stored facing direction.
#include "KivoServeFrame.h"

#include "KivoNames.h"

#include <algorithm>

namespace {
bool isCameraDirection(DWORD dir)
{
    return dir == static_cast<DWORD>(KIVO_DIR_FRONT) || dir == static_cast<DWORD>(KIVO_DIR_REAR);
}
} // namespace

// Rebuilds the task list: one task per camera index, until the library reports no camera there.
// Any other failure (the device state damaged or busy, no room for another task) stops the scan as
// well: the library would answer the same for every further index. The cameras opened so far are
// watched.
bool KivoServeFrame::openDriver()
{
    if (m_bSessionLocked)
        return false;
    clearAccessTaskList();
    for (DWORD index = 0;; ++index) {
        TaskPtr task(CreateImgFAccessTask());
        if (!task)
            return false;
        DWORD result = task->Open(m_hWnd, index);
        if (result != KIVO_TASK_OK) {
            if (result != KIVO_TASK_NO_CAMERA)
                WriteLog(L"KivoServeFrame::openDriver() - IImgFAccessTask::Open(%u) failed(%u).", index, result);
            return !m_accessTasks.empty();
        }
        m_accessTasks.push_back({index, std::move(task)});
    }
}

void KivoServeFrame::clearAccessTaskList()
{
    for (AccessTask& entry : m_accessTasks)
        entry.task.reset();
    std::vector<AccessTask>().swap(m_accessTasks);
}

// No camera now: the service stays only for a declared external camera or a running settings program.
bool KivoServeFrame::cameraInstalledAnyway()
{
    DWORD installed = 0;
    KivoRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        key.Read(KIVO_VALUE_EXTERNAL_CAMERA_INSTALLED, installed);
        key.Close();
    }
    if (UniqueHandle(OpenMutexW(SYNCHRONIZE, FALSE, KIVO_SET_MUTEX_ALL)))
        installed = 1;
    return installed != 0;
}

void KivoServeFrame::prepareModules()
{
    m_pUtilsApi.reset(new COrvUtilsApi);
    if (m_pUtilsApi->Init()) {
        applyCameraDir();
        return;
    }
    WriteLog(L"KivoServeFrame::prepareModules() OrvUtils.dll Init failed.");
    m_pUtilsApi.reset();
}

// Turns the camera to the stored direction; a missing value, or one that is no direction, is stored
// as front.
void KivoServeFrame::applyCameraDir()
{
    if (!m_pUtilsApi)
        return;
    DWORD dir = KIVO_DIR_FRONT;
    KivoRegKey key;
    if (key.Create(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        if (key.Read(KIVO_VALUE_CAMERA_DIR, dir) != ERROR_SUCCESS || !isCameraDirection(dir)) {
            dir = KIVO_DIR_FRONT;
            key.Write(KIVO_VALUE_CAMERA_DIR, dir);
        }
        key.Close();
    }
    m_pUtilsApi->ChangeCameraDir(static_cast<int>(dir));
}

void KivoServeFrame::releaseCameraMutex()
{
    if (m_cameraMutex) {
        m_cameraMutex.reset();
        WriteLog(L"close mutex");
    }
}

LRESULT KivoServeFrame::OnOpenDevice(WPARAM cameraIdx, LPARAM)
{
    WriteLog(L"KivoServeFrame::OnOpenDevice() called.");
    if (!m_bDeviceOpen && !m_cameraMutex) {
        m_cameraMutex.reset(CreateMutexW(nullptr, FALSE, KIVO_CAMERA_MUTEX));
        WriteLog(L"create mutex");
    }
    if (IsWindow(m_hKivoSetWnd))
        return 0;
    m_nCameraIdx = static_cast<int>(cameraIdx);
    m_bDeviceOpen = true;
    m_nOpenTicks = 0;
    SetTimer(TIMER_OPEN_DELAY, 1000);
    return 0;
}

LRESULT KivoServeFrame::OnCloseDevice(WPARAM cameraIdx, LPARAM)
{
    WriteLog(L"KivoServeFrame::OnCloseDevice() called.");
    if (static_cast<int>(cameraIdx) == m_nCameraIdx) {
        m_bDeviceOpen = false;
        releaseCameraMutex();
    }
    if (IsWindow(m_hKivoSetWnd) && !m_bDeviceOpen)
        ::PostMessageW(m_hKivoSetWnd, WM_TASK_DEVICE_CLOSE, 0, 0);
    return 0;
}

LRESULT KivoServeFrame::OnRemoveDevice(WPARAM cameraIdx, LPARAM)
{
    WriteLog(L"KivoServeFrame::OnRemoveDevice() called.");
    if (static_cast<int>(cameraIdx) == m_nCameraIdx) {
        m_bDeviceOpen = false;
        releaseCameraMutex();
    }
    if (IsWindow(m_hKivoSetWnd) && !m_bDeviceOpen)
        ::PostMessageW(m_hKivoSetWnd, WM_TASK_DEVICE_REMOVE, 0, 0);

    // Positions in the list shift with each removal; the task is the one opened on this index.
    auto removed = std::find_if(m_accessTasks.begin(), m_accessTasks.end(),
                                [&](const AccessTask& entry) { return entry.cameraIdx == cameraIdx; });
    if (removed != m_accessTasks.end()) {
        m_accessTasks.erase(removed);
        if (static_cast<int>(cameraIdx) == m_nCameraIdx)
            removeTrayIcon();
        renumberAfterRemoval(cameraIdx);
    }
    return 0;
}

// The library counts cameras by position: after a removal every later camera sits one lower, while
// its task still reports the index it was opened with. Reopening the tasks gives them the current
// indexes, so that the index published for the settings program names the camera that opened.
void KivoServeFrame::renumberAfterRemoval(DWORD removedIdx)
{
    bool laterCameras = std::any_of(m_accessTasks.begin(), m_accessTasks.end(),
                                    [&](const AccessTask& entry) { return entry.cameraIdx > removedIdx; });
    if (laterCameras)
        openDriver();
}
