// Page and layer services over the active drawing in the CAD library, and
// the append-page list.
#include <cstring>
#include <vector>

#include "view_fixture.h"
#include "setup/layers.h"
#include "setup/page_services.h"
#include "setup/setup_dialogs.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

using SetupServicesTest = ViewFixture;

StoredElement* AddElement(DbHeader* db, uint16_t kind, uint16_t layer, int page = 0) {
    ElementRecord r = {};
    r.kind = kind;
    r.layer = layer;
    r.page = page;
    r.colour = 1;
    return DAriAppendElement(&r, db);
}

TEST_F(SetupServicesTest, NothingWithoutAnActiveDrawing) {
    char name[260] = "x", second[260] = "y";
    EXPECT_EQ(0, GetLayerNameOfPage(0, 0, name, second));
    EXPECT_EQ(0, SetLayerNameOfPage(0, 0, "a", "g"));
    EXPECT_EQ(0, SetCurrentPage(1));
    EXPECT_EQ(0, GetCurrentPage());
    PageStateBlock state;
    EXPECT_EQ(0, GetPageState(&state));
    unsigned char flags[1024];
    EXPECT_EQ(0, CollectUsedLayers(0, flags, -1));
}

TEST_F(SetupServicesTest, LayerNamesAndGroupsWithinTheTable) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    DbHeader* db = GetViewDb(view);
    struct Case {
        int layer;
        int result;
    } cases[] = {{0, 1}, {1023, 1}, {1024, 0}, {-1, 0}};
    for (const Case& k : cases) {
        EXPECT_EQ(k.result, SetLayerNameOfPage(0, k.layer, "壁", "設備")) << k.layer;
        char name[260] = "", second[260] = "keep";
        EXPECT_EQ(k.result, GetLayerNameOfPage(0, k.layer, name, second)) << k.layer;
        if (k.result) {
            EXPECT_STREQ("壁", name);
            EXPECT_STREQ("", second);
        }
    }
    LayerTable* table = LayerTableOf(DAriGetDbInfoPtr(0, db));
    ASSERT_NE(nullptr, table);
    EXPECT_STREQ("設備", table->groupNames[1023]);
    // A group name longer than its 11-byte slot is cut on a character boundary.
    EXPECT_EQ(1, SetLayerNameOfPage(0, 5, "n", "空調設備配管系統"));
    EXPECT_STREQ("空調設備配", table->groupNames[5]);
}

TEST_F(SetupServicesTest, InitialLayerIsTheLowestUsedOrALowerNamedOne) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    DbHeader* db = GetViewDb(view);
    EXPECT_EQ(0, PickInitialInputLayer(db));  // empty drawing
    ASSERT_NE(nullptr, AddElement(db, kElmLine, 9));
    ASSERT_NE(nullptr, AddElement(db, kElmCircle, 5));
    EXPECT_EQ(5, PickInitialInputLayer(db));
    SetLayerNameOfPage(0, 7, "上の名前", "");  // above the lowest used: ignored
    EXPECT_EQ(5, PickInitialInputLayer(db));
    SetLayerNameOfPage(0, 2, "下の名前", "");
    EXPECT_EQ(2, PickInitialInputLayer(db));

    unsigned char flags[1024];
    EXPECT_EQ(2, CollectUsedLayers(0, flags, -1));
    EXPECT_EQ(1, flags[5]);
    EXPECT_EQ(1, flags[9]);
    EXPECT_EQ(0, flags[2]);
    EXPECT_EQ(0, CollectUsedLayers(0, flags, 3));  // nothing on page 3
}

TEST_F(SetupServicesTest, FrameElementsAreCountedOnPageZero) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    DbHeader* db = GetViewDb(view);
    AddElement(db, kElmLine, 0);
    StoredElement* first = AddElement(db, kElmFrame, 0);
    AddElement(db, kElmFrame, 0);
    StoredElement* out = nullptr;
    EXPECT_EQ(2, CountFrameElements(&out));
    EXPECT_EQ(first, out);
}

TEST_F(SetupServicesTest, PagesAndViewModesOfTheActiveDrawing) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(1, SetCurrentPage(256));
    EXPECT_EQ(256, GetCurrentPage());
    EXPECT_EQ(0, SetCurrentPage(257));
    EXPECT_EQ(0, SetCurrentPage(-1));
    PageStateBlock state;
    ASSERT_EQ(1, GetPageState(&state));
    EXPECT_EQ(256, state.currentPage);
    EXPECT_EQ(1u, state.display[0] & 1);

    ViewData* d = GetViewData(view);
    d->viewMode = 2;
    EXPECT_EQ(1, UpdateFrameViewFlag(nullptr));
    EXPECT_EQ(1, d->db->frame.view);
    EXPECT_EQ(1, ShowPaperSpace());
    EXPECT_EQ(1, d->viewMode);
    EXPECT_EQ(0, d->db->frame.view);
    EXPECT_EQ(1, ShowModelSpace());
    EXPECT_EQ(0, d->viewMode);
    EXPECT_EQ(0, UpdateFrameViewFlag(m_main.m_hWnd));  // no drawing view

    DbInfoHead head;
    ASSERT_EQ(1, GetPageDbInfo(0, &head));
    strcpy(head.Info()->texts0[3], "配管図");
    ASSERT_EQ(1, SetPageDbInfo(0, &head));
    DbInfoHead again;
    DAriGetDBInfo(&again, d->db);
    EXPECT_STREQ("配管図", again.Title());
}

}  // namespace
