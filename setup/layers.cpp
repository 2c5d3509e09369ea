#include "setup/layers.h"

#include <cstring>

#include "base/dbcs.h"
#include "panels/panel_windows.h"
#include "setup/db_info.h"
#include "view/db_ext.h"
#include "view/view_table.h"

namespace {
// The live layer table of a page of the active drawing; only page 0's block
// is reachable from the header until the library serves pages.
LayerTable* LiveLayerTable(void* db, int page) {
    if (!db || page != 0) return nullptr;
    return LayerTableOf(GetDbInfoPtrOf(db));
}

bool ValidLayer(int layer) { return layer >= 0 && layer < kLayerCount; }
}  // namespace

int PickInitialInputLayer(void* db) {
    LayerTable* t = LiveLayerTable(db, 0);
    if (!t) return 0;
    for (int layer = 0; layer < kLayerCount; ++layer) {
        const char* name = reinterpret_cast<const char*>((uintptr_t)t->namePointers[layer]);
        if (name && name[0]) return layer;
    }
    return 0;
}

int GetLayerNameOfPage(int page, int layer, char* name, char* second) {
    void* db = GetActiveViewDb();
    if (!ValidLayer(layer) || !db) return 0;
    if (second) second[0] = '\0';
    if (name) {
        name[0] = '\0';
        if (LayerTable* t = LiveLayerTable(db, page)) {
            const char* text = reinterpret_cast<const char*>((uintptr_t)t->namePointers[layer]);
            if (text) DbcsCopy(name, 256, text);
        }
    }
    return 1;
}

int SetLayerNameOfPage(int page, int layer, const char* name, const char* groupName) {
    (void)name;  // stored by the library once it keeps layer names
    void* db = GetActiveViewDb();
    if (!ValidLayer(layer) || !db) return 0;
    if (LayerTable* t = LiveLayerTable(db, page))
        DbcsCopy(t->groupNames[layer], sizeof t->groupNames[layer], groupName ? groupName : "");
    if (HWND panel = ToolPanelWindow()) ::SendMessageA(panel, WM_USER, 0, 1);
    return 1;
}

int CollectUsedLayers(int, unsigned char* flags, int) {
    if (flags) std::memset(flags, 0, kLayerCount);
    return 0;
}

int LoadLayerPatternToDb(HWND, const char*, void*) { return 0; }
