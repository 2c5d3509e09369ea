// Window classes of the attribute selectors (layer, colour, line type,
// point, line width, line start, line end) and the line-end table.
#pragma once

#include <windows.h>

// Field and drop-down classes of each selector kind; results not looked at.
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
// Over a table of 16 enable words: the index-th enabled type (0 when the
// index is out of range), and the number of enabled types among 0..type
// minus 1 (a disabled type gives the index of the nearest enabled type
// before it, or -1; 0 for a type outside 0..15).
int LineEndTypeIn(const int* table, int index);
int LineEndIndexIn(const int* table, int type);
// The same over LineEndEnableTable.
int LineEndTypeFromIndex(int index);
int LineEndIndexFromType(int type);
