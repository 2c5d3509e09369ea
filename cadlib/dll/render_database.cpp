// The whole database into a view: the spatial index hands over what lies in
// the visible rectangle, in database order; dense views go to DrawDense.
#include <algorithm>
#include <cmath>

#include "cadlib/core/search.h"
#include "cadlib/core/spatial_index.h"
#include "cadlib/core/text_box.h"
#include "cadlib/dll/render_context.h"

namespace cad {

namespace {
const size_t kDetailLimit = 150;  // visible elements above which the dense path applies
}  // namespace

// Paper space and the frame view: the visible rectangle is taken back into
// the pages' own coordinates, once per distinct placement, and only the
// pages of that placement are kept; every element found is stroked, in
// database order.
void DrawPlaced(RenderContext& ctx) {
    const ViewPlacements& vp = ctx.places;
    SpatialIndex* idx = UseIndex() ? IndexOf(ctx.header) : nullptr;
    std::vector<StoredElement*> cands, found;
    std::vector<char> done(257, 0), same(257, 0);
    for (int n = 0; n <= 256; ++n) {
        if (done[n]) continue;
        std::fill(same.begin(), same.end(), 0);
        for (int m = n; m <= 256; ++m)
            if (!done[m] && SamePlacement(vp.page[m], vp.page[n])) same[m] = done[m] = 1;
        Box area = UnplacedBox(ctx.visible, vp.page[n]);
        auto keep = [&](StoredElement* e) {
            int pg = e->rec.page;
            if (pg >= 0 && pg <= 256 && same[pg] && ctx.Shown(e->rec)) cands.push_back(e);
        };
        if (idx) {
            found.clear();
            idx->Query(area, found);
            for (StoredElement* e : found)
                keep(e);
        } else {
            for (StoredElement* e = ctx.db->first; e; e = e->next) {
                Box b;
                if (ElementBox(e, b) && IndexedBox(b).intersects(area)) keep(e);
            }
        }
    }
    SortByChainOrder(cands);
    for (StoredElement* e : cands)
        DrawStored(ctx, e);
    ctx.stroker->Flush();
}

void DrawInPlace(RenderContext& ctx);

// Placements without a turn only scale and shift: each group of pages with
// one placement is painted like a view of its own (scale and offsets folded
// into the view's), so large sheets keep the level of detail. False when a
// placement turns or mirrors.
bool DrawPlacedUnturned(RenderContext& ctx) {
    ViewPlacements& vp = ctx.places;
    for (const Placement& p : vp.page)
        if (!p.identity && (p.angle != 0 || !(p.s > 0))) return false;
    const double s0 = ctx.s, offX0 = ctx.offX, offY0 = ctx.offY;
    const Box visible0 = ctx.visible;
    std::vector<char> done(257, 0), same(257, 0);
    vp.any = false;
    for (int n = 0; n <= 256; ++n) {
        if (done[n]) continue;
        std::fill(same.begin(), same.end(), 0);
        for (int m = n; m <= 256; ++m)
            if (!done[m] && SamePlacement(vp.page[m], vp.page[n])) same[m] = done[m] = 1;
        const Placement& p = vp.page[n];
        if (!p.identity) {
            // pixel = cx + (s p (x - from) + to + off) s0 = cx + (x + off') s0 p.s
            ctx.s = s0 * p.s;
            ctx.offX = (p.tx + offX0) / p.s - p.fx;
            ctx.offY = (p.ty + offY0) / p.s - p.fy;
            ctx.visible = UnplacedBox(visible0, p);
        }
        ctx.pageGroup = &same;
        DrawInPlace(ctx);
        ctx.s = s0;
        ctx.offX = offX0;
        ctx.offY = offY0;
        ctx.visible = visible0;
    }
    ctx.pageGroup = nullptr;
    vp.any = true;
    return true;
}

void DrawDatabase(RenderContext& ctx) {
    if (ctx.places.any) {
        if (!DrawPlacedUnturned(ctx)) DrawPlaced(ctx);
        return;
    }
    DrawInPlace(ctx);
}

void DrawInPlace(RenderContext& ctx) {
    // The elements that may show, with their boxes as the index keeps them,
    // in database order: a view that takes in the whole drawing paints from
    // the index's list (the tree has nothing to leave out), a smaller one
    // asks the tree; without the index every element is measured.
    SpatialIndex* idx = UseIndex() ? IndexOf(ctx.header) : nullptr;
    std::vector<IndexEntry> own;
    const std::vector<IndexEntry>* cands = &own;
    bool whole = !idx || idx->Bounds().inside(ctx.visible);
    if (idx && whole) {
        cands = &idx->InChainOrder();
    } else if (idx) {
        std::vector<IndexEntry> found;
        idx->QueryEntries(ctx.visible, found);
        // Sorted as keys of serial and place, not as the entries themselves:
        // a fraction of the moving, and no element read in the comparisons.
        std::vector<uint64_t> order(found.size());
        for (size_t i = 0; i < found.size(); ++i)
            order[i] = uint64_t(found[i].element->serial) << 32 | i;
        std::sort(order.begin(), order.end());
        own.reserve(found.size());
        for (uint64_t k : order)
            own.push_back(found[static_cast<uint32_t>(k)]);
    } else {
        for (StoredElement* e = ctx.db->first; e; e = e->next) {
            Box b;
            if (ElementBox(e, b)) own.push_back(IndexEntryOf(e, b));
        }
    }
    size_t many = whole ? static_cast<size_t>(ctx.db->count > 0 ? ctx.db->count : 0) : cands->size();
    int mode = 0;
    auto& ints = GlobalSettings().ints;
    auto it = ints.find("DrawDetail");
    if (it != ints.end()) mode = it->second;  // 1 stroke everything, 2 always set small ones as pixels
    bool lod = !ctx.xorMode && mode != 1 && (mode == 2 || many > kDetailLimit);
    // What the tree found meets the view already (its test rounds outward).
    const bool test = whole;
    if (lod && DrawDense(ctx, *cands, test)) return;
    for (const IndexEntry& x : *cands) {
        if (x.element && (!test || BoxOfEntry(x).intersects(ctx.visible)) && ctx.Shown(x.element->rec))
            DrawStored(ctx, x.element);
    }
    ctx.stroker->Flush();
}

}  // namespace cad
