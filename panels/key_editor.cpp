#include "panels/key_editor.h"

#include "command/command_system.h"
#include "command/host_messages.h"
#include "panels/cmd_panel_editor.h"
#include "panels/key_editor_model.h"
#include "panels/panel_editor_ids.h"
#include "win/message_box.h"

KeyEditorHooks& GetKeyEditorHooks() {
    static KeyEditorHooks hooks;
    return hooks;
}

CCustCmdKeyDlg::CCustCmdKeyDlg(CCmdPanelSet* pages, void* accelerator)
    : CCmdEditorDialog(IDD_CUST_CMD_KEY), m_pages(pages), m_accelerator(accelerator) {}

LRESULT CCustCmdKeyDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    CenterWindow(GetParent());
    CCmdPanelSet& catalogue = CmdKeyCatalogue();
    if (!m_pages) m_pages = LiveCmdPanelSet();
    const std::vector<std::string> live = m_pages ? m_pages->m_names : std::vector<std::string>();
    for (const std::string& name : KeyCategoryNames(catalogue.m_names, live))
        SendItemMessage(1401, CB_ADDSTRING, 0, (LPARAM)name.c_str());
    SendItemMessage(1401, CB_SETCURSEL, 0, 0);
    FillCatalogueList(m_hWnd, 1136, 1401, catalogue);
    SendItemMessage(1136, LB_SETCURSEL, 0, 0);
    m_names = KeyCommandNames(catalogue.PageDefs());
    if (!m_accelerator) {
        HWND frame = CmdMainFrame();
        if (frame) m_accelerator = (void*)::SendMessageA(frame, UM_GET_ACCELERATOR, 0, 0);
    }
    m_keys.clear();
    if (m_accelerator && GetKeyEditorHooks().readCustomKeys)
        GetKeyEditorHooks().readCustomKeys(m_accelerator, m_keys, 0);
    FillKeyList(0);
    return TRUE;
}

void CCustCmdKeyDlg::FillKeyList(int select) {
    SendItemMessage(1137, LB_RESETCONTENT);
    const BYTE filter = KeyListFilter(IsChecked(1808), IsChecked(1809));
    for (size_t i = 0; i < m_keys.size(); ++i) {
        if (!KeyEntryShown(m_keys[i].fVirt, filter)) continue;
        const std::string key = GetKeyEditorHooks().keyText ? GetKeyEditorHooks().keyText(m_keys[i].key) : "";
        auto name = m_names.find(m_keys[i].cmd);
        const std::string line = KeyListLine(key, name != m_names.end() ? name->second : std::string());
        const LRESULT at = SendItemMessage(1137, LB_ADDSTRING, 0, (LPARAM)line.c_str());
        if (at >= 0) SendItemMessage(1137, LB_SETITEMDATA, (WPARAM)at, (LPARAM)i);
    }
    SendItemMessage(1137, LB_SETCURSEL, (WPARAM)select, 0);
}

void CCustCmdKeyDlg::ChangeSelectedKey(int id, const std::string& label) {
    const LRESULT sel = SendItemMessage(1137, LB_GETCURSEL);
    if (sel < 0) return;
    const LRESULT length = SendItemMessage(1137, LB_GETTEXTLEN, (WPARAM)sel);
    std::string line(length > 0 ? (size_t)length : 0, '\0');
    if (length > 0) SendItemMessage(1137, LB_GETTEXT, (WPARAM)sel, (LPARAM)&line[0]);
    const LRESULT index = SendItemMessage(1137, LB_GETITEMDATA, (WPARAM)sel);
    const std::string changed = ReplaceKeyLineCommand(line, label);
    SendItemMessage(1137, LB_DELETESTRING, (WPARAM)sel);
    const LRESULT at = SendItemMessage(1137, LB_INSERTSTRING, (WPARAM)sel, (LPARAM)changed.c_str());
    SendItemMessage(1137, LB_SETITEMDATA, (WPARAM)at, (LPARAM)index);
    SendItemMessage(1137, LB_SETCURSEL, (WPARAM)at);
    if (index >= 0 && index < (LRESULT)m_keys.size()) {
        m_keys[index].cmd = (WORD)id;
        m_modified = 1;
    }
}

LRESULT CCustCmdKeyDlg::OnAssign(WORD, WORD, HWND, BOOL&) {
    std::string line;
    if (!ChosenCatalogueLine(m_hWnd, 1136, 1401, CmdKeyCatalogue(), &line)) {
        ZavMessageBox(m_hWnd, "設定コマンド一覧から挿入するコマンドを選択してください", "確認",
                      MB_OK | MB_ICONINFORMATION);
        return 0;
    }
    CmdPanelItem item;
    ParseCmdPanelItem(line, &item);
    ChangeSelectedKey(item.id, item.label);
    return 0;
}

LRESULT CCustCmdKeyDlg::OnClear(WORD, WORD, HWND, BOOL&) {
    ChangeSelectedKey(0, "");
    return 0;
}

LRESULT CCustCmdKeyDlg::OnReset(WORD, WORD, HWND, BOOL&) {
    if (!m_accelerator) return 0;
    if (ZavMessageBox(m_hWnd, "ショートカットキー設定を初期状態にもどします。よろしいですか？", "確認",
                      MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return 0;
    const int sel = (int)SendItemMessage(1137, LB_GETCURSEL);
    m_keys.clear();
    if (GetKeyEditorHooks().readCustomKeys) GetKeyEditorHooks().readCustomKeys(m_accelerator, m_keys, 1);
    FillKeyList(sel < 0 ? 0 : sel);
    m_modified = 1;
    return 0;
}

LRESULT CCustCmdKeyDlg::OnCategoryChanged(WORD, WORD, HWND, BOOL&) {
    FillCatalogueList(m_hWnd, 1136, 1401, CmdKeyCatalogue());
    ::SetFocus(GetDlgItem(1136));
    SendItemMessage(1136, LB_SETCURSEL, 0, 0);
    return 0;
}

LRESULT CCustCmdKeyDlg::OnFilterChanged(WORD, WORD, HWND, BOOL&) {
    FillKeyList(0);
    return 0;
}

LRESULT CCustCmdKeyDlg::OnOk(WORD, WORD, HWND, BOOL&) {
    if (!m_modified) {
        EndDialog(1);
        return 0;
    }
    if (!ConfirmSave()) return 0;
    if (m_accelerator && GetKeyEditorHooks().saveCustomKeys) GetKeyEditorHooks().saveCustomKeys(m_accelerator, m_keys);
    EndDialog(1);
    return 0;
}

INT_PTR RunCmdKeyEditor(HWND parent) { return RunEditorModal<CCustCmdKeyDlg>(parent); }
