#include "view/key_cursor.h"

#include <cmath>

#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "view/view_transform.h"

int InputFromLoupe = 0;
HCURSOR DrawCursor = nullptr, NullCursor = nullptr, ArrowCursor = nullptr;

namespace {
struct KeyCursorState {
    int mode = 0;         // keyboard cursor in use
    int suspended = 0;    // switched off by the running command
    int markerShown = 0;  // blink phase of the marker
    double point[3] = {0, 0, 0};
    double step = 1.0;
    int gridSnap = 0;
    double gridPitch = 0;
    int gridSubdivision = 1;
    double snapped[3] = {0, 0, 0};
} g_cursor;

// The last mouse position in a view (client pixels), in world units of the
// active view. (The wait loop keeps its own screen position to tell real
// moves apart; that one is no client position.)
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

double RoundToPitch(double v, double pitch) { return pitch > 0 ? std::floor(v / pitch + 0.5) * pitch : v; }
}  // namespace

int IsKeyCursorMode() { return g_cursor.mode ? 1 : 0; }
int IsKeyCursorActive() { return (g_cursor.mode && !g_cursor.suspended) ? 1 : 0; }

void EnterKeyCursorMode() {
    if (g_cursor.mode) return;
    MouseWorldPoint(g_cursor.point);
    g_cursor.mode = 1;
}

void ToggleKeyCursorMode() {
    if (g_cursor.mode)
        g_cursor.mode = 0;
    else
        EnterKeyCursorMode();
}

void MoveKeyCursor(int direction, double distance) {
    EnterKeyCursorMode();
    if (distance == 0) distance = g_cursor.step;
    switch (direction) {
    case 1: g_cursor.point[0] += distance; break;
    case 2: g_cursor.point[0] -= distance; break;
    case 3: g_cursor.point[1] += distance; break;
    case 4: g_cursor.point[1] -= distance; break;
    default: break;
    }
}

void ResetKeyCursor() {
    EnterKeyCursorMode();
    g_cursor.point[0] = g_cursor.point[1] = g_cursor.point[2] = 0;
}

void SetKeyCursorPoint(const double* point) {
    for (int i = 0; i < 3; ++i)
        g_cursor.point[i] = point[i];
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
    if (g_cursor.mode) {
        g_cursor.markerShown = !g_cursor.markerShown;
    } else if (g_cursor.gridSnap) {
        GetGridSnappedCursorPoint(g_cursor.snapped);
    }
    return 1;
}

void GetCursorWorldPoint(double* point) {
    if (g_cursor.mode) {
        for (int i = 0; i < 3; ++i)
            point[i] = g_cursor.point[i];
    } else {
        MouseWorldPoint(point);
    }
}

void GetGridSnappedCursorPoint(double* point) {
    GetCursorWorldPoint(point);
    if (!g_cursor.gridSnap) return;
    double pitch = g_cursor.gridPitch;
    if (g_cursor.gridSubdivision >= 2) pitch /= g_cursor.gridSubdivision;
    point[0] = RoundToPitch(point[0], pitch);
    point[1] = RoundToPitch(point[1], pitch);
}

void GetInputCursorPoint(double* point) { GetCursorWorldPoint(point); }

int GetKeySnappedCursorPoint(double* point) {
    GetCursorWorldPoint(point);
    return 0;
}

double InputBasePoint[3] = {0, 0, 0};
int InputBasePointShown = 0;

void DrawInputBasePoint(int, int, int mode) {
    if (mode == 0)
        InputBasePointShown = 0;
    else if (mode == 3)
        InputBasePointShown = 1;
}

void LoadViewCursors(HINSTANCE instance) {
    ArrowCursor = ::LoadCursorA(nullptr, (LPCSTR)IDC_ARROW);
    DrawCursor = ::LoadCursorA(instance, "CURSOR1");
    NullCursor = ::LoadCursorA(instance, "CURNUL");
    if (!DrawCursor) DrawCursor = ArrowCursor;
    if (!NullCursor) NullCursor = ArrowCursor;
}
