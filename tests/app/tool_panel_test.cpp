// The tool panel in the running program: its pane docked in the main frame,
// attributes, layer and snap modes chosen with clicks and keys in the real
// panel, read back by the test module through the host messages and from
// the per-user settings the program writes at its close.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/app/app_session.h"
#include "tests/app/app_ui.h"

namespace {

using namespace appui;

constexpr UINT kGetCmdPanel = WM_APP + 1004;  // UM_GET_CMDPANEL

class ToolPanelApp : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Prepared()) << app.LastError(); }

    // The module's reading of the active view's attributes and input layer.
    std::vector<double> Probe() {
        const size_t before = app.ModuleValues("tattr").size();
        EXPECT_TRUE(app.Command(31000));
        std::vector<std::vector<double>> v = app.WaitModuleValues("tattr", before + 1);
        return v.size() > before ? v.back() : std::vector<double>();
    }
    HWND Item(int id) { return FindAppWindow(app, nullptr, id, nullptr, panel); }
    // Opens a selector's list with a click and moves to entry `index` with
    // the keys; Enter takes it.
    void Choose(int id, const char* listClass, int comboId, int index, const char* shot = nullptr) {
        HWND field = Item(id);
        ASSERT_NE(nullptr, field) << id;
        PressAt(field, 10, 5);
        HWND list = FindAppWindow(app, listClass, -1, nullptr, field);
        ASSERT_NE(nullptr, list) << id;
        HWND combo = FindAppWindow(app, "ComboBox", comboId, nullptr, list);
        ASSERT_NE(nullptr, combo) << id;
        Key(combo, VK_HOME);
        for (int i = 0; i < index; ++i)
            Key(combo, VK_DOWN);
        if (shot) {
            app.Send(combo, WM_NULL);  // the keys are handled
            ShotWindow(app.Frame(), shot);
        }
        Key(combo, VK_RETURN);
        struct Gone {
            HWND w;
        } gone{list};
        EXPECT_TRUE(WaitUntil([](void* c) { return !IsWindow(static_cast<Gone*>(c)->w); }, &gone)) << id;
        app.Send(panel, WM_NULL);  // the panel has taken the choice
    }

    AppSession app{"toolpanel"};
    HWND panel = nullptr;
};

TEST_F(ToolPanelApp, ChoicesInThePanelReachTheModuleAndTheSettings) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);

    // The frame hands out the panel itself; its pane is docked at the right.
    panel = reinterpret_cast<HWND>(app.SendFrame(kGetCmdPanel, 1));
    ASSERT_NE(nullptr, panel);
    EXPECT_EQ(200, GetDlgCtrlID(panel));
    HWND pane = GetParent(panel);
    char caption[64] = {};
    GetWindowTextA(pane, caption, sizeof caption);
    EXPECT_STREQ("基本操作", caption);
    EXPECT_TRUE(IsWindowVisible(pane));
    RECT fr, pr;
    GetWindowRect(app.Frame(), &fr);
    GetWindowRect(pane, &pr);
    EXPECT_GT(pr.left, (fr.left + fr.right) / 2);
    for (int id : {5001, 5002, 5004, 5000, 5003, 3312, 3405, 3408})
        EXPECT_NE(nullptr, Item(id)) << id;
    ShotWindow(app.Frame(), "toolpanel-frame");

    const std::vector<double> start = Probe();
    ASSERT_EQ(6u, start.size()) << app.ModuleLog();

    Choose(5001, "LineColorComboList", 100, 6, "toolpanel-colour-list");
    Choose(5002, "LineTypeComboList", 100, 3, "toolpanel-linetype-list");
    Choose(5004, "LineWidthComboList", 100, 5, "toolpanel-width-list");
    Choose(5000, "LineEndTypeComboList", 100, 2, "toolpanel-lineend-list");
    // The last "無し" of the list is the type 0, whatever its position.
    Choose(5003, "LineEndTypeComboList", 100, 14);
    // A new drawing's layer list is its page, the unnamed group and layer 1.
    Choose(3312, "eslayerwndclass", 1, 2);
    EXPECT_EQ((std::vector<double>{7, 3, 5, 2, 0, 0}), Probe());

    // The line settings dialog stores width and both ends.
    app.Post(panel, WM_COMMAND, 3313, 0);
    HWND dlg = FindAppTopWindow(app, "線太細・線両端");
    ASSERT_NE(nullptr, dlg);
    app.Send(GetDlgItem(dlg, 1136), LB_SETCURSEL, 2);
    app.Send(GetDlgItem(dlg, 1137), LB_SETCURSEL, 3);
    app.Send(GetDlgItem(dlg, 1138), LB_SETCURSEL, 1);
    ShotWindow(dlg, "toolpanel-line-settings");
    app.Post(dlg, WM_COMMAND, IDOK, 0);
    struct Gone {
        HWND w;
    } gone{dlg};
    ASSERT_TRUE(WaitUntil([](void* c) { return !IsWindow(static_cast<Gone*>(c)->w); }, &gone));
    EXPECT_EQ((std::vector<double>{7, 3, 2, 3, 1, 0}), Probe());

    // Attribute pick-up: the panel's button starts it, a click on the line
    // takes the line's attributes; the button is released afterwards.
    ASSERT_TRUE(app.Command(31001));
    ASSERT_TRUE(app.WaitModuleLine("tline"));
    HWND pick = Item(3408);
    PressAt(pick, 10, 5);
    struct Checked {
        AppSession* app;
        HWND w;
        LONG want;
    } pressed{&app, pick, 1};
    auto checkedIs = [](void* c) {
        auto* k = static_cast<Checked*>(c);
        return GetWindowLongA(k->w, 4) == k->want;
    };
    ASSERT_TRUE(WaitUntil(checkedIs, &pressed));
    Sleep(TestTimeScaled(500));
    app.ClickAt(view, 60.0, 20.0);
    Checked released{&app, pick, 0};
    ASSERT_TRUE(WaitUntil(checkedIs, &released));
    const std::vector<double> taken = Probe();
    EXPECT_EQ((std::vector<double>{9, 2, 4, 1, 5, 0}), taken);

    // With the confirmation dialog on, its check box makes the element's
    // layer (7) current too, and its state is kept for the next time.
    Choose(5001, "LineColorComboList", 100, 0);
    const std::string ini = app.UserSettingsDir() + "\\LocalSettings.ini";
    ASSERT_TRUE(WritePrivateProfileStringA("AttrSettings", "ViewDialog", "1", ini.c_str()));
    ASSERT_TRUE(WritePrivateProfileStringA("AttrSettings", "DlgChkLay", "1", ini.c_str()));
    PressAt(pick, 10, 5);
    ASSERT_TRUE(WaitUntil(checkedIs, &pressed));
    Sleep(TestTimeScaled(500));
    app.ClickAt(view, 60.0, 20.0);
    HWND confirm = FindAppTopWindow(app, "線分の属性を取り込みます");
    ASSERT_NE(nullptr, confirm);
    char layerText[16] = {};
    GetDlgItemTextA(confirm, 1854, layerText, sizeof layerText);
    EXPECT_STREQ("8", layerText);
    EXPECT_EQ(BST_CHECKED, app.Send(GetDlgItem(confirm, 1808), BM_GETCHECK));
    ShotWindow(confirm, "toolpanel-pickup-dialog");
    app.Post(confirm, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitUntil(checkedIs, &released));
    EXPECT_EQ((std::vector<double>{9, 2, 4, 1, 5, 7}), Probe());
    EXPECT_EQ(1u, GetPrivateProfileIntA("AttrSettings", "DlgChkLay", 0, ini.c_str()));

    // Snap modes: the seeded word is end point, intersection and free point
    // (0x68); mid point and on-line are clicked on, free point off.
    for (int id : {3404, 3412, 3405}) {
        HWND b = Item(id);
        ASSERT_NE(nullptr, b) << id;
        PressAt(b, 10, 5);
    }
    app.Send(panel, WM_NULL);
    EXPECT_EQ(1, GetWindowLongA(Item(3404), 4));
    EXPECT_EQ(1, GetWindowLongA(Item(3412), 4));
    EXPECT_EQ(0, GetWindowLongA(Item(3405), 4));
    // The drawing holds the line: its save question is answered No.
    app.Post(app.Frame(), WM_CLOSE);
    if (HWND q = app.WaitBox(5000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(app.Close()) << app.LastError();
    const std::string settings = ReadFileBytes(app.UserSettingsDir() + "\\LocalSettings.xml");
    EXPECT_NE(std::string::npos, settings.find("<LMsFg>228</LMsFg>")) << settings.substr(0, 2000);
}

TEST_F(ToolPanelApp, FieldsOfTheHostWorkInAModulesWindow) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(31002));
    ASSERT_TRUE(app.WaitModuleLine("tfieldready"));
    EXPECT_EQ((std::vector<double>{1, 1}), app.ModuleValues("tfieldready").back());
    HWND field = FindAppWindow(app, "cmdltermeclass", 77);
    ASSERT_NE(nullptr, field);
    PressAt(field, 10, 5);
    HWND drop = FindAppWindow(app, "esltermewndclass", -1, nullptr, field);
    ASSERT_NE(nullptr, drop);
    HWND combo = FindAppWindow(app, "ComboBox", 1, nullptr, drop);
    ASSERT_NE(nullptr, combo);
    Key(combo, VK_HOME);
    for (int i = 0; i < 3; ++i)
        Key(combo, VK_DOWN);
    app.Send(combo, WM_NULL);
    ShotWindow(GetParent(field), "toolpanel-module-field-list");
    Key(combo, VK_RETURN);
    auto values = app.WaitModuleValues("tfield", 1);
    ASSERT_EQ(1u, values.size()) << app.ModuleLog();
    EXPECT_EQ((std::vector<double>{3, 2}), values[0]);
}

// The grid button opens the grid dialog with a drawing open: Cancel leaves
// the grid off, OK with "表示のみ" shows it (the button says so), a click on
// the lit button puts it out. The coordinate display choice made in its
// dialog is what the dialog shows the next time.
TEST_F(ToolPanelApp, GridAndCoordinateButtonsOpenTheirDialogs) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    panel = reinterpret_cast<HWND>(app.SendFrame(kGetCmdPanel, 1));
    ASSERT_NE(nullptr, panel);
    struct Gone {
        HWND w;
    };
    auto gone = [](void* c) { return !IsWindow(static_cast<Gone*>(c)->w); };
    ASSERT_NE(nullptr, app.NewDrawing());
    HWND grid = Item(3516);
    ASSERT_NE(nullptr, grid);
    auto text = [](HWND w) {
        char t[32] = {};
        GetWindowTextA(w, t, sizeof t);
        return std::string(t);
    };
    const char* gridCaption = "グリッドの設定 指定後 [OK] ｸﾘｯｸしてください。";
    PressAt(grid, 10, 5);
    HWND dlg = FindAppTopWindow(app, gridCaption);
    ASSERT_NE(nullptr, dlg);
    app.Post(dlg, WM_COMMAND, IDCANCEL, 0);
    Gone cancelled{dlg};
    ASSERT_TRUE(WaitUntil(gone, &cancelled));
    app.Send(panel, WM_NULL);
    EXPECT_EQ(0, GetWindowLongA(grid, 4));
    EXPECT_EQ("グリッド", text(grid));

    PressAt(grid, 10, 5);
    dlg = FindAppTopWindow(app, gridCaption);
    ASSERT_NE(nullptr, dlg);
    app.Send(GetDlgItem(dlg, 1208), BM_CLICK);
    ShotWindow(dlg, "toolpanel-grid-dialog");
    app.Post(dlg, WM_COMMAND, IDOK, 0);
    Gone taken{dlg};
    ASSERT_TRUE(WaitUntil(gone, &taken));
    app.Send(panel, WM_NULL);
    EXPECT_EQ(1, GetWindowLongA(grid, 4));
    EXPECT_EQ(1, GetWindowLongA(grid, 8)) << "display only";
    EXPECT_EQ("ｸﾞﾘ/表", text(grid));

    PressAt(grid, 10, 5);
    struct Unchecked {
        HWND w;
    } unchecked{grid};
    EXPECT_TRUE(WaitUntil([](void* c) { return GetWindowLongA(static_cast<Unchecked*>(c)->w, 4) == 0; }, &unchecked));
    EXPECT_EQ("グリッド", text(grid));
    EXPECT_EQ(nullptr, FindAppTopWindow(app, gridCaption, 300)) << "putting the grid out asks nothing";

    const char* coordCaption = "座標表示モード（指定後 [OK] ｸﾘｯｸしてください。）";
    app.Post(panel, WM_COMMAND, 8003, 0);
    dlg = FindAppTopWindow(app, coordCaption);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(BST_CHECKED, app.Send(GetDlgItem(dlg, 1200), BM_GETCHECK));
    app.Send(GetDlgItem(dlg, 1201), BM_CLICK);
    app.Post(dlg, WM_COMMAND, IDOK, 0);
    Gone chosen{dlg};
    ASSERT_TRUE(WaitUntil(gone, &chosen));
    app.Post(panel, WM_COMMAND, 8003, 0);
    dlg = FindAppTopWindow(app, coordCaption);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(BST_CHECKED, app.Send(GetDlgItem(dlg, 1201), BM_GETCHECK));
    app.Post(dlg, WM_COMMAND, IDCANCEL, 0);
    Gone again{dlg};
    ASSERT_TRUE(WaitUntil(gone, &again));
}

// The layer field drops down the drawing's tree: every page, its groups and
// their layers. A layer row makes its layer current, a page row the first
// layer of that page.
TEST_F(ToolPanelApp, TheLayerFieldListsPagesGroupsAndLayers) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    panel = reinterpret_cast<HWND>(app.SendFrame(kGetCmdPanel, 1));
    ASSERT_NE(nullptr, panel);
    app.Command(31200);  // layers 1 "壁" and 4 "柱" in group "A", 6 "寸法"
    ASSERT_TRUE(app.WaitModuleLine("LAYERS")) << app.ModuleLog();
    app.Command(31202);  // pages 1 "一階" and 2 "二階"
    ASSERT_TRUE(app.WaitModuleLine("LAYERS", 2)) << app.ModuleLog();

    HWND field = Item(3312);
    ASSERT_NE(nullptr, field);
    // Opens the list and gives back its rows.
    auto open = [&](HWND* combo) {
        PressAt(field, 10, 5);
        HWND list = FindAppWindow(app, "eslayerwndclass", -1, nullptr, field);
        *combo = list ? FindAppWindow(app, "ComboBox", 1, nullptr, list) : nullptr;
        std::vector<std::string> rows;
        const int n = *combo ? (int)app.Send(*combo, CB_GETCOUNT) : 0;
        // The shown text of the list box is the selected row's.
        const int selected = *combo ? (int)app.Send(*combo, CB_GETCURSEL) : -1;
        for (int i = 0; i < n; ++i) {
            char text[300] = {};
            app.Send(*combo, CB_SETCURSEL, i);
            app.Send(*combo, WM_GETTEXT, sizeof text, (LPARAM)text);
            rows.push_back(text);
        }
        if (*combo) app.Send(*combo, CB_SETCURSEL, selected);
        return rows;
    };
    auto rowOf = [](const std::vector<std::string>& rows, const std::string& text) {
        for (size_t i = 0; i < rows.size(); ++i)
            if (rows[i].find(text) != std::string::npos) return (int)i;
        return -1;
    };
    // Until the list is gone and the panel has taken the choice.
    auto taken = [&] {
        struct Closed {
            HWND field;
        } closed{field};
        EXPECT_TRUE(WaitUntil(
            [](void* c) { return !FindWindowExA(static_cast<Closed*>(c)->field, nullptr, "eslayerwndclass", nullptr); },
            &closed));
        Sleep(TestTimeScaled(300));
        app.Send(panel, WM_NULL);
    };
    HWND combo = nullptr;
    std::vector<std::string> rows = open(&combo);
    ASSERT_NE(nullptr, combo);
    std::string all;
    for (const std::string& r : rows) all += r + "|";
    const int groupA = rowOf(rows, "  A"), wall = rowOf(rows, "壁"), post = rowOf(rows, "柱");
    const int dims = rowOf(rows, "寸法"), first = rowOf(rows, "一階"), second = rowOf(rows, "二階");
    EXPECT_GE(groupA, 1) << all;
    EXPECT_EQ(groupA + 1, wall) << all;
    EXPECT_EQ(groupA + 2, post) << all;
    EXPECT_GT(dims, post) << all;
    EXPECT_GT(first, dims) << "page 0's rows come before page 1: " << all;
    EXPECT_GT(second, first) << all;
    EXPECT_NE(std::string::npos, rows[post].find("4 柱")) << all;
    ShotWindow(app.Frame(), "toolpanel-layer-tree");

    // The layer "柱" of page 0.
    Key(combo, VK_HOME);
    for (int i = 0; i < post; ++i)
        Key(combo, VK_DOWN);
    Key(combo, VK_RETURN);
    taken();
    EXPECT_EQ(3, Probe().back());
    // The page "二階": its first layer on that page.
    rows = open(&combo);
    ASSERT_NE(nullptr, combo);
    EXPECT_EQ(post, (int)app.Send(combo, CB_GETCURSEL)) << "the current layer's row is selected";
    Key(combo, VK_HOME);
    for (int i = 0; i < second; ++i)
        Key(combo, VK_DOWN);
    Key(combo, VK_RETURN);
    taken();
    const size_t before = app.ModuleLines("LAYERS").size();
    app.Command(31201);
    ASSERT_TRUE(app.WaitModuleLine("LAYERS", before + 1)) << app.ModuleLog();
    EXPECT_NE(std::string::npos, app.ModuleLog().find("LAYERS current page=2")) << app.ModuleLog();
    // The drawing's layers were named: its save question is answered No.
    app.Post(app.Frame(), WM_CLOSE);
    if (HWND q = app.WaitBox(5000)) PostMessageA(q, WM_COMMAND, IDNO, 0);
    ASSERT_TRUE(app.Close()) << app.LastError();
}

}  // namespace
