// The add and edit layer dialogs (resource 226): CAddLayerDlg adds one layer
// straight into the drawing (from the tool panel); CAddLayerDlg2 adds,
// edits or regroups layers of the layer manager's tree.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "setup/layer_tree.h"
#include "win/dialog_base.h"

// What the manager asks of the dialog: mode 0 add, 1 edit (2 group edit,
// which the dialog may switch to), and the node being edited.
struct LayerEditRequest {
    int mode = 0;
    int page = 0, group = 0, layer = 0;
};

class CAddLayerDlg : public CDialogBase<CAddLayerDlg> {
public:
    explicit CAddLayerDlg(LayerTree* tree = &SharedLayerTree());

    BEGIN_MSG_MAP(CAddLayerDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    CHAIN_MSG_MAP(CDialogBase<CAddLayerDlg>)
    END_MSG_MAP()

    // Adds the layer with the dialog's values; 1 done, 0 refused (a message
    // shown). Used by OK.
    int AddLayer();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    CLayerPageList m_list;
    LayerTree* m_tree;
};

class CAddLayerDlg2 : public CDialogBase<CAddLayerDlg2> {
public:
    CAddLayerDlg2(int mode, HWND treeView, LayerTree* tree = &SharedLayerTree());

    // Runs resource 226 over `parent`; the end code (1 accepted, 2 cancel).
    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM param = 0) { return CDialog::DoModal(parent, param); }

    BEGIN_MSG_MAP(CAddLayerDlg2)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCloseCmd)
    CHAIN_MSG_MAP(CDialogBase<CAddLayerDlg2>)
    END_MSG_MAP()

    int m_mode;
    int m_unchangedGroupCancels = 1;
    std::string m_group, m_name;
    int m_number = 0;
    int m_page = 0, m_groupIndex = 0, m_layerIndex = 0, m_selectedNumber = 0;

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    void Refuse(const char* text, int focus);
    HWND m_treeView;
    CLayerPageList m_list;
    LayerTree* m_tree;
    std::string m_selectedGroup;
};

// Runs CAddLayerDlg2 for the manager's tree view and applies the result;
// 1 when applied.
int RunAddEditLayer(HWND treeView, LayerEditRequest* request);
// Moves several selected layer items to one group typed in the dialog.
int EditSelectedLayers(HWND treeView, const std::vector<HTREEITEM>& selected);

// The free layer numbers (0-1023) of a page of the tree.
std::vector<int> FreeLayerNumbers(const LayerTree* tree, int page);
