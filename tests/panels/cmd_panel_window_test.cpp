// The command panel's windows: buttons and their clicks, the layout of a
// page, page changes, marks of running commands, and the face images.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/user_folder.h"
#include "command/host_messages.h"
#include "panels/cmd_panel.h"
#include "tests/common/dist_dir.h"
#include "win/message_box.h"

namespace {

std::string TempDir(const char* name) {
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    std::string path = std::string(dir) + name;
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}

class CButtonSink : public CWindowBase {
public:
    std::vector<WPARAM> reports;
    BEGIN_MSG_MAP(CButtonSink)
    MESSAGE_HANDLER(UM_CMDPANEL_BUTTON, OnButton)
    END_MSG_MAP()
    LRESULT OnButton(UINT, WPARAM w, LPARAM, BOOL&) {
        reports.push_back(w);
        return 0;
    }
};

HWND MakeTop(CWindowBase& w, int cx, int cy) {
    CreateArgs a;
    a.x = a.y = 0;
    a.cx = cx;
    a.cy = cy;
    a.style = WS_POPUP | WS_VISIBLE;
    return w.Create(a);
}

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(CmdPanelButton, ReportsOnlyAReleaseOverThePressedButton) {
    CButtonSink parent;
    ASSERT_NE(nullptr, MakeTop(parent, 300, 100));
    CCmdPnlButton command, page;
    command.SetData("線分", 6000, "tip", 0);
    page.SetData("作図", 102, "", 0);
    page.m_pageSelect = 1;
    ASSERT_NE(nullptr, command.Create(parent.m_hWnd, 0, 0, 76, 32));
    ASSERT_NE(nullptr, page.Create(parent.m_hWnd, 100, 0, 76, 32));
    struct Step {
        HWND button;
        UINT msg;
        LPARAM at;
    };
    const std::vector<Step> steps = {
        {command.m_hWnd, WM_LBUTTONUP, At(5, 5)},  // a release without a press
        {command.m_hWnd, WM_LBUTTONDOWN, At(5, 5)},  {command.m_hWnd, WM_LBUTTONUP, At(5, 5)},  // click
        {command.m_hWnd, WM_LBUTTONDOWN, At(5, 5)},  {command.m_hWnd, WM_LBUTTONUP, At(200, 5)},  // left it
        {command.m_hWnd, WM_LBUTTONUP, At(5, 5)},   // and came back: nothing pending
        {command.m_hWnd, WM_LBUTTONDOWN, At(5, 5)},  {command.m_hWnd, WM_MOUSELEAVE, 0},
        {command.m_hWnd, WM_LBUTTONUP, At(5, 5)},
        {page.m_hWnd, WM_LBUTTONDOWN, At(5, 5)},     {page.m_hWnd, WM_LBUTTONUP, At(5, 5)},
        {command.m_hWnd, WM_KEYDOWN, VK_SPACE},      {command.m_hWnd, WM_KEYUP, VK_SPACE},
    };
    for (const Step& s : steps)
        ::SendMessageA(s.button, s.msg, s.msg == WM_KEYDOWN || s.msg == WM_KEYUP ? VK_SPACE : 0,
                       s.msg == WM_KEYDOWN || s.msg == WM_KEYUP ? 0 : s.at);
    EXPECT_EQ((std::vector<WPARAM>{6000, 102 + 0x10000, 6000}), parent.reports);
    EXPECT_EQ(nullptr, ::GetCapture());
    parent.DestroyWindow();
}

TEST(CmdPanelButton, MeasuresByLabelBytes) {
    CCmdPnlButton b;
    const int images = CmdButtonImages.width;
    struct Row {
        const char* label;
        int width;
    } rows[] = {{"12345678", images}, {"123456789012", images + 32}, {"線分", images}};
    for (const Row& r : rows) {
        b.SetData(r.label, 1, "", 0);
        int w = 0, h = 0;
        b.Measure(&w, &h);
        EXPECT_EQ(r.width, w) << r.label;
        EXPECT_EQ(CmdButtonImages.height, h);
    }
}

TEST(CmdButtonImages, NamesAndSizesFollowTheScreen) {
    struct Row {
        int low, screen;
        const char* name;
        int cx, cy;
    } rows[] = {{1, 1400, "d\\001_m.bmp", 64, 19},
                {1, 1280, "d\\001_s.bmp", 59, 17},
                {1, 1680, "d\\001.bmp", 76, 32},
                {0, 1400, "d\\001.bmp", 76, 32}};
    for (const Row& r : rows) {
        EXPECT_EQ(r.name, CmdButtonImageFile("d", 0, 1, r.low, r.screen));
        const SIZE s = CmdButtonImageSize(r.low, r.screen);
        EXPECT_EQ(r.cx, s.cx);
        EXPECT_EQ(r.cy, s.cy);
    }
    EXPECT_EQ("d\\094.bmp", CmdButtonImageFile("d", 9, 4, 0, 1400));
}

TEST(CmdButtonImages, TheInstalledSetsLoad) {
    LoadCmdButtonImages((DistDir() + "\\Images\\Button1").c_str());
    EXPECT_EQ(10, CmdButtonImages.setCount);
    for (int i = 0; i < 10; ++i) {
        ASSERT_NE(nullptr, CmdButtonImages.lists[i]) << i;
        EXPECT_EQ(4, ImageList_GetImageCount(CmdButtonImages.lists[i]));
    }
    // A folder without the files leaves every style without a face.
    LoadCmdButtonImages(TempDir("zav_no_images").c_str());
    EXPECT_EQ(10, CmdButtonImages.setCount);
    EXPECT_EQ(nullptr, CmdButtonImages.lists[0]);
    LoadCmdButtonImages((DistDir() + "\\Images\\Button1").c_str());
}

// A panel over a private CmdPanel.def in the user folder.
class CmdPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        install_ = TempDir("zav_cp_install");
        user_ = TempDir("zav_cp_user");
        std::ofstream f(install_ + "\\CmdPanel.def", std::ios::binary);
        f << "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<CmdPanel><PanelInfo>"
             "<P0><data><item>one,5001,t</item><item>\\n</item><item>two,5010,t</item>"
             "<item>three,5003,t,2</item></data></P0>"
             "<P1><data><item>a,5010,t</item></data></P1>"
             "<P2><data><item>b,5020,t</item></data></P2>"
             "</PanelInfo></CmdPanel>";
        f.close();
        SetUserFolderOverrides(user_.c_str(), user_.c_str(), install_.c_str());
        std::string userFile = UserCmdPanelPath();
        ::DeleteFileA(userFile.c_str());
        ASSERT_FALSE(UserCmdPanelPath().empty());
    }
    void TearDown() override {
        if (host_.m_hWnd) host_.DestroyWindow();
        SetUserFolderOverrides("", "", "");
    }
    // A host window of that size with a panel filling it.
    CCmdPanel& MakePanel(int cx, int cy) {
        MakeTop(host_, cx, cy);
        panel_.Create(host_.m_hWnd);
        ::SetWindowPos(panel_.m_hWnd, nullptr, 0, 0, cx, cy, SWP_NOZORDER);
        return panel_;
    }
    RECT ButtonRect(CCmdPnlButton* b) {
        RECT r;
        ::GetWindowRect(b->m_hWnd, &r);
        ::MapWindowPoints(nullptr, panel_.m_hWnd, (POINT*)&r, 2);
        return r;
    }
    std::string install_, user_;
    CButtonSink host_;
    CCmdPanel panel_;
    win::MessageBoxTestHook boxes_;
};

TEST_F(CmdPanelTest, RowsRunRightToLeftWithTheComboInTheFirst) {
    CCmdPanel& panel = MakePanel(800, 120);
    CCmdPanelSet* set = panel.PageSet();
    ASSERT_NE(nullptr, set);
    ASSERT_EQ(3, set->PageCount());
    CCmdPanelData* page = set->Page(0);
    ASSERT_EQ(4u, page->m_buttons.size());
    CCmdPnlButton* one = page->m_buttons[0].get();
    CCmdPnlButton* two = page->m_buttons[2].get();
    CCmdPnlButton* three = page->m_buttons[3].get();
    ASSERT_TRUE(one && two && three && !page->m_buttons[1]);
    RECT combo;
    ::GetWindowRect(set->m_combo, &combo);
    ::MapWindowPoints(nullptr, panel.m_hWnd, (POINT*)&combo, 2);
    const RECT r1 = ButtonRect(one), r2 = ButtonRect(two), r3 = ButtonRect(three);
    EXPECT_NEAR(combo.left, r1.right, 2) << "the first row starts left of the combo";
    EXPECT_GT(r2.top, r1.top) << "the second row is below";
    EXPECT_EQ(r2.top, r3.top);
    EXPECT_EQ(r3.right, r2.left) << "right to left";
    EXPECT_GE(r2.right - r2.left, combo.right - combo.left) << "column 0 is as wide as the combo";
    EXPECT_TRUE(::IsWindowVisible(one->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(set->Page(1)->m_buttons[0]->m_hWnd));
}

TEST_F(CmdPanelTest, PageButtonsAndTheComboChooseThePage) {
    CCmdPanel& panel = MakePanel(800, 120);
    CCmdPanelSet* set = panel.PageSet();
    ASSERT_NE(nullptr, set);
    ASSERT_EQ(3u, set->m_typeSel.m_buttons.size());
    CCmdPnlButton* pageButton = set->m_typeSel.m_buttons[2].get();
    ::SendMessageA(pageButton->m_hWnd, WM_LBUTTONDOWN, 0, At(2, 2));
    ::SendMessageA(pageButton->m_hWnd, WM_LBUTTONUP, 0, At(2, 2));
    EXPECT_EQ(2, (int)::SendMessageA(set->m_combo, CB_GETCURSEL, 0, 0));
    EXPECT_EQ(2, panel.GetCurrentPage());
    EXPECT_TRUE(::IsWindowVisible(set->Page(2)->m_buttons[0]->m_hWnd));
    EXPECT_FALSE(::IsWindowVisible(set->Page(0)->m_buttons[0]->m_hWnd));
    EXPECT_EQ(1, pageButton->m_marked);
    ::SendMessageA(set->m_combo, CB_SETCURSEL, 1, 0);
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(2000, CBN_SELCHANGE), (LPARAM)set->m_combo);
    EXPECT_EQ(1, panel.GetCurrentPage());
    EXPECT_EQ(1, set->m_typeSel.m_buttons[1]->m_marked);
    EXPECT_EQ(0, pageButton->m_marked);
    EXPECT_EQ("P1", set->m_typeSel.m_selected);
}

TEST_F(CmdPanelTest, ARunningCommandMarksItsButtonsOnEveryPage) {
    CCmdPanel& panel = MakePanel(800, 120);
    CCmdPanelSet* set = panel.PageSet();
    ASSERT_NE(nullptr, set);
    EXPECT_EQ(0, ::SendMessageA(panel.m_hWnd, UM_CMD_BUSY, 5010, 1));
    EXPECT_EQ(1, set->Page(0)->m_buttons[2]->m_marked);
    EXPECT_EQ(1, set->Page(1)->m_buttons[0]->m_marked);
    EXPECT_EQ(0, set->Page(0)->m_buttons[0]->m_marked);
    ::SendMessageA(panel.m_hWnd, UM_CMD_BUSY, 5010, 0);
    EXPECT_EQ(0, set->Page(1)->m_buttons[0]->m_marked);
    EXPECT_EQ((LRESULT)set, ::SendMessageA(panel.m_hWnd, WM_COMMAND, 101, 0));
}

// A page not shown yet keeps the marks given meanwhile: shown, its button
// is there, laid out in the panel and marked.
TEST_F(CmdPanelTest, APageShownLaterShowsTheMarksGivenBefore) {
    CCmdPanel& panel = MakePanel(800, 120);
    CCmdPanelSet* set = panel.PageSet();
    ASSERT_NE(nullptr, set);
    ::SendMessageA(panel.m_hWnd, UM_CMD_BUSY, 5010, 1);
    ::SendMessageA(set->m_combo, CB_SETCURSEL, 1, 0);
    ::SendMessageA(panel.m_hWnd, WM_COMMAND, MAKEWPARAM(2000, CBN_SELCHANGE), (LPARAM)set->m_combo);
    CCmdPnlButton* a = set->Page(1)->m_buttons.at(0).get();
    ASSERT_NE(nullptr, a->m_hWnd);
    EXPECT_TRUE(::IsWindowVisible(a->m_hWnd));
    EXPECT_EQ(panel.m_hWnd, ::GetParent(a->m_hWnd));
    EXPECT_EQ(1, a->m_marked);
    const RECT r = ButtonRect(a);
    EXPECT_GT(r.right - r.left, 0);
    EXPECT_GE(r.left, 0);
    EXPECT_LE(r.right, 800);
    ::SendMessageA(panel.m_hWnd, UM_CMD_BUSY, 5010, 0);
    EXPECT_EQ(0, a->m_marked);
}

TEST_F(CmdPanelTest, ATallPanelStandsItsButtonsInColumns) {
    CCmdPanel& panel = MakePanel(300, 900);
    CCmdPanelSet* set = panel.PageSet();
    ASSERT_NE(nullptr, set);
    CCmdPanelData* page = set->Page(0);
    const RECT r1 = ButtonRect(page->m_buttons[0].get()), r2 = ButtonRect(page->m_buttons[2].get());
    EXPECT_EQ(4, r1.left);
    EXPECT_GT(r2.left, r1.left) << "a row break starts a new column";
    EXPECT_EQ(r1.top, r2.top);
    CCmdPnlButton* pageButton = set->m_typeSel.m_buttons[0].get();
    EXPECT_EQ(1, pageButton->m_vertical);
    RECT pr = ButtonRect(pageButton);
    EXPECT_EQ(24, pr.right - pr.left);
    EXPECT_GT(pr.left, r2.right);
}

TEST_F(CmdPanelTest, AMissingFileLeavesThePanelEmpty) {
    ::DeleteFileA((install_ + "\\CmdPanel.def").c_str());
    ::DeleteFileA(UserCmdPanelPath().c_str());
    CCmdPanel& panel = MakePanel(400, 100);
    EXPECT_EQ(nullptr, panel.PageSet());
    EXPECT_EQ(-1, ::SendMessageA(panel.m_hWnd, UM_CMD_BUSY, 5010, 1));
    ASSERT_EQ(1u, boxes_.Calls().size());
    EXPECT_EQ("エラー", boxes_.Calls()[0].caption);
}

}  // namespace
