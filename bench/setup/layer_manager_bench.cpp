// Figures of the layer manager on a drawing of 257 pages with 1,024 named
// layers each (16 groups of 64): opening it (the tree built from every
// page, the snapshot of every layer table, the shown page filled into a
// real tree view and the page list) and applying a change to every layer
// (all switched off, as the button does, and the whole tree written back).
// Beside each, a plain reference: the same tables read or written directly,
// the least any manager has to do. The goal is 0.5 s for each.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "setup/layer_manager_dialog.h"
#include "setup/layer_tree.h"
#include "bench/bench_view.h"

namespace {

using namespace benchview;

void Report(const char* what, double seconds, double plain) {
    std::printf("%-52s %8.4f s   plain %8.4f s   goal 0.5 s%s\n", what, seconds, plain,
                seconds <= 0.5 ? "" : "   OVER");
}

}  // namespace

int main() {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_TREEVIEW_CLASSES};
    ::InitCommonControlsEx(&icc);
    CMDIFrameWindow main;
    HWND view = OpenDrawingView(main, false);
    if (!view) return 1;
    DbHeader* db = GetViewData(view)->db;

    ElementRecord line;
    std::memset(&line, 0, sizeof line);
    line.kind = kElmLine;
    line.colour = 1;
    AddNamedPages(db, line);
    for (int page = 0; page <= 256; ++page) {
        LayerTable& t = DAriGetDbInfoPtr(page, db)->layers;
        for (int layer = 0; layer < 1024; ++layer)
            std::snprintf(t.groupNames[layer], sizeof t.groupNames[layer], "G%d", layer / 64);
    }

    HWND treeView = ::CreateWindowExA(0, WC_TREEVIEWA, "", WS_CHILD | WS_VISIBLE | TVS_HASBUTTONS | TVS_HASLINES, 0, 0,
                                      400, 600, main.m_hWnd, nullptr, ::GetModuleHandleA(nullptr), nullptr);
    HWND pageList = ::CreateWindowExA(0, "LISTBOX", "", WS_CHILD | WS_VISIBLE, 400, 0, 200, 600, main.m_hWnd, nullptr,
                                      ::GetModuleHandleA(nullptr), nullptr);
    LayerTree& tree = SharedLayerTree();
    CLayerPageList list(&tree);

    const double open = Best(3, [&] {
        FreeLayerTree(&tree);
        BuildLayerTree(&tree);
        list.Snapshot();
        for (LayerTreePage& p : tree.pages) {
            p.expanded = 1;
            for (LayerTreeGroup& g : p.groups)
                g.expanded = 1;
        }
        ::SendMessageA(pageList, LB_RESETCONTENT, 0, 0);
        for (const LayerTreePage& p : tree.pages)
            ::SendMessageA(pageList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(p.title));
        FillLayerTreeView(treeView, &tree, 0);
        ::UpdateWindow(treeView);
    });
    // The plain reference reads what the tree holds: every layer's name and
    // bits of every page, and copies every table once.
    std::vector<const char*> names(257 * 1024);
    std::vector<LayerTable> copies(257);
    const double openPlain = Best(3, [&] {
        for (int page = 0; page <= 256; ++page) {
            const LayerTable& t = DAriGetDbInfoPtr(page, db)->layers;
            for (int layer = 0; layer < 1024; ++layer)
                names[page * 1024 + layer] = LayerBitOf(t.display, layer) ? t.names[layer] : nullptr;
            copies[page] = t;
        }
    });
    Report("layer manager, 257 pages x 1,024 layers: open", open, openPlain);

    int layers = 0;
    for (const LayerTreePage& p : tree.pages)
        for (const LayerTreeGroup& g : p.groups)
            layers += static_cast<int>(g.layers.size());
    const double apply = Best(3, [&] {
        SetAllLayersShown(&tree, false);
        WriteLayerTree(&tree);
    });
    const double applyPlain = Best(3, [&] {
        for (int page = 0; page <= 256; ++page) {
            LayerTable& t = DAriGetDbInfoPtr(page, db)->layers;
            for (int layer = 0; layer < 1024; ++layer) {
                SetLayerBit(t.display, layer, false);
                SetLayerBit(t.detect, layer, false);
                DAriSetLayerName(page, layer, t.names[layer], db);
            }
        }
    });
    Report("layer manager: every layer switched off and applied", apply, applyPlain);
    std::printf("(%d layer nodes; page 9 layer 5 shown after the apply: %d)\n", layers,
                LayerBitOf(DAriGetDbInfoPtr(9, db)->layers.display, 5) ? 1 : 0);
    FreeLayerTree(&tree);
    return 0;
}
