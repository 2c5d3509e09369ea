#include "shell/host_hooks_shell.h"

#include "base/message_table.h"
#include "base/system_log.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "panels/rp_menu.h"
#include "shell/cad_system.h"
#include "shell/host_messages_shell.h"
#include "shell/main_frame.h"
#include "shell/shell_seams.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "command/mark_services.h"
#include "panels/panel_windows.h"
#include "setup/layers.h"
#include "setup/page_services.h"
#include "shell/open_road.h"
#include "shell/ui_library.h"
#include "view/drawing_state.h"
#include "view/geometry.h"
#include "view/input_scale.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"
#include "view/view_transform.h"

int RunShellSystemCommand(int id, HWND owner, DWORD) {
  HWND frame = MainFrameWindow() ? MainFrameWindow() : owner;
  switch (id) {
    case 4000:  // a new, untitled drawing window
      SendMessageA(frame, UM_NEW_DRAWING_WINDOW, 0, 0);
      return 0;
    case 4005:
      if (HWND view = GetActiveView()) PostMessageA(GetParent(view), WM_CLOSE, 0, 0);
      return 0;
    case 4006:
      PostMessageA(owner ? owner : frame, WM_CLOSE, 0, 0);
      return 0;
  }
  return -1;
}

HWND NewUntitledDrawingWindow() {
  auto* frame = dynamic_cast<CMainFrame*>(CWindowBase::FromHandle(CmdMainFrame()));
  return frame ? frame->NewDrawingWindow(frame->m_hWnd, 0, nullptr, nullptr) : nullptr;
}

uint32_t PickElementForWait(const double pt[3], int) {
  StoredElement* element = nullptr;
  return PickElementAtPoint(&element, pt[0], pt[1]) ? reinterpret_cast<uint32_t>(element) : 0;
}

double EdgeButtonFitRatio(HWND view) { return Running().bScTestBtn ? GetViewFitRatio(view) : 1.0; }

// The drawing windows, the drawing setup, the geometry and the running
// settings behind the element, undo, page and temporary-database services.
void InstallDrawingServiceHooks(CmdHostHooks& h) {
  h.viewDb = [](HWND view) { return GetViewDb(view); };
  h.viewRecord = [](HWND view) -> void* { return GetViewData(view); };
  h.findViewByDb = [](DbHeader* db) { return FindViewByDb(db); };
  h.activateViewFrame = [](HWND view) { return ActivateViewFrame(view); };
  h.setDrawingModified = [](HWND view) { return SetDrawingModified(view); };
  h.clearDrawingModified = [](HWND view) { return ClearDrawingModified(view); };
  h.drawElementInViews = [](HWND view, int colour, const void* e) { return DrawElementInViews(view, colour, e); };
  h.drawMarkInViews = [](int colour, CadMark* mark) { return DrawMarkInViews(nullptr, colour, mark); };
  h.drawMarkInViewsAlt = [](HWND view, int colour, CadMark* mark) { return DrawMarkInViewsAlt(view, colour, mark); };
  h.viewMode = [](HWND view) { return GetViewModeOf(view); };
  h.setViewMode = [](HWND view, int mode) { SetViewModeOf(view, mode); };
  h.getViewSet = [](HWND view, int mode, double set[3]) { return GetViewModeSet(view, mode, set); };
  h.setViewSet = [](HWND view, int mode, const double set[3]) { return SetViewModeSet(view, mode, set); };
  h.zoomFitRatio = EdgeButtonFitRatio;
  h.setPopupRefresh = [] { RequestPopupRefresh(); };
  h.zoomViewToPaper = [] { return ZoomViewToPaper(); };
  h.newDrawingWindow = NewUntitledDrawingWindow;
  h.openDrawingFile = [](const char* path) { return OpenDrawingFile(CmdMainFrame(), path); };
  h.resetViewAfterDbChange = [](void* info, HWND view) { return ResetViewAfterDbChange(info, view); };
  h.notifyToolPanelViewChange = [] { return NotifyToolPanelViewChange(); };
  h.toolPanelWindow = [] { return ToolPanelWindow(); };
  h.lockInputToActiveView = [](WPARAM w, LPARAM l) { return LockInputToActiveView(w, l); };
  h.unlockInput = [] { UnlockInput(); };
  h.inputToDrawRatioOf = [](HWND view) { return GetInputToDrawRatioOf(view); };
  h.toInputScalePointOf = [](HWND view, double* p) { ToInputScalePointOf(view, p); };
  h.fromInputScalePointOf = [](HWND view, double* p) { FromInputScalePointOf(view, p); };
  h.uiHighlightColor = [] { return UiHighlightColor(); };
  h.pickElement = PickElementForWait;
  h.getLockLayerSearchMode = [] { return TqGetLockLaySearchMode(); };
  h.setLockLayerSearchMode = [](int mode) { TqSetLockLaySearchMode(mode); };
  // Geometry.
  h.drawingTolerance = [] { return GetDrawingTolerance(); };
  h.transformPointAffine = [](double* x, double* y, const double* t) { TransformPointAffine(x, y, t); };
  h.transformElementCoords = [](void* e, double a, double sx, double sy, double px, double py, double bx,
                                double by) { return TransformElementCoords(e, a, sx, sy, px, py, bx, by); };
  h.intersectLines = [](double* c, const double* a1, const double* a2, const double* b1, const double* b2) {
    return IntersectLines(c, a1, a2, b1, b2);
  };
  h.intersectLineCircle = [](double* f, double* s, const double* a, const double* b, const double* c,
                             double r) { return IntersectLineCircle(f, s, a, b, c, r); };
  h.isPointOnSegment = [](const double* p, const double* a, const double* b) { return IsPointOnSegment(p, a, b); };
  h.rotatePoint2D = [](double* p, double a) { RotatePoint2D(p, a); };
  h.vectorAngle = [](double y, double x) { return VectorAngle(y, x); };
  h.safeAtan2 = [](double y, double x) { return SafeAtan2(y, x); };
  // Drawing setup.
  h.currentPage = [] { return GetCurrentPage(); };
  h.setCurrentPage = [](int page) { return SetCurrentPage(page); };
  h.getPageState = [](PageStateBlock* s) { return GetPageState(s); };
  h.setPageState = [](const PageStateBlock* s) { return SetPageState(s); };
  h.addPageFrom = [](int page, int source) { return AddPageFrom(page, source); };
  h.getPageDbInfo = [](int page, void* info) { return GetPageDbInfo(page, static_cast<DbInfoHead*>(info)); };
  h.setPageDbInfo = [](int page, const void* info) {
    return SetPageDbInfo(page, static_cast<const DbInfoHead*>(info));
  };
  h.showPaperSpace = [] { return ShowPaperSpace(); };
  h.showModelSpace = [] { return ShowModelSpace(); };
  h.showFrameView = [](const void* frame) { return ShowFrameView(frame); };
  h.markPageElements = [](CadMark* mark, int page) { return MarkPageElements(mark, page); };
  h.pageAttribute = [](int page) { return GetPageAttribute(page); };
  h.getPagePlacement = [](int page, int* v, double* s, double* a) { return GetPagePlacement(page, v, s, a); };
  h.setPagePlacement = [](int page, const int* v, const double* s, const double* a) {
    return SetPagePlacement(page, v, s, a);
  };
  h.countFrameElements = [](StoredElement** first) { return CountFrameElements(first); };
  h.updateFrameViewFlag = [](HWND window) { return UpdateFrameViewFlag(window); };
  h.deletePage = [](int page, int reserved) { return DeletePage(page, reserved); };
  h.getLayerNameOfPage = [](int page, int layer, char* name, char* second) {
    return GetLayerNameOfPage(page, layer, name, second);
  };
  h.setLayerNameOfPage = [](int page, int layer, const char* name, const char* group) {
    return SetLayerNameOfPage(page, layer, name, group);
  };
  h.collectUsedLayers = [](int r, unsigned char* flags, int page) { return CollectUsedLayers(r, flags, page); };
  // Running settings.
  h.undoLevel = [] { return Running().iUndoCount; };
  h.highlightColorSetting = [] { return LocalIni().iHighlightColor; };
  h.pointScaleFlag = [] { return Running().POINTSCALEFG; };
  h.elementHitFirst = [] { return Running().bElmHit; };
  h.yesNoTitle = [] { return std::string(Running().YESNOMSG); };
  h.soundFile = [] { return std::string(Running().wavPath); };
}

void InstallShellHostHooks() {
  CmdHostHooks& h = HostHooks();
  // The call log takes the command system's log lines too.
  h.writeLog = [](int level, const char* category, const char* text) {
    WriteSystemLogText(level, category, text ? text : "");
    ShellTrace("%s,%s", category ? category : "", text ? text : "");
  };
  h.showErrorMessage = [](int id) { ShowErrorMessage(GetMessageText(id)); };
  h.showErrorText = [](const char* text) { ShowErrorMessage(text); };
  h.launchKind = [] { return LaunchKind(); };
  h.appObject = []() -> void* { return &GetCadSystem(); };
  h.translateAccel = [](HWND frame, HACCEL table, MSG* msg) -> BOOL {
    return GetCadSystem().TranslateAccel(frame, table, msg);
  };
  h.statusBarWindow = [] { return StatusBarWindow(); };
  h.mdiClientWindow = [] { return MdiClientWindow(); };
  h.activeView = [] { return GetActiveView(); };
  h.focusActiveView = [] {
    if (HWND v = GetActiveView()) SetFocus(v);
  };
  h.closeRightClickPopup = [] { CloseRPMenu(); };
  h.systemCommand = RunShellSystemCommand;
  // DDE "{Open(": an open drawing is only activated, else it is opened.
  InstallDrawingServiceHooks(h);
  h.ddeOpenDrawing = [](const char* path) -> int {
    return (int)SendMessageA(MainFrameWindow(), UM_OPEN_DRAWING_FILE, 0, (LPARAM)path);
  };
}
