#include "shell/setup_editors.h"

#include "win/message_box.h"

// The two editors belong to the command panels; until they are part of the
// program the buttons say so rather than doing nothing.
void RunCommandMenuEditor(HWND parent) {
    ZavMessageBox(parent, "コマンドメニュー編集はこの版にはありません。", "コマンドメニュー編集", MB_OK | MB_ICONINFORMATION);
}

void RunShortcutKeyEditor(HWND parent) {
    ZavMessageBox(parent, "ショートカットキー編集はこの版にはありません。", "ショートカットキー編集",
                  MB_OK | MB_ICONINFORMATION);
}
