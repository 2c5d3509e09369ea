// The built-in service commands in the running program: started through
// their ids as a menu or a panel starts them, driven by clicks on the
// drawing view, the view's zoom and scroll read back from the program's own
// record of the view, the memo's files read back from the disk and the
// pattern-save setting read back by a module command.
#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "tests/app/app_session.h"

namespace {

bool Until(const std::function<bool()>& done, DWORD timeoutMs = 20000) {
    const DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(20);
    }
    return true;
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD n = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
    CloseHandle(h);
}

std::string ReadBytes(const std::string& path) {
    HANDLE h =
        CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "(missing)";
    std::string all;
    char buf[256];
    DWORD n = 0;
    while (ReadFile(h, buf, sizeof buf, &n, nullptr) && n)
        all.append(buf, n);
    CloseHandle(h);
    return all;
}

class ServiceCommands : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Prepared()) << app.LastError(); }

    HWND StartWithDrawing() {
        if (!app.Start()) {
            ADD_FAILURE() << app.LastError();
            return nullptr;
        }
        HWND view = app.NewDrawing();
        EXPECT_NE(view, nullptr) << "no drawing window";
        if (view) GetClientRect(view, &client);
        return view;
    }
    void RunCommand(int id, const char* key, size_t count = 1) {
        ASSERT_TRUE(app.Command(id));
        ASSERT_TRUE(app.WaitModuleLine(key, count)) << id << ":\n" << app.ModuleLog();
    }
    // The drawing point at the middle of the view.
    bool Centre(HWND view, double* x, double* y) {
        return app.DrawingPointOf(view, {client.right / 2, client.bottom / 2}, x, y);
    }
    // Until the view's scale is no longer `old`; the new one.
    double ScaleAfter(HWND view, double old) {
        double now = old;
        Until([&] { return (now = app.ViewScale(view)) != old; });
        return now;
    }
    // Answers the program's message box; its texts.
    std::string AnswerBox(int button) {
        HWND box = app.WaitBox();
        if (!box) return "(no box)";
        const std::string texts = AppSession::WindowTexts(box);
        app.Post(box, WM_COMMAND, button);
        Until([&] { return !IsWindow(box); });
        return texts;
    }

    AppSession app{"svccmd"};
    RECT client = {};
};

TEST_F(ServiceCommands, ZoomWindowZoomsTheViewToTheClickedRectangle) {
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    ASSERT_GT(client.right, 80);
    const double before = app.ViewScale(view);
    ASSERT_GT(before, 0);
    const POINT a = {client.right / 4, client.bottom / 4}, b = {client.right / 2, client.bottom / 2};
    double ax, ay, bx, by;
    ASSERT_TRUE(app.DrawingPointOf(view, a, &ax, &ay));
    ASSERT_TRUE(app.DrawingPointOf(view, b, &bx, &by));

    ASSERT_TRUE(app.Command(1210));
    ASSERT_TRUE(app.ClickPixel(view, a));
    ASSERT_TRUE(app.ClickPixel(view, b));
    const double after = ScaleAfter(view, before);
    // A quarter of the view's width and height fills it (less the edge
    // buttons' margin).
    EXPECT_GT(after, 3.0 * before);
    EXPECT_LE(after, 4.0 * before + 1e-9);
    double cx, cy;
    ASSERT_TRUE(Centre(view, &cx, &cy));
    EXPECT_NEAR(cx, (ax + bx) / 2, 1.0 / after) << "centred on the rectangle";
    EXPECT_NEAR(cy, (ay + by) / 2, 1.0 / after);

    // Ended, the next command runs and gets clicks of its own.
    ASSERT_TRUE(app.EndCommand());
    RunCommand(30551, "svcstart");
    const POINT c = {client.right / 3, client.bottom / 3};
    double px, py;
    ASSERT_TRUE(app.DrawingPointOf(view, c, &px, &py));
    ASSERT_TRUE(app.ClickPixel(view, c));
    const auto points = app.WaitModuleValues("svcpoint", 1);
    ASSERT_EQ(points.size(), 1u) << app.ModuleLog();
    EXPECT_NEAR(points[0][0], px, 1e-6);
    EXPECT_NEAR(points[0][1], py, 1e-6);
    ASSERT_TRUE(app.EndCommand());
    EXPECT_TRUE(app.WaitModuleLine("svcend"));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(ServiceCommands, ExtentsAndPreviousViewTwice) {
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    RunCommand(30550, "svclines");
    EXPECT_EQ(app.ModuleValues("svclines")[0][0], 2);
    const double paper = app.ViewScale(view);
    double px, py;
    ASSERT_TRUE(Centre(view, &px, &py));

    ASSERT_TRUE(app.Command(1334));  // the lines span (10,20) to (110,70)
    const double extents = ScaleAfter(view, paper);
    double cx, cy;
    ASSERT_TRUE(Centre(view, &cx, &cy));
    EXPECT_NEAR(cx, 60, 1.0 / extents);
    EXPECT_NEAR(cy, 45, 1.0 / extents);
    EXPECT_LE(100 * extents, client.right + 1e-6) << "the extents fit";
    EXPECT_LE(50 * extents, client.bottom + 1e-6);

    ASSERT_TRUE(app.Command(1333));
    EXPECT_EQ(ScaleAfter(view, extents), paper) << "the view before the extents";
    ASSERT_TRUE(Centre(view, &cx, &cy));
    EXPECT_NEAR(cx, px, 1e-9);
    EXPECT_NEAR(cy, py, 1e-9);
    ASSERT_TRUE(app.Command(1333));
    EXPECT_EQ(ScaleAfter(view, paper), extents) << "and back to the extents";
    // The drawing was changed: closing would ask to save it; the session
    // ends the program.
}

TEST_F(ServiceCommands, ZoomByClickInsideAWaitingCommandGivesItsWaitBack) {
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    RunCommand(30551, "svcstart");
    const double before = app.ViewScale(view);
    ASSERT_TRUE(app.Command(1205));
    ASSERT_TRUE(app.ClickPixel(view, {client.right / 2, client.bottom / 2}));
    const double zoomed = ScaleAfter(view, before);
    EXPECT_DOUBLE_EQ(zoomed, 2 * before);
    EXPECT_TRUE(app.ModuleValues("svcpoint").empty()) << "the zoom's click is the zoom's";
    // Esc from the key table ends the zoom; the module waits on for points.
    ASSERT_TRUE(app.Command(1211));
    const POINT c = {client.right / 4, client.bottom / 3};
    double px, py;
    Sleep(200);
    ASSERT_TRUE(app.DrawingPointOf(view, c, &px, &py));
    ASSERT_TRUE(app.ClickPixel(view, c));
    const auto points = app.WaitModuleValues("svcpoint", 1);
    ASSERT_EQ(points.size(), 1u) << app.ModuleLog();
    EXPECT_NEAR(points[0][0], px, 1e-6);
    EXPECT_NEAR(points[0][1], py, 1e-6);
    EXPECT_EQ(app.ViewScale(view), zoomed) << "no zoom after the end";
    ASSERT_TRUE(app.EndCommand());
    EXPECT_TRUE(app.WaitModuleLine("svcend"));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(ServiceCommands, PatternSaveToggleTwiceLeavesTheSettingAsItWas) {
    ASSERT_NE(StartWithDrawing(), nullptr);
    RunCommand(30551, "svcstart", 1);
    for (int run = 1; run <= 2; ++run) {
        ASSERT_TRUE(app.Command(1307));
        ASSERT_TRUE(app.EndCommand());
        ASSERT_TRUE(app.WaitModuleLine("svcend", run));
        RunCommand(30551, "svcstart", run + 1);
    }
    const auto values = app.ModuleValues("svcstart");
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0][0], 1) << "saved by default";
    EXPECT_EQ(values[1][0], 0) << "toggled off";
    EXPECT_EQ(values[2][0], 1) << "and on again";
    ASSERT_TRUE(app.EndCommand());
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(ServiceCommands, DeletingTheMemoDeletesBothFilesOrNeither) {
    const std::string folder = app.UserDir() + "\\memo";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string plan = folder + "\\plan.tcf", mem = folder + "\\plan.mem";
    WriteBytes(plan, "memo drawing");
    WriteBytes(mem, "memo notes");
    ASSERT_NE(StartWithDrawing(), nullptr);
    RunCommand(30552, "svcmemo");
    RunCommand(30553, "svcmemoprobe");

    // The memo's information: colour 3 shown, the fifth chosen and kept.
    ASSERT_TRUE(app.Command(1318));
    HWND dialog = app.WaitBox();
    ASSERT_NE(dialog, nullptr);
    EXPECT_NE(AppSession::WindowTexts(dialog).find("メモに関する情報"), std::string::npos);
    HWND list = GetDlgItem(dialog, 400);
    EXPECT_EQ(app.Send(list, CB_GETCURSEL), 2) << "colour 3";
    app.Send(list, CB_SETCURSEL, 4);
    app.Post(dialog, WM_COMMAND, IDOK);
    Until([&] { return !IsWindow(dialog); });
    RunCommand(30553, "svcmemoprobe", 2);

    // The memo's own file is in use: neither file goes, the memo stays.
    HANDLE held = CreateFileA(mem.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ASSERT_TRUE(app.Command(1311));
    EXPECT_NE(AnswerBox(IDYES).find("この図面のメモ情報を削除します"), std::string::npos);
    EXPECT_NE(AnswerBox(IDOK).find("メモは削除されません"), std::string::npos);
    CloseHandle(held);
    EXPECT_EQ(ReadBytes(plan), "memo drawing");
    EXPECT_EQ(ReadBytes(mem), "memo notes");
    RunCommand(30553, "svcmemoprobe", 3);

    // Free: both go with the memo.
    ASSERT_TRUE(app.Command(1311));
    AnswerBox(IDYES);
    RunCommand(30553, "svcmemoprobe", 4);
    const auto probes = app.ModuleValues("svcmemoprobe");
    ASSERT_EQ(probes.size(), 4u);
    EXPECT_EQ(probes[0], (std::vector<double>{1, 3}));
    EXPECT_EQ(probes[1], (std::vector<double>{1, 5})) << "the colour chosen in the dialog";
    EXPECT_EQ(probes[2][0], 1) << "kept while a file could not go";
    EXPECT_EQ(probes[3][0], 0);
    EXPECT_EQ(ReadBytes(plan), "(missing)");
    EXPECT_EQ(ReadBytes(mem), "(missing)");
    // The drawing was changed (its memo went): the session ends the program.
}

}  // namespace

namespace {

BOOL CALLBACK TakeStatusBar(HWND w, LPARAM out) {
    char name[64] = "";
    GetClassNameA(w, name, sizeof name);
    if (std::string(name) != "CadStatusBar") return TRUE;
    *reinterpret_cast<HWND*>(out) = w;
    return FALSE;
}

// The program's prompt bar: the main frame's status bar.
HWND FindStatusBar(HWND frame) {
    HWND found = nullptr;
    EnumChildWindows(frame, TakeStatusBar, reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

TEST_F(ServiceCommands, DisplayModeCommandsSetTheActiveViewsMode) {
    ASSERT_NE(StartWithDrawing(), nullptr);
    const struct {
        int id, mode;
    } steps[] = {{1316, 2}, {1317, 3}, {1315, 1}, {1315, 1}};
    size_t runs = 0;
    for (const auto& step : steps) {
        ASSERT_TRUE(app.Command(step.id));
        RunCommand(31400, "svcprobe", ++runs);
        EXPECT_EQ(app.ModuleValues("svcprobe")[runs - 1][0], step.mode) << step.id;
    }
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(ServiceCommands, OkPushesTheDefaultButtonOfThePanelPage) {
    ASSERT_NE(StartWithDrawing(), nullptr);
    RunCommand(30700, "ppage");
    // The page's "完了" (id 9) is its default button: the OK command pushes
    // it for the waiting command, which then reads its values and ends.
    ASSERT_TRUE(app.Command(1219));
    ASSERT_TRUE(app.WaitModuleLine("pvalues")) << app.ModuleLog();
    const auto events = app.ModuleValues("pevent");
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back()[0], 8192);
    EXPECT_EQ(events.back()[1], 1) << "a push";
    EXPECT_EQ(events.back()[2], 9);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(ServiceCommands, F10GoesToTheKeyInterpreterWhichEmptiesTheTypedNumber) {
    ASSERT_NE(StartWithDrawing(), nullptr);
    HWND bar = FindStatusBar(app.Frame());
    ASSERT_NE(bar, nullptr);
    // A typed 7 becomes the double at 328 of the drawing attributes (3044).
    app.Send(bar, WM_USER, 3, '7');
    ASSERT_TRUE(app.Command(3044));
    RunCommand(31400, "svcprobe", 1);
    EXPECT_EQ(app.ModuleValues("svcprobe")[0][6], 7);
    // F10 matches no key of the key table: the interpreter empties the
    // typed number, so 3044 then takes 0.
    app.Send(bar, WM_USER, 3, '5');
    ASSERT_TRUE(app.Command(1240));
    ASSERT_TRUE(app.Command(3044));
    RunCommand(31400, "svcprobe", 2);
    EXPECT_EQ(app.ModuleValues("svcprobe")[1][6], 0);
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(ServiceCommands, AttributePickUpTakesTheFirstOfTwoLinesWithoutAsking) {
    HWND view = StartWithDrawing();
    ASSERT_NE(view, nullptr);
    RunCommand(31401, "svcattrlines");
    RunCommand(31400, "svcprobe", 1);
    const auto before = app.ModuleValues("svcprobe")[0];
    ASSERT_NE(before[2], 3) << "the view's line type differs from the lines'";
    ASSERT_TRUE(app.Command(1304));
    ASSERT_NE(app.ClickAt(view, 60, 40).x, -1);
    EXPECT_EQ(app.WaitBox(1500), nullptr) << "two lines under the click, and no question";
    RunCommand(31400, "svcprobe", 2);
    const auto after = app.ModuleValues("svcprobe")[1];
    EXPECT_TRUE(after[1] == 5 || after[1] == 6) << after[1];
    EXPECT_EQ(after[2], 3) << "line type";
    EXPECT_EQ(after[3], 2) << "width";
    EXPECT_EQ(after[4], 1) << "line start";
    EXPECT_EQ(after[5], 2) << "line end";
    // The pick-up ended with its one pick: a second click takes nothing.
    ASSERT_NE(app.ClickAt(view, 60, 40).x, -1);
    EXPECT_EQ(app.WaitBox(1000), nullptr);
    // The drawing was changed: closing would ask to save it; the session
    // ends the program.
}
