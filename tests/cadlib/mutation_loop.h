// The mutation loop over damaged drawing files of both versions, shared by
// the test program and the native sanitizer build (tests/cadlib/native/).
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "cadlib/core/block_codec.h"
#include "cadlib/core/crc32.h"
#include "cadlib/core/file_format.h"
#include "cadlib/core/file_parts.h"
#include "tests/cadlib/drawing_builder.h"

namespace cadtest {

// A small drawing with one of each structure the readers know: elements
// with text, tags and user data, a nested group, a figure definition placed
// once, raster data, a second page and layer names; `lines` more lines after
// them. Version 2 files are cut into batches of `batch` nodes (0: as saves
// cut them), so that a small file has several.
inline std::string SmallDrawing(uint32_t version = cad::kFormatVersion, int lines = 0, uint32_t batch = 0) {
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
    for (int i = 0; i < lines; ++i) {
        ElementRecord r = Line(i, -i, i * 2.5, 7 + i, 0, i % 5);
        DAriAppendElement(&r, &db.h);
    }
    cad::SetTreeBatchNodes(batch);
    std::string file = cad::SerializeDrawing(&db.h, cad::FileKind::Tcf, std::string(64, 'T'), version);
    cad::SetTreeBatchNodes(0);
    return file;
}

inline uint32_t U32At(const std::string& s, size_t at) {
    uint32_t v;
    memcpy(&v, s.data() + at, 4);
    return v;
}
inline void PutU32(std::string& s, size_t at, uint32_t v) { memcpy(&s[at], &v, 4); }

struct Layout {
    uint32_t sections;
    struct Sec {
        uint32_t id;
        uint64_t offset, length;
    } sec[8];
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

// The file with the stored bytes of section `index` replaced: offsets,
// lengths and every checksum made anew, as a writer that damaged its own
// data would.
inline std::string WithSection(const std::string& file, uint32_t index, const std::string& bytes) {
    const Layout l = Read(file);
    std::string out = file.substr(0, 64 + l.sections * 32 + 4);
    for (uint32_t i = 0; i < l.sections; ++i) {
        uint64_t at = out.size();
        const std::string part =
            i == index ? bytes
                       : file.substr(static_cast<size_t>(l.sec[i].offset), static_cast<size_t>(l.sec[i].length));
        uint64_t len = part.size();
        memcpy(&out[64 + i * 32 + 8], &at, 8);
        memcpy(&out[64 + i * 32 + 16], &len, 8);
        out += part;
    }
    Layout nl = Read(out);
    MendChecksums(out, nl);
    return out;
}

// Damage to bytes in memory: what the loop does to a file, or to the
// content of a compressed chunk before it is compressed again.
inline void Damage(std::string& s, size_t at, std::mt19937& rng) {
    if (s.empty()) {
        s.assign(1 + rng() % 8, static_cast<char>(rng()));
        return;
    }
    at = std::min(at, s.size() - 1);
    switch (rng() % 8) {
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
    case 6:  // a run of continued varint bytes (an absurd count or length)
        for (size_t k = at; k < s.size() && k < at + 1 + rng() % 10; ++k)
            s[k] = static_cast<char>(0xFF);
        break;
    default:  // several flips close together
        for (int k = 0; k < 8; ++k) {
            size_t p = std::min(s.size() - 1, at + rng() % 64);
            s[p] = static_cast<char>(s[p] ^ (1 << (rng() % 8)));
        }
        break;
    }
}

// Damage inside one compressed chunk of a version-2 file: the chunk is
// expanded, damaged and compressed again, and every checksum mended, so the
// damage reaches the readers of elements and pages rather than the
// decompressor. False when the file has no chunk to damage.
inline bool DamageInsideChunk(std::string& file, std::mt19937& rng) {
    const Layout l = Read(file);
    std::vector<uint32_t> coded;
    for (uint32_t i = 0; i < l.sections && i < 8; ++i)
        if (U32At(file, 64 + i * 32 + 4) == cad::kCodecChunks) coded.push_back(i);
    if (coded.empty()) return false;
    uint32_t index = coded[rng() % coded.size()];
    const uint8_t* sec = reinterpret_cast<const uint8_t*>(file.data()) + l.sec[index].offset;
    std::vector<cad::ChunkInfo> chunks;
    if (!cad::SplitChunks(sec, static_cast<size_t>(l.sec[index].length), chunks) || chunks.empty()) return false;
    std::vector<std::string> stored, raws;
    std::vector<uint32_t> rawSizes, items;
    for (const cad::ChunkInfo& c : chunks) {
        std::string raw(c.rawSize, '\0');
        if (!cad::ExpandBlock(sec + c.at, c.storedSize, &raw[0], c.rawSize)) return false;
        raws.push_back(raw);
        items.push_back(c.items);
    }
    size_t which = rng() % raws.size();
    Damage(raws[which], raws[which].empty() ? 0 : rng() % raws[which].size(), rng);
    if (rng() % 8 == 0) items[which] = rng() % 4 ? items[which] + 1 - rng() % 3 : static_cast<uint32_t>(rng());
    for (const std::string& raw : raws) {
        stored.emplace_back();
        cad::CompressBlock(raw.data(), raw.size(), stored.back());
        rawSizes.push_back(static_cast<uint32_t>(raw.size()));
    }
    file = WithSection(file, index, cad::JoinChunks(stored, rawSizes, items));
    return true;
}

struct MutationResult {
    int loaded = 0, refused = 0;
    double seconds = 0;
    std::string fault;  // empty when every case held
};

// Damaged copies of a good file of `version` against the loader: a failed
// load must report a status and leave a valid, empty drawing; a successful
// one must leave a drawing whose chain and groups can be walked. Files of
// version 2 hold several batches, and a third of their cases are damaged
// inside a compressed chunk.
inline MutationResult RunMutations(int cases, unsigned seed, uint32_t version = cad::kFormatVersion) {
    MutationResult res;
    const std::string good = version >= 2 ? SmallDrawing(version, 40, 8) : SmallDrawing(version);
    const Layout layout = Read(good);
    std::mt19937 rng(seed);
    Db db;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < cases && res.fault.empty(); ++i) {
        std::string s = good;
        if (version >= 2 && rng() % 3 == 0 && DamageInsideChunk(s, rng)) {
            // checksums already mended
        } else {
            // Aim at the parts that matter: header, table, and each section.
            size_t at;
            if (rng() % 4 == 0) {
                at = rng() % (64 + layout.sections * 32 + 4);
            } else {
                const auto& sec = layout.sec[rng() % layout.sections];
                at = static_cast<size_t>(sec.offset + (sec.length ? rng() % sec.length : 0));
            }
            if (rng() % 8 == 0) {
                // damage an offset or length in the section table
                size_t e = 64 + (rng() % layout.sections) * 32;
                PutU32(s, e + 8 + (rng() % 4) * 4, static_cast<uint32_t>(rng()));
            } else {
                Damage(s, at, rng);
            }
            // Half the cases get their checksums mended so the readers see the damage.
            if (rng() % 2) MendChecksums(s, layout);
        }
        uint32_t status = (rng() % 16 == 0) ? 1 : 0;
        bool infoOnly = (rng() % 8) == 0;
        int ok = cad::LoadDrawingBytes(&db.h, s, cad::FileKind::Tcf, &status, infoOnly, nullptr);
        char where[64];
        snprintf(where, sizeof where, "version %u case %d: ", version, i);
        if (ok) {
            ++res.loaded;
            if (!Sound(&db.h)) res.fault = std::string(where) + "broken drawing after a load";
        } else {
            ++res.refused;
            if (status == 0)
                res.fault = std::string(where) + "refused without a status";
            else if (DAriGetElmNum(&db.h) != 0 || !db.h.info)
                res.fault = std::string(where) + "not empty after a refusal";
        }
    }
    res.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return res;
}

}  // namespace cadtest
