// Element editing and groups through the host messages: the plane the
// records are brought into, the page check, the modified mark of every
// change, explosion and grouping.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "command/element_services.h"
#include "command/executor.h"
#include "command/cmd_switches.h"
#include "command/host_hooks.h"
#include "drawing_fixture.h"

using namespace cadtest;

namespace {

using ElementServices = DrawingFixture;

double F(const void* rec, uint32_t off) { return CadGetF64(rec, off); }

CmdRequest WithRecord(const TestDrawing& d, const ElementRecord* rec) {
    CmdRequest req = DrawingFixture::RequestFor(d);
    req.word6c = static_cast<int32_t>(reinterpret_cast<uintptr_t>(rec));
    return req;
}

ElementRecord GroupHeader() { return Record(kElmGroup); }

TEST_F(ElementServices, RecordsAreBroughtIntoThePlaneUnlessKeptAsPassed) {
    struct Case {
        uint16_t kind;
        std::vector<uint32_t> zeroed;
        std::vector<uint32_t> ones;
    };
    const Case cases[] = {
        {kElmLine, {49, 73}, {}},
        {kElmPoint, {49}, {}},
        {kElmCircle, {49, 65, 73}, {81}},
        {kElmArc, {49, 83, 91}, {99}},
        {kElmText, {128, 140, 148}, {156}},
        {kElmEllipse, {49, 73, 89, 97}, {105}},
        {kElmEllipticArc, {49, 73, 107, 115}, {123}},
        {kElmFigure, {73}, {}},
        {kElmBlock, {49, 73}, {}},
    };
    for (int keep = 0; keep <= 1; ++keep) {
        Send(UM_SET_APPEND_KEEP_FIELDS, keep, 0);
        for (const Case& c : cases) {
            ElementRecord rec = Record(c.kind);
            for (uint32_t off : c.zeroed)
                CadSetF64(&rec, off, 5.0);
            for (uint32_t off : c.ones)
                CadSetF64(&rec, off, 5.0);
            StoredElement* e = Add(rec);
            ASSERT_NE(e, nullptr) << "kind " << c.kind;
            for (uint32_t off : c.zeroed)
                EXPECT_EQ(F(&e->rec, off), keep ? 5.0 : 0.0) << "kind " << c.kind << " offset " << off;
            for (uint32_t off : c.ones)
                EXPECT_EQ(F(&e->rec, off), keep ? 5.0 : 1.0) << "kind " << c.kind << " offset " << off;
        }
    }
    Send(UM_SET_APPEND_KEEP_FIELDS, 0, 0);
}

TEST_F(ElementServices, PagesOutsideTheSetAreRefusedWithTheirNumber) {
    for (int page : {600, 512, -1}) {
        boxes.Clear();
        ElementRecord rec = Line(0, 0, 1, 1);
        rec.page = page;
        EXPECT_EQ(Add(rec), nullptr) << page;
        ASSERT_EQ(boxes.Calls().size(), 1u) << page;
        EXPECT_EQ(boxes.Calls()[0].text, "現在のページ[" + std::to_string(page) + "]は不適切です。");
        EXPECT_EQ(boxes.Calls()[0].caption, "エラー");
    }
    EXPECT_EQ(DAriGetElmNum(&a.db), 0);
    EXPECT_EQ(a.modified, 0);
}

TEST_F(ElementServices, AReferencePageWarnsOncePerCommand) {
    a.db.pages.detect[0] &= ~1u;  // page 0 is for reference only
    Executor().pageEditWarningArmed = 1;
    const ElementRecord rec = Line(0, 0, 1, 1);
    EXPECT_EQ(Add(rec), nullptr);
    EXPECT_EQ(Add(rec), nullptr);
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].text, "現在のページは参照のため要素の編集はできません。");
    EXPECT_EQ(boxes.Calls()[0].caption, "要素チェック");
    Executor().pageEditWarningArmed = 1;  // the next command
    HostHooks().language = [] { return 1; };
    EXPECT_EQ(Add(rec), nullptr);
    ASSERT_EQ(boxes.Calls().size(), 2u);
    EXPECT_EQ(boxes.Calls()[1].text, "Read Only.");
    EXPECT_EQ(DAriGetElmNum(&a.db), 0);
}

TEST_F(ElementServices, EveryChangeMarksTheDrawingThatChanged) {
    // Each row starts from a drawing a with three lines and one group of two
    // lines, drawing b empty, nothing marked.
    struct Row {
        const char* name;
        std::function<void(DrawingFixture&, std::vector<StoredElement*>&)> act;
        int markedA, markedB;
    };
    auto plain = [](std::vector<StoredElement*>& e) { return std::vector<StoredElement*>{e[0], e[1]}; };
    const Row rows[] = {
        {"append", [](DrawingFixture& f, std::vector<StoredElement*>&) { f.Add(Line(5, 5, 6, 6)); }, 1, 0},
        {"append to another view's drawing",
         [](DrawingFixture& f, std::vector<StoredElement*>&) {
             const ElementRecord rec = Line(5, 5, 6, 6);
             CmdRequest req = WithRecord(f.b, &rec);
             f.Send(UM_APPEND_ELEMENT_EX, 0, &req);
         },
         0, 1},
        {"change",
         [](DrawingFixture& f, std::vector<StoredElement*>& e) {
             const ElementRecord rec = Line(7, 7, 8, 8);
             CmdRequest req = WithRecord(f.a, &rec);
             req.element = W(e[0]);
             req.element2 = 4;
             EXPECT_EQ(f.Send(UM_CHANGE_ELEMENT, 0, &req), 1);
         },
         1, 0},
        {"delete",
         [](DrawingFixture& f, std::vector<StoredElement*>& e) {
             CmdRequest req = DrawingFixture::RequestFor(f.a);
             req.element = W(e[0]);
             EXPECT_EQ(f.Send(UM_DELETE_ELEMENT, 0, &req), 1);
         },
         1, 0},
        {"make group",
         [plain](DrawingFixture& f, std::vector<StoredElement*>& e) {
             const ElementRecord head = GroupHeader();
             CmdRequest req = DrawingFixture::RequestFor(f.a);
             req.mark = W(f.MarkOf(&f.a.db, plain(e)));
             req.record = W(&head);
             EXPECT_NE(f.Send(UM_MAKE_GROUP, 0, &req), 0);
         },
         1, 0},
        {"explode group",
         [](DrawingFixture& f, std::vector<StoredElement*>& e) {
             CmdRequest req = DrawingFixture::RequestFor(f.a);
             req.record = W(e[3]);
             EXPECT_EQ(f.Send(UM_EXPLODE_GROUP, 0, &req), 1);
         },
         1, 0},
        {"set tag",
         [](DrawingFixture& f, std::vector<StoredElement*>& e) {
             CmdRequest req = {};
             req.word6c = static_cast<int32_t>(W(e[0]));
             req.word70 = 7;
             EXPECT_EQ(f.Send(UM_SET_TAG, 5, &req), 1);
         },
         1, 0},
        {"tag 0 changes nothing",
         [](DrawingFixture& f, std::vector<StoredElement*>& e) {
             CmdRequest req = {};
             req.word6c = static_cast<int32_t>(W(e[0]));
             req.word70 = 7;
             EXPECT_EQ(f.Send(UM_SET_TAG, 0, &req), 0);
         },
         0, 0},
        {"user data",
         [](DrawingFixture& f, std::vector<StoredElement*>& e) {
             uint8_t data[256] = {1, 2, 3};
             EXPECT_EQ(f.Send(UM_SET_USER_DATA, W(e[0]), data), 1);
         },
         1, 0},
    };
    for (const Row& row : rows) {
        DAriAllDeleteElement(&a.db);
        DAriAllDeleteElement(&b.db);
        std::vector<StoredElement*> e;
        for (int i = 0; i < 3; ++i)
            e.push_back(DAriAppendElement(Ptr(Line(i, 0, i, 1)), &a.db));
        StoredElement* g = DAriCreateFgroupHead(Ptr(GroupHeader()), &a.db);
        DAriAppendMemberElement(g, Ptr(Line(10, 0, 10, 1)), &a.db);
        DAriAppendMemberElement(g, Ptr(Line(11, 0, 11, 1)), &a.db);
        e.push_back(g);
        a.modified = b.modified = 0;
        row.act(*this, e);
        EXPECT_EQ(a.modified > 0, row.markedA > 0) << row.name;
        EXPECT_EQ(b.modified > 0, row.markedB > 0) << row.name;
    }
}

TEST_F(ElementServices, APartialDeletionOfMarkedElementsKeepsWhatItDeletedAndMarksTheDrawing) {
    StoredElement* first = Add(Line(0, 0, 1, 1));
    ElementRecord ref = Line(2, 0, 3, 1);
    ref.page = 3;  // a page no one may edit
    StoredElement* refused = DAriAppendElement(&ref, &a.db);
    StoredElement* last = Add(Line(4, 0, 5, 1));
    ASSERT_TRUE(first && refused && last);
    a.modified = 0;
    paints.clear();
    CadMark* mark = MarkOf(&a.db, {first, refused, last});
    EXPECT_EQ(Send(UM_DELETE_MARKED, 0, mark), 0);
    EXPECT_EQ(DAriGetElmNum(&a.db), 2) << "the first one went, the refused and the last stayed";
    EXPECT_EQ(Elements(&a.db)[0], refused);
    EXPECT_GT(a.modified, 0);
    EXPECT_EQ(paints.front(), "mark 0 3") << "all erased first";
    EXPECT_EQ(paints.back(), "element -1") << "what stayed is shown again";
    DAriDestroyMark(mark);
}

TEST_F(ElementServices, DeletingWithBitZeroLeavesTheScreenAlone) {
    for (WPARAM flags : {WPARAM(0), WPARAM(1)}) {
        StoredElement* e = Add(Line(0, 0, 1, 1));
        paints.clear();
        CmdRequest req = RequestFor(a);
        req.element = W(e);
        EXPECT_EQ(Send(UM_DELETE_ELEMENT, flags, &req), 1);
        EXPECT_EQ(paints.size(), flags ? 0u : 1u) << flags;
    }
    CmdRequest none = RequestFor(a);
    EXPECT_EQ(Send(UM_DELETE_ELEMENT, 0, &none), 0) << "a null element";
}

TEST_F(ElementServices, AChangeOfABlockReleasesTheModulesMemory) {
    StoredElement* e = Add(Record(kElmBlock));
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, 64);
    ElementRecord rec = Record(kElmBlock);
    CadSetPtr(&rec, kOffBlockHandle, block);
    CadSetU32(&rec, kOffBlockSize, 64);
    CmdRequest req = WithRecord(a, &rec);
    req.element = W(e);
    req.element2 = 4;
    EXPECT_EQ(Send(UM_CHANGE_ELEMENT, 0, &req), 1);
    EXPECT_EQ(GlobalFlags(block), static_cast<UINT>(GMEM_INVALID_HANDLE)) << "the host released it";
    EXPECT_NE(CadGetPtr(&e->rec, kOffBlockHandle), nullptr) << "the library kept its own copy";
}

TEST_F(ElementServices, ExplodingAGroupKeepsItsDrawnMembersOnly) {
    // A group of a sub-group (holding one line), two lines, a line and a
    // point of colour 0.
    StoredElement* sub = DAriCreateFgroupHead(Ptr(GroupHeader()), &a.db);
    DAriAppendMemberElement(sub, Ptr(Line(9, 0, 9, 1)), &a.db);
    StoredElement* lines[2] = {DAriAppendElement(Ptr(Line(1, 0, 1, 1)), &a.db),
                               DAriAppendElement(Ptr(Line(2, 0, 2, 1)), &a.db)};
    ElementRecord hidden = Line(3, 0, 3, 1);
    hidden.colour = 0;
    ElementRecord dot = Record(kElmPoint, 0, 0, 0);
    StoredElement* h = DAriAppendElement(&hidden, &a.db);
    StoredElement* d = DAriAppendElement(&dot, &a.db);
    const ElementRecord head = GroupHeader();
    CmdRequest make = RequestFor(a);
    make.mark = W(MarkOf(&a.db, {sub, lines[0], lines[1], h, d}));
    make.record = W(&head);
    auto* group = reinterpret_cast<StoredElement*>(Send(UM_MAKE_GROUP, 0, &make));
    ASSERT_NE(group, nullptr);
    ASSERT_EQ(DAriGetElmNum(&a.db), 1);
    EXPECT_EQ(group->count, 5);
    a.modified = 0;
    CmdRequest explode = RequestFor(a);
    explode.record = W(group);
    EXPECT_EQ(Send(UM_EXPLODE_GROUP, 0, &explode), 1);
    std::vector<double> xs;
    for (const ElementRecord& r : Records(&a.db)) {
        EXPECT_EQ(r.kind, kElmLine);
        xs.push_back(F(&r, kOffP1X));
    }
    EXPECT_EQ(xs, (std::vector<double>{9, 1, 2})) << "the sub-group's line, then the drawn lines";
    EXPECT_GT(a.modified, 0) << "an explosion is a change";
    for (StoredElement* e : Elements(&a.db)) {
        EXPECT_EQ(e->owner, nullptr);
        EXPECT_EQ(e->member, nullptr);
    }
}

TEST_F(ElementServices, GroupingAGroupKeepsWhatItHolds) {
    StoredElement* inner = DAriCreateFgroupHead(Ptr(GroupHeader()), &a.db);
    DAriAppendMemberElement(inner, Ptr(Line(1, 0, 1, 1)), &a.db);
    DAriAppendMemberElement(inner, Ptr(Line(2, 0, 2, 1)), &a.db);
    StoredElement* line = DAriAppendElement(Ptr(Line(3, 0, 3, 1)), &a.db);
    const ElementRecord head = GroupHeader();
    CmdRequest make = RequestFor(a);
    make.mark = W(MarkOf(&a.db, {inner, line}));
    make.record = W(&head);
    auto* group = reinterpret_cast<StoredElement*>(Send(UM_MAKE_GROUP, 0, &make));
    ASSERT_NE(group, nullptr);
    const std::vector<StoredElement*> direct = DirectMembers(group);
    ASSERT_EQ(direct.size(), 2u);
    EXPECT_EQ(direct[0]->rec.kind, kElmGroup);
    EXPECT_DOUBLE_EQ(F(&direct[1]->rec, kOffP1X), 3);
    std::vector<double> held;
    for (StoredElement* m : DirectMembers(direct[0]))
        held.push_back(F(&m->rec, kOffP1X));
    EXPECT_EQ(held, (std::vector<double>{1, 2})) << "the inner group's lines came along";
}

TEST_F(ElementServices, ExtraDataIsResetByKindAndModeBits) {
    struct Case {
        uint16_t kind;
        uint16_t subKind;
        int mode;
        int switchOn;
        int result;
        std::vector<int> cleared;
    };
    const Case cases[] = {
        {kElmLine, 0, 0, 0, 0, {}},
        {kElmLine, 0, 2, 0, 0, {39}},
        {kElmGroup, 905, 1, 0, 1, {38, 39, 40, 41, 42, 43}},
        {kElmGroup, 906, 2, 0, 0, {}},
        {kElmGroup, 0, 0, 1, 0, {38}},
        {kElmGroup, 0, 0, 0, 0, {}},
        {kElmCircle, 0, 1, 1, 0, {39}},
    };
    for (const Case& c : cases) {
        ElementRecord rec = Record(c.kind);
        rec.subKind = c.subKind;
        StoredElement* e = DAriAppendElement(&rec, &a.db);
        for (int slot = 38; slot <= 43; ++slot)
            DAriSetExtrData(e, slot, 5, 1, 0);
        ExtraDataSwitch() = c.switchOn;
        EXPECT_EQ(ResetExtraData(e, c.mode), c.result) << c.kind << "/" << c.subKind << " mode " << c.mode;
        for (int slot = 38; slot <= 43; ++slot) {
            const bool cleared = std::find(c.cleared.begin(), c.cleared.end(), slot) != c.cleared.end();
            EXPECT_EQ(DAriGetExtrData(e, slot), cleared ? 0 : 5)
                << c.kind << "/" << c.subKind << " mode " << c.mode << " slot " << slot;
        }
        if (c.result) {
            EXPECT_EQ(e->rec.subKind, 0);
        }
    }
    ExtraDataSwitch() = 0;
}

TEST_F(ElementServices, ExplodingAPlacedFigurePlacesItsMembers) {
    ElementRecord def = Record(kElmFigureHeader);
    CadSetF64(&def, kOffHdrBaseX, 1);
    CadSetF64(&def, kOffHdrBaseY, 1);
    StoredElement* header = DAriCreateFgroupHead(&def, &a.db);
    DAriAppendMemberElement(header, Ptr(Line(1, 1, 2, 1)), &a.db);
    ElementRecord place = Record(kElmFigure);
    CadSetF64(&place, kOffFigScale, 2);
    CadSetF64(&place, kOffFigX, 10);
    CadSetF64(&place, kOffFigY, 20);
    StoredElement* figure = DAriAppendFgroup(header, &place, &a.db);
    ASSERT_NE(figure, nullptr);
    CmdRequest req = RequestFor(a);
    req.record = W(figure);
    EXPECT_EQ(Send(UM_EXPLODE_FIGURE, 0, &req), 1);
    const std::vector<ElementRecord> recs = Records(&a.db);
    ASSERT_EQ(recs.size(), 1u);
    EXPECT_EQ(recs[0].kind, kElmLine);
    EXPECT_DOUBLE_EQ(F(&recs[0], kOffP1X), 10);
    EXPECT_DOUBLE_EQ(F(&recs[0], kOffP2X), 12) << "the member scaled by 2 from the base point";
    EXPECT_DOUBLE_EQ(F(&recs[0], kOffP2Y), 20);
}

}  // namespace
