// Frame layout, the MDI frame with its client, and MDI children.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "trace.h"
#include "win/mdi.h"

namespace {

class CTestChild : public CMDIChildWindow {
public:
    explicit CTestChild(const char* name) : m_name(name) {}
    int activations = 0;
    bool finalSeen = false;

    BEGIN_MSG_MAP(CTestChild)
    MESSAGE_HANDLER(WM_MDIACTIVATE, OnMDIActivate)
    COMMAND_ID_HANDLER(3000, OnCmd3000)
    END_MSG_MAP()

    LRESULT OnMDIActivate(UINT, WPARAM, LPARAM l, BOOL& handled) {
        if ((HWND)l == m_hWnd) {
            ++activations;
            g_trace.push_back(std::string("activate:") + m_name);
        }
        handled = FALSE;  // DefMDIChildProc keeps the client's state right
        return 0;
    }
    LRESULT OnCmd3000(WORD, WORD, HWND, BOOL&) {
        g_trace.push_back(std::string("cmd3000:") + m_name);
        return 1;
    }
    void OnFinalMessage(HWND) override { finalSeen = true; }

private:
    const char* m_name;
};

class CTestFrame : public CMDIFrameWindow {
public:
    BEGIN_MSG_MAP(CTestFrame)
    COMMAND_ID_HANDLER(1200, OnCascade)
    CHAIN_MSG_MAP(CMDIFrameWindow)
    END_MSG_MAP()
    LRESULT OnCascade(WORD, WORD, HWND, BOOL&) {
        MDICascade();
        return 0;
    }
};

TEST(MDI, ChildrenAreCreatedActivatedAndDestroyed) {
    CTestFrame frame;
    CreateArgs fa;
    fa.title = "MDI";
    fa.x = 0;
    fa.y = 0;
    fa.cx = 800;
    fa.cy = 600;
    ASSERT_NE(nullptr, frame.Create(fa));
    ASSERT_NE(nullptr, frame.CreateMDIClient());
    EXPECT_EQ(0xE900, ::GetDlgCtrlID(frame.m_hWndMDIClient));
    EXPECT_EQ(frame.m_hWndMDIClient, frame.m_hWndClient);
    EXPECT_EQ(nullptr, frame.CreateMDIClient());  // only one
    frame.ShowWindow(SW_SHOW);

    g_trace.clear();
    CTestChild a("a"), b("b");
    CreateArgs ca;
    ca.parent = frame.m_hWndMDIClient;
    ca.title = "無題1";
    ca.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    ASSERT_NE(nullptr, a.Create(ca));
    ca.title = "無題2";
    ASSERT_NE(nullptr, b.Create(ca));
    EXPECT_EQ(frame.m_hWndMDIClient, b.GetMDIClient());
    EXPECT_EQ(frame.m_hWnd, b.GetMDIFrame());
    EXPECT_EQ("無題2", b.GetWindowText());

    // The newest child is active; activation reached the child's map.
    EXPECT_EQ(b.m_hWnd, frame.MDIGetActive());
    EXPECT_EQ("activate:a activate:b", JoinTrace(g_trace));

    g_trace.clear();
    frame.MDIActivate(a);
    EXPECT_EQ(a.m_hWnd, frame.MDIGetActive());
    EXPECT_EQ("activate:a", JoinTrace(g_trace));
    b.MDIActivate();
    EXPECT_EQ(b.m_hWnd, frame.MDIGetActive());

    // Maximise goes through DefMDIChildProc and the client.
    b.MDIMaximize();
    BOOL maximized = FALSE;
    EXPECT_EQ(b.m_hWnd, frame.MDIGetActive(&maximized));
    EXPECT_TRUE(maximized);
    b.MDIRestore();

    // Commands of the frame map still run; the frame's default is DefFrameProc.
    EXPECT_EQ(0, frame.SendMessage(WM_COMMAND, 1200));
    g_trace.clear();
    EXPECT_EQ(1, ::SendMessageA(frame.MDIGetActive(), WM_COMMAND, 3000, 0));
    EXPECT_EQ("cmd3000:b", JoinTrace(g_trace));

    // Destroying the active child activates the other one.
    b.MDIDestroy();
    EXPECT_TRUE(b.finalSeen);
    EXPECT_EQ(nullptr, b.m_hWnd);
    EXPECT_EQ(a.m_hWnd, frame.MDIGetActive());
}

TEST(MDI, ChildNeedsAClientAndARoutedClass) {
    CTestChild c("c");
    EXPECT_EQ(nullptr, c.Create(CreateArgs()));  // no client
    CTestFrame frame;
    ASSERT_NE(nullptr, frame.Create(CreateArgs()));
    ASSERT_NE(nullptr, frame.CreateMDIClient());
    CreateArgs ca;
    ca.parent = frame.m_hWndMDIClient;
    ca.className = "EDIT";  // not a class of ours: refused
    EXPECT_EQ(nullptr, c.Create(ca));
    EXPECT_EQ(nullptr, c.m_hWnd);
}

TEST(Frame, LaysOutBarsAndClient) {
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);
    CTestFrame frame;
    CreateArgs fa;
    fa.x = 0;
    fa.y = 0;
    fa.cx = 640;
    fa.cy = 480;
    ASSERT_NE(nullptr, frame.Create(fa));
    frame.m_hWndStatusBar =
        ::CreateWindowExA(0, STATUSCLASSNAMEA, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, frame, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, frame.m_hWndStatusBar);
    ASSERT_NE(nullptr, frame.CreateMDIClient());
    frame.ShowWindow(SW_SHOW);
    frame.UpdateLayout();

    RECT client = frame.GetClientRect();
    RECT status, mdi;
    ::GetWindowRect(frame.m_hWndStatusBar, &status);
    ::GetWindowRect(frame.m_hWndMDIClient, &mdi);
    ::MapWindowPoints(nullptr, frame, (POINT*)&status, 2);
    ::MapWindowPoints(nullptr, frame, (POINT*)&mdi, 2);
    EXPECT_EQ(client.bottom, status.bottom);
    EXPECT_EQ(status.top, mdi.bottom);  // the client stops at the bar
    EXPECT_EQ(0, mdi.top);

    // A resize keeps that (DefFrameProc would stretch the client over the bar).
    frame.SetWindowPos(nullptr, 0, 0, 500, 400, SWP_NOZORDER);
    ::GetWindowRect(frame.m_hWndStatusBar, &status);
    ::GetWindowRect(frame.m_hWndMDIClient, &mdi);
    EXPECT_EQ(status.top, mdi.bottom);
}

}  // namespace
