// The undo journal as the host replays it: records, steps, the current
// position the host moves, redo, trimming and clearing.
#include <gtest/gtest.h>

#include "tests/cadlib/session_loop.h"

using namespace cadtest;

namespace {
std::vector<double> Xs(DbHeader* db) {
    std::vector<double> xs;
    for (StoredElement* e = DAriReadElement(nullptr, 0, nullptr, db); e; e = DAriReadElement(e, 1, nullptr, db))
        xs.push_back(CadGetF64(&e->rec, kOffP1X));
    return xs;
}
}  // namespace

TEST(CadUndo, RecordsCarryTheFieldsTheHostReads) {
    Db db(1);
    ElementRecord r = Line(1, 0, 1, 1);
    StoredElement* a = DAriAppendElement(&r, &db);
    UndoRecord* add = db.h.currentUndo;
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(db.h.firstUndo, add);
    EXPECT_EQ(add->kind, kUndoAdd);
    EXPECT_EQ(add->element, a);
    EXPECT_EQ(add->stepEnd, 0);
    ElementRecord r2 = Line(2, 0, 2, 1);
    DAriChangeElement(a, &r2, &db);
    UndoRecord* chg = db.h.currentUndo;
    EXPECT_EQ(chg->kind, kUndoChange);
    ASSERT_NE(chg->saved, nullptr);
    EXPECT_DOUBLE_EQ(CadGetF64(chg->saved, kOffP1X), 1.0);
    EXPECT_EQ(chg->prev, add);
    EXPECT_EQ(add->next, chg);
    DAriDeleteElement(a, &db);
    EXPECT_EQ(db.h.currentUndo->kind, kUndoDelete);
    DAriMakUndoPass(&db);
    EXPECT_EQ(db.h.currentUndo->stepEnd, 1);
    EXPECT_EQ(DAriIsUndo(&db), 1);
    EXPECT_EQ(DAriIsRedo(&db), 0);
}

TEST(CadUndo, AStepOfThreeRecordsIsUndoneAtOnce) {
    Db db(1);
    ElementRecord r0 = Line(0, 0, 0, 1);
    StoredElement* first = DAriAppendElement(&r0, &db);
    DAriMakUndoPass(&db);
    UndoRecord* stepOneEnd = db.h.currentUndo;
    ElementRecord r1 = Line(1, 0, 1, 1), r2 = Line(2, 0, 2, 1), moved = Line(9, 0, 9, 1);
    DAriAppendElement(&r1, &db);
    DAriAppendElement(&r2, &db);
    DAriChangeElement(first, &moved, &db);
    DAriMakUndoPass(&db);
    EXPECT_EQ(Xs(&db), (std::vector<double>{9, 1, 2}));
    ASSERT_EQ(HostUndo(&db), 1);
    EXPECT_EQ(db.h.currentUndo, stepOneEnd);
    EXPECT_EQ(Xs(&db), (std::vector<double>{0}));
    EXPECT_EQ(DAriIsRedo(&db), 1);
    ASSERT_EQ(HostRedo(&db), 1);
    EXPECT_EQ(Xs(&db), (std::vector<double>{9, 1, 2}));
    EXPECT_EQ(DAriGetElmNum(&db), 3);
}

TEST(CadUndo, UndoToTheStartThenRedoFromTheFirstRecord) {
    Db db(1);
    for (int i = 0; i < 3; ++i) {
        ElementRecord r = Line(i, 0, i, 1);
        DAriAppendElement(&r, &db);
        DAriMakUndoPass(&db);
    }
    StoredElement* mid = DAriReadElement(nullptr, 0, nullptr, &db)->next;
    DAriDeleteElement(mid, &db);
    DAriMakUndoPass(&db);
    EXPECT_EQ(Xs(&db), (std::vector<double>{0, 2}));
    HostUndo(&db);
    EXPECT_EQ(Xs(&db), (std::vector<double>{0, 1, 2}));  // back in its place
    while (HostUndo(&db)) {}
    EXPECT_EQ(db.h.currentUndo, nullptr);
    EXPECT_EQ(DAriGetElmNum(&db), 0);
    EXPECT_EQ(DAriIsUndo(&db), 0);
    ASSERT_EQ(HostRedo(&db), 1);
    EXPECT_EQ(db.h.currentUndo, db.h.firstUndo);
    EXPECT_EQ(Xs(&db), (std::vector<double>{0}));
    while (HostRedo(&db)) {}
    EXPECT_EQ(Xs(&db), (std::vector<double>{0, 2}));
}

TEST(CadUndo, ANewChangeAfterUndoDropsWhatCouldBeRedone) {
    Db db(1);
    ElementRecord r = Line(0, 0, 0, 1);
    DAriAppendElement(&r, &db);
    DAriMakUndoPass(&db);
    ElementRecord r1 = Line(1, 0, 1, 1);
    DAriAppendElement(&r1, &db);
    DAriMakUndoPass(&db);
    HostUndo(&db);
    ASSERT_EQ(DAriIsRedo(&db), 1);
    ElementRecord r2 = Line(2, 0, 2, 1);
    DAriAppendElement(&r2, &db);
    EXPECT_EQ(DAriIsRedo(&db), 0);
    EXPECT_EQ(db.h.currentUndo->next, nullptr);
    HostUndo(&db);
    EXPECT_EQ(Xs(&db), (std::vector<double>{0}));
}

TEST(CadUndo, MemberAdditionsAreUndoneAndRedone) {
    Db db(1);
    ElementRecord g = Record(kElmGroup);
    StoredElement* group = DAriCreateFgroupHead(&g, &db);
    ElementRecord a = Line(1, 0, 1, 1), b = Line(2, 0, 2, 1);
    DAriAppendMemberElement(group, &a, &db);
    DAriMakUndoPass(&db);
    DAriAppendMemberElement(group, &b, &db);
    EXPECT_EQ(db.h.currentUndo->kind, kUndoMemberAdd);
    EXPECT_EQ(db.h.currentUndo->groupArg, group);
    DAriMakUndoPass(&db);
    HostUndo(&db);
    EXPECT_EQ(DAriGetMemberNum(group, &db), 1);
    HostRedo(&db);
    EXPECT_EQ(DAriGetMemberNum(group, &db), 2);
    EXPECT_DOUBLE_EQ(CadGetF64(&group->member->member->rec, kOffP1X), 2.0);
    while (HostUndo(&db)) {}
    EXPECT_EQ(DAriGetElmNum(&db), 0);
    while (HostRedo(&db)) {}
    EXPECT_EQ(DAriGetMemberNum(group, &db), 2);
}

TEST(CadUndo, StepsAreTrimmedClearedAndSwitchedOff) {
    Db db(1);
    for (int i = 0; i < 5; ++i) {
        ElementRecord r = Line(i, 0, i, 1);
        DAriAppendElement(&r, &db);
        DAriMakUndoPass(&db);
    }
    ASSERT_EQ(DAriCheckUndo(2, 0, &db), 1);
    int steps = 0;
    while (HostUndo(&db))
        ++steps;
    EXPECT_EQ(steps, 2);
    EXPECT_EQ(Xs(&db), (std::vector<double>{0, 1, 2}));
    DAriClearUndoElement(&db);
    EXPECT_EQ(db.h.firstUndo, nullptr);
    EXPECT_EQ(DAriIsUndo(&db), 0);
    EXPECT_EQ(DAriIsRedo(&db), 0);
    DAriUndoFgSet(&db, 0);
    ElementRecord r = Line(7, 0, 7, 1);
    DAriAppendElement(&r, &db);
    EXPECT_EQ(db.h.currentUndo, nullptr);
    // A current position the host never had is not taken.
    db.h.currentUndo = reinterpret_cast<UndoRecord*>(&r);
    EXPECT_EQ(DAriIsUndo(&db), 0);
    EXPECT_EQ(db.h.currentUndo, nullptr);
}

TEST(CadUndo, ElementsHeldByTheJournalStayReadableUntilCleared) {
    Db db(1);
    ElementRecord r = Line(3, 0, 3, 1);
    StoredElement* e = DAriAppendElement(&r, &db);
    DAriMakUndoPass(&db);
    DAriDeleteElement(e, &db);
    DAriMakUndoPass(&db);
    EXPECT_DOUBLE_EQ(CadGetF64(&db.h.currentUndo->element->rec, kOffP1X), 3.0);
    DAriAllDeleteElement(&db);
    EXPECT_EQ(db.h.currentUndo, nullptr);
    EXPECT_EQ(DAriGetElmNum(&db), 0);
}

// A second window on a drawing holds a copy of its header: either copy sees
// the changes and the undo moves made through the other.
TEST(CadUndo, CopiesOfTheHeaderInTwoWindowsStayInStep) {
    Db db(1);
    DbHeader second = db.h;
    ElementRecord r = Line(1, 0, 1, 1);
    DAriAppendElement(&r, &db);
    DAriMakUndoPass(&db);
    EXPECT_EQ(DAriIsUndo(&second), 1);
    EXPECT_EQ(second.currentUndo, db.h.currentUndo);
    ASSERT_EQ(HostUndo(&second), 1);  // the host replays in the second window
    EXPECT_EQ(DAriGetElmNum(&second), 0);
    EXPECT_EQ(DAriIsRedo(&db), 1);  // the first window sees the move
    EXPECT_EQ(db.h.currentUndo, nullptr);
    ASSERT_EQ(HostRedo(&db), 1);
    EXPECT_EQ(DAriIsUndo(&db), 1);  // the host's next call through its header
    EXPECT_EQ(DAriGetElmNum(&second), 1);
    EXPECT_EQ(second.currentUndo, db.h.currentUndo);
}

// Random edit sessions: undoing every step and redoing it again must pass
// back through exactly the drawings each step left.
TEST(CadUndo, RandomSessionsUndoAndRedoThroughEveryStep) {
    for (unsigned seed = 1; seed <= 20; ++seed)
        EXPECT_EQ(RunSession(seed), "");
}

// The host's replay of a raster change: it compresses the element's bits
// and releases them before swapping the contents back, then expands what it
// got. The contents kept for undo named the released bits.
TEST(CadUndo, RasterChangeUndoneAsTheHostReplaysIt) {
    Db db(1);
    ElementRecord r = Full(kElmRaster, 5);
    StoredElement* e = DAriAppendElement(&r, &db);
    DAriUndoFgSet(&db, 0);
    AttachRasterBits(&db);
    DAriUndoFgSet(&db, 1);
    DAriMakUndoPass(&db);
    std::string image = Hex(CadGetPtr(&e->rec, kOffRasterBits), 512);
    ElementRecord turned = e->rec;
    CadSetF64(&turned, kOffRasterAngle, 1.5);
    DAriChangeElement(e, &turned, &db);
    DAriMakUndoPass(&db);

    UndoRecord* rec = db.h.currentUndo;
    ASSERT_EQ(rec->kind, kUndoChange);
    auto compressAndRelease = [&] {
        void* bits = CadGetPtr(&e->rec, kOffRasterBits);
        uint32_t size = 0;
        if (bits && DAriCompRstrData(&db, e, 0, &size)) {
            VirtualFree(bits, 0, MEM_RELEASE);
            CadSetPtr(&e->rec, kOffRasterBits, nullptr);
            CadSetU32(&e->rec, kOffRasterBitsSize, 0);
            reinterpret_cast<uint8_t*>(&e->rec)[kOffRasterExpanded] = 0;
        }
    };
    auto expand = [&] {
        if (CadGetPtr(&e->rec, kOffRasterComp) && !CadGetPtr(&e->rec, kOffRasterBits)) DAriExpandRstrData(&db, e, 1);
    };
    compressAndRelease();
    DAriUndoChgElement(e, rec->saved, &db, 0);
    expand();
    db.h.currentUndo = rec->prev;
    EXPECT_DOUBLE_EQ(CadGetF64(&e->rec, kOffRasterAngle), CadGetF64(&r, kOffRasterAngle));
    ASSERT_NE(CadGetPtr(&e->rec, kOffRasterBits), nullptr);
    EXPECT_EQ(Hex(CadGetPtr(&e->rec, kOffRasterBits), 512), image);
    // And forward again.
    compressAndRelease();
    DAriUndoChgElement(e, rec->saved, &db, 0);
    expand();
    EXPECT_DOUBLE_EQ(CadGetF64(&e->rec, kOffRasterAngle), 1.5);
    ASSERT_NE(CadGetPtr(&e->rec, kOffRasterBits), nullptr);
    EXPECT_EQ(Hex(CadGetPtr(&e->rec, kOffRasterBits), 512), image);
}
