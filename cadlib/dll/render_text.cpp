// Texts through the fonts of the machine: each character placed at the
// advance its record gives (character width per byte plus spacing), rotated
// by the text angle. Texts too small to read are drawn as a stroke along
// their middle, which is what the eye sees of them anyway.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "cadlib/core/text_box.h"
#include "cadlib/dll/render_context.h"

namespace cad {

namespace {
const double kGreekBelow = 5.0;      // pixels of character height
const double kOutlineAbove = 4000.0;
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
    std::string face = faceBuf[0] ? faceBuf : (ctx.p->font[0] ? std::string(ctx.p->font, strnlen(ctx.p->font, 63))
                                                              : std::string("ＭＳ ゴシック"));
    double w = CadGetF64(&rec, kOffTextSize2), gap = CadGetF64(&rec, kOffTextSize3);
    double angle = CadGetF64(&rec, kOffTextAngle);
    if (!std::isfinite(angle)) angle = 0;
    int esc = static_cast<int>(std::lround(angle * 1800.0 / 3.141592653589793)) % 3600;
    if (esc < 0) esc += 3600;
    int wpx = static_cast<int>(std::lround(ctx.Px(w)));
    HFONT font = ctx.Font(face, static_cast<int>(std::lround(hpx)), wpx > 0 ? wpx : 0, esc);
    std::vector<INT> dx(n, 0);
    double pos = 0;
    int placed = 0;
    for (uint32_t i = 0; i < n; ++i) {
        bool lead = IsDBCSLeadByteEx(932, static_cast<BYTE>(text[i])) && i + 1 < n;
        pos += ctx.Px((lead ? 2 : 1) * w + gap);
        int next = static_cast<int>(std::lround(pos));
        dx[i] = next - placed;
        placed = next;
        if (lead) dx[++i] = 0;
    }
    PxPt at = ctx.ToPx(CadGetF64(&rec, kOffTextX), CadGetF64(&rec, kOffTextY));
    HGDIOBJ oldFont = SelectObject(ctx.dc, font);
    UINT oldAlign = SetTextAlign(ctx.dc, TA_LEFT | TA_BOTTOM | TA_NOUPDATECP);
    int oldMode = SetBkMode(ctx.dc, TRANSPARENT);
    int x = static_cast<int>(std::lround(at.x)), y = static_cast<int>(std::lround(at.y));
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
