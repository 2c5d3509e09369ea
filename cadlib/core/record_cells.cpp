#include "cadlib/core/record_cells.h"

#include <cstring>
#include <initializer_list>
#include <set>

namespace cad {

namespace {

// Where each kind's fields start (after the common head of subKind, layer,
// attribute, page and colour); gaps and the rest of the body are cut into
// cells of at most eight bytes, aligned to the last field before them.
const std::initializer_list<uint8_t> kShapeFields = {13, 14, 15, 16, 17, 25, 33, 41, 49, 57, 65, 73, 81, 89, 97};
const std::initializer_list<uint8_t> kPointFields = {13, 14, 15, 16, 17, 25, 33, 41, 49, 58, 66};
const std::initializer_list<uint8_t> kTextFields = {13, 14, 22, 30, 38,  46,  54,  62,  70,
                                                    74, 78, 86, 94, 102, 110, 112, 120, 128};
const std::initializer_list<uint8_t> kBlockFields = {13, 14, 15, 16, 17,  25,  33,  41,  49,  57, 65,
                                                     73, 81, 89, 97, 105, 113, 117, 121, 125, 129};
const std::initializer_list<uint8_t> kRasterFields = {13, 14, 15, 16,  17,  25,  33,  41,  49,  57,  65, 73,
                                                      81, 89, 97, 105, 113, 115, 119, 123, 127, 131, 135};
const std::initializer_list<uint8_t> kHeaderFields = {13, 19, 27, 35, 43, 51, 59, 67};

CellLayout Build(std::initializer_list<uint8_t> fields) {
    std::set<int> starts = {2, 4, 6, 7, 11, 13, 172};
    for (uint8_t f : fields)
        starts.insert(f);
    starts.insert(sizeof(ElementRecord));
    CellLayout l;
    memset(&l, 0, sizeof l);
    int prev = -1;
    for (int s : starts) {
        if (prev >= 0) {
            for (int at = prev; at < s; at += 8) {
                l.offset[l.count] = static_cast<uint8_t>(at);
                l.length[l.count] = static_cast<uint8_t>(s - at < 8 ? s - at : 8);
                ++l.count;
            }
        }
        prev = s;
    }
    return l;
}

struct Layouts {
    CellLayout byKind[256];
    Layouts() {
        CellLayout shape = Build(kShapeFields);
        for (auto& l : byKind)
            l = shape;
        byKind[kElmPoint] = Build(kPointFields);
        byKind[kElmText] = Build(kTextFields);
        byKind[kElmBlock] = Build(kBlockFields);
        byKind[kElmRaster] = Build(kRasterFields);
        byKind[kElmFigureHeader] = Build(kHeaderFields);
    }
};

const Layouts& All() {
    static const Layouts layouts;
    return layouts;
}

}  // namespace

const CellLayout& CellsOf(uint16_t kind) { return All().byKind[kind & 0xFF]; }

uint8_t* PackCells(const ElementRecord& rec, uint64_t& mask, uint8_t* out) {
    const CellLayout& l = CellsOf(rec.kind);
    const uint8_t* b = reinterpret_cast<const uint8_t*>(&rec);
    mask = 0;
    for (int i = 0; i < l.count; ++i) {
        const uint8_t* c = b + l.offset[i];
        const int n = l.length[i];
        bool used;
        if (n == 8) {
            uint64_t v;
            memcpy(&v, c, 8);
            used = v != 0;
        } else {
            used = false;
            for (int k = 0; k < n; ++k)
                used |= c[k] != 0;
        }
        if (!used) continue;
        mask |= uint64_t(1) << i;
        if (n == 8)
            memcpy(out, c, 8);
        else
            memcpy(out, c, n);
        out += n;
    }
    return out;
}

bool UnpackCells(ElementRecord& rec, uint64_t mask, const uint8_t* in, size_t size, size_t& used) {
    const CellLayout& l = CellsOf(rec.kind);
    used = 0;
    if (l.count < 64 && (mask >> l.count) != 0) return false;
    uint8_t* b = reinterpret_cast<uint8_t*>(&rec);
    while (mask) {
        int i = __builtin_ctzll(mask);
        mask &= mask - 1;
        const size_t n = l.length[i];
        if (n > size - used) return false;
        // Most cells are doubles: a copy of known length stays inline.
        if (n == 8)
            memcpy(b + l.offset[i], in + used, 8);
        else
            memcpy(b + l.offset[i], in + used, n);
        used += n;
    }
    return true;
}

}  // namespace cad
