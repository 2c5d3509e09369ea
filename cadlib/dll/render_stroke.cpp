#include <algorithm>
#include <cmath>

#include "cadlib/dll/render_context.h"

namespace cad {

namespace {
const size_t kThinBatch = 8192;  // points per PolyPolyline with a thin pen
const double kFar = 30000;       // pixels beyond which GDI coordinates are clipped

// Clip a pixel segment to a generous frame (GDI takes 32-bit coordinates but
// some drivers misbehave far outside the surface).
bool ClipSegment(PxPt& a, PxPt& b, const RECT& r) {
    double l = r.left - 64, t = r.top - 64, rr = r.right + 64, bb = r.bottom + 64;
    double t0 = 0, t1 = 1, dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - l, rr - a.x, a.y - t, bb - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
        } else {
            double u = q[i] / p[i];
            if (p[i] < 0) {
                if (u > t1) return false;
                if (u > t0) t0 = u;
            } else {
                if (u < t0) return false;
                if (u < t1) t1 = u;
            }
        }
    }
    PxPt na{a.x + t0 * dx, a.y + t0 * dy}, nb{a.x + t1 * dx, a.y + t1 * dy};
    a = na;
    b = nb;
    return true;
}

POINT Round(const PxPt& p) { return POINT{RoundPx(p.x), RoundPx(p.y)}; }
}  // namespace

void Stroker::Begin(const StrokeStyle& st) {
    if (active_ && st.colour == style_.colour && st.width == style_.width) {
        style_.lineType = st.lineType;
        return;
    }
    Flush();
    style_ = st;
    active_ = true;
}

void Stroker::Flush() {
    if (!counts_.empty() && ctx_.MayUseGdi()) {
        HGDIOBJ old = SelectObject(ctx_.dc, ctx_.Pen(ctx_.Ink(style_.colour), style_.width));
        PolyPolyline(ctx_.dc, pts_.data(), counts_.data(), static_cast<DWORD>(counts_.size()));
        SelectObject(ctx_.dc, old);
    }
    pts_.clear();
    counts_.clear();
}

void Stroker::Emit(const PxPt* in, int n) {
    if (n < 2) return;
    // An element that shrinks into one pixel still shows as that pixel (GDI
    // leaves out the last pixel of a line, so a line of no length is nothing).
    POINT first = Round(in[0]);
    bool onePixel = std::fabs(in[0].x) < kFar && std::fabs(in[0].y) < kFar;
    for (int i = 1; i < n && onePixel; ++i) {
        POINT q = Round(in[i]);
        onePixel = std::fabs(in[i].x) < kFar && std::fabs(in[i].y) < kFar && q.x == first.x && q.y == first.y;
    }
    if (onePixel) {
        PxPt dot[2] = {{static_cast<double>(first.x), static_cast<double>(first.y)},
                       {static_cast<double>(first.x + 1), static_cast<double>(first.y)}};
        in = dot;
        n = 2;
        EmitRuns(in, n);
        return;
    }
    EmitRuns(in, n);
}

void Stroker::EmitRuns(const PxPt* in, int n) {
    // Clip piece by piece; runs that stay inside go out as one polyline.
    std::vector<POINT>& run = run_;
    run.clear();
    auto endRun = [&]() {
        if (run.size() < 2) {
            run.clear();
            return;
        }
        if (ctx_.plane && style_.width <= 1) {
            uint32_t c = PlanePixel(style_.colour);
            for (size_t i = 1; i < run.size(); ++i)
                ctx_.plane->Segment(run[i - 1].x, run[i - 1].y, run[i].x, run[i].y, c, false);
        } else if (style_.width > 1) {
            if (!ctx_.MayUseGdi()) {
                run.clear();
                return;
            }
            // Wide pens: one short call per segment.
            HGDIOBJ old = SelectObject(ctx_.dc, ctx_.Pen(ctx_.Ink(style_.colour), style_.width));
            MoveToEx(ctx_.dc, run[0].x, run[0].y, nullptr);
            for (size_t i = 1; i < run.size(); ++i) {
                LineTo(ctx_.dc, run[i].x, run[i].y);
            }
            SelectObject(ctx_.dc, old);
            ctx_.AfterGdi();
        } else {
            pts_.insert(pts_.end(), run.begin(), run.end());
            counts_.push_back(static_cast<DWORD>(run.size()));
            if (pts_.size() >= kThinBatch) Flush();
        }
        run.clear();
    };
    const RECT& r = ctx_.client;
    for (int i = 0; i + 1 < n; ++i) {
        PxPt a = in[i], b = in[i + 1];
        bool inside = std::fabs(a.x) < kFar && std::fabs(a.y) < kFar && std::fabs(b.x) < kFar && std::fabs(b.y) < kFar;
        bool clipped = false;
        if (!inside || !(a.x >= r.left - 64 && a.x <= r.right + 64 && a.y >= r.top - 64 && a.y <= r.bottom + 64 &&
                         b.x >= r.left - 64 && b.x <= r.right + 64 && b.y >= r.top - 64 && b.y <= r.bottom + 64)) {
            if (!ClipSegment(a, b, r)) {
                endRun();
                continue;
            }
            clipped = true;
        }
        POINT pa = Round(a), pb = Round(b);
        if (run.empty() || run.back().x != pa.x || run.back().y != pa.y || clipped) {
            endRun();
            run.push_back(pa);
        }
        run.push_back(pb);
    }
    endRun();
}

void Stroker::Pixels(const PxPt* pts, int n) { Emit(pts, n); }

void Stroker::Dashed(const std::vector<PxPt>& pts) {
    const LineTypeEntry* lt = ctx_.info && style_.lineType > 0 ? &ctx_.info->lineTypes[style_.lineType] : nullptr;
    int nseg = lt ? std::min(16, std::max(0, static_cast<int>(lt->segments))) : 0;
    double dash[16], period = 0;
    for (int i = 0; i < nseg; ++i) {
        dash[i] = std::fabs(lt->lengths[i]) * ctx_.pxPerMm;
        if (!std::isfinite(dash[i])) dash[i] = 0;
        period += dash[i];
    }
    double total = 0;
    for (size_t i = 0; i + 1 < pts.size(); ++i)
        total += std::hypot(pts[i + 1].x - pts[i].x, pts[i + 1].y - pts[i].y);
    // Patterns finer than a few pixels read as a solid line; very many dashes
    // on one element are not worth their calls.
    if (nseg < 2 || period < 4 || total / period > 20000) {
        Emit(pts.data(), static_cast<int>(pts.size()));
        return;
    }
    int idx = 0;
    double left = dash[0];
    std::vector<PxPt> piece;
    bool on = true;
    piece.push_back(pts[0]);
    for (size_t i = 0; i + 1 < pts.size(); ++i) {
        PxPt a = pts[i], b = pts[i + 1];
        double len = std::hypot(b.x - a.x, b.y - a.y), pos = 0;
        while (len - pos > left) {
            pos += left;
            PxPt m{a.x + (b.x - a.x) * pos / len, a.y + (b.y - a.y) * pos / len};
            if (on) {
                piece.push_back(m);
                Emit(piece.data(), static_cast<int>(piece.size()));
                piece.clear();
            } else {
                piece.clear();
                piece.push_back(m);
            }
            on = !on;
            idx = (idx + 1) % nseg;
            left = dash[idx];
        }
        left -= len - pos;
        if (on) piece.push_back(b);
    }
    if (on && piece.size() >= 2) Emit(piece.data(), static_cast<int>(piece.size()));
}

void Stroker::World(const double* xy, int n, bool closed) {
    if (n < 2) return;
    std::vector<PxPt>& pts = world_;
    pts.clear();
    for (int i = 0; i < n; ++i)
        pts.push_back(ctx_.ToPx(xy[2 * i], xy[2 * i + 1]));
    if (closed) pts.push_back(pts[0]);
    if (style_.lineType > 0)
        Dashed(pts);
    else
        Emit(pts.data(), static_cast<int>(pts.size()));
}

}  // namespace cad
