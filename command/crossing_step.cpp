#include "command/crossing_step.h"

#include <cmath>
#include <cstring>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "command/drawing_access.h"
#include "command/element_services.h"
#include "command/host_hooks.h"
#include "command/mark_services.h"

using namespace drawing;

namespace {

struct Point {
    double v[3] = {0, 0, 0};
    double& x() { return v[0]; }
    double& y() { return v[1]; }
};

Point At(const ElementRecord& rec, uint32_t off) {
    Point p;
    p.v[0] = CadGetF64(&rec, off);
    p.v[1] = CadGetF64(&rec, off + 8);
    p.v[2] = CadGetF64(&rec, off + 16);
    return p;
}

double Epsilon() { return HostHooks().drawingTolerance ? HostHooks().drawingTolerance() : 0.0; }

bool OnSegment(const double* p, const double* a, const double* b) {
    auto& on = HostHooks().isPointOnSegment;
    return on && on(p, a, b) != 0;
}

void Rotate(double* p, double angle) {
    if (HostHooks().rotatePoint2D) HostHooks().rotatePoint2D(p, angle);
}

// The best crossing found so far: the nearest strictly beyond the cursor;
// at equal distance the one found first stays.
struct Search {
    const char* direction;
    Point cursor, reach;
    Point best;
    double bestDistance = 0;

    void Offer(const double* x) {
        const double dx = x[0] - cursor.v[0], dy = x[1] - cursor.v[1];
        const double d = dx * dx + dy * dy;
        if (!IsBeyondInDirection(direction, cursor.v, x)) return;
        if (bestDistance == 0 || d < bestDistance) {
            std::memcpy(best.v, x, sizeof best.v);
            bestDistance = d;
        }
    }

    void Element(const ElementRecord& rec) {
        auto& h = HostHooks();
        switch (rec.kind) {
        case kElmLine: {
            Point a = At(rec, kOffP1X), b = At(rec, kOffP2X), x;
            if (h.intersectLines && h.intersectLines(x.v, cursor.v, reach.v, a.v, b.v) && OnSegment(x.v, a.v, b.v))
                Offer(x.v);
            break;
        }
        case kElmCircle:
        case kElmArc: {
            Point c = At(rec, kOffP1X), first, second;
            const double r = CadGetF64(&rec, kOffRadius);
            const int n =
                h.intersectLineCircle ? h.intersectLineCircle(first.v, second.v, cursor.v, reach.v, c.v, r) : 0;
            if (n >= 1) Offer(first.v);
            if (n >= 2) Offer(second.v);
            break;
        }
        case kElmEllipse:
        case kElmEllipticArc: {
            Point c = At(rec, kOffP1X), q = At(rec, kOffP2X), first, second;
            const int n =
                IntersectSegmentEllipse(first.v, second.v, cursor.v, reach.v, c.v, q.v, CadGetF64(&rec, kOffEllRatio));
            if (n >= 1) Offer(first.v);
            if (n >= 2) Offer(second.v);
            break;
        }
        default: break;
        }
    }

    // One level of members: a nested group's own members are passed over.
    void Group(StoredElement* group) {
        for (StoredElement* m : DirectMembers(group))
            Element(m->rec);
    }
};

}  // namespace

int IsBeyondInDirection(const char* direction, const double* cursor, const double* candidate) {
    if (!direction) return 0;
    if (std::strcmp(direction, "UP") == 0) return candidate[1] > cursor[1];
    if (std::strcmp(direction, "DOWN") == 0) return candidate[1] < cursor[1];
    if (std::strcmp(direction, "LEFT") == 0) return candidate[0] < cursor[0];
    if (std::strcmp(direction, "RIGHT") == 0) return candidate[0] > cursor[0];
    return 0;
}

int IntersectSegmentEllipse(double* first, double* second, const double* a, const double* b, const double* c,
                            const double* q, double ratio) {
    const double eps = Epsilon();
    const double major = std::sqrt((q[0] - c[0]) * (q[0] - c[0]) + (q[1] - c[1]) * (q[1] - c[1]));
    const double minor = major * ratio;
    if (major <= eps || minor <= eps) return 0;
    const double theta = HostHooks().vectorAngle ? HostHooks().vectorAngle(q[1] - c[1], q[0] - c[0]) : 0.0;
    double ra[3] = {a[0] - c[0], a[1] - c[1], 0}, rb[3] = {b[0] - c[0], b[1] - c[1], 0};
    Rotate(ra, -theta);
    Rotate(rb, -theta);
    double pts[2][3] = {{0, 0, 0}, {0, 0, 0}};
    if (std::fabs(ra[0] - rb[0]) <= eps) {
        if (ra[0] < -major - eps || ra[0] > major + eps) return 0;
        const double y = minor * std::sqrt(1 - ra[0] * ra[0] / (major * major));
        pts[0][0] = pts[1][0] = ra[0];
        pts[0][1] = y;
        pts[1][1] = -y;
    } else {
        const double m = (ra[1] - rb[1]) / (ra[0] - rb[0]), k = ra[1] - m * ra[0];
        const double b2 = minor * minor, a2 = major * major;
        const double u = 2 * m * k / b2, v = m * m / b2 + 1 / a2, w = k * k / b2 - 1;
        const double s = std::sqrt(u * u - 4 * v * w);
        pts[0][0] = (s - u) * 0.5 / v;
        pts[1][0] = (-u - s) * 0.5 / v;
        pts[0][1] = m * pts[0][0] + k;
        pts[1][1] = m * pts[1][0] + k;
    }
    int kept = 0;
    double* out[2] = {first, second};
    for (auto& p : pts) {
        if (!OnSegment(p, ra, rb)) continue;
        Rotate(p, theta);
        out[kept][0] = p[0] + c[0];
        out[kept][1] = p[1] + c[1];
        out[kept][2] = 0;
        ++kept;
    }
    return kept;
}

int FindMarkInDirection(const char* direction, double* result) {
    HWND view = ActiveView();
    DbHeader* db = ViewDb(view);
    if (!view || !db || !result) return 0;
    std::vector<uint8_t> info(kDbInfoHeadSize);
    DAriGetDBInfo(info.data(), db);
    const double w = CadGetF64(info.data(), kInfoDrawW), h = CadGetF64(info.data(), kInfoDrawH);
    const double eps = Epsilon();
    Search s;
    s.direction = direction;
    if (HostHooks().getCursorWorldPoint) HostHooks().getCursorWorldPoint(s.cursor.v);
    std::memcpy(result, s.cursor.v, sizeof s.cursor.v);
    const double px = s.cursor.v[0], py = s.cursor.v[1];
    double strip[4];  // left, top, right, bottom
    s.reach = s.cursor;
    if (std::strcmp(direction, "UP") == 0) {
        s.reach.y() = py + h;
        const double r[4] = {px - eps, py + h + eps, px + eps, py + eps};
        std::memcpy(strip, r, sizeof r);
    } else if (std::strcmp(direction, "DOWN") == 0) {
        s.reach.y() = py - h;
        const double r[4] = {px - eps, py - eps, px + eps, py - h - eps};
        std::memcpy(strip, r, sizeof r);
    } else if (std::strcmp(direction, "LEFT") == 0) {
        s.reach.x() = px - w;
        const double r[4] = {px - w - eps, py + eps, px - eps, py - eps};
        std::memcpy(strip, r, sizeof r);
    } else if (std::strcmp(direction, "RIGHT") == 0) {
        s.reach.x() = px + w;
        const double r[4] = {px + eps, py + eps, px + w + eps, py - eps};
        std::memcpy(strip, r, sizeof r);
    } else {
        return 0;
    }
    SearchOptionRecord kept, wanted;
    SaveSearchOption(0, &kept);
    wanted = kept;
    wanted.words[0] = 3;
    wanted.words[1] = 0x87fff;
    wanted.words[2] = -1;
    wanted.words[4] = 0xffffff;
    SetSearchOption(0, reinterpret_cast<LPARAM>(&wanted));
    // Groups come whole, so that only their own members are looked at.
    const int groupFind = DAriSerchSetGrpFind(1);
    CadMark* mark = GetElementsInRect(strip);
    DAriSerchSetGrpFind(groupFind);
    if (mark) {
        for (void* e = DAriGetNextMark(nullptr, mark); e; e = DAriGetNextMark(e, mark)) {
            auto* element = static_cast<StoredElement*>(e);
            const int kind = element->rec.kind;
            if (kind == kElmGroup || kind == kElmGroup2)
                s.Group(element);
            else
                s.Element(element->rec);
        }
        DAriDestroyMark(mark);
    }
    SetSearchOption(0, reinterpret_cast<LPARAM>(&kept));
    if (s.bestDistance > 0) std::memcpy(result, s.best.v, sizeof s.best.v);
    return s.bestDistance > 0 ? 1 : 0;
}
