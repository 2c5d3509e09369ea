// The state of one painting call: where world coordinates land in pixels,
// which pen table, line types and widths apply, which pages and layers show,
// and the pens, fonts and stroke batches it made.
#pragma once

#include <emmintrin.h>
#include <windows.h>

#include <climits>
#include <map>
#include <mutex>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "cadlib/core/database.h"
#include "cadlib/core/element_geometry.h"
#include "cadlib/core/search.h"
#include "cadlib/core/spatial_index.h"

namespace cad {

struct PxPt {
    double x, y;
};

// The pixel a coordinate falls on: floor(v + 0.5) as an int, the same for
// every value (out of range: INT_MIN, as the conversion of the floor gives),
// without the runtime's floor, which switches the x87 control word twice a
// call and took a fifth of a whole view's time.
inline int RoundPx(double v) {
    const double t = v + 0.5;
    int i = _mm_cvttsd_si32(_mm_set_sd(t));
    if (t < static_cast<double>(i) && i != INT_MIN) --i;
    return i;
}
// std::lround as the runtime gives it (halves away from zero; out of range:
// INT_MIN), without its switches of the x87 control word.
inline int RoundNear(double v) {
    const int i = _mm_cvttsd_si32(_mm_set_sd(v));
    if (i == INT_MIN) return INT_MIN;
    const double frac = v - static_cast<double>(i);
    if (frac >= 0.5) return i == INT_MAX ? INT_MIN : i + 1;
    if (frac <= -0.5) return i - 1;
    return i;
}

// How one element is stroked.
struct StrokeStyle {
    COLORREF colour;
    int width;     // pixels, 1 for thin
    int lineType;  // 0 solid
};

class Stroker;

// A glyph of a font of the machine as one-bit rows (GetGlyphOutline's
// GGO_BITMAP), placed relative to the pen position and the base line.
struct Glyph {
    int w = 0, h = 0, gx = 0, gy = 0, stride = 0;
    std::vector<uint8_t> bits;
};

// One write into the pixels of the picture, recorded so that bands of the
// picture can be filled side by side in the order the elements come.
struct PixelOp {
    enum : uint8_t { kLine, kFill, kRing, kGlyph };
    uint8_t kind, last;
    int32_t a, b, c, d;  // line x0 y0 x1 y1; fill x0 y0 x1 y1; ring cx cy r; glyph x y
    uint32_t colour;
    const Glyph* glyph;
    // First and last row the write touches.
    int Top() const;
    int Bottom() const;
};

// The pixels of an off-screen copy of the picture, written directly: thin
// strokes of large drawings are set here instead of going through GDI. With
// `record` set, the writes are appended there instead of made.
struct PixelPlane {
    uint32_t* px;      // pixel 0, 0
    int w, h, ox, oy;  // ox, oy: client position of pixel 0, 0
    int stride;        // pixels from one row to the next (negative: bottom-up)
    std::vector<PixelOp>* record = nullptr;
    bool Inside(int x, int y) const {
        return static_cast<unsigned>(x) - static_cast<unsigned>(ox) < static_cast<unsigned>(w) &&
               static_cast<unsigned>(y) - static_cast<unsigned>(oy) < static_cast<unsigned>(h);
    }
    void Set(int x, int y, uint32_t c) {
        if (record) {
            record->push_back(PixelOp{PixelOp::kLine, 1, x, y, x, y, c, nullptr});
            return;
        }
        x -= ox;
        y -= oy;
        if (static_cast<unsigned>(x) < static_cast<unsigned>(w) && static_cast<unsigned>(y) < static_cast<unsigned>(h))
            px[y * stride + x] = c;
    }
    // A line as GDI draws it with a thin pen (its last pixel left out unless
    // `last` asks for it).
    void Segment(int x0, int y0, int x1, int y1, uint32_t c, bool last) {
        if (record) {
            record->push_back(PixelOp{PixelOp::kLine, static_cast<uint8_t>(last), x0, y0, x1, y1, c, nullptr});
            return;
        }
        int dx = x1 > x0 ? x1 - x0 : x0 - x1, dy = -(y1 > y0 ? y1 - y0 : y0 - y1);
        int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
        if (Inside(x0, y0) && Inside(x1, y1)) {
            // Every pixel between lies in the plane: the same steps without
            // a test per pixel.
            uint32_t* at = px + (y0 - oy) * stride + (x0 - ox);
            const int stepY = sy * stride;
            // Most lines of a drawing run along an axis: a run of pixels.
            if (dy == 0 || dx == 0) {
                const int n = (dy == 0 ? dx : -dy) + (last ? 1 : 0), step = dy == 0 ? sx : stepY;
                for (int k = 0; k < n; ++k, at += step)
                    *at = c;
                return;
            }
            for (;;) {
                if (x0 == x1 && y0 == y1) {
                    if (last) *at = c;
                    return;
                }
                *at = c;
                int e2 = 2 * err;
                if (e2 >= dy) {
                    err += dy;
                    x0 += sx;
                    at += sx;
                }
                if (e2 <= dx) {
                    err += dx;
                    y0 += sy;
                    at += stepY;
                }
            }
        }
        // Rows run one way: once past the plane's rows nothing more shows.
        const int endRow = sy > 0 ? oy + h : oy - 1;
        for (;;) {
            if (x0 == x1 && y0 == y1) {
                if (last) Set(x0, y0, c);
                break;
            }
            if (y0 == endRow) break;
            Set(x0, y0, c);
            int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x0 += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y0 += sy;
            }
        }
    }
    // Every pixel of a rectangle, edges included.
    void Fill(int x0, int y0, int x1, int y1, uint32_t c);
    // A ring of radius r >= 1 by the midpoint rule.
    void Ring(int cx, int cy, int r, uint32_t c);
    // The ink pixels of a glyph with its cell's top left at x, y.
    void GlyphAt(int x, int y, const Glyph& g, uint32_t c);
    // Makes a recorded write.
    void Run(const PixelOp& op);
};
// Buffers kept from one painting to the next, up to `most` elements in all:
// the million writes of a whole view recorded into fresh memory pay its page
// faults (and the release of it) every time, more than the recording.
template <class T>
class KeptBuffers {
public:
    explicit KeptBuffers(size_t most) : most_(most) {}
    // An empty buffer, with room when one was kept.
    std::vector<T> Take() {
        std::lock_guard<std::mutex> lk(m_);
        if (free_.empty()) return std::vector<T>();
        std::vector<T> v = std::move(free_.back());
        free_.pop_back();
        kept_ -= v.capacity();
        return v;
    }
    // Takes the buffer back (emptied); what finds no room is freed. Never throws.
    void Put(std::vector<T>& v) {
        v.clear();
        std::lock_guard<std::mutex> lk(m_);
        if (v.capacity() && kept_ + v.capacity() <= most_) {
            try {
                free_.push_back(std::move(v));
                kept_ += free_.back().capacity();
                return;
            } catch (const std::bad_alloc&) {}
        }
        std::vector<T>().swap(v);
    }

private:
    std::mutex m_;
    std::vector<std::vector<T>> free_;
    size_t kept_ = 0, most_;
};
KeptBuffers<PixelOp>& KeptOps();
KeptBuffers<uint32_t>& KeptBins();

// Recorded writes made band by band: the rows of the plane are cut into
// bands, each write goes to the bands its rows touch, and the bands are
// filled side by side, each in the order the writes were added, so the
// picture is the one the writes made one after the other would give.
class BandPainter {
public:
    BandPainter(const PixelPlane& plane, size_t bands);
    ~BandPainter();
    BandPainter(const BandPainter&) = delete;
    BandPainter& operator=(const BandPainter&) = delete;
    // Writes to make; they must stay where they are until Run.
    void Add(const PixelOp* ops, size_t count);
    // Makes every write added so far.
    void Run();

private:
    struct Range {
        const PixelOp* ops;
        size_t count;
    };
    PixelPlane plane_;
    size_t bands_;
    int bandRows_;
    std::vector<Range> ranges_;
    std::vector<std::vector<uint32_t>> bins_;  // range r: the writes of band b from binStart_[r][b]
    std::vector<uint32_t> binStart_;           // range r, band b at r * (bands_ + 1) + b
};

inline uint32_t PlanePixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

// What a painting call records on a worker thread (no GDI at all) or on the
// painting thread (glyphs may be fetched through GDI); Off: it paints.
enum class RecordMode { Off, Worker, Main };

struct RenderContext {
    RenderContext() = default;
    // A copy of the view for recording on another thread: no GDI objects,
    // no stroker, no plane.
    RenderContext(const RenderContext& o, RecordMode mode);
    RenderContext(const RenderContext&) = delete;
    RenderContext& operator=(const RenderContext&) = delete;

    HDC dc = nullptr;
    DrawParam* p = nullptr;
    Database* db = nullptr;
    DbHeader* header = nullptr;
    DbInfo* info = nullptr;
    double s = 1, offX = 0, offY = 0, cx = 0, cy = 0, pxPerMm = 1;
    Box visible{};  // world rectangle in view, with a margin
    RECT client{};
    bool xorMode = false;
    COLORREF background = 0;
    int overrideColour = -1;  // colour index for everything, -1 own colours
    bool detailed = false;    // stroke everything (no level of detail)

    // Pages shown and their layer display bits.
    std::vector<const uint16_t*> layerBits;  // null: page hidden
    // Where each page's elements land in the block's view mode.
    ViewPlacements places;
    // While set, only the pages it marks show (one placement at a time).
    const std::vector<char>* pageGroup = nullptr;

    PxPt ToPx(double x, double y) const { return PxPt{cx + (x + offX) * s, cy - (y + offY) * s}; }
    double Px(double worldLength) const { return worldLength * s; }

    bool Shown(const ElementRecord& rec) const;
    // XOR drawing of a preview database (+0x008 with +0x024).
    bool RubberBand() const { return p->rubberBand == 1 && p->xorMode != 0; }
    COLORREF ColourOf(int index) const;  // pen table (colour 0 = background)
    COLORREF ElementColour(const ElementRecord& rec, const StoredElement* e) const;
    StrokeStyle StyleOf(const ElementRecord& rec, COLORREF colour) const;
    COLORREF Ink(COLORREF c) const { return xorMode ? (c ^ background) & 0xFFFFFF : c; }

    // GDI objects made during the call, freed by the destructor.
    HPEN Pen(COLORREF c, int width);
    HBRUSH Brush(COLORREF c);
    HFONT Font(const std::string& face, int height, int width, int escapement);
    std::map<std::pair<COLORREF, int>, HPEN> pens;
    std::map<COLORREF, HBRUSH> brushes;
    Stroker* stroker = nullptr;
    PixelPlane* plane = nullptr;  // set while painting into an off-screen copy
    // While recording, what the element in hand would need that recording
    // cannot give: the painting thread (glyphs not yet made), or GDI itself.
    RecordMode recording = RecordMode::Off;
    bool needsMain = false, needsGdi = false;
    // False when the current element cannot be recorded here because it
    // must draw through GDI; the need is noted either way.
    bool MayUseGdi() {
        needsGdi = true;
        return recording == RecordMode::Off;
    }
    // After GDI drew into the copy, before pixels are set directly again.
    void AfterGdi() {
        if (plane) GdiFlush();
    }
    ~RenderContext();
};

// Bumped whenever the font cache lets its fonts go (handles may come back).
uint32_t FontGeneration();
// The font cache lets its fonts go when it holds too many: only between
// painting calls, so that glyphs recorded during a call stay valid.
void TrimFontCache();
// A font the cache already made (worker threads only look), or null.
HFONT FindFont(const std::string& face, int height, int width, int escapement);
// The glyph of a character (its code page 932 code) of a font as cached, or
// null when it has not been made yet. Worker threads only look.
const Glyph* CachedGlyph(HFONT font, unsigned code);

// Batches polylines of one pen into few GDI calls. Thin pens take long
// PolyPolyline batches; wide pens go segment by segment, as a wide pen with a
// long PolyPolyline makes the path code of some GDI implementations crawl.
class Stroker {
public:
    explicit Stroker(RenderContext& ctx) : ctx_(ctx) {}
    ~Stroker() { Flush(); }
    void Begin(const StrokeStyle& st);
    // A polyline in world coordinates, dashed by the current line type.
    void World(const double* xy, int n, bool closed = false);
    // A polyline already in pixels (no dashes).
    void Pixels(const PxPt* pts, int n);
    void Flush();
    // Room for the points of one curve.
    std::vector<double>& Scratch() { return scratch_; }

private:
    void Emit(const PxPt* pts, int n);
    void EmitRuns(const PxPt* pts, int n);
    void Dashed(const std::vector<PxPt>& pts);
    RenderContext& ctx_;
    StrokeStyle style_{0, 1, 0};
    bool active_ = false;
    std::vector<POINT> pts_, run_;
    std::vector<PxPt> world_, dashPiece_;
    std::vector<DWORD> counts_;
    std::vector<double> scratch_;
};

// Painting of one plain element record (kinds 1-7, 50, 55, 60).
void DrawLeaf(RenderContext& ctx, const ElementRecord& rec, COLORREF colour);
// A stored element with its members or figure.
void DrawStored(RenderContext& ctx, const StoredElement* e);
void DrawText(RenderContext& ctx, const ElementRecord& rec, COLORREF colour);
// A 32-bit top-down DIB section of w x h pixels for work beside `dc`; null
// when it cannot be made (or is empty).
HBITMAP CreateWorkBitmap(HDC dc, int w, int h, void** bits);
void DrawRaster(RenderContext& ctx, const ElementRecord& rec, COLORREF colour);
// Frames, the origin and the last-input-point markers.
void DrawFrames(RenderContext& ctx);
void DrawMarkers(RenderContext& ctx, bool afterElements);
// The whole database, with level of detail for what is below a pixel or two.
void DrawDatabase(RenderContext& ctx);
// A dense view of the elements listed (in database order, with their index
// boxes; `test`: those whose box misses the view are left out); false when
// no off-screen copy could be made.
bool DrawDense(RenderContext& ctx, const std::vector<IndexEntry>& cands, bool test);

}  // namespace cad
