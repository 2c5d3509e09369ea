#include "view/hover_search.h"

#include <cmath>

#include "command/pick_aperture.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "view/view_transform.h"

HoverSnapRecord HoverSnap;

double GetFindAreaInDrawing() {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d) return 0;
    // The pixel aperture through the scale of the view's current mode.
    double x0, y0, x1, y1;
    ClientToWorld(view, d, 0, 0, &x0, &y0);
    ClientToWorld(view, d, GetCursorFindArea(), 0, &x1, &y1);
    return std::hypot(x1 - x0, y1 - y0);
}
