#include "shell/host_services.h"

#include "shell/dialog_base.h"

#include <cstdlib>
#include <string>

#include "base/apply_settings.h"
#include "base/dbcs.h"
#include "base/local_settings_ini.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "base/settings_layer.h"
#include "base/settings_message.h"
#include "base/system_log.h"
#include "cadlib/WmCadApiDb.h"
#include "command/command_ids.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "docking/docking_hooks.h"
#include "panels/cmd_panel_editor.h"
#include "panels/key_editor.h"
#include "panels/panel_windows.h"
#include "panels/panel_host_messages.h"
#include "panels/pbox.h"
#include "panels/pbox_input_items.h"
#include "panels/rp_menu.h"
#include "setup/page_services.h"
#include "setup/setup_hooks.h"
#include "shell/cad_system.h"
#include "shell/document_roads.h"
#include "shell/drawing_services.h"
#include "shell/file_backup.h"
#include "shell/host_messages_shell.h"
#include "shell/main_accelerator.h"
#include "shell/main_frame.h"
#include "shell/module_view_services.h"
#include "shell/pane_rules.h"
#include "shell/recent_commands.h"
#include "shell/save_road.h"
#include "shell/settings_services.h"
#include "shell/shell_seams.h"
#include "shell/system_commands.h"
#include "shell/tool_panel_services.h"
#include "shell/yes_no_services.h"
#include "view/cadwin_frame.h"
#include "view/drawing_state.h"
#include "view/element_pick.h"
#include "view/element_snap_search.h"
#include "view/eps_service.h"
#include "view/geometry.h"
#include "view/input_scale.h"
#include "view/key_cursor.h"
#include "view/point_search.h"
#include "view/raster.h"
#include "view/rubber_band.h"
#include "command/status_codes.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"
#include "win/dialog_base.h"
#include "win/message_box.h"
#include "shell/toolbar_settings_dialog.h"
#include "shell/ui_library.h"
#include "shell/calculator.h"
#include "shell/input_history.h"
#include "shell/input_point_dialog.h"
#include "shell/main_accelerator.h"

const char kEmptyServiceLogText[] = "ホストサービスが設定されていません: ";

namespace {

// The shared dialogs: calculator, point entry, input histories.
void InstallDialogServices() {
    CmdHostHooks& h = HostHooks();
    h.runCalculator = RunCalculator;
    h.isCalculatorOpen = IsCalculatorOpen;
    h.inputRelativePoint = InputRelativePoint;
    h.inputTemporaryPoint = InputTemporaryPoint;
    h.addInputHistory = AddInputHistory;
    h.showInputHistoryMenu = ShowInputHistoryMenu;
    h.getInputHistoryItem = GetInputHistoryItem;
}

DbHeader* ActiveDb() { return GetActiveViewDb(); }

// One candidate of a pick among several: 1 take it, 0 the next, 2 stop.
int AskPickCandidate() {
    const int answer = RunPickQuestion(nullptr, nullptr, nullptr, Running().YESNOMSG);
    return answer == IDYES ? 1 : answer == IDCANCEL ? 2 : 0;
}

void InstallCommandServices() {
    CmdHostHooks& h = HostHooks();
    // System log and messages. The call log takes the command system's lines too.
    h.writeLog = [](int level, const char* category, const char* text) {
        WriteSystemLogText(level, category, text ? text : "");
        ShellTrace("%s,%s", category ? category : "", text ? text : "");
    };
    h.showErrorMessage = [](int id) { ShowErrorMessage(GetMessageText(id)); };
    h.showErrorText = [](const char* text) { ShowErrorMessage(text ? text : ""); };

    // Application object and running settings.
    h.launchKind = [] { return LaunchKind(); };
    h.appTitleText = [] { return AppTitleText(); };
    h.appObject = []() -> void* { return &GetCadSystem(); };
    h.language = [] { return Running().LANGUAGE; };
    h.safeGuard = [] { return Running().SAFE; };
    h.rightButtonMode = RunningRightButtonMode;
    h.undoLevel = [] { return Running().iUndoCount; };
    h.layerPatternFile = [] { return std::string(Running().szLPatRd); };
    h.translateAccel = [](HWND frame, HACCEL table, MSG* msg) -> BOOL {
        return GetCadSystem().TranslateAccel(frame, table, msg);
    };

    // Drawing windows.
    h.activeView = [] { return GetActiveView(); };
    h.activeDb = []() -> void* { return ActiveDb(); };
    h.activateView = [](HWND view) { return ActivateViewFrame(view); };
    h.activeViewReadOnly = [] {
        const ViewData* d = GetViewData(GetActiveView());
        return (d && d->readOnly) ? 1 : 0;
    };
    h.activeDrawingHasSelection = [] {
        const DbHeader* db = ActiveDb();
        return (db && db->selectionChanged != 0) ? 1 : 0;
    };
    h.focusActiveView = [] {
        // While a panel editor is open, typing goes on there.
        if (PBoxEditState.editorOpen && PBoxEditState.openEditor && IsWindow(PBoxEditState.openEditor)) {
            SetFocus(PBoxEditState.openEditor);
            return;
        }
        if (HWND view = GetActiveView()) SetFocus(view);
    };
    h.showElementCount = [] {
        if (HWND bar = StatusBarWindow()) SetStatusElementCount(bar, GetViewElementCount(GetActiveView()));
    };
    h.enableInputScale = [](int on) { EnableInputScaleCombo(on); };
    h.inputScaleBlockingOff = [] { SetInputScaleBlocked(0); };
    h.updateRubberBandErase = [] { UpdateRubberBand(GetActiveView(), 0, 0, 1); };
    h.unlockInput = [] { UnlockInput(); };
    h.overviewPick = [](int* layer, int* page) {
        const ViewData* d = GetViewData(GetActiveView());
        *layer = OverviewPick.layer;
        *page = OverviewPick.page;
        (void)d;
    };
    h.findDrawingView = [](const char* path) { return FindViewByFileOrDrawing(path, nullptr); };
    h.clearDrawingEvent = ClearDrawingEventWords;
    h.drawingRectToClient = [](void* request) { return WorldRectToViewRect(0, 0, request); };

    // Panels.
    h.closeRightClickPopup = [] { CloseRPMenu(); };
    h.rightClickPopupOpen = [] { return RPMenuState.windowOpen; };
    h.resetRightClickEntries = [] { ResetRPMenuItems(0); };
    h.panelMessage = PanelHostMessage;
    RPMenuHost().appendRecentCommands = AppendRecentCommandsToMenu;
    h.clearPanelPages = [] { ClearAllPBoxPages(); };
    h.pushRecentCommand = [](int id, const char* name) { PushRecentCommand(name, id); };
    h.refreshToolPanel = [] { RefreshToolPanel(); };
    h.resetRightClickSwitches = [] {
        SetRPMenuRightClickOk(0);
        SetRPMenuHideFlags(0, 0);
    };
    h.rightClickSwitchesAtRest = [] { return (RPMenuState.rightClickOk == 0 && RPMenuState.hideFlags == 0) ? 1 : 0; };

    // Point searches and picking. The wait loop sets the locked-layer search
    // mode around a pick; the library's search follows that mode.
    // The element snap's cursor points, searches and pop-up are the drawing
    // windows' own.
    InstallViewSnapHooks();
    h.snapSearch = [](int kind, double pt[3]) {
        double found[3] = {pt[0], pt[1], pt[2]};
        if (!SearchPointOfKind(kind, pt, found)) return 0;
        for (int i = 0; i < 3; ++i)
            pt[i] = found[i];
        return 1;
    };
    h.pickElement = [](const double pt[3], int) {
        if (CmdWaitState().singlePick) return PickElementAtPoint(pt, [] { return 1; });
        return PickElementAtPoint(pt, AskPickCandidate);
    };
    h.preTranslateKeys = [](HWND frame, MSG* msg, void* accelerator) {
        return GetCadSystem().PreTranslateKeys(frame, msg, static_cast<CMainAccelerator*>(accelerator));
    };
    h.takeRelativeFromPanel = [](int item) {
        char text[64] = "";
        GetPBoxItemText(item, text, sizeof text);
        SetRememberedPointEntry(item == 333 ? 0 : 1, std::atof(text));
    };
    h.viewService = ModuleViewService;

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
        if (DbHeader* db = ActiveDb()) DAriUndoFgSet(db, HostHooks().undoLevel());
        DAriFastAccessOff();
    };
    h.setElementCheckMode = [](LPARAM mode) { return DAriSetElementCheckMode(static_cast<int>(mode)); };

    // Backups.
    h.countCommandForBackup = [] { FileBackup().CountCommand(); };
    h.backupModified = [] { FileBackup().BackupModified(); };

    // Dialogs and the roads of the documents.
    h.yesNoPlain = RunYesNoPlainDialog;
    h.yesNoCancel = RunYesNoCancelDialog;
    h.rasterFunc = [](WPARAM operation, LPARAM request) -> LRESULT {
        return ExecRasterRequest(static_cast<int>(operation), reinterpret_cast<void*>(request));
    };
    h.systemCommand = RunSystemCmdAction;
    h.ddeOpenDrawing = [](const char* path) { return OpenOrActivateDrawing(path); };
    InstallDialogServices();

    // Settings layer, for command modules.
    h.readSettingText = ModuleReadSettingText;
    h.writeSettingText = ModuleWriteSettingText;
    h.readSettingSection = ModuleReadSettingSection;
    h.readCmdIniString = ModuleReadCmdIniString;
    h.writeCmdIniString = ModuleWriteCmdIniString;
    h.readSettingFileName = ModuleReadSettingFileName;
    h.readSettingString = ModuleReadSettingString;
    h.writeSettingString = ModuleWriteSettingString;
    h.setDbEpsilon = SetDbEpsilon;
}

void InstallNeighbourServices() {
    // The settings hand their values to the parts that use them.
    SettingsNeighbours& n = Neighbours();
    n.SetKeyCursorStep = SetKeyCursorStep;
    n.GetKeyCursorStep = GetKeyCursorStep;
    n.SyncSnapButtons = [] { SyncSnapButtons(); };
    n.SetGestureCommand = SetGestureCommand;
    n.AllocRPMenuBuffer = AllocRPMenuBuffer;
    n.LoadRPMenuFile = LoadRPMenuFile;
    n.InitCadFileBackup = [](const CadFileBackupSettings& s) {
        FileBackup().SetCrashFlagFile(GetCadSystem().GetUserIniPath());
        FileBackup().Init(s);
    };
    n.WriteSystemLog = WriteSystemLogText;
    n.SetTolerances = SetGeometryTolerances;
    // The settings files tell the user of their faults through the system's box.
    SetSettingsMessageHandler(ZavMessageBox);
    LocalIniNeighbours().SetCursorFindArea = SetPickAperture;
    // The pen colours and the UI library's record pointer keep their
    // defaults: both reach the loaded libraries themselves.
    InstallLocalSettingsIniHandlers();

    zav::DockingHooks& dock = zav::GetDockingHooks();
    dock.isDockLayoutLocked = IsDockLayoutLocked;
    dock.paneCaptionColors = PaneCaptionColors;

    InstallToolPanelServices();

    // The setup dialogs' reach into the shell.
    SetupHooks& setup = SetupHost();
    setup.enableCmdPanelTips = [](int on) { GetCadSystem().EnableCmdPanelTips(on); };
    setup.runCmdPanelEditor = [](HWND parent) { RunCmdPanelEditor(parent); };
    setup.runShortcutKeyEditor = [](HWND parent) { RunCmdKeyEditor(parent); };
    setup.runToolbarSettings = RunToolbarSettingsDialog;
    setup.notifyToolbarsChanged = NotifyToolbarsChanged;
    setup.drawColorButton = UiDrawColorButton;

    CadwinSaveHandler = [](HWND view) { return SaveDrawingAs(view, 1); };
    CadwinHost().loadAccelerator = LoadFrameAccelerator;
    CadwinHost().updateFrameViewFlag = UpdateFrameViewFlag;
}

}  // namespace

// The shortcut-key editor reaches the key file through the frame's table.
static void InstallKeyEditorServices() {
    KeyEditorHooks& k = GetKeyEditorHooks();
    k.readCustomKeys = [](void* accelerator, std::vector<ACCEL>& keys, int installed) {
        return static_cast<CMainAccelerator*>(accelerator)->ReadKeyFile(nullptr, keys, true, installed != 0);
    };
    k.saveCustomKeys = [](void* accelerator, const std::vector<ACCEL>& keys) {
        return static_cast<CMainAccelerator*>(accelerator)->SaveKeyFile(nullptr, keys);
    };
    k.keyText = [](WORD key) { return CMainAccelerator::KeyText(key, true); };
}

void InstallHostServices() {
    DialogLook().panelColor = GetPanelColor;
    DialogLook().drawButton = DrawDialogBaseButton;
    InstallCommandServices();
    InstallKeyEditorServices();
    InstallDrawingServices(HostHooks());
    InstallNeighbourServices();
}

std::vector<std::string> EmptyHostServiceNames() {
    std::vector<std::string> empty;
    for (const std::string& name : EmptyHostServices())
        empty.push_back("command." + name);
    if (!DialogLook().panelColor) empty.push_back("win.dialogLook.panelColor");
    if (!DialogLook().drawButton) empty.push_back("win.dialogLook.drawButton");
    const zav::DockingHooks& dock = zav::GetDockingHooks();
    if (!dock.isDockLayoutLocked) empty.push_back("docking.isDockLayoutLocked");
    if (!dock.paneCaptionColors) empty.push_back("docking.paneCaptionColors");
    const KeyEditorHooks& keys = GetKeyEditorHooks();
    if (!keys.readCustomKeys || !keys.saveCustomKeys || !keys.keyText) empty.push_back("panels.keyEditor");
    const SettingsNeighbours& n = Neighbours();
    const struct {
        bool set;
        const char* name;
    } settings[] = {
        {n.SetKeyCursorStep != nullptr, "SetKeyCursorStep"},
        {n.GetKeyCursorStep != nullptr, "GetKeyCursorStep"},
        {n.SyncSnapButtons != nullptr, "SyncSnapButtons"},
        {n.SetGestureCommand != nullptr, "SetGestureCommand"},
        {n.AllocRPMenuBuffer != nullptr, "AllocRPMenuBuffer"},
        {n.LoadRPMenuFile != nullptr, "LoadRPMenuFile"},
        {n.InitCadFileBackup != nullptr, "InitCadFileBackup"},
        {n.GetPenColors != nullptr, "GetPenColors"},
        {n.SetTheConfigDataPtr != nullptr, "SetTheConfigDataPtr"},
        {n.WriteSystemLog != nullptr, "WriteSystemLog"},
        {n.SetTolerances != nullptr, "SetTolerances"},
    };
    for (const auto& s : settings)
        if (!s.set) empty.push_back(std::string("settings.") + s.name);
    if (!GetSettingsMessageHandler()) empty.push_back("settings.message");
    if (!LocalIniNeighbours().SetCursorFindArea) empty.push_back("localIni.SetCursorFindArea");
    for (const char* const* name = EmptyToolPanelLinkNames(); *name; ++name)
        empty.push_back(std::string("toolPanel.") + *name);
    if (!CadwinSaveHandler) empty.push_back("cadwin.saveHandler");
    const SetupHooks& setup = SetupHost();
    const struct {
        bool set;
        const char* name;
    } setupEntries[] = {
        {setup.enableCmdPanelTips != nullptr, "enableCmdPanelTips"},
        {setup.runCmdPanelEditor != nullptr, "runCmdPanelEditor"},
        {setup.runShortcutKeyEditor != nullptr, "runShortcutKeyEditor"},
        {setup.runToolbarSettings != nullptr, "runToolbarSettings"},
        {setup.notifyToolbarsChanged != nullptr, "notifyToolbarsChanged"},
        {setup.drawColorButton != nullptr, "drawColorButton"},
    };
    for (const auto& e : setupEntries)
        if (!e.set) empty.push_back(std::string("setup.") + e.name);
    if (!CadwinHost().loadAccelerator) empty.push_back("cadwin.loadAccelerator");
    if (!CadwinHost().updateFrameViewFlag) empty.push_back("cadwin.updateFrameViewFlag");
    return empty;
}

int CheckHostServices() {
    const std::vector<std::string> empty = EmptyHostServiceNames();
    for (const std::string& name : empty) {
        WriteSystemLog(0, "Error", "%s%s", kEmptyServiceLogText, name.c_str());
        ShellTrace("Error,%s%s", kEmptyServiceLogText, name.c_str());
    }
    return static_cast<int>(empty.size());
}
