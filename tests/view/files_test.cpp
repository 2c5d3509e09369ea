// Backups and the crash flag, the thumbnail store, the helpers of the file
// dialogs and the thumbnail list, and the placement database: real drawing
// windows and real files; the clock, the check for running copies and the
// error road are replaced where a test needs them.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

#include "base/dbcs.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "command/executor.h"
#include "shell/cad_system.h"
#include "shell/file_backup.h"
#include "shell/file_open_dialog.h"
#include "shell/placement_db.h"
#include "shell/thumbnail_list.h"
#include "shell/thumbnail_store.h"
#include "tests/cadlib_draw/draw_fixture.h"
#include "view_fixture.h"
#include "win/message_box.h"

namespace {

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void Write(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Last-write time `minutes` after a fixed day, so generations have an order.
void SetWriteTime(const std::string& path, int minutes) {
    HANDLE h = CreateFileA(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SYSTEMTIME st = {2020, 1, 0, 1, 0, 0, 0, 0};
    FILETIME ft;
    SystemTimeToFileTime(&st, &ft);
    ULARGE_INTEGER v = {{ft.dwLowDateTime, ft.dwHighDateTime}};
    v.QuadPart += static_cast<unsigned long long>(minutes) * 600000000ULL;
    ft.dwLowDateTime = v.LowPart;
    ft.dwHighDateTime = v.HighPart;
    SetFileTime(h, nullptr, nullptr, &ft);
    CloseHandle(h);
}

int IniFlag(const std::string& ini) { return GetPrivateProfileIntA("System", "FatalError", -1, ini.c_str()); }

// Each test has a backup object of its own (the process-wide one belongs to
// the program), a backup folder, an INI file and a clock.
class BackupFiles : public ViewFixture {
protected:
    void SetUp() override {
        ViewFixture::SetUp();
        saved = BackupRoad();
        BackupRoad().now = [this] { return clock; };
        BackupRoad().showError = [this](const char* text) { shown.push_back(text); };
        DbcsCopy(Running().backupDir, sizeof Running().backupDir, (dir.Path() + "\\").c_str());
        savedIni = LocalIni();
    }
    void TearDown() override {
        BackupRoad() = saved;
        LocalIni() = savedIni;
        ViewFixture::TearDown();
    }
    // A modified drawing with `lines` lines, named `file` ("" untitled).
    HWND Modified(const std::string& file, int lines = 2) {
        HWND view = NewDrawing("backup");
        ViewData* d = GetViewData(view);
        for (int i = 0; i < lines; ++i) {
            ElementRecord line = drawtest::Line(i, 0, i + 10, 5, 2);
            DAriAppendElement(&line, d->db);
        }
        d->modified = 1;
        DbcsCopy(d->fileName, sizeof d->fileName, file.c_str());
        return view;
    }
    std::string BackupName(HWND view, int offset, const std::string& base) {
        char name[300];
        const int id = static_cast<int>(GetViewData(view)->drawingId) + offset;
        if (base.empty())
            std::snprintf(name, sizeof name, "$%04d.tcf", id);
        else
            std::snprintf(name, sizeof name, "$%04d_%s.tcf", id, base.c_str());
        return dir.File(name);
    }

    TempDir dir{"files_backup"};
    TempDir other{"files_other"};
    BackupLinks saved;
    LocalSettingsIniValues savedIni;
    long long clock = 1000;
    std::vector<std::string> shown;
};

TEST_F(BackupFiles, NamesOfNamedAndUntitledDrawings) {
    CCadFileBackup backup;
    backup.Init(CadFileBackupSettings());
    HWND named = Modified("C:\\図面\\plan.tcf");
    HWND untitled = Modified("");
    EXPECT_EQ(BackupName(named, 0, "plan"), backup.BackupPathOf(named));
    EXPECT_EQ(BackupName(untitled, 0, ""), backup.BackupPathOf(untitled));
}

TEST_F(BackupFiles, CountAndTimeTriggers) {
    HWND view = Modified("");
    const std::string path = BackupName(view, 0, "");
    LocalIni().iBackupStock = 0;
    CCadFileBackup backup;
    CadFileBackupSettings s;
    s.bCountBakup = 1;
    s.nBackupCountSpan = 3;
    backup.Init(s);
    std::vector<int> passes;
    for (int i = 1; i <= 9; ++i) {
        DeleteFileA(path.c_str());
        backup.CountCommand();
        if (Exists(path)) passes.push_back(i);
    }
    EXPECT_EQ((std::vector<int>{3, 6, 9}), passes);
    DeleteFileA(path.c_str());
    s.nBackupCountSpan = 0;
    backup.Init(s);
    for (int i = 0; i < 5; ++i)
        backup.CountCommand();
    EXPECT_FALSE(Exists(path)) << "span 0: never";

    // 120 s after the latest command, then every 120 s; a command postpones.
    s = CadFileBackupSettings();
    s.bTimeBackup = 1;
    s.nBackupTimeSpanSec = 120;
    backup.Init(s);
    backup.StampActivity();
    struct Tick {
        long long at;
        bool command, pass;
    } ticks[] = {{1119, false, false}, {1120, false, true},  {1239, false, false}, {1240, false, true},
                 {1250, true, false},  {1369, false, false}, {1370, false, true}};
    for (const Tick& t : ticks) {
        clock = t.at;
        if (t.command) backup.StampActivity();
        backup.CheckTimeBackup();
        EXPECT_EQ(t.pass, Exists(path)) << "at " << t.at;
        DeleteFileA(path.c_str());
    }
}

TEST_F(BackupFiles, WriteFailuresAreShownAndThePassGoesOn) {
    HWND first = Modified("");
    HWND second = Modified("");
    LocalIni().iBackupStock = 0;
    BackupRoad().write = [](const char* path, DbHeader*, uint32_t* status) {
        *status = std::strstr(path, "$") ? 0x10 : 0;
        return 0;
    };
    CCadFileBackup backup;
    backup.Init(CadFileBackupSettings());
    backup.BackupModified();
    ASSERT_EQ(2u, shown.size()) << "both windows tried";
    EXPECT_EQ("保存のためのディスク容量が足りません", shown[0]);
    (void)first;
    (void)second;
}

TEST_F(BackupFiles, AGenerationKeepsItsBytesWhenTheNextBackupReplacesTheFile) {
    TempDir d("files_gen");
    Write(d.File("a.tcf"), "first");
    EXPECT_EQ(1, StockBackupGeneration(d.Path(), "plan", d.File("a.tcf"), 1, 5));
    // The next backup comes whole in a temporary file moved over the old
    // one, as every drawing file is written.
    Write(d.File("next.tmp"), "second");
    ASSERT_TRUE(MoveFileExA(d.File("next.tmp").c_str(), d.File("a.tcf").c_str(), MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(2, StockBackupGeneration(d.Path(), "plan", d.File("a.tcf"), 1, 5));
    EXPECT_EQ("first", Bytes(d.File("plan_$000$.tcf")));
    EXPECT_EQ("second", Bytes(d.File("plan_$001$.tcf")));
    EXPECT_EQ("second", Bytes(d.File("a.tcf")));
}

TEST_F(BackupFiles, GenerationsKeepTheNewestAndWrapAfter999) {
    LocalIni().iBackupStock = 1;
    LocalIni().nBackupStockNum = 5;
    HWND view = Modified("C:\\図面\\plan.tcf");
    for (int n = 0; n < 5; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "plan_$%03d$.tcf", n);
        Write(dir.File(name), "old");
        SetWriteTime(dir.File(name), n == 2 ? 1 : 10 + n);  // 002 is the oldest
    }
    CCadFileBackup backup;
    backup.Init(CadFileBackupSettings());
    backup.BackupModified();
    EXPECT_FALSE(Exists(dir.File("plan_$002$.tcf"))) << "the oldest goes";
    ASSERT_TRUE(Exists(dir.File("plan_$005$.tcf"))) << "after the newest";
    EXPECT_EQ(Bytes(BackupName(view, 0, "plan")), Bytes(dir.File("plan_$005$.tcf")));

    TempDir wrap("files_wrap");
    Write(wrap.File("a.tcf"), "backup");
    Write(wrap.File("plan_$999$.tcf"), "x");
    EXPECT_EQ(2, StockBackupGeneration(wrap.Path(), "plan", wrap.File("a.tcf"), 1, 5));
    EXPECT_TRUE(Exists(wrap.File("plan_$000$.tcf")));
    EXPECT_EQ(-2, StockBackupGeneration(wrap.Path(), "plan", wrap.File("none.tcf"), 1, 5));
    EXPECT_EQ(0, StockBackupGeneration(wrap.Path(), "plan", wrap.File("a.tcf"), 0, 5));
    EXPECT_EQ(1, StockBackupGeneration(wrap.Path(), "", wrap.File("a.tcf"), 1, 5)) << "untitled base";
    EXPECT_TRUE(Exists(wrap.File("#新規図面#a_$000$.tcf")));

    const struct {
        const char* name;
        int number;
    } numbers[] = {{"plan_$004$.tcf", 4}, {"plan_$120$", 120}, {"plan_$004.tcf", -1}, {"$", -1}};
    for (const auto& n : numbers)
        EXPECT_EQ(n.number, GenerationNumberOf(n.name)) << n.name;
}

// The crash flag and the records of the copies, over a private INI file.
class CrashFlag : public BackupFiles {
protected:
    void SetUp() override {
        BackupFiles::SetUp();
        ini = other.File("Quillmar.ini");
        BackupRoad().alive = [this](unsigned long pid, unsigned long long) {
            return pid == GetCurrentProcessId() || live.count(pid) != 0;
        };
    }
    void Record(unsigned long pid, int block, const std::string& folders = "") {
        char key[32], value[64];
        std::snprintf(key, sizeof key, "%lu", pid);
        std::snprintf(value, sizeof value, "0,%d", block);
        WritePrivateProfileStringA("BackupSessions", key, value, ini.c_str());
        if (!folders.empty()) WritePrivateProfileStringA("BackupSaveFolders", key, folders.c_str(), ini.c_str());
        WritePrivateProfileStringA("System", "FatalError", "1", ini.c_str());
    }
    void Start(CCadFileBackup& b) {
        b.SetCrashFlagFile(ini);
        b.Init(CadFileBackupSettings());
    }
    std::string ini;
    std::set<unsigned long> live;
};

TEST_F(CrashFlag, ACleanStartDeletesTheBackupsOfTheRunBefore) {
    Write(dir.File("$0001_plan.tcf"), "b");
    Write(dir.File("keep.tcf"), "k");
    CCadFileBackup b;
    Start(b);
    EXPECT_FALSE(Exists(dir.File("$0001_plan.tcf")));
    EXPECT_TRUE(Exists(dir.File("keep.tcf")));
    EXPECT_EQ(0, b.RecoveryFlag());
    EXPECT_EQ(1, IniFlag(ini));
    b.EndSession();
    EXPECT_EQ(0, IniFlag(ini));
}

TEST_F(CrashFlag, AStartAfterACrashKeepsItsBackupsRemovesCutSavesAndNumbersPastThem) {
    const unsigned long crashed = 0x7ab1;
    Write(dir.File("$0001_plan.tcf"), "crashed backup");
    Write(other.File("plan.tcf"), "the drawing as last saved");
    Write(other.File("~cad7ab1_3.tmp"), "half");
    Write(other.File("~cad7ab2_1.tmp"), "another copy's");
    Record(crashed, 0, other.Path() + "\\");
    CCadFileBackup b;
    Start(b);
    EXPECT_EQ(1, b.RecoveryFlag());
    EXPECT_EQ(1, Running().recoveryMode);
    EXPECT_EQ("crashed backup", Bytes(dir.File("$0001_plan.tcf")));
    EXPECT_FALSE(Exists(other.File("~cad7ab1_3.tmp"))) << "the cut-off save of the crashed run";
    EXPECT_TRUE(Exists(other.File("~cad7ab2_1.tmp"))) << "not the crashed run's";
    EXPECT_EQ("the drawing as last saved", Bytes(other.File("plan.tcf")));
    EXPECT_NE(std::string::npos, b.CrashNotice().find("正常に終了しませんでした"));
    EXPECT_NE(std::string::npos, b.CrashNotice().find("1 個を削除"));
    HWND view = Modified("C:\\図面\\plan.tcf");
    EXPECT_EQ(BackupName(view, 300, "plan"), b.BackupPathOf(view));
    b.BackupModified();
    EXPECT_EQ("crashed backup", Bytes(dir.File("$0001_plan.tcf")));
    b.EndSession();

    // A second crash in a row: both runs' backups stay and the next run
    // numbers past both.
    Record(0x7ab3, 1);
    CCadFileBackup next;
    Start(next);
    EXPECT_EQ(600, next.IdOffset());
    EXPECT_TRUE(Exists(BackupName(view, 300, "plan")));
    next.EndSession();
}

TEST_F(CrashFlag, ARunningCopyIsNotACrashAndOnlyItsOwnerClearsTheFlag) {
    const unsigned long running = 0x5150;
    live.insert(running);
    Write(dir.File("$0001.tcf"), "the running copy's backup");
    Record(running, 0);
    CCadFileBackup second;
    Start(second);
    EXPECT_EQ(0, second.RecoveryFlag());
    EXPECT_TRUE(Exists(dir.File("$0001.tcf"))) << "never deletes a running copy's backups";
    EXPECT_EQ(300, second.IdOffset()) << "its own block of ids";
    second.EndSession();
    EXPECT_EQ(1, IniFlag(ini)) << "the other copy still runs";

    // A copy that handed over or was refused never took a place: it leaves
    // the flag alone.
    CCadFileBackup refused;
    refused.SetCrashFlagFile(ini);
    refused.EndSession();
    EXPECT_EQ(1, IniFlag(ini));
    // The running copy dies: the next start treats it as crashed.
    live.clear();
    CCadFileBackup after;
    Start(after);
    EXPECT_EQ(1, after.RecoveryFlag());
    EXPECT_TRUE(Exists(dir.File("$0001.tcf")));
    after.EndSession();
    EXPECT_EQ(0, IniFlag(ini));
}

TEST(ThumbnailStore, EntriesLiveInBlocksOf100) {
    FreeThumbnailStore();
    FreeThumbnailStore();  // an empty store: nothing to do
    for (int i = 0; i < 250; ++i) {
        char path[32];
        std::snprintf(path, sizeof path, "C:\\d\\%03d.tcf", i);
        AddThumbnailEntry(path);
        AddThumbnailCount();
    }
    const struct {
        int entry, block, slot;
    } slots[] = {{0, 0, 0}, {100, 0, 100}, {101, 1, 1}, {200, 1, 100}, {201, 2, 1}, {249, 2, 49}, {250, -1, -1}};
    for (const auto& s : slots) {
        int block, slot;
        ThumbnailSlotOf(s.entry, &block, &slot);
        EXPECT_EQ(s.block, block) << s.entry;
        EXPECT_EQ(s.slot, slot) << s.entry;
    }
    EXPECT_EQ(3, GetThumbnailBlockCount());
    EXPECT_STREQ("C:\\d\\201.tcf", GetThumbnailPath(201));
    EXPECT_STREQ("", GetThumbnailPath(250));
    EXPECT_EQ(0, ToggleThumbnailSelection(7));
    EXPECT_EQ(1, IsThumbnailSelected(7));
    EXPECT_EQ(1, ToggleThumbnailSelection(7));
    EXPECT_EQ(0, ToggleThumbnailSelection(250)) << "missing";
    EXPECT_EQ(0, IsThumbnailSelected(250));
    FreeThumbnailStore();
    EXPECT_EQ(0, GetThumbnailCount());
    EXPECT_EQ(0, GetThumbnailBlockCount());
}

TEST(FileDialogText, SplittingAndQuotedNames) {
    std::vector<std::string> out;
    EXPECT_EQ(-1, SplitDialogFileList("\0", out));
    EXPECT_EQ(1, SplitDialogFileList("C:\\図面\\a.tcf\0", out));
    EXPECT_EQ((std::vector<std::string>{"C:\\図面\\a.tcf"}), out);
    EXPECT_EQ(3, SplitDialogFileList("C:\\図面\0a.tcf\0b.tcf\0c.otcf\0", out));
    EXPECT_EQ((std::vector<std::string>{"C:\\図面\\a.tcf", "C:\\図面\\b.tcf", "C:\\図面\\c.otcf"}), out);
    EXPECT_EQ(2, SplitDialogFileList("C:\\\0a.tcf\0b.tcf\0", out));
    EXPECT_EQ("C:\\a.tcf", out[0]);
    // "表" ends in the byte 0x5C: no separator.
    EXPECT_EQ(2, SplitDialogFileList("C:\\表\0a.tcf\0b.tcf\0", out));
    EXPECT_EQ("C:\\表\\a.tcf", out[0]);

    const struct {
        const char *in, *out;
    } quoted[] = {{"C:\\図面\\\"a.tcf\" \"b.tcf\"", "C:\\図面\\a.tcf"},
                  {"C:\\図面\\a.tcf", "C:\\図面\\a.tcf"},
                  {"\"a.tcf\"", "\"a.tcf\""},
                  {"C:\\表\\\"能.tcf\" \"b.tcf\"", "C:\\表\\能.tcf"}};
    for (const auto& q : quoted)
        EXPECT_EQ(q.out, StripQuotedName(q.in)) << q.in;
}

TEST(FileDialogText, InformationPanelLines) {
    BuildPaperSizeTable();
    OpenPanelInfo p;
    p.state = 1;
    std::strcpy(reinterpret_cast<char*>(p.info.bytes) + kInfoTitle, "平面図");
    std::strcpy(reinterpret_cast<char*>(p.info.bytes) + kInfoAuthor, "山田");
    p.info.Info()->paperCode = PaperSizeTable[3].code;
    CadSetF64(p.info.bytes, kInfoPaperWmm, 420);
    CadSetF64(p.info.bytes, kInfoPaperHmm, 297);
    CadSetF64(p.info.bytes, kInfoDrawW, 42000);
    CadSetF64(p.info.bytes, kInfoDrawH, 29700);
    CadSetF64(p.info.bytes, kInfoScale, 0.123456);
    const uint16_t dates[14] = {2024, 3, 5, 8, 9, 7, 6, 2025, 12, 0, 7, 23, 59, 1};
    std::memcpy(p.info.Info()->dates, dates, sizeof dates);
    p.elementCount = 1234;
    p.fileFound = true;
    p.sizeLow = 1234567;
    std::vector<std::string> lines = OpenPanelLines(p);
    std::vector<std::string> expected = {"図面名：平面図",
                                         "作成者：山田",
                                         "備考  ：",
                                         std::string("用紙種別：") + PaperSizeTable[3].name,
                                         "用紙ｻｲｽﾞ：420 x 297 mm",
                                         "図面ｻｲｽﾞ：42000 x 29700 mm",
                                         "スケール：0.123456",
                                         "作成日：  2024年03月08日(金) 09:07:06",
                                         "更新日：  2025年12月07日(日) 23:59:01",
                                         "要素数：  1234",
                                         "サイズ：  1,234,567 バイト"};
    EXPECT_EQ(expected, lines);

    // Nothing loaded: the file's own time and size only.
    OpenPanelInfo bare;
    bare.fileFound = true;
    bare.lastWrite = {2026, 1, 4, 1, 10, 0, 0, 0};
    bare.sizeLow = 0;
    EXPECT_EQ((std::vector<std::string>{"更新日：  2026年01月01日(木) 10:00:00"}), OpenPanelLines(bare));
}

TEST(ThumbnailListGeometry, GridScrollAndNames) {
    int columns, rows;
    ThumbnailGridSize(1024, 768, 17, 18, &columns, &rows);
    EXPECT_EQ(5, columns);
    EXPECT_EQ(4, rows);
    ThumbnailGridSize(100, 100, 17, 18, &columns, &rows);
    EXPECT_EQ(1, columns);
    EXPECT_EQ(1, rows);
    // Every file can be scrolled into view, the last row too when partly filled.
    const struct {
        int count, columns, rows, maxTop;
    } scroll[] = {{10, 3, 2, 2}, {10, 3, 3, 1}, {9, 3, 3, 0}, {1000, 6, 5, 162}, {0, 3, 2, 0}};
    for (const auto& s : scroll)
        EXPECT_EQ(s.maxTop, ThumbnailMaxTopRow(s.count, s.columns, s.rows)) << s.count << " " << s.columns;
    EXPECT_EQ(-1, ThumbnailEntryAt(10, 2 * kThumbCellH + 5, 3, 0, 6)) << "below the last entry";
    EXPECT_EQ(4, ThumbnailEntryAt(5 + kThumbCellW + 10, kThumbCellH + 5, 3, 0, 7));
    EXPECT_EQ(7, ThumbnailEntryAt(5 + kThumbCellW + 10, kThumbCellH + 5, 3, 1, 8));

    std::string out;
    EXPECT_EQ(1, ShortenWithDots(16, "abcdefghijklmnopqrst", out));
    EXPECT_EQ("abcdefghijklmn..", out);
    EXPECT_EQ(1, ShortenWithDots(16, "short.tcf", out));
    EXPECT_EQ("short.tcf", out);
    EXPECT_EQ(1, ShortenWithDots(16, "図面図面図面図面図面.tcf", out));
    EXPECT_EQ("図面図面図面図..", out) << "whole characters";
}

class PlacementRead : public ViewFixture {
protected:
    std::string SaveLines(const std::string& path, int lines) {
        DbHeader h;
        std::memset(&h, 0, sizeof h);
        DAriCreateDB(&h);
        for (int i = 0; i < lines; ++i) {
            ElementRecord line = drawtest::Line(0, i, 100, i, 1);
            DAriAppendElement(&line, &h);
        }
        uint32_t status = 0;
        const bool otcf = path.size() > 5 && path.substr(path.size() - 5) == ".otcf";
        otcf ? DAriSaveFileOfCWU(path.c_str(), &h, &status) : DAriSaveFileOfCWX(path.c_str(), &h, &status);
        DAriDeleteDB(&h);
        return path;
    }
    int ImportCount() {
        CadMark* mark = reinterpret_cast<CadMark*>(TakeImportMark());
        const int n = mark ? DAriGetMarkNum(mark) : -1;
        if (mark) DAriDestroyMark(mark);
        return n;
    }
    TempDir dir{"files_place"};
};

TEST_F(PlacementRead, ReadsEveryKindItKnowsAndLeavesNothingBehindOtherwise) {
    const std::string a = SaveLines(dir.File("a.tcf"), 3);
    const std::string b = SaveLines(dir.File("b.otcf"), 5);
    std::vector<unsigned char> info(kPlacementInfoBytes), layers(kPlacementLayerBytes);
    ASSERT_EQ(1, LoadFileToTempDb(nullptr, a.c_str(), info.data(), layers.data()));
    EXPECT_EQ(1, IsPlacementDbLoaded());
    EXPECT_EQ(3, ImportCount());
    EXPECT_EQ(3, DAriGetElmNum(PlacementDb()));
    ASSERT_EQ(1, LoadFileToTempDb(nullptr, b.c_str(), nullptr, nullptr));
    EXPECT_EQ(5, DAriGetElmNum(PlacementDb())) << "the second read replaces the first";
    EXPECT_EQ(5, ImportCount());

    // A kind without a reader: the text, a failure, and no database left.
    Write(dir.File("c.PDF"), "%PDF");
    win::MessageBoxTestHook boxes;
    EXPECT_EQ(0, LoadFileToTempDb(nullptr, dir.File("c.PDF").c_str(), nullptr, nullptr));
    EXPECT_EQ(0, IsPlacementDbLoaded());
    EXPECT_EQ(nullptr, PlacementDb()->core);
    EXPECT_EQ(0, LoadFileToTempDb(nullptr, dir.File("missing.tcf").c_str(), nullptr, nullptr));
    EXPECT_EQ(nullptr, PlacementDb()->core);
    ASSERT_FALSE(boxes.Calls().empty());
    EXPECT_EQ("図面ファイルが識別できません", boxes.Calls().front().text);
    FreeTempDb();
}

}  // namespace
