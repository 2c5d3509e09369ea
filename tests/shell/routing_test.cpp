// The main frame's routing of command ids, the no-drawing filter, the
// filter chain of the main loop, drawing windows and the close road.
#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <algorithm>

#include "cadlib/WmCadApiDb.h"
#include "command/command_ids.h"
#include "command/executor.h"
#include "command/wait_loop.h"
#include "frame_fixture.h"
#include "shell/save_road.h"
#include "shell/command_line.h"
#include "panels/rp_menu.h"
#include "view/cadwin_frame.h"
#include "view/view_data.h"
#include "win/dialog.h"
#include "win/message_box.h"

namespace {

struct RouteCase {
    const char* name;
    bool drawing;  // a drawing window is open and active
    int id;
    const char* arg;  // argument text in lParam, or null
    const char* taken;
};

const RouteCase kRoutes[] = {
    {"system command, no drawing", false, 4001, nullptr, "exec 4001"},
    {"module command, no drawing: dropped", false, 5103, nullptr, ""},
    {"module command", true, 5103, nullptr, "exec 5103"},
    {"module command keeps its argument", true, 21500, "/abc", "exec 21500:/abc"},
    {"toolbar button", true, 45105, nullptr, "exec 5300"},
    {"toolbar button, no drawing: dropped", false, 45105, nullptr, ""},
    {"toolbar id without a button", true, 45950, nullptr, ""},
    {"toolbar range ends at 45999", true, 45099, nullptr, "child 45099"},
    {"service command", false, 1201, nullptr, "Service 1201"},
    {"settings command 1229", false, 1229, nullptr, "Service 1229"},
    // The panel road enters the keyboard cursor through the tool panel's
    // button, and the view is redrawn for it.
    {"interrupt command", true, 3005, nullptr, "Interrupt 3005 Service 1314"},
    {"arrow step up also reaches the views", true, 3001, nullptr, "child 3000 Interrupt 3001"},
    {"drawing window command", true, 1100, nullptr, "child 1100"},
    {"unrouted id reaches the drawing", true, 1700, nullptr, "child 1700"},
    {"high id, no drawing: dropped", false, 45000, nullptr, ""},
    {"pane toggle passes the filter", true, 40002, nullptr, "child 40002"},
    {"status bar toggle passes", true, 59393, nullptr, "child 59393"},
    {"last module command", true, 39999, nullptr, "exec 39999"},
};

TEST_F(FrameTest, RoutesEveryIdRange) {
    win::ModalDialogTestHook dialogs;  // the settings sheet of 1229 is not this test's
    HWND child = nullptr;
    for (const RouteCase& c : kRoutes) {
        if (c.drawing && !child) child = NewDrawing();
        if (!c.drawing && child) {
            SendMessageA(child, WM_CLOSE, 0, 0);
            child = nullptr;
        }
        ASSERT_EQ(c.drawing, ActiveChild() != nullptr) << c.name;
        Taken();
        Command(c.id, (LPARAM)c.arg);
        EXPECT_EQ(c.taken, Taken()) << c.name;
    }
}

TEST_F(FrameTest, ControlHandlesAreNotArguments) {
    HWND control = CreateWindowA("STATIC", "", WS_CHILD, 0, 0, 1, 1, frame->m_hWnd, nullptr, nullptr, nullptr);
    execAnswers[4001] = 1;
    ExecCmdHook = [](int id, LPARAM arg) {
        FrameTest::log.push_back("exec " + std::to_string(id) + " lParam " + std::to_string(arg));
        return 1;
    };
    Command(4001, (LPARAM)control);
    EXPECT_EQ("exec 4001 lParam 0", Taken());
}

TEST_F(FrameTest, NoDrawingFilterLetsOnlySystemStartedCommandsThrough) {
    Command(20027);
    EXPECT_EQ("", Taken()) << "typed by the user: filtered";
    CMainFrame::AllowSystemCommand(20027);
    Command(20027);
    EXPECT_EQ("exec 20027", Taken()) << "started by the system: runs";
    Command(20027);
    EXPECT_EQ("", Taken()) << "the pass is used up";
    // The status-bar toggle works without a drawing; the toolbar toggle not.
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(frame->m_statusBar.IsWindowVisible());
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(frame->m_statusBar.IsWindowVisible());
    Command(ID_VIEW_TOOLBAR);
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_STYLE;
    SendMessageA(frame->m_toolbars.Rebar(), RB_GETBANDINFOA, 1, (LPARAM)&info);
    EXPECT_FALSE(info.fStyle & RBBS_HIDDEN);
}

TEST_F(FrameTest, CommandAcceptanceFlag) {
    win::ModalDialogTestHook dialogs;
    SendMessageA(frame->m_hWnd, UM_END_ACK_FLAG, 0, 0);  // not accepting
    Command(4001);
    Command(1229);
    Command(1201);
    EXPECT_EQ("Service 1201", Taken());
    SendMessageA(frame->m_hWnd, UM_END_ACK_FLAG, 0, 1);
    Command(4001);
    EXPECT_EQ("exec 4001", Taken());
}

TEST_F(FrameTest, NotDoneCommandFallsToTheFramesOwnEntry) {
    execAnswers[4000] = 0;
    Command(4000);
    Command(4000);
    frame->NewDrawingWindow(frame->m_hWnd, 1, nullptr, nullptr);  // a file: no number used
    Command(4000);
    std::vector<std::string> titles = DrawingTitles(frame->m_hWnd);
    std::sort(titles.begin(), titles.end());
    ASSERT_EQ(4u, titles.size());
    EXPECT_EQ("Vantrel", titles[0]) << "a window for a file keeps the title until the file's";
    EXPECT_EQ("無題1", titles[1]);
    EXPECT_EQ("無題2", titles[2]);
    EXPECT_EQ("無題3", titles[3]);
}

TEST_F(FrameTest, NotDoneCommandClosesAHiddenFrame) {
    execAnswers[4001] = 0;
    frame->ShowWindow(SW_HIDE);
    Command(4001);
    PumpFor(100);
    EXPECT_FALSE(IsWindow(frame->m_hWnd)) << "the application ends";
}

TEST_F(FrameTest, ButtonsOfTheRunningCommandShowPressed) {
    NMHDR nm = {frame->m_hWnd, 6000, CMD_NOTIFY_START};
    SendMessageA(frame->m_hWnd, WM_NOTIFY, 6000, (LPARAM)&nm);
    HWND drawTb = frame->m_toolbars.ToolbarWindow(7);
    EXPECT_TRUE(SendMessageA(drawTb, TB_ISBUTTONCHECKED, 45500, 0));
    nm.code = CMD_NOTIFY_END;
    SendMessageA(frame->m_hWnd, WM_NOTIFY, 6000, (LPARAM)&nm);
    EXPECT_FALSE(SendMessageA(drawTb, TB_ISBUTTONCHECKED, 45500, 0));
    // From another sender the codes mean nothing here.
    NMHDR other = {drawTb, 6000, CMD_NOTIFY_START};
    SendMessageA(frame->m_hWnd, WM_NOTIFY, 6000, (LPARAM)&other);
    EXPECT_FALSE(SendMessageA(drawTb, TB_ISBUTTONCHECKED, 45500, 0));
}

TEST_F(FrameTest, ToolbarTooltipsComeFromTheButtonStrings) {
    struct {
        UINT button;
        const char* tip;
    } rows[] = {{45100, "新規作成"}, {45200, "距離"}, {45706, "ｸﾘｯﾌﾟﾎﾞｰﾄﾞ転送"}};
    HWND tb = frame->m_toolbars.ToolbarWindow(0);
    for (auto& r : rows) {
        NMTTDISPINFOA info = {};
        info.hdr.hwndFrom = tb;
        info.hdr.idFrom = r.button;
        info.hdr.code = TTN_GETDISPINFOA;
        SendMessageA(frame->m_hWnd, WM_NOTIFY, 0, (LPARAM)&info);
        ASSERT_NE(nullptr, info.lpszText) << r.button;
        EXPECT_STREQ(r.tip, info.lpszText) << r.button;
    }
}

class DestroyCommandTest : public FrameTest {
protected:
    std::string CloseAfterARun(const std::string& saveTo) {
        DrawingSavedFlag = 0;
        WritePrivateProfileStringA("BOOT", "/S", "21500", env.ini.c_str());
        WritePrivateProfileStringA("DESTROY", "/S", "21501", env.ini.c_str());
        ParseCommandLine(frame->m_hWnd, "/s", -1);
        PumpFor(50);
        NewDrawing();
        if (!saveTo.empty()) {
            char name[260];
            lstrcpynA(name, saveTo.c_str(), sizeof name);
            EXPECT_EQ(1, SaveDrawingFile(lastView, name));
            EXPECT_FALSE(ReadWholeFile(saveTo).empty());
        }
        Taken();
        SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
        EXPECT_FALSE(IsWindow(frame->m_hWnd));
        std::string taken = Taken();
        DrawingSavedFlag = 0;
        return taken;
    }
};

// The word the save road sets is the one the close reads.
TEST_F(DestroyCommandTest, KnowsThatNothingWasSaved) {
    EXPECT_EQ("exec 21501:/s/Save0 DESTROY 21501 /s/Save0", CloseAfterARun(""));
}

TEST_F(DestroyCommandTest, KnowsThatADrawingWasSaved) {
    TempFolder files("destroy");
    EXPECT_EQ("exec 21501:/s/Save1 DESTROY 21501 /s/Save1", CloseAfterARun(files.File("saved.tcf")));
}

TEST_F(FrameTest, CloseWaitsForTheRunningCommandToEnd) {
    DrawingSavedFlag = 0;
    WritePrivateProfileStringA("BOOT", "/S", "21500", env.ini.c_str());
    WritePrivateProfileStringA("DESTROY", "/S", "21501", env.ini.c_str());
    ParseCommandLine(frame->m_hWnd, "/s", -1);
    PumpFor(50);
    NewDrawing();
    Taken();
    // A module command is inside its "StartCmd", waiting for input.
    Executor().moduleCmdRunning = 1;
    CmdInput().event = 0;
    SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame->m_hWnd)) << "the frame outlives the running command";
    EXPECT_TRUE(IsWindow(ActiveChild())) << "no drawing closes under it";
    EXPECT_EQ(CMD_EV_END, CmdInput().event) << "the command is told to end";
    PumpFor(200);
    EXPECT_TRUE(IsWindow(frame->m_hWnd)) << "still running: the close keeps waiting";
    EXPECT_EQ("", Taken()) << "no DESTROY command yet";
    // The module returns from its wait; the close is taken up again.
    Executor().moduleCmdRunning = 0;
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(frame->m_hWnd); }, 5000));
    EXPECT_EQ("exec 21501:/s/Save0 DESTROY 21501 /s/Save0", Taken());
}

MSG KeyMsg(HWND w, UINT message, WPARAM key) {
    MSG m = {};
    m.hwnd = w;
    m.message = message;
    m.wParam = key;
    return m;
}

TEST_F(FrameTest, FilterChainOrder) {
    NewDrawing();
    HWND view = lastView;
    Taken();
    struct {
        const char* name;
        MSG msg;
        BOOL stopped;
        const char* taken;
        const char* typed;
    } rows[] = {
        {"digit goes to the prompt bar first", KeyMsg(view, WM_CHAR, '5'), TRUE, "", "5"},
        {"decimal point continues a number", KeyMsg(view, WM_KEYDOWN, VK_DECIMAL), TRUE, "", "5."},
        {"shortcut key F5", KeyMsg(view, WM_KEYDOWN, VK_F5), TRUE, "Service 1314", "5."},
        {"other keys go to the drawing", KeyMsg(view, WM_KEYDOWN, VK_F12), FALSE, "fwd 123", "5."},
        {"letters are not number input", KeyMsg(view, WM_CHAR, 'a'), FALSE, "fwd 97", "5."},
    };
    for (auto& r : rows) {
        EXPECT_EQ(r.stopped, frame->PreTranslateMessage(&r.msg)) << r.name;
        EXPECT_EQ(r.taken, Taken()) << r.name;
        EXPECT_EQ(r.typed, frame->m_statusBar.GetPane(2).text) << r.name;
    }

    // The application panel's list pop-up swallows keys before anything else.
    HWND popup = CreateWindowA("STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    AppPanelListPopup = popup;
    MSG f5 = KeyMsg(popup, WM_KEYDOWN, VK_F5);
    EXPECT_TRUE(frame->PreTranslateMessage(&f5));
    EXPECT_EQ("", Taken());
    AppPanelListPopup = nullptr;

    // A registered modeless dialog comes first of all.
    HWND dlg = CreateWindowExA(WS_EX_CONTROLPARENT, "#32770", "dlg", WS_POPUP, 0, 0, 100, 100, frame->m_hWnd, nullptr,
                               nullptr, nullptr);
    HWND edit =
        CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 0, 0, 50, 20, dlg, (HMENU)1, nullptr, nullptr);
    EXPECT_EQ(nullptr, (HWND)SendMessageA(frame->m_hWnd, UM_SET_MODELESS_DIALOG, 100, (LPARAM)dlg));
    EXPECT_EQ(nullptr, (HWND)SendMessageA(frame->m_hWnd, UM_SET_MODELESS_DIALOG, 7, (LPARAM)edit))
        << "another wParam changes nothing";
    MSG seven = KeyMsg(edit, WM_CHAR, '7');
    EXPECT_TRUE(frame->PreTranslateMessage(&seven));
    EXPECT_EQ("5.", frame->m_statusBar.GetPane(2).text) << "the dialog took the digit";
    EXPECT_EQ(dlg, (HWND)SendMessageA(frame->m_hWnd, UM_SET_MODELESS_DIALOG, 100, 0));
    DestroyWindow(dlg);
    DestroyWindow(popup);
}

TEST_F(FrameTest, DigitsTypedIntoAnEditBoxStayThere) {
    NewDrawing();
    HWND edit =
        CreateWindowA("EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20, frame->m_hWnd, (HMENU)77, nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    for (WPARAM c : {(WPARAM)'5', (WPARAM)'-'}) {
        MSG m = KeyMsg(edit, WM_CHAR, c);
        EXPECT_FALSE(frame->PreTranslateMessage(&m)) << (char)c;
    }
    EXPECT_EQ("", frame->m_statusBar.GetPane(2).text) << "no number entry started";
    // The drawing itself still starts number entry.
    MSG m = KeyMsg(lastView, WM_CHAR, '5');
    EXPECT_TRUE(frame->PreTranslateMessage(&m));
    EXPECT_EQ("5", frame->m_statusBar.GetPane(2).text);
    DestroyWindow(edit);
}

TEST_F(FrameTest, ArrowKeysStepOnlyInKeyboardModes) {
    NewDrawing();
    Taken();
    MSG left = KeyMsg(ActiveChild(), WM_KEYDOWN, VK_LEFT);
    EXPECT_FALSE(frame->PreTranslateMessage(&left));
    EXPECT_EQ("fwd 37", Taken());
    GetCadSystem().m_keyCursorMode = 1;
    EXPECT_TRUE(frame->PreTranslateMessage(&left));
    GetCadSystem().m_keyCursorMode = 0;
    EXPECT_EQ("Interrupt 3003", Taken());
    KeyboardScrollMode = 1;
    MSG down = KeyMsg(ActiveChild(), WM_KEYDOWN, VK_DOWN);
    EXPECT_TRUE(frame->PreTranslateMessage(&down));
    KeyboardScrollMode = 0;
    EXPECT_EQ("Interrupt 3002", Taken());
    MSG dot = KeyMsg(ActiveChild(), WM_CHAR, '.');
    EXPECT_FALSE(frame->PreTranslateMessage(&dot)) << "a point does not start a number";
}

TEST_F(FrameTest, AnswersItsOwnHostMessages) {
    EXPECT_EQ((LRESULT)frame->m_statusBar.m_hWnd, SendMessageA(frame->m_hWnd, UM_GET_CMDPANEL, 100, 0));
    EXPECT_EQ(0, SendMessageA(frame->m_hWnd, UM_GET_CMDPANEL, 5, 0));
    EXPECT_EQ((LRESULT)&frame->m_accel, SendMessageA(frame->m_hWnd, UM_GET_ACCELERATOR, 0, 0));
    EXPECT_EQ(frame->m_hWnd, MainFrameWindow());
    EXPECT_EQ(frame->m_statusBar.m_hWnd, StatusBarWindow());
    EXPECT_EQ(frame->m_hWndMDIClient, MdiClientWindow());
    HWND child = NewDrawing();
    EXPECT_EQ((LRESULT)child, SendMessageA(frame->m_hWnd, WM_MDIGETACTIVE, 0, 0));
    char cls[64] = {};
    GetClassNameA(frame->m_hWnd, cls, sizeof cls);
    EXPECT_STREQ("Quillmar001", cls);
    EXPECT_EQ(nullptr, GetMenu(frame->m_hWnd)) << "the command bar shows the menu";
    EXPECT_EQ(GetCadSystem().m_mainMenu.Handle(), frame->m_cmdBar.Menu());
    EXPECT_GE(SendMessageA(frame->m_cmdBar.m_hWnd, TB_BUTTONCOUNT, 0, 0), 10);
}

TEST_F(FrameTest, CurrentPageAndLayerReachTheDrawing) {
    NewDrawing();
    ViewData* d = GetViewData(lastView);
    ASSERT_TRUE(d && d->db);
    d->db->pages.currentPage = 9;
    GetCadSystem().SetCurrentPageLayer(0, 5);
    EXPECT_EQ(0, d->db->pages.currentPage);
    DbInfo* info = DAriGetDbInfoPtr(0, d->db);
    ASSERT_NE(nullptr, info);
    EXPECT_EQ(5, info->layers.inputLayer) << "new elements go to the current layer";
    EXPECT_EQ(0, GetCadSystem().m_currentPage);
    EXPECT_EQ(5, GetCadSystem().m_currentLayer);
}

TEST_F(FrameTest, CloseAsksEachModifiedDrawingAndAVetoKeepsAll) {
    HWND a = NewDrawing();
    HWND b = NewDrawing();
    SetModified(a);
    SetModified(b);
    win::MessageBoxTestHook boxes;
    boxes.Answer(IDNO).Answer(IDCANCEL);
    SendMessageA(frame->m_hWnd, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(frame->m_hWnd)) << "the veto cancels the close";
    EXPECT_EQ(2u, boxes.Calls().size());
    int alive = (IsWindow(a) ? 1 : 0) + (IsWindow(b) ? 1 : 0);
    EXPECT_EQ(1, alive);
}

TEST_F(FrameTest, LoggingOffAsksBeforeDrawingsAreLost) {
    HWND a = NewDrawing();
    SetModified(a);
    CadwinSaveHandler = [](HWND view) {
        ShellTrace("Saved %d", (int)(view != nullptr));
        return 1;
    };
    {
        win::MessageBoxTestHook boxes;
        boxes.Answer(IDCANCEL);
        EXPECT_FALSE(SendMessageA(frame->m_hWnd, WM_QUERYENDSESSION, 0, 0)) << "the user kept it";
        EXPECT_TRUE(IsWindow(a));
        EXPECT_TRUE(IsWindow(frame->m_hWnd));
    }
    {
        win::MessageBoxTestHook boxes;
        boxes.Answer(IDYES);
        EXPECT_TRUE(SendMessageA(frame->m_hWnd, WM_QUERYENDSESSION, 0, 0));
        EXPECT_NE(std::string::npos, ShellTraceText().find("Saved 1"));
        EXPECT_FALSE(IsWindow(a));
    }
    CadwinSaveHandler = nullptr;
    SendMessageA(frame->m_hWnd, WM_ENDSESSION, TRUE, 0);
    EXPECT_FALSE(IsWindow(frame->m_hWnd)) << "the session ends through the normal shut-down";
}

TEST_F(FrameTest, DroppedFilesOpenInOrder) {
    TempFolder files("drop");
    std::string a = WriteDrawing(files, "a.tcf");
    std::string b = WriteDrawing(files, "b.tcf");
    std::vector<char> buf(sizeof(DROPFILES));
    for (const std::string& p : {a, b})
        buf.insert(buf.end(), p.c_str(), p.c_str() + p.size() + 1);
    buf.push_back(0);
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, buf.size());
    DROPFILES* df = (DROPFILES*)GlobalLock(mem);
    memcpy(df, buf.data(), buf.size());
    df->pFiles = sizeof(DROPFILES);
    df->fWide = FALSE;
    GlobalUnlock(mem);
    SendMessageA(frame->m_hWnd, WM_DROPFILES, (WPARAM)mem, 0);
    std::vector<std::string> titles = DrawingTitles(frame->m_hWnd);
    ASSERT_EQ(2u, titles.size());
    std::string trace = ShellTraceText();
    EXPECT_LT(trace.find("Open " + a), trace.find("Open " + b));
}

}  // namespace

TEST_F(FrameTest, MenuBarStandsInTheFirstRebarBandWithItsMenu) {
    CMDICommandBarCtrlEx& bar = frame->m_cmdBar;
    ASSERT_NE(nullptr, bar.m_hWnd);
    EXPECT_GT(bar.ButtonCount(), 5);  // the top-level menus of ZavIrurer.mnu
    RECT rc = {};
    ::GetWindowRect(bar.m_hWnd, &rc);
    EXPECT_GE(rc.bottom - rc.top, 16) << "a band of no height hides the menu bar";
    EXPECT_EQ(nullptr, ::GetMenu(frame->m_hWnd)) << "the frame shows no menu of its own";
}

TEST_F(FrameTest, ViewMenuCheckMarksFollowTheBarsWhenItOpens) {
    NewDrawing();                                                    // the toolbar toggle needs a drawing
    HMENU view = GetSubMenu(GetCadSystem().m_mainMenu.Handle(), 2);  // 表示(&V)
    ASSERT_NE(nullptr, view);
    auto checked = [&](UINT id) { return (GetMenuState(view, id, MF_BYCOMMAND) & MF_CHECKED) != 0; };
    auto open = [&] {
        frame->OnIdle();
        SendMessageA(frame->m_hWnd, WM_INITMENUPOPUP, (WPARAM)view, MAKELPARAM(2, FALSE));
    };
    open();
    EXPECT_TRUE(checked(ID_VIEW_STATUS_BAR)) << "status bar shown";
    EXPECT_TRUE(checked(ID_VIEW_TOOLBAR)) << "toolbar band shown";
    // Marks set by hand on the menu are put right when it opens again.
    Command(ID_VIEW_STATUS_BAR);
    CheckMenuItem(view, ID_VIEW_STATUS_BAR, MF_BYCOMMAND | MF_CHECKED);
    open();
    EXPECT_FALSE(checked(ID_VIEW_STATUS_BAR)) << "status bar hidden";
    EXPECT_EQ(0, frame->m_ui.UIGetCheck(ID_VIEW_STATUS_BAR));
    Command(ID_VIEW_TOOLBAR);
    open();
    EXPECT_FALSE(checked(ID_VIEW_TOOLBAR)) << "toolbar band hidden";
    Command(ID_VIEW_STATUS_BAR);
    Command(ID_VIEW_TOOLBAR);
    open();
    EXPECT_TRUE(checked(ID_VIEW_STATUS_BAR));
    EXPECT_TRUE(checked(ID_VIEW_TOOLBAR));
}

TEST_F(FrameTest, MaximisedDrawingWindowKeepsItsButtonsInTheMenuBar) {
    HWND child = NewDrawing();
    ASSERT_NE(nullptr, child);
    CMDICommandBarCtrlEx& bar = frame->m_cmdBar;
    frame->OnIdle();
    EXPECT_EQ(nullptr, bar.MaximisedChild());
    SendMessageA(frame->m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)child, 0);
    ASSERT_TRUE(IsZoomed(child));
    frame->OnIdle();
    EXPECT_EQ(child, bar.MaximisedChild());
    RECT client, restore = bar.MdiButtonRect(2), close = bar.MdiButtonRect(3);
    GetClientRect(bar.m_hWnd, &client);
    EXPECT_LE(close.right, client.right);
    EXPECT_GT(close.left, restore.left) << "close stands rightmost";
    RECT icon = bar.MdiButtonRect(0), first = {};
    SendMessageA(bar.m_hWnd, TB_GETITEMRECT, 0, (LPARAM)&first);
    EXPECT_GE(first.left, icon.right) << "the first menu stands right of the icon";
    // A click on restore brings the window back to its size.
    auto click = [&](RECT rc) {
        LPARAM at = MAKELPARAM((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2);
        SendMessageA(bar.m_hWnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
        SendMessageA(bar.m_hWnd, WM_LBUTTONUP, 0, at);
        PumpFor(50);
    };
    click(restore);
    EXPECT_FALSE(IsZoomed(child));
    frame->OnIdle();
    EXPECT_EQ(nullptr, bar.MaximisedChild()) << "the buttons go with the maximised state";
    // Maximised again, close shuts the drawing window.
    SendMessageA(frame->m_hWndMDIClient, WM_MDIMAXIMIZE, (WPARAM)child, 0);
    frame->OnIdle();
    click(bar.MdiButtonRect(3));
    EXPECT_FALSE(IsWindow(child));
}

TEST_F(FrameTest, MenuMarksFollowTheActiveDrawing) {
    NewDrawing();
    ViewData* d = GetViewData(lastView);
    ASSERT_NE(nullptr, d);
    CMainMenu& menu = GetCadSystem().m_mainMenu;
    auto state = [&](UINT id) { return GetMenuState(menu.Handle(), id, MF_BYCOMMAND); };
    struct Case {
        int viewMode, overview;
        UINT checked, unchecked1, unchecked2;
    } cases[] = {
        {0, 0, 4040, 4039, 5955},  // model space
        {1, 1, 4039, 4040, 5955},  // paper space, overview on
        {2, 0, 5955, 4039, 4040},  // frame view
    };
    for (const Case& c : cases) {
        d->viewMode = c.viewMode;
        d->overviewLevel = c.overview;
        menu.UpdateItems(nullptr);
        SCOPED_TRACE(c.viewMode);
        EXPECT_TRUE(state(c.checked) & MF_CHECKED);
        EXPECT_FALSE(state(c.unchecked1) & MF_CHECKED);
        EXPECT_FALSE(state(c.unchecked2) & MF_CHECKED);
        EXPECT_EQ(c.overview != 0, (state(1230) & MF_CHECKED) != 0);
    }
    EXPECT_TRUE(state(1209) & MF_GRAYED) << "a new drawing has nothing to undo";
    EXPECT_TRUE(state(1208) & MF_GRAYED) << "nor to redo";
    d->viewMode = 0;
    d->overviewLevel = 0;
}

TEST_F(FrameTest, StartUpMakesTheRightClickPopup) {
    // The drawing views open it on a right click; without it they show nothing.
    EXPECT_NE(nullptr, RPMenuWindow());
}

TEST_F(FrameTest, NewDrawingsInformationCarriesItsUntitledName) {
    HWND child = NewDrawing();
    NewDrawing();
    for (HWND view : {(HWND)SendMessageA(child, UM_GET_VIEW, 0, 0), lastView}) {
        ViewData* d = GetViewData(view);
        ASSERT_TRUE(d && d->db);
        std::vector<char> head(kDbInfoHeadSize);
        ASSERT_TRUE(DAriGetDBInfo(head.data(), d->db));
        char title[64] = {};
        GetWindowTextA(GetParent(view), title, sizeof title);
        EXPECT_STREQ(title, head.data() + kInfoTitle) << "window and drawing name the same";
    }
}
