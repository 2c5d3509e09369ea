// Serialisation bodies of the per-user records, in file order.
#pragma once

#include "base/config_data_impl.h"
#include "base/local_settings.h"

template <class Ar>
void LocalSettingsSetup::serialize(Ar& ar, unsigned) {
    using namespace settings_archive;
    ar& ZAV_NVP(paper_margin) & ZAV_NVP(grid) & ZAV_NVP(bToolHlp) & ZAV_NVP(bWindowSz) & ZAV_NVP(bBkColor) &
        ZAV_NVP(iRubberCol) & ZAV_NVP(bLastPosViewFg) & ZAV_NVP(bCurModeChk) & ZAV_NVP(iUndoCount) & ZAV_NVP(bElmHit) &
        ZAV_NVP(bBeepFind) & ZAV_NVP(iSnapShowMode) & ZAV_NVP(LMsFg) & ZAV_NVP(iDigit) & ZAV_NVP(bZero) &
        ZAV_NVP(iRMenuFg) & ZAV_NVP(bTmpOnece) & ZAV_NVP(bErrDown) & ZAV_NVP(bDspNumDlgFg) & ZAV_NVP(bDispLastPosFg) &
        ZAV_NVP(bGridDspModeExtr) & ZAV_NVP(bScTestBtn) & ZAV_NVP(iDefPaperType);
    Real(ar, "dDefPaperScale", dDefPaperScale);
    Real(ar, "dDelPaperCx", dDelPaperCx);
    Real(ar, "dDelPaperCy", dDelPaperCy);
    ar& ZAV_NVP(MsgFg) & ZAV_NVP(bPaperOrg) & ZAV_NVP(iGridNoDetFlg) & ZAV_NVP(iGridCutFg) & ZAV_NVP(bTermDrawFg) &
        ZAV_NVP(bCurSorAreaDsp) & ZAV_NVP(iDigit_dEpsAngle) & ZAV_NVP(iDigit_dEps) & ZAV_NVP(bPointSize) &
        ZAV_NVP(bLineWidthSize) & ZAV_NVP(bColorMode) & ZAV_NVP(lMenuMode);
    Real(ar, "CursorRate", CursorRate);
    ar& ZAV_NVP(iStartOpenDlgFg);
    Text(ar, "SysZumenDir", SysZumenDir);
    Text(ar, "szLayDefPat", szLayDefPat);
    Text(ar, "szDefPaperStr1", szDefPaperStr1);
    Text(ar, "szDefPaperStr2", szDefPaperStr2);
    Text(ar, "szDefPaperStr3", szDefPaperStr3);
    Text(ar, "szDefPaperPtn", szDefPaperPtn);
    Text(ar, "szLPatRd", szLPatRd);
    ar& ZAV_NVP(iCmdPanelCurrPage);
}

template <class Ar>
void LocalSettingsWindow::serialize(Ar& ar, unsigned) {
    using namespace settings_archive;
    ar& ZAV_NVP(Screen) & ZAV_NVP(MOUSE) & ZAV_NVP(PNL_MAIN) & ZAV_NVP(PNL_CMD);
    List(ar, "TbarDisp", TbarDisp);
    ar& ZAV_NVP(ToolPanelDispMode);
}

template <class Ar>
void LocalSettingsStackCmd::serialize(Ar& ar, unsigned) {
    using namespace settings_archive;
    List(ar, "CmdId", CmdId);
    List(ar, "CmdName", CmdName);
}

template <class Ar>
void CadFileBackupSettings::serialize(Ar& ar, unsigned) {
    using namespace settings_archive;
    ar& ZAV_NVP(nBackupCountSpan) & ZAV_NVP(bCountBakup) & ZAV_NVP(bTimeBackup) & ZAV_NVP(nBackupTimeSpanSec);
    List(ar, "BakupFnames", BakupFnames);
}
