// Page and layer services over the active drawing, and the append-page list.
#include <cstring>
#include <vector>

#include "mdi_fixture.h"
#include "setup/layers.h"
#include "setup/page_services.h"
#include "setup/setup_dialogs.h"
#include "view/db_ext.h"
#include "view/view_data.h"

namespace {

using SetupServicesTest = MdiFixture;

TEST_F(SetupServicesTest, NothingWithoutAnActiveDrawing) {
    char name[256] = "x", second[256] = "y";
    EXPECT_EQ(0, GetLayerNameOfPage(0, 0, name, second));
    EXPECT_EQ(0, SetLayerNameOfPage(0, 0, "a", "g"));
    EXPECT_EQ(0, SetCurrentPage(1));
    EXPECT_EQ(0, GetCurrentPage());
    PageState state;
    EXPECT_EQ(0, GetPageState(&state));
}

TEST_F(SetupServicesTest, LayerNumbersOutsideTheTableAreRefused) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    // A live drawing-information block of page 0 behind the header.
    std::vector<unsigned char> live(kDbInfoLayerTableOffset + sizeof(LayerTable));
    void* livePtr = live.data();
    std::memcpy(static_cast<char*>(GetViewDb(view)) + kDbHeaderDbInfo, &livePtr, sizeof livePtr);
    LayerTable* table = LayerTableOf(livePtr);

    struct Case {
        int layer;
        int result;
    } cases[] = {{0, 1}, {1023, 1}, {1024, 0}, {-1, 0}};
    for (const Case& k : cases) {
        EXPECT_EQ(k.result, SetLayerNameOfPage(0, k.layer, "壁", "設備")) << k.layer;
        char name[256], second[256] = "keep";
        EXPECT_EQ(k.result, GetLayerNameOfPage(0, k.layer, name, second)) << k.layer;
    }
    EXPECT_STREQ("設備", table->groupNames[1023]);
    // A group name longer than its 11-byte slot is cut on a character boundary.
    EXPECT_EQ(1, SetLayerNameOfPage(0, 5, "n", "空調設備配管系統"));
    EXPECT_STREQ("空調設備配", table->groupNames[5]);
    std::memset(static_cast<char*>(GetViewDb(view)) + kDbHeaderDbInfo, 0, sizeof livePtr);
}

TEST_F(SetupServicesTest, CurrentPageStaysWithinTheDrawing) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(1, SetCurrentPage(256));
    EXPECT_EQ(256, GetCurrentPage());
    EXPECT_EQ(0, SetCurrentPage(257));
    EXPECT_EQ(0, SetCurrentPage(-1));
    EXPECT_EQ(256, GetCurrentPage());
    EXPECT_EQ(1, ShowPaperSpace());
    EXPECT_EQ(1, GetViewData(view)->viewMode);
    EXPECT_EQ(1, ShowModelSpace());
    EXPECT_EQ(0, GetViewData(view)->viewMode);
}

TEST(AppendPageList, AtMost254ExternalReferences) {
    ClearExternalRefEntries();
    int added = 0;
    while (AppendExternalRefEntry("C:\\ref.tcf") == 1 && added < 300) ++added;
    EXPECT_EQ(254, added);
    EXPECT_EQ(254, ExternalRefEntryCount());
    EXPECT_EQ(0, AppendExternalRefEntry(nullptr));
    ClearExternalRefEntries();
}

}  // namespace
