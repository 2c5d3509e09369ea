// The temporary database and the overlay list through UM_TEMP_DB and
// UM_GET_TEMP_DB, and the walk the view painter makes over them.
#include <gtest/gtest.h>

#include "command/temp_db.h"
#include "drawing_fixture.h"

using namespace cadtest;

namespace {

class TempDb : public DrawingFixture {
public:
    void TearDown() override {
        Op(2);  // the temporary database lives across commands: end it here
        Overlay(2, nullptr);
        DrawingFixture::TearDown();
    }
    LRESULT Op(int code, WPARAM sub = 0, HWND view = nullptr, const void* element = nullptr,
               const void* record = nullptr, int mode = 0) {
        CmdRequest req = {};
        req.w.mode = code;
        req.view = view;
        req.element = W(element);
        req.record = W(record);
        req.arg = mode;
        return Send(UM_TEMP_DB, sub, &req);
    }
    LRESULT Overlay(WPARAM sub, DbHeader* db, HWND view = nullptr) { return Op(100, sub, view, db); }
};

TEST_F(TempDb, CreationTakesTheBaseDrawingsInformation) {
    EXPECT_EQ(Op(1, 1), 0) << "before any creation";
    DbInfo* info = DAriGetDbInfoPtr(0, &a.db);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(Op(1, 0, a.view), 1);
    EXPECT_EQ(Op(1, 1), 1);
    auto* temp = reinterpret_cast<DbHeader*>(Send(UM_GET_TEMP_DB));
    ASSERT_EQ(temp, GetTempDb());
    DbInfo* copy = DAriGetDbInfoPtr(0, temp);
    ASSERT_NE(copy, nullptr);
    EXPECT_DOUBLE_EQ(CadGetF64(copy, kInfoDrawW), 841);
    EXPECT_EQ(IsTempDbView(&a.db), 1);
    EXPECT_EQ(IsTempDbView(&b.db), 0);
    // Elements go onto page 0 whatever their record says.
    ElementRecord rec = Line(1, 1, 2, 2);
    rec.page = 7;
    auto* e = reinterpret_cast<StoredElement*>(Op(3, 0, nullptr, &rec));
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->rec.page, 0);
    EXPECT_EQ(DAriGetElmNum(&a.db), 0) << "the drawing itself is untouched";
    paints.clear();
    EXPECT_EQ(Op(6, 0, nullptr, nullptr, nullptr, 5), 1);
    ASSERT_EQ(paints.size(), 1u);
    EXPECT_EQ(paints[0], "alt 5 1");
    EXPECT_EQ(Op(2), 1);
    EXPECT_EQ(Op(1, 1), 0);
    EXPECT_EQ(IsTempDbView(&a.db), 0);
}

TEST_F(TempDb, AFailedCreationLeavesTheTemporaryDatabaseAsItWas) {
    ASSERT_EQ(Op(1, 0, a.view), 1);
    ASSERT_NE(Op(3, 0, nullptr, Ptr(Line(1, 1, 2, 2))), 0);
    EXPECT_EQ(Op(1, 0, nullptr), 0) << "no base window";
    EXPECT_NE(LogText().find("仮DB作成時に、基準ウィンドウが見つかりません"), std::string::npos);
    EXPECT_EQ(Op(1, 1), 1) << "still there";
    EXPECT_EQ(DAriGetElmNum(GetTempDb()), 1) << "with its element";
    // A second creation replaces the first.
    EXPECT_EQ(Op(1, 0, b.view), 1);
    EXPECT_EQ(DAriGetElmNum(GetTempDb()), 0);
    EXPECT_EQ(IsTempDbView(&b.db), 1);
}

TEST_F(TempDb, OperationsNeedTheTemporaryDatabase) {
    const ElementRecord rec = Line(1, 1, 2, 2);
    for (int code = 3; code <= 9; ++code)
        EXPECT_EQ(Op(code, 0, nullptr, &rec, &rec), 0) << "code " << code << " without a temporary database";
    EXPECT_EQ(Op(42), 0);
    ASSERT_EQ(Op(1, 0, a.view), 1);
    paints.clear();
    EXPECT_EQ(Op(6), 1) << "an empty temporary database draws an empty mark";
    EXPECT_EQ(paints.back(), "alt 0 0");
}

TEST_F(TempDb, TheOverlayListAndItsWalk) {
    DbHeader* o1 = &b.db;
    DbHeader* o2 = GetTempDb();
    EXPECT_EQ(Overlay(1, o1), 0) << "removing from an empty list";
    EXPECT_EQ(Overlay(0, o1, a.view), 1);
    EXPECT_EQ(Overlay(0, o1, a.view), 2) << "the same pair twice";
    EXPECT_EQ(Overlay(0, o2, b.view), 3);
    EXPECT_EQ(TempDbFindFirst(&a.db), o1);
    EXPECT_EQ(TempDbFindNext(&a.db), o1);
    EXPECT_EQ(TempDbFindNext(&a.db), nullptr);
    EXPECT_EQ(TempDbFindFirst(&a.db), o1) << "the walk starts again";
    EXPECT_EQ(TempDbFindFirst(&b.db), o2);
    EXPECT_EQ(Overlay(1, o1), 2) << "only the first of the two goes";
    EXPECT_EQ(Overlay(3, nullptr), 1);
    EXPECT_EQ(TempDbFindFirst(&a.db), nullptr) << "switched off";
    EXPECT_EQ(Overlay(3, o1), 1);
    EXPECT_EQ(TempDbFindFirst(&a.db), o1);
    EXPECT_EQ(Overlay(2, nullptr), 1);
    EXPECT_EQ(TempDbFindFirst(&a.db), nullptr) << "an empty list is off";
    EXPECT_EQ(Overlay(9, o1), 0);
}

}  // namespace
