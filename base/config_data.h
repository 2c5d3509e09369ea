// The record of the system-wide settings, stored as element "SYSTEM" of
// ConfigData.xml. One instance lives in the application object for the whole
// run; the UI library keeps its address, so it is never copied or moved.
#pragma once

#include <list>
#include <string>

#include "base/serial_records.h"

enum { CONFIG_FILTER_ENTRIES = 20, CONFIG_BTN_ATTR_ROWS = 20, CONFIG_GESTURE_ITEMS = 10 };

// Folders, file names and file-dialog filters (element "File").
struct ConfigDataFile {
    std::string BACKUPDIR;
    std::string LOGDIR;
    std::string ZUMENDIR;
    std::string WAV;
    std::string AUTOZ;
    int RDONLY;
    std::string HELPFILE;
    std::string OPEN_EXT0_N[CONFIG_FILTER_ENTRIES];
    std::string OPEN_EXT0_E[CONFIG_FILTER_ENTRIES];
    std::string OPEN_EXT0_C[CONFIG_FILTER_ENTRIES];
    std::string OPEN_EXT1_N[CONFIG_FILTER_ENTRIES];
    std::string OPEN_EXT1_E[CONFIG_FILTER_ENTRIES];
    std::string OPEN_EXT1_C[CONFIG_FILTER_ENTRIES];
    std::string OPEN_EXT2_N[CONFIG_FILTER_ENTRIES];
    std::string OPEN_EXT2_E[CONFIG_FILTER_ENTRIES];
    std::string OPEN_EXT2_C[CONFIG_FILTER_ENTRIES];
    std::string SAVE_EXT0_N[CONFIG_FILTER_ENTRIES];
    std::string SAVE_EXT0_E[CONFIG_FILTER_ENTRIES];
    std::string COMMAND;
    std::string MENU;
    std::string RMENU;
    std::string KEY;
    std::string REG;
    std::string TOOLBMP;
    std::string TITLEBMP;

    // Derived at apply, never stored.
    std::string BackupPath;     // resolved backup folder, ending in "\"
    std::string AutoZumenPath;  // resolved drawing opened at start-up
    std::string WavPath;        // resolved sound file
    std::string CommandPath, MenuPath, RMenuPath, KeyPath, RegPath, ToolBmpPath, TitleBmpPath;

    ConfigDataFile();
    void ResolvePaths();
    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

// Window and panel geometry (element "Menu").
struct ConfigDataMenu {
    int TMENU_SIZEX;
    int TMENU_SIZEY;
    int TMENU_BSIZE;
    int TMENU_TMENUDSP;
    int TMENU_TMENULASTPOS;
    int PANEL_RDSP;
    RectEx WIMDOW_RECT;  // spelled so in the file
    RectEx WINDOW_RECT_SIZE;
    long WINDOW_LAYOUTVIEW_WIDTH;
    long WINDOW_LAYOUTVIEW_HEIGHT;
    int FullDragMode;
    int RightMenuMode;
    int AppPanelType;

    ConfigDataMenu();
    void Apply();
    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

// User-interface colours (element "SystemColor").
struct ConfigDataColor {
    int RUBBERCOL;
    int INIT_COLOR;
    ColorRefEx COLOR_SYS_BK;
    ColorRefEx COLOR_PANEL;
    ColorRefEx COLOR_DLG_BK;
    ColorBtnAttrEx COLOR_BTN_ATTR[CONFIG_BTN_ATTR_ROWS];

    ConfigDataColor();
    void Apply();
    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

// The default text attributes block inside the record.
struct ConfigTextAttr {
    double STRINFO_HEIGHT;
    double STRINFO_CHARRATIO;
    double STRINFO_INTERVAL;
    unsigned short STRINFO_COLOR;
};

struct ConfigData {
    ConfigDataFile File;
    ConfigDataMenu Menu;
    ConfigDataColor SystemColor;
    std::string VersionText;  // derived: Version + " Build 942"
    std::string Version;
    std::string USERNAME;
    std::string COMPANY;
    std::string COPYRIGHT;
    std::string TT;
    std::string YESNOMSG;
    int YNCMSG;
    std::string STRINFO_FONTNAME;
    ConfigTextAttr TextAttr;
    int VCFNT;
    std::string SYSTEMFONT;
    std::string ERRFONT;
    std::string DSPDEFFONT;
    std::string GRID_OFF;
    std::string GRID_ON1;
    std::string GRID_ON2;
    int GRIDCOLOR_B;
    int GRIDCOLOR_B5;
    int GRIDCOLOR_W;
    int GRIDCOLOR_W5;
    int POINTSCALEFG;
    int NEWZUMENMODE;
    int DSPSLOW;
    int TPOS;
    int INPUTLAYERLOAD;
    int RMENU_SNAP;
    int TEMPOLDMODE;
    int CURMOVE_FIND;
    int WAKUDSPMODE;
    int CMDFILEOPN_NOZUMEN;
    int ON3D;
    int VIEWSTRSIZE;
    int EXTDIC;
    int bNoLoadErrMsg;
    long RMOUSE;
    int SHARE;
    int CMDLOG;
    int WRITECHK;
    int SAVENAME;
    int DEGIT;
    int WAITTIME;
    int LPOSCOL;
    int RPOSFMT;
    unsigned AUTOCMD;
    int MULTIBOOT;
    int WINSIZE;
    int PAPERLINEDSPOFF;
    int VIEWSCALEFIX;
    int SAFE;
    int LANGUAGE;
    int LAYDLG_INPLAYFG;
    int LAYDLG_GRPOPNFG;
    int CURSOR00TYPE;
    int CURSOR01TYPE;
    int CURSOR02TYPE;
    int WINSHOW_MAXIMIZE;
    int TITLE_PENCOLOR;
    long TITLE_POSX;
    long TITLE_POSY;
    long TITLE_SIZE;
    long TITLE_POSX_2;
    long TITLE_POSY_2;
    long TITLE_SIZE_2;
    int CURMOVE_CTRL;
    int RSTRVIEW;
    int RASTRSPLIT;
    int LOG;
    unsigned TIMESTEP;
    int TYUTEN;
    int MSG_BAR_MODE;
    int PANEL_BUTTON_TYPE;
    int ScrollBarMode;
    double CURSORD;
    int MOUSEMOVECMD[CONFIG_GESTURE_ITEMS];
    std::list<std::string> SCALE;
    int INIT_PARAMETER_00, INIT_PARAMETER_01, INIT_PARAMETER_02, INIT_PARAMETER_03, INIT_PARAMETER_04,
        INIT_PARAMETER_05, INIT_PARAMETER_06, INIT_PARAMETER_07, INIT_PARAMETER_08, INIT_PARAMETER_09;

    // Copies are plain values (a load fills a copy and commits it whole); the
    // live instance itself stays in the application object.
    ConfigData();

    // Puts every member back to the constructor's defaults (tests, reset).
    void SetDefaults();
    int Apply();
    template <class Ar>
    void serialize(Ar& ar, unsigned);
};

// The build number that follows the version in the version text.
extern const char kBuildText[];
