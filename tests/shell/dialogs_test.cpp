// The shared small dialogs and their memories: placement by the parent and
// by the pointer, the yes/no dialogs answered with keys, the version line,
// the input histories, the splash window and the help-window sweep.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <initializer_list>
#include <string>

#include "base/monitor.h"
#include "base/settings_layer.h"
#include "shell/dialog_base.h"
#include "shell/help_windows.h"
#include "shell/input_history.h"
#include "shell/input_point_dialog.h"
#include "shell/splash_window.h"
#include "shell/version_dialog.h"
#include "shell/yes_no_dialogs.h"
#include "shell_fixture.h"

namespace {

HWND Popup(int x, int y, int w, int h, bool visible = true) {
    return CreateWindowExA(0, "STATIC", "", WS_POPUP | (visible ? WS_VISIBLE : 0), x, y, w, h, nullptr, nullptr,
                           nullptr, nullptr);
}

RECT RectOf(HWND w) {
    RECT rc = {};
    GetWindowRect(w, &rc);
    return rc;
}

TEST(DialogPlacement, CentredOverTheParentAndKeptOnTheMonitor) {
    HWND parent = Popup(100, 100, 400, 300);
    HWND dialog = Popup(0, 0, 200, 100);
    CenterDialogOver(dialog, parent);
    RECT rc = RectOf(dialog);
    EXPECT_EQ(200, rc.left);
    EXPECT_EQ(200, rc.top);

    // A parent near the corner: the dialog stays inside the work area.
    RECT work;
    GetMonitorRect(0, 0, &work, 1);
    SetWindowPos(parent, nullptr, work.right - 50, work.bottom - 40, 100, 80, SWP_NOZORDER);
    CenterDialogOver(dialog, parent);
    rc = RectOf(dialog);
    EXPECT_EQ(work.right - 200, rc.left);
    EXPECT_EQ(work.bottom - 100, rc.top);

    // A hidden parent: the middle of the work area.
    ShowWindow(parent, SW_HIDE);
    CenterDialogOver(dialog, parent);
    rc = RectOf(dialog);
    EXPECT_EQ(work.left + (work.right - work.left - 200) / 2, rc.left);
    DestroyWindow(dialog);
    DestroyWindow(parent);
}

TEST(DialogPlacement, SliderPositionsFollowTheValues) {
    EXPECT_EQ(2512, SliderPositionOf(12.5, 5000));
    EXPECT_EQ(5000, SliderPositionOf(1e9, 5000));
    EXPECT_EQ(0, SliderPositionOf(-1e9, 5000));
    EXPECT_DOUBLE_EQ(2500, SliderValueOf(5000, 5000));
    EXPECT_DOUBLE_EQ(-2500, SliderValueOf(0, 5000));
}

TEST(VersionDialog, TheTitleLineLeavesTheBuildOut) {
    EXPECT_EQ("Vantrel 8.0.1", VersionLineText("Vantrel", "  8.0.1 Build 942 "));
    EXPECT_EQ("Vantrel ", VersionLineText("Vantrel", ""));
}

// --- Yes/no dialogs --------------------------------------------------------------------------------

struct QuestionScript {
    WPARAM key = 0;
    RECT seen = {};
    POINT pointer = {};
} g_question;

void CALLBACK AnswerQuestion(HWND, UINT, UINT_PTR id, DWORD) {
    HWND dlg = FindWindowA("#32770", "確認 ?");
    if (!dlg) return;
    KillTimer(nullptr, id);
    g_question.seen = RectOf(dlg);
    GetCursorPos(&g_question.pointer);
    PostMessageA(dlg, WM_KEYDOWN, g_question.key, 0);
}

int Ask(WPARAM key, int* placed, int* x, int* y) {
    g_question.key = key;
    SetTimer(nullptr, 0, 50, AnswerQuestion);
    return RunYesNoDialog(placed, x, y, nullptr);
}

TEST(YesNoDialogs, KeysAnswerAndNoKeepsThePlace) {
    int right = 0, bottom = 0;
    GetMonitorExtent(0, 0, &right, &bottom);
    const POINT start = {right - 60, 400};
    SetCursorPos(start.x, start.y);
    int placed = 0, x = 0, y = 0;
    EXPECT_EQ(1001, Ask('N', &placed, &x, &y)) << "N answers no";
    EXPECT_EQ(1, placed);
    EXPECT_EQ(start.x - 150, g_question.seen.left) << "near the right edge: left of the pointer";
    EXPECT_EQ(start.x - 150, x);
    EXPECT_EQ(g_question.seen.left + (g_question.seen.right - g_question.seen.left) / 6, g_question.pointer.x)
        << "the pointer on Yes";
    POINT back = {};
    GetCursorPos(&back);
    EXPECT_EQ(start.x, back.x) << "the pointer is put back";
    EXPECT_EQ(start.y, back.y);

    SetCursorPos(100, 400);
    EXPECT_EQ(6, Ask('Y', &placed, &x, &y)) << "Y answers yes";
    EXPECT_EQ(start.x - 150, g_question.seen.left) << "after a no the next one opens at the same place";
    EXPECT_EQ(0, placed) << "yes clears the place";

    EXPECT_EQ(2, Ask(VK_ESCAPE, &placed, &x, &y)) << "Escape cancels";
    EXPECT_EQ(150, g_question.seen.left) << "away from the edge: right of the pointer";
    EXPECT_EQ(0, placed);
}

// --- Input histories -------------------------------------------------------------------------------

std::string Entry(const char* section, int i) {
    char key[8], value[400] = "";
    std::snprintf(key, sizeof key, "%d", i);
    GetPrivateProfileStringA(section, key, "", value, sizeof value, GetTextHistoryIniPath().c_str());
    return value;
}

// The sections a test uses start empty.
void ClearSections(std::initializer_list<const char*> sections) {
    for (const char* s : sections)
        WritePrivateProfileStringA(s, nullptr, nullptr, GetTextHistoryIniPath().c_str());
}

TEST(InputHistories, AddMovesToTheFrontKeepsTwentyAndRoundTrips) {
    ShellEnvironment env;
    ClearSections({"寸法値", "~NOHIST", "DATA"});
    for (int i = 1; i <= 21; ++i)
        AddInputHistory(std::to_string(i).c_str(), "寸法値");
    EXPECT_EQ("21", Entry("寸法値", 0));
    EXPECT_EQ("2", Entry("寸法値", 19)) << "the 21st value dropped the oldest";
    AddInputHistory("20", "寸法値");
    EXPECT_EQ("20", Entry("寸法値", 0)) << "a value in second place moves to the front";
    EXPECT_EQ("21", Entry("寸法値", 1));
    EXPECT_EQ("19", Entry("寸法値", 2)) << "the rest keep their places";
    AddInputHistory("", "寸法値");
    EXPECT_EQ("20", Entry("寸法値", 0)) << "an empty value changes nothing";

    AddInputHistory("配管", "~NOHIST");
    EXPECT_EQ("", Entry("~NOHIST", 0)) << "a ~ key keeps no history";
    EXPECT_FALSE(IsInputHistoryEnabled("~NOHIST"));

    // A long value is cut on a character boundary and read back whole.
    std::string longValue(298, 'a');
    longValue += "漢字";
    AddInputHistory(longValue.c_str(), "");
    char item[kInputHistoryEntrySize];
    LoadInputHistory();
    GetInputHistoryItem(item, 0);
    EXPECT_EQ(longValue.substr(0, 298), std::string(item)) << "no half character";
}

TEST(InputHistories, ShutDownNeverWritesAnotherFieldsHistoryOverTheStoredOne) {
    ShellEnvironment env;
    ClearSections({"DATA", "文字"});
    AddInputHistory("既定の値", "");
    LoadInputHistory();  // start-up
    AddInputHistory("他の欄", "文字");
    SaveInputHistory();  // shut-down
    EXPECT_EQ("既定の値", Entry("DATA", 0));
    EXPECT_EQ("", Entry("DATA", 1)) << "the other field's history did not take its place";
    EXPECT_EQ("他の欄", Entry("文字", 0));
}

// --- Splash and help windows -------------------------------------------------------------------------

TEST(SplashWindow, ShowsTheBitmapAndGoesOnEscape) {
    TempFolder dir("splash");
    EXPECT_EQ(nullptr, CSplashWin::Show(dir.File("missing.bmp").c_str(), 1000, nullptr, 0));
    EXPECT_EQ(0, CSplashWin::LiveCount()) << "nothing is left behind";

    // A 40 x 20 bitmap file.
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateCompatibleBitmap(screen, 40, 20);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 40;
    bi.bmiHeader.biHeight = 20;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    std::string bits(120 * 20, '\x40');
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
    fh.bfSize = fh.bfOffBits + static_cast<DWORD>(bits.size());
    std::string file(reinterpret_cast<const char*>(&fh), sizeof fh);
    file.append(reinterpret_cast<const char*>(&bi.bmiHeader), sizeof bi.bmiHeader);
    file += bits;
    DeleteObject(bmp);
    ReleaseDC(nullptr, screen);
    const std::string path = dir.Write("start.bmp", file);

    CSplashWin* splash = CSplashWin::Show(path.c_str(), 60000, nullptr, 0);
    ASSERT_NE(nullptr, splash);
    HWND w = splash->m_hWnd;
    RECT rc = RectOf(w);
    EXPECT_EQ(40, rc.right - rc.left);
    EXPECT_EQ(20, rc.bottom - rc.top);
    PostMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(w); }, 5000));
    EXPECT_EQ(0, CSplashWin::LiveCount()) << "the object went with its window";
}

TEST(HelpWindows, NamesAreKeptInLowerCaseOnce) {
    EXPECT_EQ("manual.pdf", HelpFileNameKey("C:\\Docs\\Manual.PDF"));
    EXPECT_EQ("表示.txt", HelpFileNameKey("C:\\表示.TXT")) << "0x5C trail bytes and kana stay";
    EXPECT_EQ("", HelpFileNameKey("C:\\Docs\\"));

    CCadIntHelp help;
    TempFolder dir("help");
    EXPECT_LE(help.OpenHelpFile(dir.File("nothere.txt").c_str(), true), 32);
    EXPECT_TRUE(help.Names().empty()) << "a failed open remembers nothing";
}

// Documents of a kind of their own open in the platform's text editor, as a
// user's registered viewer would.
struct ViewerKind {
    ViewerKind() {
        RegSetValueA(HKEY_CLASSES_ROOT, ".zavhelp", REG_SZ, "ZavHelpDoc", 0);
        const char* command = "notepad.exe \"%1\"";
        RegSetValueA(HKEY_CLASSES_ROOT, "ZavHelpDoc\\shell\\open\\command", REG_SZ, command,
                     static_cast<DWORD>(std::strlen(command)));
    }
    ~ViewerKind() {
        RegDeleteTreeA(HKEY_CLASSES_ROOT, "ZavHelpDoc");
        RegDeleteTreeA(HKEY_CLASSES_ROOT, ".zavhelp");
    }
};

TEST(HelpWindows, TheSweepClosesOnlyTheViewersItStarted) {
    TempFolder dir("helpview");
    ViewerKind kind;
    const std::string doc = dir.Write("Guide.ZAVHELP", "help\r\n");
    // Another program's window that merely shows the name.
    HWND decoy = CreateWindowExA(0, "STATIC", "guide.zavhelp - 他のプログラム", WS_OVERLAPPED | WS_VISIBLE, 0, 0, 100, 50,
                                 nullptr, nullptr, nullptr, nullptr);
    CCadIntHelp help;
    const int opened = help.OpenHelpFile(doc.c_str(), true);
    ASSERT_GT(opened, 32) << "the viewer starts";
    ASSERT_EQ(1u, help.Names().size());
    EXPECT_EQ("guide.zavhelp", help.Names()[0]);
    // Wait for the viewer's window.
    HWND viewer = nullptr;
    const DWORD self = GetCurrentProcessId();
    PumpUntil(
        [&] {
            viewer = nullptr;
            for (HWND w = GetTopWindow(nullptr); w; w = GetWindow(w, GW_HWNDNEXT)) {
                char title[260] = "";
                DWORD pid = 0;
                GetWindowThreadProcessId(w, &pid);
                GetWindowTextA(w, title, sizeof title);
                if (pid != self && std::string(title).find("Guide") != std::string::npos) viewer = w;
            }
            return viewer != nullptr;
        },
        20000);
    ASSERT_NE(nullptr, viewer) << "the viewer shows the document";
    EXPECT_GE(help.CloseHelpWindows(), 1);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(viewer); }, 20000)) << "the viewer closed";
    EXPECT_TRUE(IsWindow(decoy)) << "a window of another program stays";
    EXPECT_EQ(0, help.CloseHelpWindows()) << "the sweep runs once";
    DestroyWindow(decoy);
}

}  // namespace
