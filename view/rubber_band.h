// The rubber band, the previews drawn straight into the views over their
// painted pictures (XOR, or in a chosen colour), and the painters that draw
// part of a drawing into a device context a command module supplies.
#pragma once

#include <windows.h>

#include "cadlib/WmCadApiDb.h"
#include "view/draw_param.h"

struct ViewData;

// Creates both rubber-band databases (the pending band and the one shown) in
// the CAD library; 1 when both exist, 0 when the library refused.
int CreateRubberDbs();
// Deletes both. 1.
int DeleteRubberDbs();
// The two databases (null before CreateRubberDbs).
DbHeader* RubberDragDb();
DbHeader* RubberShownDb();

// Mode 0 shows the pending band (XOR) and keeps a copy of what it drew,
// 1 erases the shown band, 2 empties both databases. A transformed drag
// preview on the screen is erased instead (any mode but 2). 1, or 0 when
// the view has no record.
int UpdateRubberBand(HWND view, int reserved1, int reserved2, int mode);
// Appends an element record to the pending band; 1 when stored.
int AppendRubberElement(HWND view, int mode, const void* element);

// Draws one stored element, or one of several kinds, into one view over its
// picture: kind 0 the whole database, 1 an element, 2 a mark, 3 `value`
// records in memory; colour < 0 own colours; XOR and the alternative flag.
// 0 without record or database.
int DrawInView(HWND view, ViewData* data, DbHeader* db, int kind, void* object, int value, int colour, int xorFlag,
               int altFlag);
// The whole database XOR-drawn in the rubber-band colour.
int DrawRubberDbInView(HWND view, ViewData* data, DbHeader* db);

// Draws the element in that view or every view of the same drawing and view
// mode; colour 0 erases, 1-256 a pen, negative the element's own colours.
// 0 for a null view or one without record, else 1.
int DrawElementInViews(HWND view, int color, const void* element);
// Draws the marked elements in every view of the mark's drawing.
int DrawMarkInViews(HWND ignored, int color, void* markList);
// As DrawElementInViews for the elements of a mark, as a preview (the
// temporary database drawn over its base window).
int DrawMarkInViewsAlt(HWND view, int color, void* markList);
// Draws the elements whose blink flag is set (id above 257) in their own
// colours (phase non-zero) or the background colour (phase 0); 0 when the
// view has no drawing or nothing is flagged.
int DrawFlaggedElements(HWND view, int phase);
// XOR-draws a small plus sign (arms of 4 pixels) at the point in the active
// view; drawing it again erases it.
void DrawCrossMarker(HWND view, int shown, const double* point);
// XOR-draws the marker of the last input point in the active view when it is
// shown (bLastPosViewFg) and valid; a second call erases it, so the wait
// loops call it before and after they move the point. 0 without an active
// view, else 1. The arguments are not used.
int DrawInputBasePoint(int reserved1, void* reserved2, int reserved3);
// The same marker XOR-drawn into `dc` (a paint of `view`), or into the view
// window itself when dc is null; 1 when drawn.
int DrawInputBasePointInto(HWND view, ViewData* data, HDC dc);
// Takes the marker off `view` (where it was drawn) and marks the last input
// point invalid: a view loses activation or closes.
void DropInputBasePoint(HWND view);

// Draws marked elements moved, turned and scaled as a drag preview (XOR);
// erase > 0 draws the same preview again to remove it. 0 without record.
int DrawTransformedPreview(const double* source, const double* target, double angle, double scale, int erase,
                           void* markList, HWND view);
// The number of elements the last transformed preview drew (0 when none is
// on the screen).
extern int PreviewDrawnCount;
// Draws the last transformed preview once more with its kept arguments as an
// erase pass.
void ErasePreviewOnScreen();

// DrawViewToDc (the save thumbnail) is declared in view/view_paint.h.
#include "view/view_paint.h"

// World rectangle at request +0x28 to the client RECT at +0x2c for the view
// at +0x24 (truncated, corners kept in their order); 0 without record.
int WorldRectToViewRect(int ignored1, int ignored2, void* request);
// Draw a world region (+0x28) of the view's (+0x24) drawing fitted into a
// pixel rectangle (+0x2c) of the module's device context (+0x04): the mark
// (+0x30), one element in a colour (+0x30, +0x00), or the raster images of
// the drawing in a colour. 1, 0 without a view with record.
int DrawRegionInView(HWND view, int ignored, void* request);
int DrawRegionFitted(HWND view, int ignored, void* request);
int DrawRegionFittedAlt(HWND view, int ignored, void* request);
// GetElementExtent (the bounding box of an element) is declared in
// view/element_transform.h.
#include "view/element_transform.h"
