// What the benchmarks of the drawing views share: a clock, the best of a
// few runs, a shown main frame with one drawing window, and a drawing of
// 257 pages with 1,024 named layers each.
#pragma once

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <memory>

#include "view/cadwin_frame.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/mdi.h"

namespace benchview {

inline double Now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

// Every message waiting for this thread, handled.
inline void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// The shortest time of `runs` calls of `fn`, in seconds.
template <class Fn>
double Best(int runs, Fn fn) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        const double t = Now();
        fn();
        best = std::min(best, Now() - t);
    }
    return best;
}

// Shows `main` (1100 x 900) with one drawing window, maximised or not, and
// handles what that posted; the drawing's view, or null.
inline HWND OpenDrawingView(CMDIFrameWindow& main, bool maximised) {
    CreateArgs a;
    a.title = "bench";
    a.cx = 1100;
    a.cy = 900;
    if (!main.Create(a) || !main.CreateMDIClient()) return nullptr;
    main.ShowWindow(SW_SHOW);
    ++DrawingIdCounter;
    HWND view = CreateDrawingWindow(main.m_hWndMDIClient, nullptr, "bench");
    if (!view) return nullptr;
    if (maximised) ::ShowWindow(::GetParent(view), SW_SHOWMAXIMIZED);
    Pump();
    return view;
}

// Pages 1 to 256 added to page 0; layer l of page p named "Lp-l" on every
// page, and `element` put on each page on layer page % 1024.
inline void AddNamedPages(DbHeader* db, ElementRecord element) {
    std::unique_ptr<PageRecord> rec(new PageRecord);
    for (int page = 1; page <= 256; ++page) {
        std::memset(rec.get(), 0, sizeof *rec);
        rec->number = page;
        DAriAddPage(page, rec.get(), db);
    }
    char name[32];
    for (int page = 0; page <= 256; ++page) {
        for (int layer = 0; layer < 1024; ++layer) {
            std::snprintf(name, sizeof name, "L%d-%d", page, layer);
            DAriSetLayerName(page, layer, name, db);
        }
        element.page = page;
        element.layer = static_cast<uint16_t>(page % 1024);
        DAriAppendElement(&element, db);
    }
}

}  // namespace benchview
