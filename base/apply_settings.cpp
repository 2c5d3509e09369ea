#include "base/apply_settings.h"

#include <shlwapi.h>

#include <cstring>
#include <vector>

#include "base/api_decl.h"
#include "base/data_folders.h"
#include "base/dbcs.h"
#include "base/file_utils.h"
#include "base/library_lookup.h"
#include "base/settings_files.h"
#include "base/settings_message.h"
#include "base/text_utils.h"
#include "base/user_folder.h"

namespace {

// --- Defaults of the neighbours: keep the values where the system reads them.

int KeepKeyCursorStep(double step) {
    Running().keyCursorStep = step;
    return 1;
}
double ReadKeyCursorStep() { return Running().keyCursorStep; }

void KeepSnapButtons() {
    RunningSettings& r = Running();
    if (r.iLockBtnSnapNINNITEN) r.snapModeFlags |= 0x08;
    if (r.snapModeFlags & 1) r.snapModeFlags = (r.snapModeFlags & ~1L) | 0x60;
}

int KeepGestureCommand(int table, int entry, int command) {
    const int value = command >= 1000 && command <= 1339 ? command : 0;
    if (table >= 1 && table <= 2 && entry >= 0 && entry <= 3) Running().gestureCommands[table - 1][entry] = value;
    return value;
}

int NoMenuBuffer() { return 1; }

int ProbeMenuFile(const char* path) {
    HANDLE h = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return 0;
    CloseHandle(h);
    return 1;
}

void NoBackupInit(const CadFileBackupSettings&) {}

// The CAD library's 16 basic pen colours, for when it is not there.
void PenColorsFromLibrary(COLORREF* table) {
    using StyleGetFn = int(ZAVAPI*)(void*, void*, void*);
    enum { kStyleCount = 257, kStyleSize = 269 };
    auto fn = reinterpret_cast<StyleGetFn>(LoadedLibraryFunction("WmCadApiDb.dll", "DariStyleGet"));
    if (fn) {
        std::vector<unsigned char> styles(kStyleCount * kStyleSize);
        fn(styles.data(), nullptr, nullptr);
        for (int i = 0; i < kStyleCount; ++i) {
            const unsigned char* s = &styles[i * kStyleSize];
            table[i] = (static_cast<COLORREF>(s[265]) << 16) | (static_cast<COLORREF>(s[261]) << 8) | s[257];
        }
        return;
    }
    static const COLORREF basic[16] = {RGB(0, 0, 0),       RGB(0, 0, 255),   RGB(255, 0, 0),   RGB(255, 0, 255),
                                       RGB(0, 255, 0),     RGB(0, 255, 255), RGB(255, 255, 0), RGB(255, 255, 255),
                                       RGB(128, 128, 128), RGB(0, 0, 128),   RGB(128, 0, 0),   RGB(128, 0, 128),
                                       RGB(0, 128, 0),     RGB(0, 128, 128), RGB(128, 128, 0), RGB(192, 192, 192)};
    for (int i = 0; i < 257; ++i)
        table[i] = basic[i % 16];
}

void ConfigDataPtrToLibrary(ConfigData* data) {
    using SetPtrFn = void(ZAVAPI*)(void*);
    auto fn = reinterpret_cast<SetPtrFn>(LoadedLibraryFunction("WmCadApi.dll", "Rodad_SetTheConfigDataPtr"));
    if (fn) fn(data);
}

void NoSystemLog(int, const char*, const char*) {}

void KeepTolerances(double, double) {}  // Running().dEps and dEpsAngle hold them

SettingsNeighbours g_neighbours = DefaultSettingsNeighbours();

// --- Helpers.

template <size_t N>
void Put(char (&dst)[N], const std::string& src) {
    DbcsCopy(dst, N, src.c_str());
}

bool IsAbsolutePath(const std::string& p) { return (!p.empty() && p[0] == '\\') || (p.size() > 1 && p[1] == ':'); }

std::string Combine(const std::string& base, const std::string& name) {
    if (IsAbsolutePath(name)) return name;
    std::string out = base;
    if (!out.empty() && !(out.back() == '\\' && !IsDbcsTrailAt(out, out.size() - 1))) out += '\\';
    return out + name;
}

// Exactly one trailing "\".
std::string WithOneSeparator(std::string path) {
    while (!path.empty() && path.back() == '\\' && !IsDbcsTrailAt(path, path.size() - 1))
        path.pop_back();
    return path + "\\";
}

void ShowTempCheckError(const char* text) { ShowSettingsMessage(nullptr, text, "テンポラリチェックエラー", MB_OK); }

}  // namespace

SettingsNeighbours DefaultSettingsNeighbours() {
    return SettingsNeighbours{KeepKeyCursorStep,      ReadKeyCursorStep, KeepSnapButtons, KeepGestureCommand,
                              NoMenuBuffer,           ProbeMenuFile,     NoBackupInit,    PenColorsFromLibrary,
                              ConfigDataPtrToLibrary, NoSystemLog,       KeepTolerances};
}

SettingsNeighbours& Neighbours() { return g_neighbours; }

void InitCadFileBackup(const CadFileBackupSettings& settings) { g_neighbours.InitCadFileBackup(settings); }

COLORREF GetDrawBackColor() {
    const RunningSettings& r = Running();
    if (r.backgroundMode == 0) return RGB(0, 0, 0);
    if (r.backgroundMode == 1) return RGB(255, 255, 255);
    return r.colorSysBk;
}

size_t BuildFilterList(char* out, size_t size, const std::string* names, const std::string* patterns) {
    if (size == 0) return 0;
    std::memset(out, 0, size);
    size_t used = 0;
    for (int i = 0; i < CONFIG_FILTER_ENTRIES; ++i) {
        if (names[i].empty()) break;
        const size_t need = names[i].size() + 1 + patterns[i].size() + 1;
        // Keep room for the final zero; an entry that does not fit ends the list.
        if (used + need + 1 > size) break;
        std::memcpy(out + used, names[i].c_str(), names[i].size() + 1);
        used += names[i].size() + 1;
        std::memcpy(out + used, patterns[i].c_str(), patterns[i].size() + 1);
        used += patterns[i].size() + 1;
    }
    return used + 1;
}

void ConfigDataFile::ResolvePaths() {
    RunningSettings& r = Running();
    const std::string exeDir = GetExeDir();

    BackupPath = WithOneSeparator(ExpandPathMacros(BACKUPDIR, true));
    LOGDIR = WithOneSeparator(ExpandPathMacros(LOGDIR.empty() ? std::string("LOG") : LOGDIR, true));
    if (!HELPFILE.empty()) HELPFILE = Combine(exeDir, HELPFILE);
    // Cleared first, so that a reload without AUTOZ leaves no drawing of an
    // earlier setting behind.
    AutoZumenPath.clear();
    if (!AUTOZ.empty()) AutoZumenPath = IsAbsolutePath(AUTOZ) ? AUTOZ : Combine(ZUMENDIR, AUTOZ);
    r.wavPath[0] = 0;
    WavPath.clear();
    if (!WAV.empty()) WavPath = Combine(exeDir, WAV);
    if (RDONLY == 0) CreateDirectoryTree(BackupPath);

    // The backup folder must be writable; start-up goes on either way.
    const std::string probe = BackupPath + "tmp$bootchk.tmp";
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        ShowTempCheckError(
            "テンポラリファイルが書き込みできない場所にインストールされています。\n"
            "本システムはインストール先のフォルダおよびAppDataフォルダ内にバックアップファイル／設定ファイルの情報等を"
            "書き込み為、\n"
            "インストール先およびAppDataフォルダ内に書き込み権限が必要になります。");
    } else {
        CloseHandle(h);
        if (!DeleteFileA(probe.c_str()))
            ShowTempCheckError(
                "テンポラリファイルが書き込みできない場所にインストールされています(2)。\n"
                "本システムはインストール先のフォルダおよびAppDataフォルダ内にバックアップファイル／設定ファイルの情報"
                "等を書き込む為、\n"
                "インストール先およびAppDataフォルダ内に書き込み権限が必要になります。");
    }

    Put(r.helpFile, HELPFILE);
    Put(r.autoZumenPath, AutoZumenPath);
    Put(r.backupDir, BackupPath);
    Put(r.zumenDir, ZUMENDIR);
    Put(r.wavPath, WavPath);
    Put(r.logDir, LOGDIR);

    GetDataFolderPath(7, CommandPath, COMMAND.c_str(), true);
    GetDataFolderPath(7, MenuPath, MENU.c_str(), true);
    GetDataFolderPath(7, RMenuPath, RMENU.c_str(), true);
    GetDataFolderPath(7, KeyPath, KEY.c_str(), true);
    GetDataFolderPath(7, RegPath, REG.c_str(), true);
    GetDataFolderPath(7, ToolBmpPath, TOOLBMP.c_str(), true);
    GetDataFolderPath(7, TitleBmpPath, TITLEBMP.c_str(), true);

    BuildFilterList(r.openFilters[0], sizeof r.openFilters[0], OPEN_EXT0_N, OPEN_EXT0_E);
    BuildFilterList(r.openFilters[1], sizeof r.openFilters[1], OPEN_EXT1_N, OPEN_EXT1_E);
    BuildFilterList(r.openFilters[2], sizeof r.openFilters[2], OPEN_EXT2_N, OPEN_EXT2_E);
    BuildFilterList(r.saveFilters, sizeof r.saveFilters, SAVE_EXT0_N, SAVE_EXT0_E);
    r.RDONLY = RDONLY;
}

void ConfigDataMenu::Apply() {
    RunningSettings& r = Running();
    const long cx = GetSystemMetrics(SM_CXSCREEN);
    const long cy = GetSystemMetrics(SM_CYSCREEN);
    bool whole = true;
    if (WIMDOW_RECT.right == cx && WIMDOW_RECT.bottom == cy) {
        // The stored size was made for this screen: take it, pulled back onto it.
        WIMDOW_RECT = WINDOW_RECT_SIZE;
        long& x = WIMDOW_RECT.left;
        long& y = WIMDOW_RECT.top;
        long& width = WIMDOW_RECT.right;
        long& height = WIMDOW_RECT.bottom;
        if (y > cy - 10) y = 0;
        if (x > cx - 10) x = 0;
        if (y < -5) height = 0;
        if (y < 1) y = 0;
        if (x < 1) x = 0;
        if (height < 100) height = 100;
        whole = width < 100;
    }
    if (whole) WIMDOW_RECT = RectEx{0, 0, cx - 2, cy - 2};

    r.TMENU_SIZEX = TMENU_SIZEX;
    r.TMENU_SIZEY = TMENU_SIZEY;
    r.TMENU_BSIZE = TMENU_BSIZE;
    r.TMENU_TMENUDSP = TMENU_TMENUDSP;
    r.TMENU_TMENULASTPOS = TMENU_TMENULASTPOS;
    r.PANEL_RDSP = PANEL_RDSP;
    r.mainWindowRect = WIMDOW_RECT;
    r.layoutViewWidth = WINDOW_LAYOUTVIEW_WIDTH;
    r.layoutViewHeight = WINDOW_LAYOUTVIEW_HEIGHT;
    r.FullDragMode = FullDragMode;
}

void ConfigDataColor::Apply() {
    RunningSettings& r = Running();
    g_neighbours.GetPenColors(r.penColors);
    r.rubberColor = RUBBERCOL < 1 || RUBBERCOL > 15 ? 3 : RUBBERCOL;
    COLOR_SYS_BK.Update();
    COLOR_PANEL.Update();
    COLOR_DLG_BK.Update();
    r.colorSysBk = COLOR_SYS_BK.color;
    r.colorPanel = COLOR_PANEL.color;
    r.colorDlgBk = COLOR_DLG_BK.color;
    for (int row : {2, 7, 8, 9}) {
        r.btnText[row - 1] = COLOR_BTN_ATTR[row - 1].text;
        r.btnBkgnd[row - 1] = COLOR_BTN_ATTR[row - 1].bkgnd;
    }
    for (int row : {5, 6})
        r.btnBkgnd[row - 1] = COLOR_BTN_ATTR[row - 1].bkgnd;
}

int ConfigData::Apply() {
    RunningSettings& r = Running();
    if (SCALE.empty()) {
        static const char* const kScales[] = {"1",     "1/2",   "1/3",   "1/5",   "1/10",  "1/20",  "1/35",  "1/50",
                                              "1/100", "1/150", "1/200", "1/250", "1/300", "1/350", "1/500", "1/1000"};
        for (const char* s : kScales)
            SCALE.push_back(s);
    }
    File.ResolvePaths();
    Menu.Apply();
    SystemColor.Apply();
    g_neighbours.SetKeyCursorStep(CURSORD);
    g_neighbours.SyncSnapButtons();
    VersionText = Version + " " + kBuildText;

    Put(r.defaultTextAttr.fontName, STRINFO_FONTNAME);
    r.defaultTextAttr.height = TextAttr.STRINFO_HEIGHT;
    r.defaultTextAttr.charRatio = TextAttr.STRINFO_CHARRATIO;
    r.defaultTextAttr.interval = TextAttr.STRINFO_INTERVAL;
    r.defaultTextAttr.color = TextAttr.STRINFO_COLOR;

    Put(r.versionText, VersionText);
    Put(r.USERNAME, USERNAME);
    Put(r.COMPANY, COMPANY);
    Put(r.COPYRIGHT, COPYRIGHT);
    Put(r.TT, TT);
    Put(r.YESNOMSG, YESNOMSG);
    Put(r.SYSTEMFONT, SYSTEMFONT);
    Put(r.ERRFONT, ERRFONT);
    Put(r.DSPDEFFONT, DSPDEFFONT);
    Put(r.GRID_OFF, GRID_OFF);
    Put(r.GRID_ON1, GRID_ON1);
    Put(r.GRID_ON2, GRID_ON2);

    r.GRIDCOLOR_B = GRIDCOLOR_B;
    r.GRIDCOLOR_B5 = GRIDCOLOR_B5;
    r.GRIDCOLOR_W = GRIDCOLOR_W;
    r.GRIDCOLOR_W5 = GRIDCOLOR_W5;
    r.POINTSCALEFG = POINTSCALEFG;
    r.NEWZUMENMODE = NEWZUMENMODE;
    r.DSPSLOW = DSPSLOW;
    r.TPOS = TPOS;
    r.INPUTLAYERLOAD = INPUTLAYERLOAD;
    r.RMENU_SNAP = RMENU_SNAP;
    r.TEMPOLDMODE = TEMPOLDMODE;
    r.CURMOVE_CTRL = CURMOVE_CTRL;
    r.CURMOVE_FIND = CURMOVE_FIND;
    r.WAKUDSPMODE = WAKUDSPMODE;
    r.CMDFILEOPN_NOZUMEN = CMDFILEOPN_NOZUMEN;
    r.ON3D = ON3D;
    r.RSTRVIEW = RSTRVIEW;
    r.YNCMSG = YNCMSG;
    r.VIEWSTRSIZE = VIEWSTRSIZE;
    r.EXTDIC = EXTDIC;
    r.bNoLoadErrMsg = bNoLoadErrMsg;
    r.RASTRSPLIT = RASTRSPLIT;
    r.SHARE = SHARE;
    r.RMOUSE = RMOUSE;
    r.LOG = LOG;
    r.CMDLOG = CMDLOG;
    r.VCFNT = VCFNT;
    r.WRITECHK = WRITECHK;
    r.SAVENAME = SAVENAME;
    r.DEGIT = DEGIT;
    r.WAITTIME = WAITTIME;
    r.LPOSCOL = LPOSCOL;
    r.RPOSFMT = RPOSFMT;
    r.MULTIBOOT = MULTIBOOT;
    r.WINSIZE = WINSIZE;
    r.PAPERLINEDSPOFF = PAPERLINEDSPOFF;
    r.TIMESTEP = TIMESTEP;
    r.VIEWSCALEFIX = VIEWSCALEFIX;
    r.SAFE = SAFE;
    r.TYUTEN = TYUTEN;
    r.CURSORD = CURSORD;
    r.LANGUAGE = LANGUAGE;
    r.LAYDLG_INPLAYFG = LAYDLG_INPLAYFG;
    r.LAYDLG_GRPOPNFG = LAYDLG_GRPOPNFG;
    r.CURSOR00TYPE = CURSOR00TYPE;
    r.CURSOR01TYPE = CURSOR01TYPE;
    r.CURSOR02TYPE = CURSOR02TYPE;
    r.WINSHOW_MAXIMIZE = WINSHOW_MAXIMIZE;
    r.MSG_BAR_MODE = MSG_BAR_MODE;
    r.toolPanelButtonType = PANEL_BUTTON_TYPE;
    r.appPanelItemType = PANEL_BUTTON_TYPE;
    r.TITLE_POSX = TITLE_POSX;
    r.TITLE_POSY = TITLE_POSY;
    r.TITLE_SIZE = TITLE_SIZE;
    r.TITLE_POSX_2 = TITLE_POSX_2;
    r.TITLE_POSY_2 = TITLE_POSY_2;
    r.TITLE_SIZE_2 = TITLE_SIZE_2;
    r.TITLE_PENCOLOR = TITLE_PENCOLOR;

    for (int i = 0; i < 4; ++i) {
        g_neighbours.SetGestureCommand(1, i, MOUSEMOVECMD[i]);
        g_neighbours.SetGestureCommand(2, i, MOUSEMOVECMD[4 + i]);
    }
    const int params[10] = {INIT_PARAMETER_00, INIT_PARAMETER_01, INIT_PARAMETER_02, INIT_PARAMETER_03,
                            INIT_PARAMETER_04, INIT_PARAMETER_05, INIT_PARAMETER_06, INIT_PARAMETER_07,
                            INIT_PARAMETER_08, INIT_PARAMETER_09};
    std::memcpy(r.initParameters, params, sizeof params);
    return 1;
}

void LocalSettingsSetup::Apply() {
    RunningSettings& r = Running();
    r.paperMargin = paper_margin;
    r.grid = grid;
    r.bToolHlp = bToolHlp;
    r.bWindowSz = bWindowSz;
    r.backgroundMode = bBkColor;
    r.rubberColor = iRubberCol;  // the user's choice wins over RUBBERCOL
    r.bLastPosViewFg = bLastPosViewFg;
    r.bCurModeChk = bCurModeChk;
    r.iUndoCount = iUndoCount;
    r.bElmHit = bElmHit;
    r.bBeepFind = bBeepFind;
    r.iSnapShowMode = iSnapShowMode;
    r.snapModeFlags = LMsFg;
    r.iDigit = iDigit;
    r.bZero = bZero;
    r.iRMenuFg = iRMenuFg;
    r.bTmpOnece = bTmpOnece;
    r.bErrDown = bErrDown;
    r.bDspNumDlgFg = bDspNumDlgFg;
    r.bDispLastPosFg = bDispLastPosFg;
    r.bGridDspModeExtr = bGridDspModeExtr;
    r.bScTestBtn = bScTestBtn;
    r.iDefPaperType = iDefPaperType;
    r.dDefPaperScale = dDefPaperScale;
    r.dDelPaperCx = dDelPaperCx;
    r.dDelPaperCy = dDelPaperCy;
    r.MsgFg = MsgFg;
    r.bPaperOrg = bPaperOrg;
    r.iGridNoDetFlg = iGridNoDetFlg;
    r.iGridCutFg = iGridCutFg;
    r.bTermDrawFg = bTermDrawFg;
    r.bCurSorAreaDsp = bCurSorAreaDsp;
    r.bPointSize = bPointSize;
    r.bLineWidthSize = bLineWidthSize;
    r.bColorMode = bColorMode;
    g_neighbours.SetKeyCursorStep(CursorRate);  // the user's step wins over CURSORD
    r.iStartOpenDlgFg = iStartOpenDlgFg;
    Put(r.zumenDir, SysZumenDir);  // the user's folder wins over ZUMENDIR
    Put(r.szLayDefPat, szLayDefPat);
    Put(r.szDefPaperStr1, szDefPaperStr1);
    Put(r.szDefPaperStr2, szDefPaperStr2);
    Put(r.szDefPaperStr3, szDefPaperStr3);
    Put(r.szDefPaperPtn, szDefPaperPtn);
    Put(r.szLPatRd, szLPatRd);

    UpdateEpsilons(false);
    r.dEpsAngle = dEpsAngle;
    r.dEps = dEps;
    g_neighbours.SetTolerances(dEps, dEpsAngle);
    if (LMsFg & 1) r.snapModeFlags = (r.snapModeFlags & ~1L) | 0x60;
    g_neighbours.SyncSnapButtons();
    if (r.iGridCutFg == 0) r.iGridNoDetFlg = 0;
    r.iRMenuFg = 1;
    if (r.TMENU_TMENULASTPOS == 0) lMenuMode = 0;
}

void LocalSettingsSetup::Capture() {
    const RunningSettings& r = Running();
    paper_margin = r.paperMargin;
    grid.x = r.grid.x;  // z stays as stored
    grid.y = r.grid.y;
    bToolHlp = r.bToolHlp;
    bWindowSz = r.bWindowSz;
    bBkColor = r.backgroundMode;
    iRubberCol = r.rubberColor;
    bLastPosViewFg = r.bLastPosViewFg;
    bCurModeChk = r.bCurModeChk;
    iUndoCount = r.iUndoCount;
    bElmHit = r.bElmHit;
    bBeepFind = r.bBeepFind;
    iSnapShowMode = r.iSnapShowMode;
    LMsFg = r.snapModeFlags;
    iDigit = r.iDigit;
    bZero = r.bZero;
    iRMenuFg = r.iRMenuFg;
    bTmpOnece = r.bTmpOnece;
    bErrDown = r.recoveryMode;
    bDspNumDlgFg = r.bDspNumDlgFg;
    bDispLastPosFg = r.bDispLastPosFg;
    bGridDspModeExtr = r.bGridDspModeExtr;
    bScTestBtn = r.bScTestBtn;
    iDefPaperType = r.iDefPaperType;
    dDefPaperScale = r.dDefPaperScale;
    dDelPaperCx = r.dDelPaperCx;
    dDelPaperCy = r.dDelPaperCy;
    MsgFg = r.MsgFg;
    bPaperOrg = r.bPaperOrg;
    iGridNoDetFlg = r.iGridNoDetFlg;
    iGridCutFg = r.iGridCutFg;
    bTermDrawFg = r.bTermDrawFg;
    bCurSorAreaDsp = r.bCurSorAreaDsp;
    bPointSize = r.bPointSize;
    bLineWidthSize = r.bLineWidthSize;
    bColorMode = r.bColorMode;
    CursorRate = g_neighbours.GetKeyCursorStep();
    iStartOpenDlgFg = r.iStartOpenDlgFg;
    SysZumenDir = r.zumenDir;
    szLayDefPat = r.szLayDefPat;
    szDefPaperStr1 = r.szDefPaperStr1;
    szDefPaperStr2 = r.szDefPaperStr2;
    szDefPaperStr3 = r.szDefPaperStr3;
    szDefPaperPtn = r.szDefPaperPtn;
    szLPatRd = r.szLPatRd;
}

void LocalSettingsWindow::Apply() {
    RunningSettings& r = Running();
    r.mouseMode = MOUSE;
    r.toolPanelDispMode = ToolPanelDispMode;
    r.mainWindowRect = Screen;
    if (TbarDisp.empty()) {
        static const char* const kBands[] = {"0,1,2,7", "0,1,2,14", "0,2,0,16", "0,1,1,6", "0,1,1,3",  "0,1,0,0",
                                             "0,1,0,5", "0,1,1,13", "0,1,1,14", "0,1,0,2", "0,1,0,11", "0,1,0,12",
                                             "0,1,0,9", "0,1,1,10", "0,1,0,8",  "0,1,0,1", "0,1,1,6"};
        for (const char* b : kBands)
            TbarDisp.push_back(b);
    }
}

void LocalSettingsWindow::Capture() {
    const RunningSettings& r = Running();
    MOUSE = r.mouseMode;
    ToolPanelDispMode = r.toolPanelDispMode;
    Screen = r.mainWindowRect;
}

int CCadSystemSettings::InitSettings() {
    g_neighbours.SetTheConfigDataPtr(&m_ConfigData);
    m_ConfigData.Apply();
    if (!g_neighbours.AllocRPMenuBuffer()) return 0;
    if (g_neighbours.LoadRPMenuFile(m_ConfigData.File.RMenuPath.c_str()) == 0) {
        char text[600];
        FormatText(text, "%s ファイルが無いか異常です。", m_ConfigData.File.RMenuPath.c_str());
        ShowSettingsMessage(GetSettingsMessageOwner(), text, "エラー", MB_OK | MB_ICONERROR);
    }
    g_neighbours.WriteSystemLog(2, "System", "システム初期化 OK");
    m_bUserSettingsApplied = true;
    m_LocalSettingsSetup.Apply();
    m_LocalSettingsWindow.Apply();
    InitCadFileBackup(m_CadFileBackup);
    return 1;
}

void CCadSystemSettings::ApplyConfigDataKeepingUserValues() {
    if (!m_bUserSettingsApplied) {
        m_ConfigData.Apply();
        return;
    }
    RunningSettings& r = Running();
    const int rubberColor = r.rubberColor;
    const double cursorStep = g_neighbours.GetKeyCursorStep();
    char zumenDir[sizeof r.zumenDir];
    std::memcpy(zumenDir, r.zumenDir, sizeof zumenDir);
    // The window rectangle runs from the user's Screen (and follows the main
    // frame): the system's WIMDOW_RECT is only the first start's.
    const RectEx windowRect = r.mainWindowRect;
    m_ConfigData.Apply();
    r.rubberColor = rubberColor;
    g_neighbours.SetKeyCursorStep(cursorStep);
    std::memcpy(r.zumenDir, zumenDir, sizeof zumenDir);
    r.mainWindowRect = windowRect;
}

int CCadSystemSettings::SaveConfigData(unsigned command) {
    if ((command & 0xFFFF) != 3800) return 0;
    const std::string path = GetExeDir() + "\\ConfigData.xml";
    SYSTEMTIME t{};
    GetFileLocalTime(path.c_str(), &t, 2);
    char text[700];
    FormatText(text, "%s を更新します。\n前回更新日時 %d/%d/%d %d:%d:%d", path.c_str(), t.wYear, t.wMonth, t.wDay,
               t.wHour, t.wMinute, t.wSecond);
    if (ShowSettingsMessage(nullptr, text, "確認", MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
        if (SaveConfigDataFile(path.c_str()) == -1)
            ShowSettingsMessage(nullptr, "CCadSystem::SaveConfigData() エラー", "エラー", MB_OK | MB_ICONERROR);
    }
    return 0;
}
