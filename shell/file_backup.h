// Backup copies of the modified drawings. The executor counts each command
// and, every nBackupCountSpan commands (when bCountBakup is on), every
// modified drawing is written to the backup folder; after a command module
// faulted the same pass runs at once, so that a fault loses no drawing.
// Names: "$%04d_%s.tcf" (drawing id, file name without folder and extension)
// or "$%04d.tcf" for an untitled drawing.
#pragma once

#include <windows.h>

#include <list>
#include <string>

#include "base/local_settings.h"

class CCadFileBackup {
public:
    // The stored settings (element "CadFileBackup" of LocalSettings.xml), at
    // start-up once the settings are applied.
    void Init(const CadFileBackupSettings& settings);
    void CountCommand();
    // Writes every modified drawing; 0.
    int BackupModified();
    // The path a drawing window's backup goes to.
    std::string BackupPathOf(HWND view) const;
    // The files of the latest pass.
    const std::list<std::string>& Written() const { return m_written; }

private:
    int m_countSpan = 3;
    int m_countOn = 0;
    int m_counter = 0;
    std::list<std::string> m_written;
};

CCadFileBackup& FileBackup();
