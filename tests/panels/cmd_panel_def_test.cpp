// The command-panel definition file: entry lines, page names as element
// names, and loads and saves on disk.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "panels/cmd_panel_def.h"

namespace {

std::string TempFile(const char* name) {
    char dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    return std::string(dir) + name;
}

void WriteText(const std::string& path, const std::string& text) {
    std::ofstream f(path, std::ios::binary);
    f << text;
}

std::string ReadText(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

const char kHead[] = "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n";

TEST(CmdPanelDef, EntryLinesByFieldCount) {
    struct Row {
        const char* line;
        bool button;
        const char* label;
        int id;
        const char* tip;
        int style;
    } rows[] = {
        {"線分,6000,線分を作図", true, "線分", 6000, "線分を作図", 0},
        {"線分,6000,線分を作図,3", true, "線分", 6000, "線分を作図", 3},
        {"線分,6000,tip,3,9", true, "線分", 6000, "tip", 0},  // 5 fields: style 0
        {"\"a,b\",12,tip", true, "a,b", 12, "tip", 0},       // quotes keep the comma
        {"x,abc,tip", true, "x", 0, "tip", 0},               // not a number: id 0
        {"x,12", false, "", 0, "", 0},
        {"\\n", false, "", 0, "", 0},
    };
    for (const Row& r : rows) {
        CmdPanelItem item;
        EXPECT_EQ(r.button, ParseCmdPanelItem(r.line, &item)) << r.line;
        if (!r.button) continue;
        EXPECT_EQ(r.label, item.label) << r.line;
        EXPECT_EQ(r.id, item.id) << r.line;
        EXPECT_EQ(r.tip, item.tip) << r.line;
        EXPECT_EQ(r.style, item.style) << r.line;
    }
    EXPECT_TRUE(IsCmdPanelRowBreak("\\n"));
    EXPECT_FALSE(IsCmdPanelRowBreak("\n"));
}

TEST(CmdPanelDef, PageNamesBecomeElementNamesAndBack) {
    struct Row {
        const char* name;
        const char* element;
    } rows[] = {
        {"作図", "作図"},
        {"Draw_1", "Draw_1"},
        {"1st", "_x0031_st"},
        {"a b", "a_x0020_b"},
        {"a:b", "a_x003A_b"},
        {"x_x0041_y", "x_x005F_x0041_y"},  // a name that looks escaped stays itself
        {"<&>", "_x003C__x0026__x003E_"},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(r.element, EncodePageElementName(r.name)) << r.name;
        EXPECT_EQ(r.name, DecodePageElementName(r.element)) << r.name;
    }
    EXPECT_EQ("", DecodePageElementName(EncodePageElementName("")));
}

TEST(CmdPanelDef, LoadsPagesInFileOrder) {
    const std::string path = TempFile("zav_cmdpanel_load.def");
    WriteText(path, std::string(kHead) +
                        "<CmdPanel><PanelInfo>"
                        "<B><data><item>b1,1,t</item><item>\\n</item><item>b2,2,t,4</item></data></B>"
                        "<!-- a comment between pages -->"
                        "<A><data><item>a1,3,t</item></data></A>"
                        "</PanelInfo><Other><keep>1</keep></Other></CmdPanel>");
    std::vector<CmdPanelPageDef> pages;
    ASSERT_EQ(0, LoadCmdPanelPages(path.c_str(), nullptr, pages, nullptr));
    ASSERT_EQ(2u, pages.size());
    EXPECT_EQ("B", pages[0].name);
    EXPECT_EQ((std::vector<std::string>{"b1,1,t", "\\n", "b2,2,t,4"}), pages[0].items);
    EXPECT_EQ("A", pages[1].name);
    std::string error;
    EXPECT_EQ(-1, LoadCmdPanelPages(TempFile("zav_no_such_panel.def").c_str(), nullptr, pages, &error));
    EXPECT_FALSE(error.empty());
    ::DeleteFileA(path.c_str());
}

// Saving keeps the page order, empty pages, pages of any name and the rest
// of the file, and a second save changes nothing.
TEST(CmdPanelDef, SaveAndReloadKeepTheOrderAndTheNames) {
    const std::string path = TempFile("zav_cmdpanel_save.def");
    std::string original = std::string(kHead) + "<CmdPanel><PanelInfo>";
    original += "<P1><data>";
    for (int i = 0; i < 1200; ++i) original += "<item>old" + std::to_string(i) + ",1,t</item>";
    original += "</data></P1><P2><data><item>x,2,t</item></data></P2></PanelInfo>"
                "<Other><keep>1</keep></Other></CmdPanel>";
    WriteText(path, original);
    const std::vector<CmdPanelPageDef> pages = {
        {"作図", {"線分,6000,線分", "\\n", "円,6020,円,1"}},
        {"1 page", {"a,1,t"}},
        {"Z", {"z,9,t"}},
        {"A", {"a,8,t"}},
    };
    for (int round = 0; round < 2; ++round) {
        std::string error;
        ASSERT_EQ(0, SaveCmdPanelPages(path.c_str(), nullptr, pages, &error)) << error;
        std::vector<CmdPanelPageDef> back;
        ASSERT_EQ(0, LoadCmdPanelPages(path.c_str(), nullptr, back, nullptr));
        ASSERT_EQ(pages.size(), back.size()) << ReadText(path);
        for (size_t i = 0; i < pages.size(); ++i) {
            EXPECT_EQ(pages[i].name, back[i].name);
            EXPECT_EQ(pages[i].items, back[i].items) << pages[i].name;
        }
    }
    const std::string text = ReadText(path);
    EXPECT_EQ(std::string::npos, text.find("old")) << "every old item goes, not only the first 1000";
    EXPECT_NE(std::string::npos, text.find("<keep>1</keep>"));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA((path + ".$$$").c_str()));
    ::DeleteFileA(path.c_str());
}

TEST(CmdPanelDef, ASaveThatCannotLoadLeavesTheFile) {
    const std::string path = TempFile("zav_cmdpanel_broken.def");
    const std::string broken = std::string(kHead) + "<CmdPanel><PanelInfo>";
    WriteText(path, broken);
    std::string error;
    EXPECT_EQ(-1, SaveCmdPanelPages(path.c_str(), nullptr, {{"A", {"a,1,t"}}}, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(broken, ReadText(path));
    ::DeleteFileA(path.c_str());
}

}  // namespace
