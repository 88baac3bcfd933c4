// The settings panel: the program's only main window, a modeless skinned dialog from template 102.
// It turns the camera front or rear, opens the camera's property pages, and rewrites every frame the
// capturing application receives with the chosen effects (frame overlay, zoom, freeze, still
// pictures). It lives as long as an application keeps the camera open.
//
// Split by concern: KivoSetDlg.cpp (message map, start-up, timers, buttons, end),
// KivoSetDlgDirection.cpp, KivoSetDlgPipeline.cpp, KivoSetDlgEffects.cpp, KivoSetDlgLayout.cpp.
#pragma once

#include "FramePipeline.h"
#include "KivoButton.h"
#include "KivoDialogPainter.h"
#include "KivoLib.h"
#include "KivoSetMessages.h"
#include "ReleasePtr.h"
#include "Repaint.h"
#include "TopmostPeriod.h"
#include "Tsl.h"

#include <afxcmn.h>
#include <afxwin.h>

#include <memory>

class CKivoSetDlg : public WholeRepaint<TesselDialog> {
public:
    explicit CKivoSetDlg(CWnd* pParent = nullptr);
    ~CKivoSetDlg() override;

    // False once the object is deleted. A copy taken before a modal run tells afterwards whether
    // the panel was destroyed meanwhile, without touching the object.
    std::shared_ptr<bool> aliveToken() const { return m_alive; }

    // The frame message's work: takes the frame the camera's task holds, rewrites it with the effects
    // and hands it back. The application's message loop calls it straight; other loops reach it
    // through the message map.
    void processFrame();

    // The open timer closes a panel whose camera did not open and keeps it topmost for a while;
    // the open-wait timer brings the over-resolution alert when no frame follows the open.
    static const UINT_PTR kOpenTimerId = 1;
    static const UINT_PTR kOpenWaitTimerId = 2;
    // Background of the effect panel.
    static const COLORREF kPanelColor = RGB(199, 206, 211);

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;
    BOOL OnInitDialog() override;

    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnTimer(UINT_PTR nIDEvent);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg LRESULT OnWTSSessionChange(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnBringForward(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenDevice(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnFrameReady(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnCloseDevice(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnRemoveDevice(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnApplyFrame(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnAlertOverResolution(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEffectDisable(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEffectEnable(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEffectFailed(WPARAM wParam, LPARAM lParam);
    afx_msg void OnFrontButton();
    afx_msg void OnRearButton();
    afx_msg void OnDefaultsButton();
    afx_msg void OnMaximumButton();
    afx_msg void OnPropertySheetButton();
    afx_msg void OnFrameButton();
    afx_msg void OnZoomChanged();
    afx_msg void OnModeChanged();
    afx_msg void OnEffectReset();

    DECLARE_MESSAGE_MAP()

private:
    // --- start-up and lifecycle (KivoSetDlg.cpp) ---
    bool prepareModules();
    void prepareDirectionControl();
    void showStoredDirection();
    void onOpenTimerTick();
    void endTopmostStart();
    void applyTopmost(TopmostPeriod::Change change);
    void onOpenWaitTimerTick();
    void releaseModules();
    void showPropertyError();
    bool resetPropertiesOfInternalCamera();
    bool maximizePropertiesOfInternalCamera();

    // --- direction (KivoSetDlgDirection.cpp) ---
    int refleshCameraDirStatus();
    void changeCameraDir(int dir);
    bool isCaptureRunning();
    bool isRendoSignalDisabled();
    bool isOverCameraResolution(LONG width, LONG height);
    void signalDirectionChange();
    void saveDirectionProperties(int direction);
    void restoreDirectionProperties(int direction);

    // --- frames: acquire, process, complete (KivoSetDlgPipeline.cpp; the work is FramePipeline's) ---
    KIVO_FRAME_BUFFER* ioAcquireFrameBuffer();
    FrameOutcome ioGetBuffer(KIVO_FRAME_BUFFER* frame);
    void reportFrameOutcome(const KIVO_FRAME_BUFFER& frame, const FrameOutcome& outcome);
    void stopOpenWaitTimer();

    // --- effect panel (KivoSetDlgEffects.cpp) ---
    void initControls();
    void createRowTooltip(CToolTipCtrl& tooltip, UINT iconId, UINT textId);
    void setEffectsEnabled(bool enable);
    void restoreEffectSettings();
    void showRowStates();
    void setFrameAccess();
    HBITMAP loadPicture(LPCWSTR fileName, UINT libraryId);
    static void writeSetting(LPCWSTR name, DWORD value);
    static DWORD readSetting(LPCWSTR name, DWORD preset);

    // --- layout and position (KivoSetDlgLayout.cpp) ---
    void layoutControls();
    void placeAt(CWnd& control, int x, int y);
    int windowWidthOf(CWnd& control);
    void placeWindow();
    bool isOnSomeMonitor(int left, int top);
    void moveToDefaultPosition();
    void storeWindowPosition();

    // Runs a modal dialog or box; false when the panel was destroyed during it, and then the
    // caller must not touch the object.
    template <class Run>
    bool runModal(Run run);

    std::shared_ptr<bool> m_alive;
    TopmostPeriod m_topmostPeriod;
    int m_modalDepth;   // dialogs of the panel open now

    HICON m_hIcon;
    KivoDialogPainter m_painter;
    ReleasePtr<IImgFAccessTask> m_pTask;
    ReleasePtr<IKivoLib> m_pKivoLib;
    // Shared with a property dialog while it runs: the panel may be destroyed meanwhile.
    std::shared_ptr<ICameraPropertySettings> m_cameraSettings;
    std::unique_ptr<COrvUtilsApi> m_pOrvUtils;   // the built-in camera's driver, while it can be reached
    TesselStatic m_directionLabel;
    KivoButton m_frontButton;
    KivoButton m_rearButton;
    CStatic m_pictureLabel;
    TesselButton m_defaultsButton;
    TesselButton m_maximumButton;
    TesselButton m_propertySheetButton;
    TesselButton m_frameButton;
    TesselComboBox m_zoomList;
    TesselComboBox m_modeList;
    TesselButton m_resetButton;
    CStatic m_frameIcon;
    CStatic m_zoomIcon;
    CStatic m_modeIcon;
    HICON m_hFrameOnIcon;
    HICON m_hFrameOffIcon;
    HICON m_hZoomOnIcon;
    HICON m_hZoomOffIcon;
    HICON m_hModeOnIcon;
    HICON m_hModeOffIcon;
    CToolTipCtrl m_frameTip;
    CToolTipCtrl m_zoomTip;
    CToolTipCtrl m_modeTip;
    CStatic m_effectPanel;
    CStatic m_effectPanelFrame;
    CBrush m_panelBrush;
    HBITMAP m_frameBitmap;
    HBITMAP m_still1Bitmap;
    HBITMAP m_still2Bitmap;
    DWORD m_cameraIdx;
    bool m_deviceOpened;
    KIVO_FRAME_BUFFER* m_pFrameBuffer;
    DWORD m_effectFlags;
    DWORD m_openWaitTicks;
    bool m_openWaitTimerOn;   // timer 2 runs: no frame since the camera opened
    DWORD m_showEffectAlert;
    int m_cameraDirStatus;
    FramePipeline m_pipeline;   // the frames' buffers and the size of the last frame
};

template <class Run>
bool CKivoSetDlg::runModal(Run run)
{
    std::shared_ptr<bool> alive = m_alive;
    endTopmostStart();
    ++m_modalDepth;
    run();
    if (*alive)
        --m_modalDepth;
    return *alive;
}
