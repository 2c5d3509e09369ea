#include "base/local_settings.h"

#include <windows.h>

LocalSettingsSetup::LocalSettingsSetup()
    : paper_margin{25, 20, 20, 20, 20, 20, 25, 25, 0, 1},
      grid{910, 910, 0},
      bToolHlp(1),
      bWindowSz(0),
      bBkColor(0),
      iRubberCol(3),
      bLastPosViewFg(0),
      bCurModeChk(1),
      iUndoCount(10),
      bElmHit(0),
      bBeepFind(1),
      iSnapShowMode(3),
      LMsFg(104),
      iDigit(5),
      bZero(1),
      iRMenuFg(1),
      bTmpOnece(1),
      bErrDown(0),
      bDspNumDlgFg(1),
      bDispLastPosFg(0),
      bGridDspModeExtr(0),
      bScTestBtn(1),
      iDefPaperType(3),
      dDefPaperScale(0.02),
      dDelPaperCx(420.0),
      dDelPaperCy(297.0),
      MsgFg(0),
      bPaperOrg(0),
      iGridNoDetFlg(0),
      iGridCutFg(1),
      bTermDrawFg(0),
      bCurSorAreaDsp(1),
      iDigit_dEpsAngle(3),
      iDigit_dEps(7),
      bPointSize(0),
      bLineWidthSize(1),
      bColorMode(2),
      lMenuMode(0),
      CursorRate(600.0),
      iStartOpenDlgFg(0),
      iCmdPanelCurrPage{0, 0, 0, 0, 0},
      dEpsAngle(0.0001),
      dEps(1e-7) {}

void LocalSettingsSetup::GetEpsDigitsRange(int* distance, int* angle) {
    if (distance) {
        distance[0] = 5;
        distance[1] = 2;
        distance[2] = 5;
    }
    if (angle) {
        angle[0] = 3;
        angle[1] = 2;
        angle[2] = 5;
    }
}

namespace {
// 10 to the power -(digits + 1), by repeated multiplication and one division,
// so that the same digit count always gives the same bits.
double TenToMinus(int digits) {
    double p = 1.0;
    for (int i = 0; i < digits + 1; ++i)
        p *= 10.0;
    return 1.0 / p;
}
}  // namespace

void LocalSettingsSetup::UpdateEpsilons(bool reset) {
    if (reset) {
        iDigit_dEps = 0;
        iDigit_dEpsAngle = 0;
    }
    if (iDigit_dEps < 2 || iDigit_dEps > 5) iDigit_dEps = 5;
    if (iDigit_dEpsAngle < 2 || iDigit_dEpsAngle > 5) iDigit_dEpsAngle = 3;
    dEps = TenToMinus(iDigit_dEps);
    dEpsAngle = TenToMinus(iDigit_dEpsAngle);
}

LocalSettingsWindow::LocalSettingsWindow()
    : Screen{0, 0, GetSystemMetrics(SM_CXSCREEN) - 2, GetSystemMetrics(SM_CYSCREEN) - 2},
      MOUSE(0),
      PNL_MAIN(1),
      PNL_CMD(1),
      ToolPanelDispMode(0) {}

bool operator==(const LocalSettingsSetup& a, const LocalSettingsSetup& b) {
    bool same = a.paper_margin == b.paper_margin && a.grid == b.grid && a.bToolHlp == b.bToolHlp &&
                a.bWindowSz == b.bWindowSz && a.bBkColor == b.bBkColor && a.iRubberCol == b.iRubberCol &&
                a.bLastPosViewFg == b.bLastPosViewFg && a.bCurModeChk == b.bCurModeChk &&
                a.iUndoCount == b.iUndoCount && a.bElmHit == b.bElmHit && a.bBeepFind == b.bBeepFind &&
                a.iSnapShowMode == b.iSnapShowMode && a.LMsFg == b.LMsFg && a.iDigit == b.iDigit &&
                a.bZero == b.bZero && a.iRMenuFg == b.iRMenuFg && a.bTmpOnece == b.bTmpOnece &&
                a.bErrDown == b.bErrDown && a.bDspNumDlgFg == b.bDspNumDlgFg && a.bDispLastPosFg == b.bDispLastPosFg &&
                a.bGridDspModeExtr == b.bGridDspModeExtr && a.bScTestBtn == b.bScTestBtn &&
                a.iDefPaperType == b.iDefPaperType && a.dDefPaperScale == b.dDefPaperScale &&
                a.dDelPaperCx == b.dDelPaperCx && a.dDelPaperCy == b.dDelPaperCy && a.MsgFg == b.MsgFg &&
                a.bPaperOrg == b.bPaperOrg && a.iGridNoDetFlg == b.iGridNoDetFlg && a.iGridCutFg == b.iGridCutFg &&
                a.bTermDrawFg == b.bTermDrawFg && a.bCurSorAreaDsp == b.bCurSorAreaDsp &&
                a.iDigit_dEpsAngle == b.iDigit_dEpsAngle && a.iDigit_dEps == b.iDigit_dEps &&
                a.bPointSize == b.bPointSize && a.bLineWidthSize == b.bLineWidthSize && a.bColorMode == b.bColorMode &&
                a.lMenuMode == b.lMenuMode && a.CursorRate == b.CursorRate && a.iStartOpenDlgFg == b.iStartOpenDlgFg &&
                a.SysZumenDir == b.SysZumenDir && a.szLayDefPat == b.szLayDefPat &&
                a.szDefPaperStr1 == b.szDefPaperStr1 && a.szDefPaperStr2 == b.szDefPaperStr2 &&
                a.szDefPaperStr3 == b.szDefPaperStr3 && a.szDefPaperPtn == b.szDefPaperPtn && a.szLPatRd == b.szLPatRd;
    for (int i = 0; i < 5; ++i)
        same = same && a.iCmdPanelCurrPage[i] == b.iCmdPanelCurrPage[i];
    return same;
}

bool operator==(const LocalSettingsWindow& a, const LocalSettingsWindow& b) {
    return a.Screen == b.Screen && a.MOUSE == b.MOUSE && a.PNL_MAIN == b.PNL_MAIN && a.PNL_CMD == b.PNL_CMD &&
           a.TbarDisp == b.TbarDisp && a.ToolPanelDispMode == b.ToolPanelDispMode;
}

bool operator==(const LocalSettingsStackCmd& a, const LocalSettingsStackCmd& b) {
    return a.CmdId == b.CmdId && a.CmdName == b.CmdName;
}

bool operator==(const CadFileBackupSettings& a, const CadFileBackupSettings& b) {
    return a.nBackupCountSpan == b.nBackupCountSpan && a.bCountBakup == b.bCountBakup &&
           a.bTimeBackup == b.bTimeBackup && a.nBackupTimeSpanSec == b.nBackupTimeSpanSec &&
           a.BakupFnames == b.BakupFnames;
}
