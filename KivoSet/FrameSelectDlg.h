// The frame chooser: a 320x240 preview of one frame of the frame list at a time, arrows to step
// through the list with wrap-around, the page label "index/last", and Apply, OK and Cancel. It
// reports the chosen index to its owner (WM_APPLY_FRAME on Apply; the owner posts it itself after
// OK) and never applies or stores a frame itself. The preview shows the frame over the camera's
// picture when the owner hands one over, otherwise over a sample picture of the data library.
// Left and Right step the frames from anywhere in the dialog; the layout grows with the DPI.
#pragma once

#include "Repaint.h"
#include "skin/Tsl.h"

#include "DialogIcon.h"

#include <afxext.h>

class CFrameSelectDlg : public WholeRepaint<TesselDialog2> {
    DECLARE_DYNAMIC(CFrameSelectDlg)
public:
    explicit CFrameSelectDlg(CWnd* pParent = nullptr);
    ~CFrameSelectDlg() override;

    // The index shown: read from "FrameIdx" when the dialog opens, stepped by the arrows; the
    // owner reads it after OK.
    int m_frameIdx;

    // The camera's current picture, of any size, to preview the frames over; it stays the
    // caller's and must outlive the dialog. Null (the default) previews over the sample picture.
    void setCameraPicture(HBITMAP picture) { m_cameraPicture = picture; }

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL PreTranslateMessage(MSG* pMsg) override;

    afx_msg void OnDestroy();
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);
    afx_msg void OnApply();
    afx_msg void OnNextFrame();
    afx_msg void OnPrevFrame();

    DECLARE_MESSAGE_MAP()

private:
    int px(int pixelsAt96) const;
    void layOutControls();
    void loadDataImages(int captionHeight);
    void loadSizedArrows(CBitmapButton& button, LPCWSTR name);
    void readStoredIndex();
    void centreMessageLabel(int captionHeight);
    void updatePreview();
    HBITMAP loadFrameAt(int width, int height) const;
    void releasePreview();
    bool stepKey(const MSG& msg);

    DialogIcon m_icon;
    TesselButton2 m_okButton;
    TesselButton2 m_cancelButton;
    TesselButton2 m_applyButton;
    CBitmapButton m_nextButton;
    CBitmapButton m_prevButton;
    CStatic m_messageLabel;
    CStatic m_preview;
    CStatic m_previewBorder;
    CStatic m_pageLabel;
    HBITMAP m_previewBitmap;
    CBrush m_labelBrush;
    int m_dpi;
    HBITMAP m_cameraPicture;   // borrowed from the owner
    HBITMAP m_samplePicture;   // owned; loaded when the dialog opens
};
