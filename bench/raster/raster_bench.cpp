// A scanned A0 sheet at 400 dpi (13,000 x 19,000 pixels, CCITT G4): how long
// the TIFF reader takes for it, and how long the view takes to paint it
// whole and zoomed in (the CAD library's painting of the raster element, and
// the host's rendering into a one-bit plane). Aims: read under 1 s, zoomed
// in under 20 ms, whole under 100 ms. Beside them, references from the same
// run: one copy of the decoded bits, one clear and copy of the picture.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "tests/common/tiff_maker.h"
#include "view/raster.h"

namespace {

double Now() {
    LARGE_INTEGER f, c;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&c);
    return double(c.QuadPart) / double(f.QuadPart);
}

// Ruled lines, frames and rows of "characters", as on a drawing sheet.
tiffmaker::Image Sheet(uint32_t w, uint32_t h) {
    tiffmaker::Image im;
    im.width = w;
    im.height = h;
    im.rows.resize(h);
    for (uint32_t y = 0; y < h; ++y) {
        std::vector<uint32_t>& row = im.rows[y];
        if (y % 250 < 3 || y < 40 || y >= h - 40) {
            row = {0, w};  // a ruled line across
            row.pop_back();
            continue;
        }
        uint32_t x = 0;
        const bool text = y % 250 > 40 && y % 250 < 80;
        while (x + 400 < w) {
            row.push_back(x);
            row.push_back(x + 3);  // a vertical line every 400 pixels
            if (text)
                for (uint32_t c = x + 40; c + 12 < x + 360; c += 24) {
                    row.push_back(c);
                    row.push_back(c + 2 + (c * 7 + y) % 9);
                }
            x += 400;
        }
    }
    return im;
}

struct Dib {
    HDC dc;
    HBITMAP bmp;
    uint32_t* px;
    int w, h;
    Dib(int width, int height) : w(width), h(height) {
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = w;
        bi.bmiHeader.biHeight = -h;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        void* bits;
        dc = CreateCompatibleDC(nullptr);
        bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        SelectObject(dc, bmp);
        px = static_cast<uint32_t*>(bits);
    }
};

DrawParam ParamFor(Dib& d, double scale, double cx, double cy) {
    DrawParam p;
    std::memset(&p, 0, sizeof p);
    p.size = sizeof p;
    p.targetKind = kDrawToDc;
    p.dc = d.dc;
    p.client[2] = d.w;
    p.client[3] = d.h;
    p.centre[0] = d.w / 2;
    p.centre[1] = d.h / 2;
    p.scale = scale;
    p.drawScale = 1;
    p.pixelsPerMm = scale;
    p.offsetX = -cx;
    p.offsetY = -cy;
    return p;
}

template <class F>
double Best(int reps, F f) {
    double best = 1e9;
    for (int i = 0; i < reps; ++i) {
        const double t0 = Now();
        f();
        best = std::min(best, Now() - t0);
    }
    return best;
}

}  // namespace

int main() {
    const uint32_t W = 13000, H = 19000;
    double t0 = Now();
    const tiffmaker::Image sheet = Sheet(W, H);
    const std::string tiff = tiffmaker::MakeTiff(sheet, tiffmaker::kG4, 2, 400, 400);
    std::printf("sheet %u x %u, G4 file %.1f MB, made in %.2f s\n", W, H, tiff.size() / 1e6, Now() - t0);

    HMODULE lib = LoadLibraryA("s_rasread.dll");
    if (!lib) {
        char dir[MAX_PATH];
        GetEnvironmentVariableA("ZAV_DIST_DIR", dir, sizeof dir);
        lib = LoadLibraryA((std::string(dir) + "\\s_rasread.dll").c_str());
    }
    if (!lib) {
        std::printf("s_rasread.dll not found\n");
        return 1;
    }
    using HeadFn = int(ZAVAPI*)(const void*, uint32_t, RasterTiffHeader*);
    using BitsFn = void*(ZAVAPI*)(const void*, uint32_t, uint32_t*, uint32_t*);
    auto head = reinterpret_cast<HeadFn>(GetProcAddress(lib, "GetHeadfromTIFF"));
    auto bitsOf = reinterpret_cast<BitsFn>(GetProcAddress(lib, "GetBMPfromTIFF"));
    RasterTiffHeader h;
    uint32_t w = 0, ht = 0;
    uint8_t* bits = nullptr;
    t0 = Now();
    const int ok = head(tiff.data(), uint32_t(tiff.size()), &h);
    bits = static_cast<uint8_t*>(bitsOf(tiff.data(), uint32_t(tiff.size()), &w, &ht));
    const double read = Now() - t0;
    std::printf("read (header and bits): %.3f s (aim 1 s)  header %d, %u x %u, bits %s\n", read, ok, w, ht,
                bits ? "ok" : "none");
    if (!bits) return 1;
    int wrong = 0;
    for (uint32_t y = 0; y < H; y += 997)
        for (uint32_t x = 0; x < W; x += 13)
            wrong += ((bits[size_t(y) * RasterRowBytes(W) + x / 8] >> (7 - x % 8)) & 1) != sheet.Ink(x, y);
    std::printf("sampled pixels wrong: %d\n", wrong);

    // The element in a drawing: 825.5 x 1206.5 mm at 400 dpi.
    std::vector<uint8_t> header(sizeof(DbHeader), 0);
    DbHeader* db = reinterpret_cast<DbHeader*>(header.data());
    DAriCreateDB(db);
    db->pages.display[0] |= 1;
    db->pages.detect[0] |= 1;
    const uint32_t size = RasterRowBytes(W) * H;
    auto* copy = static_cast<uint8_t*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    // Reference of the read: copying the decoded image once.
    const double copied = Best(3, [&] { std::memcpy(copy, bits, size); });
    std::printf("reference: copy of the %.1f MB of image bits: %.3f s (read = %.1f x the copy)\n", size / 1e6, copied,
                read / copied);
    ElementRecord e;
    std::memset(&e, 0, sizeof e);
    e.kind = kElmRaster;
    e.colour = 1;
    const double wmm = W * 25.4 / 400, hmm = H * 25.4 / 400;
    CadSetF64(&e, kOffP2X, wmm);
    CadSetF64(&e, kOffP2Y, hmm);
    CadSetF64(&e, 89, 1.0);
    CadSetPtr(&e, kOffRasterBits, copy);
    CadSetU32(&e, kOffRasterBitsSize, size);
    CadSetU32(&e, kOffRasterPixW, W);
    CadSetU32(&e, kOffRasterPixH, H);
    reinterpret_cast<uint8_t*>(&e)[kOffRasterExpanded] = 1;
    DAriAppendElement(&e, db);

    Dib d(1280, 1024);
    DrawParam whole = ParamFor(d, 1024 / hmm, 0, 0);
    DrawParam zoomed = ParamFor(d, 16.0, 100, 200);  // 16 pixels a millimetre: about one image pixel each
    // Black paper: the ink of colour 1 is white on it, so that the count of
    // changed pixels shows that the sheet was drawn.
    auto paint = [&](DrawParam& p) {
        std::memset(d.px, 0, size_t(d.w) * d.h * 4);
        DAriDrawPre(db, &p);
        DAriDraw(db, &p);
        GdiFlush();
    };
    // Reference of the paints: clearing the picture and copying it once.
    Dib other(1280, 1024);
    const double blit = Best(3, [&] {
        std::memset(d.px, 0, size_t(d.w) * d.h * 4);
        BitBlt(other.dc, 0, 0, d.w, d.h, d.dc, 0, 0, SRCCOPY);
        GdiFlush();
    });
    std::printf("reference: clear and copy of the 1280 x 1024 picture: %.2f ms\n", blit * 1e3);
    const double tw = Best(3, [&] { paint(whole); });
    int ink = 0;
    for (int i = 0; i < d.w * d.h; ++i)
        ink += (d.px[i] & 0xFFFFFF) != 0;
    const double tz = Best(3, [&] { paint(zoomed); });
    int inkZoomed = 0;
    for (int i = 0; i < d.w * d.h; ++i)
        inkZoomed += (d.px[i] & 0xFFFFFF) != 0;
    std::printf("library paint, whole sheet in 1280 x 1024: %.1f ms (aim 100 ms), %d pixels differ from paper\n",
                tw * 1e3, ink);
    std::printf("library paint, zoomed in: %.1f ms (aim 20 ms), %d pixels differ from paper\n", tz * 1e3, inkZoomed);

    // The host's rendering into a one-bit plane (the raster module's kind 14).
    std::vector<uint8_t> plane((1280 / 8 + 1) * (1024 + 1));
    const double k = 1.0;
    const double rw = Best(3, [&] {
        RenderRasterPlane(0, 0, 1280, 1024, 640, 512, W, H, bits, 0.0, k, plane.data(), 1280.0 / W * 0.8,
                          1280.0 / W * 0.8);
    });
    const double rz =
        Best(3, [&] { RenderRasterPlane(0, 0, 1280, 1024, 640, 512, W, H, bits, 0.3, k, plane.data(), 1.0, 1.0); });
    std::printf("one-bit plane render, whole: %.1f ms (aim 100 ms); zoomed in, turned: %.1f ms (aim 20 ms)\n",
                rw * 1e3, rz * 1e3);
    return 0;
}
