// The executor: routing by id, the read-only filter, the full reset after
// every way a module command can end, and the order of a second command.
#include <gtest/gtest.h>

#include "cmd_fixture.h"
#include "command/cmd_switches.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "shell/host_services.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

using Executor_ = CommandFixture;

TEST_F(Executor_, RoutesById) {
    // A system command's action is the shell's (tested with the shell): here it runs.
    HostHooks().systemCommand = [](int, HWND, DWORD) { return 0; };
    struct Case {
        const char* name;
        DWORD word;
        int result;
        const char* logPart;  // a log line that must appear (null: none)
        const char* error;    // the error shown (null: none)
        bool bracketed;       // start/end notifications sent
    } cases[] = {
        {"6203 swallowed", 6203, 1, nullptr, nullptr, false},
        {"5005 swallowed", 5005, 1, nullptr, nullptr, false},
        {"system id without entry", 4003, 0, nullptr, nullptr, false},
        {"id outside every range", 123, 0, nullptr, nullptr, false},
        {"system command", 4039, 1, "System Cmd|4039 ペーパー空間表示", nullptr, true},
        {"save without a drawing", 4002, 1, nullptr, nullptr, true},
        {"module command", kCmdQuick, 1, "TESTCMD quick id=30002", nullptr, true},
        {"module returning -1", kCmdFail, 0, "TESTCMD fail", nullptr, true},
        {"module without StartCmd", kCmdBroken, 1, "の起動に失敗しました", "msg:5120", false},
        {"unregistered module id", 30099, 0, nullptr, "msg:5118", false},
        {"module not loadable", 30007, 0, nullptr, "msg:5119", false},
        {"5104 without a drawing", 5104, 1, nullptr, nullptr, false},
        {"high word kept, id read low", kCmdQuick | (100u << 16), 1, "TESTCMD quick id=30002", nullptr, true},
    };
    for (const auto& c : cases) {
        log.clear();
        errors.clear();
        frame->notes.clear();
        EXPECT_EQ(ExecCadCmd(frame->m_hWnd, c.word, nullptr), c.result) << c.name;
        if (c.logPart) {
            EXPECT_TRUE(LogHas(c.logPart)) << c.name << "\n" << LogText();
        }
        if (c.error) {
            EXPECT_EQ(errors, std::vector<std::string>{c.error}) << c.name;
        } else {
            EXPECT_TRUE(errors.empty()) << c.name;
        }
        const int id = c.word & 0xFFFF;
        const std::vector<std::string> bracket = {"notify 1000 " + std::to_string(id),
                                                  "notify 1001 " + std::to_string(id)};
        if (c.bracketed) {
            EXPECT_EQ(frame->notes, bracket) << c.name;
        } else {
            EXPECT_TRUE(frame->notes.empty()) << c.name;
        }
        EXPECT_TRUE(SwitchesAtRest()) << c.name;
    }
}

TEST_F(Executor_, SystemCommandsGoToTheShellsActions) {
    // Every system command's action is the shell's (shell/system_commands.h);
    // the executor brackets it, ends a running command first where its table
    // says so, and ends the command the way the action decided.
    std::vector<int> shellCalls;
    CmdFinish finish = CmdFinish::Table;
    HostHooks().systemCommand = [&](int id, HWND, DWORD) {
        shellCalls.push_back(id);
        return SystemCmdOutcome(id == 4008 ? 0 : 1, finish);
    };
    struct Case {
        int id;
        int result;
        bool endsCommand;
    } cases[] = {
        {4006, 1, true}, {4005, 1, true},  {4021, 1, true}, {4040, 1, false},
        {4001, 1, true}, {4008, 0, false}, {4050, 1, true},
    };
    for (const auto& c : cases) {
        shellCalls.clear();
        CmdInput().event = 0;
        statusBar->name = "old";
        EXPECT_EQ(ExecCadCmd(frame->m_hWnd, c.id, nullptr), c.result) << c.id;
        EXPECT_EQ(shellCalls, std::vector<int>{c.id}) << c.id;
        EXPECT_EQ(CmdInput().event == CMD_EV_END, c.endsCommand) << c.id;
    }

    // A command whose action ended it as it started (Keep: no drawing, no free
    // window) keeps its name on the prompt bar; the table's Clear clears it.
    struct Finish {
        CmdFinish finish;
        bool cleared;
    } finishes[] = {{CmdFinish::Table, true}, {CmdFinish::Clear, true}, {CmdFinish::Keep, false}};
    for (const auto& f : finishes) {
        finish = f.finish;
        statusBar->name = "old";
        EXPECT_EQ(ExecCadCmd(frame->m_hWnd, 4000, nullptr), 1);
        EXPECT_EQ(statusBar->name.empty(), f.cleared) << "finish " << static_cast<int>(f.finish);
        EXPECT_NE(statusBar->name, "old") << "the command's name was shown";
    }
}

TEST_F(Executor_, ASystemCommandTheShellDoesNotOfferIsNotDone) {
    // What the shell answers for a command decides the executor's result:
    // an action it lacks (-1) is never reported done.
    int answer = 0;
    HostHooks().systemCommand = [&](int, HWND, DWORD) { return answer; };
    struct Case {
        int id;
        int shell;
        int result;
    } cases[] = {
        {4013, -1, 0}, {4027, -1, 0}, {4051, -1, 0}, {4025, -1, 0}, {4050, -1, 0}, {4008, -1, 0},
        {4008, 1, 1},  {4008, 0, 0},  {4013, 0, 1},  {4051, 0, 1},  {4050, 0, 1},
    };
    for (const auto& c : cases) {
        answer = c.shell;
        log.clear();
        EXPECT_EQ(c.result, ExecCadCmd(frame->m_hWnd, c.id, nullptr)) << c.id << " shell " << c.shell;
        EXPECT_FALSE(frame->notes.empty()) << c.id << ": bracketed all the same";
        frame->notes.clear();
    }
    // Without the shell's service at all, nothing is reported done either.
    HostHooks().systemCommand = nullptr;
    EXPECT_EQ(0, ExecCadCmd(frame->m_hWnd, 4051, nullptr));
}

TEST_F(Executor_, BusyBracketAroundEveryRoad) {
    EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_EXEC_CMD, kCmdQuick, 0), 1);
    ASSERT_GE(frame->notes.size(), 4u);
    EXPECT_EQ(frame->notes.front(), "busy 30002 1");
    EXPECT_EQ(frame->notes.back(), "busy 30002 0");
    // A control's window handed on as lParam is not taken for a text.
    log.clear();
    EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_EXEC_CMD, kCmdQuick, (LPARAM)statusBar->m_hWnd), 1);
    EXPECT_TRUE(LogHas("args=/C:Quick")) << LogText();
    EXPECT_FALSE(LogHas("args=/C:Quick ")) << LogText();
    // WM_COMMAND reaches the executor through the frame's routing.
    log.clear();
    PostMessageA(frame->m_hWnd, WM_COMMAND, kCmdQuick, 0);
    PumpUntil([&] { return LogHas("TESTCMD quick"); });
}

TEST_F(Executor_, ReadOnlyFilter) {
    struct Case {
        const char* name;
        int readOnly;
        int kind;
        int id;
        int result;
        const char* box;
    } cases[] = {
        {"allowed on read-only", 1, 0, 4001, 1, nullptr},
        {"refused, normal start", 1, 0, kCmdQuick, 1, "この図面は参照モードで開かれています。"},
        {"refused, launch mode", 1, 2, kCmdQuick, 0, "対象図面は参照モードで開かれています。作業を中止します。"},
        {"writable drawing", 0, 0, kCmdQuick, 1, nullptr},
    };
    view = frame->m_hWnd;                                            // any window stands for the active drawing view
    HostHooks().systemCommand = [](int, HWND, DWORD) { return 0; };  // the open dialog, cancelled
    for (const auto& c : cases) {
        win::MessageBoxTestHook boxes;
        readOnly = c.readOnly;
        launchKind = c.kind;
        log.clear();
        EXPECT_EQ(ExecCadCmd(frame->m_hWnd, c.id, nullptr), c.result) << c.name;
        if (c.box) {
            ASSERT_EQ(boxes.Calls().size(), 1u) << c.name;
            EXPECT_EQ(boxes.Calls()[0].text, c.box) << c.name;
            EXPECT_EQ(boxes.Calls()[0].caption, "ZavIrurer") << c.name;
            EXPECT_FALSE(LogHas("TESTCMD")) << c.name;
        } else {
            EXPECT_TRUE(boxes.Calls().empty()) << c.name;
        }
    }
    // Without an active view nothing is filtered.
    view = nullptr;
    win::MessageBoxTestHook boxes;
    EXPECT_EQ(ExecCadCmd(frame->m_hWnd, kCmdQuick, nullptr), 1);
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST_F(Executor_, FullResetAfterEveryEnding) {
    struct Case {
        const char* name;
        int id;
        int safe;
        int result;
        bool fault;
    } cases[] = {
        {"returns 0, guarded", kCmdSwitches, 1, 1, false}, {"returns 0, unguarded", kCmdSwitches, 0, 1, false},
        {"returns -1, guarded", kCmdFail, 1, 0, false},    {"returns -1, unguarded", kCmdFail, 0, 0, false},
        {"faults, guarded", kCmdFault, 1, 0, true},
    };
    int fastOff = 0;
    HostHooks().fastAccessOff = [&] { ++fastOff; };
    for (const auto& c : cases) {
        safe = c.safe;
        log.clear();
        errors.clear();
        backups = panelClears = fastOff = 0;
        statusBar->prompt.clear();
        SetImportMark(0x55);
        int destroyed = 0;
        HostHooks().destroyMark = [&](uint32_t mark) { destroyed += (mark == 0x55); };
        EXPECT_EQ(ExecCadCmd(frame->m_hWnd, c.id, nullptr), c.result) << c.name;
        EXPECT_TRUE(SwitchesAtRest()) << c.name;
        EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_END_ACK_FLAG, 1, 0), 1) << c.name;
        EXPECT_EQ(GetModuleHandleA("ZavTestCmd.dll"), nullptr) << c.name;
        EXPECT_EQ(statusBar->prompt, "(default)") << c.name;
        EXPECT_EQ(statusBar->name, "") << c.name;
        EXPECT_GE(fastOff, 1) << c.name;
        EXPECT_EQ(destroyed, 1) << c.name << ": the import mark is destroyed";
        EXPECT_TRUE(LogHas("Cmd End|OK")) << c.name;
        EXPECT_EQ(LogHas("コマンド実行中に例外が発生しました"), c.fault) << c.name;
        EXPECT_EQ(backups, c.fault ? 1 : 0) << c.name;
        EXPECT_EQ(panelClears, c.fault ? 1 : 0) << c.name;
        EXPECT_EQ(errors.size(), c.fault ? 1u : 0u) << c.name;
        if (c.fault) {
            EXPECT_TRUE(LogHas("Error|-1073741819 コマンド実行中に例外が発生しました")) << c.name;
        }
    }
    // Faults that the system handles itself inside a call are not the
    // module's: the guarded command completes.
    log.clear();
    errors.clear();
    safe = 1;
    EXPECT_EQ(ExecCadCmd(frame->m_hWnd, 30009, nullptr), 1);
    EXPECT_TRUE(LogHas("TESTCMD probe len=0 bad=1")) << LogText();
    EXPECT_TRUE(errors.empty());
    // The process is still whole: another command runs normally.
    safe = 1;
    EXPECT_EQ(ExecCadCmd(frame->m_hWnd, kCmdQuick, nullptr), 1);
}

TEST_F(Executor_, SecondCommandRunsAfterTheFirstHasReturned) {
    // The second request comes, while the first waits, from a caller whose
    // buffer dies at once.
    frame->inject = [&](WPARAM) {
        EXPECT_TRUE(LogHas("args=/C:Wait first"));
        EXPECT_EQ(IsModuleCmdRunning(), 1);
        char text[32] = "second";
        EXPECT_EQ(ExecCadCmd(frame->m_hWnd, kCmdQuick, text), 1);
        std::strcpy(text, "garbage");
    };
    PostExecCmd(kCmdWait, "first");
    PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return LogHas("TESTCMD quick"); }));
    const int ended = LogIndex("TESTCMD ended");
    const int firstEnd = LogIndex("Cmd End|OK");
    const int quick = LogIndex("TESTCMD quick id=30002 args=/C:Quick second");
    ASSERT_GE(ended, 0) << LogText();
    ASSERT_GE(quick, 0) << LogText();
    EXPECT_LT(ended, firstEnd);
    EXPECT_LT(firstEnd, quick) << "the new command starts only after the old one is reset";
    EXPECT_EQ(Executor().maxStartCmdDepth, 1) << "never nested";
    EXPECT_EQ(PendingExecCmdCount(), 0u);
    EXPECT_TRUE(SwitchesAtRest());
}

TEST_F(Executor_, ModulePumpingAfterItsEndDoesNotStartTheNextCommandInside) {
    frame->inject = [&](WPARAM) { ExecCadCmd(frame->m_hWnd, kCmdQuick, "next"); };
    PostExecCmd(kCmdLinger, nullptr);
    PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return LogHas("TESTCMD quick"); }));
    EXPECT_LT(LogIndex("TESTCMD lingered"), LogIndex("TESTCMD quick")) << LogText();
    EXPECT_EQ(Executor().maxStartCmdDepth, 1);
    EXPECT_TRUE(SwitchesAtRest());
}

TEST_F(Executor_, WiredToTheNeighbouringServices) {
    // The program's real services (the shell installs them), with no
    // drawing open: switches set by a module still come back.
    InstallHostServices();
    HostHooks().writeLog = [this](int, const char* category, const char* text) {
        log.push_back(std::string(category ? category : "") + "|" + text);
    };
    EXPECT_EQ(CmdActiveView(), nullptr);
    EXPECT_EQ(ExecCadCmd(frame->m_hWnd, kCmdSwitches, nullptr), 1);
    EXPECT_TRUE(LogHas("TESTCMD switches"));
    EXPECT_EQ(LayerFieldLock, 0);
    EXPECT_TRUE(SwitchesAtRest());
}

TEST_F(Executor_, QuitDuringAWaitReachesTheOuterLoop) {
    frame->inject = [&](WPARAM) { PostQuitMessage(7); };
    PostExecCmd(kCmdWait, nullptr);
    PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
    bool quit = false;
    int code = 0;
    const DWORD start = GetTickCount();
    MSG msg;
    while (!quit && GetTickCount() - start < 10000) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            code = static_cast<int>(msg.wParam);
            break;
        }
        DispatchMessageA(&msg);
    }
    EXPECT_TRUE(quit);
    EXPECT_EQ(code, 7);
    EXPECT_TRUE(LogHas("TESTCMD quit"));
    EXPECT_TRUE(SwitchesAtRest());
}

}  // namespace
