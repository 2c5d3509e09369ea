#include "command/pick_aperture.h"

namespace {
int g_findArea = 8;
}  // namespace

int GetCursorFindArea() { return g_findArea; }

int SetCursorFindArea(int pixels) {
    if (pixels < 1 || pixels > 998) return 0;
    const int previous = g_findArea;
    g_findArea = pixels;
    return previous;
}
