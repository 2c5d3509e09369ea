// The scale-and-offset set of a view's current mode and the conversions
// between client pixels (y down) and drawing units (y up). The offsets are
// minus the drawing point shown at the client centre.
#pragma once

#include <windows.h>

#include "view/view_data.h"

struct ViewSet {
    double* offsetX;
    double* offsetY;
    double* scale;
    double* previous;  // three doubles: saved x offset, y offset, scale
};

// The set of the record's current view mode (model space for a mode
// outside 0-2).
ViewSet CurrentViewSet(ViewData* d);
// The set of one view mode (model space for a mode outside 0-2).
ViewSet ViewSetOfMode(ViewData* d, int mode);
// A view's stored view mode (-1 without record) and its change.
int GetViewModeOf(HWND view);
void SetViewModeOf(HWND view, int mode);
// Offset x, offset y and scale of one mode of a view; setting them saves
// that mode's set as its previous one first. 0 without record.
int GetViewModeSet(HWND view, int mode, double set[3]);
int SetViewModeSet(HWND view, int mode, const double set[3]);
void SaveViewSetAsPrevious(ViewData* d);

// World point to client pixels of `view`, and back.
POINT WorldToClient(HWND view, const ViewData* d, double wx, double wy);
void ClientToWorld(HWND view, const ViewData* d, int x, int y, double* wx, double* wy);
