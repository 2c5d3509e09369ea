// Copy, move and transform of marked elements: the per-kind transform, the
// copies and moves through the host messages within a drawing and between
// two, the to-layer services and their overrides, and group copies that
// fail.
#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "command/transform_services.h"
#include "drawing_fixture.h"

using namespace cadtest;

namespace {

const double kPi = 3.14159265358979323846;

class TransformServices : public DrawingFixture {
public:
    void SetTransform(std::initializer_list<double> values, WPARAM all = 1) {
        double t[11] = {};
        size_t i = 0;
        for (double v : values)
            t[i++] = v;
        EXPECT_EQ(Send(UM_SET_TRANSFORM, all, t), 1);
    }
    CadMark* Copy(CadMark* mark) { return reinterpret_cast<CadMark*>(Send(UM_COPY_MARKED, 0, mark)); }
    CadMark* Move(int flags, CadMark* mark) { return reinterpret_cast<CadMark*>(Send(UM_MOVE_MARKED, flags, mark)); }
};

double F(const void* rec, uint32_t off) { return CadGetF64(rec, off); }

TEST_F(TransformServices, EachKindTurnsScalesAndMovesWhatItStores) {
    // Scale 2 and a quarter turn about the origin: (1, 0) goes to (0, 2).
    TransformParams p = {{2, 0, -1, 1, 0, 0, 0, 0, 0, 2, 2}};
    struct Case {
        const char* name;
        uint16_t kind;
        bool copying;
        int pointScale;
        std::map<uint32_t, double> before, after;
    };
    const double q = kPi / 2;
    const Case cases[] = {
        {"line",
         kElmLine,
         false,
         0,
         {{33, 1}, {41, 0}, {57, 0}, {65, 1}, {17, 3}},
         {{33, 0}, {41, 2}, {57, -2}, {65, 0}, {17, 3}}},
        {"line, point scale", kElmLine, false, 1, {{17, 3}, {25, 4}}, {{17, 6}, {25, 8}}},
        {"point", kElmPoint, false, 1, {{33, 1}, {58, 0.5}, {66, 1.5}}, {{41, 2}, {58, 0.5 + q}, {66, 3}}},
        {"circle", kElmCircle, false, 0, {{33, 1}, {41, 1}, {57, 5}}, {{33, -2}, {41, 2}, {57, 10}}},
        {"arc", kElmArc, false, 0, {{57, 5}, {65, 0.25}, {73, 1}}, {{57, 10}, {65, 0.25 + q}, {73, 1 + q}}},
        {"text",
         kElmText,
         false,
         0,
         {{112, 1}, {14, 1}, {22, 2}, {46, 3}, {62, 4}, {30, 0}},
         {{120, 2}, {14, 2}, {22, 4}, {46, 6}, {62, 8}, {30, q}}},
        {"ellipse", kElmEllipse, false, 0, {{33, 1}, {57, 2}}, {{41, 2}, {65, 4}}},
        {"elliptical arc", kElmEllipticArc, false, 0, {{89, 0}, {97, 1}}, {{89, q}, {97, 1 + q}}},
        {"placed figure", kElmFigure, false, 0, {{57, 1}, {33, 1.5}, {49, 0}}, {{65, 2}, {33, 3}, {49, q}}},
        {"block, moved", kElmBlock, false, 0, {{33, 1}, {57, 3}}, {{33, 1}, {57, 3}}},
        {"block, copied",
         kElmBlock,
         true,
         0,
         {{33, 1}, {41, 1}, {57, 3}, {65, 3}},
         {{33, -6}, {41, 2}, {57, -2}, {65, 6}}},
        {"raster, copied",
         kElmRaster,
         true,
         0,
         {{33, 1}, {97, 5}, {105, 6}, {73, 0}},
         {{41, 2}, {97, 10}, {105, 12}, {73, q}, {81, 1}, {89, std::cos(q)}}},
        {"raster, moved", kElmRaster, false, 0, {{33, 1}, {97, 5}}, {{33, 1}, {97, 5}}},
    };
    for (const Case& c : cases) {
        ElementRecord rec = Record(c.kind);
        for (const auto& kv : c.before)
            CadSetF64(&rec, kv.first, kv.second);
        TransformRecordByKind(&rec, p, c.copying, c.pointScale);
        for (const auto& kv : c.after)
            EXPECT_NEAR(F(&rec, kv.first), kv.second, 1e-9) << c.name << " offset " << kv.first;
    }
}

TEST_F(TransformServices, ScaledCopyOfACircle) {
    ElementRecord circle = Record(kElmCircle);
    CadSetF64(&circle, kOffP1X, 1);
    CadSetF64(&circle, kOffP1Y, 1);
    CadSetF64(&circle, kOffRadius, 5);
    StoredElement* c = Add(circle);
    SetTransform({2, 1, 0, 0, 1, 0, 0, 0, 0}, 0);  // 72 bytes: T9 and T10 follow T0
    a.modified = 0;
    CadMark* copies = Copy(MarkOf(&a.db, {c}));
    ASSERT_NE(copies, nullptr);
    ASSERT_EQ(DAriGetMarkNum(copies), 1);
    auto* copy = static_cast<StoredElement*>(DAriGetNextMark(nullptr, copies));
    EXPECT_DOUBLE_EQ(F(&copy->rec, kOffP1X), 2);
    EXPECT_DOUBLE_EQ(F(&copy->rec, kOffP1Y), 2);
    EXPECT_DOUBLE_EQ(F(&copy->rec, kOffRadius), 10);
    EXPECT_DOUBLE_EQ(F(&c->rec, kOffRadius), 5) << "the original stays";
    EXPECT_GT(a.modified, 0);
    // A 72-byte transform of 3 scales both axes by 3.
    SetTransform({3, 1, 0, 0, 1, 0, 0, 0, 0}, 0);
    EXPECT_DOUBLE_EQ(CurrentTransform().t[9], 3);
    EXPECT_DOUBLE_EQ(CurrentTransform().t[10], 3);
}

TEST_F(TransformServices, AQuarterTurnTurnsAnArcsAngles) {
    ElementRecord arc = Record(kElmArc);
    CadSetF64(&arc, kOffRadius, 1);
    CadSetF64(&arc, kOffArcStart, 0);
    CadSetF64(&arc, kOffArcEnd, kPi / 4);
    StoredElement* e = Add(arc);
    SetTransform({1, 0, -1, 1, 0, 0, 0, 0, 0, 1, 1});
    CadMark* moved = Move(0, MarkOf(&a.db, {e}));
    ASSERT_NE(moved, nullptr);
    EXPECT_NEAR(F(&e->rec, kOffArcStart), kPi / 2, 1e-12) << "moved in place";
    EXPECT_NEAR(F(&e->rec, kOffArcEnd), 3 * kPi / 4, 1e-12);
    EXPECT_EQ(e->selection & 1u, 1u) << "the moved elements are shown selected";
}

TEST_F(TransformServices, CopiesIntoAnotherDrawingGoToItsCurrentPage) {
    StoredElement* e = Add(Line(0, 0, 1, 1));
    b.db.pages.currentPage = 2;
    b.db.pages.detect[0] |= 1u << 2;
    b.viewMode = 1;
    Activate(b);
    a.modified = b.modified = 0;
    CadMark* copies = Copy(MarkOf(&a.db, {e}));
    ASSERT_NE(copies, nullptr);
    ASSERT_EQ(DAriGetElmNum(&b.db), 1);
    const ElementRecord copied = Records(&b.db)[0];
    EXPECT_EQ(copied.page, 2);
    EXPECT_EQ(copied.attribute, 1) << "the target view shows paper space";
    EXPECT_GT(b.modified, 0);
    EXPECT_EQ(a.modified, 0);
}

TEST_F(TransformServices, MovesMarkTheDrawingsThatChanged) {
    SetTransform({1, 1, 0, 0, 1, 0, 0, 5, 0, 1, 1});
    // Within the mark's own drawing while another is active.
    StoredElement* e = Add(Line(0, 0, 1, 1));
    Activate(b);
    a.modified = b.modified = 0;
    ASSERT_NE(Move(2, MarkOf(&a.db, {e})), nullptr);
    EXPECT_DOUBLE_EQ(F(&e->rec, kOffP1X), 5);
    EXPECT_GT(a.modified, 0) << "the mark's drawing changed";
    EXPECT_EQ(b.modified, 0);
    // Into the active drawing: both change.
    a.modified = b.modified = 0;
    ASSERT_NE(Move(0, MarkOf(&a.db, {e})), nullptr);
    EXPECT_EQ(DAriGetElmNum(&a.db), 0);
    EXPECT_EQ(DAriGetElmNum(&b.db), 1);
    EXPECT_DOUBLE_EQ(F(&Records(&b.db)[0], kOffP1X), 10);
    EXPECT_GT(a.modified, 0);
    EXPECT_GT(b.modified, 0);
    EXPECT_DOUBLE_EQ(CurrentTransform().t[7], 5) << "the transform is what the module set";
}

TEST_F(TransformServices, ToLayerServicesAndTheirOverrides) {
    StoredElement* e = Add(Line(0, 0, 1, 1, 0, 4));
    CadMark* mark = MarkOf(&a.db, {e});
    CmdRequest req = RequestFor(a);
    req.mark = W(mark);
    req.word6c = 7;  // layer
    req.word70 = 5;  // a page no one may edit
    req.word74 = static_cast<uint32_t>(-1);
    EXPECT_EQ(Send(UM_COPY_MARKED_EX, 1, &req), 0);
    EXPECT_EQ(DAriGetElmNum(&a.db), 1) << "nothing copied";
    CadMark* plain = Copy(mark);
    ASSERT_NE(plain, nullptr);
    const ElementRecord copied = static_cast<StoredElement*>(DAriGetNextMark(nullptr, plain))->rec;
    EXPECT_EQ(copied.page, 0) << "the override went with the refused call";
    EXPECT_EQ(copied.layer, 4);
    EXPECT_EQ(Send(UM_COPY_MARKED_EX, 2, &req), 0) << "an unknown wParam";
    EXPECT_EQ(DAriGetElmNum(&a.db), 2);
    // Moving onto layer 7 of page 0 by the to-layer service leaves the screen.
    req.word70 = 0;
    paints.clear();
    ASSERT_NE(Send(UM_MOVE_MARKED_EX, 1, &req), 0);
    EXPECT_TRUE(paints.empty());
    EXPECT_EQ(e->rec.layer, 7);
    // Attribute 1 puts the elements on page 0 with that attribute.
    a.db.pages.detect[0] |= 1u << 3;
    req.word70 = 3;
    req.word74 = 1;
    CadMark* onPaper = reinterpret_cast<CadMark*>(Send(UM_COPY_MARKED_EX, 1, &req));
    ASSERT_NE(onPaper, nullptr);
    const ElementRecord paper = static_cast<StoredElement*>(DAriGetNextMark(nullptr, onPaper))->rec;
    EXPECT_EQ(paper.page, 0);
    EXPECT_EQ(paper.attribute, 1);
}

TEST_F(TransformServices, AGroupCopyThatFailsLeavesNothingBehind) {
    StoredElement* g = DAriCreateFgroupHead(Ptr(Record(kElmGroup)), &a.db);
    DAriAppendMemberElement(g, Ptr(Line(1, 0, 1, 1)), &a.db);
    DAriAppendMemberElement(g, Ptr(Line(2, 0, 2, 1)), &a.db);
    const int before = DAriGetElmNum(&a.db);
    DAriSetMaxCoord(1, 1000);
    SetTransform({1, 1, 0, 0, 1, 0, 0, 5000, 0, 1, 1});  // members beyond the limit
    EXPECT_EQ(Copy(MarkOf(&a.db, {g})), nullptr);
    EXPECT_EQ(DAriGetElmNum(&a.db), before) << "no half-built group";
    ASSERT_FALSE(boxes.Calls().empty());
    EXPECT_EQ(boxes.Calls().back().text, "メモリーが不足しています。");
    // Within the limit the copy holds both members.
    SetTransform({1, 1, 0, 0, 1, 0, 0, 100, 0, 1, 1});
    CadMark* copies = Copy(MarkOf(&a.db, {g}));
    ASSERT_NE(copies, nullptr);
    auto* copy = static_cast<StoredElement*>(DAriGetNextMark(nullptr, copies));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->rec.kind, kElmGroup);
    EXPECT_EQ(DAriGetMemberNum(copy, &a.db), 2);
    EXPECT_DOUBLE_EQ(F(&copy->member->rec, kOffP1X), 101);
}

TEST_F(TransformServices, InMemoryTransformsChangeGroupMembers) {
    StoredElement* g = DAriCreateFgroupHead(Ptr(Record(kElmGroup)), &a.db);
    StoredElement* m = DAriAppendMemberElement(g, Ptr(Line(1, 0, 1, 1)), &a.db);
    StoredElement* line = DAriAppendElement(Ptr(Line(2, 0, 2, 1)), &a.db);
    SetTransform({1, 1, 0, 0, 1, 0, 0, 10, 0, 1, 1});
    CadMark* mark = MarkOf(&a.db, {g, line});
    EXPECT_EQ(reinterpret_cast<CadMark*>(Send(UM_TRANSFORM_MARKED, 0, mark)), mark);
    EXPECT_DOUBLE_EQ(F(&m->rec, kOffP1X), 11);
    EXPECT_DOUBLE_EQ(F(&line->rec, kOffP1X), 12);
}

}  // namespace
