// The view table's order and compaction, titles across the windows of one
// drawing, and the save question when all drawings close.
#include <cstring>

#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/view_table.h"
#include "view_fixture.h"
#include "win/message_box.h"

namespace {

using TableTest = ViewFixture;

// A second window on the drawing of `view`, as the host's new-window
// service makes it: same database, drawing id and file name, shared flags.
HWND SecondWindowOf(HWND v2, HWND view) {
    ViewData* a = GetViewData(view);
    ViewData* b = GetViewData(v2);
    b->dbBlock = nullptr;  // the other window owns the database
    DAriDeleteDB(b->db);
    b->db = a->db;
    b->drawingId = a->drawingId;
    std::memcpy(b->fileName, a->fileName, sizeof b->fileName);
    a->shared = b->shared = 1;
    int n = 0;
    for (HWND v = GetActiveView(); v; v = GetNextView(v))
        if (GetViewData(v)->drawingId == a->drawingId) ++n;
    b->windowNumber = n;
    return v2;
}

std::string Title(HWND view) {
    char t[512] = {};
    ::GetWindowTextA(::GetParent(view), t, sizeof t);
    return t;
}

TEST_F(TableTest, ActiveViewSwapsIntoSlotZeroAndClosingCompacts) {
    HWND a = NewDrawing("A"), b = NewDrawing("B"), c = NewDrawing("C");
    ASSERT_TRUE(a && b && c);
    ::SendMessageA(m_main.m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)::GetParent(b), 0);
    std::memset(ViewTable, 0, sizeof ViewTable);
    ViewTable[0] = a, ViewTable[1] = b, ViewTable[2] = c;
    EXPECT_EQ(b, GetActiveView());
    EXPECT_EQ(b, ViewTable[0]);
    EXPECT_EQ(a, ViewTable[1]);
    EXPECT_EQ(c, ViewTable[2]);
    EXPECT_EQ(a, GetNextView(b));
    EXPECT_EQ(nullptr, GetNextView(c));
    CloseView(a);  // slot 1
    EXPECT_EQ(b, ViewTable[0]);
    EXPECT_EQ(c, ViewTable[1]);
    EXPECT_EQ(nullptr, ViewTable[2]);
    EXPECT_EQ(nullptr, ViewTable[255]);
    EXPECT_EQ(nullptr, GetViewData(a)) << "window long 0 cleared";
}

TEST_F(TableTest, TitlesFollowTheWindowsOfOneDrawing) {
    HWND a = NewDrawing("A");
    ViewData* d = GetViewData(a);
    DbInfo* info = DAriGetDbInfoPtr(0, d->db);
    std::strcpy(info->texts0[3], "空調図");
    SetDrawingFileName(a, 0, "C:\\図面\\plan.tcf");
    EXPECT_EQ("空調図 -[C:\\図面\\plan.tcf]", Title(a));

    HWND b = SecondWindowOf(NewDrawing("copy"), a);
    HWND c = SecondWindowOf(NewDrawing("copy"), a);
    SetDrawingFileName(c, 0, "C:\\図面\\renamed.tcf");
    for (HWND v : {a, b, c})
        EXPECT_STREQ("C:\\図面\\renamed.tcf", GetViewData(v)->fileName) << "every window takes the new name";
    EXPECT_EQ("空調図 : 3 -[C:\\図面\\renamed.tcf]", Title(c));

    GetViewData(a)->modified = 1;
    SetDrawingModified(b);
    for (HWND v : {a, b, c})
        EXPECT_EQ(1, GetViewData(v)->modified);

    // Closing one of three renumbers the two that stay; one of two leaves a
    // window without a number.
    CloseView(b);
    const int na = GetViewData(a)->windowNumber, nc = GetViewData(c)->windowNumber;
    EXPECT_EQ(3, na + nc);
    EXPECT_NE(na, nc);
    CloseView(c);
    EXPECT_EQ(0, GetViewData(a)->shared);
    EXPECT_EQ(1, GetViewData(a)->windowNumber);
    EXPECT_EQ("空調図 -[C:\\図面\\renamed.tcf]", Title(a));
    GetViewData(a)->readOnly = 1;
    SetViewTitle(a, GetViewData(a)->db, 0);
    EXPECT_EQ("空調図 -[C:\\図面\\renamed.tcf] (参照)", Title(a));
    // b and c shared a's database: only a deletes it.
    GetViewData(a)->shared = 0;
}

TEST_F(TableTest, ADrawingInThreeWindowsIsAskedAboutOnceWhenAllClose) {
    HWND a = NewDrawing("A");
    HWND b = SecondWindowOf(NewDrawing("copy"), a);
    HWND c = SecondWindowOf(NewDrawing("copy"), a);
    HWND other = NewDrawing("other");
    for (HWND v : {a, b, c, other})
        GetViewData(v)->modified = 1;
    EXPECT_EQ(0, IsSaveQuestionNeeded(a)) << "another window of the drawing stays open";
    CadwinHost().closingAllDrawings = 1;
    ClearSaveQuestionList();
    EXPECT_EQ(1, IsSaveQuestionNeeded(a));
    EXPECT_EQ(0, IsSaveQuestionNeeded(b));
    EXPECT_EQ(0, IsSaveQuestionNeeded(c));
    EXPECT_EQ(1, IsSaveQuestionNeeded(other));
    ClearSaveQuestionList();
    EXPECT_EQ(1, IsSaveQuestionNeeded(c)) << "a cancelled close-all asks again";
    CadwinHost().closingAllDrawings = 0;
    ClearSaveQuestionList();
    for (HWND v : {b, c}) {
        GetViewData(v)->modified = 0;
        CloseView(v);
    }
    GetViewData(a)->shared = 0;
}

}  // namespace
