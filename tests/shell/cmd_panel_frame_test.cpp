// The two editors over a real main frame in this process: the command-panel
// editor edits the frame's first command panel and the next frame shows
// the change; the shortcut-key editor rewrites the user's ZavIrurer.key.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "command/host_messages.h"
#include "frame_fixture.h"
#include "panels/cmd_panel_editor.h"
#include "panels/key_editor.h"
#include "shell/main_accelerator.h"
#include "tests/common/dist_dir.h"
#include "win/message_box.h"

namespace {

class CmdPanelFrameTest : public FrameTest {
protected:
    CCmdPanelSet* LiveSet() {
        HWND panel = (HWND)::SendMessageA(frame->m_hWnd, UM_GET_CMDPANEL, 0, 0);
        return panel ? (CCmdPanelSet*)::SendMessageA(panel, WM_COMMAND, 101, 0) : nullptr;
    }
    win::MessageBoxTestHook boxes;
};

TEST_F(CmdPanelFrameTest, AnEditedPageIsWhatTheNextFrameShows) {
    CCmdPanelSet* live = LiveSet();
    ASSERT_NE(nullptr, live);
    ASSERT_EQ(live, LiveCmdPanelSet()) << "the editor finds the same page set";
    const std::string before = live->Page(0)->m_items.at(0);
    const std::vector<std::string> rest(live->Page(0)->m_items.begin() + 1, live->Page(0)->m_items.end());
    const std::string chosen = CmdPanelCatalogue().Page(0)->m_items.at(2);
    ASSERT_NE(before, chosen);

    CCustCmdPanelDlg dlg;
    ASSERT_NE(nullptr, dlg.Create(frame->m_hWnd));
    // The first button of the first panel row, changed to the catalogue's third line.
    ::SendMessageA(dlg.GetDlgItem(1809), WM_LBUTTONDOWN, 0, MAKELPARAM(50, kGridCellHeight + 10));
    ::SendDlgItemMessageA(dlg.m_hWnd, 1136, LB_SETCURSEL, 2, 0);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1805, 0);
    boxes.Answer(IDOK);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
    ASSERT_FALSE(::IsWindow(dlg.m_hWnd));
    EXPECT_EQ(chosen, live->Page(0)->m_items.at(0));

    // A new frame reads the user's file again.
    TearDown();
    SetUp();
    CCmdPanelSet* again = LiveSet();
    ASSERT_NE(nullptr, again);
    std::vector<std::string> expected = rest;
    expected.insert(expected.begin(), chosen);
    // The editor writes the first panel row, a row break and the rest as they were.
    EXPECT_EQ(chosen, again->Page(0)->m_items.at(0));
    EXPECT_EQ(expected, again->Page(0)->m_items);
    CmdPanelItem item;
    ASSERT_TRUE(ParseCmdPanelItem(chosen, &item));
    HWND panel = (HWND)::SendMessageA(frame->m_hWnd, UM_GET_CMDPANEL, 0, 0);
    EXPECT_EQ(item.label, again->Page(0)->m_buttons.at(0)->m_label);
    EXPECT_EQ(panel, ::GetParent(again->Page(0)->m_buttons.at(0)->m_hWnd));
}

std::vector<std::string>* g_created = nullptr;

LRESULT CALLBACK RecordCreation(int code, WPARAM wp, LPARAM lp) {
    if (code == HCBT_CREATEWND && g_created) {
        const CREATESTRUCTA* cs = reinterpret_cast<CBT_CREATEWNDA*>(lp)->lpcs;
        if ((cs->style & WS_POPUP) && cs->lpszName && !IS_INTRESOURCE(cs->lpszName)) g_created->push_back(cs->lpszName);
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

// The four panes are made in their fixed order, each a pop-up owned by the
// frame (docking makes it a child later) that holds its panel.
TEST_F(CmdPanelFrameTest, ThePanesAreMadeInTheirOrder) {
    TearDown();
    std::vector<std::string> created;
    g_created = &created;
    HHOOK hook = ::SetWindowsHookExA(WH_CBT, RecordCreation, nullptr, ::GetCurrentThreadId());
    SetUp();
    ::UnhookWindowsHookEx(hook);
    g_created = nullptr;
    const std::vector<std::string> panes = {"コマンドメニュー", "作図メニュー", "基本操作", "コマンドメニュー２"};
    std::vector<std::string> made;
    for (const std::string& title : created)
        if (std::find(panes.begin(), panes.end(), title) != panes.end()) made.push_back(title);
    EXPECT_EQ(panes, made);
    for (int i = 0; i < 4; ++i) {
        HWND panel = (HWND)::SendMessageA(frame->m_hWnd, UM_GET_CMDPANEL, i, 0);
        ASSERT_NE(nullptr, panel) << i;
        HWND pane = ::GetParent(panel);
        EXPECT_EQ(frame->m_hWnd, ::GetWindow(pane, GW_OWNER)) << i;
    }
}

// A frame that keeps no layout reads the installed file and never moves it,
// whether or not it could read it.
TEST_F(CmdPanelFrameTest, TheInstalledLayoutStaysInPlace) {
    TearDown();
    SetUp();
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((DistDir() + "\\configMain.xml").c_str()));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((DistDir() + "\\configMain.bak").c_str()));
}

TEST_F(CmdPanelFrameTest, AnAssignedKeyIsWrittenToTheUsersKeyFile) {
    std::vector<ACCEL> keys;
    ASSERT_EQ(0, frame->m_accel.ReadKeyFile(nullptr, keys, true, false));
    CCustCmdKeyDlg dlg;
    ASSERT_NE(nullptr, dlg.Create(frame->m_hWnd));
    ASSERT_EQ(keys.size(), dlg.Keys().size());
    // The first line shown is the first key without modifiers.
    size_t first = 0;
    while (first < keys.size() && (keys[first].fVirt & ~FNOINVERT) != FVIRTKEY) ++first;
    ASSERT_LT(first, keys.size());
    ::SendDlgItemMessageA(dlg.m_hWnd, 1137, LB_SETCURSEL, 0, 0);
    ::SendDlgItemMessageA(dlg.m_hWnd, 1136, LB_SETCURSEL, 1, 0);
    CmdPanelItem item;
    ASSERT_TRUE(ParseCmdPanelItem(CmdKeyCatalogue().Page(0)->m_items.at(1), &item));
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1805, 0);
    boxes.Answer(IDOK);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
    std::vector<ACCEL> saved;
    ASSERT_EQ(0, frame->m_accel.ReadKeyFile(nullptr, saved, true, false));
    ASSERT_EQ(keys.size(), saved.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_EQ(keys[i].key, saved[i].key) << i;
        EXPECT_EQ(i == first ? item.id : keys[i].cmd, saved[i].cmd) << i;
    }
}

TEST_F(CmdPanelFrameTest, CancelLeavesTheKeyFileAlone) {
    std::vector<ACCEL> keys;
    frame->m_accel.ReadKeyFile(nullptr, keys, true, false);
    CCustCmdKeyDlg dlg;
    ASSERT_NE(nullptr, dlg.Create(frame->m_hWnd));
    ::SendDlgItemMessageA(dlg.m_hWnd, 1137, LB_SETCURSEL, 0, 0);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1804, 0);  // cleared
    EXPECT_TRUE(dlg.Modified());
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    std::vector<ACCEL> after;
    frame->m_accel.ReadKeyFile(nullptr, after, true, false);
    ASSERT_EQ(keys.size(), after.size());
    for (size_t i = 0; i < keys.size(); ++i) EXPECT_EQ(keys[i].cmd, after[i].cmd) << i;
}

}  // namespace
