// The configuration sheet's pages as values: what each page shows (read from
// the running settings when the page is made) and its store step (written
// when the user leaves the page). The page windows only move these values
// between their controls and the structs, so every rule of a page lives here.
#pragma once

#include <windows.h>

#include <string>

// Page 01 "システム環境Ａ".
struct Config01Values {
    bool toolHelp = false;     // 1100: bToolHlp
    bool resetWindows = false;  // 1101: ticked when bWindowSz is 0
    bool numberDialog = false;  // 1102: bDspNumDlgFg
    int colorMode = 0;          // 1204-1206: bColorMode 0, 1, 2
    int background = 0;         // 1401 index: bBkColor
    int rubber = 0;             // 1402 index: iRubberCol - 1
    int highlight = 0;          // 1403 index: iHighlightColor - 1
};
Config01Values ReadConfig01();
void StoreConfig01(const Config01Values& v);

// Page 02 "システム環境Ｂ".
struct Config02Values {
    std::string folder;        // 1300: SysZumenDir
    bool startMenu = false;    // 1103: ticked when iStartOpenDlgFg is 0
    int toolPanelParts = 0;    // 1104-1107: bits 0-3 of ToolPanelDispMode
};
Config02Values ReadConfig02();
// `shownParts`: the parts value the page showed; only a change is stored
// and tells the tool panel (WM_COMMAND 10). True when it told it.
bool StoreConfig02(const Config02Values& v, int shownParts);

// Page 03 "回復".
struct Config03Values {
    bool undo = false;          // 1100
    std::string undoCount;      // 1300
    bool countBackup = false;   // 1101
    std::string countSpan;      // 1301
    bool timeBackup = false;    // 1102
    std::string minutes;        // 1302: nBackupTimeSpanSec / 60
};
Config03Values ReadConfig03();
void StoreConfig03(const Config03Values& v);
// The decimal integer at the start of the first 14 characters; 0 without one.
int ReadLeadingInt(const std::string& text);

// Page 04 "グリッド".
struct Config04Values {
    std::string x, y;  // "%g" of the grid pitch
};
Config04Values ReadConfig04();
void StoreConfig04(const Config04Values& v);

// Page 05 "検出".
struct Config05Values {
    bool databaseOrder = false;  // 1200 (1201 the other): bElmHit
    bool beep = false;           // 1100: bBeepFind
    int snapShow = -1;           // 1204-1206: iSnapShowMode; -1 none ticked
};
Config05Values ReadConfig05();
void StoreConfig05(const Config05Values& v);

// Page 06 "マージン / 用紙枠".
struct Config06Values {
    int paperColor = 0;         // 1400 index: papercolor - 1
    bool marginShown = false;   // 1104: color >= 1
    int marginColor = 0;        // 1402 index: color - 1
    bool lowerLeft = true;      // 1204 (1205 centre): bPaperOrg
    std::string margins[8];     // 1305-1312: top, bottom, left, right, then portrait
};
// Takes the active drawing's origin into bPaperOrg first, as the page shows it.
Config06Values ReadConfig06();
// False when a margin was refused (its message shown, `refused` its index):
// the origin and colours are stored, the margins and the drawing are not.
bool StoreConfig06(const Config06Values& v, HWND owner, int* refused = nullptr);
// With an active drawing: its origin flag set, the drawing marked modified,
// the tool panel's paper shown again and the paper fitted; 0. -1 without one.
int SetActiveDrawingOrigin(int lowerLeft);

// Page 07 "数値表現/誤差".
struct Config07Values {
    int digits = 0;          // 1400 index: iDigit
    bool zeroSuppress = false;  // 1100: bZero
    int epsDigits = -1;      // item data of 1401; -1 nothing chosen
    int angleDigits = -1;    // item data of 1403
};
Config07Values ReadConfig07();
// The text of a tolerance choice: 10^-(n+1) with trailing zeros removed.
std::string ToleranceText(int digits);
void StoreConfig07(const Config07Values& v, HWND owner);

// Page 08 "カーソル".
struct Config08Values {
    int cursor = -1;            // 1200-1202: MOUSE 0, 1, 2; -1 none ticked
    bool apertureShown = false;  // 1100: bCurSorAreaDsp
    bool hand = false;           // 1101: CURSOR02TYPE
};
Config08Values ReadConfig08();
// True when the views were told (UM_CURSOR_SETTINGS).
bool StoreConfig08(const Config08Values& v);
// The cursor-shape store shared with the cursor dialog: MOUSE from the
// radio (0, 1, else 2) and CURSOR02TYPE written to ConfigData.xml when the
// hand box changed it.
void StoreCursorShape(int cursor, bool hand);

// Page 09 "拡張設定".
struct Config09Values {
    bool ignoreSnapMode = false;  // 1100: bCurModeChk
    bool lastPosition = false;    // 1103: bLastPosViewFg
};
Config09Values ReadConfig09();
void StoreConfig09(const Config09Values& v);

// Page 10 "表示".
struct Config10Values {
    bool lineEndsFixed = false;  // 1200 (1201): bTermDrawFg
    bool pointsFixed = false;    // 1204 (1205): bPointSize
    int lineWidth = 0;           // 1207 = 1, 1208 = 2, 1203 = 0
};
Config10Values ReadConfig10();
void StoreConfig10(const Config10Values& v);
