// The test module's commands for what the drawing views draw and show
// beside the drawing (ids 30600-30699), chosen by the "/C:" word:
//   ViewBand      in the active view: shows a rubber band of two lines, then
//                 draws and erases a transformed preview of a mark of three
//                 elements; logs "TESTCMD band <changed by the band>
//                 <changed by the preview> <left after its erase pass>
//                 <count>" (pixels of the view)
//   ViewScale     opens the input-scale window, types "1/50" into its input
//                 scale, converts the point (10, 20) there and back, closes
//                 it; logs "TESTCMD scale <active before> <active> <D>
//                 <ratio D/I> <x> <y> <x back> <y back> <active after>"
//   ViewPopup     shows a message pop-up at the pointer through WM_COMMAND
//                 8000 to the view, then hides it; logs "TESTCMD popup
//                 <shown> <dx> <dy> <shown after>". With the word "keep"
//                 the pop-up stays (for a picture of it).
//   ViewOverview  switches the page overview of the active view on and off
//                 through UM_SET_OVERVIEW; logs "TESTCMD overview <cells on>
//                 <cells off>". With "keep" it stays on (cells off -1).
//   ViewLoupe     toggles the loupe and the layout window on (and leaves
//                 them shown for ViewLoupe again to hide); logs "TESTCMD
//                 loupe <loupe shown> <layout shown>"
//   ViewCursor    asks the active view for its pointer (WM_SETCURSOR over
//                 its client area), once as it is and once with the page
//                 overview on; logs "TESTCMD cursor <pointer> <pointer in
//                 the overview>", each 0 none, 1 arrow, 2 hand, 3 cross,
//                 9 left as it was (the view did not choose)
#include <cstdio>
#include <cstring>
#include <vector>

#include "cadlib/WmCadApiDb.h"
#include "command/host_messages.h"
#include "modules/test_cmd/test_cmd.h"

namespace testcmd {

namespace {

template <class T>
LRESULT HostP(UINT msg, WPARAM wParam, T* lParam) {
    return Host(msg, wParam, reinterpret_cast<LPARAM>(lParam));
}

HWND ActiveView() { return reinterpret_cast<HWND>(Host(UM_ACTIVE_VIEW)); }

ElementRecord LineRec(double x1, double y1, double x2, double y2) {
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.kind = kElmLine;
    r.colour = 2;
    CadSetF64(&r, kOffP1X, x1);
    CadSetF64(&r, kOffP1Y, y1);
    CadSetF64(&r, kOffP2X, x2);
    CadSetF64(&r, kOffP2Y, y2);
    return r;
}

// The view's client pixels, read back from its window.
std::vector<COLORREF> Pixels(HWND view) {
    RECT rc;
    ::GetClientRect(view, &rc);
    std::vector<COLORREF> out;
    HDC dc = ::GetDC(view);
    HDC mem = ::CreateCompatibleDC(dc);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bmp) {
        HGDIOBJ old = ::SelectObject(mem, bmp);
        ::BitBlt(mem, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
        ::GdiFlush();
        out.assign(static_cast<COLORREF*>(bits), static_cast<COLORREF*>(bits) + rc.right * rc.bottom);
        ::SelectObject(mem, old);
        ::DeleteObject(bmp);
    }
    ::DeleteDC(mem);
    ::ReleaseDC(view, dc);
    return out;
}

int Changed(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    if (a.size() != b.size()) return -1;
    int n = 0;
    for (size_t i = 0; i < a.size(); ++i)
        n += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    return n;
}

int ViewBand() {
    HWND view = ActiveView();
    auto* db = reinterpret_cast<DbHeader*>(Host(UM_GET_ACTIVE_DB));
    if (!view || !db) {
        Log("TESTCMD band -1 -1 -1 -1");
        return 0;
    }
    ::UpdateWindow(view);
    const std::vector<COLORREF> start = Pixels(view);
    const ElementRecord a = LineRec(-500, -300, 500, 300), b = LineRec(-500, 300, 500, -300);
    CmdRequest req = {};
    req.view = view;
    req.record = reinterpret_cast<uint32_t>(&a);
    Host(UM_DRAG_APPEND, 0, reinterpret_cast<LPARAM>(&req));
    req.record = reinterpret_cast<uint32_t>(&b);
    Host(UM_DRAG_APPEND, 0, reinterpret_cast<LPARAM>(&req));
    Host(UM_DRAG_REDRAW, 0, reinterpret_cast<LPARAM>(&req));
    const std::vector<COLORREF> banded = Pixels(view);

    // The preview: a mark of three elements, moved by (200, 100).
    CadMark* mark = DAriCreateMark(db);
    const ElementRecord lines[3] = {LineRec(0, 0, 400, 0), LineRec(0, 0, 0, 400), LineRec(0, 0, 400, 400)};
    for (const ElementRecord& r : lines) {
        auto* e = reinterpret_cast<StoredElement*>(HostP(UM_APPEND_ELEMENT, 0, &r));
        if (e) DAriSetMark(e, mark);
    }
    double angle = 0.3, scale = 1.5;
    CmdRequest move = {};
    move.view = view;
    move.mark = reinterpret_cast<uint32_t>(mark);
    move.w.anglePtr = reinterpret_cast<uint32_t>(&angle);
    move.picked = reinterpret_cast<uint32_t>(&scale);
    move.pt2[0] = 200;
    move.pt2[1] = 100;
    move.w.mode = 0;
    Host(UM_DRAG_TRANSFORM, 0, reinterpret_cast<LPARAM>(&move));
    const std::vector<COLORREF> previewed = Pixels(view);
    move.w.mode = 1;
    Host(UM_DRAG_TRANSFORM, 0, reinterpret_cast<LPARAM>(&move));
    const std::vector<COLORREF> erased = Pixels(view);
    DAriDestroyMark(mark);
    Log("TESTCMD band %d %d %d %d", Changed(start, banded), Changed(banded, previewed), Changed(banded, erased),
        3);
    return 0;
}

int ViewScale() {
    const LRESULT before = Host(UM_INPUT_SCALE_FUNC, 3);
    Host(UM_INPUT_SCALE_FUNC, 1);
    const LRESULT active = Host(UM_INPUT_SCALE_FUNC, 3);
    auto* db = reinterpret_cast<DbHeader*>(Host(UM_GET_ACTIVE_DB));
    DbInfo* info = db ? DAriGetDbInfoPtr(0, db) : nullptr;
    const double d = info ? CadGetF64(info, kInfoScale) : 0;
    HWND window = ::FindWindowA("#inputscaledisp#", nullptr);
    HWND combo = window ? ::GetDlgItem(window, 1001) : nullptr;
    if (combo) {
        ::SetWindowTextA(combo, "1/50");
        ::SendMessageA(window, WM_COMMAND, MAKEWPARAM(1001, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo));
    }
    double ratio = 0;
    HostP(UM_INPUT_SCALE_FUNC, 4, &ratio);
    double p[3] = {10, 20, 0};
    HostP(UM_INPUT_SCALE_FUNC, 7, p);
    double back[3] = {p[0], p[1], 0};
    HostP(UM_INPUT_SCALE_FUNC, 9, back);
    Host(UM_INPUT_SCALE_FUNC, 2);
    const LRESULT after = Host(UM_INPUT_SCALE_FUNC, 3);
    Log("TESTCMD scale %ld %ld %.6f %.6f %.4f %.4f %.4f %.4f %ld", static_cast<long>(before),
        static_cast<long>(active), d, ratio, p[0], p[1], back[0], back[1], static_cast<long>(after));
    return 0;
}

bool g_keep = false;

int ViewPopup() {
    HWND view = ActiveView();
    if (!view) {
        Log("TESTCMD popup -1 0 0 -1");
        return 0;
    }
    POINT at;
    ::GetCursorPos(&at);
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8000, 1), reinterpret_cast<LPARAM>("終点を指示"));
    HWND popup = ::FindWindowA("ZavCursorMsgWin", nullptr);
    const int shown = popup && ::IsWindowVisible(popup) ? 1 : 0;
    RECT wr = {0, 0, 0, 0};
    if (popup) ::GetWindowRect(popup, &wr);
    if (!g_keep) ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8000, 0), 0);
    const int after = popup && ::IsWindowVisible(popup) ? 1 : 0;
    Log("TESTCMD popup %d %ld %ld %d", shown, static_cast<long>(wr.left - at.x), static_cast<long>(wr.top - at.y),
        after);
    return 0;
}

int CountCells(HWND view) {
    int n = 0;
    char cls[32];
    for (HWND c = ::GetWindow(view, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        if (::GetClassNameA(c, cls, sizeof cls) && std::strcmp(cls, "LAY_WND") == 0) ++n;
    return n;
}

int ViewOverview() {
    HWND view = ActiveView();
    CmdRequest req = {};
    req.view = view;
    req.w.mode = 1;
    Host(UM_SET_OVERVIEW, 0, reinterpret_cast<LPARAM>(&req));
    const int on = view ? CountCells(view) : -1;
    if (view) ::UpdateWindow(view);
    int off = -1;
    if (!g_keep) {
        req.w.mode = 0;
        Host(UM_SET_OVERVIEW, 0, reinterpret_cast<LPARAM>(&req));
        off = view ? CountCells(view) : -1;
    }
    Log("TESTCMD overview %d %d", on, off);
    return 0;
}

int ViewLoupe() {
    Host(UM_TOGGLE_LOUPE);
    Host(UM_TOGGLE_LAYOUT_VIEW);
    HWND loupe = ::FindWindowA("#ROUPEVIEW#", nullptr), layout = ::FindWindowA("#LAYOUTVIEW#", nullptr);
    Log("TESTCMD loupe %d %d", loupe && ::IsWindowVisible(loupe) ? 1 : 0,
        layout && ::IsWindowVisible(layout) ? 1 : 0);
    return 0;
}

// The pointer the view chooses: the wait cursor is set first, so that a
// view that leaves the choice to the system shows as "left as it was".
int PointerChosen(HWND view) {
    HCURSOR wait = ::LoadCursor(nullptr, IDC_WAIT);
    ::SetCursor(wait);
    ::SendMessageA(view, WM_SETCURSOR, reinterpret_cast<WPARAM>(view), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    HCURSOR c = ::GetCursor();
    if (!c) return 0;
    if (c == ::LoadCursor(nullptr, IDC_ARROW)) return 1;
    if (c == ::LoadCursor(nullptr, IDC_CROSS)) return 3;
    if (c == wait) return 9;
    return 2;
}

int ViewCursor() {
    HWND view = ActiveView();
    if (!view) {
        Log("TESTCMD cursor -1 -1");
        return 0;
    }
    const int plain = PointerChosen(view);
    CmdRequest req = {};
    req.view = view;
    req.w.mode = 1;
    Host(UM_SET_OVERVIEW, 0, reinterpret_cast<LPARAM>(&req));
    const int overview = PointerChosen(view);
    req.w.mode = 0;
    Host(UM_SET_OVERVIEW, 0, reinterpret_cast<LPARAM>(&req));
    Log("TESTCMD cursor %d %d", plain, overview);
    return 0;
}

}  // namespace

bool RunViewCommand(const char* word, const char*, int* result) {
    struct Entry {
        const char* name;
        int (*run)();
    } const entries[] = {{"ViewBand", ViewBand},         {"ViewScale", ViewScale}, {"ViewPopup", ViewPopup},
                         {"ViewOverview", ViewOverview}, {"ViewLoupe", ViewLoupe}, {"ViewCursor", ViewCursor}};
    g_keep = std::strstr(word, " keep") != nullptr;
    for (const Entry& e : entries) {
        if (Is(word, e.name)) {
            *result = e.run();
            return true;
        }
    }
    return false;
}

}  // namespace testcmd
