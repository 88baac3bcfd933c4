// The About box: what the program is and its version, all from its template.
#pragma once

#include "skin/Tsl.h"

class CAboutDlg : public TesselDialog {
    DECLARE_DYNAMIC(CAboutDlg)
public:
    explicit CAboutDlg(CWnd* pParent = nullptr);
    ~CAboutDlg() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    DECLARE_MESSAGE_MAP()

private:
    TesselButton m_okButton;
};
