#include "view/element_pick.h"

#include <vector>

#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "view/hover_search.h"
#include "view/rubber_band.h"
#include "view/view_data.h"
#include "view/view_table.h"

uint32_t PickElementAtPoint(const double* point, const std::function<int()>& ask) {
    HWND view = GetActiveView();
    ViewData* d = GetViewData(view);
    if (!d || !d->db) return 0;
    const double a = GetFindAreaInDrawing();
    if (!(a > 0)) return 0;
    const double rect[4] = {point[0] - a, point[1] + a, point[0] + a, point[1] - a};
    CadMark* found = DAriGetWakuElement(rect, d->db);
    if (!found) return 0;
    // Candidates from the first found on, or from the last back (bElmHit).
    std::vector<void*> candidates;
    const bool forward = Running().bElmHit != 0;
    for (void* e = forward ? DAriGetNextMark(nullptr, found) : DAriGetBackMark(nullptr, found); e;
         e = forward ? DAriGetNextMark(e, found) : DAriGetBackMark(e, found))
        candidates.push_back(e);
    DAriDestroyMark(found);
    if (candidates.size() == 1) return reinterpret_cast<uint32_t>(candidates[0]);
    for (void* e : candidates) {
        auto* element = static_cast<StoredElement*>(e);
        DrawElementInViews(view, 2, &element->rec);
        const int answer = ask ? ask() : 2;
        InvalidateRect(view, nullptr, FALSE);
        if (answer == 1) return reinterpret_cast<uint32_t>(e);
        if (answer == 2) return 0;
    }
    return 0;
}
