// The modal wait of command modules: which snap point wins (by table, with
// stubbed searches and with the CAD library's own searches), the order of
// the left-click rules, and nested waits that keep their own requests.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "cmd_fixture.h"
#include "command/dde.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/wait_loop.h"
#include "view/view_data.h"

namespace {

using WaitInputTest = CommandFixture;

TEST(SnapChoice, NearerOfEndPointAndIntersectionWins) {
    const double cursor[3] = {0, 0, 0};
    const double closer[3] = {1, 0, 0}, farther[3] = {0, 2, 0}, sameDistance[3] = {0, 1, 0};
    struct Row {
        const char* name;
        const double* end;
        const double* cross;
        int kind;
        const double* point;
    } rows[] = {
        {"end point nearer", closer, farther, SNAP_FOUND_END, closer},
        {"intersection nearer", farther, closer, SNAP_FOUND_CROSS, closer},
        {"equal distance: the intersection", closer, sameDistance, SNAP_FOUND_CROSS, sameDistance},
        {"only an end point", farther, nullptr, SNAP_FOUND_END, farther},
        {"only an intersection", nullptr, farther, SNAP_FOUND_CROSS, farther},
        {"neither", nullptr, nullptr, SNAP_FOUND_NONE, nullptr},
    };
    for (const Row& r : rows) {
        double out[3] = {-7, -7, -7};
        EXPECT_EQ(ChooseSnapPoint(r.end, r.cross, cursor, out), r.kind) << r.name;
        if (r.point) {
            EXPECT_EQ(out[0], r.point[0]) << r.name;
            EXPECT_EQ(out[1], r.point[1]) << r.name;
        } else {
            EXPECT_EQ(out[0], -7) << r.name << ": nothing written";
        }
    }
}

// Searches that find their kind at a fixed place; the kinds asked are noted.
struct StubSearches {
    std::set<int> finds;  // kinds 1-6 that find
    std::vector<int> asked;
    SnapSearchFn Fn() {
        return [this](int kind, const double*, double out[3]) {
            asked.push_back(kind);
            if (!finds.count(kind)) return 0;
            // End points lie 1 from the cursor, intersections 2, the rest
            // at 10 times their kind.
            out[0] = kind == 1 ? 1 : kind == 2 ? 2 : kind * 10.0;
            out[1] = 0;
            out[2] = 0;
            return 1;
        };
    }
};

TEST(SnapOrder, TableOfKindsMasksAndFinds) {
    struct Row {
        const char* name;
        unsigned bits, kindMask;
        bool keyCursor, gridTaken, markEmpty;
        std::set<int> finds;
        int kind;
        std::vector<int> asked;
    } rows[] = {
        {"automatic: end point nearer", 0x1, 0xFF, false, false, false, {1, 2}, SNAP_FOUND_END, {1, 2}},
        {"end point kind only", 0x20, 0xFF, false, false, false, {1, 2}, SNAP_FOUND_END, {1}},
        {"intersection kind only", 0x40, 0xFF, false, false, false, {1, 2}, SNAP_FOUND_CROSS, {2}},
        {"raster after end and intersection", 0x61, 0xFF, false, false, false, {6, 3}, SNAP_FOUND_RASTER, {1, 2, 6}},
        {"centre before mid point", 0x14, 0xFF, false, false, false, {3, 4}, SNAP_FOUND_CENTRE, {3}},
        {"mid point", 0x14, 0xFF, false, false, false, {4}, SNAP_FOUND_MID, {3, 4}},
        {"no mid point without elements around", 0x4, 0xFF, false, false, true, {4}, SNAP_FOUND_NONE, {}},
        {"on line asks the snap modes alone", 0x80, 0x00, true, false, false, {5}, SNAP_FOUND_ONLINE, {5}},
        {"free point last", 0x69, 0xFF, false, false, false, {}, SNAP_FOUND_FREE, {1, 2, 6}},
        {"free point needs the kind mask", 0x8, 0xF7, false, false, false, {}, SNAP_FOUND_NONE, {}},
        {"kind mask keeps out the end point", 0x21, 0xDE, false, false, false, {1, 2}, SNAP_FOUND_NONE, {}},
        {"keyboard cursor keeps out the searches", 0x7D, 0xFF, true, false, false, {1, 2, 3, 4}, SNAP_FOUND_FREE, {}},
        {"grid point: free point only", 0xFD, 0xFF, false, true, false, {1, 2, 3, 4, 5}, SNAP_FOUND_FREE, {}},
        {"grid point without free point drops", 0xF5, 0xFF, false, true, false, {1}, SNAP_FOUND_NONE, {}},
    };
    const double cursor[3] = {0, 0, 0};
    for (const Row& r : rows) {
        StubSearches s;
        s.finds = r.finds;
        SnapInputs in;
        in.snapBits = r.bits;
        in.kindMask = r.kindMask;
        in.keyCursor = r.keyCursor;
        in.gridTaken = r.gridTaken;
        in.markEmpty = r.markEmpty;
        double out[3] = {0, 0, 0};
        EXPECT_EQ(ElementSnapOrder(in, cursor, s.Fn(), out), r.kind) << r.name;
        EXPECT_EQ(s.asked, r.asked) << r.name;
    }
}

// The CAD library's own searches over a small drawing: two lines that cross
// at (10, 0) and end at (10, 1) and (12, 0).
class LibrarySnap : public ::testing::Test {
protected:
    void SetUp() override {
        std::memset(&header, 0, sizeof header);
        ASSERT_TRUE(DAriCreateDB(&header));
        AddLine(0, 0, 12, 0);
        AddLine(10, -5, 10, 1);
        std::memset(&data, 0, sizeof data);
        data.db = &header;
        data.modelScale = 1;
    }
    void TearDown() override { DAriDeleteDB(&header); }
    void AddLine(double x1, double y1, double x2, double y2) {
        ElementRecord line;
        std::memset(&line, 0, sizeof line);
        line.kind = kElmLine;
        line.colour = 1;
        CadSetF64(&line, kOffP1X, x1);
        CadSetF64(&line, kOffP1Y, y1);
        CadSetF64(&line, kOffP2X, x2);
        CadSetF64(&line, kOffP2Y, y2);
        ASSERT_NE(DAriAppendElement(&line, &header), nullptr);
    }
    // The library's searches limited to the elements around the cursor,
    // numbered as the snap order asks them.
    int Snap(double x, double y, double aperture, unsigned bits, double out[3]) {
        const CadPoint3 at{x, y, 0};
        CadMark* mark = DAriGetElementMarkByPointWithMark(at, aperture, &header, &data, nullptr);
        if (!mark) mark = DAriCreateMark(&header);
        SnapSearchFn fn = [&](int kind, const double*, double* r) {
            switch (kind) {
            case 1: return DAriSerchPoint(at, r, aperture, &header, nullptr, &data, mark);
            case 2: return DAriSerchPoint3(at, r, aperture, &data, mark);
            case 3: return DAriSerchPoint2_2(at, r, aperture, &data, mark);
            case 4: return DAriSerchPoint2(at, r, aperture, &data, 2, mark);
            case 5: return DAriSerchPoint4(at, r, aperture, &data, mark);
            default: return 0;
            }
        };
        SnapInputs in;
        in.snapBits = bits;
        in.markEmpty = DAriGetMarkNum(mark) == 0;
        const double cursor[3] = {x, y, 0};
        const int kind = ElementSnapOrder(in, cursor, fn, out);
        DAriDestroyMark(mark);
        return kind;
    }
    DbHeader header;
    ViewData data;
};

TEST_F(LibrarySnap, TheNearerPointOfTheLibraryWins) {
    struct Row {
        const char* name;
        double x, y, aperture;
        unsigned bits;
        int kind;
        double px, py;
    } rows[] = {
        {"beside the crossing", 10.2, 0.1, 1.5, 0x1, SNAP_FOUND_CROSS, 10, 0},
        {"beside the end of the upright line", 10.1, 0.9, 1.5, 0x1, SNAP_FOUND_END, 10, 1},
        {"end point alone reaches past the crossing", 11.6, 0.1, 2.5, 0x20, SNAP_FOUND_END, 12, 0},
        {"mid point of the long line", 6.1, 0.2, 0.5, 0x4, SNAP_FOUND_MID, 6, 0},
        {"nothing closer: the free point", 5, 8, 0.5, 0x69, SNAP_FOUND_FREE, 5, 8},
    };
    for (const Row& r : rows) {
        double out[3] = {0, 0, 0};
        EXPECT_EQ(Snap(r.x, r.y, r.aperture, r.bits, out), r.kind) << r.name;
        EXPECT_NEAR(out[0], r.px, 1e-9) << r.name;
        EXPECT_NEAR(out[1], r.py, 1e-9) << r.name;
    }
}

// --- UM_WAIT_INPUT through the real frame --------------------------------------

struct ClickCase {
    const char* name;
    uint32_t mask;
    int result;
    double x;            // expected point x (NAN: not checked)
    unsigned snapBits;   // tool panel snap modes
    bool endFinds;       // the end-point search finds (99, 0)
    uint32_t pickFinds;  // the pick finds this element
    int markCount;       // elements around the cursor
    bool panelEditing;   // a panel edit field holds the input
};

class WaitInputClicks : public CommandFixture {
protected:
    void SetUp() override {
        CommandFixture::SetUp();
        auto& h = HostHooks();
        h.getCursorWorldPoint = [](double pt[3]) {
            pt[0] = 10;
            pt[1] = 20;
            pt[2] = 0;
        };
        h.keySnappedCursorPoint = [](double pt[3]) {
            pt[0] = 10;
            pt[1] = 20;
            pt[2] = 0;
            return 0;
        };
        h.searchInMark = [this](int kind, const double*, double out[3], uint32_t) {
            if (kind != 1 || !endFinds) return 0;
            out[0] = 99;
            out[1] = 0;
            out[2] = 0;
            return 1;
        };
        h.markAtCursor = [this](const double*, int* count) {
            *count = markCount;
            ++marksMade;
            return 0x5000u;
        };
        h.destroyMark = [this](uint32_t) { ++marksDestroyed; };
        h.pickElement = [this](const double*, int) { return pickFinds; };
        h.panelEditHoldsInput = [this] { return panelEditing ? 1 : 0; };
        savedBits = Running().snapModeFlags;
    }
    void TearDown() override {
        Running().snapModeFlags = savedBits;
        CommandFixture::TearDown();
    }
    // Posts the events one per dispatched message and waits.
    LRESULT Wait(const std::vector<int>& events, CmdRequest* req) {
        size_t next = 0;
        frame->inject = [&, events](WPARAM) {
            PostCmdEvent(events[next++]);
            if (next < events.size()) PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
        };
        PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
        const LRESULT r = SendMessageA(frame->m_hWnd, UM_WAIT_INPUT, 0, (LPARAM)req);
        Drain();
        return r;
    }
    bool endFinds = false;
    uint32_t pickFinds = 0;
    int markCount = 0;
    bool panelEditing = false;
    int marksMade = 0, marksDestroyed = 0;
    long savedBits = 0;
};

TEST_F(WaitInputClicks, LeftClickRulesInOrder) {
    const double none = NAN;
    const ClickCase cases[] = {
        {"raw before everything", CMD_WANT_RAW | CMD_WANT_SNAP | CMD_WANT_PICK | CMD_WANT_POINT, 0x100000, 10, 0x69,
         true, 7, 1, false},
        {"snap before pick: the pick comes first inside the snap", CMD_WANT_SNAP | CMD_WANT_PICK, 4096, none, 0x69,
         true, 7, 1, false},
        {"snap with pick finding nothing snaps", CMD_WANT_SNAP | CMD_WANT_PICK, 512, 99, 0x69, true, 0, 1, false},
        {"snap before point", CMD_WANT_SNAP | CMD_WANT_POINT, 512, 99, 0x69, true, 0, 1, false},
        {"snap finding nothing without free point drops", CMD_WANT_SNAP | CMD_WANT_POINT, 0, none, 0x61, false, 0, 1,
         false},
        {"pick before point", CMD_WANT_PICK | CMD_WANT_POINT, 4096, none, 0, false, 9, 0, false},
        {"pick finding nothing drops", CMD_WANT_PICK | CMD_WANT_POINT, 0, none, 0, false, 0, 0, false},
        {"point before area pick", CMD_WANT_POINT | CMD_WANT_AREA_PICK, 256, 10, 0, false, 0, 3, false},
        {"area pick", CMD_WANT_AREA_PICK, 0x20000, 10, 0, false, 0, 3, false},
        {"area pick with nothing around drops", CMD_WANT_AREA_PICK, 0, none, 0, false, 0, 0, false},
        {"a click while a panel field is edited drops", CMD_WANT_POINT, 0, none, 0, false, 0, 0, true},
    };
    for (const ClickCase& c : cases) {
        Running().snapModeFlags = static_cast<long>(c.snapBits);
        endFinds = c.endFinds;
        pickFinds = c.pickFinds;
        markCount = c.markCount;
        panelEditing = c.panelEditing;
        marksMade = marksDestroyed = 0;
        CmdInput().wantedMask = c.mask;
        CmdRequest req = {};
        const std::vector<int> events =
            c.result ? std::vector<int>{CMD_EV_LBUTTON} : std::vector<int>{CMD_EV_LBUTTON, CMD_EV_END};
        EXPECT_EQ(Wait(events, &req), c.result) << c.name;
        if (!std::isnan(c.x)) {
            double pt[3];
            GetRequestPoint(req.point, pt);
            EXPECT_EQ(pt[0], c.x) << c.name;
        }
        if (c.result == 4096) EXPECT_EQ(req.picked, c.pickFinds) << c.name;
        if (c.result == 0x20000) {
            EXPECT_EQ(req.picked, 0x5000u) << c.name << ": the mark goes to the command";
        } else {
            EXPECT_EQ(marksMade, marksDestroyed) << c.name << ": every mark made for a click is freed";
        }
    }
}

TEST_F(WaitInputClicks, OtherEventsAndTheirResults) {
    struct Row {
        const char* name;
        uint32_t mask;
        std::vector<int> events;
        int result;
    } rows[] = {
        {"undo whatever the mask", 0, {CMD_EV_UNDO}, 128},
        {"attributes whatever the mask", 0, {CMD_EV_ATTR_CHANGED}, 0x8000},
        {"cancel wanted", CMD_WANT_CANCEL, {CMD_EV_CANCEL}, 2},
        {"cancel not wanted", 0, {CMD_EV_CANCEL, CMD_EV_END}, 0},
        {"mouse move answers as a view change", CMD_WANT_TRACK, {CMD_EV_MOUSE_MOVE}, 32},
        {"view change with tracking", CMD_WANT_TRACK, {CMD_EV_VIEW_CHANGED}, 32},
        {"save state", 0, {CMD_EV_SAVE_STATE}, 0x200000},
        {"escape", 0, {CMD_EV_ESCAPE}, 0x400000},
        {"stored point", 0, {CMD_EV_REPEAT_POINT}, 512},
    };
    for (const Row& r : rows) {
        CmdWaitState().lastMousePos = {-100, -100};
        CmdInput().wantedMask = r.mask;
        CmdRequest req = {};
        EXPECT_EQ(Wait(r.events, &req), r.result) << r.name;
    }
    EXPECT_TRUE(LogHas("Undo"));
    EXPECT_TRUE(LogHas("作図情報の変更"));
}

TEST_F(WaitInputClicks, ByteSevenLimitsTheKindsOnlyForNewerModules) {
    // Snap modes allow end points and free points; byte 7 allows free points only.
    Running().snapModeFlags = 0x28;
    endFinds = true;
    markCount = 1;
    CmdInput().wantedMask = CMD_WANT_SNAP;
    for (int newer : {0, 1}) {
        Executor().moduleVersionFlag = newer;
        CmdRequest req = {};
        reinterpret_cast<unsigned char*>(&req)[7] = SNAP_BIT_FREE;
        EXPECT_EQ(Wait({CMD_EV_LBUTTON}, &req), 512) << newer;
        double pt[3];
        GetRequestPoint(req.point, pt);
        EXPECT_EQ(pt[0], newer ? 10 : 99) << "newer module " << newer;
    }
    Executor().moduleVersionFlag = 0;
}

TEST_F(WaitInputClicks, ANestedWaitKeepsItsOwnRequest) {
    CmdInput().wantedMask = CMD_WANT_POINT;
    CmdRequest outer = {}, inner = {};
    double cursorX = 111;
    HostHooks().keySnappedCursorPoint = [&](double pt[3]) {
        pt[0] = cursorX;
        pt[1] = 0;
        pt[2] = 0;
        return 0;
    };
    LRESULT innerResult = -1;
    CmdRequest* currentInside = nullptr;
    CmdRequest* currentAfter = nullptr;
    int step = 0;
    frame->inject = [&](WPARAM) {
        switch (step) {
        case 0:
            // A handler that runs inside the outer wait waits again: the
            // first click goes to it.
            step = 1;
            PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
            innerResult = SendMessageA(frame->m_hWnd, UM_WAIT_INPUT, 0, (LPARAM)&inner);
            currentAfter = CmdWaitState().currentWaitRequest;
            // The second click is the outer wait's.
            cursorX = 222;
            step = 2;
            PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
            break;
        case 1:
            currentInside = CmdWaitState().currentWaitRequest;
            PostCmdEvent(CMD_EV_LBUTTON);
            break;
        default: PostCmdEvent(CMD_EV_LBUTTON); break;
        }
    };
    PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
    const LRESULT r = SendMessageA(frame->m_hWnd, UM_WAIT_INPUT, 0, (LPARAM)&outer);
    Drain();
    EXPECT_EQ(innerResult, 256);
    EXPECT_EQ(r, 256);
    EXPECT_EQ(currentInside, &inner);
    EXPECT_EQ(currentAfter, &outer) << "the outer wait's request is back";
    double pi[3], po[3];
    GetRequestPoint(inner.point, pi);
    GetRequestPoint(outer.point, po);
    EXPECT_EQ(pi[0], 111) << "the inner wait's click stays in its record";
    EXPECT_EQ(po[0], 222) << "the outer wait's click reaches the outer record";
    EXPECT_EQ(CmdWaitState().currentWaitRequest, nullptr);
}

TEST_F(WaitInputClicks, DdeTextIsDroppedWithItsFlagUnlessWanted) {
    // Without the DDE bit the text and its flag go; the wait waits on.
    CmdInput().wantedMask = 0;
    CmdRequest req = {};
    frame->inject = [&](WPARAM w) {
        if (w == 0) {
            DispatchDdeExecute("{DDEPUT(abc)}");
            PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 1, 0);
        } else {
            EXPECT_EQ(DdeDataPending(), 0) << "dropped with its flag";
            PostCmdEvent(CMD_EV_END);
        }
    };
    PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
    EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_WAIT_INPUT, 0, (LPARAM)&req), 0);
    CmdInput().wantedMask = CMD_WANT_DDE;
    frame->inject = [&](WPARAM) { DispatchDdeExecute("{DDEPUT(xyz)}"); };
    PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
    EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_WAIT_INPUT, 0, (LPARAM)&req), 0x4000);
    ASSERT_NE(req.picked, 0u);
    EXPECT_NE(std::string(reinterpret_cast<const char*>(req.picked)).find("xyz"), std::string::npos);
    Drain();
}

}  // namespace

// The point-entry dialog writes the temporary point into the wait state; a
// wait for snapped points takes it as a snapped point, other waits drop it.
TEST_F(WaitInputClicks, TheTemporaryPointOfThePointEntryIsTaken) {
    struct Row {
        const char* name;
        uint32_t mask;
        int result;
    } rows[] = {
        {"a snapped point", CMD_WANT_SNAP, 512},
        {"dropped without snapping", CMD_WANT_POINT, 0},
    };
    for (const Row& r : rows) {
        CmdInput().wantedMask = r.mask;
        CmdRequest req = {};
        size_t step = 0;
        frame->inject = [&](WPARAM) {
            // The dialog's OK, then (for the dropped one) the end.
            if (step++ == 0) {
                WaitState& ws = CmdWaitState();
                ws.tempPoint[0] = 12.5;
                ws.tempPoint[1] = -7.25;
                ws.tempPointFlag = 1;
                PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
            } else {
                PostCmdEvent(CMD_EV_END);
            }
        };
        PostMessageA(frame->m_hWnd, CTestFrame::kInjectMsg, 0, 0);
        EXPECT_EQ(SendMessageA(frame->m_hWnd, UM_WAIT_INPUT, 0, (LPARAM)&req), r.result) << r.name;
        Drain();
        EXPECT_EQ(CmdWaitState().tempPointFlag, 0) << r.name << ": taken once";
        if (r.result == 512) {
            double pt[3];
            GetRequestPoint(req.point, pt);
            EXPECT_EQ(pt[0], 12.5);
            EXPECT_EQ(pt[1], -7.25);
            EXPECT_EQ(CmdWaitState().inputBasePoint[0], 12.5) << "it becomes the input base point";
        }
    }
}

// With the tool panel's relative input on, a snapped point gets the offset
// the point entry adds; the views' preview neither asks for it, nor beeps,
// nor moves the input base point.
TEST_F(WaitInputClicks, RelativeInputAppliesToCommittedSnapsOnly) {
    int asked = 0;
    HostHooks().relativeInputOn = [] { return 1; };
    HostHooks().inputRelativePoint = [&](double* x, double* y) {
        ++asked;
        *x += 1;
        *y += 2;
        return 1;
    };
    Running().snapModeFlags = 0x69;
    endFinds = true;
    markCount = 1;
    CmdInput().wantedMask = CMD_WANT_SNAP;
    CmdRequest req = {};
    ASSERT_EQ(Wait({CMD_EV_LBUTTON}, &req), 512);
    double pt[3];
    GetRequestPoint(req.point, pt);
    EXPECT_EQ(pt[0], 100);
    EXPECT_EQ(pt[1], 2);
    EXPECT_EQ(asked, 1);

    CmdWaitState().inputBasePoint[0] = -5;
    const int beep = Running().bBeepFind;
    Running().bBeepFind = 1;
    int beepDuringSearch = -1;
    HostHooks().searchInMark = [&](int kind, const double*, double out[3], uint32_t) {
        beepDuringSearch = Running().bBeepFind;
        if (kind != 1) return 0;
        out[0] = 99;
        out[1] = 0;
        out[2] = 0;
        return 1;
    };
    double found[3] = {0, 0, 0};
    int kind = -1;
    EXPECT_EQ(SearchElementsAtCursor(found, nullptr, 0, &kind), 0x200);
    EXPECT_EQ(kind, SNAP_FOUND_END);
    EXPECT_EQ(found[0], 99) << "no offset in the preview";
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(beepDuringSearch, 0) << "no beep in the preview";
    EXPECT_EQ(Running().bBeepFind, 1) << "and the beep setting back after it";
    EXPECT_EQ(CmdWaitState().inputBasePoint[0], -5) << "the base point stays";
    EXPECT_EQ(SearchElementsAtCursor(found, nullptr, 1, &kind), 0x200);
    EXPECT_EQ(found[0], 100) << "a committed search takes the offset";
    EXPECT_EQ(CmdWaitState().inputBasePoint[0], 99);
    panelEditing = true;
    EXPECT_EQ(SearchElementsAtCursor(found, nullptr, 0, &kind), 1) << "a panel field holds the input";
    Running().bBeepFind = beep;
}
