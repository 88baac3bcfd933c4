// The alert shown when the panel switches its effects off for a picture too large for them. Its
// check box, ticked when OK is pressed, stores "NoDispAlertEffectDisable" = 1 so that the panel
// stops showing it.
#pragma once

#include "Repaint.h"
#include "skin/Tsl.h"

#include "DialogIcon.h"

class AlertEffectDisableDlg : public WholeRepaint<TesselDialog> {
    DECLARE_DYNAMIC(AlertEffectDisableDlg)
public:
    explicit AlertEffectDisableDlg(CWnd* pParent = nullptr);
    ~AlertEffectDisableDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

    afx_msg void OnDestroy();

    DECLARE_MESSAGE_MAP()

private:
    DialogIcon m_icon;
    TesselButton m_okButton;
    CStatic m_text;
    TesselCheckBox m_noMoreCheck;
};
