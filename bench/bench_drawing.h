// The drawing the benchmarks measure: a million elements over a building
// 400 m by 250 m (lines 55 %, arcs 15 %, circles 15 %, texts 15 %), either
// drawn room by room (elements that follow each other lie near each other,
// as people draw) or with every element at a random place (the hardest case
// for anything that counts on neighbours). Plain C++ over the library's
// exports, so that the native build of the core can use it too.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

#include "cadlib/WmCadApiDb.h"

namespace benchdrawing {

const double kW = 400000, kH = 250000;  // millimetres
enum class Layout { RoomByRoom, Random };

inline const char* LayoutName(Layout l) { return l == Layout::RoomByRoom ? "room by room" : "at random"; }

inline void Build(DbHeader* db, int n, Layout layout) {
    static const char* kLabels[] = {"SA-250", "RA", "FD", "VD-1", "150φ", "空調機", "EA 300", "排気"};
    std::mt19937 rng(2024);
    std::uniform_real_distribution<double> ux(-kW / 2, kW / 2), uy(-kH / 2, kH / 2), u01(0, 1), ang(0, 6.2831853);
    std::uniform_real_distribution<double> room(-5000, 5000);
    ElementRecord r;
    double rx = 0, ry = 0;
    for (int i = 0; i < n; ++i) {
        if (layout == Layout::Random || i % 200 == 0) {
            rx = ux(rng);
            ry = uy(rng);
        }
        memset(&r, 0, sizeof r);
        r.colour = static_cast<uint16_t>(1 + rng() % 8);
        double x = std::max(-kW / 2, std::min(kW / 2, rx + room(rng)));
        double y = std::max(-kH / 2, std::min(kH / 2, ry + room(rng)));
        int k = rng() % 100;
        if (k < 55) {
            // Short segments outnumber long ones: log-uniform 50 mm to 5 m.
            double len = 50 * std::pow(100.0, u01(rng)), a = (rng() % 4) * 1.5707963 + (rng() % 8 ? 0 : ang(rng));
            r.kind = kElmLine;
            CadSetF64(&r, kOffP1X, x);
            CadSetF64(&r, kOffP1Y, y);
            CadSetF64(&r, kOffP2X, x + len * std::cos(a));
            CadSetF64(&r, kOffP2Y, y + len * std::sin(a));
        } else if (k < 70) {
            r.kind = kElmArc;
            CadSetF64(&r, kOffP1X, x);
            CadSetF64(&r, kOffP1Y, y);
            CadSetF64(&r, kOffRadius, 100 + 900 * u01(rng));
            CadSetF64(&r, kOffArcStart, ang(rng));
            CadSetF64(&r, kOffArcEnd, ang(rng));
        } else if (k < 85) {
            r.kind = kElmCircle;
            CadSetF64(&r, kOffP1X, x);
            CadSetF64(&r, kOffP1Y, y);
            CadSetF64(&r, kOffRadius, 50 + 450 * u01(rng));
        } else {
            const char* t = kLabels[rng() % 8];
            double h = 150 + 200 * u01(rng);
            r.kind = kElmText;
            CadSetF64(&r, kOffTextSize1, h);
            CadSetF64(&r, kOffTextSize2, h / 2);
            CadSetPtr(&r, kOffTextPtr, t);
            CadSetU32(&r, kOffTextLen, static_cast<uint32_t>(strlen(t)));
            CadSetF64(&r, kOffTextX, x);
            CadSetF64(&r, kOffTextY, y);
        }
        DAriAppendElement(&r, db);
    }
}

}  // namespace benchdrawing
