#include "cmd_fixture.h"

#include <cstdlib>

#include "command/cmd_switches.h"
#include "command/command_system.h"
#include "command/dde.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"

LRESULT CTestStatusBar::OnText(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    const char* text = reinterpret_cast<const char*>(lParam);
    if (wParam == 1) name = text ? text : "";
    if (wParam == 2) {
        prompt = (text && *text) ? text : "(default)";
        if (!text || !*text) ++promptResets;
    }
    return 1;
}

LRESULT CTestFrame::OnInject(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (inject) inject(wParam);
    return 0;
}

LRESULT CTestFrame::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    auto* nm = reinterpret_cast<NMHDR*>(lParam);
    if (nm->hwndFrom == m_hWnd)
        notes.push_back("notify " + std::to_string(nm->code) + " " + std::to_string(nm->idFrom));
    handled = FALSE;
    return 0;
}

LRESULT CTestFrame::OnBusy(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    notes.push_back("busy " + std::to_string(wParam) + " " + std::to_string(lParam));
    return 0;
}

LRESULT CTestFrame::OnCommand(UINT, WPARAM wParam, LPARAM, BOOL& handled) {
    const int id = LOWORD(wParam);
    if (id < 4000 || id > 39999) {
        handled = FALSE;
        return 0;
    }
    if (::SendMessageA(m_hWnd, UM_EXEC_CMD, id, 0) != 1) handled = FALSE;
    return 0;
}

LRESULT CTestFrame::OnUnanswered(UINT msg, WPARAM, LPARAM, BOOL&) {
    notes.push_back("default " + std::to_string(msg));
    return 0xDEF;
}

void CommandFixture::SetUp() {
    frame.reset(new CTestFrame);
    CreateArgs args;
    args.title = "command test";
    args.style = WS_OVERLAPPEDWINDOW;
    ASSERT_NE(frame->Create(args), nullptr);
    statusBar.reset(new CTestStatusBar);
    CreateArgs barArgs;
    barArgs.style = WS_POPUP;
    ASSERT_NE(statusBar->Create(barArgs), nullptr);
    SetCmdMainFrame(frame->m_hWnd);
    SetCmdStatusBar(statusBar->m_hWnd);
    frame->m_host.SetFrame(frame->m_hWnd, nullptr, nullptr);

    CmdHostHooks& h = HostHooks();
    h = CmdHostHooks();
    h.writeLog = [this](int, const char* category, const char* text) {
        log.push_back(std::string(category ? category : "") + "|" + text);
    };
    h.showErrorMessage = [this](int id) { errors.push_back("msg:" + std::to_string(id)); };
    h.showErrorText = [this](const char* text) { errors.push_back(text); };
    h.safeGuard = [this] { return safe; };
    h.backupModified = [this] { ++backups; };
    h.clearPanelPages = [this] { ++panelClears; };
    h.activeView = [this] { return view; };
    h.activeViewReadOnly = [this] { return readOnly; };
    h.launchKind = [this] { return launchKind; };
    h.appTitleText = [] { return std::string("ZavIrurer"); };

    registry.reset(new CCadAppCmd);
    CmdDefText def;
    CmdDefGroupText group;
    group.name = "TestCmd";
    group.dir = DistDir();
    group.items = {
        "Wait;テスト入力待ち,30001,ZavTestCmd.dll /C:Wait,",
        "Quick;テスト即終了,30002,ZavTestCmd.dll /C:Quick,",
        "Fail;テスト未完了,30003,ZavTestCmd.dll /C:Fail,",
        "Fault;テスト例外,30004,ZavTestCmd.dll /C:Fault,",
        "Switches;テストスイッチ,30005,ZavTestCmd.dll /C:Switches,",
        "Broken;テスト異常,30006,ZavTestCmdBroken.dll,",
        "Missing;なし,30007,NoSuchModule.dll,",
        "Linger;テスト後処理,30008,ZavTestCmd.dll /C:Linger,",
        "Probe;テスト確認,30009,ZavTestCmd.dll /C:Probe,",
        "FaultInWindow;テスト窓例外,30010,ZavTestCmd.dll /C:FaultInWindow,",
        "FaultInTimer;テストタイマー例外,30011,ZavTestCmd.dll /C:FaultInTimer,",
        "FaultInRuntime;テスト実行時例外,30012,ZavTestCmd.dll /C:FaultInRuntime,",
    };
    def.groups.push_back(group);
    def.readOnlyIds = "4001,30001";
    registry->Load(def);
    SetCmdRegistry(registry.get());
    Executor() = ExecutorState();
    Switches() = CmdSwitches();
    CmdInput() = InputRecord();
    CmdWaitState() = WaitState();
}

void CommandFixture::TearDown() {
    Drain();
    DiscardPendingExecCmds();
    SetCmdRegistry(nullptr);
    registry.reset();
    HostHooks() = CmdHostHooks();
    if (statusBar && statusBar->m_hWnd) DestroyWindow(statusBar->m_hWnd);
    if (frame && frame->m_hWnd) DestroyWindow(frame->m_hWnd);
    SetCmdMainFrame(nullptr);
    SetCmdStatusBar(nullptr);
    Drain();
}

bool CommandFixture::PumpUntil(const std::function<bool()>& pred, DWORD timeoutMs) {
    const DWORD start = GetTickCount();
    while (!pred()) {
        if (GetTickCount() - start > timeoutMs) {
            ADD_FAILURE() << "timed out; log:\n" << LogText();
            return false;
        }
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                ADD_FAILURE() << "unexpected WM_QUIT";
                return false;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        }
    }
    return true;
}

void CommandFixture::Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int CommandFixture::LogIndex(const std::string& part) const {
    for (size_t i = 0; i < log.size(); ++i)
        if (log[i].find(part) != std::string::npos) return static_cast<int>(i);
    return -1;
}

bool CommandFixture::LogHas(const std::string& part) const { return LogIndex(part) >= 0; }

std::string CommandFixture::LogText() const {
    std::string all;
    for (const auto& line : log)
        all += line + "\n";
    return all;
}
