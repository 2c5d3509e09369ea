// Serialisation bodies of ConfigData and its parts, in file order. Included
// only where the settings archives are instantiated.
#pragma once

#include "base/config_data.h"
#include "base/serial_records_impl.h"

#include <boost/serialization/split_free.hpp>

namespace settings_archive {

// Texts cross the archive as wide strings; one direction each.
template <class Ar>
inline void Text(Ar& ar, const char* name, std::string& t, boost::mpl::true_) {
    SaveText(ar, name, t);
}
template <class Ar>
inline void Text(Ar& ar, const char* name, std::string& t, boost::mpl::false_) {
    LoadText(ar, name, t);
}
template <class Ar>
inline void Text(Ar& ar, const char* name, std::string& t) {
    Text(ar, name, t, typename Ar::is_saving());
}

template <class Ar, size_t N>
inline void Texts(Ar& ar, const char* name, std::string (&t)[N], boost::mpl::true_) {
    SaveTextArray(ar, name, t);
}
template <class Ar, size_t N>
inline void Texts(Ar& ar, const char* name, std::string (&t)[N], boost::mpl::false_) {
    LoadTextArray(ar, name, t);
}
template <class Ar, size_t N>
inline void Texts(Ar& ar, const char* name, std::string (&t)[N]) {
    Texts(ar, name, t, typename Ar::is_saving());
}

template <class Ar>
inline void List(Ar& ar, const char* name, std::list<std::string>& t, boost::mpl::true_) {
    SaveTextList(ar, name, t);
}
template <class Ar>
inline void List(Ar& ar, const char* name, std::list<std::string>& t, boost::mpl::false_) {
    LoadTextList(ar, name, t);
}
template <class Ar>
inline void List(Ar& ar, const char* name, std::list<std::string>& t) {
    List(ar, name, t, typename Ar::is_saving());
}

template <class Ar>
inline void List(Ar& ar, const char* name, std::list<int>& t, boost::mpl::true_) {
    SaveIntList(ar, name, t);
}
template <class Ar>
inline void List(Ar& ar, const char* name, std::list<int>& t, boost::mpl::false_) {
    LoadIntList(ar, name, t);
}
template <class Ar>
inline void List(Ar& ar, const char* name, std::list<int>& t) {
    List(ar, name, t, typename Ar::is_saving());
}

}  // namespace settings_archive

#define ZAV_NVP(m) boost::serialization::make_nvp(#m, m)

template <class Ar>
void ConfigDataFile::serialize(Ar& ar, unsigned) {
    using namespace settings_archive;
    Text(ar, "BACKUPDIR", BACKUPDIR);
    Text(ar, "LOGDIR", LOGDIR);
    Text(ar, "ZUMENDIR", ZUMENDIR);
    Text(ar, "WAV", WAV);
    Text(ar, "AUTOZ", AUTOZ);
    ar& ZAV_NVP(RDONLY);
    Text(ar, "HELPFILE", HELPFILE);
    Texts(ar, "OPEN_EXT0_N", OPEN_EXT0_N);
    Texts(ar, "OPEN_EXT0_E", OPEN_EXT0_E);
    Texts(ar, "OPEN_EXT0_C", OPEN_EXT0_C);
    Texts(ar, "OPEN_EXT1_N", OPEN_EXT1_N);
    Texts(ar, "OPEN_EXT1_E", OPEN_EXT1_E);
    Texts(ar, "OPEN_EXT1_C", OPEN_EXT1_C);
    Texts(ar, "OPEN_EXT2_N", OPEN_EXT2_N);
    Texts(ar, "OPEN_EXT2_E", OPEN_EXT2_E);
    Texts(ar, "OPEN_EXT2_C", OPEN_EXT2_C);
    Texts(ar, "SAVE_EXT0_N", SAVE_EXT0_N);
    Texts(ar, "SAVE_EXT0_E", SAVE_EXT0_E);
    Text(ar, "COMMAND", COMMAND);
    Text(ar, "MENU", MENU);
    Text(ar, "RMENU", RMENU);
    Text(ar, "KEY", KEY);
    Text(ar, "REG", REG);
    Text(ar, "TOOLBMP", TOOLBMP);
    Text(ar, "TITLEBMP", TITLEBMP);
}

template <class Ar>
void ConfigDataMenu::serialize(Ar& ar, unsigned) {
    ar& ZAV_NVP(TMENU_SIZEX) & ZAV_NVP(TMENU_SIZEY) & ZAV_NVP(TMENU_BSIZE) & ZAV_NVP(TMENU_TMENUDSP) &
        ZAV_NVP(TMENU_TMENULASTPOS) & ZAV_NVP(PANEL_RDSP) & ZAV_NVP(WINDOW_LAYOUTVIEW_WIDTH) &
        ZAV_NVP(WINDOW_LAYOUTVIEW_HEIGHT) & ZAV_NVP(WIMDOW_RECT) & ZAV_NVP(WINDOW_RECT_SIZE) & ZAV_NVP(FullDragMode) &
        ZAV_NVP(RightMenuMode) & ZAV_NVP(AppPanelType);
}

template <class Ar>
void ConfigDataColor::serialize(Ar& ar, unsigned) {
    ar& ZAV_NVP(RUBBERCOL) & ZAV_NVP(INIT_COLOR) & ZAV_NVP(COLOR_SYS_BK) & ZAV_NVP(COLOR_PANEL) &
        ZAV_NVP(COLOR_DLG_BK) & ZAV_NVP(COLOR_BTN_ATTR);
}

template <class Ar>
void ConfigData::serialize(Ar& ar, unsigned) {
    using namespace settings_archive;
    Text(ar, "Version", Version);
    Text(ar, "DSPDEFFONT", DSPDEFFONT);
    Text(ar, "TT", TT);
    Text(ar, "YESNOMSG", YESNOMSG);
    Text(ar, "USERNAME", USERNAME);
    Text(ar, "COMPANY", COMPANY);
    Text(ar, "SYSTEMFONT", SYSTEMFONT);
    Text(ar, "ERRFONT", ERRFONT);
    Text(ar, "COPYRIGHT", COPYRIGHT);
    Text(ar, "GRID_OFF", GRID_OFF);
    Text(ar, "GRID_ON1", GRID_ON1);
    Text(ar, "GRID_ON2", GRID_ON2);
    ar& ZAV_NVP(GRIDCOLOR_B) & ZAV_NVP(GRIDCOLOR_B5) & ZAV_NVP(GRIDCOLOR_W) & ZAV_NVP(GRIDCOLOR_W5) &
        ZAV_NVP(POINTSCALEFG) & ZAV_NVP(NEWZUMENMODE) & ZAV_NVP(DSPSLOW) & ZAV_NVP(TPOS) & ZAV_NVP(INPUTLAYERLOAD) &
        ZAV_NVP(RMENU_SNAP) & ZAV_NVP(TEMPOLDMODE) & ZAV_NVP(CURMOVE_CTRL) & ZAV_NVP(CURMOVE_FIND) &
        ZAV_NVP(WAKUDSPMODE) & ZAV_NVP(CMDFILEOPN_NOZUMEN) & ZAV_NVP(ON3D) & ZAV_NVP(RSTRVIEW) & ZAV_NVP(YNCMSG) &
        ZAV_NVP(VIEWSTRSIZE) & ZAV_NVP(EXTDIC) & ZAV_NVP(bNoLoadErrMsg) & ZAV_NVP(RASTRSPLIT) & ZAV_NVP(SHARE) &
        ZAV_NVP(RMOUSE) & ZAV_NVP(LOG) & ZAV_NVP(CMDLOG) & ZAV_NVP(VCFNT) & ZAV_NVP(WRITECHK) & ZAV_NVP(SAVENAME) &
        ZAV_NVP(DEGIT) & ZAV_NVP(WAITTIME) & ZAV_NVP(LPOSCOL) & ZAV_NVP(RPOSFMT) & ZAV_NVP(AUTOCMD) &
        ZAV_NVP(MULTIBOOT) & ZAV_NVP(WINSIZE) & ZAV_NVP(PAPERLINEDSPOFF) & ZAV_NVP(TIMESTEP) & ZAV_NVP(VIEWSCALEFIX) &
        ZAV_NVP(SAFE) & ZAV_NVP(TYUTEN);
    Real(ar, "CURSORD", CURSORD);
    ar& ZAV_NVP(LANGUAGE) & ZAV_NVP(LAYDLG_INPLAYFG) & ZAV_NVP(LAYDLG_GRPOPNFG) & ZAV_NVP(CURSOR00TYPE) &
        ZAV_NVP(CURSOR01TYPE) & ZAV_NVP(CURSOR02TYPE) & ZAV_NVP(WINSHOW_MAXIMIZE) & ZAV_NVP(MSG_BAR_MODE) &
        ZAV_NVP(PANEL_BUTTON_TYPE) & ZAV_NVP(ScrollBarMode) & ZAV_NVP(TITLE_POSX) & ZAV_NVP(TITLE_POSY) &
        ZAV_NVP(TITLE_SIZE) & ZAV_NVP(TITLE_POSX_2) & ZAV_NVP(TITLE_POSY_2) & ZAV_NVP(TITLE_SIZE_2) &
        ZAV_NVP(TITLE_PENCOLOR);
    Text(ar, "STRINFO_FONTNAME", STRINFO_FONTNAME);
    Real(ar, "STRINFO_HEIGHT", TextAttr.STRINFO_HEIGHT);
    Real(ar, "STRINFO_CHARRATIO", TextAttr.STRINFO_CHARRATIO);
    Real(ar, "STRINFO_INTERVAL", TextAttr.STRINFO_INTERVAL);
    ar& boost::serialization::make_nvp("STRINFO_COLOR", TextAttr.STRINFO_COLOR);
    ar& ZAV_NVP(MOUSEMOVECMD);
    ar& ZAV_NVP(INIT_PARAMETER_00) & ZAV_NVP(INIT_PARAMETER_01) & ZAV_NVP(INIT_PARAMETER_02) &
        ZAV_NVP(INIT_PARAMETER_03) & ZAV_NVP(INIT_PARAMETER_04) & ZAV_NVP(INIT_PARAMETER_05) &
        ZAV_NVP(INIT_PARAMETER_06) & ZAV_NVP(INIT_PARAMETER_07) & ZAV_NVP(INIT_PARAMETER_08) &
        ZAV_NVP(INIT_PARAMETER_09);
    List(ar, "SCALE", SCALE);
    ar& ZAV_NVP(File) & ZAV_NVP(Menu) & ZAV_NVP(SystemColor);
}
