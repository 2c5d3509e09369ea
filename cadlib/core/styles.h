// Default attribute tables of a new drawing.
#pragma once

#include "cadlib/WmCadApiDb.h"

namespace cad {
void DefaultColours(ColourEntry* table257);
void DefaultLineTypes(LineTypeEntry* table32);
void DefaultWidths(double* widths16);
}  // namespace cad
