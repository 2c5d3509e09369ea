#include "view/element_snap_search.h"

#include "cadlib/WmCadApiDb.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "panels/rp_menu.h"
#include "view/cursor_popups.h"
#include "view/key_cursor.h"
#include "view/hover_search.h"
#include "view/point_search.h"
#include "view/raster.h"
#include "view/rubber_band.h"
#include "view/view_data.h"
#include "view/view_table.h"

uint32_t MarkElementsAtCursor(const double point[3], int* count) {
    if (count) *count = 0;
    HWND view = GetActiveView();
    ViewData* data = GetViewData(view);
    if (!data || !data->db) return 0;
    const double aperture = GetFindAreaInDrawing();
    const int pageDetection = DAriSetPageDetFlag(1);
    SearchOptionRecord before = {};
    DAriDbGetSerch(&before);
    SearchOptionRecord around = before;
    const int32_t words[7] = {3, 0xE7FFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    for (int i = 0; i < 7; ++i)
        around.words[i] = words[i];
    DAriDbSetSerch(&around);
    DAriSerchSetGrpFind(1);
    CadMark* mark = aperture > 0 ? DAriGetElementMarkByPointWithMark(CadPoint3{point[0], point[1], point[2]}, aperture,
                                                                     data->db, data, nullptr)
                                 : nullptr;
    DAriSerchSetGrpFind(0);
    DAriDbSetSerch(&before);
    DAriSetPageDetFlag(pageDetection);
    if (!mark) mark = DAriCreateMark(data->db);
    if (mark && count) *count = DAriGetMarkNum(mark);
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(mark));
}

int SearchInMark(int kind, const double point[3], double out[3], uint32_t markWord) {
    void* mark = reinterpret_cast<void*>(static_cast<uintptr_t>(markWord));
    switch (kind) {
    case kSearchEndPoint: return SearchEndPoint(point, out, mark);
    case kSearchCrossPoint: return SearchCrossPoint(point, out, mark);
    case kSearchCenterPoint: return SearchCenterPoint(point, out, mark);
    case kSearchMidPoint: return SearchMidPoint(point, out, mark);
    case kSearchOnLinePoint: return SearchOnLinePoint(point, out, mark);
    case 6: {
        double p[3] = {point[0], point[1], point[2]};
        if (!TransformRasterElement(point[0], point[1], p)) return 0;
        for (int i = 0; i < 3; ++i)
            out[i] = p[i];
        return 1;
    }
    default: return 0;
    }
}

void InstallViewSnapHooks() {
    CmdHostHooks& h = HostHooks();
    h.loupeFlag = [] { return InputFromLoupe; };
    h.clearLoupeFlag = [] { InputFromLoupe = 0; };
    h.gridSnapOn = [] { return RPMenuState.gridSnap; };
    h.keyboardCursorMode = [] { return IsKeyCursorMode(); };
    h.getCursorWorldPoint = [](double pt[3]) { GetCursorWorldPoint(pt); };
    h.getInputCursorPoint = [](double pt[3]) { GetInputCursorPoint(pt); };
    h.getGridSnappedCursorPoint = [](double pt[3]) { GetGridSnappedCursorPoint(pt); };
    h.keySnappedCursorPoint = [](double pt[3]) { return GetKeySnappedCursorPoint(pt); };
    h.drawInputBasePoint = [](int mode) { DrawInputBasePoint(0, 0, mode); };
    h.markAtCursor = MarkElementsAtCursor;
    h.searchInMark = SearchInMark;
    h.destroyMark = [](uint32_t mark) { DAriDestroyMark(reinterpret_cast<CadMark*>(mark)); };
    h.showSnapKind = [](int code, const double pt[3]) { CSnapWin::ShowAtWorld(code, pt); };
    h.panelEditHoldsInput = [] { return RPMenuState.editFocus; };
    h.relativeInputOn = [] { return RPMenuState.relativeInput; };
    h.getLockLayerSearchMode = [] { return TqGetLockLaySearchMode(); };
    h.setLockLayerSearchMode = [](int mode) { TqSetLockLaySearchMode(mode); };
}

int PreviewSnapAtCursor() {
    HoverSnap = HoverSnapRecord();
    HWND view = GetActiveView();
    if (!GetViewData(view)) return 0;
    double point[3] = {0, 0, 0};
    int kind = SNAP_FOUND_NONE;
    SearchElementsAtCursor(point, nullptr, 0, &kind);
    // A free point or a raster point is no candidate of the drawing.
    if (kind < SNAP_FOUND_END || kind > SNAP_FOUND_CENTRE) return 0;
    HoverSnap.kind = kind;
    HoverSnap.view = view;
    for (int i = 0; i < 3; ++i)
        HoverSnap.point[i] = point[i];
    return kind;
}
