// Dense views: when many elements show at once (a drawing fitted into its
// window), those that cover less than a few pixels are set as pixels
// straight into an off-screen copy of the picture (or the target's own
// pixels) instead of being stroked one by one, and the larger ones are
// stroked over them. The writes are first recorded, piece by piece of the
// element list on the worker threads, then made band by band of the
// picture side by side; so the picture is the one a single thread writing
// element after element makes. Only what must go through GDI (wide pens,
// line-end marks, images, turned texts) is drawn on the painting thread, in
// its place in the order. A view of fewer elements (a zoomed one) is not
// recorded at all: each element writes in its turn on the painting thread.
#include <algorithm>
#include <cmath>

#include "cadlib/core/parallel.h"
#include "cadlib/core/text_box.h"
#include "cadlib/dll/render_context.h"

namespace cad {

namespace {

const double kSmallPx = 2.5;  // box size below which an element is set as pixels
const size_t kPiece = 4096;   // elements a worker records at a time

uint32_t Pixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

int Rnd(double v) { return RoundPx(v); }

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
    plane.Fill(Rnd(lt.x), Rnd(lt.y), Rnd(rb.x), Rnd(rb.y), c);
}

// A thin solid line straight into the plane, as a thin pen strokes it.
bool FastLine(RenderContext& ctx, PixelPlane& plane, const StoredElement* e) {
    const ElementRecord& r = e->rec;
    if (r.kind != kElmLine || ctx.p->termDraw) return false;
    if (ElementLineType(r) % 32 != 0) return false;
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
            if (pp[i] < 0) {
                if (u > t1) return true;
                if (u > t0) t0 = u;
            } else {
                if (u < t0) return true;
                if (u < t1) t1 = u;
            }
        }
    }
    int x0 = Rnd(p0.x + t0 * dx), y0 = Rnd(p0.y + t0 * dy), x1 = Rnd(p0.x + t1 * dx), y1 = Rnd(p0.y + t1 * dy);
    uint32_t c = Pixel(colour);
    if (x0 == x1 && y0 == y1)
        plane.Set(x0, y0, c);  // a line of no length still shows
    else
        plane.Segment(x0, y0, x1, y1, c, t1 < 1);
    return true;
}

// A small thin circle (a ring of a few pixels) or a text too small to read
// (a stroke along its middle) straight into the plane.
bool FastSmallShape(RenderContext& ctx, PixelPlane& plane, const StoredElement* e) {
    const ElementRecord& r = e->rec;
    if (r.kind == kElmCircle) {
        if (ElementLineType(r) % 32 != 0) return false;
        COLORREF colour = ctx.ElementColour(r, e);
        if (ctx.StyleOf(r, colour).width > 1) return false;
        double rpx = ctx.Px(std::fabs(CadGetF64(&r, kOffRadius)));
        if (!(rpx < 8)) return false;
        PxPt c = ctx.ToPx(CadGetF64(&r, kOffP1X), CadGetF64(&r, kOffP1Y));
        int cx = Rnd(c.x), cy = Rnd(c.y), rad = Rnd(rpx);
        uint32_t px = Pixel(colour);
        if (rad < 1)
            plane.Set(cx, cy, px);
        else
            plane.Ring(cx, cy, rad, px);
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

// The pixels of the target when it is a 32-bit DIB section without
// transforms (null px otherwise).
PixelPlane TargetPixels(RenderContext& ctx, HDC target) {
    PixelPlane plane{nullptr, 0, 0, 0, 0, 0};
    DIBSECTION ds = {};
    HGDIOBJ cur = GetCurrentObject(target, OBJ_BITMAP);
    POINT vo = {1, 1}, wo = {1, 1};
    GetViewportOrgEx(target, &vo);
    GetWindowOrgEx(target, &wo);
    if (!cur || GetObject(cur, sizeof ds, &ds) != sizeof ds || !ds.dsBm.bmBits || ds.dsBm.bmBitsPixel != 32 ||
        ds.dsBmih.biCompression != BI_RGB || GetMapMode(target) != MM_TEXT ||
        GetGraphicsMode(target) != GM_COMPATIBLE || vo.x != 0 || vo.y != 0 || wo.x != 0 || wo.y != 0)
        return plane;
    int bw = ds.dsBm.bmWidth, bh = ds.dsBm.bmHeight < 0 ? -ds.dsBm.bmHeight : ds.dsBm.bmHeight;
    int l = std::max<int>(0, ctx.client.left), t = std::max<int>(0, ctx.client.top);
    int r = std::min<int>(bw, ctx.client.right), b = std::min<int>(bh, ctx.client.bottom);
    if (r <= l || b <= t) return plane;
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
    return plane;
}

// The bands a picture is filled in: a few per thread, so that a band full
// of drawing does not keep the others waiting.
size_t BandsFor(const PixelPlane& plane, bool worth) {
    size_t threads = worth ? WorkerCount() : 1;
    return threads > 1 ? std::min<size_t>(static_cast<size_t>(plane.h), threads * 3) : 1;
}

// Views of fewer elements are painted sooner on this thread alone (a zoomed
// view of 12,000 elements was, in the measurements of the benchmark).
const size_t kWorthThreads = 65536;
// Below this many, the small ones are not recorded: each writes its pixels
// in its turn, which is the picture recording makes.
const size_t kRecordFrom = kWorthThreads / 4;
// From this many larger elements on (a zoomed view holds thousands of
// circles, arcs and texts), they are recorded side by side, in pieces of
// kLargePiece, and their writes made band by band.
const size_t kLargeInParallel = 1024;
const size_t kLargePiece = 256;

// A context that records an element's writes into `ops` instead of making
// them: on a worker thread, or on the painting thread.
struct Recorder {
    RenderContext ctx;
    Stroker stroker;
    PixelPlane plane;
    Recorder(RenderContext& view, const PixelPlane& target, std::vector<PixelOp>* ops, RecordMode mode)
        : ctx(view, mode), stroker(ctx), plane(target) {
        plane.record = ops;
        ctx.stroker = &stroker;
        ctx.plane = &plane;
    }
    // Records one element; false (its writes taken back) when it needs more.
    bool Element(StoredElement* e, std::vector<PixelOp>& ops) {
        size_t begin = ops.size();
        ctx.needsMain = ctx.needsGdi = false;
        DrawStored(ctx, e);
        stroker.Flush();
        if (!ctx.needsGdi && !ctx.needsMain) return true;
        ops.resize(begin);
        return false;
    }
};

// The larger elements, stroked over the small ones in their order: recorded
// on the worker threads where they can be (texts only with the fonts and
// glyphs made already), the rest on the painting thread (which makes the
// glyphs), and what needs GDI drawn there in its turn.
void DrawLarge(RenderContext& ctx, PixelPlane& plane, const std::vector<StoredElement*>& large, BandPainter& bands,
               bool parallel) {
    enum State : uint8_t { kRecorded, kMain, kGdi };
    struct Piece {
        std::vector<PixelOp> ops;
        std::vector<uint32_t> ends;  // end of each element's writes
    };
    const size_t count = large.size();
    // Large elements cost tens of writes each: small pieces keep every thread busy.
    const size_t size = parallel ? kLargePiece : kPiece;
    std::vector<Piece> pieces((count + size - 1) / size);
    std::vector<uint8_t> state(count, kRecorded);
    ParallelFor(
        pieces.size(),
        [&](size_t p) {
            Piece& piece = pieces[p];
            piece.ops = KeptOps().Take();
            Recorder worker(ctx, plane, &piece.ops, RecordMode::Worker);
            for (size_t i = p * size, end = std::min(count, i + size); i < end; ++i) {
                if (!worker.Element(large[i], piece.ops)) state[i] = worker.ctx.needsGdi ? kGdi : kMain;
                piece.ends.push_back(static_cast<uint32_t>(piece.ops.size()));
            }
        },
        parallel);
    // What the workers could not record, on this thread.
    std::vector<PixelOp> mainOps;
    std::vector<std::pair<uint32_t, uint32_t>> mainRange(count);
    {
        Recorder main(ctx, plane, &mainOps, RecordMode::Main);
        for (size_t i = 0; i < count; ++i) {
            if (state[i] != kMain) continue;
            size_t begin = mainOps.size();
            if (!main.Element(large[i], mainOps)) state[i] = kGdi;
            mainRange[i] = {static_cast<uint32_t>(begin), static_cast<uint32_t>(mainOps.size())};
        }
    }
    // The writes in their order; elements drawn through GDI in their turn.
    for (size_t i = 0; i < count;) {
        if (state[i] == kGdi) {
            bands.Run();
            DrawStored(ctx, large[i]);
            ctx.stroker->Flush();
            GdiFlush();
            ++i;
            continue;
        }
        if (state[i] == kMain) {
            bands.Add(mainOps.data() + mainRange[i].first, mainRange[i].second - mainRange[i].first);
            ++i;
            continue;
        }
        // A run of recorded elements of one piece is one range of writes.
        const size_t p = i / size, pieceEnd = std::min(count, (p + 1) * size);
        const Piece& piece = pieces[p];
        size_t j = i;
        while (j < pieceEnd && state[j] == kRecorded)
            ++j;
        uint32_t begin = i % size ? piece.ends[i % size - 1] : 0;
        uint32_t end = piece.ends[(j - 1) % size];
        bands.Add(piece.ops.data() + begin, end - begin);
        i = j;
    }
    bands.Run();
    for (Piece& piece : pieces)
        KeptOps().Put(piece.ops);
}

}  // namespace

bool DrawDense(RenderContext& ctx, const std::vector<IndexEntry>& cands, bool test) {
    // A target that is itself a 32-bit DIB section without transforms takes
    // the pixels directly; any other gets an off-screen copy of its picture.
    HDC target = ctx.dc;
    PixelPlane plane = TargetPixels(ctx, target);
    HDC mem = nullptr;
    HBITMAP bmp = nullptr;
    HGDIOBJ oldBmp = nullptr;
    int W = ctx.client.right - ctx.client.left, H = ctx.client.bottom - ctx.client.top;
    if (!plane.px) {
        void* bits = nullptr;
        bmp = CreateWorkBitmap(target, W, H, &bits);
        if (!bmp) return false;
        mem = CreateCompatibleDC(target);
        oldBmp = SelectObject(mem, bmp);
        SetViewportOrgEx(mem, -ctx.client.left, -ctx.client.top, nullptr);
        BitBlt(mem, ctx.client.left, ctx.client.top, W, H, target, ctx.client.left, ctx.client.top, SRCCOPY);
        SetBkMode(mem, TRANSPARENT);
        plane = PixelPlane{static_cast<uint32_t*>(bits), W, H, ctx.client.left, ctx.client.top, W};
    }
    GdiFlush();
    // Small and thin elements recorded piece by piece; the larger ones listed.
    struct Piece {
        std::vector<PixelOp> ops;
        std::vector<StoredElement*> large;
    };
    const size_t count = cands.size();
    const bool direct = count < kRecordFrom;
    std::vector<Piece> pieces((count + kPiece - 1) / kPiece);
    ParallelFor(
        pieces.size(),
        [&](size_t p) {
            Piece& piece = pieces[p];
            // About one write an element: one block, not a list grown write
            // by write while the other threads wait at the heap.
            if (!direct) {
                piece.ops = KeptOps().Take();
                piece.ops.reserve(std::min(count - p * kPiece, kPiece) + 64);
            }
            PixelPlane rec = plane;
            rec.record = direct ? nullptr : &piece.ops;
            for (size_t i = p * kPiece, end = std::min(count, i + kPiece); i < end; ++i) {
                StoredElement* e = cands[i].element;
                if (!e) continue;
                const Box box = BoxOfEntry(cands[i]);
                if ((test && !box.intersects(ctx.visible)) || !ctx.Shown(e->rec)) continue;
                double w = ctx.Px(box.r - box.l), h = ctx.Px(box.t - box.b);
                if (w < kSmallPx && h < kSmallPx)
                    SetSmall(ctx, rec, e, box);
                else if (!FastLine(ctx, rec, e) && !FastSmallShape(ctx, rec, e))
                    piece.large.push_back(e);
            }
        },
        count >= kWorthThreads);
    BandPainter bands(plane, BandsFor(plane, count >= kWorthThreads));
    std::vector<StoredElement*> large;
    for (Piece& piece : pieces) {
        bands.Add(piece.ops.data(), piece.ops.size());
        large.insert(large.end(), piece.large.begin(), piece.large.end());
    }
    bands.Run();
    for (Piece& piece : pieces)
        KeptOps().Put(piece.ops);
    if (mem) ctx.dc = mem;
    ctx.plane = &plane;
    const bool parallel = large.size() >= kLargeInParallel && WorkerCount() > 1;
    if (!direct) {
        DrawLarge(ctx, plane, large, bands, parallel);
    } else if (parallel) {
        BandPainter largeBands(plane, BandsFor(plane, true));
        DrawLarge(ctx, plane, large, largeBands, true);
    } else {
        for (StoredElement* e : large) {
            ctx.needsGdi = false;
            DrawStored(ctx, e);
            ctx.stroker->Flush();
            if (ctx.needsGdi) GdiFlush();
        }
    }
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
    return true;
}

}  // namespace cad
