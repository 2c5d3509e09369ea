#include "view/view_coords.h"

#include <cmath>
#include <cstring>

#include "setup/db_info.h"
#include "view/drawing_state.h"
#include "view/view_table.h"
#include "view/view_transform.h"

TextAttributes DefaultTextAttributes;

ViewSet CurrentViewSet(ViewData* d) {
    switch (d->viewMode) {
        case 1: return {&d->paperOffsetX, &d->paperOffsetY, &d->paperScale, d->prevPaper};
        case 2: return {&d->frameOffsetX, &d->frameOffsetY, &d->frameScale, d->prevFrame};
        default: return {&d->modelOffsetX, &d->modelOffsetY, &d->modelScale, d->prevModel};
    }
}

void SaveViewSetAsPrevious(ViewData* d) {
    ViewSet s = CurrentViewSet(d);
    s.previous[0] = *s.offsetX;
    s.previous[1] = *s.offsetY;
    s.previous[2] = *s.scale;
}

namespace {
void ClientCentre(HWND view, int* cx, int* cy) {
    RECT rc = {0, 0, 0, 0};
    if (view) ::GetClientRect(view, &rc);
    *cx = (rc.right - rc.left) / 2;
    *cy = (rc.bottom - rc.top) / 2;
}
}  // namespace

POINT WorldToClient(HWND view, const ViewData* d, double wx, double wy) {
    ViewSet s = CurrentViewSet(const_cast<ViewData*>(d));
    int cx, cy;
    ClientCentre(view, &cx, &cy);
    POINT p;
    p.x = cx + (LONG)std::trunc((wx + *s.offsetX) * *s.scale);
    p.y = cy - (LONG)std::trunc((wy + *s.offsetY) * *s.scale);
    return p;
}

void ClientToWorld(HWND view, const ViewData* d, int x, int y, double* wx, double* wy) {
    ViewSet s = CurrentViewSet(const_cast<ViewData*>(d));
    int cx, cy;
    ClientCentre(view, &cx, &cy);
    const double scale = *s.scale != 0 ? *s.scale : 1.0;
    *wx = (x - cx) / scale - *s.offsetX;
    *wy = -*s.offsetY - (y - cy) / scale;
}

int GetViewPaperSize(HWND view, double* width, double* height) {
    ViewData* d = GetViewData(view);
    DbInfoHead head;
    if (!d || !d->db || !DAriGetDBInfo(d->db, &head)) return 0;
    if (width) *width = head.DrawingWidth();
    if (height) *height = head.DrawingHeight();
    return 1;
}

void ZoomViewToPaper() {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    DbInfoHead head;
    if (!d || !d->db || !DAriGetDBInfo(d->db, &head)) return;
    double pw = head.DrawingWidth(), ph = head.DrawingHeight();
    RECT rc;
    ::GetClientRect(view, &rc);
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (d->overviewLevel) {
        w *= 3;
        h *= 3;
    }
    const int margin = 20;  // no edge buttons yet
    const double aw = w - margin, ah = h - margin;
    d->lastClientWidth = w;
    d->lastClientHeight = h;
    if (pw == 0 || ph == 0) pw = ph = 1.0;
    SaveViewSetAsPrevious(d);
    double s = std::fmin(aw / pw, ah / ph);
    if (!(s > 0)) s = 1.0;  // a window too small to fit leaves a usable scale
    ViewSet set = CurrentViewSet(d);
    *set.scale = s;
    if (head.OriginAtCorner()) {
        *set.offsetX = -pw / 2;
        *set.offsetY = -ph / 2;
    } else {
        *set.offsetX = 0;
        *set.offsetY = 0;
    }
    ::InvalidateRect(view, nullptr, TRUE);
    CenterViewScrollBars(view);
}

double GetViewFitRatio(HWND view) {
    if (!view) return 1.0;
    RECT rc;
    if (!::GetClientRect(view, &rc)) return 1.0;
    const double w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w < 1 || h < 1 || std::fabs(w - 34) < 1 || std::fabs(h - 34) < 1) return 1.0;
    return std::fmin(std::fabs(w - 34) / w, std::fabs(h - 34) / h);
}

double GetViewUnitsPerPixel() {
    ViewData* d = GetViewData(GetActiveView());
    if (!d) return 1.0;
    double s = *CurrentViewSet(d).scale;
    return s != 0 ? 1.0 / s : 1.0;
}
