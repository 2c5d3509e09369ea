// Damaged drawing files against the loader, in memory: bit flips, byte
// overwrites, truncations, insertions and absurd counts, with and without
// the checksums mended so that the damage reaches the section readers.
// No case may crash, hang or allocate without bound, and a failed load must
// leave a valid, empty drawing.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <random>

#include "cadlib/core/crc32.h"
#include "cadlib/core/file_format.h"
#include "tests/cadlib/drawing_builder.h"

using namespace cadtest;

namespace {

// A small drawing with one of each structure the readers know: elements
// with text, tags and user data, a nested group, a figure definition placed
// once, raster data, a second page and layer names.
std::string SmallDrawing() {
    Db db;
    DAriSetLayerName(0, 3, "壁", &db.h);
    PageRecord* rec = new PageRecord;
    memset(rec, 0, sizeof *rec);
    DAriAddPage(1, rec, &db.h);
    delete rec;
    DAriSetLayerName(1, 2, "一階", &db.h);
    ElementRecord l = Line(0, 0, 10, 10, 1, 2);
    StoredElement* e = DAriAppendElement(&db.h, &l);
    DAriSetTag(e, 210, 1);
    DAriSetTagString(e, "KOLTA20000");
    uint8_t user[256] = {1, 2, 3};
    DAriSet256UserData(e, user);
    ElementRecord t = Full(kElmText, 3);
    CadSetPtr(&t, kOffTextPtr, "文字");
    DAriAppendElement(&db.h, &t);
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
    DAriAppendElement(&db.h, &ras);
    AttachRasterBits(&db.h);
    return cad::SerializeDrawing(&db.h, cad::FileKind::Tcf, std::string(64, 'T'));
}

uint32_t U32At(const std::string& s, size_t at) {
    uint32_t v;
    memcpy(&v, s.data() + at, 4);
    return v;
}
void PutU32(std::string& s, size_t at, uint32_t v) { memcpy(&s[at], &v, 4); }

struct Layout {
    uint32_t sections;
    struct Sec { uint32_t id; uint64_t offset, length; } sec[8];
};

Layout Read(const std::string& s) {
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
void MendChecksums(std::string& s, const Layout& l) {
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
void CheckSound(DbHeader* db) {
    int n = 0;
    for (StoredElement* e = DAriReadElement(db, nullptr, 0, nullptr); e; e = DAriReadElement(db, e, 1, nullptr)) {
        ++n;
        ASSERT_LE(n, DAriGetElmNum(db));
        if (e->rec.kind == 21 || e->rec.kind == 22 || e->rec.kind == 70) DumpMembers(e, db);
        if (e->rec.kind == kElmFigure) DAriGetFgroupHeaderIdx(e, db);
    }
    ASSERT_EQ(n, DAriGetElmNum(db));
}

}  // namespace

TEST(CadFileMutation, HundredThousandDamagedFilesNeverBreakTheLoader) {
    const std::string good = SmallDrawing();
    const Layout layout = Read(good);
    ASSERT_EQ(layout.sections, 5u);
    {
        Db db;
        uint32_t status = 0;
        ASSERT_EQ(cad::LoadDrawingBytes(&db.h, good, cad::FileKind::Tcf, &status, false, nullptr), 1);
    }
    std::mt19937 rng(20261210);
    const int kCases = 100000;
    int loaded = 0, failed = 0;
    Db db;
    auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kCases; ++i) {
        std::string s = good;
        int kind = static_cast<int>(rng() % 8);
        // Aim at the parts that matter: header, table, and each section.
        size_t at;
        int region = static_cast<int>(rng() % 4);
        if (region == 0) at = rng() % (64 + 5 * 32 + 4);
        else {
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
        case 6: {  // damage a count or length field and the section table
            size_t e = 64 + (rng() % layout.sections) * 32;
            PutU32(s, e + 8 + (rng() % 4) * 4, static_cast<uint32_t>(rng()));
            break;
        }
        default: {  // several flips in one section
            for (int k = 0; k < 8; ++k) {
                size_t p = std::min(s.size() - 1, at + rng() % 64);
                s[p] = static_cast<char>(s[p] ^ (1 << (rng() % 8)));
            }
            break;
        }
        }
        // Half the cases get their checksums mended so the readers see the damage.
        if (rng() % 2) MendChecksums(s, layout);
        uint32_t status = (rng() % 16 == 0) ? 1 : 0;
        int ok = cad::LoadDrawingBytes(&db.h, s, cad::FileKind::Tcf, &status, (rng() % 8) == 0, nullptr);
        if (ok) {
            ++loaded;
            CheckSound(&db.h);
        } else {
            ++failed;
            ASSERT_NE(status, 0u) << "case " << i;
            ASSERT_EQ(DAriGetElmNum(&db.h), 0) << "case " << i;
            ASSERT_NE(db.h.info, nullptr) << "case " << i;
        }
        if (HasFatalFailure()) FAIL() << "case " << i;
    }
    double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    printf("%d damaged files: %d loaded, %d refused, %.2f s\n", kCases, loaded, failed, secs);
    EXPECT_GT(failed, kCases / 2);
}

TEST(CadFileMutation, AbsurdSizesAreRefusedWithoutAllocating) {
    std::string s = SmallDrawing();
    Layout l = Read(s);
    // Element count of four billion in a mended section.
    for (uint32_t i = 0; i < l.sections; ++i) {
        if (l.sec[i].id != 0x4D454C45) continue;
        PutU32(s, static_cast<size_t>(l.sec[i].offset), 0xFFFFFFF0u);
    }
    MendChecksums(s, l);
    Db db;
    uint32_t status = 0;
    EXPECT_EQ(cad::LoadDrawingBytes(&db.h, s, cad::FileKind::Tcf, &status, false, nullptr), 0);
    EXPECT_EQ(status, static_cast<uint32_t>(kLoadElementDamaged));
    // A run-length section claiming gigabytes when expanded.
    std::string t = SmallDrawing();
    Layout lt = Read(t);
    for (uint32_t i = 0; i < lt.sections; ++i) {
        if (lt.sec[i].id != 0x45474150) continue;
        PutU32(t, static_cast<size_t>(lt.sec[i].offset) + 4, 0x7FFFFFFFu);
    }
    MendChecksums(t, lt);
    status = 0;
    EXPECT_EQ(cad::LoadDrawingBytes(&db.h, t, cad::FileKind::Tcf, &status, false, nullptr), 0);
    EXPECT_EQ(status, static_cast<uint32_t>(kLoadInfoDamaged));
}

// Writes the damaged files of tests/cadlib/corpus/ when ZAV_CADLIB_REGEN is
// set; the export tests load them and check their statuses.
TEST(CadFileMutation, CorpusOfDamagedFilesCanBeRebuilt) {
    const char* regen = getenv("ZAV_CADLIB_REGEN");
    const char* src = getenv("ZAV_SOURCE_DIR");
    if (!regen || !src) GTEST_SKIP() << "set ZAV_CADLIB_REGEN=1 to rebuild the corpus";
    std::string dir = std::string(src) + "/tests/cadlib/corpus/";
    Db small;
    ElementRecord r = Line(0, 0, 10, 10);
    DAriAppendElement(&small.h, &r);
    ElementRecord h = Full(kElmFigureHeader, 1);
    StoredElement* def = DAriCreateFgroupHead(&h, &small.h);
    DAriAppendMemberElement(def, &r, &small.h);
    ElementRecord ras = Full(kElmRaster, 2);
    DAriAppendElement(&small.h, &ras);
    AttachRasterBits(&small.h);
    const std::string good = cad::SerializeDrawing(&small.h, cad::FileKind::Tcf, "");
    const Layout l = Read(good);
    auto sectionAt = [&](uint32_t id) { for (uint32_t i = 0; i < l.sections; ++i) if (l.sec[i].id == id) return i; return 0u; };
    auto write = [&](const char* name, const std::string& bytes) {
        std::ofstream f(dir + name, std::ios::binary);
        f.write(bytes.data(), bytes.size());
    };
    write("truncated_header.tcf", good.substr(0, 40));
    write("truncated_body.tcf", good.substr(0, good.size() / 2));
    auto flip = [&](uint32_t id, const char* name) {
        std::string s = good;
        s[static_cast<size_t>(l.sec[sectionAt(id)].offset) + 5] ^= 0x10;
        write(name, s);
    };
    flip(0x4F464E49, "flipped_info.tcf");
    flip(0x45474150, "flipped_pages.tcf");
    flip(0x50524746, "flipped_figures.tcf");
    flip(0x4D454C45, "flipped_elements.tcf");
    {
        std::string s = good;
        PutU32(s, static_cast<size_t>(l.sec[sectionAt(0x4D454C45)].offset), 0x40000000u);
        MendChecksums(s, l);
        write("absurd_counts.tcf", s);
    }
    {
        std::string s = good;
        size_t e = 64 + sectionAt(0x4D454C45) * 32;
        uint64_t distant = 0x7FFFFFFFFFFFull;
        memcpy(&s[e + 8], &distant, 8);
        MendChecksums(s, l);
        write("absurd_offsets.tcf", s);
    }
    {
        std::string s = good;
        PutU32(s, 64 + sectionAt(0x45474150) * 32 + 4, 7);
        MendChecksums(s, l);
        write("unknown_codec.tcf", s);
    }
    {
        // The raster element's compressed data claims a method we do not know.
        std::string s = good;
        size_t at = s.find("RLE1", static_cast<size_t>(l.sec[sectionAt(0x4D454C45)].offset));
        s[at + 3] = '9';
        MendChecksums(s, l);
        write("bad_raster_codec.tcf", s);
    }
    write("otcf_as_tcf.tcf", cad::SerializeDrawing(&small.h, cad::FileKind::Otcf, ""));
    write("zip_named_tcf.tcf", std::string("PK\x03\x04", 4) + std::string(120, '\x11'));
}

// Writes tests/cadlib/sample.tcf when ZAV_CADLIB_REGEN is set.
TEST(CadSample, SampleDrawingCanBeRebuilt) {
    const char* regen = getenv("ZAV_CADLIB_REGEN");
    const char* src = getenv("ZAV_SOURCE_DIR");
    if (!regen || !src) GTEST_SKIP() << "set ZAV_CADLIB_REGEN=1 to rebuild the sample";
    Db db;
    BuildSample(&db);
    uint32_t status = 0;
    std::string path = std::string(src) + "/tests/cadlib/sample.tcf";
    ASSERT_EQ(cad::SaveDrawing(&db.h, path.c_str(), cad::FileKind::Tcf, "", &status), 1);
}
