// The panel's camera direction: the driver's status on the two buttons, turning the camera, each
// direction's own picture properties, and the signal to the sibling capture product.
#include "KivoSetDlg.h"

#include "CameraCustomPropertyPage.h"
#include "CameraPropertyPage.h"
#include "DirectionSettle.h"
#include "KivoNames.h"
#include "NamedMutexProbe.h"
#include "UniqueHandle.h"

namespace {
const LONG kMaxFrontWidth = 640;
const LONG kMaxFrontHeight = 480;
}

// The driver's signal word, or -1 when it cannot be read. On success the old direction's properties
// are saved, the buttons show the new direction, and its properties are restored.
int CKivoSetDlg::refleshCameraDirStatus()
{
    DWORD signal = 0;
    if (!m_pOrvUtils || !m_pOrvUtils->OuCallDriver(OUCD_TYPE_GET_SPECIAL_SIGNAL, &signal)) {
        WriteLog(L"CKivoSetDlg::refleshCameraDirStatus() OUCD_TYPE_GET_SPECIAL_SIGNAL failed.");
        return -1;
    }
    saveDirectionProperties(m_cameraDirStatus);
    bool rear = (signal & OU_SIGNAL_REAR) != 0;
    KivoButton& lit = rear ? m_rearButton : m_frontButton;
    KivoButton& unlit = rear ? m_frontButton : m_rearButton;
    lit.enableSkin();
    unlit.disableSkin();
    m_cameraDirStatus = rear ? KIVO_DIR_REAR : KIVO_DIR_FRONT;
    restoreDirectionProperties(m_cameraDirStatus);
    m_frontButton.Invalidate(TRUE);
    m_rearButton.Invalidate(TRUE);
    return static_cast<int>(signal);
}

// The pages only hold the save and restore operations here; no window is created.
void CKivoSetDlg::saveDirectionProperties(int direction)
{
    CameraPropertyPage page(m_cameraSettings.get(), direction);
    page.saveCurrentValues();
    CameraCustomPropertyPage customPage(m_cameraSettings.get(), direction, KIVO_CUSTOM_PROPERTY_SET);
    customPage.saveCurrentValues();
}

void CKivoSetDlg::restoreDirectionProperties(int direction)
{
    CameraCustomPropertyPage customPage(m_cameraSettings.get(), direction, KIVO_CUSTOM_PROPERTY_SET);
    customPage.restoreStoredValues();
    CameraPropertyPage page(m_cameraSettings.get(), direction);
    page.restoreStoredValues();
}

void CKivoSetDlg::changeCameraDir(int dir)
{
    CWaitCursor wait;
    if (!m_pOrvUtils || !m_pOrvUtils->ChangeCameraDir(dir))
        return;
    Sleep(KIVO_DIRECTION_SETTLE_MS);
    refleshCameraDirStatus();

    bool signalCapture = isCaptureRunning() && !isRendoSignalDisabled();
    if (isOverCameraResolution(m_pipeline.width(), m_pipeline.height()) && !signalCapture)
        PostMessage(WM_ALERT_OVER_RESOLUTION, 0, 0);
    writeSetting(KIVO_VALUE_CAMERA_DIR, static_cast<DWORD>(dir));
    if (signalCapture)
        signalDirectionChange();
}

// The capture product listens on its event when it runs; when nobody created it, nothing is signalled.
// Setting it is all that is asked for: the product may run under another account, whose event grants
// others no more than that.
void CKivoSetDlg::signalDirectionChange()
{
    UniqueHandle event(OpenEventW(EVENT_MODIFY_STATE, TRUE, KIVO_CHANGE_CAMERA_DIR_EVENT));
    if (!event)
        return;
    SetEvent(event.get());
    // The log line keeps its old wording, which names the turn and the handle.
    WriteLog(L"CKivoSetDlg::changeCameraDir SetEvent(hEvent)");
}

// The capture product holds its mutex while it runs; from Windows 2000 on in the global namespace.
bool CKivoSetDlg::isCaptureRunning()
{
    OSVERSIONINFOW version = {};
    version.dwOSVersionInfoSize = sizeof(version);
    bool globalName = GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT &&
                      version.dwMajorVersion >= 5;
    WCHAR name[MAX_PATH];
    wsprintfW(name, globalName ? L"Global\\%s" : L"%s", KIVO_RENDO_MUTEX);
    return isNamedMutexPresent(name);
}

bool CKivoSetDlg::isRendoSignalDisabled()
{
    DWORD disabled = 0;
    KivoRegKey key;
    if (key.Open(HKEY_LOCAL_MACHINE, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        key.Read(KIVO_VALUE_DISABLE_RENDO_SIGNAL, disabled);
        key.Close();
    }
    return disabled != 0;
}

// Only the front direction has a resolution limit.
bool CKivoSetDlg::isOverCameraResolution(LONG width, LONG height)
{
    LONG rows = height < 0 ? -height : height;
    bool over = m_cameraDirStatus == KIVO_DIR_FRONT && (width > kMaxFrontWidth || rows > kMaxFrontHeight);
    WriteLog(L"isOverCameraResolution() = %d, m_cameraDirStatus = %d", over ? 1 : 0, m_cameraDirStatus);
    return over;
}
