// The DDE client that command modules use through host messages.
#include "base/message_ids.h"
#include "command/dde.h"

#include <ddeml.h>

#include <cstring>

#include "base/dbcs.h"
#include "command/host_hooks.h"

namespace {

DWORD g_client = 0;
HSZ g_service = nullptr;
HSZ g_topicHsz = nullptr;
HCONV g_conv = nullptr;
HCONV g_topicConv = nullptr;
std::string g_serviceName;
// Longest text a module may send, its terminating zero included.
const size_t kSendBufferSize = 500;

HDDEDATA CALLBACK ClientCallback(UINT type, UINT, HCONV conv, HSZ, HSZ, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    static int count = 0;
    switch (type) {
    case XTYP_CONNECT: CmdLog(3, "DDE", "XTYP_CONNECT"); break;
    case XTYP_REQUEST: CmdLog(3, "DDE", "XTYP_REQUEST"); break;
    case XTYP_WILDCONNECT: CmdLog(3, "DDE", "XTYP_WILDCONNECT"); break;
    case XTYP_ADVDATA: CmdLog(3, "DDE", "XTYP_ADVDATA"); break;
    case XTYP_EXECUTE: CmdLog(3, "DDE", "XTYP_EXECUTE ??"); break;
    case XTYP_CONNECT_CONFIRM: CmdLog(3, "DDE", "XTYP_CONNECT_CONFIRM %ld , %d", (long)(ULONG_PTR)conv, ++count); break;
    case XTYP_XACT_COMPLETE: CmdLog(3, "DDE", "XTYP_XACT_COMPLETE"); break;
    case XTYP_REGISTER: CmdLog(3, "DDE", "XTYP_REGISTER"); break;
    case XTYP_DISCONNECT: CmdLog(3, "DDE", "XTYP_DISCONNECT %ld , %d", (long)(ULONG_PTR)conv, --count); break;
    case XTYP_UNREGISTER: CmdLog(3, "DDE", "XTYP_UNREGISTER"); break;
    default: CmdLog(3, "DDE", "%ld", (long)type); break;
    }
    return nullptr;
}

// POKE ("XTYP_POKE:item:data") or EXECUTE of the send buffer on `conv`.
int Send(HCONV conv, const char* text, bool topic) {
    if (!g_client || !conv || !text) return 0;
    // Longer texts than the send buffer are refused, not cut: a cut command
    // would do something else than asked.
    if (std::strlen(text) >= kSendBufferSize) {
        CmdLog(0, "Error", "DDE send text too long (%d bytes)", (int)std::strlen(text));
        return 0;
    }
    // The transaction pumps messages while it waits, and a retry sends the
    // text again: it must be this call's own copy, not a buffer that a send
    // made from a nested message could overwrite.
    const std::string buffer(text);
    static const char pokePrefix[] = "XTYP_POKE:";
    const bool poke = buffer.compare(0, sizeof pokePrefix - 1, pokePrefix) == 0;
    HSZ item = nullptr;
    const char* payload = buffer.c_str();
    if (poke) {
        const char* itemText = buffer.c_str() + sizeof pokePrefix - 1;
        const char* colon = DbcsFindChar(itemText, ':');
        std::string itemName = colon ? std::string(itemText, colon) : std::string(itemText);
        payload = colon ? colon + 1 : "";
        item = DdeCreateStringHandleA(g_client, itemName.c_str(), CP_WINANSI);
    }
    int ok = 0;
    for (int attempt = 0; attempt < 4 && !ok; ++attempt) {
        CmdLog(3, "DDE", poke ? "POKE = %s" : "EXECUTE = %s", payload);
        DWORD result = 0;
        HDDEDATA r = DdeClientTransaction((LPBYTE)payload, (DWORD)std::strlen(payload) + 1, conv, item,
                                          poke ? CF_TEXT : 0, poke ? XTYP_POKE : XTYP_EXECUTE, 600000, &result);
        if (r) {
            CmdLog(2, "DDE", poke ? "POKE" : "EXECUTE");
            ok = 1;
        } else {
            CmdLog(2, "DDE", poke ? "POKE FALSE" : "EXECUTE FALSE");
            LogDdeError(g_client);
        }
    }
    if (!ok) {
        CmdLog(2, "DDE", topic ? "EXECUTE FALSE" : "EXECUTE END");
        LogDdeError(g_client);
    }
    if (item) DdeFreeStringHandle(g_client, item);
    return ok;
}

int Disconnect(HCONV& conv, const char* okFormat) {
    if (!conv) return 0;
    for (int attempt = 0; attempt < 50; ++attempt) {
        if (DdeDisconnect(conv)) {
            CmdLog(2, "DDE", okFormat, (long)(ULONG_PTR)conv);
            conv = nullptr;
            return 1;
        }
        CmdLog(2, "DDE", "DISCONNECT FALSE");
        LogDdeError(g_client);
        Sleep(100);
    }
    return 0;
}

}  // namespace

const char* DdeErrorName(UINT code) {
    switch (code) {
    case DMLERR_ADVACKTIMEOUT: return "DMLERR_ADVACKTIMEOUT";
    case DMLERR_BUSY: return "DMLERR_BUSY";
    case DMLERR_DATAACKTIMEOUT: return "DMLERR_DATAACKTIMEOUT";
    case DMLERR_DLL_NOT_INITIALIZED: return "DMLERR_DLL_NOT_INITIALIZED";
    case DMLERR_DLL_USAGE: return "DMLERR_DLL_USAGE";
    case DMLERR_EXECACKTIMEOUT: return "DMLERR_EXECACKTIMEOUT";
    case DMLERR_INVALIDPARAMETER: return "DMLERR_INVALIDPARAMETER";
    case DMLERR_LOW_MEMORY: return "DMLERR_LOW_MEMORY";
    case DMLERR_MEMORY_ERROR: return "DMLERR_MEMORY_ERROR";
    case DMLERR_NOTPROCESSED: return "DMLERR_NOTPROCESSED";
    case DMLERR_NO_CONV_ESTABLISHED: return "DMLERR_NO_CONV_ESTABLISHED";
    case DMLERR_POKEACKTIMEOUT: return "DMLERR_POKEACKTIMEOUT";
    case DMLERR_POSTMSG_FAILED: return "DMLERR_POSTMSG_FAILED";
    case DMLERR_REENTRANCY: return "DMLERR_REENTRANCY";
    case DMLERR_SERVER_DIED: return "DMLERR_SERVER_DIED";
    case DMLERR_SYS_ERROR: return "DMLERR_SYS_ERROR";
    case DMLERR_UNADVACKTIMEOUT: return "DMLERR_UNADVACKTIMEOUT";
    case DMLERR_UNFOUND_QUEUE_ID: return "DMLERR_UNFOUND_QUEUE_ID";
    default: return "";
    }
}

void LogDdeError(DWORD instance) { CmdLog(0, "Error", "%s DDEエラー", DdeErrorName(DdeGetLastError(instance))); }

int DdeClientInit() {
    if (g_client) return 1;
    if (DdeInitializeA(&g_client, ClientCallback, APPCMD_CLIENTONLY, 0) != DMLERR_NO_ERROR) {
        g_client = 0;
        if (HostHooks().showErrorMessage) HostHooks().showErrorMessage(IDS_DDE_INIT_FAILED);
        return 0;
    }
    return 1;
}

void DdeClientTerm() {
    if (!g_client) return;
    CmdLog(3, "DDE", "exit");
    DdeUninitialize(g_client);
    g_client = 0;
    g_service = g_topicHsz = nullptr;
    g_conv = g_topicConv = nullptr;
}

int DdeClientSetService(const char* service) {
    if (!g_client || !service) {
        CmdLog(2, "DDE", "INIT FALSE");
        return 0;
    }
    if (g_service) DdeFreeStringHandle(g_client, g_service);
    g_serviceName = service;
    g_service = DdeCreateStringHandleA(g_client, service, CP_WINANSI);
    CmdLog(2, "DDE", g_service ? "INIT" : "INIT FALSE");
    return g_service ? 1 : 0;
}

int DdeClientExit() {
    if (!g_client || !g_service) return 0;
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (DdeFreeStringHandle(g_client, g_service)) {
            g_service = nullptr;
            CmdLog(2, "DDE", "EXIT");
            return 1;
        }
        CmdLog(2, "DDE", "EXIT FALSE");
    }
    return 0;
}

int DdeClientConnect() {
    if (!g_client || !g_service) return 0;
    HSZ topic = DdeCreateStringHandleA(g_client, "System", CP_WINANSI);
    for (int attempt = 0; attempt < 10; ++attempt) {
        g_conv = DdeConnect(g_client, g_service, topic, nullptr);
        if (g_conv) {
            CmdLog(3, "DDE", "CONNECT ID=%ld", (long)(ULONG_PTR)g_conv);
            DdeFreeStringHandle(g_client, topic);
            return 1;
        }
        CmdLog(2, "DDE", "CONNECT FALSE");
        LogDdeError(g_client);
    }
    CmdLog(2, "DDE", "CONNECT FALSE 30");
    DdeFreeStringHandle(g_client, topic);
    return 0;
}

int DdeClientSend(const char* text) { return Send(g_conv, text, false); }

int DdeClientDisconnect() { return Disconnect(g_conv, "DISCONNECT ID=%ldFALSE"); }

int DdeClientConnectTopic(const char* topic) {
    if (!g_client || !g_service || !topic) return 0;
    if (g_topicHsz) DdeFreeStringHandle(g_client, g_topicHsz);
    g_topicHsz = DdeCreateStringHandleA(g_client, topic, CP_WINANSI);
    g_topicConv = DdeConnect(g_client, g_service, g_topicHsz, nullptr);
    return g_topicConv ? 1 : 0;
}

int DdeClientSendTopic(const char* text) { return Send(g_topicConv, text, true); }

int DdeClientDisconnectTopic() {
    int r = Disconnect(g_topicConv, "DISCONNECT ID=%ld");
    if (g_topicHsz) DdeFreeStringHandle(g_client, g_topicHsz);
    g_topicHsz = nullptr;
    return r;
}
