// Common controls: the slider (trackbar) and the tool tip (src/CSliderCtrl.cpp, src/CToolTipCtrl.cpp).
#pragma once

#include "afxwin.h"

#include <commctrl.h>

// A trackbar. Ranges and positions are full 32-bit values (TBM_SETRANGEMIN/MAX), so ranges such
// as -180..180 and 2800..6500 keep their values.
class KIVOAFX_API CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)
public:
    CSliderCtrl();
    ~CSliderCtrl() override;

    virtual BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    int GetLineSize() const;
    int SetLineSize(int nSize);
    int GetPageSize() const;
    int SetPageSize(int nSize);
    int GetRangeMax() const;
    int GetRangeMin() const;
    void GetRange(int& nMin, int& nMax) const;
    void SetRangeMin(int nMin, BOOL bRedraw = FALSE);
    void SetRangeMax(int nMax, BOOL bRedraw = FALSE);
    void SetRange(int nMin, int nMax, BOOL bRedraw = FALSE);
    int GetPos() const;
    void SetPos(int nPos);
    void SetTicFreq(int nFreq);
    void ClearTics(BOOL bRedraw = FALSE);
    BOOL SetTic(int nTic);
};

// A tool tip window whose tools are windows of its parent. RelayEvent hands it the mouse messages
// of the tools (from PreTranslateMessage).
class KIVOAFX_API CToolTipCtrl : public CWnd {
    DECLARE_DYNAMIC(CToolTipCtrl)
public:
    CToolTipCtrl();
    ~CToolTipCtrl() override;

    virtual BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);

    // pWnd is the tool: with nIDTool 0 the whole window (TTF_IDISHWND), else the rectangle
    // lpRectTool of pWnd's client area. nIDText is a string resource.
    BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
    BOOL AddTool(CWnd* pWnd, LPCWSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr,
                 UINT_PTR nIDTool = 0);
    void DelTool(CWnd* pWnd, UINT_PTR nIDTool = 0);
    void UpdateTipText(LPCWSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
    void Activate(BOOL bActivate);
    void RelayEvent(LPMSG lpMsg);
    int SetMaxTipWidth(int iWidth);
    void SetDelayTime(UINT nDelay);
    void Pop();

private:
    BOOL addTool(CWnd* pWnd, HINSTANCE hInstText, LPCWSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool);
};
