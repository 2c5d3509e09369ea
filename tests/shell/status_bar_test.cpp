// The prompt and number-entry bar: prompts, typed numbers, pane commands,
// layout and painting.
#include <gtest/gtest.h>

#include "base/message_table.h"
#include "view/status_bar.h"
#include "shell/cad_system.h"
#include "shell_fixture.h"

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        parent = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 300, nullptr, nullptr, nullptr, nullptr);
        RECT rc = {0, 0, 200, 30};
        ASSERT_NE(nullptr, bar.Create(parent, rc));
        SetStatusBarWindow(bar.m_hWnd);
    }
    void TearDown() override {
        SetStatusBarWindow(nullptr);
        DestroyWindow(parent);
    }
    void Type(const char* keys) {
        for (const char* p = keys; *p; ++p)
            bar.SendMessage(WM_USER, 3, (unsigned char)*p);
    }
    std::string Typed() { return bar.GetPane(2).text; }
    HWND parent = nullptr;
    CCadStatusBar bar;
};

TEST(StatusBarPrompt, CleaningTable) {
    struct {
        const char* in;
        const char* shown;
    } rows[] = {
        {"中心の位置を指定してください。(ESC=取消)", "中心の位置を指定してください。"},
        {"始点を指定(ESC=取消) 続き", "始点を指定"},
        {"空の組()", "空の組()"},
        {"閉じない(ESC", "閉じない(ESC"},
        {"二つ(A=1)(B=2)", "二つ(A=1)"},
        {"表示(ソ=1)", "表示"},  // 表 and ソ carry trail byte 0x5C
        {"", ""},
    };
    for (auto& r : rows)
        EXPECT_EQ(r.shown, CCadStatusBar::CleanPrompt(r.in)) << r.in;
    std::string longPrompt(400, 'x');
    EXPECT_EQ(255u, CCadStatusBar::CleanPrompt(longPrompt.c_str()).size());
}

TEST_F(StatusBarTest, DefaultPromptAndMessages) {
    EXPECT_EQ(GetMessageText(5000), bar.GetPane(0).text);
    bar.SendMessage(WM_USER, 2, (LPARAM) "始点の位置を指定してください。(ESC=取消)");
    EXPECT_EQ("始点の位置を指定してください。", bar.GetPane(0).text);
    bar.SendMessage(WM_USER, 2, 0);
    EXPECT_EQ(GetMessageText(5000), bar.GetPane(0).text);
    bar.SendMessage(WM_USER, 1, (LPARAM) "A");
    bar.SendMessage(WM_COMMAND, MAKEWPARAM(2002, 1), 1);
    bar.SendMessage(WM_USER, 1, (LPARAM) "B");
    EXPECT_EQ("AB", bar.GetPane(1).text) << "append flag of pane 1";
    bar.SendMessage(WM_USER + 1);
    bar.SendMessage(WM_USER, 1, 0);
    bar.SendMessage(WM_USER, 2, (LPARAM) "別");
    bar.SendMessage(WM_USER + 2);
    EXPECT_EQ("AB", bar.GetPane(1).text);
    EXPECT_EQ(GetMessageText(5000), bar.GetPane(0).text);
    char buf[1024] = {};
    bar.SendMessage(WM_COMMAND, MAKEWPARAM(2000, 1), (LPARAM)buf);
    EXPECT_STREQ("AB", buf);
}

TEST_F(StatusBarTest, TypedNumbers) {
    struct {
        int appendBefore;  // append flag of the typed-number pane before the keys
        const char* keys;  // \x01: the append flag is cleared (WM_COMMAND 2002)
        const char* typed;
    } rows[] = {
        {1, "12", "12"},
        {0, "12", "12"},
        {1,
         "5\x01"
         "7",
         "7"},
        {1, "1..5", "1.5"},
        {1, "12-3", "-3"},
        {1, ".5", ".5"},
    };
    for (auto& r : rows) {
        bar.SendMessage(WM_USER, 3, 0);  // empty
        bar.SendMessage(WM_COMMAND, MAKEWPARAM(2002, 2), r.appendBefore);
        for (const char* p = r.keys; *p; ++p) {
            if (*p == '\x01')
                bar.SendMessage(WM_COMMAND, MAKEWPARAM(2002, 2), 0);
            else
                bar.SendMessage(WM_USER, 3, (unsigned char)*p);
        }
        EXPECT_EQ(r.typed, Typed()) << r.keys;
    }
    Type("9");
    bar.SendMessage(WM_COMMAND, MAKEWPARAM(2002, 2), 0);
    Type("1");
    EXPECT_EQ("1", Typed()) << "the first key after the flag was cleared replaces";
    bar.SendMessage(WM_USER, 3, 0);
    EXPECT_EQ(-1, GetStatusBarInteger());
    EXPECT_EQ(0.0, GetStatusBarNumber());
    EXPECT_EQ(0, HasStatusBarInput());
    Type("-12.5");
    EXPECT_EQ(-12, GetStatusBarInteger());
    EXPECT_DOUBLE_EQ(-12.5, GetStatusBarNumber());
    bar.SendMessage(WM_USER, 6, 0);
    EXPECT_EQ("-12.", Typed());
    EXPECT_EQ(1, HasStatusBarInput());
}

TEST_F(StatusBarTest, LayoutAndPaint) {
    ShowWindow(parent, SW_SHOWNORMAL);
    bar.SendMessage(WM_SIZE, 0, 0);
    RECT pc, rc;
    GetClientRect(parent, &pc);
    GetWindowRect(bar.m_hWnd, &rc);
    MapWindowPoints(nullptr, parent, (POINT*)&rc, 2);
    EXPECT_EQ(pc.bottom - 26, rc.top);
    EXPECT_EQ(pc.right, rc.right);
    EXPECT_EQ(110, bar.GetPane(1).width);
    EXPECT_EQ(70, bar.GetPane(2).width);
    EXPECT_LT(bar.GetPane(0).width, pc.right - 180) << "the grip takes its part";
    EXPECT_GT(bar.GetPane(0).width, pc.right - 180 - 40);

    // Paint into a memory bitmap: the prompt pane is light grey with blue text.
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    int width = pc.right;
    HBITMAP bmp = CreateCompatibleBitmap(screen, width, 26);
    HGDIOBJ old = SelectObject(mem, bmp);
    bar.SendMessage(WM_PRINTCLIENT, (WPARAM)mem, PRF_CLIENT | PRF_ERASEBKGND);
    int p0 = bar.GetPane(0).width;
    EXPECT_EQ(RGB(236, 236, 236), GetPixel(mem, p0 - 10, 12));
    EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), GetPixel(mem, 4, 12)) << "left edge";
    int blue = 0;
    for (int x = 4; x < p0 - 4; ++x)
        for (int y = 4; y < 22; ++y)
            if (GetPixel(mem, x, y) == RGB(0, 0, 255)) ++blue;
    EXPECT_GT(blue, 20) << "the prompt text";
    SelectObject(mem, old);
    ReleaseDC(nullptr, screen);
    DeleteDC(mem);
    DeleteObject(bmp);
}

}  // namespace
