// Dialogs from resource templates: modal runs, modeless dialogs reached
// through the loop's filter chain, and the item helpers.
#include <gtest/gtest.h>

#include "test_resources.h"
#include "trace.h"
#include "win/dialog.h"
#include "win/message_loop.h"

namespace {

class CTestModalDlg : public CDialog {
public:
    CTestModalDlg() : CDialog(IDD_TEST_MODAL) {}
    std::string caption, label, typed;
    bool checked = false;
    int number = 0;
    BOOL numberOk = FALSE;
    bool radio2 = false;
    WORD closeWith = IDOK;

    BEGIN_MSG_MAP(CTestModalDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    END_MSG_MAP()

    LRESULT OnInitDialog(UINT, WPARAM, LPARAM lParam, BOOL&) {
        g_trace.push_back("init");
        caption = GetWindowText();
        label = GetItemText(IDC_TEST_TEXT);
        SetItemText(IDC_TEST_EDIT, (const char*)lParam);
        SetCheck(IDC_TEST_CHECK, true);
        CheckRadio(IDC_TEST_RADIO1, IDC_TEST_RADIO2, IDC_TEST_RADIO2);
        // The test's user presses a button as soon as the dialog runs.
        PostMessage(WM_COMMAND, MAKEWPARAM(closeWith, BN_CLICKED));
        return TRUE;
    }
    LRESULT OnOK(WORD, WORD id, HWND, BOOL&) {
        g_trace.push_back("ok");
        typed = GetItemText(IDC_TEST_EDIT);
        number = GetItemInt(IDC_TEST_EDIT, &numberOk);
        checked = IsChecked(IDC_TEST_CHECK);
        radio2 = IsChecked(IDC_TEST_RADIO2);
        EndDialog(id);
        return 0;
    }
    void OnFinalMessage(HWND) override { g_trace.push_back("final"); }
};

TEST(Dialog, ModalRunFromTemplate) {
    CTestModalDlg dlg;
    g_trace.clear();
    EXPECT_EQ(IDOK, dlg.DoModal(nullptr, (LPARAM) "-42"));
    EXPECT_EQ("init ok final", JoinTrace(g_trace));
    // The template's Japanese texts arrive as code page 932, trail byte 0x5C
    // of "ソ" intact.
    EXPECT_EQ("バージョン情報", dlg.caption);
    EXPECT_EQ("表示テスト ソ", dlg.label);
    EXPECT_EQ("-42", dlg.typed);
    EXPECT_TRUE(dlg.numberOk);
    EXPECT_EQ(-42, dlg.number);
    EXPECT_TRUE(dlg.checked);
    EXPECT_TRUE(dlg.radio2);
    EXPECT_EQ(nullptr, dlg.m_hWnd);

    // Cancel through the shared close handler; text that is no number.
    CTestModalDlg again;
    again.closeWith = IDCANCEL;
    EXPECT_EQ(IDCANCEL, again.DoModal(nullptr, (LPARAM) "abc"));
    EXPECT_EQ(nullptr, again.m_hWnd);

    CTestModalDlg text;
    EXPECT_EQ(IDOK, text.DoModal(nullptr, (LPARAM) "abc"));
    EXPECT_FALSE(text.numberOk);

    // A template that does not exist.
    CDialog missing(9999);
    EXPECT_EQ(-1, missing.DoModal(nullptr));
    EXPECT_EQ(nullptr, missing.m_hWnd);
}

class CTestModelessDlg : public CDialog {
public:
    CTestModelessDlg() : CDialog(IDD_TEST_MODELESS) {}
    BEGIN_MSG_MAP(CTestModelessDlg)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    END_MSG_MAP()
    LRESULT OnOK(WORD, WORD, HWND, BOOL&) {
        g_trace.push_back("ok:" + GetItemText(IDC_TEST_EDIT));
        return 0;
    }
};

TEST(Dialog, ModelessKeysReachItThroughTheFilterChain) {
    CMessageLoop loop;
    ASSERT_TRUE(win::AddMessageLoop(&loop));
    CTestModelessDlg dlg;
    ASSERT_NE(nullptr, dlg.Create(nullptr));
    dlg.ShowWindow(SW_SHOW);
    dlg.SetItemText(IDC_TEST_EDIT, "入力");
    HWND edit = dlg.GetDlgItem(IDC_TEST_EDIT);
    HWND edit2 = dlg.GetDlgItem(IDC_TEST_EDIT2);

    // Not in the chain: Enter goes to the edit control, the dialog sees nothing.
    g_trace.clear();
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    win::PumpMessages();
    EXPECT_EQ("", JoinTrace(g_trace));

    // In the chain: IsDialogMessage turns Enter into the default button.
    loop.AddMessageFilter(&dlg);
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0);
    win::PumpMessages();
    EXPECT_EQ("ok:入力", JoinTrace(g_trace));

    // Tab moves the focus to the next control.
    ::SetFocus(edit);
    ASSERT_EQ(edit, ::GetFocus());
    ::PostMessageA(edit, WM_KEYDOWN, VK_TAB, 0);
    win::PumpMessages();
    EXPECT_EQ(edit2, ::GetFocus());

    // Esc ends the modeless dialog through its cancel entry.
    ::PostMessageA(edit, WM_KEYDOWN, VK_ESCAPE, 0);
    win::PumpMessages();
    EXPECT_EQ(nullptr, dlg.m_hWnd);
    EXPECT_EQ(IDCANCEL, dlg.m_result);
    // A closed dialog in the chain takes nothing.
    MSG m = {edit, WM_KEYDOWN, VK_RETURN, 0, 0, {0, 0}};
    EXPECT_FALSE(dlg.PreTranslateMessage(&m));
    loop.RemoveMessageFilter(&dlg);
    win::RemoveMessageLoop();
}

TEST(Dialog, ModelessDialogDestroyedWithItsObject) {
    HWND h;
    {
        CTestModelessDlg dlg;
        h = dlg.Create(nullptr);
        ASSERT_NE(nullptr, h);
        EXPECT_EQ(nullptr, dlg.Create(nullptr));  // one window per object
    }
    EXPECT_FALSE(::IsWindow(h));
}

}  // namespace

namespace {

class CQuitDuringModalDlg : public CDialog {
public:
    CQuitDuringModalDlg() : CDialog(IDD_TEST_MODAL) {}
    BEGIN_MSG_MAP(CQuitDuringModalDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_TIMER, OnTimer)
    END_MSG_MAP()
    LRESULT OnTimer(UINT, WPARAM, LPARAM, BOOL&) {
        EndDialog(IDCANCEL);
        return 0;
    }
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        ::PostQuitMessage(6);
        // Fallback so that a loop which swallowed the quit still ends.
        ::SetTimer(m_hWnd, 1, 3000, nullptr);
        return TRUE;
    }
};

TEST(Dialog, QuitDuringAModalRunReachesTheOuterLoop) {
    CQuitDuringModalDlg dlg;
    dlg.DoModal(nullptr);
    MSG m;
    bool quit = ::PeekMessageA(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE) != 0;
    EXPECT_TRUE(quit);
    if (quit) {
        EXPECT_EQ(6u, m.wParam);
    }
}

}  // namespace
