#include "CameraPropertySheet.h"

#include "CameraCustomPropertyPage.h"
#include "CameraPropertyPage.h"
#include "resource.h"

INT_PTR runCameraPropertySheet(ICameraPropertySettings* settings, int direction, CWnd* pParent)
{
    CameraPropertyPage picturePage(settings, direction);
    CameraCustomPropertyPage customPage(settings, direction, KIVO_CUSTOM_PROPERTY_SET);
    TesselPropertySheet sheet(IDS_PROPERTY_SHEET_CAPTION, pParent, 0);
    sheet.AddPage(&picturePage);
    sheet.AddPage(&customPage);
    sheet.m_psh.dwFlags |= PSH_NOAPPLYNOW;
    return sheet.DoModal();
}
