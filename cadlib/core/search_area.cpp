// Element searches: everything in a rectangle (crossing it, inside it, or
// both, as the options' area mode says), the elements near a point among a
// mark's, with groups found whole or by their members (group find switch).
#include <algorithm>
#include <cmath>
#include <memory>

#include "cadlib/core/search.h"
#include "cadlib/core/search_geometry.h"

namespace cad {

namespace {

Box RectArg(const double* r) {
    Box b{std::min(r[0], r[2]), std::min(r[1], r[3]), std::max(r[0], r[2]), std::max(r[1], r[3])};
    return b;
}

// How an element (its leaves) meets the rectangle.
bool AreaHit(const StoredElement* e, const Box& rect, int mode) {
    bool touches = false;
    Box box = Box::Empty();
    ForEachLeaf(e, [&](const ElementRecord& r) {
        Box b;
        if (LeafBox(r, b)) box.add(b);
        if (!touches && LeafTouches(r, rect)) touches = true;
        return true;
    });
    if (!box.valid()) return false;
    bool inside = box.inside(rect);
    bool crossing = touches && !inside;
    return ((mode & kAreaCrossing) && crossing) || ((mode & kAreaInside) && inside);
}

// The elements a search hands out for a top-level candidate: the element
// itself, or with group find off the members of a compound.
template <class F>
void Units(StoredElement* e, F&& f) {
    if (!IsGroupLike(e->rec.kind) || Search().groupFind) {
        f(e);
        return;
    }
    for (StoredElement* m = e->member; m && detail::Descends(m, e); m = m->member) {
        if (IsGroupLike(m->rec.kind) || m->rec.kind == kElmFigureHeader) continue;
        if (!LeafFindable(m->rec) && m->rec.kind != kElmFigure) continue;
        f(m);
    }
}

double UnitDistance(const StoredElement* e, double x, double y) {
    double best = 1e300;
    ForEachLeaf(e, [&](const ElementRecord& r) {
        best = std::min(best, LeafDistance(r, x, y));
        return true;
    });
    return best;
}

}  // namespace

CadMark* FindInRect(DbHeader* header, const double* rect, int mode, bool nearestFirst) {
    Database* db = Lookup(header);
    if (!db || !rect) return nullptr;
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(rect[i])) return nullptr;
    Box r = RectArg(rect);
    std::vector<StoredElement*> cands;
    Candidates(*db, header, r, nullptr, cands);
    std::vector<StoredElement*> found;
    int area = Words()[0] & 3;
    for (StoredElement* e : cands)
        Units(e, [&](StoredElement* u) {
            if (AreaHit(u, r, area)) found.push_back(u);
        });
    if (nearestFirst) {
        double cx = (r.l + r.r) / 2, cy = (r.b + r.t) / 2;
        std::vector<std::pair<double, size_t>> order;
        for (size_t i = 0; i < found.size(); ++i)
            order.emplace_back(UnitDistance(found[i], cx, cy), i);
        std::stable_sort(
            order.begin(), order.end(),
            [](const std::pair<double, size_t>& a, const std::pair<double, size_t>& b) { return a.first < b.first; });
        std::vector<StoredElement*> sorted;
        for (auto& o : order)
            sorted.push_back(found[o.second]);
        found.swap(sorted);
    }
    CadMark* mark = DAriCreateMark(header);
    if (!mark) return nullptr;
    MarkImpl* m = static_cast<MarkImpl*>(mark);
    m->items.reserve(found.size());
    m->index.Reserve(found.size());
    for (StoredElement* e : found)
        DAriSetMark(e, mark);
    return mark;
}

}  // namespace cad

using namespace cad;

CADAPI CadMark* ZAVAPI DAriGetWakuElement(const double* rect, DbHeader* header) {
    return FindInRect(header, rect, 0, false);
}

// Mode 100 lists the elements nearest to the rectangle's centre first.
CADAPI CadMark* ZAVAPI DAriGetWakuElementEx(const double* rect, int mode, DbHeader* header) {
    return FindInRect(header, rect, mode, mode == 100);
}

CADAPI CadMark* ZAVAPI DAriGetElementMarkByPointWithMark(CadPoint3 p, double distance, DbHeader* header, void* viewData,
                                                         CadMark* among) {
    if (!header) header = HeaderOfViewData(viewData);
    Database* db = Lookup(header);
    if (!db || !std::isfinite(p.x) || !std::isfinite(p.y) || !(distance >= 0)) return nullptr;
    Box area{p.x - distance, p.y - distance, p.x + distance, p.y + distance};
    // The point is where the view shows it: taken back into each page's own
    // coordinates (and the distance with it) in paper space and frame view.
    std::unique_ptr<ViewPlacements> vp(new ViewPlacements);
    vp->Build(*db, header, ViewModeOfViewData(viewData));
    std::vector<StoredElement*> cands;
    if (among) {
        MarkImpl* m = static_cast<MarkImpl*>(among);
        if (!db->marks.count(m)) return nullptr;
        for (void* item : m->items) {
            StoredElement* e = static_cast<StoredElement*>(item);
            if (e && !m->link && IsElement(e) && Findable(*db, header, e)) cands.push_back(e);
        }
    } else {
        ViewCandidates(*db, header, area, nullptr, *vp, cands);
    }
    CadMark* mark = DAriCreateMark(header);
    if (!mark) return nullptr;
    for (StoredElement* e : cands) {
        double x = p.x, y = p.y, d = distance;
        if (const Placement* place = vp->Of(e->rec.page)) {
            Unplace(*place, x, y);
            d = distance / std::fabs(place->s);
        }
        Units(e, [&](StoredElement* u) {
            if (UnitDistance(u, x, y) <= d) DAriSetMark(u, mark);
        });
    }
    return mark;
}
