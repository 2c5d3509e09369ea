// DDE: the EXECUTE requests in-process, then a second program as a real
// DDE client driving commands of the test module.
#include <gtest/gtest.h>

#include <algorithm>

#include <fstream>
#include <string>

#include "base/file_utils.h"
#include "cmd_fixture.h"
#include "command/dde.h"
#include "command/cmd_switches.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"

namespace {

using Dde = CommandFixture;

// Takes the UM_EXEC_CMD a request posted: (word, argument or "(null)").
bool TakePostedExec(HWND frame, DWORD* word, std::string* text) {
    MSG msg;
    if (!PeekMessageA(&msg, frame, UM_EXEC_CMD, UM_EXEC_CMD, PM_REMOVE)) return false;
    *word = static_cast<DWORD>(msg.wParam);
    auto* copy = reinterpret_cast<std::string*>(msg.lParam);
    *text = copy ? *copy : "(null)";
    return true;
}

TEST_F(Dde, ExecuteRequests) {
    struct Case {
        const char* name;
        std::string text;
        int result;
        int postedId;  // 0: nothing posted
        std::string argument;
    } cases[] = {
        {"no comma", "{ExecCmd(5103)}", 1, 5103, ""},
        {"argument", "{ExecCmd(5103,abc)}", 1, 5103, "abc"},
        {"argument with brackets", "{ExecCmd(5103,f(x))}", 1, 5103, "f(x)"},
        {"DBCS argument", "{ExecCmd(30002,表示ソ)}", 1, 30002, "表示ソ"},
        {"id below range", "{ExecCmd(123)}", 0, 0, ""},
        {"id above range", "{ExecCmd(40000)}", 0, 0, ""},
        {"lower-case prefix", "{execcmd(5103)}", 0, 0, ""},
        {"comma without closing bracket", "{ExecCmd(5103,abc", 0, 0, ""},
        {"cut to 200 bytes loses the bracket", "{ExecCmd(5103," + std::string(240, 'x') + ")}", 0, 0, ""},
        {"long argument inside 200 bytes", "{ExecCmd(5103," + std::string(180, 'y') + ")}", 1, 5103,
         std::string(180, 'y')},
        {"no prefix", "hello", 0, 0, ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DispatchDdeExecute(c.text.c_str()), c.result) << c.name;
        DWORD word = 0;
        std::string arg;
        const bool posted = TakePostedExec(frame->m_hWnd, &word, &arg);
        EXPECT_EQ(posted, c.postedId != 0) << c.name;
        if (posted) {
            EXPECT_EQ(word, (DWORD)c.postedId) << c.name;
            EXPECT_EQ(arg, c.argument) << c.name;
        }
    }
    DiscardPendingExecCmds();
}

TEST_F(Dde, QuickRequestsSharingOneBufferKeepTheirOwnTexts) {
    char buffer[64];
    std::strcpy(buffer, "{ExecCmd(5103,first)}");
    DispatchDdeExecute(buffer);
    std::strcpy(buffer, "{ExecCmd(5103,second)}");
    DispatchDdeExecute(buffer);
    std::memset(buffer, 0, sizeof buffer);
    DWORD word;
    std::string a, b;
    ASSERT_TRUE(TakePostedExec(frame->m_hWnd, &word, &a));
    ASSERT_TRUE(TakePostedExec(frame->m_hWnd, &word, &b));
    EXPECT_EQ(a, "first");
    EXPECT_EQ(b, "second");
    DiscardPendingExecCmds();
}

TEST_F(Dde, OpenPutAndWindowRequests) {
    // With no drawing window showing the file, the open road is asked.
    std::vector<std::string> opened;
    frame->inject = nullptr;
    EXPECT_EQ(DispatchDdeExecute("{Open(\"C:\\図面\\テスト.tcf\")}"), 1);
    EXPECT_EQ(DispatchDdeExecute("{Open(C:\\図面\\テスト.tcf)}"), 1);
    opened = frame->opened;
    EXPECT_EQ(opened, (std::vector<std::string>{"C:\\図面\\テスト.tcf", "C:\\図面\\テスト.tcf"}));

    EXPECT_EQ(DispatchDdeExecute("{DDEPUT(表示データ)}"), 1);
    EXPECT_EQ(DdeInputText(), "{DDEPUT(表示データ)}");
    EXPECT_EQ(DdeDataPending(), 1);
    EXPECT_EQ(CmdInput().event, CMD_EV_DDE);
    ClearDdeData();
    // A long one keeps its first 200 bytes cut on a character boundary, in
    // the host's own copy: the caller's buffer may change at once.
    {
        std::string request = "{DDEPUT(x";
        while (request.size() < 250)
            request += "表";
        std::vector<char> caller(request.begin(), request.end());
        caller.push_back('\0');
        EXPECT_EQ(DispatchDdeExecute(caller.data()), 1);
        std::fill(caller.begin(), caller.end() - 1, 'z');
        EXPECT_EQ(DdeInputText(), request.substr(0, 199));
        EXPECT_EQ(DdeDataPending(), 1);
        ClearDdeData();
    }

    struct {
        const char* text;
        UINT msg;
    } posts[] = {{"{ZWinMaxDsp}", UM_MAXIMIZE_VIEW},
                 {"{ShowIcon}", UM_MINIMIZE_MAIN},
                 {"{ShowQ}", UM_REFRESH_VIEW},
                 {"{ShowWin}", UM_SHOW_MAIN}};
    for (const auto& p : posts) {
        EXPECT_EQ(DispatchDdeExecute(p.text), 1) << p.text;
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, frame->m_hWnd, p.msg, p.msg, PM_REMOVE)) << p.text;
    }
    EXPECT_EQ(DispatchDdeExecute("{FM9002(}"), 0) << "too short to hold a path";
}

// Runs the client program with the requests while this process serves DDE;
// returns the client's answer per request.
std::vector<std::string> RunClient(CommandFixture& fx, const std::vector<std::string>& requests,
                                   const std::function<void()>& pump) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string results = std::string(temp) + "cmd_dde_results.txt";
    DeleteFileA(results.c_str());
    std::string cmd = "\"" + GetModuleDir() + "cmd_dde_client.exe\" \"" + results + "\"";
    for (const auto& r : requests)
        cmd += " \"" + r + "\"";
    STARTUPINFOA si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    std::vector<char> line(cmd.begin(), cmd.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        ADD_FAILURE() << "client did not start";
        return {};
    }
    const DWORD start = GetTickCount();
    for (;;) {
        DWORD w = MsgWaitForMultipleObjects(1, &pi.hProcess, FALSE, 100, QS_ALLINPUT);
        if (w == WAIT_OBJECT_0) break;
        pump();
        if (GetTickCount() - start > 60000) {
            ADD_FAILURE() << "client hangs";
            TerminateProcess(pi.hProcess, 9);
            break;
        }
    }
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    fx.PumpUntil([] { return true; });
    std::ifstream in(results);
    std::vector<std::string> answers;
    for (std::string s; std::getline(in, s);)
        answers.push_back(s);
    return answers;
}

class DdeTwoProcesses : public CommandFixture {
public:
    using CommandFixture::LogIndex;
    using CommandFixture::LogText;
    using CommandFixture::PumpUntil;
};

TEST_F(DdeTwoProcesses, ClientDrivesCommandsOfTheTestModule) {
    ASSERT_EQ(StartDdeServer(frame->m_hWnd), 1);
    const std::vector<std::string> requests = {
        "{ExecCmd(30001,alpha)}",      // waits for input
        "{DDEPUT(テスト表示データ)}",  // text for the waiting command
        "{ExecCmd(30002,beta)}",       // ends the first, then runs
        "{ExecCmd(30004)}",            // faults inside the module
        "{ExecCmd(30002,after)}",      // the host still serves
        "{execcmd(30002)}",            // refused
    };
    std::string ddeTextSeen;
    frame->inject = [&](WPARAM) {};
    const auto answers = RunClient(*this, requests, [&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    });
    ddeTextSeen = DdeInputText();
    ASSERT_TRUE(PumpUntil([&] { return LogIndex("args=/C:Quick after") >= 0; }));
    EXPECT_EQ(answers, (std::vector<std::string>{"1", "1", "1", "1", "1", "0"})) << LogText();
    EXPECT_EQ(ddeTextSeen, "{DDEPUT(テスト表示データ)}");
    const int start = LogIndex("TESTCMD start id=30001 args=/C:Wait alpha");
    const int ended = LogIndex("TESTCMD ended");
    const int beta = LogIndex("TESTCMD quick id=30002 args=/C:Quick beta");
    const int fault = LogIndex("コマンド実行中に例外が発生しました");
    const int after = LogIndex("TESTCMD quick id=30002 args=/C:Quick after");
    EXPECT_TRUE(start >= 0 && start < ended && ended < beta && beta < fault && fault < after) << LogText();
    EXPECT_EQ(Executor().maxStartCmdDepth, 1);
    EXPECT_EQ(backups, 1);
    EXPECT_TRUE(SwitchesAtRest());
    EXPECT_EQ(StopDdeServer(frame->m_hWnd), 1);
}

}  // namespace

namespace {

TEST_F(Dde, ClientOfModulesThroughHostMessages) {
    ASSERT_EQ(StartDdeServer(frame->m_hWnd), 1);
    ASSERT_EQ(DdeClientInit(), 1);
    HWND f = frame->m_hWnd;
    EXPECT_EQ(SendMessageA(f, UM_DDE_CLIENT_INIT, 0, (LPARAM) "RAZE"), 1);
    EXPECT_EQ(SendMessageA(f, UM_DDE_CONNECT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(f, UM_DDE_SEND, 0, (LPARAM) "{ExecCmd(30002,viaclient)}"), 1);
    std::string tooLong = "{ExecCmd(30002," + std::string(600, 'x') + ")}";
    EXPECT_EQ(SendMessageA(f, UM_DDE_SEND, 0, (LPARAM)tooLong.c_str()), 0) << "refused, not cut";
    EXPECT_EQ(SendMessageA(f, UM_DDE_DISCONNECT, 0, 0), 1);
    EXPECT_EQ(SendMessageA(f, UM_DDE_SEND, 0, (LPARAM) "{ShowWin}"), 0) << "no conversation";
    EXPECT_EQ(SendMessageA(f, UM_DDE_CONNECT_TOPIC, 0, (LPARAM) "System"), 1);
    EXPECT_EQ(SendMessageA(f, UM_DDE_SEND_TOPIC, 0, (LPARAM) "{ShowWin}"), 1);
    EXPECT_EQ(SendMessageA(f, UM_DDE_DISCONNECT_TOPIC, 0, 0), 1);
    EXPECT_EQ(SendMessageA(f, UM_DDE_CLIENT_EXIT, 0, 0), 1);
    ASSERT_TRUE(PumpUntil([&] { return LogHas("args=/C:Quick viaclient"); }));
    DdeClientTerm();
    EXPECT_EQ(StopDdeServer(f), 1);
}

}  // namespace
