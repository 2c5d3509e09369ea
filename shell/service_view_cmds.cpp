// The view service commands: zoom and scroll by clicking, the zoom window,
// the loupe at a point, the grid centre, a second window on the active
// drawing, the previous view and the zoom to the drawing's extents.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/command_system.h"
#include "command/host_messages.h"
#include "command/page_services_cmd.h"
#include "command/status_codes.h"
#include "command/wait_loop.h"
#include "shell/cad_system.h"
#include "shell/main_frame.h"
#include "panels/panel_windows.h"
#include "command/command_ids.h"
#include "shell/service_cmds.h"
#include "shell/service_frame.h"
#include "shell/service_support.h"
#include "shell/shell_seams.h"
#include "view/db_info.h"
#include "view/display_commands.h"
#include "view/drawing_state.h"
#include "view/element_transform.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_paint.h"
#include "view/view_popups.h"
#include "view/view_table.h"

// 1 while the grid-centre command waits: its clicks are not snapped to the
// grid it is about to move.
int GridPointMode = 0;

namespace {

HWND Frame() { return CmdMainFrame(); }

enum class Stage { FirstPoint, SecondPoint };

bool EndsLoop(int result) {
    return result == CMD_RES_ENDED || result == CMD_RES_QUIT || result == CMD_RES_CANCEL || result == CMD_RES_PANEL;
}

// Zoom (1205) and scroll (1206) by clicking share everything but the click.
int ClickLoop(int id, int nameId, int promptId, uint32_t mask, int (*onLeft)(), int (*onRight)()) {
    ServiceFrame frame(id);
    if (!frame.TakeOver()) return 1;
    if (!GetActiveView()) return 1;
    frame.Begin(ServiceMessage(nameId), ServiceMessage(promptId), mask);
    for (;;) {
        const int r = frame.Wait();
        if (EndsLoop(r)) break;
        if (r == CMD_RES_POINT && onLeft) onLeft();
        if (r == CMD_RES_RPOINT && onRight) onRight();
    }
    frame.End();
    return 1;
}

int ZoomIn() { return DispZoomIn(0, 0); }
int ZoomOut() { return DispZoomOut(0, 0); }
int CentreAtCursor() { return DispCenterAtCursor(0); }

void LockInput() {
    HWND frame = Frame();
    if (!frame) return;
    SendMessageA(frame, UM_ACTIVE_VIEW, 0, 0);
    SendMessageA(frame, UM_LOCK_INPUT_VIEW, 0, 0);
}

void UnlockInputView() {
    if (HWND frame = Frame()) SendMessageA(frame, UM_UNLOCK_INPUT_VIEW, 0, 0);
}

HWND FrameActiveView() {
    HWND frame = Frame();
    return frame ? reinterpret_cast<HWND>(SendMessageA(frame, UM_ACTIVE_VIEW, 0, 0)) : nullptr;
}

void ZoomToCorners(const double* a, const double* b) {
    CmdRequest req = {};
    SetRequestPoint(req.pt1, a);
    SetRequestPoint(req.pt2, b);
    ZoomViewToRect(&req);
}

// Shows the loupe centred on the cursor (mode 3) or hides it (0).
void ShowLoupeAtCursor(int mode) {
    HWND loupe = LoupeWindow();
    if (!loupe) return;
    if (mode == 0) {
        ShowWindow(loupe, SW_HIDE);
        return;
    }
    POINT cursor = {};
    GetCursorPos(&cursor);
    RECT r = {};
    GetWindowRect(loupe, &r);
    const int w = std::max(1L, r.right - r.left), h = std::max(1L, r.bottom - r.top);
    SetWindowPos(loupe, HWND_TOP, cursor.x - w / 2, cursor.y - h / 2, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(loupe, SW_SHOWNOACTIVATE);
    SendMessageA(loupe, WM_COMMAND, 2222, 0);
}

double* CurrentSet(ViewData* d, int mode) {
    switch (mode) {
    case 0: return &d->modelOffsetX;
    case 1: return &d->paperOffsetX;
    case 2: return &d->frameOffsetX;
    default: return nullptr;
    }
}

double* PreviousSet(ViewData* d, int mode) {
    switch (mode) {
    case 0: return d->prevModel;
    case 1: return d->prevPaper;
    case 2: return d->prevFrame;
    default: return nullptr;
    }
}

// The title words of a window showing an untitled drawing: "無題" and its
// number when the window text starts with them.
void RetitleUntitled(HWND source, HWND view, int sourceNumber, int viewNumber) {
    const char* untitled = GetMessageText(IDS_UNTITLED);
    char text[300] = "";
    GetWindowTextA(GetParent(source), text, sizeof text);
    const size_t len = std::strlen(untitled);
    const int n = std::strncmp(text, untitled, len) == 0 ? std::atoi(text + len) : 0;
    char mine[320], theirs[320];
    if (n) {
        std::snprintf(mine, sizeof mine, "%s%d : %d", untitled, n, viewNumber);
        std::snprintf(theirs, sizeof theirs, "%s%d : %d", untitled, n, sourceNumber);
    } else {
        std::snprintf(mine, sizeof mine, "%s : %d", untitled, viewNumber);
        std::snprintf(theirs, sizeof theirs, "%s : %d", untitled, sourceNumber);
    }
    SetWindowTextA(GetParent(view), mine);
    SetWindowTextA(GetParent(source), theirs);
}

}  // namespace

int ServiceZoomByClick() {
    return ClickLoop(1205, 4000, 4001, CMD_WANT_CANCEL | CMD_WANT_POINT | CMD_WANT_RCLICK | CMD_WANT_PANEL, ZoomIn,
                     ZoomOut);
}

int ServiceScrollByClick() {
    return ClickLoop(1206, 4002, 4003, CMD_WANT_CANCEL | CMD_WANT_POINT | CMD_WANT_PANEL, CentreAtCursor, nullptr);
}

int ServiceZoomWindow(LPARAM argument) {
    ServiceFrame frame(1210);
    if (!frame.TakeOver()) return 1;
    if (!GetActiveView()) return 1;
    RunningSettings& rs = Running();
    WaitState& ws = CmdWaitState();
    const int keptBypass = ws.snapBypass, keptShowMode = rs.iSnapShowMode;
    if (rs.bCurModeChk) {
        ws.snapBypass = 1;
        rs.iSnapShowMode = 0;
    }
    const uint32_t first = CMD_WANT_CANCEL | CMD_WANT_SNAP | CMD_WANT_PANEL;
    const uint32_t second = first | CMD_WANT_TRACK;
    frame.Begin(ServiceMessage(4004), ServiceMessage(4005), first);
    ServiceDrag& drag = ServiceDragState();
    Stage stage = Stage::FirstPoint;
    for (;;) {
        const int r = frame.Wait();
        double pt[3];
        frame.Point(pt);
        if (r == CMD_RES_ENDED || r == CMD_RES_QUIT) break;
        if (r == CMD_RES_PANEL) {
            if (stage == Stage::SecondPoint) UpdateRubberBand(GetActiveView(), 0, 0, 1);
            break;
        }
        if (r == CMD_RES_CANCEL) {
            if (stage == Stage::FirstPoint) break;
            UnlockInputView();
            frame.SetPrompt(ServiceMessage(4005));
            frame.SetMask(first);
            stage = Stage::FirstPoint;
            continue;
        }
        if (r == CMD_RES_SNAPPED && stage == Stage::FirstPoint) {
            std::memcpy(drag.start, pt, sizeof pt);
            LockInput();
            frame.SetPrompt(ServiceMessage(4006));
            frame.SetMask(second);
            stage = Stage::SecondPoint;
            continue;
        }
        if (stage != Stage::SecondPoint) continue;
        if (r == CMD_RES_MOVED || r == CMD_RES_VIEW) {
            drag.view = FrameActiveView();
            DragRectangleCallback(pt[0], pt[1], pt[2]);
            continue;
        }
        if (r == CMD_RES_SNAPPED) {
            UnlockInputView();
            frame.SetPrompt(ServiceMessage(4005));
            frame.SetMask(first);
            ZoomToCorners(drag.start, pt);
            stage = Stage::FirstPoint;
            if (rs.WAKUDSPMODE != 0 || argument == 1) break;
        }
    }
    frame.End();
    if (rs.bCurModeChk) {
        ws.snapBypass = keptBypass;
        rs.iSnapShowMode = keptShowMode;
    }
    UnlockInputView();
    RepaintWindowNow(LayoutViewWindow());
    UpdateRubberBand(GetActiveView(), 0, 0, 2);
    // The redraw tells the waiting command that its view changed, unless a
    // panel click is pending for it: that click is its input.
    if (!IsKeyCursorMode() && Frame() && CmdInput().event != CMD_EV_PANEL)
        SendMessageA(Frame(), WM_COMMAND, ID_SVC_REDRAW, 0);
    return 1;
}

int ServiceLoupe() {
    ServiceFrame frame(1300);
    if (!frame.TakeOver()) return 1;
    if (!GetActiveView()) return 1;
    frame.Begin(ServiceText("Roupe", "ルーペ"),
                ServiceText("Please order a center point. ", "中心の位置を指定してください"),
                CMD_WANT_CANCEL | CMD_WANT_POINT | CMD_WANT_RCLICK | CMD_WANT_PANEL);
    ShowLoupeAtCursor(0);
    for (;;) {
        const int r = frame.Wait();
        if (EndsLoop(r)) break;
        if (r == CMD_RES_POINT) ShowLoupeAtCursor(3);
    }
    frame.End();
    return 1;
}

int ServiceGridCentre() {
    ServiceFrame frame(1350);
    if (!frame.TakeOver()) return 1;
    if (!GetActiveView()) return 1;
    frame.Begin(ServiceText("Grid", "グリッド"),
                ServiceText("A grid center point is instructed. (ESC=Cancel)", "グリッド中心点を指示(ESC=取消)"),
                CMD_WANT_CANCEL | CMD_WANT_SNAP | CMD_WANT_PANEL);
    GridPointMode = 1;
    for (;;) {
        const int r = frame.Wait();
        if (EndsLoop(r)) break;
        if (r != CMD_RES_SNAPPED) continue;
        double pt[3];
        frame.Point(pt);
        GridOrigin[0] = pt[0];
        GridOrigin[1] = pt[1];
        if (HWND panel = ToolPanelWindow()) {
            if (HWND button = GetDlgItem(panel, ID_PANEL_GRID)) {
                SetWindowLongA(button, 4, 1);
                RepaintWindowNow(button);
            }
        }
        ViewGridShown = 1;
        InvalidateDrawingViews(GetActiveView());
        break;
    }
    GridPointMode = 0;
    frame.End();
    return 1;
}

int ServiceNewWindow(int id) {
    (void)id;
    HWND active = GetActiveView();
    if (!active || IsInputLocked()) return 1;
    HWND source = FindViewByFileOrDrawing(nullptr, active);
    CMainFrame* main =
        MainFrameWindow() ? static_cast<CMainFrame*>(CWindowBase::FromHandle(MainFrameWindow())) : nullptr;
    if (!source || !main) return 1;
    // Both ids stop here when no window came: there is nothing to share the
    // drawing with.
    HWND view = main->NewDrawingWindow(main->m_hWnd, 1, nullptr, nullptr);
    if (!view) return 1;
    if (!ShareDrawingOfView(view, source)) {
        SendMessageA(GetParent(view), WM_CLOSE, 0, 0);
        return 1;
    }
    ViewData* mine = GetViewData(view);
    ViewData* theirs = GetViewData(source);
    DbInfoHead info;
    const bool hasInfo = DAriGetDBInfo(&info, mine->db) != 0;
    if (theirs->fileName[0] || (hasInfo && info.Title()[0])) {
        SetViewTitle(view, mine->db, mine->windowNumber);
        SetViewTitle(source, theirs->db, theirs->windowNumber);
    } else {
        RetitleUntitled(source, view, theirs->windowNumber, mine->windowNumber);
    }
    mine->overviewLevel = 0;
    ActivateViewFrame(view);
    ZoomViewToPaper();
    if (HWND bar = CmdStatusBar()) SetStatusElementCount(bar, GetViewElementCount(view));
    return 1;
}

int ServicePreviousView() {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d) return 1;
    double* current = CurrentSet(d, d->viewMode);
    double* previous = PreviousSet(d, d->viewMode);
    if (!current || !previous) return 1;
    double kept[3];
    std::memcpy(kept, current, sizeof kept);
    std::memcpy(current, previous, sizeof kept);
    std::memcpy(previous, kept, sizeof kept);
    UpdateRubberBand(view, 0, 0, 1);
    InvalidateRect(view, nullptr, FALSE);
    UpdateWindow(view);
    UpdateRubberBand(view, 0, 0, 2);
    return 1;
}

int ServiceZoomExtents() {
    HWND view = GetActiveView();
    DbHeader* db = GetViewDb(view);
    if (!db) return 1;
    double lo[2] = {0, 0}, hi[2] = {0, 0};
    bool any = false;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db)) {
        double box[4];
        if (!GetElementExtent(view, db, e, box)) continue;
        const double x1 = std::min(box[0], box[2]), x2 = std::max(box[0], box[2]);
        const double y1 = std::min(box[1], box[3]), y2 = std::max(box[1], box[3]);
        if (!any) {
            lo[0] = x1, lo[1] = y1, hi[0] = x2, hi[1] = y2;
            any = true;
            continue;
        }
        lo[0] = std::min(lo[0], x1), lo[1] = std::min(lo[1], y1);
        hi[0] = std::max(hi[0], x2), hi[1] = std::max(hi[1], y2);
    }
    if (!any) return 1;  // nothing to fit: the view stays
    const double a[3] = {lo[0], lo[1], 0}, b[3] = {hi[0], hi[1], 0};
    ZoomToCorners(a, b);
    return 1;
}
