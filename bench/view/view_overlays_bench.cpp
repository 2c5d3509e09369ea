// Figures of what the drawing views draw over their pictures: one frame of
// a transformed drag preview of 10,000 elements (drawn and erased), one
// rubber band shown and erased, and the opening of the page and layer
// overview of a drawing with 257 pages of 1,024 named layers each. Beside
// each, its aim and a reference from the same run: a full repaint of the
// same view, the work the XOR overlays exist to avoid (under emulation the
// absolute times are longer; the ratio to the reference carries over).
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "bench/bench_view.h"
#include "view/drag_preview.h"
#include "view/overview.h"
#include "view/rubber_band.h"

namespace {

using namespace benchview;

ElementRecord Line(double x1, double y1, double x2, double y2) {
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.kind = kElmLine;
    r.colour = 1;
    CadSetF64(&r, kOffP1X, x1);
    CadSetF64(&r, kOffP1Y, y1);
    CadSetF64(&r, kOffP2X, x2);
    CadSetF64(&r, kOffP2Y, y2);
    return r;
}

}  // namespace

int main() {
    CMDIFrameWindow main;
    HWND view = OpenDrawingView(main, true);
    if (!view) return 1;
    ViewData* d = GetViewData(view);
    DbHeader* db = d->db;
    d->modelScale = 0.5;
    d->modelOffsetX = d->modelOffsetY = 0;

    // Drag preview: 10,000 short lines, no two alike.
    CadMark* mark = DAriCreateMark(db);
    for (int i = 0; i < 10000; ++i) {
        const double x = -800 + (i % 100) * 16, y = -600 + (i / 100) * 12;
        const ElementRecord r = Line(x, y, x + 10, y + 7);
        DAriSetMark(DAriAppendElement(&r, db), mark);
    }
    const double repaint = Best(5, [&] {
        ::InvalidateRect(view, nullptr, FALSE);
        ::UpdateWindow(view);
    });
    std::printf("reference: full repaint of the view with 10,000 elements: %.2f ms\n", repaint * 1e3);
    const double from[3] = {0, 0, 0};
    double to[3] = {30, 20, 0};
    const double frame = Best(5, [&] {
        DrawTransformedPreview(from, to, 0.1, 1.0, 0, mark, view);
        DrawTransformedPreview(from, to, 0.1, 1.0, 1, mark, view);
        to[0] += 1;
    });
    std::printf(
        "drag preview, 10,000 elements: %.2f ms a frame (draw and erase), %d drawn; aim 16 ms; "
        "%.2f x the repaint\n",
        frame * 1e3, PreviewDrawnCount, frame / repaint);

    // Rubber band: a command's typical band of a few elements.
    CreateRubberDbs();
    const double band = Best(20, [&] {
        for (int i = 0; i < 8; ++i) {
            const ElementRecord r = Line(-100 * i, 0, 100 * i, 300);
            AppendRubberElement(view, 0, &r);
        }
        UpdateRubberBand(view, 0, 0, 0);
        UpdateRubberBand(view, 0, 0, 1);
    });
    std::printf("rubber band, 8 elements: %.3f ms shown and erased; aim 2 ms; %.3f x the repaint\n", band * 1e3,
                band / repaint);

    // Overview: 257 pages, 1,024 named layers each, one element per page.
    AddNamedPages(db, Line(0, 0, 100, 100));
    const double open = Best(3, [&] {
        ToggleOverviewMode(view);
        ::UpdateWindow(view);
        for (HWND c = GetFirstChildWindow(view); c; c = GetNextChildWindow(c))
            ::UpdateWindow(c);
        ToggleOverviewMode(view);
        Pump();
    });
    std::printf("overview of 257 pages x 1,024 layers: %.3f s to open (and close); aim 0.3 s; %.1f x the repaint\n",
                open, open / repaint);
    DAriDestroyMark(mark);
    DeleteRubberDbs();
    return 0;
}
