#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "cadlib/dll/render_context.h"

namespace cad {

RenderContext::~RenderContext() {
    for (auto& kv : pens) DeleteObject(kv.second);
    for (auto& kv : brushes) DeleteObject(kv.second);
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
    uint16_t w;      // the bit words of a DbInfo sit at odd addresses
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
        return c;                                  // colour 0 erases: no colour mode applies
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
    case kElmLine: case kElmCircle: case kElmArc: case kElmEllipse: case kElmEllipticArc: {
        const uint8_t* b = reinterpret_cast<const uint8_t*>(&rec);
        st.lineType = b[13] % 32;
        if (p->lineWidthSize && info) {
            double mm = CadGetF64(info->widths, 8 * (b[14] % 16));
            double px = mm * pxPerMm;
            if (std::isfinite(px) && px >= 1.5) st.width = px > 64 ? 64 : static_cast<int>(px + 0.5);
        }
        break;
    }
    default:
        break;
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
        for (auto& kv : fonts) DeleteObject(kv.second);
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
            lf.lfWidth = std::max<LONG>(1, static_cast<LONG>(std::lround(
                static_cast<double>(tm.tmAveCharWidth) * width / sz.cx)));
            f = CreateFontIndirectA(&lf);
        }
    }
    if (fonts.size() >= 256) {
        for (auto& kv : fonts) DeleteObject(kv.second);
        fonts.clear();
        ++Fonts().generation;
    }
    fonts.emplace(key, f);
    return f;
}

}  // namespace cad
