#include "view/key_cursor.h"

#include <cmath>

#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/executor.h"
#include "command/host_messages.h"
#include "command/wait_loop.h"
#include "view/cad_cursor.h"
#include "view/cursor_popups.h"
#include "view/rubber_band.h"
#include "view/status_bar.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_paint.h"
#include "view/view_table.h"
#include "view/view_transform.h"

int InputFromLoupe = 0;
HCURSOR DrawCursor = nullptr, NullCursor = nullptr, ArrowCursor = nullptr;

namespace {
struct KeyCursorState {
    int mode = 0;         // keyboard cursor in use (the application's flag)
    int markerShown = 0;  // the blinking marker is on the screen
    double point[3] = {0, 0, 0};
    int values[2] = {0, 0};
    double step = 1.0;
    int gridSnap = 0;
    double gridPitch = 0;
    int gridSubdivision = 1;
} g_cursor;

// The last mouse position in a view (client pixels), in world units of the
// active view.
void MouseWorldPoint(double* p) {
    const POINT mouse = LastViewMousePos;
    p[0] = mouse.x;
    p[1] = mouse.y;
    p[2] = 0;
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d) return;
    ClientToWorld(view, d, mouse.x, mouse.y, &p[0], &p[1]);
}

void EraseMarker() {
    if (!g_cursor.markerShown) return;
    DrawCrossMarker(GetActiveView(), 0, g_cursor.point);
    g_cursor.markerShown = 0;
}

// The class pointer of the drawing views (CURSOR1 in keyboard mode).
void SetViewClassPointer(HCURSOR cursor) {
    if (HWND view = GetActiveView()) ::SetClassLongPtrA(view, GCLP_HCURSOR, (LONG_PTR)cursor);
}

// Moves the system pointer onto the keyboard cursor.
void PointerToKeyCursor() {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d) return;
    POINT p = WorldToClient(view, d, g_cursor.point[0], g_cursor.point[1]);
    ::ClientToScreen(view, &p);
    ::SetCursorPos(p.x, p.y);
}

void RaiseCursorMove() { CmdInput().event = CMD_EV_MOUSE_MOVE; }
}  // namespace

int IsKeyCursorMode() { return g_cursor.mode ? 1 : 0; }
// A built-in service command waiting for input suspends the keyboard cursor.
int IsKeyCursorActive() { return (g_cursor.mode && !Executor().serviceCmdWaiting) ? 1 : 0; }
int KeyCursorMarkerShown() { return g_cursor.markerShown; }

int EnterKeyCursorMode() {
    if (!GetActiveView()) return 0;
    if (IsKeyCursorActive()) return 1;
    ::ShowCursor(FALSE);
    ::SetCursor(nullptr);
    ::ShowCursor(TRUE);
    MouseWorldPoint(g_cursor.point);
    g_cursor.mode = 1;
    SetViewClassPointer(DrawCursor);
    PointerToKeyCursor();
    return 1;
}

int ToggleKeyCursorMode() {
    if (!GetActiveView()) {
        // Without a view only the flag goes (a view closing ends the mode).
        g_cursor.mode = 0;
        g_cursor.markerShown = 0;
        return 0;
    }
    if (!g_cursor.mode) {
        EnterKeyCursorMode();
    } else {
        EraseMarker();
        g_cursor.mode = 0;
        SetViewClassPointer(nullptr);
        PointerToKeyCursor();
        SetCursorTypePointer(CursorType());
    }
    if (HWND bar = CmdStatusBar()) {
        ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(2001, 2), 1);
        ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(2002, 2), 0);
    }
    if (HWND frame = CmdMainFrame()) ::SendMessageA(frame, WM_COMMAND, 1314, 0);
    return 1;
}

int MoveKeyCursor(int direction, double distance) {
    if (!IsKeyCursorActive()) {
        SetViewClassPointer(DrawCursor);
        MouseWorldPoint(g_cursor.point);
        g_cursor.mode = 1;
    } else {
        EraseMarker();
    }
    if (distance == 0) distance = g_cursor.step;
    switch (direction) {
    case 1: g_cursor.point[0] += distance; break;
    case 2: g_cursor.point[0] -= distance; break;
    case 3: g_cursor.point[1] += distance; break;
    case 4: g_cursor.point[1] -= distance; break;
    default: break;
    }
    RaiseCursorMove();
    return 1;
}

int ResetKeyCursor() {
    if (!IsKeyCursorActive()) {
        g_cursor.mode = 1;
        SetViewClassPointer(DrawCursor);
    } else {
        EraseMarker();
    }
    g_cursor.point[0] = g_cursor.point[1] = g_cursor.point[2] = 0;
    return 1;
}

void SetKeyCursorPoint(const double* point) {
    for (int i = 0; i < 3; ++i)
        g_cursor.point[i] = point[i];
}

int SetKeyCursorPoint(double x, double y, int value1, int value2) {
    if (!GetActiveView()) return 0;
    EraseMarker();
    g_cursor.point[0] = x;
    g_cursor.point[1] = y;
    g_cursor.values[0] = value1;
    g_cursor.values[1] = value2;
    RaiseCursorMove();
    return 1;
}

int SetKeyCursorStep(double distance) {
    g_cursor.step = distance;
    return 1;
}
double GetKeyCursorStep() { return g_cursor.step; }

void SetCursorGridSnap(int on, double pitch, int subdivision) {
    g_cursor.gridSnap = on;
    g_cursor.gridPitch = pitch;
    g_cursor.gridSubdivision = subdivision;
}

int IsCursorGridSnap() { return g_cursor.gridSnap ? 1 : 0; }

int CursorTimerTick() {
    if (IsKeyCursorActive()) {
        // XOR: the flag follows every draw, so each tick flips the marker.
        g_cursor.markerShown = !g_cursor.markerShown;
        DrawCrossMarker(GetActiveView(), g_cursor.markerShown, g_cursor.point);
    }
    return 1;
}

void GetCursorWorldPoint(double* point) {
    if (IsKeyCursorActive()) {
        for (int i = 0; i < 3; ++i)
            point[i] = g_cursor.point[i];
    } else {
        MouseWorldPoint(point);
    }
}

double SnapToLattice(double v, double o, double step) {
    if (!(step > 0) || !std::isfinite(step) || !std::isfinite(v)) return v;
    // Measured from the lattice origin, so that an origin that is no
    // multiple of the step still rounds to the nearest lattice point.
    const double d = (v - o) / step;
    return o + step * std::trunc(d >= 0 ? d + 0.5 : d - 0.5);
}

namespace {
// The step of one axis: the pitch the grid was last drawn with; before the
// first grid paint the pitch of the settings (or of SetCursorGridSnap).
double GridStep(double displayed, double setting) {
    double step = displayed > 0 ? displayed : setting;
    if (!(step > 0) && g_cursor.gridPitch > 0) step = g_cursor.gridPitch;
    const int cut = Running().iGridCutFg;
    if (step > 0 && cut >= 2) step /= cut;
    return step;
}

double Remainder(double origin, double pitch) { return pitch > 0 ? std::fmod(origin, pitch) : origin; }
}  // namespace

void GetGridSnappedCursorPoint(double* point) {
    const RunningSettings& rs = Running();
    const double ox = Remainder(GridOrigin[0], rs.grid.x), oy = Remainder(GridOrigin[1], rs.grid.y);
    const double sx = GridStep(DisplayedGridPitch[0], rs.grid.x), sy = GridStep(DisplayedGridPitch[1], rs.grid.y);
    GetCursorWorldPoint(point);
    point[2] = 0;
    if (rs.iGridNoDetFlg == 1) return;
    point[0] = SnapToLattice(point[0], ox, sx);
    point[1] = SnapToLattice(point[1], oy, sy);
}

int GetKeySnappedCursorPoint(double* point, int* snapped) {
    if (snapped) *snapped = 0;
    if (!point) return 0;
    GetCursorWorldPoint(point);
    const CursorPopupState& s = CursorPopups();
    if ((s.shiftRequired && ::GetKeyState(VK_SHIFT) >= 0) || !s.baseSet) return 0;
    double px = s.snapPitch[0], py = s.snapPitch[1];
    const int cut = Running().iGridCutFg;
    if (cut >= 2) {
        px /= cut;
        py /= cut;
    }
    point[0] = SnapToLattice(point[0], Remainder(s.base[0], px), px);
    point[1] = SnapToLattice(point[1], Remainder(s.base[1], py), py);
    if (snapped) *snapped = 1;
    return 1;
}

void LoadViewCursors(HINSTANCE instance) {
    ArrowCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    DrawCursor = ::LoadCursorA(instance, "CURSOR1");
    NullCursor = ::LoadCursorA(instance, "CURNUL");
    if (!DrawCursor) DrawCursor = ArrowCursor;
    if (!NullCursor) NullCursor = ArrowCursor;
}
