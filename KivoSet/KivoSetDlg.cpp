// The panel's message map, start-up, timers, buttons and end.
#include "KivoSetDlg.h"

#include "AboutDlg.h"
#include "AlertOverResolutionDlg.h"
#include "CameraCustomPropertyPage.h"
#include "CameraPropertyPage.h"
#include "DpiScale.h"
#include "FrameSelectDlg.h"
#include "KivoNames.h"
#include "KivoSetApp.h"
#include "NamedMutexProbe.h"
#include "ShowCameraProperties.h"
#include "SnapshotBitmap.h"
#include "resource.h"

#include <wtsapi32.h>

namespace {

const UINT kTimerPeriodMs = 1000;
const UINT kAboutCommand = 0x0010;   // the system menu's About entry
const DWORD kOpenWaitTicks = 2;      // ticks of the open-wait timer without frames before the alert

const int kRowIconSize = 32;   // the effect rows' icons at 96 DPI

// size 0: the system's icon size.
HICON loadIcon(UINT id, int size = 0)
{
    return static_cast<HICON>(
        LoadImageW(AfxGetResourceHandle(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

// The row icons grow with the screen like the rest of the panel; the resources hold larger images,
// so a denser screen gets a sharp one rather than a stretched 32-pixel picture.
HICON loadRowIcon(UINT id)
{
    return loadIcon(id, scaledToDpi(kRowIconSize, screenDpi()));
}

// The panel's background and the row icons on it: the icons are erased with the panel's brush, so
// that their see-through parts show the panel, not the dialog behind it.
bool isOnEffectPanel(int controlId)
{
    return controlId == IDC_EFFECT_PANEL || controlId == IDC_FRAME_ICON || controlId == IDC_ZOOM_ICON ||
           controlId == IDC_MODE_ICON;
}

} // namespace

// Registered before the message map is first used.
static const UINT WM_KIVOSET_FOREGROUND = RegisterWindowMessageW(KIVO_MSG_KIVOSET_FOREGROUND);

CKivoSetDlg::CKivoSetDlg(CWnd* pParent)
    : WholeRepaint(IDD_SETTINGS_PANEL, pParent),
      m_alive(std::make_shared<bool>(true)),
      m_modalDepth(0),
      m_hIcon(loadIcon(IDI_KIVOSET)),
      m_hFrameOnIcon(loadRowIcon(IDI_FRAME_ON)),
      m_hFrameOffIcon(loadRowIcon(IDI_FRAME_OFF)),
      m_hZoomOnIcon(loadRowIcon(IDI_ZOOM_ON)),
      m_hZoomOffIcon(loadRowIcon(IDI_ZOOM_OFF)),
      m_hModeOnIcon(loadRowIcon(IDI_MODE_ON)),
      m_hModeOffIcon(loadRowIcon(IDI_MODE_OFF)),
      m_frameBitmap(nullptr),
      m_still1Bitmap(nullptr),
      m_still2Bitmap(nullptr),
      m_cameraIdx(0),
      m_deviceOpened(false),
      m_pFrameBuffer(nullptr),
      m_effectFlags(0),
      m_openWaitTicks(0),
      m_openWaitTimerOn(false),
      m_showEffectAlert(1),
      m_cameraDirStatus(KIVO_DIR_UNKNOWN)
{
    SetPainter(&m_painter);
}

CKivoSetDlg::~CKivoSetDlg()
{
    *m_alive = false;
    for (HICON icon : {m_hIcon, m_hFrameOnIcon, m_hFrameOffIcon, m_hZoomOnIcon, m_hZoomOffIcon, m_hModeOnIcon,
                       m_hModeOffIcon}) {
        if (icon)
            DestroyIcon(icon);
    }
}

void CKivoSetDlg::DoDataExchange(CDataExchange* pDX)
{
    TesselDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_DIRECTION_LABEL, m_directionLabel);
    DDX_Control(pDX, IDC_DIRECTION_FRONT, m_frontButton);
    DDX_Control(pDX, IDC_DIRECTION_REAR, m_rearButton);
    DDX_Control(pDX, IDC_PICTURE_LABEL, m_pictureLabel);
    DDX_Control(pDX, IDC_PROPERTY_DEFAULTS, m_defaultsButton);
    DDX_Control(pDX, IDC_PROPERTY_MAXIMUM, m_maximumButton);
    DDX_Control(pDX, IDC_PROPERTY_SHEET, m_propertySheetButton);
    DDX_Control(pDX, IDC_FRAME_BUTTON, m_frameButton);
    DDX_Control(pDX, IDC_ZOOM_LIST, m_zoomList);
    DDX_Control(pDX, IDC_MODE_LIST, m_modeList);
    DDX_Control(pDX, IDC_EFFECT_RESET, m_resetButton);
    DDX_Control(pDX, IDC_FRAME_ICON, m_frameIcon);
    DDX_Control(pDX, IDC_ZOOM_ICON, m_zoomIcon);
    DDX_Control(pDX, IDC_MODE_ICON, m_modeIcon);
    DDX_Control(pDX, IDC_EFFECT_PANEL, m_effectPanel);
    DDX_Control(pDX, IDC_EFFECT_PANEL_FRAME, m_effectPanelFrame);
}

BEGIN_MESSAGE_MAP(CKivoSetDlg, WholeRepaint<TesselDialog>)
    ON_WM_CTLCOLOR()
    ON_WM_SYSCOMMAND()
    ON_WM_PAINT()
    ON_WM_QUERYDRAGICON()
    ON_WM_TIMER()
    ON_WM_CLOSE()
    ON_WM_DESTROY()
    ON_WM_HELPINFO()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_WTSSESSION_CHANGE, OnWTSSessionChange)
    ON_REGISTERED_MESSAGE(WM_KIVOSET_FOREGROUND, OnBringForward)
    ON_MESSAGE(WM_TASK_DEVICE_OPEN, OnOpenDevice)
    ON_MESSAGE(WM_TASK_FRAME_READY, OnFrameReady)
    ON_MESSAGE(WM_TASK_DEVICE_CLOSE, OnCloseDevice)
    ON_MESSAGE(WM_TASK_DEVICE_REMOVE, OnRemoveDevice)
    ON_MESSAGE(WM_APPLY_FRAME, OnApplyFrame)
    ON_MESSAGE(WM_ALERT_OVER_RESOLUTION, OnAlertOverResolution)
    ON_MESSAGE(WM_EFFECT_DISABLE, OnEffectDisable)
    ON_MESSAGE(WM_EFFECT_ENABLE, OnEffectEnable)
    ON_MESSAGE(WM_EFFECT_FAILED, OnEffectFailed)
    ON_BN_CLICKED(IDC_DIRECTION_FRONT, OnFrontButton)
    ON_BN_CLICKED(IDC_DIRECTION_REAR, OnRearButton)
    ON_BN_CLICKED(IDC_PROPERTY_DEFAULTS, OnDefaultsButton)
    ON_BN_CLICKED(IDC_PROPERTY_MAXIMUM, OnMaximumButton)
    ON_BN_CLICKED(IDC_PROPERTY_SHEET, OnPropertySheetButton)
    ON_BN_CLICKED(IDC_FRAME_BUTTON, OnFrameButton)
    ON_CBN_SELCHANGE(IDC_ZOOM_LIST, OnZoomChanged)
    ON_CBN_SELCHANGE(IDC_MODE_LIST, OnModeChanged)
    ON_BN_CLICKED(IDC_EFFECT_RESET, OnEffectReset)
END_MESSAGE_MAP()

BOOL CKivoSetDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_LBUTTONDOWN || pMsg->message == WM_LBUTTONUP) {
        for (CToolTipCtrl* tip : {&m_frameTip, &m_zoomTip, &m_modeTip}) {
            if (tip->GetSafeHwnd())
                tip->RelayEvent(pMsg);
        }
    }
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN) {
        static const int kReturnClicks[] = {IDC_PROPERTY_DEFAULTS, IDC_PROPERTY_MAXIMUM, IDC_PROPERTY_SHEET,
                                            IDC_ZOOM_LIST,         IDC_MODE_LIST,        IDC_DIRECTION_FRONT,
                                            IDC_DIRECTION_REAR};
        for (int id : kReturnClicks) {
            HWND hControl = ::GetDlgItem(m_hWnd, id);
            if (hControl && pMsg->hwnd == hControl) {
                ::PostMessageW(hControl, BM_CLICK, 0, 0);
                return TRUE;
            }
        }
    }
    // Escape never closes the panel.
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_ESCAPE)
        return TRUE;
    return TesselDialog::PreTranslateMessage(pMsg);
}

LRESULT CKivoSetDlg::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_QUERYENDSESSION) {
        // Only a question: another program may still refuse, and Restart Manager asks it as a probe.
        return TRUE;
    } else if (message == WM_ENDSESSION && wParam) {
        WriteLog(L"CKivoSetDlg::DefWindowProc() DestroyWindow call");
        // Destroying the window deletes this object (PostNcDestroy): nothing of it may run after.
        DestroyWindow();
        return 0;
    }
    return WholeRepaint::DefWindowProc(message, wParam, lParam);
}

void CKivoSetDlg::PostNcDestroy()
{
    WriteLog(L"CKivoSetDlg::PostNcDestroy()");
    CKivoSetApp* app = kivoSetApp();
    app->panelDestroyed();
    app->notifyServeClose();
    delete this;
}

BOOL CKivoSetDlg::OnInitDialog()
{
    TesselDialog::OnInitDialog();

    if (CMenu* systemMenu = GetSystemMenu(FALSE)) {
        CString about;
        about.LoadString(IDS_ABOUTBOX);
        if (!about.IsEmpty()) {
            systemMenu->AppendMenu(MF_SEPARATOR);
            systemMenu->AppendMenu(MF_STRING, kAboutCommand, about);
        }
    }
    SetIcon(m_hIcon, TRUE);
    SetIcon(m_hIcon, FALSE);
    ModifyStyleEx(0, WS_EX_CONTEXTHELP);

    initControls();
    layoutControls();

    CKivoSetApp* app = kivoSetApp();
    app->panelCreated(this);
    // The sibling screen saver holds its mutex while it runs.
    bool screenSaverRuns = isNamedMutexPresent(KIVO_FLICKMIX_MUTEX);
    std::shared_ptr<bool> alive = m_alive;
    app->notifyServeOpen(m_hWnd, screenSaverRuns ? 1 : 0);
    // The service may close the panel in its answer (the camera closed meanwhile, the session
    // ending): its window is gone then and this object deleted.
    if (!*alive)
        return FALSE;
    WTSRegisterSessionNotification(m_hWnd, NOTIFY_FOR_THIS_SESSION);
    // While the screen saver runs the panel stays hidden and idle until it is told to close.
    if (screenSaverRuns)
        return TRUE;

    if (!prepareModules())
        PostMessage(WM_TASK_DEVICE_CLOSE, 0, 0);
    SetTimer(kOpenTimerId, kTimerPeriodMs, nullptr);
    return TRUE;
}

bool CKivoSetDlg::prepareModules()
{
    m_pTask.reset(CreateImgFAccessTask());
    m_pKivoLib.reset(CreateKivoLib());
    if (!m_pTask || !m_pKivoLib)
        return false;

    m_cameraIdx = readSetting(KIVO_VALUE_CAMERA_IDX, 0);
    if (m_pTask->Open(m_hWnd, m_cameraIdx) != KIVO_TASK_OK)
        return false;
    m_cameraSettings.reset(CreateCameraPropertySettings(m_cameraIdx), ReleaseDeleter());
    if (!m_cameraSettings)
        return false;

    if (m_cameraSettings->IsInternalCamera())
        prepareDirectionControl();
    else
        showStoredDirection();
    m_pTask->EnableFrameAccess(1);
    return true;
}

// The built-in camera turns through the driver; without the driver the buttons stay as they are.
void CKivoSetDlg::prepareDirectionControl()
{
    m_pOrvUtils.reset(new COrvUtilsApi);
    if (m_pOrvUtils->Init() == 0) {
        WriteLog(L"CKivoSetDlg::prepareModules() OrvUtils.dll Init failed.");
        m_pOrvUtils.reset();
        return;
    }
    m_directionLabel.EnableWindow(TRUE);
    m_frontButton.EnableWindow(TRUE);
    m_rearButton.EnableWindow(TRUE);
    refleshCameraDirStatus();
}

// Another camera cannot report its direction: the buttons show the stored one and stay disabled.
void CKivoSetDlg::showStoredDirection()
{
    DWORD dir = readSetting(KIVO_VALUE_CAMERA_DIR, KIVO_DIR_FRONT);
    KivoButton* button = dir == KIVO_DIR_FRONT ? &m_frontButton : dir == KIVO_DIR_REAR ? &m_rearButton : nullptr;
    if (button) {
        button->enableSkin();
        button->Invalidate(TRUE);
    }
}

void CKivoSetDlg::OnTimer(UINT_PTR nIDEvent)
{
    Default();
    if (nIDEvent == kOpenTimerId)
        onOpenTimerTick();
    else if (nIDEvent == kOpenWaitTimerId)
        onOpenWaitTimerTick();
}

void CKivoSetDlg::onOpenTimerTick()
{
    TopmostPeriod::Tick tick = m_topmostPeriod.tick(m_deviceOpened, m_modalDepth > 0);
    applyTopmost(tick.change);
    if (tick.stopTimer)
        KillTimer(kOpenTimerId);
    if (tick.closePanel)
        PostMessage(WM_TASK_DEVICE_CLOSE, 0, 0);
}

void CKivoSetDlg::endTopmostStart()
{
    applyTopmost(m_topmostPeriod.dialogOpens());
}

void CKivoSetDlg::applyTopmost(TopmostPeriod::Change change)
{
    if (change == TopmostPeriod::Change::raise)
        SetWindowPos(&wndTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    else if (change == TopmostPeriod::Change::lower)
        SetWindowPos(&wndNoTopMost, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void CKivoSetDlg::onOpenWaitTimerTick()
{
    if (m_openWaitTicks++ < kOpenWaitTicks)
        return;
    KillTimer(kOpenWaitTimerId);
    m_openWaitTimerOn = false;
    if (m_cameraDirStatus == KIVO_DIR_FRONT)
        PostMessage(WM_ALERT_OVER_RESOLUTION, 0, 0);
}

LRESULT CKivoSetDlg::OnOpenDevice(WPARAM, LPARAM)
{
    WriteLog(L"CKivoSetDlg::OnOpenDevice() called.");
    m_deviceOpened = true;
    m_openWaitTicks = 0;
    m_openWaitTimerOn = SetTimer(kOpenWaitTimerId, kTimerPeriodMs, nullptr) != 0;
    return 0;
}

LRESULT CKivoSetDlg::OnCloseDevice(WPARAM, LPARAM)
{
    WriteLog(L"CKivoSetDlg::OnCloseDevice() called.");
    DestroyWindow();
    return 0;
}

LRESULT CKivoSetDlg::OnRemoveDevice(WPARAM, LPARAM)
{
    WriteLog(L"CKivoSetDlg::OnRemoveDevice() called.");
    DestroyWindow();
    return 0;
}

LRESULT CKivoSetDlg::OnWTSSessionChange(WPARAM wParam, LPARAM lParam)
{
    WriteLog(L"CKivoSetDlg::OnWTSSessionChange( 0x%02x )", static_cast<unsigned>(wParam));
    DWORD sessionId = 0;
    // A lock of the program's own session is only logged; the panel stays.
    if (wParam == WTS_SESSION_LOCK && ProcessIdToSessionId(GetCurrentProcessId(), &sessionId) &&
        static_cast<DWORD>(lParam) == sessionId)
        WriteLog(L"CKivoSetDlg::OnWTSSessionChange() DestroyWindow call.");
    return 0;
}

// The service passes on the foreground right that the user's click on its tray icon gave it.
LRESULT CKivoSetDlg::OnBringForward(WPARAM, LPARAM)
{
    ShowWindow(SW_SHOW);
    SetForegroundWindow();
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE);
    return 0;
}

HBRUSH CKivoSetDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = TesselDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC && pWnd && isOnEffectPanel(pWnd->GetDlgCtrlID())) {
        // In high contrast the panel takes the system's colours, as the rest of the skin does.
        const COLORREF panel = TslHighContrast() ? TslGetColor(TSL_COLOR_PANEL) : kPanelColor;
        pDC->SetBkColor(panel);
        return TslSolidBrush(m_panelBrush, panel);
    }
    return brush;
}

void CKivoSetDlg::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == kAboutCommand) {
        runModal([] {
            CAboutDlg about(nullptr);
            about.DoModal();
        });
    } else if ((nID & 0xFFF0) == SC_CONTEXTHELP) {
        kivoSetApp()->notifyServeHelp();
    } else {
        TesselDialog::OnSysCommand(nID, lParam);
    }
}

void CKivoSetDlg::OnPaint()
{
    if (!IsIconic()) {
        AbstractDialog::OnPaint();
        return;
    }
    CPaintDC dc(this);
    SendMessage(WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.GetSafeHdc()), 0);
    CRect client;
    GetClientRect(&client);
    int x = (client.Width() - GetSystemMetrics(SM_CXICON) + 1) / 2;
    int y = (client.Height() - GetSystemMetrics(SM_CYICON) + 1) / 2;
    dc.DrawIcon(x, y, m_hIcon);
}

HCURSOR CKivoSetDlg::OnQueryDragIcon()
{
    return static_cast<HCURSOR>(m_hIcon);
}

// Closing only hides the panel; the service brings back its tray icon.
void CKivoSetDlg::OnClose()
{
    WriteLog(L"CKivoSetDlg::OnClose()");
    ShowWindow(SW_HIDE);
    kivoSetApp()->notifyServeHide();
}

void CKivoSetDlg::OnDestroy()
{
    WriteLog(L"CKivoSetDlg::OnDestroy()");
    releaseModules();
    for (HBITMAP* bitmap : {&m_frameBitmap, &m_still1Bitmap, &m_still2Bitmap}) {
        if (*bitmap) {
            DeleteObject(*bitmap);
            *bitmap = nullptr;
        }
    }
    m_pipeline.freeEffectBuffers();
    m_pOrvUtils.reset();   // its destructor frees the driver library
    WTSUnRegisterSessionNotification(m_hWnd);
    storeWindowPosition();
    TesselDialog::OnDestroy();
}

// The task first, so that no frame arrives for objects already gone; the camera settings after it.
void CKivoSetDlg::releaseModules()
{
    if (m_pTask) {
        m_pTask->Close();
        m_pTask.reset();
    }
    m_pKivoLib.reset();
    m_cameraSettings.reset();
}

BOOL CKivoSetDlg::OnHelpInfo(HELPINFO*)
{
    kivoSetApp()->notifyServeHelp();
    return TRUE;
}

// Unlike the other skinned windows, the panel repaints after activation in its normal course
// rather than at once: it only invalidates.
void CKivoSetDlg::OnActivate(UINT, CWnd*, BOOL)
{
    Invalidate(TRUE);
    Default();
}

LRESULT CKivoSetDlg::OnAlertOverResolution(WPARAM, LPARAM)
{
    runModal([] {
        AlertOverResolutionDlg alert(nullptr);
        alert.DoModal();
    });
    return 0;
}

void CKivoSetDlg::OnFrontButton()
{
    if (m_cameraDirStatus != KIVO_DIR_FRONT)
        changeCameraDir(KIVO_DIR_FRONT);
}

void CKivoSetDlg::OnRearButton()
{
    if (m_cameraDirStatus != KIVO_DIR_REAR)
        changeCameraDir(KIVO_DIR_REAR);
}

void CKivoSetDlg::showPropertyError()
{
    CString text, caption;
    text.LoadString(IDS_PROPERTY_ERROR);
    caption.LoadString(IDS_PRODUCT_NAME);
    runModal([&] { TesselMessageBox(text, caption, MB_ICONEXCLAMATION); });
}

bool CKivoSetDlg::resetPropertiesOfInternalCamera()
{
    CameraPropertyPage page(m_cameraSettings.get(), m_cameraDirStatus);
    if (!page.resetAllToDefaults())
        return false;
    CameraCustomPropertyPage customPage(m_cameraSettings.get(), m_cameraDirStatus, KIVO_CUSTOM_PROPERTY_SET);
    return customPage.initAllProperties();
}

bool CKivoSetDlg::maximizePropertiesOfInternalCamera()
{
    CameraPropertyPage page(m_cameraSettings.get(), m_cameraDirStatus);
    return page.maximizeBrightnessAndBacklight();
}

void CKivoSetDlg::OnDefaultsButton()
{
    if (!m_cameraSettings)
        return;
    bool done = m_cameraSettings->IsInternalCamera() ? resetPropertiesOfInternalCamera()
                                                     : m_cameraSettings->ResetDefaults();
    if (!done)
        showPropertyError();
}

void CKivoSetDlg::OnMaximumButton()
{
    if (!m_cameraSettings)
        return;
    bool done = m_cameraSettings->IsInternalCamera()
                    ? maximizePropertiesOfInternalCamera()
                    : m_cameraSettings->MaximizeProperty(KIVO_PROP_BRIGHTNESS) &&
                          m_cameraSettings->MaximizeProperty(KIVO_PROP_BACKLIGHT_COMPENSATION);
    if (!done)
        showPropertyError();
}

void CKivoSetDlg::OnPropertySheetButton()
{
    if (!m_cameraSettings)
        return;
    runModal([this] { showCameraProperties(m_cameraSettings, m_cameraDirStatus, m_hWnd); });
}

void CKivoSetDlg::OnFrameButton()
{
    INT_PTR result = IDCANCEL;
    int frameIdx = 0;
    HWND hPanel = m_hWnd;
    // The chooser previews the frames over the camera's own picture, without the frame now laid
    // over it; the bitmap is this function's and outlives the dialog.
    CBitmap cameraPicture;
    if (std::optional<FrameSnapshot> picture = m_pipeline.cameraPicture())
        cameraPicture.Attach(bitmapOfSnapshot(*picture));
    bool alive = runModal([&] {
        CFrameSelectDlg chooser(nullptr);
        chooser.setCameraPicture(cameraPicture);
        result = chooser.DoModal();
        frameIdx = chooser.m_frameIdx;
    });
    if (alive && result == IDOK)
        ::PostMessageW(hPanel, WM_APPLY_FRAME, static_cast<WPARAM>(frameIdx), 0);
}
