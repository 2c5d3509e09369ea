// Window classes of the attribute selectors (layer, colour, line type,
// point, line width, line start, line end) and the line-end table.
#pragma once

#include <windows.h>

// Field and drop-down classes of each selector kind; results not looked at.
// For now: the classes are registered with a plain procedure.
int RegisterLayerSelectorClasses(HINSTANCE instance);
int RegisterColorSelectorClasses(HINSTANCE instance);
int RegisterLineTypeSelectorClasses(HINSTANCE instance);
int RegisterPointSelectorClasses(HINSTANCE instance);
int RegisterLineWidthSelectorClasses(HINSTANCE instance);
int RegisterLineStartSelectorClasses(HINSTANCE instance);
int RegisterLineEndSelectorClasses(HINSTANCE instance);
int UnregisterLayerSelectorClasses(HINSTANCE instance);
int UnregisterColorSelectorClasses(HINSTANCE instance);
int UnregisterLineTypeSelectorClass(HINSTANCE instance);
int UnregisterPointSelectorClass(HINSTANCE instance);
int UnregisterLineWidthSelectorClass(HINSTANCE instance);
int UnregisterLineStartSelectorClass(HINSTANCE instance);
int UnregisterLineEndSelectorClass(HINSTANCE instance);

// The line-end types offered in the selectors: LineEndEnableTable, owned by
// the running settings.
#include "base/running_settings.h"
// List index among the enabled types -> type, and back; -1 when none.
int LineEndTypeFromIndex(int index);
int LineEndIndexFromType(int type);
