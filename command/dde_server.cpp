// The DDE server: service "RAZE", topic "System"; EXECUTE requests become
// actions of the host.
#include "base/message_ids.h"
#include "command/command_ids.h"
#include "command/dde.h"

#include <ddeml.h>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <string>

#include "base/dbcs.h"
#include "command/cmd_switches.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/wait_loop.h"

namespace {

DWORD g_instance = 0;
HSZ g_service = nullptr;
HSZ g_topic = nullptr;
int g_conversations = 0;
std::string g_ddeInput;
int g_ddeDataFlag = 0;
// Set while the request of an EXECUTE transaction is handled.
bool g_inTransaction = false;
// Opens asked for by transactions, run from the message loop after them.
std::deque<std::string> g_pendingOpens;

const char kService[] = "RAZE";
const char kTopic[] = "System";

bool IsName(HSZ hsz, const char* name) {
    if (!hsz) return false;
    char buffer[64] = {};
    DdeQueryStringA(g_instance, hsz, buffer, sizeof buffer, CP_WINANSI);
    return std::strcmp(buffer, name) == 0;
}

bool StartsWith(const char* text, const char* prefix) { return std::strncmp(text, prefix, std::strlen(prefix)) == 0; }

// The drawing view already showing the file, or null.
HWND FindDrawingView(const std::string& path) {
    auto& hook = HostHooks().findDrawingView;
    return hook ? hook(path.c_str()) : nullptr;
}

// Shows the frame as it stands and activates the drawing window of `view`.
void ActivateDrawing(HWND view) {
    if (HWND frame = CmdMainFrame()) ShowWindow(frame, SW_SHOWNA);
    HWND mdi = CmdMdiClient();
    if (mdi) PostMessageA(mdi, WM_MDIACTIVATE, reinterpret_cast<WPARAM>(GetParent(view)), 0);
}

// The open road for a file that no drawing window shows.
void OpenDrawing(const std::string& path) {
    if (HostHooks().ddeOpenDrawing) {
        HostHooks().ddeOpenDrawing(path.c_str());
    } else if (HWND frame = CmdMainFrame()) {
        SendMessageA(frame, UM_OPEN_DRAWING_FILE, 0, reinterpret_cast<LPARAM>(path.c_str()));
    }
}

void PostToFrame(UINT msg) {
    if (HWND frame = CmdMainFrame()) PostMessageA(frame, msg, 0, 0);
}

void OpenOrActivate(const std::string& path) {
    if (HWND view = FindDrawingView(path)) {
        ActivateDrawing(view);
    } else {
        OpenDrawing(path);
    }
}

void CALLBACK RunPendingOpens(HWND, UINT, UINT_PTR id, DWORD) {
    ::KillTimer(nullptr, id);
    while (!g_pendingOpens.empty()) {
        const std::string path = g_pendingOpens.front();
        g_pendingOpens.pop_front();
        OpenOrActivate(path);
    }
}

// "{Open(": after the prefix and one optional double quote, up to the next
// double quote or a ")" directly followed by "}".
int HandleOpen(const char* text) {
    const char* p = text + std::strlen("{Open(");
    if (*p == '"') ++p;
    std::string path;
    while (*p) {
        if (*p == '"') break;
        if (*p == ')' && p[1] == '}') break;
        size_t n = DbcsCharLength(p);
        path.append(p, n);
        p += n;
    }
    TruncateDbcsText(path, kDdePathMax);
    HWND frame = CmdMainFrame();
    if (frame) SendMessageA(frame, UM_END_CMD, 0, 0);
    // An open may ask the user (a read-only file, a missing image reader)
    // for longer than the client waits for its answer; a client that gave
    // up ends the conversation while the server would still be inside its
    // callback. The transaction is answered first, the open follows from
    // the message loop.
    if (g_inTransaction) {
        g_pendingOpens.push_back(path);
        if (::SetTimer(nullptr, 0, 0, RunPendingOpens)) return 1;
        g_pendingOpens.pop_back();
    }
    OpenOrActivate(path);
    return 1;
}

// "{ExecCmd(id[,argument)]": the argument runs to the last ")" after the comma.
int HandleExecCmd(const char* text) {
    const char* p = text + std::strlen("{ExecCmd(");
    char* end = nullptr;
    long id = std::strtol(p, &end, 10);
    if (end == p || !IsExecutorCommand(static_cast<int>(id))) return 0;
    std::string argument;
    const char* comma = DbcsFindChar(end, ',');
    if (comma) {
        const char* close = DbcsFindLastChar(comma + 1, ')');
        // A comma without a closing bracket has no defined argument: refused
        // rather than guessed.
        if (!close) {
            CmdLog(2, "DDE", "ExecCmd argument without ')' (%s)", text);
            return 0;
        }
        argument.assign(comma + 1, close);
        TruncateDbcsText(argument, kDdeArgumentMax);
    }
    // The request is queued with its own copy of the argument: the next
    // EXECUTE may arrive before this one runs.
    PostExecCmd(static_cast<DWORD>(id), argument.c_str());
    return 1;
}

int HandleDdePut(const char* text) {
    g_ddeInput = text;
    TruncateDbcsText(g_ddeInput, kDdeExecuteMax);
    PostCmdEvent(CMD_EV_DDE);
    g_ddeDataFlag = 1;
    Switches().ddeDataFlag = 1;
    return 1;
}

int HandleFm9002(const char* text) {
    HWND frame = CmdMainFrame();
    const size_t prefix = std::strlen("{FM9002(");
    const size_t length = std::strlen(text);
    // Too short to hold a path and its closing "})": nothing to open.
    if (length < prefix + 2) return 0;
    if (frame) SendMessageA(frame, UM_END_ACK_FLAG, 0, 0);
    Executor().serviceCmdWaiting = 0;  // the service commands' wait ends
    std::string path(text + prefix, length - prefix - 2);
    TruncateDbcsText(path, kDdePathMax);
    OpenOrActivate(path);
    if (HWND view = CmdActiveView()) {
        if (frame) ShowWindow(frame, SW_RESTORE);
        HWND mdi = CmdMdiClient();
        if (mdi) SendMessageA(mdi, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(GetParent(view)), 0);
    }
    Sleep(100);
    PostExecCmd(ID_CMD_DDE_DRAWING_OPENED, "");
    if (frame) SendMessageA(frame, UM_END_ACK_FLAG, 0, 1);
    return 1;
}

HDDEDATA CALLBACK ServerCallback(UINT type, UINT format, HCONV conv, HSZ hsz1, HSZ hsz2, HDDEDATA data, ULONG_PTR data1,
                                 ULONG_PTR data2) {
    (void)data2;
    switch (type) {
    case XTYP_CONNECT:
        CmdLog(3, "DDE Server", "XTYP_CONNECT");
        return (IsName(hsz2, kService) && IsName(hsz1, kTopic)) ? reinterpret_cast<HDDEDATA>(1) : nullptr;
    case XTYP_WILDCONNECT: {
        CmdLog(3, "DDE Server", "XTYP_WILDCONNECT");
        HSZPAIR pairs[2] = {};
        if ((!hsz2 || IsName(hsz2, kService)) && (!hsz1 || IsName(hsz1, kTopic))) {
            pairs[0].hszSvc = g_service;
            pairs[0].hszTopic = g_topic;
            return DdeCreateDataHandle(g_instance, reinterpret_cast<LPBYTE>(pairs), sizeof pairs, 0, nullptr, 0, 0);
        }
        return DdeCreateDataHandle(g_instance, reinterpret_cast<LPBYTE>(pairs), sizeof(HSZPAIR), 0, nullptr, 0, 0);
    }
    case XTYP_EXECUTE: {
        if (!IsName(hsz1, kTopic)) {
            CmdLog(3, "DDE Server", "XTYP_EXECUTE ?");
            return nullptr;
        }
        char text[kDdeExecuteMax + 1] = {};
        DdeGetData(data, reinterpret_cast<LPBYTE>(text), kDdeExecuteMax, 0);
        text[kDdeExecuteMax] = '\0';
        // Cut on a character boundary so that no half character is matched.
        TruncateDbcsText(text, kDdeExecuteMax);
        LRESULT r = 0;
        const bool outer = g_inTransaction;
        g_inTransaction = true;
        if (HWND frame = CmdMainFrame()) r = SendMessageA(frame, UM_DDE_EXECUTE, 0, reinterpret_cast<LPARAM>(text));
        g_inTransaction = outer;
        if (r) {
            CmdLog(3, "DDE Server", "XTYP_EXECUTE OK");
            return reinterpret_cast<HDDEDATA>(DDE_FACK);
        }
        CmdLog(3, "DDE Server", "XTYP_EXECUTE NG");
        return reinterpret_cast<HDDEDATA>(DDE_FNOTPROCESSED);
    }
    case XTYP_REQUEST:
        CmdLog(3, "DDE Server", "XTYP_REQUEST");
        if (IsName(hsz1, kTopic) && format == CF_TEXT) {
            static const char reply[] = "??? Message";
            return DdeCreateDataHandle(g_instance, (LPBYTE)reply, sizeof reply, 0, hsz2, CF_TEXT, 0);
        }
        return nullptr;
    case XTYP_ADVDATA: CmdLog(3, "DDE Server", "XTYP_ADVDATA"); return reinterpret_cast<HDDEDATA>(DDE_FACK);
    case XTYP_CONNECT_CONFIRM:
        ++g_conversations;
        CmdLog(3, "DDE Server", "XTYP_CONNECT_CONFIRM %ld , %d", (long)(ULONG_PTR)conv, g_conversations);
        return nullptr;
    case XTYP_DISCONNECT:
        --g_conversations;
        CmdLog(3, "DDE Server", "XTYP_DISCONNECT %ld , %d", (long)(ULONG_PTR)conv, g_conversations);
        return nullptr;
    case XTYP_MONITOR:
        if (data2 & MF_CONV)
            CmdLog(3, "DDE Server", "XTYPF_MONITOR MF_CONV");
        else
            CmdLog(3, "DDE Server", "XTYPF_MONITOR %ld", (long)data2);
        return nullptr;
    case XTYP_ADVREQ: CmdLog(3, "DDE Server", "XTYPF_ADVREQ"); return nullptr;
    case XTYP_POKE: CmdLog(3, "DDE Server", "XTYPF_POKE"); return nullptr;
    case XTYP_ERROR: CmdLog(3, "DDE Server", "XTYPF_ERROR"); return nullptr;
    case XTYP_XACT_COMPLETE: CmdLog(3, "DDE Server", "XTYP_XACT_COMPLETE"); return nullptr;
    case XTYP_REGISTER: CmdLog(3, "DDE Server", "XTYP_REGISTER"); return nullptr;
    case XTYP_UNREGISTER: CmdLog(3, "DDE Server", "XTYP_UNREGISTER"); return nullptr;
    default:
        CmdLog(3, "DDE Server", "%ld その他のXTYP", (long)type);
        (void)data1;
        return nullptr;
    }
}

}  // namespace

int StartDdeServer(HWND mainFrame) {
    (void)mainFrame;
    if (g_instance) return 1;
    UINT r = DdeInitializeA(&g_instance, ServerCallback, APPCLASS_STANDARD | MF_ERRORS | MF_CONV, 0);
    if (r != DMLERR_NO_ERROR) {
        g_instance = 0;
        if (HostHooks().showErrorMessage) HostHooks().showErrorMessage(IDS_DDE_INIT_FAILED);
        return 0;
    }
    g_service = DdeCreateStringHandleA(g_instance, kService, CP_WINANSI);
    g_topic = DdeCreateStringHandleA(g_instance, kTopic, CP_WINANSI);
    DdeNameService(g_instance, g_service, nullptr, DNS_REGISTER);
    return 1;
}

int StopDdeServer(HWND mainFrame) {
    (void)mainFrame;
    CmdLog(3, "DDE Server", "exit Start");
    DdeClientDisconnect();
    CmdLog(3, "DDE Server", "exit Step1");
    if (!g_instance) return 1;
    if (g_topic) DdeFreeStringHandle(g_instance, g_topic);
    g_topic = nullptr;
    CmdLog(3, "DDE Server", "exit Step2");
    HDDEDATA r = DdeNameService(g_instance, g_service, nullptr, DNS_UNREGISTER);
    CmdLog(3, "DDE Server", "exit End (%ld)", (long)(ULONG_PTR)r);
    if (g_service) DdeFreeStringHandle(g_instance, g_service);
    g_service = nullptr;
    DdeUninitialize(g_instance);
    g_instance = 0;
    g_conversations = 0;
    return 1;
}

int DdeConversationCount() { return g_conversations; }

int DispatchDdeExecute(const char* text) {
    if (!text) return 0;
    // Requests handed in through the host message are bounded like those
    // taken from a transaction.
    std::string request(text);
    TruncateDbcsText(request, kDdeExecuteMax);
    const char* t = request.c_str();
    CmdLog(2, "DDE", "Execute Message (%s)", t);
    if (StartsWith(t, "{Open(")) return HandleOpen(t);
    if (StartsWith(t, "{ZWinMaxDsp}")) return PostToFrame(UM_MAXIMIZE_VIEW), 1;
    if (StartsWith(t, "{ExecCmd(")) return HandleExecCmd(t);
    if (StartsWith(t, "{ShowIcon}")) return PostToFrame(UM_MINIMIZE_MAIN), 1;
    if (StartsWith(t, "{ShowQ}")) return PostToFrame(UM_REFRESH_VIEW), 1;
    if (StartsWith(t, "{ShowWin}")) return PostToFrame(UM_SHOW_MAIN), 1;
    if (StartsWith(t, "{DDEPUT(")) return HandleDdePut(t);
    if (StartsWith(t, "{FM9002(")) return HandleFm9002(t);
    return 0;
}

const std::string& DdeInputText() { return g_ddeInput; }
int DdeDataPending() { return g_ddeDataFlag; }
void ClearDdeData() {
    g_ddeDataFlag = 0;
    Switches().ddeDataFlag = 0;
}
