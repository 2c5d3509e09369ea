// Toolbars: the stored list, sizes, bands, button mapping, pressed state.
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include "shell/shell_seams.h"
#include "shell/toolbar_manager.h"
#include "shell_fixture.h"

namespace {

void WriteToolbarSection(const std::string& ini, const char* sizeMode,
                         const std::vector<std::pair<int, std::string>>& rows) {
    WritePrivateProfileStringA("TOOLBAR", nullptr, nullptr, ini.c_str());
    if (sizeMode) WritePrivateProfileStringA("TOOLBAR", "SizeMode", sizeMode, ini.c_str());
    for (auto& r : rows) {
        char key[8];
        wsprintfA(key, "TB%02d", r.first);
        WritePrivateProfileStringA("TOOLBAR", key, r.second.c_str(), ini.c_str());
    }
}

std::vector<std::pair<int, std::string>> FullList() {
    std::vector<std::pair<int, std::string>> rows;
    for (int i = 0; i < 10; ++i)
        rows.push_back({i + 1, std::string("1,") + ToolbarGroupTable[9 - i].caption});
    return rows;
}

TEST(Toolbars, StoredListIsTakenWholeOrNotAtAll) {
    ShellEnvironment env;
    struct {
        const char* name;
        std::vector<std::pair<int, std::string>> rows;
        const char* firstCaption;
    } cases[] = {
        {"fresh file", {}, "ファイル"},
        {"full reversed list", FullList(), "寸法"},
        {"TB04 missing",
         [] {
             auto r = FullList();
             r.erase(r.begin() + 3);
             return r;
         }(),
         "ファイル"},
        {"unknown caption",
         [] {
             auto r = FullList();
             r[5].second = "1,なし";
             return r;
         }(),
         "ファイル"},
        {"three fields",
         [] {
             auto r = FullList();
             r[0].second = "1,寸法,x";
             return r;
         }(),
         "ファイル"},
    };
    for (auto& c : cases) {
        WriteToolbarSection(env.ini, nullptr, c.rows);
        ToolbarList list;
        EXPECT_EQ(1, list.Load(nullptr)) << c.name;
        ASSERT_EQ(10, list.Count()) << c.name;
        EXPECT_EQ(c.firstCaption, list.m_rows[0].caption) << c.name;
        EXPECT_EQ(1, list.m_sizeMode) << c.name;
    }
}

TEST(Toolbars, SaveWritesSizeAndRows) {
    ShellEnvironment env;
    ToolbarList list;
    list.Load(nullptr);
    list.m_rows[2].visible = 0;
    list.m_sizeMode = 2;
    list.Save();
    EXPECT_EQ("0,ウィンドウ", ReadProgramIniText("TOOLBAR", "TB03", ""));
    EXPECT_EQ("1,寸法", ReadProgramIniText("TOOLBAR", "TB10", ""));
    ToolbarList again;
    again.Load(nullptr);
    EXPECT_EQ(2, again.m_sizeMode);
    EXPECT_EQ(0, again.IsVisible("ウィンドウ"));
    EXPECT_EQ(1, again.IsVisible("どこにもない"));
}

TEST(Toolbars, ButtonsMapToCommands) {
    ShellEnvironment env;
    ToolbarManager none;
    WPARAM wp = 45105;
    LPARAM lp = 1234;
    int button = -1;
    EXPECT_EQ(0, none.MapButtonCommand(wp, lp, button)) << "no rebar yet: dropped";

    HWND frame = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    ToolbarManager tm;
    ASSERT_EQ(1, tm.Create(frame, nullptr));
    struct {
        WPARAM in;
        int result;
        WPARAM out;
        LPARAM lpOut;
        int button;
    } rows[] = {
        {45105, 1, 5300, 0, 45105}, {MAKEWPARAM(45500, 0), 1, 6000, 0, 45500},
        {45950, 0, 0, 1234, 0},     {45099, 1, 45099, 1234, 0},
        {45906, 1, 6066, 0, 45906}, {4001, 1, 4001, 1234, 0},
    };
    for (auto& r : rows) {
        wp = r.in;
        lp = 1234;
        EXPECT_EQ(r.result, tm.MapButtonCommand(wp, lp, button)) << r.in;
        EXPECT_EQ(r.out, wp) << r.in;
        EXPECT_EQ(r.lpOut, lp) << r.in;
        EXPECT_EQ(r.button, button) << r.in;
    }
    EXPECT_EQ(45500, ToolbarButtonFromCommand(6000));
    EXPECT_EQ(1234, ToolbarButtonFromCommand(1234));
    DestroyWindow(frame);
}

int BandCount(HWND rebar) { return (int)SendMessageA(rebar, RB_GETBANDCOUNT, 0, 0); }

REBARBANDINFOA Band(HWND rebar, int i) {
    REBARBANDINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = RBBIM_ID | RBBIM_STYLE | RBBIM_CHILD;
    SendMessageA(rebar, RB_GETBANDINFOA, i, (LPARAM)&info);
    return info;
}

TEST(Toolbars, RebarHoldsTenToolbarsOfTheChosenSize) {
    ShellEnvironment env;
    HWND frame = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 600, nullptr, nullptr, nullptr, nullptr);
    HWND cmdBar = CreateWindowA(TOOLBARCLASSNAMEA, "", WS_CHILD | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 100, 20,
                                frame, nullptr, nullptr, nullptr);
    struct {
        const char* mode;
        int bands;
        int buttonWidth;
    } cases[] = {{"1", 11, 24 + 7}, {"0", 11, 32 + 7}, {"2", 11, 16 + 7}, {"7", 11, 32 + 7}, {"-1", 1, 0}};
    for (auto& c : cases) {
        WriteToolbarSection(env.ini, c.mode, {});
        ToolbarManager tm;
        ASSERT_EQ(1, tm.Create(frame, cmdBar)) << c.mode;
        HWND rebar = tm.Rebar();
        ASSERT_EQ(c.bands, BandCount(rebar)) << "size mode " << c.mode;
        EXPECT_EQ(60160u, Band(rebar, 0).wID);
        EXPECT_EQ(cmdBar, Band(rebar, 0).hwndChild);
        if (c.bands > 1) {
            for (int i = 1; i < c.bands; ++i) {
                REBARBANDINFOA b = Band(rebar, i);
                EXPECT_EQ(60160u + i, b.wID);
                char text[64] = {};
                GetWindowTextA(b.hwndChild, text, sizeof text);
                EXPECT_STREQ(ToolbarGroupTable[i - 1].caption, text);
                EXPECT_TRUE(b.fStyle & RBBS_NOGRIPPER);
            }
            EXPECT_TRUE(Band(rebar, 1).fStyle & RBBS_BREAK) << "toolbars start a row under the menu";
            EXPECT_FALSE(Band(rebar, 2).fStyle & RBBS_BREAK);
            HWND editTb = tm.ToolbarWindow(6);
            EXPECT_EQ(19, SendMessageA(editTb, TB_BUTTONCOUNT, 0, 0));
            DWORD size = (DWORD)SendMessageA(editTb, TB_GETBUTTONSIZE, 0, 0);
            EXPECT_EQ(c.buttonWidth, LOWORD(size)) << c.mode;
            HWND fileTb = tm.ToolbarWindow(0);
            int expectFile = strcmp(c.mode, "1") == 0 ? 10 : 7;  // medium has separators
            EXPECT_EQ(expectFile, SendMessageA(fileTb, TB_BUTTONCOUNT, 0, 0)) << c.mode;
        }
        DestroyWindow(rebar);
        for (int i = 0; i < 10; ++i)
            if (tm.ToolbarWindow(i)) DestroyWindow(tm.ToolbarWindow(i));
    }
    DestroyWindow(frame);
}

TEST(Toolbars, HiddenGroupAndPressedCommandSurviveRebuild) {
    ShellEnvironment env;
    auto rows = FullList();
    for (int i = 0; i < 10; ++i)
        rows[i].second = std::string("1,") + ToolbarGroupTable[i].caption;
    rows[0].second = "0,ファイル";
    WriteToolbarSection(env.ini, "1", rows);
    HWND frame = CreateWindowA("STATIC", "", WS_OVERLAPPEDWINDOW, 0, 0, 1000, 600, nullptr, nullptr, nullptr, nullptr);
    HWND cmdBar = CreateWindowA(TOOLBARCLASSNAMEA, "", WS_CHILD | CCS_NORESIZE | CCS_NOPARENTALIGN, 0, 0, 100, 20,
                                frame, nullptr, nullptr, nullptr);
    ToolbarManager tm;
    ASSERT_EQ(1, tm.Create(frame, cmdBar));
    HWND rebar = tm.Rebar();
    EXPECT_TRUE(Band(rebar, 1).fStyle & RBBS_HIDDEN) << "ファイル hidden";
    EXPECT_TRUE(Band(rebar, 2).fStyle & RBBS_BREAK) << "the first visible toolbar starts the row";
    EXPECT_FALSE(Band(rebar, 3).fStyle & RBBS_BREAK);
    // Each toolbar sits in its band, shown or hidden with it.
    for (int i = 1; i < BandCount(rebar); ++i) {
        const REBARBANDINFOA b = Band(rebar, i);
        EXPECT_EQ(rebar, GetParent(b.hwndChild)) << i;
        EXPECT_EQ(!(b.fStyle & RBBS_HIDDEN), (GetWindowLongA(b.hwndChild, GWL_STYLE) & WS_VISIBLE) != 0) << i;
        if (b.fStyle & RBBS_HIDDEN) continue;
        RECT band = {}, child = {};
        SendMessageA(rebar, RB_GETRECT, i, (LPARAM)&band);
        GetWindowRect(b.hwndChild, &child);
        MapWindowPoints(nullptr, rebar, (POINT*)&child, 2);
        EXPECT_TRUE(child.left >= band.left && child.right <= band.right && child.top >= band.top &&
                    child.bottom <= band.bottom && child.right > child.left)
            << i;
    }

    EXPECT_TRUE(tm.CheckCommandButtons(6000, TRUE));
    HWND drawTb = tm.ToolbarWindow(7);
    EXPECT_TRUE(SendMessageA(drawTb, TB_ISBUTTONCHECKED, 45500, 0));
    EXPECT_FALSE(tm.CheckCommandButtons(1234, TRUE)) << "no button carries that id";

    rows[0].second = "1,ファイル";
    WriteToolbarSection(env.ini, "2", rows);
    tm.Rebuild(frame);
    ASSERT_EQ(11, BandCount(rebar));
    EXPECT_FALSE(Band(rebar, 1).fStyle & RBBS_HIDDEN);
    drawTb = tm.ToolbarWindow(7);
    EXPECT_TRUE(SendMessageA(drawTb, TB_ISBUTTONCHECKED, 45500, 0)) << "still pressed";
    EXPECT_EQ(16 + 7, LOWORD(SendMessageA(drawTb, TB_GETBUTTONSIZE, 0, 0)));
    tm.CheckCommandButtons(6000, FALSE);
    EXPECT_FALSE(SendMessageA(drawTb, TB_ISBUTTONCHECKED, 45500, 0));
    DestroyWindow(frame);
}

}  // namespace
