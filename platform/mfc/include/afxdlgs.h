// Property sheets and pages over the system's property sheet control.
//
// Bodies: src/CPropertyPage.cpp and src/CPropertySheet.cpp.
#pragma once

#include "afxwin.h"

#include <commctrl.h>
#include <prsht.h>

#include <vector>

// A page of a property sheet: a dialog created by the sheet when the page is first shown, bound to
// this object from its first message.
class KIVOAFX_API CPropertyPage : public CDialog {
    DECLARE_DYNAMIC(CPropertyPage)
public:
    CPropertyPage();
    explicit CPropertyPage(UINT nIDTemplate, UINT nIDCaption = 0, DWORD dwSize = sizeof(PROPSHEETPAGEW));
    explicit CPropertyPage(LPCWSTR lpszTemplateName, UINT nIDCaption = 0,
                           DWORD dwSize = sizeof(PROPSHEETPAGEW));
    ~CPropertyPage() override;

    void Construct(UINT nIDTemplate, UINT nIDCaption = 0);
    void Construct(LPCWSTR lpszTemplateName, UINT nIDCaption = 0);

    PROPSHEETPAGEW m_psp;   // the page as the sheet is given it

    void CancelToClose();
    void SetModified(BOOL bChanged = TRUE);

    // The sheet's notifications; OK and Cancel reach only pages whose window was created.
    virtual BOOL OnSetActive();      // TRUE accepts; refreshes the controls after the first time
    virtual BOOL OnKillActive();     // UpdateData(TRUE)
    virtual BOOL OnApply();          // OnOK(), TRUE
    virtual void OnReset();          // OnCancel()
    virtual BOOL OnQueryCancel();    // TRUE lets the sheet be cancelled
    void OnOK() override;
    void OnCancel() override;

    // Leaves dialog keys to the sheet.
    BOOL PreTranslateMessage(MSG* pMsg) override;

protected:
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    CString m_strCaption;
    BOOL m_bFirstSetActive = TRUE;

    DECLARE_MESSAGE_MAP()
};

// A property sheet run modally by the framework's loop; the pages are created by the system's
// control as they are shown.
class KIVOAFX_API CPropertySheet : public CWnd {
    DECLARE_DYNAMIC(CPropertySheet)
public:
    CPropertySheet();
    explicit CPropertySheet(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    explicit CPropertySheet(LPCWSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    ~CPropertySheet() override;

    void Construct(UINT nIDCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);
    void Construct(LPCWSTR pszCaption, CWnd* pParentWnd = nullptr, UINT iSelectPage = 0);

    PROPSHEETHEADERW m_psh;   // the header given to the system; callers may add flags (PSH_NOAPPLYNOW)

    // The pages must outlive the sheet's window.
    void AddPage(CPropertyPage* pPage);
    void RemovePage(CPropertyPage* pPage);
    void RemovePage(int nPage);
    int GetPageCount() const;
    CPropertyPage* GetPage(int nPage) const;
    int GetPageIndex(CPropertyPage* pPage);
    CPropertyPage* GetActivePage() const;
    int GetActiveIndex() const;
    BOOL SetActivePage(int nPage);
    BOOL SetActivePage(CPropertyPage* pPage);
    void SetTitle(LPCWSTR lpszText, UINT nStyle = 0);
    BOOL PressButton(int nButton);
    void EndDialog(int nEndID);

    // Modal: the owner (pParentWnd, or the main window) is disabled while it runs. IDOK or IDCANCEL,
    // -1 when the sheet could not be created or its window was destroyed.
    virtual INT_PTR DoModal();

    // The sheet's WM_INITDIALOG: the base runs the system's initialisation (the first page is created
    // there); an override calls it first.
    virtual BOOL OnInitDialog();

    BOOL PreTranslateMessage(MSG* pMsg) override;
    BOOL ContinueModal() override;

protected:
    afx_msg LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);

    std::vector<CPropertyPage*> m_pages;
    CString m_strCaption;
    CWnd* m_pParentWnd = nullptr;

    DECLARE_MESSAGE_MAP()
};
