#include "panels/cmd_editor_dialog.h"

#include "command/command_system.h"
#include "command/host_messages.h"
#include "win/message_box.h"

LRESULT CCmdEditorDialog::OnEndCommand(WORD, WORD, HWND, BOOL& handled) {
    if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, UM_END_CMD, 0, 0);
    handled = FALSE;
    return 0;
}

bool CCmdEditorDialog::ConfirmSave() {
    return ZavMessageBox(m_hWnd, "コマンドメニューを変更します。\n次回ＣＡＤ起動時から有効になります。", "確認",
                         MB_OKCANCEL | MB_ICONQUESTION) == IDOK;
}
