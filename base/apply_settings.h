// Applying the settings records to the running system, and copying the
// running values back before the per-user save.
#pragma once

#include "base/library_lookup.h"  // ForgetLibraryLookups, for tools and tests

#include <windows.h>

#include <string>

#include "base/config_data.h"
#include "base/local_settings.h"
#include "base/running_settings.h"

// Background colour of the drawing views from the per-user background mode:
// 0 black, 1 white, anything else COLOR_SYS_BK.
COLORREF GetDrawBackColor();

// A file-dialog filter list: name, zero, pattern, zero for each entry up to
// the first empty name, and a final zero. Entries that would not fit whole
// are left out. Returns the bytes used including the final zero.
size_t BuildFilterList(char* out, size_t size, const std::string* names, const std::string* patterns);

// What applying the settings hands to the neighbouring parts of the system
// (drawing views, panels, backups, the two closed libraries). Each entry has
// a default that keeps the value in the running settings, so the settings
// work on their own; the owning parts install their real functions.
struct SettingsNeighbours {
    int (*SetKeyCursorStep)(double step);
    double (*GetKeyCursorStep)();
    void (*SyncSnapButtons)();
    // table 1 plain, 2 Ctrl; entry 0..3. Returns the value stored.
    int (*SetGestureCommand)(int table, int entry, int command);
    int (*AllocRPMenuBuffer)();
    int (*LoadRPMenuFile)(const char* path);
    void (*InitCadFileBackup)(const CadFileBackupSettings& settings);
    // Fills the 257-entry pen colour table from the CAD library's style table.
    void (*GetPenColors)(COLORREF* table);
    // Hands the address of the live record to the UI library.
    void (*SetTheConfigDataPtr)(ConfigData* data);
    void (*WriteSystemLog)(int level, const char* category, const char* text);
    // The distance and angle tolerances of the geometry and the CAD library.
    void (*SetTolerances)(double distance, double angle);
};
SettingsNeighbours& Neighbours();
SettingsNeighbours DefaultSettingsNeighbours();

// The backup object's start-up step (through the neighbours above).
void InitCadFileBackup(const CadFileBackupSettings& settings);
