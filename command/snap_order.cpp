// The order in which the modal wait snaps a click, apart from the searches
// themselves (which the caller hands in).
#include <cmath>

#include "command/wait_loop.h"

int ChooseSnapPoint(const double* end, const double* cross, const double cursor[3], double out[3]) {
    const double* win = nullptr;
    int kind = SNAP_FOUND_NONE;
    if (end && cross) {
        const double de = std::hypot(end[0] - cursor[0], end[1] - cursor[1]);
        const double dc = std::hypot(cross[0] - cursor[0], cross[1] - cursor[1]);
        // An intersection lies on two elements: at equal distance it is the
        // better point.
        if (de < dc) {
            win = end;
            kind = SNAP_FOUND_END;
        } else {
            win = cross;
            kind = SNAP_FOUND_CROSS;
        }
    } else if (end) {
        win = end;
        kind = SNAP_FOUND_END;
    } else if (cross) {
        win = cross;
        kind = SNAP_FOUND_CROSS;
    }
    if (win)
        for (int i = 0; i < 3; ++i)
            out[i] = win[i];
    return kind;
}

int ElementSnapOrder(const SnapInputs& in, const double cursor[3], const SnapSearchFn& search, double out[3]) {
    auto allowed = [&](unsigned bit) { return (in.snapBits & bit) && !in.keyCursor && (in.kindMask & bit); };
    auto find = [&](int kind, double* into) { return search && search(kind, cursor, into) != 0; };
    if (!in.gridTaken) {
        const bool autoKind = allowed(SNAP_BIT_AUTO);
        if (autoKind || allowed(SNAP_BIT_END) || allowed(SNAP_BIT_CROSS)) {
            double end[3] = {0, 0, 0}, cross[3] = {0, 0, 0};
            const bool endFound = (autoKind || allowed(SNAP_BIT_END)) && find(1, end);
            const bool crossFound = (autoKind || allowed(SNAP_BIT_CROSS)) && find(2, cross);
            const int kind = ChooseSnapPoint(endFound ? end : nullptr, crossFound ? cross : nullptr, cursor, out);
            if (kind != SNAP_FOUND_NONE) return kind;
            if (find(6, out)) return SNAP_FOUND_RASTER;
        }
        if (allowed(SNAP_BIT_CENTRE) && find(3, out)) return SNAP_FOUND_CENTRE;
        if (!in.markEmpty && allowed(SNAP_BIT_MID) && find(4, out)) return SNAP_FOUND_MID;
        if ((in.snapBits & SNAP_BIT_ONLINE) && find(5, out)) return SNAP_FOUND_ONLINE;
    }
    if ((in.snapBits & SNAP_BIT_FREE) && (in.kindMask & SNAP_BIT_FREE)) {
        for (int i = 0; i < 3; ++i)
            out[i] = cursor[i];
        return SNAP_FOUND_FREE;
    }
    return SNAP_FOUND_NONE;
}
