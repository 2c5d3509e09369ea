// Arrow-key stepping to element crossings: after the key prefix "[=]" an
// arrow key jumps the cursor to the nearest place, in the arrow's
// direction, where the straight line from the cursor crosses a line,
// circle, arc, ellipse or elliptical arc of the active drawing (or one of
// those directly inside a group).
#pragma once

// direction: "UP", "DOWN", "LEFT" or "RIGHT". 1 with the crossing in
// `result` (x, y, z); 0 otherwise (with an active view `result` then holds
// the cursor point; without one it is left as it was).
int FindMarkInDirection(const char* direction, double* result);

// 1 when `candidate` lies strictly beyond `cursor` in the direction.
int IsBeyondInDirection(const char* direction, const double* cursor, const double* candidate);

// Crossings (0, 1 or 2) of the segment a-b with the ellipse of centre c,
// axis point q and axis ratio r; the single one goes to `first`.
int IntersectSegmentEllipse(double* first, double* second, const double* a, const double* b, const double* c,
                            const double* q, double ratio);
