#include "view/point_search.h"

#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/mark_services.h"
#include "command/wait_loop.h"
#include "view/db_info.h"
#include "view/hover_search.h"
#include "view/key_cursor.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

// The active view's record with a drawing, and the pick aperture; false
// when there is nothing to search.
bool SearchContext(ViewData** data, double* aperture) {
    *data = GetViewData(GetActiveView());
    if (!*data || !(*data)->db) return false;
    *aperture = GetFindAreaInDrawing();
    return *aperture > 0;
}

CadPoint3 At(const double* p) { return CadPoint3{p[0], p[1], p[2]}; }

int Found(int found) {
    if (found && Running().bBeepFind) MessageBeep(MB_OK);
    return found ? 1 : 0;
}

}  // namespace

int SnapToPaperFrame(void* db, const double* rect, double* result) {
    DbInfoHead head;
    if (!db || !DAriGetDBInfo(&head, static_cast<DbHeader*>(db))) return 0;
    double s = CadGetF64(head.bytes, kInfoScale);
    if (!(s > 0 && s <= 99999999.0)) s = 1;
    const double w = head.DrawingWidth(), h = head.DrawingHeight();
    const RunningSettings& r = Running();
    const WaitState& ws = CmdWaitState();

    double candidates[10][2];
    int n = 0;
    auto add = [&](double x, double y) {
        candidates[n][0] = x;
        candidates[n][1] = y;
        ++n;
    };
    add(0, 0);
    if (r.bLastPosViewFg && ws.basePointShown) add(ws.inputBasePoint[0], ws.inputBasePoint[1]);
    if (!r.PAPERLINEDSPOFF) {
        add(w / 2, h / 2);
        add(-w / 2, h / 2);
        add(-w / 2, -h / 2);
        add(w / 2, -h / 2);
    }
    if (r.paperMargin.color > 0) {
        const PaperMarginEx& m = r.paperMargin;
        const bool wide = w > h;
        const double left = (wide ? m.left : m.left2) / s, right = (wide ? m.right : m.right2) / s;
        const double top = (wide ? m.top : m.top2) / s, bottom = (wide ? m.bottom : m.bottom2) / s;
        add(w / 2 - right, h / 2 - top);
        add(w / 2 - right, bottom - h / 2);
        add(left - w / 2, h / 2 - top);
        add(left - w / 2, bottom - h / 2);
    }
    for (int i = 0; i < n; ++i) {
        if (IsPointInsideRect(candidates[i][0], candidates[i][1], rect)) {
            result[0] = candidates[i][0];
            result[1] = candidates[i][1];
            return 1;
        }
    }
    return 0;
}

int SearchEndPoint(const double* point, double* result, void* mark) {
    if (IsKeyCursorMode()) {
        for (int i = 0; i < 3; ++i)
            result[i] = point[i];
        return 0;
    }
    ViewData* d;
    double a;
    if (!SearchContext(&d, &a)) return 0;
    const double rect[4] = {point[0] - a, point[1] + a, point[0] + a, point[1] - a};
    if (SnapToPaperFrame(d->db, rect, result)) {
        result[2] = point[2];
        return Found(1);
    }
    return Found(DAriSerchPoint(At(point), result, a, d->db, nullptr, d, static_cast<CadMark*>(mark)));
}

int SearchMidPoint(const double* point, double* result, void* mark) {
    ViewData* d;
    double a;
    if (!SearchContext(&d, &a)) return 0;
    return Found(DAriSerchPoint2(At(point), result, a, d, Running().TYUTEN, static_cast<CadMark*>(mark)));
}

int SearchCenterPoint(const double* point, double* result, void* mark) {
    ViewData* d;
    double a;
    if (!SearchContext(&d, &a)) return 0;
    return Found(DAriSerchPoint2_2(At(point), result, a, d, static_cast<CadMark*>(mark)));
}

int SearchCrossPoint(const double* point, double* result, void* mark) {
    ViewData* d;
    double a;
    if (!SearchContext(&d, &a)) return 0;
    // Every kind, layer, line type, colour and width crossing the aperture;
    // the options in force before are handed back afterwards.
    SearchOptionRecord before = {};
    DAriDbGetSerch(&before);
    SearchOptionRecord cross = before;
    const int32_t words[7] = {3, 0x87FFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    for (int i = 0; i < 7; ++i)
        cross.words[i] = words[i];
    DAriDbSetSerch(&cross);
    DAriSerchSetGrpFind(1);
    const int found = DAriSerchPoint3(At(point), result, a, d, static_cast<CadMark*>(mark));
    DAriSerchSetGrpFind(0);
    DAriDbSetSerch(&before);
    return Found(found);
}

int SearchOnLinePoint(const double* point, double* result, void* mark) {
    ViewData* d;
    double a;
    if (!SearchContext(&d, &a)) return 0;
    return Found(DAriSerchPoint4(At(point), result, a, d, static_cast<CadMark*>(mark)));
}

int SearchPointOfKind(int kind, const double* point, double* result) {
    switch (kind) {
    case kSearchEndPoint: return SearchEndPoint(point, result, nullptr);
    case kSearchCrossPoint: return SearchCrossPoint(point, result, nullptr);
    case kSearchCenterPoint: return SearchCenterPoint(point, result, nullptr);
    case kSearchMidPoint: return SearchMidPoint(point, result, nullptr);
    case kSearchOnLinePoint: return SearchOnLinePoint(point, result, nullptr);
    default: return 0;
    }
}
