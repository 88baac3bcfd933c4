// The panel's geometry: controls at fixed pixel positions measured from the window's outer top-left
// corner (independent of the template's dialog units), the window's size, and its place on the
// screen, stored when the panel ends and checked against the monitors when it starts. The positions
// are those of a 96-DPI screen; on a denser screen they grow with the system DPI, as the template's
// controls grow with its font, so that the layout keeps its proportions. Each column takes the
// width of its widest control, or more where a text needs it, so that a language whose template
// is too narrow still shows every caption and list entry whole.
#include "KivoSetDlg.h"

#include "KivoNames.h"
#include "TextWidth.h"

namespace {

// Window positions of the left column and of the effect panel's rows.
const int kLeftColumnX = 18;
const int kDirectionLabelY = 38;
const int kFrontButtonY = 58;
const int kRearButtonY = 86;
const int kPictureLabelY = 116;
const int kDefaultsButtonY = 136;
const int kMaximumButtonY = 164;
const int kSheetButtonY = 192;
const int kIconRowY[] = {89, 151};      // first and second row of icons
const int kControlRowY[] = {94, 156};   // the controls beside them
const int kIconToControl = 36;          // from a row icon to its control
const int kPanelTop = 58;
const int kPanelHeight = 156;
const int kWindowHeight = 236;
// Gaps in the effect panel's rows, and the window's right margin.
const int kColumnGap = 49;
const int kSecondColumnGap = 51;
const int kPanelRightMargin = 72;
const int kPanelLeftMargin = 15;
const int kWindowRightMargin = 5;

// The screen's pixels per logical inch (96 at 100%, 144 at 150%).
int screenDpi()
{
    HDC hdc = GetDC(nullptr);
    int dpi = hdc ? GetDeviceCaps(hdc, LOGPIXELSY) : 96;
    if (hdc)
        ReleaseDC(nullptr, hdc);
    return dpi > 0 ? dpi : 96;
}

} // namespace

int CKivoSetDlg::windowWidthOf(CWnd& control)
{
    CRect rect;
    control.GetWindowRect(&rect);
    return rect.Width();
}

// x and y are measured from the window's outer top-left corner.
void CKivoSetDlg::placeAt(CWnd& control, int x, int y)
{
    CRect window;
    GetWindowRect(&window);
    CPoint clientOrigin(0, 0);
    ClientToScreen(&clientOrigin);
    int dx = clientOrigin.x - window.left;
    int dy = clientOrigin.y - window.top;
    control.SetWindowPos(nullptr, x - dx, y - dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void CKivoSetDlg::layoutControls()
{
    const int dpi = screenDpi();
    auto px = [dpi](int pixelsAt96) { return MulDiv(pixelsAt96, dpi, 96); };
    widenColumnToTexts({m_directionLabel.m_hWnd, m_frontButton.m_hWnd, m_rearButton.m_hWnd, m_pictureLabel.m_hWnd,
                        m_defaultsButton.m_hWnd, m_maximumButton.m_hWnd, m_propertySheetButton.m_hWnd});
    widenColumnToTexts({m_frameButton.m_hWnd, m_zoomList.m_hWnd});
    widenColumnToTexts({m_modeList.m_hWnd, m_resetButton.m_hWnd});
    const int left = px(kLeftColumnX);
    placeAt(m_directionLabel, left, px(kDirectionLabelY));
    placeAt(m_frontButton, left, px(kFrontButtonY));
    placeAt(m_rearButton, left, px(kRearButtonY));
    placeAt(m_pictureLabel, left, px(kPictureLabelY));
    placeAt(m_defaultsButton, left, px(kDefaultsButtonY));
    placeAt(m_maximumButton, left, px(kMaximumButtonY));
    placeAt(m_propertySheetButton, left, px(kSheetButtonY));

    int a = windowWidthOf(m_defaultsButton) + px(kColumnGap);
    placeAt(m_frameIcon, a, px(kIconRowY[0]));
    placeAt(m_zoomIcon, a, px(kIconRowY[1]));
    placeAt(m_frameButton, a + px(kIconToControl), px(kControlRowY[0]));
    placeAt(m_zoomList, a + px(kIconToControl), px(kControlRowY[1]));

    int b = a + windowWidthOf(m_frameButton) + px(kSecondColumnGap);
    placeAt(m_modeIcon, b, px(kIconRowY[0]));
    placeAt(m_modeList, b + px(kIconToControl), px(kControlRowY[0]));
    placeAt(m_resetButton, b + px(kIconToControl), px(kControlRowY[1]));

    int panelWidth = windowWidthOf(m_resetButton) + (b - a) + px(kPanelRightMargin);
    int panelTop = px(kPanelTop);
    int panelHeight = px(kPanelHeight);
    placeAt(m_effectPanel, a - px(kPanelLeftMargin), panelTop);
    m_effectPanel.SetWindowPos(nullptr, 0, 0, panelWidth, panelHeight, SWP_NOMOVE | SWP_NOZORDER);
    placeAt(m_effectPanelFrame, a - px(kPanelLeftMargin) - 1, panelTop - 1);
    m_effectPanelFrame.SetWindowPos(nullptr, 0, 0, panelWidth + 2, panelHeight + 2, SWP_NOMOVE | SWP_NOZORDER);

    SetWindowPos(nullptr, 0, 0, a + panelWidth + px(kWindowRightMargin), px(kWindowHeight), SWP_NOMOVE | SWP_NOZORDER);
    applyTopmost(m_topmostPeriod.start());
    placeWindow();
}

// The stored place when both offsets are there and the window would be on some monitor there;
// otherwise the bottom-right corner of the work area. The stored values stay until the next end.
void CKivoSetDlg::placeWindow()
{
    DWORD left = 0, top = 0;
    bool stored = false;
    KivoRegKey key;
    if (key.Open(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) == ERROR_SUCCESS) {
        stored = key.Read(KIVO_VALUE_HORIZONTAL_OFFSET, left) == ERROR_SUCCESS &&
                 key.Read(KIVO_VALUE_VERTICAL_OFFSET, top) == ERROR_SUCCESS;
        key.Close();
    }
    // The offsets are signed: a monitor left of or above the primary one has negative ones.
    int x = static_cast<int>(left);
    int y = static_cast<int>(top);
    if (stored && isOnSomeMonitor(x, y))
        SetWindowPos(nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    else
        moveToDefaultPosition();
}

bool CKivoSetDlg::isOnSomeMonitor(int left, int top)
{
    CRect window;
    GetWindowRect(&window);
    RECT there = {left, top, left + window.Width(), top + window.Height()};
    return MonitorFromRect(&there, MONITOR_DEFAULTTONULL) != nullptr;
}

void CKivoSetDlg::moveToDefaultPosition()
{
    RECT work = {};
    if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0))
        return;
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(nullptr, work.right - window.Width(), work.bottom - window.Height(), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
}

// A minimised panel stores where it will be restored to, not where its icon is.
void CKivoSetDlg::storeWindowPosition()
{
    KivoRegKey key;
    if (key.Create(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) != ERROR_SUCCESS)
        return;
    CRect window;
    GetWindowRect(&window);
    WINDOWPLACEMENT placement = {};
    placement.length = sizeof(placement);
    if (IsIconic() && ::GetWindowPlacement(m_hWnd, &placement)) {
        // The normal position is in work-area coordinates.
        MONITORINFO monitor = {};
        monitor.cbSize = sizeof(monitor);
        GetMonitorInfoW(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTOPRIMARY), &monitor);
        window = placement.rcNormalPosition;
        window.OffsetRect(monitor.rcWork.left - monitor.rcMonitor.left, monitor.rcWork.top - monitor.rcMonitor.top);
    }
    key.Write(KIVO_VALUE_HORIZONTAL_OFFSET, static_cast<DWORD>(window.left));
    key.Write(KIVO_VALUE_VERTICAL_OFFSET, static_cast<DWORD>(window.top));
    key.Close();
}
