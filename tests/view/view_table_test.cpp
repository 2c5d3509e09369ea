// The table of drawing views and the lookups over it, on real drawing
// windows in a real MDI frame.
#include <cstring>
#include <string>
#include <vector>

#include "view_fixture.h"
#include "view/drawing_state.h"
#include "view/view_data.h"
#include "view/view_table.h"

namespace {

HWND FakeHandle(int i) { return reinterpret_cast<HWND>(static_cast<intptr_t>(0x10000 + i * 4)); }

TEST(ViewTableSlots, NewViewTakesFirstFreeSlotAndFullTableRefuses) {
    std::memset(ViewTable, 0, sizeof ViewTable);
    EXPECT_EQ(-1, AddViewToTable(nullptr));
    for (int i = 0; i < kViewTableSize; ++i)
        ASSERT_EQ(i, AddViewToTable(FakeHandle(i)));
    EXPECT_EQ(-1, FindFreeViewSlot());
    EXPECT_EQ(-1, AddViewToTable(FakeHandle(999)));  // full: nothing stored
    for (HWND h : ViewTable)
        EXPECT_NE(FakeHandle(999), h);

    ViewTable[10] = nullptr;
    ViewTable[200] = nullptr;
    EXPECT_EQ(10, FindFreeViewSlot());
    EXPECT_EQ(10, AddViewToTable(FakeHandle(1000)));
    EXPECT_EQ(200, AddViewToTable(FakeHandle(1001)));
    EXPECT_EQ(-1, AddViewToTable(FakeHandle(1002)));
    std::memset(ViewTable, 0, sizeof ViewTable);
}

TEST(ViewTableSlots, GetNextViewSkipsFreeSlotsAndRefusesStrangers) {
    std::memset(ViewTable, 0, sizeof ViewTable);
    ViewTable[0] = FakeHandle(0);
    ViewTable[3] = FakeHandle(3);
    EXPECT_EQ(FakeHandle(3), GetNextView(FakeHandle(0)));
    EXPECT_EQ(nullptr, GetNextView(FakeHandle(3)));
    EXPECT_EQ(nullptr, GetNextView(FakeHandle(7)));
    EXPECT_EQ(nullptr, GetNextView(nullptr));
    std::memset(ViewTable, 0, sizeof ViewTable);
}

using ViewTableTest = ViewFixture;

TEST_F(ViewTableTest, NoViewMeansNoActiveViewAndNoDatabase) {
    EXPECT_EQ(nullptr, GetActiveView());
    EXPECT_EQ(nullptr, GetActiveViewDb());
    EXPECT_EQ(nullptr, GetViewDb(nullptr));
    EXPECT_EQ(nullptr, GetViewDb(m_main.m_hWnd));  // a window that is no view
}

TEST_F(ViewTableTest, ActiveViewIsSwappedIntoSlotZeroAndTheWalkVisitsEachOnce) {
    HWND a = NewDrawing("A"), b = NewDrawing("B"), c = NewDrawing("C");
    ASSERT_TRUE(a && b && c);
    ASSERT_EQ(a, ViewTable[0]);
    ASSERT_EQ(b, ViewTable[1]);
    ASSERT_EQ(c, ViewTable[2]);

    ::SendMessageA(m_main.m_hWndMDIClient, WM_MDIACTIVATE, (WPARAM)::GetParent(b), 0);
    EXPECT_EQ(b, GetActiveView());
    // A swap, not a rotation: B and A trade places, C stays.
    EXPECT_EQ(b, ViewTable[0]);
    EXPECT_EQ(a, ViewTable[1]);
    EXPECT_EQ(c, ViewTable[2]);
    EXPECT_EQ(GetViewDb(b), GetActiveViewDb());
    EXPECT_NE(nullptr, GetActiveViewDb());

    std::vector<HWND> seen;
    for (HWND v = GetActiveView(); v; v = GetNextView(v))
        seen.push_back(v);
    EXPECT_EQ((std::vector<HWND>{b, a, c}), seen);
}

TEST_F(ViewTableTest, ClosingAViewMovesTheLaterSlotsDown) {
    HWND a = NewDrawing("A"), b = NewDrawing("B"), c = NewDrawing("C");
    ASSERT_TRUE(a && b && c);
    ::SendMessageA(::GetParent(b), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(b));
    EXPECT_EQ(a, ViewTable[0]);
    EXPECT_EQ(c, ViewTable[1]);
    EXPECT_EQ(nullptr, ViewTable[2]);
    EXPECT_EQ(nullptr, ViewTable[kViewTableSize - 1]);
}

TEST_F(ViewTableTest, FindViewByFileIgnoresLetterCaseButNotDoubleByteCharacters) {
    HWND a = NewDrawing("A"), b = NewDrawing("B"), c = NewDrawing("C");
    ASSERT_TRUE(a && b && c);
    strcpy(GetViewData(a)->fileName, "C:\\Drawings\\plan.tcf");
    // "ア" is 83 41 and "ャ" is 83 61: their trail bytes look like 'A' and 'a'.
    strcpy(GetViewData(b)->fileName, "C:\\図面\\ア.tcf");
    strcpy(GetViewData(c)->fileName, "");

    struct Case {
        const char* name;
        const char* query;
        HWND expected;
    } cases[] = {
        {"same text", "C:\\Drawings\\plan.tcf", a},
        {"other case", "c:\\DRAWINGS\\PLAN.TCF", a},
        {"Japanese name", "C:\\図面\\ア.TCF", b},
        {"trail byte differs only in case", "C:\\図面\\ャ.tcf", nullptr},
        {"other file", "C:\\Drawings\\plan2.tcf", nullptr},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        EXPECT_EQ(k.expected, FindViewByFileOrDrawing(k.query, nullptr));
    }
    EXPECT_EQ(nullptr, FindViewByFileOrDrawing(nullptr, nullptr));
    EXPECT_EQ(nullptr, FindViewByFileOrDrawing("", nullptr));
}

TEST_F(ViewTableTest, AmongWindowsOfOneDrawingTheHighestWindowNumberWins) {
    HWND a1 = NewDrawing("A"), a2 = NewDrawing("A"), other = NewDrawing("B");
    ASSERT_TRUE(a1 && a2 && other);
    ViewData* d1 = GetViewData(a1);
    ViewData* d2 = GetViewData(a2);
    d2->drawingId = d1->drawingId;  // two windows of one drawing
    d1->shared = d2->shared = 1;
    d1->windowNumber = 2;
    d2->windowNumber = 1;
    strcpy(d1->fileName, "C:\\a.tcf");
    strcpy(d2->fileName, "C:\\a.tcf");

    EXPECT_EQ(a1, FindViewByFileOrDrawing("c:\\A.TCF", nullptr));
    EXPECT_EQ(a1, FindViewByFileOrDrawing(nullptr, a2));
    EXPECT_EQ(other, FindViewByFileOrDrawing("", other));
    EXPECT_EQ(2, CountDrawingViews(a2));
    EXPECT_EQ(1, CountDrawingViews(other));

    // The modified flag is kept equal across the windows of a drawing only.
    EXPECT_EQ(1, SetDrawingModified(a2));
    EXPECT_EQ(1, d1->modified);
    EXPECT_EQ(1, d2->modified);
    EXPECT_EQ(0, GetViewData(other)->modified);
    ClearDrawingModified(a1);
    EXPECT_EQ(0, d1->modified);
    EXPECT_EQ(0, d2->modified);
    d1->shared = d2->shared = 0;  // each frame deletes its own header block
}

TEST_F(ViewTableTest, TitlesCarryWindowNumberFileNameAndReferenceMark) {
    HWND v = NewDrawing("図面1");
    ASSERT_NE(nullptr, v);
    ViewData* d = GetViewData(v);
    struct Case {
        const char* file;
        int number;
        int readOnly;
        const char* expected;
    } cases[] = {
        {"", 0, 0, "図面1"},
        {"", 2, 0, "図面1 : 2"},
        {"C:\\x.tcf", 0, 0, "図面1 -[C:\\x.tcf]"},
        {"C:\\x.tcf", 3, 0, "図面1 : 3 -[C:\\x.tcf]"},
        {"C:\\x.tcf", 0, 1, "図面1 -[C:\\x.tcf] (参照)"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.expected);
        strcpy(d->fileName, k.file);
        d->readOnly = k.readOnly;
        SetViewTitle(v, d->db, k.number);
        EXPECT_EQ(k.expected, CWindow(::GetParent(v)).GetWindowText());
    }
    // Setting the file name retitles; a name longer than the field is cut.
    d->readOnly = 0;
    std::string longName(400, 'x');
    SetDrawingFileName(v, 0, longName.c_str());
    EXPECT_EQ(259u, strlen(d->fileName));
}

}  // namespace
