// The built-in service commands (ids 1200-1500): the table that runs one by
// id, and the frame that the interactive ones share. An interactive service
// command runs inside the main frame's WM_COMMAND handling, often nested in
// a module command's wait; it saves the module's input record and prompt
// texts, waits through the same wait service as the modules, and gives
// both back when it ends, so the module's wait resumes as it was.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "command/host_messages.h"

// `ExecServiceCmd`: one service command by id; usually 1. Ids the table
// does not list write the log line and return 0.
int ExecServiceCmd(LPARAM argument, int id);

// Tests script the waits of the service commands: while set, it stands for
// RequestCmdEvent (fill the request's point or picked element, return the
// result).
extern std::function<int(CmdRequest* request)> ServiceWaitHook;

// The service request the interactive commands pass to the wait.
CmdRequest& ServiceRequest();
// The first corner of the rectangle being dragged, and the view it is
// dragged in (read by DragRectangleCallback).
struct ServiceDrag {
    double start[3] = {0, 0, 0};
    HWND view = nullptr;
};
ServiceDrag& ServiceDragState();

// 1 while any text of the command should be English (the LANGUAGE setting).
bool ServiceEnglish();
// The English or the Japanese text, by the LANGUAGE setting.
inline const char* ServiceText(const char* english, const char* japanese) {
    return ServiceEnglish() ? english : japanese;
}

// The frame of one interactive service command.
class ServiceFrame {
public:
    explicit ServiceFrame(int id) : m_id(id) {}
    ~ServiceFrame();
    ServiceFrame(const ServiceFrame&) = delete;
    ServiceFrame& operator=(const ServiceFrame&) = delete;

    // Restart rule: when another service command waits, ends it and (unless
    // `repost` is false) posts this command's id again; false then.
    bool TakeOver(bool repost = true);
    // Hides the waiting command's rubber band, saves the input record and
    // the prompt texts, sets name, prompt and mask and raises the
    // service-waiting flag.
    void Begin(const char* name, const char* prompt, uint32_t mask);
    // The next input (a CMD_RES_* result). The result 8192 gives the
    // waiting module command its record back at once, with the panel event
    // left pending for it.
    int Wait();
    void SetPrompt(const char* prompt);
    void SetMask(uint32_t mask);
    // The common end; runs once (also from the destructor, so that every
    // way out clears the service-waiting flag).
    void End();
    bool Begun() const { return m_begun; }
    int LastResult() const { return m_last; }
    // Puts the saved record back at once (8192 and the commands that hand a
    // result to the waiting command).
    void RestoreInputNow();

    CmdRequest& Request() { return ServiceRequest(); }
    void Point(double out[3]) const { GetRequestPoint(ServiceRequest().point, out); }

private:
    int m_id;
    bool m_begun = false;
    bool m_restored = false;
    int m_last = 0;
    InputRecord m_saved = {};
};

// Gives the saved record back to the waiting command; a panel event written
// while the service command waited stays pending (its kind, value and extra
// too), so that the command that waits gets it.
void RestoreInputRecord(const InputRecord& saved);

// The texts of the prompt bar: WM_USER 1 (command name) and 2 (prompt).
void SetServiceName(const char* text);
void SetServicePrompt(const char* text);
// A numbered message as prompt or name (the message table).
const char* ServiceMessage(int id);
