#include "drawing_fixture.h"

#include <cstring>

#include "command/cmd_switches.h"
#include "command/host_hooks.h"
#include "command/transform_services.h"
#include "view/geometry.h"

TestDrawing* DrawingOfView(DrawingFixture& f, HWND view) {
    if (!view) return nullptr;
    if (view == f.a.view) return &f.a;
    if (view == f.b.view) return &f.b;
    return nullptr;
}

namespace {

void OpenDrawing(TestDrawing& d, const char* title) {
    std::memset(&d.db, 0, sizeof d.db);
    ASSERT_EQ(DAriCreateDB(&d.db), 1);
    DAriUndoFgSet(&d.db, 20);
    d.view = CreateWindowExA(0, "STATIC", title, WS_POPUP, 0, 0, 801, 601, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(d.view, nullptr);
}

std::string Count(CadMark* mark) { return std::to_string(mark ? DAriGetMarkNum(mark) : -1); }

}  // namespace

void DrawingFixture::SetUp() {
    CommandFixture::SetUp();
    OpenDrawing(a, "drawing a");
    OpenDrawing(b, "drawing b");
    DbInfo* info = DAriGetDbInfoPtr(0, &a.db);
    ASSERT_NE(info, nullptr);
    CadSetF64(info, kInfoDrawW, 841);
    CadSetF64(info, kInfoDrawH, 594);
    view = a.view;
    CurrentTransform() = TransformParams{{1, 1, 0, 0, 1, 0, 0, 0, 0, 1, 1}};
    // Every search in these tests finds every kind on every layer.
    SearchOptionRecord all = {};
    const int32_t words[7] = {3, 0xFFFFF, -1, 0xFFFF, 0xFFFFFF, 255, 255};
    std::memcpy(all.words, words, sizeof words);
    Send(UM_SET_SEARCH_OPTION, 0, &all);
    DAriSerchSetGrpFind(0);
    TqSetLockLaySearchMode(0);

    CmdHostHooks& h = HostHooks();
    h.activeView = [this] { return active ? active->view : nullptr; };
    h.viewDb = [this](HWND v) -> DbHeader* {
        TestDrawing* d = DrawingOfView(*this, v);
        return d ? &d->db : nullptr;
    };
    h.viewRecord = [this](HWND v) -> void* { return DrawingOfView(*this, v); };
    h.findViewByDb = [this](DbHeader* db) -> HWND {
        if (db == &a.db) return a.view;
        if (db == &b.db) return b.view;
        return nullptr;
    };
    h.setDrawingModified = [this](HWND v) {
        TestDrawing* d = v ? DrawingOfView(*this, v) : active;
        if (!d) return 0;
        ++d->modified;
        return 1;
    };
    h.clearDrawingModified = [this](HWND v) {
        if (TestDrawing* d = DrawingOfView(*this, v)) d->modified = 0;
        return 1;
    };
    h.drawElementInViews = [this](HWND, int colour, const void*) {
        paints.push_back("element " + std::to_string(colour));
        return 1;
    };
    h.drawMarkInViews = [this](int colour, CadMark* mark) {
        paints.push_back("mark " + std::to_string(colour) + " " + Count(mark));
        return 1;
    };
    h.drawMarkInViewsAlt = [this](HWND, int colour, CadMark* mark) {
        paints.push_back("alt " + std::to_string(colour) + " " + Count(mark));
        return 1;
    };
    h.viewMode = [this](HWND v) {
        TestDrawing* d = DrawingOfView(*this, v);
        return d ? d->viewMode : -1;
    };
    h.setViewMode = [this](HWND v, int mode) {
        if (TestDrawing* d = DrawingOfView(*this, v)) d->viewMode = mode;
    };
    h.getViewSet = [this](HWND v, int mode, double set[3]) {
        TestDrawing* d = DrawingOfView(*this, v);
        if (!d || mode < 0 || mode > 2) return 0;
        std::memcpy(set, d->sets[mode], sizeof d->sets[mode]);
        return 1;
    };
    h.setViewSet = [this](HWND v, int mode, const double set[3]) {
        TestDrawing* d = DrawingOfView(*this, v);
        if (!d || mode < 0 || mode > 2) return 0;
        std::memcpy(d->previous[mode], d->sets[mode], sizeof d->sets[mode]);
        std::memcpy(d->sets[mode], set, sizeof d->sets[mode]);
        return 1;
    };
    h.zoomFitRatio = [](HWND) { return 1.0; };
    h.setPopupRefresh = [this] { ++popupRefreshes; };
    h.runYesNoDialog = [this](int*, int*, int*, const char*) {
        const int n = yesNoAsked++;
        return n < static_cast<int>(yesNoAnswers.size()) ? yesNoAnswers[n] : IDCANCEL;
    };
    h.uiHighlightColor = [] { return 2; };
    // The drawing windows' own geometry.
    h.drawingTolerance = [] { return GetDrawingTolerance(); };
    h.transformPointAffine = [](double* x, double* y, const double* t) { TransformPointAffine(x, y, t); };
    h.transformElementCoords = [](void* e, double an, double sx, double sy, double px, double py, double bx,
                                  double by) { return TransformElementCoords(e, an, sx, sy, px, py, bx, by); };
    h.intersectLines = [](double* c, const double* a1, const double* a2, const double* b1, const double* b2) {
        return IntersectLines(c, a1, a2, b1, b2);
    };
    h.intersectLineCircle = [](double* f, double* s, const double* p, const double* q, const double* c, double r) {
        return IntersectLineCircle(f, s, p, q, c, r);
    };
    h.isPointOnSegment = [](const double* p, const double* s, const double* e) { return IsPointOnSegment(p, s, e); };
    h.rotatePoint2D = [](double* p, double an) { RotatePoint2D(p, an); };
    h.vectorAngle = [](double y, double x) { return VectorAngle(y, x); };
    h.safeAtan2 = [](double y, double x) { return SafeAtan2(y, x); };
    // The page state of the active drawing is its header's.
    h.currentPage = [this] { return active ? active->db.pages.currentPage : 0; };
    h.getPageState = [this](PageStateBlock* s) {
        if (!active) return 0;
        *s = active->db.pages;
        return 1;
    };
    h.setPageState = [this](const PageStateBlock* s) {
        if (!active) return 0;
        active->db.pages = *s;
        return 1;
    };
    h.undoLevel = [this] { return undoLevel; };
    h.pointScaleFlag = [this] { return pointScale; };
    h.elementHitFirst = [this] { return hitFirst; };
    h.highlightColorSetting = [this] { return highlightSetting; };
    h.yesNoTitle = [] { return std::string("確認"); };
}

void DrawingFixture::TearDown() {
    Switches() = CmdSwitches();
    DAriSetMaxCoord(0, 0);
    DAriDeleteDB(&a.db);
    DAriDeleteDB(&b.db);
    if (a.view) DestroyWindow(a.view);
    if (b.view) DestroyWindow(b.view);
    CommandFixture::TearDown();
}

LRESULT DrawingFixture::Send(UINT msg, WPARAM wParam, LPARAM lParam) {
    return SendMessageA(frame->m_hWnd, msg, wParam, lParam);
}

StoredElement* DrawingFixture::Add(const ElementRecord& rec) {
    return reinterpret_cast<StoredElement*>(Send(UM_APPEND_ELEMENT, 0, &rec));
}

std::vector<StoredElement*> DrawingFixture::Elements(DbHeader* db) {
    std::vector<StoredElement*> out;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db))
        out.push_back(e);
    return out;
}

std::vector<ElementRecord> DrawingFixture::Records(DbHeader* db) {
    std::vector<ElementRecord> out;
    for (StoredElement* e : Elements(db))
        out.push_back(e->rec);
    return out;
}

CadMark* DrawingFixture::MarkOf(DbHeader* db, const std::vector<StoredElement*>& elements) {
    CadMark* mark = DAriCreateMark(db);
    for (StoredElement* e : elements)
        DAriSetMark(e, mark);
    return mark;
}

CmdRequest DrawingFixture::RequestFor(const TestDrawing& d) {
    CmdRequest req = {};
    req.view = d.view;
    return req;
}
