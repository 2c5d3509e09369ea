// Backup copies of the modified drawings, and the crash flag that keeps the
// backups of a run that did not end cleanly.
//
// A backup pass writes every modified drawing into the backup folder:
// every nBackupCountSpan commands (bCountBakup), after nBackupTimeSpanSec
// seconds without a user command (bTimeBackup), and at once after a
// command module faulted. Names: "$%04d_%s.tcf" (drawing id, file name
// without folder and extension) or "$%04d.tcf" for an untitled drawing;
// older generations "<base>_$NNN$.tcf" beside them (iBackupStock 1) or
// beside the drawing (iBackupStock 2), nBackupStockNum of them.
//
// Crash flag: key "FatalError" of section "System" in the per-user
// Quillmar.ini, 1 while a copy of the program runs. Each copy records
// itself (its process id and start time) in section "BackupSessions", so
// that only the copy that set the flag clears it, a second copy never takes
// a running one for a crashed one, and a start finds exactly the copies
// that crashed: their backups stay, their half-written save files
// ("~cad<pid>_<n>.tmp" beside a drawing) are removed and the user is told.
// The drawing ids of a copy's backups are shifted by 300 for every block
// still held by the backups of crashed runs or by running copies, so that
// no backup ever overwrites another run's.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <list>
#include <string>
#include <vector>

#include "base/local_settings.h"

struct DbHeader;

// What the backups need from around them; tests replace entries.
struct BackupLinks {
    // Seconds since 1970.
    std::function<long long()> now;
    // Writes one drawing (the library's result, non-zero success).
    std::function<int(const char* path, DbHeader* db, uint32_t* status)> write;
    // Shows a message to the user (the error road of the main frame).
    std::function<void(const char* text)> showError;
    // 1 while the process `pid` that started at `started` (FILETIME as
    // 64 bits, 0 unknown) still runs.
    std::function<bool(unsigned long pid, unsigned long long started)> alive;
};
BackupLinks& BackupRoad();

class CCadFileBackup {
public:
    virtual ~CCadFileBackup();

    // The stored settings (element "CadFileBackup" of LocalSettings.xml), at
    // start-up once the settings are applied; again when they are reloaded.
    // The first call with a crash-flag file set takes this copy's place in
    // it (see above); later calls only take the settings.
    void Init(const CadFileBackupSettings& settings);
    // The per-user INI file of the crash flag; empty (unit tests) leaves the
    // flag alone and every start counts as clean.
    void SetCrashFlagFile(const std::string& iniPath) { m_iniPath = iniPath; }
    // Clears this copy's crash flag at a clean end; nothing when this copy
    // never set it (a copy that handed over or was refused).
    void EndSession();

    void StampActivity();
    void CheckTimeBackup();
    void CountCommand();
    // Writes every modified drawing; 0.
    int BackupModified();
    // Deletes every "$*.tcf" of the backup folder; the number deleted.
    int DeleteAllBackups();
    // The path a drawing window's backup goes to.
    std::string BackupPathOf(HWND view) const;
    // The files of the latest pass.
    const std::list<std::string>& Written() const { return m_written; }
    // A save into this folder is about to begin: a crash during it leaves
    // the library's temporary file there, which the next start removes.
    void NoteSaveFolder(const std::string& folderOrFile);

    int RecoveryFlag() const { return m_recovery; }
    int IdOffset() const { return m_idOffset; }
    // The text the user is shown after a start that found crashed runs
    // (empty when none); ShowCrashNotice shows it once over the frame.
    const std::string& CrashNotice() const { return m_notice; }
    void ShowCrashNotice(HWND owner);
    // The half-written save files the start removed.
    const std::vector<std::string>& RemovedTempFiles() const { return m_removedTemps; }

    // Forgets the session (tests that start several sessions in one process).
    void ResetSessionForTest();

private:
    void StartSession();
    void WriteFlag(int value);
    int WriteBackupFile(HWND view, const std::string& path);

    std::string m_backupDir;
    std::string m_generationDir;
    int m_countOn = 0;
    int m_timeOn = 0;
    int m_recovery = 0;
    int m_countSpan = 3;
    int m_timeSpanSec = 120;
    long long m_timeSpan = 7200;
    long long m_lastActivity = 0;
    int m_counter = 0;
    std::list<std::string> m_written;

    std::string m_iniPath;
    bool m_session = false;
    int m_idOffset = 0;
    std::vector<std::string> m_saveFolders;
    std::vector<std::string> m_removedTemps;
    std::string m_notice;
};

CCadFileBackup& FileBackup();

// Adds a generation of the backup file: the number of generation files
// counted, 0 when generations are off, -2 when the backup file is missing.
int StockBackupGeneration(const std::string& generationDir, const std::string& base, const std::string& backupPath,
                          int stockMode, int stockNum);
// The generation number of a generation file's name ("plan_$004$.tcf" 4),
// -1 when it is not one.
int GenerationNumberOf(const std::string& fileName);
