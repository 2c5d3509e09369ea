// Drawing windows the main frame makes: new drawings from the remembered
// paper (4000), the start drawing (4050), a second window of one drawing
// (4025), the paper fit of a new window, the Window menu, and the empty
// untitled windows that make way for a file.
#include <windows.h>

#include <cmath>
#include <cstddef>
#include <cstring>
#include <string>

#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "frame_fixture.h"
#include "win/dialog.h"
#include "shell/host_services.h"
#include "shell/system_commands.h"
#include "tests/cadlib/drawing_builder.h"
#include "view/db_info.h"
#include "view/drawing_state.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "win/message_box.h"

namespace {

DbInfoHead InfoOf(HWND view) {
    DbInfoHead head;
    std::memset(&head, 0, sizeof head);
    ViewData* d = GetViewData(view);
    if (d && d->db) DAriGetDBInfo(&head, d->db);
    return head;
}

double At(const DbInfoHead& head, uint32_t offset) { return CadGetF64(head.bytes, offset); }

std::string TitleOf(HWND view) {
    char text[300] = "";
    GetWindowTextA(GetParent(view), text, sizeof text);
    return text;
}

RECT ClientRectOf(HWND frame) {
    RECT r;
    GetWindowRect(frame, &r);
    MapWindowPoints(nullptr, GetParent(frame), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class DrawingWindowTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        saved = Running();
        savedShell = ShellSettings();
        BuildPaperSizeTable();
    }
    void TearDown() override {
        Running() = saved;
        ShellSettings() = savedShell;
        FrameTest::TearDown();
    }
    RunningSettings saved;
    ShellSettingValues savedShell;
    // The user confirms the new-drawing and start dialogs as they come.
    win::ModalDialogTestHook dialogs{IDOK};
};

TEST_F(DrawingWindowTest, NewDrawingTakesTheRememberedPaperAndScale) {
    struct {
        const char* name;
        int row;            // iDefPaperType
        double scale;       // dDefPaperScale
        double w, h;        // dDelPaperCx, dDelPaperCy
        int cornerSetting;  // bPaperOrg
        int usedRow;
        double usedScale;
    } rows[] = {
        {"A3 landscape at 1/50", 3, 0.02, 420, 297, 0, 3, 0.02},
        {"a row beyond the table takes the first", 99, 0.01, 594, 420, 0, 0, 0.01},
        {"a scale of 0 cannot divide: the shipped 1/50", 5, 0.0, 297, 210, 0, 5, 0.02},
        {"origin at the paper corner", 7, 0.1, 210, 148, 1, 7, 0.1},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        Running().iDefPaperType = r.row;
        Running().dDefPaperScale = r.scale;
        Running().dDelPaperCx = r.w;
        Running().dDelPaperCy = r.h;
        Running().bPaperOrg = r.cornerSetting;
        HWND before = GetActiveView();
        EXPECT_EQ(0, RunSystemCommandAction(4000, frame->m_hWnd, 4000));
        HWND view = GetActiveView();
        ASSERT_NE(nullptr, view);
        ASSERT_NE(before, view) << "a new window";
        DbInfoHead info = InfoOf(view);
        EXPECT_EQ(PaperSizeTable[r.usedRow].code, info.Info()->paperCode);
        EXPECT_DOUBLE_EQ(r.usedScale, At(info, kInfoScale));
        EXPECT_DOUBLE_EQ(r.w, At(info, kInfoPaperWmm));
        EXPECT_DOUBLE_EQ(r.h, At(info, kInfoPaperHmm));
        EXPECT_NEAR(r.w / r.usedScale, At(info, kInfoDrawW), 1e-6);
        EXPECT_NEAR(r.h / r.usedScale, At(info, kInfoDrawH), 1e-6);
        EXPECT_EQ(r.cornerSetting, info.Info()->originAtCorner);
        EXPECT_EQ(0, GetViewData(view)->modified);
    }
}

TEST_F(DrawingWindowTest, TheStartDrawingGivesWayToAFile) {
    Running().iDefPaperType = 3;
    Running().dDefPaperScale = 0.02;
    Running().dDelPaperCx = 420;
    Running().dDelPaperCy = 297;
    for (DWORD flags : {100u, 1u}) {
        SCOPED_TRACE(flags);
        EXPECT_EQ(0, RunSystemCommandAction(4050, frame->m_hWnd, MAKELONG(4050, flags)));
        HWND view = GetActiveView();
        ASSERT_NE(nullptr, view);
        EXPECT_EQ(PaperSizeTable[3].code, InfoOf(view).Info()->paperCode);
        EXPECT_EQ(0, GetViewData(view)->modified) << "nothing of the user's is in it yet";
        CloseEmptyUntitledViews(0);
        PumpFor(50);
        EXPECT_FALSE(IsWindow(view)) << "opening a file closes it";
        EXPECT_EQ(nullptr, GetActiveView());
    }
}

TEST_F(DrawingWindowTest, OnlyEmptyUntitledWindowsMakeWayForAFile) {
    HWND empty = NewDrawing();
    HWND drawn = NewDrawing();
    ElementRecord line = cadtest::Line(0, 0, 10, 0);
    DAriAppendElement(&line, GetViewData(lastView)->db);
    HWND changed = NewDrawing();
    SetModified(changed);
    HWND named = NewDrawing();
    SetDrawingFileName(lastView, 0, "C:\\図面\\named.tcf");
    CloseEmptyUntitledViews(0);
    PumpFor(50);
    EXPECT_FALSE(IsWindow(empty));
    EXPECT_TRUE(IsWindow(drawn)) << "it holds an element";
    EXPECT_TRUE(IsWindow(changed)) << "it holds unsaved changes";
    EXPECT_TRUE(IsWindow(named)) << "it shows a file";
    GetViewData((HWND)SendMessageA(changed, UM_GET_VIEW, 0, 0))->modified = 0;
}

TEST_F(DrawingWindowTest, ASecondWindowShowsTheSameDrawingBesideTheFirst) {
    HWND firstFrame = NewDrawing();
    HWND first = lastView;
    ShowWindow(firstFrame, SW_RESTORE);
    SetWindowPos(firstFrame, nullptr, 0, 0, 600, 400, SWP_NOZORDER);
    ElementRecord line = cadtest::Line(0, 0, 10, 0);
    DAriAppendElement(&line, GetViewData(first)->db);
    const RECT before = ClientRectOf(firstFrame);
    const std::string title = TitleOf(first);

    EXPECT_EQ(0, RunSystemCommandAction(4025, frame->m_hWnd, 4025));
    HWND second = GetActiveView();
    ASSERT_NE(nullptr, second);
    ASSERT_NE(first, second);
    ViewData* a = GetViewData(first);
    ViewData* b = GetViewData(second);
    EXPECT_EQ(a->db, b->db) << "one drawing";
    EXPECT_EQ(a->drawingId, b->drawingId);
    EXPECT_EQ(1, a->shared);
    EXPECT_EQ(1, b->shared);
    EXPECT_EQ(1, a->windowNumber);
    EXPECT_EQ(2, b->windowNumber);
    EXPECT_EQ(title + " : 1", TitleOf(first));
    EXPECT_EQ(title + " : 2", TitleOf(second));
    // Side by side in the place of the first window (wider than high).
    const RECT left = ClientRectOf(firstFrame), right = ClientRectOf(GetParent(second));
    const int w = before.right - before.left;
    EXPECT_EQ(before.left, left.left);
    EXPECT_EQ(before.top, left.top);
    EXPECT_EQ(w / 2, left.right - left.left);
    EXPECT_EQ(before.bottom, left.bottom);
    EXPECT_EQ(before.left + w / 2, right.left);
    EXPECT_EQ(before.top, right.top);
    EXPECT_EQ(before.bottom, right.bottom);
    // A change made in one window is the drawing's.
    DAriAppendElement(&line, b->db);
    EXPECT_EQ(2, GetViewElementCount(first));

    // Closing one window leaves the drawing whole in the other.
    SendMessageA(GetParent(second), WM_CLOSE, 0, 0);
    PumpFor(50);
    EXPECT_FALSE(IsWindow(second));
    ASSERT_NE(nullptr, GetViewData(first));
    EXPECT_EQ(0, GetViewData(first)->shared);
    EXPECT_EQ(2, GetViewElementCount(first));
    EXPECT_EQ(title, TitleOf(first));
}

TEST_F(DrawingWindowTest, ANewWindowShowsThePaperCentredWithTheOriginAtItsCorner) {
    ShellSettings().bScTestBtn = 0;
    for (int corner : {1, 0}) {
        SCOPED_TRACE(corner);
        Running().bPaperOrg = corner;
        NewDrawing();
        ViewData* d = GetViewData(lastView);
        ASSERT_NE(nullptr, d);
        const DbInfoHead info = InfoOf(lastView);
        EXPECT_EQ(corner, info.Info()->originAtCorner);
        if (!corner) {
            EXPECT_EQ(1.0, d->modelScale) << "without the setting the window keeps scale 1";
            EXPECT_EQ(0.0, d->modelOffsetX);
            continue;
        }
        RECT rc;
        GetClientRect(lastView, &rc);
        const double pw = info.DrawingWidth(), ph = info.DrawingHeight();
        const char* record = reinterpret_cast<const char*>(d);
        for (size_t at :
             {offsetof(ViewData, modelOffsetX), offsetof(ViewData, paperOffsetX), offsetof(ViewData, frameOffsetX)}) {
            const double ox = ReadUnalignedDouble(record + at), oy = ReadUnalignedDouble(record + at + 8),
                         s = ReadUnalignedDouble(record + at + 16);
            // The paper's centre lies in the middle of the view ...
            EXPECT_NEAR(0.0, (pw / 2 + ox) * s, 1.0);
            EXPECT_NEAR(0.0, (ph / 2 + oy) * s, 1.0);
            // ... and the paper fills it but for the 20-pixel margin.
            EXPECT_LE(pw * s, rc.right - 20 + 1e-6);
            EXPECT_LE(ph * s, rc.bottom - 20 + 1e-6);
            EXPECT_TRUE(std::fabs(pw * s - (rc.right - 20)) < 1e-6 || std::fabs(ph * s - (rc.bottom - 20)) < 1e-6);
        }
    }
}

TEST_F(DrawingWindowTest, TheWindowMenuListsTheDrawingWindows) {
    HWND a = NewDrawing();
    HWND b = NewDrawing();
    HMENU popup = GetCadSystem().m_mainMenu.WindowPopup();
    ASSERT_NE(nullptr, popup);
    std::string listed;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        if (GetMenuItemID(popup, i) < 0xFF00) continue;
        char text[300] = "";
        GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
        listed += std::string(text) + "|";
    }
    for (HWND child : {a, b}) {
        char title[300] = "";
        GetWindowTextA(child, title, sizeof title);
        EXPECT_NE(std::string::npos, listed.find(title)) << title << " in " << listed << " (" << GetMenuItemCount(popup)
                                                         << " items, maximised " << IsZoomed(child) << ")";
    }
}

TEST_F(DrawingWindowTest, SystemCommandActionsWithoutADrawing) {
    // The executor's service for the system commands, with no drawing open.
    ASSERT_EQ(nullptr, GetActiveView());
    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, owner);
    struct {
        int id;
        CmdFinish finish;  // how the action ended the command
        bool closesOwner;  // WM_CLOSE posted to the owner
    } cases[] = {
        {4006, CmdFinish::Table, true},   // exit: the owner (the main frame) is asked to close
        {4005, CmdFinish::Table, false},  // close drawing: nothing to close
        {4021, CmdFinish::Keep, false},   // drawing information: nothing to show
        {4040, CmdFinish::Table, false},  // model space: nothing to show
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        const SystemCmdOutcome out = RunSystemCmdAction(c.id, owner, c.id);
        EXPECT_EQ(0, out.answer);
        EXPECT_EQ(c.finish, out.finish);
        MSG msg;
        EXPECT_EQ(c.closesOwner, PeekMessageA(&msg, owner, WM_CLOSE, WM_CLOSE, PM_REMOVE) != FALSE);
    }
    // The frame's own entries for exit and close reach the same actions.
    CloseApplication(owner);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, owner, WM_CLOSE, WM_CLOSE, PM_REMOVE));

    // With every drawing-window slot taken, a new drawing is refused.
    HWND savedSlots[kViewTableSize];
    std::memcpy(savedSlots, ViewTable, sizeof savedSlots);
    for (auto& slot : ViewTable)
        slot = owner;
    for (int id : {4000, 4050}) {
        SCOPED_TRACE(id);
        win::MessageBoxTestHook boxes;
        ClearShellTrace();
        const SystemCmdOutcome out = RunSystemCmdAction(id, frame->m_hWnd, id);
        EXPECT_EQ(CmdFinish::Keep, out.finish);
        EXPECT_NE(std::string::npos, ShellTraceText().find("Error,これ以上ウィンドウを開けません")) << ShellTraceText();
        ASSERT_EQ(1u, boxes.Calls().size());
        EXPECT_EQ("新規図面", boxes.Calls()[0].caption);
    }
    std::memcpy(ViewTable, savedSlots, sizeof savedSlots);
    EXPECT_EQ(nullptr, GetActiveView()) << "no window was made";
    DestroyWindow(owner);
}

}  // namespace
