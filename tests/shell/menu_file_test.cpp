// The menu file: grammar, greying, the Window menu and the installed bar.
#include <gtest/gtest.h>

#include <set>

#include "shell/main_menu.h"
#include "shell/shell_seams.h"
#include "shell/toolbar_tables.h"
#include "shell_fixture.h"

namespace {

std::string Text(HMENU m, int pos) {
    char buf[256] = {};
    GetMenuStringA(m, pos, buf, sizeof buf, MF_BYPOSITION);
    return buf;
}

UINT State(HMENU m, UINT id) { return GetMenuState(m, id, MF_BYCOMMAND); }

struct ModuleHook {
    explicit ModuleHook(std::function<int(int)> f) { MenuModuleExistsHook = f; }
    ~ModuleHook() { MenuModuleExistsHook = nullptr; }
};

const char kMenu[] =
    "// heading comment\n"
    "POPUP \"ファイル(&F)\"\n"
    "BEGIN\n"
    "    MENUITEM \"新規作成\", 4000, -1\n"
    "    MENUITEM SEPARATOR\n"
    "    MENUITEM \"区切り SEPARATOR です\", 4001\n"
    "    POPUP \"読込\"\n"
    "    BEGIN\n"
    "        MENUITEM \"DXF\", 5103\n"
    "        POPUP \"深い\"\n"
    "        BEGIN\n"
    "            MENUITEM \"表示\", 5104, -1\n"
    "        END\n"
    "    END\n"
    "    ; comment\n"
    "    MENUITEM \"見出し\", 99999, -1\n"
    "    MENUITEM \"出力\", 5300\n"
    "END\n"
    "POPUP \"ｳｨﾝﾄﾞｳ(&W)\"\n"
    "BEGIN\n"
    "    MENUITEM \"重ねて表示\\tShift+F5\", 1200, -1\n"
    "END\n"
    "POPUP \"ヘルプ(&H)\"\n"
    "BEGIN\n"
    "    MENUITEM \"バージョン情報\", 57664, -1\n"
    "END\n";

TEST(MenuFile, BuildsNestedPopupsAndGreysMissingModules) {
    ShellEnvironment env;
    ModuleHook hook([](int id) { return id < 5000 ? 1 : 0; });
    std::string path = env.folder.Write("menu.mnu", kMenu);
    CMainMenu menu;
    ASSERT_EQ(0, menu.Load(path.c_str()));
    EXPECT_EQ(1, menu.Load(path.c_str()));
    HMENU bar = menu.Handle();
    ASSERT_EQ(3, GetMenuItemCount(bar));
    EXPECT_EQ("ファイル(&F)", Text(bar, 0));
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(6, GetMenuItemCount(file));
    EXPECT_TRUE(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR);
    EXPECT_TRUE(GetMenuState(file, 2, MF_BYPOSITION) & MF_SEPARATOR) << "a text with SEPARATOR";
    HMENU deep = GetSubMenu(GetSubMenu(file, 3), 1);
    ASSERT_NE(nullptr, deep);
    EXPECT_EQ("表示", Text(deep, 0));
    struct {
        UINT id;
        bool grey;
        const char* why;
    } rows[] = {
        {4000, false, "module present"}, {5103, true, "module missing"}, {5104, false, "flag -1 keeps it"},
        {99999, true, "a heading"},      {5300, true, "module missing"}, {1200, false, "flag -1"},
    };
    for (auto& r : rows)
        EXPECT_EQ(r.grey, (State(bar, r.id) & MF_GRAYED) != 0) << r.id << " " << r.why;
    EXPECT_EQ("重ねて表示\tShift+F5", Text(GetSubMenu(bar, 1), 0));
    EXPECT_EQ(2, menu.WindowMenuPos());
    EXPECT_EQ("ｳｨﾝﾄﾞｳ(&W)", menu.WindowMenuName());
    EXPECT_EQ(GetSubMenu(bar, 1), menu.WindowPopup()) << "the popup holding 1200";
    EXPECT_EQ(GetSubMenu(bar, 1), FindWindowPopup(bar, 2, nullptr));
    EXPECT_EQ(GetSubMenu(bar, 1), FindWindowPopup(bar, 9, "ｳｨﾝﾄﾞｳ(&W)")) << "outside: 2";
    EXPECT_EQ(nullptr, FindWindowPopup(bar, 1, nullptr));
}

TEST(MenuFile, BeginWithoutPopupAndMissingFiles) {
    ShellEnvironment env;
    std::string path = env.folder.Write("odd.mnu",
                                        "MENUITEM \"上\", 4000, -1\n"
                                        "BEGIN\n"
                                        "MENUITEM \"次\", 4001, -1\n"
                                        "END\n"
                                        "MENUITEM \"読まれない\", 4002, -1\n");
    CMainMenu menu;
    ASSERT_EQ(0, menu.Load(path.c_str()));
    ASSERT_EQ(2, GetMenuItemCount(menu.Handle())) << "the END ends the top level";
    EXPECT_EQ(11, menu.WindowMenuPos()) << "no Window menu: the position stays";
    EXPECT_EQ(nullptr, FindWindowPopup(menu.Handle(), 11, nullptr));
    CMainMenu missing;
    EXPECT_EQ(-1, missing.Load(env.folder.File("none.mnu").c_str()));
}

TEST(MenuFile, InstalledMenuBarCoversTheSystemsCommands) {
    ShellEnvironment env;
    CMainMenu menu;
    ASSERT_EQ(0, menu.LoadDefault());
    HMENU bar = menu.Handle();
    EXPECT_GE(GetMenuItemCount(bar), 10);
    EXPECT_NE(nullptr, menu.WindowPopup());
    EXPECT_EQ(menu.WindowPopup(), FindWindowPopup(bar, menu.WindowMenuPos(), nullptr));
    for (const ToolbarButtonDef& b : ToolbarButtonTable)
        EXPECT_NE(0xFFFFFFFFu, State(bar, b.commandId)) << "toolbar command " << b.commandId << " has no menu item";
    for (UINT id : {4000u,  4001u,  4005u,  4006u, 4012u, 59392u, 59393u, 40000u, 40001u, 40002u,
                    40003u, 57664u, 57649u, 1315u, 1316u, 1317u,  4039u,  4040u,  5955u,  1335u})
        EXPECT_NE(0xFFFFFFFFu, State(bar, id)) << id;
}

TEST(MenuFile, UpdateItemsWithoutDrawing) {
    ShellEnvironment env;
    CMainMenu menu;
    ASSERT_EQ(0, menu.LoadDefault());
    menu.UpdateItems(nullptr);
    EXPECT_TRUE(State(menu.Handle(), 1209) & MF_GRAYED) << "nothing to undo";
    EXPECT_FALSE(State(menu.Handle(), 1212) & MF_GRAYED);
}

}  // namespace
