#include "setup/layer_tree.h"

#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>

#include "base/cmd_request.h"
#include "base/dbcs.h"
#include "command/drawing_access.h"
#include "command/element_services.h"
#include "setup/layers.h"
#include "setup/page_services.h"
#include "view/overview.h"
#include "view/view_table.h"
#include "win/message_box.h"

using drawing::MarkModified;

namespace {

bool ValidLayer(int layer) { return layer >= 0 && layer < kLayerCount; }

bool PageBitOf(const uint32_t* words, int page) {
    return page >= 0 && page < 512 && ((words[page / 32] >> (page % 32)) & 1u);
}

void DefaultLayerName(int layer, char* name257) { std::snprintf(name257, 257, "レイヤ %d", layer + 1); }

// Title of a page node: the title, else the remarks, else the file name of
// an external reference.
void PageTitle(const DbInfo* info, char* title257) {
    title257[0] = '\0';
    if (!info) return;
    const char* bytes = reinterpret_cast<const char*>(info);
    const char* pick = bytes + kInfoTitle;
    if (!*pick) pick = bytes + kInfoRemarks;
    if (!*pick) pick = info->extFileName;
    DbcsCopy(title257, 257, pick);
}

void UsedFlagsOfPage(const std::vector<LayerBits>& bits, int page, unsigned char* flags) {
    const bool known = page >= 0 && page < kOverviewPages;
    for (int layer = 0; layer < kLayerCount; ++layer)
        flags[layer] = known && LayerBitOf(bits[page].words, layer) ? 1 : 0;
}

bool IsSimpleKind(int kind) { return (kind >= 1 && kind <= 7) || kind == kElmFigure; }
bool IsCompoundKind(int kind) { return kind == kElmGroup || kind == kElmGroup2 || kind == kElmCompound; }

// The layers of a table that pass `exists`, grouped by group name: groups
// in order of their first layer, layers ascending. Names are equal when
// their bytes are (up to the 11-byte slot).
struct NamedGroup {
    std::string name;
    std::vector<int> layers;
};
template <class Exists>
std::vector<NamedGroup> GroupLayersByName(const LayerTable& table, Exists exists) {
    std::vector<NamedGroup> groups;
    std::map<std::string, size_t> index;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        if (!exists(layer)) continue;
        std::string name(table.groupNames[layer], strnlen(table.groupNames[layer], 11));
        auto found = index.find(name);
        if (found == index.end()) {
            found = index.emplace(name, groups.size()).first;
            groups.push_back({name, {}});
        }
        groups[found->second].layers.push_back(layer);
    }
    return groups;
}

// Fills the groups of one page node from its live table and used layers.
void BuildPageGroups(LayerTree* tree, LayerTreePage* node, const DbInfo* info, const unsigned char* used,
                     bool isCurrent) {
    const int inputLayer = info->layers.inputLayer;
    auto exists = [&](int layer) { return GetLayerState(info, layer, used, nullptr, nullptr, nullptr, nullptr, nullptr); };
    for (const NamedGroup& named : GroupLayersByName(info->layers, exists)) {
        LayerTreeGroup group;
        group.nodeId = tree->nextNodeId++;
        DbcsCopy(group.name, sizeof group.name, named.name.c_str());
        for (int layer : named.layers) {
            LayerTreeLayer n;
            n.number = layer;
            n.nodeId = tree->nextNodeId++;
            GetLayerState(info, layer, used, &n.display, &n.detect, &n.used, &n.lock, n.name);
            if (isCurrent && layer == inputLayer) tree->currentNodeId = n.nodeId;
            group.layers.push_back(n);
        }
        group.firstLayer = group.layers.front().number;
        node->groups.push_back(std::move(group));
    }
}

// Whether an element (a compound one through its members) lies on the page
// and layer.
bool OnPageLayer(StoredElement* e, const ElementRecord& rec, int page, int layer, DbHeader* db) {
    if (IsSimpleKind(rec.kind)) return rec.layer == layer && rec.page == page;
    if (!IsCompoundKind(rec.kind)) return false;
    ElementRecord m;
    for (StoredElement* s = DAriReadFirstMember(e, &m, db); s; s = DAriReadNextMember(s, &m, db))
        if (m.kind != kElmGroup && m.kind != kElmCompound && m.layer == layer && m.page == page) return true;
    return false;
}

void RefreshShown(HWND view, int page, int group, int layer) {
    LayerTreeViewLink& link = LayerTreeView();
    if (!link.shownPage || !link.rebuild || link.shownPage() != page) return;
    link.rebuild(view, page, group, layer);
}

bool LocateLayer(const LayerTree* tree, int page, int layer, int* group, int* index) {
    if (page < 0 || page >= static_cast<int>(tree->pages.size())) return false;
    bool found = false;
    const auto& groups = tree->pages[page].groups;
    for (size_t g = 0; g < groups.size(); ++g)
        for (size_t l = 0; l < groups[g].layers.size(); ++l)
            if (groups[g].layers[l].number == layer) {
                *group = static_cast<int>(g);
                *index = static_cast<int>(l);
                found = true;  // the last match counts
            }
    return found;
}

// Adds a layer node to one page: into the named group, or into a new group
// placed by its first layer. Returns the group and layer index.
void InsertIntoPage(LayerTreePage* page, int layer, const char* groupName, const char* name, int* outGroup,
                    int* outLayer) {
    LayerTreeLayer n;
    n.number = layer;
    n.display = n.detect = 1;
    DbcsCopy(n.name, sizeof n.name, name ? name : "");
    char wanted[11];
    DbcsCopy(wanted, sizeof wanted, groupName ? groupName : "");
    auto& groups = page->groups;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (std::strcmp(groups[g].name, wanted) != 0) continue;
        auto& layers = groups[g].layers;
        size_t at = 0;
        while (at < layers.size() && layers[at].number <= layer) ++at;
        layers.insert(layers.begin() + at, n);
        groups[g].firstLayer = layers.front().number;
        groups[g].expanded = 1;
        *outGroup = static_cast<int>(g);
        *outLayer = static_cast<int>(at);
        return;
    }
    LayerTreeGroup group;
    DbcsCopy(group.name, sizeof group.name, wanted);
    group.firstLayer = layer;
    group.expanded = 1;
    group.layers.push_back(n);
    size_t at = 0;
    while (at < groups.size() && groups[at].firstLayer <= layer) ++at;
    groups.insert(groups.begin() + at, std::move(group));
    page->expanded = 1;
    *outGroup = static_cast<int>(at);
    *outLayer = 0;
}

}  // namespace

LayerTreeViewLink& LayerTreeView() {
    static LayerTreeViewLink link;
    return link;
}

LayerTree& SharedLayerTree() {
    static LayerTree tree;
    return tree;
}

int GetLayerState(const DbInfo* info, int layer, const unsigned char* usedFlags, int* display, int* detect,
                  int* used, int* lock, char* name257) {
    if (!info || !ValidLayer(layer)) return 0;
    const LayerTable& t = info->layers;
    const char* named = t.names[layer];
    const bool isUsed = usedFlags && usedFlags[layer];
    const bool hasName = named && *named;
    if (!hasName && !isUsed) return 0;
    if (display) *display = LayerBitOf(t.display, layer);
    if (detect) *detect = LayerBitOf(t.detect, layer);
    if (lock) *lock = LayerBitOf(t.lock, layer);
    if (used) *used = isUsed ? 1 : 0;
    if (name257) {
        if (hasName)
            DbcsCopy(name257, 257, named);
        else
            DefaultLayerName(layer, name257);
    }
    return 1;
}

void FreeLayerTree(LayerTree* tree) {
    if (tree) *tree = LayerTree();
}

void BuildLayerTree(LayerTree* tree) {
    if (!tree) return;
    FreeLayerTree(tree);
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    if (!db) return;
    tree->currentPage = db->pages.currentPage;

    // Page 0, then the library's page order.
    struct PageRef {
        int page;
        int externalRef;
    };
    std::vector<PageRef> pages = {{0, 0}};
    const int more = DAriGetPageCount(db);
    std::unique_ptr<PageRecord> record(new PageRecord());
    int page = 0;
    for (int i = 0; i < more; ++i) {
        std::memset(record.get(), 0, sizeof(PageRecord));
        page = DAriGetNextPage(page, record.get(), db);
        if (page <= 0) break;
        pages.push_back({page, record->externalRef ? 1 : 0});
    }

    std::vector<LayerBits> usedBits(kOverviewPages);
    CollectUsedLayersOfDb(db, usedBits.data());
    unsigned char used[kLayerCount];
    for (const PageRef& ref : pages) {
        DbInfo* info = DAriGetDbInfoPtr(ref.page, db);
        if (!info) continue;
        LayerTreePage node;
        node.page = ref.page;
        node.externalRef = ref.externalRef;
        node.nodeId = tree->nextNodeId++;
        node.display = PageBitOf(db->pages.display, ref.page) ? 1 : 0;
        node.detect = PageBitOf(db->pages.detect, ref.page) ? 1 : 0;
        PageTitle(info, node.title);
        const bool isCurrent = ref.page == tree->currentPage;
        if (isCurrent) tree->inputLayer = info->layers.inputLayer;
        UsedFlagsOfPage(usedBits, ref.page, used);
        BuildPageGroups(tree, &node, info, used, isCurrent);
        if (node.groups.empty()) {
            // A page without layers still offers layer 1 to draw on.
            LayerTreeGroup group;
            group.nodeId = tree->nextNodeId++;
            LayerTreeLayer layer;
            layer.nodeId = tree->nextNodeId++;
            layer.display = LayerBitOf(info->layers.display, 0);
            layer.detect = LayerBitOf(info->layers.detect, 0);
            layer.lock = LayerBitOf(info->layers.lock, 0);
            DefaultLayerName(0, layer.name);
            group.layers.push_back(layer);
            node.groups.push_back(std::move(group));
            if (isCurrent) {
                // The name goes into the drawing, which is then changed.
                DAriSetLayerName(ref.page, 0, layer.name, db);
                MarkModified(view);
                tree->currentNodeId = node.groups[0].layers[0].nodeId;
            }
        }
        tree->pages.push_back(std::move(node));
    }
    tree->pageCount = static_cast<int>(tree->pages.size());
}

void BuildLayerTreeFromTable(LayerTree* tree, const LayerTable* table) {
    if (!tree) return;
    FreeLayerTree(tree);
    DbHeader* db = GetActiveViewDb();
    DbInfo* info = db ? DAriGetDbInfoPtr(0, db) : nullptr;
    LayerTreePage node;
    node.page = 0;
    node.nodeId = tree->nextNodeId++;
    node.display = 1;
    node.detect = 0;
    PageTitle(info, node.title);
    if (info) tree->inputLayer = info->layers.inputLayer;
    auto named = [&](int layer) { return table->names[layer] && table->names[layer][0]; };
    for (const NamedGroup& g : table ? GroupLayersByName(*table, named) : std::vector<NamedGroup>()) {
        LayerTreeGroup group;
        group.nodeId = tree->nextNodeId++;
        DbcsCopy(group.name, sizeof group.name, g.name.c_str());
        for (int layer : g.layers) {
            LayerTreeLayer n;
            n.number = layer;
            n.nodeId = tree->nextNodeId++;
            n.used = n.display = n.detect = 1;
            DbcsCopy(n.name, sizeof n.name, table->names[layer]);
            if (layer == tree->inputLayer) tree->currentNodeId = n.nodeId;
            group.layers.push_back(n);
        }
        group.firstLayer = group.layers.front().number;
        node.groups.push_back(std::move(group));
    }
    if (node.groups.empty()) {
        LayerTreeGroup empty;
        empty.nodeId = tree->nextNodeId++;
        node.groups.push_back(std::move(empty));
    }
    tree->pages.push_back(std::move(node));
    tree->pageCount = 1;
}

void EnsureLayerTree(LayerTree* tree) {
    if (!tree) return;
    bool whole = !tree->pages.empty();
    for (const LayerTreePage& p : tree->pages) {
        if (p.groups.empty()) whole = false;
        for (const LayerTreeGroup& g : p.groups)
            if (g.layers.empty()) whole = false;
    }
    if (!whole) BuildLayerTree(tree);
}

int WriteLayerTree(LayerTree* tree) {
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    if (!tree || !db || tree->pages.empty()) return 0;
    const size_t pageCount = tree->pages.size();
    std::vector<unsigned char> removed(pageCount * kLayerCount, 0);
    std::vector<LayerBits> usedBits(kOverviewPages);
    CollectUsedLayersOfDb(db, usedBits.data());
    unsigned char used[kLayerCount];
    for (size_t p = 0; p < pageCount; ++p) {
        const int page = tree->pages[p].page;
        UsedFlagsOfPage(usedBits, page, used);
        DbInfo* info = DAriGetDbInfoPtr(page, db);
        if (!info) continue;
        LayerTable& t = info->layers;
        std::vector<unsigned char> hadName(kLayerCount, 0);
        for (int layer = 0; layer < kLayerCount; ++layer) {
            hadName[layer] = t.names[layer] && t.names[layer][0];
            SetLayerBit(t.display, layer, true);
            SetLayerBit(t.detect, layer, true);
            SetLayerBit(t.lock, layer, false);
            if (used[layer] && !t.names[layer]) DAriSetLayerName(page, layer, "", db);
            if (t.names[layer]) {
                t.names[layer][0] = '\0';
                removed[p * kLayerCount + layer] = 1;
            }
            std::memset(t.groupNames[layer], 0, sizeof t.groupNames[layer]);
        }
        for (const LayerTreeGroup& g : tree->pages[p].groups) {
            for (const LayerTreeLayer& n : g.layers) {
                if (!ValidLayer(n.number)) continue;
                removed[p * kLayerCount + n.number] = 0;
                // A layer only used, never named, keeps having no name: its
                // node shows the default name, which is not the drawing's.
                char shownDefault[257];
                DefaultLayerName(n.number, shownDefault);
                const bool keepUnnamed = !hadName[n.number] && std::strcmp(n.name, shownDefault) == 0;
                DAriSetLayerName(page, n.number, keepUnnamed ? "" : n.name, db);
                DbcsCopy(t.groupNames[n.number], sizeof t.groupNames[n.number], g.name);
                if (!n.display) SetLayerBit(t.display, n.number, false);
                if (!n.detect) SetLayerBit(t.detect, n.number, false);
                if (n.lock) SetLayerBit(t.lock, n.number, true);
            }
        }
    }
    db->pages.currentPage = tree->currentPage;
    if (DbInfo* current = DAriGetDbInfoPtr(tree->currentPage, db))
        if (ValidLayer(tree->inputLayer)) current->layers.inputLayer = tree->inputLayer;
    for (const LayerTreePage& p : tree->pages) {
        SetPageDisplayed(p.page, p.display);
        SetPageDetectable(p.page, p.detect);
    }
    for (size_t p = 0; p < pageCount; ++p)
        for (int layer = 0; layer < kLayerCount; ++layer)
            if (removed[p * kLayerCount + layer]) DeleteElementsOfLayer(tree->pages[p].page, layer);
    MarkModified(view);
    return 1;
}

int DeleteElementsOfLayer(int page, int layer) {
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    if (!db) return 0;
    int deleted = 0;
    ElementRecord rec;
    StoredElement* e = DAriReadElement(nullptr, 0, &rec, db);
    while (e) {
        const bool hit = OnPageLayer(e, rec, page, layer, db);
        ElementRecord nextRec;
        StoredElement* next = DAriReadElement(e, 1, &nextRec, db);
        if (hit) {
            CmdRequest req = {};
            req.view = view;
            req.element = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e));
            deleted += DeleteRequestElement(0, &req) ? 1 : 0;
        }
        e = next;
        rec = nextRec;
    }
    return deleted;
}

int PageIndexOfPage(const LayerTree* tree, int page) {
    if (!tree) return 0;
    for (size_t i = 0; i < tree->pages.size(); ++i)
        if (tree->pages[i].page == page) return static_cast<int>(i);
    return 0;
}

int FindNodeByTreeItem(const LayerTree* tree, HTREEITEM item, int* page, int* group, int* layer) {
    if (!tree || !item) return -1;
    for (size_t p = 0; p < tree->pages.size(); ++p) {
        const LayerTreePage& pg = tree->pages[p];
        if (page) *page = static_cast<int>(p);
        if (pg.item == item) return 0;
        for (size_t g = 0; g < pg.groups.size(); ++g) {
            if (group) *group = static_cast<int>(g);
            if (pg.groups[g].item == item) return 1;
            for (size_t l = 0; l < pg.groups[g].layers.size(); ++l)
                if (pg.groups[g].layers[l].item == item) {
                    if (layer) *layer = static_cast<int>(l);
                    return 2;
                }
        }
    }
    return -1;
}

int PageIndexOfCurrentNode(const LayerTree* tree) {
    if (!tree) return 0;
    for (size_t p = 0; p < tree->pages.size(); ++p)
        for (const LayerTreeGroup& g : tree->pages[p].groups)
            for (const LayerTreeLayer& l : g.layers)
                if (l.nodeId == tree->currentNodeId) return static_cast<int>(p);
    return 0;
}

int GroupIndexOfCurrentNode(const LayerTree* tree) {
    if (!tree) return 0;
    for (const LayerTreePage& p : tree->pages)
        for (size_t g = 0; g < p.groups.size(); ++g)
            for (const LayerTreeLayer& l : p.groups[g].layers)
                if (l.nodeId == tree->currentNodeId) return static_cast<int>(g);
    return 0;
}

int ApplyLayerNodeBits(LayerTree* tree, int page, int group, int layer, int mode) {
    DbHeader* db = GetActiveViewDb();
    CLayerPageList list(tree);
    if (!db || !tree || tree->pages.empty()) return 0;
    LayerTreeLayer* n = list.GetLayer(page, group, layer);
    DbInfo* info = DAriGetDbInfoPtr(list.GetPage(page)->page, db);
    if (!n || !info || !ValidLayer(n->number)) return 0;
    LayerTable& t = info->layers;
    if (mode == -1) {
        SetLayerBit(t.display, n->number, n->display != 0);
        SetLayerBit(t.detect, n->number, n->detect != 0);
        SetLayerBit(t.lock, n->number, n->lock != 0);
    } else {
        SetLayerBit(t.display, n->number, mode == 1);
        SetLayerBit(t.detect, n->number, mode == 1);
    }
    return 1;
}

int RemoveLayerNode(LayerTree* tree, int page, int layer, int refresh) {
    int g = 0, l = 0;
    if (!tree || !LocateLayer(tree, page, layer, &g, &l)) return 0;
    LayerTreePage& pg = tree->pages[page];
    int selectGroup = g, selectLayer = -1;
    if (pg.groups[g].layers.size() == 1) {
        pg.groups.erase(pg.groups.begin() + g);
        pg.expanded = 1;
        if (selectGroup >= static_cast<int>(pg.groups.size())) selectGroup = static_cast<int>(pg.groups.size()) - 1;
    } else {
        auto& layers = pg.groups[g].layers;
        layers.erase(layers.begin() + l);
        pg.groups[g].firstLayer = layers.front().number;
        selectLayer = l < static_cast<int>(layers.size()) ? l : static_cast<int>(layers.size()) - 1;
    }
    if (refresh) RefreshShown(nullptr, page, selectGroup, selectLayer);
    return 1;
}

int InsertLayerNode(LayerTree* tree, HWND treeView, int page, int layer, const char* group, const char* name,
                    int refresh, int allPages) {
    if (!tree || page < 0 || page >= static_cast<int>(tree->pages.size()) || !ValidLayer(layer)) return 0;
    int g = 0, l = 0;
    const bool everyPage = allPages && !tree->pages[page].externalRef && CLayerPageList(tree).AllPagesAlike();
    if (everyPage) {
        for (size_t p = 0; p < tree->pages.size(); ++p) {
            if (tree->pages[p].externalRef) continue;
            int pg = 0, pl = 0;
            InsertIntoPage(&tree->pages[p], layer, group, name, &pg, &pl);
            if (static_cast<int>(p) == page) g = pg, l = pl;
        }
    } else {
        InsertIntoPage(&tree->pages[page], layer, group, name, &g, &l);
    }
    if (refresh) RefreshShown(treeView, page, g, l);
    return 1;
}

int SetLayerNameAndGroup(LayerTree* tree, HWND treeView, int page, int layer, const char* group,
                         const char* name, int refresh) {
    int g = 0, l = 0;
    if (!tree || !LocateLayer(tree, page, layer, &g, &l)) return 0;
    LayerTreePage& pg = tree->pages[page];
    LayerTreeLayer& node = pg.groups[g].layers[l];
    char wanted[11];
    DbcsCopy(wanted, sizeof wanted, group ? group : "");
    LayerTreeViewLink& link = LayerTreeView();
    const bool shown = link.shownPage && link.shownPage() == page;
    auto itemText = [&](HTREEITEM item, const char* text) {
        if (shown && item && link.setItemText) link.setItemText(treeView, item, text);
    };
    if (std::strcmp(pg.groups[g].name, wanted) == 0 ||
        (pg.groups.size() == 1 && pg.groups[0].layers.size() == 1)) {
        if (std::strcmp(pg.groups[g].name, wanted) != 0) {
            DbcsCopy(pg.groups[g].name, sizeof pg.groups[g].name, wanted);
            itemText(pg.groups[g].item, wanted);
        }
        DbcsCopy(node.name, sizeof node.name, name ? name : "");
        char text[300];
        std::snprintf(text, sizeof text, "%3d %s　　", layer + 1, node.name);
        itemText(node.item, text);
        return 1;
    }
    const LayerTreeLayer kept = node;
    RemoveLayerNode(tree, page, layer, 0);
    InsertLayerNode(tree, treeView, page, layer, wanted, name, 0, 0);
    int ng = 0, nl = 0;
    if (LocateLayer(tree, page, layer, &ng, &nl)) {
        LayerTreeLayer& moved = tree->pages[page].groups[ng].layers[nl];
        moved.display = kept.display;
        moved.detect = kept.detect;
        moved.lock = kept.lock;
        moved.used = kept.used;
        if (refresh) RefreshShown(treeView, page, ng, nl);
    }
    return 1;
}

// --- CLayerPageList --------------------------------------------------------------

int CLayerPageList::Snapshot() {
    DbHeader* db = GetActiveViewDb();
    if (!db || !m_tree) return 0;
    m_saved.clear();
    for (const LayerTreePage& p : m_tree->pages) {
        LayerTable copy = {};
        if (DbInfo* info = DAriGetDbInfoPtr(p.page, db)) copy = info->layers;
        m_saved.push_back(copy);
    }
    return 1;
}

int CLayerPageList::Restore() {
    DbHeader* db = GetActiveViewDb();
    if (!db || !m_tree || m_saved.size() != m_tree->pages.size()) return 0;
    for (size_t i = 0; i < m_saved.size(); ++i)
        if (DbInfo* info = DAriGetDbInfoPtr(m_tree->pages[i].page, db)) info->layers = m_saved[i];
    return 1;
}

void CLayerPageList::ReportError(int kind) {
    static const char* const kTexts[] = {
        "レイヤ情報に問題が発生しました。(ページ)",
        "レイヤ情報に問題が発生しました。(グループ)",
        "レイヤ情報に問題が発生しました。(レイヤ)",
    };
    if (kind < 1 || kind > 3) return;
    m_lastError = kind;
    ZavMessageBox(m_owner, kTexts[kind - 1], "異常", MB_OK | MB_ICONWARNING);
}

LayerTreePage* CLayerPageList::GetPage(int page) {
    if (!m_tree || m_tree->pages.empty()) {
        ReportError(1);
        return nullptr;
    }
    if (page < 0 || page >= static_cast<int>(m_tree->pages.size())) {
        ReportError(1);
        return &m_tree->pages[0];
    }
    return &m_tree->pages[page];
}

LayerTreeGroup* CLayerPageList::GetGroup(int page, int group) {
    LayerTreePage* p = GetPage(page);
    if (!p) return nullptr;
    if (group < 0 || group >= static_cast<int>(p->groups.size())) {
        ReportError(2);
        LayerTreePage& first = m_tree->pages[0];
        return first.groups.empty() ? nullptr : &first.groups[0];
    }
    return &p->groups[group];
}

LayerTreeLayer* CLayerPageList::GetLayer(int page, int group, int layer) {
    LayerTreeGroup* g = GetGroup(page, group);
    if (!g) return nullptr;
    if (layer < 0 || layer >= static_cast<int>(g->layers.size())) {
        ReportError(3);
        if (!g->layers.empty()) return &g->layers[0];
        LayerTreePage& first = m_tree->pages[0];
        if (!first.groups.empty() && !first.groups[0].layers.empty()) return &first.groups[0].layers[0];
        return nullptr;
    }
    return &g->layers[layer];
}

int CLayerPageList::SetPageGroups(int page, std::vector<LayerTreeGroup> groups) {
    if (!m_tree || page < 0 || page >= static_cast<int>(m_tree->pages.size())) {
        ReportError(1);
        return 0;
    }
    m_tree->pages[page].groups = std::move(groups);
    return 1;
}

int CLayerPageList::SetGroupLayers(int page, int group, std::vector<LayerTreeLayer> layers) {
    if (!m_tree || page < 0 || page >= static_cast<int>(m_tree->pages.size())) {
        ReportError(1);
        return 0;
    }
    auto& groups = m_tree->pages[page].groups;
    if (group < 0 || group >= static_cast<int>(groups.size())) {
        ReportError(2);
        return 0;
    }
    groups[group].layers = std::move(layers);
    if (!groups[group].layers.empty()) groups[group].firstLayer = groups[group].layers.front().number;
    return 1;
}

int CLayerPageList::FindLayer(int page, int layer, int* group, int* index) const {
    int g = 0, l = 0;
    if (!m_tree || !LocateLayer(m_tree, page, layer, &g, &l)) return 0;
    if (group) *group = g;
    if (index) *index = l;
    return 1;
}

int CLayerPageList::HasLayer(int page, int layer) const { return FindLayer(page, layer, nullptr, nullptr); }

int CLayerPageList::AllPagesAlike() const {
    if (!m_tree || m_tree->pages.empty()) return 1;
    const LayerTreePage& first = m_tree->pages[0];
    for (size_t p = 1; p < m_tree->pages.size(); ++p) {
        const LayerTreePage& other = m_tree->pages[p];
        if (other.groups.size() != first.groups.size()) return 0;
        for (size_t g = 0; g < first.groups.size(); ++g) {
            const auto& a = first.groups[g].layers;
            const auto& b = other.groups[g].layers;
            if (a.size() != b.size()) return 0;
            for (size_t l = 0; l < a.size(); ++l)
                if (a[l].number != b[l].number) return 0;
        }
    }
    return 1;
}
