// The rubber band and the drawing of single elements and marked elements
// into the views of a drawing.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"

// Creates both rubber-band databases (the elements collected while dragging
// and the ones shown) in the CAD library; non-zero when both exist.
int CreateRubberDbs();
// Deletes both. 1.
int DeleteRubberDbs();
// The two databases (null before CreateRubberDbs).
DbHeader* RubberDragDb();
DbHeader* RubberShownDb();

// Mode 0 shows the collected band (XOR), 1 erases it, 2 empties both
// databases. For now: only mode 2 has an effect until views paint. 1.
int UpdateRubberBand(HWND view, int reserved1, int reserved2, int mode);
// Appends an element record to the rubber-band database; 1 when stored.
int AppendRubberElement(HWND view, int mode, const void* element);

// Draws the element in that view or every view of the same drawing and view
// mode; colour 0 erases, 1-256 a pen, negative the element's own colours.
// 0 for a null view or one without record, else 1.
int DrawElementInViews(HWND view, int color, const void* element);
// Draws the marked elements in every view of the mark's drawing.
int DrawMarkInViews(HWND ignored, int color, void* markList);
// As DrawElementInViews for the elements of a mark, as a preview (the
// temporary database drawn over its base window).
int DrawMarkInViewsAlt(HWND view, int color, void* markList);
// Draws flagged elements highlighted (phase 1) or normal (phase 0); 0 when
// the view has no drawing or nothing is flagged. For now: 0.
int DrawFlaggedElements(HWND view, int phase);
// Draws marked elements moved, turned and scaled as a drag preview.
int DrawTransformedPreview(const double* basePoint, const double* targetPoint, double angle, double scale, int color,
                           void* markList, HWND view);
// DrawViewToDc (the save thumbnail) is declared in view/view_paint.h.
#include "view/view_paint.h"

// World rectangle at request +0x28 to the client RECT at +0x2c for the view
// at +0x24; 0 without record.
int WorldRectToViewRect(int ignored1, int ignored2, void* request);
// Draw a world region of the view's drawing into a pixel rectangle; 0
// without a view. For now: 0.
int DrawRegionInView(HWND view, int ignored, void* request);
int DrawRegionFitted(HWND view, int ignored, void* request);
int DrawRegionFittedAlt(HWND view, int ignored, void* request);
// GetElementExtent (the bounding box of an element) is declared in
// view/element_transform.h.
#include "view/element_transform.h"
