// The shortcut-key editor "ショートカットキー編集" (dialog 244): the custom keys
// of the main frame's key table, assigned commands from the catalogue
// "CmdKeyBase.def"; OK writes the user's ZavIrurer.key, read at the next
// start.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "panels/cmd_panel.h"
#include "panels/cmd_editor_dialog.h"

// The key file lives with the shell's key table; the shell fills these
// (host_services.cpp). `accelerator` is what UM_GET_ACCELERATOR answered.
struct KeyEditorHooks {
    // Appends the "[CustomKey]" entries of the user's (installed 0) or the
    // installation's (installed 1) key file.
    int (*readCustomKeys)(void* accelerator, std::vector<ACCEL>& keys, int installed) = nullptr;
    // Writes the user's key file with these custom keys. 0 written.
    int (*saveCustomKeys)(void* accelerator, const std::vector<ACCEL>& keys) = nullptr;
    // The display name of a key.
    std::string (*keyText)(WORD key) = nullptr;
};
KeyEditorHooks& GetKeyEditorHooks();

// Runs the editor modally over `parent` on the main frame's key table (the
// configuration sheet's "ショートカットキー編集" button). Its end code.
INT_PTR RunCmdKeyEditor(HWND parent);

class CCustCmdKeyDlg : public CCmdEditorDialog {
public:
    // `pages` null: the page set of the main frame's first command panel;
    // `accelerator` null: the main frame's (UM_GET_ACCELERATOR).
    explicit CCustCmdKeyDlg(CCmdPanelSet* pages = nullptr, void* accelerator = nullptr);

    bool Modified() const { return m_modified != 0; }
    const std::vector<ACCEL>& Keys() const { return m_keys; }

    BEGIN_MSG_MAP(CCustCmdKeyDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    COMMAND_ID_HANDLER(1000, OnEndCommand)
    COMMAND_HANDLER(1401, CBN_SELCHANGE, OnCategoryChanged)
    COMMAND_ID_HANDLER(1808, OnFilterChanged)
    COMMAND_ID_HANDLER(1809, OnFilterChanged)
    COMMAND_ID_HANDLER(1805, OnAssign)
    COMMAND_ID_HANDLER(1804, OnClear)
    COMMAND_ID_HANDLER(1807, OnReset)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnCategoryChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnFilterChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnAssign(WORD, WORD, HWND, BOOL&);
    LRESULT OnClear(WORD, WORD, HWND, BOOL&);
    LRESULT OnReset(WORD, WORD, HWND, BOOL&);
    void FillKeyList(int select);
    // The selected key line gets the command (id 0: none) and its name.
    void ChangeSelectedKey(int id, const std::string& label);

    char m_modified = 0;
    std::vector<ACCEL> m_keys;
    std::map<int, std::string> m_names;
    CCmdPanelSet* m_pages;
    void* m_accelerator;
};
