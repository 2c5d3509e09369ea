// The screen area a window or point belongs to, so that dialogs and pop-ups
// open on, and stay within, the monitor the user is working on.
#pragma once

#include <windows.h>
#include <vector>

struct MonitorArea {
    RECT rect;  // whole monitor
    RECT work;  // work area (without the task bar)
    bool primary;
};

// The monitors of the running system, primary or not, in enumeration order.
std::vector<MonitorArea> EnumMonitorAreas();

// The choice over a list of monitors: the monitor containing (x, y), else the
// nearest one. Mode 1 the work area, -1 the whole rectangle of the primary
// monitor and the work area of any other, any other mode the whole rectangle.
// Returns 1 when the chosen monitor is not the primary one, 0 when it is, and
// -1 (rectangle untouched) when the list is empty.
int SelectMonitorRect(const std::vector<MonitorArea>& monitors, int x, int y, RECT* out, int mode);

// The whole rectangle of the monitor under the centre of a window rectangle
// (integer halves), or of the point (0, 0) without one; results as above.
int SelectWindowMonitorRect(const std::vector<MonitorArea>& monitors, const RECT* windowRect, RECT* out);

// The rectangle of the monitor nearest to the screen point, by mode as above.
// When no monitor can be found, mode 1 gives the system work area and other
// modes the primary screen size; the result is then 0.
int GetMonitorRect(int x, int y, RECT* out, int mode);

// GetMonitorRect in mode 0 for the centre of the window, or (0, 0) without one.
int GetWindowMonitorRect(HWND window, RECT* out);

// GetMonitorRect in mode 0; right and bottom edges of the monitor (either out
// value may be null).
int GetMonitorExtent(int x, int y, int* right, int* bottom);
