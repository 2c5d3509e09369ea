// View geometry: conversions between client pixels and drawing units, the
// paper fit, the rescale on resizing and panning by scroll bars, arrow
// steps, percentages and middle-button dragging.
#pragma once

#include <windows.h>

#include <cstdint>

// Fits the paper of the active view's drawing into the view (or into its
// overview children): the current set saved as the previous one first, a
// margin of 60 pixels with edge buttons (20 without), the scale kept within
// the drawing's limits, and a view-changed event raised. 1, or 0 without an
// active view or record.
int ZoomViewToPaper();
// Non-zero with the paper width and height of the view's drawing (drawing
// units); 0 when the view has no drawing.
int GetViewPaperSize(HWND view, double* width, double* height);
// The smaller of |W-34|/W and |H-34|/H of the client area; 1.0 under 1 pixel.
double GetViewFitRatio(HWND view);
// World units per pixel of the active view's current mode (1.0 without).
double GetViewUnitsPerPixel();
// Top-left and bottom-right world corners of the visible area of `view`
// (null: the active view). 0 with both zeroed when the view has no record.
int GetViewWorldRect(HWND view, double* topLeft, double* bottomRight);

// Moves the view by dx and dy percent of the visible width and height.
void ScrollViewByPercent(HWND view, int dx, int dy);
// One arrow step: 1 down, 2 up, 3 right, 4 left (5 %, 15 % with edge buttons).
void ScrollViewByStep(int direction, HWND view);
// Middle-button pan to the screen position (x, y) from the last middle-drag
// position; the drawing follows the mouse pixel for pixel.
void PanViewByDrag(HWND view, int x, int y);
// The view's scroll-bar messages (WM_HSCROLL / WM_VSCROLL).
void HandleViewScroll(HWND view, UINT message, int code, int thumb);
// The view's own WM_COMMAND zoom and scroll ids 1000-1023; 1 when handled.
int HandleViewCommand(HWND view, int id);
// WM_SIZE of a view: model-space and paper-space scales follow the width.
void RescaleViewOnSize(HWND view, int width, int height);

// Last mouse position in a view (client pixels) and the middle-drag
// screen position.
extern POINT LastViewMousePos;
extern POINT MiddleDragPos;
// Set when the view was moved by scrolling; the waits and display
// commands read and clear them.
extern int ViewScrolledFlag;
extern int DocumentChangedFlag;

#pragma pack(push, 1)
// The text attributes each new drawing window copies; set by the settings.
struct TextAttributes {
    char fontFace[32];
    double height;
    double ratio;
    double interval;
    int16_t color;
};
#pragma pack(pop)
extern TextAttributes DefaultTextAttributes;
