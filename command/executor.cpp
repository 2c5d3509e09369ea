// The command executor.
#include "command/executor.h"

#include <deque>
#include <memory>
#include <set>
#include <string>

#include "base/dbcs.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/text_utils.h"
#include "command/cad_app_cmd.h"
#include "command/cmd_switches.h"
#include "command/command_ids.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/safe_call.h"
#include "command/status_codes.h"
#include "win/message_box.h"

namespace {

// Copies of the argument texts of posted requests, owned until the request
// runs. The posted lParam is the address of the copy.
std::set<std::string*>& PendingTexts() {
    static std::set<std::string*> texts;
    return texts;
}

// Requests that arrived while a module command was still inside "StartCmd":
// posted only once that call has returned, so the new command never starts
// nested inside the old one.
struct DeferredRequest {
    DWORD word;
    bool hasText;
    std::string text;
};
std::deque<DeferredRequest>& Deferred() {
    static std::deque<DeferredRequest> queue;
    return queue;
}

void PostDeferred() {
    auto& queue = Deferred();
    while (!queue.empty()) {
        DeferredRequest r = queue.front();
        queue.pop_front();
        PostExecCmd(r.word, r.hasText ? r.text.c_str() : nullptr);
    }
}

void SendNotify(int id, UINT code) {
    HWND frame = CmdMainFrame();
    if (!frame) return;
    NMHDR nm = {};
    nm.hwndFrom = frame;
    nm.idFrom = static_cast<UINT_PTR>(id);
    nm.code = code;
    SendMessageA(frame, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&nm));
}

void StatusText(StatusCode which, const char* text) {
    if (HWND bar = CmdStatusBar()) SendStatusCode(bar, which, reinterpret_cast<LPARAM>(text));
}

void PushRecent(int id, const char* name) {
    if (HostHooks().pushRecentCommand) HostHooks().pushRecentCommand(id, name);
}

// One row of the system-command table.
struct SystemCmdEntry {
    int id;
    bool ends;                // sends UM_END_CMD first
    int recentMsg;            // message id of the recent / name text, 0 none
    const char* recentText;   // literal text when recentMsg is 0
    const char* englishText;  // with the English texts on
    int nameMsg;              // name shown when it differs (exit, delete file)
    const char* logText;      // "System Cmd" line, null none
    CmdFinish finish;
};

const SystemCmdEntry kSystemCmds[] = {
    {ID_CMD_NEW_DRAWING, true, IDS_NAME_NEW_DRAWING, nullptr, nullptr, 0, "%ld 新規図面", CmdFinish::Clear},
    {ID_CMD_OPEN_DRAWING, true, IDS_NAME_OPEN, nullptr, nullptr, 0, "%ld 図面を開く", CmdFinish::Clear},
    {ID_CMD_SAVE_DRAWING_AS, true, IDS_NAME_SAVE_AS, nullptr, nullptr, 0, "%ld 図面を保存", CmdFinish::Keep},
    {ID_CMD_CLOSE_DRAWING, true, 0, nullptr, nullptr, 0, "%ld 図面を閉じる", CmdFinish::Keep},
    {ID_CMD_EXIT, true, 0, nullptr, nullptr, IDS_NAME_EXIT, "%ld CAD終了", CmdFinish::Keep},
    {ID_CMD_VERSION, false, 0, nullptr, nullptr, 0, nullptr, CmdFinish::Keep},
    {ID_CMD_SAVE_DRAWING, true, IDS_NAME_SAVE, nullptr, nullptr, 0, "%ld 図面を上書き保存", CmdFinish::Keep},
    {ID_CMD_DELETE_DRAWING_FILE, true, 0, "ﾌｧｲﾙ削除", "Delete file", IDS_NAME_OPEN, "%ld 図面を削除", CmdFinish::Clear},
    {ID_CMD_DRAWING_INFO, true, IDS_NAME_DRAWING_INFO, nullptr, nullptr, 0, "%ld 図面情報変更", CmdFinish::Clear},
    {ID_CMD_CURSOR_SETTINGS, false, 0, nullptr, nullptr, 0, nullptr, CmdFinish::Keep},
    {ID_CMD_MARGIN_SETTINGS, false, 0, nullptr, nullptr, 0, nullptr, CmdFinish::Keep},
    {ID_CMD_SPLIT_WINDOW, false, 0, nullptr, nullptr, 0, nullptr, CmdFinish::Keep},
    {ID_CMD_PASTE_DRAWING, false, 0, nullptr, nullptr, 0, nullptr, CmdFinish::Keep},
    {ID_CMD_COORD_DISPLAY, false, 0, nullptr, nullptr, 0, nullptr, CmdFinish::Keep},
    {ID_CMD_APPEND_PAGE, true, 0, "ページ登録", "Append Page", 0, "%ld ページ登録", CmdFinish::Clear},
    {ID_CMD_PAGE_INFO, true, 0, "ページ情報設定", "Set Page", 0, "%ld ページ情報", CmdFinish::Clear},
    {ID_CMD_PAPER_SPACE, false, 0, nullptr, nullptr, 0, "%ld ペーパー空間表示", CmdFinish::Clear},
    {ID_CMD_MODEL_SPACE, false, 0, nullptr, nullptr, 0, "%ld モデル空間表示", CmdFinish::Clear},
    {ID_CMD_START_DRAWING, true, IDS_NAME_START_MENU, nullptr, nullptr, 0, "%ld スタートアップ新規図面",
     CmdFinish::Clear},
    {ID_CMD_PASTE_COPY_FILE, false, 0, nullptr, nullptr, 0, nullptr, CmdFinish::Keep},
};

// The action of the id, through the shell's service. An action that is not
// there (or that the shell does not offer) reports the command not done: it
// never counts as done with nothing done.
SystemCmdOutcome RunSystemCmdService(int id, HWND owner, DWORD word, int& result) {
    auto& hook = HostHooks().systemCommand;
    const SystemCmdOutcome outcome = hook ? hook(id, owner, word) : SystemCmdOutcome(-1);
    result = 1;
    if (outcome.answer < 0) {
        CmdLog(1, "System Cmd", "%ld この機能は使用できません", static_cast<long>(id));
        result = 0;
    } else if (id == ID_CMD_VERSION) {
        result = outcome.answer;
    }
    return outcome;
}

const SystemCmdEntry* FindSystemCmd(int id) {
    for (const auto& e : kSystemCmds)
        if (e.id == id) return &e;
    return nullptr;
}

int RunSystemCmd(HWND owner, DWORD word, int id) {
    const SystemCmdEntry* entry = FindSystemCmd(id);
    if (!entry) return 0;
    SendCmdNotifyStart(id);
    if ((id == ID_CMD_SAVE_DRAWING_AS || id == ID_CMD_SAVE_DRAWING) && !CmdActiveView()) {
        // Saving needs a drawing: nothing but the bracket.
        SendCmdNotifyEnd(id);
        return 1;
    }
    HWND frame = CmdMainFrame();
    if (entry->ends && frame) SendMessageA(frame, UM_END_CMD, 0, 0);
    const bool english = HostHooks().language && HostHooks().language() != 0;
    std::string recent;
    if (entry->recentMsg)
        recent = GetMessageText(entry->recentMsg);
    else if (entry->recentText)
        recent = english ? entry->englishText : entry->recentText;
    if (!recent.empty()) {
        PushRecent(id, recent.c_str());
        const char* name = entry->nameMsg ? GetMessageText(entry->nameMsg) : recent.c_str();
        StatusText(StatusCode::Message, name);
    } else if (entry->nameMsg) {
        StatusText(StatusCode::Message, GetMessageText(entry->nameMsg));
    }
    if (entry->logText) CmdLog(2, "System Cmd", entry->logText, static_cast<long>(id));
    int result = 1;
    const SystemCmdOutcome outcome = RunSystemCmdService(id, owner, word, result);
    if ((outcome.finish != CmdFinish::Table ? outcome.finish : entry->finish) == CmdFinish::Clear) {
        StatusText(StatusCode::Message, "");
        if (HostHooks().refreshToolPanel) HostHooks().refreshToolPanel();
    }
    SendCmdNotifyEnd(id);
    return result;
}

// Every switch a module may have changed goes back to rest.
void ResetAfterModuleCmd() {
    ExecutorState& ex = Executor();
    CmdSwitches& sw = Switches();
    auto& hooks = HostHooks();
    sw.enableUndo = 1;
    sw.inputScaleEnabled = 1;
    if (hooks.enableInputScale) hooks.enableInputScale(1);
    if (hooks.inputScaleBlockingOff) hooks.inputScaleBlockingOff();
    ex.runningModuleCmdId = 0;
    if (HWND frame = CmdMainFrame()) SendMessageA(frame, UM_END_ACK_FLAG, 0, 1);
    sw.undoPassSuppressed = 0;
    if (hooks.closeRightClickPopup) hooks.closeRightClickPopup();
    LayerFieldLock = 0;
    if (GetCmdRegistry()) GetCmdRegistry()->ReleaseModule();
    ex.cmdSaveFlag = 0;
    ex.currentCmdId = 0;
    if (hooks.fastAccessOff) hooks.fastAccessOff();
    sw.fastAccess = 0;
    if (hooks.resetRightClickSwitches) hooks.resetRightClickSwitches();
    sw.highlightColor = 0;
    sw.cmdFlag = 0;
    StatusText(StatusCode::Prompt, nullptr);
    StatusText(StatusCode::Message, "");
    if (hooks.showElementCount) hooks.showElementCount();
    ex.moduleCmdRunning = 0;
    if (hooks.resetRightClickEntries) hooks.resetRightClickEntries();
    CmdLog(2, "Cmd End", "OK");
    DropImportMark(1);
}

// The one road to a module's "StartCmd": loads the module of the id and
// finds the entry. Null when the module is not there, or when it has no
// entry (the module then stays loaded for the caller to release).
StartCmdProc LoadStartCmd(CCadAppCmd& registry, int id, std::string& path, std::string& args, UINT* errorMode,
                          HMODULE* loaded) {
    *loaded = registry.LoadCmdModule(id, path, args, errorMode);
    if (!*loaded) return nullptr;
    SetErrorMode(*errorMode);
    return reinterpret_cast<StartCmdProc>(GetProcAddress(*loaded, "StartCmd"));
}

struct WaitCursor {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    ~WaitCursor() { SetCursor(previous); }
};

int RunModuleCmd(HWND owner, DWORD word, int id, const char* text) {
    (void)owner;
    ExecutorState& ex = Executor();
    auto& hooks = HostHooks();
    if (id == ID_CMD_IMPORT_JWC && !CmdActiveView()) return 1;
    CCadAppCmd* registry = GetCmdRegistry();
    if (!registry) {
        if (hooks.showErrorMessage) hooks.showErrorMessage(IDS_CMD_NOT_REGISTERED);
        return 0;
    }
    std::string path, args;
    HMODULE module = nullptr;
    auto start = LoadStartCmd(*registry, id, path, args, &ex.savedErrorMode, &module);
    if (!module) return 0;
    if (text) args += std::string(" ") + text;
    auto saveFg = reinterpret_cast<CwCmdSaveFgProc>(GetProcAddress(module, "CwCmdSaveFg"));
    auto ver = reinterpret_cast<CwCmdVerProc>(GetProcAddress(module, "CwCmdVer"));
    if (!start) {
        CmdLog(0, "Error", "%sの起動に失敗しました", path.c_str());
        if (hooks.showErrorMessage) hooks.showErrorMessage(IDS_CMD_MODULE_BROKEN);
        registry->ReleaseModule();
        return 1;
    }
    ex.moduleCmdRunning = 1;
    char name[MAX_PATH] = {};
    if (GetCmdDisplayName(id, name, sizeof name)) {
        StatusText(StatusCode::Message, name);
        PushRecent(id, name);
    }
    CmdLog(2, "Cmd Start", "%d %s", id, name);
    ex.currentCmdId = id;
    ex.cmdSaveFlag = (saveFg && saveFg() == 1) ? 1 : 0;
    ex.moduleVersionFlag = (ver && ver() > 150) ? 1 : 0;
    ex.runningModuleCmdId = id;
    if (hooks.enableInputScale) hooks.enableInputScale(0);
    Switches().inputScaleEnabled = 0;
    SendCmdNotifyStart(id);
    const int guard = hooks.safeGuard ? hooks.safeGuard() : 1;
    ++ex.startCmdDepth;
    if (ex.startCmdDepth > ex.maxStartCmdDepth) ex.maxStartCmdDepth = ex.startCmdDepth;
    const int result = CallStartCmd(start, args.c_str(), guard);
    --ex.startCmdDepth;
    SendCmdNotifyEnd(id);
    ResetAfterModuleCmd();
    if (hooks.activeDrawingHasSelection && hooks.activeDrawingHasSelection())
        CmdLog(0, "Warning", "選択要素が未開放です");
    ex.moduleVersionFlag = 0;
    // Requests that arrived while the module ran may start now.
    PostDeferred();
    return result == -1 ? 0 : 1;
}

}  // namespace

int RunModuleForFile(int id, const char* fileName) {
    CCadAppCmd* registry = GetCmdRegistry();
    if (!registry) return 0;
    WaitCursor wait;
    std::string path, args;
    UINT mode = 0;
    HMODULE module = nullptr;
    auto start = LoadStartCmd(*registry, id, path, args, &mode, &module);
    if (!module) return 0;
    if (!start) {
        if (HostHooks().showErrorMessage) HostHooks().showErrorMessage(5120);
        registry->ReleaseModule();
        return 0;
    }
    char buffer[MAX_PATH];
    std::string joined = args.empty() ? std::string(fileName ? fileName : "") : args + " " + (fileName ? fileName : "");
    DbcsCopy(buffer, sizeof buffer, joined.c_str());
    // Import and export modules run on the same guard as the commands.
    CallModuleGuarded([&] { return start(CmdMainFrame(), buffer); }, module);
    registry->ReleaseModule();
    if (HostHooks().showElementCount) HostHooks().showElementCount();
    return 1;
}

ExecutorState& Executor() {
    static ExecutorState state;
    return state;
}

int LayerFieldLock = 0;

CmdSwitches& Switches() {
    static CmdSwitches switches;
    return switches;
}

bool SwitchesAtRest() {
    const CmdSwitches& s = Switches();
    const ExecutorState& ex = Executor();
    auto& rightClickAtRest = HostHooks().rightClickSwitchesAtRest;
    return s.enableUndo == 1 && s.undoPassSuppressed == 0 && LayerFieldLock == 0 && s.cmdFlag == 0 &&
           s.fastAccess == 0 && (!rightClickAtRest || rightClickAtRest()) && s.highlightColor == 0 &&
           s.inputScaleEnabled == 1 && ex.moduleCmdRunning == 0 && ex.runningModuleCmdId == 0 && ex.currentCmdId == 0 &&
           ex.cmdSaveFlag == 0 && ex.moduleVersionFlag == 0 && ex.importMark == 0 &&
           (!GetCmdRegistry() || GetCmdRegistry()->CurrentModule() == nullptr);
}

void SendCmdNotifyStart(int id) { SendNotify(id, CMD_NOTIFY_START); }
void SendCmdNotifyEnd(int id) { SendNotify(id, CMD_NOTIFY_END); }

void DropImportMark(int mode) {
    ExecutorState& ex = Executor();
    if (mode == 1) {
        if (ex.importMark && HostHooks().destroyMark) HostHooks().destroyMark(ex.importMark);
        ex.importMark = 0;
    } else if (mode == 0) {
        ex.importMark = 0;
    }
}

uint32_t TakeImportMark() {
    uint32_t mark = Executor().importMark;
    Executor().importMark = 0;
    return mark;
}

void SetImportMark(uint32_t mark) { Executor().importMark = mark; }

int IsAnyCmdRunning() { return (Executor().serviceCmdWaiting || Executor().moduleCmdRunning) ? 1 : 0; }
int IsModuleCmdRunning() { return Executor().moduleCmdRunning ? 1 : 0; }

int IsCmdAllowedInReadOnly(int id) {
    auto& readOnly = HostHooks().activeViewReadOnly;
    if (!CmdActiveView() || !readOnly || !readOnly()) return 1;
    CCadAppCmd* registry = GetCmdRegistry();
    return (!registry || registry->IsReadOnlyCmd(id)) ? 1 : 0;
}

BOOL PostExecCmd(DWORD word, const char* text) {
    HWND frame = CmdMainFrame();
    if (!frame) return FALSE;
    std::string* copy = nullptr;
    if (text) {
        copy = new std::string(text);
        PendingTexts().insert(copy);
    }
    if (!PostMessageA(frame, UM_EXEC_CMD, word, reinterpret_cast<LPARAM>(copy))) {
        if (copy) {
            PendingTexts().erase(copy);
            delete copy;
        }
        return FALSE;
    }
    return TRUE;
}

size_t PendingExecCmdCount() { return PendingTexts().size(); }

void DiscardPendingExecCmds() {
    for (auto* text : PendingTexts())
        delete text;
    PendingTexts().clear();
    Deferred().clear();
}

int ExecCadCmd(HWND owner, DWORD word, const char* text) {
    ExecutorState& ex = Executor();
    auto& hooks = HostHooks();
    const int id = static_cast<int>(word & 0xFFFF);
    ex.pageEditWarningArmed = 1;
    if (id == ID_CMD_EVENT_REQUEST || id == ID_CMD_IGNORED) return 1;
    HWND frame = CmdMainFrame();
    if (ex.serviceCmdWaiting == 1) {
        if (frame) SendMessageA(frame, UM_END_CMD, 0, 0);
        PostExecCmd(word, text);
        ex.serviceCmdWaiting = 0;
        return 1;
    }
    if (ex.moduleCmdRunning == 1) {
        if (frame) SendMessageA(frame, UM_END_CMD, 0, 0);
        StatusText(StatusCode::Prompt, nullptr);
        Deferred().push_back({word, text != nullptr, text ? text : ""});
        return 1;
    }
    if (hooks.countCommandForBackup) hooks.countCommandForBackup();
    if (!IsCmdAllowedInReadOnly(id)) {
        const std::string caption = hooks.appTitleText ? hooks.appTitleText() : std::string();
        const bool kind2 = hooks.launchKind && hooks.launchKind() == 2;
        ZavMessageBox(frame,
                      kind2 ? "対象図面は参照モードで開かれています。作業を中止します。"
                            : "この図面は参照モードで開かれています。",
                      caption.c_str(), MB_OK | MB_ICONINFORMATION);
        return kind2 ? 0 : 1;
    }
    if (!IsModuleCommand(id)) return RunSystemCmd(owner, word, id);
    return RunModuleCmd(owner, word, id, text);
}

int ExecCadCmdBusy(HWND owner, DWORD word, const char* text) {
    if (HostHooks().closeRightClickPopup) HostHooks().closeRightClickPopup();
    HWND frame = CmdMainFrame();
    const WPARAM id = word & 0xFFFF;
    if (frame) SendMessageA(frame, UM_CMD_BUSY, id, 1);
    int result = ExecCadCmd(owner, word, text);
    if (frame) SendMessageA(frame, UM_CMD_BUSY, id, 0);
    return result;
}

LRESULT OnExecCmdMessage(WPARAM wParam, LPARAM lParam) {
    // A request posted by PostExecCmd carries our copy; take it over so it
    // lives exactly as long as this run.
    auto* copy = reinterpret_cast<std::string*>(lParam);
    std::unique_ptr<std::string> owned;
    const char* text = reinterpret_cast<const char*>(lParam);
    auto& pending = PendingTexts();
    auto it = pending.find(copy);
    if (copy && it != pending.end()) {
        owned.reset(copy);
        pending.erase(it);
        text = owned->c_str();
    } else if (text && IsWindow(reinterpret_cast<HWND>(lParam))) {
        // A WM_COMMAND from a control hands on the control's window as
        // lParam: that is no argument text.
        text = nullptr;
    }
    return ExecCadCmdBusy(CmdMainFrame(), static_cast<DWORD>(wParam), text);
}
