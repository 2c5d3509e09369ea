#include "view/rubber_band.h"

#include <cstring>

#include "base/cmd_request.h"
#include "view/view_data.h"
#include "view/view_paint.h"
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

namespace {
// Draws one stored element or the elements of a mark of `db` straight into
// the view, over what it shows: no frames or markers, colour 0 erasing,
// 1-256 a pen, negative the elements' own colours.
int DrawInView(HWND view, DbHeader* db, int what, void* object, int colour, bool alt) {
    ViewData* d = GetViewData(view);
    if (!d || !db || !object) return 0;
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(view, &rc);
    DrawParam p;
    if (!FillViewDrawParam(view, d, nullptr, rc, &p)) return 0;
    p.targetKind = kDrawToWindow;
    p.window = view;
    p.paperFrame = p.marginFrame = p.originMarker = p.baseMarker = 0;
    p.what = what;
    if (what == kDrawElement)
        p.element = object;
    else
        p.mark = object;
    if (colour >= 0) {
        p.colourOverride = 1;
        p.overrideColour = colour;
    }
    p.overlayDb = alt ? 1 : 0;
    if (DrawParamObserver) DrawParamObserver(p);
    DAriDraw(db, &p);
    return 1;
}

// The view and, when its drawing is shown in several windows, every other
// window of the drawing (of the same view mode when `sameMode`).
template <class Fn>
void ForDrawingViews(HWND view, bool sameMode, Fn fn) {
    ViewData* d = GetViewData(view);
    if (!d) return;
    fn(view);
    if (!d->shared) return;
    for (HWND v = GetActiveView(); v; v = GetNextView(v)) {
        ViewData* o = GetViewData(v);
        if (v == view || !o || o->drawingId != d->drawingId) continue;
        if (sameMode && o->viewMode != d->viewMode) continue;
        fn(v);
    }
}
}  // namespace

int DrawElementInViews(HWND view, int color, const void* element) {
    if (!GetViewData(view)) return 0;
    ForDrawingViews(view, true, [&](HWND v) {
        DrawInView(v, GetViewDb(v), kDrawElement, const_cast<void*>(element), color, false);
    });
    return 1;
}

int DrawMarkInViews(HWND, int color, void* markList) {
    auto* mark = static_cast<CadMark*>(markList);
    HWND view = mark ? FindViewByDb(mark->db) : nullptr;
    if (!GetViewData(view)) return 0;
    ForDrawingViews(view, false, [&](HWND v) { DrawInView(v, mark->db, kDrawMark, mark, color, false); });
    return 1;
}

int DrawMarkInViewsAlt(HWND view, int color, void* markList) {
    auto* mark = static_cast<CadMark*>(markList);
    if (!GetViewData(view) || !mark) return 0;
    ForDrawingViews(view, true, [&](HWND v) { DrawInView(v, mark->db, kDrawMark, mark, color, true); });
    return 1;
}
int DrawFlaggedElements(HWND, int) { return 0; }
int DrawTransformedPreview(const double*, const double*, double, double, int, void*, HWND) { return 0; }

int WorldRectToViewRect(int, int, void* request) {
    if (!request) return 0;
    const auto* req = static_cast<const CmdRequest*>(request);
    HWND view = req->view;
    const auto* world = reinterpret_cast<const double*>(req->element);  // rectangle in
    auto* out = reinterpret_cast<RECT*>(req->element2);                 // rectangle out
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
