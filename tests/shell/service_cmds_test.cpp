// The service commands' state machines in a real main frame with a drawing
// window, their waits answered by a script: each step names the result the
// wait returns and the point (or picked element) it leaves in the request.
// The script also records the wanted mask the command had set for each
// wait.
#include <windows.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "base/local_settings_ini.h"
#include "base/message_ids.h"
#include "base/message_table.h"
#include "base/running_settings.h"
#include "cadlib/WmCadApiDb.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/host_messages.h"
#include "command/wait_loop.h"
#include "frame_fixture.h"
#include "panels/attr_pickup.h"
#include "shell/attribute_pickup.h"
#include "shell/service_cmds.h"
#include "shell/service_frame.h"
#include "shell/service_support.h"
#include "view/cadwin_frame.h"
#include "view/db_ext.h"
#include "view/db_info.h"
#include "view/view_data.h"
#include "view/view_table.h"
#include "view/view_transform.h"
#include "win/message_box.h"

namespace {

struct Step {
    int result;
    double x, y;
    int panelValue;  // for 8192: the panel event the waiting command should get
};

class ServiceCmdTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        ASSERT_NE(nullptr, NewDrawing());
        view = lastView;
        ASSERT_EQ(view, GetActiveView());
        PumpFor(50);
    }
    void TearDown() override {
        ServiceWaitHook = nullptr;
        Executor().serviceCmdWaiting = 0;
        CmdInput() = InputRecord();
        FrameTest::TearDown();
    }

    // Runs the command with the script; the masks seen by each wait.
    int Run(int id, std::vector<Step> script, LPARAM arg = 0) {
        masks.clear();
        waitingSeen.clear();
        size_t next = 0;
        ServiceWaitHook = [&, script](CmdRequest* req) {
            masks.push_back(CmdInput().wantedMask);
            waitingSeen.push_back(Executor().serviceCmdWaiting);
            if (next >= script.size()) return static_cast<int>(CMD_RES_ENDED);
            const Step& s = script[next++];
            const double pt[3] = {s.x, s.y, 0};
            SetRequestPoint(req->point, pt);
            if (s.result == CMD_RES_PANEL) PostPanelEvent(1, s.panelValue, 5);
            return s.result;
        };
        const int r = ExecServiceCmd(arg, id);
        ServiceWaitHook = nullptr;
        return r;
    }

    std::vector<double> Set() {
        double s[3] = {0, 0, 0};
        ViewData* d = GetViewData(view);
        GetViewModeSet(view, d ? d->viewMode : 0, s);
        return {s[0], s[1], s[2]};
    }

    void PutSet(double x, double y, double scale) {
        const double s[3] = {x, y, scale};
        SetViewModeSet(view, GetViewData(view)->viewMode, s);
    }

    void AppendLine(double x1, double y1, double x2, double y2) {
        ElementRecord r;
        std::memset(&r, 0, sizeof r);
        r.kind = kElmLine;
        r.colour = 1;
        CadSetF64(&r, kOffP1X, x1);
        CadSetF64(&r, kOffP1Y, y1);
        CadSetF64(&r, kOffP2X, x2);
        CadSetF64(&r, kOffP2Y, y2);
        ASSERT_NE(nullptr, DAriAppendElement(&r, GetViewDb(view)));
    }

    HWND view = nullptr;
    std::vector<uint32_t> masks;
    std::vector<int> waitingSeen;
};

const uint32_t kWindowFirst = 0x2202, kWindowSecond = 0x2212;

TEST_F(ServiceCmdTest, ZoomWindowZoomsToTheDraggedRectangleAndWaitsForTheNext) {
    PutSet(0, 0, 1);
    const double before = Set()[2];
    EXPECT_EQ(1, Run(1210, {{CMD_RES_SNAPPED, 0, 0}, {CMD_RES_MOVED, 10, 5}, {CMD_RES_SNAPPED, 100, 50}}));
    const std::vector<double> s = Set();
    EXPECT_DOUBLE_EQ(-50, s[0]) << "centred on the rectangle";
    EXPECT_DOUBLE_EQ(-25, s[1]);
    EXPECT_GT(s[2], 0);
    EXPECT_NE(before, s[2]);
    // First point, a move, the second point, then the next first point.
    EXPECT_EQ((std::vector<uint32_t>{kWindowFirst, kWindowSecond, kWindowSecond, kWindowFirst}), masks);
    EXPECT_EQ(0, Executor().serviceCmdWaiting);
    EXPECT_EQ(0, IsInputLocked());
}

TEST_F(ServiceCmdTest, ZoomWindowEscapeReturnsToTheFirstPointThenEnds) {
    PutSet(3, 4, 2);
    CmdInput().wantedMask = 0x2102;  // the waiting module command's own
    EXPECT_EQ(1, Run(1210, {{CMD_RES_SNAPPED, 0, 0}, {CMD_RES_CANCEL, 0, 0}, {CMD_RES_CANCEL, 0, 0}}));
    EXPECT_EQ((std::vector<uint32_t>{kWindowFirst, kWindowSecond, kWindowFirst}), masks);
    EXPECT_EQ((std::vector<double>{3, 4, 2}), Set()) << "nothing zoomed";
    EXPECT_EQ(0, IsInputLocked());
    EXPECT_EQ(0x2102u, CmdInput().wantedMask) << "the module's record back";
    EXPECT_EQ(CMD_EV_VIEW_CHANGED, CmdInput().event) << "the closing redraw tells it the view changed";
}

TEST_F(ServiceCmdTest, ZoomWindowWithArgumentOneEndsAfterOneZoom) {
    EXPECT_EQ(1, Run(1210, {{CMD_RES_SNAPPED, 0, 0}, {CMD_RES_SNAPPED, 20, 20}, {CMD_RES_SNAPPED, 0, 0}}, 1));
    EXPECT_EQ(2u, masks.size());
    EXPECT_DOUBLE_EQ(-10, Set()[0]);
}

TEST_F(ServiceCmdTest, APanelClickEndsTheServiceCommandAndStaysPendingForTheModule) {
    struct Case {
        const char* name;
        int id;
    };
    for (const Case& c : {Case{"zoom", 1205}, Case{"scroll", 1206}, Case{"zoom window", 1210}, Case{"loupe", 1300}}) {
        CmdInput() = InputRecord();
        CmdInput().wantedMask = 0x2102;
        Run(c.id, {{CMD_RES_PANEL, 0, 0, 77}});
        EXPECT_EQ(CMD_EV_PANEL, CmdInput().event) << c.name;
        EXPECT_EQ(77, CmdInput().panelValue) << c.name;
        EXPECT_EQ(5, CmdInput().panelExtra) << c.name;
        EXPECT_EQ(0x2102u, CmdInput().wantedMask) << c.name;
        EXPECT_EQ(0, Executor().serviceCmdWaiting) << c.name;
    }
}

TEST_F(ServiceCmdTest, ZoomByClickDoublesAndHalvesTheScale) {
    PutSet(0, 0, 4);
    EXPECT_EQ(1, Run(1205, {{CMD_RES_POINT, 0, 0}}));
    EXPECT_DOUBLE_EQ(8, Set()[2]);
    EXPECT_EQ((std::vector<uint32_t>{0x2502, 0x2502}), masks);
    EXPECT_EQ(1, Run(1205, {{CMD_RES_RPOINT, 0, 0}, {CMD_RES_RPOINT, 0, 0}, {CMD_RES_CANCEL, 0, 0}}));
    EXPECT_DOUBLE_EQ(2, Set()[2]);
    for (int w : waitingSeen)
        EXPECT_EQ(1, w) << "the service-waiting flag is up while it waits";
    EXPECT_EQ(0, Executor().serviceCmdWaiting);
}

TEST_F(ServiceCmdTest, ScrollByClickKeepsTheScale) {
    PutSet(0, 0, 4);
    EXPECT_EQ(1, Run(1206, {{CMD_RES_POINT, 0, 0}, {CMD_RES_CANCEL, 0, 0}}));
    EXPECT_EQ((std::vector<uint32_t>{0x2102, 0x2102}), masks);
    EXPECT_DOUBLE_EQ(4, Set()[2]);
}

TEST_F(ServiceCmdTest, ASecondServiceCommandEndsTheWaitingOneAndIsPostedAgain) {
    Executor().serviceCmdWaiting = 1;
    MSG m;
    while (PeekMessageA(&m, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE)) {}
    EXPECT_EQ(1, Run(1210, {{CMD_RES_SNAPPED, 0, 0}}));
    EXPECT_TRUE(masks.empty()) << "no wait of its own";
    ASSERT_TRUE(PeekMessageA(&m, frame->m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(1210u, LOWORD(m.wParam));
    EXPECT_EQ(CMD_EV_END, CmdInput().event) << "the waiting one is ended";
}

TEST_F(ServiceCmdTest, PreviousViewTwiceReturnsToTheViewBeforeIt) {
    PutSet(1, 2, 3);
    PutSet(10, 20, 30);
    ExecServiceCmd(0, 1333);
    EXPECT_EQ((std::vector<double>{1, 2, 3}), Set());
    ExecServiceCmd(0, 1333);
    EXPECT_EQ((std::vector<double>{10, 20, 30}), Set());
}

TEST_F(ServiceCmdTest, ExtentsFitTheElementsAndAnEmptyDrawingKeepsItsView) {
    PutSet(7, 8, 9);
    ExecServiceCmd(0, 1334);
    EXPECT_EQ((std::vector<double>{7, 8, 9}), Set()) << "no elements";
    AppendLine(10, 20, 110, 20);
    AppendLine(10, 20, 10, 70);
    ExecServiceCmd(0, 1334);
    const std::vector<double> s = Set();
    EXPECT_DOUBLE_EQ(-60, s[0]);
    EXPECT_DOUBLE_EQ(-45, s[1]);
    RECT client;
    GetClientRect(view, &client);
    EXPECT_NEAR(std::min(client.right / 100.0, client.bottom / 50.0), s[2] / HostHooks().zoomFitRatio(view), 1e-9);
}

std::string FrameTitle(HWND view) {
    char text[300] = "";
    GetWindowTextA(GetParent(view), text, sizeof text);
    return text;
}

TEST_F(ServiceCmdTest, ASecondWindowOfAnUntitledDrawingNumbersBothTitles) {
    const std::string untitled = GetMessageText(IDS_UNTITLED);
    const std::string before = FrameTitle(view);
    ASSERT_EQ(0u, before.find(untitled)) << before;
    const int n = std::atoi(before.c_str() + untitled.size());
    ASSERT_GT(n, 0) << before;
    EXPECT_EQ(1, ExecServiceCmd(0, 1203));
    HWND second = GetActiveView();
    ASSERT_NE(view, second);
    EXPECT_EQ(GetViewDb(view), GetViewDb(second)) << "one drawing, two windows";
    const std::string base = untitled + std::to_string(n);
    EXPECT_EQ(base + " : 1", FrameTitle(view));
    EXPECT_EQ(base + " : 2", FrameTitle(second));
}

TEST_F(ServiceCmdTest, NoNewWindowMeansNoSecondWindowForEitherId) {
    // Every slot of the view table taken (by windows that are no views):
    // no window can be made.
    std::vector<int> filled;
    std::vector<HWND> fillers;
    for (int i = 0; i < kViewTableSize; ++i)
        if (!ViewTable[i]) {
            HWND filler = CreateWindowA("STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            ViewTable[i] = filler;
            fillers.push_back(filler);
            filled.push_back(i);
        }
    const int r1213 = ExecServiceCmd(0, 1213);
    const int r1203 = ExecServiceCmd(0, 1203);
    for (int i : filled)
        ViewTable[i] = nullptr;
    for (HWND filler : fillers)
        DestroyWindow(filler);
    EXPECT_EQ(1, r1213);
    EXPECT_EQ(1, r1203);
    EXPECT_EQ(1, CountDrawingViews(view)) << "the drawing keeps its one window";
    EXPECT_EQ(0, GetViewData(view)->shared);
}

TEST_F(ServiceCmdTest, MidPointHandsTheWaitingCommandTheMidPointAndGivesGroupFindBack) {
    LocalIni().iSnap2TenkanMode = 0;
    DAriSerchSetGrpFind(0);
    CmdInput().wantedMask = 0x2202;
    EXPECT_EQ(1, Run(1332, {{CMD_RES_SNAPPED, 0, 0}, {CMD_RES_SNAPPED, 10, 20}}));
    EXPECT_EQ(CMD_EV_REPEAT_POINT, CmdInput().event);
    EXPECT_DOUBLE_EQ(5, CmdWaitState().storedLastPoint[0]);
    EXPECT_DOUBLE_EQ(10, CmdWaitState().storedLastPoint[1]);
    EXPECT_EQ(0x2202u, CmdInput().wantedMask);
    EXPECT_EQ(0, DAriSerchSetGrpFind(0)) << "group find back off";
    EXPECT_EQ(0, Executor().serviceCmdWaiting);
    // Cancelled at once: group find off again as well.
    Run(1332, {{CMD_RES_CANCEL, 0, 0}});
    EXPECT_EQ(0, DAriSerchSetGrpFind(0));
    LocalIni().iSnap2TenkanMode = 1;
}

TEST_F(ServiceCmdTest, PickCommandsWithoutADrawingLeaveNoServiceWaiting) {
    SendMessageA(GetParent(view), WM_CLOSE, 0, 0);
    PumpFor(50);
    ASSERT_EQ(nullptr, GetActiveView());
    for (int id : {1304, 1336}) {
        EXPECT_EQ(0, Run(id, {{CMD_RES_CANCEL, 0, 0}})) << id;
        EXPECT_EQ(0, Executor().serviceCmdWaiting) << id;
        EXPECT_TRUE(masks.empty()) << id;
    }
}

TEST_F(ServiceCmdTest, DeleteWithLinkCheckDeletesAPickedPlainElement) {
    AppendLine(0, 0, 10, 0);
    StoredElement* e = DAriReadElement(nullptr, 0, nullptr, GetViewDb(view));
    ASSERT_NE(nullptr, e);
    masks.clear();
    size_t calls = 0;
    ServiceWaitHook = [&](CmdRequest* req) {
        masks.push_back(CmdInput().wantedMask);
        if (calls++ == 0) {
            req->picked = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(e));
            return static_cast<int>(CMD_RES_PICKED);
        }
        return static_cast<int>(CMD_RES_CANCEL);
    };
    EXPECT_EQ(1, ExecServiceCmd(0, 1336));
    ServiceWaitHook = nullptr;
    EXPECT_EQ(0, DAriGetElmNum(GetViewDb(view)));
    EXPECT_EQ(0x80003002u, masks[0]);
    EXPECT_EQ(0, Executor().serviceCmdWaiting);
}

std::vector<std::string>& DragSides() {
    static std::vector<std::string> sides;
    return sides;
}

LRESULT CALLBACK DragSinkProc(HWND w, UINT m, WPARAM wp, LPARAM lp) {
    if (m == UM_DRAG_APPEND || m == UM_DRAG_REDRAW) {
        const auto* req = reinterpret_cast<const CmdRequest*>(lp);
        char line[96];
        if (m == UM_DRAG_REDRAW) {
            wsprintfA(line, "redraw %d", req->w.mode);
        } else {
            const void* rec = reinterpret_cast<const void*>(static_cast<uintptr_t>(req->record));
            wsprintfA(line, "%d:(%d,%d)-(%d,%d)", req->w.mode, (int)CadGetF64(rec, 0x21), (int)CadGetF64(rec, 0x29),
                      (int)CadGetF64(rec, 0x39), (int)CadGetF64(rec, 0x41));
        }
        DragSides().push_back(line);
        return 1;
    }
    return DefWindowProcA(w, m, wp, lp);
}

TEST(ServiceSupport, TheDraggedRectangleIsAppendedSideBySideThenRedrawn) {
    // A stand-in main frame writes down every side it receives.
    DragSides().clear();
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DragSinkProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ZavDragSink";
    RegisterClassA(&wc);
    HWND sink = CreateWindowA("ZavDragSink", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    const HWND kept = CmdMainFrame();
    SetCmdMainFrame(sink);
    ServiceDragState().start[0] = 0;
    ServiceDragState().start[1] = 0;
    DragRectangleCallback(10, 5, 0);
    SetCmdMainFrame(kept);
    DestroyWindow(sink);
    EXPECT_EQ(
        (std::vector<std::string>{"0:(0,0)-(0,5)", "1:(0,5)-(10,5)", "2:(10,5)-(10,0)", "3:(10,0)-(0,0)", "redraw 4"}),
        DragSides());
    const unsigned char* line = DragLineElement();
    EXPECT_EQ(1, line[0]) << "a line";
    EXPECT_EQ(3, line[11]) << "colour word 3";
}

TEST(ServiceSupport, MemoColourNumberReadsTheLeadingNumber) {
    EXPECT_EQ(3, MemoColourNumber("3,"));
    EXPECT_EQ(12, MemoColourNumber("12,rest"));
    EXPECT_EQ(0, MemoColourNumber("x3,"));
    EXPECT_EQ(0, MemoColourNumber(""));
}

// A memo attached to the active drawing: its drawing names `file`.
class MemoTest : public ServiceCmdTest {
protected:
    void SetUp() override {
        ServiceCmdTest::SetUp();
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        dir = std::string(temp) + "zav_memo_" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(dir.c_str(), nullptr);
        file = dir + "\\plan.tcf";
        Write(file, "drawing");
        Write(dir + "\\plan.mem", "memo");
        std::memset(&ext, 0, sizeof ext);
        std::memset(&memo, 0, sizeof memo);
        ASSERT_EQ(1, DAriCreateDB(&memo));
        DbInfoHead info;
        std::memset(&info, 0, sizeof info);
        DAriGetDBInfo(&info, &memo);
        std::strcpy(reinterpret_cast<char*>(info.bytes + 2), file.c_str());
        DAriSetDBInfo(&info, &memo);
        ext.words[2] = static_cast<uint32_t>(reinterpret_cast<uintptr_t>(&memo));
        GetViewDb(view)->extRecord = &ext;
    }
    void TearDown() override {
        if (DbHeader* db = GetViewDb(view)) db->extRecord = nullptr;
        if (ext.words[2]) DAriDeleteDB(&memo);
        DeleteFileA(file.c_str());
        DeleteFileA((dir + "\\plan.mem").c_str());
        RemoveDirectoryA(dir.c_str());
        ServiceCmdTest::TearDown();
    }
    static void Write(const std::string& path, const char* text) {
        HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        WriteFile(h, text, static_cast<DWORD>(std::strlen(text)), &n, nullptr);
        CloseHandle(h);
    }
    static bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

    std::string dir, file;
    DbExtRecord ext;
    DbHeader memo;
};

TEST_F(MemoTest, DeletingTheMemoDeletesBothFiles) {
    win::MessageBoxTestHook boxes;
    boxes.Answer(IDYES);
    EXPECT_EQ(0, ExecServiceCmd(0, 1311));
    EXPECT_FALSE(Exists(file));
    EXPECT_FALSE(Exists(dir + "\\plan.mem"));
    EXPECT_EQ(0u, ext.words[2]) << "the memo is gone";
    EXPECT_EQ(0, HasMemoDb(view, nullptr));
}

TEST_F(MemoTest, AMemoFileInUseKeepsBothFilesAndTheMemo) {
    HANDLE held =
        CreateFileA((dir + "\\plan.mem").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, held);
    win::MessageBoxTestHook boxes;
    boxes.Answer(IDYES).Answer(IDOK);
    EXPECT_EQ(1, ExecServiceCmd(0, 1311));
    CloseHandle(held);
    ASSERT_EQ(2u, boxes.Calls().size());
    EXPECT_NE(std::string::npos, boxes.Calls()[1].text.find("メモは削除されません"));
    EXPECT_TRUE(Exists(file)) << "the drawing file of the memo stays with it";
    EXPECT_TRUE(Exists(dir + "\\plan.mem"));
    EXPECT_EQ(1, HasMemoDb(view, nullptr));
}

TEST_F(MemoTest, NoKeepsTheMemo) {
    win::MessageBoxTestHook boxes;
    boxes.Answer(IDNO);
    EXPECT_EQ(1, ExecServiceCmd(0, 1311));
    EXPECT_TRUE(Exists(file));
    EXPECT_EQ(1, HasMemoDb(view, nullptr));
}

}  // namespace

namespace {

// A text element with its settings in the library's record: height 2.5,
// character width 2.0 (aspect 0.8), spacing 0.5, and a font.
StoredElement* AppendText(DbHeader* db, const char* font) {
    ElementRecord r;
    std::memset(&r, 0, sizeof r);
    r.kind = kElmText;
    r.colour = 5;
    CadSetF64(&r, kOffTextSize1, 2.5);
    CadSetF64(&r, kOffTextSize2, 2.0);
    CadSetF64(&r, kOffTextSize3, 0.5);
    std::memcpy(reinterpret_cast<char*>(&r) + kOffTextFont, font, std::strlen(font));
    static const char kText[] = "ABC";
    CadSetPtr(&r, kOffTextPtr, kText);
    return DAriAppendElement(&r, db);
}

}  // namespace

// A text's pick-up gives the view its colour and its text settings, sizes as
// shown at the page's scale; the other windows keep theirs.
TEST_F(ServiceCmdTest, AttributePickUpOfATextTakesItsTextSettingsIntoTheView) {
    RunningTextAttr* text = ViewTextAttributes(view);
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ(Running().defaultTextAttr.fontName, text->fontName) << "a new window starts from the defaults";
    StoredElement* e = AppendText(GetViewDb(view), "ＭＳ 明朝");
    ASSERT_NE(nullptr, e);
    double factor = 1;
    ASSERT_EQ(1, GetTextScaleFactor(0, &factor));
    EXPECT_EQ(1, TakeElementAttributes(e, 0));
    EXPECT_EQ(5, GetViewData(view)->attr.color);
    EXPECT_DOUBLE_EQ(2.5 * factor, text->height);
    EXPECT_DOUBLE_EQ(0.8, text->charRatio);
    EXPECT_DOUBLE_EQ(0.5 * factor, text->interval);
    EXPECT_STREQ("ＭＳ 明朝", text->fontName);
    EXPECT_EQ(5, text->color);
    EXPECT_EQ(nullptr, ViewTextAttributes(GetParent(view))) << "only a drawing view has them";
}
