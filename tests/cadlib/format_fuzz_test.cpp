// Damaged drawing files against the loader, in memory: bit flips, byte
// overwrites, truncations, insertions and absurd counts, with and without
// the checksums mended so that the damage reaches the section readers.
// No case may crash, hang or allocate without bound, and a failed load must
// leave a valid, empty drawing.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>

#include "cadlib/core/parallel.h"
#include "cadlib/core/spatial_index.h"
#include "tests/cadlib/mutation_loop.h"

using namespace cadtest;

// Files of the old layout as before; the new layout's cases (a third of them
// damaged inside a compressed chunk and compressed again) cost more each,
// so fewer run here: tests/cadlib/native/run.sh runs 100,000 of each.
TEST(CadFileMutation, HundredThousandDamagedFilesNeverBreakTheLoader) {
    const struct {
        uint32_t version;
        int cases;
    } runs[] = {{1u, 100000}, {cad::kFormatVersion, 20000}};
    for (const auto& run : runs) {
        SCOPED_TRACE("version " + std::to_string(run.version));
        MutationResult r = RunMutations(run.cases, 20261210, run.version);
        printf("version %u, %d damaged files: %d loaded, %d refused, %.2f s\n", run.version, run.cases, r.loaded,
               r.refused, r.seconds);
        EXPECT_EQ(r.fault, "");
        EXPECT_GT(r.refused, run.cases / 2);
    }
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

// What a compressed chunk of a version-2 file claims is checked before
// anything is made of it: a raw size beyond what its stored bytes can expand
// to, more element nodes than it holds, or a batch whose counts run past its
// bytes. Each leaves a valid, empty drawing.
TEST(CadFileMutation, ChunksThatClaimTooMuchAreRefused) {
    const std::string good = SmallDrawing(cad::kFormatVersion, 40, 8);
    const Layout l = Read(good);
    uint32_t elem = 0;
    for (uint32_t i = 0; i < l.sections; ++i)
        if (l.sec[i].id == 0x4D454C45) elem = i;
    const size_t dir = static_cast<size_t>(l.sec[elem].offset) + 4;  // first chunk's entry
    struct Case {
        const char* what;
        size_t at;
        uint32_t value;
    } cases[] = {
        {"chunk count of four billion", dir - 4, 0xFFFFFFF0u},
        {"raw size of two gigabytes", dir, 0x7FFFFFFFu},
        {"raw size one byte short", dir, U32At(good, dir) - 1},
        {"four billion element nodes", dir + 8, 0xFFFFFFFFu},
        {"one element node fewer", dir + 8, U32At(good, dir + 8) - 1},
        {"one element node more", dir + 8, U32At(good, dir + 8) + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string s = good;
        PutU32(s, c.at, c.value);
        MendChecksums(s, l);
        Db db;
        ElementRecord r = Line(0, 0, 1, 1);
        DAriAppendElement(&r, &db.h);
        uint32_t status = 0;
        EXPECT_EQ(cad::LoadDrawingBytes(&db.h, s, cad::FileKind::Tcf, &status, false, nullptr), 0);
        EXPECT_EQ(status, static_cast<uint32_t>(kLoadElementDamaged));
        EXPECT_EQ(DAriGetElmNum(&db.h), 0);
        ASSERT_NE(db.h.info, nullptr);
    }
}

// The batches of a large file are read side by side; the drawing, its index
// and the file written again do not depend on how many threads took part.
TEST(CadFileThreads, OneThreadAndManyReadAndWriteTheSame) {
    Db src;
    std::mt19937 rng(5);
    std::uniform_real_distribution<double> pos(-5000, 5000);
    for (int i = 0; i < 3000; ++i) {
        ElementRecord r = Line(pos(rng), pos(rng), pos(rng), pos(rng), 0, i % 7);
        if (i % 5 == 0) {
            r = Full(i % 10 == 0 ? kElmCircle : kElmArc, i);
            CadSetF64(&r, kOffP1X, pos(rng));
        }
        StoredElement* e = DAriAppendElement(&r, &src.h);
        if (i % 97 == 0) DAriSetTag(e, 3, i);
    }
    BuildSample(&src.h);
    cad::SetTreeBatchNodes(100);
    std::string files[2];
    std::string dumps[2];
    std::vector<std::vector<std::pair<uint32_t, std::string>>> entries(2);
    for (int pass = 0; pass < 2; ++pass) {
        cad::SetWorkerCount(pass == 0 ? 1 : 8);
        files[pass] = cad::SerializeDrawing(&src.h, cad::FileKind::Tcf, "");
        Db dst;
        uint32_t status = 0;
        ASSERT_EQ(cad::LoadDrawingBytes(&dst.h, files[0], cad::FileKind::Tcf, &status, false, nullptr), 1);
        dumps[pass] = Dump(&dst.h);
        cad::SpatialIndex* idx = cad::IndexOf(&dst.h);
        ASSERT_NE(idx, nullptr);
        for (const cad::IndexEntry& x : idx->InChainOrder())
            if (x.element) entries[pass].emplace_back(x.element->serial, Hex(&x, 16));
    }
    cad::SetWorkerCount(0);
    cad::SetTreeBatchNodes(0);
    EXPECT_EQ(files[0], files[1]);
    EXPECT_EQ(dumps[0], Dump(&src.h));
    EXPECT_EQ(dumps[1], dumps[0]);
    EXPECT_EQ(entries[1], entries[0]);
    EXPECT_EQ(entries[0].size(), static_cast<size_t>(DAriGetElmNum(&src.h)));
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
    // The damaged files of version 1, then those of version 2 ("v2_").
    const std::string good = cad::SerializeDrawing(&small.h, cad::FileKind::Tcf, "", 1);
    const Layout l = Read(good);
    auto sectionAt = [&](uint32_t id) {
        for (uint32_t i = 0; i < l.sections; ++i)
            if (l.sec[i].id == id) return i;
        return 0u;
    };
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
    write("otcf_as_tcf.tcf", cad::SerializeDrawing(&small.h, cad::FileKind::Otcf, "", 1));
    write("zip_named_tcf.tcf", std::string("PK\x03\x04", 4) + std::string(120, '\x11'));

    const std::string good2 = cad::SerializeDrawing(&small.h, cad::FileKind::Tcf, "");
    const Layout l2 = Read(good2);
    auto section2 = [&](uint32_t id) {
        for (uint32_t i = 0; i < l2.sections; ++i)
            if (l2.sec[i].id == id) return i;
        return 0u;
    };
    write("v2_truncated_body.tcf", good2.substr(0, good2.size() / 2));
    auto flip2 = [&](uint32_t id, const char* name) {
        std::string s = good2;
        s[static_cast<size_t>(l2.sec[section2(id)].offset + l2.sec[section2(id)].length / 2)] ^= 0x10;
        write(name, s);
    };
    flip2(0x45474150, "v2_flipped_pages.tcf");
    flip2(0x50524746, "v2_flipped_figures.tcf");
    flip2(0x4D454C45, "v2_flipped_elements.tcf");
    const size_t elem = static_cast<size_t>(l2.sec[section2(0x4D454C45)].offset);
    {
        std::string s = good2;
        PutU32(s, elem + 4, 0x7FFFFFFFu);  // the first chunk's raw size
        MendChecksums(s, l2);
        write("v2_huge_chunk.tcf", s);
    }
    {
        std::string s = good2;
        PutU32(s, elem + 12, 0xFFFFFFFFu);  // the first chunk's element nodes
        MendChecksums(s, l2);
        write("v2_absurd_nodes.tcf", s);
    }
    {
        std::string s = good2;
        PutU32(s, 64 + section2(0x4D454C45) * 32 + 4, 9);
        MendChecksums(s, l2);
        write("v2_unknown_codec.tcf", s);
    }
    // Damage inside the compressed batch, compressed again: the raster
    // element's data claims a method we do not know, and a tree count that
    // runs past the batch.
    auto inside = [&](const char* name, const std::function<void(std::string&)>& damage) {
        const uint8_t* sec = reinterpret_cast<const uint8_t*>(good2.data()) + elem;
        std::vector<cad::ChunkInfo> chunks;
        ASSERT_TRUE(cad::SplitChunks(sec, static_cast<size_t>(l2.sec[section2(0x4D454C45)].length), chunks));
        ASSERT_EQ(chunks.size(), 1u);
        std::string raw(chunks[0].rawSize, '\0');
        ASSERT_TRUE(cad::ExpandBlock(sec + chunks[0].at, chunks[0].storedSize, &raw[0], raw.size()));
        damage(raw);
        std::vector<std::string> stored(1);
        cad::CompressBlock(raw.data(), raw.size(), stored[0]);
        write(name, WithSection(good2, section2(0x4D454C45),
                                cad::JoinChunks(stored, {static_cast<uint32_t>(raw.size())}, {chunks[0].items})));
    };
    inside("v2_bad_raster_codec.tcf", [](std::string& raw) { raw[raw.find("RLE1") + 3] = '9'; });
    inside("v2_absurd_trees.tcf", [](std::string& raw) { PutU32(raw, 0, 0x40000000u); });
    write("v2_otcf_as_tcf.tcf", cad::SerializeDrawing(&small.h, cad::FileKind::Otcf, ""));
}

// Writes tests/cadlib/sample.tcf and its old-version copy sample_v1.tcf when
// ZAV_CADLIB_REGEN is set.
TEST(CadSample, SampleDrawingCanBeRebuilt) {
    const char* regen = getenv("ZAV_CADLIB_REGEN");
    const char* src = getenv("ZAV_SOURCE_DIR");
    if (!regen || !src) GTEST_SKIP() << "set ZAV_CADLIB_REGEN=1 to rebuild the sample";
    Db db;
    BuildSample(&db);
    uint32_t status = 0;
    std::string path = std::string(src) + "/tests/cadlib/sample.tcf";
    ASSERT_EQ(cad::SaveDrawing(&db.h, path.c_str(), cad::FileKind::Tcf, "", &status), 1);
    // The same drawing in the old layout, the fixture of the loading of old files.
    std::ofstream old(std::string(src) + "/tests/cadlib/sample_v1.tcf", std::ios::binary);
    const std::string bytes = cad::SerializeDrawing(&db.h, cad::FileKind::Tcf, "", 1);
    old.write(bytes.data(), bytes.size());
}
