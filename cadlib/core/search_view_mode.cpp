// Where the elements of each page appear in a view mode. Model space shows
// every page at its own coordinates. Paper space composes the sheet: page 0
// as it is, every other page through its composed placement (factor, angle,
// origin). The frame view shows the drawing through the frame transform that
// the header keeps (scale, angle, offsets), so that the frame's origin lands
// on the view's centre. Painting and the searches use the same placements,
// so a snap lands where the element is seen.
#include <cmath>
#include <cstring>

#include "cadlib/core/search.h"
#include "cadlib/core/spatial_index.h"

namespace cad {

namespace {

double F64(const void* base, uint32_t off) {
    double v;
    memcpy(&v, static_cast<const uint8_t*>(base) + off, sizeof v);
    return v;
}

bool Finite(double v) { return std::isfinite(v) && std::fabs(v) < 1e15; }

Placement Make(double s, double angle, double fromX, double fromY, double toX, double toY) {
    Placement p;
    if (!Finite(s) || s == 0 || !Finite(angle) || !Finite(fromX) || !Finite(fromY) || !Finite(toX) || !Finite(toY))
        return p;  // a broken placement shows the page where it is
    if (s == 1 && angle == 0 && fromX == toX && fromY == toY) return p;
    p.identity = false;
    p.s = s;
    p.angle = angle;
    p.c = std::cos(angle);
    p.n = std::sin(angle);
    p.fx = fromX;
    p.fy = fromY;
    p.tx = toX;
    p.ty = toY;
    return p;
}

}  // namespace

bool SamePlacement(const Placement& a, const Placement& b) {
    if (a.identity || b.identity) return a.identity == b.identity;
    return a.s == b.s && a.angle == b.angle && a.fx == b.fx && a.fy == b.fy && a.tx == b.tx && a.ty == b.ty;
}

int ViewModeOfViewData(void* viewData) {
    if (!viewData) return kViewModel;
    int32_t mode;
    memcpy(&mode, static_cast<uint8_t*>(viewData) + kViewDataModeOffset, sizeof mode);
    return mode == kViewPaper || mode == kViewFrame ? mode : kViewModel;
}

int ViewModeOfDraw(const DbHeader* header, int paperSpaceFlag) {
    if (paperSpaceFlag == 1) return kViewPaper;
    if (header && header->frame.view == 1) return kViewFrame;
    return kViewModel;
}

void ViewPlacements::Build(Database& db, const DbHeader* header, int mode) {
    any = false;
    for (Placement& p : page)
        p = Placement();
    // The painter learns only the paper-space flag; outside paper space it
    // shows the frame view while the header's flag is 1. Searches go by the
    // same rule so that they agree with the picture.
    if (mode != kViewPaper) mode = ViewModeOfDraw(header, 0);
    if (mode == kViewPaper) {
        for (int n = 1; n <= 256; ++n) {
            const DbInfo* info = PageInfo(db, n);
            if (!info) continue;
            // The composed placement (with the page's ancestors) when it was
            // made, else the page's own: factor x at 0, angle at 16, origin
            // at 48 and 56 of either block.
            const uint8_t* c = reinterpret_cast<const uint8_t*>(info) + kInfoPlaceComposed;
            if (F64(c, 0) == 0) c = reinterpret_cast<const uint8_t*>(info) + kInfoPlaceFactorX;
            page[n] = Make(F64(c, 0), F64(c, 16), 0, 0, F64(c, 48), F64(c, 56));
            if (!page[n].identity) any = true;
        }
    } else if (mode == kViewFrame && header) {
        double s = F64(header, 300), angle = F64(header, 316);
        double offX = F64(header, 348), offY = F64(header, 356);
        // The offsets hold -(scale x origin), plus half the paper when the
        // drawing's origin lies at the paper corner; the turn goes about the
        // point the origin lands on.
        double hx = 0, hy = 0;
        if (const DbInfo* info = PageInfo(db, 0)) {
            if (info->originAtCorner) {
                hx = F64(info, kInfoDrawW) / 2;
                hy = F64(info, kInfoDrawH) / 2;
                if (!Finite(hx) || !Finite(hy)) hx = hy = 0;
            }
        }
        if (Finite(s) && s != 0) {
            Placement p = Make(s, angle, -(offX - hx) / s, -(offY - hy) / s, hx, hy);
            for (Placement& q : page)
                q = p;
            any = !p.identity;
        }
    }
}

Box PlacedBox(const Box& b, const Placement& p) {
    if (p.identity) return b;
    Box out = Box::Empty();
    const double xs[2] = {b.l, b.r}, ys[2] = {b.b, b.t};
    for (double x : xs)
        for (double y : ys) {
            double u = x, v = y;
            p.apply(u, v);
            out.add(u, v);
        }
    return out;
}

void Unplace(const Placement& p, double& x, double& y) {
    if (p.identity) return;
    double dx = (x - p.tx) / p.s, dy = (y - p.ty) / p.s;
    x = p.c * dx + p.n * dy + p.fx;
    y = -p.n * dx + p.c * dy + p.fy;
}

Box UnplacedBox(const Box& b, const Placement& p) {
    if (p.identity) return b;
    Box out = Box::Empty();
    const double xs[2] = {b.l, b.r}, ys[2] = {b.b, b.t};
    for (double x : xs)
        for (double y : ys) {
            double u = x, v = y;
            Unplace(p, u, v);
            out.add(u, v);
        }
    return out;
}

void ViewCandidates(Database& db, DbHeader* header, const Box& area, CadMark* mark, const ViewPlacements& vp,
                    std::vector<StoredElement*>& out) {
    if (!vp.any) {
        Candidates(db, header, area, mark, out);
        return;
    }
    // One query per distinct placement: the area taken back into the pages'
    // own coordinates, then only the pages that placement belongs to.
    std::vector<StoredElement*> found;
    std::vector<char> done(257, 0);
    out.clear();
    for (int n = 0; n <= 256; ++n) {
        if (done[n]) continue;
        const Placement& p = vp.page[n];
        std::vector<char> same(257, 0);
        for (int m = n; m <= 256; ++m)
            if (!done[m] && SamePlacement(vp.page[m], p)) same[m] = done[m] = 1;
        Candidates(db, header, UnplacedBox(area, p), mark, found);
        for (StoredElement* e : found) {
            int pg = e->rec.page;
            if (pg >= 0 && pg <= 256 && same[pg]) out.push_back(e);
        }
    }
    SortByChainOrder(out);
}

}  // namespace cad
