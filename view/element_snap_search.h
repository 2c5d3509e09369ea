// The searches of the modal wait's element snap: the elements around the
// cursor collected into a mark, and the point searches limited to it.
#pragma once

#include <windows.h>

#include <cstdint>

// A new mark of the elements within the pick aperture of the point in the
// active drawing (an empty mark when none lies there) and their count; 0
// without an active drawing. Page detection, the search options
// {3, 0xE7FFF, -1, 0xFFFF, 0xFFFFFF, 255, 255} and group finding hold for
// the collection only.
uint32_t MarkElementsAtCursor(const double point[3], int* count);

// Kind 1 end point, 2 intersection, 3 centre, 4 mid point, 5 on line (the
// searches of view/point_search.h, limited to `mark`), 6 the point of a
// raster image; 1 and the point in `out` when found.
int SearchInMark(int kind, const double point[3], double out[3], uint32_t mark);

// Fills the command system's hooks through which the element snap reaches
// the drawing windows: cursor points, the keyboard cursor and loupe flags,
// the grid switch, the searches, the input base point's mark, the
// snap-kind pop-up and the locked-layer search mode.
void InstallViewSnapHooks();

// The drawing views' snap preview under the resting pointer: the element
// snap at the cursor without committing anything (SearchElementsAtCursor
// with commit 0). Records the kind found in HoverSnap (1 end point, 2
// intersection, 3 on line, 4 mid point, 5 centre; 0 none or a free point)
// and returns it.
int PreviewSnapAtCursor();
