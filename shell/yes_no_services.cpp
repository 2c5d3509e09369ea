#include "shell/yes_no_services.h"

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "shell/cad_system.h"
#include "command/status_codes.h"
#include "win/message_box.h"

namespace {

// Asks the request's question with the given buttons; the pointer goes
// back where it was, as after any question of the system.
int Ask(LPARAM request, UINT buttons, const char* caption) {
    char prompt[512] = "";
    if (const auto* req = reinterpret_cast<const CmdRequest*>(request))
        if (req->word70) DbcsCopy(prompt, sizeof prompt, reinterpret_cast<const char*>(req->word70));
    if (HWND bar = StatusBarWindow()) SetStatusPrompt(bar, prompt);
    POINT mouse = {};
    const BOOL hadMouse = GetCursorPos(&mouse);
    const int answer =
        ZavMessageBox(MainFrameWindow(), prompt[0] ? prompt : "よろしいですか？", caption, buttons | MB_ICONQUESTION);
    if (hadMouse) SetCursorPos(mouse.x, mouse.y);
    return answer;
}

}  // namespace

LRESULT RunYesNoPlainDialog(WPARAM, LPARAM request) {
    const char* caption = Running().YESNOMSG[0] ? Running().YESNOMSG : "確認 ?";
    return Ask(request, MB_YESNO, caption) == IDNO ? 0 : 1;
}

LRESULT RunYesNoCancelDialog(WPARAM, LPARAM request) {
    switch (Ask(request, MB_YESNOCANCEL, "確認 ?")) {
    case IDYES: return 1;
    case IDCANCEL: return 2;
    default: return 0;
    }
}

int RunPickQuestion(int*, int*, int*, const char* title) {
    const char* text = title && title[0] ? title : "この要素を選択しますか？";
    return ZavMessageBox(MainFrameWindow(), text, "確認 ?", MB_YESNOCANCEL | MB_ICONQUESTION);
}
