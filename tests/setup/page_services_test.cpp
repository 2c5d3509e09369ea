// The page services over a real drawing window and the CAD library: page
// records, placement, marking and deleting a page's elements, frame views.
#include <cmath>
#include <cstring>

#include "setup_fixture.h"
#include "base/paper_sizes.h"
#include "command/host_hooks.h"
#include "setup/page_services.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

class PageServicesTest : public SetupFixture {
protected:
    StoredElement* Add(uint16_t kind, int page, uint16_t layer = 0) {
        ElementRecord r = {};
        r.kind = kind;
        r.layer = layer;
        r.page = page;
        r.colour = 1;
        return DAriAppendElement(&r, db);
    }
    int Count(int page) {
        int n = 0;
        ElementRecord r;
        for (StoredElement* e = DAriReadElement(nullptr, 0, &r, db); e; e = DAriReadElement(e, 1, &r, db))
            n += r.page == page;
        return n;
    }
};

TEST_F(PageServicesTest, NewPageTakesTheSourceTablesAndIsShownAndDetectable) {
    DbInfo* page0 = DAriGetDbInfoPtr(0, db);
    ASSERT_NE(nullptr, page0);
    std::strcpy(page0->texts0[3], "平面図");
    std::strcpy(page0->lineTypes[3].name, "一点鎖線");
    page0->colours[5].red = 200;
    ASSERT_EQ(1, AddPageFrom(2, 0));

    DbInfoHead head;
    ASSERT_EQ(1, GetPageDbInfo(2, &head));
    EXPECT_STREQ("平面図", head.Title());
    DbInfo* page2 = DAriGetDbInfoPtr(2, db);
    ASSERT_NE(nullptr, page2);
    EXPECT_STREQ("一点鎖線", page2->lineTypes[3].name);
    EXPECT_EQ(200, page2->colours[5].red);
    EXPECT_EQ(1, IsPageDisplayed(2));
    EXPECT_EQ(1, IsPageDetectable(2));
    EXPECT_EQ(0, IsPageDisplayed(3));

    int origin[6] = {};
    double scale = 0, angle = 9;
    ASSERT_EQ(1, GetPagePlacement(2, origin, &scale, &angle));
    EXPECT_EQ(1.0, scale);
    EXPECT_EQ(0.0, angle);
}

TEST_F(PageServicesTest, PlacementOfPageZeroIsTheFrameTransform) {
    int origin[6] = {1, 2, 3, 4, 5, 6};
    double scale = 0, angle = 9;
    ASSERT_EQ(1, GetPagePlacement(0, origin, &scale, &angle));
    const int zeros[6] = {};
    EXPECT_EQ(0, std::memcmp(origin, zeros, sizeof zeros));
    EXPECT_EQ(1.0, scale);
    EXPECT_EQ(0.0, angle);

    double xy[3] = {10.5, -4, 0};
    int values[6];
    std::memcpy(values, xy, sizeof values);
    const double s = 0.5, a = 0.25;
    ASSERT_EQ(1, SetPagePlacement(0, values, &s, &a));
    EXPECT_EQ(1, db->frame.view);
    int back[6];
    ASSERT_EQ(1, GetPagePlacement(0, back, &scale, &angle));
    EXPECT_EQ(0, std::memcmp(values, back, sizeof back));
    EXPECT_EQ(0.5, scale);
    EXPECT_EQ(0.25, angle);

    // The same for a page of its own, kept in its record.
    ASSERT_EQ(1, AddPageFrom(1, 0));
    const double s1 = 2.0, a1 = -1.0;
    ASSERT_EQ(1, SetPagePlacement(1, values, &s1, &a1));
    ASSERT_EQ(1, GetPagePlacement(1, back, &scale, &angle));
    EXPECT_EQ(0, std::memcmp(values, back, sizeof back));
    EXPECT_EQ(2.0, scale);
    EXPECT_EQ(-1.0, angle);
}

TEST_F(PageServicesTest, AMissingPageAnswersZeroAndLeavesTheBuffer) {
    DbInfoHead head;
    std::memset(&head, 0x5a, sizeof head);
    EXPECT_EQ(0, GetPageDbInfo(7, &head));
    EXPECT_EQ(0x5a, head.bytes[100]);
    EXPECT_EQ(0, SetPageDbInfo(7, &head));
    EXPECT_EQ(0, GetPagePlacement(7, nullptr, nullptr, nullptr));
    EXPECT_EQ(0, GetPageAttribute(7));
}

TEST_F(PageServicesTest, HeadOfAPageSetsItsExternalReferenceFlag) {
    ASSERT_EQ(1, AddPageFrom(1, 0));
    DbInfoHead head;
    ASSERT_EQ(1, GetPageDbInfo(1, &head));
    std::strcpy(head.Info()->extFileName, "C:\\図面\\参照.tcf");
    std::strcpy(head.Info()->shortText, "CW2XYZ");
    ASSERT_EQ(1, SetPageDbInfo(1, &head));
    PageRecord* record = DAriGetPtPage(1, db);
    ASSERT_NE(nullptr, record);
    EXPECT_EQ(1, record->externalRef);
    EXPECT_EQ(0, std::memcmp(record->info.placement, "CW2XY", 5));
    head.Info()->extFileName[0] = '\0';
    ASSERT_EQ(1, SetPageDbInfo(1, &head));
    EXPECT_EQ(0, DAriGetPtPage(1, db)->externalRef);
}

TEST_F(PageServicesTest, AGroupBelongsToThePageOfItsFirstPlainMember) {
    ASSERT_EQ(1, AddPageFrom(1, 0));
    Add(kElmLine, 1);
    // A group on page 0 whose first plain member lies on page 1.
    StoredElement* group = Add(kElmGroup, 0);
    ASSERT_NE(nullptr, group);
    ElementRecord m = {};
    m.kind = kElmLine;
    m.page = 1;
    ASSERT_NE(nullptr, DAriAppendMemberElement(group, &m, db));
    m.page = 0;
    ASSERT_NE(nullptr, DAriAppendMemberElement(group, &m, db));
    Add(kElmLine, 0);
    CadMark* onOne = DAriCreateMark(db);
    CadMark* onZero = DAriCreateMark(db);
    ASSERT_NE(nullptr, onOne);
    EXPECT_EQ(2, MarkPageElements(onOne, 1));  // the line and the group
    EXPECT_EQ(1, MarkPageElements(onZero, 0));
    DAriDestroyMark(onOne);
    DAriDestroyMark(onZero);
}

TEST_F(PageServicesTest, DeletingAPageTakesItsElementsAndMarksTheDrawing) {
    ASSERT_EQ(1, AddPageFrom(1, 0));
    Add(kElmLine, 1);
    Add(kElmCircle, 1);
    Add(kElmLine, 0);
    modified = 0;
    ASSERT_EQ(1, DeletePage(1, 0));
    EXPECT_EQ(0, Count(1));
    EXPECT_EQ(1, Count(0));
    EXPECT_EQ(0, DAriChkPage(1, db));
    EXPECT_EQ(0, IsPageDisplayed(1));
    EXPECT_GT(modified, 0);
    EXPECT_EQ(0, DeletePage(0, 0));  // the main page stays
}

TEST_F(PageServicesTest, FrameViewFitsTheFrameAndSurvivesAFlatFrame) {
    SetClientSize(view, 420, 320);
    ElementRecord r = {};
    r.kind = kElmFrame;
    CadSetF64(&r, kOffP1X, 0);
    CadSetF64(&r, kOffP1Y, 0);
    CadSetF64(&r, kOffP2X, 200);
    CadSetF64(&r, kOffP2Y, 0);  // flat: taken as 1 x 1
    CadSetF64(&r, 81, 2.0);
    CadSetF64(&r, 97, 0.5);
    CadSetF64(&r, 105, 10);
    CadSetF64(&r, 113, 20);
    StoredElement* frame = DAriAppendElement(&r, db);
    ASSERT_NE(nullptr, frame);
    ASSERT_EQ(1, ShowFrameView(frame));
    ViewData* d = GetViewData(view);
    EXPECT_EQ(2, d->viewMode);
    EXPECT_EQ(1, db->frame.view);
    const int margin = Running().bScTestBtn ? 60 : 20;
    EXPECT_DOUBLE_EQ(std::min(420.0 - margin, 320.0 - margin), d->frameScale);
    EXPECT_DOUBLE_EQ(-20.0, CadGetF64(db->frame.x, 0));
    EXPECT_DOUBLE_EQ(-40.0, CadGetF64(db->frame.y, 0));
    EXPECT_DOUBLE_EQ(std::cos(0.5), CadGetF64(db->frame.cos, 0));
    EXPECT_TRUE(std::isfinite(d->frameScale));
}

TEST_F(PageServicesTest, NumberTextsAreEvaluated) {
    EXPECT_DOUBLE_EQ(50.0, EvalNumberText("50"));
    EXPECT_DOUBLE_EQ(2.5, EvalNumberText("5/2"));
}

}  // namespace
