// The mutation loop over damaged drawing files, shared by the test program
// and the native sanitizer build (tests/cadlib/native/).
#pragma once

#include <chrono>
#include <cstdio>
#include <random>
#include <string>

#include "cadlib/core/crc32.h"
#include "cadlib/core/file_format.h"
#include "tests/cadlib/drawing_builder.h"

namespace cadtest {

// A small drawing with one of each structure the readers know: elements
// with text, tags and user data, a nested group, a figure definition placed
// once, raster data, a second page and layer names.
inline std::string SmallDrawing() {
    Db db;
    DAriSetLayerName(0, 3, "壁", &db.h);
    PageRecord* rec = new PageRecord;
    memset(rec, 0, sizeof *rec);
    DAriAddPage(1, rec, &db.h);
    delete rec;
    DAriSetLayerName(1, 2, "一階", &db.h);
    ElementRecord l = Line(0, 0, 10, 10, 1, 2);
    StoredElement* e = DAriAppendElement(&l, &db.h);
    DAriSetTag(e, 210, 1);
    DAriSetTagString(e, "KOLTA20000");
    uint8_t user[256] = {1, 2, 3};
    DAriSet256UserData(e, user);
    ElementRecord t = Full(kElmText, 3);
    CadSetPtr(&t, kOffTextPtr, "文字");
    DAriAppendElement(&t, &db.h);
    ElementRecord g = Record(kElmGroup), g2 = Record(kElmGroup2);
    StoredElement* group = DAriCreateFgroupHead(&g, &db.h);
    DAriAppendMemberElement(group, &l, &db.h);
    StoredElement* inner = DAriAppendMemberElement(group, &g2, &db.h);
    DAriAppendMemberElement(inner, &l, &db.h);
    ElementRecord h = Full(kElmFigureHeader, 1);
    StoredElement* def = DAriCreateFgroupHead(&h, &db.h);
    DAriAppendMemberElement(def, &l, &db.h);
    ElementRecord place = Full(kElmFigure, 4);
    DAriAppendFgroup(def, &place, &db.h);
    ElementRecord ras = Full(kElmRaster, 2);
    DAriAppendElement(&ras, &db.h);
    AttachRasterBits(&db.h);
    return cad::SerializeDrawing(&db.h, cad::FileKind::Tcf, std::string(64, 'T'));
}

inline uint32_t U32At(const std::string& s, size_t at) {
    uint32_t v;
    memcpy(&v, s.data() + at, 4);
    return v;
}
inline void PutU32(std::string& s, size_t at, uint32_t v) { memcpy(&s[at], &v, 4); }

struct Layout {
    uint32_t sections;
    struct Sec { uint32_t id; uint64_t offset, length; } sec[8];
};

inline Layout Read(const std::string& s) {
    Layout l;
    l.sections = U32At(s, 24);
    for (uint32_t i = 0; i < l.sections && i < 8; ++i) {
        size_t e = 64 + i * 32;
        l.sec[i].id = U32At(s, e);
        memcpy(&l.sec[i].offset, s.data() + e + 8, 8);
        memcpy(&l.sec[i].length, s.data() + e + 16, 8);
    }
    return l;
}

// Recompute every checksum, as a writer that damaged its own data would.
inline void MendChecksums(std::string& s, const Layout& l) {
    if (s.size() < 64) return;
    PutU32(s, 60, cad::Crc32(s.data(), 60));
    size_t table = 64 + l.sections * 32;
    if (table + 4 > s.size()) return;
    for (uint32_t i = 0; i < l.sections; ++i) {
        if (l.sec[i].offset + l.sec[i].length > s.size()) continue;
        PutU32(s, 64 + i * 32 + 28, cad::Crc32(s.data() + l.sec[i].offset, static_cast<size_t>(l.sec[i].length)));
    }
    PutU32(s, table, cad::Crc32(s.data() + 64, l.sections * 32));
}

// Walk what a successful load produced, so that broken links would show.
inline bool Sound(DbHeader* db) {
    int n = 0;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db)) {
        if (++n > DAriGetElmNum(db)) return false;
        if (e->rec.kind == 21 || e->rec.kind == 22 || e->rec.kind == 70) DumpMembers(e, db);
        if (e->rec.kind == kElmFigure) DAriGetFgroupHeaderIdx(e, db);
    }
    return n == DAriGetElmNum(db);
}



struct MutationResult {
    int loaded = 0, refused = 0;
    double seconds = 0;
    std::string fault;  // empty when every case held
};

// Damaged copies of a good file against the loader: a failed load must
// report a status and leave a valid, empty drawing; a successful one must
// leave a drawing whose chain and groups can be walked.
inline MutationResult RunMutations(int cases, unsigned seed) {
    MutationResult res;
    const std::string good = SmallDrawing();
    const Layout layout = Read(good);
    std::mt19937 rng(seed);
    Db db;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < cases && res.fault.empty(); ++i) {
        std::string s = good;
        int kind = static_cast<int>(rng() % 8);
        // Aim at the parts that matter: header, table, and each section.
        size_t at;
        if (rng() % 4 == 0) {
            at = rng() % (64 + 5 * 32 + 4);
        } else {
            const auto& sec = layout.sec[rng() % layout.sections];
            at = static_cast<size_t>(sec.offset + (sec.length ? rng() % sec.length : 0));
        }
        at = std::min(at, s.size() - 1);
        switch (kind) {
        case 0: s[at] = static_cast<char>(s[at] ^ (1 << (rng() % 8))); break;
        case 1: s[at] = static_cast<char>(rng()); break;
        case 2: s.resize(rng() % s.size()); break;
        case 3: s.insert(at, std::string(1 + rng() % 16, static_cast<char>(rng()))); break;
        case 4: s.erase(at, 1 + rng() % 16); break;
        case 5: {  // an absurd 32-bit value
            static const uint32_t absurd[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x10000u, 0};
            if (at + 4 <= s.size()) PutU32(s, at, absurd[rng() % 5]);
            break;
        }
        case 6: {  // damage an offset or length in the section table
            size_t e = 64 + (rng() % layout.sections) * 32;
            PutU32(s, e + 8 + (rng() % 4) * 4, static_cast<uint32_t>(rng()));
            break;
        }
        default:  // several flips close together
            for (int k = 0; k < 8; ++k) {
                size_t p = std::min(s.size() - 1, at + rng() % 64);
                s[p] = static_cast<char>(s[p] ^ (1 << (rng() % 8)));
            }
            break;
        }
        // Half the cases get their checksums mended so the readers see the damage.
        if (rng() % 2) MendChecksums(s, layout);
        uint32_t status = (rng() % 16 == 0) ? 1 : 0;
        bool infoOnly = (rng() % 8) == 0;
        int ok = cad::LoadDrawingBytes(&db.h, s, cad::FileKind::Tcf, &status, infoOnly, nullptr);
        char where[64];
        snprintf(where, sizeof where, "case %d: ", i);
        if (ok) {
            ++res.loaded;
            if (!Sound(&db.h)) res.fault = std::string(where) + "broken drawing after a load";
        } else {
            ++res.refused;
            if (status == 0) res.fault = std::string(where) + "refused without a status";
            else if (DAriGetElmNum(&db.h) != 0 || !db.h.info) res.fault = std::string(where) + "not empty after a refusal";
        }
    }
    res.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return res;
}

}  // namespace cadtest
