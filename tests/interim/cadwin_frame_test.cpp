// A drawing window in a real MDI frame: its view, its record, and the
// save question on close.
#include <cstring>

#include "base/message_table.h"
#include "mdi_fixture.h"
#include "view/db_ext.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

using CadwinFrameTest = MdiFixture;

TEST_F(CadwinFrameTest, FrameCreatesItsViewWithAFreshRecord) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    HWND frame = ::GetParent(view);
    EXPECT_EQ(m_main.m_hWndMDIClient, ::GetParent(frame));
    EXPECT_EQ(view, (HWND)::SendMessageA(frame, UM_GET_VIEW, 0, 0));
    char cls[64];
    ::GetClassNameA(view, cls, sizeof cls);
    EXPECT_STREQ("CadwinView", cls);
    EXPECT_EQ("図面1", CWindow(frame).GetWindowText());

    ViewData* d = GetViewData(view);
    ASSERT_NE(nullptr, d);
    EXPECT_EQ((LONG_PTR)d, ::GetWindowLongPtrA(view, 0));
    EXPECT_EQ(1, d->windowNumber);
    EXPECT_EQ(0, d->viewMode);
    EXPECT_EQ(1.0, d->modelScale);
    EXPECT_EQ(1.0, d->paperScale);
    EXPECT_EQ(1.0, d->frameScale);
    EXPECT_EQ(0.0, d->modelOffsetX);
    EXPECT_STREQ("", d->fileName);
    EXPECT_EQ(0, d->modified);
    EXPECT_EQ(4, d->attr.color);
    EXPECT_EQ(-1, d->attr.moduleWords1[0]);
    EXPECT_EQ(-1, d->attr.moduleWords2[63]);
    EXPECT_EQ(DrawingIdCounter, d->drawingId);
    EXPECT_EQ(3, d->dbKind);
    ASSERT_NE(nullptr, d->db);
    EXPECT_EQ(1, static_cast<unsigned char*>(d->db)[kDbHeaderFlags1] & 1);
    EXPECT_EQ(1, static_cast<unsigned char*>(d->db)[kDbHeaderFlags2] & 1);
    EXPECT_EQ(nullptr, GetDbExtRecord(d->db));
    EXPECT_EQ(0, HasMemoDb(view, nullptr));
}

TEST(CadDatabase, OutOfRangeAttributeDefaultsAreReplaced) {
    struct Case {
        const char* name;
        int in[5];
        int out[5];
    } cases[] = {
        {"in range", {256, 31, 15, 15, 15}, {256, 31, 15, 15, 15}},
        {"colour 257", {257, 0, 0, 0, 0}, {4, 0, 0, 0, 0}},
        {"colour -1", {-1, 0, 0, 0, 0}, {4, 0, 0, 0, 0}},
        {"line type 32", {1, 32, 0, 0, 0}, {1, 0, 0, 0, 0}},
        {"width 16, ends 16", {1, 0, 16, 16, -1}, {1, 0, 0, 0, 0}},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        CCadDatabase db;
        int id = 7, undo = 3;
        unsigned char margin[61];
        std::memset(margin, 0xAB, sizeof margin);
        EXPECT_EQ(0, db.Create(&id, &undo, margin, k.in));
        const int got[5] = {db.m_data.attr.color, db.m_data.attr.lineType, db.m_data.attr.lineWidth,
                            db.m_data.attr.lineStartKind, db.m_data.attr.lineEndKind};
        for (int i = 0; i < 5; ++i) EXPECT_EQ(k.out[i], got[i]) << "field " << i;
        EXPECT_EQ(7, db.m_data.drawingId);
        EXPECT_EQ(0xAB, db.m_data.attr.paperMargin[60]);
    }
}

TEST(CadDatabase, CreatingAgainReplacesTheHeaderAndDeleteForgetsIt) {
    CCadDatabase db;
    db.Create(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, db.m_data.db);
    static_cast<unsigned char*>(db.m_data.db)[5] = 9;
    db.Create(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, db.m_data.db);
    EXPECT_EQ(0, static_cast<unsigned char*>(db.m_data.db)[5]);  // a fresh header
    db.Delete();
    EXPECT_EQ(nullptr, db.m_data.db);
    EXPECT_EQ(nullptr, db.m_data.dbBlock);
    db.Delete();  // nothing left: no effect
}

int g_saveResult = 0;
int g_saveCalls = 0;
int TestSave(HWND) {
    ++g_saveCalls;
    return g_saveResult;
}

TEST_F(CadwinFrameTest, ClosingAModifiedDrawingAsksAndKeepsItUnlessToldOtherwise) {
    struct Case {
        const char* name;
        int answer;
        bool handler;
        int saveResult;
        bool closes;
    } cases[] = {
        {"cancel", IDCANCEL, true, 1, false},
        {"no", IDNO, true, 1, true},
        {"yes, saved", IDYES, true, 1, true},
        {"yes, save failed", IDYES, true, 0, false},
        {"yes, no save road", IDYES, false, 0, false},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        HWND view = NewDrawing("図面1");
        ASSERT_NE(nullptr, view);
        HWND frame = ::GetParent(view);
        GetViewData(view)->modified = 1;
        CadwinSaveHandler = k.handler ? TestSave : nullptr;
        g_saveResult = k.saveResult;
        g_saveCalls = 0;
        const int endsBefore = m_main.endCommandCount;

        win::MessageBoxTestHook hook;
        hook.Answer(k.answer);
        int cancelWord = -1;
        ::SendMessageA(frame, WM_CLOSE, 100, (LPARAM)&cancelWord);
        Pump();
        ASSERT_EQ(1u, hook.Calls().size());
        EXPECT_NE(std::string::npos, hook.Calls()[0].text.find(GetMessageText(5001)));
        EXPECT_EQ(UINT(MB_YESNOCANCEL | MB_ICONQUESTION), hook.Calls()[0].flags);
        EXPECT_EQ(k.closes, !::IsWindow(frame));
        EXPECT_EQ(k.closes ? 0 : 1, cancelWord);
        EXPECT_EQ(k.answer == IDYES && k.handler ? 1 : 0, g_saveCalls);
        EXPECT_EQ(endsBefore + 1, m_main.endCommandCount);
        if (!k.closes) {
            EXPECT_EQ(view, ViewTable[0]);  // still in the system
            GetViewData(view)->modified = 0;
            ::SendMessageA(frame, WM_CLOSE, 0, 0);
            Pump();
        }
        EXPECT_EQ(nullptr, ViewTable[0]);
    }
    CadwinSaveHandler = nullptr;
}

TEST_F(CadwinFrameTest, AnUnmodifiedDrawingClosesWithoutAQuestion) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    win::MessageBoxTestHook hook;
    ::SendMessageA(::GetParent(view), WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(hook.Calls().empty());
    EXPECT_FALSE(::IsWindow(view));
    EXPECT_EQ(nullptr, ViewTable[0]);
}

TEST_F(CadwinFrameTest, TheViewItselfSwallowsClose) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    ::SendMessageA(view, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_TRUE(::IsWindow(view));
    EXPECT_EQ(view, ViewTable[0]);
}

}  // namespace
