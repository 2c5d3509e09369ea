// The prompt and number-entry bar on a real window, driven by its messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>

#include "base/message_table.h"
#include "view/status_bar.h"

namespace {

class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override {
        CreateArgs a;
        a.title = "host";
        a.x = a.y = 0;
        a.cx = 800;
        a.cy = 200;
        ASSERT_NE(nullptr, m_host.Create(a));
        RECT rc = {0, 0, 200, 30};
        ASSERT_NE(nullptr, m_bar.Create(m_host.m_hWnd, rc));
    }
    void TearDown() override { m_host.DestroyWindow(); }

    LRESULT User(WPARAM code, LPARAM arg) { return ::SendMessageA(m_bar.m_hWnd, WM_USER, code, arg); }
    LRESULT User(WPARAM code, const char* text) { return User(code, (LPARAM)text); }
    std::string PaneText(int pane) {
        char buf[kStatusBarTextSize];
        std::memset(buf, 'x', sizeof buf);
        ::SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(2000, pane), (LPARAM)buf);
        return buf;
    }
    void Type(const std::string& keys) {
        for (char c : keys)
            User(3, (LPARAM)c);
    }

    CWindowBase m_host;
    CCadStatusBar m_bar;
};

TEST_F(StatusBarTest, PromptDefaultsToMessage5000AndDropsItsTrailingGroup) {
    const std::string def = GetMessageText(5000);
    EXPECT_EQ(def, m_bar.GetPane(0).text);
    struct Case {
        const char* name;
        const char* prompt;
        std::string shown;
    } cases[] = {
        {"null", nullptr, def},
        {"empty", "", def},
        {"plain", "終点を指定", "終点を指定"},
        {"group dropped", "中心の位置を指定してください。(ESC=取消)", "中心の位置を指定してください。"},
        {"text after the group goes too", "始点(ESC=取消) 右クリック", "始点"},
        {"empty pair kept", "点を指定()", "点を指定()"},
        {"last pair decides", "A(x)B(y", "A"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        User(2, k.prompt);
        EXPECT_EQ(k.shown, m_bar.GetPane(0).text);
        EXPECT_EQ(k.shown, PaneText(0));
    }
    std::string longPrompt(600, 'p');
    User(2, longPrompt.c_str());
    EXPECT_EQ(255u, m_bar.GetPane(0).text.size());
}

TEST_F(StatusBarTest, SaveAndRestoreBringBackPromptAndMessage) {
    User(1, "線分");
    User(2, "始点を指定");
    ::SendMessageA(m_bar.m_hWnd, WM_USER + 1, 0, 0);
    User(1, "円");
    User(2, "中心を指定");
    EXPECT_EQ("円", PaneText(1));
    ::SendMessageA(m_bar.m_hWnd, WM_USER + 2, 0, 0);
    EXPECT_EQ("線分", PaneText(1));
    EXPECT_EQ("始点を指定", PaneText(0));

    // WM_COMMAND 100: message cleared, default prompt.
    ::SendMessageA(m_bar.m_hWnd, WM_COMMAND, 100, 0);
    EXPECT_EQ("", PaneText(1));
    EXPECT_EQ(GetMessageText(5000), PaneText(0));
}

TEST_F(StatusBarTest, ElementCountIsFormattedSixWide) {
    struct Case {
        long count;
        const char* text;
    } cases[] = {{0, "     0"}, {42, "    42"}, {1234567, "1234567"}, {-5, "    -5"}};
    for (const Case& k : cases) {
        User(5, (LPARAM)k.count);
        EXPECT_EQ(k.text, m_bar.CountText()) << k.count;
    }
}

TEST_F(StatusBarTest, TypedNumberFollowsTheEntryRules) {
    struct Case {
        const char* name;
        const char* keys;
        bool clearAppendFirst;
        const char* result;
    } cases[] = {
        {"digits append", "12", false, "12"},
        {"minus empties first", "12-3", false, "-3"},
        {"second point ignored", "1.2.3", false, "1.23"},
        {"first key replaces after append is cleared", "7", true, "7"},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        Type("5");
        if (k.clearAppendFirst) {
            ::SendMessageA(m_bar.m_hWnd, WM_COMMAND, MAKEWPARAM(2002, 2), 0);
        } else {
            User(3, (LPARAM)0);
        }
        Type(k.keys);
        EXPECT_EQ(k.result, PaneText(2));
    }
    User(6, (LPARAM)0);  // backspace
    EXPECT_EQ("", PaneText(2));
}

TEST_F(StatusBarTest, TypedNumberIsReadBackAndCleared) {
    EXPECT_EQ(0, HasStatusBarInput());
    EXPECT_EQ(-1, GetStatusBarInteger());
    EXPECT_EQ(0.0, GetStatusBarNumber());
    Type("-12.5");
    EXPECT_EQ(1, HasStatusBarInput());
    EXPECT_DOUBLE_EQ(-12.5, GetStatusBarNumber());
    EXPECT_EQ(-12, GetStatusBarInteger());
    ClearStatusBarInput(m_bar.m_hWnd);
    EXPECT_EQ(0, HasStatusBarInput());

    // However long the typing, the caller's 1,024-byte buffer is not overrun.
    User(3, (LPARAM)0);
    Type(std::string(3000, '9'));
    EXPECT_EQ(1023u, PaneText(2).size());
}

TEST_F(StatusBarTest, DisplaySwitchFlipsAndAsksForLayout) {
    EXPECT_TRUE(m_bar.MessageShown());
    ::SendMessageA(m_bar.m_hWnd, WM_COMMAND, 1010, 0);
    EXPECT_FALSE(m_bar.MessageShown());
    MSG msg;
    EXPECT_TRUE(::PeekMessageA(&msg, m_host.m_hWnd, WM_SIZE, WM_SIZE, PM_REMOVE));
}

}  // namespace
