#include "shell/yes_no_services.h"

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/status_codes.h"
#include "shell/cad_system.h"
#include "shell/yes_no_dialogs.h"

namespace {

// What the two host services share between runs: the placement flag of the
// last request.
int g_placed = 0;

// The request's prompt, shown in the prompt bar; its placement flag.
void TakeRequest(LPARAM request, char* prompt, size_t size) {
    prompt[0] = '\0';
    if (const auto* req = reinterpret_cast<const CmdRequest*>(request)) {
        if (req->word70) DbcsCopy(prompt, size, reinterpret_cast<const char*>(req->word70));
        g_placed = req->word6c;
    }
    if (HWND bar = StatusBarWindow()) SetStatusPrompt(bar, prompt);
}

}  // namespace

LRESULT RunYesNoPlainDialog(WPARAM, LPARAM request) {
    char prompt[512];
    TakeRequest(request, prompt, sizeof prompt);
    POINT mouse = {};
    const BOOL hadMouse = GetCursorPos(&mouse);
    const int answer = RunYesNoPlainBox(prompt, g_placed, 0);
    if (hadMouse) SetCursorPos(mouse.x, mouse.y);
    return answer == IDNO ? 0 : 1;
}

LRESULT RunYesNoCancelDialog(WPARAM, LPARAM request) {
    char prompt[512];
    TakeRequest(request, prompt, sizeof prompt);
    POINT mouse = {};
    const BOOL hadMouse = GetCursorPos(&mouse);
    int x = mouse.x, y = mouse.y;
    const int answer = RunYesNoDialog(&g_placed, &x, &y, nullptr, prompt);
    if (hadMouse) SetCursorPos(mouse.x, mouse.y);
    switch (answer) {
    case IDYES: return 1;
    case IDCANCEL: return 2;
    default: return 0;
    }
}

int RunPickQuestion(int* placed, int* x, int* y, const char* title) { return RunYesNoDialog(placed, x, y, title); }
