// The two editors as dialogs: the command-panel editor over a page set read
// from a private CmdPanel.def, and the shortcut-key editor over a key list.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "base/user_folder.h"
#include "panels/cmd_panel_editor.h"
#include "panels/key_editor.h"
#include "tests/app/app_shots.h"
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

void Write(const std::string& path, const std::string& body, const char* root, const char* section) {
    std::ofstream f(path, std::ios::binary);
    f << "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<" << root << "><" << section << ">" << body << "</"
      << section << "></" << root << ">";
}

// Shows a modeless dialog and lets it paint before its picture is taken.
void ShowAndShoot(HWND dialog, const char* name) {
    ::ShowWindow(dialog, SW_SHOW);
    ::RedrawWindow(dialog, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    const DWORD start = ::GetTickCount();
    MSG m;
    while (::GetTickCount() - start < 300)
        while (::PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageA(&m);
    ShotWindow(dialog, name, 0);
}

std::vector<std::string> ListTexts(HWND list) {
    std::vector<std::string> out;
    const int n = (int)::SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        char text[256] = {};
        ::SendMessageA(list, LB_GETTEXT, i, (LPARAM)text);
        out.push_back(text);
    }
    return out;
}

class EditorDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        install_ = TempDir("zav_ed_install");
        user_ = TempDir("zav_ed_user");
        Write(install_ + "\\CmdPanel.def",
              "<P0><data><item>one,5001,t</item><item>\\n</item><item>two,5002,t</item><item>\\n</item>"
              "<item>three,5003,t</item></data></P0><P1><data><item>a,5010,t</item></data></P1>",
              "CmdPanel", "PanelInfo");
        Write(install_ + "\\CmdPanelBase.def",
              "<G><data><item>線分,6000,線分を作図,1</item><item>円,6020,円を作図,1</item></data></G>",
              "CmdPanelBase", "PanelInfo");
        Write(install_ + "\\CmdKeyBase.def",
              "<G><data><item>線分,6000,線分を作図</item><item>円,6020,円を作図</item></data></G>", "CmdKeyBase",
              "KeyInfo");
        SetUserFolderOverrides(user_.c_str(), user_.c_str(), install_.c_str());
        ::DeleteFileA(UserCmdPanelPath().c_str());
        ASSERT_EQ(0, pages_.Load(UserCmdPanelPath().c_str(), nullptr));
        LoadCmdButtonImages((DistDir() + "\\Images\\Button1").c_str());
    }
    void TearDown() override { SetUserFolderOverrides("", "", ""); }
    std::vector<CmdPanelPageDef> Saved() {
        std::vector<CmdPanelPageDef> defs;
        LoadCmdPanelPages(UserCmdPanelPath().c_str(), nullptr, defs, nullptr);
        return defs;
    }
    std::string install_, user_;
    CCmdPanelSet pages_;
    win::MessageBoxTestHook boxes_;
};

TEST_F(EditorDialogTest, AChangeIsSavedWithEveryRowAndTheOrder) {
    RegisterPanelGridClass();
    CCustCmdPanelDlg dlg(&pages_);
    ASSERT_NE(nullptr, dlg.Create(nullptr));
    HWND grid = dlg.GetDlgItem(1809);
    ASSERT_NE(nullptr, grid);
    RECT rc;
    ::GetClientRect(grid, &rc);
    EXPECT_EQ(2, rc.right / kGridCellWidth) << "the grid shows two panel rows";
    ShowAndShoot(dlg.m_hWnd, "cmdpanel-editor");
    // The second panel row's first button, then the catalogue's second line.
    ::SendMessageA(grid, WM_LBUTTONDOWN, 0, MAKELPARAM(150, 10));
    EXPECT_EQ(1, dlg.Model(0)->m_column);
    ::SendDlgItemMessageA(dlg.m_hWnd, 1136, LB_SETCURSEL, 1, 0);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1805, 0);
    EXPECT_TRUE(dlg.Modified());
    boxes_.Answer(IDOK);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
    const std::vector<CmdPanelPageDef> saved = Saved();
    ASSERT_EQ(2u, saved.size());
    EXPECT_EQ("P0", saved[0].name);
    EXPECT_EQ((std::vector<std::string>{"one,5001,t", "\\n", "円,6020,円を作図,1", "\\n", "three,5003,t"}),
              saved[0].items);
    EXPECT_EQ("P1", saved[1].name);
}

TEST_F(EditorDialogTest, RefusedOperationsAndCancelChangeNothing) {
    RegisterPanelGridClass();
    const std::vector<CmdPanelPageDef> before = Saved();
    CCustCmdPanelDlg dlg(&pages_);
    ASSERT_NE(nullptr, dlg.Create(nullptr));
    HWND grid = dlg.GetDlgItem(1809);
    ::SendMessageA(grid, WM_LBUTTONDOWN, 0, MAKELPARAM(50, 45));  // column 0, row 1: the first button
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1803, 0);            // up: refused
    ::SendMessageA(grid, WM_LBUTTONDOWN, 0, MAKELPARAM(50, 80));  // the empty place below it
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1804, 0);            // delete: refused
    EXPECT_FALSE(dlg.Modified());
    ::SendDlgItemMessageA(dlg.m_hWnd, 1136, LB_SETCURSEL, 0, 0);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1806, 0);  // insert at the empty place
    EXPECT_TRUE(dlg.Modified());
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, IDCANCEL, 0);
    const std::vector<CmdPanelPageDef> after = Saved();
    ASSERT_EQ(before.size(), after.size());
    EXPECT_EQ(before[0].items, after[0].items);
    EXPECT_EQ(before[0].items, pages_.Page(0)->m_items);
}

struct KeyStore {
    static std::vector<ACCEL> keys, saved;
    static int savedCount;
};
std::vector<ACCEL> KeyStore::keys, KeyStore::saved;
int KeyStore::savedCount = 0;

TEST_F(EditorDialogTest, KeyEditorAssignsToTheShownKeys) {
    KeyEditorHooks saved = GetKeyEditorHooks();
    KeyStore::keys = {{FVIRTKEY, VK_F5, 6020},
                      {FVIRTKEY | FSHIFT, VK_F5, 0},
                      {FVIRTKEY | FNOINVERT, VK_F6, 0},
                      {FVIRTKEY | FALT, VK_F7, 6000}};
    KeyStore::savedCount = 0;
    GetKeyEditorHooks().readCustomKeys = [](void*, std::vector<ACCEL>& k, int) {
        k.insert(k.end(), KeyStore::keys.begin(), KeyStore::keys.end());
        return 0;
    };
    GetKeyEditorHooks().saveCustomKeys = [](void*, const std::vector<ACCEL>& k) {
        KeyStore::saved = k;
        ++KeyStore::savedCount;
        return 0;
    };
    GetKeyEditorHooks().keyText = [](WORD key) { return std::string(key == VK_F5 ? "F5" : key == VK_F6 ? "F6" : "F7"); };
    int accelerator = 0;
    CCustCmdKeyDlg dlg(&pages_, &accelerator);
    ASSERT_NE(nullptr, dlg.Create(nullptr));
    HWND keys = dlg.GetDlgItem(1137);
    EXPECT_EQ((std::vector<std::string>{"F5          円", "F6          "}), ListTexts(keys));
    ::SendMessageA(keys, LB_SETCURSEL, 1, 0);
    ::SendDlgItemMessageA(dlg.m_hWnd, 1136, LB_SETCURSEL, 0, 0);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1805, 0);
    EXPECT_EQ((std::vector<std::string>{"F5          円", "F6          線分"}), ListTexts(keys));
    ShowAndShoot(dlg.m_hWnd, "cmdpanel-key-editor");
    ::CheckDlgButton(dlg.m_hWnd, 1808, BST_CHECKED);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, 1808, 0);
    EXPECT_EQ((std::vector<std::string>{"F5          "}), ListTexts(keys));
    boxes_.Answer(IDOK);
    ::SendMessageA(dlg.m_hWnd, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(1, KeyStore::savedCount);
    ASSERT_EQ(4u, KeyStore::saved.size());
    EXPECT_EQ(6000, KeyStore::saved[2].cmd);
    EXPECT_EQ(6020, KeyStore::saved[0].cmd);
    GetKeyEditorHooks() = saved;
}

}  // namespace
