#include "cadlib/core/raster.h"

#include <cstring>

#include "cadlib/core/database.h"
#include "cadlib/core/platform.h"

namespace cad {

namespace {
const char kMagic[4] = {'R', 'L', 'E', '1'};
}

// Runs: a control byte n < 128 copies n + 1 literal bytes; n >= 128 repeats
// the next byte n - 125 times (3 to 130).
std::string CompressRaster(const uint8_t* data, size_t size) {
    std::string out(kMagic, 4);
    uint32_t n32 = static_cast<uint32_t>(size);
    out.append(reinterpret_cast<const char*>(&n32), 4);
    size_t i = 0;
    while (i < size) {
        size_t run = 1;
        while (i + run < size && run < 130 && data[i + run] == data[i])
            ++run;
        if (run >= 3) {
            out.push_back(static_cast<char>(run + 125));
            out.push_back(static_cast<char>(data[i]));
            i += run;
            continue;
        }
        size_t start = i, lit = 0;
        while (i < size && lit < 128) {
            if (i + 2 < size && data[i] == data[i + 1] && data[i] == data[i + 2]) break;
            ++i;
            ++lit;
        }
        out.push_back(static_cast<char>(lit - 1));
        out.append(reinterpret_cast<const char*>(data + start), lit);
    }
    return out;
}

int ExpandRaster(const uint8_t* data, size_t size, std::string& out, size_t limit) {
    if (size < 8) return -1;
    if (memcmp(data, kMagic, 3) != 0) return -1;
    if (data[3] != '1') return -2;
    uint32_t raw;
    memcpy(&raw, data + 4, 4);
    if (raw > limit) return -1;
    out.clear();
    out.reserve(raw);
    size_t i = 8;
    while (i < size && out.size() < raw) {
        uint8_t c = data[i++];
        if (c < 128) {
            size_t n = c + 1u;
            if (i + n > size || out.size() + n > raw) return -1;
            out.append(reinterpret_cast<const char*>(data + i), n);
            i += n;
        } else {
            size_t n = c - 125u;
            if (i >= size || out.size() + n > raw) return -1;
            out.append(n, static_cast<char>(data[i++]));
        }
    }
    return (out.size() == raw && i == size) ? 0 : -1;
}

}  // namespace cad

using namespace cad;

CADAPI int ZAVAPI DAriCompRstrData(DbHeader* header, StoredElement* e, int, uint32_t* outSize) {
    Database* db = Lookup(header);
    if (!db || !IsElement(e) || DbOf(e) != db || e->rec.kind != kElmRaster) return 0;
    uint8_t* bits = static_cast<uint8_t*>(CadGetPtr(&e->rec, kOffRasterBits));
    uint32_t size = CadGetU32(&e->rec, kOffRasterBitsSize);
    if (!bits) return 0;
    std::string packed = CompressRaster(bits, size);
    void* p = RasterAlloc(packed.size());
    if (!p) return 0;
    memcpy(p, packed.data(), packed.size());
    void* old = CadGetPtr(&e->rec, kOffRasterComp);
    auto it = db->rasterData.find(old);
    if (old && it != db->rasterData.end() && --it->second <= 0) {
        db->rasterData.erase(it);
        RasterFree(old);
    }
    CadSetPtr(&e->rec, kOffRasterComp, p);
    CadSetU32(&e->rec, kOffRasterCompSize, static_cast<uint32_t>(packed.size()));
    ++db->rasterData[p];
    // The caller releases the expanded bits after a compression; contents
    // kept for undo that still name them can find the data instead.
    db->rasterBits.erase(bits);
    db->compressedFrom[bits] = std::make_pair(p, static_cast<uint32_t>(packed.size()));
    if (outSize) *outSize = static_cast<uint32_t>(packed.size());
    return 1;
}

CADAPI int ZAVAPI DAriExpandRstrData(DbHeader* header, StoredElement* e, int) {
    Database* db = Lookup(header);
    if (!db || !IsElement(e) || DbOf(e) != db || e->rec.kind != kElmRaster) return 0;
    const uint8_t* data = static_cast<const uint8_t*>(CadGetPtr(&e->rec, kOffRasterComp));
    uint32_t size = CadGetU32(&e->rec, kOffRasterCompSize);
    if (!data) return 0;
    std::string raw;
    if (ExpandRaster(data, size, raw, 1u << 30) != 0) return 0;
    void* p = RasterAlloc(raw.size());
    if (!p) return 0;
    memcpy(p, raw.data(), raw.size());
    void* old = CadGetPtr(&e->rec, kOffRasterBits);
    auto it = db->rasterBits.find(old);
    if (old && it != db->rasterBits.end() && --it->second <= 0) {
        db->rasterBits.erase(it);
        RasterFree(old);
    }
    CadSetPtr(&e->rec, kOffRasterBits, p);
    CadSetU32(&e->rec, kOffRasterBitsSize, static_cast<uint32_t>(raw.size()));
    reinterpret_cast<uint8_t*>(&e->rec)[kOffRasterExpanded] = 1;
    ++db->rasterBits[p];
    return 1;
}
