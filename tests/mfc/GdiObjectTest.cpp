// GDI wrappers: which objects own their handle and delete it, which only borrow it, and a process
// whose GDI object count stays flat over many create, select and delete cycles.
#include "afxwin.h"

#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kBlue = RGB(0, 0, 255);

bool isGdiObject(HGDIOBJ h)
{
    return GetObjectType(h) != 0;
}

TEST(GdiOwnershipTest, AttachedObjectsDeleteTheirHandleBorrowedOnesDoNot)
{
    HBITMAP hOwned = nullptr;
    HDC hOwnedDC = nullptr;
    {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBitmap(4, 4, 1, 32, nullptr));
        hOwned = bitmap;
        EXPECT_EQ(&bitmap, CBitmap::FromHandle(hOwned)) << "the owner answers for its handle";
        EXPECT_FALSE(bitmap.CreateBitmap(2, 2, 1, 32, nullptr)) << "one handle per object";
        CDC dc;
        ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
        hOwnedDC = dc;
        EXPECT_EQ(&dc, CDC::FromHandle(hOwnedDC));
    }
    EXPECT_FALSE(isGdiObject(hOwned)) << "an attached bitmap is deleted with its object";
    EXPECT_FALSE(isGdiObject(hOwnedDC)) << "a created context is deleted with its object";

    HBRUSH hLent = CreateSolidBrush(kBlue);
    HDC hLentDC = CreateCompatibleDC(nullptr);
    CBrush* pBrush = CBrush::FromHandle(hLent);
    CDC* pDC = CDC::FromHandle(hLentDC);
    ASSERT_NE(nullptr, pBrush);
    ASSERT_NE(nullptr, pDC);
    EXPECT_EQ(hLent, pBrush->m_hObject);
    EXPECT_EQ(pBrush, CBrush::FromHandle(hLent)) << "one temporary wrapper per handle";
    EXPECT_EQ(hLentDC, pDC->GetSafeHdc());
    AfxDeleteTempMaps();
    EXPECT_TRUE(isGdiObject(hLent)) << "a temporary wrapper never deletes what it was lent";
    EXPECT_TRUE(isGdiObject(hLentDC));

    HBITMAP hDetached = nullptr;
    {
        CBitmap bitmap;
        ASSERT_TRUE(bitmap.CreateBitmap(4, 4, 1, 32, nullptr));
        hDetached = static_cast<HBITMAP>(bitmap.Detach());
    }
    EXPECT_TRUE(isGdiObject(hDetached)) << "a detached handle is the caller's";
    {
        CBrush brush;
        ASSERT_TRUE(brush.Attach(hLent));
        EXPECT_FALSE(brush.Attach(hDetached));
    }
    EXPECT_FALSE(isGdiObject(hLent)) << "an attached handle is deleted with its new owner";
    EXPECT_TRUE(DeleteObject(hDetached));
    EXPECT_TRUE(DeleteDC(hLentDC));
}

TEST(GdiOwnershipTest, SelectionAnswersThePreviousObjectAndPutsItBack)
{
    CDC dc;
    ASSERT_TRUE(dc.CreateCompatibleDC(nullptr));
    HGDIOBJ hDefaultBitmap = GetCurrentObject(dc, OBJ_BITMAP);
    CBitmap bitmap;
    ASSERT_TRUE(bitmap.CreateBitmap(8, 8, 1, 32, nullptr));

    CBitmap* pOld = dc.SelectObject(&bitmap);
    ASSERT_NE(nullptr, pOld);
    EXPECT_EQ(hDefaultBitmap, pOld->m_hObject);
    EXPECT_EQ(bitmap.m_hObject, GetCurrentObject(dc, OBJ_BITMAP));

    dc.SetBkColor(kBlue);
    dc.FillSolidRect(2, 2, 4, 4, kRed);
    EXPECT_EQ(kRed, GetPixel(dc, 2, 2));
    EXPECT_EQ(kRed, GetPixel(dc, 5, 5));
    EXPECT_NE(kRed, GetPixel(dc, 6, 6)) << "the fill stays inside its rectangle";
    EXPECT_EQ(kBlue, dc.GetBkColor()) << "filling leaves the background colour alone";

    EXPECT_EQ(&bitmap, dc.SelectObject(pOld)) << "selecting the answer back answers the owner";
    EXPECT_EQ(hDefaultBitmap, GetCurrentObject(dc, OBJ_BITMAP));
    EXPECT_EQ(nullptr, dc.SelectObject(static_cast<CBitmap*>(nullptr)));
}

// Paints its client area through CPaintDC, as a window's WM_PAINT handler does.
class PaintedWnd : public CWnd {
public:
    int m_nPaints = 0;

protected:
    afx_msg void OnPaint()
    {
        CPaintDC dc(this);
        CBrush brush(kRed);
        CRect rect;
        GetClientRect(&rect);
        dc.FillRect(&rect, &brush);
        ++m_nPaints;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(PaintedWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

// One cycle of what a skin's painting does: a memory context with a bitmap and a brush selected,
// drawing, the selections put back, a copy to the window, and a few borrowed wrappers.
void drawOneFrame(PaintedWnd& wnd)
{
    CClientDC client(&wnd);
    CBitmap bitmap;
    CBrush brush;
    ASSERT_TRUE(bitmap.CreateCompatibleBitmap(&client, 16, 16));
    ASSERT_TRUE(brush.CreateSolidBrush(kBlue));
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(&client));
    CBitmap* pOldBitmap = memory.SelectObject(&bitmap);
    CBrush* pOldBrush = memory.SelectObject(&brush);
    ASSERT_NE(nullptr, pOldBitmap);
    ASSERT_NE(nullptr, pOldBrush);
    memory.PatBlt(0, 0, 16, 16, PATCOPY);
    memory.FillSolidRect(4, 4, 8, 8, kRed);
    client.BitBlt(0, 0, 16, 16, &memory, 0, 0, SRCCOPY);
    memory.SelectObject(pOldBrush);
    memory.SelectObject(pOldBitmap);

    CWindowDC window(&wnd);
    window.FillSolidRect(0, 0, 2, 2, kBlue);
    CDC* pLent = wnd.GetDC();
    ASSERT_NE(nullptr, pLent);
    CGdiObject::FromHandle(GetStockObject(WHITE_BRUSH));
    wnd.ReleaseDC(pLent);
    wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

TEST(GdiOwnershipTest, GdiObjectCountStaysFlatOverManyDrawingCycles)
{
    PaintedWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, AfxRegisterWndClass(0), L"painted", WS_POPUP | WS_VISIBLE, 10, 10, 40, 40,
                             nullptr, nullptr));
    drawOneFrame(wnd);   // the first cycle may create the system's own cached objects
    AfxDeleteTempMaps();
    const long before = kivotest::gdiObjectCount(GetCurrentProcessId());
    ASSERT_GT(before, 0);

    const int kCycles = 1000;
    for (int i = 0; i < kCycles; ++i) {
        drawOneFrame(wnd);
        if (HasFailure())
            return;
        if (i % 100 == 99)
            AfxDeleteTempMaps();   // as the message loop does when it goes idle
    }
    AfxDeleteTempMaps();
    EXPECT_EQ(before, kivotest::gdiObjectCount(GetCurrentProcessId()));
    EXPECT_EQ(kCycles + 1, wnd.m_nPaints) << "every cycle painted through CPaintDC";
    wnd.DestroyWindow();
}

} // namespace
