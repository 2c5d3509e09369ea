// What the command-panel editor and the shortcut-key editor have in common:
// their end button (1000) ends the program's running command, OK asks the
// same question before saving, and each runs modally over its parent.
#pragma once

#include <windows.h>

#include "win/dialog.h"

class CCmdEditorDialog : public CDialog {
public:
    explicit CCmdEditorDialog(UINT templateId) : CDialog(templateId, ::GetModuleHandleA(nullptr)) {}

protected:
    // The main frame ends its command; the button's other entries go on.
    LRESULT OnEndCommand(WORD, WORD, HWND, BOOL& handled);
    // Whether the user agrees to save (the change holds from the next start).
    bool ConfirmSave();
};

// Runs a new `Dialog` modally over `parent`; its end code.
template <class Dialog>
INT_PTR RunEditorModal(HWND parent) {
    Dialog dialog;
    return dialog.DoModal(parent);
}
