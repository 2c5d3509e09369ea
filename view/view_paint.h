// Painting a drawing view: the view describes itself to the CAD library in
// a DrawParam block and lets the library draw the elements; the view adds
// the background, the grid and the double buffering.
#pragma once

#include <windows.h>

#include <functional>

#include "cadlib/WmCadApiDb.h"
#include "view/draw_param.h"

struct ViewData;

// The grid flag toggled by the tool panel and the interrupt commands.
extern int ViewGridShown;
// The grid origin (set by the grid-centre service command).
extern double GridOrigin[2];
// The grid pitch last drawn (after thinning); the cursor snap reads it.
extern double DisplayedGridPitch[2];

// Fills `param` for the view's current view mode and client rect `client`
// and draws the view into `dc` (background, library elements, grid). The
// core of WM_PAINT, also used for off-screen copies. 1, 0 without record.
// The block of the view's current view mode and client rect `client`
// (scale, offsets, visible area, settings, background, paper and margin
// frames, markers), drawing into `dc`. 0 without record.
int FillViewDrawParam(HWND view, ViewData* data, HDC dc, const RECT& client, DrawParam* param);
// `overlays`: the temporary and overlay databases are painted over it
// (previews belong on the screen, not in thumbnails).
int DrawViewInto(HWND view, ViewData* data, HDC dc, const RECT& client, DrawParam* param,
                 RenderSurface* surface = nullptr, bool overlays = true);
// The temporary database and the overlay databases of the view whose
// drawing is `db`, over what `view` (its filled block) painted.
void DrawOverlayDatabases(DbHeader* db, const DrawParam& view, RenderSurface* surface);
// WM_PAINT of a view: straight into the paint DC or through a memory
// bitmap of the client size (bit 0 of iDispDrawMode).
int DrawView(HWND view, ViewData* data, int page, RenderSurface* surface = nullptr);
// Draws the view's visible area into `target` (width x height pixels),
// scaled by the smaller of width / client width and height / client height
// (the save thumbnail). 0 without record.
int DrawViewToDc(HWND view, int reserved1, int reserved2, HDC target, int width = 176, int height = 126);
// The grid marks of the visible area, drawn into param->targetDc. Returns
// the number of marks drawn; nothing for a pitch of 0 or less.
int DrawViewGrid(DbHeader* db, DrawParam* param, const double* topLeft, const double* bottomRight);

// The view's drawing surface for the library.
RenderSurface* CreateRenderSurface(HWND view);
void ResizeRenderSurface(RenderSurface* surface, int width, int height);
void ReleaseRenderSurface(RenderSurface* surface);

// Tests watch the blocks the views hand to the library.
extern std::function<void(const DrawParam&)> DrawParamObserver;
