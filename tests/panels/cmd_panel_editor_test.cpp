// The command-panel editor's grid model and the shortcut-key editor's
// filters and lines.
#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "panels/cmd_panel_def.h"
#include "panels/cmd_panel_editor_model.h"
#include "panels/key_editor_model.h"

namespace {

using Lines = std::vector<std::string>;
const std::string kBreak = "\\n";

TEST(PanelGridModel, BuildsColumnsFromPanelRows) {
    PanelGridModel m("P", {"a", "b", kBreak, "c"});
    EXPECT_EQ("P", m.Name());
    EXPECT_EQ("a", m.Find(0, 1)->text);
    EXPECT_EQ("b", m.Find(0, 2)->text);
    EXPECT_EQ("c", m.Find(1, 0)->text);
    struct Row {
        int column, row, state;
    } rows[] = {{0, 0, 0}, {0, 1, 1}, {0, 3, 2}, {0, 4, -1}, {1, 0, 1}, {1, 1, 2}, {2, 0, 2}, {2, 1, -1}};
    for (const Row& r : rows) EXPECT_EQ(r.state, m.CellState(r.column, r.row)) << r.column << "," << r.row;
    EXPECT_EQ((Lines{"a", "b", kBreak, "c"}), m.Entries());
}

TEST(PanelGridModel, APageOfOneRowIsWrittenWithItsRowBreak) {
    EXPECT_EQ((Lines{"a", kBreak}), PanelGridModel("P", {"a"}).Entries());
}

// Rows beyond the second, which the grid does not show, are written back.
TEST(PanelGridModel, RowsBelowTheSecondSurvive) {
    const Lines page = {"a", kBreak, "b", kBreak, "c", "d", kBreak, "e"};
    PanelGridModel m("P", page);
    EXPECT_EQ(page, m.Entries());
    ASSERT_TRUE(m.Select(0, 1));
    ASSERT_EQ(0, m.Change("A"));
    EXPECT_EQ((Lines{"A", kBreak, "b", kBreak, "c", "d", kBreak, "e"}), m.Entries());
}

TEST(PanelGridModel, OperationsAtTheSelection) {
    struct Case {
        const char* what;
        int column, row;
        char op;  // u up, d down, x delete, c change, i insert
        int result;
        Lines after;
        int selectedRow;
    } cases[] = {
        {"up in the first row", 0, 2, 'u', 0, {"b", "a", kBreak, "c"}, 1},
        {"up from row 1 of column 0", 0, 1, 'u', -1, {"a", "b", kBreak, "c"}, 1},
        {"up from row 0", 1, 0, 'u', -1, {"a", "b", kBreak, "c"}, 0},
        {"down", 0, 1, 'd', 0, {"b", "a", kBreak, "c"}, 2},
        {"down from the last", 0, 2, 'd', -1, {"a", "b", kBreak, "c"}, 2},
        {"delete", 0, 1, 'x', 0, {"b", kBreak, "c"}, 1},
        {"delete the empty place", 0, 3, 'x', -1, {"a", "b", kBreak, "c"}, 3},
        {"change", 1, 0, 'c', 0, {"a", "b", kBreak, "n"}, 0},
        {"change the empty place", 1, 1, 'c', -1, {"a", "b", kBreak, "c"}, 1},
        {"insert before", 0, 1, 'i', 0, {"n", "a", "b", kBreak, "c"}, 1},
        {"insert at the empty place appends", 1, 1, 'i', 0, {"a", "b", kBreak, "c", "n"}, 1},
        {"insert in a new row", 2, 0, 'i', 0, {"a", "b", kBreak, "c", kBreak, "n"}, 0},
    };
    for (const Case& c : cases) {
        PanelGridModel m("P", {"a", "b", kBreak, "c"});
        ASSERT_TRUE(m.Select(c.column, c.row)) << c.what;
        int result = 0;
        switch (c.op) {
        case 'u': result = m.MoveUp(); break;
        case 'd': result = m.MoveDown(); break;
        case 'x': result = m.Delete(); break;
        case 'c': result = m.Change("n"); break;
        case 'i': result = m.Insert("n"); break;
        }
        EXPECT_EQ(c.result, result) << c.what;
        EXPECT_EQ(c.after, m.Entries()) << c.what;
        EXPECT_EQ(c.selectedRow, m.m_row) << c.what;
    }
}

TEST(PanelGridModel, OnlyCellsAndFreePlacesAreSelectable) {
    PanelGridModel m("P", {"a", kBreak, "c"});
    EXPECT_FALSE(m.Select(0, 0));
    EXPECT_FALSE(m.Select(0, 5));
    EXPECT_TRUE(m.Select(1, 1));
    EXPECT_EQ(1, m.m_column);
    // At the page-name cell nothing is done.
    PanelGridModel n("P", {"a"});
    for (int op = 0; op < 5; ++op) {
        const int r = op == 0 ? n.MoveUp() : op == 1 ? n.MoveDown() : op == 2 ? n.Delete() : op == 3 ? n.Change("x") : n.Insert("x");
        EXPECT_EQ(-1, r) << op;
    }
}

TEST(PanelGridModel, AFullColumnTakesNoMore) {
    Lines page;
    for (int i = 0; i < PanelGridModel::kRowCapacity - 1; ++i) page.push_back("b" + std::to_string(i));
    PanelGridModel m("P", page);
    ASSERT_TRUE(m.Select(0, 1));
    EXPECT_EQ(-1, m.Insert("n"));
    page.push_back(kBreak);
    EXPECT_EQ(page, m.Entries());
}

TEST(KeyEditor, FilterShowsExactlyTheChosenModifiers) {
    struct Row {
        BYTE flags;
        bool shift, ctrl, shown;
    } rows[] = {
        {FVIRTKEY, false, false, true},
        {FVIRTKEY | FNOINVERT, false, false, true},
        {FVIRTKEY | FSHIFT, false, false, false},
        {FVIRTKEY | FSHIFT, true, false, true},
        {FVIRTKEY | FCONTROL, false, true, true},
        {FVIRTKEY | FSHIFT | FCONTROL, true, false, false},
        {FVIRTKEY | FSHIFT | FCONTROL, true, true, true},
        {FVIRTKEY | FALT, false, false, false},
        {FVIRTKEY | FALT | FCONTROL, false, true, false},
    };
    for (const Row& r : rows)
        EXPECT_EQ(r.shown, KeyEntryShown(r.flags, KeyListFilter(r.shift, r.ctrl)))
            << (int)r.flags << " " << r.shift << r.ctrl;
}

TEST(KeyEditor, LinesKeepTheKeyColumn) {
    EXPECT_EQ("F5          線分", KeyListLine("F5", "  線分 "));
    EXPECT_EQ("Delete      ", KeyListLine("Delete", ""));
    EXPECT_EQ("F5          円", ReplaceKeyLineCommand("F5          線分", "円"));
    EXPECT_EQ("F5          ", ReplaceKeyLineCommand("F5          線分", ""));
    EXPECT_EQ("線分           ：線分を作図", CatalogueLine("線分", "線分を作図"));
}

TEST(KeyEditor, CategoriesAfterTheArchitecturePageNeedALivePage) {
    const Lines catalogue = {"作図", "編集", "建築図面", "設備"};
    EXPECT_EQ((Lines{"作図", "編集"}), KeyCategoryNames(catalogue, {"作図", "ファイル"}));
    EXPECT_EQ((Lines{"作図", "編集", "設備", "建築図面"}), KeyCategoryNames(catalogue, {"設備", "建築図面", "作図"}));
}

TEST(KeyEditor, CommandNamesTakeTheLastLabel) {
    const std::vector<CmdPanelPageDef> pages = {{"A", {"線分,6000,t", "\\n", "zero,0,t"}}, {"B", {"線,6000,t", "円,6020,t,1"}}};
    const std::map<int, std::string> names = KeyCommandNames(pages);
    EXPECT_EQ("線", names.at(6000));
    EXPECT_EQ("円", names.at(6020));
    EXPECT_EQ(0u, names.count(0));
}

}  // namespace
