// The box of a text element (kind 5), without any font: width from the
// character width and spacing per byte, height from the character height.
#pragma once

#include "cadlib/WmCadApiDb.h"

namespace cad {
// corners: x0, y0, x1, y1, x2, y2, x3, y3 counter-clockwise from the insertion point.
bool TextCorners(const ElementRecord& rec, double corners[8]);
}  // namespace cad
