// Dispatch through message maps: which handler a message reaches, and in what order.
#include "afxwin.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

const UINT WM_PRIVATE_A = WM_USER + 1;
const UINT WM_PRIVATE_B = WM_USER + 2;
const UINT WM_THROWING = WM_USER + 3;
const UINT ID_FIRST = 100;
const UINT ID_RANGE_FIRST = 200;
const UINT ID_RANGE_LAST = 209;

UINT g_registeredMessage = 0;   // filled at run time, after the maps were built

std::vector<std::wstring> g_calls;

class BaseFrame : public CFrameWnd {
public:
    BaseFrame() = default;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT cs)
    {
        g_calls.push_back(L"Base::OnCreate");
        return CFrameWnd::OnCreate(cs);
    }
    afx_msg LRESULT OnPrivateA(WPARAM w, LPARAM)
    {
        g_calls.push_back(L"Base::OnPrivateA " + std::to_wstring(w));
        return 10;
    }
    afx_msg LRESULT OnPrivateB(WPARAM w, LPARAM)
    {
        g_calls.push_back(L"Base::OnPrivateB " + std::to_wstring(w));
        return 20;
    }
    afx_msg void OnFirst() { g_calls.push_back(L"Base::OnFirst"); }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(BaseFrame, CFrameWnd)
    ON_WM_CREATE()
    ON_MESSAGE(WM_PRIVATE_A, OnPrivateA)
    ON_MESSAGE(WM_PRIVATE_B, OnPrivateB)
    ON_COMMAND(ID_FIRST, OnFirst)
END_MESSAGE_MAP()

class DerivedFrame : public BaseFrame {
public:
    bool* m_pDeleted = nullptr;
    ~DerivedFrame() override
    {
        if (m_pDeleted)
            *m_pDeleted = true;
    }

protected:
    afx_msg LRESULT OnPrivateA(WPARAM w, LPARAM l)
    {
        g_calls.push_back(L"Derived::OnPrivateA " + std::to_wstring(w) + L" " + std::to_wstring(l));
        return 30;
    }
    afx_msg LRESULT OnRegistered(WPARAM w, LPARAM)
    {
        g_calls.push_back(L"Derived::OnRegistered " + std::to_wstring(w));
        return 40;
    }
    afx_msg void OnRange(UINT id) { g_calls.push_back(L"Derived::OnRange " + std::to_wstring(id)); }
    afx_msg LRESULT OnThrowing(WPARAM, LPARAM)
    {
        g_calls.push_back(L"Derived::OnThrowing");
        throw std::runtime_error("handler failed");
    }
    afx_msg void OnDestroy()
    {
        g_calls.push_back(L"Derived::OnDestroy");
        BaseFrame::OnDestroy();
    }

    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(DerivedFrame, BaseFrame)
    ON_WM_DESTROY()
    ON_MESSAGE(WM_PRIVATE_A, OnPrivateA)
    ON_REGISTERED_MESSAGE(g_registeredMessage, OnRegistered)
    ON_COMMAND_RANGE(ID_RANGE_FIRST, ID_RANGE_LAST, OnRange)
    ON_MESSAGE(WM_THROWING, OnThrowing)
END_MESSAGE_MAP()

DerivedFrame* createFrame(bool* deleted)
{
    auto* frame = new DerivedFrame;
    frame->m_pDeleted = deleted;
    EXPECT_TRUE(frame->Create(nullptr, L"dispatch test", WS_OVERLAPPEDWINDOW));
    return frame;
}

class MessageMapTest : public ::testing::Test {
protected:
    void SetUp() override { g_calls.clear(); }

    // A new frame's window; m_deleted turns true when the frame deletes itself.
    HWND openFrame() { return createFrame(&m_deleted)->m_hWnd; }
    // Destroys the frame's window, then checks that the frame deleted itself after its last
    // message and that the handlers were called as expected, in order.
    void closeFrameExpectingCalls(HWND hWnd, const std::vector<std::wstring>& expected)
    {
        DestroyWindow(hWnd);
        EXPECT_TRUE(m_deleted) << "a frame deletes itself after its last message";
        EXPECT_EQ(expected, g_calls);
    }

    bool m_deleted = false;
};

TEST_F(MessageMapTest, DerivedEntryWinsAndBaseEntriesStillServe)
{
    HWND hWnd = openFrame();
    ASSERT_TRUE(IsWindow(hWnd));

    EXPECT_EQ(30, SendMessageW(hWnd, WM_PRIVATE_A, 7, 8));
    EXPECT_EQ(20, SendMessageW(hWnd, WM_PRIVATE_B, 9, 0));
    SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(ID_FIRST, 0), 0);
    // An unmapped message reaches the default window procedure.
    SetWindowTextW(hWnd, L"still default");
    WCHAR text[32] = {};
    GetWindowTextW(hWnd, text, 32);
    EXPECT_STREQ(L"still default", text);

    closeFrameExpectingCalls(hWnd, {L"Base::OnCreate", L"Derived::OnPrivateA 7 8", L"Base::OnPrivateB 9",
                                    L"Base::OnFirst", L"Derived::OnDestroy"});
}

TEST_F(MessageMapTest, RegisteredMessageIsMatchedByItsRunTimeNumber)
{
    HWND hWnd = openFrame();

    // Before registration the variable is 0 and must match nothing, not even message 0.
    g_registeredMessage = 0;
    SendMessageW(hWnd, WM_NULL, 0, 0);
    g_registeredMessage = RegisterWindowMessageW(L"KivoTest-MessageMap-Registered");
    ASSERT_GE(g_registeredMessage, 0xC000u);
    EXPECT_EQ(40, SendMessageW(hWnd, g_registeredMessage, 5, 0));
    // Another registered message is not taken for it.
    UINT other = RegisterWindowMessageW(L"KivoTest-MessageMap-Other");
    EXPECT_EQ(0, SendMessageW(hWnd, other, 6, 0));

    closeFrameExpectingCalls(hWnd, {L"Base::OnCreate", L"Derived::OnRegistered 5", L"Derived::OnDestroy"});
}

TEST_F(MessageMapTest, CommandsMatchIdRangesAndNotificationCodes)
{
    HWND hWnd = openFrame();

    SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(ID_RANGE_FIRST, 0), 0);
    SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(ID_RANGE_LAST, 0), 0);
    SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(ID_RANGE_LAST + 1, 0), 0);   // outside the range
    SendMessageW(hWnd, WM_COMMAND, MAKEWPARAM(ID_FIRST, 1), 0);            // other notification code

    closeFrameExpectingCalls(hWnd, {L"Base::OnCreate", L"Derived::OnRange 200", L"Derived::OnRange 209",
                                    L"Derived::OnDestroy"});
}

TEST_F(MessageMapTest, AnExceptionFromAHandlerStopsAtTheWindowProcedure)
{
    HWND hWnd = openFrame();
    EXPECT_EQ(0, SendMessageW(hWnd, WM_THROWING, 0, 0));
    // The window still works after it.
    EXPECT_EQ(30, SendMessageW(hWnd, WM_PRIVATE_A, 1, 2));
    closeFrameExpectingCalls(hWnd, {L"Base::OnCreate", L"Derived::OnThrowing", L"Derived::OnPrivateA 1 2",
                                    L"Derived::OnDestroy"});
}

// A text service creates a window of a CS_IME class while the thread creates its frame, as Windows'
// input methods do: the frame object is bound to the frame, and the text service's window is left
// alone.
HWND g_hTextServiceWnd = nullptr;

LRESULT CALLBACK createTextServiceWindow(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && !g_hTextServiceWnd &&
        (GetClassLongPtrW(reinterpret_cast<HWND>(wParam), GCL_STYLE) & CS_IME) == 0) {
        g_hTextServiceWnd = HWND(1);   // no second one from inside the creation below
        g_hTextServiceWnd = CreateWindowExW(0, L"KivoTestTextService", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                            GetModuleHandleW(nullptr), nullptr);
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST_F(MessageMapTest, AWindowOfAnInputMethodCreatedMeanwhileIsNotTakenForTheFrame)
{
    WNDCLASSW wc = {};
    wc.style = CS_IME;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"KivoTestTextService";
    ASSERT_TRUE(RegisterClassW(&wc));
    g_hTextServiceWnd = nullptr;
    HHOOK hHook = SetWindowsHookExW(WH_CBT, createTextServiceWindow, nullptr, GetCurrentThreadId());
    ASSERT_NE(nullptr, hHook);
    HWND hFrame = openFrame();
    UnhookWindowsHookEx(hHook);
    ASSERT_TRUE(IsWindow(g_hTextServiceWnd));
    WCHAR className[64] = L"";
    GetClassNameW(hFrame, className, ARRAYSIZE(className));
    EXPECT_STRNE(L"KivoTestTextService", className);
    EXPECT_EQ(nullptr, CWnd::FromHandlePermanent(g_hTextServiceWnd));
    EXPECT_EQ(30, SendMessageW(hFrame, WM_PRIVATE_A, 0, 0));
    DestroyWindow(hFrame);
    DestroyWindow(g_hTextServiceWnd);
    UnregisterClassW(L"KivoTestTextService", GetModuleHandleW(nullptr));
    EXPECT_TRUE(m_deleted);
    EXPECT_EQ((std::vector<std::wstring>{L"Base::OnCreate", L"Derived::OnPrivateA 0 0", L"Derived::OnDestroy"}),
              g_calls);
}

TEST(RuntimeClassTest, DynamicCreationAndKindOf)
{
    CObject* object = RUNTIME_CLASS(CFrameWnd)->CreateObject();
    ASSERT_NE(nullptr, object);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CWnd)));
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CCmdTarget)));
    EXPECT_FALSE(object->IsKindOf(RUNTIME_CLASS(CMenu)));
    EXPECT_STREQ("CFrameWnd", object->GetRuntimeClass()->m_lpszClassName);
    delete object;
    EXPECT_EQ(nullptr, RUNTIME_CLASS(CWinApp)->CreateObject()) << "CWinApp is not dynamically creatable";
}

} // namespace
