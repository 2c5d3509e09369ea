#include "shell/drawing_services.h"
#include "setup/layer_dialogs.h"
#include "shell/ui_library.h"
#include "shell/cad_system.h"
#include "shell/drawing_types.h"
#include "shell/file_open_dialog.h"
#include "shell/placement_db.h"

#include <string>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "panels/panel_windows.h"
#include "setup/layers.h"
#include "setup/page_services.h"
#include "shell/main_frame.h"
#include "shell/open_road.h"
#include "shell/ui_library.h"
#include "shell/yes_no_services.h"
#include "view/drawing_state.h"
#include "view/geometry.h"
#include "view/input_scale.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"
#include "view/view_transform.h"

void ClearDrawingEventWords(ViewData* data) {
    if (!data) return;
    const int drawing = data->drawingId;
    if (data->shared) {
        for (HWND v = GetActiveView(); v; v = GetNextView(v))
            if (ViewData* other = GetViewData(v))
                if (other->drawingId == drawing) other->drawingEvent = 0;
    }
    data->drawingEvent = 0;
}

namespace {

HWND NewUntitledDrawingWindow() {
    auto* frame = dynamic_cast<CMainFrame*>(CWindowBase::FromHandle(CmdMainFrame()));
    return frame ? frame->NewDrawingWindow(frame->m_hWnd, 0, nullptr, nullptr) : nullptr;
}

// Without the edge buttons the whole view is the fit's room.
double EdgeButtonFitRatio(HWND view) { return Running().bScTestBtn ? GetViewFitRatio(view) : 1.0; }

}  // namespace

void InstallDrawingServices(CmdHostHooks& h) {
    // Drawing windows.
    h.viewDb = [](HWND view) { return GetViewDb(view); };
    h.viewRecord = [](HWND view) -> void* { return GetViewData(view); };
    h.findViewByDb = [](DbHeader* db) { return FindViewByDb(db); };
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
    h.inputToDrawRatioOf = [](HWND view) { return GetInputToDrawRatioOf(view); };
    h.toInputScalePointOf = [](HWND view, double* p) { ToInputScalePointOf(view, p); };
    h.fromInputScalePointOf = [](HWND view, double* p) { FromInputScalePointOf(view, p); };
    // The loupe window takes no input of its own yet: picks always use the
    // view's aperture.
    h.loupePickDistance = [] { return -1.0; };
    h.uiHighlightColor = [] { return UiHighlightColor(); };
    h.runYesNoDialog = RunPickQuestion;

    // Geometry.
    h.drawingTolerance = [] { return GetDrawingTolerance(); };
    h.transformPointAffine = [](double* x, double* y, const double* t) { TransformPointAffine(x, y, t); };
    h.transformElementCoords = [](void* e, double a, double sx, double sy, double px, double py, double bx, double by) {
        return TransformElementCoords(e, a, sx, sy, px, py, bx, by);
    };
    h.intersectLines = [](double* c, const double* a1, const double* a2, const double* b1, const double* b2) {
        return IntersectLines(c, a1, a2, b1, b2);
    };
    h.intersectLineCircle = [](double* f, double* s, const double* a, const double* b, const double* c, double r) {
        return IntersectLineCircle(f, s, a, b, c, r);
    };
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
    h.loadFileToTempDb = [](HWND owner, const char* file, void* info, void* layers) {
        return LoadFileToTempDb(owner, file, info, layers);
    };
    h.runFileOpenDialog = [](HWND owner, int mode) { return RunFileOpenDialog(owner, mode); };
    h.drawingTypeFromExtension = [](const char* path) { return DrawingTypeFromExtension(path); };
    h.setCurrentPageLayer = [](int page, int layer) { GetCadSystem().SetCurrentPageLayer(page, layer); };
    h.enableModelessWindow = [](int enable) { return UiEnableCurModelessWindow(enable); };
    h.runLayerManager = [](HWND parent) { return RunLayerManagerDialog(parent); };
    h.runAddLayerDialog = [](HWND parent) { return RunAddLayerDialog(parent); };
    h.inputLayerDialog = [](int code) { ShowInputLayerDialog(code); };

    // Running settings.
    h.highlightColorSetting = [] { return LocalIni().iHighlightColor; };
    h.pointScaleFlag = [] { return Running().POINTSCALEFG; };
    h.elementHitFirst = [] { return Running().bElmHit; };
    h.yesNoTitle = [] { return std::string(Running().YESNOMSG); };
    h.soundFile = [] { return std::string(Running().wavPath); };
}
