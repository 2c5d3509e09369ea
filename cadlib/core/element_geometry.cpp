#include "cadlib/core/element_geometry.h"

#include <cmath>
#include <limits>

#include "cadlib/core/database.h"
#include "cadlib/core/text_box.h"

namespace cad {

namespace {
const double kTwoPi = 6.283185307179586;

double F(const ElementRecord& r, uint32_t off) { return CadGetF64(&r, off); }

double Wrap(double a) {
    if (a >= 0 && a < kTwoPi) return a;  // what fmod would give, without its cost
    a = std::fmod(a, kTwoPi);
    if (a < 0) a += kTwoPi;
    return a;
}
}  // namespace

Box Box::Empty() {
    const double inf = std::numeric_limits<double>::infinity();
    return Box{inf, inf, -inf, -inf};
}

void Box::add(double x, double y) {
    if (x < l) l = x;
    if (x > r) r = x;
    if (y < b) b = y;
    if (y > t) t = y;
}

void Box::add(const Box& o) {
    if (!o.valid()) return;
    add(o.l, o.b);
    add(o.r, o.t);
}

Span ArcSpan(const ElementRecord& rec) {
    double a = F(rec, kOffArcStart), e = F(rec, kOffArcEnd);
    if (!std::isfinite(a) || !std::isfinite(e)) return Span{0, 0};
    bool reverse = CadGetU16(&rec, kOffArcDir) != 0;
    double from = reverse ? e : a, to = reverse ? a : e;
    double sweep = to - from;
    if (sweep < 0 || sweep > kTwoPi) sweep = Wrap(sweep);
    return Span{Wrap(from), sweep};
}

void EllipseGeo::at(double t, double& x, double& y) const {
    double u = a * std::cos(t), v = b * std::sin(t);
    double cp = std::cos(phi), sp = std::sin(phi);
    x = cx + cp * u - sp * v;
    y = cy + sp * u + cp * v;
}

bool EllipseOf(const ElementRecord& rec, EllipseGeo& g) {
    g.cx = F(rec, kOffP1X);
    g.cy = F(rec, kOffP1Y);
    double dx = F(rec, kOffP2X) - g.cx, dy = F(rec, kOffP2Y) - g.cy;
    g.a = std::sqrt(dx * dx + dy * dy);
    g.phi = std::atan2(dy, dx);
    g.b = g.a * std::fabs(F(rec, kOffEllRatio));
    if (!std::isfinite(g.a) || !std::isfinite(g.b)) return false;
    g.span = Span{0, kTwoPi};
    if (rec.kind == kElmEllipticArc) {
        // Directions from the centre become parameters of the points that lie
        // in those directions.
        auto param = [&](double dir) {
            double u = std::cos(dir - g.phi), v = std::sin(dir - g.phi);
            return Wrap(std::atan2(g.a * v, (g.b > 0 ? g.b : 1e-300) * u));
        };
        double s = param(F(rec, kOffEllStart)), e = param(F(rec, kOffEllEnd));
        if (CadGetU16(&rec, kOffEllDir) == 1) std::swap(s, e);
        double sweep = e - s;
        if (sweep <= 0) sweep += kTwoPi;
        g.span = Span{s, sweep};
    }
    return true;
}

void RasterCorners(const ElementRecord& rec, double c[8]) {
    double ox = F(rec, kOffP1X), oy = F(rec, kOffP1Y);
    double w = F(rec, kOffP2X) / 2, h = F(rec, kOffP2Y) / 2, a = F(rec, kOffRasterAngle);
    double ca = std::cos(a), sa = std::sin(a);
    const double px[4] = {-w, w, w, -w}, py[4] = {-h, -h, h, h};
    for (int i = 0; i < 4; ++i) {
        c[2 * i] = ox + px[i] * ca - py[i] * sa;
        c[2 * i + 1] = oy + px[i] * sa + py[i] * ca;
    }
}

namespace {

// The quarter angles and their cosines and sines, worked out once: boxes are
// measured for every element of a drawing as it loads.
struct Quarters {
    double ang[9], c[9], s[9];
    Quarters() {
        for (int q = 0; q < 9; ++q) {
            ang[q] = q * (kTwoPi / 4);
            c[q] = std::cos(ang[q]);
            s[q] = std::sin(ang[q]);
        }
    }
};
const Quarters& QuarterPoints() {
    static const Quarters q;
    return q;
}

void ArcBox(double cx, double cy, double r, Span s, Box& box) {
    box.add(cx + r * std::cos(s.start), cy + r * std::sin(s.start));
    double end = s.start + s.sweep;
    box.add(cx + r * std::cos(end), cy + r * std::sin(end));
    // Every quarter the span passes adds its extreme point.
    const Quarters& qp = QuarterPoints();
    for (int q = 0; q < 9; ++q) {
        double ang = qp.ang[q];
        if (ang > s.start && ang < end) box.add(cx + r * qp.c[q], cy + r * qp.s[q]);
        if (ang >= end) break;
    }
}

}  // namespace

bool LeafBox(const ElementRecord& rec, Box& box) {
    box = Box::Empty();
    switch (rec.kind) {
    case kElmLine:
    case kElmBlock:
    case kElmFrame:
        box.add(F(rec, kOffP1X), F(rec, kOffP1Y));
        box.add(F(rec, kOffP2X), F(rec, kOffP2Y));
        break;
    case kElmPoint: box.add(F(rec, kOffP1X), F(rec, kOffP1Y)); break;
    case kElmCircle: {
        double r = std::fabs(F(rec, kOffRadius));
        box.add(F(rec, kOffP1X) - r, F(rec, kOffP1Y) - r);
        box.add(F(rec, kOffP1X) + r, F(rec, kOffP1Y) + r);
        break;
    }
    case kElmArc: ArcBox(F(rec, kOffP1X), F(rec, kOffP1Y), std::fabs(F(rec, kOffRadius)), ArcSpan(rec), box); break;
    case kElmText: {
        double c[8];
        if (!TextCorners(rec, c)) return false;
        for (int i = 0; i < 4; ++i)
            box.add(c[2 * i], c[2 * i + 1]);
        break;
    }
    case kElmEllipse:
    case kElmEllipticArc: {
        EllipseGeo g;
        if (!EllipseOf(rec, g)) return false;
        if (rec.kind == kElmEllipse) {
            double cp = std::cos(g.phi), sp = std::sin(g.phi);
            double hx = std::sqrt(g.a * g.a * cp * cp + g.b * g.b * sp * sp);
            double hy = std::sqrt(g.a * g.a * sp * sp + g.b * g.b * cp * cp);
            box.add(g.cx - hx, g.cy - hy);
            box.add(g.cx + hx, g.cy + hy);
        } else {
            // Extremes of x and y lie where their derivatives vanish.
            double cp = std::cos(g.phi), sp = std::sin(g.phi);
            double tx = std::atan2(-g.b * sp, g.a * cp), ty = std::atan2(g.b * cp, g.a * sp);
            double x, y;
            g.at(g.span.start, x, y);
            box.add(x, y);
            g.at(g.span.start + g.span.sweep, x, y);
            box.add(x, y);
            for (double base : {tx, ty}) {
                for (int k = -2; k <= 4; ++k) {
                    double t = base + k * (kTwoPi / 2);
                    if (t > g.span.start && t < g.span.start + g.span.sweep) {
                        g.at(t, x, y);
                        box.add(x, y);
                    }
                }
            }
        }
        break;
    }
    case kElmRaster: {
        double c[8];
        RasterCorners(rec, c);
        for (int i = 0; i < 4; ++i)
            box.add(c[2 * i], c[2 * i + 1]);
        break;
    }
    default: return false;
    }
    return box.valid() && std::isfinite(box.l) && std::isfinite(box.r) && std::isfinite(box.b) && std::isfinite(box.t);
}

void Placement::apply(double& x, double& y) const {
    double dx = x - fx, dy = y - fy;
    x = s * (c * dx - n * dy) + tx;
    y = s * (n * dx + c * dy) + ty;
}

Placement FigurePlacement(const StoredElement* fig) {
    Placement p;
    const StoredElement* h = FigureHeaderOf(fig);
    p.s = CadGetF64(&fig->rec, kOffFigScale);
    if (!std::isfinite(p.s) || p.s == 0) p.s = 1;
    p.angle = CadGetF64(&fig->rec, kOffFigAngle);
    if (!std::isfinite(p.angle)) p.angle = 0;
    p.c = std::cos(p.angle);
    p.n = std::sin(p.angle);
    if (h) {
        p.fx = CadGetF64(&h->rec, kOffHdrBaseX);
        p.fy = CadGetF64(&h->rec, kOffHdrBaseY);
    }
    p.tx = CadGetF64(&fig->rec, kOffFigX);
    p.ty = CadGetF64(&fig->rec, kOffFigY);
    p.identity = false;
    return p;
}

Placement Compose(const Placement& outer, const Placement& inner) {
    if (outer.identity) return inner;
    // outer(inner(p)): scale and angle multiply; the origin of inner maps through outer.
    Placement p;
    p.identity = false;
    p.s = outer.s * inner.s;
    p.angle = outer.angle + inner.angle;
    p.c = std::cos(p.angle);
    p.n = std::sin(p.angle);
    p.fx = inner.fx;
    p.fy = inner.fy;
    double x = inner.tx, y = inner.ty;
    outer.apply(x, y);
    p.tx = x;
    p.ty = y;
    return p;
}

void PlaceRecord(ElementRecord& rec, const Placement& p) {
    auto pt = [&](uint32_t ox, uint32_t oy) {
        double x = CadGetF64(&rec, ox), y = CadGetF64(&rec, oy);
        p.apply(x, y);
        CadSetF64(&rec, ox, x);
        CadSetF64(&rec, oy, y);
    };
    auto mul = [&](uint32_t off, double k) { CadSetF64(&rec, off, CadGetF64(&rec, off) * k); };
    auto add = [&](uint32_t off) { CadSetF64(&rec, off, CadGetF64(&rec, off) + p.angle); };
    switch (rec.kind) {
    case kElmLine:
    case kElmBlock:
    case kElmFrame:
        pt(kOffP1X, kOffP1Y);
        pt(kOffP2X, kOffP2Y);
        break;
    case kElmPoint: pt(kOffP1X, kOffP1Y); break;
    case kElmCircle:
        pt(kOffP1X, kOffP1Y);
        mul(kOffRadius, p.s);
        break;
    case kElmArc:
        pt(kOffP1X, kOffP1Y);
        mul(kOffRadius, p.s);
        add(kOffArcStart);
        add(kOffArcEnd);
        break;
    case kElmText:
        pt(kOffTextX, kOffTextY);
        mul(kOffTextSize1, p.s);
        mul(kOffTextSize2, p.s);
        mul(kOffTextSize3, p.s);
        mul(kOffTextSize4, p.s);
        add(kOffTextAngle);
        break;
    case kElmEllipse:
        pt(kOffP1X, kOffP1Y);
        pt(kOffP2X, kOffP2Y);
        break;
    case kElmEllipticArc:
        pt(kOffP1X, kOffP1Y);
        pt(kOffP2X, kOffP2Y);
        add(kOffEllStart);
        add(kOffEllEnd);
        break;
    case kElmRaster:
        pt(kOffP1X, kOffP1Y);
        mul(kOffP2X, p.s);
        mul(kOffP2Y, p.s);
        add(kOffRasterAngle);
        break;
    default: break;
    }
}

bool IsGroupLike(uint16_t kind) { return kind == kElmGroup || kind == kElmGroup2 || kind == kElmCompound; }

const StoredElement* FigureHeaderOf(const StoredElement* fig) {
    if (!fig || fig->rec.kind != kElmFigure) return nullptr;
    const StoredElement* h = fig->owner;
    if (h && IsElement(h) && (h->state & kStateHeader)) return h;
    // A placed figure inside a group links its group: its definition is
    // then the one its number names.
    Database* db = DbOf(const_cast<StoredElement*>(fig));
    if (!db || fig->count < 1 || static_cast<size_t>(fig->count) > db->figureHeaders.size()) return nullptr;
    return db->figureHeaders[fig->count - 1];
}

namespace detail {
bool Descends(const StoredElement* m, const StoredElement* group) {
    int guard = 0;
    for (const StoredElement* p = m->owner; p && guard < 64; p = p->owner, ++guard) {
        if (p == group) return true;
        if (!(p->state & kStateInGroup)) return false;
    }
    return false;
}
}  // namespace detail

bool ElementBox(const StoredElement* e, Box& box) {
    box = Box::Empty();
    ForEachLeaf(e, [&](const ElementRecord& r) {
        Box b;
        if (LeafBox(r, b)) box.add(b);
        return true;
    });
    return box.valid();
}

}  // namespace cad
