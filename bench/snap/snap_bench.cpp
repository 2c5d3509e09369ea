// Figures of the modal wait's snap on the 1,000,000-element bench drawing:
// a click's full snap order (the elements around the cursor collected
// through the library's spatial index, then end point, intersection,
// centre, mid point and on-line searches limited to them), beside a plain
// reference that looks at every element for the nearest end point; and the
// extents a zoom to the whole drawing needs, from the index beside a walk
// over every element.
#include <windows.h>

#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <vector>

#include "bench/bench_drawing.h"
#include "cadlib/core/element_geometry.h"
#include "cadlib/core/spatial_index.h"
#include "command/wait_loop.h"
#include "view/view_data.h"

namespace {

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

const double kAperture = 40;  // 8 pixels at 5 mm a pixel

// One click through the snap order, all kinds allowed.
int SnapClick(DbHeader* db, ViewData* data, const double at[3], double out[3]) {
    const CadPoint3 p{at[0], at[1], 0};
    CadMark* mark = DAriGetElementMarkByPointWithMark(p, kAperture, db, data, nullptr);
    if (!mark) mark = DAriCreateMark(db);
    SnapSearchFn fn = [&](int kind, const double*, double* r) {
        switch (kind) {
        case 1: return DAriSerchPoint(p, r, kAperture, db, nullptr, data, mark);
        case 2: return DAriSerchPoint3(p, r, kAperture, data, mark);
        case 3: return DAriSerchPoint2_2(p, r, kAperture, data, mark);
        case 4: return DAriSerchPoint2(p, r, kAperture, data, 2, mark);
        case 5: return DAriSerchPoint4(p, r, kAperture, data, mark);
        default: return 0;
        }
    };
    SnapInputs in;
    in.snapBits = 0xFF;
    in.markEmpty = DAriGetMarkNum(mark) == 0;
    const int kind = ElementSnapOrder(in, at, fn, out);
    DAriDestroyMark(mark);
    return kind;
}

// The plain reference: every element looked at for the nearest end point
// within the aperture.
int PlainNearestEnd(DbHeader* db, const double at[3], double out[3]) {
    ElementRecord buffer;
    double best = kAperture;
    int found = 0;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &buffer, db); e; e = DAriReadElement(e, 1, &buffer, db)) {
        if (e->rec.kind != kElmLine) continue;
        for (uint32_t off : {kOffP1X, kOffP2X}) {
            const double x = CadGetF64(&e->rec, off), y = CadGetF64(&e->rec, off + 8);
            const double d = std::hypot(x - at[0], y - at[1]);
            if (d <= best) {
                best = d;
                out[0] = x;
                out[1] = y;
                found = 1;
            }
        }
    }
    return found;
}

}  // namespace

int main() {
    const int kElements = 1000000;
    DbHeader db;
    std::memset(&db, 0, sizeof db);
    DAriCreateDB(&db);
    double t0 = Now();
    benchdrawing::Build(&db, kElements, benchdrawing::Layout::RoomByRoom);
    printf("Snap of a click on %d elements (%s), aperture %.0f mm\n", kElements,
           benchdrawing::LayoutName(benchdrawing::Layout::RoomByRoom), kAperture);
    printf("%-40s %10.3f s\n", "the drawing built", Now() - t0);
    ViewData data;
    std::memset(&data, 0, sizeof data);
    data.db = &db;
    data.modelScale = 0.2;

    // Click places: beside the start points of lines spread over the
    // drawing, and some at random.
    std::vector<std::array<double, 3>> clicks;
    std::mt19937 rng(7);
    std::uniform_real_distribution<double> jitter(-15, 15), ux(-benchdrawing::kW / 2, benchdrawing::kW / 2),
        uy(-benchdrawing::kH / 2, benchdrawing::kH / 2);
    ElementRecord buffer;
    int i = 0;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &buffer, &db); e; e = DAriReadElement(e, 1, &buffer, &db), ++i)
        if (i % 2500 == 0 && e->rec.kind == kElmLine)
            clicks.push_back({CadGetF64(&e->rec, kOffP1X) + jitter(rng), CadGetF64(&e->rec, kOffP1Y) + jitter(rng), 0});
    for (int k = 0; k < 100; ++k)
        clicks.push_back({ux(rng), uy(rng), 0});

    t0 = Now();
    double first[3];
    const double nowhere[3] = {1e9, 1e9, 0};
    SnapClick(&db, &data, nowhere, first);
    printf("%-40s %10.3f s\n", "the spatial index built (first search)", Now() - t0);

    int kinds[8] = {};
    t0 = Now();
    for (const auto& c : clicks) {
        double out[3];
        const int kind = SnapClick(&db, &data, c.data(), out);
        ++kinds[kind < 0 ? 7 : kind];
    }
    const double hostPerClick = (Now() - t0) / clicks.size();
    const int plainClicks = 5;
    t0 = Now();
    int plainFound = 0;
    for (int k = 0; k < plainClicks; ++k) {
        double out[3];
        plainFound += PlainNearestEnd(&db, clicks[k].data(), out);
    }
    const double plainPerClick = (Now() - t0) / plainClicks;
    printf("%-40s %10.4f ms   plain %10.4f ms   %8.0f x\n", "a click, full snap order (per click)", hostPerClick * 1e3,
           plainPerClick * 1e3, plainPerClick / hostPerClick);
    printf("  %zu clicks: free %d, end %d, crossing %d, on line %d, mid %d, centre %d, none %d; plain found %d/%d\n",
           clicks.size(), kinds[0], kinds[1], kinds[2], kinds[3], kinds[4], kinds[5], kinds[7], plainFound,
           plainClicks);

    // Extents for a zoom to the whole drawing.
    t0 = Now();
    cad::Box bounds = cad::IndexOf(&db)->Bounds();
    const double hostExtents = Now() - t0;
    t0 = Now();
    cad::Box walked = cad::Box::Empty();
    for (StoredElement* e = DAriReadElement(nullptr, 0, &buffer, &db); e; e = DAriReadElement(e, 1, &buffer, &db)) {
        cad::Box b;
        if (cad::ElementBox(e, b)) walked.add(b);
    }
    const double plainExtents = Now() - t0;
    printf("%-40s %10.4f s    plain %10.4f s\n", "zoom to extents (the drawing's box)", hostExtents, plainExtents);
    printf("  index box %.0f %.0f %.0f %.0f, walked box %.0f %.0f %.0f %.0f\n", bounds.l, bounds.b, bounds.r, bounds.t,
           walked.l, walked.b, walked.r, walked.t);
    DAriDeleteDB(&db);
    return 0;
}
