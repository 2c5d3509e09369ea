// The right-click pop-up: its menu file, the entries it places, where it
// opens, and the buttons and faces it is made of.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "base/cmd_request.h"
#include "base/running_settings.h"
#include "command/command_system.h"
#include "panels/button_faces.h"
#include "panels/panel_check_button.h"
#include "panels/pbox.h"
#include "panels/pbox_controls.h"
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

// The tokens of the menu file as read (up to the closing empty string).
std::vector<std::string> ParseMenuFile(const std::string& text) {
    char path[MAX_PATH], dir[MAX_PATH];
    ::GetTempPathA(MAX_PATH, dir);
    ::GetTempFileNameA(dir, "rpm", 0, path);
    FILE* f = fopen(path, "wb");
    fwrite(text.data(), 1, text.size(), f);
    fclose(f);
    EXPECT_EQ(1, AllocRPMenuBuffer());
    EXPECT_EQ(1, LoadRPMenuFile(path));
    ::DeleteFileA(path);
    std::vector<std::string> tokens;
    for (const char* t = RPMenuBuffer(); *t; t += strlen(t) + 1)
        tokens.push_back(t);
    return tokens;
}

TEST(RightMenuFile, LinesBecomeTokens) {
    using V = std::vector<std::string>;
    struct Case {
        const char* file;
        V tokens;
    } cases[] = {
        {"  保存,5002\n", {"5002", "保存"}},
        {"保存 ,5002\n", {"5002", "保存 "}},
        {"保存,5002,7\n", {"5002", "保存"}},
        {"保存\t,5002\n", {"5002", "保存"}},
        {"; comment\nA\nab\n", {"0", "ab"}},
        {"[POPUP]編集\n切取,1\nSEPARATOR\n[END]\n後,2\n",
         {"[POPUP]", "編集", "1", "切取", "SEPARATOR", "[END]", "2", "後"}},
        {"[END]\n", {"0", "[END]"}},
        {"[POPUP]開いたまま\nX,3\n", {"[POPUP]", "開いたまま", "3", "X"}},
        {"灰色,99999\n", {"99999", "灰色"}},
        {"表示,abc\n", {"0", "表示"}},
        {"; only\n; comments\n", {}},
    };
    for (const Case& k : cases)
        EXPECT_EQ(k.tokens, ParseMenuFile(k.file)) << k.file;
    // A lead byte takes the byte after it along, even when that byte is a comma.
    EXPECT_EQ((V{"4", "\x82\x2C"}), ParseMenuFile("\x82\x2C,4\n"));
}

TEST(RightMenuFile, TokensThatWouldOverrunTheBufferAreDropped) {
    std::string file;
    for (int i = 0; i < 6000; ++i)
        file += "エントリ" + std::to_string(i) + "," + std::to_string(i) + "\n";
    std::vector<std::string> tokens = ParseMenuFile(file);
    ASSERT_FALSE(tokens.empty());
    EXPECT_EQ(0u, tokens.size() % 2);  // an entry is kept whole or not at all
    size_t used = 1;
    for (const std::string& t : tokens)
        used += t.size() + 1;
    EXPECT_LE(used, 65535u);
}

TEST(RightMenuFile, PlainMenuNestsSubmenusAndGraysTheMarkedId) {
    ParseMenuFile("保存,5002\n[POPUP]編集\n切取,1\n[END]\n灰色,99999\n");
    RPMenuState.windowOpen = 0;
    HMENU menu = ::CreatePopupMenu();
    AppendRPMenuFileItems(menu);
    ASSERT_EQ(3, ::GetMenuItemCount(menu));
    EXPECT_EQ(5002u, ::GetMenuItemID(menu, 0));
    HMENU sub = ::GetSubMenu(menu, 1);
    ASSERT_NE(nullptr, sub);
    EXPECT_EQ(1u, ::GetMenuItemID(sub, 0));
    EXPECT_TRUE(::GetMenuState(menu, 99999, MF_BYCOMMAND) & MF_GRAYED);
    ::DestroyMenu(menu);
}

class PopupTest : public ::testing::Test {
protected:
    void SetUp() override {
        HINSTANCE inst = ::GetModuleHandleA(nullptr);
        RegisterToolButtonClasses(inst);
        RegisterPBoxClasses(inst);
        CreateArgs a;
        a.title = "popup owner";
        a.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
        a.x = a.y = 0;
        a.cx = 400;
        a.cy = 300;
        ASSERT_NE(nullptr, owner.Create(a));
        SetCmdMainFrame(owner.m_hWnd);
        ASSERT_EQ(1, CreateRPMenuWindow(owner.m_hWnd, inst));
        ClearRPMenuItems();
        RPMenuState = RPMenuStateRecord{};
    }
    void TearDown() override {
        CloseRPMenu();
        Pump();
        if (RPMenuWindow()) ::DestroyWindow(RPMenuWindow());
        SetCmdMainFrame(nullptr);
        owner.DestroyWindow();
        Pump();
    }
    std::vector<HWND> Entries() {
        std::vector<HWND> out;
        for (HWND c = ::GetWindow(RPMenuWindow(), GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
            char cls[32] = {};
            ::GetClassNameA(c, cls, sizeof cls);
            if (strcmp(cls, "RPMENU") == 0) out.push_back(c);
        }
        return out;
    }
    CWindowBase owner;
};

TEST_F(PopupTest, EntriesWidenTheirColumnAndOpenAtTheCursorOnItsMonitor) {
    ParseMenuFile("短い,1\n二十バイトの長い項目だ,2\nSEPARATOR\n最後,3\n");
    Running().RMENU_SNAP = 0;
    RPMenuState.hideFlags = 4;  // no recent commands
    ::SetCursorPos(200, 200);
    BuildRPMenu(owner.m_hWnd, MAKELPARAM(10, 10), 0);
    ASSERT_EQ(1, RPMenuState.windowOpen);
    std::vector<HWND> e = Entries();
    ASSERT_EQ(4u, e.size());
    for (HWND w : e) {
        RECT r;
        ::GetClientRect(w, &r);
        EXPECT_EQ(176, r.right);  // 22 bytes x 8, the earlier entry widened too
    }
    RECT sep;
    ::GetClientRect(e[2], &sep);
    EXPECT_EQ(7, sep.bottom);
    RECT pr;
    ::GetWindowRect(RPMenuWindow(), &pr);
    EXPECT_EQ(2 + 176 + 5, pr.right - pr.left);
    EXPECT_EQ(5 + 14 + 14 + 8 + 14 + 4, pr.bottom - pr.top);
    EXPECT_EQ(198, pr.top);  // cursor y - 2
    EXPECT_EQ(200 - (pr.right - pr.left) / 2, pr.left);
    EXPECT_TRUE(::IsWindowVisible(RPMenuWindow()));

    // Near the right and bottom edges the pop-up stays on the monitor.
    EXPECT_EQ(1, CloseRPMenu());
    Pump();
    EXPECT_TRUE(Entries().empty());
    const int sw = ::GetSystemMetrics(SM_CXSCREEN), sh = ::GetSystemMetrics(SM_CYSCREEN);
    ::SetCursorPos(sw - 3, sh - 3);
    BuildRPMenu(owner.m_hWnd, 0, 0);
    ::GetWindowRect(RPMenuWindow(), &pr);
    EXPECT_EQ(sw, pr.right);
    EXPECT_EQ(sh - 2, pr.bottom);

    // A click on an entry closes the pop-up and posts its id to the frame.
    std::vector<HWND> again = Entries();
    ASSERT_FALSE(again.empty());
    ::SendMessageA(again[1], WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, owner.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(2u, LOWORD(msg.wParam));
    Pump();
    EXPECT_EQ(0, RPMenuState.windowOpen);
    EXPECT_FALSE(::IsWindowVisible(RPMenuWindow()));
}

TEST_F(PopupTest, SwitchesDecideWhatOpens) {
    ParseMenuFile("");
    Running().RMENU_SNAP = 0;
    RPMenuState.hideFlags = 4 | 8;
    BuildRPMenu(owner.m_hWnd, 0, 0);
    RECT pr;
    ::GetWindowRect(RPMenuWindow(), &pr);
    EXPECT_EQ(2, pr.right - pr.left);  // nothing in it
    EXPECT_EQ(4, pr.bottom - pr.top);
    CloseRPMenu();
    Pump();

    // The OK mode posts 1219 instead; a right drag still opens.
    RPMenuState.rightClickOk = 1;
    BuildRPMenu(owner.m_hWnd, 0, 0);
    MSG msg;
    ASSERT_TRUE(::PeekMessageA(&msg, owner.m_hWnd, WM_COMMAND, WM_COMMAND, PM_REMOVE));
    EXPECT_EQ(1219u, msg.wParam);
    EXPECT_EQ(0, RPMenuState.windowOpen);
    BuildRPMenu(owner.m_hWnd, 0, 1);
    EXPECT_EQ(1, RPMenuState.windowOpen);
}

TEST_F(PopupTest, SnapRowFollowsAndTogglesTheSnapModes) {
    ParseMenuFile("");
    Running().RMENU_SNAP = 1;
    RPMenuState.hideFlags = 4 | 8;
    Running().snapModeFlags = 0x20 | 0x04;
    BuildRPMenu(owner.m_hWnd, 0, 0);
    HWND end = ::GetDlgItem(RPMenuWindow(), 3410), mid = ::GetDlgItem(RPMenuWindow(), 3404),
         on = ::GetDlgItem(RPMenuWindow(), 3412);
    ASSERT_NE(nullptr, end);
    EXPECT_EQ(1, ::GetWindowLongA(end, 4));
    EXPECT_EQ(1, ::GetWindowLongA(mid, 4));
    EXPECT_EQ(0, ::GetWindowLongA(on, 4));
    RECT r;
    ::GetClientRect(end, &r);
    EXPECT_EQ(41, r.right);
    EXPECT_EQ(19, r.bottom);
    ::SendMessageA(RPMenuWindow(), WM_COMMAND, 3404, 0);
    EXPECT_EQ(0x20, Running().snapModeFlags);
    ::SendMessageA(RPMenuWindow(), WM_COMMAND, 3410, 0);  // the only mode on stays on
    EXPECT_EQ(0x20, Running().snapModeFlags);
    Running().RMENU_SNAP = 0;
}

TEST(RightMenuEntries, TableIsBoundedAndTextsAreCut) {
    ClearRPMenuItems();
    std::string longText(200, 'y');
    CmdRequest r = {};
    r.w.text = reinterpret_cast<uint32_t>(longText.c_str());
    r.panelKind = 1;
    r.panelExtra = 5;
    ASSERT_EQ(1, AddRPMenuItem(0, &r));
    EXPECT_EQ(79u, strlen(RPMenuItemTable[0].text));
    r.panelKind = 2;
    ASSERT_EQ(1, AddRPMenuItem(0, &r));
    EXPECT_EQ(0, RPMenuItemTable[1].id);
    r.panelKind = 0;
    EXPECT_EQ(1, AddRPMenuItem(0, &r));  // stores nothing usable
    EXPECT_EQ(2, RPMenuItemCount());
    ClearRPMenuItems();
}

TEST(ButtonFaces, HalvesSplitTheInnerHeight) {
    struct Case {
        int height, upper;
    } cases[] = {{20, 8}, {21, 8}, {24, 10}};
    for (const Case& k : cases)
        EXPECT_EQ(k.upper, GradientUpperRows(k.height)) << k.height;
    struct Font {
        int height, font;
    } fonts[] = {{23, 14}, {20, 14}, {18, 12}, {13, 11}};
    for (const Font& f : fonts) {
        EXPECT_EQ(f.font, CPanelCheckButton::FontHeight(f.height)) << f.height;
        EXPECT_EQ(f.font, GradientButtonFontHeight(f.height)) << f.height;
    }
}

// A parent whose background is red left of x = 40 and blue from there on.
struct SplitBackground : CWindowBase {
    BEGIN_MSG_MAP(SplitBackground)
    MESSAGE_HANDLER(WM_ERASEBKGND, OnErase)
    END_MSG_MAP()
    LRESULT OnErase(UINT, WPARAM w, LPARAM, BOOL&) {
        RECT rc = GetClientRect();
        RECT left = {rc.left, rc.top, 40, rc.bottom}, right = {40, rc.top, rc.right, rc.bottom};
        HBRUSH red = ::CreateSolidBrush(RGB(255, 0, 0)), blue = ::CreateSolidBrush(RGB(0, 0, 255));
        ::FillRect((HDC)w, &left, red);
        ::FillRect((HDC)w, &right, blue);
        ::DeleteObject(red);
        ::DeleteObject(blue);
        return 1;
    }
};

TEST(ButtonFaces, TheParentBackgroundIsPaintedWhereTheChildStands) {
    SplitBackground parent;
    CreateArgs a;
    a.style = WS_OVERLAPPEDWINDOW;
    a.cx = a.cy = 200;
    ASSERT_NE(nullptr, parent.Create(a));
    CPanelCheckButton check;
    ASSERT_NE(nullptr, check.Create(parent.m_hWnd, {10, 50, 70, 73}, 78, "端点"));
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 60, 23);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bmp);
    PaintParentBackground(check.m_hWnd, dc);
    // Child x 0..29 lies over the parent's x 10..39, the rest over 40 on.
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, 29, 22));
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(dc, 30, 0));
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(dc, 59, 22));
    POINT org = {1, 1};
    ::GetWindowOrgEx(dc, &org);
    EXPECT_EQ(0, org.x);
    EXPECT_EQ(0, org.y);
    // The shared push-button painter leaves its rounded corners to the parent.
    HBRUSH white = (HBRUSH)::GetStockObject(WHITE_BRUSH);
    RECT all = {0, 0, 60, 23};
    ::FillRect(dc, &all, white);
    DrawGradientPushButton(dc, check.m_hWnd);
    EXPECT_EQ(RGB(255, 0, 0), ::GetPixel(dc, 0, 0));
    EXPECT_EQ(RGB(0, 0, 255), ::GetPixel(dc, 59, 22));
    ::SelectObject(dc, old);
    ::DeleteObject(bmp);
    ::DeleteDC(dc);
    parent.DestroyWindow();
}

struct Sink : CWindowBase {
    std::vector<std::pair<UINT, WPARAM>> seen;
    BEGIN_MSG_MAP(Sink)
    MESSAGE_HANDLER(WM_COMMAND, OnAny)
    MESSAGE_HANDLER(WM_USER + 39, OnAny)
    END_MSG_MAP()
    LRESULT OnAny(UINT m, WPARAM w, LPARAM, BOOL&) {
        seen.push_back({m, LOWORD(w)});
        return 0;
    }
    int Commands() const {
        int n = 0;
        for (auto& s : seen)
            if (s.first == WM_COMMAND) ++n;
        return n;
    }
};

TEST(ToolButtons, PressDragAndReleaseMakeOneClickOrNone) {
    HINSTANCE inst = ::GetModuleHandleA(nullptr);
    ASSERT_EQ(1, RegisterToolButtonClasses(inst));
    Sink parent;
    CreateArgs a;
    a.style = WS_OVERLAPPEDWINDOW | WS_VISIBLE;
    a.x = a.y = 50;
    a.cx = a.cy = 300;
    ASSERT_NE(nullptr, parent.Create(a));
    HWND b = ::CreateWindowExA(0, "NPush", "実行", WS_CHILD | WS_VISIBLE, 10, 10, 60, 22, parent.m_hWnd,
                               (HMENU)(INT_PTR)77, inst, nullptr);
    CPanelCheckButton check;
    ASSERT_NE(nullptr, check.Create(parent.m_hWnd, {10, 50, 70, 73}, 78, "端点"));
    ::UpdateWindow(parent.m_hWnd);
    for (HWND w : {b, check.m_hWnd}) {
        parent.seen.clear();
        // Press, out, back in, release: one click.
        ::SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200));
        EXPECT_EQ(2, ::GetWindowLongA(w, 0));
        ::SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(5, 5));
        EXPECT_EQ(1, ::GetWindowLongA(w, 0));
        ::SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        EXPECT_EQ(1, parent.Commands());
        // Released outside: none.
        ::SendMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
        ::SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(200, 200));
        ::SendMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
        EXPECT_EQ(1, parent.Commands());
        EXPECT_EQ(0, ::GetWindowLongA(w, 0));
        // Space down and up: one click.
        ::SendMessageA(w, WM_KEYDOWN, VK_SPACE, 0);
        ::SendMessageA(w, WM_KEYUP, VK_SPACE, 0);
        EXPECT_EQ(2, parent.Commands());
    }
    // A locked check button never clicks (its message box is answered).
    check.SetLocked(5);
    EXPECT_EQ(1, check.Locked());
    parent.seen.clear();
    ::SendMessageA(check.m_hWnd, WM_KEYDOWN, VK_SPACE, 0);
    ::SendMessageA(check.m_hWnd, WM_KEYUP, VK_SPACE, 0);
    EXPECT_EQ(0, parent.Commands());
    parent.DestroyWindow();
}

}  // namespace
