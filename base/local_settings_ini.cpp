#include "base/local_settings_ini.h"

#include <windows.h>

#include <cstdio>

#include "base/api_decl.h"
#include "base/library_lookup.h"
#include "base/local_settings.h"
#include "base/running_settings.h"
#include "base/settings_files.h"

namespace {

// The CAD library when the process has loaded it (the host links it; tools
// and tests may run without).
FARPROC CadLibraryFunction(const char* name) { return LoadedLibraryFunction("WmCadApiDb.dll", name); }

void SetHighlightColorInLibrary(int colour) {
    using Fn = int(ZAVAPI*)(int);
    if (auto fn = reinterpret_cast<Fn>(CadLibraryFunction("TqSetHighlightColor"))) fn(colour);
}

void SetElementCheckModeInLibrary(int mode) {
    using Fn = int(ZAVAPI*)(int);
    if (auto fn = reinterpret_cast<Fn>(CadLibraryFunction("DAriSetElementCheckMode"))) fn(mode);
}

void SetSettingsDataIntInLibrary(const char* name, int value) {
    using Fn = int(ZAVAPI*)(const char*, int);
    if (auto fn = reinterpret_cast<Fn>(CadLibraryFunction("DAriSetSettingsDataInt"))) fn(name, value);
}

void KeepCursorFindArea(int area) {
    if (area >= 1 && area <= 998) LocalIni().iCursorFindArea = area;
}

int ReadInt(const char* section, const char* key, int defaultValue, const char* path) {
    return static_cast<int>(GetPrivateProfileIntA(section, key, defaultValue, path));
}

void WriteInt(const char* section, const char* key, int value, const char* path) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", value);
    WritePrivateProfileStringA(section, key, text, path);
}

int ReadIniHandler(LocalSettingsSetup& setup, const char* path) { return setup.ReadIni(path); }
int WriteIniHandler(LocalSettingsSetup& setup, const char* path) { return setup.WriteIni(path); }

}  // namespace

LocalSettingsIniValues& LocalIni() {
    static LocalSettingsIniValues values;
    return values;
}

LocalSettingsIniNeighbours& LocalIniNeighbours() {
    static LocalSettingsIniNeighbours neighbours{KeepCursorFindArea};
    return neighbours;
}

int LocalSettingsSetup::ReadIni(const char* path) {
    LocalSettingsIniValues& v = LocalIni();
    v.iMouseWheelZoomType = ReadInt("Mouse", "iMouseWheelZoomType", 0, path);
    v.iDispDrawMode = ReadInt("System", "iDispDrawMode", 1, path);
    v.iDrawColorMode = ReadInt("System", "iDrawColorMode", 0, path);
    v.iDrawColor = ReadInt("System", "iDrawColor", 4, path);
    v.iHighlightColor = ReadInt("System", "iHighlightColor", 2, path);
    SetHighlightColorInLibrary(v.iHighlightColor);
    v.iEpsMode = ReadInt("System", "iEpsMode", -1, path);
    if (v.iEpsMode == -1) UpdateEpsilons(true);  // a new INI: the tolerance digits start from their defaults
    v.iBackupStock = ReadInt("System", "iBackupStock", 1, path);
    v.nBackupStockNum = ReadInt("System", "nBackupStockNum", 5, path);
    v.nLogKeepDays = ReadInt("System", "nLogKeepDays", 7, path);
    v.iSnap2TenkanMode = ReadInt("System", "iSnap2TenkanMode", 1, path);
    const int findArea = ReadInt("Mouse", "iCursorFindArea", 8, path);
    if (LocalIniNeighbours().SetCursorFindArea) LocalIniNeighbours().SetCursorFindArea(findArea);
    v.iElementCheckMode = ReadInt("System", "iElementCheckMode", 1, path);
    SetElementCheckModeInLibrary(v.iElementCheckMode);
    v.iVectFontWidth = ReadInt("System", "iVectFontWidth", 1, path);
    SetSettingsDataIntInLibrary("iVectFontWidth", v.iVectFontWidth);
    v.iLockBtnSnapNINNITEN = ReadInt("System", "iLockBtnSnapNINNITEN", 0, path);
    Running().iLockBtnSnapNINNITEN = v.iLockBtnSnapNINNITEN;
    v.iPanelCaption = ReadInt("System", "iPanelCaption", 3, path);
    if (v.iPanelCaption > 15 || v.iPanelCaption < 0) v.iPanelCaption = 3;
    v.iLockPanelSliding = ReadInt("System", "iLockPanelSliding", 0, path);
    v.iCmdPanelTypeLowResoH = ReadInt("System", "iCmdPanelTypeLowResoH", 0, path);
    v.iCmdPanelTypeLowResoW = ReadInt("System", "iCmdPanelTypeLowResoW", 0, path);
    v.iCmdPanelFloatingMode = ReadInt("System", "iCmdPanelFloatingMode", 0, path);
    v.iCmdPanelTypeSelBtn = ReadInt("System", "iCmdPanelTypeSelBtn", 1, path);
    v.iDispDrawLevel = ReadInt("System", "iDispDrawLevel", 1, path);
    return 0;
}

int LocalSettingsSetup::WriteIni(const char* path) {
    LocalSettingsIniValues& v = LocalIni();
    if (v.iDrawColorMode == 1) WriteInt("System", "iDrawColor", v.iDrawColor, path);
    if (v.iEpsMode == -1) {
        // The tolerance reset happens once, at the first start with a new INI.
        WritePrivateProfileStringA("System", "iEpsMode", "0", path);
        v.iEpsMode = 0;
    }
    WriteInt("System", "iPanelCaption", v.iPanelCaption, path);
    return 0;
}

int LocalSettingsSetup::WriteHighlightColor(const char* path, bool write) {
    if (write) {
        WriteInt("System", "iHighlightColor", LocalIni().iHighlightColor, path);
        SetHighlightColorInLibrary(LocalIni().iHighlightColor);
    }
    return 0;
}

void InstallLocalSettingsIniHandlers() { SetLocalSettingsIniHandlers(ReadIniHandler, WriteIniHandler); }

int CCadSystemSettings::SaveLocalSettingsIni(const char* path) {
    const std::string target =
        LocalSettingsIniPathFor(path && *path ? std::string(path) : GetLocalSettingsIniPath(true, false));
    m_LocalSettingsSetup.WriteHighlightColor(target.c_str(), true);
    return 0;
}

int SaveLocalSettingsIni(const char* path) {
    if (CCadSystemSettings* settings = GetCadSystemSettings()) return settings->SaveLocalSettingsIni(path);
    if (!path || !*path) return 0;
    LocalSettingsSetup().WriteHighlightColor(LocalSettingsIniPathFor(path).c_str(), true);
    return 0;
}

namespace {
// The host's start-up links this file through its users; installing here as
// well keeps the INI with the XML in every program that has it.
struct AutoInstall {
    AutoInstall() { InstallLocalSettingsIniHandlers(); }
} g_autoInstall;
}  // namespace
