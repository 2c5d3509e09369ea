// The whole database into a view: the spatial index hands over what lies in
// the visible rectangle, in database order. When many elements show at once
// (a drawing fitted into its window), those that cover less than a few
// pixels are set as pixels straight into an off-screen copy of the picture
// instead of being stroked one by one; the larger ones are stroked over them.
#include <algorithm>
#include <cmath>

#include "cadlib/core/search.h"
#include "cadlib/core/spatial_index.h"
#include "cadlib/core/text_box.h"
#include "cadlib/dll/render_context.h"

namespace cad {

namespace {

const double kSmallPx = 2.5;         // box size below which an element is set as pixels
const size_t kDetailLimit = 150;     // visible elements above which the off-screen path applies

uint32_t Pixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

int Rnd(double v) { return static_cast<int>(std::floor(v + 0.5)); }

// The first plain element of a stored element: what a group that shrank to
// a few pixels shows.
bool FirstLeaf(const StoredElement* e, ElementRecord& out, const StoredElement*& colourFrom) {
    bool found = false;
    colourFrom = e;
    if (IsGroupLike(e->rec.kind)) {
        for (const StoredElement* m = e->member; m && detail::Descends(m, e); m = m->member)
            if (!IsGroupLike(m->rec.kind)) {
                if (!(e->selection & 1)) colourFrom = m;
                e = m;
                break;
            }
    }
    ForEachLeaf(e, [&](const ElementRecord& r) {
        out = r;
        found = true;
        return false;
    });
    return found;
}

void SetSmall(RenderContext& ctx, PixelPlane& plane, const StoredElement* e, const Box& box) {
    ElementRecord leafCopy;
    const ElementRecord* leaf = &e->rec;
    const StoredElement* from = e;
    bool plain = !IsGroupLike(e->rec.kind) && e->rec.kind != kElmFigure && e->rec.kind != kElmFigureHeader;
    if (!plain) {
        if (!FirstLeaf(e, leafCopy, from)) return;
        leaf = &leafCopy;
    }
    uint32_t c = Pixel(ctx.ElementColour(*leaf, from));
    if (plain && leaf->kind == kElmLine) {
        PxPt a = ctx.ToPx(CadGetF64(leaf, kOffP1X), CadGetF64(leaf, kOffP1Y));
        PxPt b = ctx.ToPx(CadGetF64(leaf, kOffP2X), CadGetF64(leaf, kOffP2Y));
        plane.Segment(Rnd(a.x), Rnd(a.y), Rnd(b.x), Rnd(b.y), c, true);
        return;
    }
    PxPt lt = ctx.ToPx(box.l, box.t), rb = ctx.ToPx(box.r, box.b);
    int x0 = Rnd(lt.x), y0 = Rnd(lt.y), x1 = Rnd(rb.x), y1 = Rnd(rb.y);
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) plane.Set(x, y, c);
}

// A thin solid line straight into the plane, as a thin pen strokes it.
bool FastLine(RenderContext& ctx, PixelPlane& plane, const StoredElement* e) {
    const ElementRecord& r = e->rec;
    if (r.kind != kElmLine || ctx.p->termDraw) return false;
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&r);
    if (b[13] % 32 != 0) return false;
    COLORREF colour = ctx.ElementColour(r, e);
    if (ctx.StyleOf(r, colour).width > 1) return false;
    PxPt p0 = ctx.ToPx(CadGetF64(&r, kOffP1X), CadGetF64(&r, kOffP1Y));
    PxPt p1 = ctx.ToPx(CadGetF64(&r, kOffP2X), CadGetF64(&r, kOffP2Y));
    // Clip to the plane (with a pixel to spare) before going to integers.
    double l = plane.ox - 1, t = plane.oy - 1, rr = plane.ox + plane.w + 1, bb = plane.oy + plane.h + 1;
    double t0 = 0, t1 = 1, dx = p1.x - p0.x, dy = p1.y - p0.y;
    const double pp[4] = {-dx, dx, -dy, dy};
    const double qq[4] = {p0.x - l, rr - p0.x, p0.y - t, bb - p0.y};
    for (int i = 0; i < 4; ++i) {
        if (pp[i] == 0) {
            if (qq[i] < 0) return true;
        } else {
            double u = qq[i] / pp[i];
            if (pp[i] < 0) { if (u > t1) return true; if (u > t0) t0 = u; }
            else { if (u < t0) return true; if (u < t1) t1 = u; }
        }
    }
    int x0 = Rnd(p0.x + t0 * dx), y0 = Rnd(p0.y + t0 * dy), x1 = Rnd(p0.x + t1 * dx), y1 = Rnd(p0.y + t1 * dy);
    uint32_t c = Pixel(colour);
    if (x0 == x1 && y0 == y1) plane.Set(x0, y0, c);   // a line of no length still shows
    else plane.Segment(x0, y0, x1, y1, c, t1 < 1);
    return true;
}

// A small thin circle (a ring of a few pixels) or a text too small to read
// (a stroke along its middle) straight into the plane.
bool FastSmallShape(RenderContext& ctx, PixelPlane& plane, const StoredElement* e) {
    const ElementRecord& r = e->rec;
    if (r.kind == kElmCircle) {
        const uint8_t* b = reinterpret_cast<const uint8_t*>(&r);
        if (b[13] % 32 != 0) return false;
        COLORREF colour = ctx.ElementColour(r, e);
        if (ctx.StyleOf(r, colour).width > 1) return false;
        double rpx = ctx.Px(std::fabs(CadGetF64(&r, kOffRadius)));
        if (!(rpx < 8)) return false;
        PxPt c = ctx.ToPx(CadGetF64(&r, kOffP1X), CadGetF64(&r, kOffP1Y));
        int cx = Rnd(c.x), cy = Rnd(c.y), rad = Rnd(rpx);
        uint32_t px = Pixel(colour);
        if (rad < 1) {
            plane.Set(cx, cy, px);
            return true;
        }
        // Midpoint circle: eight symmetric points per step.
        int x = rad, y = 0, err = 1 - rad;
        while (x >= y) {
            const int pts[8][2] = {{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
            for (auto& q : pts) plane.Set(cx + q[0], cy + q[1], px);
            ++y;
            if (err < 0) {
                err += 2 * y + 1;
            } else {
                --x;
                err += 2 * (y - x) + 1;
            }
        }
        return true;
    }
    if (r.kind == kElmText) {
        double h = ctx.Px(CadGetF64(&r, kOffTextSize1));
        if (!(h < 5) || !CadGetPtr(&r, kOffTextPtr)) return false;
        double c[8];
        if (!TextCorners(r, c)) return true;
        PxPt a = ctx.ToPx((c[0] + c[6]) / 2, (c[1] + c[7]) / 2), b = ctx.ToPx((c[2] + c[4]) / 2, (c[3] + c[5]) / 2);
        if (std::fabs(a.x) > 30000 || std::fabs(a.y) > 30000 || std::fabs(b.x) > 30000 || std::fabs(b.y) > 30000)
            return false;
        plane.Segment(Rnd(a.x), Rnd(a.y), Rnd(b.x), Rnd(b.y), Pixel(ctx.ElementColour(r, e)), false);
        return true;
    }
    return false;
}

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
            for (StoredElement* e : found) keep(e);
        } else {
            for (StoredElement* e = ctx.db->first; e; e = e->next) {
                Box b;
                if (ElementBox(e, b) && IndexedBox(b).intersects(area)) keep(e);
            }
        }
    }
    SortByChainOrder(cands);
    for (StoredElement* e : cands) DrawStored(ctx, e);
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
    std::vector<std::pair<StoredElement*, Box>> cands;
    SpatialIndex* idx = UseIndex() ? IndexOf(ctx.header) : nullptr;
    // A view that takes in the whole drawing walks the chain: it is in
    // database order already, and the tree has nothing to leave out.
    bool walkChain = !idx || idx->Bounds().inside(ctx.visible);
    if (!walkChain) {
        idx->QueryBoxes(ctx.visible, cands);
        std::sort(cands.begin(), cands.end(),
                  [](const std::pair<StoredElement*, Box>& a, const std::pair<StoredElement*, Box>& b) {
                      return a.first->serial < b.first->serial;
                  });
    }
    // Calls f(element, box) for each visible element in database order.
    auto each = [&](auto&& f) {
        if (!walkChain) {
            for (auto& c : cands)
                if (ctx.Shown(c.first->rec)) f(c.first, c.second);
            return;
        }
        for (StoredElement* e = ctx.db->first; e; e = e->next) {
            Box b;
            if (!ElementBox(e, b)) continue;
            b = IndexedBox(b);
            if (b.intersects(ctx.visible) && ctx.Shown(e->rec)) f(e, b);
        }
    };
    size_t many = walkChain ? static_cast<size_t>(ctx.db->count > 0 ? ctx.db->count : 0) : cands.size();
    int mode = 0;
    auto& ints = GlobalSettings().ints;
    auto it = ints.find("DrawDetail");
    if (it != ints.end()) mode = it->second;     // 1 stroke everything, 2 always set small ones as pixels
    bool lod = !ctx.xorMode && mode != 1 && (mode == 2 || many > kDetailLimit);
    auto strokeAll = [&]() {
        each([&](StoredElement* e, const Box&) { DrawStored(ctx, e); });
        ctx.stroker->Flush();
    };
    if (!lod) {
        strokeAll();
        return;
    }
    // A target that is itself a 32-bit DIB section without transforms takes
    // the pixels directly; any other gets an off-screen copy of its picture.
    HDC target = ctx.dc;
    PixelPlane plane{nullptr, 0, 0, 0, 0, 0};
    {
        DIBSECTION ds = {};
        HGDIOBJ cur = GetCurrentObject(target, OBJ_BITMAP);
        POINT vo = {1, 1}, wo = {1, 1};
        GetViewportOrgEx(target, &vo);
        GetWindowOrgEx(target, &wo);
        if (cur && GetObject(cur, sizeof ds, &ds) == sizeof ds && ds.dsBm.bmBits && ds.dsBm.bmBitsPixel == 32 &&
            ds.dsBmih.biCompression == BI_RGB && GetMapMode(target) == MM_TEXT &&
            GetGraphicsMode(target) == GM_COMPATIBLE && vo.x == 0 && vo.y == 0 && wo.x == 0 && wo.y == 0) {
            int bw = ds.dsBm.bmWidth, bh = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
            int l = std::max<int>(0, ctx.client.left), t = std::max<int>(0, ctx.client.top);
            int r = std::min<int>(bw, ctx.client.right), b = std::min<int>(bh, ctx.client.bottom);
            if (r > l && b > t) {
                // Which way the rows run is not told reliably: ask one pixel.
                int rowPixels = ds.dsBm.bmWidthBytes / 4;
                uint32_t* bits = static_cast<uint32_t*>(ds.dsBm.bmBits);
                uint32_t* asTop = bits + static_cast<size_t>(t) * rowPixels + l;
                uint32_t* asBottom = bits + static_cast<size_t>(bh - 1 - t) * rowPixels + l;
                uint32_t keepTop = *asTop, keepBottom = *asBottom;
                uint32_t probe = (keepTop ^ 0x5A5A5A) & 0xFFFFFF;
                if (probe == (keepBottom & 0xFFFFFF)) probe ^= 0x010101;
                SetPixelV(target, l, t, RGB((probe >> 16) & 255, (probe >> 8) & 255, probe & 255));
                GdiFlush();
                int stride = 0;
                uint32_t* top = nullptr;
                if ((*asTop & 0xFFFFFF) == probe) {
                    *asTop = keepTop;
                    top = bits;
                    stride = rowPixels;
                } else if ((*asBottom & 0xFFFFFF) == probe) {
                    *asBottom = keepBottom;
                    top = bits + static_cast<size_t>(bh - 1) * rowPixels;
                    stride = -rowPixels;
                }
                if (top) plane = PixelPlane{top + t * stride + l, r - l, b - t, l, t, stride};
            }
        }
    }
    HDC mem = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ oldBmp = nullptr;
    int W = ctx.client.right - ctx.client.left, H = ctx.client.bottom - ctx.client.top;
    if (!plane.px) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = W;
        bi.bmiHeader.biHeight = -H;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bmp = W > 0 && H > 0 ? CreateDIBSection(target, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
        if (!bmp) {
            strokeAll();
            return;
        }
        mem = CreateCompatibleDC(target);
        oldBmp = SelectObject(mem, bmp);
        SetViewportOrgEx(mem, -ctx.client.left, -ctx.client.top, nullptr);
        BitBlt(mem, ctx.client.left, ctx.client.top, W, H, target, ctx.client.left, ctx.client.top, SRCCOPY);
        SetBkMode(mem, TRANSPARENT);
        plane = PixelPlane{static_cast<uint32_t*>(bits), W, H, ctx.client.left, ctx.client.top, W};
    }
    GdiFlush();
    std::vector<StoredElement*> large;
    each([&](StoredElement* e, const Box& box) {
        double w = ctx.Px(box.r - box.l), h = ctx.Px(box.t - box.b);
        if (w < kSmallPx && h < kSmallPx) SetSmall(ctx, plane, e, box);
        else if (!FastLine(ctx, plane, e) && !FastSmallShape(ctx, plane, e)) large.push_back(e);
    });
    if (mem) ctx.dc = mem;
    ctx.plane = &plane;
    for (StoredElement* e : large) DrawStored(ctx, e);
    ctx.stroker->Flush();
    GdiFlush();
    ctx.plane = nullptr;
    ctx.dc = target;
    if (mem) {
        BitBlt(target, ctx.client.left, ctx.client.top, W, H, mem, ctx.client.left, ctx.client.top, SRCCOPY);
        SelectObject(mem, oldBmp);
        DeleteDC(mem);
        DeleteObject(bmp);
    }
}

}  // namespace cad
