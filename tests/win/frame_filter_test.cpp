// A main frame's message filter built from the framework's parts: the
// modeless dialog first, then the frame's accelerators, the MDI keys, and
// last the active child through WM_FORWARDMSG.
#include <gtest/gtest.h>

#include "test_resources.h"
#include "trace.h"
#include "win/dialog.h"
#include "win/mdi.h"
#include "win/message_loop.h"

namespace {

class CKeyChild : public CMDIChildWindow {
public:
    BEGIN_MSG_MAP(CKeyChild)
    MESSAGE_HANDLER(WM_FORWARDMSG, OnForwardMsg)
    MESSAGE_HANDLER(WM_KEYDOWN, OnKeyDown)
    END_MSG_MAP()
    LRESULT OnForwardMsg(UINT, WPARAM, LPARAM lParam, BOOL&) {
        const MSG* m = (const MSG*)lParam;
        if (m->message == WM_KEYDOWN && m->wParam == VK_F7) {
            g_trace.push_back("child:forwarded-F7");
            return 1;
        }
        return 0;
    }
    LRESULT OnKeyDown(UINT, WPARAM w, LPARAM, BOOL&) {
        g_trace.push_back("child:keydown-" + std::to_string(w));
        return 0;
    }
};

class CKeyFrame : public CMDIFrameWindow, public CMessageFilter {
public:
    CDialog* m_modeless = nullptr;

    BEGIN_MSG_MAP(CKeyFrame)
    COMMAND_ID_HANDLER(4000, OnNew)
    CHAIN_MSG_MAP(CMDIFrameWindow)
    END_MSG_MAP()

    BOOL PreTranslateMessage(MSG* m) override {
        if (m_modeless != nullptr && m_modeless->PreTranslateMessage(m)) return TRUE;
        if (m_hWndMDIClient != nullptr) {
            if (TranslateAccelerators(m)) return TRUE;
            if (TranslateMDISysAccel(m)) return TRUE;
        }
        HWND active = MDIGetActive();
        return active != nullptr && ::SendMessageA(active, WM_FORWARDMSG, 0, (LPARAM)m) != 0;
    }
    LRESULT OnNew(WORD code, WORD id, HWND, BOOL&) {
        g_trace.push_back("frame:cmd" + std::to_string(id) + "/" + std::to_string(code));
        return 0;
    }
};

class CEnterDlg : public CDialog {
public:
    CEnterDlg() : CDialog(IDD_TEST_MODELESS) {}
    BEGIN_MSG_MAP(CEnterDlg)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    END_MSG_MAP()
    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        g_trace.push_back("dialog:ok");
        return 0;
    }
};

TEST(FrameFilter, KeysTakeTheFirstStepThatWantsThem) {
    CMessageLoop loop;
    ASSERT_TRUE(win::AddMessageLoop(&loop));
    CKeyFrame frame;
    ASSERT_NE(nullptr, frame.Create(CreateArgs()));
    ASSERT_NE(nullptr, frame.CreateMDIClient());
    ACCEL keys[] = {{FVIRTKEY, VK_F5, 4000}};
    frame.m_hAccel = ::CreateAcceleratorTableA(keys, 1);
    win::GetMessageLoop()->AddMessageFilter(&frame);
    CKeyChild child;
    CreateArgs ca;
    ca.parent = frame.m_hWndMDIClient;
    ca.style = WS_CHILD | WS_VISIBLE | WS_OVERLAPPEDWINDOW;
    ASSERT_NE(nullptr, child.Create(ca));
    CEnterDlg dlg;
    ASSERT_NE(nullptr, dlg.Create(frame));
    frame.m_modeless = &dlg;

    struct Row {
        const char* name;
        HWND target;
        WPARAM key;
        const char* trace;
    } rows[] = {
        {"accelerator of the frame", child, VK_F5, "frame:cmd4000/1"},
        {"forwarded to the active child", child, VK_F7, "child:forwarded-F7"},
        {"nobody wants it: dispatched", child, VK_F8, "child:keydown-119"},
        {"key inside the modeless dialog", dlg.GetDlgItem(IDC_TEST_EDIT), VK_RETURN, "dialog:ok"},
    };
    for (const auto& r : rows) {
        g_trace.clear();
        ::PostMessageA(r.target, WM_KEYDOWN, r.key, 0);
        win::PumpMessages();
        EXPECT_EQ(r.trace, JoinTrace(g_trace)) << r.name;
    }

    win::GetMessageLoop()->RemoveMessageFilter(&frame);
    ::DestroyAcceleratorTable(frame.m_hAccel);
    win::RemoveMessageLoop();
}

}  // namespace
