#include "shell/service_frame.h"

#include "base/message_table.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/status_codes.h"
#include "command/wait_loop.h"
#include "view/rubber_band.h"
#include "view/view_table.h"

std::function<int(CmdRequest*)> ServiceWaitHook;

CmdRequest& ServiceRequest() {
    static CmdRequest request = {};
    return request;
}

ServiceDrag& ServiceDragState() {
    static ServiceDrag drag;
    return drag;
}

bool ServiceEnglish() { return Running().LANGUAGE != 0; }

const char* ServiceMessage(int id) {
    const char* text = GetMessageText(id);
    return text ? text : "";
}

void SetServiceName(const char* text) {
    if (HWND bar = CmdStatusBar()) SendStatusCode(bar, StatusCode::Message, reinterpret_cast<LPARAM>(text));
}

void SetServicePrompt(const char* text) {
    if (HWND bar = CmdStatusBar()) SendStatusCode(bar, StatusCode::Prompt, reinterpret_cast<LPARAM>(text));
}

void RestoreInputRecord(const InputRecord& saved) {
    InputRecord& in = CmdInput();
    if (in.event == CMD_EV_PANEL) {
        // The panel event is the waiting command's input: only its own mask
        // comes back.
        in.wantedMask = saved.wantedMask;
        return;
    }
    in = saved;
}

bool ServiceFrame::TakeOver(bool repost) {
    ExecutorState& ex = Executor();
    if (ex.serviceCmdWaiting != 1) return true;
    SetServiceName(nullptr);
    SetServicePrompt(nullptr);
    HWND frame = CmdMainFrame();
    if (frame) SendMessageA(frame, UM_END_CMD, 0, 0);
    if (frame && repost) PostMessageA(frame, WM_COMMAND, static_cast<WPARAM>(m_id), 0);
    return false;
}

void ServiceFrame::Begin(const char* name, const char* prompt, uint32_t mask) {
    InputRecord& in = CmdInput();
    if (in.wantedMask & CMD_WANT_TRACK) UpdateRubberBand(GetActiveView(), 0, 0, 1);
    m_saved = in;
    if (HWND bar = CmdStatusBar()) SendMessageA(bar, UM_STATUS_SAVE_TEXTS, 0, 0);
    SetServiceName(name);
    SetServicePrompt(prompt);
    in.wantedMask = mask;
    Executor().serviceCmdWaiting = 1;
    m_begun = true;
    m_restored = false;
    m_last = 0;
}

int ServiceFrame::Wait() {
    CmdRequest* req = &ServiceRequest();
    if (ServiceWaitHook)
        m_last = ServiceWaitHook(req);
    else
        m_last = RequestCmdEvent(req);
    if (m_last == CMD_RES_PANEL) RestoreInputNow();
    return m_last;
}

void ServiceFrame::SetPrompt(const char* prompt) { SetServicePrompt(prompt); }

void ServiceFrame::SetMask(uint32_t mask) { CmdInput().wantedMask = mask; }

void ServiceFrame::RestoreInputNow() {
    RestoreInputRecord(m_saved);
    m_restored = true;
}

void ServiceFrame::End() {
    if (!m_begun) return;
    m_begun = false;
    if (HWND bar = CmdStatusBar()) SendMessageA(bar, UM_STATUS_RESTORE_TEXTS, 0, 0);
    if (!m_restored) RestoreInputRecord(m_saved);
    if (m_last != CMD_RES_PANEL && CmdInput().event != CMD_EV_PANEL) CmdInput().event = 0;
    Executor().serviceCmdWaiting = 0;
    WriteSystemLog(2, "Service Cmd", "End");
}

ServiceFrame::~ServiceFrame() { End(); }
