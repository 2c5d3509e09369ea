#include "shell/file_backup.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <set>

#include "base/dbcs.h"
#include "base/file_utils.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "cadlib/WmCadApiDb.h"
#include "command/status_codes.h"
#include "shell/cad_system.h"
#include "shell/main_frame.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

const char kSystemSection[] = "System";
const char kFlagKey[] = "FatalError";
const char kSessionSection[] = "BackupSessions";
const char kFolderSection[] = "BackupSaveFolders";
// Drawing ids of one run's backups stay within one block of this size.
const int kIdBlock = 300;

bool IsDirectoryEntry(const WIN32_FIND_DATAA& f) { return (f.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0; }

bool Exists(const std::string& path) { return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string WithSeparator(std::string folder) {
    if (!folder.empty() && (folder.back() != '\\' || IsDbcsTrailAt(folder, folder.size() - 1))) folder += '\\';
    return folder;
}

// Every non-directory entry matching the pattern, as full paths.
template <class F>
void ForEachFile(const std::string& folder, const std::string& pattern, F f) {
    WIN32_FIND_DATAA data;
    HANDLE h = ::FindFirstFileA((WithSeparator(folder) + pattern).c_str(), &data);
    if (h == INVALID_HANDLE_VALUE) return;
    do {
        if (!IsDirectoryEntry(data)) f(WithSeparator(folder) + data.cFileName, data);
    } while (::FindNextFileA(h, &data));
    ::FindClose(h);
}

unsigned long long ProcessStartTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

bool ProcessAlive(unsigned long pid, unsigned long long started) {
    if (pid == ::GetCurrentProcessId()) return true;
    HANDLE h = ::OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
    if (!h) return false;
    DWORD code = 0;
    bool alive = ::GetExitCodeProcess(h, &code) && code == STILL_ACTIVE;
    // A process id used again by a later process is not the recorded copy.
    if (alive && started) {
        const unsigned long long now = ProcessStartTime(h);
        if (now && now != started) alive = false;
    }
    ::CloseHandle(h);
    return alive;
}

BackupLinks DefaultLinks() {
    BackupLinks l;
    l.now = [] { return static_cast<long long>(std::time(nullptr)); };
    l.write = [](const char* path, DbHeader* db, uint32_t* status) { return DAriSaveFileOfCWX(path, db, status); };
    l.showError = [](const char* text) { ShowErrorMessage(text); };
    l.alive = ProcessAlive;
    return l;
}

// Section keys of an INI file.
std::vector<std::string> IniKeys(const std::string& ini, const char* section) {
    std::vector<char> buffer(32768);
    const DWORD n = ::GetPrivateProfileStringA(section, nullptr, "", buffer.data(), (DWORD)buffer.size(), ini.c_str());
    std::vector<std::string> keys;
    for (DWORD at = 0; at < n && buffer[at];) {
        keys.emplace_back(&buffer[at]);
        at += (DWORD)keys.back().size() + 1;
    }
    return keys;
}

std::string IniText(const std::string& ini, const char* section, const std::string& key) {
    std::vector<char> buffer(32768);
    ::GetPrivateProfileStringA(section, key.c_str(), "", buffer.data(), (DWORD)buffer.size(), ini.c_str());
    return buffer.data();
}

std::vector<std::string> SplitBars(const std::string& text) {
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= text.size()) {
        const size_t bar = text.find('|', at);
        std::string part = text.substr(at, bar == std::string::npos ? std::string::npos : bar - at);
        if (!part.empty()) parts.push_back(part);
        if (bar == std::string::npos) break;
        at = bar + 1;
    }
    return parts;
}

// The drawing id of a backup's name "$NNNN_name.tcf" / "$NNNN.tcf", or -1.
int BackupIdOf(const char* name) {
    if (name[0] != '$') return -1;
    int id = 0, digits = 0;
    for (const char* p = name + 1; *p >= '0' && *p <= '9'; ++p, ++digits)
        id = id * 10 + (*p - '0');
    return digits >= 4 ? id : -1;
}

// The file name without folder and extension.
std::string BaseName(const std::string& path) {
    std::string name;
    SplitPath(path, nullptr, nullptr, &name, nullptr);
    return name;
}

std::string FolderOfPath(const std::string& path) {
    std::string drive, dir;
    SplitPath(path, &drive, &dir, nullptr, nullptr);
    return drive + dir;
}

}  // namespace

BackupLinks& BackupRoad() {
    static BackupLinks links = DefaultLinks();
    return links;
}

CCadFileBackup& FileBackup() {
    static CCadFileBackup backup;
    return backup;
}

CCadFileBackup::~CCadFileBackup() { EndSession(); }

void CCadFileBackup::Init(const CadFileBackupSettings& settings) {
    m_backupDir = WithSeparator(Running().backupDir);
    m_countSpan = settings.nBackupCountSpan;
    m_countOn = settings.bCountBakup;
    m_timeOn = settings.bTimeBackup;
    m_timeSpanSec = settings.nBackupTimeSpanSec;
    m_timeSpan = m_timeSpanSec;
    m_counter = 0;
    if (!m_session && !m_iniPath.empty()) StartSession();
    Running().recoveryMode = m_recovery;
}

void CCadFileBackup::WriteFlag(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    ::WritePrivateProfileStringA(kSystemSection, kFlagKey, text, m_iniPath.c_str());
}

// Takes this copy's place in the crash-flag file. The copies recorded there
// that no longer run have crashed: their backups stay, their save files cut
// off halfway go, and this copy numbers its backups past theirs.
void CCadFileBackup::StartSession() {
    const std::string& ini = m_iniPath;
    const int flag = ::GetPrivateProfileIntA(kSystemSection, kFlagKey, 0, ini.c_str());
    std::set<int> blocksInUse;
    int crashed = 0, others = 0;
    m_removedTemps.clear();
    for (const std::string& key : IniKeys(ini, kSessionSection)) {
        const unsigned long pid = std::strtoul(key.c_str(), nullptr, 10);
        const std::string value = IniText(ini, kSessionSection, key);
        unsigned long long started = 0;
        int block = 0;
        if (const char* comma = std::strchr(value.c_str(), ',')) {
            started = std::strtoull(value.c_str(), nullptr, 16);
            block = std::atoi(comma + 1);
        }
        if (pid != ::GetCurrentProcessId() && BackupRoad().alive(pid, started)) {
            ++others;
            blocksInUse.insert(block);
            continue;
        }
        ++crashed;
        // The library writes a save to "~cad<pid>_<n>.tmp" beside the target
        // and moves it over the drawing when complete; one left behind is a
        // save that never finished, and the drawing itself is the old one.
        char pattern[64];
        std::snprintf(pattern, sizeof pattern, "~cad%lx_*.tmp", pid);
        std::vector<std::string> folders = SplitBars(IniText(ini, kFolderSection, key));
        folders.push_back(m_backupDir);
        std::set<std::string> seen;
        for (const std::string& folder : folders) {
            if (folder.empty() || !seen.insert(folder).second) continue;
            ForEachFile(folder, pattern, [&](const std::string& path, const WIN32_FIND_DATAA&) {
                if (::DeleteFileA(path.c_str())) m_removedTemps.push_back(path);
            });
        }
        ::WritePrivateProfileStringA(kSessionSection, key.c_str(), nullptr, ini.c_str());
        ::WritePrivateProfileStringA(kFolderSection, key.c_str(), nullptr, ini.c_str());
    }
    // A flag without records comes from a run that kept no records.
    m_recovery = (crashed > 0 || (flag != 0 && others == 0)) ? 1 : 0;
    if (!m_recovery && others == 0) DeleteAllBackups();

    // The backups on disk (of crashed runs) and the running copies hold
    // their blocks of ids; this copy takes the first free one.
    if (!m_backupDir.empty()) {
        ForEachFile(m_backupDir, "$*.tcf", [&](const std::string&, const WIN32_FIND_DATAA& f) {
            const int id = BackupIdOf(f.cFileName);
            if (id >= 0) blocksInUse.insert(id / kIdBlock);
        });
    }
    int block = 0;
    while (blocksInUse.count(block))
        ++block;
    m_idOffset = block * kIdBlock;

    HANDLE self = ::GetCurrentProcess();
    char key[32], value[64];
    std::snprintf(key, sizeof key, "%lu", static_cast<unsigned long>(::GetCurrentProcessId()));
    std::snprintf(value, sizeof value, "%llx,%d", ProcessStartTime(self), block);
    ::WritePrivateProfileStringA(kSessionSection, key, value, ini.c_str());
    m_saveFolders.clear();
    WriteFlag(1);
    m_session = true;

    m_notice.clear();
    if (m_recovery) {
        char text[1200];
        int n = std::snprintf(text, sizeof text,
                              "前回、システムが正常に終了しませんでした。\n"
                              "その時のバックアップファイルは次のフォルダに残してあります。\n%s",
                              m_backupDir.c_str());
        if (!m_removedTemps.empty() && n > 0 && n < (int)sizeof text)
            std::snprintf(text + n, sizeof text - n,
                          "\n\n保存の途中で中断された一時ファイル %d 個を削除しました。\n"
                          "図面ファイルは保存前の状態のまま残っています。",
                          static_cast<int>(m_removedTemps.size()));
        m_notice = text;
        WriteSystemLog(0, "System", "異常終了後の起動 (一時ファイル %d 個を削除)",
                       static_cast<int>(m_removedTemps.size()));
        for (const std::string& path : m_removedTemps)
            WriteSystemLog(0, "System", "一時ファイルを削除しました %s", path.c_str());
    }
}

void CCadFileBackup::EndSession() {
    if (!m_session) return;
    m_session = false;
    char key[32];
    std::snprintf(key, sizeof key, "%lu", static_cast<unsigned long>(::GetCurrentProcessId()));
    ::WritePrivateProfileStringA(kSessionSection, key, nullptr, m_iniPath.c_str());
    ::WritePrivateProfileStringA(kFolderSection, key, nullptr, m_iniPath.c_str());
    // Another copy still running keeps the flag up for itself.
    WriteFlag(IniKeys(m_iniPath, kSessionSection).empty() ? 0 : 1);
}

void CCadFileBackup::ResetSessionForTest() {
    m_session = false;
    m_recovery = 0;
    m_idOffset = 0;
    m_notice.clear();
    m_removedTemps.clear();
    m_saveFolders.clear();
}

void CCadFileBackup::NoteSaveFolder(const std::string& folderOrFile) {
    if (!m_session) return;
    std::string folder = FolderOfPath(folderOrFile);
    if (folder.empty()) return;
    for (const std::string& f : m_saveFolders)
        if (lstrcmpiA(f.c_str(), folder.c_str()) == 0) return;
    m_saveFolders.push_back(folder);
    std::string all;
    for (const std::string& f : m_saveFolders)
        all += (all.empty() ? "" : "|") + f;
    char key[32];
    std::snprintf(key, sizeof key, "%lu", static_cast<unsigned long>(::GetCurrentProcessId()));
    ::WritePrivateProfileStringA(kFolderSection, key, all.c_str(), m_iniPath.c_str());
}

void CCadFileBackup::ShowCrashNotice(HWND owner) {
    if (m_notice.empty()) return;
    const std::string text = m_notice;
    m_notice.clear();
    ZavMessageBox(owner, text.c_str(), "バックアップ", MB_OK | MB_ICONINFORMATION);
}

void CCadFileBackup::StampActivity() { m_lastActivity = BackupRoad().now(); }

void CCadFileBackup::CheckTimeBackup() {
    if (!m_timeOn) return;
    const long long now = BackupRoad().now();
    if (now - m_lastActivity < m_timeSpan) return;
    m_lastActivity = now;
    BackupModified();
}

void CCadFileBackup::CountCommand() {
    if (!m_countOn || m_countSpan <= 0) return;
    if (++m_counter < m_countSpan) return;
    m_counter = 0;
    BackupModified();
}

int CCadFileBackup::DeleteAllBackups() {
    int deleted = 0;
    if (!m_backupDir.empty()) {
        ForEachFile(m_backupDir, "$*.tcf", [&](const std::string& path, const WIN32_FIND_DATAA&) {
            if (::DeleteFileA(path.c_str())) ++deleted;
        });
    }
    m_written.clear();
    return deleted;
}

std::string CCadFileBackup::BackupPathOf(HWND view) const {
    const ViewData* d = GetViewData(view);
    if (!d) return std::string();
    const int id = static_cast<int>(d->drawingId) + m_idOffset;
    char name[300];
    const std::string base = d->fileName[0] ? BaseName(d->fileName) : std::string();
    if (!base.empty())
        std::snprintf(name, sizeof name, "$%04d_%s.tcf", id, base.c_str());
    else
        std::snprintf(name, sizeof name, "$%04d.tcf", id);
    std::string path = Running().backupDir;
    AppendPath(path, name);
    return path;
}

int CCadFileBackup::WriteBackupFile(HWND view, const std::string& path) {
    ViewData* d = GetViewData(view);
    if (!d || !d->db) return 0;
    HCURSOR before = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
    HWND bar = StatusBarWindow();
    if (bar) {
        ::SendMessageA(bar, UM_STATUS_SAVE_TEXTS, 0, 0);
        SetStatusMessage(bar, "バックアップ保存中です");
    }
    NoteSaveFolder(path);
    uint32_t status = 0;
    const int r = BackupRoad().write(path.c_str(), d->db, &status);
    ::SetCursor(before);
    if (!r || !Exists(path)) {
        BackupRoad().showError(!r && (status & 0x10) ? "保存のためのディスク容量が足りません"
                                                     : "バックアップファイルの書き込みに失敗しました");
        WriteSystemLog(0, "Error", "%ld %s ファイルの書き込みに失敗しました", static_cast<long>(status), path.c_str());
    }
    if (bar) {
        SetStatusMessage(bar, "");
        ::SendMessageA(bar, UM_STATUS_RESTORE_TEXTS, 0, 0);
    }
    return r;
}

int CCadFileBackup::BackupModified() {
    m_written.clear();
    for (HWND view = GetActiveView(); view; view = GetNextView(view)) {
        const ViewData* d = GetViewData(view);
        if (!d || !d->db || d->modified != 1) continue;
        const std::string path = BackupPathOf(view);
        std::string base, ownFolder;
        if (d->fileName[0] && !BaseName(d->fileName).empty()) {
            base = BaseName(d->fileName);
            ownFolder = FolderOfPath(d->fileName);
        } else {
            ownFolder = m_backupDir;
        }
        WriteBackupFile(view, path);
        m_generationDir = LocalIni().iBackupStock == 2 ? ownFolder : m_backupDir;
        StockBackupGeneration(m_generationDir, base, path, LocalIni().iBackupStock, LocalIni().nBackupStockNum);
        m_written.push_back(path);
    }
    return 0;
}

int GenerationNumberOf(const std::string& fileName) {
    std::string stem = fileName;
    const size_t dot = stem.rfind('.');
    if (dot != std::string::npos) stem.resize(dot);
    if (stem.empty() || stem.back() != '$' || stem.size() < 4) return -1;
    std::string last = stem.substr(stem.size() - 4);
    while (!last.empty() && last.back() == '$')
        last.pop_back();
    if (last.empty()) return -1;
    for (char c : last)
        if (c < '0' || c > '9') return -1;
    return std::atoi(last.c_str());
}

namespace {
// A generation is the backup file as it stands now. The backup file is only
// ever replaced whole (written to a temporary file and moved over it, as
// every drawing file is), never rewritten in place, so a second name for its
// present contents keeps them when the next backup replaces the file, and
// costs no copy while the user waits. A volume that takes no second name
// (another drive, a share without links) gets a copy.
bool KeepGeneration(const std::string& backupPath, const std::string& generation) {
    ::DeleteFileA(generation.c_str());
    if (::CreateHardLinkA(generation.c_str(), backupPath.c_str(), nullptr)) return true;
    return ::CopyFileA(backupPath.c_str(), generation.c_str(), FALSE) != 0;
}
}  // namespace

int StockBackupGeneration(const std::string& generationDir, const std::string& baseIn, const std::string& backupPath,
                          int stockMode, int stockNum) {
    if (stockMode == 0 || stockNum < 1) return 0;
    std::string base = baseIn;
    if (base.empty()) {
        std::string name = BaseName(backupPath);
        size_t skip = 0;
        while (skip < name.size() && name[skip] == '$')
            ++skip;
        base = "#新規図面#" + name.substr(skip);
    }
    if (!Exists(backupPath)) return -2;
    std::string stem = WithSeparator(generationDir) + base;
    while (!stem.empty() && (stem.back() == '\\' || stem.back() == '.'))
        stem.pop_back();
    struct Found {
        int number;
        unsigned long long written;
        std::string path;
    };
    std::vector<Found> found;
    ForEachFile(FolderOfPath(stem), BaseName(stem + ".x") + "_$???$.tcf",
                [&](const std::string& path, const WIN32_FIND_DATAA& f) {
                    const unsigned long long t =
                        (static_cast<unsigned long long>(f.ftLastWriteTime.dwHighDateTime) << 32) |
                        f.ftLastWriteTime.dwLowDateTime;
                    found.push_back({GenerationNumberOf(f.cFileName), t, path});
                });
    auto generationPath = [&](int number) {
        char tail[32];
        std::snprintf(tail, sizeof tail, "_$%03d$%s", number % 1000, ".tcf");
        return stem + tail;
    };
    if (found.empty()) return KeepGeneration(backupPath, generationPath(0)) ? 1 : 0;
    int count = static_cast<int>(found.size());
    size_t oldest = 0, newest = 0;
    for (size_t i = 1; i < found.size(); ++i) {
        if (found[i].written < found[oldest].written) oldest = i;
        if (found[i].written > found[newest].written) newest = i;
    }
    if (count >= stockNum && !::DeleteFileA(found[oldest].path.c_str()))
        WriteSystemLog(0, "Error", "バックアップファイル %s を削除できません", found[oldest].path.c_str());
    const std::string next = generationPath(found[newest].number + 1);
    if (KeepGeneration(backupPath, next))
        ++count;
    else
        WriteSystemLog(0, "Error", "バックアップファイルをコピーできません %s → %s", backupPath.c_str(), next.c_str());
    return count;
}
