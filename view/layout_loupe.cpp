#include "view/layout_loupe.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "base/apply_settings.h"
#include "base/cmd_request.h"
#include "base/running_settings.h"
#include "command/command_system.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/page_services_cmd.h"
#include "command/wait_loop.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/view_data.h"
#include "view/view_paint.h"
#include "view/view_popups.h"
#include "view/view_table.h"
#include "view/view_transform.h"

CachedPicture LayoutPicture;
CachedPicture LoupePicture;
LayoutViewState LayoutState;
LoupeState Loupe;

void MarkPopupPicturesStale() {
    LayoutPicture.stale = 1;
    LoupePicture.stale = 1;
}

namespace {
// While the on-screen calculator runs, clicks in both windows are the
// calculator's business: they neither activate nor reach the windows.
bool CalculatorOpen() {
    auto& open = HostHooks().isCalculatorOpen;
    return open && open() != 0;
}

DbInfo* ActiveInfo() {
    DbHeader* db = GetActiveViewDb();
    return db ? DAriGetDbInfoPtr(0, db) : nullptr;
}

void PaperSize(double* w, double* h) {
    DbInfo* info = ActiveInfo();
    *w = info ? CadGetF64(info, kInfoDrawW) : 0;
    *h = info ? CadGetF64(info, kInfoDrawH) : 0;
}

bool OriginAtCorner() {
    DbInfo* info = ActiveInfo();
    return info && info->originAtCorner;
}

COLORREF BackgroundOfMode() {
    switch (Running().backgroundMode) {
    case 0: return RGB(0, 0, 0);
    case 1: return RGB(255, 255, 255);
    default: return GetDrawBackColor();
    }
}

// Draws the active drawing with the scale, offsets and centre given into dc.
void DrawFitted(HDC dc, const RECT& px, double u, double offX, double offY) {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d || !d->db || !(u > 0) || !std::isfinite(u)) return;
    DrawParam p;
    if (!FillViewDrawParam(view, d, dc, px, &p)) return;
    p.scale = u;
    p.offsetX = offX;
    p.offsetY = offY;
    p.centre[0] = (px.left + px.right) / 2;
    p.centre[1] = (px.top + px.bottom) / 2;
    const double cx = p.centre[0], cy = p.centre[1];
    const double vis[4] = {(px.left - cx) / u - offX, (cy - px.top) / u - offY, (px.right - cx) / u - offX,
                           (cy - px.bottom) / u - offY};
    std::memcpy(p.visible, vis, sizeof vis);
    std::memcpy(p.visible2, vis, sizeof vis);
    p.pixelsPerMm = p.drawScale != 0 ? u / p.drawScale : u;
    p.originMarker = 1;
    std::memset(p.origin, 0, sizeof p.origin);
    p.overlayFlag = 1;
    p.what = kDrawDatabase;
    DAriDrawPre(d->db, &p);
    DAriDraw(d->db, &p);
}

// Makes the window's picture again when it has none or it is stale.
bool RebuildPicture(HWND w, CachedPicture& pic, void (*paint)(HWND, HDC, const RECT&)) {
    RECT rc;
    ::GetClientRect(w, &rc);
    if (pic.bitmap && !pic.stale && pic.width == rc.right && pic.height == rc.bottom) return true;
    if (pic.bitmap) ::DeleteObject(pic.bitmap);
    pic.bitmap = nullptr;
    HDC screen = ::GetDC(w);
    HDC mem = ::CreateCompatibleDC(screen);
    HBITMAP bmp =
        (mem && rc.right > 0 && rc.bottom > 0) ? ::CreateCompatibleBitmap(screen, rc.right, rc.bottom) : nullptr;
    ::ReleaseDC(w, screen);
    if (!bmp) {
        if (mem) ::DeleteDC(mem);
        return false;
    }
    HGDIOBJ old = ::SelectObject(mem, bmp);
    HBRUSH back = ::CreateSolidBrush(BackgroundOfMode());
    ::FillRect(mem, &rc, back);
    ::DeleteObject(back);
    paint(w, mem, rc);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
    pic.bitmap = bmp;
    pic.width = rc.right;
    pic.height = rc.bottom;
    pic.stale = 0;
    return true;
}

void CopyPicture(HDC dc, const CachedPicture& pic) {
    if (!pic.bitmap) return;
    HDC mem = ::CreateCompatibleDC(dc);
    HGDIOBJ old = ::SelectObject(mem, pic.bitmap);
    ::BitBlt(dc, 0, 0, pic.width, pic.height, mem, 0, 0, SRCCOPY);
    ::SelectObject(mem, old);
    ::DeleteDC(mem);
}

void PlaceAtStart(HWND w) {
    long width = Running().layoutViewWidth, height = Running().layoutViewHeight;
    if (width <= 0) width = 300;
    if (height <= 0) height = 270;
    ::SetWindowPos(w, nullptr, 80, 40, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS | SWP_FRAMECHANGED);
}

void EraseBandWhenTracking() {
    if (CmdInput().wantedMask & CMD_WANT_TRACK) UpdateRubberBand(GetActiveView(), 0, 0, 1);
}

void GiveActivationBack() {
    if (HWND frame = CmdMainFrame()) ::SetActiveWindow(frame);
}

// The red frame's edges, each drawn only where it crosses the client area.
void DrawClampedFrame(HDC dc, const RECT& rc, POINT a, POINT b) {
    HPEN pen = ::CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, pen);
    const int l = std::min(a.x, b.x), r = std::max(a.x, b.x), t = std::min(a.y, b.y), btm = std::max(a.y, b.y);
    auto clampX = [&](int x) { return std::max<int>(rc.left, std::min<int>(rc.right, x)); };
    auto clampY = [&](int y) { return std::max<int>(rc.top, std::min<int>(rc.bottom, y)); };
    auto hline = [&](int y) {
        if (y < rc.top || y > rc.bottom || r < rc.left || l > rc.right) return;
        ::MoveToEx(dc, clampX(l), y, nullptr);
        ::LineTo(dc, clampX(r), y);
    };
    auto vline = [&](int x) {
        if (x < rc.left || x > rc.right || btm < rc.top || t > rc.bottom) return;
        ::MoveToEx(dc, x, clampY(t), nullptr);
        ::LineTo(dc, x, clampY(btm));
    };
    hline(t);
    hline(btm);
    vline(l);
    vline(r);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
}

void XorRect(HWND w, POINT a, POINT b) {
    HDC dc = ::GetDC(w);
    const int rop = ::SetROP2(dc, R2_XORPEN);
    HPEN pen = ::CreatePen(PS_SOLID, 2, RGB(255, 0, 0));
    HGDIOBJ old = ::SelectObject(dc, pen);
    HGDIOBJ oldBrush = ::SelectObject(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, a.x, a.y, b.x, b.y);
    ::SelectObject(dc, oldBrush);
    ::SelectObject(dc, old);
    ::DeleteObject(pen);
    ::SetROP2(dc, rop);
    ::ReleaseDC(w, dc);
}

// Keys and characters in either window are the command's.
bool HandleKeys(HWND w, UINT m, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (m != WM_KEYDOWN && m != WM_CHAR) return false;
    if (HWND view = GetActiveView()) {
        if (::SendMessageA(view, m, wp, lp) == 0 && m == WM_CHAR) {
            *result = 0;
            return true;
        }
    }
    (void)w;
    *result = 0;
    return true;
}
}  // namespace

double FittedPaperScale(int l, int t, int r, int b) {
    double pw, ph;
    PaperSize(&pw, &ph);
    if (!(pw > 0) || !(ph > 0)) return 0;
    return std::min((r - l - 10) / pw, (b - t - 5) / ph);
}

void DrawDrawingFitted(HDC dc, int l, int t, int r, int b) {
    double pw, ph;
    PaperSize(&pw, &ph);
    const double u = FittedPaperScale(l, t, r, b);
    const bool corner = OriginAtCorner();
    DrawFitted(dc, RECT{l, t, r, b}, u, corner ? -pw / 2 : 0, corner ? -ph / 2 : 0);
}

int DrawWorldRectFitted(HWND w, HDC dc, double x1, double y1, double x2, double y2) {
    if (!w || !GetViewData(GetActiveView())) return 0;
    RECT rc;
    ::GetClientRect(w, &rc);
    const double dx = std::fabs(x1 - x2), dy = std::fabs(y1 - y2);
    if (!(dx > 0) || !(dy > 0)) return 0;
    const double u = std::min(rc.right / dx, rc.bottom / dy);
    DrawFitted(dc, rc, u, -(x1 + x2) / 2, -(y1 + y2) / 2);
    return 1;
}

int GetViewVisibleWorldRect(HWND view, double* rect) {
    ViewData* d = GetViewData(view);
    if (!d || !rect) return 0;
    RECT rc;
    ::GetClientRect(view, &rc);
    ViewSet set = CurrentViewSet(d);
    const double s = *set.scale > 0 ? *set.scale : 1.0;
    const int cx = rc.right / 2, cy = rc.bottom / 2;
    rect[0] = (rc.left - cx) / s - *set.offsetX;
    rect[1] = (cy - rc.top) / s - *set.offsetY;
    rect[2] = (rc.right - cx) / s - *set.offsetX;
    rect[3] = (cy - rc.bottom) / s - *set.offsetY;
    DbInfo* info = d->db ? DAriGetDbInfoPtr(0, d->db) : nullptr;
    if (info && info->originAtCorner) {
        const double hw = CadGetF64(info, kInfoDrawW) / 2, hh = CadGetF64(info, kInfoDrawH) / 2;
        rect[0] -= hw;
        rect[2] -= hw;
        rect[1] -= hh;
        rect[3] -= hh;
    }
    return 1;
}

void LayoutDragToWorld(const RECT& rc, double u, int ax, int ay, int bx, int by, bool corner, double pw, double ph,
                       double* out) {
    const int cx = (rc.right + rc.left) / 2, cy = (rc.bottom + rc.top) / 2;
    const int minX = std::min(ax, bx), maxX = std::max(ax, bx), minY = std::min(ay, by), maxY = std::max(ay, by);
    out[0] = (minX - cx) / u;
    out[2] = (maxX - cx) / u;
    out[1] = (cy - minY) / u;
    out[3] = (cy - maxY) / u;
    if (corner) {
        out[0] += pw / 2;
        out[2] += pw / 2;
        out[1] += ph / 2;
        out[3] += ph / 2;
    }
}

void GetLoupeWorldRect(double* rect) { std::memcpy(rect, Loupe.rect, sizeof Loupe.rect); }

void CenterLoupeOnCursor(HWND loupe) {
    HWND view = GetActiveView();
    double vis[4];
    if (!GetViewVisibleWorldRect(view, vis)) return;
    double c[3];
    GetCursorWorldPoint(c);
    RECT rc;
    ::GetClientRect(loupe, &rc);
    const double e = std::fabs(vis[2] - vis[0]) * 0.5 * Loupe.factor;
    const double e2 = rc.right > 0 ? e * rc.bottom / rc.right : e;
    Loupe.rect[0] = c[0] - e;
    Loupe.rect[2] = c[0] + e;
    Loupe.rect[1] = c[1] + e2;
    Loupe.rect[3] = c[1] - e2;
}

void GetInputCursorPoint(double* point) {
    HWND loupe = LoupeWindow();
    POINT sp;
    RECT wr;
    if (loupe && ::IsWindowVisible(loupe) && ::GetCursorPos(&sp) && ::GetWindowRect(loupe, &wr) && sp.x > wr.left &&
        sp.x < wr.right - 1 && sp.y > wr.top && sp.y < wr.bottom - 1) {
        if (ViewGridShown) {
            GetGridSnappedCursorPoint(point);
        } else {
            point[0] = Loupe.point[0];
            point[1] = Loupe.point[1];
            point[2] = 0;
        }
        return;
    }
    GetCursorWorldPoint(point);
}

namespace {
void PaintLayoutPicture(HWND, HDC dc, const RECT& rc) { DrawDrawingFitted(dc, rc.left, rc.top, rc.right, rc.bottom); }
void PaintLoupePicture(HWND w, HDC dc, const RECT&) {
    DrawWorldRectFitted(w, dc, Loupe.rect[0], Loupe.rect[1], Loupe.rect[2], Loupe.rect[3]);
}

void LoupePointAt(HWND w, LPARAM l) {
    RECT rc;
    ::GetClientRect(w, &rc);
    const int x = static_cast<short>(LOWORD(l)), y = static_cast<short>(HIWORD(l));
    const double width = rc.right > 0 ? rc.right : 1, height = rc.bottom > 0 ? rc.bottom : 1;
    Loupe.point[0] = Loupe.rect[0] + std::fabs(Loupe.rect[2] - Loupe.rect[0]) / width * x;
    Loupe.point[1] = Loupe.rect[1] - std::fabs(Loupe.rect[1] - Loupe.rect[3]) / height * y;
    Loupe.pointValid = 1;
    Loupe.aperture = 8 * std::fabs(Loupe.rect[1] - Loupe.rect[3]) / height;
}
}  // namespace

LRESULT CALLBACK LayoutViewProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    LRESULT keyResult = 0;
    if (HandleKeys(w, m, wp, lp, &keyResult)) return keyResult;
    LayoutViewState& s = LayoutState;
    switch (m) {
    case WM_CREATE: PlaceAtStart(w); return 0;
    case WM_SIZE: LayoutPicture.stale = 1; break;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        RECT rc;
        ::GetClientRect(w, &rc);
        if (RebuildPicture(w, LayoutPicture, PaintLayoutPicture)) {
            CopyPicture(dc, LayoutPicture);
            HWND view = GetActiveView();
            double vis[4];
            const double u = FittedPaperScale(rc.left, rc.top, rc.right, rc.bottom);
            if (view && u > 0 && GetViewVisibleWorldRect(view, vis)) {
                const int cx = (rc.right + rc.left) / 2, cy = (rc.bottom + rc.top) / 2;
                s.frame1 = {cx + static_cast<int>(std::trunc(u * vis[0])),
                            cy - static_cast<int>(std::trunc(u * vis[1]))};
                s.frame2 = {cx + static_cast<int>(std::trunc(u * vis[2])),
                            cy - static_cast<int>(std::trunc(u * vis[3]))};
                DrawClampedFrame(dc, rc, s.frame1, s.frame2);
            }
        }
        ::EndPaint(w, &ps);
        return 0;
    }
    case WM_MOUSEACTIVATE:
        if (CalculatorOpen()) return MA_NOACTIVATEANDEAT;
        break;
    case WM_NCMOUSEMOVE: EraseBandWhenTracking(); break;
    case WM_LBUTTONDOWN:
        if (CalculatorOpen()) return 0;
        EraseBandWhenTracking();
        ::SetCapture(w);
        s.start = s.previousEnd = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        s.dragging = 1;
        s.rubberDrawn = 0;
        return 0;
    case WM_MOUSEMOVE:
        if (s.dragging) {
            s.current = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
            if (s.rubberDrawn) XorRect(w, s.start, s.previousEnd);
            XorRect(w, s.start, s.current);
            s.rubberDrawn = 1;
            s.previousEnd = s.current;
        }
        return 0;
    case WM_LBUTTONUP: {
        if (CalculatorOpen()) return 0;
        ::ReleaseCapture();
        GiveActivationBack();
        if (!s.dragging) return 0;
        s.dragging = 0;
        const POINT end = {static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
        RECT rc;
        ::GetClientRect(w, &rc);
        double u = FittedPaperScale(rc.left, rc.top, rc.right, rc.bottom);
        if (GetActiveView() && u > 0) {
            RECT r = {s.start.x, s.start.y, end.x, end.y};
            const bool click = std::abs(end.x - s.start.x) <= 1 && std::abs(end.y - s.start.y) <= 1;
            bool zoom = true;
            if (click) {
                if (s.hasPrevious) {
                    const int hw = std::abs(s.previous.right - s.previous.left) / 2;
                    const int hh = std::abs(s.previous.bottom - s.previous.top) / 2;
                    r = {end.x - hw, end.y - hh, end.x + hw, end.y + hh};
                    u = s.previousFactor;
                } else {
                    zoom = false;  // a click before any drag only repaints
                }
            } else {
                s.previous = r;
                s.previousFactor = u;
                s.hasPrevious = 1;
            }
            if (zoom) {
                double pw, ph;
                PaperSize(&pw, &ph);
                LayoutDragToWorld(rc, u, r.left, r.top, r.right, r.bottom, OriginAtCorner(), pw, ph, s.zoom);
                CmdRequest req;
                std::memset(&req, 0, sizeof req);
                req.pt1[0] = s.zoom[0];
                req.pt1[1] = s.zoom[1];
                req.pt2[0] = s.zoom[2];
                req.pt2[1] = s.zoom[3];
                ZoomViewToRect(&req);
                MarkPopupPicturesStale();
            }
        }
        ::InvalidateRect(w, nullptr, FALSE);
        return 0;
    }
    case WM_CLOSE: ::ShowWindow(w, SW_HIDE); return 0;
    case WM_DESTROY:
        if (LayoutPicture.bitmap) ::DeleteObject(LayoutPicture.bitmap);
        LayoutPicture = CachedPicture();
        break;
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}

LRESULT CALLBACK LoupeViewProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    LRESULT keyResult = 0;
    if (HandleKeys(w, m, wp, lp, &keyResult)) return keyResult;
    switch (m) {
    case WM_CREATE: PlaceAtStart(w); return 0;
    case WM_ACTIVATE: return 0;
    case WM_SIZE:
        if (GetActiveView()) CenterLoupeOnCursor(w);
        LoupePicture.stale = 1;
        break;
    case WM_COMMAND:
        if (LOWORD(wp) == 2222 && GetActiveView()) {
            CenterLoupeOnCursor(w);
            LoupePicture.stale = 1;
        }
        return 0;
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
        Loupe.painting = 1;
        PAINTSTRUCT ps;
        HDC dc = ::BeginPaint(w, &ps);
        if (RebuildPicture(w, LoupePicture, PaintLoupePicture)) CopyPicture(dc, LoupePicture);
        ::EndPaint(w, &ps);
        Loupe.painting = 0;
        return 0;
    }
    case WM_MOUSEMOVE:
        LoupePointAt(w, lp);
        CmdInput().event = CMD_EV_MOUSE_MOVE;
        return 0;
    case WM_MOUSEACTIVATE:
        if (CalculatorOpen()) return MA_NOACTIVATEANDEAT;
        break;
    case WM_LBUTTONDOWN:
        if (CalculatorOpen()) return MA_NOACTIVATEANDEAT;
        LoupePointAt(w, lp);
        CmdInput().event = CMD_EV_LBUTTON;
        return 0;
    case WM_LBUTTONUP:
        if (CalculatorOpen()) return MA_NOACTIVATEANDEAT;
        GiveActivationBack();
        return 0;
    case WM_NCMOUSEMOVE: UpdateRubberBand(GetActiveView(), 0, 0, 1); break;
    case WM_CLOSE: ::ShowWindow(w, SW_HIDE); return 0;
    case WM_DESTROY:
        if (LoupePicture.bitmap) ::DeleteObject(LoupePicture.bitmap);
        LoupePicture = CachedPicture();
        break;
    default: break;
    }
    return ::DefWindowProcA(w, m, wp, lp);
}
