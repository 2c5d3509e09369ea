#include "view/element_transform.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "view/geometry.h"
#include "view/view_data.h"

namespace {
const double kPi = 3.14159265358979323846;
const double kTwoPi = 2 * kPi;

void MovePoint(ElementRecord* r, uint32_t ox, uint32_t oy, const double* u) {
    double x = CadGetF64(r, ox), y = CadGetF64(r, oy);
    TransformPointUniform(&x, &y, u);
    CadSetF64(r, ox, x);
    CadSetF64(r, oy, y);
}
void Scale(ElementRecord* r, uint32_t off, double f) { CadSetF64(r, off, CadGetF64(r, off) * f); }
void Turn(ElementRecord* r, uint32_t off, double a) { CadSetF64(r, off, CadGetF64(r, off) + a); }

struct BoxAcc {
    double l = 0, t = 0, r = 0, b = 0;
    bool any = false;
    void Add(double x, double y) {
        if (!any) {
            l = r = x;
            t = b = y;
            any = true;
            return;
        }
        l = std::min(l, x);
        r = std::max(r, x);
        b = std::min(b, y);
        t = std::max(t, y);
    }
};

bool Contains(double p, double q, double a) { return (p <= a && a <= q) || (p <= a + kTwoPi && a + kTwoPi <= q); }

void ArcExtent(const ElementRecord* rec, BoxAcc& box) {
    const double cx = CadGetF64(rec, kOffP1X), cy = CadGetF64(rec, kOffP1Y), r = CadGetF64(rec, kOffRadius);
    double a = CadGetF64(rec, kOffArcStart), b = CadGetF64(rec, kOffArcEnd);
    double p, q;
    if (CadGetU16(rec, kOffArcDir)) {
        p = b;
        q = a;
        for (int i = 0; q <= p && i < 5; ++i)
            q += kTwoPi;
    } else {
        p = a;
        q = b;
        for (int i = 0; q < p && i < 5; ++i)
            q += kTwoPi;
    }
    for (int i = 0; p < 0 && i < 1000; ++i)
        p += kTwoPi, q += kTwoPi;
    for (int i = 0; p >= kTwoPi && i < 1000; ++i)
        p -= kTwoPi, q -= kTwoPi;
    const double right =
        Contains(p, q, 0) || Contains(p, q, kTwoPi) ? cx + r : cx + r * std::max(std::cos(p), std::cos(q));
    const double top = Contains(p, q, kPi / 2) ? cy + r : cy + r * std::max(std::sin(p), std::sin(q));
    const double left = Contains(p, q, kPi) ? cx - r : cx + r * std::min(std::cos(p), std::cos(q));
    const double bottom = Contains(p, q, 3 * kPi / 2) ? cy - r : cy + r * std::min(std::sin(p), std::sin(q));
    box.Add(left, top);
    box.Add(right, bottom);
}

// The parameter of the ellipse point lying in direction `angle` from the centre.
double EllipseParameter(double angle, double phi, double a, double b) {
    double dx = 16 * std::cos(angle - phi), dy = 16 * std::sin(angle - phi);
    if (std::fabs(dy) < 0.0001) return dx >= 0 ? 0 : kPi;
    if (std::fabs(dx) < 0.0001) return dy >= 0 ? kPi / 2 : 3 * kPi / 2;
    double t = std::atan2(dy / (b != 0 ? b : 1), dx / (a != 0 ? a : 1));
    return t < 0 ? t + kTwoPi : t;
}

void EllipseExtent(const ElementRecord* rec, BoxAcc& box) {
    const double cx = CadGetF64(rec, kOffP1X), cy = CadGetF64(rec, kOffP1Y);
    const double ex = CadGetF64(rec, kOffP2X) - cx, ey = CadGetF64(rec, kOffP2Y) - cy;
    const double A = std::hypot(ex, ey), phi = SafeAtan2(ey, ex), B = A * CadGetF64(rec, kOffEllRatio);
    double s = 0, e = kTwoPi;
    if (rec->kind == kElmEllipticArc) {
        s = EllipseParameter(CadGetF64(rec, kOffEllStart), phi, A, B);
        e = EllipseParameter(CadGetF64(rec, kOffEllEnd), phi, A, B);
        if (CadGetU16(rec, kOffEllDir) == 1) std::swap(s, e);
        if (e < s) e += kTwoPi;
        if (s < 0) s += kTwoPi, e += kTwoPi;
        if (s > kTwoPi) s -= kTwoPi, e -= kTwoPi;
        if (e > s + kTwoPi) e -= kTwoPi;
    }
    auto at = [&](double t) {
        box.Add(cx + std::cos(phi) * A * std::cos(t) - std::sin(phi) * B * std::sin(t),
                cy + std::sin(phi) * A * std::cos(t) + std::cos(phi) * B * std::sin(t));
    };
    at(s);
    for (double t = s + 0.1; t < e; t += 0.1)
        at(t);
    at(e);
}

int LeafExtent(const ElementRecord* rec, BoxAcc& box) {
    switch (rec->kind) {
    case kElmLine:
    case kElmBlock:
    case kElmFrame:
        box.Add(CadGetF64(rec, kOffP1X), CadGetF64(rec, kOffP1Y));
        box.Add(CadGetF64(rec, kOffP2X), CadGetF64(rec, kOffP2Y));
        return 1;
    case kElmPoint: box.Add(CadGetF64(rec, kOffP1X), CadGetF64(rec, kOffP1Y)); return 1;
    case kElmCircle: {
        const double cx = CadGetF64(rec, kOffP1X), cy = CadGetF64(rec, kOffP1Y), r = CadGetF64(rec, kOffRadius);
        box.Add(cx - r, cy + r);
        box.Add(cx + r, cy - r);
        return 1;
    }
    case kElmArc: ArcExtent(rec, box); return 1;
    case kElmEllipse:
    case kElmEllipticArc: EllipseExtent(rec, box); return 1;
    case kElmText: {
        ElementRecord copy = *rec;
        double corners[8] = {};
        struct {
            const ElementRecord* text;
            double* corners;
        } block = {&copy, corners};
        if (!DAriDicFunction(18, &block)) {
            box.Add(CadGetF64(rec, kOffTextX), CadGetF64(rec, kOffTextY));
            return 1;
        }
        for (int i = 0; i < 4; ++i)
            box.Add(corners[2 * i], corners[2 * i + 1]);
        return 1;
    }
    default: return 0;
    }
}
}  // namespace

void TransformPointUniform(double* x, double* y, const double* u) {
    const double dx = *x - u[5], dy = *y - u[6];
    const double nx = u[0] * (u[1] * dx + u[2] * dy) + u[7];
    const double ny = u[0] * (u[3] * dx + u[4] * dy) + u[8];
    *x = nx;
    *y = ny;
}

void RotateScalePoint(double tx, double ty, double angle, double sx, double sy, double* x, double* y) {
    const double c = std::cos(angle), s = std::sin(angle);
    const double nx = (c * *x - s * *y) * sx + tx, ny = (s * *x + c * *y) * sy + ty;
    *x = nx;
    *y = ny;
}

void TransformRecord(ElementRecord* r, const double* u) {
    const double theta = SafeAtan2(u[3], u[1]), s = u[0];
    switch (r->kind) {
    case kElmLine:
        MovePoint(r, kOffP1X, kOffP1Y, u);
        MovePoint(r, kOffP2X, kOffP2Y, u);
        break;
    case kElmPoint: MovePoint(r, kOffP1X, kOffP1Y, u); break;
    case kElmCircle:
        MovePoint(r, kOffP1X, kOffP1Y, u);
        Scale(r, kOffRadius, s);
        break;
    case kElmArc:
        MovePoint(r, kOffP1X, kOffP1Y, u);
        Scale(r, kOffRadius, s);
        Turn(r, kOffArcStart, theta);
        Turn(r, kOffArcEnd, theta);
        break;
    case kElmText:
        MovePoint(r, kOffTextX, kOffTextY, u);
        for (uint32_t off : {kOffTextSize1, kOffTextSize2, kOffTextSize3, kOffTextSize4})
            Scale(r, off, s);
        Turn(r, kOffTextAngle, theta);
        break;
    case kElmEllipse:
        MovePoint(r, kOffP1X, kOffP1Y, u);
        MovePoint(r, kOffP2X, kOffP2Y, u);
        break;
    case kElmEllipticArc:
        MovePoint(r, kOffP1X, kOffP1Y, u);
        MovePoint(r, kOffP2X, kOffP2Y, u);
        Turn(r, kOffEllStart, theta);
        Turn(r, kOffEllEnd, theta);
        break;
    case kElmFigureHeader:
        MovePoint(r, 11, 19, u);
        MovePoint(r, 35, 43, u);
        MovePoint(r, 51, 59, u);
        break;
    case kElmFigure:
        MovePoint(r, kOffFigX, kOffFigY, u);
        Scale(r, kOffFigScale, s);
        Turn(r, kOffFigAngle, theta);
        break;
    default: break;
    }
}

int TransformElementCoords(void* element, double a, double sx, double sy, double tx, double ty, double rx, double ry) {
    auto* r = static_cast<ElementRecord*>(element);
    if (!r) return 1;
    auto move = [&](uint32_t ox, uint32_t oy) {
        double x = CadGetF64(r, ox) - rx, y = CadGetF64(r, oy) - ry;
        RotateScalePoint(tx, ty, a, sx, sy, &x, &y);
        CadSetF64(r, ox, x);
        CadSetF64(r, oy, y);
    };
    switch (r->kind) {
    case kElmLine:
        move(kOffP1X, kOffP1Y);
        move(kOffP2X, kOffP2Y);
        break;
    case kElmPoint: move(kOffP1X, kOffP1Y); break;
    case kElmCircle:
        move(kOffP1X, kOffP1Y);
        Scale(r, kOffRadius, sx);
        break;
    case kElmArc:
        move(kOffP1X, kOffP1Y);
        Scale(r, kOffRadius, sx);
        Turn(r, kOffArcStart, a);
        Turn(r, kOffArcEnd, a);
        break;
    case kElmText:
        move(kOffTextX, kOffTextY);
        for (uint32_t off : {kOffTextSize1, kOffTextSize2, kOffTextSize3, kOffTextSize4})
            Scale(r, off, sx);
        Turn(r, kOffTextAngle, a);
        break;
    default: break;
    }
    return 1;
}

int GetElementExtent(HWND view, DbHeader* db, const StoredElement* e, double* box) {
    box[0] = box[1] = box[2] = box[3] = 0;
    if (!e) return 0;
    if (!db) {
        ViewData* d = GetViewData(view);
        db = d ? d->db : nullptr;
    }
    BoxAcc acc;
    const uint16_t kind = e->rec.kind;
    if (kind == kElmGroup || kind == kElmGroup2 || kind == kElmCompound) {
        // The member chain; nested groups are skipped, their own members follow in the chain.
        long long remaining = e->count;
        for (const StoredElement* m = e->member; m && remaining > 0; m = m->member, --remaining) {
            if (m->rec.kind == kElmGroup || m->rec.kind == kElmGroup2 || m->rec.kind == kElmCompound) {
                remaining += m->count;
                continue;
            }
            LeafExtent(&m->rec, acc);
        }
    } else if (kind == kElmFigure) {
        const StoredElement* hdr = e->owner;
        if (!hdr && db) hdr = DAriGetFgroupHeaderIdx(const_cast<StoredElement*>(e), db);
        if (!hdr) return 0;
        double hb[4];
        for (int i = 0; i < 4; ++i)
            hb[i] = CadGetF64(&hdr->rec, kOffHdrBox + 8 * i);
        const double bx = CadGetF64(&hdr->rec, kOffHdrBaseX), by = CadGetF64(&hdr->rec, kOffHdrBaseY);
        const double s = CadGetF64(&e->rec, kOffFigScale), a = CadGetF64(&e->rec, kOffFigAngle);
        const double tx = CadGetF64(&e->rec, kOffFigX), ty = CadGetF64(&e->rec, kOffFigY);
        const double xs[2] = {hb[0], hb[2]}, ys[2] = {hb[1], hb[3]};
        for (double x : xs)
            for (double y : ys) {
                double px = x - bx, py = y - by;
                RotateScalePoint(tx, ty, a, s, s, &px, &py);
                acc.Add(px, py);
            }
    } else if (!LeafExtent(&e->rec, acc)) {
        return 0;
    }
    if (acc.any) {
        box[0] = acc.l;
        box[1] = acc.t;
        box[2] = acc.r;
        box[3] = acc.b;
    }
    return 1;
}
