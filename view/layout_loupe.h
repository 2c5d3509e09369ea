// The layout window ("#LAYOUTVIEW#": the whole paper of the active drawing
// with a red frame where the active view looks; a drag or click zooms the
// view there) and the loupe ("#ROUPEVIEW#": the area around the cursor
// enlarged; moves and clicks in it are input to the running command).
#pragma once

#include <windows.h>

// Each window's own picture and whether it is stale: a change of the
// drawing makes both stale, and each rebuilds its own when it paints.
struct CachedPicture {
    HBITMAP bitmap = nullptr;
    int stale = 1;
    int width = 0, height = 0;
};
extern CachedPicture LayoutPicture;
extern CachedPicture LoupePicture;
// The drawing or its display changed: both pictures are stale.
void MarkPopupPicturesStale();

// Layout window state.
struct LayoutViewState {
    POINT frame1 = {0, 0}, frame2 = {0, 0};  // red frame of the last paint
    POINT start = {0, 0}, current = {0, 0}, previousEnd = {0, 0};
    int dragging = 0;
    int rubberDrawn = 0;
    int hasPrevious = 0;
    RECT previous = {0, 0, 0, 0};
    double previousFactor = 0;
    double zoom[4] = {0, 0, 0, 0};  // x1, y1, x2, y2 of the last zoom
};
extern LayoutViewState LayoutState;

// Loupe state.
struct LoupeState {
    double rect[4] = {0, 0, 0, 0};  // x1 (left), y1 (top), x2 (right), y2 (bottom)
    double point[2] = {0, 0};
    int pointValid = 0;
    double aperture = 1.0;  // pick aperture in drawing units
    double factor = 0.05;
    int painting = 0;
};
extern LoupeState Loupe;

LRESULT CALLBACK LayoutViewProc(HWND, UINT, WPARAM, LPARAM);
LRESULT CALLBACK LoupeViewProc(HWND, UINT, WPARAM, LPARAM);

void GetLoupeWorldRect(double* rect);
// Recomputes the loupe rectangle around the cursor world point.
void CenterLoupeOnCursor(HWND loupe);
// Draws the whole active drawing fitted into the pixel rectangle.
void DrawDrawingFitted(HDC dc, int l, int t, int r, int b);
// The scale DrawDrawingFitted uses for the rectangle (0 without a drawing).
double FittedPaperScale(int l, int t, int r, int b);
int DrawWorldRectFitted(HWND window, HDC dc, double x1, double y1, double x2, double y2);
// Visible world rectangle of the view (left, top, right, bottom), relative
// to the paper centre. 1, 0 without record.
int GetViewVisibleWorldRect(HWND view, double* rect);
// The world rectangle (x1, y1, x2, y2) of a layout drag from (ax, ay) to
// (bx, by) in a window of the given client size.
void LayoutDragToWorld(const RECT& client, double u, int ax, int ay, int bx, int by, bool originAtCorner, double pw,
                       double ph, double* out);
