// The real program runs the test module's commands asked for from another
// program: by DDE and by WM_COMMAND; a second command ends a waiting one,
// and a command that faults is ended and reported while the program serves on.
#include <gtest/gtest.h>

#include <string>

#include "tests/app/app_session.h"

namespace {

TEST(ModuleCommands, RunFromOutsideAndSurviveTheirFaults) {
    AppSession app("modules");
    ASSERT_TRUE(app.Start()) << app.LastError();

    EXPECT_TRUE(app.DdeExecute("{ExecCmd(30001,alpha)}")) << "the host serves DDE";
    EXPECT_TRUE(app.WaitModuleText("TESTCMD start id=30001 args=/C:Wait alpha"));
    EXPECT_TRUE(app.DdeExecute("{DDEPUT(テスト表示データ)}"));
    EXPECT_TRUE(app.DdeExecute("{ExecCmd(30002,beta)}")) << "a second command ends the first";
    EXPECT_TRUE(app.WaitModuleText("TESTCMD quick id=30002 args=/C:Quick beta"));

    // A fault in the module is reported in a box; the next command waits for it.
    struct Fault {
        const char* request;
        const char* line;
        const char* after;
    } faults[] = {
        {"{ExecCmd(30004)}", "TESTCMD fault", "after"},
        // A fault in the module's own window procedure, which the wait loop
        // dispatches, ends that command the same way.
        {"{ExecCmd(30010)}", "TESTCMD fault in window", "after2"},
    };
    for (const Fault& f : faults) {
        EXPECT_TRUE(app.DdeExecute(f.request)) << f.request;
        EXPECT_TRUE(app.WaitModuleText(f.line)) << f.request;
        HWND box = app.WaitBox();
        ASSERT_NE(box, nullptr) << f.request << ": the fault is reported";
        EXPECT_NE(AppSession::WindowTexts(box).find("コマンドを強制終了します"), std::string::npos)
            << AppSession::WindowTexts(box);
        PostMessageA(box, WM_COMMAND, IDOK, 0);
        const std::string next = std::string("{ExecCmd(30002,") + f.after + ")}";
        EXPECT_TRUE(app.DdeExecute(next)) << "still serving after " << f.request;
        EXPECT_TRUE(app.WaitModuleText(std::string("TESTCMD quick id=30002 args=/C:Quick ") + f.after));
    }
    EXPECT_EQ(app.ModuleLog().find("TESTCMD survived its fault"), std::string::npos);
    EXPECT_FALSE(app.DdeExecute("{execcmd(30002)}")) << "a request in lower case is refused";

    // Module commands from the menu need a drawing.
    ASSERT_NE(app.NewDrawing(), nullptr);
    app.Command(30002);
    EXPECT_TRUE(app.WaitModuleText("TESTCMD quick id=30002 args=/C:Quick\n"));
    const std::string log = app.ModuleLog();
    EXPECT_LT(log.find("TESTCMD ended"), log.find("args=/C:Quick beta")) << log;
    EXPECT_TRUE(app.Running());
    EXPECT_TRUE(app.Close()) << app.LastError();
    EXPECT_EQ(app.ExitCode(), 0u);
}

}  // namespace
