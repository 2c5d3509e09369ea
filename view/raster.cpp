#include "view/raster.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "base/cmd_request.h"
#include "base/file_utils.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "command/mark_services.h"
#include "view/db_ext.h"
#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/rubber_band.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

enum : int {
    kMsgRasterUnavailable = 7218,
    kMsgNoRaster = 7227,
    kMsgWarning = 7380,
    kMsgNoMemory = 7456,
};

// The work memory: a plane the size of the screen (plus a margin) and the
// two line buffers that live with it.
struct WorkMemory {
    uint8_t* plane = nullptr;
    size_t planeSize = 0;
    void* wBuffer = nullptr;
    void* hBuffer = nullptr;
    int W = 0, H = 0;
} g_work;

double Seconds(LARGE_INTEGER from) {
    LARGE_INTEGER now, freq;
    ::QueryPerformanceCounter(&now);
    ::QueryPerformanceFrequency(&freq);
    return freq.QuadPart ? double(now.QuadPart - from.QuadPart) / double(freq.QuadPart) : 0.0;
}

LARGE_INTEGER Now() {
    LARGE_INTEGER t;
    ::QueryPerformanceCounter(&t);
    return t;
}

void ErrorBox(int messageId) { ZavMessageBox(CmdMainFrame(), GetMessageText(messageId), "Error!", MB_OK); }

// Locked moveable global memory, as the raster record's blocks are freed.
void* GlobalBlock(size_t size) {
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size ? size : 1);
    if (!h) return nullptr;
    void* p = ::GlobalLock(h);
    if (!p) ::GlobalFree(h);
    return p;
}

void FreeGlobalBlock(void* p) {
    if (!p) return;
    if (HGLOBAL h = ::GlobalHandle(p)) {
        ::GlobalUnlock(h);
        ::GlobalFree(h);
    }
}

void FreeRasterRecord(RasterRecord* r) {
    if (!r) return;
    FreeGlobalBlock(r->tiffData);
    FreeGlobalBlock(r->bits);
    FreeGlobalBlock(r);
}

DbHeader* RequestDb(const CmdRequest* req) {
    if (req && req->rasterView) return GetViewDb(req->rasterView);
    return GetActiveViewDb();
}

double DrawingScale(DbHeader* db) {
    DbInfoHead info;
    std::memset(&info, 0, sizeof info);
    DAriGetDBInfo(info.bytes, db);
    double s = CadGetF64(info.bytes, kInfoScale);
    return s > 0 ? s : 1.0;
}

template <class F>
void ForEachRaster(DbHeader* db, F f) {
    ElementRecord buf;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &buf, db); e; e = DAriReadElement(e, 1, &buf, db))
        if (buf.kind == kElmRaster && !f(e, buf)) return;
}

// --- The reader library -------------------------------------------------------

using HeadFn = int(ZAVAPI*)(const void*, uint32_t, RasterTiffHeader*);
using BitsFn = void*(ZAVAPI*)(const void*, uint32_t, uint32_t*, uint32_t*);

// Sizes of the image on paper from the resolution of its header.
void SizeFromHeader(RasterRecord* r, const RasterTiffHeader& h, const DbInfoHead& info) {
    const double w = r->width, ht = r->height;
    r->factorX = r->factorY = 1.0;
    // A resolution of zero says nothing: the image is then measured in pixels.
    const bool resolved = h.xResNum && h.xResDen && h.yResNum && h.yResDen;
    if (resolved && h.resUnit == 2) {
        r->widthMm = w * 25.4 * h.xResDen / h.xResNum;
        r->heightMm = ht * 25.4 * h.yResDen / h.yResNum;
    } else if (resolved && h.resUnit == 3) {
        r->widthMm = w * 10.0 * h.xResDen / h.xResNum;
        r->heightMm = ht * 10.0 * h.yResDen / h.yResNum;
        const double pw = CadGetF64(info.bytes, kInfoPaperWmm), ph = CadGetF64(info.bytes, kInfoPaperHmm);
        if (r->widthMm > 0 && pw > 0) r->factorX = pw / r->widthMm;
        if (r->heightMm > 0 && ph > 0) r->factorY = ph / r->heightMm;
    } else {
        r->widthMm = w;
        r->heightMm = ht;
    }
    r->left = -r->widthMm / 2;
    r->top = r->heightMm / 2;
}

// --- Raster snap ----------------------------------------------------------------

bool PixelSet(const uint8_t* bits, uint32_t stride, int wp, int hp, int col, int row) {
    if (col < 0 || row < 0 || col >= wp || row >= hp) return false;
    return (bits[size_t(row) * stride + (col >> 3)] >> (7 - (col & 7))) & 1;
}

// Cells of `size` pixels around (col, row), the pixel in the centre cell;
// a cell is on with at least `need` set pixels.
bool NeighbourhoodAccepts(const uint8_t* bits, uint32_t stride, int wp, int hp, int col, int row, int size, int start,
                          int need) {
    int cells[9];
    for (int cy = 0; cy < 3; ++cy)
        for (int cx = 0; cx < 3; ++cx) {
            int n = 0;
            const int x0 = col - start + cx * size, y0 = row - start + cy * size;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x) n += PixelSet(bits, stride, wp, hp, x0 + x, y0 + y);
            cells[cy * 3 + cx] = n >= need;
        }
    return IsStrokeEndPattern(cells);
}

// --- Rotation question -------------------------------------------------------------

// The dialog "RotDialog", built in memory: four buttons in a column.
INT_PTR CALLBACK RotDialogProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM) {
    if (msg == WM_INITDIALOG) return TRUE;
    if (msg == WM_COMMAND) {
        const int id = LOWORD(wParam);
        if (id == 1000 || id == 1001 || id == 1002 || id == IDCANCEL) ::EndDialog(dlg, id);
        return TRUE;
    }
    return FALSE;
}

void PutWide(std::vector<WORD>& t, const char* text) {
    wchar_t w[128];
    int n = ::MultiByteToWideChar(932, 0, text, -1, w, 128);
    if (n <= 0) {
        t.push_back(0);
        return;
    }
    for (int i = 0; i < n; ++i) t.push_back(WORD(w[i]));
}

int AskRotation(HWND owner) {
    std::vector<WORD> t;
    auto dword = [&](DWORD v) {
        t.push_back(LOWORD(v));
        t.push_back(HIWORD(v));
    };
    dword(DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    dword(0);
    t.push_back(4);  // items
    t.push_back(0);
    t.push_back(0);
    t.push_back(120);
    t.push_back(92);
    t.push_back(0);  // menu
    t.push_back(0);  // class
    PutWide(t, "ラスターの回転");
    t.push_back(9);
    PutWide(t, "MS UI Gothic");
    struct Item {
        WORD id;
        const char* text;
        short y;
    } items[] = {{1000, "右へ９０度回転", 8}, {1001, "左へ９０度回転", 28}, {1002, "１８０度回転", 48},
                 {IDCANCEL, "ｷｬﾝｾﾙ", 70}};
    for (const Item& it : items) {
        while (t.size() % 2) t.push_back(0);  // items start on a DWORD
        dword(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON);
        dword(0);
        t.push_back(10);
        t.push_back(WORD(it.y));
        t.push_back(100);
        t.push_back(16);
        t.push_back(it.id);
        t.push_back(0xFFFF);
        t.push_back(0x0080);  // button
        PutWide(t, it.text);
        t.push_back(0);  // no creation data
    }
    INT_PTR r = ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(t.data()),
                                          owner, RotDialogProc, 0);
    switch (r) {
    case 1000: return 1;
    case 1001: return 2;
    case 1002: return 3;
    default: return 0;
    }
}

}  // namespace

RasterRecord* GetRasterRecord(DbHeader* db) { return db ? static_cast<RasterRecord*>(db->extRecord) : nullptr; }

// --- Kind 1 -------------------------------------------------------------------------

int LoadTiffRaster(const void* data, uint32_t length) {
    DbHeader* db = GetActiveViewDb();
    if (!db || !data || !length) return 0;
    DbInfoHead info;
    std::memset(&info, 0, sizeof info);
    DAriGetDBInfo(info.bytes, db);

    // The reader first: without it nothing can be shown, and saying so
    // beats an empty record that looks like a loaded image.
    // From the installation folder only: a reader of the same name found
    // elsewhere on the search path is not ours.
    const std::string readerPath = GetModuleDir() + "\\s_rasread.dll";
    HMODULE lib = ::LoadLibraryA(readerPath.c_str());
    if (!lib) {
        WriteSystemLog(0, "Error", "s_rasread.dll が読み込めません");
        ZavMessageBox(CmdMainFrame(), GetMessageText(kMsgRasterUnavailable), GetMessageText(kMsgWarning), MB_OK);
        return 0;
    }
    auto head = reinterpret_cast<HeadFn>(::GetProcAddress(lib, "GetHeadfromTIFF"));
    auto bitsOf = reinterpret_cast<BitsFn>(::GetProcAddress(lib, "GetBMPfromTIFF"));
    RasterTiffHeader h;
    std::memset(&h, 0, sizeof h);
    if (!head || !bitsOf || !head(data, length, &h)) {
        ::FreeLibrary(lib);
        return 0;
    }
    uint32_t w = 0, ht = 0;
    uint8_t* bits = static_cast<uint8_t*>(bitsOf(data, length, &w, &ht));
    ::FreeLibrary(lib);
    if (!bits || !w || !ht) {
        FreeGlobalBlock(bits);
        return 0;
    }

    // The new record is complete before it replaces the old one.
    auto* r = static_cast<RasterRecord*>(GlobalBlock(sizeof(RasterRecord)));
    uint8_t* copy = static_cast<uint8_t*>(GlobalBlock(length));
    if (!r || !copy) {
        FreeGlobalBlock(r);
        FreeGlobalBlock(copy);
        FreeGlobalBlock(bits);
        return 0;
    }
    std::memcpy(copy, data, length);
    r->tiffData = copy;
    r->tiffLength = length;
    r->bits = bits;
    r->width = w;
    r->height = ht;
    SizeFromHeader(r, h, info);
    if (RasterRecord* old = GetRasterRecord(db)) {
        // The memo database and the bitmap belong to the drawing, not the image.
        r->memoDb = old->memoDb;
        std::memcpy(r->reserved28, old->reserved28, sizeof r->reserved28);
        FreeRasterRecord(old);
    }
    db->extRecord = r;
    SetDrawingModified(nullptr);
    if (HWND frame = CmdMainFrame()) ::PostMessageA(frame, UM_REDRAW_VIEW, 0, 0);
    return 1;
}

// --- Requests -----------------------------------------------------------------------

int ExecRasterRequest(int operation, void* request) {
    auto* req = static_cast<CmdRequest*>(request);
    if (!req) return 0;
    auto ptr = [](uint32_t v) { return reinterpret_cast<void*>(static_cast<uintptr_t>(v)); };
    auto* p1 = static_cast<double*>(ptr(req->firstPointPtr));
    auto* p2 = static_cast<double*>(ptr(req->secondPointPtr));
    switch (operation) {
    case 1: return LoadTiffRaster(ptr(req->dataPtr), req->dataLength);
    case 2: {
        HWND view = req->rasterView;
        DbHeader* db = view ? GetViewDb(view) : nullptr;
        if (!db) return 0;
        auto erase = [&](StoredElement* e) {
            ElementRecord rec;
            if (!DAriReadElement(e, 4, &rec, db)) return;
            DrawElementInViews(view, 0, &rec);
            DAriDeleteElement(e, db);
        };
        if (req->dataPtr) {
            erase(static_cast<StoredElement*>(ptr(req->dataPtr)));
        } else {
            // Each deletion starts the walk again: the one deleted was its place.
            for (;;) {
                StoredElement* found = nullptr;
                ForEachRaster(db, [&](StoredElement* e, const ElementRecord&) {
                    found = e;
                    return false;
                });
                if (!found) break;
                erase(found);
            }
        }
        SetDrawingModified(view);
        return 1;
    }
    case 5:
    case 6: {
        DbHeader* db = req->rasterView ? GetViewDb(req->rasterView) : nullptr;
        if (!db) return 0;
        int n = 0;
        ForEachRaster(db, [&](StoredElement*, const ElementRecord&) { return ++n, true; });
        return n;
    }
    case 7: {
        RasterRecord* r = GetRasterRecord(GetActiveViewDb());
        auto* out = static_cast<RasterDescription*>(ptr(req->secondPointPtr));
        if (!r || !r->bits || !out) return 0;
        out->left = r->left;
        out->top = r->top;
        out->factorX = r->factorX;
        out->factorY = r->factorY;
        out->minusOne = -1;
        out->zero = 0;
        out->record = r;
        return 1;
    }
    case 8: return 1;
    case 9:
    case 10:
    case 11: {
        DbHeader* db = GetActiveViewDb();
        RasterRecord* r = GetRasterRecord(db);
        if (!r || !p1 || !(r->widthMm > 0) || !(r->heightMm > 0) || !r->width || !r->height) return 0;
        const double s = DrawingScale(db);
        const double Wp = r->width, Hp = r->height, Wm = r->widthMm, Hm = r->heightMm;
        const double fx = r->factorX ? r->factorX : 1.0, fy = r->factorY ? r->factorY : 1.0;
        auto col = [&](double x) { return x * s / fx * Wp / Wm + Wp / 2; };
        auto row = [&](double y) { return Hp / 2 - y * s / fy * Hp / Hm; };
        auto worldX = [&](double c) { return fx * (c * Wm / Wp - Wm / 2) / s; };
        auto worldY = [&](double rr) { return fy * Hm * (0.5 - rr / Hp) / s; };
        if (operation == 10) {
            auto floorish = [](double v) {
                double t = std::trunc(v);
                return v < 0 ? t - 1 : t;
            };
            const double c = floorish(col(p1[0])), rr = floorish(row(p1[1]));
            p1[0] = c;
            p1[1] = rr;
        } else if (operation == 11) {
            const double c = std::trunc(p1[0]), rr = std::trunc(p1[1]);
            p1[0] = worldX(c);
            p1[1] = worldY(rr);
        } else {
            if (!p2) return 0;
            const double x0 = std::min(p1[0], p2[0]), x1 = std::max(p1[0], p2[0]);
            const double y0 = std::max(p1[1], p2[1]), y1 = std::min(p1[1], p2[1]);
            auto clampTo = [](double v, double hi) { return std::max(0.0, std::min(hi, std::trunc(v))); };
            p1[0] = worldX(clampTo(col(x0), Wp));
            p1[1] = worldY(clampTo(row(y0), Hp));
            p2[0] = worldX(clampTo(col(x1), Wp));
            p2[1] = worldY(clampTo(row(y1), Hp));
        }
        return 1;
    }
    case 12: {
        DbHeader* db = RequestDb(req);
        return db ? DAriExpandRstrData(db, static_cast<StoredElement*>(ptr(req->dataPtr)), 1) : 0;
    }
    case 13: {
        DbHeader* db = RequestDb(req);
        return db ? DAriCompRstrData(db, static_cast<StoredElement*>(ptr(req->dataPtr)), 0,
                                     static_cast<uint32_t*>(ptr(req->secondPointPtr)))
                  : 0;
    }
    case 14: {
        auto* d = static_cast<const RasterRenderRecord*>(ptr(req->dataPtr));
        if (!d || !d->angleAndK) return 0;
        double ak[2];
        std::memcpy(ak, d->angleAndK, sizeof ak);
        return static_cast<int>(RenderRasterPlane(d->a, d->b, d->c, d->d, d->e, d->f, d->sourceWidth, d->sourceRows,
                                                  d->sourceBits, ak[0], ak[1], d->output, d->sx, d->sy));
    }
    default: return 0;
    }
}

// --- Raster snap ------------------------------------------------------------------------

bool IsStrokeEndPattern(const int c[9]) {
    if (!c[4]) return false;
    // The ring of eight around the centre, in order.
    static const int ring[8] = {0, 1, 2, 5, 8, 7, 6, 3};
    static const int orthogonal[4] = {1, 5, 7, 3};
    int on = 0, orth = 0, diag = 0;
    for (int i : ring) on += c[i] != 0;
    for (int i : orthogonal) orth += c[i] != 0;
    diag = on - orth;
    if (on <= 1) return true;
    if (on == 2) {
        for (int k = 0; k < 8; ++k)
            if (c[ring[k]] && c[ring[(k + 1) % 8]]) return true;
        // Two orthogonal cells at a right angle (top and left ...).
        for (int k = 0; k < 4; ++k)
            if (c[orthogonal[k]] && c[orthogonal[(k + 1) % 4]]) return true;
        return false;
    }
    if (on == 3 && orth == 3) return true;
    if (orth == 4 && diag == 0) return true;
    return false;
}

int FindRasterInkPoint(const ElementRecord& e, double x, double y, double* out) {
    const uint8_t* bits = static_cast<const uint8_t*>(CadGetPtr(&e, kOffRasterBits));
    const int wp = static_cast<int>(CadGetU32(&e, kOffRasterPixW)), hp = static_cast<int>(CadGetU32(&e, kOffRasterPixH));
    const double w = CadGetF64(&e, kOffP2X), h = CadGetF64(&e, kOffP2Y);
    if (!bits || wp <= 0 || hp <= 0 || !(w > 0) || !(h > 0) || !out) return 0;
    const double ox = CadGetF64(&e, kOffP1X), oy = CadGetF64(&e, kOffP1Y), a = CadGetF64(&e, kOffRasterAngle);
    const double ca = std::cos(a), sa = std::sin(a);
    // Into the image's own frame: turned back by the angle, then to pixels.
    const double wx = x - ox, wy = y - oy;
    const double u = ca * wx + sa * wy, v = -sa * wx + ca * wy;
    const double dx = u / w * wp, dy = v / h * hp;
    const int col = static_cast<int>(std::trunc(dx + wp / 2.0));
    const int row = static_cast<int>(std::trunc(hp / 2.0 - dy));
    if (col < 0 || row < 0 || col >= wp || row >= hp) return 0;
    const uint32_t stride = RasterRowBytes(static_cast<uint32_t>(wp));
    static const int order[15] = {0, -1, 1, -2, 2, -3, 3, -4, 4, -5, 5, -6, 6, -7, 7};
    struct Test {
        int size, start, need;
    } tests[] = {{1, 1, 1}, {2, 2, 2}, {3, 4, 6}, {4, 5, 11}};
    for (int ci : order)
        for (int ri : order) {
            const int c = col + ci, r = row + ri;
            if (!PixelSet(bits, stride, wp, hp, c, r)) continue;
            for (const Test& t : tests) {
                if (!NeighbourhoodAccepts(bits, stride, wp, hp, c, r, t.size, t.start, t.need)) continue;
                const double lx = w * (c - wp / 2.0 + 0.5) / wp, ly = h * (hp / 2.0 - r - 1) / hp;
                out[0] = ox + ca * lx - sa * ly;
                out[1] = oy + sa * lx + ca * ly;
                return 1;
            }
        }
    return 0;
}

int TransformRasterElement(double x, double y, double* out) {
    SearchOptionRecord saved;
    SaveSearchOption(0, &saved);
    SearchOptionRecord rasters = saved;
    const int32_t words[7] = {3, 262144, -1, 65535, 16777215, 255, 255};
    std::memcpy(rasters.words, words, sizeof words);
    SetSearchOption(0, reinterpret_cast<LPARAM>(&rasters));
    CadMark* mark = nullptr;
    PickElementsAtCursor(&mark);
    SetSearchOption(0, reinterpret_cast<LPARAM>(&saved));
    if (!mark) return 0;
    int found = 0;
    DbHeader* db = GetActiveViewDb();
    for (void* e = GetNextMark(mark, nullptr); e && !found; e = GetNextMark(mark, e)) {
        ElementRecord rec;
        if (!db || !DAriReadElement(static_cast<StoredElement*>(e), 4, &rec, db) || rec.kind != kElmRaster) continue;
        found = FindRasterInkPoint(rec, x, y, out);
    }
    DestroyMark(mark);
    return found;
}

// --- Rendering ----------------------------------------------------------------------------

uintptr_t RenderRasterPlane(int a, int b, int c, int d, int e, int f, int sourceWidth, int sourceRows,
                            const uint8_t* sourceBits, double angle, double k, uint8_t* output, double sx, double sy) {
    const LARGE_INTEGER started = Now();
    const int width = std::abs(c - a), height = std::abs(d - b);
    if (width <= 0 || height <= 0 || !sourceBits || sourceWidth <= 0 || sourceRows <= 0 || !(sx > 0) || !(sy > 0))
        return 0;
    const size_t stride = (size_t(width) + 15) / 16 * 2;
    uint8_t* plane;
    size_t planeSize;
    bool whitePlane = false;
    if (output) {
        if (g_work.W && g_work.H && (width > 50 * g_work.W || height > 50 * g_work.H)) {
            ErrorBox(kMsgNoMemory);
            return 0;
        }
        planeSize = (size_t(width) / 8 + 1) * (size_t(height) + 1);
        std::memset(output, 0, planeSize);
        plane = output;
    } else {
        if (!g_work.plane || width > g_work.W || height > g_work.H) return 0;
        plane = g_work.plane;
        planeSize = g_work.planeSize;
        whitePlane = Running().backgroundMode == 1 || Running().backgroundMode == 2;
        std::memset(plane, whitePlane ? 0xFF : 0, planeSize);
    }
    int split = Running().RASTRSPLIT;
    if (split < 2) Running().RASTRSPLIT = split = 1;

    const int P = static_cast<int>(std::trunc(k / sx)), Q = std::max(0, static_cast<int>(std::trunc(k / sy)));
    const uint32_t mask = P >= 32 ? 0xFFFFFFFFu : P <= 1 ? 0x80000000u : ~(0xFFFFFFFFu >> P);
    const double ca = std::cos(angle), sa = std::sin(angle);
    const size_t srcStride = RasterRowBytes(static_cast<uint32_t>(sourceWidth));
    const int x0 = a - e, y0 = b - f;
    for (int yy = 0; yy < height; ++yy) {
        const int y = y0 + yy;
        uint8_t* dst = plane + size_t(yy) * stride;
        if (size_t(yy) * stride + stride > planeSize) break;
        // Both source coordinates move linearly along a destination row.
        double cx = k * (ca * x0 - sa * y) / sx, ry = k * (sa * x0 + ca * y) / sy;
        const double dcx = k * ca / sx, dry = k * sa / sy;
        for (int xx = 0; xx < width; ++xx, cx += dcx, ry += dry) {
            const int col = sourceWidth / 2 + static_cast<int>(std::trunc(cx));
            const int row = sourceRows / 2 + static_cast<int>(std::trunc(ry));
            if (col < 0 || row < 0 || col >= sourceWidth || row >= sourceRows) continue;
            const size_t byte = size_t(col) >> 3;
            const uint32_t m = mask >> (col & 7);
            const int last = std::min(sourceRows - 1, row + Q);
            const int rows = last - row + 1;
            const int step = whitePlane ? 1 : (rows - 1) / split + 1;
            bool hit = false;
            for (int r = row; r <= last && !hit; r += step) {
                const uint8_t* s = sourceBits + size_t(r) * srcStride + byte;
                // Three bytes from the column's byte, none past the row's end.
                const size_t avail = srcStride - byte;
                uint32_t window = uint32_t(s[0]) << 24;
                if (avail > 1) window |= uint32_t(s[1]) << 16;
                if (avail > 2) window |= uint32_t(s[2]) << 8;
                hit = (window & m) != 0;
            }
            if (!hit) continue;
            const uint8_t bit = uint8_t(0x80 >> (xx & 7));
            if (whitePlane)
                dst[xx >> 3] &= uint8_t(~bit);
            else
                dst[xx >> 3] |= bit;
        }
    }
    uintptr_t result = 0;
    if (!output) {
        result = reinterpret_cast<uintptr_t>(::CreateBitmap(width, height, 1, 1, plane));
        if (!result) return 0;
    }
    WriteSystemLog(2, "Bmp Rotation", "処理時間 %lf(sec)", Seconds(started));
    return result;
}

// --- Quarter turns ------------------------------------------------------------------------

std::function<int(HWND)>& RasterRotateQuestion() {
    static std::function<int(HWND)> ask = AskRotation;
    return ask;
}

int RotateRasterRecord(RasterRecord* r, int turn) {
    if (!r || !r->bits || turn < 1 || turn > 3) return 1;
    const uint32_t w = r->width, h = r->height;
    const uint32_t b = RasterRowBytes(w), e = RasterRowBytes(h);
    // Room for what the turn writes: a quarter turn has w rows of e bytes,
    // half a turn h rows of b bytes.
    const uint64_t need = turn == 3 ? uint64_t(h) * b : uint64_t(w) * e;
    uint8_t* out = need <= 0x7fffffffULL ? static_cast<uint8_t*>(GlobalBlock(static_cast<size_t>(need))) : nullptr;
    if (!out) {
        WriteSystemLog(0, "Error", "ラスター回転処理で、メモリが確保できません");
        ErrorBox(kMsgNoMemory);
        return 0;
    }
    const LARGE_INTEGER started = Now();
    const uint8_t* src = r->bits;
    for (uint32_t y = 0; y < h; ++y) {
        const uint8_t* row = src + size_t(y) * b;
        for (uint32_t xb = 0; xb < (w + 7) / 8; ++xb) {
            uint8_t v = row[xb];
            if (!v) continue;
            for (uint32_t bit = 0; bit < 8; ++bit) {
                if (!(v & (0x80 >> bit))) continue;
                const uint32_t x = xb * 8 + bit;
                if (x >= w) break;
                uint32_t tr, tc, stride;
                if (turn == 1) {
                    tr = x, tc = h - 1 - y, stride = e;
                } else if (turn == 2) {
                    tr = w - 1 - x, tc = y, stride = e;
                } else {
                    tr = h - 1 - y, tc = w - 1 - x, stride = b;
                }
                out[size_t(tr) * stride + (tc >> 3)] |= uint8_t(0x80 >> (tc & 7));
            }
        }
    }
    FreeGlobalBlock(r->bits);
    r->bits = out;
    if (turn != 3) {
        std::swap(r->width, r->height);
        std::swap(r->factorX, r->factorY);
        std::swap(r->widthMm, r->heightMm);
    }
    WriteSystemLog(2, "Ras Rotation", "処理時間 %lf(sec)", Seconds(started));
    return 1;
}

int RotateActiveRaster(HWND owner) {
    HWND view = GetActiveView();
    RasterRecord* r = GetRasterRecord(GetViewDb(view));
    if (!r || !r->bits) {
        ErrorBox(kMsgNoRaster);
        return 1;
    }
    const int turn = RasterRotateQuestion() ? RasterRotateQuestion()(owner) : 0;
    if (turn == 0) return 1;
    HCURSOR before = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    const int ok = RotateRasterRecord(r, turn);
    ::SetCursor(before);
    if (view) ::InvalidateRect(view, nullptr, TRUE);
    return ok;
}

// --- Work memory ----------------------------------------------------------------------------

int AllocRasterWorkMemory() {
    if (g_work.plane) return 1;
    const int W = ::GetSystemMetrics(SM_CXSCREEN) + 10, H = ::GetSystemMetrics(SM_CYSCREEN) + 10;
    // Rows of a bitmap are whole 16-bit words: the plane holds H + 1 of them
    // as well as the (W / 8 + 1) * (H + 1) + 1 bytes the renderer clears.
    const size_t planeSize =
        std::max((size_t(W) / 8 + 1) * (size_t(H) + 1) + 1, RasterRowBytes(uint32_t(W)) * (size_t(H) + 1));
    auto commit = [](size_t n) { return ::VirtualAlloc(nullptr, n, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE); };
    g_work.plane = static_cast<uint8_t*>(commit(planeSize));
    if (!g_work.plane) {
        WriteSystemLog(0, "Error", "01 ラスターのメモリが確保できません");
        return 0;
    }
    g_work.wBuffer = commit(size_t(W) * 200 + 4);
    if (!g_work.wBuffer) {
        WriteSystemLog(0, "Error", "02 ラスターのメモリが確保できません");
        FreeRasterWorkMemory();
        return 0;
    }
    g_work.hBuffer = commit(size_t(H) * 200 + 4);
    if (!g_work.hBuffer) {
        WriteSystemLog(0, "Error", "03 ラスターのメモリが確保できません");
        FreeRasterWorkMemory();
        return 0;
    }
    g_work.planeSize = planeSize;
    g_work.W = W;
    g_work.H = H;
    return 1;
}

int FreeRasterWorkMemory() {
    for (void* p : {static_cast<void*>(g_work.plane), g_work.wBuffer, g_work.hBuffer})
        if (p) ::VirtualFree(p, 0, MEM_RELEASE);
    g_work = WorkMemory();
    return 1;
}

size_t RasterWorkMemorySize() { return g_work.planeSize; }
