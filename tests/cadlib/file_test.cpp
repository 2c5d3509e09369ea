// The drawing files through the exports: real files on disk, round trips of
// everything a drawing holds, the head-only load with the thumbnail, and the
// status bits callers test for files that are not ours or are damaged.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/cadlib/drawing_builder.h"

using namespace cadtest;

namespace {

std::string TempDir() {
    char dir[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    std::string d = std::string(dir) + "cadlib_file_test\\";
    CreateDirectoryA(d.c_str(), nullptr);
    return d;
}

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f.write(bytes.data(), bytes.size());
}

std::string SourceDir() {
    const char* s = getenv("ZAV_SOURCE_DIR");
    return s ? std::string(s) : std::string(".");
}

uint32_t Crc(const std::string& s, size_t at, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= static_cast<uint8_t>(s[at + i]);
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    }
    return ~c;
}

}  // namespace

TEST(CadFiles, EveryKindAndAttributeSurvivesASaveAndALoad) {
    std::string dir = TempDir();
    for (const char* ext : {".tcf", ".otcf"}) {
        SCOPED_TRACE(ext);
        std::string path = dir + "round trip 図面" + ext;
        bool tcf = std::string(ext) == ".tcf";
        Db src;
        BuildSample(&src);
        uint32_t status = 0;
        ASSERT_EQ((tcf ? DAriSaveFileOfCWX : DAriSaveFileOfCWU)(path.c_str(), &src, &status), 1);
        EXPECT_EQ(status, 0u);
        Db dst;
        ElementRecord junk = Line(5, 5, 6, 6);
        DAriAppendElement(&junk, &dst);  // a load replaces what was there
        dst.h.hostWord = 0x1234;
        ASSERT_EQ((tcf ? DAriLoadFileOfCWX : DAriLoadFileOfCWU)(path.c_str(), &dst, &status), 1);
        EXPECT_EQ(status, 0u);
        EXPECT_EQ(Dump(&dst), Dump(&src));
        EXPECT_EQ(dst.h.hostWord, 0u);  // the view fits the paper after a load
        EXPECT_EQ(dst.h.info, DAriGetDbInfoPtr(0, &dst));
        EXPECT_EQ(dst.h.firstUndo, nullptr);
        // The wrong call for the kind is told apart from a foreign file.
        ASSERT_EQ((tcf ? DAriLoadFileOfCWU : DAriLoadFileOfCWX)(path.c_str(), &dst, &status), 0);
        EXPECT_EQ(status, static_cast<uint32_t>(kLoadUnknownFormat));
        EXPECT_EQ(DAriGetElmNum(&dst), 0);
    }
}

TEST(CadFiles, TheDrawingKnowsTheFileItWasLastReadFromOrWrittenTo) {
    std::string dir = TempDir();
    const std::string first = dir + "最初の 図面.tcf", second = dir + "second.otcf";
    Db db;
    BuildSample(&db);
    uint32_t status = 0;
    ASSERT_EQ(DAriSaveFileOfCWX(first.c_str(), &db, &status), 1);
    EXPECT_STREQ(first.c_str(), DAriGetDbInfoPtr(0, &db)->extFileName);
    ASSERT_EQ(DAriSaveFileOfCWU(second.c_str(), &db, &status), 1);
    EXPECT_STREQ(second.c_str(), DAriGetDbInfoPtr(0, &db)->extFileName);
    Db loaded;
    ASSERT_EQ(DAriLoadFileOfCWX(first.c_str(), &loaded, &status), 1);
    EXPECT_STREQ(first.c_str(), DAriGetDbInfoPtr(0, &loaded)->extFileName) << "the file it came from";
    // A failed write leaves the name as it was.
    status = 0;
    EXPECT_NE(DAriSaveFileOfCWX((dir + "no such folder\\x.tcf").c_str(), &loaded, &status), 1);
    EXPECT_STREQ(first.c_str(), DAriGetDbInfoPtr(0, &loaded)->extFileName);
}

TEST(CadFiles, InformationLoadReadsTheHeadAndTheThumbnail) {
    std::string path = TempDir() + "info.tcf";
    Db src;
    BuildSample(&src);
    HDC screen = GetDC(nullptr);
    HBITMAP thumb = CreateCompatibleBitmap(screen, 176, 126);
    HDC mem = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(mem, thumb);
    RECT rc = {0, 0, 176, 126};
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    FillRect(mem, &rc, red);
    SelectObject(mem, old);
    DeleteObject(red);
    DeleteDC(mem);
    ReleaseDC(nullptr, screen);
    src.h.thumbnail = thumb;
    uint32_t status = 0;
    ASSERT_EQ(DAriSaveFileOfCWX(path.c_str(), &src, &status), 1);
    src.h.thumbnail = nullptr;
    DeleteObject(thumb);

    DbHeader preview;
    memset(&preview, 0, sizeof preview);
    status = 1;  // the dialogs force newer files in
    ASSERT_EQ(DAriLoadInfoOfCWX(path.c_str(), &preview, &status), 1);
    ASSERT_NE(preview.info, nullptr);
    EXPECT_STREQ(preview.info->texts0[3], "見本図面 ソ表");
    EXPECT_EQ(DAriGetElmNum(&preview), 0);
    ASSERT_NE(preview.thumbnail, nullptr);
    BITMAP bm;
    GetObjectA(static_cast<HBITMAP>(preview.thumbnail), sizeof bm, &bm);
    EXPECT_EQ(bm.bmWidth, 176);
    EXPECT_EQ(bm.bmHeight, 126);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ o = SelectObject(dc, preview.thumbnail);
    EXPECT_EQ(GetPixel(dc, 10, 10), RGB(255, 0, 0));
    SelectObject(dc, o);
    DeleteDC(dc);
    DeleteObject(static_cast<HBITMAP>(preview.thumbnail));
    DAriDeleteDB(&preview);

    // Only the head is read: a file cut after its thumbnail still gives its
    // information, while a full load refuses it.
    std::string bytes = ReadFile(path);
    uint64_t headEnd = 0;
    for (int i = 0; i < 2; ++i) {  // INFO and THMB come first
        uint64_t off, len;
        memcpy(&off, &bytes[64 + i * 32 + 8], 8);
        memcpy(&len, &bytes[64 + i * 32 + 16], 8);
        headEnd = std::max(headEnd, off + len);
    }
    ASSERT_LT(headEnd, bytes.size());
    std::string cut = TempDir() + "info_cut.tcf";
    WriteFile(cut, bytes.substr(0, static_cast<size_t>(headEnd)));
    memset(&preview, 0, sizeof preview);
    status = 0;
    EXPECT_EQ(DAriLoadInfoOfCWX(cut.c_str(), &preview, &status), 1);
    EXPECT_STREQ(preview.info->texts0[3], "見本図面 ソ表");
    if (preview.thumbnail) DeleteObject(static_cast<HBITMAP>(preview.thumbnail));
    status = 0;
    EXPECT_EQ(DAriLoadFileOfCWX(cut.c_str(), &preview, &status), 0);
    EXPECT_NE(status, 0u);
    DAriDeleteDB(&preview);
}

TEST(CadFiles, ANewerFormatAsksFirstAndLoadsWhenForced) {
    std::string dir = TempDir();
    std::string path = dir + "newer.tcf";
    Db src;
    ElementRecord r = Line(1, 2, 3, 4);
    DAriAppendElement(&r, &src);
    uint32_t status = 0;
    ASSERT_EQ(DAriSaveFileOfCWX(path.c_str(), &src, &status), 1);
    std::string bytes = ReadFile(path);
    uint32_t v = 99;
    memcpy(&bytes[16], &v, 4);  // written by version 99
    memcpy(&bytes[20], &v, 4);  // readable from version 99 on
    uint32_t c = Crc(bytes, 0, 60);
    memcpy(&bytes[60], &c, 4);
    WriteFile(path, bytes);
    Db dst;
    status = 0;
    EXPECT_EQ(DAriLoadFileOfCWX(path.c_str(), &dst, &status), 0);
    EXPECT_EQ(status, 1u);
    EXPECT_EQ(DAriGetElmNum(&dst), 0);
    status = 1;
    EXPECT_EQ(DAriLoadFileOfCWX(path.c_str(), &dst, &status), 1);
    EXPECT_EQ(DAriGetElmNum(&dst), 1);
}

TEST(CadFiles, FilesThatAreNotDrawingsFailCleanly) {
    std::string dir = TempDir();
    struct Case {
        const char* name;
        std::string bytes;
        uint32_t bits;
    } cases[] = {
        {"empty", "", kLoadNotDrawing},
        {"text", "this is a text file, not a drawing\r\n", kLoadNotDrawing},
        {"bitmap", std::string("BM") + std::string(200, '\0'), kLoadNotDrawing},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = dir + c.name + ".tcf";
        WriteFile(path, c.bytes);
        Db db;
        ElementRecord r = Line(0, 0, 1, 1);
        DAriAppendElement(&r, &db);
        uint32_t status = 0;
        EXPECT_EQ(DAriLoadFileOfCWX(path.c_str(), &db, &status), 0);
        EXPECT_EQ(status, c.bits);
        // A failed load leaves a valid, empty drawing.
        EXPECT_EQ(DAriGetElmNum(&db), 0);
        ASSERT_NE(db.h.info, nullptr);
        EXPECT_NE(DAriAppendElement(&r, &db), nullptr);
    }
    Db db;
    uint32_t status = 0;
    EXPECT_EQ(DAriLoadFileOfCWX((dir + "missing.tcf").c_str(), &db, &status), 0);
    EXPECT_EQ(status, static_cast<uint32_t>(kLoadNotDrawing));
}

// The damaged files kept in the repository, each with the status it must give.
TEST(CadFiles, CorpusOfDamagedFiles) {
    std::string dir = SourceDir() + "/tests/cadlib/corpus/";
    struct Case {
        const char* file;
        uint32_t bits;
    } cases[] = {
        {"truncated_header.tcf", kLoadNotDrawing},
        {"truncated_body.tcf", kLoadInfoDamaged},
        {"flipped_info.tcf", kLoadInfoDamaged},
        {"flipped_pages.tcf", kLoadInfoDamaged},
        {"flipped_figures.tcf", kLoadGroupDamaged},
        {"flipped_elements.tcf", kLoadElementDamaged},
        {"absurd_counts.tcf", kLoadElementDamaged},
        {"absurd_offsets.tcf", kLoadElementDamaged},
        {"unknown_codec.tcf", kLoadUnknownCompression},
        {"bad_raster_codec.tcf", kLoadUnknownCompression},
        {"otcf_as_tcf.tcf", kLoadUnknownFormat},
        {"zip_named_tcf.tcf", kLoadNotDrawing},
        {"v2_truncated_body.tcf", kLoadInfoDamaged},
        {"v2_flipped_pages.tcf", kLoadInfoDamaged},
        {"v2_flipped_figures.tcf", kLoadGroupDamaged},
        {"v2_flipped_elements.tcf", kLoadElementDamaged},
        {"v2_huge_chunk.tcf", kLoadElementDamaged},
        {"v2_absurd_nodes.tcf", kLoadElementDamaged},
        {"v2_absurd_trees.tcf", kLoadElementDamaged},
        {"v2_unknown_codec.tcf", kLoadUnknownCompression},
        {"v2_bad_raster_codec.tcf", kLoadUnknownCompression},
        {"v2_otcf_as_tcf.tcf", kLoadUnknownFormat},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.file);
        std::string path = dir + c.file;
        ASSERT_FALSE(ReadFile(path).empty());
        Db db;
        uint32_t status = 0;
        EXPECT_EQ(DAriLoadFileOfCWX(path.c_str(), &db, &status), 0);
        EXPECT_EQ(status, c.bits);
        EXPECT_EQ(DAriGetElmNum(&db), 0);
        DbHeader info;
        memset(&info, 0, sizeof info);
        status = 1;
        DAriLoadInfoOfCWX(path.c_str(), &info, &status);
        DAriDeleteDB(&info);
    }
}

TEST(CadFiles, SampleDrawingLoadsAsBuilt) {
    // The sample in the current layout and its copy in the old one.
    for (const char* name : {"/tests/cadlib/sample.tcf", "/tests/cadlib/sample_v1.tcf"}) {
        SCOPED_TRACE(name);
        std::string path = SourceDir() + name;
        Db built;
        BuildSample(&built);
        Db loaded;
        uint32_t status = 0;
        ASSERT_EQ(DAriLoadFileOfCWX(path.c_str(), &loaded, &status), 1) << "status " << status;
        EXPECT_EQ(Dump(&loaded), Dump(&built));
    }
}

// A file of the old layout loads; saved again it takes the new one (version
// 2, elements and pages compressed) and reloads with the same contents, and
// a version-1 reader would have been told it is newer.
TEST(CadFiles, OldFilesLoadAndAreSavedInTheNewVersion) {
    std::string dir = TempDir();
    Db old;
    uint32_t status = 0;
    ASSERT_EQ(DAriLoadFileOfCWX((SourceDir() + "/tests/cadlib/sample_v1.tcf").c_str(), &old, &status), 1);
    const std::string before = ReadFile(SourceDir() + "/tests/cadlib/sample_v1.tcf");
    uint32_t version, minReader;
    memcpy(&version, &before[16], 4);
    EXPECT_EQ(version, 1u);
    std::string path = dir + "saved again.tcf";
    ASSERT_EQ(DAriSaveFileOfCWX(path.c_str(), &old, &status), 1);
    const std::string after = ReadFile(path);
    memcpy(&version, &after[16], 4);
    memcpy(&minReader, &after[20], 4);
    EXPECT_EQ(version, 2u);
    EXPECT_EQ(minReader, 2u);
    // Sections: INFO and THMB stored as they are (the head read takes them
    // without expanding anything), PAGE, FGRP and ELEM in compressed chunks.
    const uint32_t codecs[5] = {0, 0, 2, 2, 2};
    for (int i = 0; i < 5; ++i) {
        uint32_t codec;
        memcpy(&codec, &after[64 + i * 32 + 4], 4);
        EXPECT_EQ(codec, codecs[i]) << "section " << i;
    }
    EXPECT_LT(after.size(), before.size());
    Db back;
    ASSERT_EQ(DAriLoadFileOfCWX(path.c_str(), &back, &status), 1);
    EXPECT_EQ(Dump(&back), Dump(&old));
}

// A window sets its drawing's undo level once, when it makes the database;
// opening a file into it, or failing to, must not switch recording off.
TEST(CadFiles, ALoadKeepsTheUndoSettingOfTheDatabase) {
    std::string dir = TempDir();
    std::string good = dir + "undo_kept.tcf", bad = dir + "undo_kept_bad.tcf";
    {
        Db src;
        ElementRecord r = Line(0, 0, 1, 1);
        DAriAppendElement(&r, &src);
        uint32_t status = 0;
        ASSERT_EQ(DAriSaveFileOfCWX(good.c_str(), &src, &status), 1);
        WriteFile(bad, "not a drawing");
    }
    for (const std::string& path : {good, bad}) {
        SCOPED_TRACE(path);
        Db db(10);
        uint32_t status = 0;
        DAriLoadFileOfCWX(path.c_str(), &db, &status);
        EXPECT_EQ(DAriIsUndo(&db), 0) << "a loaded drawing starts without history";
        ElementRecord r = Line(2, 0, 3, 1);
        ASSERT_NE(DAriAppendElement(&r, &db), nullptr);
        DAriMakUndoPass(&db);
        EXPECT_EQ(DAriIsUndo(&db), 1);
        EXPECT_EQ(HostUndo(&db), 1);
        EXPECT_EQ(DAriGetElmNum(&db), path == good ? 1 : 0);
    }
}

TEST(CadFiles, SaveReplacesTheFileAndLeavesNoTemporaryFile) {
    std::string dir = TempDir() + "save\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string path = dir + "drawing.tcf";
    Db db;
    ElementRecord r = Line(0, 0, 1, 1);
    DAriAppendElement(&r, &db);
    uint32_t status = 0;
    ASSERT_EQ(DAriSaveFileOfCWX(path.c_str(), &db, &status), 1);
    DAriAppendElement(&r, &db);
    ASSERT_EQ(DAriSaveFileOfCWX(path.c_str(), &db, &status), 1);
    Db back;
    ASSERT_EQ(DAriLoadFileOfCWX(path.c_str(), &back, &status), 1);
    EXPECT_EQ(DAriGetElmNum(&back), 2);
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    int files = 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++files;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    EXPECT_EQ(files, 1);
    // A folder that does not exist: refused, nothing claimed.
    EXPECT_EQ(DAriSaveFileOfCWX((dir + "no such folder\\x.tcf").c_str(), &db, &status), 0);
    EXPECT_NE(status, 0u);
}

// A placed figure taken into a group and out again the way the host does it
// (a copy of its 174-byte record, parameters copied, then +190 and +198
// overwritten or cleared) keeps its definition, and a drawing holding a
// figure that names no definition still saves and loads.
TEST(CadFiles, PlacedFiguresKeepTheirDefinitionThroughGroupsAndFiles) {
    std::string path = TempDir() + "figures in groups.tcf";
    Db src;
    ElementRecord h = Full(kElmFigureHeader, 1);
    StoredElement* first = DAriCreateFgroupHead(&h, &src);
    StoredElement* def = DAriCreateFgroupHead(&h, &src);
    ElementRecord m = Line(0, 0, 5, 5);
    DAriAppendMemberElement(def, &m, &src);
    ElementRecord place = Full(kElmFigure, 3);
    StoredElement* fig = DAriAppendFgroup(def, &place, &src);
    ASSERT_NE(fig, nullptr);

    // Grouping: the member is appended from the record, gets the figure's
    // parameters, and the host points +190 at the group.
    ElementRecord g = Record(kElmGroup);
    StoredElement* group = DAriCreateFgroupHead(&g, &src);
    ElementRecord buf;
    ASSERT_NE(DAriReadElement(fig, 4, &buf, &src), nullptr);
    StoredElement* member = DAriAppendMemberElement(group, &buf, &src);
    ASSERT_NE(member, nullptr);
    ASSERT_EQ(DAriElementParamCopy(member, fig), 1);
    member->owner = group;
    ASSERT_EQ(DAriDeleteElement(fig, &src), 1);
    EXPECT_EQ(DAriGetFgroupHeaderIdx(member, &src), def);
    EXPECT_EQ(member->count, 2);

    // Exploding: a plain copy of the member, parameters, links cleared.
    StoredElement* out = DAriAppendElement(&member->rec, &src);
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(DAriElementParamCopy(out, member), 1);
    out->count = 0;
    out->owner = nullptr;
    EXPECT_EQ(DAriGetFgroupHeaderIdx(out, &src), def);

    // A figure appended as a plain element names no definition; a stray
    // number at +198 is no definition either.
    StoredElement* loose = DAriAppendElement(&place, &src);
    ASSERT_NE(loose, nullptr);
    EXPECT_EQ(DAriGetFgroupHeaderIdx(loose, &src), nullptr);
    StoredElement* stray = DAriAppendElement(&place, &src);
    stray->count = 77;
    EXPECT_EQ(DAriGetFgroupHeaderIdx(stray, &src), nullptr);

    uint32_t status = 0;
    ASSERT_EQ(DAriSaveFileOfCWX(path.c_str(), &src, &status), 1);
    Db dst;
    status = 0;
    ASSERT_EQ(DAriLoadFileOfCWX(path.c_str(), &dst, &status), 1);
    EXPECT_EQ(status, 0u);
    ASSERT_EQ(DAriGetElmNum(&dst), 4);
    StoredElement* lgroup = DAriReadElement(nullptr, 0, nullptr, &dst);
    StoredElement* lmember = DAriReadFirstMember(lgroup, nullptr, &dst);
    StoredElement* lout = DAriReadElement(lgroup, 1, nullptr, &dst);
    StoredElement* lloose = DAriReadElement(lout, 1, nullptr, &dst);
    StoredElement* lstray = DAriReadElement(lloose, 1, nullptr, &dst);
    ASSERT_NE(lmember, nullptr);
    ASSERT_NE(lstray, nullptr);
    StoredElement* ldef = DAriGetFgroupHeaderIdx(lmember, &dst);
    ASSERT_NE(ldef, nullptr);
    EXPECT_EQ(DAriGetMemberNum(ldef, &dst), 1);
    EXPECT_EQ(DAriGetFgroupHeaderIdx(lout, &dst), ldef);
    EXPECT_EQ(DAriGetFgroupHeaderIdx(lloose, &dst), nullptr);
    EXPECT_EQ(DAriGetFgroupHeaderIdx(lstray, &dst), nullptr);
    (void)first;
    DeleteFileA(path.c_str());
}
