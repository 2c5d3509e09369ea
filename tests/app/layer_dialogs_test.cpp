// The page and layer dialogs in the running program, opened through their
// commands and driven by clicks and keys; what they did is read back by the
// test module through the host messages, from the saved drawing and from
// the layer pattern file.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "tests/app/app_session.h"
#include "tests/app/app_ui.h"

namespace {

using namespace appui;

const char* const kManagerCaption = "レイヤ選択（指定後 [OK] ｸﾘｯｸしてください。）";
const char* const kAddCaption = "レイヤ追加（指定後 [OK] ｸﾘｯｸしてください。）";

bool WriteEmptyDrawing(const std::string& path) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    if (!DAriCreateDB(&h)) return false;
    uint32_t status = 0;
    const bool saved = DAriSaveFileOfCWX(path.c_str(), &h, &status) != 0;
    DAriDeleteDB(&h);
    return saved;
}

// A drawing of one line on layer 3 ("外壁").
bool WriteReferenceDrawing(const std::string& path) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    if (!DAriCreateDB(&h)) return false;
    DAriSetLayerName(0, 2, "外壁", &h);
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.kind = kElmLine;
    r.colour = 1;
    r.layer = 2;
    CadSetF64(&r, kOffP2X, 50.0);
    DAriAppendElement(&r, &h);
    uint32_t status = 0;
    const bool saved = DAriSaveFileOfCWX(path.c_str(), &h, &status) != 0;
    DAriDeleteDB(&h);
    return saved;
}

// The module's reading of every page and layer: the "LAYERS" lines.
std::string Probe(AppSession& app) {
    const size_t before = app.ModuleLines("LAYERS").size();
    app.Command(31201);
    WaitUntil([&] {
        const std::vector<std::string> lines = app.ModuleLines("LAYERS");
        return lines.size() > before && lines.back() == "end";
    });
    std::string text;
    const std::vector<std::string> lines = app.ModuleLines("LAYERS");
    for (size_t i = before; i < lines.size(); ++i)
        text += lines[i] + "\n";
    return text;
}

// Rows of the manager's tree: the centre of row `row` at x.
struct TreeRows {
    HWND tree;
    int height;
    void Press(int row, int x, int button = 0) const { ClickAt(tree, x, row * height + height / 2, button); }
};

HWND OpenManager(AppSession& app, TreeRows* rows) {
    app.Command(3310);
    HWND dlg = WaitTop(app, "#32770", kManagerCaption);
    if (!dlg) return nullptr;
    rows->tree = GetDlgItem(dlg, 1131);
    rows->height = static_cast<int>(Ask(rows->tree, TVM_GETITEMHEIGHT));
    return dlg;
}

std::string PatternFile(AppSession& app) {
    for (const std::string& dir : {app.UserSettingsDir(), app.InstallDir(), app.InstallDir() + "\\SETTEI",
                                   app.UserSettingsDir() + "\\SETTEI"}) {
        const std::string path = dir + "\\LayerPattern.PTN";
        if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) return path;
    }
    return std::string();
}

// Rows of the test drawing in the manager: the page, group "A" with layers
// 1 and 4, the unnamed group with layer 6.
enum { kRowPage, kRowGroupA, kRowLayer1, kRowLayer4, kRowGroupNone, kRowLayer6 };
// Click zones of a layer row: input mark, display/detect, lock, text.
constexpr int kInputX = 142, kStateX = 156, kLockX = 170, kTextX = 260;

TEST(LayerDialogs, TheLayerManagerSwitchesLocksRenamesAndChoosesTheInputLayerAndTheDrawingKeepsIt) {
    AppSession app("layerdlg");
    ASSERT_TRUE(app.Prepared()) << app.LastError();
    const std::string plan = app.UserDir() + "\\layers.tcf";
    ASSERT_TRUE(WriteEmptyDrawing(plan));
    ASSERT_TRUE(app.Start("\"" + plan + "\"")) << app.LastError();
    ASSERT_TRUE(app.WaitDrawingCount(1));
    app.Command(31200);
    ASSERT_TRUE(app.WaitModuleLine("LAYERS")) << app.ModuleLog();

    // A change followed by Cancel leaves the drawing as it was.
    TreeRows rows = {};
    HWND dlg = OpenManager(app, &rows);
    ASSERT_NE(nullptr, dlg);
    EXPECT_EQ(45, Ask(rows.tree, TVM_GETINDENT)) << "the zones count on 45 pixels a level";
    rows.Press(kRowLayer4, kStateX);
    Shot(dlg, "layer_manager");
    // Escape in the rename edit closes the edit, not the dialog.
    rows.Press(kRowLayer6, kTextX);
    Sleep(Scaled(300));
    rows.Press(kRowLayer6, kTextX);
    HWND rename = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (rename = FindWindowExA(rows.tree, nullptr, "Edit", nullptr)) != nullptr; }));
    SetText(rename, "捨てる");
    Key(rename, VK_ESCAPE);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(rename); }));
    EXPECT_TRUE(IsWindowVisible(dlg));
    Click(dlg, IDCANCEL);
    ASSERT_TRUE(WaitHidden(dlg));
    EXPECT_NE(Probe(app).find("layer 0 4 shown=1 detect=1 lock=0 group=A name=柱"), std::string::npos);

    // The pattern dialog saves the page as a pattern, byte for byte.
    dlg = OpenManager(app, &rows);
    ASSERT_NE(nullptr, dlg);
    Click(dlg, 202);
    HWND patterns = WaitTop(app, "#32770", "パターン一覧");
    ASSERT_NE(nullptr, patterns) << TopCaptions(app);
    SetText(GetDlgItem(patterns, 404), "基本");
    Click(patterns, 401);
    ASSERT_TRUE(WaitUntil([&] { return Ask(GetDlgItem(patterns, 403), LB_GETCOUNT) == 1; }));
    Shot(patterns, "layer_patterns");
    Click(patterns, IDCANCEL);
    ASSERT_TRUE(WaitHidden(patterns));
    const std::string file = PatternFile(app);
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(
        "[VER]\r\nVER=3.0\r\n[PLISTNAME]\r\n0=基本\r\n[基本]\r\n0=\"000011壁\"\r\n0Grp=\"A\"\r\n"
        "1=\"000311柱\"\r\n1Grp=\"A\"\r\n2=\"000511寸法\"\r\n2Grp=\"\"\r\n3=\r\n3Grp=\r\n",
        ReadFileBytes(file));

    // Clicks on the icons, an in-place rename and OK.
    rows.Press(kRowLayer4, kStateX);      // left: hidden
    rows.Press(kRowLayer1, kStateX, 1);   // right: shown only
    rows.Press(kRowLayer1, kLockX);       // locked
    rows.Press(kRowLayer6, kInputX);      // the input layer
    rows.Press(kRowLayer6, kTextX);       // the text once,
    Sleep(Scaled(300));
    rows.Press(kRowLayer6, kTextX);       // and again: the rename edit
    HWND edit = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (edit = FindWindowExA(rows.tree, nullptr, "Edit", nullptr)) != nullptr; }));
    SetText(edit, "寸法線");
    Key(edit, VK_RETURN);
    ASSERT_TRUE(WaitUntil([&] { return !IsWindow(edit); }));
    // "ﾚｲﾔ追加" proposes the first free number above the selected layer 6,
    // in its group.
    Click(dlg, 200);
    HWND add = WaitTop(app, "#32770", kAddCaption);
    ASSERT_NE(nullptr, add) << TopCaptions(app);
    EXPECT_EQ("   7", Text(GetDlgItem(add, 300)));
    SetText(GetDlgItem(add, 302), "追加");
    Shot(add, "layer_add");
    Click(add, IDOK);
    ASSERT_TRUE(WaitHidden(add));
    Shot(dlg, "layer_manager_changed");
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitHidden(dlg));
    std::string probe = Probe(app);
    EXPECT_NE(probe.find("current page=0 input=6"), std::string::npos) << probe;
    EXPECT_NE(probe.find("layer 0 1 shown=1 detect=0 lock=1 group=A name=壁"), std::string::npos) << probe;
    EXPECT_NE(probe.find("layer 0 4 shown=0 detect=0 lock=0 group=A name=柱"), std::string::npos) << probe;
    EXPECT_NE(probe.find("layer 0 6 shown=1 detect=1 lock=0 group= name=寸法線"), std::string::npos) << probe;
    EXPECT_NE(probe.find("layer 0 7 shown=1 detect=1 lock=0 group= name=追加"), std::string::npos) << probe;

    // The tool panel's add-layer dialog writes straight into the drawing.
    app.Command(3315);
    HWND add2 = WaitTop(app, "#32770", kAddCaption);
    ASSERT_NE(nullptr, add2) << TopCaptions(app);
    SetText(GetDlgItem(add2, 300), "20");
    SetText(GetDlgItem(add2, 303), "B");
    SetText(GetDlgItem(add2, 302), "独立");
    Click(add2, IDOK);
    ASSERT_TRUE(WaitHidden(add2));
    probe = Probe(app);
    EXPECT_NE(probe.find("layer 0 20 shown=1 detect=1 lock=0 group=B name=独立"), std::string::npos) << probe;

    // The input-layer dialog: a click on the line of layer 4.
    app.Command(3311);
    HWND input = WaitTop(app, "#32770", "入力レイヤ設定");
    ASSERT_NE(nullptr, input);
    HWND list = GetDlgItem(input, 1136);
    ASSERT_EQ(5, Ask(list, LB_GETCOUNT)) << "layers 1, 4, 6, 7 and 20";
    const int lineHeight = static_cast<int>(Ask(list, LB_GETITEMHEIGHT));
    ClickAt(list, 20, lineHeight + lineHeight / 2);
    Shot(input, "input_layer");
    ASSERT_TRUE(WaitUntil([&] { return Probe(app).find("current page=0 input=4") != std::string::npos; }));
    Click(input, IDCANCEL);
    ASSERT_TRUE(WaitHidden(input));

    // Delete a layer and move another to a group of its own. Rows now: the
    // page, A, 1, 4, the unnamed group, 6, 7, B, 20.
    dlg = OpenManager(app, &rows);
    ASSERT_NE(nullptr, dlg);
    rows.Press(6, kTextX);  // layer 7
    Click(dlg, 1000);
    ASSERT_TRUE(WaitUntil([&] { return Ask(rows.tree, TVM_GETCOUNT) == 8; })) << "layer 7 gone";
    rows.Press(5, kTextX);  // layer 6
    Click(dlg, 204);
    HWND edit6 = WaitTop(app, "#32770", "レイヤ編集");
    ASSERT_NE(nullptr, edit6) << TopCaptions(app);
    EXPECT_EQ("寸法線", Text(GetDlgItem(edit6, 302)));
    SetText(GetDlgItem(edit6, 303), "B");
    Click(edit6, IDOK);
    ASSERT_TRUE(WaitHidden(edit6));
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitHidden(dlg));
    probe = Probe(app);
    EXPECT_NE(probe.find("layer 0 6 shown=1 detect=1 lock=0 group=B name=寸法線"), std::string::npos) << probe;
    EXPECT_EQ(std::string::npos, probe.find("layer 0 7 ")) << probe;
    EXPECT_NE(probe.find("current page=0 input=4"), std::string::npos) << probe;

    // The saved drawing holds the names, groups and bits.
    app.Command(4012);
    if (HWND box = app.WaitBox(Scaled(5000))) app.Post(box, WM_COMMAND, IDOK);
    ASSERT_TRUE(app.Close()) << app.LastError();
    DbHeader saved;
    std::memset(&saved, 0, sizeof saved);
    ASSERT_EQ(1, DAriCreateDB(&saved));
    uint32_t status = 0;
    ASSERT_EQ(1, DAriLoadFileOfCWX(plan.c_str(), &saved, &status));
    std::unique_ptr<LayerTable> table(new LayerTable());
    DAriGetLayerInfo(0, table.get(), &saved);
    auto bit = [](const uint16_t* words, int layer) { return (words[layer / 16] >> (layer % 16)) & 1; };
    EXPECT_STREQ("寸法線", table->names[5] ? table->names[5] : "");
    EXPECT_STREQ("A", table->groupNames[3]);
    EXPECT_STREQ("B", table->groupNames[5]);
    EXPECT_EQ(0, bit(table->display, 3));
    EXPECT_EQ(1, bit(table->lock, 0));
    EXPECT_EQ(0, bit(table->detect, 0));
    DAriDeleteDB(&saved);
}

TEST(LayerDialogs, PageDialogsEditTitlesAndStatesAndTheManagerDeletesASubtreeAndAddsAPage) {
    AppSession app("pagedlg");
    ASSERT_TRUE(app.Prepared()) << app.LastError();
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    app.Command(31202);
    ASSERT_TRUE(app.WaitModuleLine("LAYERS")) << app.ModuleLog();

    // Page information: page 0's title typed, page 1 switched off by a left
    // click on its state icon.
    app.Command(4038);
    HWND dlg = WaitTop(app, "#32770", "ページ情報設定");
    ASSERT_NE(nullptr, dlg);
    SetText(GetDlgItem(dlg, 101), "本図");
    HWND tree = GetDlgItem(dlg, 1131);
    const int height = static_cast<int>(Ask(tree, TVM_GETITEMHEIGHT));
    ClickAt(tree, 29 + 8, height + height / 2);  // row 1: page 1, one level in, its icon
    Shot(dlg, "page_edit");
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitHidden(dlg));
    std::string probe = Probe(app);
    EXPECT_NE(probe.find("page 0 parent=0 shown=1 detect=1 title=本図"), std::string::npos) << probe;
    EXPECT_NE(probe.find("page 1 parent=0 shown=0 detect=0 title=一階"), std::string::npos) << probe;
    EXPECT_NE(probe.find("page 2 parent=1 shown=1 detect=1 title=二階"), std::string::npos) << probe;

    // The page manager: deleting page 1 takes page 2 (placed on it) along;
    // a new page gets the free number 1.
    app.Command(4037);
    dlg = WaitTop(app, "#32770", "ページ管理（指定後 [OK] ｸﾘｯｸしてください。）");
    ASSERT_NE(nullptr, dlg);
    HWND list = GetDlgItem(dlg, 1146);
    ASSERT_EQ(2, Ask(list, LB_GETCOUNT));
    Shot(dlg, "page_manager");
    Ask(list, LB_SETSEL, TRUE, 0);
    Click(dlg, 15);
    HWND box = WaitTop(app, "#32770", "ページ削除");
    ASSERT_NE(nullptr, box);
    app.Post(box, WM_COMMAND, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return Ask(list, LB_GETCOUNT) == 0; })) << "the page and the page on it";
    Click(dlg, 14);
    HWND add = WaitTop(app, "#32770", "ページ追加");
    ASSERT_NE(nullptr, add);
    SetText(GetDlgItem(add, 101), "三階");
    Shot(add, "page_add");
    Click(add, IDOK);
    ASSERT_TRUE(WaitHidden(add));
    ASSERT_TRUE(WaitUntil([&] { return Ask(list, LB_GETCOUNT) == 1; }));
    // An external reference: a drawing with one line on its layer 3.
    const std::string ref = app.UserDir() + "\\ref.tcf";
    ASSERT_TRUE(WriteReferenceDrawing(ref));
    Click(dlg, 13);
    HWND files = WaitTop(app, "#32770", "外部参照");
    ASSERT_NE(nullptr, files) << TopCaptions(app);
    HWND nameBox = GetDlgItem(files, 0x480);  // the file-name box
    if (!nameBox) nameBox = GetDlgItem(files, 0x47c);
    ASSERT_NE(nullptr, nameBox);
    SetText(nameBox, ref.c_str());
    PostMessageA(GetDlgItem(files, IDOK), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitUntil([&] { return Ask(list, LB_GETCOUNT) == 2; })) << TopCaptions(app);
    Shot(dlg, "page_manager_reference");
    Click(dlg, IDOK);
    ASSERT_TRUE(WaitHidden(dlg));
    probe = Probe(app);
    EXPECT_NE(probe.find("page 1 parent=0 shown=1 detect=1 title=三階 ext=0"), std::string::npos) << probe;
    EXPECT_NE(probe.find("page 2 parent=0 shown=1 detect=1 title= ext=1"), std::string::npos) << probe;
    EXPECT_NE(probe.find("layer 2 3 shown=1 detect=1 lock=0 group= name=外壁"), std::string::npos) << probe;
    EXPECT_EQ(1, app.SendFrame(UM_GET_ELEMENT_COUNT)) << "the referenced line on page 2";
}

}  // namespace
