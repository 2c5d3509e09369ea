// Raster images: the TIFF reader on files the test makes (three codings,
// three resolution units, damaged files), the quarter turns of a stored
// image, the raster snap, and the rendering into a one-bit plane, which
// must never read past its source.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "rasread/s_rasread.h"
#include "tests/common/dist_dir.h"
#include "tests/common/tiff_maker.h"
#include "view/raster.h"
#include "win/message_box.h"

namespace {

using HeadFn = int(ZAVAPI*)(const void*, uint32_t, TiffHeadRecord*);
using BitsFn = void*(ZAVAPI*)(const void*, uint32_t, uint32_t*, uint32_t*);

struct Reader {
    HMODULE lib = nullptr;
    HeadFn head = nullptr;
    BitsFn bits = nullptr;
    Reader() {
        lib = LoadLibraryA((DistDir() + "\\s_rasread.dll").c_str());
        if (!lib) lib = LoadLibraryA("s_rasread.dll");
        if (lib) {
            head = reinterpret_cast<HeadFn>(GetProcAddress(lib, "GetHeadfromTIFF"));
            bits = reinterpret_cast<BitsFn>(GetProcAddress(lib, "GetBMPfromTIFF"));
        }
    }
    ~Reader() {
        if (lib) FreeLibrary(lib);
    }
};

void FreeBits(void* p) {
    HGLOBAL h = GlobalHandle(p);
    GlobalUnlock(h);
    GlobalFree(h);
}

// A pattern with long and short runs, odd sizes and a frame.
tiffmaker::Image Pattern(uint32_t w, uint32_t h) {
    std::vector<uint8_t> ink(size_t(w) * h);
    uint32_t seed = 12345;
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            seed = seed * 1103515245u + 12345u;
            const bool frame = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            const bool block = x > w / 4 && x < w / 2 && y > h / 3;
            const bool noise = ((seed >> 16) % 11) == 0;
            ink[size_t(y) * w + x] = frame || block || noise;
        }
    return tiffmaker::FromPixels(w, h, ink);
}

bool Bit(const uint8_t* bits, uint32_t w, uint32_t x, uint32_t y) {
    return (bits[size_t(y) * RasterRowBytes(w) + x / 8] >> (7 - x % 8)) & 1;
}

TEST(TiffReader, HeaderAndPixelsOfEachCodingAndUnit) {
    Reader r;
    ASSERT_TRUE(r.head && r.bits) << "s_rasread.dll and its two functions";
    struct Case {
        const char* name;
        tiffmaker::Coding coding;
        uint16_t unit;
        uint32_t xRes, yRes;
        uint16_t wantUnit;
    } cases[] = {
        {"none, inch", tiffmaker::kNone, 2, 300, 200, 2},
        {"PackBits, centimetre", tiffmaker::kPackBits, 3, 118, 59, 3},
        {"G4, no unit", tiffmaker::kG4, 1, 72, 72, 1},
        {"G4, no resolution tags", tiffmaker::kG4, 0, 0, 0, 2},
        {"G4, inch", tiffmaker::kG4, 2, 400, 400, 2},
    };
    const tiffmaker::Image im = Pattern(77, 41);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string f = tiffmaker::MakeTiff(im, c.coding, c.unit, c.xRes, c.yRes);
        TiffHeadRecord h = {};
        ASSERT_EQ(1, r.head(f.data(), uint32_t(f.size()), &h));
        EXPECT_EQ(77u, h.width);
        EXPECT_EQ(41u, h.height);
        EXPECT_EQ(1, h.bitsPerSample);
        EXPECT_EQ(c.coding, h.compression);
        EXPECT_EQ(c.wantUnit, h.resUnit);
        EXPECT_EQ(c.xRes, h.xResNum);
        EXPECT_EQ(c.yRes, h.yResNum);
        EXPECT_EQ(c.unit ? 1u : 0u, h.xResDen);

        uint32_t w = 0, ht = 0;
        auto* bits = static_cast<uint8_t*>(r.bits(f.data(), uint32_t(f.size()), &w, &ht));
        ASSERT_NE(nullptr, bits);
        ASSERT_EQ(77u, w);
        ASSERT_EQ(41u, ht);
        EXPECT_GE(GlobalSize(GlobalHandle(bits)), size_t(RasterRowBytes(77)) * 41);
        int wrong = 0;
        for (uint32_t y = 0; y < 41; ++y)
            for (uint32_t x = 0; x < 77; ++x) wrong += Bit(bits, 77, x, y) != im.Ink(x, y);
        EXPECT_EQ(0, wrong);
        // The padding past the last pixel of a row stays clear.
        for (uint32_t y = 0; y < 41; ++y)
            for (uint32_t x = 77; x < RasterRowBytes(77) * 8; ++x) ASSERT_FALSE(Bit(bits, 77, x, y)) << x << "," << y;
        FreeBits(bits);
    }
}

TEST(TiffReader, DamagedOrForeignDataGivesNothing) {
    Reader r;
    ASSERT_TRUE(r.head && r.bits);
    const std::string f = tiffmaker::MakeTiff(Pattern(40, 30), tiffmaker::kNone, 2, 300, 300);
    TiffHeadRecord h;
    // Cut inside the directory, inside the resolution, and before it all.
    for (size_t cut : {size_t(0), size_t(4), size_t(9), f.size() - 20, f.size() - 5}) {
        SCOPED_TRACE(cut);
        EXPECT_EQ(0, r.head(f.data(), uint32_t(cut), &h));
    }
    const std::string notTiff = "BM this is no TIFF at all........";
    EXPECT_EQ(0, r.head(notTiff.data(), uint32_t(notTiff.size()), &h));
    uint32_t w = 7, ht = 7;
    EXPECT_EQ(nullptr, r.bits(notTiff.data(), uint32_t(notTiff.size()), &w, &ht));
    EXPECT_EQ(0u, w);
}

// A raster record holding `im`, its bits in global memory as a load leaves them.
RasterRecord RecordOf(uint32_t w, uint32_t h, const std::vector<std::pair<uint32_t, uint32_t>>& set) {
    RasterRecord r = {};
    r.width = w;
    r.height = h;
    r.widthMm = 30;
    r.heightMm = 10;
    r.factorX = 2;
    r.factorY = 3;
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size_t(RasterRowBytes(w)) * h);
    r.bits = static_cast<uint8_t*>(GlobalLock(g));
    for (auto& p : set) r.bits[size_t(p.second) * RasterRowBytes(w) + p.first / 8] |= uint8_t(0x80 >> (p.first % 8));
    return r;
}

std::vector<std::pair<uint32_t, uint32_t>> SetPixels(const RasterRecord& r) {
    std::vector<std::pair<uint32_t, uint32_t>> out;
    for (uint32_t y = 0; y < r.height; ++y)
        for (uint32_t x = 0; x < r.width; ++x)
            if (Bit(r.bits, r.width, x, y)) out.push_back({x, y});
    return out;
}

TEST(RasterRotation, QuarterAndHalfTurnsMovePixelsAndSizes) {
    struct Case {
        const char* name;
        uint32_t w, h;
        int turn;
        std::pair<uint32_t, uint32_t> from, to;
    } cases[] = {
        {"right", 300, 100, 1, {0, 0}, {99, 0}},
        {"left", 300, 100, 2, {0, 0}, {0, 299}},
        {"half", 300, 100, 3, {0, 0}, {299, 99}},
        // One pixel wide and tall: half a turn needs more than the turn's
        // own work buffer would hold.
        {"half, one column", 1, 1000, 3, {0, 0}, {0, 999}},
        {"right, one row", 1000, 1, 1, {999, 0}, {0, 999}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RasterRecord r = RecordOf(c.w, c.h, {c.from});
        ASSERT_EQ(1, RotateRasterRecord(&r, c.turn));
        const bool quarter = c.turn != 3;
        EXPECT_EQ(quarter ? c.h : c.w, r.width);
        EXPECT_EQ(quarter ? c.w : c.h, r.height);
        EXPECT_EQ(quarter ? 10.0 : 30.0, r.widthMm);
        EXPECT_EQ(quarter ? 3.0 : 2.0, r.factorX);
        EXPECT_GE(GlobalSize(GlobalHandle(r.bits)), size_t(RasterRowBytes(r.width)) * r.height);
        auto set = SetPixels(r);
        ASSERT_EQ(1u, set.size());
        EXPECT_EQ(c.to, set[0]);
        FreeBits(r.bits);
    }
    // Four right turns, and two right against one half, give the same image.
    tiffmaker::Image im = Pattern(37, 23);
    std::vector<std::pair<uint32_t, uint32_t>> pts;
    for (uint32_t y = 0; y < 23; ++y)
        for (uint32_t x = 0; x < 37; ++x)
            if (im.Ink(x, y)) pts.push_back({x, y});
    RasterRecord a = RecordOf(37, 23, pts), b = RecordOf(37, 23, pts);
    for (int i = 0; i < 2; ++i) RotateRasterRecord(&a, 1);
    RotateRasterRecord(&b, 3);
    EXPECT_EQ(SetPixels(a), SetPixels(b));
    for (int i = 0; i < 2; ++i) RotateRasterRecord(&a, 1);
    EXPECT_EQ(pts, SetPixels(a));
    FreeBits(a.bits);
    FreeBits(b.bits);
}

TEST(RasterSnap, StrokeEndPatterns) {
    struct Case {
        const char* name;
        int cells[9];
        bool accepted;
    } cases[] = {
        {"isolated", {0, 0, 0, 0, 1, 0, 0, 0, 0}, true},
        {"one neighbour", {0, 0, 0, 0, 1, 1, 0, 0, 0}, true},
        {"corner of ring", {1, 1, 0, 0, 1, 0, 0, 0, 0}, true},
        {"top and left", {0, 1, 0, 1, 1, 0, 0, 0, 0}, true},
        {"three orthogonal", {0, 1, 0, 1, 1, 1, 0, 0, 0}, true},
        {"cross", {0, 1, 0, 1, 1, 1, 0, 1, 0}, true},
        {"horizontal run", {0, 0, 0, 1, 1, 1, 0, 0, 0}, false},
        {"vertical run", {0, 1, 0, 0, 1, 0, 0, 1, 0}, false},
        {"diagonal run", {1, 0, 0, 0, 1, 0, 0, 0, 1}, false},
        {"cross and a corner", {1, 1, 0, 1, 1, 1, 0, 1, 0}, false},
        {"centre off", {0, 1, 0, 0, 0, 0, 0, 0, 0}, false},
    };
    for (const Case& c : cases) EXPECT_EQ(c.accepted, IsStrokeEndPattern(c.cells)) << c.name;
}

TEST(RasterSnap, FindsTheEndOfAStrokeNearThePoint) {
    // 64 x 64 pixels on 64 x 64 drawing units, centred on (100, 200).
    const uint32_t w = 64, h = 64;
    std::vector<uint8_t> bits(RasterRowBytes(w) * h);
    auto set = [&](int x, int y) { bits[y * RasterRowBytes(w) + x / 8] |= uint8_t(0x80 >> (x % 8)); };
    for (int x = 29; x <= 37; ++x) set(x, 20);  // a line from column 29 to 37
    set(50, 50);                                // a speck
    ElementRecord e;
    std::memset(&e, 0, sizeof e);
    e.kind = kElmRaster;
    CadSetF64(&e, kOffP1X, 100);
    CadSetF64(&e, kOffP1Y, 200);
    CadSetF64(&e, kOffP2X, 64);
    CadSetF64(&e, kOffP2Y, 64);
    CadSetPtr(&e, kOffRasterBits, bits.data());
    CadSetU32(&e, kOffRasterPixW, w);
    CadSetU32(&e, kOffRasterPixH, h);
    // Pixel (c, r) covers x = 100 + c - 32 .. +1, y = 200 + 32 - r - 1 .. +1.
    auto world = [](int c, int r, double* x, double* y) {
        *x = 100 + c - 32 + 0.5;
        *y = 200 + 32 - r - 0.5;
    };
    double x, y, out[2];
    world(32, 20, &x, &y);  // on the line, three pixels from its left end
    // Nearer pixels lie inside the stroke at every cell size; column 30 is
    // its end seen through cells of two pixels.
    ASSERT_EQ(1, FindRasterInkPoint(e, x, y, out));
    EXPECT_DOUBLE_EQ(100 + 30 - 32 + 0.5, out[0]);
    EXPECT_DOUBLE_EQ(200 + 32 - 20 - 1, out[1]);
    world(52, 49, &x, &y);
    ASSERT_EQ(1, FindRasterInkPoint(e, x, y, out));
    EXPECT_DOUBLE_EQ(100 + 50 - 32 + 0.5, out[0]);
    world(10, 60, &x, &y);  // nothing within seven pixels
    EXPECT_EQ(0, FindRasterInkPoint(e, x, y, out));
    EXPECT_EQ(0, FindRasterInkPoint(e, 0, 0, out));  // outside the image
}

// A source whose last byte ends a committed page: a read past it faults.
struct GuardedSource {
    uint8_t* base = nullptr;
    uint8_t* bits = nullptr;
    GuardedSource(const std::vector<uint8_t>& data) {
        base = static_cast<uint8_t*>(VirtualAlloc(nullptr, 8192, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old;
        VirtualProtect(base + 4096, 4096, PAGE_NOACCESS, &old);
        bits = base + 4096 - data.size();
        std::memcpy(bits, data.data(), data.size());
    }
    ~GuardedSource() { VirtualFree(base, 0, MEM_RELEASE); }
};

TEST(RasterRender, CopiesUnturnedAndNeverReadsPastTheSource) {
    win::MessageBoxTestHook boxes;
    // 8 x 6 pixels, rows of 2 bytes: the last column's three bytes would
    // run past the end of the last row.
    const uint32_t w = 8, h = 6;
    std::vector<uint8_t> src(RasterRowBytes(w) * h);
    for (uint32_t y = 0; y < h; ++y) src[y * 2] = uint8_t(y % 2 ? 0x81 : 0x18);
    GuardedSource guarded(src);
    std::vector<uint8_t> out(64, 0xEE);
    // Destination x -4..3, y -3..2 around the source's centre, scale 1.
    const uintptr_t r = RenderRasterPlane(0, 0, 8, 6, 4, 3, w, h, guarded.bits, 0.0, 1.0, out.data(), 1.0, 1.0);
    EXPECT_EQ(0u, r);
    for (uint32_t y = 0; y < h; ++y) EXPECT_EQ(src[y * 2], out[y * 2]) << "row " << y;
    EXPECT_TRUE(boxes.Calls().empty());
}

TEST(RasterRender, WorkPlaneGivesABitmapOfTheTurnedImage) {
    ASSERT_EQ(1, AllocRasterWorkMemory());
    const uint32_t w = 16, h = 16;
    std::vector<uint8_t> src(RasterRowBytes(w) * h);
    for (uint32_t y = 0; y < h; ++y) src[y * 2] = 0xFF;  // left half ink
    GuardedSource guarded(src);
    HBITMAP bmp = reinterpret_cast<HBITMAP>(
        RenderRasterPlane(0, 0, 16, 16, 8, 8, w, h, guarded.bits, 3.14159265358979 / 2, 1.0, nullptr, 1.0, 1.0));
    ASSERT_NE(nullptr, bmp);
    BITMAP info;
    GetObject(bmp, sizeof info, &info);
    EXPECT_EQ(16, info.bmWidth);
    EXPECT_EQ(16, info.bmHeight);
    DeleteObject(bmp);
    FreeRasterWorkMemory();
    EXPECT_EQ(0u, RasterWorkMemorySize());
}

}  // namespace
