// The command-panel editor "コマンドメニュー編集" (dialog 238): the pages of
// the live command panel as grids (one grid column per panel row) edited
// with commands from the catalogue "CmdPanelBase.def"; OK saves them to the
// user's CmdPanel.def, read by the panels at the next start.
#pragma once

#include <windows.h>

#include <memory>
#include <vector>

#include "panels/cmd_panel.h"
#include "panels/cmd_panel_editor_model.h"
#include "panels/cmd_editor_dialog.h"

// The grid control "CustCmdPanelList": cells of 100 x 35 pixels; word 4 the
// attached PanelGridModel, 8 the visible columns, 12 the visible rows.
constexpr const char* kPanelGridClass = "CustCmdPanelList";
constexpr int kGridCellWidth = 100;
constexpr int kGridCellHeight = 35;
constexpr UINT kGridSetModel = 2024;    // wParam 1: repaint
constexpr WORD kGridSelected = 2001;    // notification code of a selection
void RegisterPanelGridClass();
void UnregisterPanelGridClass();

class CCustCmdPanelDlg : public CCmdEditorDialog {
public:
    // `pages` null: the page set of the main frame's first command panel.
    explicit CCustCmdPanelDlg(CCmdPanelSet* pages = nullptr);

    bool Modified() const { return m_modified != 0; }
    PanelGridModel* Model(int i) const { return i >= 0 && i < (int)m_models.size() ? m_models[i].get() : nullptr; }

    BEGIN_MSG_MAP(CCustCmdPanelDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOk)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    COMMAND_ID_HANDLER(1000, OnEndCommand)
    COMMAND_HANDLER(1400, CBN_SELCHANGE, OnPageChanged)
    COMMAND_HANDLER(1401, CBN_SELCHANGE, OnCategoryChanged)
    COMMAND_ID_HANDLER(1803, OnGridCommand)
    COMMAND_ID_HANDLER(1003, OnGridCommand)
    COMMAND_ID_HANDLER(1804, OnGridCommand)
    COMMAND_ID_HANDLER(1805, OnGridCommand)
    COMMAND_ID_HANDLER(1806, OnGridCommand)
    COMMAND_ID_HANDLER(1807, OnReset)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOk(WORD, WORD, HWND, BOOL&);
    LRESULT OnPageChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnCategoryChanged(WORD, WORD, HWND, BOOL&);
    LRESULT OnGridCommand(WORD, WORD, HWND, BOOL&);
    LRESULT OnReset(WORD, WORD, HWND, BOOL&);
    void AttachModel(int i);
    // The catalogue line chosen in list 1136, or false.
    bool ChosenLine(std::string* line);

    char m_modified = 0;
    CCmdPanelSet* m_pages;
    std::vector<std::unique_ptr<PanelGridModel>> m_models;
};

// Runs the editor modally over `parent` on the main frame's command panel
// (the configuration sheet's "コマンドメニュー編集" button). Its end code.
INT_PTR RunCmdPanelEditor(HWND parent);

// Fills combo `category` with the catalogue's page names and, for the
// category chosen, list `list` with "%-15s：%s" lines (item data: the entry's
// index in its page). Shared with the shortcut-key editor.
void FillCatalogueList(HWND dialog, int list, int category, const CCmdPanelSet& catalogue);
// The entry line chosen in `list` for the page named by `category`'s text.
bool ChosenCatalogueLine(HWND dialog, int list, int category, const CCmdPanelSet& catalogue, std::string* line);
// The live page set: the first command panel's (UM_GET_CMDPANEL 0, then
// WM_COMMAND 101), or null.
CCmdPanelSet* LiveCmdPanelSet();
