// The snap candidate under the resting pointer and the pick aperture.
#pragma once

#include <windows.h>

// The candidate the last snap preview marked (PreviewSnapAtCursor,
// view/element_snap_search.h): its kind (1 end point, 2 intersection, 3 on
// line, 4 mid point, 5 centre; 0 none), point and view.
struct HoverSnapRecord {
    int kind = 0;
    double point[3] = {0, 0, 0};
    HWND view = nullptr;
};
extern HoverSnapRecord HoverSnap;

// The pick aperture (GetCursorFindArea, pixels: half the square's side) in
// drawing units of the active view's current view mode; 0 without an
// active view.
double GetFindAreaInDrawing();
