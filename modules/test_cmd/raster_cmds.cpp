// The test module's raster commands (ids 30900-30949, and the raster
// module's own id in the tests' installation), chosen by the "/C:" word:
//   RasterImport <file>  as the raster module does for an image file: hands
//           the file's bytes to the host (UM_RASTER_FUNC kind 1), asks for
//           the raster's description (kind 7) and appends a raster element
//           with a copy of the image bits. Logs "RASTER load <result>".
//   RasterProbe  logs the first raster element of the active drawing
//           ("RASTER element ox oy w h wp hp ink"), the raster record
//           ("RASTER record wp hp wmm hmm fx fy"), the drawing's paper
//           ("RASTER paper code wmm hmm"), and, for each client
//           pixel listed in the file "<module log>.points" ("x y" lines),
//           the colour painted there ("RASTER pixel x y rgb").
//   RasterReload  hands the host the bytes of the file named in
//           "<module log>.file" (kind 1) and logs "RASTER load <result>".
//   DwgImport <file>  as the DWG import module does for a file that begins
//           with "drawing": a new drawing window with one line in it (any
//           other file makes none); logs "RASTER dwg <1 when made>".
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "base/api_decl.h"
#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {

#pragma pack(push, 1)
struct TiffHead {
    uint32_t width, height;
    uint8_t other[6];
    uint32_t xNum, xDen, yNum, yDen;
    uint16_t unit;
};
struct Description {
    uint8_t r0[6];
    double left, top;
    uint8_t r22[8];
    double fx, fy;
    uint8_t r46[8];
    int16_t minusOne, zero;
    uint8_t* record;
};
#pragma pack(pop)

uint32_t W(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

template <class T>
T At(const uint8_t* record, size_t off) {
    T v;
    std::memcpy(&v, record + off, sizeof v);
    return v;
}

std::vector<uint8_t> ReadAll(const char* path) {
    std::vector<uint8_t> data;
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return data;
    DWORD size = GetFileSize(f, nullptr), got = 0;
    if (size != INVALID_FILE_SIZE) {
        data.resize(size);
        if (!ReadFile(f, data.data(), size, &got, nullptr) || got != size) data.clear();
    }
    CloseHandle(f);
    return data;
}

int RasterImport(const char* args) {
    const char* file = std::strchr(args, ' ');
    while (file && *file == ' ') ++file;
    std::vector<uint8_t> data = file ? ReadAll(file) : std::vector<uint8_t>();
    if (data.empty()) {
        Log("TESTCMD RASTER load -1");
        return 0;
    }
    CmdRequest req = {};
    req.kind = 1;
    req.dataPtr = W(data.data());
    req.dataLength = static_cast<uint32_t>(data.size());
    const LRESULT loaded = Host(UM_RASTER_FUNC, 1, reinterpret_cast<LPARAM>(&req));
    Log("TESTCMD RASTER load %d", static_cast<int>(loaded));
    if (!loaded) return 0;
    Description desc = {};
    req = CmdRequest();
    req.kind = 7;
    req.secondPointPtr = W(&desc);
    if (!Host(UM_RASTER_FUNC, 7, reinterpret_cast<LPARAM>(&req)) || !desc.record) return 0;
    const uint8_t* rec = desc.record;
    const uint32_t wp = At<uint32_t>(rec, 48), hp = At<uint32_t>(rec, 52);
    const double wmm = At<double>(rec, 64), hmm = At<double>(rec, 72);
    const uint8_t* bits = At<uint8_t*>(rec, 12);
    const uint32_t size = (wp + 15) / 16 * 2 * hp;
    auto* copy = static_cast<uint8_t*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    if (!copy) return 0;
    std::memcpy(copy, bits, size);

    DbHeader* db = reinterpret_cast<DbHeader*>(Host(UM_GET_ACTIVE_DB));
    unsigned char info[kDbInfoHeadSize] = {};
    double scale = 1;
    if (db && DAriGetDBInfo(info, db)) scale = CadGetF64(info, kInfoScale) > 0 ? CadGetF64(info, kInfoScale) : 1;

    ElementRecord e;
    std::memset(&e, 0, sizeof e);
    e.kind = kElmRaster;
    e.colour = 1;
    CadSetF64(&e, kOffP2X, wmm * desc.fx / scale);
    CadSetF64(&e, kOffP2Y, hmm * desc.fy / scale);
    CadSetF64(&e, 89, 1.0);  // cosine of the angle 0
    CadSetPtr(&e, kOffRasterBits, copy);
    CadSetU32(&e, kOffRasterBitsSize, size);
    CadSetU32(&e, kOffRasterPixW, wp);
    CadSetU32(&e, kOffRasterPixH, hp);
    reinterpret_cast<uint8_t*>(&e)[kOffRasterExpanded] = 1;
    // The resolution, for the placement of a drawing made from the image.
    if (HMODULE lib = LoadLibraryA("s_rasread.dll")) {
        using HeadFn = int(ZAVAPI*)(const void*, uint32_t, TiffHead*);
        auto head = reinterpret_cast<HeadFn>(GetProcAddress(lib, "GetHeadfromTIFF"));
        TiffHead h = {};
        if (head && head(data.data(), static_cast<uint32_t>(data.size()), &h)) {
            CadSetU32(&e, 145, h.xNum);
            CadSetU32(&e, 149, h.xDen);
            CadSetU32(&e, 153, h.yNum);
            CadSetU32(&e, 157, h.yDen);
            std::memcpy(reinterpret_cast<uint8_t*>(&e) + 161, &h.unit, 2);
        }
        FreeLibrary(lib);
    }
    const LRESULT added = Host(UM_APPEND_ELEMENT, 0, reinterpret_cast<LPARAM>(&e));
    Host(UM_MAKE_UNDO_PASS);
    Log("TESTCMD RASTER appended %d", added ? 1 : 0);
    return 0;
}

// The module log's path with `suffix`, for the files a test leaves.
bool SidePath(const char* suffix, char* path, DWORD size) {
    DWORD n = GetEnvironmentVariableA("ZAV_TESTCMD_LOG", path, size - 16);
    if (n == 0 || n >= size - 16) return false;
    std::strcat(path, suffix);
    return true;
}

int RasterReload() {
    char path[MAX_PATH];
    if (!SidePath(".file", path, sizeof path)) return 0;
    std::vector<uint8_t> name = ReadAll(path);
    name.push_back(0);
    std::vector<uint8_t> data = ReadAll(reinterpret_cast<const char*>(name.data()));
    CmdRequest req = {};
    req.kind = 1;
    req.dataPtr = W(data.data());
    req.dataLength = static_cast<uint32_t>(data.size());
    Log("TESTCMD RASTER load %d", static_cast<int>(Host(UM_RASTER_FUNC, 1, reinterpret_cast<LPARAM>(&req))));
    return 0;
}

int RasterProbe() {
    DbHeader* db = reinterpret_cast<DbHeader*>(Host(UM_GET_ACTIVE_DB));
    HWND view = reinterpret_cast<HWND>(Host(UM_ACTIVE_VIEW));
    if (!db || !view) {
        Log("TESTCMD RASTER none");
        return 0;
    }
    ElementRecord r;
    for (StoredElement* s = DAriReadElement(nullptr, 0, &r, db); s; s = DAriReadElement(s, 1, &r, db)) {
        if (r.kind != kElmRaster) continue;
        const uint32_t wp = CadGetU32(&r, kOffRasterPixW), hp = CadGetU32(&r, kOffRasterPixH);
        const uint8_t* bits = static_cast<const uint8_t*>(CadGetPtr(&r, kOffRasterBits));
        long ink = 0;
        const uint32_t stride = (wp + 15) / 16 * 2;
        for (uint32_t y = 0; bits && y < hp; ++y)
            for (uint32_t x = 0; x < wp; ++x) ink += (bits[y * stride + x / 8] >> (7 - x % 8)) & 1;
        Log("TESTCMD RASTER element %.4f %.4f %.4f %.4f %u %u %ld", CadGetF64(&r, kOffP1X), CadGetF64(&r, kOffP1Y),
            CadGetF64(&r, kOffP2X), CadGetF64(&r, kOffP2Y), wp, hp, ink);
        break;
    }
    unsigned char info[kDbInfoHeadSize] = {};
    if (DAriGetDBInfo(info, db))
        Log("TESTCMD RASTER paper %u %.1f %.1f", static_cast<unsigned>(CadGetU16(info, 3960)),
            CadGetF64(info, kInfoPaperWmm), CadGetF64(info, kInfoPaperHmm));
    if (const uint8_t* rec = static_cast<const uint8_t*>(db->extRecord))
        Log("TESTCMD RASTER record %u %u %.4f %.4f %.4f %.4f", At<uint32_t>(rec, 48), At<uint32_t>(rec, 52),
            At<double>(rec, 64), At<double>(rec, 72), At<double>(rec, 80), At<double>(rec, 88));
    char path[MAX_PATH];
    if (!SidePath(".points", path, sizeof path)) return 0;
    std::vector<uint8_t> text = ReadAll(path);
    text.push_back(0);
    RedrawWindow(view, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    HDC dc = GetDC(view);
    const char* p = reinterpret_cast<const char*>(text.data());
    int x, y, used;
    while (dc && std::sscanf(p, "%d %d%n", &x, &y, &used) == 2) {
        p += used;
        const COLORREF c = GetPixel(dc, x, y);
        Log("TESTCMD RASTER pixel %d %d %lu", x, y, static_cast<unsigned long>(c & 0xFFFFFF));
    }
    if (dc) ReleaseDC(view, dc);
    return 0;
}

int DwgImport(const char* args) {
    const char* file = std::strchr(args, ' ');
    while (file && *file == ' ')
        ++file;
    const std::vector<uint8_t> data = file ? ReadAll(file) : std::vector<uint8_t>();
    const bool drawing = data.size() >= 7 && std::memcmp(data.data(), "drawing", 7) == 0;
    auto* db = drawing ? reinterpret_cast<DbHeader*>(Host(UM_NEW_DRAWING_WINDOW_DB)) : nullptr;
    if (db) {
        ElementRecord line;
        std::memset(&line, 0, sizeof line);
        line.kind = kElmLine;
        line.colour = 2;
        CadSetF64(&line, kOffP1X, -10);
        CadSetF64(&line, kOffP2X, 10);
        Host(UM_APPEND_ELEMENT, 0, reinterpret_cast<LPARAM>(&line));
    }
    Log("TESTCMD RASTER dwg %d", db ? 1 : 0);
    return 0;
}

}  // namespace

bool RunRasterCommand(const char* word, const char* args, int* result) {
    if (Is(word, "DwgImport")) {
        *result = DwgImport(word);
        return true;
    }
    if (Is(word, "RasterImport")) {
        *result = RasterImport(word);
        return true;
    }
    if (Is(word, "RasterReload")) {
        *result = RasterReload();
        return true;
    }
    if (Is(word, "RasterProbe")) {
        *result = RasterProbe();
        return true;
    }
    return false;
}

}  // namespace testcmd
