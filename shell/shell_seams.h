// What the shell keeps for itself: its call log, the installation and
// per-user folders, ProgramIni and the settings it reads at start-up.
// Nothing else in the shell reaches around these functions, so tests can
// point the folders elsewhere through the environment.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

// --- Call log -------------------------------------------------------------
// A record of the start-up and shut-down steps, in order. Kept in memory for
// tests; with the environment variable ZAV_SHELL_TRACE naming a file, each
// line is also appended there so a second process can read it.
void ShellTrace(const char* format, ...);
const std::string& ShellTraceText();  // lines joined by '\n'
void ClearShellTrace();

// --- Installation folder, per-user folder, ProgramIni ----------------------
// The folder of the executable, without a trailing "\". ZAV_INSTALL_DIR
// stands in for it in tests.
std::string ShellExeDir();
// Local application data \ "Qv" \ "VantrelV8" (made when missing);
// ZAV_LOCAL_APPDATA stands in for local application data.
std::string ShellUserDir();
// The per-user copy of a settings file; when missing it is first copied
// from the installation folder. Returns the per-user path.
std::string SeedUserFile(const char* name);
// ProgramIni: the INI file named after the executable, beside it.
std::string ProgramIniPath();
void SetProgramIniPath(const char* path);  // tests; null or "" restores
std::string ReadProgramIniText(const char* section, const char* key, const char* def, size_t maxBytes = 1024);
int WriteProgramIniText(const char* section, const char* key, const char* value);

// --- System and per-user settings the shell reads ----------------------------
struct ShellSettingValues {
    int MULTIBOOT = 0;
    int AUTOCMD = 0;
    unsigned TIMESTEP = 500;
    int iStartOpenDlgFg = 0;
    int bToolHlp = 1;
    int bWindowSz = 1;
    int bPaperOrg = 0;
    int bScTestBtn = 0;
    int iCmdPanelTypeLowResoH = 0;
    double maxCoord = 1e100;
    std::string autoDrawing;  // AUTOZ, resolved
    std::string backupDir;    // BACKUPDIR
};
ShellSettingValues& ShellSettings();
// Takes the values above from the running settings (after the settings
// files are loaded and applied). 0.
int LoadShellSettings();
// Saves the per-user settings (LocalSettings.xml / LocalSettings.ini):
// 0 written, -1 not.
int SaveUserSettingsSeam();
