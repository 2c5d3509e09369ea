// LocalSettings.ini: integer keys of the sections "Mouse" and "System" of the
// user's settings folder, read into running values at start-up and partly
// written back at shutdown (LocalSettingsSetup::ReadIni / WriteIni).
#pragma once

struct LocalSettingsIniValues {
    int iMouseWheelZoomType = 0;
    int iDispDrawMode = 1;
    int iDrawColorMode = 0;
    int iDrawColor = 4;
    int iHighlightColor = 2;
    int iEpsMode = -1;
    int iBackupStock = 1;
    int nBackupStockNum = 5;
    int nLogKeepDays = 7;
    int iSnap2TenkanMode = 1;
    int iCursorFindArea = 8;
    int iElementCheckMode = 1;
    int iVectFontWidth = 1;
    int iLockBtnSnapNINNITEN = 0;
    int iPanelCaption = 3;
    int iLockPanelSliding = 0;
    int iCmdPanelTypeLowResoH = 0;
    int iCmdPanelTypeLowResoW = 0;
    int iCmdPanelFloatingMode = 0;
    int iCmdPanelTypeSelBtn = 1;
    int iDispDrawLevel = 1;
};

// The running values of the INI keys.
LocalSettingsIniValues& LocalIni();

// Where values read from the INI go at once. The CAD library's functions are
// found in the loaded WmCadApiDb.dll; the pick aperture goes to the command
// system, which installs its setter (values outside 1..998 it ignores).
struct LocalSettingsIniNeighbours {
    void (*SetCursorFindArea)(int area);
};
LocalSettingsIniNeighbours& LocalIniNeighbours();

// Connects the INI reader and writer to the per-user load and save of
// LocalSettings.xml. Called once at start-up (idempotent).
void InstallLocalSettingsIniHandlers();

// Writes "iHighlightColor" into the given INI, or the per-user
// LocalSettings.ini; a path whose extension is not ".ini" gets ".ini".
int SaveLocalSettingsIni(const char* path);
