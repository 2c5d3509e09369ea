#include "setup/layers.h"

#include <cstring>

#include "base/dbcs.h"
#include "panels/panel_windows.h"
#include "view/view_table.h"

namespace {
bool ValidLayer(int layer) { return layer >= 0 && layer < kLayerCount; }

// Calls fn(record) for every element of the drawing, group members included.
template <class Fn>
void ForEachElement(DbHeader* db, Fn fn) {
    ElementRecord rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, db); e; e = DAriReadElement(e, 1, &rec, db)) {
        fn(rec);
        if (rec.kind != kElmGroup && rec.kind != kElmGroup2 && rec.kind != kElmCompound) continue;
        ElementRecord member;
        for (StoredElement* m = DAriReadFirstMember(e, &member, db); m; m = DAriReadNextMember(m, &member, db))
            fn(member);
    }
}
}  // namespace

int PickInitialInputLayer(DbHeader* db) {
    if (!db) return 0;
    int lowestUsed = kLayerCount;
    ForEachElement(db, [&](const ElementRecord& r) {
        if (r.layer < lowestUsed) lowestUsed = r.layer;
    });
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
    if (!db) return 0;
    int used = 0;
    ForEachElement(db, [&](const ElementRecord& r) {
        if (page != -1 && r.page != page) return;
        if (r.layer < kLayerCount && !flags[r.layer]) {
            flags[r.layer] = 1;
            ++used;
        }
    });
    return used;
}
