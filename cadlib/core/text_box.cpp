#include "cadlib/core/text_box.h"

#include <cmath>
#include <cstring>

namespace cad {

bool TextCorners(const ElementRecord& rec, double c[8]) {
    if (rec.kind != kElmText) return false;
    const char* text = static_cast<const char*>(CadGetPtr(&rec, kOffTextPtr));
    uint32_t n = CadGetU32(&rec, kOffTextLen);
    if (!n && text) n = static_cast<uint32_t>(strnlen(text, 65535));
    double h = CadGetF64(&rec, kOffTextSize1);
    double w = CadGetF64(&rec, kOffTextSize2);
    double gap = CadGetF64(&rec, kOffTextSize3);
    double a = CadGetF64(&rec, kOffTextAngle);
    double x = CadGetF64(&rec, kOffTextX), y = CadGetF64(&rec, kOffTextY);
    double width = n ? n * w + (n - 1) * gap : 0.0;
    const double px[4] = {0, width, width, 0}, py[4] = {0, 0, h, h};
    // Most texts are upright: cos 0 and sin 0 are exactly 1 and 0.
    double ca = a == 0 ? 1.0 : std::cos(a), sa = a == 0 ? a : std::sin(a);
    for (int i = 0; i < 4; ++i) {
        c[2 * i] = x + px[i] * ca - py[i] * sa;
        c[2 * i + 1] = y + px[i] * sa + py[i] * ca;
    }
    return true;
}

}  // namespace cad
