#include "view/rubber_band.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/apply_settings.h"
#include "base/cmd_request.h"
#include "base/running_settings.h"
#include "command/wait_loop.h"
#include "view/view_data.h"
#include "view/view_paint.h"
#include "view/view_table.h"
#include "view/view_transform.h"

namespace {
// The two rubber-band databases live in static header blocks for the whole
// run; a pointer is set while the library holds a database in its block.
alignas(8) unsigned char g_dragBlock[kDbHeaderSize];
alignas(8) unsigned char g_shownBlock[kDbHeaderSize];
DbHeader* g_dragDb = nullptr;
DbHeader* g_shownDb = nullptr;

DbHeader* Block(unsigned char* block) { return reinterpret_cast<DbHeader*>(block); }

// "Reset": the database goes, the block is zeroed, a new one is made in it.
void ResetDb(DbHeader* db) {
    if (!db) return;
    DAriDeleteDB(db);
    std::memset(db, 0, kDbHeaderSize);
    DAriCreateDB(db);
}

// The view and, when its drawing is shown in several windows, every other
// window of the drawing (of the same view mode when `sameMode`).
template <class Fn>
void ForDrawingViews(HWND view, bool sameMode, Fn fn) {
    ViewData* d = GetViewData(view);
    if (!d) return;
    if (!d->shared) {
        fn(view, d);
        return;
    }
    for (int i = 0; i < kViewTableSize && ViewTable[i]; ++i) {
        HWND v = ViewTable[i];
        ViewData* o = GetViewData(v);
        if (!o || o->drawingId != d->drawingId) continue;
        if (sameMode && o->viewMode != d->viewMode) continue;
        fn(v, o);
    }
}

int RubberColour() {
    const int c = Running().rubberColor;
    return c > 0 ? c : 3;
}
}  // namespace

int CreateRubberDbs() {
    if (g_dragDb && g_shownDb) return 1;
    TqCreateMemPools(Block(g_dragBlock));
    TqCreateMemPools(Block(g_shownBlock));
    std::memset(g_dragBlock, 0, sizeof g_dragBlock);
    std::memset(g_shownBlock, 0, sizeof g_shownBlock);
    if (!DAriCreateDB(Block(g_dragBlock))) return 0;
    g_dragDb = Block(g_dragBlock);
    if (!DAriCreateDB(Block(g_shownBlock))) return 0;
    g_shownDb = Block(g_shownBlock);
    return 1;
}

int DeleteRubberDbs() {
    if (g_shownDb) DAriDeleteDB(g_shownDb);
    std::memset(g_shownBlock, 0, sizeof g_shownBlock);
    g_shownDb = nullptr;
    if (g_dragDb) DAriDeleteDB(g_dragDb);
    std::memset(g_dragBlock, 0, sizeof g_dragBlock);
    g_dragDb = nullptr;
    return 1;
}

DbHeader* RubberDragDb() { return g_dragDb; }
DbHeader* RubberShownDb() { return g_shownDb; }

int AppendRubberElement(HWND, int, const void* element) {
    if (!element || !g_dragDb) return 0;
    return DAriAppendElement(element, g_dragDb) ? 1 : 0;
}

int DrawInView(HWND view, ViewData* d, DbHeader* db, int kind, void* object, int value, int colour, int xorFlag,
               int altFlag) {
    if (!d || !db) return 0;
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(view, &rc);
    DrawParam p;
    if (!FillViewDrawParam(view, d, nullptr, rc, &p)) return 0;
    p.targetKind = kDrawToWindow;
    p.window = view;
    p.dc = nullptr;
    p.paperFrame = p.marginFrame = p.originMarker = p.baseMarker = 0;
    p.what = kind;
    switch (kind) {
    case kDrawElement: p.element = object; break;
    case kDrawMark: p.mark = object; break;
    case kDrawRecords:
        p.records = object;
        p.count = value;
        break;
    default: break;
    }
    if (colour >= 0) {
        p.colourOverride = 1;
        p.overrideColour = colour;
    } else if (colour != -1 && colour < 0) {
        p.overrideColour = -1;
    }
    p.xorMode = xorFlag ? 1 : 0;
    p.overlayDb = altFlag ? 1 : 0;
    if (kind == kDrawDatabase) DAriDrawPre(db, &p);
    if (DrawParamObserver) DrawParamObserver(p);
    DAriDraw(db, &p);
    return 1;
}

int DrawRubberDbInView(HWND view, ViewData* d, DbHeader* db) {
    if (!d || !db) return 0;
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(view, &rc);
    DrawParam p;
    if (!FillViewDrawParam(view, d, nullptr, rc, &p)) return 0;
    p.targetKind = kDrawToWindow;
    p.window = view;
    p.dc = nullptr;
    p.paperFrame = p.marginFrame = p.originMarker = p.baseMarker = 0;
    p.rubberBand = 1;
    p.xorMode = 1;
    p.colourOverride = 1;
    p.overrideColour = RubberColour();
    p.what = kDrawDatabase;
    DAriDrawPre(db, &p);
    if (DrawParamObserver) DrawParamObserver(p);
    DAriDraw(db, &p);
    return 1;
}

int UpdateRubberBand(HWND view, int, int, int mode) {
    if (mode == 2) {
        ResetDb(g_shownDb);
        ResetDb(g_dragDb);
        return 1;
    }
    if (PreviewDrawnCount >= 1) {
        // A transformed drag preview is on the screen: drawing it once more
        // with its own arguments removes it.
        ErasePreviewOnScreen();
        PreviewDrawnCount = 0;
        return 1;
    }
    ViewData* d = GetViewData(view);
    if (!d) return 0;
    if (!g_dragDb || !g_shownDb) return 1;
    if (mode == 0) {
        ResetDb(g_shownDb);
        ElementRecord rec;
        for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, g_dragDb); e;
             e = DAriReadElement(e, 1, &rec, g_dragDb))
            DAriAppendElement(&rec, g_shownDb);
        if (DAriGetElmNum(g_dragDb) > 0)
            ForDrawingViews(view, true, [](HWND v, ViewData* o) { DrawRubberDbInView(v, o, g_dragDb); });
        ResetDb(g_dragDb);
        return 1;
    }
    if (mode == 1) {
        if (DAriGetElmNum(g_shownDb) > 0)
            ForDrawingViews(view, true, [](HWND v, ViewData* o) { DrawRubberDbInView(v, o, g_shownDb); });
        ResetDb(g_shownDb);
    }
    return 1;
}

int DrawElementInViews(HWND view, int color, const void* element) {
    if (!GetViewData(view)) return 0;
    ForDrawingViews(view, true, [&](HWND v, ViewData* o) {
        DrawInView(v, o, o->db, kDrawElement, const_cast<void*>(element), 0, color < 0 ? -1 : color, 0, 0);
    });
    return 1;
}

int DrawMarkInViews(HWND, int color, void* markList) {
    auto* mark = static_cast<CadMark*>(markList);
    HWND view = mark ? FindViewByDb(mark->db) : nullptr;
    if (!GetViewData(view)) return 0;
    ForDrawingViews(view, false, [&](HWND v, ViewData* o) {
        DrawInView(v, o, mark->db, kDrawMark, mark, 0, color < 0 ? -1 : color, 0, 0);
    });
    return 1;
}

int DrawMarkInViewsAlt(HWND view, int color, void* markList) {
    auto* mark = static_cast<CadMark*>(markList);
    if (!GetViewData(view) || !mark) return 0;
    ForDrawingViews(view, true, [&](HWND v, ViewData* o) {
        DrawInView(v, o, mark->db, kDrawMark, mark, 0, color < 0 ? -1 : color, 0, 1);
    });
    return 1;
}

int DrawFlaggedElements(HWND view, int phase) {
    ViewData* d = GetViewData(view);
    DbHeader* db = d ? d->db : nullptr;
    if (!db || db->selectionChanged == 0) return 0;
    CadMark* mark = nullptr;
    auto consider = [&](StoredElement* e) {
        if ((e->selection & 1) && e->selColour > 257) {
            if (!mark) mark = DAriCreateMark(db);
            if (mark) DAriSetMark(e, mark);
        }
    };
    ElementRecord rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, db); e; e = DAriReadElement(e, 1, &rec, db)) {
        consider(e);
        for (StoredElement* m = e->member; m; m = m->member)
            consider(m);
    }
    if (!mark) {
        db->selectionChanged = 0;
        return 1;
    }
    DrawInView(view, d, db, kDrawMark, mark, 0, phase ? -1 : 0, 0, 0);
    DAriDestroyMark(mark);
    return 1;
}

void DrawCrossMarker(HWND, int, const double* point) {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d || !point) return;
    const double s = *CurrentViewSet(d).scale;
    const double arm = s > 0 ? 4 / s : 4;
    const COLORREF back = GetDrawBackColor();
    const int colour = (GetRValue(back) == 255 && GetGValue(back) == 255 && GetBValue(back) == 255) ? 8 : 7;
    ElementRecord lines[2];
    std::memset(lines, 0, sizeof lines);
    for (ElementRecord& r : lines) {
        r.kind = kElmLine;
        r.colour = static_cast<uint16_t>(colour);
    }
    CadSetF64(&lines[0], kOffP1X, point[0] - arm);
    CadSetF64(&lines[0], kOffP1Y, point[1]);
    CadSetF64(&lines[0], kOffP2X, point[0] + arm);
    CadSetF64(&lines[0], kOffP2Y, point[1]);
    CadSetF64(&lines[1], kOffP1X, point[0]);
    CadSetF64(&lines[1], kOffP1Y, point[1] - arm);
    CadSetF64(&lines[1], kOffP2X, point[0]);
    CadSetF64(&lines[1], kOffP2Y, point[1] + arm);
    DrawInView(view, d, d->db, kDrawRecords, lines, 2, -1, 1, 0);
}

int DrawInputBasePointInto(HWND view, ViewData* d, HDC dc) {
    const WaitState& ws = CmdWaitState();
    if (!d || !d->db || !Running().bLastPosViewFg || !ws.basePointShown) return 0;
    RECT rc = {0, 0, 0, 0};
    ::GetClientRect(view, &rc);
    DrawParam p;
    if (!FillViewDrawParam(view, d, dc, rc, &p)) return 0;
    p.targetKind = dc ? kDrawToDc : kDrawToWindow;
    p.window = view;
    p.dc = dc;
    p.paperFrame = p.marginFrame = p.originMarker = p.furtherMarker = 0;
    p.baseMarker = 1;
    p.baseStyle = 3;
    std::memcpy(p.basePoint, ws.inputBasePoint, sizeof p.basePoint);
    p.what = kDrawRecords;
    p.records = nullptr;
    p.count = 0;
    p.xorMode = 1;
    if (DrawParamObserver) DrawParamObserver(p);
    DAriDraw(d->db, &p);
    return 1;
}

void DropInputBasePoint(HWND view) {
    DrawInputBasePointInto(view, GetViewData(view), nullptr);
    CmdWaitState().basePointShown = 0;
}

int DrawInputBasePoint(int, void*, int) {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d) return 0;
    DrawInputBasePointInto(view, d, nullptr);
    return 1;
}

int WorldRectToViewRect(int, int, void* request) {
    if (!request) return 0;
    const auto* req = static_cast<const CmdRequest*>(request);
    HWND view = req->view;
    const auto* world = reinterpret_cast<const double*>(req->element);
    auto* out = reinterpret_cast<RECT*>(req->element2);
    ViewData* d = GetViewData(view);
    if (!d || !world || !out) return 0;
    double w[4];  // x1, y1, x2, y2
    std::memcpy(w, world, sizeof w);
    ViewSet set = CurrentViewSet(d);
    const double s = *set.scale, ox = *set.offsetX, oy = *set.offsetY;
    RECT rc;
    ::GetClientRect(view, &rc);
    const int w2 = rc.right / 2, h2 = rc.bottom / 2;
    out->left = w2 + static_cast<LONG>(std::trunc(s * (ox + w[0])));
    out->right = w2 + static_cast<LONG>(std::trunc(s * (ox + w[2])));
    out->top = h2 - static_cast<LONG>(std::trunc(s * (oy + w[1])));
    out->bottom = h2 - static_cast<LONG>(std::trunc(s * (oy + w[3])));
    return 1;
}

namespace {
enum class Region { InView, Fitted, FittedAlt };

int DrawRegion(void* request, Region which) {
    if (!request) return 0;
    const auto* req = static_cast<const CmdRequest*>(request);
    ViewData* d = GetViewData(req->view);
    if (!d || !d->db) return 0;
    const auto* worldPtr = reinterpret_cast<const double*>(req->element);
    const auto* pixelPtr = reinterpret_cast<const RECT*>(req->element2);
    HDC dc = reinterpret_cast<HDC>(static_cast<uintptr_t>(static_cast<uint32_t>(req->arg)));
    if (!worldPtr || !pixelPtr || !dc) return 0;
    double w[4];
    std::memcpy(w, worldPtr, sizeof w);
    const RECT px = *pixelPtr;
    const double dx = std::fabs(w[0] - w[2]), dy = std::fabs(w[1] - w[3]);
    if (dx <= 0 || dy <= 0) return 0;
    const double sx = std::abs(px.right - px.left) / dx;
    const double sy = (which == Region::Fitted ? std::abs(px.bottom - px.top) : (px.bottom - px.top - 5)) / dy;
    const double s = std::min(sx, sy);
    if (!(s > 0)) return 0;
    DrawParam p;
    if (!FillViewDrawParam(req->view, d, dc, px, &p)) return 0;
    p.colourMode = 0;  // the region keeps its colours
    p.scale = s;
    p.offsetX = -(w[0] + w[2]) / 2;
    p.offsetY = -(w[1] + w[3]) / 2;
    p.centre[0] = (px.left + px.right) / 2;
    p.centre[1] = (px.top + px.bottom) / 2;
    const double cx = p.centre[0], cy = p.centre[1];
    const double vis[4] = {(px.left - cx) / s - p.offsetX, (cy - px.top) / s - p.offsetY,
                           (px.right - cx) / s - p.offsetX, (cy - px.bottom) / s - p.offsetY};
    std::memcpy(p.visible, vis, sizeof vis);
    std::memcpy(p.visible2, vis, sizeof vis);
    p.pixelsPerMm = p.drawScale != 0 ? s / p.drawScale : s;
    p.targetKind = kDrawToDc;
    p.dc = dc;
    p.reserved01c = 1;
    std::memset(p.reserved044, 0, sizeof p.reserved044);
    p.reserved044[8] = 1;  // +0x04c
    switch (which) {
    case Region::InView:
        p.what = kDrawMark;
        p.mark = reinterpret_cast<void*>(req->mark);
        DAriDrawPre(d->db, &p);
        DAriDraw(d->db, &p);
        break;
    case Region::Fitted:
        p.colourOverride = 1;
        p.overrideColour = req->kind;
        p.what = kDrawElement;
        p.element = reinterpret_cast<void*>(req->mark);
        DAriDrawPre(d->db, &p);
        DAriDraw(d->db, &p);
        break;
    case Region::FittedAlt: {
        p.colourOverride = 1;
        p.overrideColour = req->kind;
        DAriDrawPre(d->db, &p);
        p.what = kDrawElement;
        ElementRecord rec;
        for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, d->db); e; e = DAriReadElement(e, 1, &rec, d->db)) {
            if (rec.kind != kElmRaster) continue;
            p.element = e;
            DAriDraw(d->db, &p);
        }
        break;
    }
    }
    return 1;
}
}  // namespace

int DrawRegionInView(HWND, int, void* request) { return DrawRegion(request, Region::InView); }
int DrawRegionFitted(HWND, int, void* request) { return DrawRegion(request, Region::Fitted); }
int DrawRegionFittedAlt(HWND, int, void* request) { return DrawRegion(request, Region::FittedAlt); }
