// Settings read and written by section and key over several kinds of file:
// the INI file named after the executable (ProgramIni), ConfigData.xml,
// LocalSettings.xml, plain INI files named by a settings-file key, and a
// few values held only in memory. Section "SYSTEM" is always ConfigData.xml.
// Texts are code page 932; every buffer is bounded by its size.
#pragma once

#include <cstddef>
#include <list>
#include <string>

enum {
    SETTING_TEXT_SIZE = 257,  // value buffers of the layer
    SETTING_PATH_SIZE = 260,  // path buffers of the file-name readers
};

// File key kinds: -1 missing file, 0 INI, 1 ConfigData.xml, 2 LocalSettings.xml,
// 10 + kind for a "%SYSTEM_MEMORY%" file key (answered from memory).
int ResolveSettingsPath(const char* fileKey, std::string& out);

// By kind: -1 → 0, buffer untouched; 0 → the profile read's count; XML → 1
// after copying the value (or the default); memory → 1.
int ReadSettingString(const char* section, const char* key, const char* defaultText, char* out, size_t size,
                      const char* fileKey);

// By kind: -1 → 0; 0 → the profile write's result; otherwise 1 after saving
// the live record, editing the existing key in the file and reloading the
// system settings.
int WriteSettingString(const char* section, const char* key, const char* value, const char* fileKey);

// Key "Menu/AppPanelType" of kind 11 answers the running panel type; any
// other request gives the default. Returns 1.
int ReadMemorySetting(int kind, const char* section, const char* key, const char* defaultText, char* out, size_t size);

// Types: 1 int, 2 and 3 long, 4 double, 5 text of `size` bytes. The value is
// first set from the default, then from the setting (comment cut). 0, or -1
// for another type.
int ReadSettingValue(void* out, int type, size_t size, const char* section, const char* key, const char* defaultText);

// The setting as text, comment cut (out holds SETTING_TEXT_SIZE bytes).
// "SYSTEM"/"SYSTEMDIR" is the installation folder with a final "\". Returns 1.
int ReadSettingText(const char* section, const char* key, const char* defaultText, char* out);

// "SYSTEM" into the per-user ConfigData.xml, any other section into
// ProgramIni. Returns 1.
int WriteSettingText(const char* section, const char* key, const char* value);

// A file-name setting as a full path (out holds SETTING_PATH_SIZE bytes): an
// ".ini" value is the per-user copy, any other value lies in the
// installation folder. A key starting with ";" is itself the path (its
// placeholders expanded). Returns 1.
int ReadSettingFileName(char* out, const char* section, const char* key, const char* defaultText);

// The same for data files: ".ini" in the per-user data folder 7, any other
// value in the installation's data folder 7. Returns 1.
int ReadDataFileName(char* out, const char* section, const char* key, const char* defaultText);

// Cuts the text at the first "//" outside double-byte characters, with the
// blanks and tabs just before it.
void StripSettingComment(char* text);
void StripSettingComment(std::string& text);

// The executable's path with the extension ".ini".
std::string GetProgramIniPath();
// Tests point ProgramIni elsewhere; null or empty restores the default.
void SetProgramIniPathOverride(const char* path);

// Appends the drawing scales of the system settings, in order.
void GetScaleList(std::list<std::string>& out);

// The auxiliary INI files named in section "CONFIG": the command INI
// ("CMDINI"), the text-history INI ("DATSTR"), the panel-button colour INI
// ("PBOXCOL"). Reads fill SETTING_TEXT_SIZE bytes. All return 1.
int ReadCmdIniString(const char* section, const char* key, const char* defaultText, char* out);
int WriteCmdIniString(const char* section, const char* key, const char* value);
int ReadTextHistoryString(const char* section, const char* key, const char* defaultText, char* out);
int WriteTextHistoryString(const char* section, const char* key, const char* value);
int ReadPanelColorString(const char* section, const char* key, const char* defaultText, char* out);

// The resolved files of the three auxiliary INIs.
std::string GetCmdIniPath();
std::string GetTextHistoryIniPath();
std::string GetPanelColorIniPath();

// The settings object of the command-interface configuration; it holds no
// data, the operations above are free functions.
class CCadSysCmdConfigIO {
public:
    virtual ~CCadSysCmdConfigIO();
};
