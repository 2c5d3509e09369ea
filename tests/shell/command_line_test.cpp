// Command-line words, switches, the BOOT key and the DESTROY command.
#include "shell/command_line.h"

#include "frame_fixture.h"

#include <cstring>

#include "cadlib/WmCadApiDb.h"
#include "win/message_box.h"

namespace {

TEST(CommandLineWords, SplittingTable) {
    TempFolder dir("cmdline");
    std::string spaced = dir.Write("My Drawings\\plan.tcf", "x");
    std::string dbcs = dir.Write("表 ソ\\図面.tcf", "x");
    std::string plain = dir.Write("plain.dat", "x");
    struct {
        std::string line;
        std::vector<std::string> words;
    } rows[] = {
        {"\"" + spaced + "\"", {spaced}},
        {spaced, {spaced}},
        {dbcs + " /s", {dbcs, "/s"}},
        {"\"" + dbcs + "\"  -x", {dbcs, "-x"}},
        {"a.tcf b.DXF", {"a.tcf", "b.DXF"}},
        {plain + " /abc -x9 /12", {plain, "/abc", "-x9", "/12"}},
        {"unknown words here", {"unknown words here"}},
        {"  ", {}},
        {"\"quoted name\".tcf next", {"quoted name.tcf", "next"}},
    };
    for (auto& r : rows)
        EXPECT_EQ(r.words, SplitCommandLine(r.line.c_str())) << r.line;
    std::string longWord(600, 'w');
    auto words = SplitCommandLine(longWord.c_str());
    ASSERT_EQ(1u, words.size());
    EXPECT_EQ(519u, words[0].size()) << "bounded by the token buffer";
}

TEST(CommandLineWords, SwitchNormalisation) {
    struct {
        const char* in;
        const char* out;
    } rows[] = {
        {"/abc", "/ABC"}, {"-x9", "/X"},   {"/12", "/NUM"},  {"-", "/NUM"},
        {"/表a", "/表A"}, {"/ｱa1", "/ｱA"}, {"-ソz", "/ソZ"},
    };
    for (auto& r : rows)
        EXPECT_EQ(r.out, NormaliseSwitch(r.in)) << r.in;
}

class CommandLineTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        CommandLine = CommandLineState();
        CommandLineFileGiven = 0;
        StartCommandPosted = 0;
        WritePrivateProfileStringA("BOOT", "/ABC/X/NUM", "21500", env.ini.c_str());
        WritePrivateProfileStringA("DESTROY", "/ABC/X/NUM", "21501 // written back", env.ini.c_str());
        WritePrivateProfileStringA("BOOT", "/ZERO", "0", env.ini.c_str());
    }
};

TEST_F(CommandLineTest, BootCommandRunsWithoutADrawingAndDestroyAtClose) {
    ParseCommandLine(frame->m_hWnd, "/abc -x9 /12", -1);
    EXPECT_EQ("/ABC/X/NUM", CommandLine.switchKey);
    EXPECT_EQ("/abc-x9/12", CommandLine.rawSwitchText);
    EXPECT_EQ(1, StartCommandPosted);
    PumpFor(100);
    EXPECT_EQ("exec 21500:/abc-x9/12", Taken()) << "2424 finds no drawing to go to";
    Command(21500, (LPARAM) "/abc");
    EXPECT_EQ("", Taken()) << "the same id typed by the user stays filtered";

    SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(frame->m_hWnd));
    EXPECT_EQ("exec 21501:/abc-x9/12/Save0 DESTROY 21501 /abc-x9/12/Save0", Taken());
}

TEST_F(CommandLineTest, NoBootCommandNoDestroyCommand) {
    ParseCommandLine(frame->m_hWnd, "/zero", -1);
    PumpFor(50);
    EXPECT_EQ(0, StartCommandPosted);
    EXPECT_EQ("", CommandLine.startSwitchText);
    SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_EQ("", Taken());
}

TEST_F(CommandLineTest, ElevenSwitchesKeyTheFirstTen) {
    ParseCommandLine(frame->m_hWnd, "/a /b /c /d /e /f /g /h /i /j /k", -1);
    EXPECT_EQ(10u, CommandLine.switches.size());
    EXPECT_EQ("/A/B/C/D/E/F/G/H/I/J", CommandLine.switchKey);
    EXPECT_EQ("/a/b/c/d/e/f/g/h/i/j/k", CommandLine.rawSwitchText);
}

TEST_F(CommandLineTest, FilesOpenAndUnknownNamesAreReported) {
    TempFolder dir("open");
    std::string file = WriteDrawing(dir, "plan.tcf");
    win::MessageBoxTestHook boxes;
    std::string line = "nosuch.tcf \"" + file + "\" other.DXF";
    ParseCommandLine(frame->m_hWnd, line.c_str(), -1);
    ASSERT_EQ(2u, boxes.Calls().size());
    EXPECT_EQ("ファイル nosuch.tcf が見つかりません", boxes.Calls()[0].text);
    EXPECT_EQ("ファイル other.DXF が見つかりません", boxes.Calls()[1].text);
    EXPECT_EQ(1, CommandLineFileGiven);
    EXPECT_EQ(1, CommandLine.fileOpened);
    std::vector<std::string> titles = DrawingTitles(frame->m_hWnd);
    ASSERT_EQ(1u, titles.size());
    EXPECT_EQ(file, titles[0]);
    EXPECT_NE(std::string::npos, ShellTraceText().find("Error Message"));
    PumpFor(50);
    EXPECT_EQ("", Taken()) << "a file was opened: no 2424 reaches the drawing";
}

}  // namespace
