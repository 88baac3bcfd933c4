#include "AlertOverResolutionDlg.h"

#include "AccessibleName.h"
#include "DpiScale.h"
#include "KivoLib.h"
#include "resource.h"

namespace {
const UINT kPictureId = 150;   // the product library's over-resolution picture
}

IMPLEMENT_DYNAMIC(AlertOverResolutionDlg, TesselDialog2)

BEGIN_MESSAGE_MAP(AlertOverResolutionDlg, WholeRepaint<TesselDialog2>)
    ON_WM_DESTROY()
    ON_WM_ACTIVATE()
END_MESSAGE_MAP()

AlertOverResolutionDlg::AlertOverResolutionDlg(CWnd* pParent)
    : WholeRepaint(IDD_ALERT_OVER_RESOLUTION, pParent), m_pictureBitmap(nullptr)
{
}

AlertOverResolutionDlg::~AlertOverResolutionDlg()
{
    releasePicture();
}

void AlertOverResolutionDlg::DoDataExchange(CDataExchange* pDX)
{
    TesselDialog2::DoDataExchange(pDX);
    DDX_Control(pDX, IDOK, m_okButton);
    DDX_Control(pDX, IDC_OVER_RESOLUTION_TEXT, m_text);
    DDX_Control(pDX, IDC_OVER_RESOLUTION_PICTURE, m_picture);
}

// The picture and the text keep fixed distances from the window's outer top-left corner, whatever
// the frame and caption measure; distances and picture grow with the screen's DPI.
BOOL AlertOverResolutionDlg::OnInitDialog()
{
    AbstractDialog::OnInitDialog();
    CenterWindow(nullptr);
    m_icon.setOn(m_hWnd);

    RECT window = {};
    ::GetWindowRect(m_hWnd, &window);
    POINT client = {0, 0};
    ::ClientToScreen(m_hWnd, &client);
    const int dx = client.x - window.left;
    const int dy = client.y - window.top;

    const int dpi = screenDpi();
    releasePicture();
    m_pictureBitmap = createPicture(dpi);
    m_picture.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(m_pictureBitmap));
    nameForScreenReaders(m_picture.m_hWnd, IDS_OVER_RESOLUTION_PICTURE);
    ::SetWindowPos(m_picture.m_hWnd, nullptr, scaledToDpi(17, dpi) - dx, scaledToDpi(52, dpi) - dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);
    ::SetWindowPos(m_text.m_hWnd, nullptr, scaledToDpi(165, dpi) - dx, scaledToDpi(56, dpi) - dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER);

    CString caption;
    caption.LoadString(IDS_PRODUCT_NAME);
    SetWindowText(caption);
    ::SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_SHOWWINDOW);
    UpdateData(FALSE);
    return TRUE;
}

// The library's picture at its own size on a 96-DPI screen, scaled by the DPI on a denser one.
HBITMAP AlertOverResolutionDlg::createPicture(int dpi)
{
    HBITMAP natural = ImageFactory::CreateBitmap(kPictureId, 0, 0);
    BITMAP bm = {};
    if (dpi == 96 || !natural || !GetObjectW(natural, sizeof(bm), &bm))
        return natural;
    HBITMAP scaled =
        ImageFactory::CreateBitmap(kPictureId, scaledToDpi(bm.bmWidth, dpi), scaledToDpi(bm.bmHeight, dpi));
    if (!scaled)
        return natural;
    DeleteObject(natural);
    return scaled;
}

void AlertOverResolutionDlg::releasePicture()
{
    if (m_pictureBitmap) {
        DeleteObject(m_pictureBitmap);
        m_pictureBitmap = nullptr;
    }
}

void AlertOverResolutionDlg::OnDestroy()
{
    // The picture control lets go of the bitmap before it is deleted.
    if (m_picture.GetSafeHwnd())
        m_picture.SendMessage(STM_SETIMAGE, IMAGE_BITMAP, 0);
    releasePicture();
    TesselDialog2::OnDestroy();
}
