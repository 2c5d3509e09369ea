#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cadlib/dll/render_context.h"

namespace cad {

int PixelOp::Top() const {
    switch (kind) {
    case kLine: return std::min(b, d);
    case kFill: return b;
    case kRing: return b - c;
    default: return b;
    }
}

int PixelOp::Bottom() const {
    switch (kind) {
    case kLine: return std::max(b, d);
    case kFill: return d;
    case kRing: return b + c;
    default: return b + (glyph ? glyph->h : 0) - 1;
    }
}

void PixelPlane::Fill(int x0, int y0, int x1, int y1, uint32_t c) {
    if (record) {
        record->push_back(PixelOp{PixelOp::kFill, 0, x0, y0, x1, y1, c, nullptr});
        return;
    }
    // Only the rows and columns of this plane.
    int top = std::max(y0, oy), bottom = std::min(y1, oy + h - 1);
    int left = std::max(x0, ox), right = std::min(x1, ox + w - 1);
    for (int y = top; y <= bottom; ++y) {
        uint32_t* row = px + (y - oy) * stride - ox;
        for (int x = left; x <= right; ++x)
            row[x] = c;
    }
}

void PixelPlane::Ring(int cx, int cy, int rad, uint32_t c) {
    if (record) {
        record->push_back(PixelOp{PixelOp::kRing, 0, cx, cy, rad, 0, c, nullptr});
        return;
    }
    // Midpoint circle: eight symmetric points per step.
    int x = rad, y = 0, err = 1 - rad;
    while (x >= y) {
        const int pts[8][2] = {{x, y}, {y, x}, {-y, x}, {-x, y}, {-x, -y}, {-y, -x}, {y, -x}, {x, -y}};
        for (auto& q : pts)
            Set(cx + q[0], cy + q[1], c);
        ++y;
        if (err < 0) {
            err += 2 * y + 1;
        } else {
            --x;
            err += 2 * (y - x) + 1;
        }
    }
}

void PixelPlane::GlyphAt(int x, int y, const Glyph& g, uint32_t c) {
    if (record) {
        record->push_back(PixelOp{PixelOp::kGlyph, 0, x, y, 0, 0, c, &g});
        return;
    }
    // Only the rows and columns of this plane.
    int r0 = std::max(0, oy - y), r1 = std::min(g.h, oy + h - y);
    int c0 = std::max(0, ox - x), c1 = std::min(g.w, ox + w - x);
    for (int r = r0; r < r1; ++r) {
        const uint8_t* row = g.bits.data() + r * g.stride;
        uint32_t* out = px + (y + r - oy) * stride + (x - ox);
        for (int col = c0; col < c1; ++col) {
            const uint8_t bits = row[col >> 3];
            if (!bits) {
                col |= 7;  // the rest of an empty byte
                continue;
            }
            if ((bits >> (7 - (col & 7))) & 1) out[col] = c;
        }
    }
}

void PixelPlane::Run(const PixelOp& op) {
    switch (op.kind) {
    case PixelOp::kLine: Segment(op.a, op.b, op.c, op.d, op.colour, op.last != 0); break;
    case PixelOp::kFill: Fill(op.a, op.b, op.c, op.d, op.colour); break;
    case PixelOp::kRing: Ring(op.a, op.b, op.c, op.colour); break;
    default: GlyphAt(op.a, op.b, *op.glyph, op.colour); break;
    }
}

RenderContext::RenderContext(const RenderContext& o, RecordMode mode)
    : dc(o.dc),
      p(o.p),
      db(o.db),
      header(o.header),
      info(o.info),
      s(o.s),
      offX(o.offX),
      offY(o.offY),
      cx(o.cx),
      cy(o.cy),
      pxPerMm(o.pxPerMm),
      visible(o.visible),
      client(o.client),
      xorMode(o.xorMode),
      background(o.background),
      overrideColour(o.overrideColour),
      detailed(o.detailed),
      layerBits(o.layerBits),
      places(o.places),
      pageGroup(o.pageGroup),
      recording(mode) {}

RenderContext::~RenderContext() {
    for (auto& kv : pens)
        DeleteObject(kv.second);
    for (auto& kv : brushes)
        DeleteObject(kv.second);
}

bool RenderContext::Shown(const ElementRecord& rec) const {
    int page = rec.page;
    if (p->pageOnly && page != p->page) return false;
    if (p->layerOnly && rec.layer != p->layer) return false;
    if (page < 0 || page > 256) return false;
    if (pageGroup && !(*pageGroup)[page]) return false;
    // Overlays and rubber bands show what they hold.
    if (p->overlayDb || RubberBand()) return true;
    const uint16_t* bits = layerBits[page];
    if (!bits) return false;
    if (rec.layer > 1023) return true;
    uint16_t w;  // the bit words of a DbInfo sit at odd addresses
    memcpy(&w, bits + rec.layer / 16, sizeof w);
    return (w >> (rec.layer % 16)) & 1;
}

COLORREF RenderContext::ColourOf(int index) const {
    if (index == 0 || !info) return background;
    if (index < 0 || index > 256) index = 256;
    const ColourEntry& c = info->colours[index];
    int r = c.red, g = c.green, b = c.blue;
    return RGB(r & 255, g & 255, b & 255);
}

COLORREF RenderContext::ElementColour(const ElementRecord& rec, const StoredElement* e) const {
    COLORREF c;
    if (overrideColour >= 0) {
        c = ColourOf(overrideColour);
        return c;  // colour 0 erases: no colour mode applies
    }
    if (e && (e->selection & 1)) {
        int sel = static_cast<int>(e->selColour);
        int hl = GlobalSettings().highlightColour;
        c = sel >= 1 && sel <= 256 ? ColourOf(sel) : hl >= 1 && hl <= 256 ? ColourOf(hl) : RGB(255, 140, 0);
        return c;
    }
    if (rec.colour == 0) return background;
    c = ColourOf(rec.colour);
    if (p->colourMode == 1) {
        int lum = (GetRValue(background) * 3 + GetGValue(background) * 6 + GetBValue(background)) / 10;
        c = lum > 128 ? RGB(0, 0, 0) : RGB(255, 255, 255);
    } else if (p->colourMode == 2) {
        int lum = (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c)) / 10;
        c = RGB(lum, lum, lum);
    }
    return c;
}

StrokeStyle RenderContext::StyleOf(const ElementRecord& rec, COLORREF colour) const {
    StrokeStyle st{colour, 1, 0};
    switch (rec.kind) {
    case kElmLine:
    case kElmCircle:
    case kElmArc:
    case kElmEllipse:
    case kElmEllipticArc: {
        st.lineType = ElementLineType(rec) % 32;
        if (p->lineWidthSize && info) {
            double mm = CadGetF64(info->widths, 8 * (ElementLineWidth(rec) % 16));
            double px = mm * pxPerMm;
            if (std::isfinite(px) && px >= 1.5) st.width = px > 64 ? 64 : static_cast<int>(px + 0.5);
        }
        break;
    }
    default: break;
    }
    return st;
}

HPEN RenderContext::Pen(COLORREF c, int width) {
    auto key = std::make_pair(c, width);
    auto it = pens.find(key);
    if (it != pens.end()) return it->second;
    HPEN pen;
    if (width <= 1) {
        pen = CreatePen(PS_SOLID, 1, c);
    } else {
        LOGBRUSH lb{BS_SOLID, c, 0};
        pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND, width, &lb, 0, nullptr);
    }
    pens.emplace(key, pen);
    return pen;
}

HBRUSH RenderContext::Brush(COLORREF c) {
    auto it = brushes.find(c);
    if (it != brushes.end()) return it->second;
    HBRUSH b = CreateSolidBrush(c);
    brushes.emplace(c, b);
    return b;
}

namespace {
// Fonts outlive a painting call: a view shows the same few sizes again and
// again, and making a font (and measuring it) costs more than drawing with it.
struct FontCache {
    std::map<std::tuple<std::string, int, int, int>, HFONT> fonts;
    uint32_t generation = 1;
    ~FontCache() {
        for (auto& kv : fonts)
            DeleteObject(kv.second);
    }
};
FontCache& Fonts() {
    static FontCache cache;
    return cache;
}
}  // namespace

uint32_t FontGeneration() { return Fonts().generation; }

HFONT RenderContext::Font(const std::string& face, int height, int width, int escapement) {
    auto& fonts = Fonts().fonts;
    auto key = std::make_tuple(face, height, width, escapement);
    auto it = fonts.find(key);
    if (it != fonts.end()) return it->second;
    LOGFONTA lf = {};
    lf.lfHeight = -height;
    lf.lfEscapement = lf.lfOrientation = escapement;
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = SHIFTJIS_CHARSET;
    lf.lfOutPrecision = OUT_TT_ONLY_PRECIS;
    // Plain pixels: drawing the same text in the background colour, or in
    // XOR a second time, must take it away completely.
    lf.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
    HFONT f = CreateFontIndirectA(&lf);
    // The record's width is per half-width character; fonts differ in how
    // wide their own half-width characters are, so scale from the natural one.
    if (f && width > 0) {
        HGDIOBJ old = SelectObject(dc, f);
        TEXTMETRICA tm = {};
        GetTextMetricsA(dc, &tm);
        SIZE sz = {};
        GetTextExtentPoint32A(dc, "0", 1, &sz);
        SelectObject(dc, old);
        if (sz.cx > 0 && sz.cx != width) {
            DeleteObject(f);
            lf.lfWidth = std::max<LONG>(1, RoundNear(static_cast<double>(tm.tmAveCharWidth) * width / sz.cx));
            f = CreateFontIndirectA(&lf);
        }
    }
    fonts.emplace(key, f);
    return f;
}

HFONT FindFont(const std::string& face, int height, int width, int escapement) {
    auto& fonts = Fonts().fonts;
    auto it = fonts.find(std::make_tuple(face, height, width, escapement));
    return it == fonts.end() ? nullptr : it->second;
}

void TrimFontCache() {
    auto& fonts = Fonts().fonts;
    if (fonts.size() < 256) return;
    for (auto& kv : fonts)
        DeleteObject(kv.second);
    fonts.clear();
    ++Fonts().generation;
}

HBITMAP CreateWorkBitmap(HDC dc, int w, int h, void** bits) {
    *bits = nullptr;
    if (w <= 0 || h <= 0) return nullptr;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    return CreateDIBSection(dc, &bi, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace cad
