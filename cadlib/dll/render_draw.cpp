// The painting calls: DAriDrawPre readies a database for a DrawParam,
// DAriDraw and DAriDrawAll paint what the block selects (the whole database,
// one element, a mark, or element records in memory) into the block's
// device context or window, with frames and markers.
#include <cmath>
#include <cstring>

#include "cadlib/core/search.h"
#include "cadlib/core/spatial_index.h"
#include "cadlib/dll/render_context.h"

namespace cad {

namespace {

bool Bit(const uint32_t* words, int n) { return (words[n / 32] >> (n % 32)) & 1; }

bool Setup(RenderContext& ctx, DbHeader* header, DrawParam* p, HDC dc) {
    ctx.p = p;
    ctx.header = header;
    ctx.db = Lookup(header);
    if (!ctx.db) return false;
    ctx.info = PageInfo(*ctx.db, 0);
    ctx.dc = dc;
    ctx.s = p->scale;
    if (!std::isfinite(ctx.s) || ctx.s <= 0 || ctx.s > 1e12) return false;
    ctx.offX = std::isfinite(p->offsetX) ? p->offsetX : 0;
    ctx.offY = std::isfinite(p->offsetY) ? p->offsetY : 0;
    ctx.cx = p->centre[0];
    ctx.cy = p->centre[1];
    ctx.client = RECT{p->client[0], p->client[1], p->client[2], p->client[3]};
    if (ctx.client.right <= ctx.client.left || ctx.client.bottom <= ctx.client.top) {
        if (GetClipBox(dc, &ctx.client) == ERROR) return false;
    }
    double margin = 48 / ctx.s;
    ctx.visible = Box{(ctx.client.left - ctx.cx) / ctx.s - ctx.offX - margin,
                      (ctx.cy - ctx.client.bottom) / ctx.s - ctx.offY - margin,
                      (ctx.client.right - ctx.cx) / ctx.s - ctx.offX + margin,
                      (ctx.cy - ctx.client.top) / ctx.s - ctx.offY + margin};
    double drawScale = ctx.info ? CadGetF64(ctx.info, kInfoScale) : 0;
    if (std::isfinite(p->pixelsPerMm) && p->pixelsPerMm > 0)
        ctx.pxPerMm = p->pixelsPerMm;
    else if (std::isfinite(drawScale) && drawScale > 0)
        ctx.pxPerMm = ctx.s / drawScale;
    else
        ctx.pxPerMm = ctx.s;
    COLORREF entry0 = 0;
    if (ctx.info) {
        const ColourEntry& c = ctx.info->colours[0];
        int r = c.red, g = c.green, b = c.blue;
        entry0 = RGB(r & 255, g & 255, b & 255);
    }
    ctx.background = (p->background & 0xFFFFFF) ? (p->background & 0xFFFFFF) : entry0;
    ctx.xorMode = p->xorMode != 0;
    ctx.overrideColour = p->colourOverride ? (p->overrideColour < 0 ? -1 : p->overrideColour) : -1;
    auto& ints = GlobalSettings().ints;
    auto it = ints.find("DrawDetail");
    ctx.detailed = it != ints.end() && it->second == 1;
    ctx.layerBits.assign(257, nullptr);
    for (int page = 0; page <= 256; ++page) {
        if (!Bit(header->pages.display, page)) continue;
        if (DbInfo* info = PageInfo(*ctx.db, page)) ctx.layerBits[page] = info->layers.display;
    }
    ctx.places.Build(*ctx.db, header, ViewModeOfDraw(header, p->paperSpace));
    return true;
}

void DrawRecords(RenderContext& ctx, const ElementRecord* recs, int count) {
    if (!recs || count <= 0 || count > 1000000) return;
    for (int i = 0; i < count; ++i) {
        ElementRecord r;
        memcpy(&r, recs + i, sizeof r);
        if (IsGroupLike(r.kind) || r.kind == kElmFigure || r.kind == kElmFigureHeader) continue;
        DrawLeaf(ctx, r, ctx.ElementColour(r, nullptr));
    }
}

void DrawMarked(RenderContext& ctx, CadMark* mark) {
    MarkImpl* m = static_cast<MarkImpl*>(mark);
    if (!m || !ctx.db->marks.count(m)) return;
    for (void* item : m->items) {
        if (!item) continue;
        StoredElement* e = m->link ? static_cast<UndoRecord*>(item)->element : static_cast<StoredElement*>(item);
        if (e && IsElement(e) && DbOf(e) == ctx.db && ctx.Shown(e->rec)) DrawStored(ctx, e);
    }
}

}  // namespace

int Paint(DbHeader* header, DrawParam* p) {
    if (!p || p->size != static_cast<int32_t>(sizeof(DrawParam)) || !Lookup(header)) return 0;
    HDC dc = nullptr;
    HWND wnd = nullptr;
    if (p->targetKind == kDrawToDc) {
        dc = static_cast<HDC>(p->dc);
    } else if (p->targetKind == kDrawToWindow) {
        wnd = static_cast<HWND>(p->window);
        dc = IsWindow(wnd) ? GetDC(wnd) : nullptr;
    }
    if (!dc) return 0;
    // Fonts beyond what the cache keeps go before a painting starts, never
    // while one records glyphs.
    TrimFontCache();
    int result = 0;
    {
        RenderContext ctx;
        if (Setup(ctx, header, p, dc)) {
            int saved = SaveDC(dc);
            IntersectClipRect(dc, ctx.client.left, ctx.client.top, ctx.client.right, ctx.client.bottom);
            SetROP2(dc, ctx.xorMode ? R2_XORPEN : R2_COPYPEN);
            SetBkMode(dc, TRANSPARENT);
            Stroker stroker(ctx);
            ctx.stroker = &stroker;
            // A rubber band shows only what it carries: no frames, no markers.
            bool band = ctx.RubberBand();
            if (!band) {
                DrawFrames(ctx);
                DrawMarkers(ctx, false);
            }
            switch (p->what) {
            case kDrawDatabase: DrawDatabase(ctx); break;
            case kDrawElement: {
                StoredElement* e = static_cast<StoredElement*>(p->element);
                if (e && IsElement(e) && DbOf(e) == ctx.db && ctx.Shown(e->rec)) DrawStored(ctx, e);
                break;
            }
            case kDrawMark: DrawMarked(ctx, static_cast<CadMark*>(p->mark)); break;
            case kDrawRecords: DrawRecords(ctx, static_cast<const ElementRecord*>(p->records), p->count); break;
            case kDrawRecords2: DrawRecords(ctx, static_cast<const ElementRecord*>(p->records2), p->count); break;
            default: break;
            }
            stroker.Flush();
            if (!band) DrawMarkers(ctx, true);
            stroker.Flush();
            ctx.stroker = nullptr;
            RestoreDC(dc, saved);
            result = 1;
        }
    }
    if (wnd) ReleaseDC(wnd, dc);
    return result;
}

}  // namespace cad

using namespace cad;

CADAPI int ZAVAPI DAriDrawPre(DbHeader* header, DrawParam* p) {
    if (!p || !Lookup(header)) return 0;
    // The index is built (or brought up to date) before the painting starts.
    if (p->what == kDrawDatabase && UseIndex()) IndexOf(header);
    return 1;
}

CADAPI int ZAVAPI DAriDraw(DbHeader* header, DrawParam* p) { return Paint(header, p); }

CADAPI int ZAVAPI DAriDrawAll(DbHeader* header, DrawParam* p, RenderSurface*) { return Paint(header, p); }
