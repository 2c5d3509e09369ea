// What the settings give the running program: the neighbours the settings
// apply hands its values to (drawing views, panels, the command system, the
// CAD library), and the settings services of command modules.
#pragma once

#include <string>

// Connects the applies of the settings records and of LocalSettings.ini to
// the parts that use the values: the keyboard-cursor step, the gesture
// tables and the tolerances of the drawing windows, the pick aperture of the
// command system, the right-click menu file, the system log. Before the
// settings files are loaded (CCadSystem::Init).
void InstallSettingsNeighbours();

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
// Through a settings-file spec; a buffer of no bytes reads nothing (0).
int ModuleReadSettingString(const char* section, const char* key, const char* def, char* buffer,
                            int size, const char* fileSpec);
int ModuleWriteSettingString(const char* section, const char* key, const char* value,
                             const char* fileSpec);

// The running RMOUSE setting: what a right click means to a command that
// asks for a snapped point.
int RunningRightButtonMode();
