#include "setup/layer_edit_dialogs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "base/dbcs.h"
#include "command/drawing_access.h"
#include "command/host_hooks.h"
#include "panels/panel_windows.h"
#include "setup/setup_dialog_ids.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

constexpr const char* kCaption = "レイヤ追加";

void FillNumbers(CDialog* dlg, const std::vector<int>& free) {
    dlg->SendItemMessage(300, CB_RESETCONTENT);
    char text[16];
    for (int n : free) {
        std::snprintf(text, sizeof text, "%4d", n + 1);
        dlg->SendItemMessage(300, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    }
}

void FillGroups(CDialog* dlg, const LayerTree* tree, int page) {
    dlg->SendItemMessage(303, CB_RESETCONTENT);
    if (page < 0 || page >= static_cast<int>(tree->pages.size())) return;
    for (const LayerTreeGroup& g : tree->pages[page].groups)
        dlg->SendItemMessage(303, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(g.name));
}

std::string GroupText(CDialog* dlg) {
    char group[11];
    DbcsCopy(group, sizeof group, dlg->GetItemText(303).c_str());
    return group;
}

std::string DefaultName(int layer) {
    char name[32];
    std::snprintf(name, sizeof name, "レイヤ %d", layer + 1);
    return name;
}

std::vector<int> LinkedPages(LayerTree* tree, int page) {
    std::vector<int> pages;
    if (!tree->pages[page].externalRef && CLayerPageList(tree).AllPagesAlike()) {
        for (size_t p = 0; p < tree->pages.size(); ++p)
            if (!tree->pages[p].externalRef) pages.push_back(static_cast<int>(p));
    } else {
        pages.push_back(page);
    }
    return pages;
}

void StoreLayer(DbHeader* db, int page, int layer, const std::string& name, const std::string& group) {
    DAriSetLayerName(page, layer, name.c_str(), db);
    DbInfo* info = DAriGetDbInfoPtr(page, db);
    if (!info) return;
    DbcsCopy(info->layers.groupNames[layer], sizeof info->layers.groupNames[layer], group.c_str());
    SetLayerBit(info->layers.display, layer, true);
    SetLayerBit(info->layers.detect, layer, true);
}

}  // namespace

std::vector<int> FreeLayerNumbers(const LayerTree* tree, int page) {
    std::vector<bool> taken(kLayerCount, false);
    if (tree && page >= 0 && page < static_cast<int>(tree->pages.size()))
        for (const LayerTreeGroup& g : tree->pages[page].groups)
            for (const LayerTreeLayer& n : g.layers)
                if (n.number >= 0 && n.number < kLayerCount) taken[n.number] = true;
    std::vector<int> free;
    for (int n = 0; n < kLayerCount; ++n)
        if (!taken[n]) free.push_back(n);
    return free;
}

// --- CAddLayerDlg -------------------------------------------------------------------

CAddLayerDlg::CAddLayerDlg(LayerTree* tree) : CDialogBase<CAddLayerDlg>(IDD_ADD_LAYER), m_list(tree), m_tree(tree) {}

LRESULT CAddLayerDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    FreeLayerTree(m_tree);
    BuildLayerTree(m_tree);
    const int page = PageIndexOfPage(m_tree, m_tree->currentPage);
    const std::vector<int> free = FreeLayerNumbers(m_tree, page);
    FillNumbers(this, free);
    FillGroups(this, m_tree, page);
    SendItemMessage(300, CB_LIMITTEXT, 4);
    SendItemMessage(303, CB_LIMITTEXT, 9);
    SendItemMessage(302, EM_LIMITTEXT, 256);
    if (!free.empty()) {
        char text[16];
        std::snprintf(text, sizeof text, "%4d", free.front() + 1);
        SetItemText(300, text);
        SetItemText(302, DefaultName(free.front()).c_str());
    }
    return TRUE;
}

LRESULT CAddLayerDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    FreeLayerTree(m_tree);
    return 0;
}

int CAddLayerDlg::AddLayer() {
    const int layer = std::atoi(GetItemText(300).c_str()) - 1;
    if (layer < 0 || layer >= kLayerCount) {
        char text[120];
        std::snprintf(text, sizeof text, "レイヤ番号は %d ～ %d の範囲で設定してください。", 1, kLayerCount);
        ZavMessageBox(m_hWnd, text, kCaption, MB_OK | MB_ICONWARNING);
        return 0;
    }
    const int page = PageIndexOfPage(m_tree, m_tree->currentPage);
    if (m_list.HasLayer(page, layer)) {
        ZavMessageBox(m_hWnd, "指定のレイヤ番号は存在しています。", kCaption, MB_OK | MB_ICONWARNING);
        return 0;
    }
    std::string name = GetItemText(302);
    if (name.size() > 256) name.resize(DbcsBoundary(name, 256));
    const std::string group = GroupText(this);
    if (name.empty()) {
        ZavMessageBox(m_hWnd, "レイヤ名称を設定してください。", kCaption, MB_OK | MB_ICONWARNING);
        return 0;
    }
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    if (!db) return 0;
    const int current = m_tree->currentPage;
    std::unique_ptr<PageRecord> rec(new PageRecord());
    if (current != 0 && DAriGetPage(current, rec.get(), db) && rec->externalRef == 1) {
        // An external reference keeps its own table: the layer goes there only.
        DAriSetLayerName(current, layer, name.c_str(), db);
        std::unique_ptr<LayerTable> table(new LayerTable());
        DAriGetLayerInfo(current, table.get(), db);
        DbcsCopy(table->groupNames[layer], sizeof table->groupNames[layer], group.c_str());
        SetLayerBit(table->display, layer, true);
        SetLayerBit(table->detect, layer, true);
        DAriSetLayerInfo(current, table.get(), db);
    } else {
        StoreLayer(db, 0, layer, name, group);
        int p = 0;
        for (int guard = 0; guard < 256; ++guard) {
            std::memset(rec.get(), 0, sizeof(PageRecord));
            p = DAriGetNextPage(p, rec.get(), db);
            if (p <= 0) break;
            if (rec->externalRef != 1) StoreLayer(db, p, layer, name, group);
        }
    }
    drawing::MarkModified(view);
    if (HostHooks().refreshToolPanel) HostHooks().refreshToolPanel();
    for (HWND child = ::GetWindow(view, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT))
        ::InvalidateRect(child, nullptr, TRUE);
    return 1;
}

LRESULT CAddLayerDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    if (AddLayer()) EndDialog(1);
    return 0;
}

// --- CAddLayerDlg2 ------------------------------------------------------------------

CAddLayerDlg2::CAddLayerDlg2(int mode, HWND treeView, LayerTree* tree)
    : CDialogBase<CAddLayerDlg2>(IDD_ADD_LAYER), m_mode(mode), m_treeView(treeView), m_list(tree), m_tree(tree) {}

LRESULT CAddLayerDlg2::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    int page = 0, group = 0, layer = 0;
    const int kind = FindNodeByTreeItem(m_tree, TreeView_GetSelection(m_treeView), &page, &group, &layer);
    m_page = page;
    m_groupIndex = kind >= 1 ? group : 0;
    m_layerIndex = kind == 2 ? layer : 0;
    if (kind == 1 && m_mode != 0) m_mode = 2;
    const LayerTreeGroup* g = m_list.GetGroup(m_page, m_groupIndex);
    const LayerTreeLayer* n = m_list.GetLayer(m_page, m_groupIndex, m_layerIndex);
    m_selectedGroup = g ? g->name : "";
    m_selectedNumber = n ? n->number : 0;
    const std::vector<int> free = FreeLayerNumbers(m_tree, m_page);
    FillNumbers(this, free);
    int proposed = -1;
    for (int f : free)
        if (f > m_selectedNumber) {
            proposed = f;
            break;
        }
    FillGroups(this, m_tree, PageIndexOfPage(m_tree, m_tree->currentPage));
    SendItemMessage(300, CB_LIMITTEXT, 4);
    SendItemMessage(303, CB_LIMITTEXT, 10);
    SendItemMessage(302, EM_LIMITTEXT, 256);
    char text[16] = "";
    if (m_mode == 2) {
        ::SetWindowTextA(m_hWnd, "レイヤ編集");
        SetItemText(300, "");
        EnableItem(300, false);
        SetItemText(303, m_selectedGroup.c_str());
        SetItemText(302, "");
        EnableItem(302, false);
        ::SetFocus(GetDlgItem(303));
        return FALSE;
    }
    if (m_mode == 1) {
        ::SetWindowTextA(m_hWnd, "レイヤ編集");
        std::snprintf(text, sizeof text, "%4d", m_selectedNumber + 1);
        SetItemText(300, text);
        EnableItem(300, false);
        SetItemText(303, m_selectedGroup.c_str());
        SetItemText(302, n ? n->name : "");
    } else {
        if (proposed >= 0) {
            std::snprintf(text, sizeof text, "%4d", proposed + 1);
            SetItemText(300, text);
            SetItemText(302, DefaultName(proposed).c_str());
        }
        SetItemText(303, m_selectedGroup.c_str());
    }
    ::SetFocus(GetDlgItem(302));
    SendItemMessage(302, EM_SETSEL, 0, -1);
    return FALSE;
}

void CAddLayerDlg2::Refuse(const char* text, int focus) {
    ZavMessageBox(m_hWnd, text, kCaption, MB_OK | MB_ICONWARNING);
    ::SetFocus(GetDlgItem(focus));
}

LRESULT CAddLayerDlg2::OnOK(WORD, WORD, HWND, BOOL&) {
    const int number = std::atoi(GetItemText(300).c_str());
    const std::string group = GroupText(this);
    std::string name = GetItemText(302);
    if (name.size() > 256) name.resize(DbcsBoundary(name, 256));
    if (m_mode == 0) {
        if (number < 1 || number > kLayerCount) {
            char text[120];
            std::snprintf(text, sizeof text, "レイヤ番号は %d ～ %d の範囲で設定してください。", 1, kLayerCount);
            Refuse(text, 300);
            return 0;
        }
        if (m_list.HasLayer(m_page, number - 1)) {
            Refuse("指定のレイヤ番号は存在しています。", 300);
            return 0;
        }
    }
    if ((m_mode == 0 || m_mode == 1) && name.empty()) {
        Refuse("レイヤ名称に空白は設定できません。", 302);
        return 0;
    }
    if (m_mode == 2 && m_unchangedGroupCancels && group == m_selectedGroup) {
        EndDialog(2);
        return 0;
    }
    m_group = group;
    m_name = name;
    m_number = number - 1;
    EndDialog(1);
    return 0;
}

// --- Runners --------------------------------------------------------------------------

int RunAddEditLayer(HWND treeView, LayerEditRequest* request) {
    LayerTree* tree = &SharedLayerTree();
    CAddLayerDlg2 dlg(request ? request->mode : 0, treeView, tree);
    if (dlg.DoModal(::GetActiveWindow()) != 1) return 0;
    if (request) {
        request->mode = dlg.m_mode;
        request->page = dlg.m_page;
        request->group = dlg.m_groupIndex;
        request->layer = dlg.m_layerIndex;
    }
    if (dlg.m_mode == 0)
        return InsertLayerNode(tree, treeView, dlg.m_page, dlg.m_number, dlg.m_group.c_str(), dlg.m_name.c_str(), 1, 1);
    if (dlg.m_mode == 1) {
        for (int p : LinkedPages(tree, dlg.m_page))
            SetLayerNameAndGroup(tree, treeView, p, dlg.m_selectedNumber, dlg.m_group.c_str(), dlg.m_name.c_str(), 1);
        return 1;
    }
    for (int p : LinkedPages(tree, dlg.m_page)) {
        if (dlg.m_groupIndex >= static_cast<int>(tree->pages[p].groups.size())) continue;
        std::vector<std::pair<int, std::string>> layers;
        for (const LayerTreeLayer& n : tree->pages[p].groups[dlg.m_groupIndex].layers)
            layers.push_back({n.number, n.name});
        for (size_t i = 0; i < layers.size(); ++i)
            SetLayerNameAndGroup(tree, treeView, p, layers[i].first, dlg.m_group.c_str(), layers[i].second.c_str(),
                                 i + 1 == layers.size() ? 1 : 0);
    }
    return 1;
}

int EditSelectedLayers(HWND treeView, const std::vector<HTREEITEM>& selected) {
    LayerTree* tree = &SharedLayerTree();
    struct Picked {
        int page, number;
        std::string name;
    };
    std::vector<Picked> picked;
    int firstGroup = -1, firstPage = -1;
    for (size_t p = 0; p < tree->pages.size(); ++p)
        for (size_t g = 0; g < tree->pages[p].groups.size(); ++g)
            for (const LayerTreeLayer& n : tree->pages[p].groups[g].layers) {
                bool isSelected = false;
                for (HTREEITEM item : selected)
                    isSelected = isSelected || (item && item == n.item);
                if (!isSelected) continue;
                if (firstGroup < 0) {
                    firstGroup = static_cast<int>(g);
                    firstPage = static_cast<int>(p);
                }
                // On an external reference the collection stays in the
                // group of the first layer.
                if (tree->pages[firstPage].externalRef && (static_cast<int>(g) != firstGroup || static_cast<int>(p) != firstPage))
                    continue;
                picked.push_back({static_cast<int>(p), n.number, n.name});
            }
    if (picked.empty()) {
        LayerEditRequest request;
        request.mode = 1;
        return RunAddEditLayer(treeView, &request);
    }
    CAddLayerDlg2 dlg(2, treeView, tree);
    dlg.m_unchangedGroupCancels = 0;
    if (dlg.DoModal(::GetActiveWindow()) != 1) return 0;
    for (const Picked& k : picked)
        SetLayerNameAndGroup(tree, treeView, k.page, k.number, dlg.m_group.c_str(), k.name.c_str(), 1);
    return 1;
}
