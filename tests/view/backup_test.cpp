// Backup copies of the modified drawings: every count span of commands
// when counting is on, and at once on request (after a module faulted).
#include <cstdio>
#include <cstring>

#include "base/dbcs.h"
#include "base/running_settings.h"
#include "shell/file_backup.h"
#include "tests/cadlib_draw/draw_fixture.h"
#include "view_fixture.h"

namespace {

using BackupTest = ViewFixture;

long ElementsIn(const std::string& path) {
    DbHeader h;
    std::memset(&h, 0, sizeof h);
    DAriCreateDB(&h);
    uint32_t status = 0;
    const long n = DAriLoadFileOfCWX(path.c_str(), &h, &status) == 1 ? DAriGetElmNum(&h) : -1;
    DAriDeleteDB(&h);
    return n;
}

TEST_F(BackupTest, ModifiedDrawingsAreWrittenByCountAndOnRequest) {
    TempDir dir("backup");
    DbcsCopy(Running().backupDir, sizeof Running().backupDir, (dir.Path() + "\\").c_str());
    HWND changed = NewDrawing("changed");
    HWND untouched = NewDrawing("untouched");
    ViewData* d = GetViewData(changed);
    for (int i = 0; i < 2; ++i) {
        ElementRecord line = drawtest::Line(i, 0, i + 10, 5, 2);
        ASSERT_NE(nullptr, DAriAppendElement(&line, d->db));
    }
    d->modified = 1;
    GetViewData(untouched)->modified = 0;
    const std::string path = FileBackup().BackupPathOf(changed);
    char expected[32];
    std::snprintf(expected, sizeof expected, "\\$%04d.tcf", static_cast<int>(d->drawingId));
    EXPECT_EQ(path, dir.Path() + expected) << "an untitled drawing's name";

    CadFileBackupSettings settings;
    settings.bCountBakup = 1;
    settings.nBackupCountSpan = 2;
    FileBackup().Init(settings);
    FileBackup().CountCommand();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str())) << "one command of two";
    FileBackup().CountCommand();
    ASSERT_EQ(1u, FileBackup().Written().size()) << "only the modified drawing";
    EXPECT_EQ(path, FileBackup().Written().front());
    EXPECT_EQ(2, ElementsIn(path)) << "the backup holds the drawing";

    // Counting off: no pass; a request (the fault road) still writes.
    DeleteFileA(path.c_str());
    settings.bCountBakup = 0;
    FileBackup().Init(settings);
    for (int i = 0; i < 3; ++i)
        FileBackup().CountCommand();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(path.c_str()));
    FileBackup().BackupModified();
    EXPECT_EQ(2, ElementsIn(path));

    // A drawing with a file: its base name in the backup's name.
    DbcsCopy(d->fileName, sizeof d->fileName, "C:\\図面\\plan.tcf");
    std::snprintf(expected, sizeof expected, "\\$%04d_plan.tcf", static_cast<int>(d->drawingId));
    EXPECT_EQ(FileBackup().BackupPathOf(changed), dir.Path() + expected);
    d->fileName[0] = 0;
    DeleteFileA(path.c_str());
}

}  // namespace
