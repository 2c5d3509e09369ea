// A drawing window in a real MDI frame: its view, its record, and the
// save question on close.
#include <cmath>
#include <cstring>

#include "base/message_table.h"
#include "base/running_settings.h"
#include "view_fixture.h"
#include "view/db_ext.h"
#include "view/drawing_state.h"
#include "view/rubber_band.h"
#include "view/view_coords.h"
#include "view/view_transform.h"
#include "view/db_info.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

using CadwinFrameTest = ViewFixture;

TEST_F(CadwinFrameTest, FrameCreatesItsViewWithAFreshRecord) {
    // A colour default outside 0-256 becomes 4.
    const int savedColour = Running().initParameters[0];
    Running().initParameters[0] = 257;
    HWND view = NewDrawing("図面1");
    Running().initParameters[0] = savedColour;
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
    EXPECT_EQ(1u, d->db->pages.display[0] & 1);  // page 0 shown and detectable
    EXPECT_EQ(1u, d->db->pages.detect[0] & 1);
    EXPECT_EQ(0, GetViewElementCount(view));
    ElementRecord line = {};
    line.kind = kElmLine;
    line.colour = 1;
    ASSERT_NE(nullptr, DAriAppendElement(&line, d->db));
    EXPECT_EQ(1, GetViewElementCount(view));
    EXPECT_EQ(1, GetViewElementCount(nullptr));  // the active view
    EXPECT_EQ(nullptr, GetDbExtRecord(d->db));
    EXPECT_EQ(0, HasMemoDb(view, nullptr));
}

TEST(CadDatabase, OutOfRangeAttributeDefaultsAreReplaced) {
    struct Case {
        const char* name;
        int in[5];
        int out[5];
    } cases[] = {
        {"in range", {256, 31, 15, 15, 15}, {256, 31, 15, 15, 15}}, {"colour 257", {257, 0, 0, 0, 0}, {4, 0, 0, 0, 0}},
        {"colour -1", {-1, 0, 0, 0, 0}, {4, 0, 0, 0, 0}},           {"line type 32", {1, 32, 0, 0, 0}, {1, 0, 0, 0, 0}},
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
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ(k.out[i], got[i]) << "field " << i;
        EXPECT_EQ(7, db.m_data.drawingId);
        EXPECT_EQ(0xAB, db.m_data.attr.paperMargin[60]);
    }
}

TEST(CadDatabase, CreatingAgainReplacesTheHeaderAndDeleteForgetsIt) {
    CCadDatabase db;
    db.Create(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, db.m_data.db);
    db.m_data.db->hostWord = 9;
    db.Create(nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, db.m_data.db);
    EXPECT_EQ(0u, db.m_data.db->hostWord);  // a fresh header
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
        {"cancel", IDCANCEL, true, 1, false},          {"no", IDNO, true, 1, true},
        {"yes, saved", IDYES, true, 1, true},          {"yes, save failed", IDYES, true, 0, false},
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
        EXPECT_LT(endsBefore, m_main.endCommandCount);  // the running command ends first
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

namespace {

using DrawingServicesTest = ViewFixture;

TEST_F(DrawingServicesTest, TitleComesFromTheDrawingInformation) {
    HWND view = NewDrawing("無題1");
    ASSERT_NE(nullptr, view);
    ViewData* d = GetViewData(view);
    DbInfoHead head;
    ASSERT_EQ(1, DAriGetDBInfo(&head, d->db));
    strcpy(head.Info()->texts0[3], "空調平面図");
    ASSERT_EQ(1, DAriSetDBInfo(&head, d->db));
    SetDrawingFileName(view, 0, "C:\\図面\\1F.tcf");
    EXPECT_EQ("空調平面図 -[C:\\図面\\1F.tcf]", CWindow(::GetParent(view)).GetWindowText());
}

TEST_F(DrawingServicesTest, PaperFitUsesThePaperSizeAndOrigin) {
    HWND view = NewDrawing("図面1");
    ASSERT_NE(nullptr, view);
    ViewData* d = GetViewData(view);
    DbInfoHead head;
    ASSERT_EQ(1, DAriGetDBInfo(&head, d->db));
    CadSetF64(head.bytes, kInfoDrawW, 42000);
    CadSetF64(head.bytes, kInfoDrawH, 29700);
    head.Info()->originAtCorner = 1;
    ASSERT_EQ(1, DAriSetDBInfo(&head, d->db));

    double w = 0, h = 0;
    ASSERT_EQ(1, GetViewPaperSize(view, &w, &h));
    EXPECT_EQ(42000, w);
    EXPECT_EQ(29700, h);
    EXPECT_EQ(0, GetViewPaperSize(m_main.m_hWnd, &w, &h));

    d->modelScale = 3;
    ZoomViewToPaper();
    RECT rc;
    ::GetClientRect(view, &rc);
    const double expected = std::fmin((rc.right - 20) / 42000.0, (rc.bottom - 20) / 29700.0);
    EXPECT_DOUBLE_EQ(expected, d->modelScale);
    EXPECT_EQ(3, d->prevModel[2]);  // the set before the fit is kept
    EXPECT_EQ(-21000, d->modelOffsetX);
    EXPECT_EQ(-14850, d->modelOffsetY);
    // The paper's corners land inside the client area, centred.
    POINT lt = WorldToClient(view, d, 0, 29700), rb = WorldToClient(view, d, 42000, 0);
    EXPECT_GE(lt.x, 0);
    EXPECT_GE(lt.y, 0);
    EXPECT_LE(rb.x, rc.right);
    EXPECT_LE(rb.y, rc.bottom);
    EXPECT_NEAR(rc.right - rb.x, lt.x, 1);
}

TEST(RubberBand, DatabasesAreCreatedEmptiedAndDeleted) {
    ASSERT_NE(0, CreateRubberDbs());
    ASSERT_NE(nullptr, RubberDragDb());
    ASSERT_NE(nullptr, RubberShownDb());
    ElementRecord line = {};
    line.kind = kElmLine;
    line.colour = 1;
    EXPECT_EQ(1, AppendRubberElement(nullptr, 0, &line));
    EXPECT_EQ(1, DAriGetElmNum(RubberDragDb()));
    EXPECT_EQ(1, UpdateRubberBand(nullptr, 0, 0, 2));
    EXPECT_EQ(0, DAriGetElmNum(RubberDragDb()));
    EXPECT_EQ(1, DeleteRubberDbs());
    EXPECT_EQ(nullptr, RubberDragDb());
    EXPECT_EQ(0, AppendRubberElement(nullptr, 0, &line));
}

}  // namespace
