#include "base/config_data.h"

#include "base/running_settings.h"

const char kBuildText[] = "Build 942";

namespace {

const char kCopyrightText[] = "Copyright (C) Qv Corporation. All rights reserved.";

void SetFilters(std::string (&names)[CONFIG_FILTER_ENTRIES], std::string (&patterns)[CONFIG_FILTER_ENTRIES],
                const char* const (*rows)[2], size_t count) {
    for (size_t i = 0; i < CONFIG_FILTER_ENTRIES; ++i) {
        names[i] = i < count ? rows[i][0] : "";
        patterns[i] = i < count ? rows[i][1] : "";
    }
}

const char* const kOpenFilters[][2] = {
    {"図面ファイル", "*.tcf;*.DXF;*.JWC;*.DWG;*.SFC;*.P21;*.JWW;*.PDF"},
    {"sfc / p21", "*.SFC;*.P21"},
    {"DWG", "*.DWG"},
    {"DXF", "*.DXF"},
    {"JWC", "*.JWC"},
    {"JWW", "*.JWW"},
    {"PDF", "*.PDF"},
    {"すべてのファイル", "*.*"},
};
const char* const kDwgFilters[][2] = {{"図面ファイル", "*.DWG"}, {"DWG", "*.DWG"}};
const char* const kSaveFilters[][2] = {
    {"Vantrel for Windows V1(*.tcf)", "*.tcf"},
    {"DWGﾌｧｲﾙ(*.DWG)", "*.DWG"},
    {"DXFﾌｧｲﾙ(*.DXF)", "*.DXF"},
};

}  // namespace

ConfigDataFile::ConfigDataFile()
    : BACKUPDIR("TEMP"),
      RDONLY(0),
      COMMAND("com.ini"),
      MENU("menubar.ini"),
      RMENU("rightmenu.ini"),
      KEY("keyboard.ini"),
      REG("REG.INI"),
      TOOLBMP("toolbar.bmp"),
      TITLEBMP("start.bmp") {
    SetFilters(OPEN_EXT0_N, OPEN_EXT0_E, kOpenFilters, 8);
    SetFilters(OPEN_EXT1_N, OPEN_EXT1_E, kOpenFilters, 7);
    SetFilters(OPEN_EXT2_N, OPEN_EXT2_E, kDwgFilters, 2);
    SetFilters(SAVE_EXT0_N, SAVE_EXT0_E, kSaveFilters, 3);
}

ConfigDataMenu::ConfigDataMenu()
    : TMENU_SIZEX(20),
      TMENU_SIZEY(20),
      TMENU_BSIZE(35),
      TMENU_TMENUDSP(1),
      TMENU_TMENULASTPOS(0),
      PANEL_RDSP(0),
      WIMDOW_RECT{0, 0, 0, 0},
      WINDOW_RECT_SIZE{0, 0, 0, 0},
      WINDOW_LAYOUTVIEW_WIDTH(300),
      WINDOW_LAYOUTVIEW_HEIGHT(270),
      FullDragMode(0),
      RightMenuMode(1),
      AppPanelType(1) {}

ConfigDataColor::ConfigDataColor()
    : RUBBERCOL(3), INIT_COLOR(4), COLOR_SYS_BK("#C0C0C0"), COLOR_PANEL("#FFFFB5"), COLOR_DLG_BK("#FFFFB5") {
    static const char* const rows[9][3] = {
        {"#FFFFFF", "#6464FF", "#808080"},      {"#FFFFFF", "#F46358", "#808080"},
        {"#000000", "#FFFF00", "#808080"},      {"#000000", "COLOR_3DFACE", "#808080"},
        {"#000000", "COLOR_3DFACE", "#000000"}, {"#000000", "#FF0000", "#000000"},
        {"#000000", "#F2F7B7", "#000000"},      {"#000000", "#FFD877", "#000000"},
        {"#000000", "#F2F7B7", "#000000"},
    };
    for (int i = 0; i < 9; ++i)
        COLOR_BTN_ATTR[i] = ColorBtnAttrEx(rows[i][0], rows[i][1], rows[i][2]);
}

ConfigData::ConfigData() {
    SetDefaults();
    // The line-end selectors offer types 1-15 by default; the 16th stays off.
    for (int i = 0; i < 15; ++i)
        LineEndEnableTable[i] = 1;
}

void ConfigData::SetDefaults() {
    File = ConfigDataFile();
    Menu = ConfigDataMenu();
    SystemColor = ConfigDataColor();
    VersionText.clear();
    Version = "0.xx";
    DSPDEFFONT = "ＭＳ ゴシック";
    TT = "??";
    YESNOMSG.clear();
    USERNAME = "?????";
    COMPANY.clear();
    SYSTEMFONT = "ＭＳ ゴシック";
    ERRFONT = "ＭＳ ゴシック";
    COPYRIGHT = kCopyrightText;
    GRID_OFF = "ｸﾞﾘｯﾄﾞ";
    GRID_ON1 = "ｸﾞﾘ/表";
    GRID_ON2 = "ｸﾞﾘ/検";
    GRIDCOLOR_B = 7;
    GRIDCOLOR_B5 = 1;
    GRIDCOLOR_W = 1;
    GRIDCOLOR_W5 = 9;
    POINTSCALEFG = 0;
    NEWZUMENMODE = 0;
    DSPSLOW = 0;
    TPOS = 0;
    INPUTLAYERLOAD = 1;
    RMENU_SNAP = 0;
    TEMPOLDMODE = 0;
    CURMOVE_CTRL = 1;
    CURMOVE_FIND = 0;
    WAKUDSPMODE = 0;
    CMDFILEOPN_NOZUMEN = 0;
    ON3D = 0;
    RSTRVIEW = 1;
    YNCMSG = 0;
    VIEWSTRSIZE = 2;
    EXTDIC = 0;
    bNoLoadErrMsg = 0;
    RASTRSPLIT = 20;
    SHARE = 1;
    RMOUSE = 1;
    LOG = 0;
    CMDLOG = 0;
    VCFNT = 0;
    WRITECHK = 1;
    SAVENAME = 0;
    DEGIT = 4;
    WAITTIME = -2000;
    LPOSCOL = 7;
    RPOSFMT = 1;
    AUTOCMD = 0;
    MULTIBOOT = 1;
    WINSIZE = 0;
    PAPERLINEDSPOFF = 0;
    TIMESTEP = 170;
    VIEWSCALEFIX = 0;
    SAFE = 1;
    TYUTEN = 1;
    CURSORD = 600.0;
    LANGUAGE = 0;
    LAYDLG_INPLAYFG = 0;
    LAYDLG_GRPOPNFG = 1;
    CURSOR00TYPE = 1;
    CURSOR01TYPE = 0;
    CURSOR02TYPE = 1;
    WINSHOW_MAXIMIZE = 0;
    MSG_BAR_MODE = 0;
    PANEL_BUTTON_TYPE = 0;
    ScrollBarMode = 1;
    TITLE_POSX = 144;
    TITLE_POSY = 102;
    TITLE_SIZE = 10;
    TITLE_POSX_2 = 144;
    TITLE_POSY_2 = 142;
    TITLE_SIZE_2 = 10;
    TITLE_PENCOLOR = 0;
    STRINFO_FONTNAME = "ＭＳ ゴシック";
    TextAttr.STRINFO_HEIGHT = 3.0;
    TextAttr.STRINFO_CHARRATIO = 1.0;
    TextAttr.STRINFO_INTERVAL = 0.0;
    TextAttr.STRINFO_COLOR = 7;
    static const int gestures[CONFIG_GESTURE_ITEMS] = {1204, 1210, 1333, 0, 1004, 1005, 1005, 1004, 0, 0};
    for (int i = 0; i < CONFIG_GESTURE_ITEMS; ++i)
        MOUSEMOVECMD[i] = gestures[i];
    INIT_PARAMETER_00 = INIT_PARAMETER_01 = INIT_PARAMETER_02 = INIT_PARAMETER_03 = 0;
    INIT_PARAMETER_04 = INIT_PARAMETER_05 = INIT_PARAMETER_06 = INIT_PARAMETER_07 = 0;
    INIT_PARAMETER_08 = INIT_PARAMETER_09 = 0;
    SCALE.clear();
}
