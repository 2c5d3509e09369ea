#include "view/hover_search.h"

#include <cmath>

#include "cadlib/WmCadApiDb.h"
#include "command/pick_aperture.h"
#include "view/key_cursor.h"
#include "view/view_data.h"
#include "view/cursor_popups.h"
#include "view/view_popups.h"
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

int SearchElementsAtCursor(double* result, void* mark, int) {
    HoverSnap = HoverSnapRecord();
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d || !d->db) return 0;
    double p[3];
    GetCursorWorldPoint(p);
    const double aperture = GetFindAreaInDrawing();
    if (!(aperture > 0)) return 0;
    const CadPoint3 at = {p[0], p[1], 0};
    CadMark* among = static_cast<CadMark*>(mark);
    double found[3] = {0, 0, 0};
    int kind = 0;
    if (DAriSerchPoint(at, found, aperture, d->db, nullptr, d, among))
        kind = 1;
    else if (DAriSerchPoint3(at, found, aperture, d, among))
        kind = 2;
    else if (DAriSerchPoint2(at, found, aperture, d, 2, among))
        kind = 4;
    else if (DAriSerchPoint2_2(at, found, aperture, d, among))
        kind = 5;
    if (!kind) return 0;
    HoverSnap.kind = kind;
    HoverSnap.view = view;
    for (int i = 0; i < 3; ++i)
        HoverSnap.point[i] = found[i];
    if (result)
        for (int i = 0; i < 3; ++i)
            result[i] = found[i];
    CSnapWin::ShowAtWorld(kind, found);
    return kind;
}
