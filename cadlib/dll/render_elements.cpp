// Painting of the plain element kinds: lines, points, circles, arcs,
// ellipses and elliptic arcs, blocks and frames, with line types, widths and
// the marks at line ends; compounds, definitions and placed figures through
// their members.
#include <algorithm>
#include <cmath>

#include "cadlib/dll/render_context.h"

namespace cad {

namespace {

const double kTwoPi = 6.283185307179586;

double F(const ElementRecord& r, uint32_t off) { return CadGetF64(&r, off); }

// Angles of a circle (centre, radius) that can show in the view.
Span VisibleSpan(const RenderContext& ctx, double cx, double cy, double r, Span s) {
    const Box& v = ctx.visible;
    bool centreIn = cx >= v.l && cx <= v.r && cy >= v.b && cy <= v.t;
    if (centreIn || ctx.Px(r) < 5000) return s;
    double mid = std::atan2((v.b + v.t) / 2 - cy, (v.l + v.r) / 2 - cx);
    double lo = 0, hi = 0;
    const double xs[4] = {v.l, v.r, v.r, v.l}, ys[4] = {v.b, v.b, v.t, v.t};
    for (int i = 0; i < 4; ++i) {
        double d = std::remainder(std::atan2(ys[i] - cy, xs[i] - cx) - mid, kTwoPi);
        lo = std::min(lo, d);
        hi = std::max(hi, d);
    }
    // Intersect [mid + lo, mid + hi] with the span.
    double a0 = mid + lo, a1 = mid + hi;
    double best0 = 0, best1 = -1;
    for (int k = -2; k <= 2; ++k) {
        double s0 = s.start + k * kTwoPi, s1 = s0 + s.sweep;
        double b0 = std::max(s0, a0), b1 = std::min(s1, a1);
        if (b1 > b0 && b1 - b0 > best1 - best0) {
            best0 = b0;
            best1 = b1;
        }
    }
    if (best1 < best0) return Span{0, 0};
    return Span{best0, best1 - best0};
}

int Segments(double sweep, double rpx) {
    double n = std::ceil(sweep * std::sqrt(std::max(rpx, 1.0) / 2));
    return static_cast<int>(std::max(4.0, std::min(2048.0, n)));
}

void Curve(RenderContext& ctx, double cx, double cy, double r, Span s) {
    s = VisibleSpan(ctx, cx, cy, r, s);
    if (s.sweep <= 0) return;
    int n = Segments(s.sweep, ctx.Px(r));
    std::vector<double>& xy = ctx.stroker->Scratch();
    xy.resize(2 * (n + 1));
    for (int i = 0; i <= n; ++i) {
        double a = s.start + s.sweep * i / n;
        xy[2 * i] = cx + r * std::cos(a);
        xy[2 * i + 1] = cy + r * std::sin(a);
    }
    ctx.stroker->World(xy.data(), n + 1);
}

void EllipseCurve(RenderContext& ctx, const ElementRecord& rec) {
    EllipseGeo g;
    if (!EllipseOf(rec, g)) return;
    int n = Segments(g.span.sweep, ctx.Px(g.a));
    std::vector<double>& xy = ctx.stroker->Scratch();
    xy.resize(2 * (n + 1));
    for (int i = 0; i <= n; ++i)
        g.at(g.span.start + g.span.sweep * i / n, xy[2 * i], xy[2 * i + 1]);
    ctx.stroker->World(xy.data(), n + 1);
}

// Marks at a line's ends: 1 filled arrow, 2 open arrow, 3 dot, 4 tick.
void LineEnd(RenderContext& ctx, int type, PxPt tip, PxPt from, COLORREF colour) {
    if (type <= 0) return;
    double len = std::hypot(tip.x - from.x, tip.y - from.y);
    if (len < 1 || !ctx.MayUseGdi()) return;
    double size = std::max(5.0, std::min(40.0, 2.5 * ctx.pxPerMm));
    double ux = (tip.x - from.x) / len, uy = (tip.y - from.y) / len;
    HPEN pen = ctx.Pen(ctx.Ink(colour), 1);
    HGDIOBJ oldPen = SelectObject(ctx.dc, pen);
    HGDIOBJ oldBrush = SelectObject(ctx.dc, ctx.Brush(ctx.Ink(colour)));
    auto pt = [](double x, double y) { return POINT{RoundNear(x), RoundNear(y)}; };
    double bx = tip.x - ux * size, by = tip.y - uy * size, w = size * 0.3;
    POINT tri[3] = {pt(tip.x, tip.y), pt(bx - uy * w, by + ux * w), pt(bx + uy * w, by - ux * w)};
    switch (type) {
    case 1: Polygon(ctx.dc, tri, 3); break;
    case 2: {
        POINT open[3] = {tri[1], tri[0], tri[2]};
        Polyline(ctx.dc, open, 3);
        break;
    }
    case 3: {
        double r = size * 0.2;
        Ellipse(ctx.dc, static_cast<int>(tip.x - r), static_cast<int>(tip.y - r), static_cast<int>(tip.x + r + 1),
                static_cast<int>(tip.y + r + 1));
        break;
    }
    default: {
        double h = size * 0.4;
        POINT tick[2] = {pt(tip.x - (ux + uy) * h, tip.y - (uy - ux) * h),
                         pt(tip.x + (ux + uy) * h, tip.y + (uy - ux) * h)};
        Polyline(ctx.dc, tick, 2);
        break;
    }
    }
    SelectObject(ctx.dc, oldBrush);
    SelectObject(ctx.dc, oldPen);
    ctx.AfterGdi();
}

// Point markers by the record's sub-kind: dot, plus, cross, circle, square.
void PointMarker(RenderContext& ctx, const ElementRecord& rec, COLORREF colour) {
    PxPt c = ctx.ToPx(F(rec, kOffP1X), F(rec, kOffP1Y));
    double h = 2;
    if (ctx.p->pointSize) {
        double mm = F(rec, kOffPointSize);
        if (std::isfinite(mm) && mm > 0) h = std::max(1.0, std::min(200.0, mm * ctx.pxPerMm / 2));
    }
    ctx.stroker->Begin(StrokeStyle{colour, 1, 0});
    switch (rec.subKind % 5) {
    case 1: {
        PxPt a[2] = {{c.x - h, c.y}, {c.x + h + 1, c.y}}, b[2] = {{c.x, c.y - h}, {c.x, c.y + h + 1}};
        ctx.stroker->Pixels(a, 2);
        ctx.stroker->Pixels(b, 2);
        break;
    }
    case 2: {
        PxPt a[2] = {{c.x - h, c.y - h}, {c.x + h + 1, c.y + h + 1}},
             b[2] = {{c.x - h, c.y + h}, {c.x + h + 1, c.y - h - 1}};
        ctx.stroker->Pixels(a, 2);
        ctx.stroker->Pixels(b, 2);
        break;
    }
    case 3: {
        PxPt ring[17];
        for (int i = 0; i <= 16; ++i)
            ring[i] = PxPt{c.x + h * std::cos(i * kTwoPi / 16), c.y + h * std::sin(i * kTwoPi / 16)};
        ctx.stroker->Pixels(ring, 17);
        break;
    }
    case 4: {
        PxPt sq[5] = {
            {c.x - h, c.y - h}, {c.x + h, c.y - h}, {c.x + h, c.y + h}, {c.x - h, c.y + h}, {c.x - h, c.y - h}};
        ctx.stroker->Pixels(sq, 5);
        break;
    }
    default: {
        // A dot of 2 x 2 pixels reads as a point at any zoom.
        PxPt a[2] = {{c.x, c.y}, {c.x + 2, c.y}}, b[2] = {{c.x, c.y + 1}, {c.x + 2, c.y + 1}};
        ctx.stroker->Pixels(a, 2);
        ctx.stroker->Pixels(b, 2);
        break;
    }
    }
}

}  // namespace

void DrawLeaf(RenderContext& ctx, const ElementRecord& rec, COLORREF colour) {
    switch (rec.kind) {
    case kElmLine: {
        ctx.stroker->Begin(ctx.StyleOf(rec, colour));
        const double xy[4] = {F(rec, kOffP1X), F(rec, kOffP1Y), F(rec, kOffP2X), F(rec, kOffP2Y)};
        ctx.stroker->World(xy, 2);
        if (ctx.p->termDraw) {
            const uint8_t startMark = ElementLineStartMark(rec), endMark = ElementLineEndMark(rec);
            if (startMark || endMark) {
                ctx.stroker->Flush();
                PxPt a = ctx.ToPx(xy[0], xy[1]), e = ctx.ToPx(xy[2], xy[3]);
                LineEnd(ctx, startMark, a, e, colour);
                LineEnd(ctx, endMark, e, a, colour);
            }
        }
        break;
    }
    case kElmPoint: PointMarker(ctx, rec, colour); break;
    case kElmCircle:
    case kElmArc: {
        ctx.stroker->Begin(ctx.StyleOf(rec, colour));
        double r = std::fabs(F(rec, kOffRadius));
        Span s = rec.kind == kElmArc ? ArcSpan(rec) : Span{0, kTwoPi};
        Curve(ctx, F(rec, kOffP1X), F(rec, kOffP1Y), r, s);
        break;
    }
    case kElmEllipse:
    case kElmEllipticArc:
        ctx.stroker->Begin(ctx.StyleOf(rec, colour));
        EllipseCurve(ctx, rec);
        break;
    case kElmText: DrawText(ctx, rec, colour); break;
    case kElmBlock:
    case kElmFrame: {
        ctx.stroker->Begin(StrokeStyle{colour, 1, rec.kind == kElmBlock ? 2 : 0});
        double x1 = F(rec, kOffP1X), y1 = F(rec, kOffP1Y), x2 = F(rec, kOffP2X), y2 = F(rec, kOffP2Y);
        const double xy[8] = {x1, y1, x2, y1, x2, y2, x1, y2};
        ctx.stroker->World(xy, 4, true);
        break;
    }
    case kElmRaster: DrawRaster(ctx, rec, colour); break;
    default: break;
    }
}

void DrawStored(RenderContext& ctx, const StoredElement* e) {
    const ElementRecord& top = e->rec;
    // In paper space and the frame view the page's placement moves the
    // element onto the sheet; the colour stays the element's own.
    const Placement* place = ctx.places.Of(top.page);
    auto leaf = [&](const ElementRecord& r, const StoredElement* colourFrom) {
        if (!place) {
            DrawLeaf(ctx, r, ctx.ElementColour(r, colourFrom));
            return;
        }
        ElementRecord placed = r;
        PlaceRecord(placed, *place);
        DrawLeaf(ctx, placed, ctx.ElementColour(r, colourFrom));
    };
    if (IsGroupLike(top.kind) || top.kind == kElmFigureHeader) {
        for (const StoredElement* m = e->member; m && detail::Descends(m, e); m = m->member) {
            uint16_t k = m->rec.kind;
            if (IsGroupLike(k) || k == kElmFigureHeader) continue;
            const StoredElement* colourFrom = (e->selection & 1) ? e : m;
            if (k == kElmFigure) {
                ForEachLeaf(m, [&](const ElementRecord& r) {
                    leaf(r, colourFrom);
                    return true;
                });
            } else {
                leaf(m->rec, colourFrom);
            }
        }
        return;
    }
    if (top.kind == kElmFigure) {
        ForEachLeaf(e, [&](const ElementRecord& r) {
            leaf(r, e);
            return true;
        });
        return;
    }
    leaf(top, e);
}

void DrawFrames(RenderContext& ctx) {
    const DrawParam* p = ctx.p;
    int lum = (GetRValue(ctx.background) * 3 + GetGValue(ctx.background) * 6 + GetBValue(ctx.background)) / 10;
    bool dark = lum < 128;
    auto frame = [&](const double* r, int kind, COLORREF c) {
        ctx.stroker->Begin(StrokeStyle{c, 1, std::max(0, std::min(31, kind - 1))});
        const double xy[8] = {r[0], r[1], r[2], r[1], r[2], r[3], r[0], r[3]};
        ctx.stroker->World(xy, 4, true);
    };
    if (p->paperFrame) frame(p->paperRect, p->paperKind, dark ? RGB(150, 150, 150) : RGB(110, 110, 110));
    if (p->marginFrame) frame(p->marginRect, p->marginKind, dark ? RGB(70, 110, 160) : RGB(120, 150, 200));
    ctx.stroker->Flush();
}

void DrawMarkers(RenderContext& ctx, bool after) {
    const DrawParam* p = ctx.p;
    int lum = (GetRValue(ctx.background) * 3 + GetGValue(ctx.background) * 6 + GetBValue(ctx.background)) / 10;
    bool dark = lum < 128;
    if (!after && p->originMarker) {
        // The drawing origin: two short axes, x in red and y in green.
        PxPt o = ctx.ToPx(p->origin[0], p->origin[1]);
        PxPt xa[2] = {o, {o.x + 14, o.y}}, ya[2] = {o, {o.x, o.y - 14}};
        ctx.stroker->Begin(StrokeStyle{dark ? RGB(220, 90, 90) : RGB(200, 40, 40), 1, 0});
        ctx.stroker->Pixels(xa, 2);
        ctx.stroker->Begin(StrokeStyle{dark ? RGB(90, 200, 90) : RGB(30, 150, 30), 1, 0});
        ctx.stroker->Pixels(ya, 2);
        ctx.stroker->Flush();
    }
    if (after && p->baseMarker) {
        // The last input point: a small square with a cross (style 3), or a cross.
        PxPt c = ctx.ToPx(p->basePoint[0], p->basePoint[1]);
        COLORREF col = dark ? RGB(255, 200, 0) : RGB(220, 100, 0);
        ctx.stroker->Begin(StrokeStyle{col, 1, 0});
        double h = 4;
        if (p->baseStyle == 3) {
            PxPt sq[5] = {
                {c.x - h, c.y - h}, {c.x + h, c.y - h}, {c.x + h, c.y + h}, {c.x - h, c.y + h}, {c.x - h, c.y - h}};
            ctx.stroker->Pixels(sq, 5);
        }
        PxPt a[2] = {{c.x - h + 2, c.y}, {c.x + h - 1, c.y}}, b[2] = {{c.x, c.y - h + 2}, {c.x, c.y + h - 1}};
        ctx.stroker->Pixels(a, 2);
        ctx.stroker->Pixels(b, 2);
        ctx.stroker->Flush();
    }
}

}  // namespace cad
