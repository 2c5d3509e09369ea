#include "panels/tool_panel_links.h"

ToolPanelLinks& ToolPanelHost() {
    static ToolPanelLinks links;
    return links;
}

const char* const* EmptyToolPanelLinkNames() {
    static const char* names[24];
    const ToolPanelLinks& l = ToolPanelHost();
    const struct {
        bool set;
        const char* name;
    } rows[] = {
        {l.activeAttrWords != nullptr, "activeAttrWords"},
        {l.activeOverviewLevel != nullptr, "activeOverviewLevel"},
        {l.panelColor != nullptr, "panelColor"},
        {l.lowRes != nullptr, "lowRes"},
        {l.contrastColor != nullptr, "contrastColor"},
        {l.formatScale != nullptr, "formatScale"},
        {l.lastInputPoint != nullptr, "lastInputPoint"},
        {l.setCurrentPageLayer != nullptr, "setCurrentPageLayer"},
        {l.toggleKeyCursorMode != nullptr, "toggleKeyCursorMode"},
        {l.setGridShown != nullptr, "setGridShown"},
        {l.invalidateActiveViews != nullptr, "invalidateActiveViews"},
        {l.runGridDialog != nullptr, "runGridDialog"},
        {l.takeGridCenterRequest != nullptr, "takeGridCenterRequest"},
        {l.gridDisplayOnly != nullptr, "gridDisplayOnly"},
        {l.resetGridOrigin != nullptr, "resetGridOrigin"},
        {l.runCoordDispDialog != nullptr, "runCoordDispDialog"},
        {l.layerTreeRows != nullptr, "layerTreeRows"},
        {l.localSettingsIniPath != nullptr, "localSettingsIniPath"},
    };
    int n = 0;
    for (const auto& r : rows)
        if (!r.set) names[n++] = r.name;
    names[n] = nullptr;
    return names;
}
