// What the drawing views draw over their pictures and beside them: the
// cross-hair, the keyboard cursor, the cursor pop-ups, the rubber band, the
// transformed drag preview, the page and layer overview, the layout and
// loupe geometry and the input scale.
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "command/executor.h"
#include "command/pick_aperture.h"
#include "command/wait_loop.h"
#include "tests/view/view_fixture.h"
#include "view/cad_cursor.h"
#include "view/cursor_popups.h"
#include "view/drag_preview.h"
#include "view/input_scale.h"
#include "view/key_cursor.h"
#include "view/layout_loupe.h"
#include "view/overview.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_paint.h"
#include "view/view_popups.h"
#include "view/view_table.h"
#include "view/view_transform.h"

namespace {

ElementRecord Line(double x1, double y1, double x2, double y2, int colour = 1) {
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.kind = kElmLine;
    r.colour = static_cast<uint16_t>(colour);
    CadSetF64(&r, kOffP1X, x1);
    CadSetF64(&r, kOffP1Y, y1);
    CadSetF64(&r, kOffP2X, x2);
    CadSetF64(&r, kOffP2Y, y2);
    return r;
}

ElementRecord Circle(double x, double y, double radius) {
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.kind = kElmCircle;
    r.colour = 1;
    CadSetF64(&r, kOffP1X, x);
    CadSetF64(&r, kOffP1Y, y);
    CadSetF64(&r, kOffRadius, radius);
    return r;
}

// The client area of a window as its pixels (read back from the screen).
std::vector<COLORREF> Snapshot(HWND w) {
    RECT rc;
    ::GetClientRect(w, &rc);
    HDC dc = ::GetDC(w);
    HDC mem = ::CreateCompatibleDC(dc);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = rc.right;
    bi.bmiHeader.biHeight = -rc.bottom;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP bmp = ::CreateDIBSection(mem, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = ::SelectObject(mem, bmp);
    ::BitBlt(mem, 0, 0, rc.right, rc.bottom, dc, 0, 0, SRCCOPY);
    ::GdiFlush();
    std::vector<COLORREF> out(static_cast<const COLORREF*>(bits),
                              static_cast<const COLORREF*>(bits) + rc.right * rc.bottom);
    ::SelectObject(mem, old);
    ::DeleteObject(bmp);
    ::DeleteDC(mem);
    ::ReleaseDC(w, dc);
    return out;
}

int Differences(const std::vector<COLORREF>& a, const std::vector<COLORREF>& b) {
    int n = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i)
        n += (a[i] & 0xFFFFFF) != (b[i] & 0xFFFFFF);
    return n + static_cast<int>(a.size() > b.size() ? a.size() - b.size() : b.size() - a.size());
}

class ViewOverlays : public ViewFixture {
protected:
    HWND View() {
        HWND view = NewDrawing();
        SetClientSize(view, 400, 300);
        ResetScales(view);
        ::UpdateWindow(view);
        Pump();
        return view;
    }
};

// --- Cursor settings, grid and lattice snapping --------------------------------------------------

TEST_F(ViewOverlays, CursorSettingsFollowTheCursorType) {
    struct Case {
        int type, t0, t1, areaShown;
        int kind, dotted, shape;
    } cases[] = {
        {0, 3, 0, 1, CCadCursor::kFullWindow, 1, CCadCursor::kCircle},
        {0, 0, 2, 1, CCadCursor::kFullWindow, 0, CCadCursor::kSquare},
        {0, 3, 0, 0, CCadCursor::kFullWindow, 1, 0},
        {1, 1, 2, 1, CCadCursor::kShortCross, 0, CCadCursor::kCircle},
        {2, 3, 2, 1, CCadCursor::kNone, 0, 0},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.type * 100 + k.t0 * 10 + k.t1);
        Running().mouseMode = k.type;
        Running().CURSOR00TYPE = k.t0;
        Running().CURSOR01TYPE = k.t1;
        Running().bCurSorAreaDsp = k.areaShown;
        CCadCursor c;
        c.ApplySettings();
        EXPECT_EQ(k.kind, c.kind);
        EXPECT_EQ(k.kind, c.drawnKind);
        EXPECT_EQ(k.dotted, c.dotted);
        EXPECT_EQ(k.shape, c.shape);
        EXPECT_EQ(k.shape ? GetCursorFindArea() + 2 : 10, c.halfSize);
    }
}

// The cross-hair is XOR: drawn and erased, the view's pixels are as before.
TEST_F(ViewOverlays, TheCrossHairLeavesNothingBehind) {
    HWND view = View();
    Running().mouseMode = 0;
    Running().bCurSorAreaDsp = 1;
    Running().CURSOR00TYPE = 2;
    ::SendMessageA(view, kCursorSettingsMessage, 0, 0);
    const std::vector<COLORREF> before = Snapshot(view);
    CCadCursor* c = ViewCursorOf(view);
    ASSERT_NE(nullptr, c);
    POINT at = {120, 90};
    ::ClientToScreen(view, &at);
    c->SetScreenPos(at);
    c->Redraw(true);
    EXPECT_EQ(1, c->drawn);
    EXPECT_GT(Differences(before, Snapshot(view)), 400) << "a full-window cross";
    ::SendMessageA(view, WM_COMMAND, kCursorEraseCommand, 0);
    EXPECT_EQ(0, c->drawn);
    EXPECT_EQ(0, Differences(before, Snapshot(view)));
    // A setting changed through the message redraws with the new kind.
    ::SendMessageA(view, kCursorSettingsMessage, 1, CCadCursor::kShortCross);
    EXPECT_EQ(CCadCursor::kShortCross, c->drawnKind);
    c->Erase();
    EXPECT_EQ(0, Differences(before, Snapshot(view)));
}

TEST(CursorSnap, LatticePointsAreTheNearestAlsoOffTheOrigin) {
    struct Case {
        double v, origin, step, expected;
    } cases[] = {
        {-7.4, 0, 5, -5}, {-7.6, 0, 5, -10}, {12.6, 0, 5, 15}, {12.4, 0, 5, 10}, {2.5, 0, 5, 5}, {-2.5, 0, 5, -5},
        // An origin that is no multiple of the step: still the nearest point.
        {0.5, 8, 10, -2}, {3.5, 8, 10, 8}, {-1.0, 3, 10, 3}, {-7.5, 3, 10, -7},
    };
    for (const Case& k : cases)
        EXPECT_DOUBLE_EQ(k.expected, SnapToLattice(k.v, k.origin, k.step)) << k.v << " origin " << k.origin;
    EXPECT_DOUBLE_EQ(4.2, SnapToLattice(4.2, 0, 0)) << "no step: unchanged";
}

TEST_F(ViewOverlays, GridSnapUsesTheDisplayedPitchAndNeverAnswersNaN) {
    HWND view = View();
    ViewData* d = GetViewData(view);
    Running().iGridNoDetFlg = 0;
    Running().iGridCutFg = 2;
    Running().grid.x = Running().grid.y = 10;
    GridOrigin[0] = GridOrigin[1] = 0;
    struct Case {
        double x, y, ex, ey;
    } cases[] = {{-7.4, 12.6, -5, 15}, {-7.6, 12.4, -10, 10}};
    for (double displayed : {0.0, 10.0}) {
        // 0: before the first grid paint the setting's pitch stands in.
        DisplayedGridPitch[0] = DisplayedGridPitch[1] = displayed;
        for (const Case& k : cases) {
            double p[3] = {k.x, k.y, 0};
            SetKeyCursorPoint(p);
            LastViewMousePos = WorldToClient(view, d, k.x, k.y);
            EnterKeyCursorMode();
            SetKeyCursorPoint(p);
            double out[3];
            GetGridSnappedCursorPoint(out);
            EXPECT_TRUE(std::isfinite(out[0]) && std::isfinite(out[1]));
            EXPECT_DOUBLE_EQ(k.ex, out[0]) << k.x;
            EXPECT_DOUBLE_EQ(k.ey, out[1]) << k.y;
        }
    }
    // The origin is no multiple of the pitch: the nearest point still.
    DisplayedGridPitch[0] = DisplayedGridPitch[1] = 10;
    Running().iGridCutFg = 1;
    GridOrigin[0] = 18;
    double p[3] = {0.5, 0, 0};
    SetKeyCursorPoint(p);
    double out[3];
    GetGridSnappedCursorPoint(out);
    EXPECT_DOUBLE_EQ(-2, out[0]);
    Running().iGridNoDetFlg = 1;
    GetGridSnappedCursorPoint(out);
    EXPECT_DOUBLE_EQ(0.5, out[0]);
    GridOrigin[0] = 0;
    DisplayedGridPitch[0] = DisplayedGridPitch[1] = 0;
    ToggleKeyCursorMode();
}

TEST_F(ViewOverlays, KeyCursorMovesFromTheMousePointByTheStep) {
    HWND view = View();
    ViewData* d = GetViewData(view);
    SetKeyCursorStep(600);
    LastViewMousePos = WorldToClient(view, d, 30, 40);
    CmdInput().event = 0;
    ASSERT_EQ(0, IsKeyCursorMode());
    EXPECT_EQ(1, MoveKeyCursor(4, 0));
    EXPECT_EQ(1, IsKeyCursorActive());
    EXPECT_EQ(CMD_EV_MOUSE_MOVE, CmdInput().event);
    double p[3];
    GetCursorWorldPoint(p);
    EXPECT_NEAR(30, p[0], 1.0);
    EXPECT_NEAR(40 - 600, p[1], 1.0);
    struct Step {
        int direction;
        double distance, dx, dy;
    } steps[] = {{1, 5, 5, 0}, {2, 0, -600, 0}, {3, 2.5, 0, 2.5}, {9, 7, 0, 0}};
    for (const Step& k : steps) {
        double before[3], after[3];
        GetCursorWorldPoint(before);
        MoveKeyCursor(k.direction, k.distance);
        GetCursorWorldPoint(after);
        EXPECT_DOUBLE_EQ(k.dx, after[0] - before[0]) << k.direction;
        EXPECT_DOUBLE_EQ(k.dy, after[1] - before[1]) << k.direction;
    }
    // The marker blinks with the timer and is gone after an even count.
    EXPECT_EQ(1, SetKeyCursorPoint(0, 0, 0, 0));
    const std::vector<COLORREF> before = Snapshot(view);
    CursorTimerTick();
    EXPECT_EQ(1, KeyCursorMarkerShown());
    EXPECT_GT(Differences(before, Snapshot(view)), 0);
    CursorTimerTick();
    EXPECT_EQ(0, KeyCursorMarkerShown());
    EXPECT_EQ(0, Differences(before, Snapshot(view)));
    // A waiting service command suspends the keyboard cursor.
    Executor().serviceCmdWaiting = 1;
    EXPECT_EQ(0, IsKeyCursorActive());
    EXPECT_EQ(1, IsKeyCursorMode());
    Executor().serviceCmdWaiting = 0;
    EXPECT_EQ(1, ResetKeyCursor());
    GetCursorWorldPoint(p);
    EXPECT_EQ(0, p[0]);
    EXPECT_EQ(1, SetKeyCursorPoint(7, 8, 1, 2));
    GetCursorWorldPoint(p);
    EXPECT_EQ(7, p[0]);
    EXPECT_EQ(1, ToggleKeyCursorMode());
    EXPECT_EQ(0, IsKeyCursorMode());
}

// The view chooses the pointer over its client area: none while the
// cross-hair stands in for it, the arrow or the hand for cursor type 2, the
// arrow beside the keyboard cursor; the scroll bars keep the system's.
TEST_F(ViewOverlays, TheViewChoosesThePointer) {
    HWND view = View();
    HCURSOR arrow = ::LoadCursor(nullptr, IDC_ARROW), wait = ::LoadCursor(nullptr, IDC_WAIT);
    LoadViewCursors(::GetModuleHandleA(nullptr));
    struct Case {
        int type, handType, keyCursor;
        HCURSOR expected;
    } cases[] = {
        {0, 0, 0, nullptr}, {1, 0, 0, nullptr}, {2, 0, 0, arrow}, {2, 1, 0, NullCursor}, {0, 0, 1, arrow},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.type * 100 + k.handType * 10 + k.keyCursor);
        Running().mouseMode = k.type;
        Running().CURSOR02TYPE = k.handType;
        if (k.keyCursor) EnterKeyCursorMode();
        ::SetCursor(wait);
        EXPECT_EQ(TRUE, ::SendMessageA(view, WM_SETCURSOR, reinterpret_cast<WPARAM>(view),
                                       MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
        EXPECT_EQ(k.expected, ::GetCursor());
        if (k.keyCursor) ToggleKeyCursorMode();
    }
    ::SetCursor(wait);
    ::SendMessageA(view, WM_SETCURSOR, reinterpret_cast<WPARAM>(view), MAKELPARAM(HTVSCROLL, WM_MOUSEMOVE));
    EXPECT_NE(nullptr, ::GetCursor()) << "not the view's choice outside its client area";
    Running().mouseMode = 0;
    Running().CURSOR02TYPE = 0;
}

// The last input point's marker is XOR: drawn twice it leaves the picture as
// it was, also over a fresh paint; with the setting off nothing is drawn.
TEST_F(ViewOverlays, TheLastInputPointMarkerComesAndGoes) {
    HWND view = View();
    WaitState& ws = CmdWaitState();
    ws.inputBasePoint[0] = ws.inputBasePoint[1] = 0;
    ws.basePointShown = 1;
    Running().bLastPosViewFg = 0;
    ::InvalidateRect(view, nullptr, FALSE);
    ::UpdateWindow(view);
    const std::vector<COLORREF> plain = Snapshot(view);
    EXPECT_EQ(1, DrawInputBasePoint(0, nullptr, 0));
    EXPECT_EQ(0, Differences(plain, Snapshot(view))) << "off: nothing";
    Running().bLastPosViewFg = 1;
    EXPECT_EQ(1, DrawInputBasePoint(0, nullptr, 0));
    const std::vector<COLORREF> marked = Snapshot(view);
    EXPECT_GT(Differences(plain, marked), 8);
    DrawInputBasePoint(0, nullptr, 0);
    EXPECT_EQ(0, Differences(plain, Snapshot(view)));
    // A paint shows it, and the next XOR call takes it away.
    ::InvalidateRect(view, nullptr, FALSE);
    ::UpdateWindow(view);
    EXPECT_EQ(0, Differences(marked, Snapshot(view)));
    DropInputBasePoint(view);
    EXPECT_EQ(0, ws.basePointShown);
    EXPECT_EQ(0, Differences(plain, Snapshot(view)));
    Running().bLastPosViewFg = 0;
}

// --- Cursor pop-ups ------------------------------------------------------------------------------------

TEST(CursorPopupTexts, CoordinateLinesAndCorners) {
    const double base[3] = {100, 50, 0};
    std::string x, y;
    FormatCoordLines(130.4, 20.6, base, &x, &y);
    EXPECT_EQ(" X: 30 ", x);
    EXPECT_EQ(" Y:-29 ", y);
    FormatCoordLines(1100, 51, base, &x, &y);
    EXPECT_EQ(" X:1000 ", x);
    EXPECT_EQ(" Y:   1 ", y);
    struct Case {
        int corner;
        POINT expected;
    } cases[] = {{0, {100 - 40 - 13, 200 + 8}}, {1, {108, 208}}, {2, {108, 200 - 16 - 12}}, {3, {47, 172}}};
    for (const Case& k : cases) {
        const POINT p = PopupCorner(k.corner, 100, 200, 40, 16);
        EXPECT_EQ(k.expected.x, p.x) << k.corner;
        EXPECT_EQ(k.expected.y, p.y) << k.corner;
    }
    EXPECT_STREQ("交点", SnapKindName(2));
    EXPECT_STREQ("", SnapKindName(0));
    EXPECT_STREQ("中心", SnapKindName(5));
}

TEST_F(ViewOverlays, ViewCommandsSetThePopupsAndShiftDecides) {
    HWND view = View();
    CursorPopupState& s = CursorPopups();
    s = CursorPopupState();
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8001, 1), (LPARAM) "始点");
    EXPECT_EQ(1, s.mode);
    EXPECT_EQ(1, s.shiftRequired);
    EXPECT_EQ("始点", s.message);
    CCursorMsgWin message(CCursorMsgWin::kMessage), coords(CCursorMsgWin::kCoordinates);
    // Without Shift the pop-up stays hidden unless it is always shown.
    UpdateCursorPopups(message, coords);
    EXPECT_EQ(0, message.shown);
    s.alwaysMessage = 1;
    UpdateCursorPopups(message, coords);
    EXPECT_EQ(1, message.shown);
    EXPECT_EQ("始点", message.text);
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8001, 21), 0);
    EXPECT_EQ(0, s.alwaysMessage);
    // A base point enables the coordinates; 10 clears it.
    const double base[3] = {100, 50, 0};
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8001, 11), (LPARAM)base);
    EXPECT_EQ(1, s.baseSet);
    EXPECT_EQ(100, s.base[0]);
    const double pitch[3] = {25, 25, 0};
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8001, 20), (LPARAM)pitch);
    EXPECT_EQ(25, s.snapPitch[1]);
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8001, 10), 0);
    EXPECT_EQ(0, s.baseSet);
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8001, 1), 0);  // null text: nothing
    EXPECT_EQ("始点", s.message);
    // 8000/1: the message at once, below-right, without Shift.
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8000, 1), (LPARAM) "終点を指示");
    EXPECT_EQ(10, s.mode);
    EXPECT_EQ(0, s.shiftRequired);
    message.corner = 1;  // as the view's own pop-up after 8000/1
    UpdateCursorPopups(message, coords);
    ASSERT_EQ(1, message.shown);
    RECT wr;
    ::GetWindowRect(message.Window(), &wr);
    EXPECT_EQ(message.pos.x + 8, wr.left) << "corner 1 is below-right";
    EXPECT_EQ(message.pos.y + 8, wr.top);
    ::SendMessageA(view, WM_COMMAND, MAKEWPARAM(8000, 0), 0);
    EXPECT_EQ(0, s.mode);
    EXPECT_EQ("", s.message);
    UpdateCursorPopups(message, coords);
    message.Hide();
    s = CursorPopupState();
}

TEST_F(ViewOverlays, TheKeySnapUsesTheBasePointLattice) {
    HWND view = View();
    (void)view;
    CursorPopupState& s = CursorPopups();
    s = CursorPopupState();
    s.shiftRequired = 0;
    Running().iGridCutFg = 1;
    double p[3] = {131, 22, 0};
    EnterKeyCursorMode();
    SetKeyCursorPoint(p);
    double out[3];
    int snapped = 1;
    EXPECT_EQ(0, GetKeySnappedCursorPoint(out, &snapped)) << "no base point";
    EXPECT_EQ(0, snapped);
    s.baseSet = 1;
    s.base[0] = 3;
    s.base[1] = 0;
    s.snapPitch[0] = s.snapPitch[1] = 10;
    EXPECT_EQ(1, GetKeySnappedCursorPoint(out, &snapped));
    EXPECT_EQ(1, snapped);
    EXPECT_DOUBLE_EQ(133, out[0]);
    EXPECT_DOUBLE_EQ(20, out[1]);
    s = CursorPopupState();
    ToggleKeyCursorMode();
}

TEST_F(ViewOverlays, TheSnapPopupNamesTheKindAndHidesWhenThePointerMoves) {
    View();
    CSnapWin& snap = CSnapWin::Instance();
    POINT now;
    ::GetCursorPos(&now);
    ASSERT_EQ(1, snap.Show(2, &now));
    ASSERT_NE(nullptr, snap.Window());
    EXPECT_EQ("交点", snap.text);
    RECT wr;
    ::GetWindowRect(snap.Window(), &wr);
    EXPECT_EQ(now.x + 8, wr.left);
    EXPECT_LT(wr.bottom, now.y) << "above the point";
    ::SetCursorPos(now.x + 3, now.y);
    snap.CheckPointer();
    EXPECT_EQ(nullptr, snap.Window()) << "a 3-pixel move hides it";
    EXPECT_EQ(0, snap.Show(0, &now));
    EXPECT_EQ(nullptr, snap.Window());
}

// --- Rubber band and the transformed preview ---------------------------------------------------------

TEST_F(ViewOverlays, RubberBandShownTwiceRestoresThePicture) {
    HWND view = View();
    ASSERT_EQ(1, CreateRubberDbs());
    UpdateRubberBand(view, 0, 0, 2);
    const std::vector<COLORREF> before = Snapshot(view);
    const ElementRecord a = Line(-100, -50, 100, 50), b = Line(-100, 50, 100, -50);
    ASSERT_EQ(1, AppendRubberElement(view, 0, &a));
    ASSERT_EQ(1, AppendRubberElement(view, 0, &b));
    EXPECT_EQ(1, UpdateRubberBand(view, 0, 0, 0));
    EXPECT_EQ(0, DAriGetElmNum(RubberDragDb())) << "the pending band is emptied";
    EXPECT_EQ(2, DAriGetElmNum(RubberShownDb())) << "a copy of what is on the screen";
    EXPECT_GT(Differences(before, Snapshot(view)), 100);
    EXPECT_EQ(1, UpdateRubberBand(view, 0, 0, 1));
    EXPECT_EQ(0, DAriGetElmNum(RubberShownDb()));
    EXPECT_EQ(0, Differences(before, Snapshot(view))) << "XOR twice restores every pixel";
    // A second erase draws an empty band; mode 0 with nothing pending
    // empties the shown copy.
    EXPECT_EQ(1, UpdateRubberBand(view, 0, 0, 1));
    EXPECT_EQ(0, Differences(before, Snapshot(view)));
    EXPECT_EQ(1, UpdateRubberBand(view, 0, 0, 0));
    EXPECT_EQ(0, DAriGetElmNum(RubberShownDb()));
    EXPECT_EQ(0, UpdateRubberBand(nullptr, 0, 0, 0)) << "no view, no record";
    DeleteRubberDbs();
}

class PreviewTest : public ViewOverlays {
protected:
    void SetUp() override {
        ViewOverlays::SetUp();
        view = View();
        db = GetViewDb(view);
        ASSERT_NE(nullptr, db);
        PreviewDrawnCount = 0;
    }
    CadMark* MarkOf(const std::vector<ElementRecord>& records) {
        CadMark* mark = DAriCreateMark(db);
        for (const ElementRecord& r : records)
            DAriSetMark(DAriAppendElement(&r, db), mark);
        return mark;
    }
    int Draw(CadMark* mark, int erase, double dx = 10) {
        const double from[3] = {0, 0, 0}, to[3] = {dx, 0, 0};
        return DrawTransformedPreview(from, to, 0, 1, erase, mark, view);
    }
    HWND view = nullptr;
    DbHeader* db = nullptr;
};

TEST_F(PreviewTest, TheErasePassRemovesExactlyWhatWasDrawn) {
    std::vector<ElementRecord> lines;
    for (int i = 0; i < 450; ++i)
        lines.push_back(Line(-150 + (i % 30) * 10, -100 + (i / 30) * 12, -140 + (i % 30) * 10, -95 + (i / 30) * 12));
    CadMark* mark = MarkOf(lines);
    const std::vector<COLORREF> before = Snapshot(view);
    ASSERT_EQ(1, Draw(mark, 0));
    EXPECT_EQ(450, PreviewDrawnCount);
    EXPECT_GT(Differences(before, Snapshot(view)), 100);
    ASSERT_EQ(1, Draw(mark, 1));
    EXPECT_EQ(450, PreviewDrawnCount) << "the erase pass leaves the count";
    EXPECT_EQ(0, Differences(before, Snapshot(view)));
    // UpdateRubberBand erases a preview still on the screen, whatever mode.
    Draw(mark, 0);
    EXPECT_EQ(1, UpdateRubberBand(view, 0, 0, 1));
    EXPECT_EQ(0, PreviewDrawnCount);
    EXPECT_EQ(0, Differences(before, Snapshot(view)));
    DAriDestroyMark(mark);
}

// A drawing pass that drew nothing leaves nothing for its erase pass: the
// flag, not the count, tells the passes apart.
TEST_F(PreviewTest, AnErasePassAfterAnEmptyDrawingPassDrawsNothing) {
    CadMark* mark = MarkOf({Line(-50, 0, 50, 0), Line(0, -50, 0, 50)});
    CadMark* empty = DAriCreateMark(db);
    const std::vector<COLORREF> before = Snapshot(view);
    Draw(empty, 0);
    EXPECT_EQ(0, PreviewDrawnCount);
    PreviewTransformRecord.mark = mark;  // a later erase with another mark
    Draw(mark, 1);
    EXPECT_EQ(0, Differences(before, Snapshot(view))) << "no ghost left behind";
    DAriDestroyMark(mark);
    DAriDestroyMark(empty);
}

TEST_F(PreviewTest, CoincidentElementsAreDrawnOnce) {
    // The same line twice, the second reversed: XOR would cancel both.
    CadMark* mark = MarkOf({Line(-100, 0, 100, 0), Line(100, 0, -100, 0)});
    const std::vector<COLORREF> before = Snapshot(view);
    Draw(mark, 0);
    EXPECT_EQ(2, PreviewDrawnCount);
    EXPECT_GT(Differences(before, Snapshot(view)), 100) << "the line shows";
    Draw(mark, 1);
    EXPECT_EQ(0, Differences(before, Snapshot(view)));
    DAriDestroyMark(mark);

    // Circles: radii one pixel apart coincide, two pixels apart do not.
    ViewData* d = GetViewData(view);
    CoincidenceList list;
    CadMark* circles = MarkOf({Circle(0, 0, 20), Circle(0, 0, 21), Circle(0, 0, 23)});
    ASSERT_EQ(0, list.Begin(view, d, circles, db, 500));
    auto* first = static_cast<StoredElement*>(DAriGetNextMark(nullptr, circles));
    auto* second = static_cast<StoredElement*>(DAriGetNextMark(first, circles));
    auto* third = static_cast<StoredElement*>(DAriGetNextMark(second, circles));
    ASSERT_EQ(1, list.ComputePixelGeometry(first->rec));
    EXPECT_EQ(1, list.MatchesPixelGeometry(second->rec));
    EXPECT_EQ(0, list.MatchesPixelGeometry(third->rec));
    EXPECT_EQ(1, list.ShouldSkip(first)) << "its partner is drawn instead";
    EXPECT_EQ(1, list.Contains(second));
    EXPECT_EQ(0, list.ShouldSkip(second)) << "the partner itself is drawn";
    EXPECT_EQ(-1, list.Begin(view, d, circles, db, 1));
    DAriDestroyMark(circles);
}

// --- Page and layer overview ----------------------------------------------------------------------------

class OverviewTest : public ViewOverlays {
protected:
    void SetUp() override {
        ViewOverlays::SetUp();
        view = View();
        d = GetViewData(view);
        db = d->db;
        std::unique_ptr<PageRecord> rec(new PageRecord);
        for (int page : {1, 5}) {
            std::memset(rec.get(), 0, sizeof *rec);
            rec->number = page;
            lstrcpyA(reinterpret_cast<char*>(&rec->info) + kInfoTitle, page == 1 ? "一階" : "五階");
            ASSERT_EQ(1, DAriAddPage(page, rec.get(), db));
        }
        ElementRecord r = Line(0, 0, 10, 10);
        for (int layer : {2, 4, 7}) {
            r.layer = static_cast<uint16_t>(layer);
            r.page = 5;
            DAriAppendElement(&r, db);
        }
        r.page = 0;
        r.layer = 0;
        DAriAppendElement(&r, db);
        DAriSetLayerName(5, 9, "空の名前付き", db);  // named, no element
        ForgetUsedLayerCollection();
    }
    HWND view = nullptr;
    ViewData* d = nullptr;
    DbHeader* db = nullptr;
};

TEST_F(OverviewTest, PagesAndTheirUsedLayers) {
    EXPECT_EQ(3, CountPages(d));
    ASSERT_EQ(3, BuildPageUsageTable(d));
    EXPECT_EQ(5, PageUsageTable.entries[2].page);
    EXPECT_STREQ("5", PageUsageTable.entries[2].number);
    EXPECT_STREQ("五階", PageUsageTable.entries[2].title);
    d->overviewLevel = 1;
    char label[300];
    GetOverviewCellLabel(d, 1, label, sizeof label);
    EXPECT_STREQ(" 一階 ", label);
    EXPECT_EQ(1, OverviewCellHasContent(d, 2));
    EXPECT_EQ(0, OverviewCellHasContent(d, 3));
    EXPECT_EQ(5, GetOverviewEntryPage(d, 2));
    d->overviewLevel = 2;
    d->overviewPage = 5;
    EXPECT_EQ(4, CountUsedLayers(d, 2)) << "three used and one named";
    const int expected[] = {2, 4, 7, 9, -1};
    for (int n = 0; n < 5; ++n)
        EXPECT_EQ(expected[n], GetNthUsedLayer(d, n)) << n;
    Running().LANGUAGE = 0;
    GetOverviewCellLabel(d, 1, label, sizeof label);
    EXPECT_STREQ("ﾚｲﾔ 5", label) << "layer 4 shown as 5";
    GetOverviewCellLabel(d, 3, label, sizeof label);
    EXPECT_STREQ("空の名前付き", label);
    EXPECT_EQ(0, HasNoLayerNames(d));
    d->overviewLevel = 0;
}

TEST_F(OverviewTest, ARepeatedCollectionAnswersWhatWasFound) {
    std::vector<LayerBits> first(kOverviewPages), second(kOverviewPages);
    std::memset(first.data(), 0, first.size() * sizeof(LayerBits));
    std::memset(second.data(), 0, second.size() * sizeof(LayerBits));
    ASSERT_EQ(1, CollectUsedLayersAll(view, first.data()));
    EXPECT_EQ((1 << 2) | (1 << 4) | (1 << 7), first[5].words[0]);
    ASSERT_EQ(1, CollectUsedLayersAll(view, second.data()));
    EXPECT_EQ(0, std::memcmp(first.data(), second.data(), first.size() * sizeof(LayerBits)))
        << "the second call for the same window is no empty answer";
    // A figure placed on layer 1024 (outside the table) marks nothing.
    ElementRecord fig;
    std::memset(&fig, 0, sizeof fig);
    fig.kind = kElmFigure;
    fig.layer = 1024;
    DAriAppendElement(&fig, db);
    ForgetUsedLayerCollection();
    std::fill(second.begin(), second.end(), LayerBits());
    CollectUsedLayersAll(view, second.data());
    EXPECT_EQ(0, std::memcmp(first.data(), second.data(), first.size() * sizeof(LayerBits)));
}

TEST_F(OverviewTest, TheOverviewShowsNineCellsAndPicksALayer) {
    ::ShowWindow(::GetParent(view), SW_SHOWMAXIMIZED);
    ASSERT_EQ(1, ToggleOverviewMode(view));
    EXPECT_EQ(1, d->overviewLevel);
    int cells = 0;
    HWND cell[9] = {};
    for (HWND c = GetFirstChildWindow(view); c; c = GetNextChildWindow(c))
        if (cells < 9) cell[cells++] = c;
    ASSERT_EQ(9, cells);
    ::UpdateWindow(view);
    for (HWND c : cell)
        ::UpdateWindow(c);
    Pump();
    EXPECT_EQ(3, PageUsageTable.count);
    // Right click on the page-5 cell opens its layers.
    ::SendMessageA(cell[2], WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(2, d->overviewLevel);
    EXPECT_EQ(5, d->overviewPage);
    CmdInput().event = 0;
    ::SendMessageA(cell[1], WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(CMD_EV_OVERVIEW, CmdInput().event);
    EXPECT_EQ(4, OverviewPick.layer);
    EXPECT_EQ(5, OverviewPick.page);
    CmdInput().event = 0;
    ::SendMessageA(cell[8], WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(0, CmdInput().event) << "an empty cell sets no event";
    ::SendMessageA(cell[0], WM_RBUTTONDOWN, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(1, d->overviewLevel);
    ASSERT_EQ(1, ToggleOverviewMode(view));
    EXPECT_EQ(0, d->overviewLevel);
    EXPECT_EQ(nullptr, GetFirstChildWindow(view));
}

// --- Layout and loupe geometry, input scale ----------------------------------------------------------

TEST_F(ViewOverlays, LayoutAndLoupeGeometry) {
    double out[4];
    const RECT rc = {0, 0, 300, 200};
    LayoutDragToWorld(rc, 0.5, 160, 110, 140, 90, false, 400, 300, out);
    EXPECT_DOUBLE_EQ(-20, out[0]);
    EXPECT_DOUBLE_EQ(20, out[1]);
    EXPECT_DOUBLE_EQ(20, out[2]);
    EXPECT_DOUBLE_EQ(-20, out[3]);
    LayoutDragToWorld(rc, 0.5, 160, 110, 140, 90, true, 400, 300, out);
    EXPECT_DOUBLE_EQ(180, out[0]) << "corner origin: half the paper added";
    EXPECT_DOUBLE_EQ(170, out[1]);

    // A view 2,000 units wide gives a loupe 100 units wide.
    HWND view = View();
    ViewData* d = GetViewData(view);
    d->modelScale = 400.0 / 2000.0;
    d->viewMode = 0;
    double vis[4];
    ASSERT_EQ(1, GetViewVisibleWorldRect(view, vis));
    EXPECT_DOUBLE_EQ(2000, vis[2] - vis[0]);
    HWND loupe = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr, nullptr, nullptr);
    EnterKeyCursorMode();
    double p[3] = {50, 60, 0};
    SetKeyCursorPoint(p);
    CenterLoupeOnCursor(loupe);
    double r[4];
    GetLoupeWorldRect(r);
    EXPECT_DOUBLE_EQ(100, r[2] - r[0]);
    RECT lc;
    ::GetClientRect(loupe, &lc);
    EXPECT_NEAR(100.0 * lc.bottom / lc.right, r[1] - r[3], 1e-9);
    EXPECT_DOUBLE_EQ(50, (r[0] + r[2]) / 2);
    ::DestroyWindow(loupe);
    ToggleKeyCursorMode();
}

TEST_F(ViewOverlays, InputScaleConvertsOnlyForItsDrawing) {
    HWND view = View();
    SetPaper(view, 42000, 29700, false, 0.01);
    ASSERT_EQ(1, RegisterInputScaleClass(::GetModuleHandleA(nullptr)));
    double p[2] = {10, 20};
    EXPECT_EQ(1, ToInputScalePoint(p));
    EXPECT_EQ(10, p[0]) << "closed: unchanged";
    ASSERT_EQ(1, ShowInputScaleWindow());
    ASSERT_EQ(1, IsInputScaleActive());
    EXPECT_DOUBLE_EQ(0.01, GetInputScale()) << "opens at the drawing scale";
    SetInputScaleValue(0.02);
    ToInputScalePoint(p);
    EXPECT_DOUBLE_EQ(5, p[0]);
    EXPECT_DOUBLE_EQ(10, p[1]);
    FromInputScalePoint(p);
    EXPECT_DOUBLE_EQ(10, p[0]);
    EXPECT_DOUBLE_EQ(20, p[1]);
    ElementRecord c = Circle(100, 0, 40);
    EXPECT_EQ(1, ToInputScaleElement(&c));
    EXPECT_DOUBLE_EQ(20, CadGetF64(&c, kOffRadius));
    double ratio = 0;
    EXPECT_EQ(1, InputScaleFunc(4, reinterpret_cast<LPARAM>(&ratio)));
    EXPECT_DOUBLE_EQ(0.5, ratio);
    EXPECT_EQ(0, InputScaleFunc(20, 0)) << "switching off answers 0";
    EXPECT_EQ(0, IsInputScaleActive());
    ToInputScalePoint(p);
    EXPECT_EQ(10, p[0]);
    InputScaleFunc(20, 1);
    // Another drawing made active: its conversions change nothing.
    HWND other = View();
    ASSERT_EQ(other, GetActiveView());
    p[0] = 10;
    ToInputScalePoint(p);
    EXPECT_EQ(10, p[0]);
    EXPECT_EQ(1, IsInputScaleActive());
    SetInputScaleValue(0);
    EXPECT_EQ(1.0, GetInputScale()) << "an unusable scale becomes 1";
    EXPECT_EQ(1, CloseInputScaleWindow());
    EXPECT_EQ(nullptr, InputScaleWindow());
    struct Text {
        const char* text;
        int ok;
    } texts[] = {{"1/50", 1}, {"", 1}, {"0.5", 1}, {"1:50", 0}, {"a", 0}};
    for (const Text& k : texts)
        EXPECT_EQ(k.ok, IsScaleText(k.text)) << k.text;
    DestroyInputScaleWindow();
}

// --- Pictures for people to look at (tests/view/overlay_screenshots.sh) ----------------------------

void SaveBitmap(HWND w, const std::string& path) {
    RECT rc;
    ::GetClientRect(w, &rc);
    const std::vector<COLORREF> px = Snapshot(w);
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = rc.right;
    ih.biHeight = -rc.bottom;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(px.size() * 4);
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    bytes.append(reinterpret_cast<const char*>(px.data()), px.size() * 4);
    WriteBytes(path, bytes);
}

TEST_F(OverviewTest, PicturesOfTheLoupeTheOverviewAndADragPreview) {
    const char* dir = std::getenv("ZAV_SHOT_DIR");
    if (!dir || !*dir) GTEST_SKIP() << "ZAV_SHOT_DIR names the folder for the pictures";
    const std::string folder = dir;
    ::ShowWindow(::GetParent(view), SW_SHOWMAXIMIZED);
    d->modelScale = 1.5;
    for (int i = 0; i < 12; ++i) {
        ElementRecord r = Line(-150 + i * 25, -100, -150 + i * 25, 100, 1 + i % 6);
        DAriAppendElement(&r, db);
        r = Circle(-100 + i * 20, 20 * (i % 3), 15);
        DAriAppendElement(&r, db);
    }
    ::InvalidateRect(view, nullptr, TRUE);
    ::UpdateWindow(view);
    Pump();
    // A drag preview: every line of page 0 turned by 0.4 and moved.
    CadMark* mark = DAriCreateMark(db);
    ElementRecord rec;
    for (StoredElement* e = DAriReadElement(nullptr, 0, &rec, db); e; e = DAriReadElement(e, 1, &rec, db))
        if (rec.page == 0) DAriSetMark(e, mark);
    const double from[3] = {0, 0, 0}, to[3] = {60, 40, 0};
    DrawTransformedPreview(from, to, 0.4, 1.2, 0, mark, view);
    SaveBitmap(view, folder + "\\preview.bmp");
    DrawTransformedPreview(from, to, 0.4, 1.2, 1, mark, view);
    DAriDestroyMark(mark);
    // The overview at its first level.
    ToggleOverviewMode(view);
    ::UpdateWindow(view);
    for (HWND c = GetFirstChildWindow(view); c; c = GetNextChildWindow(c))
        ::UpdateWindow(c);
    Pump();
    SaveBitmap(view, folder + "\\overview.bmp");
    ToggleOverviewMode(view);
    Pump();
    // The loupe around (0, 0) and the layout window.
    ASSERT_EQ(1, CreateViewPopups(m_main.m_hWnd));
    EnterKeyCursorMode();
    double p[3] = {0, 0, 0};
    SetKeyCursorPoint(p);
    ShowLoupe(1);
    ShowLayoutView(1);
    ::UpdateWindow(LoupeWindow());
    ::UpdateWindow(LayoutViewWindow());
    Pump();
    SaveBitmap(LoupeWindow(), folder + "\\loupe.bmp");
    SaveBitmap(LayoutViewWindow(), folder + "\\layout.bmp");
    DestroyViewPopups();
    ToggleKeyCursorMode();
}

}  // namespace
