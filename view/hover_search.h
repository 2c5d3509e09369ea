// The hover search: the snap candidate under the resting pointer.
#pragma once

#include <windows.h>

// The candidate the last hover search marked: its kind (1 end point,
// 2 intersection, 4 mid point, 5 centre; 0 none), point and view.
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

// Searches the active view's drawing within the pick aperture around the
// cursor's world point for a snap point (end, intersection, mid, centre, in
// that order of preference), marks it (HoverSnap and the snap-kind pop-up)
// and copies it into `result` when given. The kind found, 0 when none.
// `mark` (or null) limits the search to its elements; `reserved` must be 0.
int SearchElementsAtCursor(double* result, void* mark, int reserved);
