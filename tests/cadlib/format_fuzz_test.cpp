// Damaged drawing files against the loader, in memory: bit flips, byte
// overwrites, truncations, insertions and absurd counts, with and without
// the checksums mended so that the damage reaches the section readers.
// No case may crash, hang or allocate without bound, and a failed load must
// leave a valid, empty drawing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "tests/cadlib/mutation_loop.h"

using namespace cadtest;

TEST(CadFileMutation, HundredThousandDamagedFilesNeverBreakTheLoader) {
    MutationResult r = RunMutations(100000, 20261210);
    printf("100000 damaged files: %d loaded, %d refused, %.2f s\n", r.loaded, r.refused, r.seconds);
    EXPECT_EQ(r.fault, "");
    EXPECT_GT(r.refused, 50000);
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
    DAriAppendElement(&r, &small.h);
    ElementRecord h = Full(kElmFigureHeader, 1);
    StoredElement* def = DAriCreateFgroupHead(&h, &small.h);
    DAriAppendMemberElement(def, &r, &small.h);
    ElementRecord ras = Full(kElmRaster, 2);
    DAriAppendElement(&ras, &small.h);
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
