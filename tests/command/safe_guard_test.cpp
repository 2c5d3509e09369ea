// The SAFE guard against faults of a module, wherever in the module's run
// they happen: directly in "StartCmd", in the module's own window procedure
// or timer callback that the host's nested wait loop dispatches (where the
// system's callback frames would otherwise take the fault), and not for
// faults that system calls handle themselves.
#include <gtest/gtest.h>

#include "cmd_fixture.h"
#include "command/cmd_switches.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"

namespace {

class SafeGuard_ : public CommandFixture {};

TEST_F(SafeGuard_, ModuleFaultsEndTheCommandCleanlyThroughTheFramesWindowProcedure) {
    struct Case {
        const char* name;
        int id;
        const char* reached;
        bool fault;
    } cases[] = {
        {"fault in StartCmd", kCmdFault, "TESTCMD fault", true},
        {"fault in its window procedure during a wait", kCmdFaultInWindow, "TESTCMD fault in window", true},
        {"fault in its timer callback during a wait", kCmdFaultInTimer, "TESTCMD fault in timer", true},
        {"fault in a runtime function it called", kCmdFaultInRuntime, "TESTCMD fault in runtime", true},
        {"system calls that handle their own faults", kCmdProbe, "TESTCMD probe len=0 bad=1", false},
    };
    int lockMode = 0;
    HostHooks().getLockLayerSearchMode = [&] { return lockMode; };
    HostHooks().setLockLayerSearchMode = [&](int mode) { lockMode = mode; };
    safe = 1;
    for (const auto& c : cases) {
        log.clear();
        errors.clear();
        backups = panelClears = 0;
        // As in the program: the request reaches the executor inside the
        // frame's window procedure.
        PostExecCmd(c.id, nullptr);
        ASSERT_TRUE(PumpUntil([&] { return LogHas("Cmd End|OK"); }, 5000)) << c.name;
        if (!LogHas("Cmd End|OK")) SendMessageA(frame->m_hWnd, UM_END_CMD, 0, 0);
        EXPECT_TRUE(LogHas(c.reached)) << c.name << "\n" << LogText();
        EXPECT_FALSE(LogHas("TESTCMD survived its fault")) << c.name;
        EXPECT_FALSE(LogHas("TESTCMD length")) << c.name;
        EXPECT_EQ(LogHas("コマンド実行中に例外が発生しました"), c.fault) << c.name;
        EXPECT_EQ(errors.size(), c.fault ? 1u : 0u) << c.name;
        EXPECT_EQ(backups, c.fault ? 1 : 0) << c.name;
        EXPECT_EQ(panelClears, c.fault ? 1 : 0) << c.name;
        EXPECT_EQ(IsModuleCmdRunning(), 0) << c.name;
        EXPECT_TRUE(SwitchesAtRest()) << c.name;
        EXPECT_EQ(CmdWaitState().depth, 0) << c.name << ": no wait is left counted";
        EXPECT_EQ(lockMode, 0) << c.name << ": lock-layer search mode as before";
        EXPECT_EQ(GetModuleHandleA("ZavTestCmd.dll"), nullptr) << c.name;
        // The host goes on: the next command runs.
        log.clear();
        PostExecCmd(kCmdQuick, nullptr);
        EXPECT_TRUE(PumpUntil([&] { return LogHas("TESTCMD quick"); }, 5000)) << c.name;
        EXPECT_TRUE(PumpUntil([&] { return LogHas("Cmd End|OK"); }, 5000)) << c.name;
    }
    // The frame's message routing, abandoned half-way by the faults, is
    // whole again: the framework lets go of the window when it is destroyed.
    DestroyWindow(frame->m_hWnd);
    EXPECT_TRUE(frame->finished);
}

}  // namespace
