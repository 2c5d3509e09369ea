// Raster images (kind 55): a one-bit image centred on its origin, scaled to
// its width and height in drawing units and turned by its angle. Ink pixels
// take the element's colour; the others leave what lies beneath.
#include <algorithm>
#include <cmath>

#include "cadlib/dll/render_context.h"

namespace cad {

void DrawRaster(RenderContext& ctx, const ElementRecord& rec, COLORREF colour) {
    const uint8_t* bits = static_cast<const uint8_t*>(CadGetPtr(&rec, kOffRasterBits));
    uint32_t wp = CadGetU32(&rec, kOffRasterPixW), hp = CadGetU32(&rec, kOffRasterPixH);
    double corners[8];
    RasterCorners(rec, corners);
    double w = CadGetF64(&rec, kOffP2X), h = CadGetF64(&rec, kOffP2Y);
    if (!bits || !wp || !hp || wp > 100000 || hp > 100000 || !(w > 0) || !(h > 0)) {
        // Image data not expanded: its frame shows where it lies.
        ctx.stroker->Begin(StrokeStyle{colour, 1, 2});
        ctx.stroker->World(corners, 4, true);
        return;
    }
    if (!ctx.MayUseGdi()) return;
    ctx.stroker->Flush();
    double l = 1e300, t = 1e300, r = -1e300, b = -1e300;
    for (int i = 0; i < 4; ++i) {
        PxPt p = ctx.ToPx(corners[2 * i], corners[2 * i + 1]);
        l = std::min(l, p.x);
        r = std::max(r, p.x);
        t = std::min(t, p.y);
        b = std::max(b, p.y);
    }
    int x0 = std::max<int>(ctx.client.left, static_cast<int>(std::floor(l)));
    int y0 = std::max<int>(ctx.client.top, static_cast<int>(std::floor(t)));
    int x1 = std::min<int>(ctx.client.right, static_cast<int>(std::ceil(r)));
    int y1 = std::min<int>(ctx.client.bottom, static_cast<int>(std::ceil(b)));
    if (x1 <= x0 || y1 <= y0) return;
    int W = x1 - x0, H = y1 - y0;
    // Work on a copy of the area beneath: any angle, and the mix modes, come
    // out of one per-pixel pass.
    void* pix = nullptr;
    HBITMAP bmp = CreateWorkBitmap(ctx.dc, W, H, &pix);
    if (!bmp) return;
    HDC mem = CreateCompatibleDC(ctx.dc);
    HGDIOBJ old = SelectObject(mem, bmp);
    BitBlt(mem, 0, 0, W, H, ctx.dc, x0, y0, SRCCOPY);
    GdiFlush();
    uint32_t ink = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    uint32_t bgx = (GetRValue(ctx.background) << 16) | (GetGValue(ctx.background) << 8) | GetBValue(ctx.background);
    uint32_t* px = static_cast<uint32_t*>(pix);
    const uint32_t stride = (wp + 15) / 16 * 2;
    double a = CadGetF64(&rec, kOffRasterAngle), ca = std::cos(a), sa = std::sin(a);
    double ox = CadGetF64(&rec, kOffP1X), oy = CadGetF64(&rec, kOffP1Y);
    for (int yy = 0; yy < H; ++yy) {
        for (int xx = 0; xx < W; ++xx) {
            // Pixel centre back to the image: world, then the image's own frame.
            double wx = (x0 + xx + 0.5 - ctx.cx) / ctx.s - ctx.offX;
            double wy = (ctx.cy - (y0 + yy + 0.5)) / ctx.s - ctx.offY;
            double dx = wx - ox, dy = wy - oy;
            double u = ca * dx + sa * dy, v = -sa * dx + ca * dy;
            double col = (u / w + 0.5) * wp, row = (0.5 - v / h) * hp;
            if (col < 0 || row < 0 || col >= wp || row >= hp) continue;
            uint32_t c = static_cast<uint32_t>(col), rr = static_cast<uint32_t>(row);
            if (!((bits[rr * stride + c / 8] >> (7 - c % 8)) & 1)) continue;
            uint32_t& d = px[yy * W + xx];
            d = ctx.xorMode ? (d ^ ink ^ bgx) & 0xFFFFFF : ink;
        }
    }
    BitBlt(ctx.dc, x0, y0, W, H, mem, 0, 0, SRCCOPY);
    SelectObject(mem, old);
    DeleteDC(mem);
    DeleteObject(bmp);
    ctx.AfterGdi();
}

}  // namespace cad
