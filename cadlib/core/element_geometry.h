// The geometry of elements as painting and searching see it: boxes, arc and
// ellipse spans, and the walk from an element to the plain elements (kinds
// 1-7, 50, 55, 60) it shows, with placed figures transformed into place.
#pragma once

#include <cstdint>

#include "cadlib/WmCadApiDb.h"

namespace cad {

struct Box {
    double l, b, r, t;  // smallest x, smallest y, largest x, largest y
    bool valid() const { return l <= r && b <= t; }
    void add(double x, double y);
    void add(const Box& o);
    bool intersects(const Box& o) const { return l <= o.r && o.l <= r && b <= o.t && o.b <= t; }
    bool inside(const Box& o) const { return l >= o.l && r <= o.r && b >= o.b && t <= o.t; }
    static Box Empty();
};

// A span of a circle or ellipse: start and sweep (0 .. 2 pi), counter-clockwise.
struct Span {
    double start, sweep;
};

// Arc (kind 4): the direction word makes it run from the end angle round to
// the start angle.
Span ArcSpan(const ElementRecord& rec);

// Ellipse (kinds 6 and 7) in its own frame: centre, major radius a along
// angle phi, minor radius b, and the span of the parameter t.
struct EllipseGeo {
    double cx, cy, a, b, phi;
    Span span;
    void at(double t, double& x, double& y) const;
};
bool EllipseOf(const ElementRecord& rec, EllipseGeo& g);

// Raster (kind 55): the four corners of the placed image, counter-clockwise
// from the bottom-left.
void RasterCorners(const ElementRecord& rec, double c[8]);

// Box of one plain record (false for kinds without geometry).
bool LeafBox(const ElementRecord& rec, Box& box);

// Uniform placement: p' = s * R(angle) * (p - from) + to.
struct Placement {
    double s = 1, c = 1, n = 0, fx = 0, fy = 0, tx = 0, ty = 0, angle = 0;
    bool identity = true;
    void apply(double& x, double& y) const;
};
Placement FigurePlacement(const StoredElement* figure);
// Apply a placement to the fields of a plain record in place.
void PlaceRecord(ElementRecord& rec, const Placement& p);

// Call f(record, top) for every plain element that `e` shows: the element
// itself, the members of a compound, or the transformed members of the
// definition of a placed figure. Returns false when f asked to stop.
template <class F>
bool ForEachLeaf(const StoredElement* e, F&& f, int depth = 0);

// The figure definition of a placed figure, or null.
const StoredElement* FigureHeaderOf(const StoredElement* figure);
bool IsGroupLike(uint16_t kind);  // 21, 22, 70: members drawn in place
// Box of a stored element (compounds and figures through their members).
bool ElementBox(const StoredElement* e, Box& box);

// ---------------------------------------------------------------------------
namespace detail {
bool Descends(const StoredElement* m, const StoredElement* group);
}
template <class F>
bool ForEachLeafFigure(const StoredElement* fig, const Placement& outer, F& f, int depth);

template <class F>
bool ForEachLeafPlaced(const StoredElement* e, const Placement& p, F& f, int depth) {
    if (depth > 16 || !e) return true;
    const uint16_t kind = e->rec.kind;
    if (IsGroupLike(kind) || kind == kElmFigureHeader) {
        for (const StoredElement* m = e->member; m && detail::Descends(m, e); m = m->member) {
            uint16_t mk = m->rec.kind;
            if (IsGroupLike(mk) || mk == kElmFigureHeader) continue;  // reached in the walk
            if (mk == kElmFigure) {
                if (!ForEachLeafFigure(m, p, f, depth + 1)) return false;
                continue;
            }
            if (p.identity) {
                if (!f(m->rec)) return false;
            } else {
                ElementRecord r = m->rec;
                PlaceRecord(r, p);
                if (!f(r)) return false;
            }
        }
        return true;
    }
    if (kind == kElmFigure) return ForEachLeafFigure(e, p, f, depth + 1);
    if (p.identity) return f(e->rec);
    ElementRecord r = e->rec;
    PlaceRecord(r, p);
    return f(r);
}

Placement Compose(const Placement& outer, const Placement& inner);

template <class F>
bool ForEachLeafFigure(const StoredElement* fig, const Placement& outer, F& f, int depth) {
    const StoredElement* h = FigureHeaderOf(fig);
    if (!h) return true;
    Placement p = Compose(outer, FigurePlacement(fig));
    return ForEachLeafPlaced(h, p, f, depth);
}

template <class F>
bool ForEachLeaf(const StoredElement* e, F&& f, int depth) {
    Placement id;
    return ForEachLeafPlaced(e, id, f, depth);
}

}  // namespace cad
