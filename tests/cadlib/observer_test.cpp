// The seam a spatial index or renderer hangs on: one event per element that
// appears, changes or goes, whether by an edit, an undo step or a load.
#include <gtest/gtest.h>

#include "cadlib/core/file_format.h"
#include "cadlib/core/observer.h"
#include "tests/cadlib/drawing_builder.h"

using namespace cadtest;

namespace {
struct Recorder : cad::ElementObserver {
    std::string log;
    void OnElement(DbHeader*, cad::ElementEvent ev, StoredElement* e) override {
        static const char* names[] = {"+", "~", "-", "0", "*"};
        log += names[static_cast<int>(ev)];
        if (e) log += std::to_string(static_cast<int>(CadGetF64(&e->rec, kOffP1X)));
        log += " ";
    }
};
}  // namespace

TEST(CadObserver, EditsUndoAndRedoAreReported) {
    Db db(1);
    Recorder rec;
    ASSERT_TRUE(cad::SetElementObserver(&db.h, &rec));
    ElementRecord a = Line(1, 0, 1, 1), b = Line(2, 0, 2, 1), b2 = Line(3, 0, 3, 1);
    StoredElement* ea = DAriAppendElement(&a, &db.h);
    StoredElement* eb = DAriAppendElement(&b, &db.h);
    DAriMakUndoPass(&db.h);
    DAriChangeElement(eb, &b2, &db.h);
    DAriDeleteElement(ea, &db.h);
    DAriMakUndoPass(&db.h);
    EXPECT_EQ(rec.log, "+1 +2 ~3 -1 ");
    rec.log.clear();
    HostUndo(&db.h);
    EXPECT_EQ(rec.log, "+1 ~2 ");
    rec.log.clear();
    HostRedo(&db.h);
    EXPECT_EQ(rec.log, "~3 -1 ");
    rec.log.clear();
    DAriAllDeleteElement(&db.h);
    EXPECT_EQ(rec.log, "0 ");
    EXPECT_FALSE(cad::SetElementObserver(nullptr, &rec));
}

TEST(CadObserver, ALoadKeepsTheObserverAndReportsTheNewContents) {
    Db src;
    ElementRecord a = Line(1, 0, 1, 1);
    DAriAppendElement(&a, &src.h);
    std::string bytes = cad::SerializeDrawing(&src.h, cad::FileKind::Tcf, "");
    Db db;
    Recorder rec;
    cad::SetElementObserver(&db.h, &rec);
    uint32_t status = 0;
    ASSERT_EQ(cad::LoadDrawingBytes(&db.h, bytes, cad::FileKind::Tcf, &status, false, nullptr), 1);
    EXPECT_EQ(rec.log, "* ");
    rec.log.clear();
    DAriAppendElement(&a, &db.h);
    EXPECT_EQ(rec.log, "+1 ");
}

TEST(CadObserver, BulkChangesInFastAccessAreReportedOnceAtTheEnd) {
    Db db;
    Db other;
    Recorder rec, quiet;
    cad::SetElementObserver(&db.h, &rec);
    cad::SetElementObserver(&other.h, &quiet);
    DAriFastAccessOn();
    ElementRecord a = Line(1, 0, 1, 1);
    for (int i = 0; i < 100; ++i)
        DAriAppendElement(&a, &db.h);
    EXPECT_EQ(rec.log, "");
    DAriFastAccessOff();
    EXPECT_EQ(rec.log, "* ");
    EXPECT_EQ(quiet.log, "");  // a drawing that did not change hears nothing
    rec.log.clear();
    DAriAppendElement(&a, &db.h);
    EXPECT_EQ(rec.log, "+1 ");
}
