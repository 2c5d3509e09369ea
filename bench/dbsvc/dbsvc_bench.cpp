// Figures of the element services on a drawing of 1,000,000 elements, each
// through the host messages a command module sends: marking 100,000 of them
// by a rectangle, moving, copying and turning them, undoing and redoing the
// move, and deleting them. Beside each, a plain reference: the same work
// done on the records directly, without the host's per-element services.
#include <windows.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "command/host_hooks.h"
#include "command/host_objects.h"
#include "command/transform_services.h"
#include "tests/cadlib/drawing_builder.h"
#include "view/geometry.h"

using namespace cadtest;

namespace {

const int kSide = 1000;  // a grid of 1000 x 1000 short lines
const int kElements = kSide * kSide;
const double kPitch = 10;

double Now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

CCommandHost* g_host = nullptr;

LRESULT CALLBACK FrameProc(HWND wnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (g_host && g_host->ProcessWindowMessage(wnd, msg, wParam, lParam, result)) return result;
    return DefWindowProcA(wnd, msg, wParam, lParam);
}

struct Bench {
    HWND frame = nullptr;
    HWND view = nullptr;
    DbHeader db;

    LRESULT Send(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) { return SendMessageA(frame, msg, wParam, lParam); }
    template <class T>
    LRESULT Send(UINT msg, WPARAM wParam, const T* p) {
        return Send(msg, wParam, reinterpret_cast<LPARAM>(p));
    }
};

void Report(const char* what, double host, double plain) {
    printf("%-34s %8.3f s   plain %8.3f s\n", what, host, plain);
}

// The plain reference of a transform: each record read, its two points
// turned and moved, and written back in memory.
double PlainTransform(CadMark* mark, const double* t) {
    const double t0 = Now();
    for (void* v = DAriGetNextMark(nullptr, mark); v; v = DAriGetNextMark(v, mark)) {
        ElementRecord rec = static_cast<StoredElement*>(v)->rec;
        for (uint32_t off : {kOffP1X, kOffP2X}) {
            double x = CadGetF64(&rec, off), y = CadGetF64(&rec, off + 8);
            TransformPointAffine(&x, &y, t);
            CadSetF64(&rec, off, x);
            CadSetF64(&rec, off + 8, y);
        }
        volatile uint16_t sink = rec.kind;
        (void)sink;
    }
    return Now() - t0;
}

}  // namespace

int main() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = FrameProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "DbsvcBenchFrame";
    RegisterClassA(&wc);
    Bench b;
    CCommandHost host;
    g_host = &host;
    b.frame = CreateWindowExA(0, wc.lpszClassName, "", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, wc.hInstance,
                              nullptr);
    b.view = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    host.SetFrame(b.frame, nullptr, nullptr);
    std::memset(&b.db, 0, sizeof b.db);
    DAriCreateDB(&b.db);
    DAriUndoFgSet(&b.db, 10);

    CmdHostHooks& h = HostHooks();
    int modified = 0;
    h.activeView = [&] { return b.view; };
    h.viewDb = [&](HWND v) { return v == b.view ? &b.db : nullptr; };
    h.findViewByDb = [&](DbHeader* d) { return d == &b.db ? b.view : HWND(nullptr); };
    h.setDrawingModified = [&](HWND) { return ++modified; };
    h.currentPage = [&] { return b.db.pages.currentPage; };
    h.getPageState = [&](PageStateBlock* s) {
        *s = b.db.pages;
        return 1;
    };
    h.undoLevel = [] { return 10; };
    h.transformPointAffine = [](double* x, double* y, const double* t) { TransformPointAffine(x, y, t); };
    h.safeAtan2 = [](double y, double x) { return SafeAtan2(y, x); };

    printf("Element services through the host, %d elements, 100,000 marked\n", kElements);
    const double tBuild = Now();
    for (int i = 0; i < kElements; ++i) {
        const double x = (i % kSide) * kPitch, y = (i / kSide) * kPitch;
        ElementRecord r = Line(x, y, x + 3, y + 3, 0, i % 64);
        DAriAppendElement(&r, &b.db);
    }
    DAriClearUndoElement(&b.db);
    printf("%-34s %8.3f s\n", "the drawing built", Now() - tBuild);

    // Rows 0-99 of the grid: 100,000 lines.
    const double rect[4] = {-1, 100 * kPitch - 1, kSide * kPitch, -1};
    SearchOptionRecord all = {};
    const int32_t words[7] = {3, 0xFFFFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    std::memcpy(all.words, words, sizeof words);
    b.Send(UM_SET_SEARCH_OPTION, 0, &all);
    // The index a drawing window builds at its first paint, built here by a
    // first search of an empty place, so that the mark below is timed as
    // the running program meets it; its time is printed on its own.
    const double nowhere[4] = {-900, -900, -800, -800};
    double t0 = Now();
    if (auto* none = reinterpret_cast<CadMark*>(b.Send(UM_GET_ELEMENTS_IN_RECT, 0, nowhere))) DAriDestroyMark(none);
    printf("%-34s %8.3f s\n", "the spatial index built", Now() - t0);
    t0 = Now();
    auto* mark = reinterpret_cast<CadMark*>(b.Send(UM_GET_ELEMENTS_IN_RECT, 0, rect));
    const double tMark = Now() - t0;
    t0 = Now();
    int plainCount = 0;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, &b.db); e; e = DAriReadElement(e, 1, nullptr, &b.db)) {
        const double y = CadGetF64(&e->rec, kOffP1Y);
        if (y >= rect[3] && y <= rect[1]) ++plainCount;
    }
    Report("mark by rectangle (scan of all)", tMark, Now() - t0);
    printf("  marked %d, the scan counted %d\n", mark ? DAriGetMarkNum(mark) : 0, plainCount);

    const double move[11] = {1, 1, 0, 0, 1, 0, 0, 5, 5, 1, 1};
    b.Send(UM_SET_TRANSFORM, 1, move);
    t0 = Now();
    auto* moved = reinterpret_cast<CadMark*>(b.Send(UM_MOVE_MARKED, 0, mark));
    const double tMove = Now() - t0;
    Report("move", tMove, PlainTransform(mark, move));
    b.Send(UM_MAKE_UNDO_PASS);
    t0 = Now();
    b.Send(UM_UNDO);
    const double tUndo = Now() - t0;
    t0 = Now();
    b.Send(UM_REDO);
    const double tRedo = Now() - t0;
    // The reference: the library's own replay of the same step, undone and
    // redone without the host's erasing, redrawing and selection.
    t0 = Now();
    HostUndo(&b.db);
    const double tPlainUndo = Now() - t0;
    t0 = Now();
    HostRedo(&b.db);
    const double tPlainRedo = Now() - t0;
    Report("undo of the move", tUndo, tPlainUndo);
    Report("redo of the move", tRedo, tPlainRedo);

    t0 = Now();
    auto* copies = reinterpret_cast<CadMark*>(b.Send(UM_COPY_MARKED, 0, mark));
    const double tCopy = Now() - t0;
    b.Send(UM_MAKE_UNDO_PASS);
    t0 = Now();
    std::vector<ElementRecord> plainCopies;
    plainCopies.reserve(100000);
    for (void* v = DAriGetNextMark(nullptr, mark); v; v = DAriGetNextMark(v, mark))
        plainCopies.push_back(static_cast<StoredElement*>(v)->rec);
    Report("copy", tCopy, Now() - t0);
    printf("  copies %d\n", copies ? DAriGetMarkNum(copies) : 0);

    const double a = 0.5;
    const double turn[11] = {1, std::cos(a), -std::sin(a), std::sin(a), std::cos(a), 0, 0, 0, 0, 1, 1};
    b.Send(UM_SET_TRANSFORM, 1, turn);
    t0 = Now();
    b.Send(UM_MOVE_MARKED, 0, mark);
    const double tTurn = Now() - t0;
    Report("rotate", tTurn, PlainTransform(mark, turn));
    b.Send(UM_MAKE_UNDO_PASS);

    t0 = Now();
    b.Send(UM_DELETE_MARKED, 0, mark);
    const double tDelete = Now() - t0;
    // The reference deletes the 100,000 copies with the library alone.
    std::vector<StoredElement*> plainGone;
    for (void* v = DAriGetNextMark(nullptr, copies); v; v = DAriGetNextMark(v, copies))
        plainGone.push_back(static_cast<StoredElement*>(v));
    t0 = Now();
    for (StoredElement* e : plainGone)
        DAriDeleteElement(e, &b.db);
    Report("delete", tDelete, Now() - t0);
    printf("  left %d elements; the drawing was marked modified %d times\n", DAriGetElmNum(&b.db), modified);
    (void)moved;

    DAriDestroyMark(mark);
    if (copies) DAriDestroyMark(copies);
    HostHooks() = CmdHostHooks();
    DAriDeleteDB(&b.db);
    DestroyWindow(b.view);
    DestroyWindow(b.frame);
    return 0;
}
