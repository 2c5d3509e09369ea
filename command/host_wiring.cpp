// The services of the drawing windows, panels, settings and the CAD library
// that the command system uses, wired into its table of host services.
#include "command/host_hooks.h"

#include "cadlib/WmCadApiDb.h"
#include "command/command_system.h"
#include "panels/panel_windows.h"
#include "panels/rp_menu.h"
#include "view/drawing_state.h"
#include "view/input_scale.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/status_bar.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

DbHeader* ActiveDb() { return static_cast<DbHeader*>(GetActiveViewDb()); }

}  // namespace

void InstallHostServices() {
    CmdHostHooks& h = HostHooks();
    // Drawing windows.
    h.statusBarWindow = [] { return CurrentStatusBarWindow(); };
    h.activeView = [] { return GetActiveView(); };
    h.activeViewReadOnly = [] {
        ViewData* data = GetViewData(GetActiveView());
        return data ? (data->readOnly ? 1 : 0) : 0;
    };
    h.showElementCount = [] {
        if (HWND bar = CurrentStatusBarWindow())
            SendMessageA(bar, WM_USER, 5, GetViewElementCount(GetActiveView()));
    };
    h.enableInputScale = [](int on) { EnableInputScaleCombo(on); };
    h.inputScaleBlockingOff = [] { SetInputScaleBlocked(0); };
    h.updateRubberBandErase = [] { UpdateRubberBand(GetActiveView(), 0, 0, 1); };
    h.unlockInput = [] { UnlockInput(); };
    h.loupeFlag = [] { return InputFromLoupe; };
    h.clearLoupeFlag = [] { InputFromLoupe = 0; };
    h.gridSnapOn = [] { return RPMenuState.gridSnap; };
    h.keyboardCursorMode = [] { return IsKeyCursorMode(); };
    h.getCursorWorldPoint = [](double pt[3]) { GetCursorWorldPoint(pt); };
    h.getInputCursorPoint = [](double pt[3]) { GetInputCursorPoint(pt); };
    h.getGridSnappedCursorPoint = [](double pt[3]) { GetGridSnappedCursorPoint(pt); };
    h.drawInputBasePoint = [](int mode) { DrawInputBasePoint(0, 0, mode); };
    // Panels.
    h.closeRightClickPopup = [] { CloseRPMenu(); };
    h.rightClickPopupOpen = [] { return RPMenuState.shown; };
    h.resetRightClickEntries = [] { ResetRPMenuItems(); };
    h.snapModeFlags = [] { return static_cast<unsigned>(SnapModeFlags); };
    // CAD library.
    h.fastAccessOn = [] {
        DAriFastAccessOn();
        // What the fast run changes cannot be undone: the steps recorded
        // before it go, and no new ones are recorded.
        if (DbHeader* db = ActiveDb()) {
            DAriClearUndoElement(db);
            DAriUndoFgSet(db, 0);
        }
    };
    h.fastAccessOff = [] {
        const int level = HostHooks().undoLevel ? HostHooks().undoLevel() : 0;
        if (DbHeader* db = ActiveDb()) DAriUndoFgSet(db, level);
        DAriFastAccessOff();
    };
    h.destroyMark = [](uint32_t mark) { DAriDestroyMark(reinterpret_cast<CadMark*>(mark)); };
    h.setElementCheckMode = [](LPARAM mode) {
        return DAriSetElementCheckMode(static_cast<int>(mode));
    };
}
