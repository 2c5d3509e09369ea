#include "view/rubber_band.h"

#include <cstring>

#include "view/view_data.h"
#include "view/view_table.h"
#include "view/view_transform.h"

namespace {
// Stand-ins for the two rubber-band databases: empty header blocks.
void* g_dragDb = nullptr;
void* g_shownDb = nullptr;

void* NewHeaderBlock() { return ::GlobalAlloc(GPTR, kDbHeaderSize); }
void FreeHeaderBlock(void*& block) {
    if (block) ::GlobalFree(block);
    block = nullptr;
}
}  // namespace

int CreateRubberDbs() {
    if (!g_dragDb) g_dragDb = NewHeaderBlock();
    if (!g_shownDb) g_shownDb = NewHeaderBlock();
    return (g_dragDb && g_shownDb) ? 1 : 0;
}

int DeleteRubberDbs() {
    FreeHeaderBlock(g_dragDb);
    FreeHeaderBlock(g_shownDb);
    return 1;
}

void* RubberDragDb() { return g_dragDb; }
void* RubberShownDb() { return g_shownDb; }

int UpdateRubberBand(HWND, int, int, int mode) {
    if (mode == 2) {
        if (g_dragDb) std::memset(g_dragDb, 0, kDbHeaderSize);
        if (g_shownDb) std::memset(g_shownDb, 0, kDbHeaderSize);
    }
    return 1;
}

int AppendRubberElement(HWND, int, const void*) { return 0; }

int DrawElementInViews(HWND view, int, const void*) { return GetViewData(view) ? 1 : 0; }
int DrawMarkInViews(HWND, int, void*) { return GetViewData(GetActiveView()) ? 1 : 0; }
int DrawMarkInViewsAlt(HWND, int, void*) { return GetViewData(GetActiveView()) ? 1 : 0; }
int DrawFlaggedElements(HWND, int) { return 0; }
int DrawTransformedPreview(const double*, const double*, double, double, int, void*, HWND) {
    return 0;
}

int DrawViewToDc(HWND view, int, int, HDC target, int width, int height) {
    if (!target || !GetViewData(view)) return 0;
    RECT rc = {0, 0, width, height};
    ::FillRect(target, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
    return 1;
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
int GetElementExtent(HWND, const void*, double*, double*) { return 0; }
