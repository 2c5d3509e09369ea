// View geometry: paper fit, pixel ratios and the attributes each new
// drawing window starts from.
#pragma once

#include <windows.h>

#include <cstdint>

// Fits the paper of the active view's drawing into the view (the current
// set saved as the previous one first); nothing without an active drawing.
// Interim form: no edge-button margin, no scale limits, no view event.
void ZoomViewToPaper();
// Non-zero with the paper width and height of the view's drawing (drawing
// units); 0 when the view has no drawing.
int GetViewPaperSize(HWND view, double* width, double* height);
// The smaller of (width-34)/width and (height-34)/height of the client
// area; 1.0 under 1 pixel.
double GetViewFitRatio(HWND view);
// World units per pixel of the active view's current mode (1.0 without).
double GetViewUnitsPerPixel();

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
