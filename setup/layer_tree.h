// The layer tree of a drawing: its pages, their layer groups and layers,
// loaded from the drawing as a whole, edited in memory by the layer dialogs
// and controls, and written back in one step.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <vector>

#include "view/db_info.h"

struct LayerTreeLayer {
    int number = 0;  // 0-1023
    int nodeId = 0;
    int used = 0, display = 0, detect = 0, lock = 0;
    HTREEITEM item = nullptr;
    char name[257] = "";
};

struct LayerTreeGroup {
    int firstLayer = 0;
    int nodeId = 0;
    char name[11] = "";  // empty: the unnamed group
    std::vector<LayerTreeLayer> layers;
    int expanded = 0;
    HTREEITEM item = nullptr;
};

struct LayerTreePage {
    int page = 0;
    int nodeId = 0;
    int display = 0, detect = 0;
    char title[257] = "";
    std::vector<LayerTreeGroup> groups;
    int expanded = 0;
    HTREEITEM item = nullptr;
    int externalRef = 0;
};

struct LayerTree {
    int currentPage = 0;
    int inputLayer = 0;
    int currentNodeId = 0;
    int pageCount = 0;
    int nextNodeId = 0;
    std::vector<LayerTreePage> pages;
};

// What a layer manager showing the tree offers its editing operations: the
// index of the page it shows (-1 none), a rebuild of its view selecting a
// node (group or layer index -1 for none), and a new text of one item.
struct LayerTreeViewLink {
    std::function<int()> shownPage;
    std::function<void(HWND treeView, int page, int group, int layer)> rebuild;
    std::function<void(HWND treeView, HTREEITEM item, const char* text)> setItemText;
};
LayerTreeViewLink& LayerTreeView();

// The tree the layer manager and the add-layer dialogs share.
LayerTree& SharedLayerTree();

void BuildLayerTree(LayerTree* tree);
void BuildLayerTreeFromTable(LayerTree* tree, const LayerTable* table);
void EnsureLayerTree(LayerTree* tree);
void FreeLayerTree(LayerTree* tree);
int WriteLayerTree(LayerTree* tree);

// 1 when the layer exists on the page (named, or used by elements), with
// its flags and its name ("レイヤ %d" for a used layer without a name).
int GetLayerState(const DbInfo* info, int layer, const unsigned char* usedFlags, int* display, int* detect,
                  int* used, int* lock, char* name257);
// Deletes every element of the page on the layer (a compound element as a
// whole when one of its members is on it); the number deleted.
int DeleteElementsOfLayer(int page, int layer);

int PageIndexOfPage(const LayerTree* tree, int page);
// 0 page node, 1 group node, 2 layer node, -1 none.
int FindNodeByTreeItem(const LayerTree* tree, HTREEITEM item, int* page, int* group, int* layer);
int PageIndexOfCurrentNode(const LayerTree* tree);
int GroupIndexOfCurrentNode(const LayerTree* tree);
// mode -1 copies the node's flags into the page's live bits, 0 clears its
// display and detect bits, 1 sets both. 0 without a drawing.
int ApplyLayerNodeBits(LayerTree* tree, int page, int group, int layer, int mode);

int RemoveLayerNode(LayerTree* tree, int page, int layer, int refresh);
int InsertLayerNode(LayerTree* tree, HWND treeView, int page, int layer, const char* group, const char* name,
                    int refresh, int allPages);
int SetLayerNameAndGroup(LayerTree* tree, HWND treeView, int page, int layer, const char* group,
                         const char* name, int refresh);

// The dialogs' view of a tree: guarded node access, linked-page checks and
// snapshots of the live layer tables for undoing previews.
class CLayerPageList {
public:
    explicit CLayerPageList(LayerTree* tree, HWND owner = nullptr) : m_tree(tree), m_owner(owner) {}
    virtual ~CLayerPageList() = default;

    int Snapshot();
    int Restore();
    LayerTreePage* GetPage(int page);
    LayerTreeGroup* GetGroup(int page, int group);
    LayerTreeLayer* GetLayer(int page, int group, int layer);
    int SetPageGroups(int page, std::vector<LayerTreeGroup> groups);
    int SetGroupLayers(int page, int group, std::vector<LayerTreeLayer> layers);
    int FindLayer(int page, int layer, int* group, int* index) const;
    int HasLayer(int page, int layer) const;
    int AllPagesAlike() const;
    void ReportError(int kind);
    int LastError() const { return m_lastError; }
    size_t SavedCount() const { return m_saved.size(); }

private:
    LayerTree* m_tree;
    HWND m_owner;
    int m_lastError = 0;
    std::vector<LayerTable> m_saved;
};
