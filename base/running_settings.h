// The running values of the settings: what the views, panels, dialogs, the
// log and the command system read during a run. They are filled from the
// settings records at start-up and copied back before the per-user save.
// Text values are fixed buffers; a longer setting is cut on a character
// boundary, never written past its buffer.
#pragma once

#include <windows.h>

#include "base/serial_records.h"

struct RunningTextAttr {
    char fontName[32];
    double height;
    double charRatio;
    double interval;
    unsigned short color;
};

struct RunningSettings {
    // From ConfigData.
    char versionText[257];
    char TT[257];  // AppTitleText
    char USERNAME[200];
    char COMPANY[200];
    char COPYRIGHT[260];
    char YESNOMSG[30];
    char SYSTEMFONT[50];
    char ERRFONT[64];
    char DSPDEFFONT[31];
    char GRID_OFF[20];
    char GRID_ON1[20];
    char GRID_ON2[20];
    int GRIDCOLOR_B, GRIDCOLOR_B5, GRIDCOLOR_W, GRIDCOLOR_W5;
    int POINTSCALEFG, NEWZUMENMODE, DSPSLOW, TPOS, INPUTLAYERLOAD, RMENU_SNAP, TEMPOLDMODE;
    int CURMOVE_CTRL, CURMOVE_FIND, WAKUDSPMODE, CMDFILEOPN_NOZUMEN, ON3D, RSTRVIEW, YNCMSG;
    int VIEWSTRSIZE, EXTDIC, bNoLoadErrMsg, RASTRSPLIT, SHARE;
    long RMOUSE;
    int LOG, CMDLOG, VCFNT, WRITECHK, SAVENAME, DEGIT, WAITTIME, LPOSCOL, RPOSFMT;
    int MULTIBOOT, WINSIZE, PAPERLINEDSPOFF;
    unsigned TIMESTEP;
    int VIEWSCALEFIX, SAFE, TYUTEN;
    double CURSORD;
    int LANGUAGE, LAYDLG_INPLAYFG, LAYDLG_GRPOPNFG, CURSOR00TYPE, CURSOR01TYPE, CURSOR02TYPE;
    int WINSHOW_MAXIMIZE, MSG_BAR_MODE;
    int toolPanelButtonType;  // PANEL_BUTTON_TYPE, for the tool panel
    int appPanelItemType;     // PANEL_BUTTON_TYPE, for the application panel
    long TITLE_POSX, TITLE_POSY, TITLE_SIZE, TITLE_POSX_2, TITLE_POSY_2, TITLE_SIZE_2;
    int TITLE_PENCOLOR;
    RunningTextAttr defaultTextAttr;  // taken over by each new drawing window
    int gestureCommands[2][4];        // [0] plain, [1] with Ctrl
    int initParameters[10];           // of each new drawing database

    // From ConfigDataFile.
    char helpFile[257];
    char autoZumenPath[260];
    char backupDir[257];
    char zumenDir[257];  // ZUMENDIR, replaced by the per-user SysZumenDir
    char wavPath[260];
    char logDir[257];
    char openFilters[3][512];
    char saveFilters[260];
    int RDONLY;

    // From ConfigDataMenu.
    int TMENU_SIZEX, TMENU_SIZEY, TMENU_BSIZE, TMENU_TMENUDSP, TMENU_TMENULASTPOS, PANEL_RDSP;
    RectEx mainWindowRect;
    long layoutViewWidth, layoutViewHeight;
    int FullDragMode;

    // From ConfigDataColor.
    COLORREF penColors[257];
    int rubberColor;  // RUBBERCOL, replaced by the per-user iRubberCol
    COLORREF colorSysBk, colorPanel, colorDlgBk;
    COLORREF btnText[20];   // rows 2, 7, 8, 9 are applied (index = row - 1)
    COLORREF btnBkgnd[20];  // rows 2, 5, 6, 7, 8, 9 are applied

    // From LocalSettingsSetup.
    PaperMarginEx paperMargin;
    DPointEx grid;
    int bToolHlp, bWindowSz, backgroundMode, bLastPosViewFg, bCurModeChk, iUndoCount;
    int bElmHit, bBeepFind, iSnapShowMode, iDigit, bZero, iRMenuFg, bTmpOnece, bErrDown;
    int bDspNumDlgFg, bDispLastPosFg, bGridDspModeExtr, bScTestBtn, iDefPaperType;
    double dDefPaperScale, dDelPaperCx, dDelPaperCy;
    int MsgFg, bPaperOrg, iGridNoDetFlg, iGridCutFg, bTermDrawFg, bCurSorAreaDsp;
    int bPointSize, bLineWidthSize, bColorMode, iStartOpenDlgFg;
    char szLayDefPat[256];
    char szDefPaperStr1[256];
    char szDefPaperStr2[256];
    char szDefPaperStr3[256];
    char szDefPaperPtn[256];
    char szLPatRd[256];
    long snapModeFlags;  // SnapModeFlags
    double dEps;         // running distance tolerance
    double dEpsAngle;    // running angle tolerance
    double keyCursorStep;

    // From LocalSettingsWindow.
    int mouseMode;
    int toolPanelDispMode;  // ToolPanelDispMode: the tool panel's blocks

    // Set by the backup object when a start found the crash flag.
    int recoveryMode;

    // Set at start-up from LocalSettings.ini; read when the snap buttons are
    // brought into line.
    int iLockBtnSnapNINNITEN;
};

RunningSettings& Running();

// Line-end types offered by the line-end selectors (entries 1-15 on).
extern int LineEndEnableTable[16];
