#include "FrameSelectDlg.h"

#include "AccessibleName.h"
#include "DataFolder.h"
#include "DpiScale.h"
#include "FrameList.h"
#include "FramePreview.h"
#include "KivoLib.h"
#include "KivoNames.h"
#include "KivoSetMessages.h"
#include "Repaint.h"
#include "resource.h"

#include <cwchar>

namespace {
const COLORREF kLabelText = RGB(0, 4, 115);
const COLORREF kLabelBack = RGB(215, 221, 224);
const int kPreviewWidth = 320;
const int kPreviewHeight = 240;
const int kWindowWidth = 370;
const int kWindowHeight = 400;
const int kArrowSize = 18;
// The arrows drawn for denser screens, by their size in pixels (named FRAMENEXT27U and so on).
const int kSizedArrows[] = {36, 27, 23};
const wchar_t kSamplePicture[] = L"FRAMESAMPLE";
} // namespace

IMPLEMENT_DYNAMIC(CFrameSelectDlg, TesselDialog2)

BEGIN_MESSAGE_MAP(CFrameSelectDlg, WholeRepaint<TesselDialog2>)
    ON_WM_DESTROY()
    ON_WM_CTLCOLOR()
    ON_WM_ACTIVATE()
    ON_BN_CLICKED(IDC_FRAME_APPLY, OnApply)
    ON_BN_CLICKED(IDC_FRAME_NEXT, OnNextFrame)
    ON_BN_CLICKED(IDC_FRAME_PREV, OnPrevFrame)
    // Owner-drawn buttons report the second of two quick clicks as a double click: it steps too.
    ON_BN_DOUBLECLICKED(IDC_FRAME_NEXT, OnNextFrame)
    ON_BN_DOUBLECLICKED(IDC_FRAME_PREV, OnPrevFrame)
END_MESSAGE_MAP()

CFrameSelectDlg::CFrameSelectDlg(CWnd* pParent)
    : WholeRepaint(IDD_FRAME_SELECT, pParent), m_frameIdx(0), m_previewBitmap(nullptr), m_dpi(96),
      m_cameraPicture(nullptr), m_samplePicture(nullptr)
{
}

CFrameSelectDlg::~CFrameSelectDlg()
{
    releasePreview();
    if (m_samplePicture)
        DeleteObject(m_samplePicture);
}

// The arrow buttons are bound by AutoLoad when the dialog opens, not here: binding them twice would
// leave them without their images.
void CFrameSelectDlg::DoDataExchange(CDataExchange* pDX)
{
    TesselDialog2::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_okButton);
    DDX_Control(pDX, IDCANCEL, m_cancelButton);
    DDX_Control(pDX, IDC_FRAME_APPLY, m_applyButton);
    DDX_Control(pDX, IDC_FRAME_MESSAGE, m_messageLabel);
    DDX_Control(pDX, IDC_FRAME_PREVIEW, m_preview);
    DDX_Control(pDX, IDC_FRAME_PREVIEW_BORDER, m_previewBorder);
    DDX_Control(pDX, IDC_FRAME_PAGE, m_pageLabel);
}

BOOL CFrameSelectDlg::OnInitDialog()
{
    AbstractDialog::OnInitDialog();
    m_icon.setOn(GetSafeHwnd());
    m_dpi = screenDpi();
    layOutControls();
    nameForScreenReaders(::GetDlgItem(m_hWnd, IDC_FRAME_PREV), IDS_PREVIOUS_FRAME);
    nameForScreenReaders(::GetDlgItem(m_hWnd, IDC_FRAME_NEXT), IDS_NEXT_FRAME);
    // Centred at its final size, so that the work area holds all of it, buttons included, and only
    // then shown.
    CenterWindow(nullptr);
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
    readStoredIndex();
    CString caption;
    caption.LoadString(IDS_PRODUCT_NAME);
    SetWindowText(caption);
    updatePreview();
    UpdateData(FALSE);
    return TRUE;
}

int CFrameSelectDlg::px(int pixelsAt96) const
{
    return scaledToDpi(pixelsAt96, m_dpi);
}

// Positions are given from the top edge of the window, caption included, so they are moved up by
// the caption's height to become client coordinates.
void CFrameSelectDlg::layOutControls()
{
    RECT window = {}, client = {};
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    POINT clientTop = {0, 0};
    ::ClientToScreen(m_hWnd, &clientTop);
    const int d = clientTop.y - window.top;

    ::SetWindowPos(m_preview.m_hWnd, nullptr, px(23), px(51) - d, px(kPreviewWidth), px(kPreviewHeight),
                   SWP_NOZORDER | SWP_SHOWWINDOW);
    ::SetWindowPos(m_previewBorder.m_hWnd, nullptr, px(21), px(49) - d, px(kPreviewWidth + 4),
                   px(kPreviewHeight + 4), SWP_NOZORDER | SWP_SHOWWINDOW);
    ::SetWindowPos(m_pageLabel.m_hWnd, nullptr, px(168), px(306) - d, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    loadDataImages(d);
    ::SetWindowPos(m_okButton.m_hWnd, nullptr, px(51), px(360) - d, px(96), px(24), SWP_NOZORDER);
    ::SetWindowPos(m_cancelButton.m_hWnd, nullptr, px(155), px(360) - d, px(96), px(24), SWP_NOZORDER);
    ::SetWindowPos(m_applyButton.m_hWnd, nullptr, px(259), px(360) - d, px(96), px(24), SWP_NOZORDER);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, px(kWindowWidth), px(kWindowHeight), SWP_NOMOVE | SWP_NOZORDER);
    centreMessageLabel(d);
}

// The arrows' images (named after the buttons' captions) and the sample picture live in the data
// library, which is the resource module only while they load; the loaded bitmaps stay valid after
// it is freed.
void CFrameSelectDlg::loadDataImages(int d)
{
    HINSTANCE saved = AfxGetResourceHandle();
    HMODULE data = LoadLibraryW(KIVO_DATA_DLL);
    if (data)
        AfxSetResourceHandle(data);
    const int arrow = px(kArrowSize);
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDC_FRAME_NEXT), nullptr, px(223), px(303) - d, arrow, arrow, SWP_NOZORDER);
    if (m_nextButton.AutoLoad(IDC_FRAME_NEXT, this))
        loadSizedArrows(m_nextButton, L"FRAMENEXT");
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDC_FRAME_PREV), nullptr, px(125), px(303) - d, arrow, arrow, SWP_NOZORDER);
    if (m_prevButton.AutoLoad(IDC_FRAME_PREV, this))
        loadSizedArrows(m_prevButton, L"FRAMEPREV");
    if (data && !m_samplePicture)
        m_samplePicture =
            static_cast<HBITMAP>(LoadImageW(data, kSamplePicture, IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
    if (data)
        FreeLibrary(data);
    AfxSetResourceHandle(saved);
}

// On a denser screen the arrows drawn for it, the largest that fits the scaled size; the 96-DPI
// images stay when there are none.
void CFrameSelectDlg::loadSizedArrows(CBitmapButton& button, LPCWSTR name)
{
    if (px(kArrowSize) <= kArrowSize)
        return;
    for (int size : kSizedArrows) {
        if (size > px(kArrowSize))
            continue;
        CString base;
        base.Format(L"%s%d", name, size);
        if (button.LoadBitmaps(base + L"U", base + L"D", base + L"F", base + L"X")) {
            button.SizeToContent();
            return;
        }
    }
    CString base(name);
    button.LoadBitmaps(base + L"U", base + L"D", base + L"F", base + L"X");
}

void CFrameSelectDlg::readStoredIndex()
{
    KivoRegKey key;
    if (key.Open(HKEY_CURRENT_USER, KIVO_SETTINGS_KEY) != ERROR_SUCCESS)
        return;
    DWORD stored = 0;
    if (key.Read(KIVO_VALUE_FRAME_IDX, stored) == ERROR_SUCCESS)
        m_frameIdx = static_cast<int>(stored);
    key.Close();
}

void CFrameSelectDlg::centreMessageLabel(int d)
{
    CString message;
    message.LoadString(IDS_NO_FRAME);
    m_messageLabel.SetWindowText(message);
    RECT client = {}, label = {};
    ::GetClientRect(m_hWnd, &client);
    ::GetWindowRect(m_messageLabel.m_hWnd, &label);
    const int clientWidth = client.right - client.left;
    const int labelWidth = label.right - label.left;
    ::SetWindowPos(m_messageLabel.m_hWnd, nullptr, client.left + clientWidth / 2 - labelWidth / 2, px(165) - d, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
}

void CFrameSelectDlg::releasePreview()
{
    if (m_previewBitmap) {
        DeleteObject(m_previewBitmap);
        m_previewBitmap = nullptr;
    }
}

void CFrameSelectDlg::updatePreview()
{
    const UINT count = frameCount();
    // The preview lets go of the old picture before it is deleted.
    m_preview.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, 0);
    releasePreview();
    if (frameIdAt(static_cast<UINT>(m_frameIdx)) != 0) {
        RECT client = {};
        ::GetClientRect(m_preview.m_hWnd, &client);
        HBITMAP frame = loadFrameAt(client.right, client.bottom);
        if (frame) {
            m_previewBitmap = composeFramePreview(frame, m_cameraPicture ? m_cameraPicture : m_samplePicture,
                                                  client.right, client.bottom);
            DeleteObject(frame);
        }
        m_preview.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_previewBitmap));
        m_messageLabel.ShowWindow(m_frameIdx == 0 ? SW_SHOWNORMAL : SW_HIDE);
    }
    // Read as what it shows: no frame, or a frame laid over the picture.
    nameForScreenReaders(m_preview.m_hWnd, m_frameIdx == 0 ? IDS_NO_FRAME : IDS_FRAME_TIP);

    // With no frames at all there is nothing to step to or apply, and no last index to show.
    wchar_t page[32];
    if (count == 0)
        swprintf(page, ARRAYSIZE(page), L"0/0");
    else
        swprintf(page, ARRAYSIZE(page), L"%d/%d", m_frameIdx, int(count) - 1);
    m_pageLabel.SetWindowText(page);
    // By id: the arrows have no window object when their images could not be loaded.
    for (int id : {IDC_FRAME_NEXT, IDC_FRAME_PREV, IDC_FRAME_APPLY})
        ::EnableWindow(::GetDlgItem(m_hWnd, id), count != 0);
    repaintNow(m_hWnd);
}

// The shown frame at the preview's size: the user's picture file for the index, else the library's.
HBITMAP CFrameSelectDlg::loadFrameAt(int width, int height) const
{
    wchar_t name[MAX_PATH];
    swprintf(name, ARRAYSIZE(name), KIVO_FRAME_FILE, m_frameIdx);
    std::wstring path = programRelativePath(name);
    HBITMAP frame = ImageFactory::LoadBitmapFile(path.c_str(), width, height);
    return frame ? frame : ImageFactory::CreateBitmap(frameIdAt(static_cast<UINT>(m_frameIdx)), width, height);
}

void CFrameSelectDlg::OnNextFrame()
{
    const int last = int(frameCount()) - 1;
    if (last < 0)
        return;
    // Compared before stepping, so that an index at the top of the int range wraps instead of
    // overflowing.
    m_frameIdx = m_frameIdx >= last ? 0 : m_frameIdx + 1;
    updatePreview();
}

void CFrameSelectDlg::OnPrevFrame()
{
    const int last = int(frameCount()) - 1;
    if (last < 0)
        return;
    m_frameIdx = m_frameIdx <= 0 ? last : m_frameIdx - 1;
    updatePreview();
}

void CFrameSelectDlg::OnApply()
{
    if (frameCount() == 0)
        return;
    // The owner is the panel: it applies the frame while this dialog stays open.
    HWND owner = ::GetParent(m_hWnd);
    if (owner && ::IsWindow(owner))
        ::PostMessageW(owner, WM_APPLY_FRAME, static_cast<WPARAM>(m_frameIdx), 0);
    ::EnableWindow(::GetDlgItem(m_hWnd, IDC_FRAME_APPLY), FALSE);
    SendMessage(WM_NEXTDLGCTL, 0, 0);
}

// Enter on a focused arrow steps the frame instead of pressing the default button; Left and Right
// step the frames wherever the focus is, instead of moving it.
BOOL CFrameSelectDlg::PreTranslateMessage(MSG* pMsg)
{
    if (pMsg->message == WM_KEYDOWN && pMsg->wParam == VK_RETURN && pMsg->hwnd &&
        (pMsg->hwnd == ::GetDlgItem(m_hWnd, IDC_FRAME_NEXT) || pMsg->hwnd == ::GetDlgItem(m_hWnd, IDC_FRAME_PREV))) {
        ::PostMessageW(pMsg->hwnd, BM_CLICK, 0, 0);
        return TRUE;
    }
    if (stepKey(*pMsg))
        return TRUE;
    return TesselDialog2::PreTranslateMessage(pMsg);
}

bool CFrameSelectDlg::stepKey(const MSG& msg)
{
    if (msg.message != WM_KEYDOWN || (msg.wParam != VK_LEFT && msg.wParam != VK_RIGHT))
        return false;
    if (!msg.hwnd || (msg.hwnd != m_hWnd && !::IsChild(m_hWnd, msg.hwnd)))
        return false;
    if (msg.wParam == VK_RIGHT)
        OnNextFrame();
    else
        OnPrevFrame();
    return true;
}

HBRUSH CFrameSelectDlg::OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor)
{
    HBRUSH brush = TesselDialog::OnCtlColor(pDC, pWnd, nCtlColor);
    if (nCtlColor == CTLCOLOR_STATIC && pWnd && pWnd->GetSafeHwnd() == m_messageLabel.GetSafeHwnd() &&
        !TslHighContrast()) {
        pDC->SetTextColor(kLabelText);
        pDC->SetBkColor(kLabelBack);
        return TslSolidBrush(m_labelBrush, kLabelBack);
    }
    return brush;
}

void CFrameSelectDlg::OnDestroy()
{
    if (m_preview.GetSafeHwnd())
        m_preview.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, 0);
    releasePreview();
    TesselDialog2::OnDestroy();
}
