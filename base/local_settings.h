// The per-user settings records, stored in LocalSettings.xml as the elements
// "Setup", "Window", "CadFileBackup" and "StackCmd".
#pragma once

#include <list>
#include <string>

#include "base/serial_records.h"

struct LocalSettingsSetup {
    PaperMarginEx paper_margin;
    DPointEx grid;
    int bToolHlp;
    int bWindowSz;
    int bBkColor;
    int iRubberCol;
    int bLastPosViewFg;
    int bCurModeChk;
    int iUndoCount;
    int bElmHit;
    int bBeepFind;
    int iSnapShowMode;
    long LMsFg;
    int iDigit;
    int bZero;
    int iRMenuFg;
    int bTmpOnece;
    int bErrDown;
    int bDspNumDlgFg;
    int bDispLastPosFg;
    int bGridDspModeExtr;
    int bScTestBtn;
    int iDefPaperType;
    double dDefPaperScale;
    double dDelPaperCx;
    double dDelPaperCy;
    int MsgFg;
    int bPaperOrg;
    int iGridNoDetFlg;
    int iGridCutFg;
    int bTermDrawFg;
    int bCurSorAreaDsp;
    int iDigit_dEpsAngle;
    int iDigit_dEps;
    int bPointSize;
    int bLineWidthSize;
    int bColorMode;
    int lMenuMode;
    double CursorRate;
    int iStartOpenDlgFg;
    std::string SysZumenDir;
    std::string szLayDefPat;
    std::string szDefPaperStr1;
    std::string szDefPaperStr2;
    std::string szDefPaperStr3;
    std::string szDefPaperPtn;
    std::string szLPatRd;
    int iCmdPanelCurrPage[5];
    // Derived, never stored.
    double dEpsAngle;
    double dEps;

    LocalSettingsSetup();
    // {default, minimum, maximum} of the two digit counts.
    static void GetEpsDigitsRange(int* distance, int* angle);
    void UpdateEpsilons(bool reset);
    void Apply();
    void Capture();
    // LocalSettings.ini (base/local_settings_ini.cpp): read into the running
    // values, written back at a per-user save; 0.
    int ReadIni(const char* path);
    int WriteIni(const char* path);
    int WriteHighlightColor(const char* path, bool write);
    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

struct LocalSettingsWindow {
    RectEx Screen;
    int MOUSE;
    int PNL_MAIN;
    int PNL_CMD;
    std::list<std::string> TbarDisp;
    int ToolPanelDispMode;

    LocalSettingsWindow();
    void Apply();
    void Capture();
    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

// The recent-command list, most recent first; the two lists run in parallel.
struct LocalSettingsStackCmd {
    std::list<int> CmdId;
    std::list<std::string> CmdName;

    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

// The stored settings of the backup object (element "CadFileBackup").
struct CadFileBackupSettings {
    int nBackupCountSpan = 3;
    int bCountBakup = 0;
    int bTimeBackup = 0;
    int nBackupTimeSpanSec = 120;
    std::list<std::string> BakupFnames;

    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

bool operator==(const LocalSettingsSetup& a, const LocalSettingsSetup& b);
bool operator==(const LocalSettingsWindow& a, const LocalSettingsWindow& b);
bool operator==(const LocalSettingsStackCmd& a, const LocalSettingsStackCmd& b);
bool operator==(const CadFileBackupSettings& a, const CadFileBackupSettings& b);
