// The alert shown when the camera facing front is asked for a picture larger than it delivers: a
// text and the product library's picture 150 beside it.
#pragma once

#include "Repaint.h"
#include "skin/Tsl.h"

#include "DialogIcon.h"

class AlertOverResolutionDlg : public WholeRepaint<TesselDialog2> {
    DECLARE_DYNAMIC(AlertOverResolutionDlg)
public:
    explicit AlertOverResolutionDlg(CWnd* pParent = nullptr);
    ~AlertOverResolutionDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    static HBITMAP createPicture(int dpi);
    void releasePicture();

    DialogIcon m_icon;
    TesselButton2 m_okButton;
    CStatic m_text;
    CStatic m_picture;
    HBITMAP m_pictureBitmap;   // owned; lives as long as the window
};
