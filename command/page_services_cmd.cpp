// CCadSysCmdPage: UM_PAGE_FUNC, the 29 page services of the active drawing
// by sub-code (wParam), and the zoom of the active view to a rectangle that
// UM_ZOOM_TO_RECT and sub-code 26 share.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include "command/command_system.h"
#include "command/drawing_access.h"
#include "command/host_hooks.h"
#include "command/host_objects.h"
#include "command/page_services_cmd.h"

using namespace drawing;

namespace {

const CmdRequest* Req(LPARAM lParam) { return reinterpret_cast<const CmdRequest*>(lParam); }
CmdRequest* ReqOut(LPARAM lParam) { return reinterpret_cast<CmdRequest*>(lParam); }

// A view mode's set: offset x, offset y, scale.
bool ViewSet(HWND view, int mode, double set[3]) {
    auto& get = HostHooks().getViewSet;
    return get && get(view, mode, set);
}

int StoredViewMode(HWND view) { return HostHooks().viewMode ? HostHooks().viewMode(view) : -1; }

// The page record of a page of the active drawing (heap: 106 kB).
std::unique_ptr<PageRecord> ReadPage(int page, DbHeader* db, bool* found) {
    std::unique_ptr<PageRecord> record(new PageRecord());
    *found = DAriGetPage(page, record.get(), db) != 0;
    return record;
}

LRESULT PageArg(const CmdRequest* req) { return req ? req->arg : 0; }

// --- The sub-codes -----------------------------------------------------------------

using SubCode = LRESULT (*)(LPARAM lParam, DbHeader* db);

LRESULT CurrentPageOf(LPARAM, DbHeader*) { return CurrentPage(); }

LRESULT SetCurrent(LPARAM lParam, DbHeader*) {
    auto& set = HostHooks().setCurrentPage;
    return set && Req(lParam) ? set(Req(lParam)->arg) : 0;
}

LRESULT GetState(LPARAM lParam, DbHeader*) {
    auto& get = HostHooks().getPageState;
    return get && Req(lParam) ? get(reinterpret_cast<PageStateBlock*>(Req(lParam)->w.text)) : 0;
}

LRESULT SetState(LPARAM lParam, DbHeader*) {
    auto& set = HostHooks().setPageState;
    return set && Req(lParam) ? set(reinterpret_cast<const PageStateBlock*>(Req(lParam)->w.text)) : 0;
}

LRESULT CheckPage(LPARAM lParam, DbHeader* db) { return DAriChkPage(static_cast<int>(lParam), db); }

LRESULT AddPage(LPARAM lParam, DbHeader*) {
    auto& add = HostHooks().addPageFrom;
    const CmdRequest* req = Req(lParam);
    if (!add || !req) return 0;
    const int result = add(req->arg, static_cast<int>(req->element));
    if (result) MarkModified(nullptr);
    return result;
}

LRESULT GetLayers(LPARAM lParam, DbHeader* db) {
    const CmdRequest* req = Req(lParam);
    return req ? DAriGetLayerInfo(req->arg, reinterpret_cast<LayerTable*>(req->w.text), db) : 0;
}

LRESULT SetLayers(LPARAM lParam, DbHeader* db) {
    const CmdRequest* req = Req(lParam);
    if (!req) return 0;
    const int result = DAriSetLayerInfo(req->arg, reinterpret_cast<const LayerTable*>(req->w.text), db);
    if (result) MarkModified(nullptr);
    return result;
}

LRESULT GetInfo(LPARAM lParam, DbHeader*) {
    auto& get = HostHooks().getPageDbInfo;
    const CmdRequest* req = Req(lParam);
    return get && req ? get(req->arg, reinterpret_cast<void*>(req->w.text)) : 0;
}

LRESULT SetInfo(LPARAM lParam, DbHeader*) {
    auto& set = HostHooks().setPageDbInfo;
    const CmdRequest* req = Req(lParam);
    if (!set || !req) return 0;
    const int result = set(req->arg, reinterpret_cast<const void*>(req->w.text));
    if (result) MarkModified(nullptr);
    return result;
}

LRESULT PaperSpace(LPARAM, DbHeader*) {
    auto& show = HostHooks().showPaperSpace;
    return show ? show() : 0;
}

LRESULT ModelSpace(LPARAM, DbHeader*) {
    auto& show = HostHooks().showModelSpace;
    return show ? show() : 0;
}

LRESULT MarkPage(LPARAM lParam, DbHeader*) {
    auto& mark = HostHooks().markPageElements;
    const CmdRequest* req = Req(lParam);
    return mark && req ? mark(Mark(static_cast<uint32_t>(req->word6c)), req->arg) : 0;
}

LRESULT PageLevel(LPARAM lParam, DbHeader* db) { return DAriGetPageLv(static_cast<int>(PageArg(Req(lParam))), db); }

LRESULT DownNextPage(LPARAM lParam, DbHeader* db) {
    const CmdRequest* req = Req(lParam);
    return req ? DAriGetDownNextPage(req->arg, req->word6c, db) : 0;
}

LRESULT FrameView(LPARAM lParam, DbHeader*) {
    auto& show = HostHooks().showFrameView;
    const CmdRequest* req = Req(lParam);
    return show && req ? show(reinterpret_cast<const void*>(req->element)) : 0;
}

LRESULT ViewModeOf(LPARAM, DbHeader*) {
    const int mode = StoredViewMode(ActiveView());
    return (mode >= 0 && mode <= 2) ? mode : 0;
}

LRESULT Attribute(LPARAM lParam, DbHeader*) {
    auto& attr = HostHooks().pageAttribute;
    return attr && Req(lParam) ? attr(Req(lParam)->arg) : 0;
}

// Sub-codes 18 and 19: six ints from +0x3c, the scale at the double +0x20
// points to, the angle at the one +0x1c points to.
LRESULT GetPlacement(LPARAM lParam, DbHeader*) {
    auto& get = HostHooks().getPagePlacement;
    CmdRequest* req = ReqOut(lParam);
    if (!get || !req) return 0;
    int values[6] = {};
    const int result =
        get(req->arg, values, reinterpret_cast<double*>(req->picked), reinterpret_cast<double*>(req->w.anglePtr));
    std::memcpy(req->pt1, values, sizeof values);
    return result;
}

LRESULT SetPlacement(LPARAM lParam, DbHeader*) {
    auto& set = HostHooks().setPagePlacement;
    const CmdRequest* req = Req(lParam);
    if (!set || !req) return 0;
    int values[6];
    std::memcpy(values, req->pt1, sizeof values);
    const int result = set(req->arg, values, reinterpret_cast<const double*>(req->picked),
                           reinterpret_cast<const double*>(req->w.anglePtr));
    if (result) MarkModified(nullptr);
    return result;
}

LRESULT VisibleRect(LPARAM lParam, DbHeader*) {
    CmdRequest* req = ReqOut(lParam);
    HWND view = ActiveView();
    if (!req) return 0;
    const int mode = req->arg;
    double set[3];
    if (mode < 0 || mode > 2 || !ViewSet(view, mode, set)) return 1;
    RECT client = {0, 0, 0, 0};
    GetClientRect(view, &client);
    const int w = client.right - client.left, h = client.bottom - client.top;
    const int hw = w / 2, hh = h / 2;
    const double s = set[2] != 0 ? set[2] : 1.0;
    const double corners[2][3] = {{-hw / s - set[0], hh / s - set[1], 0},
                                  {(w - hw) / s - set[0], -(h - hh) / s - set[1], 0}};
    // Only x and y of each corner are written; z stays as the module left it.
    std::memcpy(req->pt1, corners[0], 16);
    std::memcpy(req->pt2, corners[1], 16);
    return 1;
}

LRESULT TransFlag(LPARAM lParam, DbHeader*) { return DAriSetTransFg(static_cast<int>(lParam)); }

LRESULT FrameElements(LPARAM lParam, DbHeader*) {
    auto& count = HostHooks().countFrameElements;
    CmdRequest* req = ReqOut(lParam);
    if (!count || !req) return 0;
    StoredElement* first = nullptr;
    const int n = count(&first);
    req->element = Word(first);
    return n;
}

LRESULT ExternalRef(LPARAM lParam, DbHeader* db) {
    const int page = static_cast<int>(PageArg(Req(lParam)));
    if (page == 0) return 0;
    bool found = false;
    std::unique_ptr<PageRecord> record = ReadPage(page, db, &found);
    return found ? record->externalRef : 0;
}

LRESULT FrameViewFlag(LPARAM lParam, DbHeader*) {
    auto& update = HostHooks().updateFrameViewFlag;
    return update ? update(reinterpret_cast<HWND>(lParam)) : 0;
}

LRESULT ParamCopy(LPARAM lParam, DbHeader*) {
    const CmdRequest* req = Req(lParam);
    if (!req) return 0;
    const int result = DAriElementParamCopy(Element(static_cast<uint32_t>(req->word6c)), Element(req->word70));
    if (result) MarkModified(nullptr);
    return result;
}

LRESULT ZoomInMode(LPARAM lParam, DbHeader*) {
    const CmdRequest* from = Req(lParam);
    HWND view = ActiveView();
    if (!from) return 0;
    CmdRequest req = {};
    std::memcpy(req.pt1, from->pt1, sizeof req.pt1);
    std::memcpy(req.pt2, from->pt2, sizeof req.pt2);
    const int kept = StoredViewMode(view);
    auto& setMode = HostHooks().setViewMode;
    if (from->arg >= 0 && from->arg <= 2 && setMode) setMode(view, from->arg);
    ZoomViewToRect(&req);
    if (setMode && kept >= 0) setMode(view, kept);
    return 1;
}

LRESULT NextPage(LPARAM lParam, DbHeader* db) {
    std::unique_ptr<PageRecord> record(new PageRecord());
    return DAriGetNextPage(static_cast<int>(lParam), record.get(), db);
}

LRESULT PageParent(LPARAM lParam, DbHeader* db) {
    bool found = false;
    std::unique_ptr<PageRecord> record = ReadPage(static_cast<int>(lParam), db, &found);
    return found ? record->parent : 0;
}

const SubCode kSubCodes[29] = {
    CurrentPageOf, SetCurrent, GetState,     SetState,     CheckPage,   AddPage,   GetLayers,     SetLayers,
    GetInfo,       SetInfo,    PaperSpace,   ModelSpace,   MarkPage,    PageLevel, DownNextPage,  FrameView,
    ViewModeOf,    Attribute,  GetPlacement, SetPlacement, VisibleRect, TransFlag, FrameElements, ExternalRef,
    FrameViewFlag, ParamCopy,  ZoomInMode,   NextPage,     PageParent,
};

// Sub-codes that need no drawing: the library's transform flag and the
// frame-view flag of a window the module names.
bool NeedsNoView(WPARAM code) { return code == 21 || code == 24; }

}  // namespace

int ZoomViewToRect(const CmdRequest* req) {
    HWND view = ActiveView();
    DbHeader* db = ViewDb(view);
    if (!view || !req) return 0;
    double p1[3], p2[3];
    GetRequestPoint(req->pt1, p1);
    GetRequestPoint(req->pt2, p2);
    const double x1 = p1[0], y1 = p1[1], x2 = p2[0], y2 = p2[1];
    double w = std::fabs(x1 - x2), h = std::fabs(y1 - y2);
    DbInfo* info = db ? DAriGetDbInfoPtr(0, db) : nullptr;
    if (w == 0 && info) w = CadGetF64(info, kInfoDrawW);
    if (h == 0 && info) h = CadGetF64(info, kInfoDrawH);
    RECT client = {0, 0, 0, 0};
    GetClientRect(view, &client);
    const double cw = client.right - client.left, ch = client.bottom - client.top;
    double scale = std::fabs(std::min(w > 0 ? cw / w : HUGE_VAL, h > 0 ? ch / h : HUGE_VAL));
    // A rectangle without extent and a drawing without paper keep the scale.
    const int mode = StoredViewMode(view);
    double set[3];
    if (mode < 0 || mode > 2 || !ViewSet(view, mode, set)) return 1;
    if (!std::isfinite(scale) || scale <= 0) scale = set[2];
    if (HostHooks().zoomFitRatio) scale *= HostHooks().zoomFitRatio(view);
    const double updated[3] = {-(x1 + x2) / 2, -(y1 + y2) / 2, scale};
    if (HostHooks().setViewSet) HostHooks().setViewSet(view, mode, updated);
    InvalidateRect(view, nullptr, TRUE);
    UpdateWindow(view);
    if (HWND bar = CmdStatusBar()) SendMessageA(bar, WM_COMMAND, 100, 0);
    return 1;
}

LRESULT CCadSysCmdPage::OnPageFunc(UINT, WPARAM wParam, LPARAM lParam, BOOL& handled) {
    if (wParam > 28) {
        handled = FALSE;
        return 0;
    }
    DbHeader* db = ActiveDb();
    if (!db && !NeedsNoView(wParam)) return 0;
    return kSubCodes[wParam](lParam, db);
}

LRESULT CCadSysCmd::OnZoomToRect(UINT, WPARAM, LPARAM lParam, BOOL&) {
    return ZoomViewToRect(reinterpret_cast<const CmdRequest*>(lParam));
}
