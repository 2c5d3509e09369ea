// The page dialogs' work records without their windows: levels, state
// icons and click zones, deletion of a page with the pages placed on it, the
// plan that applies the page manager, and both dialogs' records written back
// into a real drawing.
#include <cstring>
#include <string>
#include <vector>

#include "setup_fixture.h"
#include "setup/page_dialogs.h"
#include "setup/page_services.h"

namespace {

// Records for pages (page, parent) in list order.
void MakeRecords(const std::vector<std::pair<int, int>>& pages) {
    FreePageEditRecords();
    for (const auto& p : pages) {
        PageEditRecord* r = PageEditRecordAt(PageEditRecordCount());
        r->page = p.first;
        r->parent = p.second;
    }
}

std::vector<int> Levels() {
    std::vector<int> out;
    for (int i = 0; i < PageEditRecordCount(); ++i)
        out.push_back(PageEditRecordAt(i)->level);
    return out;
}

std::vector<int> Pages() {
    std::vector<int> out;
    for (int i = 0; i < PageEditRecordCount(); ++i)
        out.push_back(PageEditRecordAt(i)->page);
    return out;
}

TEST(PageEditRecords, LevelsFollowTheParentChainInBothForms) {
    // Page 0, 1 on 0, 2 on 1, 3 without a parent, 4 on a page without a record.
    MakeRecords({{0, 0}, {1, 0}, {2, 1}, {3, 0}, {4, 9}});
    ComputePageEditLevels(false);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 1, 2}), Levels());
    MakeRecords({{1, 0}, {2, 1}, {3, 2}, {4, 0}});
    ComputePageEditLevels(true);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 0}), Levels());
    FreePageEditRecords();
}

TEST(PageEditRecords, StateIconsAndClicksOnThem) {
    const unsigned char both = kPageFlagDisplay | kPageFlagDetect;
    const struct {
        unsigned char flags;
        int icon, afterLeft, afterRight;
    } cases[] = {
        {0, 0, both, kPageFlagDisplay},
        {kPageFlagDisplay, 1, both, 0},
        {both, 2, 0, kPageFlagDisplay},
        {kPageFlagDetect, 0, both, kPageFlagDisplay},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.icon, PageStateIconIndex(c.flags)) << int(c.flags);
        EXPECT_EQ(c.afterLeft, TogglePageStateFlags(c.flags, 0)) << int(c.flags);
        EXPECT_EQ(c.afterRight, TogglePageStateFlags(c.flags, 1)) << int(c.flags);
    }
    // The external-reference bit rides along.
    EXPECT_EQ(kPageFlagExternalRef, TogglePageStateFlags(kPageFlagExternalRef | both, 0));
}

TEST(PageEditRecords, ZonesOfAPressInThePageTree) {
    const struct {
        int x, level, zone;
    } cases[] = {
        {0, 1, 1}, {16, 1, 1}, {17, 1, -1}, {29, 1, 2}, {200, 1, 2},  // page 0's row
        {0, 2, 0}, {28, 2, 0}, {29, 2, 1}, {45, 2, 1}, {46, 2, -1}, {58, 2, 2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.zone, PageTreeZone(c.x, c.level)) << c.x << " " << c.level;
}

TEST(PageEditRecords, DeletingAPageTakesItsOwnSubtreeOnly) {
    // 1; 2 on 1; 3 on 2; 4 (no parent); 5 on 4.
    MakeRecords({{1, 0}, {2, 1}, {3, 2}, {4, 0}, {5, 4}});
    ComputePageEditLevels(true);
    EXPECT_EQ((std::vector<int>{2, 1}), DeletePageEditRecords({1}));
    EXPECT_EQ((std::vector<int>{1, 4, 5}), Pages()) << "page 5 lies deeper than page 2 but under page 4";
    for (int i = 0; i < PageEditRecordCount(); ++i)
        EXPECT_EQ(i, PageEditRecordAt(i)->key);
    FreePageEditRecords();
}

TEST(PageEditRecords, TheApplyPlanDeletesMissingAndReusedPagesBeforeMakingNewOnes) {
    // The drawing has pages 1, 2, 3; the dialog deleted 3 and added a page
    // that got the free number 3, and another one (4).
    MakeRecords({{1, 0}, {2, 0}});
    PageEditRecord fresh;
    ASSERT_NE(nullptr, AppendNewPageRecord(fresh));
    ASSERT_NE(nullptr, AppendNewPageRecord(fresh));
    EXPECT_EQ((std::vector<int>{1, 2, 3, 4}), Pages());
    EXPECT_STREQ("CW2", PageEditRecordAt(2)->shortText);
    const std::vector<PageAppendStep> plan = PlanPageAppend({1, 2, 3});
    ASSERT_EQ(3u, plan.size());
    EXPECT_EQ(PageAppendStep::DeletePage, plan[0].kind);
    EXPECT_EQ(3, plan[0].page);
    EXPECT_EQ(PageAppendStep::AddPage, plan[1].kind);
    EXPECT_EQ(3, plan[1].page);
    EXPECT_EQ(PageAppendStep::AddPage, plan[2].kind);
    EXPECT_EQ(4, plan[2].page);
    // Without records, every page goes.
    FreePageEditRecords();
    const std::vector<PageAppendStep> all = PlanPageAppend({5, 7});
    ASSERT_EQ(2u, all.size());
    EXPECT_EQ(5, all[0].page);
    EXPECT_EQ(7, all[1].page);
}

TEST(AppendPageList, AtMost254ExternalReferencesAndNeverPageZero) {
    ClearExternalRefEntries();
    int added = 0;
    while (AppendExternalRefEntry("C:\\ref.tcf") == 1 && added < 300)
        ++added;
    EXPECT_EQ(254, added);
    EXPECT_EQ(254, ExternalRefEntryCount());
    EXPECT_EQ(0, AppendExternalRefEntry(nullptr));
    // With every number 1-256 taken by records, nothing is added either.
    MakeRecords({});
    for (int page = 1; page <= 256; ++page)
        PageEditRecordAt(PageEditRecordCount())->page = page;
    EXPECT_EQ(0, FirstFreePageNumber());
    EXPECT_EQ(0, AppendExternalRefEntry("C:\\ref.tcf"));
    for (int i = 0; i < PageEditRecordCount(); ++i)
        EXPECT_NE(0, PageEditRecordAt(i)->page);
    ClearExternalRefEntries();
}

class PageRecordsOnDrawing : public SetupFixture {};

TEST_F(PageRecordsOnDrawing, TheInformationRecordsReadAndWriteTitlesStatesAndPlacement) {
    ASSERT_EQ(1, AddPageFrom(1, 0));
    ASSERT_EQ(1, AddPageFrom(2, 1));
    ASSERT_EQ(3, BuildPageEditRecords());
    EXPECT_EQ((std::vector<int>{0, 1, 2}), Pages());
    EXPECT_EQ((std::vector<int>{0, 1, 2}), Levels());
    PageEditRecord* r0 = PageEditRecordAt(0);
    std::strcpy(r0->title, "本図");
    PageEditRecord* r1 = PageEditRecordAt(1);
    r1->flags = TogglePageStateFlags(r1->flags, 0);  // was shown and detectable
    r1->factorX = r1->factorY = 2.0;
    const double x = 10.0;
    std::memcpy(r1->origin, &x, 8);
    std::strcpy(r1->title, "一階");
    ASSERT_EQ(1, ApplyPageEditRecords());
    char title[257];
    GetPageTitle(0, title);
    EXPECT_STREQ("本図", title);
    GetPageTitle(1, title);
    EXPECT_STREQ("一階", title);
    EXPECT_EQ(0, IsPageDisplayed(1));
    EXPECT_EQ(0, IsPageDetectable(1));
    EXPECT_EQ(1, IsPageDisplayed(2));
    int values[6];
    double scale = 0, angle = 1;
    ASSERT_EQ(1, GetPagePlacement(1, values, &scale, &angle));
    EXPECT_DOUBLE_EQ(2.0, scale);
    double ox = 0;
    std::memcpy(&ox, values, 8);
    EXPECT_DOUBLE_EQ(10.0, ox);
    FreePageEditRecords();
}

TEST_F(PageRecordsOnDrawing, TheManagerDeletesAReusedNumberBeforeMakingTheNewPage) {
    ASSERT_EQ(1, AddPageFrom(1, 0));
    ASSERT_EQ(1, AddPageFrom(3, 0));
    ASSERT_EQ(2, BuildPageAppendRecords());
    DeletePageEditRecords({1});  // page 3
    PageEditRecord fresh;
    std::strcpy(fresh.title, "新");
    fresh.scale = 1;
    PageEditRecord* added = AppendNewPageRecord(fresh);
    ASSERT_NE(nullptr, added);
    EXPECT_EQ(2, added->page) << "the smallest number no record uses";
    EXPECT_EQ(2, ApplyPageAppendRecords()) << "page 3 deleted, page 2 made";
    EXPECT_EQ(1, DAriChkPage(1, db));
    EXPECT_EQ(1, DAriChkPage(2, db));
    EXPECT_EQ(0, DAriChkPage(3, db));
    char title[257];
    GetPageTitle(2, title);
    EXPECT_STREQ("新", title);
    FreePageEditRecords();
}

}  // namespace
