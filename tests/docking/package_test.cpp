// The 1-D layout engine by table: bounds, the centre absorbing growth and
// shrink, proportional redistribution, inserts, removal and splitter moves.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "tests/docking/fake_frame.h"

using zav::CWndFramesPackageBase;

namespace {

std::vector<int> Positions(const CWndFramesPackageBase& p) {
    std::vector<int> v;
    for (size_t i = 0; i < p.Count(); ++i)
        v.push_back(p.Position(i));
    return v;
}

RECT Span(bool horizontal, int a, int b) { return horizontal ? RECT{a, 0, b, 40} : RECT{0, a, 40, b}; }

// A bar package (no centre) holding frames of the given minima at the given positions.
void Fill(CWndFramesPackageBase& p, RECT rc, const std::vector<int>& mins, const std::vector<int>& pos) {
    p.SetRect(rc);
    for (size_t i = 0; i < mins.size(); ++i) {
        int size = (i + 1 < pos.size() ? pos[i + 1] : p.End()) - pos[i] - 5;
        p.Insert(p.Count(), new FakeFrame(mins[i], p.IsHorizontal()), pos[i], size);
    }
}

}  // namespace

TEST(FramesPackage, BarResizeKeepsMinimaAndScales) {
    struct Row {
        const char* name;
        int from, to;             // far edge before and after (near edge 0)
        std::vector<int> expect;  // positions after
        int expectEnd;
    } rows[] = {
        {"shrink below the minimum total pushes the end out", 295, 145, {-5, 50, 105}, 160},
        {"growth scales proportionally", 295, 595, {-5, 195, 395}, 595},
        {"shrink within the minima scales", 295, 235, {-5, 75, 155}, 235},
        {"unchanged size keeps every position", 295, 295, {-5, 95, 195}, 295},
    };
    for (const Row& r : rows) {
        for (bool horizontal : {true, false}) {
            SCOPED_TRACE(std::string(r.name) + (horizontal ? " (row)" : " (column)"));
            CWndFramesPackageBase p(horizontal);
            Fill(p, Span(horizontal, 0, r.from), {50, 50, 50}, {-5, 95, 195});
            ASSERT_EQ((std::vector<int>{-5, 95, 195}), Positions(p));
            p.SetRect(Span(horizontal, 0, r.to));
            EXPECT_EQ(r.expect, Positions(p));
            EXPECT_EQ(r.expectEnd, p.End());
            EXPECT_EQ(165, p.MinTotal());
            // Each window sits behind its splitter and the last reaches the rectangle's edge.
            auto* last = static_cast<FakeFrame*>(p.Frame(2));
            EXPECT_EQ(r.expect[2] + 5, horizontal ? last->placed.left : last->placed.top);
            EXPECT_EQ(r.to, horizontal ? last->placed.right : last->placed.bottom);
        }
    }
}

namespace {

// A frame package: bar 60 (min 30) | centre 250 (min 100) | bar 80 (min 30) in 0…400.
struct FramePkg {
    CWndFramesPackageBase p{false};
    FakeFrame* top;
    FakeFrame* centre;
    FakeFrame* bottom;
    FramePkg() {
        p.SetRect(Span(false, 0, 400));
        centre = new FakeFrame(100, false);
        p.InsertCentre(centre, p.Start(), p.Length());
        top = new FakeFrame(30, false);
        p.Insert(0, top, p.Start(), 65);
        bottom = new FakeFrame(30, false);
        p.Insert(p.Count(), bottom, 400 - 85, 85);
        p.Arrange();
    }
    int Size(size_t i) const { return p.SpanEnd(i) - p.Position(i) - 5; }
};

}  // namespace

TEST(FramesPackage, CentreAbsorbsChangesFirst) {
    FramePkg f;
    ASSERT_EQ((std::vector<int>{-5, 60, 315}), Positions(f.p));
    ASSERT_EQ(0, f.p.CentreIndex() - 1);
    struct Row {
        const char* name;
        int newFar;
        int top, centre, bottom;  // sizes after
    } rows[] = {
        {"growth by 100 widens only the centre", 500, 60, 350, 80},
        {"shrink within the centre's slack", 300, 60, 150, 80},
        {"shrink beyond the slack: centre at minimum, bars proportional", 220, 52, 100, 58},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        FramePkg g;
        g.p.SetRect(Span(false, 0, r.newFar));
        EXPECT_EQ(r.top, g.Size(0));
        EXPECT_EQ(r.centre, g.Size(1));
        EXPECT_EQ(r.bottom, g.Size(2));
        EXPECT_EQ(r.newFar, g.bottom->placed.bottom);
    }
}

TEST(FramesPackage, InsertAndRemoveAroundTheCentre) {
    {
        SCOPED_TRACE("a bar wider than the centre's slack gets the slack");
        FramePkg f;  // centre 250 wide, minimum 100: slack 145
        auto* wide = new FakeFrame(20, false);
        size_t i = f.p.Insert(1, wide, 60, 400);
        EXPECT_EQ(1u, i);
        EXPECT_EQ(150, f.Size(1) + 5) << "span equals the slack";
        EXPECT_EQ(100, f.Size(2));
        EXPECT_EQ(60, f.Size(0));
    }
    {
        SCOPED_TRACE("a bar after the centre takes its space from the centre");
        FramePkg f;
        f.p.Insert(2, new FakeFrame(20, false), 250, 50);
        EXPECT_EQ((std::vector<int>{-5, 60, 250, 315}), Positions(f.p));
    }
    {
        SCOPED_TRACE("removing the last bar before the centre gives its span to the centre");
        FramePkg f;
        f.p.Remove(0);
        EXPECT_EQ((std::vector<int>{-5, 315}), Positions(f.p));
        EXPECT_EQ(315, f.Size(0));
    }
    {
        SCOPED_TRACE("removing a bar after the centre gives its span to the centre");
        FramePkg f;
        f.p.Remove(2);
        EXPECT_EQ((std::vector<int>{-5, 60}), Positions(f.p));
        EXPECT_EQ(335, f.Size(1));
    }
    {
        SCOPED_TRACE("removing from a bar: the previous window grows, a new first moves to start");
        CWndFramesPackageBase p(true);
        Fill(p, Span(true, 0, 295), {50, 50, 50}, {-5, 95, 195});
        p.Remove(1);
        EXPECT_EQ((std::vector<int>{-5, 195}), Positions(p));
        p.Remove(0);
        EXPECT_EQ((std::vector<int>{-5}), Positions(p));
    }
}

TEST(FramesPackage, InsertIntoABarPushesNeighbours) {
    struct Row {
        const char* name;
        size_t at;
        int wantedPos, wantedSize;
        std::vector<int> expect;
    } rows[] = {
        {"into room between two windows", 1, 100, 60, {-5, 100, 160}},
        {"too wide: cut to what the minima leave", 1, 0, 500, {-5, 50, 240}},
        {"before the first: becomes first at start", 0, 40, 60, {-5, 100, 155}},
        {"at the end, wanted past the end: moved back", 2, 280, 60, {-5, 145, 235}},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        CWndFramesPackageBase p(true);
        Fill(p, Span(true, 0, 295), {50, 50}, {-5, 145});
        p.Insert(r.at, new FakeFrame(50, true), r.wantedPos, r.wantedSize);
        EXPECT_EQ(r.expect, Positions(p));
    }
}

TEST(FramesPackage, SplitterHitRangeAndMove) {
    CWndFramesPackageBase p(true);
    Fill(p, Span(true, 0, 295), {50, 50, 50}, {-5, 95, 195});
    EXPECT_EQ(-1, p.HitSplitter(POINT{0, 10})) << "the first splitter lies outside";
    EXPECT_EQ(1, p.HitSplitter(POINT{95, 10}));
    EXPECT_EQ(1, p.HitSplitter(POINT{99, 10}));
    EXPECT_EQ(-1, p.HitSplitter(POINT{100, 10}));
    EXPECT_EQ(-1, p.HitSplitter(POINT{95, 50})) << "outside the rectangle across the axis";
    int lo, hi;
    p.MoveRange(2, &lo, &hi);
    EXPECT_EQ(105, lo);
    EXPECT_EQ(240, hi);
    p.MoveSplitter(2, 105);  // pushes the middle window back to keep its minimum
    EXPECT_EQ((std::vector<int>{-5, 50, 105}), Positions(p));
    p.MoveSplitter(1, 185);
    EXPECT_EQ((std::vector<int>{-5, 185, 240}), Positions(p));
}
