// Skinned dialogs, property sheets and pages of the skin library. Each window draws its client area,
// and the top-level ones their frame and caption (caption buttons included), through a dialog
// painter; controls are coloured through WM_CTLCOLOR*. Moving by the caption, closing, the help
// button (WM_SYSCOMMAND SC_CONTEXTHELP) and keyboard use behave as on any dialog.
#pragma once

#include "TslApi.h"
#include "TslPainters.h"
#include "TslButtons.h"

#include <afxwin.h>
#include <afxdlgs.h>

#include <memory>

class TesselCaption;   // the library's caption and frame drawing and hit testing (inside Tsl.dll)

class TSL_API AbstractDialog : public CDialog {
    DECLARE_DYNAMIC(AbstractDialog)
public:
    AbstractDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~AbstractDialog() override;

    // Installs the painter that draws this dialog from now on; it must outlive the window.
    // Null leaves the frame and client area to the system.
    void SetPainter(AbstractDialogPainter* painter);
    AbstractDialogPainter* GetPainter() const { return m_painter; }

    // Programs call this first from their own OnInitDialog.
    BOOL OnInitDialog() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    // The client area through the painter; programs call it first from their own OnPaint.
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    DECLARE_MESSAGE_MAP()

private:
    // The caption's and the painter's share of WindowProc.
    LRESULT paintedWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    AbstractDialogPainter* m_painter = nullptr;
    std::unique_ptr<TesselCaption> m_caption;
};

class TSL_API TesselDialog : public AbstractDialog {
    DECLARE_DYNAMIC(TesselDialog)
public:
    TesselDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~TesselDialog() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    // The library's colours for every control kind: the body colour behind static texts, check
    // boxes, radio buttons and group boxes, white behind edit fields and lists. Programs call it
    // first and return its brush for the controls they do not colour themselves.
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

private:
    TesselDialogPainter m_libraryPainter;   // installed until the program sets its own
    CBrush m_bodyBrush;
    CBrush m_fieldBrush;
};

// The library's second dialog class (alerts, choosers): the same look and behaviour.
class TSL_API TesselDialog2 : public TesselDialog {
    DECLARE_DYNAMIC(TesselDialog2)
public:
    TesselDialog2(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~TesselDialog2() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};

class TSL_API AbstractPropertyPage : public CPropertyPage {
    DECLARE_DYNAMIC(AbstractPropertyPage)
public:
    explicit AbstractPropertyPage(UINT nIDTemplate);
    ~AbstractPropertyPage() override;

    BOOL OnInitDialog() override;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

private:
    TesselDialogPainter m_painter;
    CBrush m_bodyBrush;
    CBrush m_fieldBrush;
};

class TSL_API TesselPropertyPage : public AbstractPropertyPage {
    DECLARE_DYNAMIC(TesselPropertyPage)
public:
    explicit TesselPropertyPage(UINT nIDTemplate);
    ~TesselPropertyPage() override;

protected:
    void DoDataExchange(CDataExchange* pDX) override;

    DECLARE_MESSAGE_MAP()
};

// A property sheet with the library's frame, caption and buttons (OK, Cancel, Apply, Help).
class TSL_API TesselPropertySheet : public CPropertySheet {
    DECLARE_DYNAMIC(TesselPropertySheet)
public:
    TesselPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~TesselPropertySheet() override;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH OnCtlColor(CDC* pDC, CWnd* pWnd, UINT nCtlColor);

    DECLARE_MESSAGE_MAP()

private:
    // Skins the sheet's own buttons once the system has created them (WM_INITDIALOG).
    void skinSheetControls();

    TesselDialogPainter m_painter;
    std::unique_ptr<TesselCaption> m_caption;
    TesselButton m_sheetButtons[4];   // OK, Cancel, Apply, Help, when the sheet has them
    CBrush m_bodyBrush;
};
