#include "setup/layer_manager_dialog.h"


#include <cstdio>
#include <cstring>
#include <string>

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/drawing_access.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "panels/panel_windows.h"
#include "setup/layer_edit_dialogs.h"
#include "setup/layer_pattern_dialog.h"
#include "setup/page_services.h"
#include "setup/setup_dialog_ids.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

// The signed client coordinates of a mouse message.
int PressX(LPARAM l) { return static_cast<short>(LOWORD(l)); }
int PressY(LPARAM l) { return static_cast<short>(HIWORD(l)); }

CLayerManagerDlg* g_open = nullptr;
constexpr int kRowHeight = 18;

bool Both(int display, int detect) { return display && detect; }

// Group state: 0 none, 1 all, 2 some.
int Aggregate(int count, int total) { return count == 0 ? 0 : (count == total ? 1 : 2); }

struct GroupFlags {
    int display, detect, lock;
};
GroupFlags GroupStateOf(const LayerTreeGroup& g) {
    int d = 0, t = 0, l = 0;
    for (const LayerTreeLayer& n : g.layers) {
        d += n.display ? 1 : 0;
        t += n.detect ? 1 : 0;
        l += n.lock ? 1 : 0;
    }
    const int total = static_cast<int>(g.layers.size());
    return {Aggregate(d, total), Aggregate(t, total), total > 0 && l == total ? 1 : 0};
}

void SetNodeFlags(LayerTreeLayer& n, int display, int detect) {
    n.display = display;
    n.detect = detect;
}

// The left or right toggle of a layer's display/detect state.
void ToggleLayer(LayerTreeLayer& n, int button) {
    if (button == 0) {
        const int on = Both(n.display, n.detect) ? 0 : 1;
        SetNodeFlags(n, on, on);
    } else {
        const bool shownOnly = n.display && !n.detect;
        SetNodeFlags(n, shownOnly ? 0 : 1, 0);
    }
}

// The group toggle; the state the layers got (display, detect).
std::pair<int, int> ToggleGroup(LayerTreeGroup& g, int button) {
    bool allBoth = true, allShownOnly = true;
    for (const LayerTreeLayer& n : g.layers) {
        allBoth = allBoth && Both(n.display, n.detect);
        allShownOnly = allShownOnly && n.display && !n.detect;
    }
    std::pair<int, int> to;
    if (button == 0)
        to = allBoth ? std::make_pair(0, 0) : std::make_pair(1, 1);
    else
        to = allShownOnly ? std::make_pair(0, 0) : std::make_pair(1, 0);
    for (LayerTreeLayer& n : g.layers)
        SetNodeFlags(n, to.first, to.second);
    return to;
}

int ToggleGroupLock(LayerTreeGroup& g) {
    bool allLocked = !g.layers.empty();
    for (const LayerTreeLayer& n : g.layers)
        allLocked = allLocked && n.lock;
    for (LayerTreeLayer& n : g.layers)
        n.lock = allLocked ? 0 : 1;
    return allLocked ? 0 : 1;
}

void WriteGroupBits(LayerTree* tree, int page, int group) {
    const int count = static_cast<int>(tree->pages[page].groups[group].layers.size());
    for (int l = 0; l < count; ++l)
        ApplyLayerNodeBits(tree, page, group, l, -1);
}

void MakePageShownAndDetectable(LayerTreePage& p) {
    p.display = p.detect = 1;
    SetPageDisplayed(p.page, 1);
    SetPageDetectable(p.page, 1);
}

bool Linked(const LayerTree* tree, int page) {
    return !tree->pages[page].externalRef && CLayerPageList(const_cast<LayerTree*>(tree)).AllPagesAlike();
}

std::string ExeFolder() {
    char path[MAX_PATH] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    if (char* slash = std::strrchr(path, '\\')) *slash = '\0';
    return path;
}

HIMAGELIST LoadIconList(const char* format, int count, int width) {
    HIMAGELIST list = ImageList_Create(width, kRowHeight, ILC_COLOR24 | ILC_MASK, count, 0);
    const std::string folder = ExeFolder() + "\\Images\\LayIcon";
    for (int i = 0; i < count; ++i) {
        char file[MAX_PATH];
        std::snprintf(file, sizeof file, format, folder.c_str(), i);
        HBITMAP bmp = static_cast<HBITMAP>(::LoadImageA(nullptr, file, IMAGE_BITMAP, width, kRowHeight, LR_LOADFROMFILE));
        if (bmp) {
            ImageList_AddMasked(list, bmp, RGB(255, 255, 255));
            ::DeleteObject(bmp);
        } else {
            HICON icon = static_cast<HICON>(::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_PAGE_STATE_HIDDEN),
                                                         IMAGE_ICON, width, kRowHeight, 0));
            ImageList_AddIcon(list, icon);
            if (icon) ::DestroyIcon(icon);
        }
    }
    return list;
}

void SetItemImage(HWND treeView, HTREEITEM item, int image) {
    if (!item) return;
    TVITEMA tv = {};
    tv.mask = TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    tv.hItem = item;
    tv.iImage = tv.iSelectedImage = image;
    ::SendMessageA(treeView, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
}

HTREEITEM InsertItem(HWND treeView, HTREEITEM parent, const char* text, int image) {
    TVINSERTSTRUCTA ins = {};
    ins.hParent = parent;
    ins.hInsertAfter = TVI_LAST;
    ins.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    ins.item.pszText = const_cast<char*>(text);
    ins.item.iImage = ins.item.iSelectedImage = image;
    return reinterpret_cast<HTREEITEM>(::SendMessageA(treeView, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&ins)));
}

void Warn(HWND owner, const char* text) { ZavMessageBox(owner, text, "削除", MB_OK | MB_ICONWARNING); }

}  // namespace

int IconIndexFor(int display, int detect, int use, int lock) {
    if (use == -1 && lock == -1) {  // a page
        if (display == 2 || detect == 2) return 3;
        if (!display) return 0;
        return detect ? 2 : 1;
    }
    if (use == -1) {  // a group
        const int base = lock == 1 ? 26 : 22;
        if (display == 0) return base;
        if (display == 2 || detect == 2) return base + 3;
        return detect ? base + 2 : base + 1;
    }
    const int state = !display ? 0 : (detect ? 2 : 1);
    const int u = use < 0 ? 0 : (use > 2 ? 2 : use);
    return 4 + (lock ? 9 : 0) + state * 3 + u;
}

int LayerNodeIcon(const LayerTree* tree, const LayerTreePage& page, const LayerTreeLayer& layer) {
    const int use = (page.page == tree->currentPage && layer.number == tree->inputLayer) ? 2 : (layer.used ? 1 : 0);
    return IconIndexFor(layer.display, layer.detect, use, layer.lock);
}

int GroupNodeIcon(const LayerTreeGroup& group) {
    const GroupFlags f = GroupStateOf(group);
    return IconIndexFor(f.display, f.detect, -1, f.lock);
}

int PageNodeIcon(const LayerTreePage& page) { return IconIndexFor(page.display, page.detect, -1, -1); }

int LayerRowZone(int kind, int x) {
    struct Range {
        int zone, from, to;
    };
    static const Range kPage[] = {{1, 0, 44}, {2, 45, 71}};
    static const Range kGroup[] = {{1, 0, 89}, {2, 90, 104}, {6, 104, 125}};
    static const Range kLayer[] = {{1, 0, 134}, {2, 149, 163}, {3, 135, 149}, {6, 163, 177}, {4, 180, 209}};
    static const int kTextFrom[] = {90, 135, 210};
    const Range* ranges = kind == kLayerRowPage ? kPage : kind == kLayerRowGroup ? kGroup : kLayer;
    const int count = kind == kLayerRowPage ? 2 : kind == kLayerRowGroup ? 3 : 5;
    if (kind < 0 || kind > 2) return 0;
    for (int i = 0; i < count; ++i)
        if (x >= ranges[i].from && x <= ranges[i].to) return ranges[i].zone;
    return x >= kTextFrom[kind] ? 5 : 0;
}

int ApplyLayerTreeClick(LayerTree* tree, int page, int group, int layer, int zone, int button) {
    if (!tree || page < 0 || page >= static_cast<int>(tree->pages.size())) return 0;
    LayerTreePage& p = tree->pages[page];
    const bool linked = Linked(tree, page);
    auto eachLinked = [&](auto fn) {
        if (!linked) return;
        for (size_t o = 0; o < tree->pages.size(); ++o)
            if (static_cast<int>(o) != page && !tree->pages[o].externalRef) fn(tree->pages[o]);
    };
    if (group < 0) {  // a page row
        if (zone != 2) return 0;
        if (button == 0) {
            const int on = Both(p.display, p.detect) ? 0 : 1;
            p.display = p.detect = on;
        } else {
            const bool shownOnly = p.display && !p.detect;
            p.display = shownOnly ? 0 : 1;
            p.detect = 0;
        }
        SetPageDisplayed(p.page, p.display);
        SetPageDetectable(p.page, p.detect);
        return 1;
    }
    if (group >= static_cast<int>(p.groups.size())) return 0;
    LayerTreeGroup& g = p.groups[group];
    if (layer < 0) {  // a group row
        if (zone == 2) {
            const std::pair<int, int> to = ToggleGroup(g, button);
            WriteGroupBits(tree, page, group);
            if (Both(to.first, to.second)) MakePageShownAndDetectable(p);
            eachLinked([&](LayerTreePage& other) {
                if (group >= static_cast<int>(other.groups.size())) return;
                for (LayerTreeLayer& n : other.groups[group].layers)
                    SetNodeFlags(n, to.first, to.second);
                if (Both(to.first, to.second)) other.display = other.detect = 1;
            });
            return 1;
        }
        if (zone == 6) {
            const int lock = ToggleGroupLock(g);
            WriteGroupBits(tree, page, group);
            eachLinked([&](LayerTreePage& other) {
                if (group >= static_cast<int>(other.groups.size())) return;
                for (LayerTreeLayer& n : other.groups[group].layers)
                    n.lock = lock;
            });
            return 1;
        }
        return 0;
    }
    if (layer >= static_cast<int>(g.layers.size())) return 0;
    LayerTreeLayer& n = g.layers[layer];
    switch (zone) {
    case 2: {
        ToggleLayer(n, button);
        ApplyLayerNodeBits(tree, page, group, layer, -1);
        if (Both(n.display, n.detect)) MakePageShownAndDetectable(p);
        eachLinked([&](LayerTreePage& other) {
            if (group >= static_cast<int>(other.groups.size()) ||
                layer >= static_cast<int>(other.groups[group].layers.size()))
                return;
            LayerTreeLayer& same = other.groups[group].layers[layer];
            ToggleLayer(same, button);
            if (Both(same.display, same.detect)) other.display = other.detect = 1;
        });
        return 1;
    }
    case 3:
        tree->inputLayer = n.number;
        tree->currentPage = p.page;
        tree->currentNodeId = n.nodeId;
        ApplyLayerNodeBits(tree, page, group, layer, -1);
        if (n.detect) eachLinked([](LayerTreePage& other) { other.display = other.detect = 1; });
        return 1;
    case 6:
        n.lock = n.lock ? 0 : 1;
        ApplyLayerNodeBits(tree, page, group, layer, -1);
        if (n.detect) eachLinked([](LayerTreePage& other) { other.display = other.detect = 1; });
        return 1;
    default: return 0;
    }
}

int SetAllLayersShown(LayerTree* tree, bool on) {
    if (!tree) return 0;
    DbHeader* db = GetActiveViewDb();
    int written = 0;
    for (LayerTreePage& p : tree->pages) {
        p.display = p.detect = on ? 1 : 0;
        DbInfo* info = db ? DAriGetDbInfoPtr(p.page, db) : nullptr;
        for (LayerTreeGroup& g : p.groups)
            for (LayerTreeLayer& n : g.layers) {
                n.display = n.detect = on ? 1 : 0;
                if (!info) continue;
                // The live bits, as ApplyLayerNodeBits writes them one by one.
                SetLayerBit(info->layers.display, n.number, on);
                SetLayerBit(info->layers.detect, n.number, on);
                SetLayerBit(info->layers.lock, n.number, n.lock != 0);
                ++written;
            }
    }
    return written ? 1 : 0;
}

void LayerRowText(const LayerTreeLayer& layer, char* text, size_t size) {
    std::snprintf(text, size, "%3d %s　　", layer.number + 1, layer.name);
}

void FillLayerTreeView(HWND treeView, LayerTree* tree, int shownPage) {
    if (!tree) return;
    for (LayerTreePage& p : tree->pages) {
        p.item = nullptr;
        for (LayerTreeGroup& g : p.groups) {
            g.item = nullptr;
            for (LayerTreeLayer& n : g.layers)
                n.item = nullptr;
        }
    }
    ::SendMessageA(treeView, WM_SETREDRAW, FALSE, 0);
    TreeView_DeleteAllItems(treeView);
    if (shownPage >= 0 && shownPage < static_cast<int>(tree->pages.size())) {
        LayerTreePage& p = tree->pages[shownPage];
        p.item = InsertItem(treeView, TVI_ROOT, p.title, PageNodeIcon(p));
        char text[300];
        for (LayerTreeGroup& g : p.groups) {
            g.item = InsertItem(treeView, p.item, g.name, GroupNodeIcon(g));
            for (LayerTreeLayer& n : g.layers) {
                LayerRowText(n, text, sizeof text);
                n.item = InsertItem(treeView, g.item, text, LayerNodeIcon(tree, p, n));
            }
            if (g.expanded) TreeView_Expand(treeView, g.item, TVE_EXPAND);
        }
        if (p.expanded) TreeView_Expand(treeView, p.item, TVE_EXPAND);
    }
    ::SendMessageA(treeView, WM_SETREDRAW, TRUE, 0);
    ::InvalidateRect(treeView, nullptr, TRUE);
}

void RefreshLayerTreeIcons(HWND treeView, const LayerTree* tree, int shownPage) {
    if (!tree || shownPage < 0 || shownPage >= static_cast<int>(tree->pages.size())) return;
    const LayerTreePage& p = tree->pages[shownPage];
    SetItemImage(treeView, p.item, PageNodeIcon(p));
    for (const LayerTreeGroup& g : p.groups) {
        SetItemImage(treeView, g.item, GroupNodeIcon(g));
        for (const LayerTreeLayer& n : g.layers)
            SetItemImage(treeView, n.item, LayerNodeIcon(tree, p, n));
    }
}

namespace {

// The checks of a deletion on one page; an empty text when it may go.
const char* DeleteRefusal(const LayerTree* tree, int page, int group, int layer) {
    const LayerTreePage& p = tree->pages[page];
    if (group < 0 || group >= static_cast<int>(p.groups.size())) return "ページは削除できません。";
    const LayerTreeGroup& g = p.groups[group];
    auto isInput = [&](const LayerTreeLayer& n) { return p.page == tree->currentPage && n.number == tree->inputLayer; };
    if (layer < 0) {
        if (p.groups.size() == 1) return "レイヤ数が0になるため削除できません。";
        for (const LayerTreeLayer& n : g.layers)
            if (isInput(n)) return "入力レイヤを含むグループは削除できません。";
        return "";
    }
    if (layer >= static_cast<int>(g.layers.size())) return "ページは削除できません。";
    if (isInput(g.layers[layer])) return "入力レイヤは削除できません。";
    if (p.groups.size() == 1 && g.layers.size() == 1) return "レイヤ数が0になるため削除できません。";
    return "";
}

bool AnyUsed(const LayerTree* tree, int page, int group, int layer) {
    const LayerTreeGroup& g = tree->pages[page].groups[group];
    if (layer >= 0) return g.layers[layer].used != 0;
    for (const LayerTreeLayer& n : g.layers)
        if (n.used) return true;
    return false;
}

void RemoveOnPage(HWND treeView, LayerTree* tree, int page, int group, int layer) {
    LayerTreeGroup& g = tree->pages[page].groups[group];
    if (layer >= 0) {
        ApplyLayerNodeBits(tree, page, group, layer, 0);
        RemoveLayerNode(tree, page, g.layers[layer].number, 1);
        return;
    }
    std::vector<int> numbers;
    for (const LayerTreeLayer& n : g.layers)
        numbers.push_back(n.number);
    for (size_t i = numbers.size(); i-- > 0;)
        RemoveLayerNode(tree, page, numbers[i], i == 0 ? 1 : 0);
    (void)treeView;
}

}  // namespace

int DeleteLayerTreeNode(HWND owner, HWND treeView, LayerTree* tree, int page, int group, int layer, bool* confirmed) {
    if (!tree || page < 0 || page >= static_cast<int>(tree->pages.size())) return 0;
    if (group < 0) {
        Warn(owner, "ページは削除できません。");
        return 0;
    }
    std::vector<int> pages;
    if (Linked(tree, page)) {
        for (size_t p = 0; p < tree->pages.size(); ++p)
            if (!tree->pages[p].externalRef) pages.push_back(static_cast<int>(p));
    } else {
        pages.push_back(page);
    }
    for (int p : pages) {
        const char* refusal = DeleteRefusal(tree, p, group, layer);
        if (*refusal) {
            Warn(owner, refusal);
            return 0;
        }
        if (AnyUsed(tree, p, group, layer) && !(confirmed && *confirmed)) {
            if (ZavMessageBox(owner, "レイヤを削除すると要素も削除されますがよろしいですか？", "削除",
                              MB_OKCANCEL | MB_ICONWARNING) != IDOK)
                return 0;
            if (confirmed) *confirmed = true;
        }
    }
    for (int p : pages)
        RemoveOnPage(treeView, tree, p, group, layer);
    return 1;
}

// ---------------------------------------------------------------------------

CLayerManagerDlg::CLayerManagerDlg() : CDialogBase<CLayerManagerDlg>(IDD_LAYER_MANAGER), m_list(&SharedLayerTree()) {}
CLayerManagerDlg::~CLayerManagerDlg() = default;

CLayerManagerDlg* CLayerManagerDlg::Open() { return g_open; }

INT_PTR CLayerManagerDlg::DoModal(HWND parent, LPARAM param) { return CDialog::DoModal(parent, param); }

LRESULT CLayerManagerDlg::OnInitDialog(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    HICON icon = ::LoadIconA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_LAYER_DIALOG));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    m_tree = GetDlgItem(1131);
    OSVERSIONINFOA version = {sizeof version};
    ::GetVersionExA(&version);
    if (version.dwMajorVersion >= 6) {
        TreeView_SetExtendedStyle(m_tree, TVS_EX_MULTISELECT, TVS_EX_MULTISELECT);
        m_multiSelect = true;
    }
    RECT window, client;
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    m_initialSize = {window.right - window.left, window.bottom - window.top};
    auto rectOf = [&](int id) {
        RECT rc = {};
        ::GetWindowRect(GetDlgItem(id), &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    const RECT ok = rectOf(IDOK), tree = rectOf(1131), pages = rectOf(1136);
    m_okMargin = {client.right - ok.left, client.bottom - ok.top};
    m_treeMargin = {client.right - tree.right, client.bottom - tree.bottom};
    m_pageListBottom = client.bottom - pages.bottom;
    static const int kLegend[] = {1153, 508, 509, 510, 511, 512, 513, 514, 516};
    for (int i = 0; i < 9; ++i)
        m_legendBottom[i] = client.bottom - rectOf(kLegend[i]).top;

    m_shownPage = 0;
    g_open = this;
    ::SetWindowSubclass(m_tree, &LayerTreeProc, 1, reinterpret_cast<DWORD_PTR>(this));
    LayerTree& shared = SharedLayerTree();
    FreeLayerTree(&shared);
    BuildLayerTree(&shared);
    m_list.Snapshot();
    m_lastTextItem = nullptr;
    RECT treeClient;
    ::GetClientRect(m_tree, &treeClient);
    m_renameRight = treeClient.right;

    m_images = LoadIconList("%s\\%03d.bmp", 30, 42);
    m_legend = LoadIconList("%s\\S%03d.bmp", 8, 16);
    TreeView_SetImageList(m_tree, m_images, TVSIL_NORMAL);
    TreeView_SetIndent(m_tree, 45);  // pages, groups and layers 45 pixels apart: the click zones count on it

    const int groupsOpen = Running().LAYDLG_GRPOPNFG;
    for (LayerTreePage& p : shared.pages) {
        p.expanded = 1;
        for (LayerTreeGroup& g : p.groups)
            g.expanded = groupsOpen ? 1 : 0;
    }
    const int inputPage = PageIndexOfCurrentNode(&shared);
    const int inputGroup = GroupIndexOfCurrentNode(&shared);
    if (!shared.pages.empty() && inputGroup < static_cast<int>(shared.pages[inputPage].groups.size()))
        shared.pages[inputPage].groups[inputGroup].expanded = 1;

    LayerTreeViewLink& link = LayerTreeView();
    link.shownPage = [] { return g_open ? g_open->m_shownPage : -1; };
    link.rebuild = [](HWND, int, int group, int layer) {
        if (g_open) g_open->Refill(group, layer);
    };
    link.setItemText = [](HWND view, HTREEITEM item, const char* text) {
        TVITEMA tv = {};
        tv.mask = TVIF_TEXT;
        tv.hItem = item;
        tv.pszText = const_cast<char*>(text);
        ::SendMessageA(view ? view : (g_open ? g_open->m_tree : nullptr), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    };

    FillPageList();
    FillLayerTreeView(m_tree, &shared, m_shownPage);
    if (!shared.pages.empty()) {
        HTREEITEM select = shared.pages[m_shownPage].item;
        if (inputPage == m_shownPage && inputGroup < static_cast<int>(shared.pages[inputPage].groups.size()))
            select = shared.pages[inputPage].groups[inputGroup].item;
        TreeView_SelectItem(m_tree, select);
    }
    m_activeView = GetActiveView();
    return TRUE;
}

void CLayerManagerDlg::FillPageList() {
    const LayerTree& tree = SharedLayerTree();
    SendItemMessage(1136, LB_RESETCONTENT);
    HDC dc = ::GetDC(GetDlgItem(1136));
    HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(SendItemMessage(1136, WM_GETFONT)));
    int widest = 0;
    for (size_t i = 0; i < tree.pages.size(); ++i) {
        const LayerTreePage& p = tree.pages[i];
        char line[300];
        if (i == 0 || p.externalRef)
            std::snprintf(line, sizeof line, "%s", p.title);
        else
            std::snprintf(line, sizeof line, "   (%s)         ", p.title);
        SendItemMessage(1136, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line));
        SIZE size;
        ::GetTextExtentPoint32A(dc, line, static_cast<int>(std::strlen(line)), &size);
        if (size.cx > widest) widest = size.cx;
    }
    ::SelectObject(dc, old);
    ::ReleaseDC(GetDlgItem(1136), dc);
    SendItemMessage(1136, LB_SETCURSEL, m_shownPage);
    SendItemMessage(1136, LB_SETHORIZONTALEXTENT, widest + ::GetSystemMetrics(SM_CXVSCROLL));
}

void CLayerManagerDlg::Refill(int group, int layer) {
    LayerTree& tree = SharedLayerTree();
    FillLayerTreeView(m_tree, &tree, m_shownPage);
    if (tree.pages.empty()) return;
    LayerTreePage& p = tree.pages[m_shownPage];
    HTREEITEM select = p.item;
    if (group >= 0 && group < static_cast<int>(p.groups.size())) {
        select = p.groups[group].item;
        if (layer >= 0 && layer < static_cast<int>(p.groups[group].layers.size()))
            select = p.groups[group].layers[layer].item;
    }
    TreeView_SelectItem(m_tree, select);
}

void CLayerManagerDlg::RepaintDrawing() {
    HWND view = GetActiveView();
    if (!view) return;
    ::InvalidateRect(view, nullptr, TRUE);
    ::UpdateWindow(view);
    for (HWND child = ::GetWindow(view, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        char cls[32] = "";
        ::GetClassNameA(child, cls, sizeof cls);
        if (std::strcmp(cls, "LAY_WND") != 0) continue;
        ::InvalidateRect(child, nullptr, TRUE);
        ::UpdateWindow(child);
    }
}

void CLayerManagerDlg::OnLayerTreeClick(HTREEITEM item, int zone, int button) {
    LayerTree& tree = SharedLayerTree();
    int page = 0, group = -1, layer = -1;
    const int kind = FindNodeByTreeItem(&tree, item, &page, &group, &layer);
    if (kind < 0) return;
    if (kind == 0) group = -1;
    if (kind != 2) layer = -1;
    if (ApplyLayerTreeClick(&tree, page, group, layer, zone, button)) {
        RefreshLayerTreeIcons(m_tree, &tree, m_shownPage);
        RepaintDrawing();
    }
}

LRESULT CLayerManagerDlg::OnTreeMessage(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam, bool* swallowed) {
    *swallowed = false;
    LayerTree& shared = SharedLayerTree();
    auto hitTest = [&](int* kind, int* zone, TVHITTESTINFO* hit) {
        hit->pt = {PressX(lParam), PressY(lParam)};
        HTREEITEM item = TreeView_HitTest(tree, hit);
        int p = 0, g = 0, l = 0;
        *kind = FindNodeByTreeItem(&shared, item, &p, &g, &l);
        *zone = *kind < 0 ? 0 : LayerRowZone(*kind, hit->pt.x + ::GetScrollPos(tree, SB_HORZ));
        return item;
    };
    switch (msg) {
    case WM_KEYDOWN:
        if (wParam == VK_F2) {
            HTREEITEM selected = TreeView_GetSelection(tree);
            int p = 0, g = 0, l = 0;
            const int kind = FindNodeByTreeItem(&shared, selected, &p, &g, &l);
            if (kind != 1 && kind != 2) break;
            RECT client;
            ::GetClientRect(tree, &client);
            for (int row = 0; row < client.bottom / kRowHeight; ++row) {
                TVHITTESTINFO hit = {};
                hit.pt = {kind == 1 ? 136 : 211, kRowHeight * row + 2};
                if (TreeView_HitTest(tree, &hit) == selected) {
                    StartInPlaceRename(selected, kind, row);
                    break;
                }
            }
            *swallowed = true;
        }
        break;
    case WM_VSCROLL:
        if (LOWORD(wParam) <= 7) CloseInPlaceEdit();
        break;
    case WM_MOUSEWHEEL: CloseInPlaceEdit(); break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN: {
        const int button = msg == WM_LBUTTONDOWN ? 0 : 1;
        TVHITTESTINFO hit = {};
        int kind = -1, zone = 0;
        HTREEITEM item = hitTest(&kind, &zone, &hit);
        if (!item) break;
        if (zone == 5) {
            CloseInPlaceEdit();
            if (item == m_lastTextItem && (kind == 1 || kind == 2)) {
                StartInPlaceRename(item, kind, PressY(lParam) / kRowHeight);
                m_lastTextItem = nullptr;
                *swallowed = true;
                break;
            }
            const bool treeSelects = button == 0 && (hit.flags & (TVHT_ONITEMICON | TVHT_ONITEMLABEL));
            if (!treeSelects) TreeView_SelectItem(tree, item);
            m_lastTextItem = item;
        } else if (zone == 2 || zone == 3) {
            if (button == 1) TreeView_SelectItem(tree, item);
            OnLayerTreeClick(item, zone, button);
        } else if (zone == 6) {
            OnLayerTreeClick(item, zone, button);
            *swallowed = true;
        } else {
            TreeView_SelectItem(tree, item);
            m_lastTextItem = nullptr;
        }
        break;
    }
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK: {
        const int button = msg == WM_LBUTTONDBLCLK ? 0 : 1;
        TVHITTESTINFO hit = {};
        int kind = -1, zone = 0;
        HTREEITEM item = hitTest(&kind, &zone, &hit);
        m_lastTextItem = nullptr;
        if (!item) break;
        if (zone == 5 && !(hit.flags & TVHT_ONITEMLABEL)) {
            TreeView_Expand(tree, item, TVE_TOGGLE);
            *swallowed = true;
        } else if (zone == 2 || zone == 3 || zone == 6) {
            OnLayerTreeClick(item, zone, button);
            *swallowed = true;
        } else if (button == 1) {
            TreeView_SelectItem(tree, item);
        }
        break;
    }
    case WM_USER: ApplyRename(reinterpret_cast<const char*>(lParam)); *swallowed = true; break;
    default: break;
    }
    return 0;
}

LRESULT CALLBACK CLayerManagerDlg::LayerTreeProc(HWND tree, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                 DWORD_PTR self) {
    bool swallowed = false;
    const LRESULT r = reinterpret_cast<CLayerManagerDlg*>(self)->OnTreeMessage(tree, msg, wParam, lParam, &swallowed);
    if (swallowed) return r;
    return ::DefSubclassProc(tree, msg, wParam, lParam);
}

void CLayerManagerDlg::StartInPlaceRename(HTREEITEM item, int kind, int row) {
    LayerTree& tree = SharedLayerTree();
    int page = 0, group = 0, layer = 0;
    if (FindNodeByTreeItem(&tree, item, &page, &group, &layer) != kind) return;
    CloseInPlaceEdit();
    m_rename = RenameRecord();
    m_rename.item = item;
    m_rename.page = page;
    m_rename.group = group;
    const LayerTreeGroup& g = tree.pages[page].groups[group];
    if (kind == 1) {
        m_rename.index = -1;
        DbcsCopy(m_rename.text, sizeof m_rename.text, g.name);
    } else {
        m_rename.index = layer;
        m_rename.layer = g.layers[layer].number;
        DbcsCopy(m_rename.text, sizeof m_rename.text, g.layers[layer].name);
    }
    const int scroll = ::GetScrollPos(m_tree, SB_HORZ);
    int left = (kind == 1 ? 135 : 210) - scroll;
    if (left < 0) left = 0;
    int right = kind == 1 ? 225 : m_renameRight;
    if (kind == 2 && (::GetWindowLongA(m_tree, GWL_STYLE) & WS_VSCROLL)) right -= ::GetSystemMetrics(SM_CXVSCROLL);
    m_edit = ::CreateWindowExA(0, "EDIT", m_rename.text, WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, left,
                               kRowHeight * row, right - left, 20, m_tree, reinterpret_cast<HMENU>(5000),
                               ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(m_edit, WM_SETFONT, ::SendMessageA(m_hWnd, WM_GETFONT, 0, 0), TRUE);
    ::SendMessageA(m_edit, EM_LIMITTEXT, kind == 1 ? 10 : 256, 0);
    ::SetWindowSubclass(m_edit, &InPlaceEditProc, 1, reinterpret_cast<DWORD_PTR>(this));
    ::SetFocus(m_edit);
}

LRESULT CALLBACK CLayerManagerDlg::InPlaceEditProc(HWND edit, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                   DWORD_PTR self) {
    auto* dlg = reinterpret_cast<CLayerManagerDlg*>(self);
    switch (msg) {
    case WM_SETFOCUS: ::SendMessageA(edit, EM_SETSEL, 0, -1); break;
    case WM_KILLFOCUS: ::PostMessageA(edit, WM_CLOSE, 0, 0); break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    case WM_CHAR:
        if (wParam == VK_RETURN || wParam == VK_ESCAPE) return 0;
        break;
    case WM_KEYDOWN:
        if (wParam == VK_RETURN) {
            ::GetWindowTextA(edit, dlg->m_rename.text, 257);
            ::PostMessageA(dlg->m_tree, WM_USER, 0, reinterpret_cast<LPARAM>(dlg->m_rename.text));
            ::PostMessageA(edit, WM_CLOSE, 0, 0);
            return 0;
        }
        if (wParam == VK_ESCAPE) {
            ::PostMessageA(edit, WM_CLOSE, 0, 0);
            return 0;
        }
        break;
    case WM_CLOSE:
        ::DestroyWindow(edit);
        return 0;
    case WM_DESTROY:
        ::ReleaseCapture();
        ::RemoveWindowSubclass(edit, &InPlaceEditProc, 1);
        if (dlg->m_edit == edit) dlg->m_edit = nullptr;
        break;
    default: break;
    }
    return ::DefSubclassProc(edit, msg, wParam, lParam);
}

void CLayerManagerDlg::CloseInPlaceEdit() {
    if (m_edit && ::IsWindowVisible(m_edit)) ::SendMessageA(m_edit, WM_CLOSE, 0, 0);
    m_edit = nullptr;
}

void CLayerManagerDlg::ApplyRename(const char* text) {
    LayerTree& tree = SharedLayerTree();
    const RenameRecord r = m_rename;
    if (r.page < 0 || r.page >= static_cast<int>(tree.pages.size())) return;
    std::vector<int> pages;
    if (Linked(&tree, r.page)) {
        for (size_t p = 0; p < tree.pages.size(); ++p)
            if (!tree.pages[p].externalRef) pages.push_back(static_cast<int>(p));
    } else {
        pages.push_back(r.page);
    }
    if (r.index >= 0) {
        if (!text || !*text) {
            ZavMessageBox(m_hWnd, "レイヤ名称に空白は設定できません。", "レイヤ設定", MB_OK | MB_ICONWARNING);
            return;
        }
        const LayerTreeGroup& g = tree.pages[r.page].groups[r.group];
        const std::string group = g.name;
        for (int p : pages)
            SetLayerNameAndGroup(&tree, m_tree, p, r.layer, group.c_str(), text, 1);
        return;
    }
    char wanted[11];
    DbcsCopy(wanted, sizeof wanted, text ? text : "");
    if (std::strcmp(wanted, tree.pages[r.page].groups[r.group].name) == 0) return;
    for (int p : pages) {
        if (r.group >= static_cast<int>(tree.pages[p].groups.size())) continue;
        std::vector<std::pair<int, std::string>> layers;
        for (const LayerTreeLayer& n : tree.pages[p].groups[r.group].layers)
            layers.push_back({n.number, n.name});
        for (size_t i = 0; i < layers.size(); ++i)
            SetLayerNameAndGroup(&tree, m_tree, p, layers[i].first, wanted, layers[i].second.c_str(),
                                 i + 1 == layers.size() ? 1 : 0);
    }
}

LRESULT CLayerManagerDlg::OnPaint(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    ::DefWindowProcA(m_hWnd, WM_PAINT, 0, 0);
    HDC dc = ::GetDC(m_hWnd);
    auto rectOf = [&](int id) {
        RECT rc = {};
        ::GetWindowRect(GetDlgItem(id), &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    RECT box = rectOf(1153);
    box.top += 6;
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(WHITE_BRUSH));
    HGDIOBJ oldPen = ::SelectObject(dc, ::GetStockObject(BLACK_PEN));
    ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
    HFONT font = ::CreateFontA(12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "ＭＳ ゴシック");
    HGDIOBJ oldFont = ::SelectObject(dc, font);
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_WINDOWTEXT));
    static const int kOrder[] = {510, 511, 509, 508, 512, 513, 514, 516};
    for (int i = 0; i < 8; ++i) {
        const RECT rc = rectOf(kOrder[i]);
        ImageList_Draw(m_legend, i, dc, rc.left - 20, rc.top - 1, ILD_TRANSPARENT);
        char text[80] = "";
        ::GetDlgItemTextA(m_hWnd, kOrder[i], text, sizeof text);
        ::TextOutA(dc, rc.left, rc.top + 2, text, static_cast<int>(std::strlen(text)));
    }
    ::SelectObject(dc, oldFont);
    ::DeleteObject(font);
    ::SelectObject(dc, oldPen);
    ::SelectObject(dc, oldBrush);
    ::ReleaseDC(m_hWnd, dc);
    return 0;
}

LRESULT CLayerManagerDlg::OnSize(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    handled = FALSE;
    if (!m_tree) return 0;
    const int w = LOWORD(lParam), h = HIWORD(lParam);
    auto rectOf = [&](int id) {
        RECT rc = {};
        ::GetWindowRect(GetDlgItem(id), &rc);
        ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    };
    const int okX = w - m_okMargin.x;
    for (int id : {IDOK, IDCANCEL, 200, 204, 1000, 203, 207, 202, 1803}) {
        const RECT rc = rectOf(id);
        ::SetWindowPos(GetDlgItem(id), nullptr, okX, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    const RECT pages = rectOf(1136);
    ::SetWindowPos(GetDlgItem(1136), nullptr, 0, 0, pages.right - pages.left, h - m_pageListBottom - pages.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    const RECT tree = rectOf(1131);
    ::SetWindowPos(m_tree, nullptr, 0, 0, w - m_treeMargin.x - tree.left, h - m_treeMargin.y - tree.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    static const int kLegend[] = {1153, 508, 509, 510, 511, 512, 513, 514, 516};
    for (int i = 0; i < 9; ++i) {
        const RECT rc = rectOf(kLegend[i]);
        ::SetWindowPos(GetDlgItem(kLegend[i]), nullptr, rc.left, h - m_legendBottom[i], 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    }
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
    return 0;
}

LRESULT CLayerManagerDlg::OnGetMinMaxInfo(UINT, WPARAM, LPARAM lParam, BOOL&) {
    auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
    if (m_initialSize.cx == 0) return 0;
    info->ptMinTrackSize = {m_initialSize.cx, m_initialSize.cy};
    info->ptMaxTrackSize = {m_initialSize.cx, ::GetSystemMetrics(SM_CYFULLSCREEN)};
    return 0;
}

void CLayerManagerDlg::ApplyChanges() {
    LayerTree& tree = SharedLayerTree();
    if (Running().LAYDLG_INPLAYFG) {
        int page = PageIndexOfPage(&tree, tree.currentPage), group = 0, index = 0;
        if (m_list.FindLayer(page, tree.inputLayer, &group, &index)) {
            LayerTreeLayer& n = tree.pages[page].groups[group].layers[index];
            n.display = n.detect = 1;
        }
    }
    WriteLayerTree(&tree);
    if (HWND panel = ToolPanelWindow()) {
        ::SendMessageA(panel, WM_USER + 2, tree.currentPage, tree.inputLayer);
        ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(200, 100), 0);
        ::SendMessageA(panel, WM_USER, 0, 0);
    }
    if (HostHooks().setCurrentPageLayer) HostHooks().setCurrentPageLayer(tree.currentPage, tree.inputLayer);
    if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, UM_REDRAW_VIEW, 0, 0);
    drawing::MarkModified(GetActiveView());
    RepaintDrawing();
}

LRESULT CLayerManagerDlg::OnOK(WORD, WORD, HWND, BOOL&) {
    HWND focus = ::GetFocus();
    if (m_edit && focus == m_edit) {
        ::SendMessageA(m_edit, WM_KEYDOWN, VK_RETURN, 0);
        return 0;
    }
    if (focus != GetDlgItem(IDOK)) return 0;
    ApplyChanges();
    EndDialog(1);
    return 0;
}

LRESULT CLayerManagerDlg::OnClose(UINT, WPARAM, LPARAM, BOOL&) {
    ApplyChanges();
    EndDialog(2);
    return 0;
}

LRESULT CLayerManagerDlg::OnCancel(WORD, WORD, HWND, BOOL&) {
    HWND focus = ::GetFocus();
    bool leaves = focus == m_tree;
    for (int id : {IDOK, IDCANCEL, 203, 1000, 207, 202})
        leaves = leaves || focus == GetDlgItem(id);
    if (!leaves) {
        ::SetFocus(m_tree);
        return 0;
    }
    m_list.Restore();
    RepaintDrawing();
    EndDialog(2);
    return 0;
}

LRESULT CLayerManagerDlg::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    handled = FALSE;
    CloseInPlaceEdit();
    ::RemoveWindowSubclass(m_tree, &LayerTreeProc, 1);
    if (m_images) ImageList_Destroy(m_images);
    if (m_legend) ImageList_Destroy(m_legend);
    m_images = m_legend = nullptr;
    FreeLayerTree(&SharedLayerTree());
    LayerTreeView() = LayerTreeViewLink();
    g_open = nullptr;
    return 0;
}

LRESULT CLayerManagerDlg::OnAddLayer(WORD, WORD, HWND, BOOL&) {
    LayerEditRequest request;
    request.mode = 0;
    RunAddEditLayer(m_tree, &request);
    return 0;
}

LRESULT CLayerManagerDlg::OnEditLayer(WORD, WORD, HWND, BOOL&) {
    std::vector<HTREEITEM> selected;
    if (m_multiSelect) {
        for (HTREEITEM item = TreeView_GetSelection(m_tree); item;) {
            selected.push_back(item);
            item = reinterpret_cast<HTREEITEM>(
                ::SendMessageA(m_tree, TVM_GETNEXTITEM, TVGN_NEXTSELECTED, reinterpret_cast<LPARAM>(item)));
            if (selected.size() > 4096) break;
        }
    }
    if (selected.size() > 1) {
        EditSelectedLayers(m_tree, selected);
        return 0;
    }
    LayerEditRequest request;
    request.mode = 1;
    RunAddEditLayer(m_tree, &request);
    return 0;
}

LRESULT CLayerManagerDlg::OnDelete(WORD, WORD, HWND, BOOL&) {
    LayerTree& tree = SharedLayerTree();
    int page = 0, group = -1, layer = -1;
    const int kind = FindNodeByTreeItem(&tree, TreeView_GetSelection(m_tree), &page, &group, &layer);
    if (kind < 0) return 0;
    if (kind == 0) group = -1;
    if (kind != 2) layer = -1;
    if (DeleteLayerTreeNode(m_hWnd, m_tree, &tree, page, group, layer, &m_lossConfirmed)) RepaintDrawing();
    return 0;
}

LRESULT CLayerManagerDlg::OnPatternList(WORD, WORD, HWND, BOOL&) {
    CLayerDataFileDlg dlg;
    if (dlg.DoModal(m_hWnd) == 1) Refill();
    return 0;
}

LRESULT CLayerManagerDlg::OnAllOn(WORD, WORD, HWND, BOOL&) {
    if (SetAllLayersShown(&SharedLayerTree(), true)) RepaintDrawing();
    RefreshLayerTreeIcons(m_tree, &SharedLayerTree(), m_shownPage);
    return 0;
}

LRESULT CLayerManagerDlg::OnAllOff(WORD, WORD, HWND, BOOL&) {
    if (SetAllLayersShown(&SharedLayerTree(), false)) RepaintDrawing();
    RefreshLayerTreeIcons(m_tree, &SharedLayerTree(), m_shownPage);
    return 0;
}

LRESULT CLayerManagerDlg::OnPageListSelChange(WORD, WORD, HWND, BOOL&) {
    const LRESULT sel = SendItemMessage(1136, LB_GETCURSEL);
    if (sel < 0) return 0;
    m_shownPage = static_cast<int>(sel);
    Refill();
    return 0;
}

LRESULT CLayerManagerDlg::OnLayerSplit(WORD, WORD, HWND, BOOL&) {
    if (HWND panel = ToolPanelWindow()) ::PostMessageA(panel, WM_COMMAND, 3314, 0);
    return 0;
}
