// The service's only window: hidden, never shown. Every event of the service arrives here as a
// message: the image access tasks' camera events, device arrivals, session and power changes, the
// settings program's registered messages, and the tray icon's notifications.
#pragma once

#include "afxwin.h"

#include "KivoLib.h"
#include "ReleasePtr.h"
#include "UniqueHandle.h"

#include <shellapi.h>

#include <memory>
#include <vector>

class KivoServeFrame : public CFrameWnd {
    DECLARE_DYNCREATE(KivoServeFrame)
public:
    KivoServeFrame();   // creates the window; GetSafeHwnd() is null when that failed
    ~KivoServeFrame() override;

    enum : UINT_PTR { TIMER_SESSION_REGISTER = 1, TIMER_OPEN_DELAY = 2, TIMER_PANEL_WATCH = 3 };

protected:
    // Camera and tasks (KivoServeFrameCamera.cpp)
    bool openDriver();
    void clearAccessTaskList();
    void applyCameraDir();
    void prepareModules();
    bool cameraInstalledAnyway();
    void releaseCameraMutex();
    afx_msg LRESULT OnOpenDevice(WPARAM cameraIdx, LPARAM);
    afx_msg LRESULT OnCloseDevice(WPARAM cameraIdx, LPARAM);
    afx_msg LRESULT OnRemoveDevice(WPARAM cameraIdx, LPARAM);
    void renumberAfterRemoval(DWORD removedIdx);

    // Window, device, session and power events (KivoServeFrame.cpp)
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg BOOL OnDeviceChange(UINT nEventType, DWORD_PTR dwData);
    afx_msg LRESULT OnPowerBroadcast(WPARAM event, LPARAM);
    afx_msg LRESULT OnWTSSessionChange(WPARAM event, LPARAM sessionId);
    void PostNcDestroy() override;

    // Tray icon and menu (KivoServeFrameTray.cpp)
    void showTrayIcon();
    void removeTrayIcon();
    afx_msg LRESULT OnTrayNotify(WPARAM iconId, LPARAM mouseMsg);
    afx_msg LRESULT OnTaskbarCreated(WPARAM, LPARAM);
    bool showTrayMenu();
    afx_msg void activateKivoSet();
    void handForegroundTo(HWND hDialog);
    afx_msg void OnTrayAutoStartup();

    // Launching the settings program and its messages (KivoServeFrameLauncher.cpp)
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    void onOpenDelayTick();
    void onPanelWatchTick();
    void resumeWatching();
    void startupKivoSet();
    bool kivoSetStarting() const;
    afx_msg LRESULT OnKivoSetOpen(WPARAM dialogWnd, LPARAM screenSaverRunning);
    afx_msg LRESULT OnKivoSetHide(WPARAM, LPARAM);
    afx_msg LRESULT OnKivoSetClose(WPARAM, LPARAM);

    // Help
    afx_msg LRESULT OnKivoSetHelp(WPARAM, LPARAM);
    afx_msg void OnTrayHelp();

    DECLARE_MESSAGE_MAP()

private:
    typedef ReleasePtr<IImgFAccessTask> TaskPtr;
    // A task with the camera index it was opened with, which its messages carry.
    struct AccessTask {
        DWORD cameraIdx;
        TaskPtr task;
    };

    HICON m_hIcon;                       // the window's icon, at the large size
    HICON m_hTrayIcon;                   // the same at the small size the notification area shows
    int m_nOpenTicks;
    std::unique_ptr<COrvUtilsApi> m_pUtilsApi;
    NOTIFYICONDATAW m_nid;               // uID is 1 while the icon is shown, 0 otherwise
    HWND m_hKivoSetWnd;
    UniqueHandle m_launchedKivoSet;      // the settings program started last, until it announces itself
    UniqueHandle m_cameraMutex;          // held while the service considers the camera open
    std::vector<AccessTask> m_accessTasks;   // in the order of their camera indexes
    HDEVNOTIFY m_hDevNotify;
    int m_nCameraIdx;
    bool m_bDeviceOpen;
    bool m_bAutoStartup;
    bool m_bSessionLocked;
    bool m_bConsoleDisconnected;
    bool m_bConstructed;                 // PostNcDestroy deletes only a fully constructed frame
};
