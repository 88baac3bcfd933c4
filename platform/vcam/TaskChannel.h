// The watching side of the camera, behind an image access task: registers the task with the
// device, and a thread of its own turns the device's signals into messages for the notify window
// (WM_USER+2/+3/+4 with the camera index, WM_USER+1 for a frame to filter). The frame descriptor
// belongs to the channel and is refilled for every frame.
#pragma once

#include "DeviceStore.h"
#include "FrameExchange.h"

#include "KivoProtocol.h"
#include "UniqueHandle.h"

#include <memory>
#include <mutex>

namespace vcam {

class TaskChannel {
public:
    TaskChannel();
    ~TaskChannel();

    DWORD open(HWND hNotifyWnd, DWORD cameraIndex);   // KIVO_TASK_OK, _NO_CAMERA or _FAILED
    void close();
    bool isOpen() const { return m_serial != 0; }

    bool enableFrameAccess(bool enable);
    KIVO_FRAME_BUFFER* descriptor() { return &m_descriptor; }
    // Hands the frame the window holds back to the capturing process; false when none is held.
    bool completeFrame();
    bool frameStats(DWORD& processed, DWORD& passedThrough);

private:
    TaskChannel(const TaskChannel&) = delete;
    TaskChannel& operator=(const TaskChannel&) = delete;

    static DWORD WINAPI threadMain(LPVOID param);
    void watch();
    // Compares the camera's state with what the window was last told and posts the difference.
    bool refresh();
    void onCaptureChanged(DWORD captureSerial, const ProcessTag& owner);
    void onFrameSignal();
    // Fills the descriptor with the announced frame; true when the window is to be told.
    bool takeFrameLocked();
    void retireExchangeLocked();
    void post(UINT message);
    bool unregister();

    DeviceStore m_store;
    HWND m_hwnd = nullptr;
    DWORD m_cameraIndex = 0;
    DWORD m_cameraId = 0;
    DWORD m_serial = 0;
    UniqueHandle m_wake;
    UniqueHandle m_frame;
    UniqueHandle m_quit;
    UniqueHandle m_thread;   // joined in close() before the events it waits on are closed

    // Watcher thread only.
    DWORD m_captureSerial = 0;
    UniqueHandle m_captureProcess;
    bool m_removed = false;

    // Shared between the watcher thread and the window's thread.
    std::mutex m_frameLock;
    std::shared_ptr<ExchangeView> m_current;   // the open session's exchange
    std::shared_ptr<ExchangeView> m_held;      // the exchange of the frame the window holds
    bool m_frameHeld = false;
    bool m_frameSignalled = false;
    DWORD m_heldSlot = 0;
    LONG m_heldSeq = 0;
    DWORD m_lastTakenSerial = 0;
    LONG m_lastTakenSeq = 0;
    KIVO_FRAME_BUFFER m_descriptor;
};

} // namespace vcam
