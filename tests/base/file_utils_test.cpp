// File times, copy-if-newer, folder creation and path helpers, on real files
// in a private temporary folder.
#include <gtest/gtest.h>
#include <windows.h>
#include <string>
#include "base/file_utils.h"

namespace {

class TempDir : public ::testing::Test {
protected:
    void SetUp() override {
        char tmp[MAX_PATH];
        ASSERT_GT(GetTempPathA(MAX_PATH, tmp), 0u);
        root_ = std::string(tmp) + "zav_base_" + std::to_string(GetCurrentProcessId()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        ASSERT_TRUE(CreateDirectoryA(root_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    }
    void TearDown() override { RemoveTree(root_); }

    static void RemoveTree(const std::string& dir) {
        WIN32_FIND_DATAA fd;
        HANDLE h = FindFirstFileA((dir + "*").c_str(), &fd);
        if (h != INVALID_HANDLE_VALUE) {
            do {
                std::string name = fd.cFileName;
                if (name == "." || name == "..") continue;
                std::string path = dir + name;
                if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                    RemoveTree(path + "\\");
                else {
                    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                    DeleteFileA(path.c_str());
                }
            } while (FindNextFileA(h, &fd));
            FindClose(h);
        }
        RemoveDirectoryA(dir.c_str());
    }

    std::string Path(const std::string& name) const { return root_ + name; }

    static void Write(const std::string& path, const std::string& text) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
        DWORD n;
        WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &n, nullptr);
        CloseHandle(h);
    }

    static std::string Read(const std::string& path) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE) return "<missing>";
        char buffer[256];
        DWORD n = 0;
        ReadFile(h, buffer, sizeof buffer, &n, nullptr);
        CloseHandle(h);
        return std::string(buffer, n);
    }

    // Sets the last-write time to a fixed day plus an offset in 100-ns units.
    static void SetWriteTime(const std::string& path, LONGLONG offset) {
        SYSTEMTIME st = {2024, 3, 0, 15, 10, 30, 0, 0};
        FILETIME ft;
        SystemTimeToFileTime(&st, &ft);
        ULARGE_INTEGER u;
        u.LowPart = ft.dwLowDateTime;
        u.HighPart = ft.dwHighDateTime;
        u.QuadPart += offset;
        ft.dwLowDateTime = u.LowPart;
        ft.dwHighDateTime = u.HighPart;
        HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, h) << path;
        ASSERT_TRUE(SetFileTime(h, nullptr, nullptr, &ft));
        CloseHandle(h);
    }

    std::string root_;
};

const LONGLONG kSecond = 10000000;

bool IsFolder(const std::string& path) {
    DWORD a = GetFileAttributesA(path.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

using FileTimes = TempDir;
using CopyIfNewerTest = TempDir;
using CreateDirectoryTreeTest = TempDir;

TEST_F(FileTimes, GivesTheSelectedTimeInLocalTime) {
    std::string file = Path("t.txt");
    Write(file, "x");
    FILETIME times[3];
    const SYSTEMTIME base = {2023, 1, 0, 2, 3, 4, 5, 0};
    for (int i = 0; i < 3; ++i) {
        SYSTEMTIME st = base;
        st.wDay = static_cast<WORD>(2 + i);
        SystemTimeToFileTime(&st, &times[i]);
    }
    HANDLE h = CreateFileA(file.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_TRUE(SetFileTime(h, &times[0], &times[1], &times[2]));
    CloseHandle(h);

    // The creation time cannot be set on every file system (Wine on Linux
    // keeps none), so it is only read.
    SYSTEMTIME created;
    EXPECT_NE(0, GetFileLocalTime(file.c_str(), &created, 0));
    const struct {
        int selector;
        int index;
    } cases[] = {{1, 1}, {2, 2}, {-1, 2}, {7, 2}};
    for (const auto& c : cases) {
        FILETIME local;
        SYSTEMTIME expected, got = {};
        FileTimeToLocalFileTime(&times[c.index], &local);
        FileTimeToSystemTime(&local, &expected);
        ASSERT_NE(0, GetFileLocalTime(file.c_str(), &got, c.selector)) << "selector " << c.selector;
        EXPECT_EQ(expected.wDay, got.wDay) << "selector " << c.selector;
        EXPECT_EQ(expected.wHour, got.wHour) << "selector " << c.selector;
        EXPECT_EQ(expected.wMinute, got.wMinute) << "selector " << c.selector;
    }
    SYSTEMTIME st;
    EXPECT_EQ(0, GetFileLocalTime(Path("missing.txt").c_str(), &st, -1));
}

TEST_F(CopyIfNewerTest, CopiesToMissingTarget) {
    Write(Path("src.xml"), "new");
    EXPECT_NE(0, CopyIfNewer(Path("src.xml").c_str(), Path("dst.xml").c_str(), -1, ".bak"));
    EXPECT_EQ("new", Read(Path("dst.xml")));
    EXPECT_FALSE(Exists(Path("dst.bak")));
}

TEST_F(CopyIfNewerTest, NeverOverwritesATargetItCannotRead) {
    // A target whose time cannot be read (held open by another writer) is
    // copied with fail-if-exists: the existing file stays.
    Write(Path("src.xml"), "new");
    Write(Path("dst.xml"), "held");
    HANDLE held =
        CreateFileA(Path("dst.xml").c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    EXPECT_EQ(0, CopyIfNewer(Path("src.xml").c_str(), Path("dst.xml").c_str(), -1, nullptr));
    CloseHandle(held);
    EXPECT_EQ("held", Read(Path("dst.xml")));
}

TEST_F(CopyIfNewerTest, ComparesLastWriteTimes) {
    const struct {
        const char* name;
        LONGLONG sourceOffset;
        bool copies;
    } cases[] = {
        {"equal times", 0, false},
        {"half a millisecond newer", 5000, false},
        {"two milliseconds newer", 20000, true},
        {"two seconds newer", 2 * kSecond, true},
        {"older", -2 * kSecond, false},
    };
    for (const auto& c : cases) {
        std::string src = Path("src.xml"), dst = Path("dst.xml"), bak = Path("dst.bak");
        DeleteFileA(bak.c_str());
        Write(src, "new");
        Write(dst, "old");
        SetWriteTime(dst, 0);
        SetWriteTime(src, c.sourceOffset);
        int result = CopyIfNewer(src.c_str(), dst.c_str(), -1, ".bak");
        EXPECT_EQ(c.copies, result != 0) << c.name;
        EXPECT_EQ(c.copies ? "new" : "old", Read(dst)) << c.name;
        EXPECT_EQ(c.copies ? "old" : "<missing>", Read(bak)) << c.name;
    }
}

TEST_F(CopyIfNewerTest, MissingSourceCopiesNothing) {
    Write(Path("dst.xml"), "old");
    EXPECT_EQ(0, CopyIfNewer(Path("none.xml").c_str(), Path("dst.xml").c_str(), -1, ".bak"));
    EXPECT_EQ("old", Read(Path("dst.xml")));
}

TEST_F(CopyIfNewerTest, BackupNameAndFailedBackup) {
    // A target without extension gets the backup extension added.
    Write(Path("settings"), "old");
    Write(Path("src"), "new");
    SetWriteTime(Path("settings"), 0);
    SetWriteTime(Path("src"), kSecond);
    EXPECT_NE(0, CopyIfNewer(Path("src").c_str(), Path("settings").c_str(), -1, ".bak"));
    EXPECT_EQ("old", Read(Path("settings.bak")));
    EXPECT_EQ("new", Read(Path("settings")));

    // When the old target cannot be kept, it is not overwritten either.
    Write(Path("a.xml"), "old");
    Write(Path("b.xml"), "new");
    ASSERT_TRUE(CreateDirectoryA(Path("a.bak").c_str(), nullptr));
    SetWriteTime(Path("a.xml"), 0);
    SetWriteTime(Path("b.xml"), kSecond);
    EXPECT_EQ(0, CopyIfNewer(Path("b.xml").c_str(), Path("a.xml").c_str(), -1, ".bak"));
    EXPECT_EQ("old", Read(Path("a.xml")));

    // Without a backup extension the target is simply replaced.
    EXPECT_NE(0, CopyIfNewer(Path("b.xml").c_str(), Path("a.xml").c_str(), -1, nullptr));
    EXPECT_EQ("new", Read(Path("a.xml")));
}

TEST_F(CreateDirectoryTreeTest, MakesEveryMissingFolder) {
    EXPECT_EQ(1, CreateDirectoryTree(Path("a\\b\\c")));
    EXPECT_TRUE(IsFolder(Path("a\\b\\c")));
    EXPECT_EQ(1, CreateDirectoryTree(Path("a\\b\\c")));  // already there
    EXPECT_EQ(1, CreateDirectoryTree(Path("d\\e\\")));
    EXPECT_TRUE(IsFolder(Path("d\\e")));
    EXPECT_EQ(1, CreateDirectoryTree(Path("d/f/g")));
    EXPECT_TRUE(IsFolder(Path("d\\f\\g")));
    // Folder names whose characters end in the byte 0x5C.
    EXPECT_EQ(1, CreateDirectoryTree(Path("表\\ソ\\能")));
    EXPECT_TRUE(IsFolder(Path("表\\ソ\\能")));
    EXPECT_EQ(0, CreateDirectoryTree(""));
}

TEST_F(CreateDirectoryTreeTest, ReportsFoldersThatCannotBeMade) {
    Write(Path("file"), "x");
    EXPECT_EQ(0, CreateDirectoryTree(Path("file")));
    EXPECT_EQ(0, CreateDirectoryTree(Path("file\\sub\\deeper")));
    EXPECT_FALSE(Exists(Path("file\\sub")));

    DWORD drives = GetLogicalDrives();
    char letter = 0;
    for (char c = 'Y'; c >= 'D'; --c) {
        if (!(drives & (1u << (c - 'A')))) {
            letter = c;
            break;
        }
    }
    ASSERT_NE(0, letter);
    std::string missing = std::string(1, letter) + ":\\zav\\x";
    EXPECT_EQ(0, CreateDirectoryTree(missing));
    EXPECT_EQ(0, CreateDirectoryTree(std::string(1, letter) + ":\\"));
    EXPECT_EQ(0, CreateDirectoryTree("\\\\nohost\\"));
}

TEST(PathHelpers, SplitPath) {
    const struct {
        const char* path;
        const char* drive;
        const char* dir;
        const char* name;
        const char* ext;
    } cases[] = {
        {"C:\\a\\b\\c.txt", "C:", "\\a\\b\\", "c", ".txt"},
        {"C:\\a\\b\\", "C:", "\\a\\b\\", "", ""},
        {"C:file.tar.gz", "C:", "", "file.tar", ".gz"},
        {"dir/name", "", "dir/", "name", ""},
        {"C:\\a.d\\name", "C:", "\\a.d\\", "name", ""},
        {"C:\\dir\\表", "C:", "\\dir\\", "表", ""},
        {"C:\\表\\ソ.txt", "C:", "\\表\\", "ソ", ".txt"},
        {"C:\\dir\\a.表", "C:", "\\dir\\", "a", ".表"},
        {"", "", "", "", ""},
    };
    for (const auto& c : cases) {
        std::string drive, dir, name, ext;
        SplitPath(c.path, &drive, &dir, &name, &ext);
        EXPECT_EQ(c.drive, drive) << c.path;
        EXPECT_EQ(c.dir, dir) << c.path;
        EXPECT_EQ(c.name, name) << c.path;
        EXPECT_EQ(c.ext, ext) << c.path;
    }
    std::string name;
    SplitPath("C:\\x\\y.z", nullptr, nullptr, &name, nullptr);
    EXPECT_EQ("y", name);
}

TEST(PathHelpers, ParentFolder) {
    const struct {
        const char* path;
        const char* parent;
    } cases[] = {
        {"C:\\a\\b\\c.txt", "C:\\a\\b\\"},
        {"C:\\a\\b\\", "C:\\a\\"},
        {"C:\\a\\b", "C:\\a\\"},
        {"C:\\表", "C:\\"},  // ends in the byte 0x5C, not a separator
        {"C:\\a\\表\\", "C:\\a\\"},
        {"C:\\", "C:"},
        {"C:", "C:"},
        {"name", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.parent, ParentFolder(c.path)) << c.path;
}

TEST(PathHelpers, PathWithoutExtension) {
    const struct {
        const char* path;
        const char* result;
    } cases[] = {
        {"C:\\dir\\file", ""},
        {"C:\\dir\\file.xml", "C:\\dir\\file"},
        {"C:\\dir.d\\file", ""},
        {"C:\\dir\\a.b.c", "C:\\dir\\a.b"},
        {"C:\\dir\\a.表", "C:\\dir\\a"},  // the trail byte 0x5C is no separator
        {"C:\\表.d\\ソ.ini", "C:\\表.d\\ソ"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.result, PathWithoutExtension(c.path)) << c.path;
}

TEST(PathHelpers, AppendPath) {
    const struct {
        const char* path;
        const char* name;
        const char* result;
    } cases[] = {
        {"C:\\a", "b.txt", "C:\\a\\b.txt"},
        {"C:\\a\\", "b", "C:\\a\\b"},
        {"C:\\表", "x.ini", "C:\\表\\x.ini"},
        {"C:\\a\\b", "..\\c", "C:\\a\\c"},
    };
    for (const auto& c : cases) {
        std::string path = c.path;
        EXPECT_NE(0, AppendPath(path, c.name)) << c.path;
        EXPECT_EQ(c.result, path) << c.path;
    }
    std::string tooLong = "C:\\" + std::string(300, 'x');
    std::string before = tooLong;
    EXPECT_EQ(0, AppendPath(tooLong, "y"));
    EXPECT_EQ(before, tooLong);
}

TEST(PathHelpers, GetModuleDirHoldsTheExecutable) {
    char file[MAX_PATH];
    GetModuleFileNameA(nullptr, file, MAX_PATH);
    std::string dir = GetModuleDir();
    ASSERT_FALSE(dir.empty());
    EXPECT_EQ('\\', dir.back());
    EXPECT_EQ(0u, std::string(file).find(dir));
    EXPECT_EQ(std::string::npos, std::string(file).substr(dir.size()).find('\\'));
}
