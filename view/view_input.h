// Mouse state shared by all drawing views, the mouse-gesture tables and
// the edge zones.
#pragma once

#include <windows.h>

// Buttons held over the views (ViewMouseStateRecord::buttons).
enum ViewButtons : int { kViewLeftHeld = 1, kViewRightHeld = 2, kViewBothHeld = 3 };

// What became of the last left press in a view.
enum LeftPressState : int {
    kLeftPressNone = 0,
    kLeftPressPending = 1,  // a click, unless the right button joins it
    kLeftPressGesture = 3,  // both buttons held: a gesture took the press
};

struct ViewMouseStateRecord {
    int buttons = 0;  // ViewButtons
    int leftPressState = kLeftPressNone;
    POINT leftPressPos = {0, 0};  // client point of the WM_LBUTTONDOWN
    int gestureDirection = -1;
    HWND rightPressView = nullptr;
    POINT rightPressScreen = {0, 0};
    int rightDragUsed = 0;
    int middlePan = 0;
    POINT lastMousePos = {0, 0};
    HWND lastLeftView = nullptr;
    POINT lastHover = {-1, -1};
};
extern ViewMouseStateRecord ViewMouseState;

// [0] plain, [1] with Ctrl; by direction 0 right-up, 1 right-down,
// 2 left-down, 3 left-up. Ids outside 1000-1339 are stored as 0.
extern int GestureCmdTable[2][4];

// Table 1 the plain table, any other the Ctrl table; the stored id.
int SetGestureCommand(int table, int index, int id);
// The gesture direction of a drag by (dx, dy) pixels (y grows downward).
int GestureDirection(int dx, int dy);
// Ids 1200-1339 go to the main frame, the others to the view.
void PostGestureCommand(int direction, HWND view, int table);
// The edge-zone mode of a new view from the setting ScrollBarMode: 1 hover
// zones, 2 all edge buttons always, 0 (any other value) no edge buttons.
int EdgeZoneModeFor(int scrollBarMode);
// Edge zone of a client point against the inner rectangle (client less 48
// pixels a side): 8 right, 4 left, 1 top, 2 bottom, 0 inside.
int EdgeZoneAt(const RECT& inner, int x, int y);
// The stored gesture command of table 1 (plain) or 2 (Ctrl); 0 when none.
int GetGestureCommand(int table, int entry);
