// Texts through the fonts of the machine: each character placed at the
// advance its record gives (character width per byte plus spacing), rotated
// by the text angle. Texts too small to read are drawn as a stroke along
// their middle, which is what the eye sees of them anyway.
#include <cmath>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "cadlib/core/text_box.h"
#include "cadlib/dll/render_context.h"

namespace cad {

namespace {
const double kGreekBelow = 5.0;  // pixels of character height
const double kOutlineAbove = 4000.0;

// Glyph bitmaps of the fonts in use, for texts set straight into an
// off-screen copy of the picture: one text output call per text is by far
// the dearest thing of a dense view.
struct GlyphCache {
    uint32_t generation = 0;
    std::map<std::pair<HFONT, unsigned>, Glyph> glyphs;
    std::map<HFONT, int> descent;
};
GlyphCache& Glyphs() {
    static GlyphCache cache;
    if (cache.generation != FontGeneration()) {
        cache.glyphs.clear();
        cache.descent.clear();
        cache.generation = FontGeneration();
    }
    return cache;
}

// Selecting a font into a device context is dear: it happens only for a
// glyph not seen before.
struct FontSelection {
    HDC dc;
    HFONT font;
    HGDIOBJ old = nullptr;
    void Need() {
        if (!old) old = SelectObject(dc, font);
    }
    ~FontSelection() {
        if (old) SelectObject(dc, old);
    }
};

const Glyph& GlyphOf(FontSelection& sel, unsigned code, const char* mb, int mbLen) {
    GlyphCache& c = Glyphs();
    auto key = std::make_pair(sel.font, code);
    auto it = c.glyphs.find(key);
    if (it != c.glyphs.end()) return it->second;
    sel.Need();
    HDC dc = sel.dc;
    WCHAR ch = 0;
    MultiByteToWideChar(932, 0, mb, mbLen, &ch, 1);
    Glyph g;
    GLYPHMETRICS gm = {};
    const MAT2 identity = {{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    DWORD size = GetGlyphOutlineW(dc, static_cast<WCHAR>(ch), GGO_BITMAP, &gm, 0, nullptr, &identity);
    if (size != GDI_ERROR && size > 0 && size < (1u << 22)) {
        g.bits.resize(size);
        if (GetGlyphOutlineW(dc, static_cast<WCHAR>(ch), GGO_BITMAP, &gm, size, g.bits.data(), &identity) !=
            GDI_ERROR) {
            g.w = static_cast<int>(gm.gmBlackBoxX);
            g.h = static_cast<int>(gm.gmBlackBoxY);
            g.gx = gm.gmptGlyphOrigin.x;
            g.gy = gm.gmptGlyphOrigin.y;
            g.stride = (g.w + 31) / 32 * 4;
            if (static_cast<size_t>(g.stride) * g.h > g.bits.size()) g.w = g.h = 0;
        }
    }
    return c.glyphs.emplace(key, std::move(g)).first->second;
}

int DescentOf(FontSelection& sel) {
    GlyphCache& c = Glyphs();
    auto it = c.descent.find(sel.font);
    if (it != c.descent.end()) return it->second;
    sel.Need();
    TEXTMETRICA tm = {};
    GetTextMetricsA(sel.dc, &tm);
    c.descent.emplace(sel.font, tm.tmDescent);
    return tm.tmDescent;
}

// Upright text into the pixel plane, glyph by glyph at the record's advances.
// A worker thread only takes glyphs that are made already; it leaves a text
// with any other to the painting thread.
void SetText(RenderContext& ctx, HFONT font, const char* text, uint32_t n, const std::vector<INT>& dx, double x,
             double y, COLORREF colour) {
    const bool worker = ctx.recording == RecordMode::Worker;
    FontSelection sel{ctx.dc, font};
    int descent;
    if (worker) {
        GlyphCache& c = Glyphs();
        auto it = c.descent.find(font);
        if (it == c.descent.end()) {
            ctx.needsMain = true;
            return;
        }
        descent = it->second;
    } else {
        descent = DescentOf(sel);
    }
    int base = RoundNear(y) - descent;
    int pen = RoundNear(x);
    uint32_t c = PlanePixel(colour);
    for (uint32_t i = 0; i < n; ++i) {
        bool lead = IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) && i + 1 < n;
        // The glyph cache is keyed by the code page 932 code; the conversion
        // is made only for a glyph not seen before.
        unsigned code =
            lead ? (static_cast<BYTE>(text[i]) << 8 | static_cast<BYTE>(text[i + 1])) : static_cast<BYTE>(text[i]);
        const Glyph* g = worker ? CachedGlyph(font, code) : &GlyphOf(sel, code, text + i, lead ? 2 : 1);
        if (!g) {
            ctx.needsMain = true;
            return;
        }
        ctx.plane->GlyphAt(pen + g->gx, base - g->gy, *g, c);
        pen += dx[i] + (lead ? dx[i + 1] : 0);
        if (lead) ++i;
    }
}
}  // namespace

const Glyph* CachedGlyph(HFONT font, unsigned code) {
    GlyphCache& c = Glyphs();
    auto it = c.glyphs.find(std::make_pair(font, code));
    return it == c.glyphs.end() ? nullptr : &it->second;
}

void DrawText(RenderContext& ctx, const ElementRecord& rec, COLORREF colour) {
    const char* text = static_cast<const char*>(CadGetPtr(&rec, kOffTextPtr));
    double c[8];
    if (!text || !TextCorners(rec, c)) return;
    uint32_t n = CadGetU32(&rec, kOffTextLen);
    if (!n) n = static_cast<uint32_t>(strnlen(text, 65535));
    if (!n) return;
    double hpx = ctx.Px(CadGetF64(&rec, kOffTextSize1));
    if (!std::isfinite(hpx) || hpx <= 0) return;
    if (hpx < kGreekBelow || hpx > kOutlineAbove) {
        ctx.stroker->Begin(StrokeStyle{colour, 1, 0});
        if (hpx < kGreekBelow) {
            const double xy[4] = {(c[0] + c[6]) / 2, (c[1] + c[7]) / 2, (c[2] + c[4]) / 2, (c[3] + c[5]) / 2};
            ctx.stroker->World(xy, 2);
        } else {
            ctx.stroker->World(c, 4, true);
        }
        return;
    }
    ctx.stroker->Flush();
    char faceBuf[33] = {};
    memcpy(faceBuf, reinterpret_cast<const uint8_t*>(&rec) + kOffTextFont, 32);
    std::string face = faceBuf[0] ? faceBuf
                                  : (ctx.p->font[0] ? std::string(ctx.p->font, strnlen(ctx.p->font, 63))
                                                    : std::string("ＭＳ ゴシック"));
    double w = CadGetF64(&rec, kOffTextSize2), gap = CadGetF64(&rec, kOffTextSize3);
    double angle = CadGetF64(&rec, kOffTextAngle);
    if (!std::isfinite(angle)) angle = 0;
    int esc = RoundNear(angle * 1800.0 / 3.141592653589793) % 3600;
    if (esc < 0) esc += 3600;
    int wpx = RoundNear(ctx.Px(w));
    const bool glyphs = ctx.plane && esc == 0;
    if (!glyphs && !ctx.MayUseGdi()) return;
    HFONT font;
    if (ctx.recording == RecordMode::Worker) {
        font = FindFont(face, RoundNear(hpx), wpx > 0 ? wpx : 0, esc);
        if (!font) {
            ctx.needsMain = true;
            return;
        }
    } else {
        font = ctx.Font(face, RoundNear(hpx), wpx > 0 ? wpx : 0, esc);
    }
    std::vector<INT> dx(n, 0);
    double pos = 0;
    int placed = 0;
    for (uint32_t i = 0; i < n; ++i) {
        bool lead = IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) && i + 1 < n;
        pos += ctx.Px((lead ? 2 : 1) * w + gap);
        int next = RoundNear(pos);
        dx[i] = next - placed;
        placed = next;
        if (lead) dx[++i] = 0;
    }
    PxPt at = ctx.ToPx(CadGetF64(&rec, kOffTextX), CadGetF64(&rec, kOffTextY));
    if (glyphs) {
        SetText(ctx, font, text, n, dx, at.x, at.y, colour);
        return;
    }
    HGDIOBJ oldFont = SelectObject(ctx.dc, font);
    UINT oldAlign = SetTextAlign(ctx.dc, TA_LEFT | TA_BOTTOM | TA_NOUPDATECP);
    int oldMode = SetBkMode(ctx.dc, TRANSPARENT);
    int x = RoundNear(at.x), y = RoundNear(at.y);
    if (ctx.xorMode) {
        // Text output ignores the mix mode: fill the glyph outlines instead.
        BeginPath(ctx.dc);
        ExtTextOutA(ctx.dc, x, y, 0, nullptr, text, n, dx.data());
        EndPath(ctx.dc);
        HGDIOBJ oldPen = SelectObject(ctx.dc, GetStockObject(NULL_PEN));
        HGDIOBJ oldBrush = SelectObject(ctx.dc, ctx.Brush(ctx.Ink(colour)));
        FillPath(ctx.dc);
        SelectObject(ctx.dc, oldBrush);
        SelectObject(ctx.dc, oldPen);
    } else {
        COLORREF oldColour = SetTextColor(ctx.dc, colour);
        ExtTextOutA(ctx.dc, x, y, 0, nullptr, text, n, dx.data());
        SetTextColor(ctx.dc, oldColour);
    }
    SetBkMode(ctx.dc, oldMode);
    SetTextAlign(ctx.dc, oldAlign);
    SelectObject(ctx.dc, oldFont);
}

}  // namespace cad
