#include "view/view_paint.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "base/apply_settings.h"
#include "base/file_utils.h"
#include "base/local_settings_ini.h"
#include "base/running_settings.h"
#include "base/system_log.h"
#include "command/temp_db.h"
#include "view/db_info.h"
#include "view/key_cursor.h"
#include "view/rubber_band.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "view/view_transform.h"

int ViewGridShown = 0;
double GridOrigin[2] = {0, 0};
double DisplayedGridPitch[2] = {0, 0};
std::function<void(const DrawParam&)> DrawParamObserver;

namespace {

COLORREF InfoColour(const DbInfo* info, int index) {
    if (!info || index < 0 || index > 256) return RGB(255, 255, 255);
    const ColourEntry& c = info->colours[index];
    return RGB(c.red & 0xff, c.green & 0xff, c.blue & 0xff);
}

// Colour 7 of a grid setting becomes 16 on a light background, and 16 becomes
// 7 on a dark one. Painting only reads the settings: the stored ones stay as
// the user chose them, and every paint shows the same colours.
int GridColourIndex(int setting, bool light) {
    if (light && setting == 7) return 16;
    if (!light && setting == 16) return 7;
    return setting;
}

bool IsMultipleOf5(double v) {
    const long long n = (long long)RoundDecimals(v, 0);
    return n % 5 == 0;
}
}  // namespace

RenderSurface* CreateRenderSurface(HWND view) {
    auto* s = static_cast<RenderSurface*>(std::calloc(1, sizeof(RenderSurface)));
    if (!s) return nullptr;
    s->ownsDcs = 1;
    s->backEnd = 0;  // -1 asked for resolves to GDI
    s->one = 1;
    s->window = view;
    RECT rc = {0, 0, 0, 0};
    if (view) ::GetClientRect(view, &rc);
    s->client[0] = rc.left;
    s->client[1] = rc.top;
    s->client[2] = rc.right;
    s->client[3] = rc.bottom;
    return s;
}

void ResizeRenderSurface(RenderSurface* s, int width, int height) {
    if (!s) return;
    s->client[2] = s->client[0] + width;
    s->client[3] = s->client[1] + height;
}

void ReleaseRenderSurface(RenderSurface* s) {
    if (!s) return;
    if (s->objectSlot) ::DeleteObject(reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(s->objectSlot)));
    std::free(s);
}

int DrawViewGrid(DbHeader* db, DrawParam* p, const double* tl, const double* br) {
    const RunningSettings& rs = Running();
    const double setX = rs.grid.x, setY = rs.grid.y;
    // A pitch of 0 or less has no grid points: drawing one would never end.
    if (!(setX > 0) || !(setY > 0) || !std::isfinite(setX) || !std::isfinite(setY)) return 0;
    const double s = p->scale;
    if (!(s > 0) || !std::isfinite(s)) return 0;
    DbInfo* info = db ? DAriGetDbInfoPtr(0, db) : nullptr;
    const double pw = info ? CadGetF64(info, kInfoDrawW) : 0;
    const double ph = info ? CadGetF64(info, kInfoDrawH) : 0;
    const int cx = p->centre[0], cy = p->centre[1];
    auto pixX = [&](double x) { return cx + (long long)std::trunc((x + p->offsetX) * s); };
    auto pixY = [&](double y) { return cy - (long long)std::trunc((y + p->offsetY) * s); };
    double px = setX, py = setY;
    bool thinned = false;
    for (int i = 0; i < 64 && std::llabs(pixX(-pw / 2 + px) - pixX(-pw / 2)) < 10; ++i) {
        px *= 2;
        thinned = true;
    }
    for (int i = 0; i < 64 && std::llabs(pixY(ph / 2 - py) - pixY(ph / 2)) < 10; ++i) {
        py *= 2;
        thinned = true;
    }
    DisplayedGridPitch[0] = px;
    DisplayedGridPitch[1] = py;
    const double remX = std::fmod(GridOrigin[0], setX), remY = std::fmod(GridOrigin[1], setY);
    WriteSystemLog(2, "Draw Grid 2", "グリッドピッチ x=%lf y=%lf)", remX, remY);
    if (thinned && rs.bGridDspModeExtr) return 0;

    const bool light = rs.backgroundMode == 1 || rs.backgroundMode == 2;
    int ordinary = GridColourIndex(light ? rs.GRIDCOLOR_W : rs.GRIDCOLOR_B, light);
    const int emphasis = GridColourIndex(light ? rs.GRIDCOLOR_W5 : rs.GRIDCOLOR_B5, light);
    if (thinned) ordinary = light ? 13 : 6;
    HPEN penOrdinary = ::CreatePen(PS_SOLID, 0, InfoColour(info, ordinary));
    HPEN penEmphasis = ::CreatePen(PS_SOLID, 0, InfoColour(info, emphasis));
    HPEN penThin = ::CreatePen(PS_SOLID, 0, InfoColour(info, ordinary));
    HDC dc = static_cast<HDC>(p->dc);
    HGDIOBJ old = ::SelectObject(dc, penOrdinary);

    const double x0 = (std::trunc(tl[0] / px) - 1) * px + remX;
    const double x1 = (std::trunc(br[0] / px) + 2) * px + remX;
    const double y0 = (std::trunc(tl[1] / py) + 1) * py + remY;
    const double y1 = (std::trunc(br[1] / py) - 2) * py + remY;
    int drawn = 0;
    // The counts are bounded: the thinning keeps 10 pixels between marks.
    const long long cols = (long long)((x1 - x0) / px) + 1, rows = (long long)((y0 - y1) / py) + 1;
    for (long long r = 0; r < rows && r < 100000; ++r) {
        const double y = y0 - r * py;
        const long long yy = pixY(y);
        const bool rowEmph = !thinned && IsMultipleOf5(std::fabs(y - GridOrigin[1]) / py);
        for (long long c = 0; c < cols && c < 100000; ++c) {
            const double x = x0 + c * px;
            const long long xx = pixX(x);
            const bool emph = rowEmph || (!thinned && IsMultipleOf5(std::fabs(x - GridOrigin[0]) / px));
            ::SelectObject(dc, emph ? penEmphasis : (thinned ? penThin : penOrdinary));
            ::MoveToEx(dc, (int)xx - 1, (int)yy, nullptr);
            ::LineTo(dc, (int)xx + 1, (int)yy);
            if (emph && light) {
                ::MoveToEx(dc, (int)xx - 1, (int)yy + 1, nullptr);
                ::LineTo(dc, (int)xx + 1, (int)yy + 1);
            }
            ++drawn;
        }
    }
    ::SelectObject(dc, old);
    ::DeleteObject(penOrdinary);
    ::DeleteObject(penEmphasis);
    ::DeleteObject(penThin);
    return drawn;
}

int FillViewDrawParam(HWND view, ViewData* d, HDC dc, const RECT& rc, DrawParam* p) {
    if (!d) return 0;
    std::memset(p, 0, sizeof *p);
    ViewSet set = CurrentViewSet(d);
    p->offsetX = *set.offsetX;
    p->offsetY = *set.offsetY;
    p->scale = *set.scale != 0 ? *set.scale : 1.0;
    p->paperSpace = d->viewMode == 1 ? 1 : 0;
    const COLORREF back = GetDrawBackColor();
    DbInfo* info = d->db ? DAriGetDbInfoPtr(0, d->db) : nullptr;
    // Colour 0 of the drawing is the background: the library paints a black
    // background (0 in the block) with it. It is set here, as each paint
    // begins, because the table also changes where the host does not see
    // it: a module writes the drawing information through the library
    // directly, and a load brings the file's own table.
    if (info) {
        info->colours[0].red = GetRValue(back);
        info->colours[0].green = GetGValue(back);
        info->colours[0].blue = GetBValue(back);
    }
    const RunningSettings& rs = Running();
    p->size = sizeof(DrawParam);
    if (rs.bColorMode) p->colourMode = rs.bColorMode;
    p->termDraw = rs.bTermDrawFg ? 1 : 0;
    p->pointSize = rs.bPointSize ? 1 : 0;
    if (rs.bLineWidthSize) p->lineWidthSize = rs.bLineWidthSize;
    p->targetKind = 2;
    p->dc = dc;
    p->window = view;
    p->client[0] = rc.left;
    p->client[1] = rc.top;
    p->client[2] = rc.right;
    p->client[3] = rc.bottom;
    const int cx = (rc.left + rc.right) / 2, cy = (rc.top + rc.bottom) / 2;
    p->centre[0] = cx;
    p->centre[1] = cy;
    const double u = info ? CadGetF64(info, kInfoScale) : 1.0;
    p->drawScale = u;
    p->pixelsPerMm = u != 0 ? p->scale / u : p->scale;
    const double s = p->scale;
    const double lx = (rc.left - cx) / s - p->offsetX, rx = (rc.right - cx) / s - p->offsetX;
    const double ty = (cy - rc.top) / s - p->offsetY, by = (cy - rc.bottom) / s - p->offsetY;
    const double vis[4] = {lx, ty, rx, by};
    std::memcpy(p->visible, vis, sizeof vis);
    std::memcpy(p->visible2, vis, sizeof vis);
    const double tl[3] = {lx, ty, 0}, br[3] = {rx, by, 0};
    std::memcpy(p->topLeft, tl, sizeof tl);
    std::memcpy(p->bottomRight, br, sizeof br);
    p->background = RGB(GetRValue(back), GetGValue(back), GetBValue(back));
    lstrcpynA(p->font, rs.ERRFONT[0] ? rs.ERRFONT : "ＭＳ ゴシック", sizeof p->font);

    const double pw = info ? CadGetF64(info, kInfoDrawW) : 0;
    const double ph = info ? CadGetF64(info, kInfoDrawH) : 0;
    double paper[4];
    if (info && info->originAtCorner) {
        paper[0] = 0, paper[1] = ph, paper[2] = pw, paper[3] = 0;
    } else {
        paper[0] = -pw / 2, paper[1] = ph / 2, paper[2] = pw / 2, paper[3] = -ph / 2;
    }
    std::memcpy(p->paperRect, paper, sizeof paper);
    const PaperMarginEx& m = rs.paperMargin;
    if (m.papercolor > 0) {
        p->paperFrame = 1;
        p->paperKind = m.papercolor;
    }
    if (m.color > 0) {
        p->marginKind = m.color;
        p->marginFrame = 1;
        const double k = u != 0 ? 1.0 / u : 1.0;
        const bool landscape = ph < pw;
        const double l = landscape ? m.left : m.left2, r = landscape ? m.right : m.right2;
        const double t = landscape ? m.top : m.top2, b = landscape ? m.bottom : m.bottom2;
        const double mr[4] = {paper[0] + l * k, paper[1] - t * k, paper[2] - r * k, paper[3] + b * k};
        std::memcpy(p->marginRect, mr, sizeof mr);
    }
    p->originMarker = 1;
    // The last input point's marker is XOR-drawn over the finished picture
    // (DrawView), so that the wait loops' XOR calls take it away again.
    return 1;
}

int DrawViewInto(HWND view, ViewData* d, HDC dc, const RECT& rc, DrawParam* p, RenderSurface* surface, bool overlays) {
    if (!FillViewDrawParam(view, d, dc, rc, p)) return 0;
    const double tl[3] = {p->topLeft[0], p->topLeft[1], p->topLeft[2]};
    const double br[3] = {p->bottomRight[0], p->bottomRight[1], p->bottomRight[2]};
    if (DrawParamObserver) DrawParamObserver(*p);
    if (d->db) DAriDrawPre(d->db, p);
    HBRUSH brush = ::CreateSolidBrush(p->background);
    ::FillRect(dc, &rc, brush);
    ::DeleteObject(brush);
    if (d->db) DAriDrawAll(d->db, p, surface);
    if (overlays) DrawOverlayDatabases(d->db, *p, surface);
    if (ViewGridShown) DrawViewGrid(d->db, p, tl, br);
    return 1;
}

void DrawOverlayDatabases(DbHeader* db, const DrawParam& view, RenderSurface* surface) {
    if (!db) return;
    // A preview carries no frames or markers of its own: those are the
    // drawing's, painted once already.
    auto draw = [&](DbHeader* overlay) {
        DrawParam q = view;
        q.targetKind = 2;
        q.overlayFlag = 0;
        q.paperFrame = 0;
        q.marginFrame = 0;
        q.originMarker = 0;
        q.furtherMarker = 0;
        q.baseMarker = 0;
        q.overlayDb = 1;
        if (DrawParamObserver) DrawParamObserver(q);
        DAriDrawPre(overlay, &q);
        DAriDrawAll(overlay, &q, surface);
    };
    if (IsTempDbView(db)) draw(GetTempDb());
    for (DbHeader* overlay = TempDbFindFirst(db); overlay; overlay = TempDbFindNext(db))
        draw(overlay);
}

int DrawView(HWND view, ViewData* d, int, RenderSurface* surface) {
    RECT rc;
    ::GetClientRect(view, &rc);
    LARGE_INTEGER freq = {}, start = {}, end = {};
    ::QueryPerformanceFrequency(&freq);
    ::QueryPerformanceCounter(&start);
    PAINTSTRUCT ps;
    HDC paintDc = ::BeginPaint(view, &ps);
    DrawParam p;
    if (!d) {
        ::FillRect(paintDc, &rc, (HBRUSH)::GetStockObject(BLACK_BRUSH));
        ::EndPaint(view, &ps);
        return 1;
    }
    if (LocalIni().iDispDrawMode & 1) {
        HDC mem = ::CreateCompatibleDC(paintDc);
        HBITMAP bmp = ::CreateCompatibleBitmap(paintDc, rc.right - rc.left, rc.bottom - rc.top);
        HGDIOBJ old = ::SelectObject(mem, bmp);
        DrawViewInto(view, d, mem, rc, &p, surface);
        if (Running().bLastPosViewFg && view == PeekActiveView()) DrawInputBasePointInto(view, d, mem);
        ::BitBlt(paintDc, 0, 0, rc.right - rc.left, rc.bottom - rc.top, mem, 0, 0, SRCCOPY);
        ::SelectObject(mem, old);
        ::DeleteObject(bmp);
        ::DeleteDC(mem);
    } else {
        DrawViewInto(view, d, paintDc, rc, &p, surface);
        if (Running().bLastPosViewFg && view == PeekActiveView()) DrawInputBasePointInto(view, d, paintDc);
    }
    ::QueryPerformanceCounter(&end);
    const uint32_t ticks = (uint32_t)end.LowPart - (uint32_t)start.LowPart;
    WriteSystemLog(3, "Drawing Time 2", "描画時間 %lf(sec)",
                   freq.QuadPart ? (double)ticks / (double)freq.QuadPart : 0.0);
    ::EndPaint(view, &ps);
    return 1;
}

int DrawViewToDc(HWND view, int, int, HDC target, int width, int height) {
    ViewData* d = GetViewData(view);
    if (!target || !d) return 0;
    RECT client = {0, 0, 0, 0};
    ::GetClientRect(view, &client);
    const int cw = client.right > 0 ? client.right : width, ch = client.bottom > 0 ? client.bottom : height;
    const double ratio = std::min((double)width / cw, (double)height / ch);
    // Draw with a copy of the record whose current set is scaled down.
    ViewData copy = *d;
    ViewSet set = CurrentViewSet(&copy);
    *set.scale *= ratio;
    RECT rc = {0, 0, width, height};
    DrawParam p;
    const int shown = ViewGridShown;
    ViewGridShown = 0;
    DrawViewInto(view, &copy, target, rc, &p, nullptr, false);
    ViewGridShown = shown;
    return 1;
}
