#include "setup/layers.h"

#include <cstring>
#include <vector>

#include "base/dbcs.h"
#include "panels/panel_windows.h"
#include "view/overview.h"
#include "view/view_table.h"

namespace {
bool ValidLayer(int layer) { return layer >= 0 && layer < kLayerCount; }

}  // namespace

int PickInitialInputLayer(DbHeader* db) {
    if (!db || !DAriGetDbInfoPtr(0, db)) return 0;
    std::vector<LayerBits> found(kOverviewPages);
    CollectUsedLayersOfDb(db, found.data());
    int lowestUsed = kLayerCount;
    for (int p = 0; p < kOverviewPages; ++p)
        for (int layer = 0; layer < lowestUsed; ++layer)
            if (LayerBitOf(found[p].words, layer)) lowestUsed = layer;
    // A named layer below the lowest used one is preferred.
    char name[260];
    for (int layer = 0; layer < lowestUsed && layer < kLayerCount; ++layer)
        if (DAriGetLayerName(0, layer, 0, name, db) && name[0]) return layer;
    return lowestUsed < kLayerCount ? lowestUsed : 0;
}

int GetLayerNameOfPage(int page, int layer, char* name, char* second) {
    DbHeader* db = GetActiveViewDb();
    if (!ValidLayer(layer) || !db) return 0;
    if (second) second[0] = '\0';
    if (name) {
        char buffer[260] = "";
        DAriGetLayerName(page, layer, 0, buffer, db);
        DbcsCopy(name, sizeof buffer, buffer);
    }
    return 1;
}

int SetLayerNameOfPage(int page, int layer, const char* name, const char* groupName) {
    DbHeader* db = GetActiveViewDb();
    if (!ValidLayer(layer) || !db) return 0;
    DAriSetLayerName(page, layer, name ? name : "", db);
    if (LayerTable* t = LayerTableOf(DAriGetDbInfoPtr(page, db)))
        DbcsCopy(t->groupNames[layer], sizeof t->groupNames[layer], groupName ? groupName : "");
    if (HWND panel = ToolPanelWindow()) ::SendMessageA(panel, UM_TOOL_PANEL_RESYNC, 0, 1);
    return 1;
}

int CollectUsedLayers(int, unsigned char* flags, int page) {
    if (!flags) return 0;
    std::memset(flags, 0, kLayerCount);
    DbHeader* db = GetActiveViewDb();
    std::vector<LayerBits> found(kOverviewPages);
    if (!CollectUsedLayersOfDb(db, found.data())) return 0;
    int used = 0;
    for (int p = 0; p < kOverviewPages; ++p) {
        if (page != -1 && p != page) continue;
        for (int layer = 0; layer < kLayerCount; ++layer)
            if (!flags[layer] && LayerBitOf(found[p].words, layer)) {
                flags[layer] = 1;
                ++used;
            }
    }
    return used;
}
