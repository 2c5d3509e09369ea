// CCadSysCmd: command state, prompt, dialogs, log and DDE; and the wait
// handler of CCadInterruptCmd.
#include <cstring>

#include "base/dbcs.h"
#include "base/message_table.h"
#include "command/cmd_switches.h"
#include "command/command_system.h"
#include "command/dde.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/host_objects.h"
#include "command/wait_loop.h"
#include "command/status_codes.h"

namespace {

// Longest prompt or command-name text passed on to the status bar.
const size_t kStatusTextMax = 511;

LRESULT StatusBarText(StatusCode which, const char* text) {
    HWND bar = CmdStatusBar();
    if (!bar) return 0;
    if (!text) return SendStatusCode(bar, which);
    char bounded[kStatusTextMax + 1];
    DbcsCopy(bounded, sizeof bounded, text);
    return SendStatusCode(bar, which, reinterpret_cast<LPARAM>(bounded));
}

const char* Text(LPARAM lParam) { return reinterpret_cast<const char*>(lParam); }

}  // namespace

LRESULT CCadSysCmd::OnEndCmd(UINT, WPARAM, LPARAM, BOOL&) {
    PostCmdEvent(CMD_EV_END);
    HWND frame = m_mainFrame ? m_mainFrame : CmdMainFrame();
    LRESULT ack = frame ? SendMessageA(frame, UM_END_ACK_FLAG, 1, 0) : m_endAckFlag;
    if (!ack) return 0;
    StatusBarText(StatusCode::Message, " ");
    StatusBarText(StatusCode::Prompt, nullptr);
    return 1;
}

LRESULT CCadSysCmd::OnClearEventMask(UINT, WPARAM, LPARAM, BOOL&) {
    CmdInput().wantedMask = 0;
    return 1;
}

LRESULT CCadSysCmd::OnAddEventMask(UINT, WPARAM, LPARAM lParam, BOOL&) {
    CmdInput().wantedMask |= static_cast<uint32_t>(lParam);
    return 1;
}

LRESULT CCadSysCmd::OnSetPrompt(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return StatusBarText(StatusCode::Prompt, Text(lParam));
}

LRESULT CCadSysCmd::OnExecCmd(UINT, WPARAM wParam, LPARAM lParam, BOOL&) { return OnExecCmdMessage(wParam, lParam); }

LRESULT CCadSysCmd::OnGetCurCmdId(UINT, WPARAM, LPARAM, BOOL&) { return Executor().currentCmdId; }

LRESULT CCadSysCmd::OnSetCmdFlag(UINT, WPARAM, LPARAM lParam, BOOL&) {
    Switches().cmdFlag = lParam ? 1 : 0;
    return Switches().cmdFlag;
}

LRESULT CCadSysCmd::OnEndAckFlag(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (wParam == 1) return m_endAckFlag;
    m_endAckFlag = static_cast<int>(lParam);
    return 1;
}

LRESULT CCadSysCmd::OnSuspendUndoPass(UINT, WPARAM, LPARAM lParam, BOOL&) {
    Switches().undoPassSuppressed = static_cast<int>(lParam);
    return 1;
}

LRESULT CCadSysCmd::OnLockLayerField(UINT, WPARAM, LPARAM lParam, BOOL&) {
    LayerFieldLock = static_cast<int>(lParam);
    return 0;
}

LRESULT CCadSysCmd::OnFastAccessOn(UINT, WPARAM, LPARAM, BOOL&) {
    if (HostHooks().fastAccessOn) HostHooks().fastAccessOn();
    Switches().fastAccess = 1;
    return 1;
}

LRESULT CCadSysCmd::OnFastAccessOff(UINT, WPARAM, LPARAM, BOOL&) {
    if (HostHooks().fastAccessOff) HostHooks().fastAccessOff();
    Switches().fastAccess = 0;
    return 1;
}

LRESULT CCadSysCmd::OnSetAppendKeepFields(UINT, WPARAM wParam, LPARAM, BOOL&) {
    if (wParam == 0 || wParam == 1) Switches().appendKeepFields = static_cast<int>(wParam);
    return 0;
}

LRESULT CCadSysCmd::OnSetElementCheckMode(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    if (LOWORD(wParam) != 100) return 0;
    return HostHooks().setElementCheckMode ? HostHooks().setElementCheckMode(lParam) : 0;
}

LRESULT CCadSysCmd::OnRaiseDdeEvent(UINT, WPARAM, LPARAM, BOOL&) {
    PostCmdEvent(CMD_EV_DDE);
    return 1;
}

LRESULT CCadSysCmd::OnTakeImportMark(UINT, WPARAM, LPARAM, BOOL&) { return TakeImportMark(); }

LRESULT CCadSysCmd::OnRasterFunc(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return HostHooks().rasterFunc ? HostHooks().rasterFunc(wParam, lParam) : 0;
}

LRESULT CCadSysCmd::OnGetMessageText(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return reinterpret_cast<LRESULT>(GetMessageText(static_cast<int>(lParam)));
}

LRESULT CCadSysCmd::OnGetLanguage(UINT, WPARAM, LPARAM, BOOL&) {
    return HostHooks().language ? HostHooks().language() : 0;
}

LRESULT CCadSysCmd::OnWriteLog(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    CmdLog(static_cast<int>(wParam), nullptr, "%s", lParam ? Text(lParam) : "");
    return 1;
}

LRESULT CCadSysCmd::OnConfirmYesNo(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return HostHooks().yesNoPlain ? HostHooks().yesNoPlain(wParam, lParam) : 0;
}

LRESULT CCadSysCmd::OnConfirmYesNoEx(UINT, WPARAM wParam, LPARAM lParam, BOOL&) {
    return HostHooks().yesNoCancel ? HostHooks().yesNoCancel(wParam, lParam) : 0;
}

LRESULT CCadSysCmd::OnDdeExecute(UINT, WPARAM, LPARAM lParam, BOOL&) { return DispatchDdeExecute(Text(lParam)); }
LRESULT CCadSysCmd::OnDdeConnect(UINT, WPARAM, LPARAM, BOOL&) { return DdeClientConnect(); }
LRESULT CCadSysCmd::OnDdeDisconnect(UINT, WPARAM, LPARAM, BOOL&) { return DdeClientDisconnect(); }
LRESULT CCadSysCmd::OnDdeSend(UINT, WPARAM, LPARAM lParam, BOOL&) { return DdeClientSend(Text(lParam)); }
LRESULT CCadSysCmd::OnDdeClientInit(UINT, WPARAM, LPARAM lParam, BOOL&) { return DdeClientSetService(Text(lParam)); }
LRESULT CCadSysCmd::OnDdeClientExit(UINT, WPARAM, LPARAM, BOOL&) { return DdeClientExit(); }
LRESULT CCadSysCmd::OnDdeConnectTopic(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return DdeClientConnectTopic(Text(lParam));
}
LRESULT CCadSysCmd::OnDdeDisconnectTopic(UINT, WPARAM, LPARAM, BOOL&) { return DdeClientDisconnectTopic(); }
LRESULT CCadSysCmd::OnDdeSendTopic(UINT, WPARAM, LPARAM lParam, BOOL&) { return DdeClientSendTopic(Text(lParam)); }

LRESULT CCadInterruptCmd::OnWaitCmdEvent(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return WaitCmdEvent(reinterpret_cast<CmdRequest*>(lParam), m_accel);
}
