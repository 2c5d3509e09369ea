#include "view/host_view_service.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/apply_settings.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "cadlib/WmCadApiDb.h"
#include "command/cad_app_cmd.h"
#include "command/command_system.h"
#include "command/drawing_events.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/safe_call.h"
#include "command/selection_services.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "view/db_ext.h"
#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/element_transform.h"
#include "view/input_scale.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"

int KeepCmdOnCloseFlag = 0;

namespace {

CmdRequest* Req(LPARAM lParam) { return reinterpret_cast<CmdRequest*>(lParam); }
HWND Main() { return CmdMainFrame(); }

void Redraw(HWND view, BOOL erase) {
    if (!view) return;
    InvalidateRect(view, nullptr, erase);
    UpdateWindow(view);
}

// Every view that shows the drawing of `data` (itself included), for the
// words a drawing shown in several windows keeps alike.
template <class Fn>
void ForDrawingViews(ViewData* data, Fn fn) {
    fn(data);
    if (!data->shared) return;
    for (HWND v = GetActiveView(); v; v = GetNextView(v))
        if (ViewData* other = GetViewData(v))
            if (other != data && other->drawingId == data->drawingId) fn(other);
}

// A pen of a drawing's own table as a COLORREF (pens 1-256).
COLORREF DrawingPen(const DbInfo* info, int pen) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(info);
    const unsigned char* entry = bytes + 37127 + static_cast<size_t>(pen - 1) * 269;
    return RGB(entry[0], entry[4], entry[8]);
}

LRESULT ColorTable(WPARAM kind, LPARAM lParam) {
    auto* out = reinterpret_cast<COLORREF*>(lParam);
    if (!out) return 0;
    const COLORREF back = GetDrawBackColor();
    const int k = static_cast<int>(kind);
    bool adjust;
    if (k % 100 == 0) {
        for (int i = 1; i <= 256; ++i)
            out[i] = Running().penColors[i];
        adjust = (k & 0xFFFF) == 100;
    } else {
        DbHeader* db = GetActiveViewDb();
        const DbInfo* info = db ? DAriGetDbInfoPtr(0, db) : nullptr;
        if (!info) return 0;
        for (int i = 1; i <= 256; ++i)
            out[i] = DrawingPen(info, i);
        adjust = k - k % 100 == 100;
    }
    out[0] = back;
    if (adjust)
        for (int i = 1; i <= 256; ++i)
            out[i] = ContrastColor(out[i], back, Running().bColorMode);
    return 1;
}

LRESULT PaperRect(LPARAM lParam) {
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    const PaperMarginEx& m = Running().paperMargin;
    if (!view || !db || m.color <= 0) return 0;
    DbInfoHead head;
    if (!DAriGetDBInfo(&head, db)) return 0;
    double s = CadGetF64(head.bytes, kInfoScale);
    if (std::fabs(s) < 1e-8 || s >= 1e8) s = 1;
    const double w = head.DrawingWidth(), h = head.DrawingHeight();
    const bool landscape = h < w;
    const double left = (landscape ? m.left : m.left2) / s, right = (landscape ? m.right : m.right2) / s;
    const double top = (landscape ? m.top : m.top2) / s, bottom = (landscape ? m.bottom : m.bottom2) / s;
    if (auto* out = reinterpret_cast<double*>(lParam)) {
        const double rect[4] = {-w / 2 + left, h / 2 - top, w / 2 - right, -h / 2 + bottom};
        std::memcpy(out, rect, sizeof rect);
    }
    return 1;
}

// Clears the selected bit of an element and, for groups of kinds 21 and
// 22, of their members.
void Deselect(StoredElement* e) {
    e->selection &= ~1u;
    if (e->rec.kind != kElmGroup && e->rec.kind != kElmGroup2) return;
    long left = e->count;
    for (StoredElement* m = e->member; m && left > 0; m = m->member) {
        --left;
        if (m->rec.kind == kElmGroup || m->rec.kind == kElmGroup2) left += m->count;
        m->selection &= ~1u;
    }
}

LRESULT DeselectAll(LPARAM lParam) {
    RequestPopupRefresh();
    DbHeader* db = lParam ? reinterpret_cast<DbHeader*>(lParam) : GetActiveViewDb();
    if (!db) return 1;
    ElementRecord buffer;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &buffer, db); e; e = DAriReadElement(e, 1, &buffer, db)) {
        e->selection &= ~1u;
        ForEachMemberLink(e, [](StoredElement* m) { m->selection &= ~1u; });
    }
    return 1;
}

double DoubleAt(uint32_t address, double fallback) {
    if (!address) return fallback;
    double v;
    std::memcpy(&v, reinterpret_cast<const void*>(address), sizeof v);
    return v;
}

// The drag preview reads the module's angle and scale through pointers it
// was handed; a bad one must not take the program down, nor leave the
// preview half-drawn for the next call, so it runs under the fault guard.
// Faults in the host's own image count too: the pointers are the
// module's, the reads are ours.
LRESULT DragTransform(const CmdRequest* req) {
    const CmdRequest r = *req;
    int result = 0;
    DWORD code = 0;
    const bool ran = GuardedCall(
        [&] {
            return DrawTransformedPreview(r.pt1, r.pt2, DoubleAt(r.w.anglePtr, 0), DoubleAt(r.picked, 1), r.w.mode,
                                          reinterpret_cast<void*>(r.mark), r.view);
        },
        &result, &code, GetModuleHandleA(nullptr));
    if (!ran) CmdLog(2, "Error", "UM_DRAG_TRANSFORM %08lX", static_cast<unsigned long>(code));
    return 1;
}

// The page/layer overview of the request's view on (+0x10 1) or off (0)
// through the overview toggle; switching it off tells the modal wait.
LRESULT OverviewSwitch(const CmdRequest* req) {
    ViewData* data = req ? GetViewData(req->view) : nullptr;
    if (!data) return 0;
    if (data->overviewLevel != 0 && req->w.mode == 0) {
        SendMessageA(Main(), WM_COMMAND, 1230, 0);
        CmdWaitState().overviewClosed = 1;
    } else if (data->overviewLevel == 0 && req->w.mode == 1) {
        SendMessageA(Main(), WM_COMMAND, 1230, 0);
    }
    return 1;
}

// The pop-ups show or hide with the band redrawn around them.
void PrepareToggle() {
    DocumentChangedFlag = 1;
    RequestPopupRefresh();
    UpdateRubberBand(GetActiveView(), 0, 0, 1);
}

void ActivateMainFrame() {
    if (HWND frame = Main()) SetActiveWindow(frame);
}

LRESULT ToggleLoupe() {
    HWND loupe = LoupeWindow();
    if (!loupe) return 1;
    PrepareToggle();
    if (IsWindowVisible(loupe)) {
        ShowLoupe(0);
        return 1;
    }
    // Shown with its centre on the cursor.
    POINT c;
    GetCursorPos(&c);
    RECT wr;
    GetWindowRect(loupe, &wr);
    SetWindowPos(loupe, nullptr, c.x - (wr.right - wr.left) / 2, c.y - (wr.bottom - wr.top) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowLoupe(1);
    ActivateMainFrame();
    return 1;
}

// The layout-view pop-up shown (1) or hidden (0); `how` is the value the
// log line carries.
LRESULT LayoutView(int show, long how) {
    PrepareToggle();
    WriteSystemLog(2, "Layoutview", show ? "%ld On" : "%ld Off", how);
    ShowLayoutView(show);
    if (show) ActivateMainFrame();
    return 1;
}

LRESULT DrawingFileName(WPARAM write, LPARAM lParam) {
    HWND view = GetActiveView();
    ViewData* data = GetViewData(view);
    char* buffer = reinterpret_cast<char*>(lParam);
    if (!data || !buffer) return 0;
    if (!write) {
        lstrcpynA(buffer, data->fileName, sizeof data->fileName);
        return 1;
    }
    // The module's text is taken up to the size of the name field only.
    char name[sizeof data->fileName];
    lstrcpynA(name, buffer, sizeof name);
    SetDrawingFileName(view, 0, name);
    ForDrawingViews(data, [&](ViewData* d) { lstrcpynA(d->fileName, name, sizeof d->fileName); });
    return 1;
}

LRESULT MemoColour() {
    DbHeader* db = GetActiveViewDb();
    DbExtRecord* ext = GetDbExtRecord(db);
    if (!ext || !ext->words[2]) return 0;
    DbInfoHead head;
    if (!DAriGetDBInfo(&head, reinterpret_cast<DbHeader*>(static_cast<uintptr_t>(ext->words[2])))) return 0;
    char text[32];
    lstrcpynA(text, reinterpret_cast<const char*>(head.bytes + kInfoMemoColour), sizeof text);
    return std::atoi(text);
}

LRESULT ElementExtent(const CmdRequest* req) {
    double box[4] = {0, 0, 0, 0};
    const int r = GetElementExtent(req->view, nullptr, reinterpret_cast<const StoredElement*>(req->word6c), box);
    if (auto* first = reinterpret_cast<double*>(req->element)) {
        first[0] = box[0];
        first[1] = box[1];
    }
    if (auto* second = reinterpret_cast<double*>(req->element2)) {
        second[0] = box[2];
        second[1] = box[3];
    }
    return r;
}

// --- Sub-codes ----------------------------------------------------------------

char g_cmdLineBuffer[MAX_PATH];

LRESULT ViewFunc(WPARAM code, LPARAM lParam, bool* handled) {
    HWND view = GetActiveView();
    ViewData* data = GetViewData(view);
    switch (code) {
    case 0: return data ? data->drawingEvent : -1;
    case 1:
        if (!data || (lParam != 0 && lParam != 1)) return 0;
        ForDrawingViews(data, [&](ViewData* d) { d->drawingEvent = static_cast<int32_t>(lParam); });
        return 1;
    case 2: return Executor().runningModuleCmdId;
    case 3: {
        if (!data) return 0;
        if (lParam == 2) return data->readOnly;
        if (lParam != 0 && lParam != 1) return 0;
        ForDrawingViews(data, [&](ViewData* d) { d->readOnly = static_cast<int32_t>(lParam); });
        DbInfoHead head;
        if (data->db && DAriGetDBInfo(&head, data->db)) ResetViewAfterDbChange(&head, view);
        return 1;
    }
    case 4:
        if (!GetCmdLineOfId(static_cast<int>(lParam), g_cmdLineBuffer, sizeof g_cmdLineBuffer)) return 0;
        return reinterpret_cast<LRESULT>(g_cmdLineBuffer);
    case 5: return ExecDrawingEventCmd(data, 4);
    case 6: return data ? data->modified : -1;
    case 7: *handled = false; return 0;  // the save road: the shell's
    case 8: return Running().backgroundMode;
    case 9: return Running().bColorMode;
    default: return 0;
    }
}

// Fields of the module's font request and of the library's dictionary block.
template <class T>
T Get(const unsigned char* base, size_t at) {
    T v;
    std::memcpy(&v, base + at, sizeof v);
    return v;
}
template <class T>
void Put(unsigned char* base, size_t at, T v) {
    std::memcpy(base + at, &v, sizeof v);
}

LRESULT FontDicFunc(WPARAM wParam, LPARAM lParam) {
    auto* r = reinterpret_cast<unsigned char*>(lParam);
    const int code = static_cast<int>(wParam);
    if (!r && code != 19) return 0;
    unsigned char b[364] = {};
    const auto addr = [r](size_t at) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(r + at)); };
    auto out10 = [&] {
        Put(r, 0x282, Get<double>(b, 0x126));
        Put(r, 0x28a, Get<double>(b, 0x12e));
    };
    auto block11 = [&] {
        Put(b, 0x008, Get<int32_t>(r, 0x008));
        Put(b, 0x00c, Get<int32_t>(r, 0x00c));
        Put(b, 0x010, Get<int32_t>(r, 0x010));
        Put(b, 0x14e, Get<uint32_t>(r, 0x2aa));
        Put(b, 0x152, addr(0x018));
    };
    switch (code) {
    case 1:
    case 2:
    case 20: return DAriDicFunction(code, r);
    case 3:
        Put(b, 0x14e, addr(0x17c));
        Put(b, 0x152, Get<uint32_t>(r, 0x2aa));
        Put(b, 0x156, Get<uint32_t>(r, 0x2ae));
        return DAriDicFunction(code, b);
    case 4:
    case 5:
    case 6:
    case 7:
        Put(b, 0x14e, addr(0x17c));
        Put(b, 0x152, Get<uint32_t>(r, 0x2aa));
        Put(b, 0x126, Get<double>(r, 0x282));
        Put(b, 0x12e, Get<double>(r, 0x28a));
        if (code == 5 || code == 7) {
            Put(b, 0x008, Get<int32_t>(r, 0x008));
            Put(b, 0x00c, Get<int32_t>(r, 0x00c));
        }
        DAriDicFunction(code, b);
        Put(r, 0x292, Get<double>(b, 0x136));
        return 1;
    case 8:
    case 9:
        Put(b, 0x14e, addr(0x17c));
        DAriDicFunction(code, b);
        Put(r, 0x282, Get<double>(b, 0x126));
        return 1;
    case 10:
    case 12:
        Put(b, 0x14e, Get<uint32_t>(r, 0x2aa));
        Put(b, 0x152, addr(0x018));
        DAriDicFunction(code, b);
        out10();
        return 1;
    case 11:
        block11();
        DAriDicFunction(code, b);
        out10();
        return 1;
    case 13:
        Put(b, 0x14e, addr(0x018));
        DAriDicFunction(code, b);
        Put(r, 0x008, Get<int32_t>(b, 0x008));
        return 1;
    case 14:
        block11();
        DAriDicFunction(code, b);
        Put(r, 0x282, Get<double>(b, 0x126));
        return 1;
    case 15:
    case 16:
        Put(b, 0x14e, addr(0x018));
        DAriDicFunction(code, b);
        out10();
        return 1;
    case 17:
        Put(b, 0x008, Get<int32_t>(r, 0x008));
        Put(b, 0x14e, addr(0x018));
        DAriDicFunction(code, b);
        out10();
        return 1;
    case 18:
        Put(b, 0x14e, addr(0x018));
        Put(b, 0x152, Get<uint32_t>(r, 0x2aa));
        DAriDicFunction(code, b);
        return 1;
    case 19: return Running().EXTDIC ? 123 : 1;
    case 21: {
        const int32_t kind = Get<int32_t>(r, 0x008);
        if (kind == 1 || kind == 2) {
            Put(r, 0x00c, static_cast<int32_t>(DAriGetFontNum(kind)));
        } else if (kind == 3 || kind == 4) {
            Put(b, 0x008, kind);
            Put(b, 0x00c, Get<int32_t>(r, 0x00c));
            Put(b, 0x14e, addr(0x17c));
            DAriDicFunction(code, b);
        }
        return 1;
    }
    case 22:
        Put(b, 0x14e, Get<uint32_t>(r, 0x2aa));
        DAriDicFunction(code, b);
        return 0;
    case 23: Put(r, 0x008, static_cast<int32_t>(DAriGetFontNum(0))); return 1;
    case 24: return reinterpret_cast<LRESULT>(DAriGetFontNm(0, Get<int32_t>(r, 0x008), Get<int32_t>(r, 0x2aa)));
    default: return 0;
    }
}

}  // namespace

COLORREF ContrastColor(COLORREF colour, COLORREF background, int colourMode) {
    colour &= 0xFFFFFF;
    if (colour != (background & 0xFFFFFF)) return colour;
    if (colourMode == 0) return colour;
    const int ch[3] = {GetRValue(colour), GetGValue(colour), GetBValue(colour)};
    int out[3];
    for (int i = 0; i < 3; ++i)
        out[i] = colourMode == 2 ? 255 - ch[i] : (ch[i] > 230 ? ch[i] - 16 : ch[i] + 16);
    return RGB(out[0], out[1], out[2]);
}

LRESULT ViewHostService(UINT msg, WPARAM wParam, LPARAM lParam, bool* handled) {
    *handled = true;
    HWND view = GetActiveView();
    ViewData* data = GetViewData(view);
    CmdRequest* req = Req(lParam);
    switch (msg) {
    // Views and windows.
    case UM_FOCUS_VIEW:
        if (HostHooks().focusActiveView) HostHooks().focusActiveView();
        return 1;
    case UM_REDRAW_VIEW: Redraw(view, TRUE); return 1;
    case UM_REFRESH_VIEW:
        if (!view) return 0;
        ZoomViewToPaper();
        Redraw(view, TRUE);
        return 1;
    case UM_MAXIMIZE_VIEW:
        if (view) {
            ShowWindow(Main(), SW_RESTORE);
            HWND frame = GetParent(view);
            if (HWND mdi = CmdMdiClient()) SendMessageA(mdi, WM_MDIMAXIMIZE, reinterpret_cast<WPARAM>(frame), 0);
        }
        return 1;
    case UM_MINIMIZE_MAIN: ShowWindow(Main(), SW_MINIMIZE); return 1;
    case UM_SHOW_MAIN:
        SetWindowPos(Main(), nullptr, 0, 0, 0, 0, SWP_SHOWWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
        return 1;
    case UM_UPDATE_ELEMENT_COUNT:
        if (HWND bar = CmdStatusBar()) SendMessageA(bar, WM_USER, 5, GetViewElementCount(view));
        return 1;
    case UM_GET_DRAW_ATTR:
    case UM_GET_DRAW_ATTR_OPT:
        if (!data || !lParam) return 0;
        std::memcpy(reinterpret_cast<void*>(lParam), &data->attr, sizeof data->attr);
        return 1;
    case UM_SET_DRAW_ATTR:
        if (!data || !lParam) return 0;
        std::memcpy(&data->attr, reinterpret_cast<const void*>(lParam), sizeof data->attr);
        RefreshToolPanel();
        return 1;
    case UM_GET_COLOR:
        // The pen table has entries 1 to 256 only; other indexes read nothing.
        if (lParam == 0) return GetDrawBackColor();
        if (lParam < 0 || lParam > 256) return 0;
        return Running().penColors[lParam];
    case UM_GET_COLOR_TABLE: return ColorTable(wParam, lParam);
    case UM_GET_PAPER_RECT: return PaperRect(lParam);
    case UM_SET_OVERVIEW: return OverviewSwitch(req);
    case UM_DRAWING_FILE_NAME: return DrawingFileName(wParam, lParam);
    case UM_GET_DB_INFO_NUMBER: return MemoColour();
    case UM_READ_ELEMENT_IN_VIEW:
        if (!req) return 0;
        return reinterpret_cast<LRESULT>(ReadMemoDbElement(req->view, reinterpret_cast<StoredElement*>(req->element),
                                                           static_cast<int>(req->element2),
                                                           reinterpret_cast<void*>(req->record)));
    case UM_GET_ELEMENT_EXTENT: return req ? ElementExtent(req) : 0;

    // Drawing into views and the rubber band.
    case UM_DRAW_ELEMENT:
        RequestPopupRefresh();
        return req ? DrawElementInViews(req->view, -1, reinterpret_cast<const void*>(req->element)) : 0;
    case UM_DRAW_ELEMENT_COLOR:
        RequestPopupRefresh();
        return req ? DrawElementInViews(req->view, req->w.mode < 0 ? -1 : req->w.mode,
                                        reinterpret_cast<const void*>(req->element))
                   : 0;
    case UM_DRAW_MARK:
    case UM_DRAW_MARK_2:
        RequestPopupRefresh();
        if (view && lParam) DrawMarkInViews(nullptr, -1, reinterpret_cast<void*>(lParam));
        return 1;
    case UM_DRAW_MARK_COLOR:
        RequestPopupRefresh();
        if (req) DrawMarkInViews(nullptr, req->w.mode, reinterpret_cast<void*>(req->element));
        return 1;
    case UM_DRAG_APPEND:
        if (req && req->view) AppendRubberElement(req->view, req->w.mode, reinterpret_cast<const void*>(req->record));
        return 1;
    case UM_DRAG_REDRAW:
        // Always the show mode: the band the wait loop erased is shown anew.
        if (req && req->view) UpdateRubberBand(req->view, static_cast<int>(wParam), req->w.mode, 0);
        return 1;
    case UM_DRAG_TRANSFORM: return req ? DragTransform(req) : 1;
    case UM_DRAW_DB_IN_VIEW: return DrawRegionInView(nullptr, 0, req);
    case UM_DRAW_DB_IN_VIEW_EX:
        return wParam == 1 ? DrawRegionFittedAlt(nullptr, 0, req) : DrawRegionFitted(nullptr, 0, req);

    // Element selection.
    case UM_SELECT_ELEMENT: return SelectElement(nullptr, reinterpret_cast<StoredElement*>(lParam));
    case UM_DESELECT_ELEMENT: {
        RequestPopupRefresh();
        auto* e = reinterpret_cast<StoredElement*>(lParam);
        if (!e) return 0;
        Deselect(e);
        DrawElementInViews(view, -2, e);
        return 1;
    }
    case UM_DESELECT_ALL: return DeselectAll(lParam);
    case UM_RESET_OPEN_FLAG: KeepCmdOnCloseFlag = 0; return 0;

    // Pop-ups.
    case UM_TOGGLE_LAYOUT_VIEW: {
        HWND layout = LayoutViewWindow();
        if (!layout) return 1;
        const bool visible = IsWindowVisible(layout) != 0;
        return LayoutView(visible ? 0 : 1, 1);
    }
    case UM_SHOW_LAYOUT_VIEW: return LayoutView(1, 2);
    case UM_HIDE_LAYOUT_VIEW: return LayoutView(0, 0);
    case UM_TOGGLE_LOUPE:
    case UM_TOGGLE_LOUPE_2:
    case UM_TOGGLE_LOUPE_3: return ToggleLoupe();

    // Sub-codes.
    case UM_VIEW_FUNC: return ViewFunc(wParam, lParam, handled);
    case UM_FONT_DIC_FUNC: return FontDicFunc(wParam, lParam);
    case UM_INPUT_SCALE_FUNC: return InputScaleFunc(wParam, lParam);
    default: *handled = false; return 0;
    }
}
