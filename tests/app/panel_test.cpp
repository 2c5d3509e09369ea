// The application panel and the right-click pop-up in the running program:
// the test module opens pages, the test clicks and types into the item
// windows with mouse and key messages, and the module reads the values back.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>
#include <string>
#include <vector>

#include "shell/calculator.h"
#include "tests/app/app_session.h"
#include "tests/app/app_ui.h"

namespace {

using namespace appui;

// A push event leaves the extra field as it was: kind, sub-kind and id.
std::vector<double> First3(std::vector<double> v) {
    v.resize(3);
    return v;
}

std::string LastLine(AppSession& app, const char* key) {
    std::vector<std::string> lines = app.ModuleLines(key);
    return lines.empty() ? std::string() : lines.back();
}

// Presses calculator keys by their command ids, as the mouse does.
void ClickKeys(HWND calc, std::initializer_list<int> ids) {
    for (int id : ids) {
        RECT rc;
        ASSERT_TRUE(CalculatorKeyRect(id, &rc));
        const int x = (rc.left + rc.right) / 2, y = (rc.top + rc.bottom) / 2;
        ClickAt(calc, x, y);
    }
}

class AppPanel : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(app.Prepared()) << app.LastError(); }
    // Starts the program with a drawing and has the test module show its tall
    // page (command 30701), which floats in its own form; the form's second
    // item, or null.
    HWND FloatTallPage() {
        if (!app.Start() || !app.NewDrawing() || !app.Command(30701) || !app.WaitModuleLine("pfloat")) return nullptr;
        return FindAppWindow(app, "AppPanelItem", 2);
    }
    AppSession app{"apppanel"};
};

TEST_F(AppPanel, ModuleReadsBackWhatIsClickedAndTypedIntoEveryItemKind) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(30700));
    ASSERT_TRUE(app.WaitModuleLine("ppage"));
    EXPECT_EQ("1 1 0", LastLine(app, "ppage"));

    // The pane docked at the right of the main window holds the page.
    HWND check = FindAppWindow(app, "AppPanelItem", 3);
    ASSERT_NE(nullptr, check);
    RECT fr, cr;
    ::GetWindowRect(app.Frame(), &fr);
    ::GetWindowRect(check, &cr);
    EXPECT_GT(cr.left, (fr.left + fr.right) / 2);
    Shot("apppanel-docked", 0);

    PressAt(check, 5, 5);
    ASSERT_TRUE(app.WaitModuleValues("pevent", 1).size() >= 1);
    EXPECT_EQ((std::vector<double>{8192, 16, 3, 1}), app.ModuleValues("pevent").back());

    HWND radio = FindAppWindow(app, "AppPanelItem", 4);
    ASSERT_NE(nullptr, radio);
    PressAt(radio, 60, 5);  // 78 pixels in three: segment 2
    app.WaitModuleValues("pevent", 2);
    EXPECT_EQ((std::vector<double>{8192, 256, 4, 2}), app.ModuleValues("pevent").back());

    // The selection list: open it with the mouse, pick with the keys.
    HWND listItem = FindAppWindow(app, "AppPanelItem", 5);
    ASSERT_NE(nullptr, listItem);
    HWND combo = FindAppWindow(app, "ComboBox", 1111, nullptr, listItem);
    ASSERT_NE(nullptr, combo);
    PressAt(combo, 10, 5);
    Sleep(300);
    Key(combo, VK_DOWN);
    Key(combo, VK_RETURN);
    app.WaitModuleValues("pevent", 3);
    EXPECT_EQ((std::vector<double>{8192, 4096, 5, 1}), app.ModuleValues("pevent").back());

    // The edit field: its editor takes the typed text, Enter confirms.
    HWND edit = FindAppWindow(app, "AppPanelItem", 6);
    ASSERT_NE(nullptr, edit);
    PressAt(edit, 5, 5);
    HWND editor = FindAppWindow(app, "Edit", 5000, nullptr, edit);
    ASSERT_NE(nullptr, editor);
    Type(editor, "25");
    Key(editor, VK_RETURN);
    app.WaitModuleValues("pevent", 4);
    EXPECT_EQ(65536, app.ModuleValues("pevent").back()[1]);

    // The combo: typed into its editor.
    HWND comboItem = FindAppWindow(app, "AppPanelItem", 7);
    ASSERT_NE(nullptr, comboItem);
    PressAt(comboItem, 5, 5);
    HWND comboEditor = FindAppWindow(app, "Edit", 5000, nullptr, comboItem);
    ASSERT_NE(nullptr, comboEditor);
    Type(comboEditor, "50");
    Key(comboEditor, VK_RETURN);
    app.WaitModuleValues("pevent", 5);
    EXPECT_EQ(0x100000, app.ModuleValues("pevent").back()[1]);

    // The space key on a push item reaches the module.
    HWND push = FindAppWindow(app, "AppPanelItem", 2);
    ASSERT_NE(nullptr, push);
    Key(push, VK_SPACE);
    app.WaitModuleValues("pevent", 6);
    EXPECT_EQ((std::vector<double>{8192, 1, 2}), First3(app.ModuleValues("pevent").back()));
    Shot("apppanel-filled", 0);

    HWND done = FindAppWindow(app, "AppPanelItem", 9);
    ASSERT_NE(nullptr, done);
    PressAt(done, 5, 5);
    ASSERT_TRUE(app.WaitModuleLine("ptext"));
    EXPECT_EQ((std::vector<double>{1, 2, 1}), app.ModuleValues("pvalues").back());
    EXPECT_EQ("edit=25 combo=50", LastLine(app, "ptext"));
    // The page is closed: its windows are gone.
    for (int i = 0; i < 50 && ::IsWindow(check); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindow(check));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppPanel, RightClickOpensThePopupAndAChosenEntryRunsItsCommand) {
    // The installation's menu file, with an entry for a test command.
    const std::string menu = app.InstallFile("SETTEI\\rightmenu.ini");
    FILE* f = fopen(menu.c_str(), "wb");
    ASSERT_NE(nullptr, f);
    fputs("; test menu\n[POPUP]編集\n元に戻す,1209\n[END]\nテスト項目,30702\nSEPARATOR\n灰色,99999\n", f);
    fclose(f);
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);
    RECT vr;
    ::GetWindowRect(view, &vr);
    ::SetCursorPos(vr.left + 120, vr.top + 100);
    const LPARAM at = MAKELPARAM(120, 100);
    app.Post(view, WM_RBUTTONDOWN, MK_RBUTTON, at);
    app.Post(view, WM_RBUTTONUP, 0, at);
    HWND popup = FindAppWindow(app, "MyRPitem");
    ASSERT_NE(nullptr, popup);
    HWND entry = FindAppWindow(app, "RPMENU", -1, "テスト項目", popup);
    ASSERT_NE(nullptr, entry);
    EXPECT_NE(nullptr, FindAppWindow(app, "RPMENU", -1, "コマンド履歴", popup, 2000));
    EXPECT_NE(nullptr, FindAppWindow(app, "RPMENU", -1, "編集", popup, 2000));
    // Opened at the cursor: its top two pixels above it.
    RECT pr;
    ::GetWindowRect(popup, &pr);
    EXPECT_EQ(vr.top + 100 - 2, pr.top);
    Shot("apppanel-popup", 0);
    PressAt(entry, 5, 5);
    ASSERT_TRUE(app.WaitModuleLine("pmenu"));
    for (int i = 0; i < 50 && ::IsWindowVisible(popup); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindowVisible(popup));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppPanel, ThePopupCopyOfThePageActsOnTheModulePageAndLeavesPageFourAlone) {
    ASSERT_TRUE(app.SetSystemSetting("RightMenuMode", "2"));  // the command's items are offered
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);
    ASSERT_TRUE(app.Command(30703));
    ASSERT_TRUE(app.WaitModuleLine("ppage"));
    EXPECT_EQ("1 1 4", LastLine(app, "ppage"));
    RECT vr;
    ::GetWindowRect(view, &vr);
    ::SetCursorPos(vr.left + 150, vr.top + 150);
    const LPARAM at = MAKELPARAM(150, 150);
    app.Post(view, WM_RBUTTONDOWN, MK_RBUTTON, at);
    app.Post(view, WM_RBUTTONUP, 0, at);
    HWND popup = FindAppWindow(app, "MyRPitem");
    ASSERT_NE(nullptr, popup);
    HWND copy = FindAppWindow(app, "AppPanelItem", 3, nullptr, popup);
    ASSERT_NE(nullptr, copy);
    EXPECT_NE(nullptr, FindAppWindow(app, "RPMENU", -1, "コマンド終了", popup, 2000));
    Shot("apppanel-popup-copy", 0);
    PressAt(copy, 5, 5);
    app.WaitModuleValues("pevent", 1);
    EXPECT_EQ((std::vector<double>{8192, 16, 3, 1}), app.ModuleValues("pevent").back());
    for (int i = 0; i < 50 && ::IsWindowVisible(popup); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindowVisible(popup));
    HWND done = FindAppWindow(app, "AppPanelItem", 9);
    ASSERT_NE(nullptr, done);
    PressAt(done, 5, 5);
    ASSERT_TRUE(app.WaitModuleLine("pown"));
    EXPECT_EQ(1, app.ModuleValues("pvalues").back()[0]);  // the docked page's box was checked
    EXPECT_EQ("1 1 自分の頁", LastLine(app, "pown"));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppPanel, TallPageFloatsInItsOwnFormOverTheDrawingArea) {
    HWND next = FloatTallPage();
    ASSERT_NE(nullptr, next) << app.LastError();
    HWND form = ::GetParent(next);
    EXPECT_EQ(app.Frame(), ::GetParent(form));
    char cls[32] = "";
    ::GetClassNameA(form, cls, sizeof cls);
    EXPECT_STREQ("#32770", cls);  // the form is a dialog of its own template, without a frame
    RECT fr, ir;
    ::GetClientRect(form, &fr);
    EXPECT_EQ(153, fr.right);
    ::GetWindowRect(next, &ir);
    ::MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&ir), 2);
    EXPECT_EQ(5, ir.top);  // y 20, raised by 15 once though shown twice
    Shot("apppanel-float", 0);
    PressAt(next, 5, 5);
    app.WaitModuleValues("pevent", 1);
    EXPECT_EQ((std::vector<double>{8192, 1, 2}), First3(app.ModuleValues("pevent").back()));
    for (int i = 0; i < 50 && ::IsWindowVisible(form); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindowVisible(form));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// The program's thread holds the mouse capture in `w`.
bool CapturedBy(AppSession& app, HWND w) {
    GUITHREADINFO gi = {};
    gi.cbSize = sizeof gi;
    for (int i = 0; i < 100; ++i) {
        if (::GetGUIThreadInfo(::GetWindowThreadProcessId(app.Frame(), nullptr), &gi) && gi.hwndCapture == w)
            return true;
        Sleep(100);
    }
    return false;
}

TEST_F(AppPanel, TheFloatingFormDragsWithinTheMainWindowAndItsMenuEndsTheCommand) {
    HWND item = FloatTallPage();
    ASSERT_NE(nullptr, item) << app.LastError();
    HWND form = ::GetParent(item);
    RECT before;
    ::GetWindowRect(form, &before);
    ShotWindow(app.Frame(), "apppanel-float-form");
    // Grabbed below the items, dragged 40 right and 30 down.
    const POINT grab = {100, 60};
    // The program reads the cursor itself; on a real display a moved
    // cursor takes a moment to reach it.
    ::SetCursorPos(before.left + grab.x, before.top + grab.y);
    Sleep(300);
    app.Post(form, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(grab.x, grab.y));
    ASSERT_TRUE(CapturedBy(app, form));
    ::SetCursorPos(before.left + grab.x + 40, before.top + grab.y + 30);
    Sleep(300);
    app.Post(form, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(grab.x + 40, grab.y + 30));
    Sleep(300);
    app.Post(form, WM_LBUTTONUP, 0, MAKELPARAM(grab.x + 40, grab.y + 30));
    RECT after = before;
    for (int i = 0; i < 100 && after.left == before.left; ++i) {
        Sleep(100);
        ::GetWindowRect(form, &after);
    }
    EXPECT_EQ(before.left + 40, after.left);
    EXPECT_EQ(before.top + 30, after.top);
    EXPECT_EQ(before.right - before.left, after.right - after.left);  // moved, not sized
    // Its context menu's only entry ends the running command, whose close
    // of the page hides the form.
    app.Post(form, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(grab.x, grab.y));
    HWND menu = FindAppWindow(app, "#32768");
    ASSERT_NE(nullptr, menu);
    ShotWindow(app.Frame(), "apppanel-float-menu", 500);
    Key(menu, VK_DOWN);
    Key(menu, VK_RETURN);
    ASSERT_TRUE(app.WaitModuleLine("pend"));
    for (int i = 0; i < 50 && ::IsWindowVisible(form); ++i)
        Sleep(100);
    EXPECT_FALSE(::IsWindowVisible(form));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppPanel, AChosenCommandEntryReachesTheModuleAsAPushOfItsId) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(31650));
    ASSERT_TRUE(app.WaitModuleLine("prmitems"));
    // Room for 39 entries: the 40th is refused.
    EXPECT_EQ("1 1 0", LastLine(app, "prmitems"));
    // What the menu posts for entries 0 and 3 (a separator and a column
    // break lie between them).
    app.Post(app.Frame(), WM_COMMAND, 1260, 0);
    app.WaitModuleValues("pevent", 1);
    app.Post(app.Frame(), WM_COMMAND, 1263, 0);
    app.WaitModuleValues("pevent", 2);
    const std::vector<std::vector<double>> events = app.ModuleValues("pevent");
    ASSERT_EQ(2u, events.size());
    EXPECT_EQ((std::vector<double>{8192, 1, 501}), First3(events[0]));
    EXPECT_EQ((std::vector<double>{8192, 1, 502}), First3(events[1]));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

TEST_F(AppPanel, EditAndComboItemsWithACalculatorModeTakeTheCalculatorsNumber) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    ASSERT_TRUE(app.Command(31500));
    ASSERT_TRUE(app.WaitModuleLine("pcalc"));
    EXPECT_EQ("1 1 1", LastLine(app, "pcalc")) << "the calculator switch is on by default";

    // The edit item opens the calculator under its own title: 5 × 0 ＋ 1 ＝.
    HWND edit = FindAppWindow(app, "AppPanelItem", 6);
    ASSERT_NE(nullptr, edit);
    PressAt(edit, 5, 5);
    HWND calc = WaitTop(app, "DENTAKU", "長さ");
    ASSERT_NE(nullptr, calc);
    EXPECT_EQ(nullptr, FindAppWindow(app, "Edit", 5000, nullptr, edit, 0)) << "no in-place editor beside the calculator";
    ClickKeys(calc, {2005, 2013, 2000, 2015, 2001, 2011});
    ClickKeys(calc, {2017});  // OK
    EXPECT_TRUE(WaitGone(calc));
    app.WaitModuleValues("pevent", 1);
    EXPECT_EQ((std::vector<double>{8192, 65536, 6}), First3(app.ModuleValues("pevent").back()));
    EXPECT_EQ("1", Text(edit));

    // The combo's text part too; a cancelled calculator changes nothing.
    HWND combo = FindAppWindow(app, "AppPanelItem", 7);
    ASSERT_NE(nullptr, combo);
    PressAt(combo, 5, 5);
    calc = WaitTop(app, "DENTAKU", "幅");
    ASSERT_NE(nullptr, calc);
    ClickKeys(calc, {2009, 2018});  // 9, cancel
    EXPECT_TRUE(WaitGone(calc));
    Sleep(500);
    EXPECT_EQ(6, app.ModuleValues("pevent").back()[2]) << "no event for a cancelled calculator";
    EXPECT_EQ("2", Text(combo));

    // Its drop button opens the choices in the "COMBO" dialog; the keys pick.
    RECT cr;
    ::GetClientRect(combo, &cr);
    PressAt(combo, cr.right - 5, 5);
    HWND list = FindAppWindow(app, "ListBox", 5001);
    ASSERT_NE(nullptr, list);
    HWND drop = ::GetParent(list);
    char cls[64] = "";
    ::GetClassNameA(drop, cls, sizeof cls);
    EXPECT_STREQ("#32770", cls);
    RECT dr;
    ::GetWindowRect(drop, &dr);
    RECT ir;
    ::GetWindowRect(combo, &ir);
    EXPECT_EQ(ir.left, dr.left) << "under the item, as wide as the item";
    EXPECT_EQ(ir.right - ir.left, dr.right - dr.left);
    Shot("apppanel-combo-drop", 0);
    // The third line, clicked where the pointer is.
    const int line = static_cast<int>(app.Send(list, LB_GETITEMHEIGHT, 0));
    POINT pick = {10, line * 2 + line / 2};
    ::ClientToScreen(list, &pick);
    ::SetCursorPos(pick.x, pick.y);
    ::ScreenToClient(list, &pick);
    PressAt(list, pick.x, pick.y);
    app.WaitModuleValues("pevent", 2);
    EXPECT_EQ((std::vector<double>{8192, 0x100000, 7}), First3(app.ModuleValues("pevent").back()));
    EXPECT_TRUE(WaitGone(drop));

    HWND done = FindAppWindow(app, "AppPanelItem", 9);
    ASSERT_NE(nullptr, done);
    PressAt(done, 5, 5);
    ASSERT_TRUE(app.WaitModuleLine("ptext"));
    EXPECT_EQ("edit=1 combo=5", LastLine(app, "ptext"));
    EXPECT_TRUE(app.Close()) << app.LastError();
}

// The per-user snap modes as the program stored them at its close.
int StoredSnapModes(AppSession& app) {
    FILE* f = fopen((app.UserSettingsDir() + "\\LocalSettings.xml").c_str(), "rb");
    if (!f) return -1;
    std::string xml;
    char buf[4096];
    size_t n;
    while ((n = fread(buf, 1, sizeof buf, f)) > 0)
        xml.append(buf, n);
    fclose(f);
    const size_t at = xml.find("<LMsFg>");
    return at == std::string::npos ? -1 : std::atoi(xml.c_str() + at + 7);
}

TEST_F(AppPanel, ThePopupsSnapRowShowsAndSwitchesTheSnapModes) {
    ASSERT_TRUE(app.SetSystemSetting("RMENU_SNAP", "1"));
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);
    RECT vr;
    ::GetWindowRect(view, &vr);
    ::SetCursorPos(vr.left + 100, vr.top + 80);
    const LPARAM at = MAKELPARAM(100, 80);
    app.Post(view, WM_RBUTTONDOWN, MK_RBUTTON, at);
    app.Post(view, WM_RBUTTONUP, 0, at);
    HWND popup = FindAppWindow(app, "MyRPitem");
    ASSERT_NE(nullptr, popup);
    // The installed modes (end point, intersection, any point) are lit.
    const struct {
        int id;
        const char* text;
        LONG lit;
    } rows[] = {{3410, "端点", 1}, {3411, "交点", 1}, {3404, "中点", 0},
                {3405, "任意", 1}, {3418, "円心", 0}, {3412, "線上", 0}};
    HWND centre = nullptr;
    for (const auto& r : rows) {
        HWND b = FindAppWindow(app, "NPush2", r.id, r.text, popup, 2000);
        ASSERT_NE(nullptr, b) << r.text;
        EXPECT_EQ(r.lit, ::GetWindowLongA(b, 4)) << r.text;
        if (r.id == 3418) centre = b;
    }
    Shot("apppanel-popup-snap", 0);
    PressAt(centre, 10, 8);
    for (int i = 0; i < 50 && ::GetWindowLongA(centre, 4) != 1; ++i)
        Sleep(100);
    EXPECT_EQ(1, ::GetWindowLongA(centre, 4)) << "the centre mode is on";
    EXPECT_TRUE(app.Close()) << app.LastError();
    EXPECT_EQ(0x68 | 0x10, StoredSnapModes(app)) << "kept for the next run";
}

}  // namespace
