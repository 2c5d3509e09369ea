// The layer manager: the pages, groups and layers of the active drawing as
// a tree with state icons. Clicks on the icons switch layers, groups and
// pages and reach the live layer tables at once; OK writes the whole tree
// back, Cancel puts the tables back as they were.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "setup/layer_tree.h"
#include "win/dialog_base.h"

// Icon of a row. Layer: display, detect 0/1, use 0 unused, 1 used, 2 input
// layer, lock 0/1. Group: display, detect 0 none, 1 all, 2 some, use -1,
// lock 1 when all are locked. Page: use and lock -1.
int IconIndexFor(int display, int detect, int use, int lock);
int LayerNodeIcon(const LayerTree* tree, const LayerTreePage& page, const LayerTreeLayer& layer);
int GroupNodeIcon(const LayerTreeGroup& group);
int PageNodeIcon(const LayerTreePage& page);

enum LayerRowKind { kLayerRowPage = 0, kLayerRowGroup = 1, kLayerRowLayer = 2 };
// Zone of a press at x (client x plus the horizontal scroll) in a row:
// 1 indent, 2 display/detect icon, 3 input-layer mark, 4 gap, 5 text,
// 6 lock icon, 0 elsewhere.
int LayerRowZone(int kind, int x);

// A click on a row's icon (zone 2, 3 or 6; button 0 left, 1 right) on the
// node at page, group and layer index (group and layer -1 when the row is
// above them). Changes the tree, writes the clicked page's live bits and
// applies the same change to linked pages in the tree. 1 when something
// changed that needs a repaint.
int ApplyLayerTreeClick(LayerTree* tree, int page, int group, int layer, int zone, int button);
// Every page shown and detectable, every layer shown and detectable (on)
// or hidden (off), the live bits written; 1 when anything was written.
int SetAllLayersShown(LayerTree* tree, bool on);

// Fills a tree view with page `shownPage` of the tree (its items are
// remembered in the nodes); the images are IconIndexFor indices.
void FillLayerTreeView(HWND treeView, LayerTree* tree, int shownPage);
// Sets the icons of every item of the shown page from the nodes.
void RefreshLayerTreeIcons(HWND treeView, const LayerTree* tree, int shownPage);
// The text of a layer row: "%3d %s　　".
void LayerRowText(const LayerTreeLayer& layer, char* text, size_t size);

// Deletes the selected node of the manager (a group or a layer), with the
// checks and questions of the dialog; 1 when removed.
int DeleteLayerTreeNode(HWND owner, HWND treeView, LayerTree* tree, int page, int group, int layer, bool* confirmed);

class CLayerManagerDlg : public CDialogBase<CLayerManagerDlg> {
public:
    CLayerManagerDlg();
    ~CLayerManagerDlg() override;

    // Runs the manager over `parent`; the dialog's end code.
    INT_PTR DoModal(HWND parent = ::GetActiveWindow(), LPARAM param = 0);

    BEGIN_MSG_MAP(CLayerManagerDlg)
    MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
    MESSAGE_HANDLER(WM_PAINT, OnPaint)
    MESSAGE_HANDLER(WM_SIZE, OnSize)
    MESSAGE_HANDLER(WM_GETMINMAXINFO, OnGetMinMaxInfo)
    MESSAGE_HANDLER(WM_CLOSE, OnClose)
    MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
    COMMAND_ID_HANDLER(IDOK, OnOK)
    COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    COMMAND_ID_HANDLER(200, OnAddLayer)
    COMMAND_ID_HANDLER(204, OnEditLayer)
    COMMAND_ID_HANDLER(1000, OnDelete)
    COMMAND_ID_HANDLER(202, OnPatternList)
    COMMAND_ID_HANDLER(203, OnAllOn)
    COMMAND_ID_HANDLER(207, OnAllOff)
    COMMAND_HANDLER(1136, LBN_SELCHANGE, OnPageListSelChange)
    COMMAND_ID_HANDLER(1803, OnLayerSplit)
    CHAIN_MSG_MAP(CDialogBase<CLayerManagerDlg>)
    END_MSG_MAP()

    // The open manager (null when none).
    static CLayerManagerDlg* Open();
    HWND TreeView() const { return m_tree; }
    int ShownPage() const { return m_shownPage; }
    void Refill(int group = -1, int layer = -1);
    // A click as the tree's subclass gives it (also for tests of the zones).
    void OnLayerTreeClick(HTREEITEM item, int zone, int button);
    void StartInPlaceRename(HTREEITEM item, int kind, int row);
    void ApplyRename(const char* text);
    void CloseInPlaceEdit();

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnPaint(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnGetMinMaxInfo(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&) { return 0; }
    LRESULT OnOK(WORD, WORD, HWND, BOOL&);
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&);
    LRESULT OnAddLayer(WORD, WORD, HWND, BOOL&);
    LRESULT OnEditLayer(WORD, WORD, HWND, BOOL&);
    LRESULT OnDelete(WORD, WORD, HWND, BOOL&);
    LRESULT OnPatternList(WORD, WORD, HWND, BOOL&);
    LRESULT OnAllOn(WORD, WORD, HWND, BOOL&);
    LRESULT OnAllOff(WORD, WORD, HWND, BOOL&);
    LRESULT OnPageListSelChange(WORD, WORD, HWND, BOOL&);
    LRESULT OnLayerSplit(WORD, WORD, HWND, BOOL&);

    void ApplyChanges();
    void FillPageList();
    void RepaintDrawing();
    static LRESULT CALLBACK LayerTreeProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    static LRESULT CALLBACK InPlaceEditProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
    LRESULT OnTreeMessage(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam, bool* swallowed);

    CLayerPageList m_list;
    HWND m_tree = nullptr;
    HIMAGELIST m_images = nullptr;
    HIMAGELIST m_legend = nullptr;
    SIZE m_initialSize = {};
    POINT m_okMargin = {};    // distance of the OK button from the right and bottom
    POINT m_treeMargin = {};  // distance of the tree from the right and bottom
    int m_pageListBottom = 0;
    int m_legendBottom[9] = {};
    bool m_multiSelect = false;
    bool m_lossConfirmed = false;
    HWND m_activeView = nullptr;
    int m_shownPage = 0;
    HTREEITEM m_lastTextItem = nullptr;
    int m_renameRight = 0;
    struct RenameRecord {
        HTREEITEM item = nullptr;
        int layer = 0, page = 0, group = 0, index = -1;
        char text[260] = "";
    } m_rename;
    HWND m_edit = nullptr;
};
