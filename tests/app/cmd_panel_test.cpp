// The command panels and the panes of the main frame in the running
// program: a click on a panel button starts its module command, the panes
// stand where they belong, and closing stores the layout in configMain.xml,
// which the next start restores (a damaged one gives the default layout and
// is kept as configMain.bak).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "command/command_ids.h"
#include "command/host_messages.h"
#include "tests/app/app_session.h"
#include "tests/app/app_shots.h"

namespace {

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary);
    f << bytes;
}

struct Search {
    const char* text;
    HWND hit;
};

BOOL CALLBACK FindButton(HWND w, LPARAM lp) {
    Search& s = *reinterpret_cast<Search*>(lp);
    char text[256] = {};
    ::GetWindowTextA(w, text, sizeof text);
    if (std::string(text) == s.text && ::IsWindowVisible(w)) {
        s.hit = w;
        return FALSE;
    }
    return TRUE;
}

// The visible child of `parent` with that text, or null.
HWND Child(HWND parent, const char* text) {
    Search s = {text, nullptr};
    ::EnumChildWindows(parent, FindButton, reinterpret_cast<LPARAM>(&s));
    return s.hit;
}

// The installation's CmdPanel.def with a first page of the test commands.
void InstallTestPanel(AppSession& app) {
    WriteFile(app.InstallFile("CmdPanel.def"),
              "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>\n<CmdPanel><PanelInfo>"
              "<Test><data><item>テスト,31100,テストコマンド,3</item><item>\\n</item>"
              "<item>待ち,31101,入力待ち</item></data></Test>"
              "<Second><data><item>二,31100,t</item></data></Second>"
              "</PanelInfo></CmdPanel>");
}

class CmdPanelApp : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(app.Prepared()) << app.LastError();
        InstallTestPanel(app);
    }
    HWND Panel(int index) { return (HWND)app.SendFrame(UM_GET_CMDPANEL, index); }
    HWND Pane(int index) {
        HWND panel = Panel(index);
        return panel ? ::GetParent(panel) : nullptr;
    }
    std::string Title(HWND w) {
        char text[128] = {};
        ::GetWindowTextA(w, text, sizeof text);
        return text;
    }
    RECT ClientOnScreen(HWND w) {
        RECT rc;
        ::GetClientRect(w, &rc);
        ::MapWindowPoints(w, nullptr, (POINT*)&rc, 2);
        return rc;
    }
    std::string ConfigMain() const { return app.UserSettingsDir() + "\\configMain.xml"; }
    // The installed per-user settings with the layout kept between runs.
    void KeepLayout() {
        const std::string path = app.InstallFile("LocalSettings.xml");
        std::string xml = ReadFileBytes(path);
        const std::string off = "<bWindowSz>0</bWindowSz>";
        const size_t at = xml.find(off);
        ASSERT_NE(std::string::npos, at);
        xml.replace(at, off.size(), "<bWindowSz>1</bWindowSz>");
        WriteFile(path, xml);
    }
    AppSession app{"cmdpanel"};
};

TEST_F(CmdPanelApp, AButtonClickStartsItsCommandAndAPressThatLeftDoesNot) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_NE(nullptr, app.NewDrawing());
    HWND panel = Panel(0);
    ASSERT_NE(nullptr, panel);
    HWND button = Child(panel, "テスト");
    ASSERT_NE(nullptr, button);
    ShotWindow(app.Frame(), "cmdpanel-main-frame");
    // Pressed, then released away from the button: no command.
    app.Post(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    app.Post(button, WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    app.Post(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    // A whole click.
    app.Post(button, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    app.Post(button, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    ASSERT_TRUE(app.WaitModuleLine("quick"));
    Sleep(500);
    const std::vector<std::string> lines = app.ModuleLines("quick");
    ASSERT_EQ(1u, lines.size()) << "one click, one command";
    EXPECT_EQ(0u, lines[0].find("id=31100")) << lines[0];
    // The second panel shows the same file's pages; its page-select button
    // of the second page shows that page.
    HWND second = Panel(3);
    ASSERT_NE(nullptr, second);
    HWND pageButton = Child(second, "Second");
    ASSERT_NE(nullptr, pageButton);
    app.Post(pageButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    app.Post(pageButton, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    HWND shown = nullptr;
    for (int i = 0; i < 100 && !shown; ++i, Sleep(100)) shown = Child(second, "二");
    EXPECT_NE(nullptr, shown);
    EXPECT_EQ(nullptr, Child(second, "テスト"));
}

TEST_F(CmdPanelApp, PanesStandAtTheirEdgesWithTheirTitles) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    const RECT frame = ClientOnScreen(app.Frame());
    // The installed caption bits (3) give the tool and application panes
    // their caption bars and the command panels none.
    struct Row {
        int index;
        const char* title;
        int panelId;
        bool caption;
    } rows[] = {{0, "コマンドメニュー", 0, false},
                {1, "基本操作", 200, true},
                {2, "作図メニュー", 200, true},
                {3, "コマンドメニュー２", 0, false}};
    for (const Row& r : rows) {
        HWND pane = Pane(r.index);
        ASSERT_NE(nullptr, pane) << r.index;
        EXPECT_EQ(r.title, Title(pane));
        EXPECT_TRUE(::IsWindowVisible(pane)) << r.title;
        EXPECT_EQ(r.panelId, ::GetDlgCtrlID(Panel(r.index))) << r.title;
        EXPECT_EQ(r.caption, (::GetWindowLongA(pane, GWL_STYLE) & WS_CAPTION) == WS_CAPTION) << r.title;
        EXPECT_EQ(r.caption ? 1 : 2, app.Send(pane, WM_COMMAND, 1001, 0)) << r.title;
    }
    RECT tool;
    ::GetWindowRect(Pane(1), &tool);
    EXPECT_NEAR(200, tool.right - tool.left, 8) << "the tool panel is as thick as the application panel";
    EXPECT_GT(tool.left, (frame.left + frame.right) / 2) << "the tool panel docks at the right";
    RECT bottom, right, top;
    ::GetWindowRect(Pane(0), &bottom);
    ::GetWindowRect(Pane(2), &right);
    ::GetWindowRect(Pane(3), &top);
    EXPECT_LT(top.bottom, bottom.top);
    EXPECT_GT(bottom.top, (frame.top + frame.bottom) / 2) << "the first command panel docks at the bottom";
    EXPECT_LT(top.bottom, (frame.top + frame.bottom) / 2) << "the second at the top";
    EXPECT_GT(right.left, (frame.left + frame.right) / 2) << "the application panel at the right";
    EXPECT_NEAR(200, right.right - right.left, 8) << "without a stored layout it is 200 pixels thick";
    // The installed settings keep no layout: closing writes none.
    ASSERT_TRUE(app.Close()) << app.LastError();
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(ConfigMain().c_str()));
}

// The frame is laid out before it first shows maximised: bands, panes and
// status bar fill the maximised client, and restoring gives back the frame's
// own size with the layout redone.
TEST_F(CmdPanelApp, TheFrameStartsMaximisedAndRestoresToItsOwnSize) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND frame = app.Frame();
    ASSERT_TRUE(::IsZoomed(frame));
    HWND rebar = ::FindWindowExA(frame, nullptr, "ReBarWindow32", nullptr);
    HWND status = ::FindWindowExA(frame, nullptr, "CadStatusBar", nullptr);
    ASSERT_NE(nullptr, rebar);
    ASSERT_NE(nullptr, status);
    MONITORINFO mi = {};
    mi.cbSize = sizeof mi;
    ASSERT_TRUE(::GetMonitorInfoA(::MonitorFromWindow(frame, MONITOR_DEFAULTTONEAREST), &mi));
    const auto laidOut = [&](const char* when) {
        const RECT client = ClientOnScreen(frame);
        RECT bands, bar, top, bottom, right;
        ::GetWindowRect(rebar, &bands);
        ::GetWindowRect(status, &bar);
        ::GetWindowRect(Pane(3), &top);
        ::GetWindowRect(Pane(0), &bottom);
        ::GetWindowRect(Pane(2), &right);
        EXPECT_EQ(client.left, bands.left) << when;
        EXPECT_EQ(client.right, bands.right) << when;
        EXPECT_EQ(client.bottom, bar.bottom) << when;
        EXPECT_LE(bands.bottom, top.top) << when;
        EXPECT_LE(top.top - bands.bottom, 8) << when << ": the top pane sits under the bands";
        EXPECT_LE(bottom.bottom, bar.top) << when;
        EXPECT_LE(bar.top - bottom.bottom, 8) << when << ": the bottom pane sits on the status bar";
        EXPECT_LE(right.right, client.right) << when;
        EXPECT_GE(right.right, client.right - 8) << when;
        for (int i = 0; i < 4; ++i) {
            const RECT pane = ClientOnScreen(Pane(i));
            RECT panel;
            ::GetWindowRect(Panel(i), &panel);
            EXPECT_TRUE(::EqualRect(&pane, &panel)) << when << ": panel " << i << " fills its pane; pane "
                                                    << pane.left << "," << pane.top << "," << pane.right << ","
                                                    << pane.bottom << " panel " << panel.left << "," << panel.top
                                                    << "," << panel.right << "," << panel.bottom;
        }
    };
    const RECT work = ClientOnScreen(frame);
    EXPECT_EQ(mi.rcWork.left, work.left);
    EXPECT_EQ(mi.rcWork.right, work.right);
    EXPECT_EQ(mi.rcWork.bottom, work.bottom);
    laidOut("maximised");
    app.Send(frame, WM_SYSCOMMAND, SC_RESTORE, 0);
    EXPECT_FALSE(::IsZoomed(frame));
    RECT restored;
    ::GetWindowRect(frame, &restored);
    EXPECT_LT(restored.right - restored.left, mi.rcWork.right - mi.rcWork.left) << "not the maximised size";
    laidOut("restored");
    app.Send(frame, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    EXPECT_TRUE(::IsZoomed(frame));
    laidOut("maximised again");
}

// A right click in a command panel toggles its pane's caption bar; the bit
// is kept in the per-user LocalSettings.ini and the next start shows it.
TEST_F(CmdPanelApp, ARightClickTogglesTheCaptionBarKeptForTheNextStart) {
    ASSERT_TRUE(app.Start()) << app.LastError();
    auto captioned = [&](int index) {
        return (::GetWindowLongA(Pane(index), GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    };
    ASSERT_FALSE(captioned(0)) << "the installed caption bits show the tool and application panels' bars only";
    EXPECT_TRUE(captioned(2));
    app.Post(Panel(0), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(2, 2));
    for (int i = 0; i < 100 && !captioned(0); ++i) Sleep(100);
    EXPECT_TRUE(captioned(0));
    EXPECT_EQ(1, app.Send(Pane(0), WM_COMMAND, 1001, 0)) << "visible, not pinned, caption shown";
    ASSERT_TRUE(app.Close()) << app.LastError();
    EXPECT_EQ(7u, ::GetPrivateProfileIntA("System", "iPanelCaption", -1,
                                          (app.UserSettingsDir() + "\\LocalSettings.ini").c_str()));
    ASSERT_TRUE(app.Start()) << app.LastError();
    EXPECT_TRUE(captioned(0));
    EXPECT_FALSE(captioned(3));
}

TEST_F(CmdPanelApp, ClosingStoresTheLayoutThatTheNextStartRestores) {
    KeepLayout();
    ASSERT_TRUE(app.Start()) << app.LastError();
    // The second command panel is hidden (frame command 40003) and the first
    // panel shows its second page.
    ASSERT_TRUE(app.Command(40003));
    for (int i = 0; i < 100 && ::IsWindowVisible(Pane(3)); ++i) Sleep(100);
    ASSERT_FALSE(::IsWindowVisible(Pane(3)));
    HWND pageButton = Child(Panel(0), "Second");
    ASSERT_NE(nullptr, pageButton);
    app.Post(pageButton, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 3));
    app.Post(pageButton, WM_LBUTTONUP, 0, MAKELPARAM(3, 3));
    for (int i = 0; i < 100 && !Child(Panel(0), "二"); ++i) Sleep(100);
    ASSERT_TRUE(app.Close()) << app.LastError();
    const std::string xml = ReadFileBytes(ConfigMain());
    for (const char* value : {"DfdockPos0=", "DfdockPos1=", "DfdockPos2=", "DfdockPos3=", "MDIWinMaximized="})
        EXPECT_NE(std::string::npos, xml.find(value)) << value << "\n" << xml;
    EXPECT_NE(std::string::npos, xml.find("<MainWindow")) << xml;

    ASSERT_TRUE(app.Start()) << app.LastError();
    Sleep(1000);
    EXPECT_FALSE(::IsWindowVisible(Pane(3))) << "the hidden pane stays hidden";
    EXPECT_TRUE(::IsWindowVisible(Pane(0)));
    EXPECT_NE(nullptr, Child(Panel(0), "二")) << "the first panel opens at its stored page";
    EXPECT_EQ(nullptr, Child(Panel(0), "テスト"));
}

// The toolbars of the main frame's rebar, in band order.
std::vector<HWND> Toolbars(HWND frame) {
    std::vector<HWND> bars;
    HWND rebar = ::FindWindowExA(frame, nullptr, "ReBarWindow32", nullptr);
    for (HWND w = rebar ? ::GetWindow(rebar, GW_CHILD) : nullptr; w; w = ::GetWindow(w, GW_HWNDNEXT)) {
        char cls[64] = {}, text[128] = {};
        ::GetClassNameA(w, cls, sizeof cls);
        ::GetWindowTextA(w, text, sizeof text);
        if (std::string(cls) == "ToolbarWindow32" && text[0]) bars.push_back(w);
    }
    return bars;
}

// The bytes of a "00 04 00 00 "-encoded value `name` of configMain.xml.
std::vector<unsigned char> StoredBytes(const std::string& xml, const std::string& name) {
    std::vector<unsigned char> bytes;
    const size_t at = xml.find(" " + name + "=\"");
    if (at == std::string::npos) return bytes;
    std::istringstream in(xml.substr(at + name.size() + 3, xml.find('"', at + name.size() + 3) - at - name.size() - 3));
    unsigned v;
    while (in >> std::hex >> v) bytes.push_back((unsigned char)v);
    return bytes;
}

// The toolbar bands and the panes are kept under the main window's node:
// a toolbar hidden from the View menu stays hidden at the next start.
TEST_F(CmdPanelApp, TheToolbarBandsAndPanesAreKeptInTheLayout) {
    KeepLayout();
    ASSERT_TRUE(app.Start()) << app.LastError();
    const std::vector<HWND> bars = Toolbars(app.Frame());
    ASSERT_GE(bars.size(), 2u);
    auto hidden = [&](const std::vector<HWND>& list) {
        std::vector<std::string> names;
        for (HWND w : list) {
            char text[128] = {};
            ::GetWindowTextA(w, text, sizeof text);
            if (!::IsWindowVisible(w)) names.push_back(text);
        }
        return names;
    };
    ASSERT_TRUE(hidden(bars).empty());
    ASSERT_TRUE(app.Command(ID_VIEW_TOOLBAR));
    for (int i = 0; i < 100 && hidden(bars).empty(); ++i) Sleep(100);
    const std::vector<std::string> off = hidden(bars);
    ASSERT_EQ(1u, off.size()) << "the View menu hides the first toolbar";
    ASSERT_TRUE(app.Close()) << app.LastError();

    const std::string xml = ReadFileBytes(ConfigMain());
    // One 80-byte record a band (the menu bar's band first); the first
    // toolbar's band keeps its id and its hidden style.
    for (size_t i = 0; i <= bars.size(); ++i)
        EXPECT_EQ(80u, StoredBytes(xml, "band" + std::to_string(i)).size()) << i << "\n" << xml;
    const std::vector<unsigned char> band1 = StoredBytes(xml, "band1");
    ASSERT_EQ(80u, band1.size());
    EXPECT_EQ(60161, band1[52] | band1[53] << 8) << "band id";
    EXPECT_TRUE(band1[8] & RBBS_HIDDEN);
    EXPECT_FALSE(StoredBytes(xml, "band2")[8] & RBBS_HIDDEN);
    EXPECT_NE(std::string::npos, xml.find("<Wnd-0xffffffff band0=")) << xml;
    // The panes: one 60-byte placement each under the docking manager's node.
    const size_t panes = xml.find("<Wnd-0xfffffffe ");
    ASSERT_NE(std::string::npos, panes) << xml;
    for (const char* pane : {"Wnd-0xfffffffc", "Wnd-0xfffffffd", "Wnd-0xfffffffe", "Wnd-0xffffffff"})
        EXPECT_EQ(60u, StoredBytes(xml.substr(panes), pane).size()) << pane;

    ASSERT_TRUE(app.Start()) << app.LastError();
    std::vector<HWND> again = Toolbars(app.Frame());
    ASSERT_EQ(bars.size(), again.size());
    Sleep(500);
    EXPECT_EQ(off, hidden(again)) << "the hidden toolbar stays hidden";
    ASSERT_TRUE(app.Command(ID_VIEW_TOOLBAR));
    for (int i = 0; i < 100 && !hidden(again).empty(); ++i) Sleep(100);
    EXPECT_TRUE(hidden(again).empty()) << "and the View menu shows it again";
}

// A drawing window maximised at the close makes the next start open its
// drawings maximised, also through a run in which no drawing was opened.
TEST_F(CmdPanelApp, MaximisedDrawingWindowsStayMaximisedAcrossStarts) {
    KeepLayout();
    ASSERT_TRUE(app.Start()) << app.LastError();
    HWND view = app.NewDrawing();
    ASSERT_NE(nullptr, view);
    HWND child = ::GetParent(view);
    EXPECT_FALSE(::IsZoomed(child)) << "a first drawing opens in its own size";
    app.Send(::GetParent(child), WM_MDIMAXIMIZE, (WPARAM)child);
    ASSERT_TRUE(::IsZoomed(child));
    ASSERT_TRUE(app.Close()) << app.LastError();
    EXPECT_NE(std::string::npos, ReadFileBytes(ConfigMain()).find("MDIWinMaximized=\"01 00 00 00"))
        << ReadFileBytes(ConfigMain());
    ASSERT_TRUE(app.Restart()) << app.LastError();
    ASSERT_TRUE(app.Close()) << app.LastError();
    ASSERT_TRUE(app.Start()) << app.LastError();
    view = app.NewDrawing();
    ASSERT_NE(nullptr, view);
    EXPECT_TRUE(::IsZoomed(::GetParent(view)));
}

TEST_F(CmdPanelApp, ADamagedLayoutGivesTheDefaultAndIsKept) {
    KeepLayout();
    ASSERT_TRUE(app.Start()) << app.LastError();
    ASSERT_TRUE(app.Command(40003));
    for (int i = 0; i < 100 && ::IsWindowVisible(Pane(3)); ++i) Sleep(100);
    ASSERT_TRUE(app.Close()) << app.LastError();
    const std::string damaged = "<?xml version=\"1.0\"?><config><General SM_CXSCREEN=\"00 05";
    WriteFile(ConfigMain(), damaged);
    ASSERT_TRUE(app.Start()) << app.LastError();
    EXPECT_TRUE(::IsWindowVisible(Pane(3))) << "the default layout shows every pane";
    RECT right;
    ::GetWindowRect(Pane(2), &right);
    EXPECT_NEAR(200, right.right - right.left, 8);
    EXPECT_EQ(damaged, ReadFileBytes(app.UserSettingsDir() + "\\configMain.bak"));
    ASSERT_TRUE(app.Close()) << app.LastError();
    EXPECT_NE(std::string::npos, ReadFileBytes(ConfigMain()).find("DfdockPos3=")) << "a good file is written again";
}

// Without a kept layout the installed file is read; a damaged one gives the
// default layout and is never moved or rewritten.
TEST_F(CmdPanelApp, ADamagedInstalledLayoutIsLeftAsItIs) {
    const std::string damaged = "<?xml version=\"1.0\"?><config><General";
    WriteFile(app.InstallFile("configMain.xml"), damaged);
    ASSERT_TRUE(app.Start()) << app.LastError();
    EXPECT_TRUE(::IsWindowVisible(Pane(0)));
    EXPECT_TRUE(::IsWindowVisible(Pane(3)));
    ASSERT_TRUE(app.Close()) << app.LastError();
    EXPECT_EQ(damaged, ReadFileBytes(app.InstallFile("configMain.xml")));
    EXPECT_EQ(INVALID_FILE_ATTRIBUTES, ::GetFileAttributesA(app.InstallFile("configMain.bak").c_str()));
}

}  // namespace
