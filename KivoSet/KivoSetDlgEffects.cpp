// The panel's effect controls: frame overlay, zoom and mode become bits of the effect flag word;
// the frame and zoom choices are stored, the mode is not. The controls are switched off while the
// frame is too large for effects.
#include "KivoSetDlg.h"

#include "AlertEffectDisableDlg.h"
#include "DataFolder.h"
#include "FrameList.h"
#include "KivoNames.h"
#include "resource.h"


namespace {

const UINT kStill1LibraryId = 103;
const UINT kStill2LibraryId = 102;

} // namespace

DWORD CKivoSetDlg::readSetting(LPCWSTR name, DWORD preset)
{
    DWORD value = preset;
    KivoRegKey key;
    if (key.Open(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        key.Read(name, value);
        key.Close();
    }
    return value;
}

void CKivoSetDlg::writeSetting(LPCWSTR name, DWORD value)
{
    KivoRegKey key;
    if (key.Create(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        key.Write(name, value);
        key.Close();
    }
}

// A picture file of the installation's data folder, in the user's language where it has words,
// takes precedence over the library's bitmap, unless it is damaged.
HBITMAP CKivoSetDlg::loadPicture(LPCWSTR fileName, UINT libraryId)
{
    std::wstring path = languageDataPath(fileName);
    HBITMAP bitmap = ImageFactory::LoadBitmapFile(path.c_str(), 0, 0);
    if (!bitmap)
        bitmap = ImageFactory::CreateBitmap(libraryId, 0, 0);
    return bitmap;
}

void CKivoSetDlg::initControls()
{
    CString caption;
    caption.LoadString(IDS_PRODUCT_NAME);
    SetWindowText(caption);
    createRowTooltip(m_frameTip, IDC_FRAME_ICON, IDS_FRAME_TIP);
    createRowTooltip(m_zoomTip, IDC_ZOOM_ICON, IDS_ZOOM_TIP);
    createRowTooltip(m_modeTip, IDC_MODE_ICON, IDS_MODE_TIP);
    showRowStates();   // the icons at the screen's size in place of the template's
    m_still1Bitmap = loadPicture(KIVO_STILL1_FILE, kStill1LibraryId);
    m_still2Bitmap = loadPicture(KIVO_STILL2_FILE, kStill2LibraryId);
    loadFrameList();
    m_zoomList.SetCurSel(0);
    m_modeList.SetCurSel(0);
}

// An icon static without SS_NOTIFY is transparent to the mouse (HTTRANSPARENT): its mouse messages
// would go to the dialog, and the relayed moves would never name the tool's window. The style is
// added here, whatever template the panel came from.
void CKivoSetDlg::createRowTooltip(CToolTipCtrl& tooltip, UINT iconId, UINT textId)
{
    CWnd* icon = GetDlgItem(iconId);
    if (!icon || !tooltip.Create(this, 0))
        return;
    icon->ModifyStyle(0, SS_NOTIFY);
    CString text;
    text.LoadString(textId);
    tooltip.AddTool(icon, text);
}

// Any effect on asks the task for the frames.
void CKivoSetDlg::setFrameAccess()
{
    if (m_effectFlags != 0 && m_pTask)
        m_pTask->EnableFrameAccess(1);
}

// wParam: the frame list index; 0, or an index beyond the list, means no frame.
LRESULT CKivoSetDlg::OnApplyFrame(WPARAM wParam, LPARAM)
{
    m_effectFlags &= ~DWORD(kivo::kEffectFrameMask);
    if (m_frameBitmap) {
        DeleteObject(m_frameBitmap);
        m_frameBitmap = nullptr;
    }
    UINT frameIdx = wParam < frameCount() ? static_cast<UINT>(wParam) : 0;
    UINT frameId = frameIdAt(frameIdx);
    if (frameId != 0 && frameIdx != 0) {
        m_effectFlags |= kivo::kEffectFrameMask;
        WCHAR fileName[MAX_PATH];
        wsprintfW(fileName, KIVO_FRAME_FILE, frameIdx);
        m_frameBitmap = loadPicture(fileName, frameId);
    }
    writeSetting(KIVO_VALUE_FRAME_IDX, frameIdx);
    setFrameAccess();
    return 0;
}

void CKivoSetDlg::OnZoomChanged()
{
    if (!m_zoomList.GetSafeHwnd())
        return;
    m_effectFlags &= ~DWORD(kivo::kEffectZoomMask);
    int selection = m_zoomList.GetCurSel();
    if (selection == 1)
        m_effectFlags |= kivo::kEffectZoom1;
    else if (selection == 2)
        m_effectFlags |= kivo::kEffectZoom2;
    writeSetting(KIVO_VALUE_ZOOM_IDX, selection > 0 ? static_cast<DWORD>(selection) : 0);
    setFrameAccess();
}

// Zoom and frame apply to the live picture only: other modes disable their controls.
void CKivoSetDlg::OnModeChanged()
{
    if (!m_modeList.GetSafeHwnd())
        return;
    m_effectFlags &= ~DWORD(kivo::kEffectModeMask);
    static const DWORD kModeOfEntry[] = {0, kivo::kEffectModeFreeze, kivo::kEffectModeStill1,
                                         kivo::kEffectModeStill2};
    int selection = m_modeList.GetCurSel();
    if (selection > 0 && selection < static_cast<int>(ARRAYSIZE(kModeOfEntry)))
        m_effectFlags |= kModeOfEntry[selection];
    bool live = selection <= 0;
    m_zoomList.EnableWindow(live);
    m_frameButton.EnableWindow(live);
    showRowStates();
    setFrameAccess();
    UpdateData(FALSE);
}

void CKivoSetDlg::OnEffectReset()
{
    m_effectFlags = 0;
    m_zoomList.SetCurSel(0);
    OnZoomChanged();
    m_modeList.SetCurSel(0);
    OnModeChanged();
    m_zoomList.EnableWindow(TRUE);
    m_frameButton.EnableWindow(TRUE);
    showRowStates();
    writeSetting(KIVO_VALUE_FRAME_IDX, 0);
    writeSetting(KIVO_VALUE_ZOOM_IDX, 0);
    m_showEffectAlert = 1;
    UpdateData(FALSE);
}

LRESULT CKivoSetDlg::OnEffectDisable(WPARAM, LPARAM)
{
    setEffectsEnabled(false);
    return 0;
}

LRESULT CKivoSetDlg::OnEffectEnable(WPARAM, LPARAM)
{
    setEffectsEnabled(true);
    return 0;
}

// Each row's icon shows whether the control beside it can be used now.
void CKivoSetDlg::showRowStates()
{
    m_frameIcon.SetIcon(m_frameButton.IsWindowEnabled() ? m_hFrameOnIcon : m_hFrameOffIcon);
    m_zoomIcon.SetIcon(m_zoomList.IsWindowEnabled() ? m_hZoomOnIcon : m_hZoomOffIcon);
    m_modeIcon.SetIcon(m_modeList.IsWindowEnabled() ? m_hModeOnIcon : m_hModeOffIcon);
}

// The stored frame and zoom stay as they are while effects are off, so enabling brings them back.
void CKivoSetDlg::setEffectsEnabled(bool enable)
{
    for (CWnd* control : {static_cast<CWnd*>(&m_frameButton), static_cast<CWnd*>(&m_zoomList),
                          static_cast<CWnd*>(&m_modeList), static_cast<CWnd*>(&m_resetButton)})
        control->EnableWindow(enable);
    showRowStates();
    if (enable) {
        restoreEffectSettings();
        return;
    }
    m_effectFlags = 0;
    m_zoomList.SetCurSel(0);
    m_modeList.SetCurSel(0);
    m_showEffectAlert = 1;
    if (readSetting(KIVO_VALUE_NO_DISP_ALERT_EFFECT, 0) == 0) {
        runModal([] {
            AlertEffectDisableDlg alert(nullptr);
            alert.DoModal();
        });
    }
}

// Stored values beyond the lists count as "no frame" and "no zoom". The mode list goes back to the
// live picture, and so do the mode bits, so that the list always says what is sent.
void CKivoSetDlg::restoreEffectSettings()
{
    DWORD frameIdx = readSetting(KIVO_VALUE_FRAME_IDX, 0);
    DWORD zoomIdx = readSetting(KIVO_VALUE_ZOOM_IDX, 0);
    if (frameIdx >= frameCount())
        frameIdx = 0;
    int zoomCount = m_zoomList.GetCount();
    if (zoomCount <= 0 || zoomIdx >= static_cast<DWORD>(zoomCount))
        zoomIdx = 0;
    PostMessage(WM_APPLY_FRAME, frameIdx, 0);
    m_zoomList.SetCurSel(static_cast<int>(zoomIdx));
    OnZoomChanged();
    m_modeList.SetCurSel(0);
    m_effectFlags &= ~DWORD(kivo::kEffectModeMask);
}
