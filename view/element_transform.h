// Element transforms and extents: the point transforms the previews, the
// input-scale conversions and the element services apply to element
// records in memory, and the bounding box of each element kind.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"

// Uniform record: s, c, -n, n, c, x1, y1, x2, y2 (scale, rotation by rows,
// source point, target point).
void TransformPointUniform(double* x, double* y, const double* record);
// x' = (cos * x - sin * y) * sx + tx; y' = (sin * x + cos * y) * sy + ty.
void RotateScalePoint(double tx, double ty, double angle, double sx, double sy, double* x, double* y);
// Applies the uniform record to the fields of kinds 1-7, 31 and 32 in place
// (angles turned by the record's angle, sizes scaled).
void TransformRecord(ElementRecord* record, const double* uniform);
// Box of an element: left, top, right, bottom (drawing units, y up). 1, or
// 0 with an all-zero box for a kind without extent. `db` serves the group
// header of a placed figure; null: the view's database.
int GetElementExtent(HWND view, DbHeader* db, const StoredElement* element, double* box);
