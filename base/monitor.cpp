// Monitor work areas; see monitor.h.
#include "base/monitor.h"

namespace {

// Squared distance from a point to a rectangle (0 inside). Right and bottom
// edges belong to the next monitor, as with the system's own lookup.
double DistanceSquared(const RECT& r, int x, int y) {
    double dx = 0, dy = 0;
    if (x < r.left)
        dx = static_cast<double>(r.left) - x;
    else if (x >= r.right)
        dx = static_cast<double>(x) - (static_cast<double>(r.right) - 1);
    if (y < r.top)
        dy = static_cast<double>(r.top) - y;
    else if (y >= r.bottom)
        dy = static_cast<double>(y) - (static_cast<double>(r.bottom) - 1);
    return dx * dx + dy * dy;
}

BOOL CALLBACK CollectMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (GetMonitorInfoA(monitor, &info)) {
        MonitorArea area;
        area.rect = info.rcMonitor;
        area.work = info.rcWork;
        area.primary = (info.dwFlags & MONITORINFOF_PRIMARY) != 0;
        reinterpret_cast<std::vector<MonitorArea>*>(data)->push_back(area);
    }
    return TRUE;
}

}  // namespace

std::vector<MonitorArea> EnumMonitorAreas() {
    std::vector<MonitorArea> monitors;
    EnumDisplayMonitors(nullptr, nullptr, CollectMonitor, reinterpret_cast<LPARAM>(&monitors));
    return monitors;
}

int SelectMonitorRect(const std::vector<MonitorArea>& monitors, int x, int y, RECT* out, int mode) {
    if (monitors.empty()) return -1;
    const MonitorArea* best = nullptr;
    double bestDistance = 0;
    for (const MonitorArea& m : monitors) {
        double d = DistanceSquared(m.rect, x, y);
        // On a tie the primary monitor wins, then the first one listed.
        if (!best || d < bestDistance || (d == bestDistance && m.primary && !best->primary)) {
            best = &m;
            bestDistance = d;
        }
    }
    if (out) {
        if (mode == 1)
            *out = best->work;
        else if (mode == -1)
            *out = best->primary ? best->rect : best->work;
        else
            *out = best->rect;
    }
    return best->primary ? 0 : 1;
}

static POINT WindowCentre(const RECT* windowRect) {
    POINT centre = {0, 0};
    if (windowRect) {
        centre.x = (windowRect->left + windowRect->right) / 2;
        centre.y = (windowRect->top + windowRect->bottom) / 2;
    }
    return centre;
}

int SelectWindowMonitorRect(const std::vector<MonitorArea>& monitors, const RECT* windowRect, RECT* out) {
    POINT centre = WindowCentre(windowRect);
    return SelectMonitorRect(monitors, centre.x, centre.y, out, 0);
}

int GetMonitorRect(int x, int y, RECT* out, int mode) {
    RECT ignored;
    if (!out) out = &ignored;
    int result = SelectMonitorRect(EnumMonitorAreas(), x, y, out, mode);
    if (result >= 0) return result;
    if (mode == 1 && SystemParametersInfoA(SPI_GETWORKAREA, 0, out, 0)) return 0;
    SetRect(out, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    return 0;
}

int GetWindowMonitorRect(HWND window, RECT* out) {
    RECT r;
    bool known = window && GetWindowRect(window, &r);
    POINT centre = WindowCentre(known ? &r : nullptr);
    return GetMonitorRect(centre.x, centre.y, out, 0);
}

int GetMonitorExtent(int x, int y, int* right, int* bottom) {
    RECT r;
    int result = GetMonitorRect(x, y, &r, 0);
    if (right) *right = r.right;
    if (bottom) *bottom = r.bottom;
    return result;
}
