// ConfigData.xml and LocalSettings.xml: the settings half of the application
// object. CCadSystem derives from CCadSystemSettings, so these are its
// members; the records live here for the whole run and never move (the UI
// library keeps the address of m_ConfigData).
#pragma once

#include <string>

#include "base/config_data.h"
#include "base/local_settings.h"

class CCadSystemSettings {
public:
    CCadSystemSettings();
    ~CCadSystemSettings();
    CCadSystemSettings(const CCadSystemSettings&) = delete;
    CCadSystemSettings& operator=(const CCadSystemSettings&) = delete;

    // Per-user paths; seeded from the installation folder (see user_folder.h).
    std::string GetConfigDataPath(bool create, bool force);
    std::string GetLocalSettingsPath(bool create, bool force);
    std::string GetLocalSettingsIniPath(bool create, bool force);
    std::string GetUserIniPath();

    // 0 loaded / written, -1 not. A null path means the per-user file.
    int LoadConfigData(bool apply, const char* path);
    int SaveConfigDataFile(const char* path);
    int LoadLocalSettings(bool apply, const char* path);
    int SaveLocalSettings(const char* path);
    // Reads the per-user LocalSettings.xml again (not its INI companion) and,
    // once the per-user settings run, applies the records: what was just
    // written into the file takes effect and is what the next save keeps.
    // 0 loaded, -1 not.
    int ReloadLocalSettings();
    // Writes "iHighlightColor" into LocalSettings.ini (the per-user one for a
    // null path; the extension is forced to ".ini") and hands it to the CAD
    // library.
    int SaveLocalSettingsIni(const char* path);

    // Start-up settings step (after both files are loaded): 1 done, 0 failed.
    int InitSettings();
    // Command 3800: writes the live ConfigData into the installation copy.
    int SaveConfigData(unsigned command);

    // Applies ConfigData again (after a reload): once the per-user settings
    // are applied, the user's running values of the settings that both govern
    // (rubber-band colour, keyboard-cursor step, drawing folder, main-window
    // rectangle) stay.
    void ApplyConfigDataKeepingUserValues();

    ConfigData m_ConfigData;
    LocalSettingsSetup m_LocalSettingsSetup;
    LocalSettingsWindow m_LocalSettingsWindow;
    CadFileBackupSettings m_CadFileBackup;
    LocalSettingsStackCmd m_LocalSettingsStackCmd;
    bool m_bUserSettingsApplied = false;

private:
    // The XML part of LoadLocalSettings.
    int LoadLocalSettingsXml(bool apply, const char* path);
};

// The live settings object of the process (the application object), or null.
CCadSystemSettings* GetCadSystemSettings();

// Shutdown save of the per-user settings: SaveLocalSettings with the default path.
int SaveUserSettings();

// LocalSettings.ini travels with LocalSettings.xml; its reader and writer
// belong to the INI values and are installed here by them.
using LocalSettingsIniFn = int (*)(LocalSettingsSetup& setup, const char* iniPath);
void SetLocalSettingsIniHandlers(LocalSettingsIniFn read, LocalSettingsIniFn write);

// The ".ini" companion path of a LocalSettings path (extension forced).
std::string LocalSettingsIniPathFor(const std::string& path);

// The file operations of a save, replaceable by tests to inject failures.
struct SettingsFileOps {
    // Writes all bytes to a new file; false with an error text on failure.
    bool (*writeFile)(const char* path, const std::string& bytes, std::string* error);
    // Moves the finished file over the target; false with an error text.
    bool (*replaceFile)(const char* from, const char* to, std::string* error);
};
SettingsFileOps GetDefaultSettingsFileOps();
void SetSettingsFileOps(const SettingsFileOps* ops);  // null: the defaults

// Archive text of the records (UTF-16 as the archive writes it). Throws on a
// malformed text; used by the file operations above, the tools and tests.
std::wstring SaveConfigDataText(const ConfigData& data);
void LoadConfigDataText(const std::wstring& text, ConfigData& data);
struct LocalSettingsRecords {
    LocalSettingsSetup* setup;
    LocalSettingsWindow* window;
    CadFileBackupSettings* backup;
    LocalSettingsStackCmd* stackCmd;
};
std::wstring SaveLocalSettingsText(const LocalSettingsRecords& records);
void LoadLocalSettingsText(const std::wstring& text, const LocalSettingsRecords& records);

// UTF-8 file bytes <-> archive text. Decoding throws on bytes that are not UTF-8.
std::wstring DecodeSettingsFileBytes(const std::string& bytes);
std::string EncodeSettingsFileText(const std::wstring& text);
