// Rules of drawing windows that reach beyond one window: clicks in a
// drawing open for reference and on linked elements, the drawing-event
// command when the last window closes, and the file lock of a drawing shown
// in two windows.
#include <cstdlib>
#include <cstring>

#include "command/cad_app_cmd.h"
#include "command/drawing_events.h"
#include "command/executor.h"
#include "command/host_hooks.h"
#include "command/link_tags.h"
#include "shell/drawing_services.h"
#include "command/wait_loop.h"
#include "shell/open_road.h"
#include "shell/save_road.h"
#include "tests/cadlib/drawing_builder.h"
#include "tests/common/dist_dir.h"
#include "view/file_lock.h"
#include "view/view_table.h"
#include "view_fixture.h"
#include "win/message_box.h"

namespace {

using WindowRules = ViewFixture;

// A release over the view after a press there, with the pointer inside the
// main window (a release elsewhere is no click).
void Click(HWND view, int x, int y) {
    RECT r;
    ::GetWindowRect(view, &r);
    ::SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    ::SendMessageA(view, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    ::SendMessageA(view, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

// A registry whose read-only list allows command 30001 only.
struct ReadOnlyList {
    CCadAppCmd registry;
    CCadAppCmd* before = GetCmdRegistry();
    ReadOnlyList() {
        CmdDefText def;
        CmdDefGroupText group;
        group.name = "TestCmd";
        group.dir = DistDir();
        group.items = {"Wait;入力待ち,30001,ZavTestCmd.dll /C:Wait,", "Other;その他,30002,ZavTestCmd.dll /C:Quick,"};
        def.groups.push_back(group);
        def.readOnlyIds = "30001";
        registry.Load(def);
        SetCmdRegistry(&registry);
    }
    ~ReadOnlyList() {
        SetCmdRegistry(before);
        Executor() = ExecutorState();
    }
};

TEST_F(WindowRules, AClickInAReferenceDrawingReachesOnlyACommandAllowedThere) {
    ReadOnlyList list;
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ASSERT_EQ(view, GetActiveView());
    struct {
        const char* name;
        int readOnly;
        int moduleRunning;
        int commandId;       // the running module command (0 none)
        int serviceWaiting;  // a built-in service command waits
        bool reaches;
    } rows[] = {
        {"writable drawing", 0, 1, 30002, 0, true},
        {"reference drawing, command allowed there", 1, 1, 30001, 0, true},
        {"reference drawing, command not allowed there", 1, 1, 30002, 0, false},
        {"reference drawing, a service command waits", 1, 0, 0, 1, true},
        {"reference drawing, nothing waits", 1, 0, 0, 0, false},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        GetViewData(view)->readOnly = r.readOnly;
        Executor().moduleCmdRunning = r.moduleRunning;
        Executor().runningModuleCmdId = r.commandId;
        Executor().serviceCmdWaiting = r.serviceWaiting;
        CmdInput().event = 0;
        Click(view, 120, 80);
        EXPECT_EQ(r.reaches ? CMD_EV_LBUTTON : 0u, CmdInput().event);
    }
    GetViewData(view)->readOnly = 0;
}

TEST_F(WindowRules, AClickOnALinkedElementIsTakenByTheLink) {
    // The link search reaches the view's record and scale through the
    // services the program installs at start-up.
    const CmdHostHooks kept = HostHooks();
    InstallDrawingServices(HostHooks());
    struct Restore {
        const CmdHostHooks& kept;
        ~Restore() { HostHooks() = kept; }
    } restore{kept};
    HWND view = NewDrawing();
    SetClientSize(view, 400, 300);
    ResetScales(view);
    ASSERT_EQ(view, GetActiveView());
    DbHeader* db = GetViewData(view)->db;
    // Drawing point (0, 0) is the client centre (200, 150); y grows upward.
    ElementRecord linked = cadtest::Line(-50, 0, 50, 0);
    StoredElement* e = DAriAppendElement(&linked, db);
    DAriSetTag(e, kLinkTag, 1);
    DAriSetTagString(e, "KOLTA21000Z01LINK OPEN_FN:plan.tcf  ");
    ElementRecord plain = cadtest::Line(-50, 100, 50, 100);
    DAriAppendElement(&plain, db);
    struct {
        const char* name;
        int commandRunning;
        int x, y;
        bool reaches;
    } rows[] = {
        {"on the linked element, no command", 0, 200, 150, false},
        {"next to it, within the pick aperture", 0, 200, 155, false},
        {"away from it", 0, 200, 250, true},
        {"on an element without a link", 0, 200, 50, true},
        {"on the linked element while a command waits", 1, 200, 150, true},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        Executor().moduleCmdRunning = r.commandRunning;
        CmdInput().event = 0;
        Click(view, r.x, r.y);
        EXPECT_EQ(r.reaches ? CMD_EV_LBUTTON : 0u, CmdInput().event);
    }
    Executor() = ExecutorState();
    double at[3] = {0, 0, 0};
    EXPECT_EQ(1, FindLinkTagAtPoint(view, at));
    double away[3] = {0, -100, 0};
    EXPECT_EQ(0, FindLinkTagAtPoint(view, away));
}

TEST_F(WindowRules, TheLastWindowClosingTellsTheModuleThatSavedWhileClosing) {
    TempDir dir("event");
    const std::string logFile = dir.File("testcmd.log");
    ::SetEnvironmentVariableA("ZAV_TESTCMD_LOG", logFile.c_str());
    CCadAppCmd events;
    CmdDefText def;
    CmdDefGroupText group;
    group.name = "Events";
    group.dir = DistDir();
    group.items = {"AllClosed;全図面終了,6202,ZavTestCmd.dll /C:Quick,"};
    def.groups.push_back(group);
    events.Load(def);
    CCadAppCmd* before = GetCmdRegistry();
    SetCmdRegistry(&events);
    struct {
        const char* name;
        int closingFlag;
        int windows;
        bool told;
    } rows[] = {
        {"no drawing event while closing", 0, 1, false},
        {"a window of several closes", 1, 2, false},
        {"the last window closes", 1, 1, true},
    };
    for (auto& r : rows) {
        SCOPED_TRACE(r.name);
        ::DeleteFileA(logFile.c_str());
        DrawingEventClosingFlag = r.closingFlag;
        HWND first = NewDrawing();
        for (int i = 1; i < r.windows; ++i)
            NewDrawing();
        ::SendMessageA(::GetParent(first), WM_CLOSE, 0, 0);
        Pump();
        EXPECT_FALSE(::IsWindow(first));
        EXPECT_EQ(r.told, ReadBytes(logFile).find("TESTCMD quick") != std::string::npos) << ReadBytes(logFile);
        while (ViewTable[0]) {
            ::SendMessageA(::GetParent(ViewTable[0]), WM_CLOSE, 0, 0);
            Pump();
        }
    }
    DrawingEventClosingFlag = 0;
    SetCmdRegistry(before);
    ::SetEnvironmentVariableA("ZAV_TESTCMD_LOG", nullptr);
}

TEST_F(WindowRules, TheFileOfADrawingInTwoWindowsStaysLockedUntilBothClose) {
    for (bool saveFromSecond : {false, true}) {
        SCOPED_TRACE(saveFromSecond ? "saved from the second window" : "closed as opened");
        TempDir dir("shared");
        Running().SHARE = 1;
        Running().WRITECHK = 1;
        const std::string path = dir.File("shared.tcf");
        WriteDrawingFile(path, 2);
        {
            win::MessageBoxTestHook quiet;
            ASSERT_EQ(1, OpenDrawingFile(m_main.m_hWnd, path.c_str()));
        }
        HWND first = ViewTable[0];
        HWND second = NewDrawing();
        ASSERT_EQ(1, ShareDrawingOfView(second, first));
        EXPECT_FALSE(OthersCanWrite(path));
        if (saveFromSecond) {
            char name[260];
            std::strcpy(name, path.c_str());
            EXPECT_EQ(1, SaveDrawingFile(second, name)) << "the drawing's own lock does not stop it";
            EXPECT_FALSE(OthersCanWrite(path)) << "held again after the save";
        }
        ::SendMessageA(::GetParent(first), WM_CLOSE, 0, 0);
        Pump();
        EXPECT_FALSE(OthersCanWrite(path)) << "the other window still shows the drawing";
        ::SendMessageA(::GetParent(second), WM_CLOSE, 0, 0);
        Pump();
        EXPECT_TRUE(OthersCanWrite(path)) << "free once no window shows it";
    }
}

}  // namespace
