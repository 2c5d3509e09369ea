// Point searches: end points, mid points (or division points), centres,
// crossings and the nearest point on an element, within the aperture (a
// square of half-width `aperture` around the point, edges included). The
// nearest point wins; at equal distance the element earlier in database
// order, and within an element the point listed first.
#include <cmath>
#include <functional>
#include <memory>

#include "cadlib/core/search.h"
#include "cadlib/core/search_geometry.h"

namespace cad {

namespace {

struct Best {
    double x, y, a;
    double d = 1e300;
    Pt p{0, 0};
    bool found = false;
    void offer(const Pt& q) {
        if (!(std::fabs(q.x - x) <= a && std::fabs(q.y - y) <= a)) return;
        double dd = std::hypot(q.x - x, q.y - y);
        if (dd < d) {
            d = dd;
            p = q;
            found = true;
        }
    }
};

// The plain records near the aperture, in database order, placed as the
// view mode shows them.
void Leaves(DbHeader* header, int mode, const Best& b, CadMark* mark, std::vector<ElementRecord>& out) {
    Database* db = Lookup(header);
    if (!db) return;
    Box area{b.x - b.a, b.y - b.a, b.x + b.a, b.y + b.a};
    std::unique_ptr<ViewPlacements> vp(new ViewPlacements);
    vp->Build(*db, header, mode);
    std::vector<StoredElement*> cands;
    ViewCandidates(*db, header, area, mark, *vp, cands);
    for (StoredElement* e : cands) {
        const Placement* place = vp->Of(e->rec.page);
        ForEachLeaf(e, [&](const ElementRecord& r) {
            Box lb;
            if (!place) {
                if (LeafFindable(r) && LeafBox(r, lb) && lb.intersects(area)) out.push_back(r);
                return true;
            }
            ElementRecord placed = r;
            PlaceRecord(placed, *place);
            if (LeafFindable(placed) && LeafBox(placed, lb) && lb.intersects(area)) out.push_back(placed);
            return true;
        });
    }
}

bool Finish(const Best& b, double* result) {
    if (!b.found) return false;
    if (result) {
        result[0] = b.p.x;
        result[1] = b.p.y;
        result[2] = 0.0;
    }
    return true;
}

bool ValidArgs(const CadPoint3& p, double a, double* result) {
    return result && std::isfinite(p.x) && std::isfinite(p.y) && a >= 0 && std::isfinite(a);
}

int EachLeafSearch(CadPoint3 p, double* result, double a, void* viewData, CadMark* mark,
                   const std::function<void(const ElementRecord&, Best&)>& fn) {
    if (!ValidArgs(p, a, result)) return 0;
    Best b{p.x, p.y, a};
    std::vector<ElementRecord> leaves;
    Leaves(HeaderOfViewData(viewData), ViewModeOfViewData(viewData), b, mark, leaves);
    for (const ElementRecord& r : leaves)
        fn(r, b);
    return Finish(b, result) ? 1 : 0;
}

}  // namespace

}  // namespace cad

using namespace cad;

CADAPI int ZAVAPI DAriSerchPoint(CadPoint3 p, double* result, double a, DbHeader* db, DbHeader* tempDb, void* viewData,
                                 CadMark* mark) {
    if (!db) db = HeaderOfViewData(viewData);
    if (!ValidArgs(p, a, result)) return 0;
    Best b{p.x, p.y, a};
    std::vector<Pt> pts;
    for (DbHeader* h : {db, tempDb}) {
        if (!h || !Lookup(h)) continue;
        // A mark belongs to one database: only that one is searched.
        if (mark && mark->db != h) continue;
        CadMark* m = mark;
        std::vector<ElementRecord> leaves;
        Leaves(h, ViewModeOfViewData(viewData), b, m, leaves);
        for (const ElementRecord& r : leaves) {
            pts.clear();
            EndPoints(r, pts);
            for (const Pt& q : pts)
                b.offer(q);
        }
    }
    return Finish(b, result) ? 1 : 0;
}

// `divisions` 2 (or less) finds mid points; n finds the points that cut an
// element into n equal parts.
CADAPI int ZAVAPI DAriSerchPoint2(CadPoint3 p, double* result, double a, void* viewData, int divisions, CadMark* mark) {
    std::vector<Pt> pts;
    return EachLeafSearch(p, result, a, viewData, mark, [&](const ElementRecord& r, Best& b) {
        pts.clear();
        MidPoints(r, divisions, pts);
        for (const Pt& q : pts)
            b.offer(q);
    });
}

// The centre of the circle, arc or ellipse whose outline passes through the
// aperture (or whose centre lies in it); the nearer outline or centre ranks.
CADAPI int ZAVAPI DAriSerchPoint2_2(CadPoint3 p, double* result, double a, void* viewData, CadMark* mark) {
    if (!ValidArgs(p, a, result)) return 0;
    DbHeader* header = HeaderOfViewData(viewData);
    Database* db = Lookup(header);
    if (!db) return 0;
    // Centres far from their outline: search the boxes the outlines make.
    Box area{p.x - a, p.y - a, p.x + a, p.y + a};
    std::unique_ptr<ViewPlacements> vp(new ViewPlacements);
    vp->Build(*db, header, ViewModeOfViewData(viewData));
    std::vector<StoredElement*> cands;
    ViewCandidates(*db, header, area, mark, *vp, cands);
    double best = 1e300;
    Pt found{0, 0};
    bool ok = false;
    for (StoredElement* e : cands)
        ForEachLeaf(e, [&, place = vp->Of(e->rec.page)](const ElementRecord& leaf) {
            ElementRecord placed;
            if (place) {
                placed = leaf;
                PlaceRecord(placed, *place);
            }
            const ElementRecord& r = place ? placed : leaf;
            Pt c, n;
            if (!LeafFindable(r) || !CentreOf(r, c)) return true;
            double rank = 1e300;
            if (std::fabs(c.x - p.x) <= a && std::fabs(c.y - p.y) <= a) rank = std::hypot(c.x - p.x, c.y - p.y);
            if (LeafNearest(r, p.x, p.y, n) && std::fabs(n.x - p.x) <= a && std::fabs(n.y - p.y) <= a)
                rank = std::min(rank, std::hypot(n.x - p.x, n.y - p.y));
            if (rank < best) {
                best = rank;
                found = c;
                ok = true;
            }
            return true;
        });
    if (!ok) return 0;
    result[0] = found.x;
    result[1] = found.y;
    result[2] = 0.0;
    return 1;
}

// Crossings of two elements near the point (lines, circles, arcs and the
// edges of kinds 50 and 60), the pairs taken in database order.
CADAPI int ZAVAPI DAriSerchPoint3(CadPoint3 p, double* result, double a, void* viewData, CadMark* mark) {
    if (!ValidArgs(p, a, result)) return 0;
    Best b{p.x, p.y, a};
    std::vector<ElementRecord> leaves;
    Leaves(HeaderOfViewData(viewData), ViewModeOfViewData(viewData), b, mark, leaves);
    std::vector<Pt> pts;
    for (size_t i = 0; i < leaves.size(); ++i)
        for (size_t j = i + 1; j < leaves.size(); ++j) {
            pts.clear();
            Crossings(leaves[i], leaves[j], pts);
            for (const Pt& q : pts)
                b.offer(q);
        }
    return Finish(b, result) ? 1 : 0;
}

// The nearest point on an element.
CADAPI int ZAVAPI DAriSerchPoint4(CadPoint3 p, double* result, double a, void* viewData, CadMark* mark) {
    return EachLeafSearch(p, result, a, viewData, mark, [&](const ElementRecord& r, Best& b) {
        Pt q;
        if (r.kind != kElmText && r.kind != kElmRaster && LeafNearest(r, p.x, p.y, q)) b.offer(q);
    });
}
