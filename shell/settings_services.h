// What the settings give the running program: the settings services of
// command modules, and the settings a running command obeys
// (InstallHostServices puts them in place).
#pragma once

#include <string>

// The pick aperture read from LocalSettings.ini, for the command system's
// searches (values outside 1..998 are left out there).
void SetPickAperture(int pixels);

// The settings services behind the settings messages of command modules
// (the command system's hooks): the settings-file layer, with "SYSTEM" in
// ConfigData.xml and other sections in ProgramIni.
std::string ModuleReadSettingText(const char* section, const char* key, const char* def);
int ModuleWriteSettingText(const char* section, const char* key, const char* value);
// The key names of an INI section, each zero-terminated (at most 257 bytes).
std::string ModuleReadSettingSection(const char* section);
std::string ModuleReadCmdIniString(const char* section, const char* key, const char* def);
int ModuleWriteCmdIniString(const char* section, const char* key, const char* value);
// [CONFIG] key as a full path.
std::string ModuleReadSettingFileName(const char* key);
// Through a settings-file key; a buffer of no bytes reads nothing (0).
int ModuleReadSettingString(const char* section, const char* key, const char* def, char* buffer, int size,
                            const char* fileKey);
int ModuleWriteSettingString(const char* section, const char* key, const char* value, const char* fileKey);

// The running RMOUSE setting: what a right click means to a command that
// asks for a snapped point.
int RunningRightButtonMode();
