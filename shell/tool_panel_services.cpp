#include "shell/tool_panel_services.h"

#include <cstddef>
#include <cstdio>

#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/wait_loop.h"
#include "panels/tool_panel_links.h"
#include "setup/layer_tree.h"
#include "setup/small_settings_dialogs.h"
#include "shell/cad_system.h"
#include "view/drawing_state.h"
#include "view/host_view_service.h"
#include "view/key_cursor.h"
#include "view/scale_value.h"
#include "view/view_data.h"
#include "view/view_paint.h"
#include "view/view_table.h"

// The panel edits the head of the view's attributes in place.
static_assert(offsetof(DrawAttr, color) == offsetof(AttrWords, color) &&
                  offsetof(DrawAttr, lineEndKind) == offsetof(AttrWords, lineEnd),
              "the attribute words are the head of DrawAttr");

namespace {

ViewData* ActiveData() {
    HWND view = GetActiveView();
    return view ? GetViewData(view) : nullptr;
}

COLORREF DrawingBackground() {
    ViewData* d = ActiveData();
    const DbInfo* info = d && d->db ? DAriGetDbInfoPtr(0, d->db) : nullptr;
    if (!info) return RGB(255, 255, 255);
    const ColourEntry& e = info->colours[0];
    return RGB(e.red & 0xFF, e.green & 0xFF, e.blue & 0xFF);
}

// The layer field's list: each page, then each of its groups followed by
// that group's layers, as the layer manager shows them.
std::vector<LayerListRow> LayerTreeRows() {
    std::vector<LayerListRow> rows;
    LayerTree tree;
    BuildLayerTree(&tree);
    char text[300];
    for (const LayerTreePage& p : tree.pages) {
        const int first = !p.groups.empty() && !p.groups[0].layers.empty() ? p.groups[0].layers[0].number : -1;
        rows.push_back({0, p.page, first, p.title});
        for (const LayerTreeGroup& g : p.groups) {
            std::snprintf(text, sizeof text, "  %s", g.name);
            rows.push_back({1, p.page, g.layers.empty() ? -1 : g.layers[0].number, text});
            for (const LayerTreeLayer& n : g.layers) {
                std::snprintf(text, sizeof text, "    %4d %s", n.number + 1, n.name);
                rows.push_back({2, p.page, n.number, text});
            }
        }
    }
    FreeLayerTree(&tree);
    return rows;
}

}  // namespace

void InstallToolPanelServices() {
    ToolPanelLinks& l = ToolPanelHost();
    l.activeAttrWords = []() -> AttrWords* {
        ViewData* d = ActiveData();
        return d ? reinterpret_cast<AttrWords*>(&d->attr) : nullptr;
    };
    l.activeOverviewLevel = [] {
        ViewData* d = ActiveData();
        return d ? (int)d->overviewLevel : 0;
    };
    l.panelColor = GetPanelColor;
    l.lowRes = IsCmdPanelLowRes;
    l.contrastColor = [](COLORREF c) { return ContrastColor(c, DrawingBackground(), Running().bColorMode); };
    l.formatScale = FormatScaleValue;
    l.lastInputPoint = [](double* x, double* y) {
        *x = CmdWaitState().storedLastPoint[0];
        *y = CmdWaitState().storedLastPoint[1];
    };
    l.setCurrentPageLayer = [](int page, int layer) { GetCadSystem().SetCurrentPageLayer(page, layer); };
    l.toggleKeyCursorMode = [](int) {
        ToggleKeyCursorMode();
        return IsKeyCursorMode();
    };
    l.setGridShown = [](int shown) { ViewGridShown = shown; };
    l.invalidateActiveViews = [] {
        if (HWND view = GetActiveView()) InvalidateDrawingViews(view);
    };
    l.runGridDialog = RunGridDialog;
    l.takeGridCenterRequest = [] {
        const int request = GridCenterRequest;
        GridCenterRequest = 0;
        return request;
    };
    l.gridDisplayOnly = [] { return Running().iGridNoDetFlg != 0 ? 1 : 0; };
    l.resetGridOrigin = [] { GridOrigin[0] = GridOrigin[1] = 0.0; };
    l.runCoordDispDialog = RunCoordDispDialog;
    l.layerTreeRows = LayerTreeRows;
    l.localSettingsIniPath = [] { return GetCadSystem().GetLocalSettingsIniPath(true, false); };
}
