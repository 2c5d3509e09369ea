// The state of one painting call: where world coordinates land in pixels,
// which pen table, line types and widths apply, which pages and layers show,
// and the pens, fonts and stroke batches it made.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "cadlib/core/database.h"
#include "cadlib/core/element_geometry.h"
#include "cadlib/core/search.h"

namespace cad {

struct PxPt {
    double x, y;
};

// How one element is stroked.
struct StrokeStyle {
    COLORREF colour;
    int width;              // pixels, 1 for thin
    int lineType;           // 0 solid
};

class Stroker;

// The pixels of an off-screen copy of the picture, written directly: thin
// strokes of large drawings are set here instead of going through GDI.
struct PixelPlane {
    uint32_t* px;                    // pixel 0, 0
    int w, h, ox, oy;                // ox, oy: client position of pixel 0, 0
    int stride;                      // pixels from one row to the next (negative: bottom-up)
    void Set(int x, int y, uint32_t c) {
        x -= ox;
        y -= oy;
        if (static_cast<unsigned>(x) < static_cast<unsigned>(w) && static_cast<unsigned>(y) < static_cast<unsigned>(h))
            px[y * stride + x] = c;
    }
    // A line as GDI draws it with a thin pen (its last pixel left out unless
    // `last` asks for it).
    void Segment(int x0, int y0, int x1, int y1, uint32_t c, bool last) {
        int dx = x1 > x0 ? x1 - x0 : x0 - x1, dy = -(y1 > y0 ? y1 - y0 : y0 - y1);
        int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1, err = dx + dy;
        for (;;) {
            if (x0 == x1 && y0 == y1) {
                if (last) Set(x0, y0, c);
                break;
            }
            Set(x0, y0, c);
            int e2 = 2 * err;
            if (e2 >= dy) { err += dy; x0 += sx; }
            if (e2 <= dx) { err += dx; y0 += sy; }
        }
    }
};
inline uint32_t PlanePixel(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

struct RenderContext {
    HDC dc = nullptr;
    DrawParam* p = nullptr;
    Database* db = nullptr;
    DbHeader* header = nullptr;
    DbInfo* info = nullptr;
    double s = 1, offX = 0, offY = 0, cx = 0, cy = 0, pxPerMm = 1;
    Box visible{};          // world rectangle in view, with a margin
    RECT client{};
    bool xorMode = false;
    COLORREF background = 0;
    int overrideColour = -1;   // colour index for everything, -1 own colours
    bool detailed = false;     // stroke everything (no level of detail)

    // Pages shown and their layer display bits.
    std::vector<const uint16_t*> layerBits;   // null: page hidden
    // Where each page's elements land in the block's view mode.
    ViewPlacements places;
    // While set, only the pages it marks show (one placement at a time).
    const std::vector<char>* pageGroup = nullptr;

    PxPt ToPx(double x, double y) const { return PxPt{cx + (x + offX) * s, cy - (y + offY) * s}; }
    double Px(double worldLength) const { return worldLength * s; }

    bool Shown(const ElementRecord& rec) const;
    // XOR drawing of a preview database (+0x008 with +0x024).
    bool RubberBand() const { return p->rubberBand == 1 && p->xorMode != 0; }
    COLORREF ColourOf(int index) const;         // pen table (colour 0 = background)
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
    PixelPlane* plane = nullptr;       // set while painting into an off-screen copy
    // After GDI drew into the copy, before pixels are set directly again.
    void AfterGdi() { if (plane) GdiFlush(); }
    ~RenderContext();
};

// Bumped whenever the font cache lets its fonts go (handles may come back).
uint32_t FontGeneration();

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
};

// Painting of one plain element record (kinds 1-7, 50, 55, 60).
void DrawLeaf(RenderContext& ctx, const ElementRecord& rec, COLORREF colour);
// A stored element with its members or figure.
void DrawStored(RenderContext& ctx, const StoredElement* e);
void DrawText(RenderContext& ctx, const ElementRecord& rec, COLORREF colour);
void DrawRaster(RenderContext& ctx, const ElementRecord& rec, COLORREF colour);
// Frames, the origin and the last-input-point markers.
void DrawFrames(RenderContext& ctx);
void DrawMarkers(RenderContext& ctx, bool afterElements);
// The whole database, with level of detail for what is below a pixel or two.
void DrawDatabase(RenderContext& ctx);

}  // namespace cad
