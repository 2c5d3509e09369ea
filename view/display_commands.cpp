#include "view/display_commands.h"

#include <cmath>
#include <cstring>

#include "command/wait_loop.h"
#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_data.h"
#include "view/view_popups.h"
#include "view/view_table.h"
#include "view/view_transform.h"

namespace {
double DrawingScaleOf(const ViewData* d) {
    if (!d || !d->db) return 1.0;
    DbInfoHead head;
    if (!DAriGetDBInfo(&head, d->db)) return 1.0;
    const double u = CadGetF64(head.bytes, kInfoScale);
    return u > 0 ? u : 1.0;
}
}  // namespace

CCadCmdDisp& GetCadCmdDisp() {
    static CCadCmdDisp disp;
    return disp;
}

double GetScaleLimit(const ViewData* data, int upper) {
    if (!data || !data->db) return 1.0;
    const double u = DrawingScaleOf(data);
    return upper ? u * 1000000.0 : u * 0.0001;
}

double EffectiveZoomFactor(double given, double own) {
    double f = (given > 0 && given <= 9) ? given * own : own;
    return f == 0 ? 1.0 : f;
}

int CCadCmdDisp::Zoom(int in, int recentre, double factor) {
    HWND view = GetActiveView();
    if (!view) return 0;
    UpdateRubberBand(view, 0, 0, 1);
    HWND first = GetFirstChildWindow(view);
    HWND target = first ? first : view;
    ViewData* d = GetViewData(target);
    if (!d) d = GetViewData(view);
    if (!d) return 0;
    RECT rc;
    ::GetClientRect(target, &rc);
    const int cx = (rc.right - rc.left) / 2, cy = (rc.bottom - rc.top) / 2;
    const POINT mouse = LastViewMousePos;
    if (recentre && !first) {
        LastViewMousePos = {cx, cy};
        POINT sp = {cx, cy};
        ::ClientToScreen(target, &sp);
        ::SetCursorPos(sp.x, sp.y);
    }
    ViewSet s = CurrentViewSet(d);
    SaveViewSetAsPrevious(d);
    const double sc = *s.scale != 0 ? *s.scale : 1.0;
    if (in >= 0) {
        if (IsKeyCursorMode()) {
            double k[3];
            GetCursorWorldPoint(k);
            *s.offsetX = -k[0];
            *s.offsetY = -k[1];
        } else {
            *s.offsetX -= (mouse.x - cx) / sc;
            *s.offsetY += (mouse.y - cy) / sc;
        }
    }
    if (in >= 0) {
        const double f = EffectiveZoomFactor(factor, m_factor);
        double ns = in ? *s.scale * f : *s.scale / f;
        const double u = DrawingScaleOf(d);
        const double lo = u * 0.000000001, hi = u * 1000000000.0;
        if (ns < lo) ns = lo;
        if (ns > hi) ns = hi;
        *s.scale = ns;
    }
    if (first) {
        int i = 0;
        for (HWND c = first; c; c = GetNextChildWindow(c), ++i) {
            ::InvalidateRect(c, nullptr, TRUE);
            ::UpdateWindow(c);
            ::SetWindowLongPtrA(c, sizeof(LONG_PTR), i);
        }
    } else {
        ::InvalidateRect(view, nullptr, TRUE);
        ::UpdateWindow(view);
    }
    CenterViewScrollBars(view);
    CmdInput().event = CMD_EV_VIEW_CHANGED;
    PopupRefreshFlag = 1;
    return 1;
}

int CCadCmdDisp::CenterAtCursor() {
    HWND view = GetActiveView();
    if (!view || !GetViewData(view)) return 0;
    // Zoom with the scale kept: only the centring step runs.
    const double keep = m_factor;
    m_factor = 1.0;
    int r = Zoom(1, 0, 1.0);
    m_factor = keep;
    return r;
}

int DispZoomIn(int recentre, double factor) { return GetCadCmdDisp().Zoom(1, recentre, factor); }
int DispZoomOut(int recentre, double factor) { return GetCadCmdDisp().Zoom(0, recentre, factor); }
int DispCenterAtCursor(int) { return GetCadCmdDisp().CenterAtCursor(); }
