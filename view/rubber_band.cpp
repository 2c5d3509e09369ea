#include "view/rubber_band.h"

#include <cstring>

#include "view/view_data.h"
#include "view/view_table.h"
#include "view/view_transform.h"

namespace {
// The two rubber-band databases: the elements collected while dragging and
// the ones shown. Each lives in a zero-filled header block of its own.
DbHeader* g_dragDb = nullptr;
DbHeader* g_shownDb = nullptr;

DbHeader* NewRubberDb() {
    auto* header = static_cast<DbHeader*>(::GlobalAlloc(GPTR, kDbHeaderSize));
    if (header && !DAriCreateDB(header)) {
        ::GlobalFree(header);
        header = nullptr;
    }
    return header;
}

void FreeRubberDb(DbHeader*& header) {
    if (!header) return;
    DAriDeleteDB(header);
    ::GlobalFree(header);
    header = nullptr;
}
}  // namespace

int CreateRubberDbs() {
    if (!g_dragDb) g_dragDb = NewRubberDb();
    if (!g_shownDb) g_shownDb = NewRubberDb();
    return (g_dragDb && g_shownDb) ? 1 : 0;
}

int DeleteRubberDbs() {
    FreeRubberDb(g_dragDb);
    FreeRubberDb(g_shownDb);
    return 1;
}

DbHeader* RubberDragDb() { return g_dragDb; }
DbHeader* RubberShownDb() { return g_shownDb; }

int UpdateRubberBand(HWND, int, int, int mode) {
    if (mode == 2) {
        // Emptied by recreating both.
        DeleteRubberDbs();
        CreateRubberDbs();
    }
    return 1;
}

int AppendRubberElement(HWND, int, const void* element) {
    if (!element || !g_dragDb) return 0;
    return DAriAppendElement(element, g_dragDb) ? 1 : 0;
}

int DrawElementInViews(HWND view, int, const void*) { return GetViewData(view) ? 1 : 0; }
int DrawMarkInViews(HWND, int, void*) { return GetViewData(GetActiveView()) ? 1 : 0; }
int DrawMarkInViewsAlt(HWND, int, void*) { return GetViewData(GetActiveView()) ? 1 : 0; }
int DrawFlaggedElements(HWND, int) { return 0; }
int DrawTransformedPreview(const double*, const double*, double, double, int, void*, HWND) {
    return 0;
}

int WorldRectToViewRect(int, int, void* request) {
    if (!request) return 0;
    auto* bytes = static_cast<unsigned char*>(request);
    HWND view;
    const double* world;
    RECT* out;
    std::memcpy(&view, bytes + 0x24, sizeof view);
    std::memcpy(&world, bytes + 0x28, sizeof world);
    std::memcpy(&out, bytes + 0x2c, sizeof out);
    ViewData* d = GetViewData(view);
    if (!d || !world || !out) return 0;
    double w[4];  // left, bottom, right, top in drawing units
    std::memcpy(w, world, sizeof w);
    POINT lt = WorldToClient(view, d, w[0], w[3]);
    POINT rb = WorldToClient(view, d, w[2], w[1]);
    out->left = lt.x;
    out->top = lt.y;
    out->right = rb.x;
    out->bottom = rb.y;
    return 1;
}

int DrawRegionInView(HWND, int, void*) { return 0; }
int DrawRegionFitted(HWND, int, void*) { return 0; }
int DrawRegionFittedAlt(HWND, int, void*) { return 0; }
