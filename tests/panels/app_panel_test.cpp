// The application panel on real windows: pages built into the docked panel,
// a floating form and the pop-up's copy, and the items driven by mouse and
// key messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "command/command_system.h"
#include "command/host_messages.h"
#include "command/wait_loop.h"
#include "panels/app_panel.h"
#include "panels/app_panel_dlg.h"
#include "panels/pbox.h"
#include "panels/pbox_input_items.h"
#include "panels/rp_menu.h"
#include "panels/tool_buttons.h"

namespace {

void Pump() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
}

// A frame with an MDI client stand-in and the docked panel inside it.
class AppPanelTest : public ::testing::Test {
protected:
    struct Frame : CWindowBase {
        std::vector<std::pair<UINT, WPARAM>> seen;
        BEGIN_MSG_MAP(Frame)
        MESSAGE_HANDLER(WM_COMMAND, OnAny)
        MESSAGE_HANDLER(UM_END_CMD, OnAny)
        END_MSG_MAP()
        LRESULT OnAny(UINT m, WPARAM w, LPARAM, BOOL&) {
            seen.push_back({m, w});
            return 0;
        }
    };

    void SetUp() override {
        ClearAllPBoxPages();
        CreateArgs a;
        a.title = "panel test";
        a.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN;
        a.x = 0;
        a.y = 0;
        a.cx = 800;
        a.cy = 600;
        ASSERT_NE(nullptr, frame.Create(a));
        mdi = ::CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE, 0, 100, 500, 400, frame.m_hWnd, nullptr,
                                nullptr, nullptr);
        SetCmdMainFrame(frame.m_hWnd);
        SetCmdMdiClient(mdi);
        CreateArgs p;
        ASSERT_NE(nullptr, panel.Create(frame.m_hWnd));
        ::MoveWindow(panel.m_hWnd, 520, 0, 260, 80, TRUE);
        CmdInput() = InputRecord{};
        Pump();
    }
    void TearDown() override {
        ClearAllPBoxPages();
        ClosePBoxPage(4, 1);
        SetCmdMainFrame(nullptr);
        SetCmdMdiClient(nullptr);
        for (PBoxPage& page : PBoxPageTable)
            if (page.form && page.form->m_hWnd) ::DestroyWindow(page.form->m_hWnd);
        if (panel.m_hWnd) ::DestroyWindow(panel.m_hWnd);
        if (frame.m_hWnd) ::DestroyWindow(frame.m_hWnd);
        Pump();
    }

    static PBoxAddRequest Add(int page, int id, const char* text, int x, int y, int w = 40, int h = 22) {
        PBoxAddRequest r;
        std::memset(&r, 0, sizeof r);
        r.page = page;
        r.id = id;
        r.text = text;
        r.x = x;
        r.y = y;
        r.width = w;
        r.height = h;
        return r;
    }
    static int Show(int page, int width, int height) {
        PBoxAddRequest r;
        std::memset(&r, 0, sizeof r);
        r.page = page;
        r.id = width;
        r.text = reinterpret_cast<const char*>((intptr_t)height);
        return ShowPBoxPage(0, &r);
    }
    static HWND ItemWindow(int page, int index) {
        CPanelItem* w = PBoxItemWindow(page, index);
        return w ? w->m_hWnd : nullptr;
    }
    static RECT RectIn(HWND w, HWND host) {
        RECT r;
        ::GetWindowRect(w, &r);
        ::MapWindowPoints(nullptr, host, reinterpret_cast<POINT*>(&r), 2);
        return r;
    }
    static void Click(HWND w, int x, int y) {
        ::SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        ::SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
    }

    Frame frame;
    CAppPanel panel;
    HWND mdi = nullptr;
};

TEST_F(AppPanelTest, DockedPageBuildsEveryItemAtItsRectangle) {
    const int page = OpenPBoxPage(0, "p");
    PBoxAddRequest items[] = {Add(page, 1, "実行", 2, 4),          Add(page, 2, "両側", 44, 4),
                              Add(page, 3, "左,中,右", 86, 4, 90), Add(page, 4, "A,B", 2, 30),
                              Add(page, 5, "10", 44, 30),          Add(page, 6, "見出し", 86, 30),
                              Add(page, 7, "1,2", 130, 30, 60)};
    AddPBoxButton(0, &items[0]);
    AddPBoxCheck(0, &items[1]);
    AddPBoxRadio(0, &items[2]);
    AddPBoxComboList(0, &items[3]);
    AddPBoxEdit(0, &items[4]);
    AddPBoxText(0, &items[5]);
    AddPBoxCombo(0, &items[6]);
    ASSERT_EQ(1, Show(page, 200, 60));
    EXPECT_EQ(page, DockedPBoxPage);
    EXPECT_EQ((intptr_t)panel.m_hWnd, PBoxPageTable[page].host);
    for (int i = 0; i < 7; ++i) {
        HWND w = ItemWindow(page, i);
        ASSERT_NE(nullptr, w) << i;
        EXPECT_EQ(panel.m_hWnd, ::GetParent(w));
        EXPECT_EQ(items[i].id, ::GetDlgCtrlID(w));
        const RECT r = RectIn(w, panel.m_hWnd);
        EXPECT_EQ(items[i].x, r.left) << i;
        EXPECT_EQ(items[i].y, r.top) << i;
        EXPECT_EQ(items[i].width, r.right - r.left) << i;
    }
    EXPECT_NE(nullptr, PBoxPageTable[page].items[3].listWindow);
    // Shown again: one set of windows, in the same place.
    HWND first = ItemWindow(page, 0);
    ASSERT_EQ(1, Show(page, 200, 60));
    EXPECT_FALSE(::IsWindow(first));
    int children = 0;
    for (HWND c = ::GetWindow(panel.m_hWnd, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT))
        ++children;
    EXPECT_EQ(7, children);
}

TEST_F(AppPanelTest, FloatingPageSitsInItsFormAndDoesNotCreepOnReshow) {
    const int page = OpenPBoxPage(0, "f");
    PBoxAddRequest b = Add(page, 1, "閉じる", 4, 30);
    AddPBoxButton(0, &b);
    ASSERT_EQ(1, Show(page, 140, 90));
    PBoxPage& p = PBoxPageTable[page];
    ASSERT_NE(nullptr, p.form);
    HWND form = p.form->m_hWnd;
    ASSERT_TRUE(::IsWindowVisible(form));
    EXPECT_EQ(0, p.host);  // the visible form marks the page taken
    EXPECT_FALSE(IsPBoxPageFree(page));
    RECT fr;
    ::GetWindowRect(form, &fr);
    ::MapWindowPoints(nullptr, frame.m_hWnd, reinterpret_cast<POINT*>(&fr), 2);
    EXPECT_EQ(10, fr.left);  // the MDI client's corner plus (10, 18)
    EXPECT_EQ(118, fr.top);
    EXPECT_EQ(153, fr.right - fr.left);
    EXPECT_EQ(77, fr.bottom - fr.top);
    // A dialog of its own template: a frameless child.
    char cls[32] = "";
    ::GetClassNameA(form, cls, sizeof cls);
    EXPECT_STREQ("#32770", cls);
    const LONG style = ::GetWindowLongA(form, GWL_STYLE);
    EXPECT_EQ(WS_CHILD | WS_CLIPSIBLINGS, style & (WS_CHILD | WS_CLIPSIBLINGS | WS_DLGFRAME | WS_BORDER));
    RECT cr;
    ::GetClientRect(form, &cr);
    EXPECT_EQ(153, cr.right);
    for (int k = 0; k < 3; ++k) {
        ASSERT_EQ(1, Show(page, 140, 90));
        EXPECT_EQ(15, RectIn(ItemWindow(page, 0), form).top) << k;
        EXPECT_EQ(30, p.items[0].y) << k;
    }
    // Height 80 floats with a form of 67; 79 docks.
    ASSERT_EQ(1, Show(page, 100, 80));
    ::GetWindowRect(form, &fr);
    EXPECT_EQ(67, fr.bottom - fr.top);
    ASSERT_EQ(1, ClosePBoxPage(page));
    EXPECT_FALSE(::IsWindowVisible(form));
    EXPECT_TRUE(IsPBoxPageFree(page));
}

TEST_F(AppPanelTest, FormSwallowsItemCommandsAndEndsTheCommandOn1000) {
    const int page = OpenPBoxPage(0, "f");
    PBoxAddRequest b1 = Add(page, 1, "一", 4, 30), b2 = Add(page, 1000, "終", 50, 30);
    AddPBoxButton(0, &b1);
    AddPBoxButton(0, &b2);
    ASSERT_EQ(1, Show(page, 140, 90));
    HWND form = PBoxPageTable[page].form->m_hWnd;
    Click(ItemWindow(page, 0), 5, 5);
    EXPECT_TRUE(::IsWindowVisible(form));
    EXPECT_TRUE(frame.seen.empty());
    Click(ItemWindow(page, 1), 5, 5);
    ASSERT_EQ(1u, frame.seen.size());
    EXPECT_EQ((UINT)UM_END_CMD, frame.seen[0].first);
    // The drag frame never leaves the main window (5 pixels of slack sideways).
    const RECT bounds = {0, 0, 800, 600}, start = {100, 100, 200, 150};
    EXPECT_EQ(start.left, CAppPanelDlg::DragStep(start, {706, 110}, 0, 10, bounds).left);
    EXPECT_EQ(805, CAppPanelDlg::DragStep(start, {705, 110}, 0, 10, bounds).right);
    EXPECT_EQ(start.top, CAppPanelDlg::DragStep(start, {300, 5}, 0, 10, bounds).top);
}

TEST_F(AppPanelTest, ItemsReportThroughTheInputRecord) {
    const int page = OpenPBoxPage(0, "p");
    PBoxAddRequest push = Add(page, 21, "実行", 2, 4), check = Add(page, 22, "両側", 44, 4),
                   radio = Add(page, 23, "左,中,右", 86, 4, 90);
    AddPBoxButton(0, &push);
    AddPBoxCheck(0, &check);
    AddPBoxRadio(0, &radio);
    ASSERT_EQ(1, Show(page, 200, 60));
    HWND p = ItemWindow(page, 0), c = ItemWindow(page, 1), r = ItemWindow(page, 2);

    // A push reports on the release, wherever the mouse is released.
    ::SendMessageA(p, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(0, CmdInput().event);
    EXPECT_EQ(p, ::GetCapture());
    ::SendMessageA(p, WM_LBUTTONUP, 0, MAKELPARAM(500, 500));
    EXPECT_EQ(CMD_EV_PANEL, CmdInput().event);
    EXPECT_EQ(PANEL_SUB_PUSH, CmdInput().panelKind);
    EXPECT_EQ(21, CmdInput().panelValue);

    // The space key on a push reaches the module as the same event.
    CmdInput() = InputRecord{};
    ::SendMessageA(p, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(p, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(CMD_EV_PANEL, CmdInput().event);
    EXPECT_EQ(21, CmdInput().panelValue);

    // A check toggles on the press and reports the new state.
    CmdInput() = InputRecord{};
    ::SendMessageA(c, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    EXPECT_EQ(PANEL_SUB_CHECK, CmdInput().panelKind);
    EXPECT_EQ(1, CmdInput().panelExtra);
    EXPECT_EQ(1, PBoxPageTable[page].items[1].state);
    ::SendMessageA(c, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));

    // Radio: three segments of 90 pixels, w = 29.
    struct Case {
        int x, segment;
    } cases[] = {{0, 0}, {29, 0}, {31, 1}, {60, 2}, {89, 2}};
    for (const Case& k : cases) {
        ::SendMessageA(r, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(k.x, 5));
        ::SendMessageA(r, WM_LBUTTONUP, 0, MAKELPARAM(k.x, 5));
        EXPECT_EQ(k.segment, PBoxPageTable[page].items[2].value) << k.x;
        EXPECT_EQ(k.segment, CmdInput().panelExtra) << k.x;
    }

    // A disabled item ignores clicks.
    PBoxItemRequest off = {};
    off.page = page;
    off.id = 22;
    off.set = 0;
    EXPECT_EQ(1, EnablePBoxItem(0, &off));
    CmdInput() = InputRecord{};
    Click(c, 5, 5);
    EXPECT_EQ(0, CmdInput().event);
}

TEST(AppPanelRadio, SegmentHitTestsNeverDivideByZero) {
    struct Case {
        int x, width, count, segment;
    } cases[] = {{31, 90, 3, 1}, {29, 90, 3, 0}, {89, 91, 3, 2}, {5, 1, 3, 0},
                 {5, 2, 3, 0},   {50, 90, 1, 0}, {50, 90, 0, 0}, {0, 0, 5, 0}};
    for (const Case& k : cases)
        EXPECT_EQ(k.segment, CAppPanelRadioButton::SegmentAt(k.x, k.width, k.count))
            << k.x << " " << k.width << " " << k.count;
}

TEST_F(AppPanelTest, EditAndComboTakeTypedTextAndEscapeRestores) {
    const int page = OpenPBoxPage(0, "p");
    PBoxAddRequest edit = Add(page, 31, "10", 2, 4, 60), combo = Add(page, 32, "1,2,5", 70, 4, 80);
    combo.initial = (intptr_t) "2";
    AddPBoxEdit(0, &edit);
    AddPBoxCombo(0, &combo);
    ASSERT_EQ(1, Show(page, 200, 60));
    HWND e = ItemWindow(page, 0), cb = ItemWindow(page, 1);

    ::SendMessageA(e, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    HWND editor = ::GetDlgItem(e, kEditorId);
    ASSERT_NE(nullptr, editor);
    EXPECT_EQ(editor, PBoxEditState.openEditor);
    ::SetWindowTextA(editor, "25.5");
    ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(editor));
    EXPECT_EQ(CMD_EV_PANEL, CmdInput().event);
    EXPECT_EQ(PANEL_SUB_EDIT, CmdInput().panelKind);
    EXPECT_EQ(31, CmdInput().panelValue);
    EXPECT_STREQ("25.5", PBoxPageTable[page].items[0].text);

    // Esc restores the text from before the edit and reports the escape.
    CmdInput() = InputRecord{};
    ::SendMessageA(e, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    editor = ::GetDlgItem(e, kEditorId);
    ASSERT_NE(nullptr, editor);
    ::SetWindowTextA(editor, "999");
    ::SendMessageA(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    Pump();
    EXPECT_EQ(CMD_EV_ESCAPE, CmdInput().event);
    EXPECT_STREQ("25.5", PBoxPageTable[page].items[0].text);

    // The combo's editor: typed text becomes the list text.
    CmdInput() = InputRecord{};
    ::SendMessageA(cb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    editor = ::GetDlgItem(cb, kEditorId);
    ASSERT_NE(nullptr, editor);
    char buf[64] = {};
    ::GetWindowTextA(editor, buf, sizeof buf);
    EXPECT_STREQ("2", buf);
    ::SetWindowTextA(editor, "7");
    ::SendMessageA(editor, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(PANEL_SUB_COMBO, CmdInput().panelKind);
    EXPECT_STREQ("7", PBoxPageTable[page].items[1].listText);

    // The drop button opens the choices; Enter on a line takes it.
    CmdInput() = InputRecord{};
    ::SendMessageA(cb, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(75, 5));
    ASSERT_NE(nullptr, PBoxEditState.dropList);
    EXPECT_EQ(3, (int)::SendMessageA(PBoxEditState.dropList, LB_GETCOUNT, 0, 0));
    ::SendMessageA(PBoxEditState.dropList, LB_SETCURSEL, 2, 0);
    ::SendMessageA(PBoxEditState.dropList, WM_KEYDOWN, VK_RETURN, 0);
    Pump();
    EXPECT_EQ(PANEL_SUB_COMBO, CmdInput().panelKind);
    EXPECT_STREQ("5", PBoxPageTable[page].items[1].listText);
    EXPECT_EQ(nullptr, PBoxEditState.dropWindow);
}

TEST_F(AppPanelTest, LongTextsStayInsideTheirFields) {
    const int page = OpenPBoxPage(0, "p");
    std::string longText(600, 'x');
    PBoxAddRequest combo = Add(page, 41, "a,b", 2, 4, 80);
    combo.initial = (intptr_t)longText.c_str();
    AddPBoxCombo(0, &combo);
    PBoxItem& it = PBoxPageTable[page].items[0];
    EXPECT_EQ(255u, strlen(it.listText));
    PBoxItemRequest q = {};
    q.page = page;
    q.id = 41;
    q.text = const_cast<char*>(longText.c_str());
    q.set = 1;
    ASSERT_EQ(1, SetPBoxItemLabel(0, &q));
    EXPECT_EQ(63u, strlen(it.label));
    q.set = 0;
    ASSERT_EQ(1, SetPBoxItemLabel(0, &q));
    EXPECT_EQ(63u, strlen(it.label));
    ASSERT_EQ(1, SetPBoxComboText(0, &q));
    EXPECT_EQ(255u, strlen(it.listText));
    EXPECT_EQ(0, ExchangePBoxCalcMode(0, &q));  // reading answers the mode, 0
    q.set = 1;
    ASSERT_EQ(1, ExchangePBoxCalcMode(0, &q));
    EXPECT_EQ(63u, strlen(it.calcTitle));
}

TEST_F(AppPanelTest, ThePopupCopyFollowsTheDockedPageAndLeavesPageFourAlone) {
    const int docked = OpenPBoxPage(0, "docked");
    OpenPBoxPage(0, "2");
    OpenPBoxPage(0, "3");
    const int own = OpenPBoxPage(0, "4");
    ASSERT_EQ(4, own);
    PBoxAddRequest mine = Add(own, 77, "自分", 0, 0), check = Add(docked, 3, "両側", 2, 20);
    AddPBoxText(0, &mine);
    AddPBoxCheck(0, &check);
    ASSERT_EQ(1, Show(docked, 200, 60));
    ASSERT_EQ(1, Show(own, 200, 200));  // page 4 floats with windows of its own
    HWND ownWindow = ItemWindow(own, 0);
    ASSERT_NE(nullptr, ownWindow);

    HWND popup = ::CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE, 300, 300, 300, 200, frame.m_hWnd, nullptr,
                                   nullptr, nullptr);
    PBoxBuildState.floating = 1;
    int maxY = -1;
    ASSERT_EQ(1, BuildPBoxPage(popup, &maxY, 1));
    PBoxBuildState.floating = 0;
    EXPECT_EQ(5, maxY);                                      // 20 raised by 15
    EXPECT_EQ(20, PBoxPageTable[docked].items[0].y);         // the page keeps its own y
    EXPECT_STREQ("自分", PBoxPageTable[own].items[0].text);  // page 4 untouched
    ASSERT_NE(nullptr, PBoxItemWindow(kPBoxMirror, 0));

    // A click in the copy checks the docked page's box too.
    HWND copy = PBoxItemWindow(kPBoxMirror, 0)->m_hWnd;
    Click(copy, 5, 5);
    EXPECT_EQ(1, PBoxPageTable[docked].items[0].state);
    // A write to the docked page reaches the copy, never page 4.
    PBoxItemRequest val = {};
    val.page = docked;
    val.id = 3;
    val.set = 1;
    val.value = 5;
    ASSERT_EQ(1, ExchangePBoxValue(0, &val));
    EXPECT_EQ(5, PBoxMirrorPage.items[0].value);
    EXPECT_EQ(0, PBoxPageTable[own].items[0].value);

    // Dropping the copy keeps page 4's own windows.
    ASSERT_EQ(1, ClosePBoxPage(4, 1));
    EXPECT_TRUE(::IsWindow(ownWindow));
    EXPECT_EQ(nullptr, PBoxItemWindow(kPBoxMirror, 0));
    PBoxItemRequest text = {};
    char buf[64];
    text.page = own;
    text.id = 77;
    text.text = buf;
    ASSERT_EQ(1, GetPBoxItemText(0, &text));
    EXPECT_STREQ("自分", buf);
    ::DestroyWindow(popup);
}

TEST_F(AppPanelTest, LookupsIgnoreFreedSlots) {
    const int page = OpenPBoxPage(0, "p");
    PBoxAddRequest b = Add(page, 0, "B", 0, 0);
    ASSERT_EQ(1, AddPBoxButton(0, &b));
    ClosePBoxPage(page);
    ASSERT_EQ(page, OpenPBoxPage(0, "p"));
    // Every slot is free now and holds id 0 from before: none may answer.
    PBoxItemRequest q = {};
    q.page = page;
    q.id = 0;
    q.set = 1;
    q.value = 3;
    EXPECT_EQ(0, ExchangePBoxValue(0, &q));
    EXPECT_EQ(0, EnablePBoxItem(0, &q));
    EXPECT_EQ(nullptr, FindPBoxItem(page, 0));
    // -100 names the page shown now.
    PBoxAddRequest c = Add(page, 8, "c", 0, 0);
    AddPBoxCheck(0, &c);
    ASSERT_EQ(1, Show(page, 200, 60));
    q.page = kPBoxShownPage;
    q.id = 8;
    EXPECT_EQ(1, ExchangePBoxValue(0, &q));
    EXPECT_EQ(3, PBoxPageTable[page].items[0].value);
}

}  // namespace
