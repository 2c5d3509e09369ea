#include "shell/file_backup.h"

#include <cstdio>

#include "base/file_utils.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "cadlib/WmCadApiDb.h"
#include "view/view_data.h"
#include "view/view_table.h"

CCadFileBackup& FileBackup() {
    static CCadFileBackup backup;
    return backup;
}

void CCadFileBackup::Init(const CadFileBackupSettings& settings) {
    m_countSpan = settings.nBackupCountSpan;
    m_countOn = settings.bCountBakup;
    m_counter = 0;
}

void CCadFileBackup::CountCommand() {
    if (!m_countOn || m_countSpan <= 0) return;
    if (++m_counter < m_countSpan) return;
    m_counter = 0;
    BackupModified();
}

std::string CCadFileBackup::BackupPathOf(HWND view) const {
    const ViewData* d = GetViewData(view);
    if (!d) return std::string();
    char name[300];
    std::string base;
    SplitPath(d->fileName, nullptr, nullptr, &base, nullptr);
    if (d->fileName[0] && !base.empty())
        std::snprintf(name, sizeof name, "$%04d_%s.tcf", static_cast<int>(d->drawingId), base.c_str());
    else
        std::snprintf(name, sizeof name, "$%04d.tcf", static_cast<int>(d->drawingId));
    std::string path = Running().backupDir;
    AppendPath(path, name);
    return path;
}

int CCadFileBackup::BackupModified() {
    m_written.clear();
    for (HWND view = GetActiveView(); view; view = GetNextView(view)) {
        const ViewData* d = GetViewData(view);
        if (!d || !d->db || d->modified != 1) continue;
        const std::string path = BackupPathOf(view);
        uint32_t status = 0;
        if (DAriSaveFileOfCWX(path.c_str(), d->db, &status)) {
            m_written.push_back(path);
        } else {
            WriteSystemLog(0, "Error", "バックアップファイルの保存に失敗しました %s", path.c_str());
        }
    }
    return 0;
}
