// The drawing canvas: painting, the scroll and zoom commands, and mouse
// activity turned into input events for the running command.
#include <cstdlib>
#include <cstring>

#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/settings_files.h"
#include "command/cad_app_cmd.h"
#include "command/command_ids.h"
#include "command/executor.h"
#include "command/link_tags.h"
#include "command/wait_loop.h"
#include "panels/panel_windows.h"
#include "panels/rp_menu.h"
#include "view/cadwin_frame.h"
#include "view/display_commands.h"
#include "view/drawing_state.h"
#include "view/element_snap_search.h"
#include "view/hover_search.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/status_bar.h"
#include "command/status_codes.h"
#include "view/view_coords.h"
#include "view/view_input.h"
#include "view/view_paint.h"
#include "view/view_popups.h"
#include "view/view_transform.h"

ViewMouseStateRecord ViewMouseState;
int GestureCmdTable[2][4] = {{ID_SVC_BASE_VIEW, ID_SVC_ZOOM_WINDOW, ID_SVC_PREVIOUS_VIEW, 0},
                             {ID_CADWIN_ZOOM_IN, ID_CADWIN_ZOOM_OUT, ID_CADWIN_ZOOM_OUT, ID_CADWIN_ZOOM_IN}};

namespace {
bool OtherViewHoldsLock(HWND view) { return IsInputLocked() && !IsInputLockView(view); }

HWND MainFrameOf(HWND view) {
    HWND frame = view ? ::GetParent(view) : nullptr;
    HWND client = frame ? ::GetParent(frame) : nullptr;
    return client ? ::GetParent(client) : nullptr;
}

bool ValidGestureId(int id) { return IsGestureCommand(id); }

// A click in a drawing open for reference only reaches the running command
// only when that command may run on such drawings, or a built-in service
// command waits.
bool ClickCountsOnReference() {
    const int id = Executor().runningModuleCmdId;
    if (!id) return Executor().serviceCmdWaiting != 0;
    CCadAppCmd* registry = GetCmdRegistry();
    return !registry || registry->IsReadOnlyCmd(id);
}

// The part of the view's window rectangle the pointer may count in: less the
// client edge, the scroll bars and the caption.
RECT ViewInputRect(HWND view) {
    RECT wr;
    ::GetWindowRect(view, &wr);
    const int edge = ::GetSystemMetrics(SM_CXEDGE);
    const int caption =
        (::GetWindowLongA(view, GWL_STYLE) & WS_CAPTION) == WS_CAPTION ? ::GetSystemMetrics(SM_CYCAPTION) : 0;
    return {wr.left + edge, wr.top + edge + caption, wr.right - edge - ::GetSystemMetrics(SM_CXVSCROLL),
            wr.bottom - edge - ::GetSystemMetrics(SM_CYHSCROLL)};
}
}  // namespace

int SetGestureCommand(int table, int index, int id) {
    const int stored = ValidGestureId(id) ? id : 0;
    if (index < 0 || index > 3) return stored;
    GestureCmdTable[table == 1 ? 0 : 1][index] = stored;
    return stored;
}

int GestureDirection(int dx, int dy) {
    if (dx >= 0) return dy < 0 ? 0 : 1;
    return dy >= 0 ? 2 : 3;
}

void PostGestureCommand(int direction, HWND view, int table) {
    int id = 0;
    if (direction >= 0 && direction <= 3) id = GestureCmdTable[table == 1 ? 0 : 1][direction];
    if (!ValidGestureId(id)) id = 0;
    if (IsViewServiceCommand(id)) {
        if (HWND main = MainFrameOf(view)) ::PostMessageA(main, WM_COMMAND, id, id == ID_SVC_ZOOM_WINDOW ? 1 : 0);
    } else {
        ::PostMessageA(view, WM_COMMAND, id, 0);
    }
}

HWND CCadwinView::Create(HWND parent) {
    if (!RegisterCadwinClasses()) return nullptr;
    CreateArgs a;
    a.className = "CadwinView";
    a.parent = parent;
    a.style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
    // Scroll bars only without edge buttons.
    if (!Running().bScTestBtn) a.style |= WS_HSCROLL | WS_VSCROLL;
    a.exStyle = WS_EX_CLIENTEDGE;
    RECT rc;
    ::GetClientRect(parent, &rc);
    a.SetRect(rc);
    return CWindowBase::Create(a);
}

int CCadwinView::CreateDatabase() {
    if (!m_database) {
        ::SetWindowLongPtrA(m_hWnd, 0, 0);
        return 0;
    }
    const RunningSettings& rs = Running();
    int undoLevel = rs.iUndoCount;
    const int colour = LocalIni().iDrawColorMode ? LocalIni().iDrawColor : rs.initParameters[0];
    int defaults[5] = {colour, rs.initParameters[1], rs.initParameters[2], rs.initParameters[3], rs.initParameters[4]};
    unsigned char margin[61] = {};
    static_assert(sizeof(PaperMarginEx) >= 61, "margin record");
    std::memcpy(margin, &rs.paperMargin, sizeof margin);
    int result = m_database->Create(&DrawingIdCounter, &undoLevel, margin, defaults);
    ::SetWindowLongPtrA(m_hWnd, 0, (LONG_PTR)&m_database->m_data);
    return result;
}

LRESULT CCadwinView::OnCreate(UINT, WPARAM, LPARAM, BOOL& handled) {
    CreateDatabase();
    m_surface = CreateRenderSurface(m_hWnd);
    if (!Running().bScTestBtn) {
        ::SetScrollRange(m_hWnd, SB_HORZ, 0, 100, FALSE);
        ::SetScrollRange(m_hWnd, SB_VERT, 0, 100, FALSE);
    }
    const CCadSystemSettings* settings = GetCadSystemSettings();
    m_edgeMode = EdgeZoneModeFor(settings ? settings->m_ConfigData.ScrollBarMode : 1);
    if (m_edgeMode == 2) {
        m_edgeZone = 255;
        ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(ID_CADWIN_EDGE_ZONES, 255), 0);
    }
    CenterViewScrollBars(m_hWnd);
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnDestroy(UINT, WPARAM, LPARAM, BOOL& handled) {
    ReleaseRenderSurface(m_surface);
    m_surface = nullptr;
    if (ViewMouseState.rightPressView == m_hWnd) ViewMouseState.rightPressView = nullptr;
    if (ViewMouseState.lastLeftView == m_hWnd) ViewMouseState.lastLeftView = nullptr;
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnSize(UINT type, int cx, int cy, BOOL& handled) {
    if (m_cursor.drawn) m_cursor.Erase();
    ResizeRenderSurface(m_surface, cx, cy);
    if (type != SIZE_MINIMIZED) RescaleViewOnSize(m_hWnd, cx, cy);
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnPaint(UINT, WPARAM, LPARAM, BOOL&) {
    // The cross-hair is never part of the picture: the next move draws it.
    if (m_cursor.drawn) m_cursor.Erase();
    DrawView(m_hWnd, GetViewData(m_hWnd), 0, m_surface);
    return 0;
}

LRESULT CCadwinView::OnMouseActivate(UINT, WPARAM, LPARAM, BOOL& handled) {
    POINT pt;
    ::GetCursorPos(&pt);
    const RECT inner = ViewInputRect(m_hWnd);
    if (::WindowFromPoint(pt) != m_hWnd || !::PtInRect(&inner, pt)) {
        handled = FALSE;
        return 0;
    }
    if (ViewMouseState.lastLeftView == m_hWnd) {
        ViewMouseState.lastLeftView = nullptr;
        handled = FALSE;
        return 0;
    }
    ViewMouseState.lastLeftView = nullptr;
    return MA_ACTIVATEANDEAT;
}

LRESULT CCadwinView::OnNcMouseMove(UINT, WPARAM, LPARAM, BOOL& handled) {
    CloseRPMenu();
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnNcButton(UINT message, WPARAM wParam, LPARAM, BOOL& handled) {
    CloseRPMenu();
    if (message == WM_NCRBUTTONDOWN && wParam == HTCAPTION) GetActiveView();
    if (OtherViewHoldsLock(m_hWnd)) return 0;
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnCommand(WORD code, WORD id, HWND ctl, BOOL& handled) {
    if (id == kCursorEraseCommand) {
        if (m_cursor.drawn) m_cursor.Erase();
        return 0;
    }
    if (HandleCursorPopupCommand(m_hWnd, m_msgPopup, m_coordPopup, id, code, reinterpret_cast<LPARAM>(ctl))) return 0;
    if (!HandleViewCommand(m_hWnd, id)) handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnSetFocus(UINT, WPARAM, LPARAM, BOOL& handled) {
    // Only the cross-hairs go; focus and activation are left as they were.
    EraseAllViewCursors();
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnCursorSettings(UINT, WPARAM which, LPARAM value, BOOL&) {
    AttachCursor();
    m_cursor.ChangeSetting(which, value);
    return 0;
}

LRESULT CCadwinView::OnSetCursor(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    // The overview's cells and the scroll bars keep the ordinary pointer.
    const ViewData* d = GetViewData(m_hWnd);
    if (LOWORD(lParam) != HTCLIENT || (d && d->overviewLevel != 0)) {
        handled = FALSE;
        return 0;
    }
    AttachCursor();
    m_cursor.SetViewCursor();
    return TRUE;
}

void CCadwinView::AttachCursor() {
    if (m_cursorAttached) return;
    m_cursor.Attach(m_hWnd);
    m_cursor.ApplySettings();
    m_cursorAttached = 1;
}

CCadCursor* ViewCursorOf(HWND view) {
    char cls[32] = "";
    if (!view || !::GetClassNameA(view, cls, sizeof cls) || lstrcmpA(cls, "CadwinView") != 0) return nullptr;
    auto* w = static_cast<CCadwinView*>(CWindowBase::FromHandle(view));
    return w ? &w->m_cursor : nullptr;
}

LRESULT CCadwinView::OnScroll(UINT message, WPARAM wParam, LPARAM, BOOL&) {
    SCROLLINFO si = {sizeof si, SIF_TRACKPOS};
    ::GetScrollInfo(m_hWnd, message == WM_HSCROLL ? SB_HORZ : SB_VERT, &si);
    int thumb = HIWORD(wParam);
    if (LOWORD(wParam) == SB_THUMBPOSITION && si.nTrackPos) thumb = si.nTrackPos;
    HandleViewScroll(m_hWnd, message, LOWORD(wParam), thumb);
    return 0;
}

LRESULT CCadwinView::OnLButtonDown(UINT, POINT pt, BOOL& handled) {
    ViewMouseState.buttons |= kViewLeftHeld;
    if (!OtherViewHoldsLock(m_hWnd)) {
        ViewMouseState.leftPressState = kLeftPressPending;
        ViewMouseState.leftPressPos = pt;
    }
    CloseRPMenu();
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnLButtonUp(UINT, POINT, BOOL& handled) {
    handled = FALSE;
    ViewMouseStateRecord& m = ViewMouseState;
    if (m.gestureDirection >= 0) {
        PostGestureCommand(m.gestureDirection, m_hWnd, (::GetKeyState(VK_CONTROL) < 0) ? 2 : 1);
        m.gestureDirection = -1;
        m.leftPressState = kLeftPressGesture;
        m.buttons &= ~kViewLeftHeld;
        return 0;
    }
    if (m.leftPressState != kLeftPressPending) {
        m.buttons &= ~kViewLeftHeld;
        return 0;
    }
    m.leftPressState = kLeftPressNone;
    POINT sp;
    ::GetCursorPos(&sp);
    RECT mr;
    HWND main = MainFrameOf(m_hWnd);
    if (main && ::GetWindowRect(main, &mr) &&
        (sp.x < mr.left || sp.x > mr.right || sp.y < mr.top || sp.y > mr.bottom)) {
        m.buttons &= ~kViewLeftHeld;
        return 0;
    }
    if (CloseRPMenu() == 1 || GetActiveView() != m_hWnd) {
        m.buttons &= ~kViewLeftHeld;
        return 0;
    }
    // The click counts where the button went down.
    m.lastMousePos = m.leftPressPos;
    LastViewMousePos = m.lastMousePos;
    if (!IsAnyCmdRunning()) {
        double point[3] = {0, 0, 0};
        if (IsKeyCursorActive()) {
            GetCursorWorldPoint(point);
        } else if (ViewData* d = GetViewData(m_hWnd)) {
            ClientToWorld(m_hWnd, d, m.lastMousePos.x, m.lastMousePos.y, &point[0], &point[1]);
        }
        if (FindLinkTagAtPoint(m_hWnd, point)) {
            m.buttons &= ~kViewLeftHeld;
            return 0;  // the link took the click
        }
    }
    m.buttons &= ~kViewLeftHeld;
    ViewData* record = GetViewData(m_hWnd);
    if (record && record->readOnly && !ClickCountsOnReference()) return 0;
    if (OtherViewHoldsLock(m_hWnd)) return 0;
    if (!IsKeyCursorActive()) CmdInput().event = CMD_EV_LBUTTON;
    return 0;
}

LRESULT CCadwinView::OnRButtonDown(UINT, POINT, BOOL& handled) {
    ViewMouseState.buttons |= kViewRightHeld;
    handled = FALSE;
    if (CloseRPMenu() != 1) {
        ViewMouseState.rightPressView = m_hWnd;
        ViewMouseState.rightDragUsed = 0;
        ::GetCursorPos(&ViewMouseState.rightPressScreen);
    }
    return 0;
}

LRESULT CCadwinView::OnRButtonUp(UINT, POINT pt, BOOL& handled) {
    ViewMouseStateRecord& m = ViewMouseState;
    // The release clears the bit: toggling it would leave it set after a
    // press that another window took.
    m.buttons &= ~kViewRightHeld;
    handled = FALSE;
    if (m.rightDragUsed) {
        m.rightDragUsed = 0;
        m.rightPressView = nullptr;
        return 0;
    }
    if (m.rightPressView != m_hWnd) return 0;
    if (IsAnyCmdRunning() && (CmdInput().wantedMask & 0x400)) {
        if (GetActiveView() != m_hWnd) return 0;
        m.rightPressView = nullptr;
        if (OtherViewHoldsLock(m_hWnd)) return 0;
        m.lastMousePos = pt;
        LastViewMousePos = m.lastMousePos;
        CmdInput().event = CMD_EV_RBUTTON;
        return 0;
    }
    m.rightPressView = nullptr;
    BuildRPMenu(m_hWnd, MAKELPARAM(pt.x, pt.y), 0);
    return 0;
}

LRESULT CCadwinView::OnMButtonDown(UINT, POINT, BOOL& handled) {
    ::GetCursorPos(&MiddleDragPos);
    ViewMouseState.middlePan = 1;
    ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnMButtonUp(UINT, POINT, BOOL& handled) {
    ViewMouseState.middlePan = 0;
    handled = FALSE;
    return 0;
}

LRESULT CCadwinView::OnMouseWheel(UINT, WPARAM wParam, LPARAM, BOOL&) {
    const short delta = (short)HIWORD(wParam);
    if (!GetActiveView() || delta == 0) return 0;
    bool in = delta > 0;
    if (LocalIni().iMouseWheelZoomType == 1) in = !in;
    if (in)
        DispZoomIn(1, 0.7);
    else
        DispZoomOut(1, 0.7);
    return 0;
}

LRESULT CCadwinView::OnMouseMove(UINT, POINT pt, BOOL& handled) {
    handled = FALSE;
    ViewMouseStateRecord& m = ViewMouseState;
    if (!m_hoverTracking) {
        TRACKMOUSEEVENT t = {sizeof t, TME_HOVER | TME_LEAVE, m_hWnd, 100};
        if (::TrackMouseEvent(&t)) m_hoverTracking = 1;
    }
    const POINT here = pt;
    if ((m.buttons & kViewBothHeld) == kViewBothHeld && m.leftPressState == kLeftPressPending) {
        const int dx = here.x - m.leftPressPos.x, dy = here.y - m.leftPressPos.y;
        if ((std::abs(dx) > 10 || std::abs(dy) > 10) && GetViewData(m_hWnd)) {
            double p[3];
            GetCursorWorldPoint(p);
            SetKeyCursorPoint(p);
            m.gestureDirection = GestureDirection(dx, dy);
            m.rightPressView = nullptr;
        }
        m.lastMousePos = here;
        LastViewMousePos = here;
        FollowPointer(here);
        return 0;
    }
    if (m.middlePan) {
        UpdateRubberBand(GetActiveView(), 0, 0, 1);
        POINT sp;
        ::GetCursorPos(&sp);
        PanViewByDrag(m_hWnd, sp.x, sp.y);
        MiddleDragPos = sp;
        return 0;
    }
    if (m.rightPressView == m_hWnd) {
        POINT sp;
        ::GetCursorPos(&sp);
        if (std::abs(sp.x - m.rightPressScreen.x) > 10 || std::abs(sp.y - m.rightPressScreen.y) > 10) {
            m.rightDragUsed = 1;
            m.rightPressView = nullptr;
            BuildRPMenu(m_hWnd, MAKELPARAM(here.x, here.y), 1);
        }
        return 0;
    }
    if (GetActiveView() != m_hWnd) {
        ::SetCursor(::LoadCursor(nullptr, IDC_ARROW));
        if (CmdInput().wantedMask & 0x10) UpdateRubberBand(GetActiveView(), 0, 0, 1);
        if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        return 0;
    }
    if (!OtherViewHoldsLock(m_hWnd)) {
        if (CmdInput().event == 0 && !IsKeyCursorActive()) CmdInput().event = CMD_EV_MOUSE_MOVE;
        m.lastMousePos = here;
        LastViewMousePos = here;
    }
    FollowPointer(here);
    if (!IsKeyCursorActive()) {
        AttachCursor();
        POINT screen = here;
        ::ClientToScreen(m_hWnd, &screen);
        m_cursor.SetScreenPos(screen);
        m_cursor.Redraw(true);
    }
    UpdateCursorPopups(m_msgPopup, m_coordPopup);
    return 0;
}

// Keeps the mouse captured while the pointer is over the drawing area (so a
// move off the view is seen and the capture let go) and sets its cursor.
// The previous position decides: it is where the pointer was when the view
// last saw it inside.
void CCadwinView::FollowPointer(POINT client) {
    if (::GetActiveWindow() != MainFrameOf(m_hWnd)) return;
    const RECT inner = ViewInputRect(m_hWnd);
    if (m_hasLastScreen && ::WindowFromPoint(m_lastScreen) == m_hWnd && ::PtInRect(&inner, m_lastScreen)) {
        if (::GetCapture() != m_hWnd) ::SetCapture(m_hWnd);
        ::SetCursor(IsKeyCursorActive() ? nullptr : (DrawCursor ? DrawCursor : ::LoadCursor(nullptr, IDC_ARROW)));
    } else if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    POINT screen = client;
    ::ClientToScreen(m_hWnd, &screen);
    m_lastScreen = screen;
    m_hasLastScreen = 1;
}

LRESULT CCadwinView::OnMouseHover(UINT, POINT pt, BOOL& handled) {
    handled = FALSE;
    const int x = pt.x, y = pt.y;
    bool zoneChanged = false;
    if (m_edgeMode == 1) {
        RECT rc;
        ::GetClientRect(m_hWnd, &rc);
        ::InflateRect(&rc, -48, -48);
        const int zone = EdgeZoneAt(rc, x, y);
        if (zone != m_edgeZone) {
            ::SendMessageA(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(ID_CADWIN_EDGE_ZONES, zone), 0);
            m_edgeZone = zone;
            zoneChanged = true;
        }
    }
    // The snap candidate under the resting pointer, once per new position.
    const bool gridSnapping = IsCursorGridSnap() && Running().iGridNoDetFlg != 1;
    if (Running().iSnapShowMode == 2 && !zoneChanged && CmdInput().event == 0 && !gridSnapping) {
        POINT& last = ViewMouseState.lastHover;
        if (x != last.x && y != last.y) PreviewSnapAtCursor();
        last = {x, y};
    }
    m_hoverTracking = 0;
    return 0;
}

LRESULT CCadwinView::OnMouseLeave(UINT, WPARAM, LPARAM, BOOL& handled) {
    m_hoverTracking = 0;
    if (m_cursor.drawn) m_cursor.Erase();
    HideCursorPopupsOnLeave(m_msgPopup, m_coordPopup);
    ViewMouseState.lastLeftView = m_hWnd;
    handled = FALSE;
    return 0;
}

int EdgeZoneModeFor(int scrollBarMode) { return scrollBarMode == 1 || scrollBarMode == 2 ? scrollBarMode : 0; }

int EdgeZoneAt(const RECT& inner, int x, int y) {
    if (x > inner.right) return 8;
    if (x < inner.left) return 4;
    if (y < inner.top) return 1;
    if (y > inner.bottom) return 2;
    return 0;
}

LRESULT CCadwinView::OnMdiActivate(HWND, HWND gaining) {
    if (CadwinHost().closingAllDrawings) return 0;
    HWND frame = ::GetParent(m_hWnd);
    if (gaining == frame) {
        if (IsInputLocked() && !IsInputLockView(m_hWnd)) {
            ViewData* mine = GetViewData(m_hWnd);
            ViewData* locked = nullptr;
            for (HWND v = GetActiveView(); v; v = GetNextView(v))
                if (IsInputLockView(v)) locked = GetViewData(v);
            if (!mine || !locked || mine->db != locked->db || mine->viewMode != locked->viewMode) return -1;
            LockInputToActiveView();
        }
        ::SetFocus(m_hWnd);
        if (HWND bar = CurrentStatusBarWindow()) SetStatusElementCount(bar, GetViewElementCount(m_hWnd));
        RefreshToolPanel();
        NotifyToolPanelViewChange();
        if (CmdInput().event == 0) CmdInput().event = CMD_EV_VIEW_ACTIVATED;
        DocumentChangedFlag = 1;
        if (ViewData* d = GetViewData(m_hWnd)) {
            if (HWND panel = ToolPanelWindow()) ::SendMessageA(panel, WM_COMMAND, MAKEWPARAM(100, 100), (LPARAM)d);
            if (CadwinHost().updateFrameViewFlag) CadwinHost().updateFrameViewFlag(m_hWnd);
        }
    } else if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
    // The marker is on the view that had the input; the one gaining it has none.
    if (gaining != frame) DropInputBasePoint(m_hWnd);
    CmdWaitState().basePointShown = 0;
    return 0;
}

int GetGestureCommand(int table, int entry) {
    if ((table == 1 || table == 2) && entry >= 0 && entry <= 3) return GestureCmdTable[table - 1][entry];
    return 0;
}
