// Undo and redo through UM_UNDO / UM_REDO: every record kind replayed both
// ways, the bounds of a step, whole histories walked back to the start and
// forward again, what the replay erases and redraws, raster memory, and the
// switches around it.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "command/cmd_switches.h"
#include "command/wait_loop.h"
#include "drawing_fixture.h"

using namespace cadtest;

namespace {

using UndoServices = DrawingFixture;

// The top-level elements as kind:x, groups with their member count.
std::string State(DbHeader* db) {
    std::string s;
    for (StoredElement* e : DrawingFixture::Elements(db)) {
        s += std::to_string(e->rec.kind) + ":" + std::to_string(static_cast<int>(CadGetF64(&e->rec, kOffP1X)));
        if (e->rec.kind == kElmGroup) s += "[" + std::to_string(DAriGetMemberNum(e, db)) + "]";
        s += " ";
    }
    return s;
}

TEST_F(UndoServices, EachRecordKindIsUndoneAndRedone) {
    struct Row {
        const char* name;
        std::function<void(UndoServices&, std::vector<StoredElement*>&)> step;
        std::string after;
    };
    // Every row starts from lines at x 1 and 2 and a group of one line.
    const Row rows[] = {
        {"element added (300)", [](UndoServices& f, std::vector<StoredElement*>&) { f.Add(Line(7, 0, 7, 1)); },
         "1:1 1:2 21:0[1] 1:7 "},
        {"element deleted (301)",
         [](UndoServices& f, std::vector<StoredElement*>& e) {
             CmdRequest req = DrawingFixture::RequestFor(f.a);
             req.element = W(e[0]);
             f.Send(UM_DELETE_ELEMENT, 0, &req);
         },
         "1:2 21:0[1] "},
        {"element changed (302)",
         [](UndoServices& f, std::vector<StoredElement*>& e) {
             const ElementRecord rec = Line(9, 0, 9, 1);
             CmdRequest req = DrawingFixture::RequestFor(f.a);
             req.element = W(e[1]);
             req.element2 = 4;
             req.word6c = static_cast<int32_t>(W(&rec));
             f.Send(UM_CHANGE_ELEMENT, 0, &req);
         },
         "1:1 1:9 21:0[1] "},
        {"element added to a group (304)",
         [](UndoServices& f, std::vector<StoredElement*>& e) {
             CmdRequest req = DrawingFixture::RequestFor(f.a);
             req.element = W(e[2]);
             req.mark = W(f.MarkOf(&f.a.db, {e[0]}));
             f.Send(UM_ADD_TO_GROUP, 0, &req);
         },
         "1:2 21:0[2] "},
    };
    for (const Row& row : rows) {
        DAriAllDeleteElement(&a.db);
        DAriClearUndoElement(&a.db);
        std::vector<StoredElement*> e = {Add(Line(1, 0, 1, 1)), Add(Line(2, 0, 2, 1))};
        StoredElement* g = DAriCreateFgroupHead(Ptr(Record(kElmGroup)), &a.db);
        DAriAppendMemberElement(g, Ptr(Line(5, 0, 5, 1)), &a.db);
        e.push_back(g);
        Send(UM_MAKE_UNDO_PASS);
        const std::string before = State(&a.db);
        row.step(*this, e);
        Send(UM_MAKE_UNDO_PASS);
        EXPECT_EQ(State(&a.db), row.after) << row.name;
        EXPECT_EQ(Send(UM_UNDO), 1) << row.name;
        EXPECT_EQ(State(&a.db), before) << row.name << ": undone";
        EXPECT_EQ(Send(UM_REDO), 1) << row.name;
        EXPECT_EQ(State(&a.db), row.after) << row.name << ": redone";
    }
}

TEST_F(UndoServices, AStepOfThreeRecordsIsUndoneAtOnceAndStopsAtTheStepBefore) {
    StoredElement* first = Add(Line(0, 0, 0, 1));
    Send(UM_MAKE_UNDO_PASS);
    UndoRecord* stepBefore = a.db.currentUndo;
    ASSERT_NE(stepBefore, nullptr);
    EXPECT_EQ(stepBefore->stepEnd, 1);
    Add(Line(1, 0, 1, 1));
    Add(Line(2, 0, 2, 1));
    const ElementRecord moved = Line(9, 0, 9, 1);
    CmdRequest req = RequestFor(a);
    req.element = W(first);
    req.element2 = 4;
    req.word6c = static_cast<int32_t>(W(&moved));
    Send(UM_CHANGE_ELEMENT, 0, &req);
    Send(UM_MAKE_UNDO_PASS);
    paints.clear();
    EXPECT_EQ(Send(UM_UNDO), 1);
    EXPECT_EQ(a.db.currentUndo, stepBefore);
    EXPECT_EQ(State(&a.db), "1:0 ");
    // The link mark erased the two additions and the change; the redraw mark
    // shows the changed element back in its old place.
    ASSERT_GE(paints.size(), 2u);
    EXPECT_EQ(paints[0], "mark 0 3");
    EXPECT_EQ(paints[1], "mark -1 1");
    paints.clear();
    EXPECT_EQ(Send(UM_REDO), 1);
    EXPECT_EQ(State(&a.db), "1:9 1:1 1:2 ");
    ASSERT_GE(paints.size(), 2u);
    EXPECT_EQ(paints[0], "mark 0 1") << "only the changed element is erased before a redo";
    EXPECT_EQ(paints[1], "mark -1 3");
}

TEST_F(UndoServices, AHistoryIsUndoneToTheStartAndRedoneToTheEnd) {
    std::vector<std::string> states = {State(&a.db)};
    StoredElement* kept = nullptr;
    for (int i = 0; i < 4; ++i) {
        StoredElement* e = Add(Line(i, 0, i, 1));
        if (i == 1) kept = e;
        Send(UM_MAKE_UNDO_PASS);
        states.push_back(State(&a.db));
    }
    CmdRequest req = RequestFor(a);
    req.element = W(kept);
    Send(UM_DELETE_ELEMENT, 0, &req);
    Send(UM_MAKE_UNDO_PASS);
    states.push_back(State(&a.db));
    for (size_t i = states.size() - 1; i > 0; --i) {
        EXPECT_EQ(Send(UM_UNDO), 1);
        EXPECT_EQ(State(&a.db), states[i - 1]) << "undoing step " << i;
    }
    EXPECT_EQ(a.db.currentUndo, nullptr);
    EXPECT_EQ(Send(UM_UNDO), 1) << "nothing more to undo: a beep";
    EXPECT_EQ(State(&a.db), states[0]);
    for (size_t i = 1; i < states.size(); ++i) {
        EXPECT_EQ(Send(UM_REDO), 1);
        EXPECT_EQ(State(&a.db), states[i]) << "redoing step " << i;
        if (i == 1) {
            EXPECT_EQ(a.db.currentUndo->prev, nullptr) << "the first redo starts at the chain's start";
        }
    }
    EXPECT_EQ(DAriIsRedo(&a.db), 0);
    EXPECT_EQ(Send(UM_REDO), 1) << "nothing more to redo: a beep";
    EXPECT_EQ(State(&a.db), states.back());
}

TEST_F(UndoServices, ElementsOnHiddenLayersAreReplayedButNotRepainted) {
    DbInfo* info = DAriGetDbInfoPtr(0, &a.db);
    ASSERT_NE(info, nullptr);
    uint16_t bits;
    std::memcpy(&bits, &info->layers.display[0], sizeof bits);
    bits &= static_cast<uint16_t>(~(1u << 3));  // layer 3 hidden
    std::memcpy(&info->layers.display[0], &bits, sizeof bits);
    Add(Line(1, 0, 1, 1, 0, 3));
    Add(Line(2, 0, 2, 1, 0, 0));
    Send(UM_MAKE_UNDO_PASS);
    paints.clear();
    EXPECT_EQ(Send(UM_UNDO), 1);
    EXPECT_EQ(DAriGetElmNum(&a.db), 0);
    ASSERT_FALSE(paints.empty());
    EXPECT_EQ(paints[0], "mark 0 1") << "the hidden one is not erased from the screen";
}

TEST_F(UndoServices, TheUndoSwitchAndTheEventOfTheWait) {
    Add(Line(1, 0, 1, 1));
    Send(UM_MAKE_UNDO_PASS);
    EXPECT_EQ(Send(UM_ENABLE_UNDO, 0, 0), 0) << "wParam 0 leaves the switch";
    EXPECT_EQ(Switches().enableUndo, 1);
    EXPECT_EQ(Send(UM_ENABLE_UNDO, 1, 0), 1);
    CmdInput().event = 0;
    EXPECT_EQ(Send(UM_UNDO), 1);
    EXPECT_EQ(DAriGetElmNum(&a.db), 1) << "the switch is off";
    EXPECT_EQ(CmdInput().event, 0);
    Send(UM_ENABLE_UNDO, 1, 1);
    a.modified = 0;
    EXPECT_EQ(Send(UM_UNDO), 1);
    EXPECT_EQ(DAriGetElmNum(&a.db), 0);
    EXPECT_EQ(CmdInput().event, CMD_EV_UNDO) << "a waiting command hears of the undo";
    EXPECT_GT(a.modified, 0) << "an undo changes the drawing";
    CmdInput().event = 0;
    a.modified = 0;
    EXPECT_EQ(Send(UM_REDO), 1);
    EXPECT_EQ(DAriGetElmNum(&a.db), 1);
    EXPECT_EQ(CmdInput().event, 0) << "a redo does not";
    EXPECT_GT(a.modified, 0);
    active = nullptr;
    EXPECT_EQ(Send(UM_UNDO), 0) << "no drawing";
    EXPECT_EQ(Send(UM_REDO), 0);
}

TEST_F(UndoServices, TheUndoLevelTrimsOrClearsTheHistory) {
    undoLevel = 0;
    Add(Line(1, 0, 1, 1));
    Send(UM_MAKE_UNDO_PASS);
    EXPECT_EQ(DAriIsUndo(&a.db), 0) << "level 0 keeps no step";
    undoLevel = 2;
    for (int i = 0; i < 4; ++i) {
        Add(Line(i, 0, i, 1));
        Send(UM_MAKE_UNDO_PASS);
    }
    int steps = 0;
    while (a.db.currentUndo && steps < 10) {
        Send(UM_UNDO);
        ++steps;
    }
    EXPECT_EQ(steps, 2);
    undoLevel = -1;
    Switches().undoPassSuppressed = 1;
    Add(Line(5, 0, 5, 1));
    Send(UM_MAKE_UNDO_PASS);
    EXPECT_EQ(a.db.currentUndo ? a.db.currentUndo->stepEnd : -1, 0) << "suppressed: the step stays open";
}

TEST_F(UndoServices, RasterDataIsCompressedWhenItsElementGoesAndExpandedWhenItComesBack) {
    const uint32_t size = 4096;
    auto* bits = static_cast<uint8_t*>(VirtualAlloc(nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
    ASSERT_NE(bits, nullptr);
    for (uint32_t i = 0; i < size; ++i)
        bits[i] = static_cast<uint8_t>(i % 7 == 0 ? 0xFF : 0);
    const std::vector<uint8_t> picture(bits, bits + size);
    ElementRecord rec = Record(kElmRaster);
    CadSetF64(&rec, kOffP2X, 10);
    CadSetF64(&rec, kOffP2Y, 10);
    CadSetPtr(&rec, kOffRasterBits, bits);
    CadSetU32(&rec, kOffRasterBitsSize, size);
    reinterpret_cast<uint8_t*>(&rec)[kOffRasterExpanded] = 1;
    StoredElement* e = Add(rec);
    ASSERT_NE(e, nullptr);
    Send(UM_MAKE_UNDO_PASS);
    EXPECT_EQ(Send(UM_UNDO), 1);
    EXPECT_EQ(CadGetPtr(&e->rec, kOffRasterBits), nullptr) << "the bitmap went";
    EXPECT_EQ(CadGetU32(&e->rec, kOffRasterBitsSize), 0u);
    EXPECT_EQ(reinterpret_cast<uint8_t*>(&e->rec)[kOffRasterExpanded], 0);
    EXPECT_NE(CadGetPtr(&e->rec, kOffRasterComp), nullptr) << "the compressed data stays";
    EXPECT_EQ(Send(UM_REDO), 1);
    auto* back = static_cast<const uint8_t*>(CadGetPtr(&e->rec, kOffRasterBits));
    ASSERT_NE(back, nullptr) << "expanded again";
    ASSERT_EQ(CadGetU32(&e->rec, kOffRasterBitsSize), size);
    EXPECT_EQ(std::vector<uint8_t>(back, back + size), picture);
}

}  // namespace
