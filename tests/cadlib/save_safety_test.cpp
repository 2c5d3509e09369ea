// A save that fails part-way (the disk fills up) must leave the old file as
// it was, report bit 0x10 and leave no temporary file behind.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <sstream>

#include "cadlib/core/file_format.h"
#include "cadlib/core/platform.h"
#include "tests/cadlib/drawing_builder.h"

using namespace cadtest;

namespace {

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

int FilesIn(const std::string& dir) {
    WIN32_FIND_DATAA fd;
    HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return 0;
    int n = 0;
    do {
        if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) ++n;
    } while (FindNextFileA(h, &fd));
    FindClose(h);
    return n;
}

struct WriteFault {
    explicit WriteFault(long long at) { cad::SetWriteFault(at); }
    ~WriteFault() { cad::SetWriteFault(-1); }
};

}  // namespace

TEST(CadSaveSafety, DiskFullLeavesTheOldFileUntouched) {
    char tmp[MAX_PATH];
    GetTempPathA(MAX_PATH, tmp);
    // Folder and file names whose second bytes are 0x5C, as code page 932 allows.
    std::string dir = std::string(tmp) + "cadlib_save_ソ表\\";
    CreateDirectoryA(dir.c_str(), nullptr);
    std::string path = dir + "表示ソ.tcf";
    DeleteFileA(path.c_str());
    Db db;
    BuildSample(&db.h);
    uint32_t status = 0;
    ASSERT_EQ(cad::SaveDrawing(&db.h, path.c_str(), cad::FileKind::Tcf, "", &status), 1);
    const std::string before = ReadFile(path);
    ASSERT_FALSE(before.empty());
    ElementRecord r = Line(0, 0, 1, 1);
    for (int i = 0; i < 100; ++i)
        DAriAppendElement(&r, &db.h);
    for (long long at : {0LL, 1LL, 64LL, 4096LL, static_cast<long long>(before.size())}) {
        SCOPED_TRACE("fails after " + std::to_string(at) + " bytes");
        WriteFault fault(at);
        status = 0;
        EXPECT_EQ(cad::SaveDrawing(&db.h, path.c_str(), cad::FileKind::Tcf, "", &status), 0);
        EXPECT_EQ(status, static_cast<uint32_t>(kSaveDiskFull));
        EXPECT_EQ(ReadFile(path), before);
        EXPECT_EQ(FilesIn(dir), 1);
    }
    // With room again the save goes through.
    status = 0;
    ASSERT_EQ(cad::SaveDrawing(&db.h, path.c_str(), cad::FileKind::Tcf, "", &status), 1);
    EXPECT_NE(ReadFile(path), before);
    EXPECT_EQ(FilesIn(dir), 1);
}
