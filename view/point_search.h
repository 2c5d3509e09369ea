// Point searches of the active drawing: the characteristic point of an
// element near a point (end, intersection, centre, mid, on-line) within the
// pick aperture, and the snap to the origin, the input base point and the
// paper and margin corners that the end-point search tries first. The
// geometry is the CAD library's; this builds each call with the aperture,
// the active view and the options. Each search returns 1 when it wrote a
// point into `result` (x, y, z), 0 otherwise; without an active view none
// finds anything.
#pragma once

#include <windows.h>

// Kinds in the order the wait loops name them.
enum PointSearchKind {
    kSearchEndPoint = 1,
    kSearchCrossPoint = 2,
    kSearchCenterPoint = 3,
    kSearchMidPoint = 4,
    kSearchOnLinePoint = 5,
};

int SearchEndPoint(const double* point, double* result, void* mark);
int SearchCrossPoint(const double* point, double* result, void* mark);
int SearchCenterPoint(const double* point, double* result, void* mark);
int SearchMidPoint(const double* point, double* result, void* mark);
int SearchOnLinePoint(const double* point, double* result, void* mark);
// One of the above by kind; 0 for an unknown kind.
int SearchPointOfKind(int kind, const double* point, double* result);

// The corner snap: the first candidate strictly inside the rectangle (left,
// top, right, bottom; y grows upwards) goes into result (x and y): the
// origin, the shown input base point (with bLastPosViewFg), the paper
// corners (unless PAPERLINEDSPOFF) and the inner margin corners (margin
// colour above 0). 1 when one was inside.
int SnapToPaperFrame(void* db, const double* rect, double* result);
