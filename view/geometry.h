// 2-D geometry over points of three doubles (x, y, z); z is carried along.
#pragma once

// The running distance tolerance of the geometry functions (1e-5 until the
// settings are applied).
double GetDrawingTolerance();
void SetDrawingTolerance(double tolerance);
// The running angle tolerance (0.001 until the settings are applied).
double GetAngleTolerance();
// Both tolerances, handed to the CAD library as well (DAriSetEps), so that
// its searches and these functions agree. A value that is not a positive
// finite number leaves that tolerance as it is.
void SetGeometryTolerances(double distance, double angle);

// 1 when the value is an infinity or not a number.
int IsNotFinite(double value);

// Crossing of two infinite lines: 1 with the point, 0 when parallel.
int IntersectLines(double* crossing, const double* a1, const double* a2, const double* b1, const double* b2);
// Crossings (0, 1 or 2) of an infinite line with a circle; the first
// crossing is filled first.
int IntersectLineCircle(double* first, double* second, const double* lineStart, const double* lineEnd,
                        const double* centre, double radius);
// Non-zero when |PA| + |PB| - |AB| is within the tolerance.
int IsPointOnSegment(const double* point, const double* a, const double* b);
// Rotates the point about the origin in place.
void RotatePoint2D(double* point, double angle);
// Angle of the vector (y, x) in radians, with the tolerance rules.
double VectorAngle(double y, double x);
double PointDistance(const double* a, const double* b);
// x' = ((y - T6) * T2 + (x - T5) * T1) * T9 + T7,
// y' = ((y - T6) * T4 + (x - T5) * T3) * T10 + T8, in place.
void TransformPointAffine(double* x, double* y, const double* t);
void ScaleValue(double* value, const double* factor);
// atan2(y, x); 0 for (0, 0) or a non-finite result.
double SafeAtan2(double y, double x);
// Moves an element's coordinates from a figure definition into a placement:
// each point less (baseX, baseY) is scaled, turned by the angle and moved to
// (placeX, placeY); radii and sizes scaled by scaleX, angles turned. Kinds 1
// to 5 only; others unchanged. 1.
int TransformElementCoords(void* element, double angle, double scaleX, double scaleY, double placeX, double placeY,
                           double baseX, double baseY);
