// The test module's dialog commands (30850-30899):
//   PointEntry   runs the tool panel's point entry for the temporary point
//                (the panel's command 3989, through the main frame while
//                there is no panel), then logs that it returned
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

bool RunDialogCommand(const char* word, const char*, int* result) {
    if (Is(word, "PointEntry")) {
        HWND panel = reinterpret_cast<HWND>(Host(UM_GET_CMDPANEL, 1));
        Log("TESTCMD dialog pointentry panel=%d", panel ? 1 : 0);
        // The panel's command, or the same command through the main frame.
        SendMessageA(panel ? panel : Frame(), WM_COMMAND, 3989, 0);
        Log("TESTCMD dialog pointentry done");
        *result = 0;
        return true;
    }
    return false;
}

}  // namespace testcmd
