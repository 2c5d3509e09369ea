#include "view/view_coords.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/running_settings.h"
#include "command/command_ids.h"
#include "command/wait_loop.h"
#include "view/db_info.h"
#include "view/display_commands.h"
#include "view/drawing_state.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/view_table.h"
#include "view/view_transform.h"

TextAttributes DefaultTextAttributes;
POINT LastViewMousePos = {0, 0};
POINT MiddleDragPos = {0, 0};
int ViewScrolledFlag = 0;
int DocumentChangedFlag = 0;

ViewSet CurrentViewSet(ViewData* d) { return ViewSetOfMode(d, d->viewMode); }

ViewSet ViewSetOfMode(ViewData* d, int mode) {
    switch (mode) {
    case 1: return {&d->paperOffsetX, &d->paperOffsetY, &d->paperScale, d->prevPaper};
    case 2: return {&d->frameOffsetX, &d->frameOffsetY, &d->frameScale, d->prevFrame};
    default: return {&d->modelOffsetX, &d->modelOffsetY, &d->modelScale, d->prevModel};
    }
}

int GetViewModeOf(HWND view) {
    ViewData* d = GetViewData(view);
    return d ? d->viewMode : -1;
}

void SetViewModeOf(HWND view, int mode) {
    if (ViewData* d = GetViewData(view)) d->viewMode = mode;
}

int GetViewModeSet(HWND view, int mode, double set[3]) {
    ViewData* d = GetViewData(view);
    if (!d || !set) return 0;
    ViewSet s = ViewSetOfMode(d, mode);
    set[0] = *s.offsetX;
    set[1] = *s.offsetY;
    set[2] = *s.scale;
    return 1;
}

int SetViewModeSet(HWND view, int mode, const double set[3]) {
    ViewData* d = GetViewData(view);
    if (!d || !set) return 0;
    ViewSet s = ViewSetOfMode(d, mode);
    s.previous[0] = *s.offsetX;
    s.previous[1] = *s.offsetY;
    s.previous[2] = *s.scale;
    *s.offsetX = set[0];
    *s.offsetY = set[1];
    *s.scale = set[2];
    return 1;
}

void SaveViewSetAsPrevious(ViewData* d) {
    ViewSet s = CurrentViewSet(d);
    s.previous[0] = *s.offsetX;
    s.previous[1] = *s.offsetY;
    s.previous[2] = *s.scale;
}

namespace {
void ClientSize(HWND view, int* w, int* h) {
    RECT rc = {0, 0, 0, 0};
    if (view) ::GetClientRect(view, &rc);
    *w = rc.right - rc.left;
    *h = rc.bottom - rc.top;
}

// A zero scale would divide by zero in every conversion.
double UsableScale(double s) { return s != 0 ? s : 1.0; }

void RepaintAfterMove(HWND view) {
    ::InvalidateRect(view, nullptr, TRUE);
    ::UpdateWindow(view);
    ViewScrolledFlag = 1;
    DocumentChangedFlag = 1;
}
}  // namespace

POINT WorldToClient(HWND view, const ViewData* d, double wx, double wy) {
    ViewSet s = CurrentViewSet(const_cast<ViewData*>(d));
    int w, h;
    ClientSize(view, &w, &h);
    POINT p;
    p.x = w / 2 + (LONG)std::trunc((wx + *s.offsetX) * *s.scale);
    p.y = h / 2 - (LONG)std::trunc((wy + *s.offsetY) * *s.scale);
    return p;
}

void ClientToWorld(HWND view, const ViewData* d, int x, int y, double* wx, double* wy) {
    ViewSet s = CurrentViewSet(const_cast<ViewData*>(d));
    int w, h;
    ClientSize(view, &w, &h);
    const double scale = UsableScale(*s.scale);
    *wx = (x - w / 2) / scale - *s.offsetX;
    *wy = -*s.offsetY - (y - h / 2) / scale;
}

int GetViewPaperSize(HWND view, double* width, double* height) {
    ViewData* d = GetViewData(view);
    DbInfoHead head;
    if (!d || !d->db || !DAriGetDBInfo(&head, d->db)) return 0;
    if (width) *width = head.DrawingWidth();
    if (height) *height = head.DrawingHeight();
    return 1;
}

int GetViewWorldRect(HWND view, double* tl, double* br) {
    if (!view) view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d) {
        tl[0] = tl[1] = br[0] = br[1] = 0;
        return 0;
    }
    if (d->viewMode < 0 || d->viewMode > 2) return 1;
    ViewSet s = CurrentViewSet(d);
    int w, h;
    ClientSize(view, &w, &h);
    const int a = w / 2, b = h / 2;
    const double sc = UsableScale(*s.scale);
    tl[0] = -a / sc - *s.offsetX;
    tl[1] = -*s.offsetY + b / sc;
    br[0] = (w - a) / sc - *s.offsetX;
    br[1] = -*s.offsetY - (h - b) / sc;
    return 1;
}

int ZoomViewToPaper() {
    HWND view = GetActiveView();
    if (!view) return 0;
    HWND target = view;
    HWND firstChild = GetFirstChildWindow(view);
    if (firstChild) target = firstChild;
    ViewData* d = GetViewData(target);
    if (!d) d = GetViewData(view);
    if (!d) return 0;
    DbInfoHead head;
    std::memset(&head, 0, sizeof head);
    if (d->db) DAriGetDBInfo(&head, d->db);
    double pw = head.DrawingWidth(), ph = head.DrawingHeight();
    int w, h;
    ClientSize(target, &w, &h);
    if (d->overviewLevel) {
        w *= 3;
        h *= 3;
    }
    const int margin = Running().bScTestBtn ? 60 : 20;
    const double aw = w - margin, ah = h - margin;
    d->lastClientWidth = w;
    d->lastClientHeight = h;
    if (pw == 0 || ph == 0) pw = ph = 1.0;
    SaveViewSetAsPrevious(d);
    double s = std::min(aw / pw, ah / ph);
    const double low = GetScaleLimit(d, 0) * 0.00001, high = GetScaleLimit(d, 1) * 1000;
    if (s < low) s = low;
    if (s > high) s = high;
    ViewSet set = CurrentViewSet(d);
    *set.scale = s;
    if (head.OriginAtCorner()) {
        *set.offsetX = -pw / 2;
        *set.offsetY = -ph / 2;
    } else {
        *set.offsetX = 0;
        *set.offsetY = 0;
    }
    if (firstChild) {
        int i = 0;
        for (HWND c = firstChild; c; c = GetNextChildWindow(c), ++i) {
            ::InvalidateRect(c, nullptr, TRUE);
            ::SetWindowLongPtrA(c, sizeof(LONG_PTR), i);
        }
    } else {
        ::InvalidateRect(view, nullptr, TRUE);
    }
    CenterViewScrollBars(view);
    CmdInput().event = CMD_EV_VIEW_CHANGED;
    return 1;
}

double GetViewFitRatio(HWND view) {
    if (!view) return 1.0;
    RECT rc;
    if (!::GetClientRect(view, &rc)) return 1.0;
    const double w = rc.right - rc.left, h = rc.bottom - rc.top;
    if (w < 1 || h < 1 || std::fabs(w - 34) < 1 || std::fabs(h - 34) < 1) return 1.0;
    return std::min(std::fabs(w - 34) / w, std::fabs(h - 34) / h);
}

double GetViewUnitsPerPixel() {
    ViewData* d = GetViewData(GetActiveView());
    if (!d) return 1.0;
    double s = *CurrentViewSet(d).scale;
    return s != 0 ? 1.0 / s : 1.0;
}

void ScrollViewByPercent(HWND view, int dx, int dy) {
    ViewData* d = GetViewData(view);
    if (!d) return;
    if (d->overviewLevel) {
        for (HWND c = GetFirstChildWindow(view); c; c = GetNextChildWindow(c)) {
            ::InvalidateRect(c, nullptr, TRUE);
            ::UpdateWindow(c);
        }
        return;
    }
    SaveViewSetAsPrevious(d);
    double tl[2], br[2];
    GetViewWorldRect(view, tl, br);
    ViewSet s = CurrentViewSet(d);
    *s.offsetX += std::fabs(br[0] - tl[0]) / 100 * dx;
    *s.offsetY += std::fabs(tl[1] - br[1]) / 100 * dy;
    RepaintAfterMove(view);
}

void ScrollViewByStep(int direction, HWND view) {
    ViewData* d = GetViewData(view);
    if (!d) return;
    SaveViewSetAsPrevious(d);
    double tl[2], br[2];
    GetViewWorldRect(view, tl, br);
    const double step = Running().bScTestBtn ? 15 : 5;
    const double vw = std::fabs(br[0] - tl[0]), vh = std::fabs(tl[1] - br[1]);
    ViewSet s = CurrentViewSet(d);
    switch (direction) {
    case 4: *s.offsetX += vw * step / 100; break;
    case 3: *s.offsetX -= vw * step / 100; break;
    case 1: *s.offsetY += vh * step / 100; break;
    case 2: *s.offsetY -= vh * step / 100; break;
    default: break;
    }
    RepaintAfterMove(view);
}

void PanViewByDrag(HWND view, int x, int y) {
    ViewData* d = GetViewData(view);
    if (!d) return;
    SaveViewSetAsPrevious(d);
    double tl[2], br[2];
    GetViewWorldRect(view, tl, br);
    const double vw = std::fabs(br[0] - tl[0]), vh = std::fabs(tl[1] - br[1]);
    int w, h;
    ClientSize(view, &w, &h);
    ViewSet s = CurrentViewSet(d);
    if (x != MiddleDragPos.x && w != 0) *s.offsetX += (double)(x - MiddleDragPos.x) * vw / w;
    if (y != MiddleDragPos.y && h != 0) *s.offsetY += (double)(MiddleDragPos.y - y) * vh / h;
    RepaintAfterMove(view);
}

namespace {
int ScrollPos(HWND view, int bar) {
    SCROLLINFO si = {sizeof si, SIF_POS | SIF_RANGE};
    if (!::GetScrollInfo(view, bar, &si)) return 50;
    return si.nPos;
}
void SetScrollPos(HWND view, int bar, int pos) { ::SetScrollPos(view, bar, pos, TRUE); }

void ShiftByPercentOfWidth(HWND view, double percent) {
    ViewData* d = GetViewData(view);
    if (!d) return;
    SaveViewSetAsPrevious(d);
    double tl[2], br[2];
    GetViewWorldRect(view, tl, br);
    *CurrentViewSet(d).offsetX -= std::fabs(br[0] - tl[0]) * percent / 100;
    RepaintAfterMove(view);
}
}  // namespace

void HandleViewScroll(HWND view, UINT message, int code, int thumb) {
    ViewData* d = GetViewData(view);
    if (!d) return;
    UpdateRubberBand(view, 0, 0, 1);
    CmdInput().event = CMD_EV_VIEW_CHANGED;
    const bool buttons = Running().bScTestBtn != 0;
    if (message == WM_HSCROLL) {
        const int p = ScrollPos(view, SB_HORZ);
        switch (code) {
        case SB_LINELEFT:
            if (buttons || p == 0)
                ScrollViewByStep(4, view);
            else {
                SetScrollPos(view, SB_HORZ, p - 3);
                ScrollViewByPercent(view, 3, 0);
            }
            break;
        case SB_LINERIGHT:
            if (buttons)
                ShiftByPercentOfWidth(view, 15);
            else if (p >= 100)
                ShiftByPercentOfWidth(view, 5);
            else {
                SetScrollPos(view, SB_HORZ, p + 3);
                ScrollViewByPercent(view, -3, 0);
            }
            break;
        case SB_PAGELEFT:
            SetScrollPos(view, SB_HORZ, std::max(p - 10, 0));
            ScrollViewByPercent(view, 10, 0);
            break;
        case SB_PAGERIGHT:
            SetScrollPos(view, SB_HORZ, std::min(p + 10, 100));
            ScrollViewByPercent(view, -10, 0);
            break;
        case SB_THUMBPOSITION:
            SetScrollPos(view, SB_HORZ, thumb);
            ScrollViewByPercent(view, p - thumb, 0);
            break;
        default: break;
        }
        return;
    }
    const int p = ScrollPos(view, SB_VERT);
    if (d->overviewLevel) {
        int n = p;
        if (code == SB_LINEDOWN || code == SB_PAGEDOWN)
            n = p + 1;
        else if (code == SB_THUMBPOSITION)
            n = thumb;
        else if (code <= 4)
            n = p - 1;
        int lo = 0, hi = 100;
        ::GetScrollRange(view, SB_VERT, &lo, &hi);
        n = std::max(lo, std::min(hi, n));
        if (n == p) return;
        SetScrollPos(view, SB_VERT, n);
        d->overviewFirstGroup = n;
        for (HWND c = GetFirstChildWindow(view); c; c = GetNextChildWindow(c))
            ::InvalidateRect(c, nullptr, TRUE);
        return;
    }
    switch (code) {
    case SB_LINEUP:
        if (buttons || p <= 0)
            ScrollViewByStep(2, view);
        else {
            SetScrollPos(view, SB_VERT, p - 3);
            ScrollViewByPercent(view, 0, -3);
        }
        break;
    case SB_LINEDOWN:
        if (buttons || p >= 100)
            ScrollViewByStep(1, view);
        else {
            SetScrollPos(view, SB_VERT, p + 3);
            ScrollViewByPercent(view, 0, 3);
        }
        break;
    case SB_PAGEUP:
        SetScrollPos(view, SB_VERT, std::max(p - 10, 0));
        ScrollViewByPercent(view, 0, -10);
        break;
    case SB_PAGEDOWN:
        SetScrollPos(view, SB_VERT, std::min(p + 10, 100));
        ScrollViewByPercent(view, 0, 10);
        break;
    case SB_THUMBPOSITION:
        SetScrollPos(view, SB_VERT, thumb);
        ScrollViewByPercent(view, 0, thumb - p);
        break;
    default: break;
    }
}

int HandleViewCommand(HWND view, int id) {
    switch (id) {
    case ID_CADWIN_SCROLL_UP:
    case ID_CADWIN_SCROLL2_UP: ::PostMessageA(view, WM_VSCROLL, SB_LINEUP, 0); return 1;
    case ID_CADWIN_SCROLL_DOWN:
    case ID_CADWIN_SCROLL2_DOWN: ::PostMessageA(view, WM_VSCROLL, SB_LINEDOWN, 0); return 1;
    case ID_CADWIN_SCROLL_LEFT:
    case ID_CADWIN_SCROLL2_LEFT: ::PostMessageA(view, WM_HSCROLL, SB_LINELEFT, 0); return 1;
    case ID_CADWIN_SCROLL_RIGHT:
    case ID_CADWIN_SCROLL2_RIGHT: ::PostMessageA(view, WM_HSCROLL, SB_LINERIGHT, 0); return 1;
    case CadwinZoomIn(0):
    case CadwinZoomIn(1):
    case CadwinZoomIn(2):
    case CadwinZoomIn(3):
    case CadwinZoomOut(0):
    case CadwinZoomOut(1):
    case CadwinZoomOut(2):
    case CadwinZoomOut(3): {
        if (!GetViewData(view)) return 1;
        double p[3];
        GetCursorWorldPoint(p);
        SetKeyCursorPoint(p);
        int w, h;
        ClientSize(view, &w, &h);
        LastViewMousePos = {w / 2, h / 2};
        const bool in =
            id == CadwinZoomIn(0) || id == CadwinZoomIn(1) || id == CadwinZoomIn(2) || id == CadwinZoomIn(3);
        if (in)
            DispZoomIn(0, 0.7);
        else
            DispZoomOut(0, 0.7);
        return 1;
    }
    case CadwinZoomFit(0):
    case CadwinZoomFit(1):
    case CadwinZoomFit(2):
    case CadwinZoomFit(3):
        UpdateRubberBand(view, 0, 0, 1);
        ZoomViewToPaper();
        ::UpdateWindow(view);
        DocumentChangedFlag = 1;
        return 1;
    default: return 0;
    }
}

void RescaleViewOnSize(HWND view, int width, int height) {
    ViewData* d = GetViewData(view);
    if (!d || !d->db) return;
    if (d->lastClientWidth != 0 && d->lastClientHeight != 0 && width > 0) {
        const double f = (double)width / d->lastClientWidth;
        d->modelScale *= f;
        d->paperScale *= f;
    }
    if (width > 0 && height > 0) {
        d->lastClientWidth = width;
        d->lastClientHeight = height;
    }
    if (d->overviewLevel) {
        int k = 0;
        for (HWND c = GetFirstChildWindow(view); c && k < 9; c = GetNextChildWindow(c), ++k)
            ::MoveWindow(c, width * (k % 3) / 3, height * (k / 3) / 3, width / 3 + 2, height / 3 + 1, TRUE);
    }
}
