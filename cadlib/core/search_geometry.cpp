#include "cadlib/core/search_geometry.h"

#include <algorithm>
#include <cmath>

#include "cadlib/core/database.h"
#include "cadlib/core/text_box.h"

namespace cad {

namespace {

const double kPi = 3.141592653589793, kTwoPi = 6.283185307179586;

double F(const ElementRecord& r, uint32_t off) { return CadGetF64(&r, off); }

double SegDist(double x, double y, double x1, double y1, double x2, double y2, Pt* nearest = nullptr) {
    double dx = x2 - x1, dy = y2 - y1, len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - x1) * dx + (y - y1) * dy) / len2 : 0;
    t = std::max(0.0, std::min(1.0, t));
    double px = x1 + t * dx, py = y1 + t * dy;
    if (nearest) *nearest = Pt{px, py};
    return std::hypot(x - px, y - py);
}

// The tolerances of DAriSetEps: a crossing this close past an element's end,
// or this many radians past an arc's end, still counts.
double Eps() { return GlobalSettings().eps; }
double AngleEps() { return GlobalSettings().angleEps; }

bool InSpan(double ang, const Span& s, double tol = 1e-12) {
    double d = std::fmod(ang - s.start, kTwoPi);
    if (d < 0) d += kTwoPi;
    return d <= s.sweep + tol || d >= kTwoPi - tol;
}

bool InRect(double x, double y, const Box& r) { return x >= r.l && x <= r.r && y >= r.b && y <= r.t; }

// Liang-Barsky: does the segment meet the rectangle?
bool SegTouches(double x1, double y1, double x2, double y2, const Box& r) {
    double t0 = 0, t1 = 1, dx = x2 - x1, dy = y2 - y1;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {x1 - r.l, r.r - x1, y1 - r.b, r.t - y1};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
        } else {
            double t = q[i] / p[i];
            if (p[i] < 0) {
                if (t > t1) return false;
                if (t > t0) t0 = t;
            } else {
                if (t < t0) return false;
                if (t < t1) t1 = t;
            }
        }
    }
    return true;
}

// Points of the circle on the four edges of the rectangle.
void CircleRectEdges(double cx, double cy, double rad, const Box& r, std::vector<double>& angles) {
    auto vertical = [&](double x) {
        double d = x - cx;
        if (std::fabs(d) > rad) return;
        double h = std::sqrt(rad * rad - d * d);
        for (double y : {cy + h, cy - h})
            if (y >= r.b && y <= r.t) angles.push_back(std::atan2(y - cy, d));
    };
    auto horizontal = [&](double y) {
        double d = y - cy;
        if (std::fabs(d) > rad) return;
        double w = std::sqrt(rad * rad - d * d);
        for (double x : {cx + w, cx - w})
            if (x >= r.l && x <= r.r) angles.push_back(std::atan2(d, x - cx));
    };
    vertical(r.l);
    vertical(r.r);
    horizontal(r.b);
    horizontal(r.t);
}

bool ArcTouches(double cx, double cy, double rad, const Span& s, const Box& r) {
    double e0 = s.start, e1 = s.start + s.sweep;
    if (InRect(cx + rad * std::cos(e0), cy + rad * std::sin(e0), r)) return true;
    if (InRect(cx + rad * std::cos(e1), cy + rad * std::sin(e1), r)) return true;
    std::vector<double> angles;
    CircleRectEdges(cx, cy, rad, r, angles);
    for (double a : angles)
        if (InSpan(a, s)) return true;
    return false;
}

bool PolyTouches(const double* c, int n, const Box& r) {
    for (int i = 0; i < n; ++i) {
        int j = (i + 1) % n;
        if (SegTouches(c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1], r)) return true;
    }
    // The rectangle wholly inside the polygon.
    double x = r.l, y = r.b;
    bool in = false;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        double xi = c[2 * i], yi = c[2 * i + 1], xj = c[2 * j], yj = c[2 * j + 1];
        if (((yi > y) != (yj > y)) && (x < (xj - xi) * (y - yi) / (yj - yi) + xi)) in = !in;
    }
    return in;
}

double PolyDistance(const double* c, int n, double x, double y, bool filled) {
    bool in = false;
    double best = 1e300;
    for (int i = 0, j = n - 1; i < n; j = i++) {
        double xi = c[2 * i], yi = c[2 * i + 1], xj = c[2 * j], yj = c[2 * j + 1];
        if (((yi > y) != (yj > y)) && (x < (xj - xi) * (y - yi) / (yj - yi) + xi)) in = !in;
        best = std::min(best, SegDist(x, y, xi, yi, xj, yj));
    }
    return filled && in ? 0.0 : best;
}

void RectCorners(const ElementRecord& rec, double c[8]) {
    double x1 = F(rec, kOffP1X), y1 = F(rec, kOffP1Y), x2 = F(rec, kOffP2X), y2 = F(rec, kOffP2Y);
    const double v[8] = {x1, y1, x2, y1, x2, y2, x1, y2};
    std::copy(v, v + 8, c);
}

int EllipseSegments(const EllipseGeo& g) {
    int n = static_cast<int>(g.span.sweep / kTwoPi * 128) + 8;
    return std::min(n, 256);
}

void LineCircle(double x1, double y1, double x2, double y2, double cx, double cy, double r,
                std::vector<std::pair<Pt, double>>& out) {
    double dx = x2 - x1, dy = y2 - y1, fx = x1 - cx, fy = y1 - cy;
    double a = dx * dx + dy * dy, b = 2 * (fx * dx + fy * dy), c = fx * fx + fy * fy - r * r;
    if (a == 0) return;
    double disc = b * b - 4 * a * c;
    if (disc < 0) {
        if (disc > -1e-9 * a * r * r)
            disc = 0;
        else
            return;
    }
    double s = std::sqrt(disc);
    for (double t : {(-b - s) / (2 * a), (-b + s) / (2 * a)}) {
        out.push_back({Pt{x1 + t * dx, y1 + t * dy}, t});
        if (s == 0) break;
    }
}

// A crossing-capable piece: a segment or a circle span.
struct Piece {
    bool circle;
    double x1, y1, x2, y2;  // segment
    double cx, cy, r;       // circle
    Span span;
};

void Pieces(const ElementRecord& rec, std::vector<Piece>& out) {
    switch (rec.kind) {
    case kElmLine:
        out.push_back(Piece{false, F(rec, kOffP1X), F(rec, kOffP1Y), F(rec, kOffP2X), F(rec, kOffP2Y), 0, 0, 0, {}});
        break;
    case kElmBlock:
    case kElmFrame: {
        double c[8];
        RectCorners(rec, c);
        for (int i = 0; i < 4; ++i) {
            int j = (i + 1) % 4;
            out.push_back(Piece{false, c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1], 0, 0, 0, {}});
        }
        break;
    }
    case kElmCircle:
        out.push_back(
            Piece{true, 0, 0, 0, 0, F(rec, kOffP1X), F(rec, kOffP1Y), std::fabs(F(rec, kOffRadius)), Span{0, kTwoPi}});
        break;
    case kElmArc:
        out.push_back(
            Piece{true, 0, 0, 0, 0, F(rec, kOffP1X), F(rec, kOffP1Y), std::fabs(F(rec, kOffRadius)), ArcSpan(rec)});
        break;
    default: break;
    }
}

void Cross(const Piece& a, const Piece& b, std::vector<Pt>& out) {
    const double angTol = AngleEps();
    if (!a.circle && !b.circle) {
        double d1x = a.x2 - a.x1, d1y = a.y2 - a.y1, d2x = b.x2 - b.x1, d2y = b.y2 - b.y1;
        double den = d1x * d2y - d1y * d2x;
        if (den == 0) return;
        double t = ((b.x1 - a.x1) * d2y - (b.y1 - a.y1) * d2x) / den;
        double u = ((b.x1 - a.x1) * d1y - (b.y1 - a.y1) * d1x) / den;
        double ta = Eps() / std::max(1e-300, std::hypot(d1x, d1y)), tb = Eps() / std::max(1e-300, std::hypot(d2x, d2y));
        if (t < -ta || t > 1 + ta || u < -tb || u > 1 + tb) return;
        out.push_back(Pt{a.x1 + t * d1x, a.y1 + t * d1y});
        return;
    }
    if (a.circle && !b.circle) return Cross(b, a, out);
    if (!a.circle && b.circle) {
        std::vector<std::pair<Pt, double>> hits;
        LineCircle(a.x1, a.y1, a.x2, a.y2, b.cx, b.cy, b.r, hits);
        double ta = Eps() / std::max(1e-300, std::hypot(a.x2 - a.x1, a.y2 - a.y1));
        for (auto& h : hits)
            if (h.second >= -ta && h.second <= 1 + ta &&
                InSpan(std::atan2(h.first.y - b.cy, h.first.x - b.cx), b.span, angTol))
                out.push_back(h.first);
        return;
    }
    double dx = b.cx - a.cx, dy = b.cy - a.cy, d = std::hypot(dx, dy);
    if (d == 0 || d > a.r + b.r || d < std::fabs(a.r - b.r)) return;
    double along = (a.r * a.r - b.r * b.r + d * d) / (2 * d);
    double h = std::sqrt(std::max(0.0, a.r * a.r - along * along));
    double mx = a.cx + along * dx / d, my = a.cy + along * dy / d;
    for (int sgn : {1, -1}) {
        Pt p{mx - sgn * h * dy / d, my + sgn * h * dx / d};
        if (InSpan(std::atan2(p.y - a.cy, p.x - a.cx), a.span, angTol) &&
            InSpan(std::atan2(p.y - b.cy, p.x - b.cx), b.span, angTol))
            out.push_back(p);
        if (h == 0) break;
    }
}

}  // namespace

void EllipsePolyline(const EllipseGeo& g, int segments, std::vector<Pt>& out) {
    out.clear();
    for (int i = 0; i <= segments; ++i) {
        double x, y;
        g.at(g.span.start + g.span.sweep * i / segments, x, y);
        out.push_back(Pt{x, y});
    }
}

double LeafDistance(const ElementRecord& rec, double x, double y) {
    Pt p;
    switch (rec.kind) {
    case kElmText: {
        double c[8];
        if (!TextCorners(rec, c)) return 1e300;
        return PolyDistance(c, 4, x, y, true);
    }
    case kElmRaster: {
        double c[8];
        RasterCorners(rec, c);
        return PolyDistance(c, 4, x, y, true);
    }
    default:
        if (!LeafNearest(rec, x, y, p)) return 1e300;
        return std::hypot(p.x - x, p.y - y);
    }
}

bool LeafNearest(const ElementRecord& rec, double x, double y, Pt& out) {
    switch (rec.kind) {
    case kElmLine: SegDist(x, y, F(rec, kOffP1X), F(rec, kOffP1Y), F(rec, kOffP2X), F(rec, kOffP2Y), &out); return true;
    case kElmPoint: out = Pt{F(rec, kOffP1X), F(rec, kOffP1Y)}; return true;
    case kElmCircle:
    case kElmArc: {
        double cx = F(rec, kOffP1X), cy = F(rec, kOffP1Y), r = std::fabs(F(rec, kOffRadius));
        double a = std::atan2(y - cy, x - cx);
        if (x == cx && y == cy) a = 0;
        Span s = rec.kind == kElmArc ? ArcSpan(rec) : Span{0, kTwoPi};
        if (InSpan(a, s)) {
            out = Pt{cx + r * std::cos(a), cy + r * std::sin(a)};
        } else {
            Pt p0{cx + r * std::cos(s.start), cy + r * std::sin(s.start)};
            Pt p1{cx + r * std::cos(s.start + s.sweep), cy + r * std::sin(s.start + s.sweep)};
            out = std::hypot(p0.x - x, p0.y - y) <= std::hypot(p1.x - x, p1.y - y) ? p0 : p1;
        }
        return true;
    }
    case kElmEllipse:
    case kElmEllipticArc: {
        EllipseGeo g;
        if (!EllipseOf(rec, g)) return false;
        std::vector<Pt> pts;
        int n = EllipseSegments(g);
        EllipsePolyline(g, n, pts);
        double best = 1e300;
        int bi = 0;
        for (int i = 0; i + 1 < static_cast<int>(pts.size()); ++i) {
            double d = SegDist(x, y, pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y);
            if (d < best) {
                best = d;
                bi = i;
            }
        }
        // Refine on the curve between the neighbouring samples.
        double t0 = g.span.start + g.span.sweep * std::max(0, bi - 1) / n;
        double t1 = g.span.start + g.span.sweep * std::min(n, bi + 2) / n;
        for (int it = 0; it < 40; ++it) {
            double m1 = t0 + (t1 - t0) / 3, m2 = t1 - (t1 - t0) / 3, x1, y1, x2, y2;
            g.at(m1, x1, y1);
            g.at(m2, x2, y2);
            if (std::hypot(x1 - x, y1 - y) < std::hypot(x2 - x, y2 - y))
                t1 = m2;
            else
                t0 = m1;
        }
        g.at((t0 + t1) / 2, out.x, out.y);
        return true;
    }
    case kElmBlock:
    case kElmFrame: {
        double c[8];
        RectCorners(rec, c);
        double best = 1e300;
        for (int i = 0; i < 4; ++i) {
            int j = (i + 1) % 4;
            Pt p;
            double d = SegDist(x, y, c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1], &p);
            if (d < best) {
                best = d;
                out = p;
            }
        }
        return true;
    }
    default: return false;
    }
}

bool LeafTouches(const ElementRecord& rec, const Box& r) {
    switch (rec.kind) {
    case kElmLine: return SegTouches(F(rec, kOffP1X), F(rec, kOffP1Y), F(rec, kOffP2X), F(rec, kOffP2Y), r);
    case kElmPoint: return InRect(F(rec, kOffP1X), F(rec, kOffP1Y), r);
    case kElmCircle:
    case kElmArc: {
        double cx = F(rec, kOffP1X), cy = F(rec, kOffP1Y), rad = std::fabs(F(rec, kOffRadius));
        if (rec.kind == kElmArc) return ArcTouches(cx, cy, rad, ArcSpan(rec), r);
        double nx = std::max(r.l, std::min(cx, r.r)), ny = std::max(r.b, std::min(cy, r.t));
        if (std::hypot(nx - cx, ny - cy) > rad) return false;
        double fx = std::max(std::fabs(r.l - cx), std::fabs(r.r - cx));
        double fy = std::max(std::fabs(r.b - cy), std::fabs(r.t - cy));
        return std::hypot(fx, fy) >= rad;  // not wholly inside the circle
    }
    case kElmEllipse:
    case kElmEllipticArc: {
        EllipseGeo g;
        if (!EllipseOf(rec, g)) return false;
        std::vector<Pt> pts;
        EllipsePolyline(g, EllipseSegments(g), pts);
        for (size_t i = 0; i + 1 < pts.size(); ++i)
            if (SegTouches(pts[i].x, pts[i].y, pts[i + 1].x, pts[i + 1].y, r)) return true;
        return false;
    }
    case kElmText: {
        double c[8];
        return TextCorners(rec, c) && PolyTouches(c, 4, r);
    }
    case kElmRaster: {
        double c[8];
        RasterCorners(rec, c);
        return PolyTouches(c, 4, r);
    }
    case kElmBlock:
    case kElmFrame: {
        double c[8];
        RectCorners(rec, c);
        for (int i = 0; i < 4; ++i) {
            int j = (i + 1) % 4;
            if (SegTouches(c[2 * i], c[2 * i + 1], c[2 * j], c[2 * j + 1], r)) return true;
        }
        return false;
    }
    default: return false;
    }
}

void EndPoints(const ElementRecord& rec, std::vector<Pt>& out) {
    switch (rec.kind) {
    case kElmLine:
        out.push_back(Pt{F(rec, kOffP1X), F(rec, kOffP1Y)});
        out.push_back(Pt{F(rec, kOffP2X), F(rec, kOffP2Y)});
        break;
    case kElmPoint: out.push_back(Pt{F(rec, kOffP1X), F(rec, kOffP1Y)}); break;
    case kElmArc: {
        // In the order of the record: start angle, then end angle.
        double cx = F(rec, kOffP1X), cy = F(rec, kOffP1Y), r = std::fabs(F(rec, kOffRadius));
        for (uint32_t off : {kOffArcStart, kOffArcEnd}) {
            double a = F(rec, off);
            out.push_back(Pt{cx + r * std::cos(a), cy + r * std::sin(a)});
        }
        break;
    }
    case kElmEllipticArc: {
        EllipseGeo g;
        if (!EllipseOf(rec, g)) break;
        double x, y;
        g.at(g.span.start, x, y);
        out.push_back(Pt{x, y});
        g.at(g.span.start + g.span.sweep, x, y);
        out.push_back(Pt{x, y});
        break;
    }
    case kElmText: out.push_back(Pt{F(rec, kOffTextX), F(rec, kOffTextY)}); break;
    case kElmBlock:
    case kElmFrame:
    case kElmRaster: {
        double c[8];
        if (rec.kind == kElmRaster)
            RasterCorners(rec, c);
        else
            RectCorners(rec, c);
        for (int i = 0; i < 4; ++i)
            out.push_back(Pt{c[2 * i], c[2 * i + 1]});
        break;
    }
    default: break;
    }
}

void MidPoints(const ElementRecord& rec, int n, std::vector<Pt>& out) {
    if (n < 2) n = 2;
    switch (rec.kind) {
    case kElmLine: {
        double x1 = F(rec, kOffP1X), y1 = F(rec, kOffP1Y), x2 = F(rec, kOffP2X), y2 = F(rec, kOffP2Y);
        for (int k = 1; k < n; ++k)
            out.push_back(Pt{x1 + (x2 - x1) * k / n, y1 + (y2 - y1) * k / n});
        break;
    }
    case kElmArc: {
        double cx = F(rec, kOffP1X), cy = F(rec, kOffP1Y), r = std::fabs(F(rec, kOffRadius));
        Span s = ArcSpan(rec);
        for (int k = 1; k < n; ++k) {
            double a = s.start + s.sweep * k / n;
            out.push_back(Pt{cx + r * std::cos(a), cy + r * std::sin(a)});
        }
        break;
    }
    case kElmEllipticArc: {
        EllipseGeo g;
        if (!EllipseOf(rec, g)) break;
        for (int k = 1; k < n; ++k) {
            double x, y;
            g.at(g.span.start + g.span.sweep * k / n, x, y);
            out.push_back(Pt{x, y});
        }
        break;
    }
    default: break;
    }
}

bool CentreOf(const ElementRecord& rec, Pt& out) {
    switch (rec.kind) {
    case kElmCircle:
    case kElmArc:
    case kElmEllipse:
    case kElmEllipticArc: out = Pt{F(rec, kOffP1X), F(rec, kOffP1Y)}; return true;
    default: return false;
    }
}

void Crossings(const ElementRecord& a, const ElementRecord& b, std::vector<Pt>& out) {
    std::vector<Piece> pa, pb;
    Pieces(a, pa);
    Pieces(b, pb);
    for (const Piece& x : pa)
        for (const Piece& y : pb)
            Cross(x, y, out);
}

}  // namespace cad
